// What a print may claim, through a private CUPS in the states offices meet: a device switched off,
// a filter failing late, a held job, a backend failing at once, a raw queue, a frozen or absent
// server, a full temporary folder, and background jobs that fail after the confirmation.
#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/output/RLFilters.h"
#include "report/output/RLJobWait.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPrintDialog.h"
#include "report/output/RLPrinters.h"
#include "support/PrivateCups.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include <sys/mount.h>

#include <memory>

Q_DECLARE_METATYPE(std::exception_ptr)

namespace {

// The program's error box, as the engine reaches it from a worker: the message is kept.
class ErrorKeepingApplication : public QApplication
{
    Q_OBJECT
public:
    using QApplication::QApplication;
    QStringList errors;

public slots:
    void handleException(std::exception_ptr error)
    {
        try {
            std::rethrow_exception(error);
        } catch (const TRLException &e) {
            errors << e.Message();
        } catch (...) {
            errors << QStringLiteral("?");
        }
    }
};

ErrorKeepingApplication *application()
{
    return static_cast<ErrorKeepingApplication *>(QCoreApplication::instance());
}

TRLGraphicStorage *newStore(QObject *owner, double widthMm = 210, double heightMm = 297, bool noise = false)
{
    auto *store = new TRLGraphicStorage(owner);
    store->SetTitle(QStringLiteral("Zavenor - DARF"));
    store->SetPaperWidth(widthMm);
    store->SetPaperHeight(heightMm);
    auto *page = new TRLGraphicSurface;
    page->SetWidth(qRound(widthMm * 96 / 25.4));
    page->SetHeight(qRound(heightMm * 96 / 25.4));
    page->SetPaperWidth(widthMm);
    page->SetPaperHeight(heightMm);
    page->TextRect(TRLRect(96, 96, 400, 120), 96, 96, QStringLiteral("Pagina1"));
    if (noise) {
        // Noise does not compress: the document outgrows a small folder.
        QImage image(400, 400, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, QRandomGenerator::global()->generate());
        page->StretchDraw(TRLRect(0, 0, 400, 400), image);
    }
    store->Add(page);
    return store;
}

// Pictures for the docs are taken only on request (under Xvfb).
QString shotsFolder()
{
    return qEnvironmentVariable("ZAVENOR_SHOTS_DIR");
}

bool takePicture(QWidget *window, const QString &name)
{
    QApplication::processEvents();
    QTest::qWait(200);
    return QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QString::number(window->winId()),
                                                        shotsFolder() + QLatin1Char('/') + name})
        == 0;
}

// The outcome of a foreground print: empty when it completed, "abort" for the silent end, else
// the error's message.
QString printOn(const QString &queue, double widthMm = 210, double heightMm = 297, bool noise = false,
                const std::function<void()> &beforeRun = {})
{
    RLPrinter().Refresh();
    const int index = RLPrinter().Printers().indexOf(QRegularExpression(QRegularExpression::escape(queue) + "\\|.*"));
    if (index < 0)
        return QStringLiteral("no queue ") + queue;
    RLPrinter().SetPrinterIndex(index);
    QObject owner;
    TRLGraphicStorage *store = newStore(&owner, widthMm, heightMm, noise);
    if (beforeRun)
        beforeRun();
    try {
        RunFilterOnStore(store, nullptr, 1, -1);
    } catch (const TRLException &e) {
        return e.Message();
    } catch (const TRLAbort &) {
        return QStringLiteral("abort");
    }
    return QString();
}

// Watches for the wait window while a foreground print runs: keeps what it shows and cancels it
// once it shows the expected words (or after a long while, so that a fault cannot hang the test).
class WaitWindowWatcher : public QObject
{
public:
    WaitWindowWatcher(const QString &expected, bool cancel) : m_expected(expected), m_cancel(cancel)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { look(); });
        m_timer.start(50);
        m_clock.start();
    }
    QStringList seen;

private:
    void look()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *window = qobject_cast<TfrmRLJobWait *>(widget);
            if (!window || !window->isVisible())
                continue;
            if (seen.isEmpty() || seen.last() != window->StatusText())
                seen << window->StatusText();
            const bool expectedShown = window->StatusText().contains(m_expected);
            if (expectedShown && !shotsFolder().isEmpty())
                takePicture(window, QStringLiteral("impressao-impressora-desligada.png"));
            if (m_cancel && (expectedShown || m_clock.elapsed() > PrivateCups::scaled(30000)))
                window->ButtonCancel->click();
        }
    }
    QString m_expected;
    bool m_cancel;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

} // namespace

class TestRLCupsJobs : public QObject
{
    Q_OBJECT

    std::unique_ptr<PrivateCups> cups;
    QString rawOut;
    QString fullFolderMessage;
    QString frozenMessage;

