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
#include <QSet>

#include <algorithm>

namespace {

// What an untouched date field reads.
const QString kBlankDate = QStringLiteral("  /  /    ");

// Headers as offices write them: "Período Apuração", "Código_Receita", "CPF_CNPJ" all name a
// column, whatever their accents, case, blanks and underscores.
QString columnKey(const QString &name)
{
    QString key;
    for (const QChar c : name.normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing || c.isSpace() || c == QLatin1Char('_'))
            continue;
        key += c.toLower();
    }
    return key;
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

// How many characters run out of the printed boxes: the text less its longest prefix that fits.
qsizetype overflowOf(const TBatchField &field, const QString &text)
{
    qsizetype fits = 0, runsOut = text.size();
    while (runsOut - fits > 1) {
        const qsizetype middle = (fits + runsOut) / 2;
        (fitsPrinted(field, text.left(middle)) ? fits : runsOut) = middle;
    }
    return text.size() - fits;
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// What a spreadsheet makes of a long number in a cell not formatted as text: 1,12223E+13.
bool isScientific(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^[+-]?\\d+([.,]\\d+)?[eE][+-]?\\d+$"));
    return pattern.match(text.trimmed()).hasMatch();
}

QString scientificReason(const QString &text)
{
    return QStringLiteral("número em notação científica \"%1\": a planilha converteu o texto em número; formate "
                          "a coluna como texto e digite os valores de novo")
        .arg(text.trimmed());
}

// A CPF or CNPJ a spreadsheet kept as a number has lost its leading zeros: it is judged, and
// printed, padded back to 11 or 14 digits. Empty when the text is no such number.
QString paddedTaxId(const QString &text)
{
    QString digits;
    for (const QChar c : text) {
        if (c.isDigit())
            digits += c;
        else if (!c.isSpace() && c != QLatin1Char('.') && c != QLatin1Char('-') && c != QLatin1Char('/'))
            return QString();
    }
    if (digits.isEmpty() || digits.size() == 11 || digits.size() >= 14)
        return QString();
    return digits.rightJustified(digits.size() < 11 ? 11 : 14, QLatin1Char('0'));
}

// The largest amount a slip's currency holds, as a text to quote.
const QString kLargestAmount = QStringLiteral("922.337.203.685.477,58");

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
    QString text = typed.trimmed();
    // As a spreadsheet's currency format shows it: "R$ 1.234,56", its blank often a no-break one.
    if (text.startsWith(QLatin1String("R$")))
        text = text.mid(2).trimmed();
    if (text.isEmpty()) {
        value = 0;
        shown = NumberText::Format(0, 2, true, QLocale());
        return true;
    }
    if (isScientific(text)) {
        *reason = scientificReason(text);
        return false;
    }
    if (text.startsWith(QLatin1Char('-'))) {
        *reason = QStringLiteral("valor negativo \"%1\": a guia não aceita valores negativos").arg(typed.trimmed());
        return false;
    }
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,3}(\\.\\d{3})+|\\d+)(,\\d{1,2})?$"));
    if (!pattern.match(text).hasMatch()) {
        *reason = QStringLiteral("valor inválido \"%1\" (escreva 1.234,56 ou 1234,56, com até duas casas decimais)")
                      .arg(typed.trimmed());
        return false;
    }
    try {
        // The file's format is Brazilian whatever the environment, and so is what the slip shows.
        value = NumberText::Parse(text, QLocale(QLocale::Portuguese, QLocale::Brazil));
        CurrencyTotal::ToCurrency(value);
        shown = NumberText::Format(value, 2, true, QLocale());
    } catch (const std::exception &) {
        *reason = QStringLiteral("valor \"%1\" acima do maior valor aceito, %2").arg(text, kLargestAmount);
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
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) {
        *reason = QStringLiteral("data inválida \"%1\" (escreva DD/MM/AAAA)").arg(text);
        return false;
    }
    const QDate date(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!date.isValid()) {
        *reason = QStringLiteral("a data %1 não existe").arg(text);
        return false;
    }
    if (date < QDate(1900, 1, 1)) {
        *reason = QStringLiteral("data inválida \"%1\": menor que 01/01/1900").arg(text);
        return false;
    }
    shown = date.toString(QStringLiteral("dd/MM/yyyy"));
    return true;
}

} // namespace BatchValues

