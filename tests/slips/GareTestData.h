// Typical GARE entries: long name and address, both memos full, large amounts.
#pragma once

#include "slips/pLayOutGareFill.h"

inline TGareEntryTexts typicalGareTexts()
{
    TGareEntryTexts t;
    t.EdNomeG = QStringLiteral("Comércio de Materiais de Construção Paulista Ltda. - ME");
    t.EdEnderecoG = QStringLiteral("Avenida Brigadeiro Faria Lima, 1.234 - 5º andar - conj. 52");
    t.EDMunicipioG = QStringLiteral("São José do Rio Preto");
    t.EDUFG = QStringLiteral("SP");
    t.EDFoneG = QStringLiteral("(17) 3234-5678");
    t.MMTribG = QStringLiteral("ICMS - Parcelamento de débito fiscal\nParcela 12 de 60 - acordo 2023/0456");
    t.EdCAEG = QStringLiteral("12.345.678-9");
    t.EdPlacaG = QStringLiteral("ABC-1234");
    t.MMObsG = QStringLiteral(
        "Recolhimento referente ao auto de infração lavrado em 12/01/2024, com redução de multa "
        "por pagamento à vista.\nValores corrigidos até a data de vencimento indicada no campo 02, "
        "conforme demonstrativo anexo ao processo administrativo.\nEm caso de dúvida procurar o "
        "posto fiscal da região de São José do Rio Preto.\nDocumento emitido pelo contribuinte.");
    t.MEDTVencG = QStringLiteral("15/03/2024");
    t.EDCodRecG = QStringLiteral("063-2");
    t.EDInscEstG = QStringLiteral("123.456.789.012");
    t.EDCGCG = QStringLiteral("12.345.678/0001-90");
    t.EDInscrDAG = QStringLiteral("1.234.567.890-12");
    t.EDNroAinG = QStringLiteral("3.123.456-7");
    t.neValRecG = QStringLiteral("1.234.567,89");
    t.neJurMorG = QStringLiteral("123.456,78");
    t.neMulMorG = QStringLiteral("246.913,57");
    t.neHonor = QStringLiteral("12.345,67");
    t.LbTotalG = QStringLiteral("1.617.283,91");
    return t;
}
