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
#include <QImageReader>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestDarfCups : public QObject
{
    Q_OBJECT

private slots:
    void printsBothCopiesOnA4_data();
    void printsBothCopiesOnA4();
    void printsLinesAndRowsExactly();

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
    QVERIFY2(m_cups.IsRunning(), qPrintable("no private CUPS scheduler: " + m_cups.Error()));
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

// At the printer's resolution: frames whole at the band's left edge, dashed cut lines, justified
// rows ending on their box's edge, a blank date printing nothing.
void TestDarfCups::printsLinesAndRowsExactly()
{
    QVERIFY2(m_cups.IsRunning(), qPrintable("no private CUPS scheduler: " + m_cups.Error()));
    QVERIFY(m_cups.AddPdfQueue("ZavenorPDF"));
    RLPrinter().Refresh();

    TfrmLayOutDARF form;
    FillLayOutDarf(form, typicalTexts(), 0); // its due date is blank
    PrintedPage::acceptDialogWhenShown();
    form.RLDarf->Print();
    const QString pdf = m_cups.WaitForJob(RLPrinter().LastJobId());
    QVERIFY2(!pdf.isEmpty(), "the queue wrote no PDF");

    const QList<PdfWord> words = PdfInspect::words(pdf);
    // Nothing in the two due-date boxes (page x from 26 + 565, y 38 + 136 and 38 + 549, 168 x 18).
    for (const PdfWord &w : words) {
        const QPointF at = w.boxMm().center() * (96 / 25.4);
        for (const int top : {38 + 136, 38 + 549})
            QVERIFY2(!QRectF(26 + 565, top, 168, 18).contains(at), qPrintable(w.text));
    }

    // Every justified row but a memo's last ends on its box's right edge (the device pixel the
    // box's right side maps to): a device pixel for the PDF's rounded glyph widths.
    const double pxPerMm = 96 / 25.4, devicePerPx = 600.0 / 96;
    int rows = 0;
    for (TRLTextObject *t : PrintedPage::texts(form.RLDarf->Pages()->Pages(0))) {
        if (t->Alignment != mtaJustify)
            continue;
        const QString last = t->Text.trimmed().split(' ').last();
        double nearest = 1e9;
        for (const PdfWord &w : words)
            if (w.text.endsWith(last) && qAbs(w.boxMm().top() * pxPerMm - t->Origin.y()) < 5)
                nearest = std::min(nearest, qAbs(w.boxMm().right() * pxPerMm * devicePerPx
                                                 - std::nearbyint(t->BoundsRect.Right * devicePerPx)));
        QVERIFY2(qAbs(nearest) <= 1, qPrintable(QStringLiteral("\"%1\" ends %2 device px off").arg(t->Text).arg(nearest)));
        ++rows;
    }
    QVERIFY(rows >= 6);

    const QString raster = m_cups.root() + QStringLiteral("/darf600");
    PdfInspect::run(QStringLiteral("pdftoppm"), {"-r", "600", "-gray", "-png", "-singlefile", pdf, raster});
    QImageReader::setAllocationLimit(0); // an A4 sheet at 600 dpi is past Qt's default limit
    const QImage image(raster + QStringLiteral(".png"));
    QVERIFY(!image.isNull());
    const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    const auto device = [&](double px) { return int(std::lround(px * devicePerPx)); };
    // The second copy's outer frame: left side at the band's left edge, right side well inside.
    const int band = 26, frameTop = 38 + 414, y = device(frameTop + 150);
    const auto runAt = [&](int from, int to) {
        int n = 0;
        for (int x = from; x < to; ++x)
            n += dark(x, y);
        return n;
    };
    const int leftSide = runAt(device(band - 3), device(band + 3));
    const int rightSide = runAt(device(band + 748 - 4), device(band + 748 + 2));
    QVERIFY2(leftSide >= 6 && rightSide >= 6, // a report pixel is 6 or 7 device pixels
             qPrintable(QStringLiteral("left %1, right %2").arg(leftSide).arg(rightSide)));
    // The cut lines: dashes with gaps between them along their row.
    for (const int cutRow : {38 + 370, 38 + 782}) {
        int gaps = 0;
        bool wasDark = false;
        const int row = device(cutRow + 0.5);
        for (int x = device(band + 40); x < device(band + 700); ++x) {
            const bool d = dark(x, row);
            gaps += wasDark && !d;
            wasDark = d;
        }
        QVERIFY2(gaps >= 20, qPrintable(QStringLiteral("row %1: %2 gaps").arg(cutRow).arg(gaps)));
    }
}

QTEST_MAIN(TestDarfCups)
#include "tst_darfcups.moc"
