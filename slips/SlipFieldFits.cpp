#include "slips/SlipFieldFits.h"

#include "report/RLMemo.h"
#include "report/base/RLUtils.h"
#include "slips/pDadosDARF.h"
#include "slips/pDadosGARE.h"
#include "slips/pLayOutDarf.h"
#include "slips/pLayOutGare.h"
#include "slips/pLayOutGareFill.h"

#include <QHash>
#include <QImage>
#include <QtMath>
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

// Printers draw with the font scaled to their resolution, where a text can come out wider than
// at the report's 96 dpi; a right-aligned or centred text then starts further left.
constexpr int kPrinterDpi[] = {300, 600};

struct TScaledMeasure
{
    QFont font;
    QImage device;
    double scale;
};

const TScaledMeasure &scaledMeasure(const QFont &font, int dpi)
{
    thread_local QHash<QPair<QString, int>, TScaledMeasure> measures;
    const auto key = qMakePair(font.key(), dpi);
    auto it = measures.find(key);
    if (it == measures.end()) {
        TScaledMeasure m{font, QImage(1, 1, QImage::Format_RGB32), dpi / 96.0};
        m.device.setDotsPerMeterX(qRound(dpi / 0.0254));
        m.device.setDotsPerMeterY(qRound(dpi / 0.0254));
        if (font.pixelSize() > 0)
            m.font.setPixelSize(qRound(font.pixelSize() * m.scale));
        else
            m.font.setPointSizeF(font.pointSizeF());
        it = measures.insert(key, m);
    }
    return *it;
}

// A row's ink, from where the engine starts it to the end of its characters, within [0, width],
// at the report's resolution and at the printers'.
bool rowFits(const TPrintedBox &box, const QString &row, TRLTextAlignment alignment)
{
    const auto fitsWith = [&](const std::function<int(const QString &)> &width, int boxWidth) {
        const TRLRect r(0, 0, boxWidth, box.height);
        const int x = RLTextOriginX(alignment, r, width(QStringLiteral(" ")), width(row + QLatin1Char(' ')));
        return x >= 0 && x + width(row) <= boxWidth;
    };
    if (!fitsWith([&](const QString &t) { return textExtent(t, box.font).width(); }, box.width))
        return false;
    // Left-aligned rows are narrowed to their box when printed; only the start of the others moves.
    if (alignment == taLeftJustify)
        return true;
    for (const int dpi : kPrinterDpi) {
        const TScaledMeasure &m = scaledMeasure(box.font, dpi);
        const QFontMetrics metrics(m.font, &m.device);
        if (!fitsWith([&](const QString &t) { return metrics.horizontalAdvance(t); }, qFloor(box.width * m.scale)))
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
    const QStringList rows = RLBreakRows(text, box.width, box.wordWrap,
                                         [&](const QString &t) { return textExtent(t, box.font).width(); });
    // Justified rows are spread to the right edge when printed, the last one left-aligned.
    const TRLTextAlignment alignment = box.alignment == taJustify ? taLeftJustify : box.alignment;
    int height = 0;
    for (const QString &row : rows) {
        if (!row.isEmpty() && !rowFits(box, row, alignment))
            return false;
        height += textExtent(row + QLatin1Char(' '), box.font).height();
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
