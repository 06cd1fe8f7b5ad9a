#pragma once
// Builds the widgets of a layout table on a panel, one loop per kind of row, each widget named
// after its row. Returns the entry fields in tab order.

#include "app/PageLayout.h"

#include <vector>

class QWidget;

class TPageBuilder
{
public:
    // The decor (frames, pictures, fixed texts) of a page that starts hidden need not cost
    // start-up time: with WhenShown it is built when the panel is first shown, under the fields.
    enum class Decor { Now, WhenShown };

    static std::vector<QWidget *> Build(QWidget *panel, const TPageLayout &layout, Decor decor = Decor::Now);
};
