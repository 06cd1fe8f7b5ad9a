#include "report/output/RLJobWait.h"

#include "report/base/RLExceptions.h"
#include "report/base/RLHost.h"
#include "report/base/RLConsts.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLWindowFont.h"
#include "report/base/RLWork.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <condition_variable>
#include <list>
#include <mutex>
#include <thread>

TfrmRLJobWait::TfrmRLJobWait(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmRLJobWait"));
    setWindowTitle(RLMessage(rlmWaitCaption));
    setFont(RLWindowFont(11));
    // Modal to every window of the program while its loop keeps turning.
    setWindowModality(Qt::ApplicationModal);
    auto *layout = new QVBoxLayout(this);
    LabelStatus = new QLabel(this);
    LabelStatus->setObjectName(QStringLiteral("LabelStatus"));
    LabelStatus->setWordWrap(true);
    LabelStatus->setMinimumWidth(340);
    ButtonCancel = new QPushButton(RLMessage(rlmCancel), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    layout->addWidget(LabelStatus);
    layout->addWidget(ButtonCancel, 0, Qt::AlignHCenter);
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { reject(); });
}

void TfrmRLJobWait::SetStatusText(const QString &text)
{
    if (LabelStatus->text() != text)
        LabelStatus->setText(text);
}

QString TfrmRLJobWait::StatusText() const
{
    return LabelStatus->text();
}

void TfrmRLJobWait::reject()
{
    m_canceled = true;
    emit CancelPressed();
}

namespace {

// A failed job leaves the queue: with a retrying error policy it would print later, by surprise.
void cancelQuietly(TRLPrinterService &service, const QString &queue, int jobId)
{
    try {
        service.CancelJob(queue, jobId);
    } catch (...) {
        // The failure being reported is the one that matters to the user.
    }
}

} // namespace

void RLWaitForJob(const std::shared_ptr<TRLPrinterService> &service, const QString &queue, const QString &document,
                  int jobId, TRLJobEnd *end)
{
    auto ended = [end](TRLJobEnd how) {
        if (end)
            *end = how;
    };
    ended(TRLJobEnd::Open);
    TRLWork<TRLJobStatus> follow = RLFollowJob(service, queue, jobId);
    // Shown at the first look that finds the job still waiting; its Cancelar ends the wait.
    std::unique_ptr<TfrmRLJobWait> window;
    const TRLWaitEnd how = RLAwait(
        follow, QDeadlineTimer(QDeadlineTimer::Forever),
        [&](const QString &words) {
            if (!window) {
                window = std::make_unique<TfrmRLJobWait>(QApplication::activeWindow());
                QObject::connect(window.get(), &TfrmRLJobWait::CancelPressed, window.get(),
                                 [follow]() mutable { follow.Cancel(); });
                window->show();
            }
            window->SetStatusText(words.trimmed().isEmpty() ? RLMessage(rlmSending).arg(queue) : words);
        },
        true);
    window.reset();
    if (how == TRLWaitEnd::Quitting) {
        // The user was never told it printed: it must not print later unannounced. Not waited for.
        RLStartOnPool([service, queue, jobId] { cancelQuietly(*service, queue, jobId); });
        throw TRLAbort();
    }
    try {
        if (how == TRLWaitEnd::Canceled) {
            // A job that completed meanwhile printed, whatever was pressed.
            const TRLJobEnd cancel = RLCancelFollowedJob(*service, queue, document, jobId);
            ended(cancel);
            if (cancel == TRLJobEnd::Canceled)
                throw TRLAbort();
            if (cancel == TRLJobEnd::Completed)
                return;
            RLRaiseJobEnd(service->JobStatus(queue, jobId), queue, document, jobId);
            return;
        }
        const TRLJobStatus status = follow.Result();
        ended(RLJobEndOf(status));
        if (status.Outcome == TRLJobStatus::Completed)
            return;
        if (status.Outcome == TRLJobStatus::Failed || status.Outcome == TRLJobStatus::Canceled)
            cancelQuietly(*service, queue, jobId);
        RLRaiseJobEnd(status, queue, document, jobId);
    } catch (const TRLServiceUnreachable &silent) {
        // The job may still print when the service is back: the watcher follows it (and takes
        // it out, when that was asked) and reports its end.
        const bool cancel = how == TRLWaitEnd::Canceled;
        RLWatchJob(service, queue, document, jobId, cancel, true);
        ended(TRLJobEnd::Open);
        throw TRLException(RLJobText(cancel ? rlmCancelKept : rlmJobFateOpen, queue, document, jobId,
                                     silent.Message()));
    }
}

