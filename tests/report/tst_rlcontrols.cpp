// The report control model: sizes, borders, holders, names, ancestors, inheritance, loading.

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/RLReport.h"
#include "report/page/RLTextMeasure.h"
#include "report/base/RLUtils.h"
#include "report/page/RLMetaFile.h"

#include <QtTest>

#include "RLControlTestSupport.h"

#include <climits>

namespace {

// A control whose natural size the test decides.
class Sized : public TRLCustomControl
{
public:
    using TRLCustomControl::TRLCustomControl;
    QSize CalcSize() const override { return natural; }
    QSize natural;
};

QString errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const TRLException &e) {
        return e.Message();
    }
    return QString();
}

// Any site may stand where a report does for the controls inside it.
class ContextPanel : public TRLCustomSite, public TRLPrintContext
{
public:
    TRLPrintQuality quality = pqFullFeature;
    bool preparing = false;
    bool blank = false;
    QStringList filtered;

    TRLPrintContext *AsPrintContext() override { return this; }
    TRLPrintQuality PrintQuality() const override { return quality; }
    bool PreparesPages() const override { return preparing; }
    bool PrintsBlankTexts() const override { return blank; }
    void FilterText(TRLCustomControl *sender, QString &text, bool &printIt) override
    {
        filtered << sender->Name() + QLatin1Char('=') + text;
        text += QLatin1Char('!');
        printIt = !text.startsWith(QLatin1Char('-'));
    }
};

} // namespace

class TestRLControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RLLoadMessages(mlPortuguese); }

    void classTreeAndNames();
    void defaultsOfNewControls();
    void adjustByAlignment_data();
    void adjustByAlignment();
    void centringRoundsOddSizesUp();
    void adjustByLayout();
    void fixedSizeKeepsItsSize();
    void sizesNeverNegative();
    void sidesAndDrawFlags();
    void fixedOnlyQuality();
    void bordersShrinkRectangles();
    void bordersWithoutWidthTakeNoRoom_data();
    void bordersWithoutWidthTakeNoRoom();
    void holders();
    void holderCyclesRefused();
    void friendlyNames();
    void requiredAncestors();
    void fontAndColourInheritance();
    void colourMakesOpaque();
    void growingMemoExpandsBand();
    void loaderSuppressesThenCompletes();
    void loaderTakesStoredPageSetup();
    void ownerKeepsCreationOrder();
    void destroyingSiteOrChild();
    void carbonCopiesShared();
    void textEventsDecidePrintCaption();
    void nearestPrintContextApplies();
    void measureHeightTakesDesignText();
    void memoMeasuresWhatItNowHolds_data();
    void memoMeasuresWhatItNowHolds();
};

void TestRLControls::classTreeAndNames()
{
    QObject form;
    auto *report = new TRLReport(&form);
    auto *band = new TRLBand(&form);
    auto *label = new TRLLabel(&form);
    auto *memo = new TRLMemo(&form);
    auto *image = new TRLImage(&form);
    auto *draw = new TRLDraw(&form);
    QCOMPARE(report->ClassName(), QStringLiteral("TRLReport"));
    QCOMPARE(band->ClassName(), QStringLiteral("TRLBand"));
    QCOMPARE(label->ClassName(), QStringLiteral("TRLLabel"));
    QCOMPARE(memo->ClassName(), QStringLiteral("TRLMemo"));
    QCOMPARE(image->ClassName(), QStringLiteral("TRLImage"));
    QCOMPARE(draw->ClassName(), QStringLiteral("TRLDraw"));
    QVERIFY(qobject_cast<TRLCustomSkipper *>(report));
    QVERIFY(qobject_cast<TRLCustomPager *>(report));
    QVERIFY(qobject_cast<TRLCustomBandSet *>(band));
    QVERIFY(!qobject_cast<TRLCustomPager *>(band));
    QVERIFY(qobject_cast<TRLCustomMultiLine *>(memo));
    label->SetName("RLLabel1");
    QCOMPARE(label->DisplayName(), QStringLiteral("RLLabel1"));
    label->SetFriendlyName("Valor");
    QCOMPARE(label->DisplayName(), QStringLiteral("Valor"));
}

