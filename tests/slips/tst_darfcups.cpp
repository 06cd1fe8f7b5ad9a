// The full-layout DARF printed for real, the print dialog accepted as a user would: through the
// print pipeline onto a private CUPS queue that writes a PDF. Checked on the PDF for its sheet
// and where the texts landed, and on a 96-dpi raster of it for colour against black and white.

#include "report/output/RLPrinters.h"
#include "slips/pLayOutDarf.h"
#include "support/PdfInspect.h"
#include "support/PrivateCups.h"

#include "DarfTestData.h"
#include "PrintedPage.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestDarfCups : public QObject
{
    Q_OBJECT

private slots:
    void printsBothCopiesOnA4_data();
    void printsBothCopiesOnA4();

private:
    PrivateCups m_cups; // first: before anything asks CUPS about its server
};

void TestDarfCups::printsBothCopiesOnA4_data()
{
    QTest::addColumn<quint32>("colour");
    QTest::newRow("colour") << kDarkBlue;
    QTest::newRow("black and white") << quint32(0);
}

void TestDarfCups::printsBothCopiesOnA4()
{
    QFETCH(quint32, colour);
    if (!m_cups.IsRunning())
        QSKIP(qPrintable("no private CUPS scheduler: " + m_cups.Error()));
    QVERIFY(m_cups.AddPdfQueue("ZavenorPDF"));
    RLPrinter().Refresh();

    TfrmLayOutDARF form;
    FillLayOutDarf(form, typicalTexts(), colour);
    form.RLDarf->SetTitle("Zavenor - DARF");
    PrintedPage::acceptDialogWhenShown();
    form.RLDarf->Print();
    const QString pdf = m_cups.WaitForJob(RLPrinter().LastJobId());
    QVERIFY2(!pdf.isEmpty(), "the queue wrote no PDF");

    const QString sheet = PdfInspect::notOneSheetOf(pdf, 210, 297);
    QVERIFY2(sheet.isEmpty(), qPrintable(sheet));

    // Every text the page recorded prints where its replay puts it, 2 px across (the queue's
    // font embedding moves text tops a little, so y is looser).
    TRLGraphicSurface *page = form.RLDarf->Pages()->Pages(0);
    QVERIFY(page);
    int checked = 0;
    const QStringList wrong = PrintedPage::misplaced(page, PdfInspect::words(pdf), 2, 5, &checked);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("; ")));
    QVERIFY2(checked >= 80, qPrintable(QString::number(checked)));

    const QString raster = m_cups.root() + QStringLiteral("/darf");
    PdfInspect::run(QStringLiteral("pdftoppm"), {"-r", "96", "-png", "-singlefile", pdf, raster});
    const QImage image(raster + QStringLiteral(".png"));
    QCOMPARE(image.size(), QSize(794, 1123));
    PrintedPage::checkDarfInks(image, colour != 0);
}

QTEST_MAIN(TestDarfCups)
#include "tst_darfcups.moc"
