#pragma once
// Where a batch's slips go: one PDF a row, one PDF for all, or one print job.

#include "batch/BatchTable.h"
#include "batch/SlipPdfFile.h"

#include "report/output/RLPrinters.h"

#include <QHash>
#include <QSet>
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
    // The file the last slip went into; none for a print job.
    virtual QString LastPath() const { return {}; }
};

// The file names of a run's slips, made from the slip and not its row, so that a re-run with one
// more client replaces the same files: kind, CPF/CNPJ, receita code, due date and the payer's
// name. Slips that would share a name are told apart by a suffix in row order, so that two passes
// over one file agree.
class TPdfFileNames
{
public:
    // The next slip's name; sameAs gets the row that took its name first, else 0.
    QString Next(const TBatchSlip &slip, int *sameAs = nullptr);

private:
    QHash<QString, int> m_firstRow; // by plain name, in lower case
    QSet<QString> m_taken;          // in lower case: a shared folder may ignore case
};

// One PDF a slip in a folder.
class TPdfPerRowOutput : public TBatchOutput
{
public:
    explicit TPdfPerRowOutput(const QString &folder);
    void Add(const TBatchSlip &slip, TRLGraphicStorage &pages) override;
    void Finish() override {}
    QString Made(int slips) const override;
    QString LastPath() const override { return m_lastPath; }

private:
    QString m_folder;
    TPdfFileNames m_names;
    QString m_lastPath;
};

class TSinglePdfOutput : public TBatchOutput
{
public:
    // The title is the document's, which PDF readers show instead of the file's name.
    TSinglePdfOutput(const QString &file, const QString &title);
    void Add(const TBatchSlip &slip, TRLGraphicStorage &pages) override;
    void Finish() override;
    QString Made(int slips) const override;
    QString LastPath() const override { return m_path; }

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