namespace {

// One row read as the window takes a slip typed into it, step by step. Every fault of the row is
// listed; a warning never stops it.
class TRowReading
{
public:
    TRowReading(const QVector<QString> &columns, int typeIndex, const TCsvRecord &record, TBatchSlip &slip)
        : m_columns(columns), m_typeIndex(typeIndex), m_record(record), m_slip(slip)
    {
        m_slip = TBatchSlip{};
        m_slip.row = record.row;
    }

    // More fields than columns is an error; fewer, those a spreadsheet left off the end, are blank.
    bool FitsTheHeader()
    {
        const QString counts = QStringLiteral("a linha tem %1 campo%2 e o cabeçalho, %3 colunas")
                                   .arg(m_record.fields.size())
                                   .arg(m_record.fields.size() == 1 ? "" : "s")
                                   .arg(m_columns.size());
        if (m_record.fields.size() > m_columns.size())
            return fail(QString(), counts);
        if (m_record.fields.size() < m_columns.size())
            warn(QString(), counts + QStringLiteral("; as que faltam ficam em branco"));
        return true;
    }

    // A byte that is not UTF-8 in a UTF-8 file would print as broken accents.
    bool IsDecoded()
    {
        if (m_record.undecoded < 0)
            return true;
        return fail(m_record.undecoded < m_columns.size() ? m_columns.at(m_record.undecoded) : QString(),
                    QStringLiteral("caracteres que não são UTF-8 num arquivo UTF-8 (o arquivo mistura "
                                   "codificações); salve a planilha de novo como UTF-8"));
    }

    bool ReadsItsKind()
    {
        const QString type = valueAt(m_typeIndex).trimmed().toUpper();
        if (type == QLatin1String("DARF"))
            m_slip.kind = TSlipKind::Darf;
        else if (type == QLatin1String("GARE"))
            m_slip.kind = TSlipKind::Gare;
        else
            return fail(QString::fromLatin1(BatchColumns::TypeColumn),
                        QStringLiteral("tipo \"%1\" desconhecido (escreva DARF ou GARE)").arg(valueAt(m_typeIndex).trimmed()));
        return true;
    }

    // Every field starts as the cleared window shows it, then takes its column's value.
    bool ReadsEveryColumn()
    {
        startAsTheClearedWindow();
        for (int i = 0; i < m_columns.size(); ++i)
            if (i != m_typeIndex)
                readColumn(m_columns.at(i), valueAt(i));
        return m_errors.isEmpty();
    }

    // A slip without any amount would print a total of 0,00.
    bool HasAnAmount()
    {
        if (m_anyAmount)
            return true;
        QStringList columns;
        for (const TBatchField &field : BatchColumns::Fields(m_slip.kind))
            if (field.kind == TFieldKind::Amount)
                columns << QString::fromLatin1(field.column);
        return fail(QString(), QStringLiteral("o %1 não tem nenhum valor (%2)")
                                   .arg(BatchColumns::KindName(m_slip.kind), columns.join(QStringLiteral(", "))));
    }

