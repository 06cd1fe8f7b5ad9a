#pragma once
// The DARF drawn whole on blank A4: frames, captions, crest and notice, twice on one sheet with
// a cut line after each copy. TfrmLayOutDARF holds the report RLDarf; FillLayOutDarf copies the
// entered texts into it and colours it.

#include "report/RLReport.h"

#include <QStringList>
#include <QWidget>

class QLabel;

class TfrmLayOutDARF : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmLayOutDARF(QWidget *parent = nullptr);
    ~TfrmLayOutDARF() override;

    TRLReport *RLDarf = nullptr;
    TRLBand *RLBand1 = nullptr;
    // Says that the two crests lie on top of each other; never printed.
    QLabel *Label1 = nullptr;

    void RLBand1BeforePrint(TRLCustomControl *Sender, bool &PrintIt);

    // A report control of the layout by its name; null when there is none of that class.
    template <class T>
    T *Control(const QString &name) const
    {
        return findChild<T *>(name, Qt::FindDirectChildrenOnly);
    }
};

// The DARF page's entries as its fields show them: nothing trimmed or reformatted.
struct TDarfEntryTexts
{
    QString Periodo;   // mePerAp
    QString CGCCPF;    // edCGCCPF
    QString Nome;      // EdNome
    QString CodRec;    // edCodRec
    QString NumRef;    // edNumRef
    QString DtVenc;    // meDtVenc
    QString ValPrinc;  // neValPrinc
    QString ValMulta;  // neValMulta
    QString ValJuros;  // neValJuros
    QString Total;     // LbTotal
    QStringList VejaVerso; // mmVejaVerso, line by line
    Qt::Alignment VejaVersoAlignment = Qt::AlignLeft;
};

// Colours every caption, memo and pen with `colour` (0x00BBGGRR; 0 prints in black and white and
// swaps in the black-and-white crest), keeps the entered data black, and copies the texts into
// both copies: ColourLayOutDarf and then SetLayOutDarfTexts.
void FillLayOutDarf(TfrmLayOutDARF &form, const TDarfEntryTexts &texts, quint32 colour);

// The two halves of the fill. Colouring measures every caption again, so a run of slips in one
// colour colours once and then only sets each slip's texts.
void ColourLayOutDarf(TfrmLayOutDARF &form, quint32 colour);
void SetLayOutDarfTexts(TfrmLayOutDARF &form, const TDarfEntryTexts &texts);
