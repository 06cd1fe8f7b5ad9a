#include "batch/BatchRegister.h"

#include "batch/IssueRecords.h"
#include "storage/RegisterChoice.h"

std::unique_ptr<TBatchRegister> TBatchRegister::Open(QTextStream &err)
{
    try {
        return std::make_unique<TBatchRegister>(RegisterChoice::Open());
    } catch (const TStorageError &e) {
        err << QStringLiteral("zavenor: aviso: %1 As guias saem sem o cadastro e não ficam no histórico.").arg(e.Message())
            << Qt::endl;
    }
    return nullptr;
}

TBatchRegister::TBatchRegister(std::unique_ptr<TRegister> reg) : m_register(std::move(reg)) {}

TBatchRegister::~TBatchRegister() = default;

bool TBatchRegister::CompletePayer(TBatchSlip &slip, QTextStream *err)
{
    const TClient given = IssueRecords::ClientOf(slip);
    const bool blank = given.name.trimmed().isEmpty() && given.address.trimmed().isEmpty()
        && given.city.trimmed().isEmpty() && given.uf.trimmed().isEmpty() && given.phone.trimmed().isEmpty()
        && given.stateRegistration.trimmed().isEmpty();
    if (!blank || RegisterText::TaxKey(given.taxId).isEmpty())
        return false;
    const std::optional<TClient> found = m_register->ClientByTaxId(given.taxId);
    if (!found)
        return false;
    IssueRecords::FillPayer(slip, *found);
    if (err)
        *err << QStringLiteral("linha %1: contribuinte %2 tirado do cadastro (%3)")
                    .arg(slip.row)
                    .arg(given.taxId.trimmed(), found->name)
             << Qt::endl;
    return true;
}

void TBatchRegister::Register(const TBatchSlip &slip)
{
    TClient client = IssueRecords::ClientOf(slip);
    if (client.name.trimmed().isEmpty() || RegisterText::TaxKey(client.taxId).isEmpty())
        return;
    // What the row does not say (notes, and a DARF's address) stays as the register has it.
    if (const std::optional<TClient> known = m_register->ClientByTaxId(client.taxId)) {
        client.id = known->id;
        client.notes = known->notes;
        if (slip.kind == TSlipKind::Darf) {
            client.address = known->address;
            client.city = known->city;
            client.uf = known->uf;
            client.phone = known->phone;
            client.stateRegistration = known->stateRegistration;
        }
    }
    m_register->SaveClient(client);
}

void TBatchRegister::Issued(const TBatchSlip &slip, const QString &mode, const QString &pdfPath)
{
    TIssuedSlip record = IssueRecords::FromSlip(slip, mode);
    record.pdfPath = pdfPath;
    record.outcome = pdfPath.isEmpty() ? TIssueOutcome::Unknown : TIssueOutcome::Completed;
    record.issuedAt = QDateTime::currentDateTimeUtc();
    m_pending.append(record);
}

void TBatchRegister::Printed(const QString &printer, int jobId, TIssueOutcome outcome)
{
    for (TIssuedSlip &record : m_pending) {
        if (!record.pdfPath.isEmpty())
            continue;
        record.printer = printer;
        record.jobId = jobId;
        record.outcome = outcome;
    }
}

void TBatchRegister::Flush(QTextStream &err)
{
    if (m_pending.isEmpty())
        return;
    try {
        m_register->RecordIssues(m_pending);
    } catch (const TStorageError &e) {
        err << QStringLiteral("zavenor: aviso: %1 As %2 guias emitidas não ficaram no histórico.")
                   .arg(e.Message())
                   .arg(m_pending.size())
            << Qt::endl;
    }
    m_pending.clear();
}
