// Both full layouts with typical entries, as the printer gets them (the PDF handed to a private
// CUPS queue), as the PDF filter saves them and replayed at 300 dpi:
// every word of every caption and value is a word of its own inside its box, and no two words
// of a row come closer than half a blank.

#include "report/RLReport.h"
#include "report/output/RLPdfFilter.h"
#include "report/output/RLPrinters.h"
#include "report/page/RLMetaFile.h"
#include "slips/pLayOutDarf.h"
#include "slips/pLayOutGare.h"
#include "support/PdfInspect.h"
#include "support/PrivateCups.h"

#include "DarfTestData.h"
#include "GareTestData.h"
#include "PrintedPage.h"

#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

constexpr double kPxPerMm = 96 / 25.4;
// The narrowest a gap between two words may print, in blanks of their font.
constexpr double kNarrowestGap = 0.5;

// A blank of the text object's font in report pixels, as a device of the resolution lays it out.
double blankOf(const TRLTextObject &t, int dpi)
{
    static QHash<int, QImage> devices;
    QImage &device = devices[dpi];
    if (device.isNull()) {
        device = QImage(1, 1, QImage::Format_RGB32);
        device.setDotsPerMeterX(qRound(dpi / 0.0254));
        device.setDotsPerMeterY(qRound(dpi / 0.0254));
    }
    QFont font(t.FontName());
    font.setPointSize(t.Font.Size);
    font.setBold(t.Font.Style & mfsBold);
    return QFontMetricsF(font, &device).horizontalAdvance(QLatin1Char(' ')) * 96 / dpi;
}

QRectF pxBox(const PdfWord &w)
{
    return QRectF(w.boxMm().topLeft() * kPxPerMm, w.boxMm().bottomRight() * kPxPerMm);
}

// The words of the page's texts that the PDF does not show, each as a word of its own, inside
// the text's box (a report pixel to spare), and the gaps between two words of one row narrower
// than half a blank.
QStringList wordFaults(TRLGraphicSurface *page, const QList<PdfWord> &words, int dpi, int *checked)
{
    QStringList faults;
    QVector<bool> used(words.size());
    for (TRLTextObject *t : PrintedPage::texts(page)) {
        const QStringList parts = t->DisplayText().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QRectF box = QRectF(t->BoundsRect.Left, t->BoundsRect.Top, t->BoundsRect.Width(), t->BoundsRect.Height())
                               .adjusted(-1, -1, 1, 1);
        const double halfBlank = blankOf(*t, dpi) * kNarrowestGap;
        QRectF previous;
        for (const QString &part : parts) {
            qsizetype found = -1;
            for (qsizetype i = 0; i < words.size() && found < 0; ++i) {
                const QRectF at = pxBox(words[i]);
                if (!used[i] && words[i].text == part && box.contains(at.center())
                    && (previous.isNull() || at.left() > previous.center().x()))
                    found = i;
            }
            ++*checked;
            if (found < 0) {
                QStringList there;
                for (const PdfWord &w : words)
                    if (box.contains(pxBox(w).center()))
                        there << w.text;
                faults << QStringLiteral("\"%1\" of \"%2\" at %3, %4 (there: %5)")
                              .arg(part, t->Text).arg(t->Origin.x()).arg(t->Origin.y()).arg(there.join(QLatin1Char('|')));
                previous = QRectF();
                continue;
            }
            used[found] = true;
            const QRectF at = pxBox(words[found]);
            // 2 % of a blank for the PDF's rounded glyph positions.
            if (!previous.isNull() && at.left() - previous.right() < halfBlank * 0.98)
                faults << QStringLiteral("\"%1\" in \"%2\": %3 px after the word before it, half a blank is %4")
                              .arg(part, t->Text).arg(at.left() - previous.right()).arg(halfBlank);
            previous = at;
        }
    }
    return faults;
}