void TestRLControls::defaultsOfNewControls()
{
    TRLReport report;
    QCOMPARE(report.Width(), 794);
    QCOMPARE(report.Height(), 1123);
    QCOMPARE(report.Font().family(), QStringLiteral("Arial"));
    QCOMPARE(report.Font().pointSize(), 10);
    QCOMPARE(report.Color(), QColor(Qt::white));
    QVERIFY(!report.ParentFont());
    QCOMPARE(report.Margins()->LeftMargin(), 10.0);
    QCOMPARE(report.Margins()->defaultBottomMargin(), 10.0);

    TRLBand band;
    QCOMPARE(band.Align(), faTop);
    QCOMPARE(band.BoundsRect(), TRLRect(0, 0, 185, 16));
    QVERIFY(band.AutoExpand());
    QVERIFY(!band.AutoSize());
    QCOMPARE(band.BandType(), btDetail);
    band.SetCarbonCopies(0);
    QCOMPARE(band.CarbonCopies(), 1);
    band.SetGroupIndex(-3);
    QCOMPARE(band.GroupIndex(), 0);

    TRLMemo memo;
    QVERIFY(memo.AutoSize());
    QVERIFY(memo.Behavior().testFlag(beSiteExpander));
    QVERIFY(!memo.IntegralHeight());
    QVERIFY(memo.WordWrap());
    QCOMPARE(TRLImage().BoundsRect(), TRLRect(0, 0, 105, 105));
    QCOMPARE(TRLDraw().BoundsRect(), TRLRect(0, 0, 48, 48));
    QVERIFY(TRLLabel().Transparent());
}

void TestRLControls::adjustByAlignment_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("natural");
    QTest::addColumn<TRLRect>("expected");
    QTest::newRow("centre rounds up to even") << int(taCenter) << 41 << TRLRect(29, 0, 71, 10);
    QTest::newRow("centre even") << int(taCenter) << 40 << TRLRect(30, 0, 70, 10);
    QTest::newRow("right keeps its right edge") << int(taRightJustify) << 41 << TRLRect(59, 0, 100, 10);
    QTest::newRow("left keeps its left edge") << int(taLeftJustify) << 41 << TRLRect(0, 0, 41, 10);
    QTest::newRow("justify as left") << int(taJustify) << 130 << TRLRect(0, 0, 130, 10);
    QTest::newRow("centre grows both ways") << int(taCenter) << 121 << TRLRect(-11, 0, 111, 10);
}

void TestRLControls::centringRoundsOddSizesUp()
{
    // Even a control already at its natural size takes the even size, once.
    Sized c;
    c.natural = QSize(41, 11);
    c.SetBounds(10, 20, 41, 11);
    c.SetAlignment(taCenter);
    c.SetLayout(tlCenter);
    QCOMPARE(c.BoundsRect(), TRLRect(10, 20, 52, 32));
    c.natural = QSize(42, 12);
    c.AdjustBounds();
    QCOMPARE(c.BoundsRect(), TRLRect(10, 20, 52, 32));
    // Shrinking by one to an odd size keeps the size and the place.
    c.natural = QSize(41, 11);
    c.AdjustBounds();
    QCOMPARE(c.BoundsRect(), TRLRect(10, 20, 52, 32));
}

void TestRLControls::adjustByAlignment()
{
    QFETCH(int, alignment);
    QFETCH(int, natural);
    QFETCH(TRLRect, expected);
    Sized c;
    c.SetBounds(0, 0, 100, 10);
    c.SetAlignment(TRLTextAlignment(alignment));
    c.natural = QSize(natural, 10);
    c.AdjustBounds();
    QCOMPARE(c.BoundsRect(), expected);
    // Adjusting again changes nothing.
    c.AdjustBounds();
    QCOMPARE(c.BoundsRect(), expected);
}

void TestRLControls::adjustByLayout()
{
    Sized c;
    c.SetBounds(0, 100, 50, 40);
    c.SetLayout(tlBottom);
    c.natural = QSize(50, 15);
    c.AdjustBounds();
    QCOMPARE(c.BoundsRect(), TRLRect(0, 125, 50, 140));
    c.SetBounds(0, 100, 50, 40);
    c.SetLayout(tlCenter);
    c.AdjustBounds();
    QCOMPARE(c.BoundsRect(), TRLRect(0, 112, 50, 128));
}

