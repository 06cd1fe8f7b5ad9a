#include "widgets/FitValidator.h"

#include "widgets/Beep.h"

#include <QLineEdit>

TFitValidator::TFitValidator(TFits fits, QObject *parent) : QValidator(parent), m_fits(std::move(fits)) {}

QValidator::State TFitValidator::validate(QString &text, int &) const
{
    return !m_fits || m_fits(text) ? Acceptable : Invalid;
}

void TFitValidator::Attach(QLineEdit *edit, TFits fits)
{
    edit->setValidator(new TFitValidator(std::move(fits), edit));
    // Silent in validate(): the owner also asks it about texts nobody typed.
    QObject::connect(edit, &QLineEdit::inputRejected, edit, [] { Beep::Sound(); });
}
