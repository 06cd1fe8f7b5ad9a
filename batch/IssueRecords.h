#pragma once
// A slip as the register records it, and back: its fields keyed by the batch file's columns, so
// that the window's slips, the batch's rows and the exported history are one and the same table.

#include "batch/BatchTable.h"
#include "storage/Register.h"

#include <QList>
#include <QString>

namespace IssueRecords {

// The record of a slip about to be issued (how it went out is the caller's to add).
TIssuedSlip FromSlip(const TBatchSlip &slip, const QString &mode);
// The slip's texts from a record; dates and amounts left blank unless `datesAndAmounts`.
TBatchSlip ToSlip(const TIssuedSlip &record, bool datesAndAmounts);

// The records as a spreadsheet `zavenor --lote` reads: UTF-8, `;`, a header of the batch's
// columns, one row a slip.
QByteArray ExportCsv(const QList<TIssuedSlip> &records);

// The payer's columns of each kind (those the register fills).
QStringList PayerColumns(TSlipKind kind);
// The client a slip's payer columns describe.
TClient ClientOf(const TBatchSlip &slip);
// Fills the payer columns of the slip from the client.
void FillPayer(TBatchSlip &slip, const TClient &client);

} // namespace IssueRecords