void TestRLControls::fixedSizeKeepsItsSize()
{
    TRLReport report;
    report.SetBounds(5, 5, 10, 10);
    QCOMPARE(report.Width(), 794);
    QCOMPARE(report.Height(), 1123);
    report.PageSetup()->SetOrientation(poLandscape);
    QCOMPARE(report.Width(), 1123);
    QCOMPARE(report.Height(), 794);
}

void TestRLControls::sizesNeverNegative()
{
    TRLLabel label;
    label.SetAutoSize(false);
    label.SetBounds(10, 10, -5, -20);
    QCOMPARE(label.Width(), 0);
    QCOMPARE(label.Height(), 0);
    // Absurd positions are held in a range where the layout's sums cannot overflow.
    label.SetBounds(INT_MAX, INT_MIN, INT_MAX, 5);
    QCOMPARE(label.BoundsRect(), TRLRect(RLMaxCoordinate, -RLMaxCoordinate, 2 * RLMaxCoordinate, -RLMaxCoordinate + 5));
}

void TestRLControls::sidesAndDrawFlags()
{
    TRLLabel label;
    TRLBorders *b = label.Borders();
    QCOMPARE(b->Sides(), sdNone);
    b->SetSides(sdAll);
    QVERIFY(b->DrawLeft() && b->DrawTop() && b->DrawRight() && b->DrawBottom());
    QVERIFY(!b->StoresDrawFlags());
    b->SetDrawTop(true); // all four still drawn: stays sdAll
    QCOMPARE(b->Sides(), sdAll);
    b->SetFixedTop(true);
    b->SetDrawTop(false);
    QCOMPARE(b->Sides(), sdCustom);
    QVERIFY(b->StoresDrawFlags());
    QVERIFY(b->DrawLeft() && !b->DrawTop() && b->DrawRight() && b->DrawBottom());
    QVERIFY(!b->FixedTop()); // clearing a side clears its fixed flag
    b->SetFixedLeft(true);
    b->SetSides(sdNone);
    QVERIFY(!b->DrawLeft() && !b->DrawRight() && !b->FixedLeft());
    b->SetDrawLeft(false); // none drawn and already sdNone: stays
    QCOMPARE(b->Sides(), sdNone);
    b->SetSides(sdAll);
    b->SetSides(sdCustom);
    QVERIFY(b->DrawLeft() && b->DrawBottom());
}

void TestRLControls::fixedOnlyQuality()
{
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    TRLLabel label;
    label.SetParent(&band);
    label.Borders()->SetSides(sdAll);
    label.Borders()->SetFixedLeft(true);
    QVERIFY(label.Borders()->IsDrawn(TRLBorders::Top));
    report.SetPrintQuality(pqFixedOnly);
    QVERIFY(label.Borders()->IsDrawn(TRLBorders::Left));
    QVERIFY(!label.Borders()->IsDrawn(TRLBorders::Top));
    QVERIFY(!label.Borders()->IsDrawn(TRLBorders::Right));
    // Printed: one side only, and the text rectangle gives way on that side only.
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 50, 20);
    label.SetCaption("x");
    QVERIFY(label.CanPrint());
    label.Print();
    TRLGraphicSurface *s = band.Surface();
    QCOMPARE(s->ObjectCount(), 2);
    QCOMPARE(s->Objects(0)->BoundsRect, TRLRect(0, 0, 1, 20));
    QCOMPARE(s->Objects(1)->BoundsRect, TRLRect(1, 0, 50, 20));
    // A fixed flag alone draws nothing.
    label.Borders()->SetDrawLeft(false);
    label.Borders()->SetFixedLeft(true);
    QVERIFY(!label.Borders()->IsDrawn(TRLBorders::Left));
}

void TestRLControls::bordersShrinkRectangles()
{
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    TRLLabel label;
    label.SetParent(&band);
    label.SetAutoSize(false);
    label.SetBounds(10, 20, 100, 30);
    label.Borders()->SetWidth(2);
    label.Borders()->SetDrawLeft(true);
    label.Borders()->SetDrawBottom(true);
    QCOMPARE(label.PrintRect(), TRLRect(12, 20, 110, 48));
    QCOMPARE(label.ClientRect(), TRLRect(3, 0, 100, 27));
    label.Borders()->SetWidth(0);
    QCOMPARE(label.PrintRect(), TRLRect(10, 20, 110, 50));
}