    // With a payment date, a fine or interest left blank is computed and one given is compared
    // with the computed value.
    bool AddsLateCharges(const std::optional<TSelicTable> &selic)
    {
        if (!m_slip.paymentDate.isValid())
            return true;
        const TBatchField *principal = BatchColumns::Field(TSlipKind::Darf, QStringLiteral("principal"));
        const TBatchField *charged[] = {BatchColumns::Field(TSlipKind::Darf, QStringLiteral("multa")),
                                        BatchColumns::Field(TSlipKind::Darf, QStringLiteral("juros"))};
        const QString column = QStringLiteral("data_pagamento");
        const bool toCompute = !m_givenAmounts.contains(charged[0]) || !m_givenAmounts.contains(charged[1]);
        // A value to print cannot be made up; values given still print, unchecked.
        const auto cannot = [&](const QString &reason) {
            if (toCompute)
                return fail(column, reason);
            warn(column, reason);
            return true;
        };
        const QDate due = QDate::fromString(m_slip.darf.DtVenc, QStringLiteral("dd/MM/yyyy"));
        if (!due.isValid())
            return cannot(QStringLiteral("sem a data do vencimento não há multa e juros a calcular; preencha a coluna vencimento"));
        qint64 principalCents = 0;
        try {
            principalCents = LateCharges::Cents(m_amounts.value(principal, 0));
        } catch (const std::exception &e) {
            return cannot(QString::fromUtf8(e.what()));
        }
        if (!selic)
            throw std::logic_error("AddsLateCharges: no Selic table");
        TLateCharges charges = LateCharges::Compute(principalCents, due, m_slip.paymentDate, *selic);
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
                              .arg(SelicText::MonthName(charges.missingYear, charges.missingMonth),
                                   TSelicTable::OfficeFile()));
        }
        const qint64 computed[] = {charges.fine, charges.interest};
        const QString what[] = {QStringLiteral("%1 % por %2 dias de atraso")
                                    .arg(SelicText::FormatRate(charges.finePercent))
                                    .arg(charges.daysLate),
                                QStringLiteral("%1 %").arg(SelicText::FormatRate(charges.interestPercent))};
        for (int i = 0; i < 2; ++i) {
            const TBatchField *field = charged[i];
            if (!m_givenAmounts.contains(field)) {
                m_amounts.insert(field, static_cast<long double>(computed[i]) / 100);
                m_slip.darf.*field->darf = LateCharges::FormatCents(computed[i]);
                continue;
            }
            const qint64 typed = LateCharges::Cents(m_amounts.value(field, 0));
            if (typed != computed[i])
                warn(QString::fromLatin1(field->column),
                     QStringLiteral("informado %1, calculado %2 para o pagamento em %3 (%4)")
                         .arg(LateCharges::FormatCents(typed), LateCharges::FormatCents(computed[i]),
                              m_slip.paymentDate.toString(QStringLiteral("dd/MM/yyyy")), what[i]));
        }
        return true;
    }

    // The total as the window sums it: amounts in the page's order, held as currency; a given
    // total must agree with it.
    bool AddsUp()
    {
        long double sum = 0;
        const TBatchField *totalField = nullptr;
        for (const TBatchField &field : BatchColumns::Fields(m_slip.kind)) {
            if (field.kind == TFieldKind::Total)
                totalField = &field;
            if (field.kind == TFieldKind::Amount)
                sum += m_amounts.value(&field, 0);
        }
        const QString totalColumn = QString::fromLatin1(totalField->column);
        qint64 currency = 0;
        try {
            currency = CurrencyTotal::ToCurrency(sum);
        } catch (const std::exception &e) {
            return fail(totalColumn, QString::fromUtf8(e.what()));
        }
        textOf(*totalField) = CurrencyTotal::Format(currency, QLocale());
        if (m_givenTotal.trimmed().isEmpty())
            return true;
        QString shown, reason;
        long double given = 0;
        if (!BatchValues::AmountText(m_givenTotal, shown, given, &reason))
            return fail(totalColumn, reason);
        if (CurrencyTotal::ToCurrency(given) != currency)
            return fail(totalColumn, QStringLiteral("o total informado %1 não confere com a soma dos valores, %2")
                                         .arg(shown, textOf(*totalField)));
        return true;
    }

    const QList<TBatchIssue> &Errors() const { return m_errors; }
    const QList<TBatchIssue> &Warnings() const { return m_warnings; }