namespace {

struct WatchedJob
{
    std::shared_ptr<TRLPrinterService> service;
    QString queue;
    QString document;
    int jobId = 0;
    bool cancel = false;       // asked by the user; taken out as soon as the service answers
    bool fateTold = false;     // the user was told its end is not known yet
};
using WatchedJobPtr = std::shared_ptr<WatchedJob>;

// One thread follows the background jobs while there are any; it sleeps between looks and ends
// when the last one has ended, so that an idle program holds no thread for it.
class JobWatcher
{
public:
    ~JobWatcher() { Stop(); }

    void Add(WatchedJob job, bool toldAlready)
    {
        auto watched = std::make_shared<WatchedJob>(std::move(job));
        watched->fateTold = toldAlready;
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(watched));
        // A stop under way keeps its word: the thread being joined must end.
        if (!m_running && !m_stopping) {
            // A thread that ended has given up the lock for good: joining it here cannot block.
            if (m_thread.joinable())
                m_thread.join();
            m_running = true;
            m_thread = std::thread([this] { run(); });
        }
        m_wake.notify_all();
    }
    int Count()
    {
        std::lock_guard lock(m_mutex);
        return int(m_jobs.size());
    }
    bool Running()
    {
        std::lock_guard lock(m_mutex);
        return m_running;
    }
    void Stop()
    {
        std::thread thread;
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
            m_wake.notify_all();
            thread = std::move(m_thread);
        }
        if (thread.joinable())
            thread.join();
        std::lock_guard lock(m_mutex);
        m_jobs.clear();
        m_running = false;
        m_stopping = false;
    }

private:
    void run()
    {
        std::unique_lock lock(m_mutex);
        while (!m_stopping && !m_jobs.empty()) {
            const std::list<WatchedJobPtr> jobs = m_jobs;
            lock.unlock();
            std::list<WatchedJobPtr> ended;
            for (const WatchedJobPtr &job : jobs) {
                // A stop does not wait for the other jobs' answers.
                if (stopping())
                    break;
                if (look(*job))
                    ended.push_back(job);
            }
            lock.lock();
            for (const WatchedJobPtr &job : ended)
                m_jobs.remove(job);
            if (!m_jobs.empty())
                m_wake.wait_for(lock, std::chrono::milliseconds(RLJobPollMilliseconds), [this] { return m_stopping; });
        }
        m_running = false;
    }

    bool stopping()
    {
        std::lock_guard lock(m_mutex);
        return m_stopping;
    }

    // True when the job has ended, well or not.
    static bool look(WatchedJob &job)
    {
        try {
            TRLJobStatus status = job.service->JobStatus(job.queue, job.jobId);
            if (job.cancel && status.Outcome == TRLJobStatus::Waiting) {
                const TRLJobEnd how = RLCancelFollowedJob(*job.service, job.queue, job.document, job.jobId);
                if (how == TRLJobEnd::Canceled) {
                    RLReportNotice(RLJobText(rlmJobCanceledLate, job.queue, job.document, job.jobId));
                    return true;
                }
                status = job.service->JobStatus(job.queue, job.jobId);
            }
            switch (status.Outcome) {
            case TRLJobStatus::Waiting:
                return false;
            case TRLJobStatus::Completed:
                // Said only to whom it was left open.
                if (job.fateTold)
                    RLReportNotice(RLJobText(rlmJobPrintedLate, job.queue, job.document, job.jobId));
                return true;
            case TRLJobStatus::Failed:
            case TRLJobStatus::Canceled:
                cancelQuietly(*job.service, job.queue, job.jobId);
                break;
            case TRLJobStatus::Unknown:
                break;
            }
            RLRaiseJobEnd(status, job.queue, job.document, job.jobId);
        } catch (const TRLServiceUnreachable &silent) {
            // Followed on until the service answers; said once.
            if (!job.fateTold) {
                job.fateTold = true;
                RLReportError(std::make_exception_ptr(TRLException(
                    RLJobText(job.cancel ? rlmCancelKept : rlmJobFateOpen, job.queue, job.document, job.jobId,
                            silent.Message()))));
            }
            return false;
        } catch (...) {
            RLReportError(std::current_exception());
        }
        return true;
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::list<WatchedJobPtr> m_jobs;
    std::thread m_thread;
    bool m_running = false;
    bool m_stopping = false;
};

JobWatcher &watcher()
{
    static JobWatcher instance;
    return instance;
}

} // namespace

void RLWatchJob(const std::shared_ptr<TRLPrinterService> &service, const QString &queue, const QString &document,
                int jobId, bool cancel, bool toldOpen)
{
    watcher().Add({service, queue, document, jobId, cancel, false}, toldOpen);
}
int RLWatchedJobCount()
{
    return watcher().Count();
}

bool RLJobWatchRunning()
{
    return watcher().Running();
}

void RLStopJobWatch()
{
    watcher().Stop();
}
