// Background output: the page loop on its own thread with the progress handed over to the
// user-interface thread, cancel, errors reaching the application's error box, the end of the
// program during a print, a second print meanwhile, and one print through a real CUPS queue.
#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/base/RLHost.h"
#include "report/base/RLQueuedCall.h"
#include "report/base/RLTempFiles.h"
#include "report/output/RLFilterThread.h"
#include "report/output/RLFilters.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLSpoolFilter.h"
#include "support/FakePrinterService.h"
#include "support/PdfInspect.h"
#include "support/PrivateCups.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

Q_DECLARE_METATYPE(std::exception_ptr)

// The application's error box, as the program's application object offers it to the engine.
class ErrorBoxApplication : public QApplication
{
    Q_OBJECT
public:
    using QApplication::QApplication;
    QStringList shown;
    int shownOffThread = 0;

public slots:
    void handleException(std::exception_ptr error)
    {
        if (QThread::currentThread() != thread())
            ++shownOffThread;
        try {
            std::rethrow_exception(error);
        } catch (const TRLAbort &) {
        } catch (const TRLException &e) {
            shown << e.Message();
        } catch (...) {
            shown << QStringLiteral("?");
        }
    }
};

namespace {

// The printer's temporary documents (the stores keep files of their own).
QStringList printerTempFiles()
{
    return RLTempFiles().filter(QStringLiteral("~rlprn"));
}

ErrorBoxApplication *errorBox()
{
    return static_cast<ErrorBoxApplication *>(QCoreApplication::instance());
}

TRLGraphicStorage *newStore(QObject *owner, int pages)
{
    auto *store = new TRLGraphicStorage(owner);
    store->SetOrientation(1);
    store->SetPaperWidth(210);
    store->SetPaperHeight(297);
    for (int i = 1; i <= pages; ++i) {
        auto *page = new TRLGraphicSurface;
        page->SetWidth(794);
        page->SetHeight(1123);
        page->SetOrientation(1);
        page->SetPaperWidth(210);
        page->SetPaperHeight(297);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(13);
        page->SetFont(font);
        page->TextRect(TRLRect(96, 96, 400, 120), 96, 96, QStringLiteral("Folha%1").arg(i));
        store->Add(page);
    }
    return store;
}

// Records on which thread each progress call came, and cancels at a given step.
struct ProgressLog
{
    int created = 0;
    int steps = 0;
    int released = 0;
    int offThread = 0;
    bool background = false;
    int cancelAt = 0;
};

class LoggedProgress : public TRLProgress
{
public:
    LoggedProgress(ProgressLog *log, std::function<void()> cancel) : m_log(log), m_cancel(std::move(cancel)) {}
    ~LoggedProgress() override
    {
        check();
        ++m_log->released;
    }
    void SetMax(int) override { check(); }
    void Step() override
    {
        check();
        if (++m_log->steps == m_log->cancelAt)
            m_cancel();
    }

private:
    void check()
    {
        if (QThread::currentThread() != qApp->thread())
            ++m_log->offThread;
    }
    ProgressLog *m_log;
    std::function<void()> m_cancel;
};

void logProgressIn(ProgressLog *log)
{
    SetRLProgressFactory([log](const QString &, int, std::function<void()> cancel, bool background) {
        if (QThread::currentThread() != qApp->thread())
            ++log->offThread;
        ++log->created;
        log->background = background;
        return std::unique_ptr<TRLProgress>(new LoggedProgress(log, std::move(cancel)));
    });
}

} // namespace

