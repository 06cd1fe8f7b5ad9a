#pragma once
// What a date field prints: its text, or nothing when no slot holds a digit (the bare mask would
// put its separators into the slip's box).

#include <QString>

inline QString PrintedDateText(const QString &text)
{
    for (const QChar c : text)
        if (c.isDigit())
            return text;
    return QString();
}
