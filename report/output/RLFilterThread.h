#pragma once
// Background output: a filter's page loop on a thread of its own, while the user-interface thread
// goes on. The worker touches windows only through synchronous hand-overs to that thread.

#include <QThread>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>

class TRLCustomFilter;

// How a run on a thread ended, for a caller that waits for it.
struct TRLRunOutcome
{
    std::atomic<bool> Ended{false};
    std::exception_ptr Error; // written before Ended is set
};

class TFilterThread : public QThread
{
    Q_OBJECT
public:
    // Frees itself once it has ended. Create and start on the user-interface thread. With an
    // outcome the run's error goes there instead of to the program's error box.
    explicit TFilterThread(TRLCustomFilter *filter, std::shared_ptr<TRLRunOutcome> outcome = nullptr);
    ~TFilterThread() override;

    TRLCustomFilter *Filter() const { return m_filter; }

protected:
    void run() override;

private:
    TRLCustomFilter *m_filter;
    std::shared_ptr<TRLRunOutcome> m_outcome;
};

// Serves the user-interface thread's events until the run has ended; raises its error.
void RLWaitForRun(const std::shared_ptr<TRLRunOutcome> &outcome);

// Runs body on the user-interface thread and waits for it; its error is raised again on the
// caller's thread (Qt's notify would swallow it). Runs body directly on that thread itself.
// Raises the silent abort when the hand-over cannot be made.
void RLHandOver(const std::function<void()> &body);

// Whether a background run has started and not ended yet.
bool RLBackgroundRunning();
// Throws a TRLException that says a background print is still going on, when one is.
void RLCheckNoBackgroundRun();
// Cancels every background run and waits for it to end in a local event loop, so that its
// hand-overs are still served. User-interface thread only, while the event loop can run.
void RLFinishBackgroundRuns();
