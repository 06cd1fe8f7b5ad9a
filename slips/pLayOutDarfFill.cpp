#include "slips/pLayOutDarf.h"
#include "slips/PrintedDate.h"

namespace {

// Data label of the upper copy (the lower one adds "2") and the entry that fills it, in the
// order they are filled.
struct TDarfDataRow
{
    const char *label;
    QString TDarfEntryTexts::*text;
};

constexpr TDarfDataRow kData[] = {
    {"LRLPeriodo", &TDarfEntryTexts::Periodo},   {"LRLCGC", &TDarfEntryTexts::CGCCPF},
    {"LRLNome", &TDarfEntryTexts::Nome},         {"LRLCodRec", &TDarfEntryTexts::CodRec},
    {"LRLNumRef", &TDarfEntryTexts::NumRef},     {"LRLDtVenc", &TDarfEntryTexts::DtVenc},
    {"LRLValPrinc", &TDarfEntryTexts::ValPrinc}, {"LRLValMulta", &TDarfEntryTexts::ValMulta},
    {"LRLValJur", &TDarfEntryTexts::ValJuros},   {"LRLValTot", &TDarfEntryTexts::Total},
};

const char *const kCopySuffixes[] = {"", "2"};

QColor slipColour(quint32 colour)
{
    return QColor(int(colour & 0xff), int((colour >> 8) & 0xff), int((colour >> 16) & 0xff));
}

TRLTextAlignment memoAlignment(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return taRightJustify;
    if (alignment & Qt::AlignHCenter)
        return taCenter;
    return taLeftJustify;
}

void showCrests(TfrmLayOutDARF &form, bool inColour)
{
    const char *shown[] = {"BrasaoCor1", "BrasaoCor2"};
    const char *hidden[] = {"BrasaoPB1", "BrasaoPb2"};
    if (!inColour)
        std::swap(shown, hidden);
    for (const char *name : hidden)
        if (auto *crest = form.Control<TRLImage>(QString::fromLatin1(name))) {
            crest->SetVisible(false);
            if (!inColour)
                crest->SetEnabled(false);
        }
    for (const char *name : shown)
        if (auto *crest = form.Control<TRLImage>(QString::fromLatin1(name))) {
            crest->SetVisible(true);
            crest->BringToFront();
            if (inColour)
                crest->SetEnabled(true);
        }
}

} // namespace

void ColourLayOutDarf(TfrmLayOutDARF &form, quint32 colour)
{
    const QColor ink = slipColour(colour);
    // Exact classes: a subclass of a label or a draw keeps its own colours.
    for (QObject *component : form.children()) {
        const QByteArray className = component->metaObject()->className();
        if (className == "TRLLabel" || className == "TRLMemo") {
            static_cast<TRLCustomControl *>(component)->SetFontColor(ink);
        } else if (className == "TRLDraw") {
            auto *draw = static_cast<TRLDraw *>(component);
            QPen pen = draw->Pen();
            pen.setColor(ink);
            draw->SetPen(pen);
        }
    }
    for (const char *suffix : kCopySuffixes)
        for (const TDarfDataRow &row : kData)
            if (auto *label = form.Control<TRLLabel>(QString::fromLatin1(row.label) + QString::fromLatin1(suffix)))
                label->SetFontColor(Qt::black);

    showCrests(form, colour != 0);
}

void SetLayOutDarfTexts(TfrmLayOutDARF &form, const TDarfEntryTexts &texts)
{
    for (const char *suffix : kCopySuffixes)
        for (const TDarfDataRow &row : kData)
            if (auto *label = form.Control<TRLLabel>(QString::fromLatin1(row.label) + QString::fromLatin1(suffix))) {
                const bool date = row.text == &TDarfEntryTexts::Periodo || row.text == &TDarfEntryTexts::DtVenc;
                label->SetCaption(date ? PrintedDateText(texts.*row.text) : texts.*row.text);
            }

    for (const char *name : {"RLmVejaVersao1", "RLmVejaVersao2"})
        if (auto *memo = form.Control<TRLMemo>(QString::fromLatin1(name))) {
            memo->SetLines(texts.VejaVerso);
            memo->SetAlignment(memoAlignment(texts.VejaVersoAlignment));
        }
}

void FillLayOutDarf(TfrmLayOutDARF &form, const TDarfEntryTexts &texts, quint32 colour)
{
    ColourLayOutDarf(form, colour);
    SetLayOutDarfTexts(form, texts);
}
