#pragma once
// One-line edit box for amounts: only a signed decimal number with at most Decimals() decimals
// can be typed; shown without thousands separators while focused and with them (optionally)
// after leaving; the number lives in the text and is parsed again at every read of Value().

#include <QClipboard>
#include <QLineEdit>
#include <functional>

class TNumEditCLX : public QLineEdit
{
    Q_OBJECT
public:
    explicit TNumEditCLX(QWidget *parent = nullptr);

    // Throws TNumberRangeError when the text holds a number beyond the extended type.
    long double Value() const;
    void SetValue(long double value);

    quint8 Decimals() const { return m_decimals; }
    void SetDecimals(quint8 decimals);

    long double MaxValue() const { return m_maxValue; }
    void SetMaxValue(long double value) { m_maxValue = value; }
    long double MinValue() const { return m_minValue; }
    void SetMinValue(long double value) { m_minValue = value; }

    bool ShowSeparator() const { return m_showSeparator; }
    void SetShowSeparator(bool show);

    // When off, the minus sign is refused like any other wrong key, and so is a paste that
    // holds one: the control cannot be made to show a negative amount by typing.
    bool AcceptsNegative() const { return m_acceptsNegative; }
    void SetAcceptsNegative(bool accepts) { m_acceptsNegative = accepts; }

    // Pastes the clipboard when the key filter lets the paste character through.
    void PasteFiltered();

    int MaxLength() const { return maxLength(); }
    void SetMaxLength(int length) { setMaxLength(length); }

    // Events; none is required.
    std::function<void(TNumEditCLX *)> OnClickSignal;
    std::function<void(TNumEditCLX *)> OnOutOfRange;
    // Sees every event first; it cannot stop the control's own handling.
    std::function<void(TNumEditCLX *, QEvent *)> OnQtEvent;

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;

private:
    QString fixedText(long double value) const;
    bool checkRange();
    // Applies the key filter to one typed character; false means the key is swallowed.
    // `keypad`: the key came from the numeric keypad; `pasteFrom`: where a paste takes its text.
    bool filterCharacter(QChar &c, bool keypad = false, QClipboard::Mode pasteFrom = QClipboard::Clipboard);
    bool wholeTextSelected() const;
    // The sign of the number in the text, without converting it (the key filter must work
    // even on a text too long to convert).
    int sign() const;

    quint8 m_decimals = 2;
    long double m_maxValue = 0;
    long double m_minValue = 0;
    bool m_showSeparator = true;
    bool m_acceptsNegative = true;
};
