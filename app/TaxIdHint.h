#pragma once
// Marks an entry field whose CPF, CNPJ or state registration has check digits that do not
// match: the text turns dark red and the tooltip says why. It follows the text as it changes
// and never refuses it, so leaving the field and printing go on as before.

#include "slips/TaxIdCheck.h"

#include <QObject>
#include <QPalette>

class QLineEdit;

class TTaxIdHint : public QObject
{
    Q_OBJECT
public:
    using Judge = TTaxIdVerdict (*)(const QString &);

    // Owned by the field; its validator, limit and other watchers stay as they are.
    static TTaxIdHint *Attach(QLineEdit *field, Judge judge);

    static inline const QColor kWrongText = QColor(0x8b, 0, 0);

private:
    TTaxIdHint(QLineEdit *field, Judge judge);
    void follow(const QString &text);
    void showHint(const QString &reason);
    void hideHint();

    QLineEdit *m_field;
    Judge m_judge;
    bool m_shown = false;
    // What the field had before the hint covered it.
    QString m_plainToolTip;
    QBrush m_plainText[QPalette::NColorGroups];
};
