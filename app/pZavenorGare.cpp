// The main window's side of the GARE slips: it only gathers what the fields show.
#include "app/pZavenorCLX.h"

#include "slips/pLayOutGare.h"
#include "slips/pLayOutGareFill.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/MemoCLX.h"
#include "widgets/NumEditCLX.h"

#include <QLabel>
#include <QLineEdit>

TGareEntryTexts TfrmZavenor::gareTexts() const
{
    return TGareEntryTexts{
        .EdNomeG = EdNomeG->text(),
        .EdEnderecoG = EdEnderecoG->text(),
        .EDMunicipioG = EDMunicipioG->text(),
        .EDUFG = EDUFG->text(),
        .EDFoneG = EDFoneG->text(),
        .MMTribG = MMTribG->toPlainText(),
        .EdCAEG = EdCAEG->text(),
        .EdPlacaG = EdPlacaG->text(),
        .MMObsG = MMObsG->toPlainText(),
        .MEDTVencG = MEDTVencG->Text(),
        .EDCodRecG = EDCodRecG->text(),
        .EDInscEstG = EDInscEstG->text(),
        .EDCGCG = EDCGCG->text(),
        .EDInscrDAG = EDInscrDAG->text(),
        .EDNroAinG = EDNroAinG->text(),
        .neValRecG = neValRecG->text(),
        .neJurMorG = neJurMorG->text(),
        .neMulMorG = neMulMorG->text(),
        .neHonor = neHonor->text(),
        .LbTotalG = LbTotalG->text(),
    };
}

void TfrmZavenor::fCorGare(quint32 Cor)
{
    if (!frmLayOutGARE)
        return;
    FillLayOutGare(*frmLayOutGARE, gareTexts(), Cor, CorGare);
}