void TestRLControls::bordersWithoutWidthTakeNoRoom_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -3;
}

void TestRLControls::bordersWithoutWidthTakeNoRoom()
{
    // What is not drawn must not be reserved: text and children use the whole control.
    QFETCH(int, width);
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    band.SetHeight(40);
    TRLLabel label;
    label.SetParent(&band);
    label.SetCaption("x");
    const QSize bare = label.CalcSize();
    for (TRLBorders *b : {label.Borders(), band.Borders()}) {
        b->SetSides(sdAll);
        b->SetWidth(width);
    }
    QCOMPARE(label.CalcSize(), bare);
    label.SetAutoSize(false);
    label.SetBounds(10, 5, 60, 20);
    QCOMPARE(label.ClientRect(), TRLRect(0, 0, 60, 20));
    QCOMPARE(label.PrintRect(), TRLRect(10, 5, 70, 25));
    QCOMPARE(band.ClientRect(), band.MarginRect());
    QVERIFY(label.CanPrint());
    label.Print();
    QCOMPARE(objectsOf<TRLRectangleObject>(band.Surface()).size(), 0);
}

void TestRLControls::holders()
{
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    Sized holder, column, follower;
    for (Sized *c : {&holder, &column, &follower}) {
        c->SetParent(&band);
        c->natural = QSize(20, 10);
    }
    holder.SetBounds(100, 5, 60, 10);
    column.SetBounds(0, 30, 20, 10);
    column.SetAlignment(taRightJustify);
    column.SetHolder(&holder);
    // As a column: the holder's left and width (not auto-sized, so the width is copied).
    QCOMPARE(column.BoundsRect(), TRLRect(100, 30, 160, 40));

    follower.SetBounds(130, 50, 20, 10);
    follower.SetHoldStyle(hsRelatively);
    follower.SetHolder(&holder);
    holder.SetBounds(200, 15, 60, 10);
    QCOMPARE(follower.BoundsRect(), TRLRect(230, 60, 250, 70));
    QCOMPARE(column.Left(), 200);

    // An auto-sized control keeps its own width and aligns against the holder's.
    column.SetAutoSize(true);
    holder.SetBounds(300, 15, 60, 10);
    QCOMPARE(column.BoundsRect(), TRLRect(340, 30, 360, 40));

    follower.SetSecondHoldStyle(hsCopyHeight);
    follower.SetSecondHolder(&holder);
    holder.SetBounds(300, 15, 60, 25);
    QCOMPARE(follower.Height(), 25);

    // A memo sizes only its height: auto-sized, it still takes a column's width, a label does not.
    TRLMemo memo;
    TRLLabel label;
    for (TRLCustomControl *c : std::initializer_list<TRLCustomControl *>{&memo, &label}) {
        c->SetParent(&band);
        c->SetHoldStyle(hsCopyWidth);
        c->SetHolder(&holder);
    }
    label.SetCaption("x");
    holder.SetWidth(250);
    QCOMPARE(memo.Width(), 250);
    QVERIFY(label.Width() < 250);
}

void TestRLControls::holderCyclesRefused()
{
    Sized a, b;
    a.SetHolder(&b);
    b.SetHolder(&a);
    QCOMPARE(b.Holder(), nullptr);
    a.SetHolder(&a);
    QCOMPARE(a.Holder(), &b);
    {
        Sized gone;
        a.SetHolder(&gone);
    }
    QCOMPARE(a.Holder(), nullptr); // a destroyed holder lets go
    a.SetBounds(1, 2, 3, 4);
    QCOMPARE(a.BoundsRect(), TRLRect(1, 2, 4, 6));
}

