#pragma once
// Slow calls to outside services (the print server) never run on the user-interface thread: there
// they go to a thread of Qt's pool while the caller's windows keep painting.

#include "report/base/RLExceptions.h"
#include "report/base/RLWork.h"

#include <functional>
#include <type_traits>

// Whether the caller is the user-interface thread.
bool RLOnUserThread();

// Shows the busy cursor for as long as it lives, on the user-interface thread.
class TRLBusyCursor
{
public:
    TRLBusyCursor();
    ~TRLBusyCursor();
    TRLBusyCursor(const TRLBusyCursor &) = delete;
    TRLBusyCursor &operator=(const TRLBusyCursor &) = delete;

private:
    bool m_shown = false;
};

// Runs body and gives its result, raising its error again in the caller. On the user-interface
// thread body runs on the pool while the caller waits (RLAwait) under a busy cursor; anywhere else
// it runs at once. Body must own what it uses and end on its own (its calls carry their own
// timeouts). When the program is asked to quit meanwhile, the silent abort is raised at once and
// body's result is never read.
template <class T>
T RLRunOffUserThread(std::function<T()> body)
{
    if (!RLOnUserThread())
        return body();
    // A void body gives a token result: reading a result is what raises the body's error again.
    using Result = std::conditional_t<std::is_void_v<T>, int, T>;
    TRLWork<Result> work = RLStartWork<Result>([body = std::move(body)](QPromise<Result> &promise) {
        if constexpr (std::is_void_v<T>) {
            body();
            promise.addResult(0);
        } else {
            promise.addResult(body());
        }
    });
    TRLBusyCursor busy;
    if (RLAwait(work) != TRLWaitEnd::Finished)
        throw TRLAbort();
    if constexpr (std::is_void_v<T>)
        work.Result();
    else
        return work.Result();
}