private:
    QString valueAt(int index) const
    {
        return index < m_record.fields.size() ? m_record.fields.at(index) : QString();
    }

    QString &textOf(const TBatchField &field)
    {
        return m_slip.kind == TSlipKind::Darf ? m_slip.darf.*field.darf : m_slip.gare.*field.gare;
    }

    bool fail(const QString &column, const QString &reason)
    {
        m_errors.append(TBatchIssue{m_record.row, column, reason});
        return false;
    }

    void warn(const QString &column, const QString &reason)
    {
        m_warnings.append(TBatchIssue{m_record.row, column, reason});
    }

    void startAsTheClearedWindow()
    {
        for (const TBatchField &field : BatchColumns::Fields(m_slip.kind)) {
            if (field.kind == TFieldKind::PaymentDate)
                continue;
            QString shown, reason;
            long double ignored = 0;
            if (field.kind == TFieldKind::Date)
                BatchValues::DateText(QString(), shown, &reason);
            else if (field.kind == TFieldKind::Amount)
                BatchValues::AmountText(QString(), shown, ignored, &reason);
            textOf(field) = shown;
        }
        if (m_slip.kind == TSlipKind::Darf) {
            // The instructions memo has no column: it prints as the window starts with it.
            m_slip.darf.VejaVerso = {QStringLiteral("veja no verso "), QStringLiteral("instruções para preenchimento")};
            m_slip.darf.VejaVersoAlignment = Qt::AlignHCenter;
        }
    }

    void readColumn(const QString &column, const QString &value)
    {
        const TBatchField *field = BatchColumns::Field(m_slip.kind, column);
        if (!field) {
            // A value the slip has no box for would be lost without a word.
            if (!value.trimmed().isEmpty())
                fail(column, QStringLiteral("o %1 não tem este campo; deixe-o em branco")
                                 .arg(BatchColumns::KindName(m_slip.kind)));
            return;
        }
        QString shown, reason;
        switch (field->kind) {
        case TFieldKind::Text:
        case TFieldKind::Memo:
            if (!readText(*field, value, shown))
                return;
            break;
        case TFieldKind::Date:
            if (!BatchValues::DateText(value, shown, &reason)) {
                fail(column, reason);
                return;
            }
            break;
        case TFieldKind::Amount: {
            long double amount = 0;
            if (!BatchValues::AmountText(value, shown, amount, &reason)) {
                fail(column, reason);
                return;
            }
            if (!value.trimmed().isEmpty()) {
                m_anyAmount = true;
                m_givenAmounts.insert(field);
            }
            m_amounts.insert(field, amount);
            break;
        }
        case TFieldKind::Total:
            m_givenTotal = value;
            return;
        case TFieldKind::PaymentDate:
            if (!BatchValues::DateText(value, shown, &reason))
                fail(column, reason);
            else if (!value.trimmed().isEmpty())
                m_slip.paymentDate = QDate::fromString(shown, QStringLiteral("dd/MM/yyyy"));
            return;
        }
        textOf(*field) = shown;
    }

    bool readText(const TBatchField &field, const QString &value, QString &shown)
    {
        const QString column = QString::fromLatin1(field.column);
        shown = field.kind == TFieldKind::Memo ? memoText(value) : value;
        if (field.kind == TFieldKind::Text && hasLineBreak(shown))
            return fail(column, QStringLiteral("quebra de linha num campo de uma só linha"));
        if (field.kind == TFieldKind::Text && isScientific(shown))
            return fail(column, scientificReason(shown));
        if (field.maxLength > 0 && shown.size() > field.maxLength)
            return fail(column, QStringLiteral("%1 caracteres; o campo aceita no máximo %2")
                                    .arg(shown.size()).arg(field.maxLength));
        if (!fitsPrinted(field, shown)) {
            const qsizetype over = overflowOf(field, shown);
            return fail(column, QStringLiteral("o texto não cabe no quadro do campo no documento impresso: %1")
                                    .arg(over == 1 ? QStringLiteral("sobra cerca de 1 caractere")
                                                   : QStringLiteral("sobram cerca de %1 caracteres").arg(over)));
        }
        judgeTaxId(field, shown);
        return true;
    }

    // Check digits that do not match are told, never refused; a valid bare number gets the
    // punctuation the window gives it on leaving the field, where the field takes it.
    void judgeTaxId(const TBatchField &field, QString &shown)
    {
        const QString column = QString::fromLatin1(field.column);
        const bool cpfCnpj = column == QLatin1String("cpf_cnpj");
        if (!cpfCnpj && column != QLatin1String("inscricao_estadual"))
            return;
        const QString padded = cpfCnpj ? paddedTaxId(shown) : QString();
        const QString judged = padded.isEmpty() ? shown : padded;
        const TTaxIdVerdict verdict =
            cpfCnpj ? TaxIdCheck::CheckCpfCnpj(judged) : TaxIdCheck::CheckStateRegistration(judged);
        QString printed = judged;
        if (cpfCnpj && !verdict.IsWrong()) {
            const QString punctuated = TaxIdCheck::PunctuateCpfCnpj(judged);
            if (takes(field, punctuated))
                printed = punctuated;
        }
        if (!takes(field, printed))
            printed = shown;
        if (!padded.isEmpty())
            warn(column, QStringLiteral("%1 de %2 dígitos, completado com zeros à esquerda: %3%4")
                             .arg(verdict.kind == TTaxIdVerdict::Cnpj ? QStringLiteral("CNPJ") : QStringLiteral("CPF"))
                             .arg(std::count_if(shown.begin(), shown.end(), [](QChar c) { return c.isDigit(); }))
                             .arg(printed, verdict.IsWrong() ? QStringLiteral("; ") + verdict.reason : QString()));
        else if (verdict.IsWrong())
            warn(column, verdict.reason);
        shown = printed;
    }

    static bool takes(const TBatchField &field, const QString &text)
    {
        return (field.maxLength == 0 || text.size() <= field.maxLength) && fitsPrinted(field, text);
    }

    const QVector<QString> &m_columns;
    const int m_typeIndex;
    const TCsvRecord &m_record;
    TBatchSlip &m_slip;
    QList<TBatchIssue> m_errors, m_warnings;
    QHash<const TBatchField *, long double> m_amounts;
    QSet<const TBatchField *> m_givenAmounts;
    bool m_anyAmount = false;
    QString m_givenTotal;
};

} // namespace

