#pragma once
// Fills and colours the GARE full layout: the entered data into both copies, the form in the
// slip's colour or in black and white.

#include <QColor>
#include <QString>
#include <span>

class TfrmLayOutGARE;

// The texts the GARE entry fields show, named after the fields (memos as their whole text,
// lines separated by line breaks).
struct TGareEntryTexts
{
    QString EdNomeG, EdEnderecoG, EDMunicipioG, EDUFG, EDFoneG, MMTribG, EdCAEG, EdPlacaG, MMObsG;
    QString MEDTVencG, EDCodRecG, EDInscEstG, EDCGCG, EDInscrDAG, EDNroAinG;
    QString neValRecG, neJurMorG, neMulMorG, neHonor, LbTotalG;
};

// A slip colour as the main window keeps it, 0x00BBGGRR.
QColor SlipColourToQColor(quint32 colour);

// `colour` 0 prints in black and white; `markColour` is the ground of the "GARE" mark (the main
// window's GARE colour, which the Print command also passes as `colour`).
void FillLayOutGare(TfrmLayOutGARE &form, const TGareEntryTexts &texts, quint32 colour, quint32 markColour);

// The two halves of the fill, in that order. Colouring measures every caption again, so a run of
// slips in one colour colours once and then only sets each slip's texts.
void ColourLayOutGare(TfrmLayOutGARE &form, quint32 colour, quint32 markColour);
void SetLayOutGareTexts(TfrmLayOutGARE &form, const TGareEntryTexts &texts);

// The data controls of copy 1 with the entry text each shows (copy 2 adds "2" to each name).
struct TGareDataTarget
{
    const char *control;
    const char *field;
    QString TGareEntryTexts::*text;
};
std::span<const TGareDataTarget> GareDataTargets();
