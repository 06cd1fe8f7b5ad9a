// Sites: areas, arranging children by Align and Anchors, and putting a site onto a page.

#include "report/base/RLExceptions.h"
#include "report/RLReport.h"
#include "report/page/RLMetaFile.h"

#include <QtTest>

#include <climits>

#include "RLControlTestSupport.h"

namespace {

// A plain site of a given size, as a panel would be.
class Panel : public TRLCustomSite
{
public:
    explicit Panel(int w = 200, int h = 100) { SetBounds(0, 0, w, h); }
};

// A child that never re-measures itself.
class Box : public TRLCustomControl
{
public:
    Box(TRLCustomSite *site, int l, int t, int w, int h, TRLControlAlign align = faNone)
    {
        SetParent(site);
        SetBounds(l, t, w, h);
        SetAlign(align);
    }
};

} // namespace

class TestRLSites : public QObject
{
    Q_OBJECT

private slots:
    void areas();
    void oneChildEachAlign_data();
    void oneChildEachAlign();
    void clientChildrenShareWidth();
    void edgesStackInOrder();
    void cornersAndClientColumns();
    void centredSlots();
    void bandsOrderByTypeThenTop();
    void reportMarginsPlaceBand();
    void anchorsFollowResize();
    void alignAndAnchorsExclude();
    void invisibleChildrenStay();
    void gradientStrips();
    void gradientCoarserThanArea_data();
    void gradientCoarserThanArea();
    void backgroundPlacement();
    void printPassOnPage();
    void childSitesPrintInsideBand();
    void printingLeavesTheDesignAlone();
    void autoSizedBandHoldsChildren();
    void reportPaintsUnderItsChildren();
    void bandGrownWhileOpenIsPaintedWhole();
    void disabledBandPaintsItselfOnly();
    void noPrintOntoAPageHandedOver();
};

void TestRLSites::areas()
{
    Panel p(200, 100);
    p.Margins()->SetLeftMargin(10);  // 38 px
    p.Margins()->SetTopMargin(5);    // 19 px
    p.InsideMargins()->SetRightMargin(2); // 8 px
    p.Borders()->SetWidth(3);
    p.Borders()->SetDrawLeft(true);
    p.Borders()->SetDrawBottom(true);
    QCOMPARE(p.OuterRect(), TRLRect(0, 0, 200, 100));
    QCOMPARE(p.MarginRect(), TRLRect(38, 19, 200, 100));
    QCOMPARE(p.BorderRect(), TRLRect(41, 19, 200, 97));
    QCOMPARE(p.ClientRect(), TRLRect(41, 19, 192, 97));
    // Children follow a change of the margins at once.
    Box b(&p, 0, 0, 20, 10, faClient);
    QCOMPARE(b.BoundsRect(), TRLRect(41, 19, 192, 97));
    p.Margins()->SetLeftMargin(0);
    QCOMPARE(b.Left(), 3);
}

void TestRLSites::oneChildEachAlign_data()
{
    // Site 200 x 100 without margins; one child 20 x 10 designed at (50, 40).
    QTest::addColumn<int>("align");
    QTest::addColumn<TRLRect>("expected");
    auto row = [](const char *name, TRLControlAlign a, TRLRect r) { QTest::newRow(name) << int(a) << r; };
    row("faNone", faNone, {50, 40, 70, 50});
    row("faLeft", faLeft, {0, 0, 20, 100});
    row("faTop", faTop, {0, 0, 200, 10});
    row("faRight", faRight, {180, 0, 200, 100});
    row("faBottom", faBottom, {0, 90, 200, 100});
    row("faLeftMost", faLeftMost, {0, 0, 20, 100});
    row("faRightMost", faRightMost, {180, 0, 200, 100});
    row("faClient", faClient, {0, 0, 200, 100});
    row("faLeftTop", faLeftTop, {0, 0, 20, 10});
    row("faRightTop", faRightTop, {180, 0, 200, 10});
    row("faLeftBottom", faLeftBottom, {0, 90, 20, 100});
    row("faRightBottom", faRightBottom, {180, 90, 200, 100});
    row("faCenter", faCenter, {90, 45, 110, 55});
    row("faCenterLeft", faCenterLeft, {0, 45, 20, 55});
    row("faCenterTop", faCenterTop, {90, 0, 110, 10});
    row("faCenterRight", faCenterRight, {180, 45, 200, 55});
    row("faCenterBottom", faCenterBottom, {90, 90, 110, 100});
    row("faClientLeft", faClientLeft, {0, 0, 20, 100});
    row("faClientTop", faClientTop, {0, 0, 200, 10});
    row("faClientRight", faClientRight, {180, 0, 200, 100});
    row("faClientBottom", faClientBottom, {0, 90, 200, 100});
    row("faHeight", faHeight, {50, 0, 70, 100});
    row("faWidth", faWidth, {0, 40, 200, 50});
    row("faLeftOnly", faLeftOnly, {0, 40, 20, 50});
    row("faRightOnly", faRightOnly, {180, 40, 200, 50});
    row("faTopOnly", faTopOnly, {50, 0, 70, 10});
    row("faBottomOnly", faBottomOnly, {50, 90, 70, 100});
}

