// What a print may claim, through a private CUPS in the states offices meet: a device switched off,
// a filter failing late, a held job, a backend failing at once, a raw queue, a frozen or absent
// server, a full temporary folder, and background jobs that fail after the confirmation.
#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/output/RLFilters.h"
#include "report/output/RLCupsService.h"
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

TRLGraphicSurface *newPage(double widthMm, double heightMm, bool noise)
{
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
    return page;
}

TRLGraphicStorage *newStore(QObject *owner, double widthMm = 210, double heightMm = 297, bool noise = false)
{
    auto *store = new TRLGraphicStorage(owner);
    store->SetTitle(QStringLiteral("Zavenor - DARF"));
    store->SetPaperWidth(widthMm);
    store->SetPaperHeight(heightMm);
    store->Add(newPage(widthMm, heightMm, noise));
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
    WaitWindowWatcher(const QString &expected, bool cancel, std::function<void()> onShown = {})
        : m_expected(expected), m_cancel(cancel), m_onShown(std::move(onShown))
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
            if (m_onShown && expectedShown)
                std::exchange(m_onShown, {})();
        }
    }
    QString m_expected;
    bool m_cancel;
    std::function<void()> m_onShown;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

// A service that answers a wait from a script: one status a look (-1: silent), and the wait
// window's Cancelar pressed at a given look.
class ScriptedService : public TRLPrinterService
{
public:
    QList<int> script;
    int cancelAt = -1;
    QString cancelFailure; // empty: taken; "silent"; else the service's words
    std::atomic<int> looks{0};
    int cancels = 0;

