#pragma once
// A register used from the window's thread: every call runs on a thread of its own (where the
// register is opened, as Qt's database connections belong to the thread that made them), and
// the caller waits for it no longer than our own limit. A register on a server that stops
// answering then costs the window seconds, never a freeze.

#include "storage/Register.h"

#include <QObject>
#include <QPointer>
#include <QThread>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class TRegisterThread
{
public:
    using Factory = std::function<std::unique_ptr<TRegister>()>;

    // The register is made by `open` on the thread, at the first call; a failure to open is the
    // answer of every call.
    explicit TRegisterThread(Factory open, int timeoutMs = 10000);
    ~TRegisterThread();
    TRegisterThread(const TRegisterThread &) = delete;
    TRegisterThread &operator=(const TRegisterThread &) = delete;

    // Runs `call` on the register's thread and waits for its result; throws its TStorageError,
    // or a Timeout one when it has not answered within the limit.
    template <class R>
    R Run(std::function<R(TRegister &)> call);
    void Run(std::function<void(TRegister &)> call)
    {
        Run<bool>([call](TRegister &r) {
            call(r);
            return true;
        });
    }

    // Runs `call` there and returns at once; `done` then runs on the receiver's thread with the
    // result (not at all when the receiver is gone), `failed` with the error's text.
    template <class R>
    void Post(std::function<R(TRegister &)> call, QObject *receiver, std::function<void(R)> done,
              std::function<void(const QString &)> failed);

    int TimeoutMs() const { return m_timeoutMs; }

private:
    // Queues `job` to the thread.
    void queue(std::function<void()> job);
    // The register, opened on first use (on the thread); throws why it cannot be.
    TRegister &reg();
    [[noreturn]] void throwTimeout() const;

    Factory m_open;
    int m_timeoutMs;
    QThread m_thread;
    QObject *m_worker = nullptr; // lives on m_thread
    std::unique_ptr<TRegister> m_register;
    std::optional<TStorageError> m_openError;
};

namespace RegisterThreadDetail {

template <class R>
struct TWaitState
{
    std::mutex mutex;
    std::condition_variable ready;
    bool done = false;
    std::optional<R> value;
    std::exception_ptr error;
};

QString MessageOf(std::exception_ptr error);

} // namespace RegisterThreadDetail

template <class R>
R TRegisterThread::Run(std::function<R(TRegister &)> call)
{
    auto state = std::make_shared<RegisterThreadDetail::TWaitState<R>>();
    queue([this, state, call] {
        std::optional<R> value;
        std::exception_ptr error;
        try {
            value.emplace(call(reg()));
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard lock(state->mutex);
        state->value = std::move(value);
        state->error = error;
        state->done = true;
        state->ready.notify_all();
    });
    std::unique_lock lock(state->mutex);
    if (!state->ready.wait_for(lock, std::chrono::milliseconds(m_timeoutMs), [&] { return state->done; }))
        throwTimeout();
    if (state->error)
        std::rethrow_exception(state->error);
    return std::move(*state->value);
}

template <class R>
void TRegisterThread::Post(std::function<R(TRegister &)> call, QObject *receiver, std::function<void(R)> done,
                           std::function<void(const QString &)> failed)
{
    QPointer<QObject> target(receiver);
    queue([this, call, target, done, failed] {
        try {
            R value = call(reg());
            if (target)
                QMetaObject::invokeMethod(target, [done, value] { done(value); }, Qt::QueuedConnection);
        } catch (...) {
            const QString message = RegisterThreadDetail::MessageOf(std::current_exception());
            if (target)
                QMetaObject::invokeMethod(target, [failed, message] { failed(message); }, Qt::QueuedConnection);
        }
    });
}