void TestRLControls::friendlyNames()
{
    QObject form;
    auto *a = new TRLLabel(&form);
    auto *b = new TRLLabel(&form);
    a->SetName("RLLabel1");
    b->SetName("RLLabel2");
    a->SetFriendlyName("Total");
    QCOMPARE(a->FriendlyName(), QStringLiteral("Total"));
    QCOMPARE(errorOf([&] { b->SetFriendlyName("TOTAL"); }), QStringLiteral("Nome já utilizado \"TOTAL\""));
    QCOMPARE(b->FriendlyName(), QString());
    QCOMPARE(errorOf([&] { a->SetFriendlyName("1 x"); }), QStringLiteral("Nome inválido \"1 x\""));
    QCOMPARE(a->FriendlyName(), QStringLiteral("Total")); // the old name stays
    a->SetFriendlyName("RLLabel1");
    QCOMPARE(a->FriendlyName(), QString());
    b->SetFriendlyName("Total"); // free again
    b->SetName("Total"); // renaming leaves the friendly name alone
    QCOMPARE(b->FriendlyName(), QStringLiteral("Total"));
    b->SetFriendlyName(QString());
    QCOMPARE(b->FriendlyName(), QString());
    // Another owner is another name space.
    QObject other;
    auto *c = new TRLLabel(&other);
    a->SetFriendlyName("Total");
    c->SetFriendlyName("Total");
    QCOMPARE(c->FriendlyName(), QStringLiteral("Total"));
    {
        TRLFormLoader loading(&form);
        auto *d = new TRLLabel(&form);
        d->SetFriendlyName("não"); // silently dropped while loading
        QCOMPARE(d->FriendlyName(), QString());
    }
}

void TestRLControls::requiredAncestors()
{
    TRLLabel label;
    label.SetName("LRLNome");
    QCOMPARE(errorOf([&] { label.RequireParentReport(); }), QStringLiteral("Não encontrado: LRLNome.ParentReport"));
    QCOMPARE(errorOf([&] { label.RequireParentPager(); }), QStringLiteral("Não encontrado: LRLNome.ParentPager"));
    QCOMPARE(errorOf([&] { label.RequireParentSkipper(); }), QStringLiteral("Não encontrado: LRLNome.ParentSkipper"));
    QCOMPARE(errorOf([&] { label.CanPrint(); label.Print(); }),
             QStringLiteral("Não encontrado: LRLNome.ParentSurface"));
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    label.SetParent(&band);
    QCOMPARE(label.RequireParentReport(), &report);
    QCOMPARE(label.RequireParentPager(), &report);
    QCOMPARE(label.FindParentBandSet(), &band);
    QCOMPARE(report.OwnerReport(), &report);
    QCOMPARE(report.FindParentReport(), nullptr);

    TRLReport second, third;
    report.SetNextReport(&second);
    second.SetNextReport(&third);
    third.SetNextReport(&report); // would loop: refused
    QCOMPARE(third.NextReport(), nullptr);
    QCOMPARE(third.MasterReport(), &report);
}

void TestRLControls::fontAndColourInheritance()
{
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    TRLLabel label;
    label.SetCaption("Valor");
    label.SetParent(&band);
    QCOMPARE(label.Font().family(), QStringLiteral("Arial"));
    const int narrow = label.Width();

    QFont big("Arial");
    big.setPixelSize(30);
    report.SetFont(big);
    QCOMPARE(band.Font().pixelSize(), 30);
    QCOMPARE(label.Font().pixelSize(), 30);
    QVERIFY(label.Width() > narrow); // re-measured in the new font
    report.SetFontColor(Qt::blue);
    QCOMPARE(label.FontColor(), QColor(Qt::blue));

    QFont own("Times New Roman");
    own.setPixelSize(11);
    label.SetFont(own);
    QVERIFY(!label.ParentFont());
    report.SetFont(QFont("Courier New"));
    QCOMPARE(label.Font().family(), QStringLiteral("Times New Roman"));
    label.SetParentFont(true);
    QCOMPARE(label.Font().family(), QStringLiteral("Courier New"));

    band.SetColor(QColor(0xff, 0xff, 0xe0));
    QCOMPARE(label.Color(), QColor(0xff, 0xff, 0xe0));
    QVERIFY(label.Transparent()); // inherited, not set
    TRLLabel late;
    late.SetParent(&band);
    QCOMPARE(late.Color(), QColor(0xff, 0xff, 0xe0));
    QCOMPARE(late.Font().family(), QStringLiteral("Courier New"));
}

