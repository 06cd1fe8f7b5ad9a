// A batch printed for real: every row through the printer layer onto a private CUPS queue that
// writes a PDF, in one job, one page a row in row order.

#include "batch/BatchRunner.h"
#include "report/output/RLPrinters.h"
#include "support/PdfInspect.h"
#include "support/PrivateCups.h"
#include "storage/SqliteRegister.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class TestBatchPrint : public QObject
{
    Q_OBJECT

private slots:
    void printsEveryRowInOneJob_data();
    void printsEveryRowInOneJob();
    void unknownQueueIsBadUsage();
    void movesSlipsByThePrintersAdjustment_data();
    void movesSlipsByThePrintersAdjustment();
    void printedSlipsAreRecorded_data();
    void printedSlipsAreRecorded();
    void printEndsWithinItsLimit_data();
    void printEndsWithinItsLimit();

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
    f.write("tipo;nome;principal\nDARF;ALFA;1,00\n");
    f.close();
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = Batch::Run({"--lote", input, "--imprimir", "--impressora", "NaoExiste"}, outStream, errStream, false);
    errStream.flush();
    QCOMPARE(code, 2);
    QVERIFY2(err.contains("a impressora \"NaoExiste\" não existe"), qPrintable(err));
}

void TestBatchPrint::movesSlipsByThePrintersAdjustment_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("data only, for pre-printed slips") << "dados";
    QTest::newRow("layout") << "layout-pb";
}

// The program as an office starts it, with the nudge the window's print dialog kept for the
// queue: every word of the job moves by it. This process installs no nudge: its job is the
// reference.
void TestBatchPrint::movesSlipsByThePrintersAdjustment()
{
    QFETCH(QString, mode);
    QVERIFY2(m_cups.IsRunning(), qPrintable("no private CUPS scheduler: " + m_cups.Error()));
    const QString queue = QStringLiteral("LoteAjuste");
    QVERIFY(m_cups.AddPdfQueue(queue, false));
    RLPrinter().Refresh();
    QTemporaryDir dir;
    const QString input = dir.filePath("lote.csv");
    QFile f(input);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("tipo;nome;principal;vencimento\nDARF;ALFA BETA;1.234,56;10/01/2026\n");
    f.close();
    const QStringList arguments{"--lote", input, "--imprimir", "--impressora", queue, "--modo", mode};

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    QCOMPARE(Batch::Run(arguments, outStream, errStream, false), 0);
    const int referenceJob = RLPrinter().LastJobId();
    const QList<PdfWord> unmoved = PdfInspect::words(m_cups.SubmittedDocument(referenceJob));
    QVERIFY(unmoved.size() > 3);

    QDir(dir.path()).mkpath("config/Morvath");
    QFile settings(dir.filePath("config/Morvath/Zavenor.conf"));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[AjustePosicao]\nLoteAjuste/x_mm=1.5\nLoteAjuste/y_mm=-2.0\n");
    settings.close();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.remove("QT_QPA_PLATFORM");
    p.setProcessEnvironment(env);
    p.start(ZAVENOR_EXECUTABLE, arguments);
    QVERIFY(p.waitForFinished(120000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    const QList<PdfWord> moved = PdfInspect::words(m_cups.SubmittedDocument(referenceJob + 1));
    QCOMPARE(moved.size(), unmoved.size());
    for (int i = 0; i < moved.size(); ++i) {
        QCOMPARE(moved[i].text, unmoved[i].text);
        const QPointF by = moved[i].boxMm().topLeft() - unmoved[i].boxMm().topLeft();
        QVERIFY2(qAbs(by.x() - 1.5) < 0.1 && qAbs(by.y() + 2.0) < 0.1,
                 qPrintable(QStringLiteral("%1 moved by %2, %3 mm").arg(moved[i].text).arg(by.x()).arg(by.y())));
    }
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

void TestBatchPrint::printEndsWithinItsLimit_data()
{
    QTest::addColumn<QString>("queue");
    QTest::addColumn<QString>("server"); // empty: the private CUPS
    QTest::addColumn<bool>("terminate"); // SIGTERM once the job is queued
    QTest::addColumn<QString>("says");
    QTest::newRow("switched-off printer, --espera 3")
        << "Desligada" << "" << false
        << "impressora Desligada: o trabalho não terminou em 3 s de espera; o trabalho";
    QTest::newRow("switched-off printer, SIGTERM") << "Desligada" << "" << true << "impressora Desligada: interrompido";
    QTest::newRow("CUPS not running") << "Desligada" << "/nao/existe/cups.sock" << false
                                      << "O serviço de impressão (CUPS) não está disponível";
}

// The batch as cron runs it: a job that does not end is taken back within the limit or on a
// signal, exit 3 naming the printer and CUPS's last words, nothing left queued or in TMPDIR.
void TestBatchPrint::printEndsWithinItsLimit()
{
    QFETCH(QString, queue);
    QFETCH(QString, server);
    QFETCH(bool, terminate);
    QFETCH(QString, says);
    QVERIFY2(m_cups.IsRunning(), qPrintable("no private CUPS scheduler: " + m_cups.Error()));
    QVERIFY(m_cups.AddBackendQueue(
        "Desligada", "while :; do echo 'INFO: A impressora pode não existir ou está indisponível neste momento.' >&2;"
                     " sleep 1; done"));
    QTemporaryDir dir, tmp;
    const QString input = dir.filePath("lote.csv");
    QFile f(input);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("tipo;nome;principal;vencimento\nDARF;ALFA;10,00;10/01/2026\n");
    f.close();
    const QString before = m_cups.command("lpstat", {"-W", "not-completed", "-o", queue});
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", tmp.path());
    if (!server.isEmpty())
        env.insert("CUPS_SERVER", server);
    p.setProcessEnvironment(env);
    p.start(ZAVENOR_EXECUTABLE, {"--lote", input, "--imprimir", "--impressora", queue, "--espera", terminate ? "120" : "3"});
    QVERIFY(p.waitForStarted());
    if (terminate) {
        // Once the printer has said its words and the batch has had a look at them.
        QTRY_VERIFY_WITH_TIMEOUT(m_cups.command("lpstat", {"-l", "-p", queue}).contains("pode não existir"),
                                 PrivateCups::scaled(30000));
        QTest::qWait(1000);
        ::kill(pid_t(p.processId()), SIGTERM);
    }
    QVERIFY2(p.waitForFinished(PrivateCups::scaled(60000)), "the batch did not give up");
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 3);
    QVERIFY2(err.contains(says), qPrintable(err));
    if (server.isEmpty())
        QVERIFY2(err.contains("A impressora pode não existir"), qPrintable(err));
    QCOMPARE(m_cups.command("lpstat", {"-W", "not-completed", "-o", queue}), before);
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files), QStringList());
}

QTEST_MAIN(TestBatchPrint)
#include "tst_batchprint.moc"
