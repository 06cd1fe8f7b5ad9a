// Report pixels, the paper table, page setup and margins.

#include "report/RLTypes.h"
#include "report/RLUtils.h"

#include <QtTest>

#include <cfenv>
#include <climits>
#include <limits>

namespace {

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
    void roundsHalvesToEven_data();
    void roundsHalvesToEven();
    void roundingIgnoresFpuMode();
    void millimetresToPixels_data();
    void millimetresToPixels();
    void devicePixelsToReportPixels();

    void paperTableEntries_data();
    void paperTableEntries();
    void paperTableIsConsistent();

    void pageSetupDefaultsToA4Portrait();
    void landscapeSwapsPageSides();
    void customSizeOnlyOnCustomPaper();
    void pageSetupRejectsBadValues();
    void pageSetupNotifiesOnlyRealChanges();
    void pageSetupAssign();
    void pageSetupLoadingTakesAnyOrder();

    void marginsValuesAndDefaults();
    void marginsNotifyOwner();
    void marginsLoading();
};

void TestRLUnits::roundsHalvesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("just above a half") << 2.5000000001 << 3;
    QTest::newRow("just below a half") << 0.49999999999999994 << 0;
    QTest::newRow("-2.6") << -2.6 << -3;
    QTest::newRow("too large saturates") << 1e12 << INT_MAX;
    QTest::newRow("too small saturates") << -1e12 << INT_MIN;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 0;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << INT_MAX;
}

void TestRLUnits::roundsHalvesToEven()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(RLRound(value), expected);
}

void TestRLUnits::roundingIgnoresFpuMode()
{
    // Printer drivers and other libraries are known to leave the FPU in another mode.
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

void TestRLUnits::millimetresToPixels_data()
{
    QTest::addColumn<double>("mm");
    QTest::addColumn<int>("pixels");
    QTest::newRow("10 mm") << 10.0 << 38;
    QTest::newRow("A4 width") << 210.0 << 794;
    QTest::newRow("A4 height") << 297.0 << 1123;
    QTest::newRow("one inch") << 25.4 << 96;
    QTest::newRow("slip width") << 211.0 << 797;
    QTest::newRow("slip height") << 102.0 << 386;
    QTest::newRow("zero") << 0.0 << 0;
    QTest::newRow("negative") << -10.0 << -38;
}

void TestRLUnits::millimetresToPixels()
{
    QFETCH(double, mm);
    QFETCH(int, pixels);
    QCOMPARE(MMToPixels(mm), pixels);
}

void TestRLUnits::devicePixelsToReportPixels()
{
    QCOMPARE(deviceToPixels(300, 300), 96);
    QCOMPARE(deviceToPixels(1200, 600), 192);
    // 1 at 192 dpi is exactly half a report pixel, 3 is one and a half, 5 two and a half.
    QCOMPARE(deviceToPixels(1, 192), 0);
    QCOMPARE(deviceToPixels(3, 192), 2);
    QCOMPARE(deviceToPixels(5, 192), 2);
    QCOMPARE(deviceToPixels(INT_MAX, 1), INT_MAX);
    QCOMPARE(deviceToPixels(100, 0), 0);
    QCOMPARE(deviceToPixels(100, -300), 0);
}

void TestRLUnits::paperTableEntries_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("emulated");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("description");
    QTest::newRow("A0") << int(fpA0) << 841.0 << 1189.0 << true << 0 << "A0 841 x 1189 mm";
    QTest::newRow("A1") << int(fpA1) << 594.0 << 841.0 << true << 0 << "A1 594 x 841 mm";
    QTest::newRow("A2") << int(fpA2) << 420.0 << 594.0 << false << 66 << "A2 420 x 594 mm";
    QTest::newRow("A4") << int(fpA4) << 210.0 << 297.0 << false << 9 << "A4 210 x 297 mm";
    QTest::newRow("A3 Extra") << int(fpA3_Extra) << 322.44 << 445.2 << false << 63 << "A3 Extra 322.44 x 445.2 mm";
    QTest::newRow("B4 JIS") << int(fpB4_JIS) << 250.0 << 354.0 << true << 0 << "B4 (JIS) 250 x 354";
    QTest::newRow("Letter") << int(fpLetter) << 215.9 << 279.4 << false << 1 << "Letter 215.9 x 279.4 mm";
    QTest::newRow("Env Monarch") << int(fpEnv_Monarch) << 98.43 << 190.5 << false << 37 << "Envelope Monarch 98.43 x 190.5 mm";
    QTest::newRow("PRC Env 10") << int(fpPEnv_10) << 324.0 << 458.0 << false << 105 << "PRC Envelope #10 324 x 458 mm";
    QTest::newRow("Imperial") << int(fpEng_Imperial) << 761.0 << 559.0 << true << 0 << "Imperial 761 x 559 mm";
    QTest::newRow("Custom") << int(fpCustom) << 0.0 << 0.0 << false << 256 << "User Defined";
}

