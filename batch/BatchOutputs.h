#pragma once
// Where a batch's slips go: one PDF a row, one PDF for all, or one print job.

#include "batch/BatchTable.h"
#include "batch/SlipPdfFile.h"

#include <QString>
#include <memory>

class TRLGraphicStorage;
class TRLSpoolFilter;

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

// Every page into one job of the printer layer (its queue chosen beforehand).
class TPrintOutput : public TBatchOutput
{
public:
    TPrintOutput();
    ~TPrintOutput() override; // a job not finished is abandoned
    void Add(const TBatchSlip &slip, TRLGraphicStorage &pages) override;
    void Finish() override;
    QString Made(int slips) const override;

private:
    std::unique_ptr<TRLSpoolFilter> m_filter;
    bool m_begun = false;
    bool m_finished = false;
};
