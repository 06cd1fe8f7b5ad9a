// Printing for real: stores replayed through the spool filter onto a private CUPS with cups-pdf,
// checked on the PDFs cups-pdf writes and on the errors the service reports.
#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/output/RLFilters.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLSpoolFilter.h"
#include "support/PdfInspect.h"
#include "support/PrivateCups.h"

#include "support/TestPages.h"

#include <QtTest>

#include <memory>

namespace {

using Paper = TestPaper;


} // namespace

Q_DECLARE_METATYPE(Paper)

class TestRLCupsPrint : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateCups> cups;

    QString printFailure(const QList<Paper> &papers)
    {
        QObject owner;
        try {
            RunFilterOnStore(NewTestStore(&owner, papers, QStringLiteral("falha"), QStringLiteral("Pagina")), nullptr, 1, -1);
        } catch (const TRLException &e) {
            return e.Message();
        }
        return QString();
    }

    // The PDF cups-pdf wrote for the printer's last job.
    QString lastOutput()
    {
        const int job = RLPrinter().LastJobId();
        return job > 0 ? cups->WaitForJob(job) : QString();
    }

private slots:
    void initTestCase()
    {
        RLLoadMessages(mlPortuguese);
        cups = std::make_unique<PrivateCups>();
        QVERIFY2(cups->IsRunning(), qPrintable(cups->Error()));
        QVERIFY(cups->AddPdfQueue(QStringLiteral("GuiaPDF")));
        ReleaseRLPrinter();
    }

    void cleanupTestCase() { cups.reset(); }

    void queueListed()
    {
        RLPrinter().Refresh();
        const int index = RLPrinter().PrinterIndex();
        QVERIFY(index >= 0);
        QCOMPARE(RLPrinter().PrinterName(), QStringLiteral("GuiaPDF"));
        QVERIFY(RLPrinter().PrinterPorts(index).startsWith(QLatin1String("cups-pdf:/")));
    }

    void printedPages_data()
    {
        QTest::addColumn<QList<Paper>>("papers");
        QTest::addColumn<int>("copies");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QSizeF>("sheetMm");
        const Paper a4{1, 210, 297};
        QTest::newRow("A4, two copies") << QList<Paper>{a4, a4} << 2
                                        << QStringList{"Pagina1", "Pagina2", "Pagina1", "Pagina2"} << QSizeF(210, 297);
        QTest::newRow("slip sheet") << QList<Paper>{{1, 211, 102}} << 1 << QStringList{"Pagina1"} << QSizeF(211, 102);
        // The queue turns a landscape page onto its A4 sheet.
        QTest::newRow("A4 landscape") << QList<Paper>{{2, 210, 297}} << 1 << QStringList{"Pagina1"} << QSizeF(210, 297);
    }

    void printedPages()
    {
        QFETCH(QList<Paper>, papers);
        QFETCH(int, copies);
        QFETCH(QStringList, texts);
        QFETCH(QSizeF, sheetMm);
        QObject owner;
        RLPrinter().SetCopies(copies);
        RunFilterOnStore(NewTestStore(&owner, papers, QStringLiteral("pagina"), QStringLiteral("Pagina")), nullptr, 1, -1);
        const QString pdf = lastOutput();
        QVERIFY(!pdf.isEmpty());
        const QList<PdfPage> pages = PdfInspect::pages(pdf);
        QCOMPARE(pages.size(), texts.size());
        for (const PdfPage &page : pages) {
            const QSizeF mm = page.uprightMm();
            QVERIFY2(qAbs(mm.width() - sheetMm.width()) < 0.5 && qAbs(mm.height() - sheetMm.height()) < 0.5,
                     qPrintable(QStringLiteral("%1 x %2 rot %3").arg(mm.width()).arg(mm.height()).arg(page.rotation)));
        }
        const QList<PdfWord> words = PdfInspect::words(pdf);
        QStringList found;
        for (const PdfWord &w : words)
            found << w.text;
        QCOMPARE(found, texts);
        if (papers.first().orientation == 1) {
            // x is kept by cups-pdf's pass (y is not): 25.4 mm plus half a blank of 13 px.
            const double halfBlank = 25.4 / 96 * 2;
            QVERIFY2(qAbs(words.first().boxMm().x() - 25.4 - halfBlank) < 0.5,
                     qPrintable(QString::number(words.first().boxMm().x())));
        }
        RLPrinter().SetCopies(1);
    }

    // Another paper ends the job: two jobs, and the first has no blank sheet at its end.
    void newPaperNewJob()
    {
        QObject owner;
        const int before = RLPrinter().LastJobId();
        RunFilterOnStore(NewTestStore(&owner, {{1, 210, 297}, {2, 210, 297}}, QStringLiteral("duas"), QStringLiteral("Pagina")), nullptr, 1, -1);
        const int second = RLPrinter().LastJobId();
        QVERIFY(second > before + 1);
        const QString first = cups->WaitForJob(second - 1);
        QVERIFY(!first.isEmpty());
        QCOMPARE(PdfInspect::texts(first), QStringList{"Pagina1"});
        QCOMPARE(PdfInspect::pages(first).size(), 1);
        QCOMPARE(PdfInspect::texts(lastOutput()), QStringList{"Pagina2"});
    }

    void queueRefuses_data()
    {
        QTest::addColumn<QStringList>("disable");
        QTest::addColumn<QString>("enable");
        QTest::addColumn<QString>("message");
        QTest::newRow("stopped") << QStringList{"cupsdisable"} << "cupsenable" << "A impressora GuiaPDF está parada.";
        QTest::newRow("not accepting") << QStringList{"cupsreject"} << "cupsaccept"
                                       << "A impressora GuiaPDF não está aceitando trabalhos.";
        // The administrator's reason is what the user needs to read.
        QTest::newRow("stopped, with a reason")
            << QStringList{"cupsdisable", "-r", "Sem papel na bandeja 2"} << "cupsenable"
            << "A impressora GuiaPDF está parada: Sem papel na bandeja 2";
        QTest::newRow("rejecting, with a reason")
            << QStringList{"cupsreject", "-r", "Em manutenção"} << "cupsaccept"
            << "A impressora GuiaPDF não está aceitando trabalhos: Em manutenção";
    }

    void queueRefuses()
    {
        QFETCH(QStringList, disable);
        QFETCH(QString, enable);
        QFETCH(QString, message);
        QVERIFY(cups->run(disable.first(), disable.mid(1) << QStringLiteral("GuiaPDF")));
        const QString failure = printFailure({{1, 210, 297}});
        QVERIFY(cups->run(enable, {QStringLiteral("GuiaPDF")}));
        QCOMPARE(failure, message);
    }

    void failingFilterIsAnError()
    {
        QVERIFY(cups->AddFailingQueue(QStringLiteral("Quebrada")));
        RLPrinter().Refresh();
        const int index = RLPrinter().Printers().indexOf(QRegularExpression(QStringLiteral("Quebrada\\|.*")));
        QVERIFY(index >= 0);
        RLPrinter().SetPrinterIndex(index);
        const QString failure = printFailure({{1, 210, 297}});
        const QString state = cups->JobState(RLPrinter().LastJobId());
        QVERIFY(cups->lpadmin({QStringLiteral("-x"), QStringLiteral("Quebrada")}));
        QCOMPARE(failure, QStringLiteral("A impressora Quebrada não imprimiu \"falha\": Filter failed"));
        // Cancelled, so that a retrying queue never prints it later.
        QCOMPARE(state, QStringLiteral("completed"));
        RLPrinter().Refresh();
    }

    void queueGoneIsNoPrinter()
    {
        QVERIFY(cups->AddPdfQueue(QStringLiteral("Sumida"), false));
        RLPrinter().Refresh();
        RLPrinter().SetPrinterIndex(RLPrinter().Printers().indexOf(QRegularExpression(QStringLiteral("Sumida\\|.*"))));
        QCOMPARE(RLPrinter().PrinterName(), QStringLiteral("Sumida"));
        QVERIFY(cups->lpadmin({QStringLiteral("-x"), QStringLiteral("Sumida")}));
        QVERIFY(printFailure({{1, 210, 297}}).startsWith(RLMessage(rlmNoPrinter)));
        RLPrinter().Refresh();
    }

    void noPrinterAtAll()
    {
        QVERIFY(cups->lpadmin({QStringLiteral("-x"), QStringLiteral("GuiaPDF")}));
        RLPrinter().Refresh();
        QCOMPARE(RLPrinter().PrinterIndex(), -1);
        QCOMPARE(printFailure({{1, 210, 297}}), RLMessage(rlmNoPrinter));
    }

    // A server that is down is not a missing printer.
    void serviceNotRunning()
    {
        cups->Stop();
        RLPrinter().Refresh();
        QVERIFY(RLPrinter().Printers().isEmpty());
        QCOMPARE(printFailure({{1, 210, 297}}), RLMessage(rlmServiceDown));
    }
};

QTEST_MAIN(TestRLCupsPrint)
#include "tst_rlcupsprint.moc"
