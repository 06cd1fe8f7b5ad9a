#include "storage/Register.h"

#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QVariant>

namespace RegisterText {

QString TaxKey(const QString &taxId)
{
    QString key;
    for (const QChar c : taxId)
        if (c.isDigit() || (c.unicode() < 128 && c.isLetter()))
            key += c.toUpper();
    return key;
}

QString NameKey(const QString &name)
{
    // Decomposed, the accents are marks of their own and drop out.
    const QString decomposed = name.normalized(QString::NormalizationForm_KD);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            key += c.toLower();
    return key.simplified();
}

QString MonthOfDate(const QString &date)
{
    const QDate day = QDate::fromString(date.trimmed(), QStringLiteral("dd/MM/yyyy"));
    return day.isValid() ? day.toString(QStringLiteral("MM/yyyy")) : QString();
}

QString OutcomeName(TIssueOutcome outcome)
{
    switch (outcome) {
    case TIssueOutcome::Completed:
        return QStringLiteral("concluída");
    case TIssueOutcome::Failed:
        return QStringLiteral("falhou");
    case TIssueOutcome::Cancelled:
        return QStringLiteral("cancelada");
    case TIssueOutcome::Unknown:
        break;
    }
    return QStringLiteral("não confirmada");
}

QString OutcomeKey(TIssueOutcome outcome)
{
    switch (outcome) {
    case TIssueOutcome::Completed:
        return QStringLiteral("completed");
    case TIssueOutcome::Failed:
        return QStringLiteral("failed");
    case TIssueOutcome::Cancelled:
        return QStringLiteral("cancelled");
    case TIssueOutcome::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

std::optional<TIssueOutcome> OutcomeFromKey(const QString &key)
{
    for (const TIssueOutcome o : {TIssueOutcome::Completed, TIssueOutcome::Failed, TIssueOutcome::Cancelled,
                                  TIssueOutcome::Unknown})
        if (OutcomeKey(o) == key)
            return o;
    return std::nullopt;
}

const char *const HistoryQuery =
    "SELECT id, kind, payer_name, payer_tax_key, fields, total, mode, printer, job_id, pdf_path, "
    "outcome, issued_at FROM slips WHERE (? = '' OR payer_tax_key = ?) AND (? = '' OR kind = ?) "
    "AND (? = '' OR due_month = ?) AND (? = '' OR outcome = ?) "
    "ORDER BY issued_at DESC, id DESC LIMIT ?";

QVariantList HistoryBindings(const THistoryFilter &filter, const QString &storedMonth)
{
    const QString payer = TaxKey(filter.payerTaxId);
    const QString outcome = filter.outcome ? OutcomeKey(*filter.outcome) : QString();
    return {payer, payer, filter.kind, filter.kind, storedMonth, storedMonth, outcome, outcome, filter.limit};
}

TIssuedSlip IssuedSlipOfRow(const QSqlQuery &q)
{
    TIssuedSlip s;
    s.id = q.value(0).toLongLong();
    s.kind = q.value(1).toString();
    s.payerName = q.value(2).toString();
    const QJsonObject fields = QJsonDocument::fromJson(q.value(4).toString().toUtf8()).object();
    for (auto it = fields.begin(); it != fields.end(); ++it)
        s.fields.insert(it.key(), it.value().toString());
    s.payerTaxId = s.fields.value(QStringLiteral("cpf_cnpj"), q.value(3).toString());
    s.total = q.value(5).toString();
    s.mode = q.value(6).toString();
    s.printer = q.value(7).toString();
    s.jobId = q.value(8).toInt();
    s.pdfPath = q.value(9).toString();
    s.outcome = OutcomeFromKey(q.value(10).toString()).value_or(TIssueOutcome::Unknown);
    s.issuedAt = QDateTime::fromString(q.value(11).toString(), Qt::ISODateWithMs);
    s.issuedAt.setTimeSpec(Qt::UTC);
    return s;
}

} // namespace RegisterText