bool TBatchTable::ReadHeader(const QStringList &names, QString *error)
{
    QHash<QString, QString> byKey;
    for (const QString &column : BatchColumns::AllColumns())
        byKey.insert(columnKey(column), column);
    byKey.insert(columnKey(QStringLiteral("cgc_cpf")), QStringLiteral("cpf_cnpj"));
    m_columns.clear();
    m_typeIndex = -1;
    QStringList unknown;
    for (const QString &raw : names) {
        if (raw.trimmed().isEmpty()) {
            *error = QStringLiteral("o cabeçalho tem uma coluna sem nome (coluna %1)").arg(m_columns.size() + 1);
            return false;
        }
        const QString name = byKey.value(columnKey(raw));
        if (name.isEmpty())
            unknown << raw.trimmed();
        else if (m_columns.contains(name)) {
            *error = QStringLiteral("a coluna %1 aparece duas vezes no cabeçalho").arg(name);
            return false;
        }
        if (name == QLatin1String(BatchColumns::TypeColumn))
            m_typeIndex = int(m_columns.size());
        m_columns.append(name.isEmpty() ? raw.trimmed() : name);
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
    TRowReading row(m_columns, m_typeIndex, record, slip);
    const bool read = row.FitsTheHeader() && row.IsDecoded() && row.ReadsItsKind() && row.ReadsEveryColumn()
                      && row.HasAnAmount() && row.AddsLateCharges(m_selic) && row.AddsUp();
    errors += row.Errors();
    warnings += row.Warnings();
    return read;
}
