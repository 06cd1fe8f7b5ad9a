#pragma once
// What a batch run shares with the window through the register: a row that names only its payer's
// CPF/CNPJ takes the rest from the register, `--cadastrar` adds or updates each row's payer, and
// every slip issued is recorded in the history. A register that cannot be opened stops nothing:
// the run says so once and goes on without it.

#include "batch/BatchTable.h"
#include "storage/Register.h"

#include <QList>
#include <QTextStream>
#include <memory>

class TBatchRegister
{
public:
    // The register of this user (none when it cannot be opened; `err` is then told why).
    static std::unique_ptr<TBatchRegister> Open(QTextStream &err);
    explicit TBatchRegister(std::unique_ptr<TRegister> reg);
    ~TBatchRegister();

    // A row that gives a CPF/CNPJ found in the register and leaves every payer column blank takes
    // them from it; true when it did. `err` (when given) is told, once per row.
    bool CompletePayer(TBatchSlip &slip, QTextStream *err);
    // Stores the row's payer (`--cadastrar`); a row without CPF/CNPJ or name is left out.
    void Register(const TBatchSlip &slip);

    // The slip went out (to be recorded with Flush, all at once).
    void Issued(const TBatchSlip &slip, const QString &mode, const QString &pdfPath);
    // The slips since the last flush went to `printer` as job `jobId`, with this outcome.
    void Printed(const QString &printer, int jobId, TIssueOutcome outcome);
    // Forgets the slips since the last flush (their output was never made).
    void Discard() { m_pending.clear(); }
    // Records what was issued; a failure is told on `err` (the slips themselves are out).
    void Flush(QTextStream &err);

private:
    std::unique_ptr<TRegister> m_register;
    QList<TIssuedSlip> m_pending;
};
