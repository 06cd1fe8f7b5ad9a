#include "slips/SlipFieldFits.h"

#include "report/RLMemo.h"
#include "report/page/RLMetaFileMath.h"
#include "report/page/RLRowSpacing.h"
#include "report/page/RLTextMeasure.h"
#include "slips/pDadosDARF.h"
#include "slips/pDadosGARE.h"
#include "slips/pLayOutDarf.h"
#include "slips/pLayOutGare.h"
#include "slips/pLayOutGareFill.h"

#include <QHash>
#include <memory>

namespace {

struct TDarfField
{
    const char *field;
    QString TDarfEntryTexts::*text;
};

// The DARF's free-text fields; the dates keep to their mask and the amounts to their format.
constexpr TDarfField kDarfFields[] = {
    {"EdNome", &TDarfEntryTexts::Nome},
    {"edCGCCPF", &TDarfEntryTexts::CGCCPF},
    {"edCodRec", &TDarfEntryTexts::CodRec},
    {"edNumRef", &TDarfEntryTexts::NumRef},
};

// A text no entry makes, telling the fills' targets apart.
QString marker(int index)
{
    return QStringLiteral("\x1f%1\x1f").arg(index);
}

using TBoxes = QHash<QString, QList<TPrintedBox>>;

// Geometry is taken before the fill, since a label that sizes itself grows with its caption.
QHash<const TRLCustomControl *, TPrintedBox> designBoxes(const QObject &form,
                                                        std::span<const TGareControlRow> table = {})
{
    QHash<const TRLCustomControl *, TPrintedBox> boxes;
    for (const TRLCustomControl *control : form.findChildren<TRLCustomControl *>()) {
        TPrintedBox box{control->objectName(), control->Font(), control->Width(), control->Height(),
                        control->Alignment()};
        if (auto *memo = qobject_cast<const TRLCustomMultiLine *>(control)) {
            box.memo = true;
            box.wordWrap = memo->WordWrap();
            // A memo that sizes itself has already shrunk to its design caption: its box is the
            // table's.
            if (memo->AutoSize())
                for (const TGareControlRow &row : table)
                    if (box.control == QLatin1String(row.name))
                        box.height = row.height;
        } else if (!qobject_cast<const TRLCustomLabel *>(control)) {
            continue;
        }
        boxes.insert(control, box);
    }
    return boxes;
}

QString captionOf(const TRLCustomControl *control)
{
    if (auto *label = qobject_cast<const TRLCustomLabel *>(control))
        return label->Caption();
    if (auto *memo = qobject_cast<const TRLCustomMultiLine *>(control))
        return memo->Caption();
    return {};
}

// Files each control whose caption the fill set to a field's marker under that field.
void collect(const QHash<const TRLCustomControl *, TPrintedBox> &before, const QStringList &fields,
             TBoxes &boxes)
{
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const QString caption = captionOf(it.key());
        for (int i = 0; i < fields.size(); ++i)
            if (caption == marker(i))
                boxes[fields.at(i)].append(it.value());
    }
}

// Fills a fresh form with the fields' markers and files its controls under the fields they show.
template <class Form, class Fill>
void gather(TBoxes &boxes, const QStringList &fields, Fill fill, std::span<const TGareControlRow> table = {})
{
    auto form = std::make_unique<Form>();
    const auto before = designBoxes(*form, table);
    fill(*form);
    collect(before, fields, boxes);
}

