#pragma once
// The columns of a batch file: `tipo`, then one column per entry field of either slip, named
// after the field's printed caption in lower case without accents. A column shared by both
// slips (nome, vencimento, ...) fills the field of the row's own slip.

#include "slips/pLayOutDarf.h"
#include "slips/pLayOutGareFill.h"

#include <QString>
#include <span>

enum class TSlipKind { Darf, Gare };

// How a field's text is judged and shown: as typed, several lines, a date or an amount. The
// payment date prints nowhere: it computes or checks the DARF's fine and interest.
enum class TFieldKind { Text, Memo, Date, Amount, Total, PaymentDate };

struct TBatchField
{
    const char *column;
    const char *caption; // as printed on the slip
    TFieldKind kind;
    int maxLength; // characters, line breaks included; 0: none
    QString TDarfEntryTexts::*darf = nullptr;
    QString TGareEntryTexts::*gare = nullptr;
};

namespace BatchColumns {

// The fields of each slip, in the order of its entry page.
std::span<const TBatchField> Fields(TSlipKind kind);
// The column of the slip's kind.
inline constexpr const char *TypeColumn = "tipo";
// Another accepted name of a column (the GARE's caption says "CGC OU CPF"); null when none.
const char *AliasOf(const QString &column);
// Every column name, `tipo` first, each once.
QStringList AllColumns();
// Whether the slip has this column.
const TBatchField *Field(TSlipKind kind, const QString &column);

QString KindName(TSlipKind kind);

} // namespace BatchColumns
