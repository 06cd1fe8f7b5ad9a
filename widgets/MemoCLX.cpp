#include "widgets/MemoCLX.h"

#include "widgets/Beep.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <climits>

TMemoCLX::TMemoCLX(QWidget *parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setTabChangesFocus(true);
    setLineWrapMode(QTextEdit::WidgetWidth);
    // A box of the slip replica: the text scrolls with the caret, no scroll bar takes its room.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QTextEdit::textChanged, this, &TMemoCLX::enforceLimit);
    connect(this, &QTextEdit::textChanged, this, &TMemoCLX::refuseUnfit);
    // The caret before a change arrives here after the change's textChanged.
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] {
        if (!m_enforcing)
            m_fitCaret = textCursor().position();
    });
}

QStringList TMemoCLX::Lines() const
{
    if (document()->isEmpty())
        return {};
    return toPlainText().split(QLatin1Char('\n'));
}

void TMemoCLX::SetLines(const QStringList &lines)
{
    setPlainText(lines.join(QLatin1Char('\n')));
    applyAlignment();
}

void TMemoCLX::ClearLines()
{
    clear();
    applyAlignment();
}

void TMemoCLX::SetAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    applyAlignment();
}

void TMemoCLX::applyAlignment()
{
    // Every paragraph, and the ones typed later, which inherit the format of their neighbour.
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(m_alignment);
    document()->setDefaultTextOption(option);
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setAlignment(m_alignment);
    all.mergeBlockFormat(format);
}

void TMemoCLX::SetMaxLength(int length)
{
    m_maxLength = qMax(0, length);
    enforceLimit();
}

int TMemoCLX::room() const
{
    if (m_maxLength == 0)
        return INT_MAX;
    const int length = int(toPlainText().size());
    const int selected = int(textCursor().selectedText().size());
    return qMax(0, m_maxLength - (length - selected));
}

void TMemoCLX::keyPressEvent(QKeyEvent *e)
{
    const bool newLine = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    const QString typed = newLine ? QStringLiteral("\n") : e->text();
    const bool inserts = !typed.isEmpty() && (newLine || typed.at(0).isPrint())
                         && !(e->modifiers() & Qt::ControlModifier);
    if (inserts && typed.size() > room()) {
        Beep::Sound();
        e->accept();
        return;
    }
    QTextEdit::keyPressEvent(e);
}

void TMemoCLX::inputMethodEvent(QInputMethodEvent *e)
{
    if (e->commitString().size() > room()) {
        QInputMethodEvent cut(e->preeditString(), e->attributes());
        cut.setCommitString(e->commitString().left(room()), e->replacementStart(),
                            e->replacementLength());
        QTextEdit::inputMethodEvent(&cut);
        return;
    }
    QTextEdit::inputMethodEvent(e);
}

void TMemoCLX::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText())
        return;
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.size() > room())
        Beep::Sound();
    textCursor().insertText(text.left(room()));
    ensureCursorVisible();
}

void TMemoCLX::enforceLimit()
{
    // Last net for any other way text arrives (undo, programmatic changes): cut the end.
    if (m_enforcing || m_maxLength == 0)
        return;
    const QString text = toPlainText();
    if (text.size() <= m_maxLength)
        return;
    m_enforcing = true;
    QTextCursor cursor(document());
    cursor.setPosition(m_maxLength);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    m_enforcing = false;
}

void TMemoCLX::SetFits(std::function<bool(const QString &)> fits)
{
    m_fits = std::move(fits);
    m_fitText = toPlainText();
    m_fitCaret = textCursor().position();
}

void TMemoCLX::refuseUnfit()
{
    if (m_enforcing || !m_fits)
        return;
    const QString text = toPlainText();
    if (text == m_fitText)
        return;
    if (m_fits(text)) {
        m_fitText = text;
        return;
    }
    m_enforcing = true;
    setPlainText(m_fitText);
    applyAlignment();
    QTextCursor cursor(document());
    cursor.setPosition(qMin(m_fitCaret, int(m_fitText.size())));
    setTextCursor(cursor);
    m_enforcing = false;
    Beep::Sound();
}
