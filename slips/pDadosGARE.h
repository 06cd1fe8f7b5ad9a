#pragma once
// The data-only GARE: only the typed values, placed on the report itself to fall into the boxes
// of a pre-printed slip on a 211 x 102 mm sheet; the due date prints as day, month and year.

#include "slips/pLayOutGareFill.h"

#include <QPointer>
#include <QWidget>

class TRLReport;
class TRLLabel;
class TRLMemo;

class TfrmDadosGARE : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmDadosGARE(QWidget *parent = nullptr);
    ~TfrmDadosGARE() override;

    TRLReport *LRDadosGARE = nullptr;
    TRLLabel *LNomeG = nullptr;
    TRLLabel *LEnderecoG = nullptr;
    TRLLabel *LMunicipioG = nullptr;
    TRLLabel *LUFG = nullptr;
    TRLLabel *LTelefoneG = nullptr;
    TRLMemo *LTribRecG = nullptr;
    TRLLabel *LCAEG = nullptr;
    TRLLabel *LPlacaG = nullptr;
    TRLMemo *LObserv = nullptr;
    TRLLabel *LAnoG = nullptr;
    TRLLabel *LCodRecG = nullptr;
    TRLLabel *LInscrEstG = nullptr;
    TRLLabel *LCGCG = nullptr;
    TRLLabel *LInscrDAG = nullptr;
    TRLLabel *LAIIMG = nullptr;
    TRLLabel *LVlrRecG = nullptr;
    TRLLabel *LJurMorG = nullptr;
    TRLLabel *LMulMorG = nullptr;
    TRLLabel *LHonorG = nullptr;
    TRLLabel *LVlrTotG = nullptr;
    TRLLabel *LDiaG = nullptr;
    TRLLabel *LMesG = nullptr;
};

// The window the fill writes into: the one created last (at start-up or by a Print).
inline QPointer<TfrmDadosGARE> frmDadosGARE;

// Copies the entered texts unchanged into the labels and memos; the due date prints as its day,
// month and year cut at their fixed places.
void FillDadosGare(TfrmDadosGARE &form, const TGareEntryTexts &texts);