void TestRLSites::oneChildEachAlign()
{
    QFETCH(int, align);
    QFETCH(TRLRect, expected);
    Panel p;
    Box b(&p, 50, 40, 20, 10, TRLControlAlign(align));
    QCOMPARE(b.BoundsRect(), expected);
}

void TestRLSites::clientChildrenShareWidth()
{
    Panel p(100, 50);
    Box a(&p, 0, 0, 5, 5, faClient), b(&p, 60, 0, 5, 5, faClient), c(&p, 120, 0, 5, 5, faClient);
    QCOMPARE(a.BoundsRect(), TRLRect(0, 0, 33, 50));
    QCOMPARE(b.BoundsRect(), TRLRect(33, 0, 66, 50));
    QCOMPARE(c.BoundsRect(), TRLRect(66, 0, 100, 50));
}

void TestRLSites::edgesStackInOrder()
{
    Panel p(200, 100);
    Box top(&p, 0, 0, 10, 15, faTop);
    Box bottom(&p, 0, 0, 10, 20, faBottom);
    Box left(&p, 0, 0, 30, 10, faLeft);
    Box right(&p, 0, 0, 40, 10, faRight);
    Box most(&p, 0, 0, 5, 10, faLeftMost);
    Box client(&p, 0, 0, 1, 1, faClient);
    QCOMPARE(most.BoundsRect(), TRLRect(0, 0, 5, 100));   // before the top edge
    QCOMPARE(top.BoundsRect(), TRLRect(5, 0, 200, 15));
    QCOMPARE(bottom.BoundsRect(), TRLRect(5, 80, 200, 100));
    QCOMPARE(left.BoundsRect(), TRLRect(5, 15, 35, 80));
    QCOMPARE(right.BoundsRect(), TRLRect(160, 15, 200, 80));
    QCOMPARE(client.BoundsRect(), TRLRect(35, 15, 160, 80));
    // Two bottoms: the lower one at design time stays at the edge.
    Box bottom2(&p, 0, 500, 10, 5, faBottom);
    QCOMPARE(bottom2.BoundsRect(), TRLRect(5, 95, 200, 100));
    QCOMPARE(bottom.Top(), 75);
}

void TestRLSites::cornersAndClientColumns()
{
    Panel p(200, 100);
    Box lt(&p, 0, 0, 20, 30, faLeftTop), rt(&p, 0, 0, 30, 20, faRightTop);
    Box ct1(&p, 0, 0, 1, 5, faClientTop), ct2(&p, 100, 0, 1, 6, faClientTop);
    Box lb(&p, 0, 0, 25, 10, faLeftBottom), rb(&p, 0, 0, 15, 40, faRightBottom);
    Box cl(&p, 0, 0, 8, 1, faClientLeft), cr(&p, 0, 0, 9, 1, faClientRight);
    QCOMPARE(lt.BoundsRect(), TRLRect(0, 0, 20, 30));
    QCOMPARE(rt.BoundsRect(), TRLRect(170, 0, 200, 20));
    QCOMPARE(ct1.BoundsRect(), TRLRect(20, 0, 95, 5));
    QCOMPARE(ct2.BoundsRect(), TRLRect(95, 0, 170, 6));
    QCOMPARE(lb.BoundsRect(), TRLRect(0, 90, 25, 100));
    QCOMPARE(rb.BoundsRect(), TRLRect(185, 60, 200, 100));
    // The side columns run between the lowest top corner and the highest bottom corner.
    QCOMPARE(cl.BoundsRect(), TRLRect(0, 30, 8, 90));
    QCOMPARE(cr.BoundsRect(), TRLRect(191, 20, 200, 60));
}

