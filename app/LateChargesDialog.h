#pragma once
// "Calcular acréscimos...": the DARF's fine and interest for a payment date, shown figure by
// figure; "Aplicar" hands them to the caller, "Cancelar" changes nothing.

#include "slips/LateCharges.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class TDateMaskEdit;
class TLeaveWatcher;

class TfrmAcrescimos : public QDialog
{
    Q_OBJECT
public:
    // checkDate shows why a date is refused (the window's date check) and answers whether it
    // is good; the payment date starts as today.
    TfrmAcrescimos(qint64 principalCents, const QDate &due, const TSelicTable &table,
                   std::function<bool(const QString &)> checkDate, QWidget *parent = nullptr);

    // What "Aplicar" writes; computed only when IsComputed().
    const TLateCharges &Charges() const { return m_charges; }

    TDateMaskEdit *meDtPagto = nullptr;
    QLabel *LbDias = nullptr;
    QLabel *LbMultaPerc = nullptr;
    QLabel *LbMulta = nullptr;
    QLabel *LbJurosPerc = nullptr;
    QLabel *LbJuros = nullptr;
    QLabel *LbMeses = nullptr;
    QLabel *LbMotivo = nullptr;
    QPushButton *BBAplicar = nullptr;
    QPushButton *BBCancelar = nullptr;

private:
    void recompute();
    void meDtPagtoExit();

    qint64 m_principal;
    QDate m_due;
    const TSelicTable &m_table;
    std::function<bool(const QString &)> m_checkDate;
    TLeaveWatcher *m_leave = nullptr;
    TLateCharges m_charges;
};
