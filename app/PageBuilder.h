#pragma once
// Builds the widgets of a layout table on a panel, one loop per kind of row, each widget named
// after its row. Returns the entry fields in tab order.

#include "app/PageLayout.h"

#include <vector>

class QWidget;

class TPageBuilder
{
public:
    static std::vector<QWidget *> Build(QWidget *panel, const TPageLayout &layout);
};