class TestRLBackground : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<FakePrinterState> state;
    std::shared_ptr<QSemaphore> gate;
    std::shared_ptr<QSemaphore> entered;
    QTemporaryDir dir;

    int sentPages(int index) { return int(PdfInspect::pages(SaveSentDocument(*state, index, dir.path())).size()); }

    void useFakeService(bool held)
    {
        gate = std::make_shared<QSemaphore>();
        entered = std::make_shared<QSemaphore>();
        state = held ? InstallFakePrinter(gate, entered) : InstallFakePrinter();
    }

    // Starts a background print held at the start of its job.
    void startHeld(QObject *owner, int pages)
    {
        useFakeService(true);
        RunFilterOnStore(newStore(owner, pages), nullptr, 1, -1, true);
        // The worker's progress hand-overs need this thread's event loop meanwhile.
        QTRY_VERIFY_WITH_TIMEOUT(entered->available() > 0, 20000);
        QVERIFY(RLBackgroundRunning());
    }

private slots:
    void initTestCase() { RLLoadMessages(mlPortuguese); }

    void init()
    {
        errorBox()->shown.clear();
        errorBox()->shownOffThread = 0;
        RLSetApplicationClosing(false);
    }

    void cleanup()
    {
        if (gate)
            gate->release(100);
        RLFinishBackgroundRuns();
        RLSetApplicationClosing(false);
        SetRLProgressFactory(nullptr);
    }

    // A worker's call lands on the receiver's thread, or is destroyed unrun when the receiver goes
    // first; a hand-over brings the main thread's error back, and a dropped one is a silent abort.
    void queuedCallsFromWorker_data()
    {
        QTest::addColumn<bool>("receiverGoesFirst");
        QTest::addColumn<bool>("handOverThrows");
        QTest::newRow("call runs on the receiver's thread") << false << false;
        QTest::newRow("receiver deleted before the call") << true << false;
        QTest::newRow("hand-over error raised on the worker") << false << true;
    }
    void queuedCallsFromWorker()
    {
        QFETCH(bool, receiverGoesFirst);
        QFETCH(bool, handOverThrows);
        auto receiver = std::make_unique<QObject>();
        QThread *ranOn = nullptr;
        auto destroyed = std::make_shared<bool>(false);
        auto guard = std::shared_ptr<void>(nullptr, [destroyed](void *) { *destroyed = true; });
        QString raised;
        std::atomic<bool> done{false};
        std::thread worker([&] {
            // The call alone holds the guard: it tells when the call is destroyed.
            RLQueueCall(receiver.get(), [&ranOn, g = std::move(guard)] { ranOn = QThread::currentThread(); });
            if (!receiverGoesFirst) {
                try {
                    RLHandOver([handOverThrows] {
                        if (handOverThrows)
                            throw TRLException(QStringLiteral("Falhou no principal"));
                    });
                } catch (const TRLException &e) {
                    raised = e.Message();
                }
            }
            done = true;
        });
        if (receiverGoesFirst) {
            worker.join();
            receiver.reset();
        } else {
            // The hand-over needs this thread's event loop while the worker waits.
            QTRY_VERIFY_WITH_TIMEOUT(done, 20000);
            worker.join();
        }
        QCoreApplication::processEvents();
        QTRY_VERIFY(*destroyed);
        QCOMPARE(ranOn, receiverGoesFirst ? nullptr : QThread::currentThread());
        QCOMPARE(raised, handOverThrows ? QStringLiteral("Falhou no principal") : QString());
    }

    void finishesAndReleasesStore_data()
    {
        QTest::addColumn<bool>("owned");
        QTest::addColumn<bool>("showProgress");
        QTest::newRow("store without owner, progress") << false << true;
        QTest::newRow("store without owner, no progress") << false << false;
        QTest::newRow("store owned by a report") << true << true;
    }
    void finishesAndReleasesStore()
    {
        QFETCH(bool, owned);
        QFETCH(bool, showProgress);
        useFakeService(false);
        ProgressLog log;
        logProgressIn(&log);
        QObject owner;
        QPointer<TRLGraphicStorage> store = newStore(owned ? &owner : nullptr, 3);
        SpoolFilter()->SetShowProgress(showProgress);
        RunFilterOnStore(store, nullptr, 1, -1, true);
        QTRY_VERIFY_WITH_TIMEOUT(!RLBackgroundRunning(), 20000);
        QCOMPARE(state->sent.size(), 1);
        QCOMPARE(sentPages(0), 3);
        // A store without owner goes with its last filter, on its own thread; an owned one stays.
        if (owned) {
            QTRY_VERIFY(store && store->Filters().isEmpty());
        } else {
            QTRY_VERIFY(!store);
        }
        QCOMPARE(log.created, showProgress ? 1 : 0);
        QCOMPARE(log.steps, showProgress ? 3 : 0);
        QTRY_COMPARE(log.released, log.created);
        QCOMPARE(log.offThread, 0);
        QCOMPARE(log.background, showProgress);
        QVERIFY(errorBox()->shown.isEmpty());
        QVERIFY(printerTempFiles().isEmpty());
        SpoolFilter()->SetShowProgress(true);
    }

    void cancelDuringSecondOfFourPages()
    {
        useFakeService(false);
        ProgressLog log;
        log.cancelAt = 2;
        logProgressIn(&log);
        RunFilterOnStore(newStore(nullptr, 4), nullptr, 1, -1, true);
        QTRY_VERIFY_WITH_TIMEOUT(!RLBackgroundRunning(), 20000);
        QCOMPARE(log.steps, 2);
        // Cancelled: the pages drawn so far never reach the printer.
        QCOMPARE(state->sent.size(), 0);
        QVERIFY(!RLPrinter().Printing());
        QVERIFY(errorBox()->shown.isEmpty());
    }

    void workerErrorReachesErrorBox_data()
    {
        QTest::addColumn<QString>("checkFailure");
        QTest::addColumn<QString>("submitFailure");
        QTest::newRow("queue refused at the start") << QStringLiteral("A fila GuiaPDF está parada.") << QString();
        QTest::newRow("job refused at the end") << QString() << QStringLiteral("O serviço recusou o trabalho.");
    }
    void workerErrorReachesErrorBox()
    {
        QFETCH(QString, checkFailure);
        QFETCH(QString, submitFailure);
        useFakeService(false);
        state->checkFailure = checkFailure;
        state->submitFailure = submitFailure;
        ProgressLog log;
        logProgressIn(&log);
        QPointer<TRLGraphicStorage> store = newStore(nullptr, 2);
        RunFilterOnStore(store, nullptr, 1, -1, true);
        QTRY_VERIFY_WITH_TIMEOUT(!errorBox()->shown.isEmpty(), 20000);
        QCOMPARE(errorBox()->shown, QStringList{checkFailure + submitFailure});
        QCOMPARE(errorBox()->shownOffThread, 0);
        QTRY_VERIFY(!RLBackgroundRunning());
        QTRY_VERIFY(!store);
        QTRY_COMPARE(log.released, log.created);
        QVERIFY(state->sent.isEmpty());
        QVERIFY(!RLPrinter().Printing());
        QVERIFY(printerTempFiles().isEmpty());
    }

    void closingDuringBackgroundPrint()
    {
        ProgressLog log;
        logProgressIn(&log);
        QObject owner;
        startHeld(&owner, 4);
        // The main window closed: the worker ends on its own at its next hand-over.
        RLSetApplicationClosing(true);
        gate->release(100);
        RLFinishBackgroundRuns();
        QVERIFY(!RLBackgroundRunning());
        QVERIFY(!RLPrinter().Printing());
        QVERIFY(state->sent.isEmpty());
        QVERIFY(printerTempFiles().isEmpty());
        QTRY_COMPARE(log.released, log.created);
        QCOMPARE(log.offThread, 0);
        // Closing is silent.
        QVERIFY(errorBox()->shown.isEmpty());
    }

    void secondPrintDuringBackgroundOne()
    {
        QObject owner;
        startHeld(&owner, 2);
        TRLGraphicStorage *second = newStore(&owner, 1);
        QString refusal;
        try {
            RunFilterOnStore(second, nullptr, 1, -1, true);
        } catch (const TRLException &e) {
            refusal = e.Message();
        }
        QVERIFY2(refusal.contains(QStringLiteral("segundo plano")), qPrintable(refusal));
        QVERIFY(second->Filters().isEmpty());
        gate->release(100);
        QTRY_VERIFY_WITH_TIMEOUT(!RLBackgroundRunning(), 20000);
        QCOMPARE(state->sent.size(), 1);
        QCOMPARE(sentPages(0), 2);
        // Once it has ended the next print goes through.
        RunFilterOnStore(second, nullptr, 1, -1, true);
        QTRY_VERIFY_WITH_TIMEOUT(!RLBackgroundRunning(), 20000);
        QTRY_COMPARE(state->sent.size(), 2);
    }

    // A close handled while the progress window steps runs inside a hand-over the worker waits
    // for: a wait there could never end, so it returns at once and the close comes after.
    void nothingWaitsInsideAHandOver()
    {
        QObject owner;
        startHeld(&owner, 1);
        QObject context;
        bool inside = false;
        bool deferred = false;
        bool finished = true;
        bool bodyDone = false;
        bool ranAfterBody = false;
        std::atomic<bool> returned{false};
        std::thread other([&] {
            RLHandOver([&] {
                inside = RLInsideHandOver();
                deferred = RLDeferPastHandOver(&context, [&] { ranAfterBody = bodyDone; });
                finished = RLFinishBackgroundRuns();
                bodyDone = true;
            });
            returned = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(returned, 20000);
        other.join();
        QVERIFY(inside);
        QVERIFY(deferred);
        QVERIFY(!finished);
        QTRY_VERIFY(ranAfterBody);
        QVERIFY(!RLInsideHandOver());
        QVERIFY(!RLDeferPastHandOver(&context, [] {}));
        gate->release(100);
        QTRY_VERIFY_WITH_TIMEOUT(!RLBackgroundRunning(), 20000);
    }

    // The system refuses the thread: the pages still go out, and nothing stays counted as running
    // to refuse every later print.
    void threadThatNeverStarts()
    {
        useFakeService(false);
        RLSetBackgroundStackSize(1); // below any stack the system accepts
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("^QThread::start")));
        RunFilterOnStore(newStore(nullptr, 2), nullptr, 1, -1, true);
        RLSetBackgroundStackSize(0);
        QVERIFY(!RLBackgroundRunning());
        QCOMPARE(state->sent.size(), 1);
        QCOMPARE(sentPages(0), 2);
        RunFilterOnStore(newStore(nullptr, 1), nullptr, 1, -1, true);
        QTRY_VERIFY_WITH_TIMEOUT(!RLBackgroundRunning(), 20000);
        QCOMPARE(state->sent.size(), 2);
        QVERIFY(errorBox()->shown.isEmpty());
        QVERIFY(printerTempFiles().isEmpty());
    }

    void throughPrivateCups()
    {
        PrivateCups cups;
        QVERIFY2(cups.IsRunning(), qPrintable(cups.Error()));
        QVERIFY(cups.AddPdfQueue(QStringLiteral("GuiaPDF")));
        ReleaseRLPrinter();
        QPointer<TRLGraphicStorage> store = newStore(nullptr, 2);
        RunFilterOnStore(store, nullptr, 1, -1, true);
        QTRY_VERIFY_WITH_TIMEOUT(!RLBackgroundRunning(), PrivateCups::scaled(30000));
        QVERIFY2(errorBox()->shown.isEmpty(), qPrintable(errorBox()->shown.join('\n')));
        QTRY_VERIFY(!store);
        const int job = RLPrinter().LastJobId();
        QVERIFY(job > 0);
        const QString pdf = cups.WaitForJob(job);
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(PdfInspect::pages(pdf).size(), 2);
        QCOMPARE(PdfInspect::texts(pdf), (QStringList{"Folha1", "Folha2"}));
        ReleaseRLPrinter();
    }
};

int main(int argc, char *argv[])
{
    ErrorBoxApplication app(argc, argv);
    TestRLBackground test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_rlbackground.moc"