    bool inActiveQueue(int jobId) { return cups->JobState(jobId) == QLatin1String("pending"); }

private slots:
    void initTestCase()
    {
        RLLoadMessages(mlPortuguese);
        cups = std::make_unique<PrivateCups>();
        QVERIFY2(cups->IsRunning(), qPrintable(cups->Error()));
        QVERIFY(cups->AddPdfQueue(QStringLiteral("GuiaPDF")));
        rawOut = cups->root() + QStringLiteral("/raw-out");
        QDir().mkpath(rawOut);
        QFile::setPermissions(rawOut, QFileDevice::Permissions(0x7777));
        // The socket backend's words for a network printer that is switched off.
        QVERIFY(cups->AddBackendQueue(
            QStringLiteral("Desligada"),
            QStringLiteral("echo 'STATE: +connecting-to-device' >&2\n"
                           "while :; do echo 'INFO: A impressora pode não existir ou está indisponível neste momento.' >&2;"
                           " sleep 1; done")));
        QVERIFY(cups->AddBackendQueue(QStringLiteral("Falha"), QStringLiteral("cat >/dev/null; exit 1")));
        QVERIFY(cups->AddBackendQueue(QStringLiteral("Retida"), QStringLiteral("cat >/dev/null; exit 0"),
                                      {QStringLiteral("job-hold-until-default=indefinite")}));
        QVERIFY(cups->AddBackendQueue(QStringLiteral("Crua"),
                                      QStringLiteral("cat > %1/job-$1.pdf; exit 0").arg(rawOut)));
        QVERIFY(cups->AddFilterQueue(QStringLiteral("Tardia"), QStringLiteral("cat >/dev/null; sleep 2; exit 1")));
        ReleaseRLPrinter();
    }

    void cleanupTestCase()
    {
        RLStopJobWatch();
        cups.reset();
    }

    void foregroundOutcome_data()
    {
        QTest::addColumn<QString>("queue");
        QTest::addColumn<QString>("outcome"); // the start of the error, "abort", or empty for printed
        QTest::addColumn<QString>("shown");   // words the wait window must show before the user cancels
        QTest::newRow("switched-off printer: the user cancels")
            << "Desligada" << "abort" << "A impressora pode não existir ou está indisponível neste momento.";
        QTest::newRow("filter failing late")
            << "Tardia" << "A impressora Tardia não imprimiu \"Zavenor - DARF\": " << "";
        QTest::newRow("held job") << "Retida"
                                  << "A impressora Retida não imprimiu \"Zavenor - DARF\": o trabalho está retido na fila"
                                  << "";
        QTest::newRow("backend failing at once, printer stopped")
            << "Falha" << "A impressora Falha não imprimiu \"Zavenor - DARF\": " << "";
        QTest::newRow("printed") << "GuiaPDF" << "" << "";
    }

    void foregroundOutcome()
    {
        QFETCH(QString, queue);
        QFETCH(QString, outcome);
        QFETCH(QString, shown);
        WaitWindowWatcher watcher(shown, !shown.isEmpty());
        const int before = RLPrinter().LastJobId();
        const QString result = printOn(queue);
        const int job = RLPrinter().LastJobId();
        QVERIFY(job > before);
        if (outcome.isEmpty() || outcome == QLatin1String("abort"))
            QCOMPARE(result, outcome);
        else
            QVERIFY2(result.startsWith(outcome), qPrintable(result));
        if (!shown.isEmpty())
            QVERIFY2(watcher.seen.contains(shown), qPrintable(watcher.seen.join(QLatin1Char('|'))));
        if (outcome.isEmpty()) {
            QVERIFY(!cups->WaitForJob(job).isEmpty());
        } else {
            // Cancelled in CUPS: nothing of it prints later by surprise.
            QVERIFY(!inActiveQueue(job));
        }
        cups->run(QStringLiteral("cupsenable"), {queue});
    }

    // A raw queue lists no paper sizes: it takes the slip as it is.
    void queueWithoutSizesTakesAnySize()
    {
        QCOMPARE(printOn(QStringLiteral("Crua"), 211, 102), QString());
        QVERIFY(QFile::exists(rawOut + QStringLiteral("/job-%1.pdf").arg(RLPrinter().LastJobId())));
    }

    // Printed in the background: confirmed at once, then followed; a failure reaches the error box
    // and the job leaves the queue. The watcher's thread ends with its last job and starts again
    // for the next one.
    void backgroundFailureReported_data()
    {
        QTest::addColumn<int>("round");
        QTest::newRow("first background job") << 1;
        QTest::newRow("after the watcher ended") << 2;
    }