void TestRLControls::colourMakesOpaque()
{
    TRLLabel label;
    label.SetColor(Qt::white);
    QVERIFY(label.Transparent());
    label.SetColor(Qt::yellow);
    QVERIFY(!label.Transparent());
    QObject form;
    TRLFormLoader loading(&form);
    auto *loaded = new TRLLabel(&form);
    loaded->SetColor(Qt::yellow);
    QVERIFY(loaded->Transparent());
    // A colour taken from the site is no colour of the control's own: the child stays transparent
    // rather than painting the site's colour over its gradient or picture.
    TRLBand band;
    TRLLabel child;
    child.SetParent(&band);
    band.SetColor(Qt::yellow);
    QCOMPARE(child.Color(), QColor(Qt::yellow));
    QVERIFY(child.ParentColor());
    QVERIFY(child.Transparent());
}

void TestRLControls::growingMemoExpandsBand()
{
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    band.SetHeight(100);
    TRLMemo memo;
    memo.SetParent(&band);
    memo.SetBounds(0, 10, 300, 20);
    const int h0 = band.Height();
    memo.SetLines({"linha"});
    const int oneRow = memo.Height();
    QVERIFY(oneRow > 5);
    QCOMPARE(band.Height(), h0 + oneRow - 20);
    memo.SetLines({"um", "dois", "três"});
    QCOMPARE(memo.Height(), 3 * oneRow);
    QCOMPARE(band.Height(), h0 + 3 * oneRow - 20);
    // Without the flag the band keeps its height.
    memo.SetBehavior({});
    memo.SetLines({"um"});
    QCOMPARE(band.Height(), h0 + 3 * oneRow - 20);
    // A fixed-size memo does not grow at all.
    memo.SetBehavior(beSiteExpander);
    memo.SetAutoSize(false);
    memo.SetLines({"a", "b", "c", "d"});
    QCOMPARE(memo.Height(), oneRow);
}

void TestRLControls::loaderSuppressesThenCompletes()
{
    QObject form;
    TRLReport *report;
    TRLBand *band;
    TRLLabel *label;
    {
        TRLFormLoader loading(&form);
        report = new TRLReport(&form);
        report->Margins()->SetLeftMargin(7);
        report->Margins()->SetRightMargin(5);
        band = new TRLBand(&form);
        band->SetParent(report);
        band->SetBounds(0, 500, 749, 962);
        label = new TRLLabel(&form);
        label->SetParent(band);
        label->SetBounds(88, 8, 201, 20);
        label->SetCaption("MINISTÉRIO DA FAZENDA");
        QVERIFY(label->IsLoading());
        QCOMPARE(label->BoundsRect(), TRLRect(88, 8, 289, 28)); // nothing adjusted yet
        QCOMPARE(band->Top(), 500);                              // nor arranged
    }
    QVERIFY(!label->IsLoading());
    QCOMPARE(band->BoundsRect(), TRLRect(26, 38, 26 + 749, 38 + 962));
    QCOMPARE(label->Width(), textExtent("MINISTÉRIO DA FAZENDA ", label->Font()).width());

    // An owner that goes away while loading leaves nothing behind.
    auto *gone = new QObject;
    {
        TRLFormLoader loading(gone);
        new TRLLabel(gone);
        delete gone;
    }
    QVERIFY(!TRLFormLoader::IsLoadingOwner(gone));
}

void TestRLControls::loaderTakesStoredPageSetup()
{
    // Stored order: the custom sizes come before the paper that allows them.
    QObject form;
    TRLReport *report;
    TRLBand *band;
    {
        TRLFormLoader loading(&form);
        report = new TRLReport(&form);
        report->PageSetup()->SetPaperHeight(102);
        report->PageSetup()->SetPaperWidth(211);
        report->PageSetup()->SetPaperSize(fpCustom);
        report->Margins()->SetTopMargin(5);
        band = new TRLBand(&form);
        band->SetParent(report);
    }
    QCOMPARE(report->PageSetup()->PaperWidth(), 211.0);
    QCOMPARE(report->PageSetup()->PaperHeight(), 102.0);
    QCOMPARE(report->Width(), MMToPixels(211));
    QCOMPARE(report->Height(), MMToPixels(102));
    QCOMPARE(band->Top(), MMToPixels(5));
    QCOMPARE(band->Width(), MMToPixels(211) - 2 * MMToPixels(10));
    // After loading a table paper fixes the size again.
    report->PageSetup()->SetPaperSize(fpA4);
    report->PageSetup()->SetPaperWidth(100);
    QCOMPARE(report->Width(), MMToPixels(210));
}

