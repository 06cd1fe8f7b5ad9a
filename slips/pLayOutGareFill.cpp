#include "slips/pLayOutGareFill.h"

#include "slips/pLayOutGare.h"

namespace {

constexpr TGareDataTarget kTargets[] = {
    {"LNomeG", "EdNomeG", &TGareEntryTexts::EdNomeG},
    {"LEnderecoG", "EdEnderecoG", &TGareEntryTexts::EdEnderecoG},
    {"LMunicipioG", "EDMunicipioG", &TGareEntryTexts::EDMunicipioG},
    {"LUFG", "EDUFG", &TGareEntryTexts::EDUFG},
    {"LTelefoneG", "EDFoneG", &TGareEntryTexts::EDFoneG},
    {"LTribRecG", "MMTribG", &TGareEntryTexts::MMTribG},
    {"LCAEG", "EdCAEG", &TGareEntryTexts::EdCAEG},
    {"LPlacaG", "EdPlacaG", &TGareEntryTexts::EdPlacaG},
    {"LObserv", "MMObsG", &TGareEntryTexts::MMObsG},
    {"LDtVencG", "MEDTVencG", &TGareEntryTexts::MEDTVencG},
    {"LCodRecG", "EDCodRecG", &TGareEntryTexts::EDCodRecG},
    {"LInscrEstG", "EDInscEstG", &TGareEntryTexts::EDInscEstG},
    {"LCGCG", "EDCGCG", &TGareEntryTexts::EDCGCG},
    {"LInscrDAG", "EDInscrDAG", &TGareEntryTexts::EDInscrDAG},
    {"LAIIMG", "EDNroAinG", &TGareEntryTexts::EDNroAinG},
    {"LVlrRecG", "neValRecG", &TGareEntryTexts::neValRecG},
    {"LJurMorG", "neJurMorG", &TGareEntryTexts::neJurMorG},
    {"LMulMorG", "neMulMorG", &TGareEntryTexts::neMulMorG},
    {"LHonorG", "neHonor", &TGareEntryTexts::neHonor},
    {"LVlrTotG", "LbTotalG", &TGareEntryTexts::LbTotalG},
};

constexpr const char *kCopies[] = {"", "2"};

QString controlName(const char *base, const char *copy)
{
    return QString::fromLatin1(base) + QLatin1String(copy);
}

// Exact classes only: the step that colours the form must not reach subclasses.
template <class T>
bool isExactly(const QObject *o)
{
    return o->metaObject() == &T::staticMetaObject;
}

void setPenColour(TRLDraw *d, const QColor &colour)
{
    QPen pen = d->Pen();
    pen.setColor(colour);
    d->SetPen(pen);
}

void setBrushColour(TRLDraw *d, const QColor &colour)
{
    QBrush brush = d->Brush();
    brush.setColor(colour);
    d->SetBrush(brush);
}

void setText(TRLCustomControl *c, const QString &text)
{
    if (auto *label = qobject_cast<TRLCustomLabel *>(c))
        label->SetCaption(text);
    else if (auto *memo = qobject_cast<TRLCustomMultiLine *>(c))
        memo->SetCaption(text);
}

} // namespace

std::span<const TGareDataTarget> GareDataTargets()
{
    return kTargets;
}

QColor SlipColourToQColor(quint32 colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

void ColourLayOutGare(TfrmLayOutGARE &form, quint32 colour, quint32 markColour)
{
    const QColor ink = SlipColourToQColor(colour);
    for (QObject *o : form.children()) {
        if (isExactly<TRLLabel>(o))
            static_cast<TRLLabel *>(o)->SetFontColor(ink);
        else if (isExactly<TRLDraw>(o))
            setPenColour(static_cast<TRLDraw *>(o), ink);
    }

    for (const char *name : {"LabelGARE1", "LabelGARE2"}) {
        auto *mark = form.Control<TRLLabel>(name);
        mark->SetFontColor(Qt::white);
        mark->SetColor(SlipColourToQColor(markColour));
    }

    // The masks hide the frame's top-right corner, leaving field 01 open.
    for (const char *name : {"Some1", "Some2", "Some3", "Some4"})
        setPenColour(form.Control<TRLDraw>(name), Qt::white);

    // The two crests of a copy lie on top of each other: the one that prints comes to the front.
    const bool inColour = colour != 0;
    auto crest = [&](const char *name) { return form.Control<TRLImage>(name); };
    if (inColour) {
        for (const char *name : {"BrasaoCor1", "BrasaoCor2"}) {
            crest(name)->SetVisible(true);
            crest(name)->BringToFront();
        }
        for (const char *name : {"BrasaoCor1", "BrasaoCor2"})
            crest(name)->SetEnabled(true);
        for (const char *name : {"BrasaoPB1", "BrasaoPB2"})
            crest(name)->SetVisible(false);
    } else {
        for (const char *name : {"BrasaoCor1", "BrasaoCor2"}) {
            crest(name)->SetVisible(false);
            crest(name)->SetEnabled(false);
        }
        for (const char *name : {"BrasaoPB1", "BrasaoPB2"}) {
            crest(name)->SetVisible(true);
            crest(name)->BringToFront();
        }
    }
    const QColor barFill = inColour ? ink : QColor(0xC0, 0xC0, 0xC0);
    for (const char *name : {"Vertical1", "Vertical2", "Horiz1", "Horiz2", "Horiz3", "Horiz4"})
        setBrushColour(form.Control<TRLDraw>(name), barFill);

    for (const char *copy : kCopies)
        for (const TGareDataTarget &t : kTargets)
            form.Control(controlName(t.control, copy))->SetFontColor(Qt::black);
}

void SetLayOutGareTexts(TfrmLayOutGARE &form, const TGareEntryTexts &texts)
{
    for (const char *copy : kCopies)
        for (const TGareDataTarget &t : kTargets)
            setText(form.Control(controlName(t.control, copy)), texts.*t.text);
}

void FillLayOutGare(TfrmLayOutGARE &form, const TGareEntryTexts &texts, quint32 colour, quint32 markColour)
{
    ColourLayOutGare(form, colour, markColour);
    SetLayOutGareTexts(form, texts);
}