void TestRLSites::centredSlots()
{
    Panel p(200, 100);
    Box a(&p, 0, 0, 20, 10, faCenterLeft), b(&p, 0, 50, 20, 10, faCenterLeft), c(&p, 0, 90, 20, 10, faCenterLeft);
    // Slots of 33, 33 and 34 pixels.
    QCOMPARE(a.Top(), 11);
    QCOMPARE(b.Top(), 44);
    QCOMPARE(c.Top(), 78);
    Box x(&p, 0, 0, 30, 10, faCenter), y(&p, 100, 0, 50, 20, faCenter);
    // One row of the two, centred by the sums of widths and heights.
    QCOMPARE(x.BoundsRect(), TRLRect(60, 35, 90, 45));
    QCOMPARE(y.BoundsRect(), TRLRect(90, 35, 140, 55));
}

void TestRLSites::bandsOrderByTypeThenTop()
{
    QObject form;
    TRLReport *report;
    TRLBand *detail, *header, *first, *second;
    {
        TRLFormLoader loading(&form);
        report = new TRLReport(&form);
        auto band = [&](TRLBandType type, int top) {
            auto *b = new TRLBand(&form);
            b->SetParent(report);
            b->SetBandType(type);
            b->SetTop(top);
            return b;
        };
        detail = band(btDetail, 50);
        second = band(btDetail, 400);
        first = band(btDetail, 300); // placed higher than "second" at design time
        header = band(btHeader, 900);
    }
    // The header first whatever its Top; the details by their design Top.
    QCOMPARE(header->Top(), 38);
    QCOMPARE(detail->Top(), 38 + 16);
    QCOMPARE(first->Top(), 38 + 32);
    QCOMPARE(second->Top(), 38 + 48);
    header->SetBandType(btFooter);
    QCOMPARE(header->Top(), 38 + 48);
    QCOMPARE(detail->Top(), 38);

    // Among bands of one type a lower GroupIndex comes first.
    TRLReport r2;
    TRLBand g1, g2;
    g1.SetParent(&r2);
    g1.SetGroupIndex(2);
    g2.SetParent(&r2);
    g2.SetGroupIndex(3);
    QCOMPARE(g1.Top(), 38);
    QCOMPARE(g2.Top(), 54);
    g2.SetGroupIndex(1);
    QCOMPARE(g2.Top(), 38);
    QCOMPARE(g1.Top(), 54);
}

void TestRLSites::reportMarginsPlaceBand()
{
    TRLReport report;
    report.Margins()->SetLeftMargin(7);
    report.Margins()->SetRightMargin(5);
    TRLBand band;
    band.SetBandType(btHeader);
    band.SetParent(&report);
    QCOMPARE(band.Left(), 26);
    QCOMPARE(band.Top(), 38);
    QCOMPARE(band.Width(), report.Width() - 45);
    QCOMPARE(band.Width(), 749);
    // Landscape paper widens the band with the page.
    report.PageSetup()->SetOrientation(poLandscape);
    QCOMPARE(band.Width(), 1123 - 45);
}

void TestRLSites::anchorsFollowResize()
{
    Panel p(200, 100);
    Box stretch(&p, 10, 10, 50, 10), move(&p, 150, 80, 20, 10), stay(&p, 30, 30, 10, 10),
        centre(&p, 90, 45, 20, 10);
    stretch.SetAnchors(TRLControlAnchors(fkLeft) | fkRight | fkTop);
    move.SetAnchors(TRLControlAnchors(fkRight) | fkBottom);
    centre.SetAnchors(fkTop); // no horizontal anchor: keeps its place in proportion
    Box middle(&p, 10, 45, 5, 10);
    middle.SetAnchors(fkLeft); // nor a vertical one
    p.SetBounds(0, 0, 300, 150);
    QCOMPARE(stretch.BoundsRect(), TRLRect(10, 10, 160, 20));
    QCOMPARE(move.BoundsRect(), TRLRect(250, 130, 270, 140));
    QCOMPARE(stay.BoundsRect(), TRLRect(30, 30, 40, 40));
    QCOMPARE(centre.BoundsRect(), TRLRect(140, 45, 160, 55));
    QCOMPARE(middle.BoundsRect(), TRLRect(10, 70, 15, 80));
    // Arranging again without a resize moves nothing.
    p.ArrangeChildren();
    QCOMPARE(move.BoundsRect(), TRLRect(250, 130, 270, 140));
}