// A report's first page replayed onto a PDF at the resolution, as the printer layer draws it.
QString replayedAt(TRLGraphicSurface *page, int dpi, const QString &file)
{
    QPdfWriter writer(file);
    writer.setResolution(dpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPainter painter(&writer);
    const double f = dpi / 96.0;
    TRLReplayCanvas canvas(&painter, 0, 0, f, f, QRect(), dpi);
    page->PaintTo(canvas);
    return file;
}

struct Slip
{
    std::shared_ptr<QWidget> form;
    TRLReport *report;
};

Slip makeSlip(const QString &kind)
{
    if (kind == QLatin1String("DARF")) {
        auto form = std::make_shared<TfrmLayOutDARF>();
        FillLayOutDarf(*form, typicalTexts(), kDarkBlue);
        return {form, form->RLDarf};
    }
    auto form = std::make_shared<TfrmLayOutGARE>();
    FillLayOutGare(*form, typicalGareTexts(), 0, 0);
    return {form, form->QRGARE};
}

} // namespace

class TestPrintedWords : public QObject
{
    Q_OBJECT

private slots:
    void wordsStandApartInTheirBoxes_data();
    void wordsStandApartInTheirBoxes();

private:
    PrivateCups m_cups; // first: before anything asks CUPS about its server
    QTemporaryDir m_dir;
};

void TestPrintedWords::wordsStandApartInTheirBoxes_data()
{
    QTest::addColumn<QString>("slip");
    QTest::addColumn<QString>("output"); // "printer", "PDF filter" or "replay"
    QTest::addColumn<int>("dpi");
    for (const char *slip : {"DARF", "GARE"}) {
        QTest::addRow("%s, printer", slip) << slip << "printer" << TRLPrinterWrapper::Resolution;
        QTest::addRow("%s, PDF filter", slip) << slip << "PDF filter" << TRLPdfFilter::Resolution;
        QTest::addRow("%s, 300 dpi", slip) << slip << "replay" << 300;
    }
}

void TestPrintedWords::wordsStandApartInTheirBoxes()
{
    QFETCH(QString, slip);
    QFETCH(QString, output);
    QFETCH(int, dpi);
    Slip s = makeSlip(slip);
    QStringList pdfs;
    if (output == QLatin1String("printer")) {
        QVERIFY2(m_cups.IsRunning(), qPrintable("no private CUPS scheduler: " + m_cups.Error()));
        QVERIFY(m_cups.AddPdfQueue("ZavenorPDF"));
        RLPrinter().Refresh();
        PrintedPage::acceptDialogWhenShown();
        s.report->Print();
        const int job = RLPrinter().LastJobId();
        const QString printed = m_cups.WaitForJob(job);
        QVERIFY2(!printed.isEmpty(), "the queue wrote no PDF");
        pdfs << m_cups.SubmittedDocument(job);
    } else {
        QVERIFY(s.report->Prepare());
        const QString file = m_dir.filePath(slip + QString::number(dpi) + QStringLiteral(".pdf"));
        if (output == QLatin1String("replay")) {
            pdfs << replayedAt(s.report->Pages()->Pages(0), dpi, file);
        } else {
            TRLPdfFilter filter;
            filter.SetFileName(file);
            filter.Run(s.report->Pages(), 1, -1);
            pdfs << file;
        }
    }
    TRLGraphicSurface *page = s.report->Pages()->Pages(0);
    QVERIFY(page);
    for (const QString &pdf : pdfs) {
        int checked = 0;
        const QStringList faults = wordFaults(page, PdfInspect::words(pdf), dpi, &checked);
        QVERIFY2(faults.isEmpty(), qPrintable(pdf + QStringLiteral(": ") + faults.join(QStringLiteral("; "))));
        QVERIFY2(checked >= 150, qPrintable(QString::number(checked)));
    }
}

QTEST_MAIN(TestPrintedWords)
#include "tst_printedwords.moc"
