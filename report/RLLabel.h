#pragma once
// One line of text: TRLLabel. Also the caption pair that every text control keeps.

#include "report/RLControl.h"

// The two texts of a text control: the design caption, and the print caption of the current pass
// (while its report prepares, reading and writing touch only the print caption).
class TRLTextCaption
{
public:
    QString Read(bool preparing) const { return preparing ? m_print : m_design; }
    void Write(const QString &text, bool preparing);
    const QString &Design() const { return m_design; }
    const QString &PrintText() const { return m_print; }
    void SetPrintText(const QString &text) { m_print = text; }

private:
    QString m_design;
    QString m_print;
};

// Width and height of a text in a font, measured as the page surface measures it.
QSize RLTextSize(const QFont &font, const QString &text);

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
    bool DoBeforePrint() override;
    void BeforeMeasureHeight() override;
    // The text measured for AutoSize: outside preparation an empty caption stands for the Name.
    QString measuredCaption() const;

    TRLTextCaption m_caption;
};

class TRLLabel : public TRLCustomLabel
{
    Q_OBJECT
public:
    explicit TRLLabel(QObject *owner = nullptr) : TRLCustomLabel(owner) {}
};

// The codes by which a text object records alignment and layout.
quint8 RLTextAlignmentCode(TRLTextAlignment alignment);
quint8 RLTextLayoutCode(TRLTextLayout layout);

// Shared by the text controls: BeforePrint, then the report's OnFilterText, decide the print text.
bool RLEvaluateText(TRLCustomControl *control, const QString &designText, const TRLBeforeTextEvent &beforePrint,
                    QString &printText);
