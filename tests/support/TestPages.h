#pragma once
// Pages for the filter tests: a sheet of a given paper with one word an inch from its corner,
// where the word lands tells a scaled or shifted page.

#include "report/page/RLMetaFile.h"

#include <QFont>
#include <QList>
#include <QString>

#include <functional>

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

// A store of pages on the given papers, page i + 1 holding name + (i + 1), its first paper's size
// in its header; owned by owner.
inline TRLGraphicStorage *NewTestStore(
    QObject *owner, const QList<TestPaper> &papers, const QString &title = QString(),
    const QString &name = QStringLiteral("P"),
    const std::function<TRLGraphicSurface *(const TestPaper &, const QString &)> &makePage = NewTestPage)
{
    auto *store = new TRLGraphicStorage(owner);
    store->SetTitle(title);
    store->SetOrientation(papers.first().orientation);
    store->SetPaperWidth(papers.first().width);
    store->SetPaperHeight(papers.first().height);
    for (int i = 0; i < papers.size(); ++i)
        store->Add(makePage(papers.at(i), name + QString::number(i + 1)));
    return store;
}
