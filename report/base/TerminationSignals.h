#pragma once
// SIGTERM, SIGINT and SIGHUP end the program as closing its window does. The handler only writes
// a byte to a socket (nothing else is safe inside it); the event loop reads it and does the rest.
// A second signal, once the first is being handled, ends the process at once.

#include <QObject>

#include <functional>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    // One instance at a time. onSignal runs on the user-interface thread.
    TerminationSignals(std::function<void()> onSignal, QObject *parent = nullptr);
    ~TerminationSignals() override;

    // Runs onSignal now for a signal that came while no event loop was turning.
    void TakePending();

    // Whether the handlers are in place (false when the socket could not be made).
    bool Installed() const { return m_notifier != nullptr; }

private:
    void readSignal();

    std::function<void()> m_onSignal;
    QSocketNotifier *m_notifier = nullptr;
};
