// A printer's position adjustment as the program keeps it, through a private CUPS: every value
// of a data-only slip moves by the printer's nudge on the document handed to CUPS, whether the
// nudge was kept by the program or written into the settings file by hand; another printer's
// nudge and a hostile settings file change nothing; a new start of the program reads it again.
#include "app/ZavenorApplication.h"
#include "report/RLReport.h"
#include "report/output/RLPrintOffsets.h"
#include "report/output/RLFilterThread.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLTestPage.h"
#include "slips/pDadosDARF.h"
#include "support/PdfInspect.h"
#include "support/PrivateCups.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

namespace {

const QString queueA = QStringLiteral("ZavenorA");
const QString queueB = QStringLiteral("ZavenorB");

QString settingsFile()
{
    return QSettings(QStringLiteral("Morvath"), QStringLiteral("Zavenor")).fileName();
}

void writeSettings(const QByteArray &text)
{
    QDir().mkpath(QFileInfo(settingsFile()).path());
    QFile f(settingsFile());
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text);
}

} // namespace

class TestPositionCups : public QObject
{
    Q_OBJECT

    PrivateCups m_cups; // first: before anything asks CUPS about its server
    QList<PdfWord> m_reference;

    // The data-only DARF with a value in every box, printed on the queue; the words of the
    // document CUPS received.
    QList<PdfWord> printDarf(const QString &queue)
    {
        const QStringList names = RLPrinter().Printers();
        for (int i = 0; i < names.size(); ++i)
            if (RLPrinter().PrinterNames(i) == queue)
                RLPrinter().SetPrinterIndex(i);
        if (RLPrinter().PrinterName() != queue)
            return {};
        TfrmDadosDARF doc;
        const QString values[] = {"José Gonçalves", "12/2004", "12.345.678/0001-90", "0220", "1234567890",
                                  "05/11/2004", "1.234,56", "12,30", "7,89", "1.254,75"};
        TRLLabel *labels[] = {doc.QRLNome, doc.QRLPeriodo, doc.QRLCGC, doc.QRLCodRec, doc.QRLNumRef,
                              doc.QRLDtVenc, doc.QRLValPrinc, doc.QRLValMulta, doc.QRLValJur, doc.QRLValTot};
        for (int i = 0; i < 10; ++i)
            labels[i]->SetCaption(values[i]);
        doc.RLDadosDARF->SetPrintDialog(false);
        const int before = RLPrinter().LastJobId();
        doc.RLDadosDARF->Print();
        if (RLPrinter().LastJobId() == before)
            return {};
        return PdfInspect::words(m_cups.SubmittedDocument(RLPrinter().LastJobId()));
    }

private slots:
    void initTestCase()
    {
        if (!m_cups.IsRunning())
            QFAIL(qPrintable("no private CUPS scheduler: " + m_cups.Error()));
        QVERIFY(m_cups.AddPdfQueue(queueA));
        QVERIFY(m_cups.AddPdfQueue(queueB, false));
        RLPrinter().Refresh();
        QFile::remove(settingsFile());
        m_reference = printDarf(queueA);
        QCOMPARE(m_reference.size(), 11); // the name is two words
    }

