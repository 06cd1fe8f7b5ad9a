#include "report/output/RLJobWait.h"

#include "report/base/RLExceptions.h"
#include "report/base/RLHost.h"
#include "report/base/RLConsts.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLWindowFont.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
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
}

namespace {

QString failureText(const QString &queue, const QString &document, const QString &reason)
{
    return RLMessage(rlmJobFailed).arg(queue, document, reason);
}

// A failed job leaves the queue: with a retrying error policy it would print later, by surprise.
void cancelQuietly(TRLPrinterService &service, const QString &queue, int jobId)
{
    try {
        service.CancelJob(queue, jobId);
    } catch (...) {
        // The failure being reported is the one that matters to the user.
    }
}

// Lets the loop turn for a while; ends early when the window is cancelled.
void pause(TfrmRLJobWait *window, int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (window->Canceled())
            loop.quit();
    });
    poll.start(20);
    loop.exec();
}

} // namespace

void RLWaitForJob(const std::shared_ptr<TRLPrinterService> &service, const QString &queue, const QString &document,
                  int jobId)
{
    std::unique_ptr<TfrmRLJobWait> window;
    for (;;) {
        const TRLJobStatus status = service->JobStatus(queue, jobId);
        if (window && window->Canceled()) {
            service->CancelJob(queue, jobId);
            throw TRLAbort();
        }
        if (status.Outcome == TRLJobStatus::Completed)
            return;
        if (status.Outcome == TRLJobStatus::Failed) {
            cancelQuietly(*service, queue, jobId);
            throw TRLException(failureText(queue, document, status.Message));
        }
        if (!window) {
            window = std::make_unique<TfrmRLJobWait>(QApplication::activeWindow());
            window->show();
        }
        window->SetStatusText(status.Message.isEmpty() ? RLMessage(rlmSending).arg(queue) : status.Message);
        pause(window.get(), RLJobPollMilliseconds);
    }
}

namespace {

struct WatchedJob
{
    std::shared_ptr<TRLPrinterService> service;
    QString queue;
    QString document;
    int jobId;
};

// One thread follows the background jobs while there are any; it sleeps between looks and ends
// when the last one has ended, so that an idle program holds no thread for it.
class JobWatcher
{
public:
    ~JobWatcher() { Stop(); }

    void Add(WatchedJob job)
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
        m_stopping = false;
        if (!m_running) {
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
    }

private:
    void run()
    {
        std::unique_lock lock(m_mutex);
        while (!m_stopping && !m_jobs.empty()) {
            std::list<WatchedJob> jobs = m_jobs;
            lock.unlock();
            std::list<int> ended;
            for (const WatchedJob &job : jobs)
                if (look(job))
                    ended.push_back(job.jobId);
            lock.lock();
            m_jobs.remove_if([&ended](const WatchedJob &job) {
                return std::find(ended.begin(), ended.end(), job.jobId) != ended.end();
            });
            if (!m_jobs.empty())
                m_wake.wait_for(lock, std::chrono::milliseconds(RLJobPollMilliseconds), [this] { return m_stopping; });
        }
        m_running = false;
    }

    // True when the job has ended, well or not.
    static bool look(const WatchedJob &job)
    {
        try {
            const TRLJobStatus status = job.service->JobStatus(job.queue, job.jobId);
            if (status.Outcome == TRLJobStatus::Waiting)
                return false;
            if (status.Outcome == TRLJobStatus::Failed) {
                cancelQuietly(*job.service, job.queue, job.jobId);
                RLReportError(std::make_exception_ptr(TRLException(failureText(job.queue, job.document, status.Message))));
            }
        } catch (...) {
            // The server gone or silent: said once, and the job is no longer followed.
            RLReportError(std::current_exception());
        }
        return true;
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::list<WatchedJob> m_jobs;
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
                int jobId)
{
    watcher().Add({service, queue, document, jobId});
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