void TestRLSites::alignAndAnchorsExclude()
{
    Panel p;
    Box b(&p, 10, 10, 20, 20);
    b.SetAnchors(fkRight);
    b.SetAlign(faTop);
    QVERIFY(!b.Anchors());
    QCOMPARE(b.BoundsRect(), TRLRect(0, 0, 200, 20));
    b.SetAnchors(fkLeft);
    QCOMPARE(b.Align(), faNone);
}

void TestRLSites::invisibleChildrenStay()
{
    Panel p(100, 100);
    Box hidden(&p, 5, 5, 10, 10);
    hidden.SetVisible(false);
    hidden.SetAlign(faTop);
    Box shown(&p, 0, 0, 10, 10, faTop);
    QCOMPARE(shown.Top(), 0); // the hidden one takes no room
    QCOMPARE(hidden.BoundsRect(), TRLRect(5, 5, 15, 15));
}

void TestRLSites::gradientStrips()
{
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    band.SetHeight(20);
    band.SetColor(Qt::white);
    band.Degrade()->SetDirection(ddHorizontal);
    band.Degrade()->SetOppositeColor(Qt::black);
    band.Degrade()->SetGranularity(30);
    // Only the area's width matters; make it 100.
    report.Margins()->SetRightMargin(0);
    report.Margins()->SetLeftMargin(0);
    TRLGraphicSurface page;
    band.SetWidth(100);
    band.DrawOnto(&page, TRLRect(0, 0, 100, 20));
    const auto fills = objectsOf<TRLFillRectObject>(&page);
    QCOMPARE(fills.size(), 4);
    const int lefts[] = {0, 30, 60, 90}, rights[] = {30, 60, 90, 100};
    const int greys[] = {255, 191, 127, 64}; // never the pure opposite colour
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(fills[i]->BoundsRect, TRLRect(lefts[i], 0, rights[i], 20));
        QCOMPARE(fills[i]->Brush.Color.ToQColor(), QColor(greys[i], greys[i], greys[i]));
        QCOMPARE(fills[i]->Brush.Style, mbsSolid);
    }
    // A vertical gradient, and one whose colours are the same (painted as nothing at all).
    TRLGraphicSurface vertical;
    band.Degrade()->SetDirection(ddVertical);
    band.Degrade()->SetGranularity(0); // taken as 1 rather than dividing by zero
    band.DrawOnto(&vertical, TRLRect(0, 0, 100, 20));
    QCOMPARE(objectsOf<TRLFillRectObject>(&vertical).size(), 20);
    TRLGraphicSurface same;
    band.Degrade()->SetOppositeColor(Qt::white);
    band.DrawOnto(&same, TRLRect(0, 0, 100, 20));
    QCOMPARE(objectsOf<TRLFillRectObject>(&same).size(), 0);
}

void TestRLSites::gradientCoarserThanArea_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("granularity");
    QTest::newRow("horizontal, largest") << int(ddHorizontal) << INT_MAX;
    QTest::newRow("vertical, largest") << int(ddVertical) << INT_MAX;
    QTest::newRow("horizontal, near largest") << int(ddHorizontal) << INT_MAX - 60;
    QTest::newRow("vertical, just wider") << int(ddVertical) << 41;
}

void TestRLSites::gradientCoarserThanArea()
{
    // One strip of the site's colour over the whole area, wherever the area lies.
    QFETCH(int, direction);
    QFETCH(int, granularity);
    Panel panel(100, 40);
    panel.SetColor(QColor(200, 10, 10));
    panel.Degrade()->SetDirection(TRLDegradeDirection(direction));
    panel.Degrade()->SetGranularity(granularity);
    TRLGraphicSurface page;
    const TRLRect area(50, 60, 150, 100);
    panel.DrawOnto(&page, area);
    const auto fills = objectsOf<TRLFillRectObject>(&page);
    QCOMPARE(fills.size(), 1);
    QCOMPARE(fills[0]->BoundsRect, area);
    QCOMPARE(fills[0]->Brush.Color.ToQColor(), QColor(200, 10, 10));
}