void TestRLControls::nearestPrintContextApplies()
{
    TRLReport report;
    report.SetPrintQuality(pqFullFeature);
    ContextPanel panel;
    panel.SetParent(&report);
    TRLLabel label;
    label.SetName("LbValor");
    label.SetParent(&panel);
    label.SetCaption("10,00");
    label.Borders()->SetSides(sdAll);
    label.Borders()->SetFixedTop(true);
    QCOMPARE(label.PrintContext(), static_cast<TRLPrintContext *>(&panel));
    panel.quality = pqFixedOnly; // the panel's quality, not the report's
    QVERIFY(label.Borders()->IsDrawn(TRLBorders::Top));
    QVERIFY(!label.Borders()->IsDrawn(TRLBorders::Left));

    QVERIFY(label.CanPrint());
    QCOMPARE(panel.filtered, QStringList{"LbValor=10,00"});
    QCOMPARE(label.Caption(), QStringLiteral("10,00")); // not preparing: the design text
    panel.preparing = true;
    QCOMPARE(label.Caption(), QStringLiteral("10,00!"));
    panel.blank = true;
    QVERIFY(label.CanPrint());
    QCOMPARE(label.Caption(), QStringLiteral("!"));
    label.BeforePrint = [](TRLCustomControl *, QString &text, bool &) { text = "-1"; };
    QVERIFY(!label.CanPrint()); // the filter's answer is the last word
    // Outside any context a control asks nobody.
    TRLLabel alone;
    QCOMPARE(alone.PrintContext(), nullptr);
    QVERIFY(!alone.IsPreparing());
}

void TestRLControls::ownerKeepsCreationOrder()
{
    QObject form;
    auto *report = new TRLReport(&form);
    auto *band = new TRLBand(&form);
    auto *c = new TRLLabel(&form);
    auto *a = new TRLLabel(&form);
    auto *b = new TRLLabel(&form);
    band->SetParent(report);
    for (TRLLabel *l : {a, b, c})
        l->SetParent(band);
    QCOMPARE(band->Controls(), (QList<TRLCustomControl *>{a, b, c}));
    QCOMPARE(band->ControlsInCreationOrder(), (QList<TRLCustomControl *>{c, a, b}));
    QVERIFY(c->ComponentIndex() < a->ComponentIndex());
}

void TestRLControls::destroyingSiteOrChild()
{
    QObject form;
    auto *report = new TRLReport(&form);
    auto *band = new TRLBand(&form);
    auto *label = new TRLLabel(&form);
    band->SetParent(report);
    label->SetParent(band);
    delete label;
    QCOMPARE(band->ControlCount(), 0);
    auto *other = new TRLLabel(&form);
    other->SetParent(band);
    delete band;
    QCOMPARE(other->Parent(), nullptr);
    QCOMPARE(report->ControlCount(), 0);
    // The owner destroys what is left without trouble.
}

void TestRLControls::carbonCopiesShared()
{
    TRLReport report;
    TRLBand a, b, c;
    for (TRLBand *band : {&a, &b, &c})
        band->SetParent(&report);
    a.SetGroupIndex(1);
    b.SetGroupIndex(1);
    a.SetCarbonCopies(3);
    QCOMPARE(b.CarbonCopies(), 3);
    QCOMPARE(c.CarbonCopies(), 1);
    c.SetGroupIndex(1); // joining takes the group's value
    QCOMPARE(c.CarbonCopies(), 3);
}

