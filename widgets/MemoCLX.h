#pragma once
// A multi-line plain-text box with one alignment for all its lines and an optional limit on
// its whole text (a line break counts as one character) that holds for typing, pasting and
// dropping alike.

#include <QTextEdit>
#include <functional>

class TMemoCLX : public QTextEdit
{
    Q_OBJECT
public:
    explicit TMemoCLX(QWidget *parent = nullptr);

    QStringList Lines() const;
    void SetLines(const QStringList &lines);
    void ClearLines();

    Qt::Alignment Alignment() const { return m_alignment; }
    void SetAlignment(Qt::Alignment alignment);

    // 0 means no limit.
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int length);

    // A change after which fits(text) is false is taken back with a beep, however it came.
    void SetFits(std::function<bool(const QString &)> fits);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    // How many characters may still be inserted in place of the selection.
    int room() const;
    void applyAlignment();
    void enforceLimit();
    void refuseUnfit();

    Qt::Alignment m_alignment = Qt::AlignLeft;
    int m_maxLength = 0;
    bool m_enforcing = false;
    std::function<bool(const QString &)> m_fits;
    QString m_fitText;
    int m_fitCaret = 0;
};