    void backgroundFailureReported()
    {
        QFETCH(int, round);
        QVERIFY2(!RLJobWatchRunning(), qPrintable(QStringLiteral("watcher running before job %1").arg(round)));
        application()->errors.clear();
        RLPrinter().Refresh();
        RLPrinter().SetPrinterIndex(
            RLPrinter().Printers().indexOf(QRegularExpression(QStringLiteral("Tardia\\|.*"))));
        QObject owner;
        const int before = RLPrinter().LastJobId();
        RunFilterOnStore(newStore(&owner), nullptr, 1, -1, true);
        QTRY_VERIFY_WITH_TIMEOUT(RLPrinter().LastJobId() > before, PrivateCups::scaled(20000));
        const int job = RLPrinter().LastJobId();
        QTRY_VERIFY_WITH_TIMEOUT(!application()->errors.isEmpty(), PrivateCups::scaled(30000));
        QVERIFY2(application()->errors.first().startsWith(
                     QStringLiteral("A impressora Tardia não imprimiu \"Zavenor - DARF\": ")),
                 qPrintable(application()->errors.first()));
        QTRY_VERIFY_WITH_TIMEOUT(!inActiveQueue(job), PrivateCups::scaled(10000));
        QCOMPARE(RLWatchedJobCount(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!RLJobWatchRunning(), PrivateCups::scaled(5000));
    }

    void fullTemporaryFolder()
    {
        const QString folder = cups->root() + QStringLiteral("/tmpfull");
        QDir().mkpath(folder);
        QVERIFY(::mount("tmpfs", folder.toUtf8().constData(), "tmpfs", 0, "size=64k") == 0);
        const QByteArray oldTmp = qgetenv("TMPDIR");
        const int before = RLPrinter().LastJobId();
        // The pages are stored first; only the job's document meets the full folder.
        const QString result = printOn(QStringLiteral("GuiaPDF"), 210, 297, true,
                                       [&folder] { qputenv("TMPDIR", folder.toUtf8()); });
        qputenv("TMPDIR", oldTmp);
        const QStringList left = QDir(folder).entryList(QDir::Files);
        ::umount(folder.toUtf8().constData());
        fullFolderMessage = result;
        QCOMPARE(result, QStringLiteral("Sem espaço na pasta temporária (%1)").arg(folder));
        // No job, and nothing of the broken document left behind.
        QCOMPARE(RLPrinter().LastJobId(), before);
        QCOMPARE(left, QStringList());
    }

    // A frozen server: an answer within our own limits, and the window's loop turns meanwhile.
    void frozenServer_data()
    {
        QTest::addColumn<bool>("dialog");
        QTest::newRow("opening the print dialog") << true;
        QTest::newRow("printing") << false;
    }

    void frozenServer()
    {
        QFETCH(bool, dialog);
        RLPrinter().Refresh();
        RLPrinter().SetPrinterIndex(RLPrinter().Printers().indexOf(QRegularExpression(QStringLiteral("GuiaPDF\\|.*"))));
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(50);
        cups->Freeze(true);
        QString result;
        if (dialog) {
            TRLPrintDialog window;
            try {
                window.Execute();
            } catch (const TRLException &e) {
                result = e.Message();
            }
            QVERIFY(!window.isVisible());
        } else {
            QObject owner;
            try {
                RunFilterOnStore(newStore(&owner), nullptr, 1, -1);
            } catch (const TRLException &e) {
                result = e.Message();
            }
        }
        cups->Freeze(false);
        frozenMessage = result;
        QCOMPARE(result, QStringLiteral("O serviço de impressão (CUPS) não responde"));
        // Five seconds of silence at 50 ms a tick; far fewer would mean a blocked loop.
        QVERIFY2(ticks >= 40, qPrintable(QString::number(ticks)));
    }

    // Not a check: the program's error box with the messages above, for the docs.
    void screenshots()
    {
        if (shotsFolder().isEmpty())
            QSKIP("pictures only on request");
        const QList<std::pair<QString, QString>> boxes{{frozenMessage, "impressao-cups-nao-responde.png"},
                                                       {fullFolderMessage, "impressao-pasta-temporaria-cheia.png"}};
        for (const auto &[message, file] : boxes) {
            QVERIFY(!message.isEmpty());
            QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), message, QMessageBox::Ok);
            box.show();
            QVERIFY(QTest::qWaitForWindowExposed(&box));
            QVERIFY(takePicture(&box, file));
        }
    }

    void serverDownIsNotMissingPrinter()
    {
        cups->Stop();
        TRLPrintDialog window;
        QString result;
        try {
            window.Execute();
        } catch (const TRLException &e) {
            result = e.Message();
        }
        QCOMPARE(result, QStringLiteral("O serviço de impressão (CUPS) não está disponível"));
    }
};

int main(int argc, char **argv)
{
    ErrorKeepingApplication app(argc, argv);
    TestRLCupsJobs test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_rlcupsjobs.moc"
