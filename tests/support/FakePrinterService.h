#pragma once
// A printer service that keeps what it is sent, for tests of the printer layer without CUPS.

#include "report/base/RLExceptions.h"
#include "report/output/RLPrinters.h"

#include <QFile>
#include <QSemaphore>

#include <memory>

struct FakePrinterState
{
    QList<TRLPrinterQueue> queues;
    QString listFailure;
    QString checkFailure; // thrown by CheckQueue when set
    QString submitFailure; // thrown by Submit when set
    bool mediaTaken = true;
    struct Sent
    {
        TRLPrintJob job;
        QByteArray document;
    };
    QList<Sent> sent;
};

class FakePrinterService : public TRLPrinterService
{
public:
    explicit FakePrinterService(std::shared_ptr<FakePrinterState> state) : m_state(std::move(state)) {}

    QList<TRLPrinterQueue> Queues(QString *failure) override
    {
        if (failure)
            *failure = m_state->listFailure;
        return m_state->queues;
    }
    void CheckQueue(const QString &) override
    {
        if (!m_state->checkFailure.isEmpty())
            throw TRLException(m_state->checkFailure);
    }
    bool SupportsMedia(const QString &, const QString &, double, double) override { return m_state->mediaTaken; }
    int Submit(const TRLPrintJob &job) override
    {
        if (!m_state->submitFailure.isEmpty())
            throw TRLException(m_state->submitFailure);
        QFile f(job.DocumentFile);
        f.open(QIODevice::ReadOnly);
        m_state->sent.append({job, f.readAll()});
        return int(m_state->sent.size());
    }

private:
    std::shared_ptr<FakePrinterState> m_state;
};

// The fake service held at the start of every job until the test lets it go (entered tells that
// a job is waiting there).
class HeldPrinterService : public FakePrinterService
{
public:
    HeldPrinterService(std::shared_ptr<FakePrinterState> state, std::shared_ptr<QSemaphore> gate,
                       std::shared_ptr<QSemaphore> entered)
        : FakePrinterService(std::move(state)), m_gate(std::move(gate)), m_entered(std::move(entered))
    {
    }
    void CheckQueue(const QString &queue) override
    {
        m_entered->release();
        m_gate->acquire();
        FakePrinterService::CheckQueue(queue);
    }

private:
    std::shared_ptr<QSemaphore> m_gate;
    std::shared_ptr<QSemaphore> m_entered;
};

inline TRLPrinterQueue LocalQueue(const QString &name, const QString &port, bool isDefault = false)
{
    TRLPrinterQueue q;
    q.Name = name;
    q.Port = port;
    q.IsDefault = isDefault;
    return q;
}

// The fake service with one default queue, GuiaPDF, made the engine's. Given a gate, each job waits
// at its start until the gate opens, and entered counts the jobs that got there.
inline std::shared_ptr<FakePrinterState> InstallFakePrinter(std::shared_ptr<QSemaphore> gate = {},
                                                            std::shared_ptr<QSemaphore> entered = {})
{
    auto state = std::make_shared<FakePrinterState>();
    state->queues = {LocalQueue(QStringLiteral("GuiaPDF"), QStringLiteral("cups-pdf:/X"), true)};
    if (gate)
        SetRLPrinterService(std::make_unique<HeldPrinterService>(state, std::move(gate), std::move(entered)));
    else
        SetRLPrinterService(std::make_unique<FakePrinterService>(state));
    return state;
}

// The document of the index-th job sent, written into the folder to be read back.
inline QString SaveSentDocument(const FakePrinterState &state, int index, const QString &folder)
{
    const QString file = folder + QStringLiteral("/job%1.pdf").arg(index);
    QFile f(file);
    if (f.open(QIODevice::WriteOnly))
        f.write(state.sent.at(index).document);
    return file;
}
