#include "slips/SlipNames.h"

#include "slips/PrintedDate.h"

#include <QStringList>

namespace {

QString oneLine(const QString &text)
{
    return text.simplified();
}

} // namespace

QString SlipFileName(const TSlipIdentity &slip)
{
    QString date = oneLine(PrintedDateText(slip.DueDate));
    for (QChar &c : date)
        if (!c.isLetterOrNumber())
            c = QLatin1Char('-');
    QStringList parts;
    for (const QString &part : {oneLine(slip.Kind), oneLine(slip.Code), oneLine(slip.Payer), date})
        if (!part.isEmpty())
            parts << part;
    return parts.join(QLatin1Char(' '));
}

QString SlipJobTitle(const TSlipIdentity &slip)
{
    QStringList parts;
    for (const QString &part : {oneLine(slip.Kind), oneLine(slip.Payer), oneLine(PrintedDateText(slip.DueDate))})
        if (!part.isEmpty())
            parts << part;
    return parts.join(QStringLiteral(" - "));
}
