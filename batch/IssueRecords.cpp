#include "batch/IssueRecords.h"

namespace IssueRecords {
namespace {

QString &textOf(TBatchSlip &slip, const TBatchField &field)
{
    return slip.kind == TSlipKind::Darf ? slip.darf.*field.darf : slip.gare.*field.gare;
}

const QString &textOf(const TBatchSlip &slip, const TBatchField &field)
{
    return slip.kind == TSlipKind::Darf ? slip.darf.*field.darf : slip.gare.*field.gare;
}

// A date field left blank shows its separators only.
QString exported(const TBatchField &field, const QString &text)
{
    if (field.kind == TFieldKind::Date && !std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
        return QString();
    return text;
}

QString quoted(const QString &value)
{
    if (!value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('"')) && !value.contains(QLatin1Char('\n'))
        && !value.contains(QLatin1Char('\r')))
        return value;
    QString doubled = value;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

} // namespace

TIssuedSlip FromSlip(const TBatchSlip &slip, const QString &mode)
{
    TIssuedSlip record;
    record.kind = BatchColumns::KindName(slip.kind);
    record.payerName = slip.PayerName();
    for (const TBatchField &field : BatchColumns::Fields(slip.kind)) {
        // The payment date prints nowhere and has no text on the slip.
        if (field.kind == TFieldKind::PaymentDate)
            continue;
        const QString text = exported(field, textOf(slip, field));
        if (field.kind == TFieldKind::Total)
            record.total = text;
        else if (!text.isEmpty())
            record.fields.insert(QString::fromLatin1(field.column), text);
    }
    record.payerTaxId = record.fields.value(QStringLiteral("cpf_cnpj"));
    record.mode = mode;
    return record;
}

TBatchSlip ToSlip(const TIssuedSlip &record, bool datesAndAmounts)
{
    TBatchSlip slip;
    slip.kind = record.kind == QLatin1String("GARE") ? TSlipKind::Gare : TSlipKind::Darf;
    for (const TBatchField &field : BatchColumns::Fields(slip.kind)) {
        const bool dateOrAmount = field.kind == TFieldKind::Date || field.kind == TFieldKind::Amount
            || field.kind == TFieldKind::Total;
        if ((dateOrAmount && !datesAndAmounts) || field.kind == TFieldKind::PaymentDate)
            continue;
        textOf(slip, field) = field.kind == TFieldKind::Total ? record.total
                                                               : record.fields.value(QString::fromLatin1(field.column));
    }
    return slip;
}

QByteArray ExportCsv(const QList<TIssuedSlip> &records)
{
    const QStringList columns = BatchColumns::AllColumns();
    QString text = columns.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    for (const TIssuedSlip &record : records) {
        QStringList row;
        for (const QString &column : columns) {
            if (column == QLatin1String(BatchColumns::TypeColumn))
                row << record.kind;
            else if (column == QLatin1String("total"))
                row << record.total;
            else
                row << quoted(record.fields.value(column));
        }
        text += row.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    // The mark lets spreadsheet programs open the file as UTF-8.
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QStringList PayerColumns(TSlipKind kind)
{
    if (kind == TSlipKind::Darf)
        return {QStringLiteral("nome")};
    return {QStringLiteral("nome"),     QStringLiteral("endereco"), QStringLiteral("municipio"),
            QStringLiteral("uf"),       QStringLiteral("telefone"), QStringLiteral("inscricao_estadual")};
}

TClient ClientOf(const TBatchSlip &slip)
{
    TClient client;
    if (slip.kind == TSlipKind::Darf) {
        client.name = slip.darf.Nome;
        client.taxId = slip.darf.CGCCPF;
        return client;
    }
    client.name = slip.gare.EdNomeG;
    client.taxId = slip.gare.EDCGCG;
    client.address = slip.gare.EdEnderecoG;
    client.city = slip.gare.EDMunicipioG;
    client.uf = slip.gare.EDUFG;
    client.phone = slip.gare.EDFoneG;
    client.stateRegistration = slip.gare.EDInscEstG;
    return client;
}

void FillPayer(TBatchSlip &slip, const TClient &client)
{
    // A longer text than the slip's field takes is cut to its limit, as typing would stop it.
    const auto fit = [&slip](const char *column, const QString &text) {
        const TBatchField *field = BatchColumns::Field(slip.kind, QString::fromLatin1(column));
        textOf(slip, *field) = field->maxLength > 0 ? text.left(field->maxLength) : text;
    };
    fit("nome", client.name);
    if (slip.kind == TSlipKind::Darf)
        return;
    fit("endereco", client.address);
    fit("municipio", client.city);
    fit("uf", client.uf);
    fit("telefone", client.phone);
    fit("inscricao_estadual", client.stateRegistration);
}

} // namespace IssueRecords