void TestRLControls::textEventsDecidePrintCaption()
{
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    TRLLabel label;
    label.SetParent(&band);
    label.SetCaption("valor");
    label.BeforePrint = [](TRLCustomControl *, QString &text, bool &) { text += "!"; };
    report.OnFilterText = [](TRLCustomControl *, QString &text, bool &printIt) {
        text = text.toUpper();
        printIt = !text.startsWith("X");
    };
    report.SetPrepareState(TRLPrepareState::Preparing);
    QVERIFY(label.CanPrint());
    QCOMPARE(label.Caption(), QStringLiteral("VALOR!"));
    label.SetCaption("só nesta passagem"); // while preparing only the print caption changes
    report.SetPrepareState(TRLPrepareState::NotPrepared);
    QCOMPARE(label.Caption(), QStringLiteral("valor"));
    label.SetCaption("xis");
    QVERIFY(!label.CanPrint());
    QVERIFY(!label.PrintIt());
    // Completion passes print the text empty, whatever the design says.
    report.SetPrintsBlankTexts(true);
    label.SetCaption("valor");
    QVERIFY(label.CanPrint());
    report.SetPrepareState(TRLPrepareState::Preparing);
    QCOMPARE(label.Caption(), QStringLiteral("!"));
    report.SetPrepareState(TRLPrepareState::NotPrepared);
    label.SetVisible(false);
    QVERIFY(!label.CanPrint());
}

void TestRLControls::measureHeightTakesDesignText()
{
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    TRLMemo memo;
    memo.SetParent(&band);
    memo.SetLines({"um"});
    const int oneRow = memo.Height();
    int asked = 0;
    memo.OnMeasureHeight = [&](TRLCustomControl *) { ++asked; };
    memo.BeforePrint = [](TRLCustomControl *, QString &text, bool &) { text = "um\ndois\ntrês"; };
    report.SetPrepareState(TRLPrepareState::Preparing);
    memo.CanPrint();
    memo.AdjustBounds();
    QCOMPARE(memo.Height(), 3 * oneRow);
    // Measuring from the band measures its children again from their design texts.
    band.SetAutoSize(true);
    band.MeasureHeight();
    QCOMPARE(asked, 1);
    QCOMPARE(memo.Height(), oneRow);
    memo.SetVisible(false);
    band.MeasureHeight();
    QCOMPARE(asked, 1); // an invisible control is not measured
}

namespace {

const QString kNotice = QStringLiteral(
    "O recolhimento deste documento deve ser feito em qualquer agência bancária autorizada, "
    "até a data do vencimento, sob pena de multa e juros de mora calculados na forma da lei.");

} // namespace

void TestRLControls::memoMeasuresWhatItNowHolds_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("wordWrap");
    QTest::addColumn<QString>("text");
    QTest::newRow("narrower") << 120 << 13 << true << kNotice;
    QTest::newRow("wider") << 400 << 13 << true << kNotice;
    QTest::newRow("larger font") << 185 << 18 << true << kNotice;
    QTest::newRow("no word wrap") << 185 << 13 << false << kNotice;
    QTest::newRow("same length, line breaks for blanks")
        << 185 << 13 << true << QString(kNotice).replace(QLatin1Char(' '), QLatin1Char('\n'));
    QTest::newRow("short text") << 185 << 13 << true << QStringLiteral("veja no verso");
}

// A memo measured in one state and then changed takes the height of its new text, width and font,
// as the toolkit's metrics break it, however often the same text was measured before.
void TestRLControls::memoMeasuresWhatItNowHolds()
{
    QFETCH(int, width);
    QFETCH(int, pixels);
    QFETCH(bool, wordWrap);
    QFETCH(QString, text);
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    band.SetBounds(0, 0, 600, 400);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    TRLMemo memo;
    memo.SetParent(&band);
    memo.SetFont(font);
    memo.SetBounds(0, 0, 185, 20);
    memo.SetCaption(kNotice);
    const int first = memo.Height();

    memo.SetWidth(width);
    font.setPixelSize(pixels);
    memo.SetFont(font);
    memo.SetWordWrap(wordWrap);
    memo.SetCaption(text);

    const QStringList rows = RLBreakRows(text, memo.PrintRect().Width(), wordWrap,
                                         [&](const QString &t) { return textExtent(t, font).width(); });
    const int expected = int(rows.size()) * textExtent(QStringLiteral(" "), font).height();
    QVERIFY(expected != first); // each row changes what is measured
    QCOMPARE(memo.Height(), expected);
    // The first state again, as a second memo would measure it.
    memo.SetWidth(185);
    font.setPixelSize(13);
    memo.SetFont(font);
    memo.SetWordWrap(true);
    memo.SetCaption(kNotice);
    QCOMPARE(memo.Height(), first);
}

QTEST_MAIN(TestRLControls)
#include "tst_rlcontrols.moc"
