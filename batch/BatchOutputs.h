#pragma once
// Where a batch's slips go: one PDF a row, one PDF for all, or one print job.

#include "batch/BatchTable.h"
#include "batch/SlipPdfFile.h"

#include "report/output/RLPrinters.h"

#include <QString>
#include <functional>
#include <memory>

class TRLGraphicStorage;
class TRLSpoolFilter;
class TBatchInterrupt;

class TBatchOutput
{
public:
    virtual ~TBatchOutput() = default;
    // One slip's pages. Throws TBatchOutputError or the engine's errors.
    virtual void Add(const TBatchSlip &slip, TRLGraphicStorage &pages) = 0;
    // After the last slip. Throws as Add.
    virtual void Finish() = 0;
    // What was made, for the summary ("200 arquivos PDF em saida/").
    virtual QString Made(int slips) const = 0;
};

// `<row>-<DARF|GARE>-<payer>.pdf` in a folder.
class TPdfPerRowOutput : public TBatchOutput
{
public:
    explicit TPdfPerRowOutput(const QString &folder);
    void Add(const TBatchSlip &slip, TRLGraphicStorage &pages) override;
    void Finish() override {}
    QString Made(int slips) const override;

    // The file name of a slip, with the characters file systems refuse replaced.
    static QString FileName(const TBatchSlip &slip);

private:
    QString m_folder;
};

class TSinglePdfOutput : public TBatchOutput
{
public:
    explicit TSinglePdfOutput(const QString &file);
    void Add(const TBatchSlip &slip, TRLGraphicStorage &pages) override;
    void Finish() override;
    QString Made(int slips) const override;

private:
    QString m_path;
    TSlipPdfFile m_file;
};

// Every page into one job of the printer layer (its queue chosen beforehand), followed until CUPS
// says it completed, for at most waitSeconds. A job that fails, runs out of time or is interrupted
// throws TBatchPrintError; the last two are cancelled in CUPS first.
class TPrintOutput : public TBatchOutput
{
public:
    TPrintOutput(int waitSeconds, TBatchInterrupt *interrupt);
    ~TPrintOutput() override; // a job not finished is abandoned
    void Add(const TBatchSlip &slip, TRLGraphicStorage &pages) override;
    void Finish() override;
    QString Made(int slips) const override;
    // Receives CUPS's words about the job while it is waited for.
    void SetWaitWords(std::function<void(const QString &)> say) { m_say = std::move(say); }
    // How the job ended, for the history of prints.
    TRLJobEnd JobEnd() const { return m_end; }

private:
    // Cancels the job in CUPS and throws why, unless it completed meanwhile.
    void takeBack(const QString &queue, int jobId, const QString &why, const QString &words);

    std::unique_ptr<TRLSpoolFilter> m_filter;
    int m_waitSeconds;
    TBatchInterrupt *m_interrupt;
    std::function<void(const QString &)> m_say;
    TRLJobEnd m_end = TRLJobEnd::None;
    bool m_begun = false;
    bool m_finished = false;
};
