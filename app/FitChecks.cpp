#include "app/FitChecks.h"

#include "slips/SlipFieldFits.h"
#include "widgets/FitValidator.h"
#include "widgets/MemoCLX.h"

#include <QLineEdit>

void FitChecks::Attach(QWidget *page)
{
    for (QLineEdit *edit : page->findChildren<QLineEdit *>()) {
        // Dates keep to their mask and amounts to their own limits.
        if (edit->metaObject() != &QLineEdit::staticMetaObject || edit->objectName().isEmpty())
            continue;
        const QString field = edit->objectName();
        TFitValidator::Attach(edit, [field](const QString &text) { return SlipFieldFits(field, text); });
    }
    for (TMemoCLX *memo : page->findChildren<TMemoCLX *>()) {
        if (memo->isReadOnly() || memo->objectName().isEmpty())
            continue;
        const QString field = memo->objectName();
        memo->SetFits([field](const QString &text) { return SlipFieldFits(field, text); });
    }
}