void TestRLUnits::paperTableEntries()
{
    QFETCH(int, size);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(bool, emulated);
    QFETCH(int, code);
    QFETCH(QString, description);
    const TRLPaperInfo &info = RLPaperInfo(TRLPaperSize(size));
    QCOMPARE(info.Width, width);
    QCOMPARE(info.Height, height);
    QCOMPARE(info.Emulated, emulated);
    QCOMPARE(info.PaperCode, code);
    QCOMPARE(info.Description, description);
}

void TestRLUnits::paperTableIsConsistent()
{
    // Every size has its own row, and each label names the size the row gives.
    int emulated = 0;
    for (int size = 0; size < RLPaperSizeCount; ++size) {
        const TRLPaperInfo &info = RLPaperInfo(TRLPaperSize(size));
        QVERIFY2(!info.Description.isEmpty(), qPrintable(QString::number(size)));
        QCOMPARE(info.Emulated, info.PaperCode == RLNoPaperCode);
        emulated += info.Emulated;
        if (size != fpCustom) {
            const QString dimensions = QString::number(info.Width) + " x " + QString::number(info.Height);
            QVERIFY2(info.Description.contains(dimensions), qPrintable(info.Description));
        }
    }
    QCOMPARE(emulated, 68);
    QCOMPARE(RLPaperInfo(TRLPaperSize(200)).Description, QString("User Defined"));
}

void TestRLUnits::pageSetupDefaultsToA4Portrait()
{
    TRLPageSetup setup;
    QCOMPARE(setup.PaperSize(), fpA4);
    QCOMPARE(setup.Orientation(), poPortrait);
    QCOMPARE(setup.ForceEmulation(), false);
    QCOMPARE(MMToPixels(setup.pageWidthMm()), 794);
    QCOMPARE(MMToPixels(setup.pageHeightMm()), 1123);
}

void TestRLUnits::landscapeSwapsPageSides()
{
    TRLPageSetup setup;
    setup.SetOrientation(poLandscape);
    QCOMPARE(setup.pageWidthMm(), 297.0);
    QCOMPARE(setup.pageHeightMm(), 210.0);
    // Paper sizes stay portrait; only the page turns.
    QCOMPARE(setup.PaperWidth(), 210.0);
    setup.SetPaperSize(fpA5);
    QCOMPARE(setup.pageWidthMm(), 210.0);
    QCOMPARE(setup.pageHeightMm(), 148.0);
}

void TestRLUnits::customSizeOnlyOnCustomPaper()
{
    TRLPageSetup setup;
    setup.SetPaperWidth(211);
    QCOMPARE(setup.PaperWidth(), 210.0);

    setup.SetPaperSize(fpCustom);
    QCOMPARE(setup.PaperWidth(), 210.0);
    QCOMPARE(setup.PaperHeight(), 297.0);
    setup.SetPaperWidth(211);
    setup.SetPaperHeight(102);
    QCOMPARE(MMToPixels(setup.pageWidthMm()), 797);
    QCOMPARE(MMToPixels(setup.pageHeightMm()), 386);

    setup.SetPaperSize(fpA4);
    QCOMPARE(setup.PaperWidth(), 210.0);
    QCOMPARE(setup.PaperHeight(), 297.0);
    setup.SetPaperSize(fpLetter);
    QCOMPARE(setup.PaperWidth(), 215.9);
    QCOMPARE(setup.PaperHeight(), 279.4);
}

void TestRLUnits::pageSetupRejectsBadValues()
{
    CountingOwner owner;
    TRLPageSetup setup(&owner);
    setup.SetPaperSize(fpCustom);
    owner.pageSetupChanges = 0;
    for (double bad : {0.0, -5.0, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()}) {
        setup.SetPaperWidth(bad);
        setup.SetPaperHeight(bad);
    }
    setup.SetPaperSize(TRLPaperSize(141));
    setup.SetOrientation(TRLPageOrientation(7));
    QCOMPARE(setup.PaperWidth(), 210.0);
    QCOMPARE(setup.PaperHeight(), 297.0);
    QCOMPARE(setup.PaperSize(), fpCustom);
    QCOMPARE(setup.Orientation(), poPortrait);
    QCOMPARE(owner.pageSetupChanges, 0);
}

