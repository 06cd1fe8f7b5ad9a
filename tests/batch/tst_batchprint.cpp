// A batch printed for real: every row through the printer layer onto a private CUPS queue that
// writes a PDF, in one job, one page a row in row order.

#include "batch/BatchRunner.h"
#include "report/output/RLPrinters.h"
#include "support/PdfInspect.h"
#include "support/PrivateCups.h"
#include "storage/SqliteRegister.h"

#include <QtTest>

class TestBatchPrint : public QObject
{
    Q_OBJECT

private slots:
    void printsEveryRowInOneJob_data();
    void printsEveryRowInOneJob();
    void unknownQueueIsBadUsage();
    void printedSlipsAreRecorded_data();
    void printedSlipsAreRecorded();

private:
    PrivateCups m_cups; // first: before anything asks CUPS about its server
};

void TestBatchPrint::printsEveryRowInOneJob_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QSizeF>("sheetMm");
    QTest::newRow("layout in colour") << "layout-cor" << QSizeF(210, 297);
    QTest::newRow("data only") << "dados" << QSizeF(211, 102);
}

void TestBatchPrint::printsEveryRowInOneJob()
{
    QFETCH(QString, mode);
    QFETCH(QSizeF, sheetMm);
    QVERIFY2(m_cups.IsRunning(), qPrintable("no private CUPS scheduler: " + m_cups.Error()));
    QVERIFY(m_cups.AddPdfQueue("LotePDF", false));
    RLPrinter().Refresh();

    QTemporaryDir dir;
    const QString input = dir.filePath("lote.csv");
    QFile f(input);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("tipo;nome;principal;valor_receita;vencimento\n"
            "DARF;ALFA;10,00;;10/01/2026\nGARE;BETA;;20,00;11/01/2026\nDARF;GAMA;30,00;;12/01/2026\n");
    f.close();

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = Batch::Run({"--lote", input, "--imprimir", "--impressora", "LotePDF", "--modo", mode}, outStream,
                                errStream, false);
    errStream.flush();
    QVERIFY2(code == 0, qPrintable(err));
    const QString pdf = m_cups.WaitForJob(RLPrinter().LastJobId());
    QVERIFY2(!pdf.isEmpty(), "the queue wrote no PDF");
    const QList<PdfPage> pages = PdfInspect::pages(pdf);
    QCOMPARE(pages.size(), 3);
    const QStringList names{"ALFA", "BETA", "GAMA"};
    for (int i = 0; i < 3; ++i) {
        QVERIFY(qAbs(pages[i].uprightMm().width() - sheetMm.width()) < 1);
        QVERIFY(qAbs(pages[i].uprightMm().height() - sheetMm.height()) < 1);
        QVERIFY2(PdfInspect::texts(pdf, i + 1).contains(names[i]), qPrintable(PdfInspect::texts(pdf, i + 1).join(' ')));
    }
}

void TestBatchPrint::unknownQueueIsBadUsage()
{
    QVERIFY2(m_cups.IsRunning(), qPrintable("no private CUPS scheduler: " + m_cups.Error()));
    QTemporaryDir dir;
    const QString input = dir.filePath("lote.csv");
    QFile f(input);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("tipo;nome\nDARF;ALFA\n");
    f.close();
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = Batch::Run({"--lote", input, "--imprimir", "--impressora", "NaoExiste"}, outStream, errStream, false);
    errStream.flush();
    QCOMPARE(code, 2);
    QVERIFY2(err.contains("a impressora \"NaoExiste\" não existe"), qPrintable(err));
}

void TestBatchPrint::printedSlipsAreRecorded_data()
{
    QTest::addColumn<bool>("failing");
    QTest::newRow("completed") << false;
    QTest::newRow("failed") << true;
}

// Every slip of the job is in the history with the job's id and what CUPS said of it.
void TestBatchPrint::printedSlipsAreRecorded()
{
    QFETCH(bool, failing);
    QVERIFY2(m_cups.IsRunning(), qPrintable("no private CUPS scheduler: " + m_cups.Error()));
    const QString queue = failing ? QStringLiteral("LoteFalha") : QStringLiteral("LotePDF");
    QVERIFY(failing ? m_cups.AddFailingQueue(queue) : m_cups.AddPdfQueue(queue, false));
    RLPrinter().Refresh();
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.filePath("dados").toUtf8());
    const QString input = dir.filePath("lote.csv");
    QFile f(input);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("tipo;nome;principal\nDARF;ALFA;10,00\nDARF;BETA;20,00\n");
    f.close();
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = Batch::Run({"--lote", input, "--imprimir", "--impressora", queue}, outStream, errStream, false);
    QCOMPARE(code, failing ? 3 : 0);
    const QList<TIssuedSlip> history = TSqliteRegister(TSqliteRegister::DefaultPath()).History({});
    QCOMPARE(history.size(), 2);
    for (const TIssuedSlip &slip : history) {
        QCOMPARE(slip.printer, queue);
        QCOMPARE(slip.jobId, RLPrinter().LastJobId());
        QCOMPARE(slip.outcome, failing ? TIssueOutcome::Failed : TIssueOutcome::Completed);
    }
}

QTEST_MAIN(TestBatchPrint)
#include "tst_batchprint.moc"
