#pragma once
// Judging the text of a date field: blank, not a date, too early, or good. Day, month and year
// are read in the order of the regional short date format, split at the regional separator.

#include <QDate>
#include <QString>

enum class TDateVerdict { Good, Blank, Invalid, Before1900 };

TDateVerdict CheckDateText(const QString &text, bool allowBlank);
// The same, giving the date read when it is good.
TDateVerdict CheckDateText(const QString &text, bool allowBlank, QDate &date);
// The date of a good date text; an invalid date otherwise.
QDate DateOfText(const QString &text);
