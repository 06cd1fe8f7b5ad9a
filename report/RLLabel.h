#pragma once
// One line of text: TRLLabel. Also the caption pair that every text control keeps.

#include "report/RLControl.h"

// The two texts of a text control: the design caption, and the print caption of the current pass
// (while its report prepares, reading and writing touch only the print caption). Labels and memos
// share through it everything their captions do.
class TRLTextCaption
{
public:
    QString Read(bool preparing) const { return preparing ? m_print : m_design; }
    void Write(const QString &text, bool preparing);
    const QString &Design() const { return m_design; }
    const QString &PrintText() const { return m_print; }
    void SetPrintText(const QString &text) { m_print = text; }
    // The text measured for AutoSize: outside preparation an empty caption stands for the Name.
    QString Measured(const TRLCustomControl *control) const;
    // Can-print of a text control: BeforePrint, then the report's OnFilterText, decide the print
    // caption and whether the control prints.
    bool Evaluate(TRLCustomControl *control, const TRLBeforeTextEvent &beforePrint);
    // Measuring height starts again from the design caption.
    void Restart() { m_print = m_design; }

private:
    QString m_design;
    QString m_print;
};

class TRLCustomLabel : public TRLCustomControl
{
    Q_OBJECT
public:
    explicit TRLCustomLabel(QObject *owner = nullptr);

    QString Caption() const { return m_caption.Read(IsPreparing()); }
    void SetCaption(const QString &caption);

    TRLBeforeTextEvent BeforePrint;

    QSize CalcSize() const override;
    void Print() override;

protected:
    bool DoBeforePrint() override { return m_caption.Evaluate(this, BeforePrint); }
    void BeforeMeasureHeight() override { m_caption.Restart(); }

    TRLTextCaption m_caption;
};

class TRLLabel : public TRLCustomLabel
{
    Q_OBJECT
public:
    explicit TRLLabel(QObject *owner = nullptr) : TRLCustomLabel(owner) {}
};

// Where a line of text starts in r: the text measured with one trailing blank (textWidth) and half a
// blank (blankWidth) added on the left, so that it sits optically centred.
int RLTextOriginX(TRLTextAlignment alignment, const TRLRect &r, int blankWidth, int textWidth);

// The codes by which a text object records alignment and layout.
quint8 RLTextAlignmentCode(TRLTextAlignment alignment);
quint8 RLTextLayoutCode(TRLTextLayout layout);
