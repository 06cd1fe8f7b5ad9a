#include "report/output/RLWindowColours.h"

#include <QWidget>

void RLSetWindowColours(QWidget *widget, const QPalette &palette)
{
    if (palette != widget->palette())
        widget->setPalette(palette);
}
