#pragma once
// A batch file's header and rows turned into the texts the slips' fills take, with the checks
// typing into the window makes: lengths, line breaks, dates, amounts and the total. Every fault
// of a row is listed, not only the first.

#include "batch/BatchColumns.h"
#include "batch/CsvReader.h"

#include "slips/SelicTable.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVector>
#include <optional>

struct TBatchIssue
{
    int row = 0;
    QString column; // empty: the row as a whole
    QString reason;

    // "linha N, coluna X: reason", as the user reads it.
    QString Text() const;
};

struct TBatchSlip
{
    int row = 0;
    TSlipKind kind = TSlipKind::Darf;
    TDarfEntryTexts darf;
    TGareEntryTexts gare;
    // When the DARF is paid (data_pagamento); it prints nowhere.
    QDate paymentDate;

    QString PayerName() const { return kind == TSlipKind::Darf ? darf.Nome : gare.EdNomeG; }
};

class TBatchTable
{
public:
    // Maps the header's names to columns; false with the reason (unknown, repeated or missing
    // `tipo`).
    bool ReadHeader(const QStringList &names, QString *error);

    // The row's slip; false when it has errors (appended). Warnings never stop a row.
    bool ReadRow(const TCsvRecord &record, TBatchSlip &slip, QList<TBatchIssue> &errors,
                 QList<TBatchIssue> &warnings) const;

    // The Selic months late charges add up; without one, the office's table is read when a
    // header names data_pagamento.
    void SetSelicTable(const TSelicTable &table) { m_selic = table; }

private:
    QVector<QString> m_columns; // by position in the file
    int m_typeIndex = -1;
    std::optional<TSelicTable> m_selic;
};

namespace BatchValues {

// An amount as 1.234,56 or 1234,56 (a leading minus allowed, at most two decimals): the text the
// amount field shows after leaving it; false with the reason.
bool AmountText(const QString &typed, QString &shown, long double &value, QString *reason);
// DD/MM/AAAA from 01/01/1900 on, or blank (the blank date field's text); false with the reason.
bool DateText(const QString &typed, QString &shown, QString *reason);

} // namespace BatchValues