void TestRLSites::backgroundPlacement()
{
    QImage pic(10, 8, QImage::Format_RGB32);
    pic.fill(Qt::red);
    for (int y = 0; y < 8; ++y)
        for (int x = 5; x < 10; ++x)
            pic.setPixelColor(x, y, Qt::blue);
    Panel p(100, 60);
    TRLBackground *bg = p.Background();
    bg->SetPicture(pic);
    QCOMPARE(bg->Width(), 10); // follows the picture
    const TRLRect area(20, 30, 120, 90);
    auto drawn = [&] {
        TRLGraphicSurface s;
        bg->Paint(&s, area);
        const auto images = objectsOf<TRLImageObject>(&s);
        return images.size() == 1 ? images[0]->BoundsRect : TRLRect();
    };
    bg->SetAlign(faRightBottom);
    bg->SetStretch(true);
    QCOMPARE(drawn(), TRLRect(110, 82, 120, 90));
    bg->SetAutoSize(false);
    bg->SetWidth(40);
    bg->SetHeight(20);
    bg->SetAlign(faTop);
    QCOMPARE(drawn(), TRLRect(20, 30, 120, 50));
    bg->SetAlign(faCenterRight);
    QCOMPARE(drawn(), TRLRect(80, 50, 120, 70));
    bg->SetStretch(false); // own size at the computed corner
    QCOMPARE(drawn(), TRLRect(80, 50, 90, 58));
    bg->SetArrange(baCenter);
    QCOMPARE(drawn(), TRLRect(50, 50, 60, 58));
    bg->SetArrange(baSidebySide);
    QCOMPARE(drawn(), area);
    // Tiles: the second row of a distributed background starts half a tile to the left.
    bg->SetWidth(10);
    bg->SetHeight(8);
    bg->SetArrange(baDistributed);
    TRLGraphicSurface s;
    bg->Paint(&s, area);
    const QImage tiled = TRLImageObject::PictureFromData(objectsOf<TRLImageObject>(&s)[0]->Data);
    QCOMPARE(tiled.size(), QSize(100, 60));
    QCOMPARE(tiled.pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(tiled.pixelColor(0, 12), QColor(Qt::blue)); // the right half of a shifted tile
    QCOMPARE(tiled.pixelColor(0, 20), QColor(Qt::red));
    TRLGraphicSurface none;
    bg->SetPicture(QImage());
    bg->Paint(&none, area);
    QCOMPARE(none.ObjectCount(), 0);
}

void TestRLSites::printPassOnPage()
{
    QObject form;
    auto *report = new TRLReport(&form);
    auto *band = new TRLBand(&form);
    auto *second = new TRLLabel(&form);
    auto *first = new TRLLabel(&form);
    auto *hidden = new TRLLabel(&form);
    band->SetParent(report);
    band->SetBandType(btHeader);
    band->SetHeight(40);
    band->SetColor(QColor(0, 0, 255));
    band->Borders()->SetSides(sdAll);
    band->Borders()->SetWidth(2);
    // Joined in the other order: they print in creation order all the same.
    first->SetParent(band);
    second->SetParent(band);
    hidden->SetParent(band);
    second->SetCaption("segundo");
    first->SetCaption("primeiro");
    hidden->SetCaption("oculto");
    second->SetLeft(100);
    QStringList printed;
    for (TRLLabel *l : {first, second, hidden})
        l->AfterPrint = [&](TRLCustomControl *c) { printed << static_cast<TRLLabel *>(c)->Caption(); };
    hidden->BeforePrint = [](TRLCustomControl *, QString &, bool &printIt) { printIt = false; };
    second->BeforePrint = [](TRLCustomControl *, QString &text, bool &) { text = "trocado"; };

    report->SetPrepareState(TRLPrepareState::Preparing);
    report->OpenSite();
    QVERIFY(band->CanPrint());
    band->Print();
    // "second" was created first.
    QCOMPARE(printed, (QStringList{"trocado", "primeiro"}));
    report->SetPrepareState(TRLPrepareState::Prepared);
    QCOMPARE(second->Caption(), QStringLiteral("segundo")); // the design text is untouched
    TRLGraphicSurface *page = report->PageSurface();
    QCOMPARE(page->Orientation(), 1);
    QCOMPARE(page->PaperWidth(), 210.0);
    QCOMPARE(page->Margins(), TRLRect(38, 38, 794 - 38, 1123 - 38));

    // Order on the page: the band's fill, its four border sides, then its contents moved to it.
    const TRLRect area(38, 38, 794 - 38, 78);
    QVERIFY(page->ObjectCount() >= 7);
    auto *fill = dynamic_cast<TRLFillRectObject *>(page->Objects(0));
    QVERIFY(fill);
    QCOMPARE(fill->BoundsRect, area);
    QCOMPARE(fill->Brush.Color.ToQColor(), QColor(0, 0, 255));
    for (int i = 1; i <= 4; ++i)
        QVERIFY(dynamic_cast<TRLRectangleObject *>(page->Objects(i)));
    QCOMPARE(page->Objects(1)->BoundsRect, TRLRect(38, 38, 40, 78));
    QCOMPARE(page->Objects(4)->BoundsRect, TRLRect(38, 76, 794 - 38, 78));
    const auto texts = objectsOf<TRLTextObject>(page);
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts[0]->Text, QStringLiteral("trocado"));
    QCOMPARE(texts[1]->Text, QStringLiteral("primeiro"));
    // Label positions are relative to the band, so on the page they are offset by its corner.
    QCOMPARE(texts[0]->BoundsRect.Left, 38 + 100);
    QCOMPARE(texts[1]->BoundsRect.Left, 38);
    QCOMPARE(texts[1]->BoundsRect.Top, 38);
    QVERIFY(texts[0]->DrawGroup != texts[1]->DrawGroup);
    report->CloseSite();
    QVERIFY(!report->IsOpen());

    // A band that says no leaves the page alone.
    TRLGraphicSurface *before = report->PageSurface();
    const int count = before->ObjectCount();
    band->BeforePrint = [](TRLCustomControl *, bool &printIt) { printIt = false; };
    QVERIFY(!band->CanPrint());
    QCOMPARE(before->ObjectCount(), count);
}

