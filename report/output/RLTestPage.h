#pragma once
// A page to hold against a pre-printed form: the outline of every box the report prints a value
// into, a millimetre ruler along the top and left edges, and a line naming the nudge it was
// printed with. The report says where its boxes are; the engine only draws and prints them.

#include "report/base/RLTypes.h"
#include "report/output/RLPrintOffsets.h"

#include <QList>
#include <QString>

#include <memory>

class TRLGraphicSurface;

struct TRLTestPageLayout
{
    double PaperWidthMm = 0; // the report's paper, as its page setup has it
    double PaperHeightMm = 0;
    int Orientation = 1; // 1 portrait, 2 landscape
    QList<TRLRect> Boxes; // report pixels from the sheet's top-left corner
    bool operator==(const TRLTestPageLayout &) const = default;
};

// The recorded page, unnudged: the spool filter moves it like any other page.
std::unique_ptr<TRLGraphicSurface> NewRLTestPage(const TRLTestPageLayout &layout, const TRLPrintOffset &offset);

// Prints the test page on the named queue, nudged by offset, in the background; refuses
// (TRLException) while another background print runs. The run's own errors go to the host. The
// shared printer's selection is left alone: only the print dialog's OK changes it.
void PrintRLTestPage(const TRLTestPageLayout &layout, const QString &queue, const TRLPrintOffset &offset);

// A nudge as the test page and the adjustment dialog write it: "+1,5" with Brazilian settings.
QString RLOffsetText(double mm);
