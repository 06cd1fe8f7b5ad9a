#pragma once
// The main window. (Skeleton: the panels and pages arrive with the entry pages.)

#include <QWidget>

class TfrmZavenor : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmZavenor(QWidget *parent = nullptr);
};
