#pragma once
// Refuses a change to a one-line edit whose whole text the owner judges not to fit (where it
// prints), with the same beep as the edit's length limit.

#include <QValidator>
#include <functional>

class QLineEdit;

class TFitValidator : public QValidator
{
    Q_OBJECT
public:
    using TFits = std::function<bool(const QString &)>;
    TFitValidator(TFits fits, QObject *parent);

    State validate(QString &text, int &position) const override;

    // Gives edit the validator and a beep for every change it refuses.
    static void Attach(QLineEdit *edit, TFits fits);

private:
    TFits m_fits;
};
