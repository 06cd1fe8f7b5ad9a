#include "batch/BatchTable.h"

#include "slips/CurrencyTotal.h"
#include "slips/LateCharges.h"
#include "slips/SlipFieldFits.h"
#include "slips/TaxIdCheck.h"
#include "widgets/NumberText.h"

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>

namespace {

// What an untouched date field reads.
const QString kBlankDate = QStringLiteral("  /  /    ");

QString normalisedName(const QString &name)
{
    return name.trimmed().toLower();
}

// A spreadsheet may end a memo's lines with CR LF; the memo keeps one line break.
QString memoText(const QString &typed)
{
    QString text = typed;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

bool fitsPrinted(const TBatchField &field, const QString &text)
{
    return field.darf ? SlipFieldFits(field.darf, text) : SlipFieldFits(field.gare, text);
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// Check digits that do not match are told, never refused; a valid bare number gets the
// punctuation the window gives it on leaving the field, where the field takes it.
void judgeTaxId(const TBatchField &field, int row, QString &shown, QList<TBatchIssue> &warnings)
{
    const QString column = QString::fromLatin1(field.column);
    TTaxIdVerdict verdict;
    if (column == QLatin1String("cpf_cnpj"))
        verdict = TaxIdCheck::CheckCpfCnpj(shown);
    else if (column == QLatin1String("inscricao_estadual"))
        verdict = TaxIdCheck::CheckStateRegistration(shown);
    else
        return;
    if (verdict.IsWrong()) {
        warnings.append(TBatchIssue{row, column, verdict.reason});
        return;
    }
    if (column == QLatin1String("cpf_cnpj")) {
        const QString punctuated = TaxIdCheck::PunctuateCpfCnpj(shown);
        if ((field.maxLength == 0 || punctuated.size() <= field.maxLength) && fitsPrinted(field, punctuated))
            shown = punctuated;
    }
}

} // namespace

QString TBatchIssue::Text() const
{
    if (column.isEmpty())
        return QStringLiteral("linha %1: %2").arg(row).arg(reason);
    return QStringLiteral("linha %1, coluna %2: %3").arg(row).arg(column, reason);
}

namespace BatchValues {

bool AmountText(const QString &typed, QString &shown, long double &value, QString *reason)
{
    const QString text = typed.trimmed();
    if (text.isEmpty()) {
        value = 0;
        shown = NumberText::Format(0, 2, true, QLocale());
        return true;
    }
    static const QRegularExpression pattern(QStringLiteral("^-?(\\d{1,3}(\\.\\d{3})+|\\d+)(,\\d{1,2})?$"));
    if (!pattern.match(text).hasMatch()) {
        *reason = QStringLiteral("valor inválido \"%1\" (escreva 1.234,56 ou 1234,56, com até duas casas decimais)")
                      .arg(text);
        return false;
    }
    try {
        // The file's format is Brazilian whatever the user's settings; what is shown follows them.
        value = NumberText::Parse(text, QLocale(QLocale::Portuguese, QLocale::Brazil));
        shown = NumberText::Format(value, 2, true, QLocale());
    } catch (const std::exception &) {
        *reason = QStringLiteral("valor grande demais \"%1\"").arg(text);
        return false;
    }
    return true;
}

bool DateText(const QString &typed, QString &shown, QString *reason)
{
    const QString text = typed.trimmed();
    if (text.isEmpty()) {
        shown = kBlankDate;
        return true;
    }
    static const QRegularExpression pattern(QStringLiteral("^(\\d{2})/(\\d{2})/(\\d{4})$"));
    const QRegularExpressionMatch m = pattern.match(text);
    const QDate date = m.hasMatch() ? QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt())
                                    : QDate();
    if (!date.isValid()) {
        *reason = QStringLiteral("data inválida \"%1\" (escreva DD/MM/AAAA)").arg(text);
        return false;
    }
    if (date < QDate(1900, 1, 1)) {
        *reason = QStringLiteral("data inválida \"%1\": menor que 01/01/1900").arg(text);
        return false;
    }
    shown = text;
    return true;
}

} // namespace BatchValues

bool TBatchTable::ReadHeader(const QStringList &names, QString *error)
{
    const QStringList known = BatchColumns::AllColumns();
    m_columns.clear();
    m_typeIndex = -1;
    QStringList unknown;
    for (const QString &raw : names) {
        QString name = normalisedName(raw);
        if (const char *alias = BatchColumns::AliasOf(name))
            name = QString::fromLatin1(alias);
        if (name.isEmpty()) {
            *error = QStringLiteral("o cabeçalho tem uma coluna sem nome (coluna %1)").arg(m_columns.size() + 1);
            return false;
        }
        if (!known.contains(name))
            unknown << raw.trimmed();
        else if (m_columns.contains(name)) {
            *error = QStringLiteral("a coluna %1 aparece duas vezes no cabeçalho").arg(name);
            return false;
        }
        if (name == QLatin1String(BatchColumns::TypeColumn))
            m_typeIndex = int(m_columns.size());
        m_columns.append(name);
    }
    if (!unknown.isEmpty()) {
        // A garbled header would list pages of names: a few say enough.
        QStringList shown = unknown.mid(0, 5);
        for (QString &name : shown)
            name = QLatin1Char('"') + name.left(40) + QLatin1Char('"');
        *error = QStringLiteral("%1 desconhecida%2 no cabeçalho: %3%4 (veja as colunas aceitas em zavenor --ajuda)")
                     .arg(unknown.size() == 1 ? QStringLiteral("coluna") : QStringLiteral("colunas"),
                          unknown.size() == 1 ? QString() : QStringLiteral("s"), shown.join(QStringLiteral(", ")),
                          unknown.size() > 5 ? QStringLiteral(" e mais %1").arg(unknown.size() - 5) : QString());
        return false;
    }
    if (m_typeIndex < 0) {
        *error = QStringLiteral("o cabeçalho não tem a coluna tipo (DARF ou GARE)");
        return false;
    }
    if (!m_selic && m_columns.contains(QLatin1String("data_pagamento")))
        m_selic = TSelicTable::Load(TSelicTable::OfficeFile());
    return true;
}

bool TBatchTable::ReadRow(const TCsvRecord &record, TBatchSlip &slip, QList<TBatchIssue> &errors,
                          QList<TBatchIssue> &warnings) const
{
    const qsizetype errorsBefore = errors.size();
    const auto fail = [&](const QString &column, const QString &reason) {
        errors.append(TBatchIssue{record.row, column, reason});
    };
    slip = TBatchSlip{};
    slip.row = record.row;
    if (record.fields.size() > m_columns.size()) {
        fail(QString(), QStringLiteral("a linha tem %1 campos e o cabeçalho, %2 colunas")
                            .arg(record.fields.size()).arg(m_columns.size()));
        return false;
    }
    // Fields a spreadsheet left off the end of the row are blank.
    const auto valueAt = [&](int index) { return index < record.fields.size() ? record.fields.at(index) : QString(); };

    const QString type = valueAt(m_typeIndex).trimmed().toUpper();
    if (type == QLatin1String("DARF"))
        slip.kind = TSlipKind::Darf;
    else if (type == QLatin1String("GARE"))
        slip.kind = TSlipKind::Gare;
    else {
        fail(QString::fromLatin1(BatchColumns::TypeColumn),
             QStringLiteral("tipo \"%1\" desconhecido (escreva DARF ou GARE)").arg(valueAt(m_typeIndex).trimmed()));
        return false;
    }
    const QString kindName = BatchColumns::KindName(slip.kind);
    const auto textOf = [&](const TBatchField &field) -> QString & {
        return slip.kind == TSlipKind::Darf ? slip.darf.*field.darf : slip.gare.*field.gare;
    };

    // Every field starts as the cleared window shows it.
    for (const TBatchField &field : BatchColumns::Fields(slip.kind)) {
        if (field.kind == TFieldKind::PaymentDate)
            continue;
        QString shown;
        long double ignored = 0;
        QString reason;
        if (field.kind == TFieldKind::Date)
            BatchValues::DateText(QString(), shown, &reason);
        else if (field.kind == TFieldKind::Amount)
            BatchValues::AmountText(QString(), shown, ignored, &reason);
        textOf(field) = shown;
    }
    if (slip.kind == TSlipKind::Darf) {
        // The instructions memo has no column: it prints as the window starts with it.
        slip.darf.VejaVerso = {QStringLiteral("veja no verso "), QStringLiteral("instruções para preenchimento")};
        slip.darf.VejaVersoAlignment = Qt::AlignHCenter;
    }

    QString givenTotal;
    TAmounts amounts;
    QSet<const TBatchField *> givenAmounts;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (i == m_typeIndex)
            continue;
        const QString &column = m_columns.at(i);
        const QString value = valueAt(i);
        const TBatchField *field = BatchColumns::Field(slip.kind, column);
        if (!field) {
            // A value the slip has no box for would be lost without a word.
            if (!value.trimmed().isEmpty())
                fail(column, QStringLiteral("o %1 não tem este campo; deixe-o em branco").arg(kindName));
            continue;
        }
        QString reason;
        QString shown;
        switch (field->kind) {
        case TFieldKind::Text:
        case TFieldKind::Memo: {
            shown = field->kind == TFieldKind::Memo ? memoText(value) : value;
            if (field->kind == TFieldKind::Text && hasLineBreak(shown)) {
                fail(column, QStringLiteral("quebra de linha num campo de uma só linha"));
                continue;
            }
            if (field->maxLength > 0 && shown.size() > field->maxLength) {
                fail(column, QStringLiteral("%1 caracteres; o campo aceita no máximo %2")
                                 .arg(shown.size()).arg(field->maxLength));
                continue;
            }
            if (!fitsPrinted(*field, shown)) {
                fail(column, QStringLiteral("o texto não cabe no quadro do campo no documento impresso"));
                continue;
            }
            judgeTaxId(*field, record.row, shown, warnings);
            break;
        }
        case TFieldKind::Date:
            if (!BatchValues::DateText(value, shown, &reason)) {
                fail(column, reason);
                continue;
            }
            break;
        case TFieldKind::Amount: {
            long double amount = 0;
            if (!BatchValues::AmountText(value, shown, amount, &reason)) {
                fail(column, reason);
                continue;
            }
            amounts.insert(field, amount);
            if (!value.trimmed().isEmpty())
                givenAmounts.insert(field);
            break;
        }
        case TFieldKind::Total:
            givenTotal = value.trimmed();
            continue;
        case TFieldKind::PaymentDate:
            if (!BatchValues::DateText(value, shown, &reason))
                fail(column, reason);
            else if (!value.trimmed().isEmpty())
                slip.paymentDate = QDate::fromString(shown, QStringLiteral("dd/MM/yyyy"));
            continue;
        }
        textOf(*field) = shown;
    }
    if (errors.size() > errorsBefore)
        return false;
    if (slip.paymentDate.isValid() && !applyLateCharges(slip, amounts, givenAmounts, errors, warnings))
        return false;

