#pragma once
// The data-only DARF: only the typed values, placed to fall into the boxes of a pre-printed
// slip on a 211 x 102 mm sheet. A hidden window that holds nothing but its report.

#include "slips/pLayOutDarf.h"

#include <QPointer>
#include <QWidget>

class TRLReport;
class TRLBand;
class TRLLabel;

class TfrmDadosDARF : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmDadosDARF(QWidget *parent = nullptr);
    ~TfrmDadosDARF() override;

    TRLReport *RLDadosDARF = nullptr;
    TRLBand *QRBand1 = nullptr;
    TRLLabel *QRLNome = nullptr;
    TRLLabel *QRLPeriodo = nullptr;
    TRLLabel *QRLCGC = nullptr;
    TRLLabel *QRLCodRec = nullptr;
    TRLLabel *QRLNumRef = nullptr;
    TRLLabel *QRLDtVenc = nullptr;
    TRLLabel *QRLValPrinc = nullptr;
    TRLLabel *QRLValMulta = nullptr;
    TRLLabel *QRLValJur = nullptr;
    TRLLabel *QRLValTot = nullptr;
};

// The window the fill writes into: the one created last (at start-up or by a Print).
inline QPointer<TfrmDadosDARF> frmDadosDARF;

// Copies the entered texts unchanged into the ten labels (the instructions memo does not print
// here).
void FillDadosDarf(TfrmDadosDARF &form, const TDarfEntryTexts &texts);