void TestRLSites::childSitesPrintInsideBand()
{
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    band.SetHeight(100);
    Panel inner(50, 30);
    inner.SetParent(&band);
    inner.SetBounds(10, 20, 50, 30);
    inner.SetColor(Qt::green);
    TRLLabel label;
    label.SetParent(&inner);
    label.SetCaption("dentro");
    label.SetLeft(5);
    report.OpenSite();
    band.Print();
    const auto texts = objectsOf<TRLTextObject>(report.PageSurface());
    QCOMPARE(texts.size(), 1);
    // Label inside the panel inside the band: three offsets add up.
    QCOMPARE(texts[0]->BoundsRect.Left, 38 + 10 + 5);
    QCOMPARE(texts[0]->BoundsRect.Top, 38 + 20);
    const auto fills = objectsOf<TRLFillRectObject>(report.PageSurface());
    QCOMPARE(fills.size(), 1); // the panel; the band is transparent
    QCOMPARE(fills[0]->BoundsRect, TRLRect(48, 58, 98, 88));
}

void TestRLSites::printingLeavesTheDesignAlone()
{
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    band.SetHeight(30);
    TRLMemo memo;
    memo.SetParent(&band);
    memo.SetBounds(0, 0, 200, 20);
    TRLLabel label;
    label.SetParent(&band);
    const TRLRect memoDesign = memo.BoundsRect(), bandDesign = band.BoundsRect();
    const TRLBoundsSnapshot saved(&band);
    memo.BeforePrint = [](TRLCustomControl *, QString &text, bool &) { text = "um\ndois\ntrês\nquatro"; };
    report.SetPrepareState(TRLPrepareState::Preparing);
    report.OpenSite();
    band.Print();
    QVERIFY(band.Height() > bandDesign.Height()); // the memo grew its band while printing
    saved.Restore();
    QCOMPARE(memo.BoundsRect(), memoDesign);
    QCOMPARE(band.BoundsRect(), bandDesign);
}

void TestRLSites::autoSizedBandHoldsChildren()
{
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    band.InsideMargins()->SetBottomMargin(2); // 8 px under the children
    Box low(&band, 0, 70, 10, 15);
    band.SetAutoSize(true);
    QCOMPARE(band.Height(), 85 + 8);
    QCOMPARE(band.Width(), 718); // a band never sizes its width
    low.SetHeight(5); // a child that shrinks makes it measure again
    QCOMPARE(band.Height(), 75 + 8);
}

