#pragma once
// The fine and interest of a federal tax paid late. The fine is 0,33 % of the principal a day
// from the day after the due date to the payment date, at most 20 %; the interest is the Selic
// of every month after the due month and before the payment month, plus 1 % for the payment
// month (none when paid within the due month). Percentages are whole hundredths of a percent,
// amounts whole cents, and each amount is rounded to the cent once, halves up.

#include "slips/SelicTable.h"

#include <QDate>
#include <QString>

struct TLateCharges
{
    enum class TStatus {
        Computed,
        BlankPrincipal, // zero or negative
        NotLate,        // paid on or before the due date
        MissingMonth,   // a Selic month the table does not have
    };

    TStatus status = TStatus::BlankPrincipal;
    int daysLate = 0;
    int finePercent = 0; // hundredths of a percent
    qint64 fine = 0;     // cents
    int interestPercent = 0;
    qint64 interest = 0;
    // The Selic months summed; none when paid in the month after the due month.
    int selicMonths = 0;
    int firstYear = 0, firstMonth = 0, lastYear = 0, lastMonth = 0;
    // The first month the table lacks.
    int missingYear = 0, missingMonth = 0;

    bool IsComputed() const { return status == TStatus::Computed; }
    // "Selic de 02/2024 a 03/2025 (14 meses) + 1,00 % do mês do pagamento"
    QString MonthsText() const;
};

namespace LateCharges {

inline constexpr int kFinePerDay = 33;    // hundredths of a percent
inline constexpr int kFineLimit = 2000;
inline constexpr int kPaymentMonth = 100; // the payment month's 1 %

TLateCharges Compute(qint64 principalCents, const QDate &due, const QDate &paid, const TSelicTable &table);

// The whole cents of an amount typed into an amount field (two decimals).
qint64 Cents(long double amount);
// 1.234,56 with the regional separators.
QString FormatCents(qint64 cents);

// Why nothing was computed, for the user ("" when computed). `where` says where to add a
// missing month.
QString Reason(const TLateCharges &charges, const QDate &due, const QString &where);

} // namespace LateCharges
