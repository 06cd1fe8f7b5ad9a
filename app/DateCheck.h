#pragma once
// Judging the text of a date field: blank, not a date, too early, or good. Day, month and year
// are read in the order of the regional short date format, split at the regional separator.

#include <QDate>
#include <QString>

enum class TDateVerdict { Good, Blank, Invalid, Before1900 };

// `date`, when given, receives the date read from a Good text.
TDateVerdict CheckDateText(const QString &text, bool allowBlank, QDate *date = nullptr);

// The date as a full date field shows it: two-digit day and month, four-digit year, in the
// regional order and separator.
QString DateFieldText(const QDate &date);

// The date of a good date text; an invalid date otherwise.
QDate DateOfText(const QString &text);
