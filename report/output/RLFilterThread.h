#pragma once
// Background output: a filter's page loop on a thread of its own, while the user-interface thread
// goes on. The worker touches windows only through synchronous hand-overs to that thread.

#include <QFuture>
#include <QPromise>
#include <QThread>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>

class QObject;
class TRLCustomFilter;

// How a run on a thread ended, for a caller that waits for it: finished with the run, carrying
// its error.
struct TRLRunOutcome
{
    TRLRunOutcome() { Ended.start(); }
    QPromise<int> Ended;
};

class TFilterThread : public QThread
{
    Q_OBJECT
public:
    // Starts the filter's page loop on a new thread that frees itself once it has ended. False
    // when the system gives no thread: nothing is then counted as running. With an outcome the
    // run's error goes there instead of to the program's error box. User-interface thread.
    static bool Launch(TRLCustomFilter *filter, std::shared_ptr<TRLRunOutcome> outcome = nullptr);
    ~TFilterThread() override;

    TRLCustomFilter *Filter() const { return m_filter; }
    // Finished once run() has ended (the object itself is deleted soon after).
    QFuture<int> Ended() const { return m_ended.future(); }

protected:
    void run() override;

private:
    TFilterThread(TRLCustomFilter *filter, std::shared_ptr<TRLRunOutcome> outcome);
    TRLCustomFilter *m_filter;
    std::shared_ptr<TRLRunOutcome> m_outcome;
    QPromise<int> m_ended;
};

// Waits (RLAwait) until the run has ended and raises its error; the silent abort when the
// program is asked to quit first.
void RLWaitForRun(const std::shared_ptr<TRLRunOutcome> &outcome);

// Runs body on the user-interface thread and waits for it; its error is raised again on the
// caller's thread (Qt's notify would swallow it). Runs body directly on that thread itself.
// Raises the silent abort when the hand-over cannot be made.
void RLHandOver(const std::function<void()> &body);

// Whether the user-interface thread is inside a hand-over body: a worker waits for it to return,
// so nothing there may wait for that worker.
bool RLInsideHandOver();
// Outside a hand-over: false, call not run. Inside one: call runs (in context, if it still lives)
// once the outermost hand-over has returned, and true.
bool RLDeferPastHandOver(QObject *context, std::function<void()> call);

// Whether a background run has started and not ended yet.
bool RLBackgroundRunning();
// Throws a TRLException that says a background print is still going on, when one is.
void RLCheckNoBackgroundRun();
// Runs call (in context, if it still lives) once no background run is left; at once when none is.
void RLWhenBackgroundRunsEnd(QObject *context, std::function<void()> call);
// Cancels every background run and waits (RLAwait), at most timeoutMs, for it to end, so that
// its hand-overs are still served. Does not wait inside a hand-over. True when no
// run is left. User-interface thread only.
bool RLFinishBackgroundRuns(int timeoutMs = 30000);

// Stack size of later background threads (0: the system's); a size the system refuses makes
// Launch fail.
void RLSetBackgroundStackSize(uint bytes);