    // The total as the window sums it: amounts in the page's order, held as currency.
    long double sum = 0;
    const TBatchField *totalField = nullptr;
    for (const TBatchField &field : BatchColumns::Fields(slip.kind)) {
        if (field.kind == TFieldKind::Total)
            totalField = &field;
        if (field.kind == TFieldKind::Amount)
            sum += amounts.value(&field, 0);
    }
    const QString totalColumn = QString::fromLatin1(totalField->column);
    qint64 currency = 0;
    try {
        currency = CurrencyTotal::ToCurrency(sum);
    } catch (const std::exception &e) {
        fail(totalColumn, QString::fromUtf8(e.what()));
        return false;
    }
    textOf(*totalField) = CurrencyTotal::Format(currency, QLocale());
    if (!givenTotal.isEmpty()) {
        QString shown, reason;
        long double given = 0;
        if (!BatchValues::AmountText(givenTotal, shown, given, &reason)) {
            fail(totalColumn, reason);
            return false;
        }
        if (CurrencyTotal::ToCurrency(given) != currency) {
            fail(totalColumn, QStringLiteral("o total informado %1 não confere com a soma dos valores, %2")
                                  .arg(shown, textOf(*totalField)));
            return false;
        }
    }
    return true;
}

bool TBatchTable::applyLateCharges(TBatchSlip &slip, TAmounts &amounts, const QSet<const TBatchField *> &given,
                                   QList<TBatchIssue> &errors, QList<TBatchIssue> &warnings) const
{
    const TBatchField *principal = BatchColumns::Field(TSlipKind::Darf, QStringLiteral("principal"));
    const TBatchField *charged[] = {BatchColumns::Field(TSlipKind::Darf, QStringLiteral("multa")),
                                    BatchColumns::Field(TSlipKind::Darf, QStringLiteral("juros"))};
    const QString column = QStringLiteral("data_pagamento");
    const bool toCompute = !given.contains(charged[0]) || !given.contains(charged[1]);
    // A value to print cannot be made up; values given still print, unchecked.
    const auto cannot = [&](const QString &reason) {
        (toCompute ? errors : warnings).append(TBatchIssue{slip.row, column, reason});
        return !toCompute;
    };
    const QDate due = QDate::fromString(slip.darf.DtVenc, QStringLiteral("dd/MM/yyyy"));
    if (!due.isValid())
        return cannot(QStringLiteral("sem a data do vencimento não há multa e juros a calcular; preencha a coluna vencimento"));
    qint64 principalCents = 0;
    try {
        principalCents = LateCharges::Cents(amounts.value(principal, 0));
    } catch (const std::exception &e) {
        return cannot(QString::fromUtf8(e.what()));
    }
    if (!m_selic)
        throw std::logic_error("applyLateCharges: no Selic table");
    TLateCharges charges = LateCharges::Compute(principalCents, due, slip.paymentDate, *m_selic);
    switch (charges.status) {
    case TLateCharges::TStatus::Computed:
        break;
    case TLateCharges::TStatus::NotLate:
        // Paid on or before the due date: neither fine nor interest.
        charges = TLateCharges{TLateCharges::TStatus::Computed};
        break;
    case TLateCharges::TStatus::BlankPrincipal:
        return cannot(QStringLiteral("sem o valor do principal não há multa e juros a calcular"));
    case TLateCharges::TStatus::MissingMonth:
        return cannot(QStringLiteral("falta a taxa Selic de %1; acrescente-a na janela do Zavenor (Ferramentas > "
                                     "Tabela Selic...) ou no arquivo %2; nada foi calculado")
                          .arg(SelicText::MonthName(charges.missingYear, charges.missingMonth), TSelicTable::OfficeFile()));
    }
    const qint64 computed[] = {charges.fine, charges.interest};
    const QString what[] = {QStringLiteral("%1 % por %2 dias de atraso").arg(SelicText::FormatRate(charges.finePercent)).arg(charges.daysLate),
                            QStringLiteral("%1 %").arg(SelicText::FormatRate(charges.interestPercent))};
    for (int i = 0; i < 2; ++i) {
        const TBatchField *field = charged[i];
        if (!given.contains(field)) {
            amounts.insert(field, static_cast<long double>(computed[i]) / 100);
            slip.darf.*field->darf = LateCharges::FormatCents(computed[i]);
            continue;
        }
        const qint64 typed = LateCharges::Cents(amounts.value(field, 0));
        if (typed != computed[i])
            warnings.append(TBatchIssue{slip.row, QString::fromLatin1(field->column),
                                        QStringLiteral("informado %1, calculado %2 para o pagamento em %3 (%4)")
                                            .arg(LateCharges::FormatCents(typed), LateCharges::FormatCents(computed[i]),
                                                 slip.paymentDate.toString(QStringLiteral("dd/MM/yyyy")), what[i])});
    }
    return true;
}
