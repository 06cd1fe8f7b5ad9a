// A one-page report printed for real: through the print pipeline onto a private CUPS queue that
// writes a PDF, checked for its sheet and for where the texts landed.

#include "report/RLReport.h"
#include "report/output/RLPrinters.h"
#include "support/PdfInspect.h"
#include "support/PrivateCups.h"

#include <QtTest>

namespace {

class ConfirmedReport : public TRLReport
{
public:
    explicit ConfirmedReport(QObject *owner) : TRLReport(owner) {}

protected:
    bool ExecutePrintDialog() override { return true; }
};

} // namespace

class TestRLReportCups : public QObject
{
    Q_OBJECT

private slots:
    void dataOnlySheetPrints();

private:
    PrivateCups m_cups; // first: before anything asks CUPS about its server
};

void TestRLReportCups::dataOnlySheetPrints()
{
    QVERIFY2(m_cups.IsRunning(), qPrintable("no private CUPS scheduler: " + m_cups.Error()));
    QVERIFY(m_cups.AddPdfQueue("ZavenorPDF"));
    RLPrinter().Refresh();

    // The data-only slip's sheet, 211 x 102 mm, as loaded from its stored layout.
    QObject form;
    ConfirmedReport *report;
    {
        TRLFormLoader loading(&form);
        report = new ConfirmedReport(&form);
        report->SetName("RLDadosDarf");
        report->SetShowProgress(false);
        report->PageSetup()->SetPaperHeight(102);
        report->PageSetup()->SetPaperWidth(211);
        report->PageSetup()->SetPaperSize(fpCustom);
        report->Margins()->SetLeftMargin(0);
        report->Margins()->SetTopMargin(0);
        auto *stamp = new TRLLabel(&form);
        stamp->SetParent(report);
        stamp->SetBounds(400, 300, 10, 10);
        stamp->SetCaption("AUTENTICADO");
        auto *band = new TRLBand(&form);
        band->SetParent(report);
        band->SetBandType(btHeader);
        band->SetHeight(100);
        auto *name = new TRLLabel(&form);
        name->SetParent(band);
        name->SetBounds(96, 48, 10, 10); // one inch, half an inch
        name->SetCaption("CONTRIBUINTE");
    }
    report->Print();
    const QString pdf = m_cups.WaitForJob(RLPrinter().LastJobId());
    QVERIFY2(!pdf.isEmpty(), "the queue wrote no PDF");
    const QString sheet = PdfInspect::notOneSheetOf(pdf, 211, 102);
    QVERIFY2(sheet.isEmpty(), qPrintable(sheet));
    QRectF name, stamp;
    for (const PdfWord &w : PdfInspect::words(pdf)) {
        if (w.text == "CONTRIBUINTE")
            name = w.boxMm();
        if (w.text == "AUTENTICADO")
            stamp = w.boxMm();
    }
    QVERIFY(!name.isNull() && !stamp.isNull());
    QVERIFY2(qAbs(name.left() - 25.4) < 1.5, qPrintable(QString::number(name.left())));
    QVERIFY2(qAbs(name.top() - 12.7) < 2, qPrintable(QString::number(name.top())));
    QVERIFY2(qAbs(stamp.left() - 400 * 25.4 / 96) < 1.5, qPrintable(QString::number(stamp.left())));
}

QTEST_MAIN(TestRLReportCups)
#include "tst_rlreportcups.moc"
