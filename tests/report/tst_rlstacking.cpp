// Which of overlapping controls paints last, and what a disabled picture still prints.

#include "report/RLReport.h"
#include "report/page/RLMetaFile.h"

#include <QtTest>

#include "RLControlTestSupport.h"

class TestRLStacking : public QObject
{
    Q_OBJECT

private slots:
    void bringToFrontPaintsLast_data();
    void bringToFrontPaintsLast();
    void disabledPicturePrintsByVisibility_data();
    void disabledPicturePrintsByVisibility();
};

namespace {

QStringList printedTexts(TRLReport &report, TRLBand &band)
{
    report.OpenSite();
    band.Print();
    QStringList texts;
    for (const TRLTextObject *t : objectsOf<TRLTextObject>(report.PageSurface()))
        texts << t->Text;
    return texts;
}

} // namespace

void TestRLStacking::bringToFrontPaintsLast_data()
{
    QTest::addColumn<bool>("owned");
    QTest::addColumn<int>("front");
    QTest::addColumn<QStringList>("order");
    // Controls paint in their owner's component order, whether a form or the band owns them.
    QTest::newRow("owned, first") << true << 0 << QStringList{"dois", "três", "um"};
    QTest::newRow("owned, middle") << true << 1 << QStringList{"um", "três", "dois"};
    QTest::newRow("owned, already last") << true << 2 << QStringList{"um", "dois", "três"};
    QTest::newRow("band-owned, first") << false << 0 << QStringList{"dois", "três", "um"};
    QTest::newRow("band-owned, middle") << false << 1 << QStringList{"um", "três", "dois"};
}

void TestRLStacking::bringToFrontPaintsLast()
{
    QFETCH(bool, owned);
    QFETCH(int, front);
    QFETCH(QStringList, order);
    QObject form;
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    band.SetHeight(40);
    QList<TRLLabel *> labels;
    for (const char *caption : {"um", "dois", "três"}) {
        auto *label = new TRLLabel(owned ? &form : &band);
        label->SetParent(&band);
        label->SetCaption(QString::fromUtf8(caption));
        labels << label;
    }
    labels[front]->BringToFront();
    QCOMPARE(printedTexts(report, band), order);
    QCOMPARE(band.Controls().last(), labels[front]);
    // Ownership stays: the form still destroys it.
    QCOMPARE(labels[front]->Owner(), owned ? static_cast<QObject *>(&form) : &band);
}

void TestRLStacking::disabledPicturePrintsByVisibility_data()
{
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("pictures");
    QTest::newRow("visible, enabled") << true << true << 1;
    QTest::newRow("visible, disabled") << true << false << 1;
    QTest::newRow("hidden, enabled") << false << true << 0;
    QTest::newRow("hidden, disabled") << false << false << 0;
}

void TestRLStacking::disabledPicturePrintsByVisibility()
{
    QFETCH(bool, visible);
    QFETCH(bool, enabled);
    QFETCH(int, pictures);
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    band.SetHeight(40);
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    TRLImage image;
    image.SetParent(&band);
    image.SetBounds(0, 0, 8, 8);
    image.SetPicture(picture);
    image.SetVisible(visible);
    image.SetEnabled(enabled);
    QCOMPARE(image.Enabled(), enabled);
    report.OpenSite();
    band.Print();
    QCOMPARE(objectsOf<TRLImageObject>(report.PageSurface()).size(), pictures);
}

QTEST_MAIN(TestRLStacking)
#include "tst_rlstacking.moc"
