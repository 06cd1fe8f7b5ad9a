#pragma once
// Multi-line text: TRLMemo, whose rows break at blanks to fit its width.

#include "report/RLLabel.h"

#include <QStringList>
#include <functional>

// Breaks a text into printed rows: hard line breaks always; with wordWrap, also where the engine's
// word-break search puts them, so that a row plus one blank fits in width. A word wider than the
// row is never cut: it runs past the width on a row of its own.
QStringList RLBreakRows(const QString &text, int width, bool wordWrap,
                        const std::function<int(const QString &)> &textWidth);

class TRLCustomMultiLine : public TRLCustomControl
{
    Q_OBJECT
public:
    explicit TRLCustomMultiLine(QObject *owner = nullptr);

    // The text is the lines joined by line breaks.
    QString Caption() const { return m_caption.Read(IsPreparing()); }
    void SetCaption(const QString &text);
    QStringList Lines() const;
    void SetLines(const QStringList &lines);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool on);
    bool IntegralHeight() const { return m_integralHeight; }
    void SetIntegralHeight(bool on) { m_integralHeight = on; }

    TRLBeforeTextEvent BeforePrint;

    QSize CalcSize() const override;
    void Print() override;

protected:
    bool DoBeforePrint() override { return m_caption.Evaluate(this, BeforePrint); }
    void BeforeMeasureHeight() override { m_caption.Restart(); }
    // The width is given; only the height follows the text.
    bool SizesWidth() const override { return false; }

    TRLTextCaption m_caption;
    bool m_wordWrap = true;
    bool m_integralHeight = false;
};

class TRLCustomMemo : public TRLCustomMultiLine
{
    Q_OBJECT
public:
    explicit TRLCustomMemo(QObject *owner = nullptr) : TRLCustomMultiLine(owner) {}
};

class TRLMemo : public TRLCustomMemo
{
    Q_OBJECT
public:
    explicit TRLMemo(QObject *owner = nullptr) : TRLCustomMemo(owner) {}
};