void TestRLSites::reportPaintsUnderItsChildren()
{
    TRLReport report;
    report.SetColor(QColor(250, 250, 200));
    report.Borders()->SetSides(sdAll);
    TRLLabel label;
    label.SetParent(&report);
    label.SetCaption("sobre o fundo");
    report.OpenSite();
    TRLGraphicSurface *page = report.PageSurface();
    QCOMPARE(page->ObjectCount(), 1 + 4 + 1);
    QCOMPARE(page->Objects(0)->BoundsRect, TRLRect(0, 0, 794, 1123));
    // The borders lie on the margin rectangle.
    QCOMPARE(page->Objects(1)->BoundsRect, TRLRect(38, 38, 39, 1085));
    QVERIFY(dynamic_cast<TRLTextObject *>(page->Objects(5)));
}

void TestRLSites::bandGrownWhileOpenIsPaintedWhole()
{
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    band.SetHeight(30);
    band.SetColor(Qt::yellow);
    band.Borders()->SetDrawBottom(true);
    TRLMemo memo;
    memo.SetCaption("um");
    memo.SetParent(&band);
    const int before = band.Height();
    // The print text needs three rows: the memo grows its band while the band is open.
    memo.BeforePrint = [](TRLCustomControl *, QString &text, bool &) { text = "um\ndois\ntrês"; };
    report.SetPrepareState(TRLPrepareState::Preparing);
    report.OpenSite();
    band.Print();
    const int grown = band.Height();
    QCOMPARE(grown, before + 2 * memo.Height() / 3);
    // Fill and borders cover the band as it closed, not as it opened.
    const auto fills = objectsOf<TRLFillRectObject>(report.PageSurface());
    QCOMPARE(fills.size(), 1);
    QCOMPARE(fills[0]->BoundsRect, TRLRect(38, 38, 794 - 38, 38 + grown));
    const auto sides = objectsOf<TRLRectangleObject>(report.PageSurface());
    QCOMPARE(sides.size(), 1);
    QCOMPARE(sides[0]->BoundsRect.Bottom, 38 + grown);
}

void TestRLSites::disabledBandPaintsItselfOnly()
{
    // A disabled site is still put on the page with its fill and borders, only its children
    // stay out; a disabled band stacked by its report puts nothing of its own on the page.
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    band.SetHeight(60);
    Panel panel(50, 30);
    panel.SetParent(&band);
    for (TRLCustomSite *site : {static_cast<TRLCustomSite *>(&band), static_cast<TRLCustomSite *>(&panel)}) {
        site->SetColor(Qt::yellow);
        site->Borders()->SetSides(sdAll);
        site->SetEnabled(false);
    }
    TRLLabel label;
    label.SetParent(&panel);
    label.SetCaption("não sai");
    report.OpenSite();
    panel.Print();
    const TRLGraphicSurface *inBand = band.Surface();
    QVERIFY(objectsOf<TRLTextObject>(inBand).isEmpty());
    QCOMPARE(objectsOf<TRLFillRectObject>(inBand).size(), 1);
    QCOMPARE(objectsOf<TRLRectangleObject>(inBand).size(), 4);
    // The panel opened the band; closing it copies the panel, but no fill or border of the band.
    band.CloseSite();
    const TRLGraphicSurface *page = report.PageSurface();
    QVERIFY(objectsOf<TRLTextObject>(page).isEmpty());
    const auto fills = objectsOf<TRLFillRectObject>(page);
    QCOMPARE(fills.size(), 1);
    QCOMPARE(fills[0]->BoundsRect, TRLRect(38, 38, 38 + 50, 38 + 30));
    QCOMPARE(objectsOf<TRLRectangleObject>(page).size(), 4);
}

void TestRLSites::noPrintOntoAPageHandedOver()
{
    TRLReport report;
    TRLLabel label;
    label.SetName("LbTarde");
    label.SetParent(&report);
    label.SetCaption("tarde demais");
    report.OpenSite();
    QCOMPARE(objectsOf<TRLTextObject>(report.PageSurface()).size(), 1);
    report.CloseSite();
    QCOMPARE(report.Pages()->PageCount(), 1);
    QVERIFY(label.CanPrint());
    QString error;
    try {
        label.Print();
    } catch (const TRLException &e) {
        error = e.Message();
    }
    QCOMPARE(error, QStringLiteral("Não encontrado: LbTarde.ParentSurface"));
    QCOMPARE(report.Pages()->PageCount(), 1);
    QCOMPARE(objectsOf<TRLTextObject>(report.Pages()->Pages(0)).size(), 1);
}

QTEST_MAIN(TestRLSites)
#include "tst_rlsites.moc"
