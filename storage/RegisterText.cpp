#include "storage/Register.h"

#include <QDate>

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

} // namespace RegisterText
