#include "widgets/DateMaskEdit.h"

#include <QLocale>

namespace {
constexpr QChar kBlank = u'_';
}

QChar TDateMaskEdit::DateSeparator()
{
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    for (const QChar c : format) {
        if (!c.isLetter() && c != QLatin1Char('\''))
            return c;
    }
    return QLatin1Char('/');
}

TDateMaskEdit::TDateMaskEdit(QWidget *parent) : QLineEdit(parent)
{
    // Qt's "0" is an optional digit: a blank slot never blocks leaving the field.
    QString sep(DateSeparator());
    if (QStringLiteral("AaNnXx90Dd#HhBb><!\\;[]{}").contains(sep.at(0)) || sep.at(0).isLetterOrNumber())
        sep.prepend(QLatin1Char('\\'));
    setInputMask(QStringLiteral("00") + sep + QStringLiteral("00") + sep + QStringLiteral("0000;") + kBlank);
}

QString TDateMaskEdit::Text() const
{
    QString shown = displayText();
    shown.replace(kBlank, QLatin1Char(' '));
    return shown;
}

void TDateMaskEdit::Clear()
{
    clear();
}
