#include "widgets/NumEditCLX.h"

#include "widgets/Beep.h"
#include "widgets/ErrorRelay.h"
#include "widgets/LeaveWatcher.h"
#include "widgets/NumberText.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLocale>
#include <QMenu>
#include <QContextMenuEvent>

namespace {

constexpr char16_t kBackspace = 8, kCopy = 3, kPaste = 22, kCut = 24, kReturn = 13, kEscape = 27;

// The character a key press types, or a null QChar for keys that only edit or move
// (arrows, Delete, Home...), which the edit box handles unfiltered.
QChar typedCharacter(const QKeyEvent *e)
{
    if (e->key() == Qt::Key_Backspace)
        return QChar(kBackspace);
    // Return and Escape type control characters too, which the filter refuses.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        return QChar(kReturn);
    if (e->key() == Qt::Key_Escape)
        return QChar(kEscape);
    // Every key of a clipboard action (Ctrl+V and Shift+Insert alike) types its character.
    if (e->matches(QKeySequence::Copy))
        return QChar(kCopy);
    if (e->matches(QKeySequence::Paste))
        return QChar(kPaste);
    if (e->matches(QKeySequence::Cut))
        return QChar(kCut);
    if (e->modifiers() & Qt::ControlModifier) {
        if (e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
            return QChar(char16_t(e->key() - Qt::Key_A + 1));
        return QChar();
    }
    const QString text = e->text();
    if (text.size() == 1 && text.at(0).isPrint())
        return text.at(0);
    return QChar();
}

} // namespace

TNumEditCLX::TNumEditCLX(QWidget *parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Composed input would bypass the key filter; digits need none.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // A dropped text would arrive unfiltered.
    setAcceptDrops(false);
    setText(fixedText(0));
}

long double TNumEditCLX::Value() const
{
    return NumberText::Parse(text(), QLocale());
}

QString TNumEditCLX::fixedText(long double value) const
{
    return NumberText::Format(value, m_decimals, false, QLocale());
}

void TNumEditCLX::SetValue(long double value)
{
    setText(fixedText(value));
    if (hasFocus())
        selectAll();
    update();
}

void TNumEditCLX::SetDecimals(quint8 decimals)
{
    const long double current = Value();
    m_decimals = decimals;
    setText(fixedText(current));
    if (hasFocus())
        selectAll();
    update();
}

void TNumEditCLX::SetShowSeparator(bool show)
{
    if (show == m_showSeparator)
        return;
    m_showSeparator = show;
    update();
}

bool TNumEditCLX::event(QEvent *e)
{
    if (OnQtEvent)
        ErrorRelay::RunGuarded([&] { OnQtEvent(this, e); });
    return QLineEdit::event(e);
}

// A number beyond the extended type stays as typed here: whoever reads Value() reports it,
// and one message is enough.
void TNumEditCLX::focusInEvent(QFocusEvent *e)
{
    if (!TLeaveWatcher::IsTransient(e)) {
        try {
            setText(fixedText(Value()));
        } catch (const TNumberRangeError &) {
        }
        selectAll();
    }
    QLineEdit::focusInEvent(e);
}

void TNumEditCLX::focusOutEvent(QFocusEvent *e)
{
    if (!TLeaveWatcher::IsTransient(e)) {
        try {
            setText(NumberText::Format(Value(), m_decimals, m_showSeparator, QLocale()));
            if (!checkRange())
                return; // the focus is back here already; leaving must not undo the selection
            update();
        } catch (const TNumberRangeError &) {
        } catch (...) {
            ErrorRelay::Report(std::current_exception());
        }
    }
    QLineEdit::focusOutEvent(e);
}

bool TNumEditCLX::checkRange()
{
    if (m_minValue == 0 && m_maxValue == 0)
        return true;
    const long double value = Value();
    if (m_minValue <= value && value <= m_maxValue)
        return true;
    if (OnOutOfRange)
        OnOutOfRange(this);
    else
        Beep::Sound();
    selectAll();
    setFocus(Qt::OtherFocusReason);
    return false;
}

void TNumEditCLX::contextMenuEvent(QContextMenuEvent *e)
{
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's Paste goes through the key filter as Ctrl+V does.
    const QString pasteText = QLineEdit::tr("&Paste");
    for (QAction *action : menu->actions()) {
        if (action->text().section(QLatin1Char('\t'), 0, 0) != pasteText)
            continue;
        action->setObjectName(QStringLiteral("edit-paste"));
        disconnect(action, &QAction::triggered, this, nullptr);
        connect(action, &QAction::triggered, this, [this] { PasteFiltered(); });
    }
    menu->popup(e->globalPos());
}

void TNumEditCLX::PasteFiltered()
{
    QChar c(kPaste);
    if (!isReadOnly() && filterCharacter(c))
        paste();
}

void TNumEditCLX::mouseReleaseEvent(QMouseEvent *e)
{
    // The middle button pastes the desktop's selection: through the key filter too.
    QChar c(kPaste);
    if (e->button() == Qt::MiddleButton && !filterCharacter(c, false, QClipboard::Selection)) {
        e->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
    if (OnClickSignal)
        ErrorRelay::RunGuarded([&] { OnClickSignal(this); });
}

int TNumEditCLX::sign() const
{
    const QString current = text();
    for (const QChar c : current) {
        if (c >= QLatin1Char('1') && c <= QLatin1Char('9'))
            return current.startsWith(QLatin1Char('-')) ? -1 : 1;
    }
    return 0;
}

bool TNumEditCLX::wholeTextSelected() const
{
    return selectionLength() == text().size();
}

void TNumEditCLX::keyPressEvent(QKeyEvent *e)
{
    QChar c = typedCharacter(e);
    if (c.isNull()) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (!filterCharacter(c, e->modifiers().testFlag(Qt::KeypadModifier))) {
        e->accept();
        return;
    }
    if ((e->text().size() == 1 && c == e->text().at(0)) || c.unicode() < 32) {
        QLineEdit::keyPressEvent(e);
    } else {
        // The filter turned the key into another character (a full stop into a comma).
        QKeyEvent changed(e->type(), 0, e->modifiers(), QString(c), e->isAutoRepeat(), e->count());
        QLineEdit::keyPressEvent(&changed);
        e->setAccepted(changed.isAccepted());
    }
}

bool TNumEditCLX::filterCharacter(QChar &c, bool keypad, QClipboard::Mode pasteFrom)
{
    const QLocale locale;
    const QString decimalPoint = locale.decimalPoint();
    const QChar separator = decimalPoint.size() == 1 ? decimalPoint.at(0) : QLatin1Char(',');
    const QChar minus = QLatin1Char('-');
    const QChar fullStop = QLatin1Char('.');

    // Where amounts are written 1.234,56 a full stop from the main keyboard groups thousands
    // (the value skips it); the keypad's decimal key stays the decimal separator whatever it sends.
    const bool grouping = c == fullStop && separator == QLatin1Char(',') && !keypad;
    if (!grouping && (c == QLatin1Char(',') || c == fullStop))
        c = separator;

    const char16_t u = c.unicode();
    const bool allowed = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == separator || grouping
                         || (c == minus && m_acceptsNegative) || u == kBackspace || u == kCopy || u == kPaste
                         || u == kCut;
    if (!allowed) {
        Beep::Sound();
        return false;
    }
    if (u == kPaste && !m_acceptsNegative && QGuiApplication::clipboard()->text(pasteFrom).contains(minus)) {
        Beep::Sound();
        return false;
    }

    const QString current = text();
    const int caret = cursorPosition();
    const bool whole = wholeTextSelected();

    // Nothing may stand in front of the minus sign.
    if (sign() < 0 && caret == 0 && !hasSelectedText() && c != minus) {
        Beep::Sound();
        return false;
    }

    if (grouping) {
        // Thousands stand before the decimals only.
        const int point = int(current.indexOf(separator));
        const int lands = hasSelectedText() ? selectionStart() : caret;
        if (point >= 0 && lands > point && !whole) {
            Beep::Sound();
            return false;
        }
        return true;
    }

    if (c == separator && m_decimals == 0) {
        Beep::Sound();
        return false;
    }

    if (c == minus && !whole) {
        if (sign() > 0)
            setText(minus + current);
        else if (sign() < 0)
            setText(current.mid(1));
        setCursorPosition(qBound(0, caret + int(text().size() - current.size()), int(text().size())));
        return false;
    }

    if (c == separator) {
        const int existing = int(current.indexOf(separator));
        if (existing >= 0 && !whole) {
            setCursorPosition(existing + 1);
            return false;
        }
        if (whole)
            return true;
        // What follows the caret becomes the decimals: thousands full stops drop out of it.
        QString tail = current.mid(caret);
        tail.remove(fullStop);
        if (tail.size() + caret == current.size() && tail.size() <= m_decimals)
            return true;
        setText(current.left(caret) + tail.left(m_decimals));
        setCursorPosition(caret);
        return true;
    }

    // A full decimal part is overwritten from the caret rather than lengthened.
    const int point = int(current.indexOf(separator));
    if (point >= 0 && caret > point && current.size() - point - 1 >= m_decimals && !hasSelectedText()) {
        if (caret < current.size()) {
            if (u >= 32) {
                setText(current.left(current.size() - 1));
                setCursorPosition(caret);
            }
            return true;
        }
        if (u != kBackspace) {
            Beep::Sound();
            return false;
        }
    }
    return true;
}
