#pragma once
// Pages for the filter tests: a sheet of a given paper with one word an inch from its corner,
// where the word lands tells a scaled or shifted page.

#include "report/page/RLMetaFile.h"

#include <QFont>
#include <QString>

struct TestPaper
{
    int orientation; // 1 portrait, 2 landscape, as pages store it
    double width;    // portrait width in mm
    double height;   // portrait height in mm
};

inline TRLGraphicSurface *NewTestPage(const TestPaper &paper, const QString &text)
{
    auto *page = new TRLGraphicSurface;
    const bool landscape = paper.orientation == 2;
    page->SetWidth(qRound((landscape ? paper.height : paper.width) * 96 / 25.4));
    page->SetHeight(qRound((landscape ? paper.width : paper.height) * 96 / 25.4));
    page->SetOrientation(paper.orientation);
    page->SetPaperWidth(paper.width);
    page->SetPaperHeight(paper.height);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    page->SetFont(font);
    // 96 report pixels from the left: 25.4 mm on paper, after half a blank.
    page->TextRect(TRLRect(96, 96, 400, 120), 96, 96, text);
    return page;
}