    void everyValueMoves_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("keptByTheProgram");
        QTest::addColumn<QString>("queue");
        QTest::addColumn<double>("dx");
        QTest::addColumn<double>("dy");
        QTest::newRow("kept by the program") << QByteArray() << true << queueA << 1.5 << -2.0;
        QTest::newRow("written by hand")
            << QByteArray("[AjustePosicao]\nZavenorA/x_mm=1.5\nZavenorA/y_mm=-2.0\n") << false << queueA << 1.5 << -2.0;
        QTest::newRow("another printer's")
            << QByteArray("[AjustePosicao]\nZavenorB/x_mm=-0.3\nZavenorB/y_mm=4.0\n") << false << queueA << 0.0 << 0.0;
        QTest::newRow("on that other printer")
            << QByteArray("[AjustePosicao]\nZavenorB/x_mm=-0.3\nZavenorB/y_mm=4.0\n") << false << queueB << -0.3 << 4.0;
        QTest::newRow("hostile: text")
            << QByteArray("[AjustePosicao]\nZavenorA/x_mm=um e meio\nZavenorA/y_mm=\"-2,0\"\n") << false << queueA << 0.0 << 0.0;
        QTest::newRow("hostile: huge")
            << QByteArray("[AjustePosicao]\nZavenorA/x_mm=1e308\nZavenorA/y_mm=-1e308\n") << false << queueA << 0.0 << 0.0;
        QTest::newRow("hostile: beyond the limits")
            << QByteArray("[AjustePosicao]\nZavenorA/x_mm=-50\nZavenorA/y_mm=50\n") << false << queueA << 0.0 << 0.0;
    }

    void everyValueMoves()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, keptByTheProgram);
        QFETCH(QString, queue);
        QFETCH(double, dx);
        QFETCH(double, dy);
        QFile::remove(settingsFile());
        if (keptByTheProgram)
            QVERIFY(RLPrintOffsetStore()->SetOffset(queue, {dx, dy}));
        else
            writeSettings(settings);
        const QList<PdfWord> words = printDarf(queue);
        QCOMPARE(words.size(), m_reference.size());
        for (int i = 0; i < words.size(); ++i) {
            const QRectF was = m_reference.at(i).boxMm();
            const QRectF now = words.at(i).boxMm();
            QCOMPARE(words.at(i).text, m_reference.at(i).text);
            QVERIFY2(qAbs(now.left() - was.left() - dx) < 0.1 && qAbs(now.top() - was.top() - dy) < 0.1,
                     qPrintable(QStringLiteral("%1 moved by %2, %3 mm")
                                    .arg(words.at(i).text)
                                    .arg(now.left() - was.left())
                                    .arg(now.top() - was.top())));
        }
    }

    // A second process, as at the next start: its application object reads what this one kept.
    void survivesANewStart()
    {
        QFile::remove(settingsFile());
        QVERIFY(RLPrintOffsetStore()->SetOffset(queueA, {1.5, -2.0}));
        QVERIFY(RLPrintOffsetStore()->SetOffset(queueB, {-0.3, 4.0}));
        QProcess next;
        next.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--offsets-of"), queueA, queueB});
        QVERIFY(next.waitForFinished(PrivateCups::scaled(30000)));
        QCOMPARE(QString::fromUtf8(next.readAllStandardOutput()).trimmed(),
                 QStringLiteral("ZavenorA 1.5 -2\nZavenorB -0.3 4"));
    }

    // The picture of the data-only DARF's test page as CUPS received it, into $ZAVENOR_SHOTS_DIR.
    void testPagePicture()
    {
        const QString folder = qEnvironmentVariable("ZAVENOR_SHOTS_DIR");
        if (folder.isEmpty())
            QSKIP("pictures only on request");
        TfrmDadosDARF doc;
        const int before = RLPrinter().LastJobId();
        PrintRLTestPage({211, 102, 1, doc.RLDadosDARF->FormBoxes()}, queueB, {1.5, -2.0});
        QTRY_VERIFY_WITH_TIMEOUT(!RLBackgroundRunning(), PrivateCups::scaled(30000));
        // The test page's printer is its own: its job is the scheduler's next one.
        QVERIFY(!m_cups.WaitForJob(before + 1).isEmpty());
        QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"),
                                   {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                                    QStringLiteral("-singlefile"), m_cups.SubmittedDocument(before + 1),
                                    folder + QStringLiteral("/pagina-teste-darf")}),
                 0);
    }

    void cleanupTestCase()
    {
        QFile::remove(settingsFile());
    }
};

int main(int argc, char **argv)
{
    // The settings folder is this run's own, handed on to the second process of survivesANewStart.
    std::unique_ptr<QTemporaryDir> config;
    if (argc > 1 && qstrcmp(argv[1], "--offsets-of") == 0) {
        TZavenorApplication app(argc, argv);
        for (int i = 2; i < argc; ++i) {
            const TRLPrintOffset offset = RLPrintOffsetStore()->Offset(QString::fromLocal8Bit(argv[i]));
            std::printf("%s %g %g\n", argv[i], offset.XMm, offset.YMm);
        }
        return 0;
    }
    config = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", config->path().toUtf8());
    TZavenorApplication app(argc, argv);
    TestPositionCups test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_positioncups.moc"
