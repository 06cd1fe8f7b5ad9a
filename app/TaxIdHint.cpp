#include "app/TaxIdHint.h"

#include <QLineEdit>

TTaxIdHint *TTaxIdHint::Attach(QLineEdit *field, Judge judge)
{
    auto *hint = new TTaxIdHint(field, judge);
    connect(field, &QLineEdit::textChanged, hint, &TTaxIdHint::follow);
    hint->follow(field->text());
    return hint;
}

TTaxIdHint::TTaxIdHint(QLineEdit *field, Judge judge) : QObject(field), m_field(field), m_judge(judge) {}

void TTaxIdHint::follow(const QString &text)
{
    const TTaxIdVerdict verdict = m_judge(text);
    if (verdict.IsWrong())
        showHint(verdict.reason);
    else
        hideHint();
}

void TTaxIdHint::showHint(const QString &reason)
{
    if (!m_shown) {
        m_shown = true;
        m_plainToolTip = m_field->toolTip();
        QPalette palette = m_field->palette();
        for (int g = 0; g < QPalette::NColorGroups; ++g)
            m_plainText[g] = palette.brush(QPalette::ColorGroup(g), QPalette::Text);
        palette.setColor(QPalette::Text, kWrongText);
        m_field->setPalette(palette);
    }
    m_field->setToolTip(reason);
}

void TTaxIdHint::hideHint()
{
    if (!m_shown)
        return;
    m_shown = false;
    m_field->setToolTip(m_plainToolTip);
    // Only the text colour goes back: the rest of the palette may have changed meanwhile.
    QPalette palette = m_field->palette();
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        palette.setBrush(QPalette::ColorGroup(g), QPalette::Text, m_plainText[g]);
    m_field->setPalette(palette);
}
