#include "report/base/RLQueuedCall.h"

#include <QMetaObject>
#include <QObject>

#include <memory>
#include <mutex>

// Under ThreadSanitizer this file is built uninstrumented: Qt's event (built on the sender's thread,
// read and freed on the receiver's) is ordered by Qt's locks, which the tool cannot see. The call
// itself goes through the mailbox's mutex, which it sees.

namespace {

struct Mailbox
{
    std::mutex mutex;
    std::function<void()> call;
};

class Delivery
{
public:
    explicit Delivery(std::shared_ptr<Mailbox> box) : m_box(std::move(box)) {}
    Delivery(Delivery &&) = default;
    Delivery(const Delivery &) = delete;
    Delivery &operator=(const Delivery &) = delete;

    void operator()() const
    {
        std::function<void()> call;
        {
            std::lock_guard lock(m_box->mutex);
            call = std::move(m_box->call);
        }
        if (call)
            call();
    }

private:
    std::shared_ptr<Mailbox> m_box;
};

} // namespace

bool RLQueueCall(QObject *receiver, std::function<void()> call)
{
    auto box = std::make_shared<Mailbox>();
    // Held while Qt builds and posts its event, so that the receiver takes the call only after.
    std::lock_guard lock(box->mutex);
    box->call = std::move(call);
    return QMetaObject::invokeMethod(receiver, Delivery(box), Qt::QueuedConnection);
}