    QList<TRLPrinterQueue> Queues(QString *) override { return {}; }
    void CheckQueue(const QString &) override {}
    bool SupportsMedia(const QString &, const QString &, double, double) override { return true; }
    int Submit(const TRLPrintJob &) override { return 7; }
    TRLJobStatus JobStatus(const QString &, int) override
    {
        const int look = looks++;
        const int step = std::min(look, int(script.size()) - 1);
        // Looks run off the window's thread: the click is the window's own.
        if (look == cancelAt)
            QMetaObject::invokeMethod(qApp, [] {
                for (QWidget *widget : QApplication::topLevelWidgets())
                    if (auto *window = qobject_cast<TfrmRLJobWait *>(widget))
                        window->ButtonCancel->click();
            }, Qt::QueuedConnection);
        if (script.at(step) < 0)
            throw TRLServiceUnreachable(RLMessage(rlmServiceSilent));
        return {TRLJobStatus::TOutcome(script.at(step)), QString()};
    }
    void CancelJob(const QString &, int) override
    {
        ++cancels;
        if (cancelFailure == QLatin1String("silent"))
            throw TRLServiceUnreachable(RLMessage(rlmServiceSilent));
        if (!cancelFailure.isEmpty())
            throw TRLException(cancelFailure);
    }
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
        QTest::addColumn<QString>("then"); // once shown: "cancel" by the user, "other" cancels, CUPS "freezes"
        const QString offWords = QStringLiteral("A impressora pode não existir ou está indisponível neste momento.");
        QTest::newRow("switched-off printer: the user cancels") << "Desligada" << "abort" << offWords << "cancel";
        QTest::newRow("switched-off printer: cancelled by someone else")
            << "Desligada" << "A impressora Desligada não imprimiu \"Zavenor - DARF\": o trabalho foi cancelado"
            << offWords << "other";
        QTest::newRow("switched-off printer: CUPS freezes")
            << "Desligada" << "O serviço de impressão (CUPS) não responde. O trabalho " << offWords << "freezes";
        QTest::newRow("filter failing late")
            << "Tardia" << "A impressora Tardia não imprimiu \"Zavenor - DARF\": " << "" << "";
        QTest::newRow("held job") << "Retida"
                                  << "A impressora Retida não imprimiu \"Zavenor - DARF\": o trabalho está retido na fila"
                                  << "" << "";
        QTest::newRow("backend failing at once, printer stopped")
            << "Falha" << "A impressora Falha não imprimiu \"Zavenor - DARF\": " << "" << "";
        QTest::newRow("printed") << "GuiaPDF" << "" << "" << "";
    }

    void foregroundOutcome()
    {
        QFETCH(QString, queue);
        QFETCH(QString, outcome);
        QFETCH(QString, shown);
        QFETCH(QString, then);
        WaitWindowWatcher watcher(shown, then == QLatin1String("cancel"), [this, then] {
            if (then == QLatin1String("other"))
                cups->run(QStringLiteral("cancel"), {QString::number(RLPrinter().LastJobId())});
            if (then == QLatin1String("freezes"))
                cups->Freeze(true);
        });
        const int before = RLPrinter().LastJobId();
        const QString result = printOn(queue);
        const int job = RLPrinter().LastJobId();
        QVERIFY(job > before);
        if (outcome.isEmpty() || outcome == QLatin1String("abort"))
            QCOMPARE(result, outcome);
        else
            QVERIFY2(result.startsWith(outcome), qPrintable(result));
        // CUPS's keywords never reach the user raw.
        QVERIFY2(!result.contains(QRegularExpression(QStringLiteral("[a-z]+-[a-z]+-[a-z]+"))), qPrintable(result));
        if (!shown.isEmpty())
            QVERIFY2(watcher.seen.contains(shown), qPrintable(watcher.seen.join(QLatin1Char('|'))));
        cups->Freeze(false);
        if (then == QLatin1String("freezes")) {
            // Left open, never called failed: the job is still in the queue and followed.
            QVERIFY2(result.contains(QStringLiteral("%1 (\"Zavenor - DARF\") da impressora Desligada ainda pode ser impresso")
                                         .arg(job)),
                     qPrintable(result));
            QCOMPARE(RLPrinter().LastJobEnd(), TRLJobEnd::Open);
            QCOMPARE(RLWatchedJobCount(), 1);
            cups->run(QStringLiteral("cancel"), {QString::number(job)});
            QTRY_COMPARE_WITH_TIMEOUT(RLWatchedJobCount(), 0, PrivateCups::scaled(15000));
            application()->errors.clear();
        } else if (outcome.isEmpty()) {
            // Cancelled in CUPS: nothing of it prints later by surprise.
            QVERIFY(!inActiveQueue(job));
        }
        cups->run(QStringLiteral("cupsenable"), {queue});
    }

    // The service's answers read as CUPS gives them: a job it does not hold, a cancel it refuses, a
    // cancel it does not answer.
    void serviceReadsCupsAnswers_data()
    {
        QTest::addColumn<QString>("queue"); // where a job is sent first (empty: none)
        QTest::addColumn<QString>("ask");   // "status" or "cancel"
        QTest::addColumn<bool>("frozen");
        QTest::addColumn<QString>("expected"); // "unknown", "refused" or "silent"
        QTest::newRow("a job CUPS does not hold") << "" << "status" << false << "unknown";
        QTest::newRow("cancel of a completed job") << "Crua" << "cancel" << false << "refused";
        QTest::newRow("cancel while CUPS is frozen") << "Desligada" << "cancel" << true << "silent";
    }

    void serviceReadsCupsAnswers()
    {
        QFETCH(QString, queue);
        QFETCH(QString, ask);
        QFETCH(bool, frozen);
        QFETCH(QString, expected);
        int job = 99999;
        if (!queue.isEmpty()) {
            const QString answer = cups->command(QStringLiteral("lp"), {QStringLiteral("-d"), queue, QStringLiteral("/etc/hostname")});
            const QRegularExpressionMatch id = QRegularExpression(QStringLiteral("-(\\d+)")).match(answer);
            QVERIFY2(id.hasMatch(), qPrintable(answer));
            job = id.captured(1).toInt();
            if (expected == QLatin1String("refused"))
                QTRY_COMPARE_WITH_TIMEOUT(cups->JobState(job), QStringLiteral("completed"), PrivateCups::scaled(20000));
        }
        TRLCupsService service;
        QString result;
        cups->Freeze(frozen);
        try {
            if (ask == QLatin1String("status"))
                result = service.JobStatus(queue, job).Outcome == TRLJobStatus::Unknown ? QStringLiteral("unknown")
                                                                                         : QStringLiteral("known");
            else
                service.CancelJob(queue, job);
        } catch (const TRLServiceUnreachable &) {
            result = QStringLiteral("silent");
        } catch (const TRLException &e) {
            result = e.Message().isEmpty() ? QStringLiteral("no words") : QStringLiteral("refused");
        }
        cups->Freeze(false);
        if (!queue.isEmpty())
            cups->run(QStringLiteral("cancel"), {QString::number(job)});
        QCOMPARE(result, expected);
    }

    // How a foreground wait ends when the job's end and the user's Cancelar meet, or the service
    // forgets the job or falls silent.
    void waitEndsAsTheJobDid_data()
    {
        QTest::addColumn<QList<int>>("script");
        QTest::addColumn<int>("cancelAt");
        QTest::addColumn<QString>("cancelFailure");
        QTest::addColumn<QString>("outcome"); // the start of the error, "abort", or empty for printed
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("watched");
        const int waiting = TRLJobStatus::Waiting, completed = TRLJobStatus::Completed;
        const int unknown = TRLJobStatus::Unknown, silent = -1;
        const QString job = QStringLiteral("o trabalho 7 (\"Zavenor - DARF\") da impressora Fila");
        QTest::newRow("Cancelar as the job completes")
            << QList<int>{waiting, completed} << 1 << "o trabalho já terminou" << "" << int(TRLJobEnd::Completed) << 0;
        QTest::newRow("Cancelar taken") << QList<int>{waiting, waiting} << 1 << "" << "abort"
                                        << int(TRLJobEnd::Canceled) << 0;
        QTest::newRow("Cancelar refused")
            << QList<int>{waiting, waiting} << 1 << "Não autorizado"
            << "O trabalho 7 (\"Zavenor - DARF\") não pôde ser cancelado na impressora Fila: Não autorizado"
            << int(TRLJobEnd::Open) << 0;
        QTest::newRow("job CUPS no longer knows")
            << QList<int>{waiting, unknown} << -1 << ""
            << "Não é mais possível saber se a impressora Fila imprimiu \"Zavenor - DARF\" (trabalho 7)"
            << int(TRLJobEnd::Unknown) << 0;
        QTest::newRow("CUPS falls silent") << QList<int>{waiting, silent} << -1 << ""
                                           << "O serviço de impressão (CUPS) não responde. O" + job.mid(1)
                                           << int(TRLJobEnd::Open) << 1;
        QTest::newRow("Cancelar while CUPS is silent")
            << QList<int>{waiting, waiting} << 1 << "silent"
            << "O serviço de impressão (CUPS) não responde. O cancelamento do trabalho 7" << int(TRLJobEnd::Open) << 1;
    }

    void waitEndsAsTheJobDid()
    {
        QFETCH(QList<int>, script);
        QFETCH(int, cancelAt);
        QFETCH(QString, cancelFailure);
        QFETCH(QString, outcome);
        QFETCH(int, end);
        QFETCH(int, watched);
        auto service = std::make_shared<ScriptedService>();
        service->script = script;
        service->cancelAt = cancelAt;
        service->cancelFailure = cancelFailure;
        TRLJobEnd ended = TRLJobEnd::None;
        QString result;
        try {
            RLWaitForJob(service, QStringLiteral("Fila"), QStringLiteral("Zavenor - DARF"), 7, &ended);
        } catch (const TRLException &e) {
            result = e.Message();
        } catch (const TRLAbort &) {
            result = QStringLiteral("abort");
        }
        const int following = RLWatchedJobCount();
        RLStopJobWatch();
        QVERIFY2(outcome.isEmpty() ? result.isEmpty() : result.startsWith(outcome), qPrintable(result));
        QCOMPARE(int(ended), end);
        QCOMPARE(following, watched);
        // A job whose fate is unknown is never taken out of the queue.
        if (script.contains(TRLJobStatus::Unknown))
            QCOMPARE(service->cancels, 0);
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

    void fullTemporaryFolder_data()
    {
        QTest::addColumn<bool>("alreadyFull");
        QTest::newRow("the job's document outgrows the folder") << false;
        QTest::newRow("a folder already full when the pages are stored") << true;
    }

    void fullTemporaryFolder()
    {
        QFETCH(bool, alreadyFull);
        const QString folder = cups->root() + QStringLiteral("/tmpfull");
        QDir().mkpath(folder);
        QVERIFY(::mount("tmpfs", folder.toUtf8().constData(), "tmpfs", 0, "size=64k") == 0);
        const QByteArray oldTmp = qgetenv("TMPDIR");
        const int before = RLPrinter().LastJobId();
        QString result;
        if (alreadyFull) {
            qputenv("TMPDIR", folder.toUtf8());
            QFile filler(folder + QStringLiteral("/filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            while (filler.write(QByteArray(1024, 'x')) == 1024 && filler.flush()) {
            }
            filler.close();
            QObject owner;
            try {
                // Beyond the pages kept in memory, the store writes to its file.
                TRLGraphicStorage *store = newStore(&owner, 210, 297, true);
                for (int i = 0; i < 10; ++i)
                    store->Add(newPage(210, 297, true));
            } catch (const TRLException &e) {
                result = e.Message();
            }
            filler.remove();
        } else {
            // The pages are stored first; only the job's document meets the full folder.
            result = printOn(QStringLiteral("GuiaPDF"), 210, 297, true,
                             [&folder] { qputenv("TMPDIR", folder.toUtf8()); });
        }
        qputenv("TMPDIR", oldTmp);
        const QStringList left = QDir(folder).entryList(QDir::Files);
        ::umount(folder.toUtf8().constData());
        if (!alreadyFull)
            fullFolderMessage = result;
        QCOMPARE(result, QStringLiteral("Sem espaço na pasta temporária (%1)").arg(folder));
        // No job, and nothing of the broken document left behind.
        QCOMPARE(RLPrinter().LastJobId(), before);
        if (!alreadyFull)
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
