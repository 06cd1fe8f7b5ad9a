#pragma once
// A date field: two day, two month and four year digit slots between fixed separators (the
// regional date separator). Any slot may stay blank; judging the date is the caller's job.

#include <QLineEdit>

class TDateMaskEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TDateMaskEdit(QWidget *parent = nullptr);

    // The field's text with each blank slot read as a blank: "  /  /    " when untouched.
    QString Text() const;
    // Empties every slot.
    void Clear();

    // The regional date separator ("/" with Brazilian settings).
    static QChar DateSeparator();
};