void TestRLUnits::pageSetupNotifiesOnlyRealChanges()
{
    CountingOwner owner;
    TRLPageSetup setup(&owner);
    setup.SetPaperSize(fpA4);
    setup.SetOrientation(poPortrait);
    setup.SetPaperWidth(100); // not custom
    QCOMPARE(owner.pageSetupChanges, 0);

    setup.SetPaperSize(fpCustom);
    setup.SetPaperWidth(211);
    setup.SetPaperWidth(211);
    setup.SetPaperHeight(102);
    setup.SetOrientation(poLandscape);
    setup.SetForceEmulation(true);
    QCOMPARE(owner.pageSetupChanges, 4);

    TRLPageSetup ownerless;
    ownerless.SetPaperSize(fpA3);
    QCOMPARE(ownerless.PaperHeight(), 420.0);
}

void TestRLUnits::pageSetupAssign()
{
    TRLPageSetup custom;
    custom.SetPaperSize(fpCustom);
    custom.SetPaperWidth(211);
    custom.SetPaperHeight(102);
    custom.SetOrientation(poLandscape);
    custom.SetForceEmulation(true);

    CountingOwner owner;
    TRLPageSetup copy(&owner);
    copy.Assign(custom);
    QCOMPARE(copy.PaperSize(), fpCustom);
    QCOMPARE(copy.PaperWidth(), 211.0);
    QCOMPARE(copy.PaperHeight(), 102.0);
    QCOMPARE(copy.Orientation(), poLandscape);
    QCOMPARE(copy.ForceEmulation(), true);
    QCOMPARE(owner.pageSetupChanges, 4);

    TRLPageSetup a5;
    a5.SetPaperSize(fpA5);
    copy.Assign(a5);
    QCOMPARE(copy.PaperWidth(), 148.0);
    QCOMPARE(copy.PaperHeight(), 210.0);
    QCOMPARE(copy.ForceEmulation(), false);
}

void TestRLUnits::pageSetupLoadingTakesAnyOrder()
{
    CountingOwner owner;
    TRLPageSetup setup(&owner);
    setup.beginLoading();
    setup.SetPaperHeight(102);
    setup.SetPaperWidth(211);
    setup.SetPaperSize(fpCustom);
    QCOMPARE(owner.pageSetupChanges, 0);
    setup.endLoading();
    QCOMPARE(owner.pageSetupChanges, 1);
    QCOMPARE(setup.PaperWidth(), 211.0);
    QCOMPARE(setup.PaperHeight(), 102.0);

    // A stray size stored beside a table paper gives way to the table.
    TRLPageSetup table(&owner);
    table.beginLoading();
    table.SetPaperWidth(99);
    table.SetPaperSize(fpA5);
    table.SetPaperWidth(98);
    table.endLoading();
    QCOMPARE(table.PaperWidth(), 148.0);
    QCOMPARE(table.PaperHeight(), 210.0);
    QVERIFY(!table.isLoading());
}

void TestRLUnits::marginsValuesAndDefaults()
{
    CountingOwner owner;
    TRLMargins margins(&owner);
    QCOMPARE(margins.toPixels(), QMargins(0, 0, 0, 0));
    margins.setValuesAndDefaults(10, 10, 10, 10);
    QCOMPARE(owner.marginChanges, 0);
    QVERIFY(margins.isDefault());
    QCOMPARE(margins.toPixels(), QMargins(38, 38, 38, 38));

    margins.SetTopMargin(5);
    QVERIFY(!margins.isDefault());
    QCOMPARE(margins.defaultTopMargin(), 10.0);
    // Sides round one by one: 0.13 mm is half a pixel less a little, 0.14 a little more.
    margins.SetLeftMargin(0.13);
    margins.SetRightMargin(0.14);
    QCOMPARE(margins.toPixels(), QMargins(0, 19, 1, 38));
}

void TestRLUnits::marginsNotifyOwner()
{
    CountingOwner owner;
    TRLMargins margins(&owner);
    margins.SetLeftMargin(10);
    margins.SetLeftMargin(10);
    margins.SetBottomMargin(std::numeric_limits<double>::quiet_NaN());
    QCOMPARE(owner.marginChanges, 1);
    QCOMPARE(margins.BottomMargin(), 0.0);

    TRLMargins source;
    source.setValuesAndDefaults(10, 20, 30, 40);
    margins.Assign(source);
    QCOMPARE(owner.marginChanges, 4); // left was already 10
    QCOMPARE(margins.TopMargin(), 20.0);
    QCOMPARE(margins.RightMargin(), 30.0);
    QCOMPARE(margins.BottomMargin(), 40.0);
    QCOMPARE(margins.defaultTopMargin(), 0.0);
}

void TestRLUnits::marginsLoading()
{
    CountingOwner owner;
    TRLMargins margins(&owner);
    margins.beginLoading();
    margins.SetLeftMargin(5);
    margins.SetRightMargin(6);
    QCOMPARE(owner.marginChanges, 0);
    margins.endLoading();
    QCOMPARE(owner.marginChanges, 1);
    QCOMPARE(margins.RightMargin(), 6.0);
}

QTEST_MAIN(TestRLUnits)
#include "tst_rlunits.moc"
