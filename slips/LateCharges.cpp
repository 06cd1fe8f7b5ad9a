#include "slips/LateCharges.h"

#include "slips/CurrencyTotal.h"

#include <QLocale>
#include <algorithm>

namespace {

// principal × percent, in cents, to the nearest cent with halves up (the principal is positive).
qint64 share(qint64 principalCents, int percent)
{
    const __int128 product = __int128(principalCents) * percent;
    return qint64((product + 5000) / 10000);
}

} // namespace

QString TLateCharges::MonthsText() const
{
    const QString paymentMonth = QStringLiteral("%1 % do mês do pagamento").arg(SelicText::FormatRate(LateCharges::kPaymentMonth));
    if (selicMonths == 0)
        return QStringLiteral("só %1").arg(paymentMonth);
    return QStringLiteral("Selic de %1 a %2 (%3 %4) + %5")
        .arg(SelicText::MonthName(firstYear, firstMonth), SelicText::MonthName(lastYear, lastMonth))
        .arg(selicMonths)
        .arg(selicMonths == 1 ? QStringLiteral("mês") : QStringLiteral("meses"), paymentMonth);
}

namespace LateCharges {

TLateCharges Compute(qint64 principalCents, const QDate &due, const QDate &paid, const TSelicTable &table)
{
    TLateCharges c;
    if (principalCents <= 0) {
        c.status = TLateCharges::TStatus::BlankPrincipal;
        return c;
    }
    if (!due.isValid() || !paid.isValid() || paid <= due) {
        c.status = TLateCharges::TStatus::NotLate;
        return c;
    }
    c.daysLate = int(due.daysTo(paid));
    c.finePercent = int(std::min<qint64>(qint64(c.daysLate) * kFinePerDay, kFineLimit));
    c.fine = share(principalCents, c.finePercent);

    const int dueKey = due.year() * 12 + due.month() - 1;
    const int paidKey = paid.year() * 12 + paid.month() - 1;
    if (paidKey > dueKey) {
        int sum = kPaymentMonth;
        for (int key = dueKey + 1; key < paidKey; ++key) {
            const int year = key / 12, month = key % 12 + 1;
            const std::optional<int> rate = table.Rate(year, month);
            // Never an interest from part of the months.
            if (!rate) {
                TLateCharges missing;
                missing.status = TLateCharges::TStatus::MissingMonth;
                missing.missingYear = year;
                missing.missingMonth = month;
                return missing;
            }
            sum += *rate;
        }
        c.interestPercent = sum;
        c.selicMonths = paidKey - dueKey - 1;
        if (c.selicMonths > 0) {
            c.firstYear = (dueKey + 1) / 12, c.firstMonth = (dueKey + 1) % 12 + 1;
            c.lastYear = (paidKey - 1) / 12, c.lastMonth = (paidKey - 1) % 12 + 1;
        }
        c.interest = share(principalCents, c.interestPercent);
    }
    c.status = TLateCharges::TStatus::Computed;
    return c;
}

qint64 Cents(long double amount)
{
    const qint64 currency = CurrencyTotal::ToCurrency(amount);
    return currency >= 0 ? (currency + 50) / 100 : (currency - 50) / 100;
}

QString FormatCents(qint64 cents)
{
    return CurrencyTotal::Format(cents * 100, QLocale());
}

QString Reason(const TLateCharges &charges, const QDate &due, const QString &where)
{
    switch (charges.status) {
    case TLateCharges::TStatus::Computed:
        return QString();
    case TLateCharges::TStatus::BlankPrincipal:
        return QStringLiteral("Sem o valor do principal (07) não há acréscimos a calcular.");
    case TLateCharges::TStatus::NotLate:
        if (!due.isValid())
            return QStringLiteral("Sem a data do vencimento (06) não há acréscimos a calcular.");
        if (due > QDate::currentDate())
            return QStringLiteral("O vencimento (%1) ainda não chegou: não há acréscimos a calcular.").arg(due.toString(QStringLiteral("dd/MM/yyyy")));
        return QStringLiteral("Pagamento até o vencimento (%1): não há multa nem juros.")
            .arg(due.toString(QStringLiteral("dd/MM/yyyy")));
    case TLateCharges::TStatus::MissingMonth:
        return QStringLiteral("Falta a taxa Selic de %1 na tabela; acrescente-a %2. Nada foi calculado.")
            .arg(SelicText::MonthName(charges.missingYear, charges.missingMonth), where);
    }
    return QString();
}

} // namespace LateCharges
