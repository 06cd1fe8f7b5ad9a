#pragma once
// The small dialog in which the user nudges one printer's print to line up with a pre-printed
// form: horizontal and vertical offsets in millimetres, a test page with the offsets typed so
// far, and OK to keep them in the user's settings.

#include "report/output/RLTestPage.h"

#include <QDialog>
#include <QDoubleSpinBox>
#include <QString>

class QLabel;
class QPushButton;
class QTimer;

// The texts of the position adjustment, in the engine's language.
enum TRLPositionText {
    ptAdjustButton,
    ptTitle,
    ptPrinter,
    ptHorizontal,
    ptVertical,
    ptRange,
    ptTestPage,
    ptNotSaved,
};
QString RLPositionText(TRLPositionText text);

// A millimetre field: one decimal, the limits of the adjustment, and a full stop typed as the
// decimal separator (with Brazilian settings it would otherwise group thousands: 1.5 read as 15).
class TRLMillimetreBox : public QDoubleSpinBox
{
    Q_OBJECT
public:
    explicit TRLMillimetreBox(QWidget *parent = nullptr);
    QValidator::State validate(QString &text, int &pos) const override;
};

class TRLPositionDialog : public QDialog
{
    Q_OBJECT
public:
    // For the queue's adjustment as the store keeps it; layout is the page the test prints.
    TRLPositionDialog(const QString &queue, const TRLTestPageLayout &layout, QWidget *parent = nullptr);
    ~TRLPositionDialog() override;

    // The offsets in the fields, with any text still being typed taken in.
    TRLPrintOffset FieldOffset() const;

    // Handlers.
    void ButtonTestPageClick();
    void UpdateTestPageButton();

    QLabel *LabelPrinter = nullptr;
    TRLMillimetreBox *EditHorizontal = nullptr;
    TRLMillimetreBox *EditVertical = nullptr;
    QLabel *LabelRange = nullptr;
    QPushButton *ButtonTestPage = nullptr;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;

public slots:
    // Keeps the offsets in the settings; stays open when they cannot be written.
    void accept() override;

private:
    QString m_queue;
    TRLTestPageLayout m_layout;
    QTimer *m_busyWatch = nullptr;
};
