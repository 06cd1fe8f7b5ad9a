// Report pixels, the paper table, page setup and margins.

#include "report/base/RLTypes.h"
#include "report/base/RLUtils.h"

#include <QtTest>

#include <cfenv>
#include <climits>
#include <limits>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

struct CountingOwner : TRLPageSetupOwner, TRLMarginsOwner
{
    int pageSetupChanges = 0;
    int marginChanges = 0;
    void PageSetupChanged() override { ++pageSetupChanges; }
    void MarginsChanged() override { ++marginChanges; }
};

} // namespace

class TestRLUnits : public QObject
{
    Q_OBJECT

private slots:
    void roundsHalvesToEven();
    void conversions();
    void paperTable();
    void customSizeOnlyOnCustomPaper();
    void pageSetupNotifiesRealChangesOnly();
    void pageSetupAssignAndLoading();
    void margins();
};

void TestRLUnits::roundsHalvesToEven()
{
    const struct { long double value; int expected; } cases[] = {
        {0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {-0.5L, 0}, {-1.5L, -2}, {-2.5L, -2}, {-2.6L, -3},
        {2.5000000001L, 3}, {0.49999999999999994L, 0}, {1e12L, INT_MAX}, {-1e12L, INT_MIN},
        {notANumber, 0}, {infinity, INT_MAX},
        // A hair off a tie, closer than a double can tell: the double seen first says a tie.
        {2.5L - 1e-18L, 2}, {3.5L - 1e-18L, 3}, {2.5L + 1e-18L, 3}, {-2.5L + 1e-18L, -2},
        {-3.5L - 1e-18L, -4}, {2.9999999999999999999L, 3}, {-0.7L, -1},
        {1000000001.5L, 1000000002}, {2147483645.5L, 2147483646}, {-2147483645.5L, -2147483646}};
    for (const auto &c : cases)
        QCOMPARE(RLRound(c.value), c.expected);

    // Printer drivers and other libraries have been known to leave the FPU in another mode.
    volatile double tie = 2.5;
    const int saved = std::fegetround();
    std::fesetround(FE_UPWARD);
    const int up = RLRound(tie);
    std::fesetround(FE_DOWNWARD);
    const int down = RLRound(tie + 1);
    std::fesetround(saved);
    QCOMPARE(up, 2);
    QCOMPARE(down, 4);
}

void TestRLUnits::conversions()
{
    const struct { double mm; int pixels; } lengths[] = {
        {10, 38}, {210, 794}, {297, 1123}, {25.4, 96}, {211, 797}, {102, 386}, {0, 0}, {-10, -38}};
    for (const auto &l : lengths)
        QCOMPARE(MMToPixels(l.mm), l.pixels);

    QCOMPARE(deviceToPixels(300, 300), 96);
    // 1, 3 and 5 at 192 dpi are exact halves of a report pixel.
    QCOMPARE(deviceToPixels(1, 192), 0);
    QCOMPARE(deviceToPixels(3, 192), 2);
    QCOMPARE(deviceToPixels(5, 192), 2);
    QCOMPARE(deviceToPixels(INT_MAX, 1), INT_MAX);
    QCOMPARE(deviceMarginsToPixels(QMargins(50, 100, 25, 300), 300, 600), QMargins(16, 16, 8, 48));
    QCOMPARE(deviceMarginsToPixels(QMargins(50, 100, 25, 300), 300, 0), QMargins());
}

void TestRLUnits::paperTable()
{
    const struct { TRLPaperSize size; double width, height; bool emulated; int code; const char *label; } rows[] = {
        {fpA0, 841, 1189, true, 0, "A0 841 x 1189 mm"},
        {fpA1, 594, 841, true, 0, "A1 594 x 841 mm"},
        {fpA2, 420, 594, false, 66, "A2 420 x 594 mm"},
        {fpA4, 210, 297, false, 9, "A4 210 x 297 mm"},
        {fpEng_Imperial, 761, 559, true, 0, "Imperial 761 x 559 mm"},
        {fpCustom, 0, 0, false, 256, "User Defined"}};
    for (const auto &r : rows) {
        const TRLPaperInfo &info = RLPaperInfo(r.size);
        QCOMPARE(info.Description, QString(r.label));
        QCOMPARE(info.Width, r.width);
        QCOMPARE(info.Height, r.height);
        QCOMPARE(info.Emulated, r.emulated);
        QCOMPARE(info.PaperCode, r.code);
    }

    // Every size has its own row, and each label names the size its row gives.
    int emulated = 0;
    for (int size = 0; size < fpCustom; ++size) {
        const TRLPaperInfo &info = RLPaperInfo(TRLPaperSize(size));
        const QString dimensions = QString::number(info.Width) + " x " + QString::number(info.Height);
        QVERIFY2(info.Description.contains(dimensions), qPrintable(QString::number(size)));
        emulated += info.Emulated;
    }
    QCOMPARE(emulated, 68);
    QCOMPARE(RLPaperInfo(TRLPaperSize(200)).PaperCode, RLUserPaperCode);
}

void TestRLUnits::customSizeOnlyOnCustomPaper()
{
    TRLPageSetup setup;
    QCOMPARE(setup.PaperSize(), fpA4);
    QCOMPARE(setup.Orientation(), poPortrait);
    QCOMPARE(MMToPixels(setup.pageWidthMm()), 794);
    QCOMPARE(MMToPixels(setup.pageHeightMm()), 1123);
    setup.SetOrientation(poLandscape);
    QCOMPARE(setup.pageWidthMm(), 297.0);
    QCOMPARE(setup.pageHeightMm(), 210.0);
    QCOMPARE(setup.PaperWidth(), 210.0);
    setup.SetOrientation(poPortrait);

    setup.SetPaperWidth(211);
    QCOMPARE(setup.PaperWidth(), 210.0);
    setup.SetPaperSize(fpCustom);
    QCOMPARE(setup.PaperWidth(), 210.0);
    QCOMPARE(setup.PaperHeight(), 297.0);
    setup.SetPaperWidth(211);
    setup.SetPaperHeight(102);
    for (double bad : {0.0, -5.0, notANumber, infinity}) {
        setup.SetPaperWidth(bad);
        setup.SetPaperHeight(bad);
    }
    QCOMPARE(setup.PaperWidth(), 211.0);
    QCOMPARE(setup.PaperHeight(), 102.0);
    setup.SetPaperSize(TRLPaperSize(141));
    setup.SetOrientation(TRLPageOrientation(7));
    QCOMPARE(setup.PaperSize(), fpCustom);
    QCOMPARE(setup.Orientation(), poPortrait);

    setup.SetPaperSize(fpA4);
    QCOMPARE(setup.PaperWidth(), 210.0);
    QCOMPARE(setup.PaperHeight(), 297.0);
}

void TestRLUnits::pageSetupNotifiesRealChangesOnly()
{
    CountingOwner owner;
    TRLPageSetup setup(&owner);
    setup.SetPaperSize(fpA4);
    setup.SetOrientation(poPortrait);
    setup.SetPaperWidth(100);
    QCOMPARE(owner.pageSetupChanges, 0);

    setup.SetPaperSize(fpCustom);
    setup.SetPaperWidth(211);
    setup.SetPaperWidth(211);
    setup.SetPaperHeight(-1);
    setup.SetPaperHeight(102);
    setup.SetOrientation(poLandscape);
    setup.SetForceEmulation(true);
    QCOMPARE(owner.pageSetupChanges, 4);
}

void TestRLUnits::pageSetupAssignAndLoading()
{
    TRLPageSetup custom;
    custom.SetPaperSize(fpCustom);
    custom.SetPaperWidth(211);
    custom.SetPaperHeight(102);
    custom.SetForceEmulation(true);
    CountingOwner owner;
    TRLPageSetup copy(&owner);
    copy.Assign(custom);
    QCOMPARE(copy.PaperSize(), fpCustom);
    QCOMPARE(copy.PaperWidth(), 211.0);
    QCOMPARE(copy.PaperHeight(), 102.0);
    QCOMPARE(copy.ForceEmulation(), true);
    QCOMPARE(owner.pageSetupChanges, 3);

    // Stored values come in any order and the owner hears of them once, at the end.
    TRLPageSetup loaded(&owner);
    owner.pageSetupChanges = 0;
    loaded.beginLoading();
    loaded.SetPaperHeight(102);
    loaded.SetPaperWidth(211);
    loaded.SetPaperSize(fpCustom);
    QCOMPARE(owner.pageSetupChanges, 0);
    loaded.endLoading();
    QCOMPARE(owner.pageSetupChanges, 1);
    QCOMPARE(loaded.PaperWidth(), 211.0);
    QCOMPARE(loaded.PaperHeight(), 102.0);

    // A stray size stored beside a table paper gives way to the table.
    TRLPageSetup table;
    table.beginLoading();
    table.SetPaperSize(fpA5);
    table.SetPaperWidth(98);
    table.endLoading();
    QCOMPARE(table.PaperWidth(), 148.0);
    QCOMPARE(table.PaperHeight(), 210.0);
}

void TestRLUnits::margins()
{
    CountingOwner owner;
    TRLMargins margins(&owner);
    QCOMPARE(margins.toPixels(), QMargins(0, 0, 0, 0));
    margins.setValuesAndDefaults(10, 10, 10, 10);
    QCOMPARE(owner.marginChanges, 0);
    QVERIFY(margins.isDefault());
    QCOMPARE(margins.toPixels(), QMargins(38, 38, 38, 38));

    margins.SetTopMargin(5);
    margins.SetTopMargin(5);
    margins.SetBottomMargin(notANumber);
    QCOMPARE(owner.marginChanges, 1);
    QVERIFY(!margins.isDefault());
    QCOMPARE(margins.defaultTopMargin(), 10.0);
    QCOMPARE(margins.BottomMargin(), 10.0);
    // Each side is rounded on its own: 0.13 mm is just under half a pixel, 0.14 just over.
    margins.SetLeftMargin(0.13);
    margins.SetRightMargin(0.14);
    QCOMPARE(margins.toPixels(), QMargins(0, 19, 1, 38));

    TRLMargins source;
    source.setValuesAndDefaults(0.13, 20, 30, 40);
    owner.marginChanges = 0;
    margins.Assign(source);
    QCOMPARE(owner.marginChanges, 3);
    QCOMPARE(margins.BottomMargin(), 40.0);
    QCOMPARE(margins.defaultBottomMargin(), 10.0);

    margins.beginLoading();
    margins.SetLeftMargin(5);
    margins.SetRightMargin(6);
    QCOMPARE(owner.marginChanges, 3);
    margins.endLoading();
    QCOMPARE(owner.marginChanges, 4);
}

QTEST_MAIN(TestRLUnits)
#include "tst_rlunits.moc"
