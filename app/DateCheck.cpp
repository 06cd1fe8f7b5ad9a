#include "app/DateCheck.h"

#include "widgets/DateMaskEdit.h"

#include <QDate>
#include <QLocale>

namespace {

// Positions of day, month and year in the regional short date format (day-month-year when the
// format says nothing usable).
void fieldOrder(int &day, int &month, int &year)
{
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    const qsizetype d = format.indexOf(QLatin1Char('d')), m = format.indexOf(QLatin1Char('M')),
                    y = format.indexOf(QLatin1Char('y'));
    if (d < 0 || m < 0 || y < 0) {
        day = 0, month = 1, year = 2;
        return;
    }
    day = int((d > m) + (d > y));
    month = int((m > d) + (m > y));
    year = int((y > d) + (y > m));
}

// A part with blanks around it is read; an empty part or anything but digits is not.
bool readPart(const QString &part, int &value)
{
    const QString digits = part.trimmed();
    if (digits.isEmpty() || digits.size() > 4)
        return false;
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    value = digits.toInt();
    return true;
}

} // namespace

TDateVerdict CheckDateText(const QString &text, bool allowBlank, QDate *date)
{
    const QChar sep = TDateMaskEdit::DateSeparator();
    const QString trimmed = text.trimmed();
    if (allowBlank && (trimmed.isEmpty() || trimmed == QString(sep) + QStringLiteral("  ") + sep))
        return TDateVerdict::Blank;

    const QStringList parts = text.split(sep);
    int order[3];
    fieldOrder(order[0], order[1], order[2]);
    int values[3] = {0, 0, 0};
    if (parts.size() != 3)
        return TDateVerdict::Invalid;
    for (int i = 0; i < 3; ++i)
        if (!readPart(parts.at(i), values[i]))
            return TDateVerdict::Invalid;
    int year = values[order[2]];
    // A year of one or two digits belongs to the current century, as the standard
    // conversion reads it.
    if (parts.at(order[2]).trimmed().size() <= 2)
        year += QDate::currentDate().year() / 100 * 100;
    const QDate read(year, values[order[1]], values[order[0]]);
    if (year < 1 || !read.isValid())
        return TDateVerdict::Invalid;
    if (read < QDate(1900, 1, 1))
        return TDateVerdict::Before1900;
    if (date)
        *date = read;
    return TDateVerdict::Good;
}

QString DateFieldText(const QDate &date)
{
    int order[3];
    fieldOrder(order[0], order[1], order[2]);
    QString parts[3];
    parts[order[0]] = QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'));
    parts[order[1]] = QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'));
    parts[order[2]] = QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
    const QChar sep = TDateMaskEdit::DateSeparator();
    return parts[0] + sep + parts[1] + sep + parts[2];
}

QDate DateOfText(const QString &text)
{
    QDate date;
    return CheckDateText(text, false, &date) == TDateVerdict::Good ? date : QDate();
}