TBoxes buildBoxes()
{
    TBoxes boxes;

    QStringList darfFields;
    TDarfEntryTexts darf;
    for (const TDarfField &f : kDarfFields) {
        darf.*f.text = marker(int(darfFields.size()));
        darfFields << QString::fromLatin1(f.field);
    }
    gather<TfrmLayOutDARF>(boxes, darfFields, [&](TfrmLayOutDARF &form) { FillLayOutDarf(form, darf, 0); });
    gather<TfrmDadosDARF>(boxes, darfFields, [&](TfrmDadosDARF &form) { FillDadosDarf(form, darf); });

    QStringList gareFields;
    TGareEntryTexts gare;
    for (const TGareDataTarget &t : GareDataTargets()) {
        gare.*t.text = marker(int(gareFields.size()));
        gareFields << QString::fromLatin1(t.field);
    }
    gather<TfrmLayOutGARE>(boxes, gareFields, [&](TfrmLayOutGARE &form) { FillLayOutGare(form, gare, 0, 0); },
                           GareLayoutRows());
    gather<TfrmDadosGARE>(boxes, gareFields, [&](TfrmDadosGARE &form) { FillDadosGare(form, gare); });
    return boxes;
}

const TBoxes &allBoxes()
{
    static const TBoxes boxes = buildBoxes();
    return boxes;
}

// The report's resolution and the printers': each draws the font as the page records it, where a
// row can come out wider than at 96 dpi.
constexpr int kResolutions[] = {96, 300, 600};

// Whether the row, started where the engine starts it, ends inside [0, width] of the box on every
// device: justified and left-aligned rows as far as their spacing brings them in, the others as
// they are.
bool rowFits(const TPrintedBox &box, const QString &row, TRLTextAlignment alignment)
{
    for (const int dpi : kResolutions) {
        const std::shared_ptr<TRLTextMeasure> measure = TRLTextMeasure::Recorded(box.font, dpi);
        const int width = RLMeta::scaled(box.width, dpi / 96.0);
        const int x = RLTextOriginX(alignment, TRLRect(0, 0, width, 0), measure->Blank(), measure->SpacedWidth(row));
        if (x < 0)
            return false;
        if (x + measure->Width(row) <= width)
            continue;
        const bool spaced = alignment == taLeftJustify || alignment == taJustify;
        if (!spaced || dpi == 96 || RLSpaceRow(row, *measure, x, width, false).End > width)
            return false;
    }
    return true;
}

} // namespace

const QList<TPrintedBox> &SlipFieldBoxes(const QString &field)
{
    static const QList<TPrintedBox> none;
    const TBoxes &boxes = allBoxes();
    const auto it = boxes.constFind(field);
    return it == boxes.cend() ? none : *it;
}

bool TextFitsBox(const TPrintedBox &box, const QString &text)
{
    if (!box.memo)
        return text.isEmpty() || rowFits(box, text, box.alignment);
    const std::shared_ptr<TRLTextMeasure> measure = TRLTextMeasure::Recorded(box.font);
    const QStringList rows =
        RLBreakRows(text, box.width, box.wordWrap, [&](const QString &t) { return measure->Width(t); });
    // Justified rows are spread to the right edge when printed, the last one left-aligned.
    const TRLTextAlignment alignment = box.alignment == taJustify ? taLeftJustify : box.alignment;
    int height = 0;
    for (const QString &row : rows) {
        if (!row.isEmpty() && !rowFits(box, row, alignment))
            return false;
        height += measure->Height();
    }
    return text.isEmpty() || height <= box.height;
}

bool SlipFieldFits(const QString &field, const QString &text)
{
    // Clearing the fields at start-up asks too: nothing there needs the slips built.
    if (text.isEmpty())
        return true;
    for (const TPrintedBox &box : SlipFieldBoxes(field))
        if (!TextFitsBox(box, text))
            return false;
    return true;
}

bool SlipFieldFits(QString TDarfEntryTexts::*field, const QString &text)
{
    for (const TDarfField &f : kDarfFields)
        if (f.text == field)
            return SlipFieldFits(QString::fromLatin1(f.field), text);
    return true;
}

bool SlipFieldFits(QString TGareEntryTexts::*field, const QString &text)
{
    for (const TGareDataTarget &t : GareDataTargets())
        if (t.text == field)
            return SlipFieldFits(QString::fromLatin1(t.field), text);
    return true;
}
