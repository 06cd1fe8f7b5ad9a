#include "batch/BatchColumns.h"

#include <QStringList>

namespace {

using enum TFieldKind;

constexpr TBatchField kDarf[] = {
    {"nome", "01 NOME / TELEFONE", Text, 51, &TDarfEntryTexts::Nome},
    {"periodo_apuracao", "02 PERÍODO DE APURAÇÃO", Date, 10, &TDarfEntryTexts::Periodo},
    {"cpf_cnpj", "03 NÚMERO DO CPF OU CNPJ", Text, 0, &TDarfEntryTexts::CGCCPF},
    {"codigo_receita", "04 CÓDIGO DA RECEITA", Text, 0, &TDarfEntryTexts::CodRec},
    {"numero_referencia", "05 NÚMERO DE REFERÊNCIA", Text, 0, &TDarfEntryTexts::NumRef},
    {"vencimento", "06 DATA DO VENCIMENTO", Date, 10, &TDarfEntryTexts::DtVenc},
    {"principal", "07 VALOR DO PRINCIPAL", Amount, 0, &TDarfEntryTexts::ValPrinc},
    {"multa", "08 VALOR DA MULTA", Amount, 0, &TDarfEntryTexts::ValMulta},
    {"juros", "09 VLR. DOS JUROS E/OU ENCARGOS DL - 1.025/69", Amount, 0, &TDarfEntryTexts::ValJuros},
    {"total", "10 VALOR TOTAL", Total, 0, &TDarfEntryTexts::Total},
    {"data_pagamento", "DATA DO PAGAMENTO (calcula multa e juros em branco, confere os informados)", PaymentDate, 10},
};

// In the tab order of the GARE page, the total after the last amount.
constexpr TBatchField kGare[] = {
    {"nome", "15 NOME OU RAZÃO SOCIAL", Text, 60, nullptr, &TGareEntryTexts::EdNomeG},
    {"endereco", "16 ENDEREÇO", Text, 60, nullptr, &TGareEntryTexts::EdEnderecoG},
    {"municipio", "MUNICÍPIO", Text, 33, nullptr, &TGareEntryTexts::EDMunicipioG},
    {"uf", "UF", Text, 2, nullptr, &TGareEntryTexts::EDUFG},
    {"telefone", "17 TELEFONE", Text, 20, nullptr, &TGareEntryTexts::EDFoneG},
    {"tributo_receita", "18 TRIBUTO / RECEITA", Memo, 100, nullptr, &TGareEntryTexts::MMTribG},
    {"cae", "19 C A E", Text, 18, nullptr, &TGareEntryTexts::EdCAEG},
    {"placa_veiculo", "20 PLACA DO VEÍCULO", Text, 18, nullptr, &TGareEntryTexts::EdPlacaG},
    {"observacoes", "21 OBSERVAÇÕES", Memo, 400, nullptr, &TGareEntryTexts::MMObsG},
    {"vencimento", "02 DATA DE VENCIMENTO", Date, 10, nullptr, &TGareEntryTexts::MEDTVencG},
    {"codigo_receita", "03 CÓDIGO DE RECEITA", Text, 23, nullptr, &TGareEntryTexts::EDCodRecG},
    {"inscricao_estadual", "04 INSCRIÇÃO ESTADUAL OU CÓD. DO MUNICÍPIO", Text, 23, nullptr, &TGareEntryTexts::EDInscEstG},
    {"cpf_cnpj", "05 CGC OU CPF", Text, 23, nullptr, &TGareEntryTexts::EDCGCG},
    {"inscricao_divida_ativa", "06 INSCR. NA DÍVIDA ATIVA ou No. DA ETIQUETA", Text, 23, nullptr,
     &TGareEntryTexts::EDInscrDAG},
    {"numero_aiim", "08 No. AIIM", Text, 23, nullptr, &TGareEntryTexts::EDNroAinG},
    {"valor_receita", "09 VALOR DA RECEITA (Nominal ou corrigida)", Amount, 0, nullptr, &TGareEntryTexts::neValRecG},
    {"juros_mora", "10 JUROS DE MORA", Amount, 0, nullptr, &TGareEntryTexts::neJurMorG},
    {"multa_mora", "11 MULTA DE MORA ou MULTA POR INFRAÇÃO", Amount, 0, nullptr, &TGareEntryTexts::neMulMorG},
    {"honorarios", "13 HONORÁRIOS ADVOCATÍCIOS", Amount, 0, nullptr, &TGareEntryTexts::neHonor},
    {"total", "14 VALOR TOTAL", Total, 0, nullptr, &TGareEntryTexts::LbTotalG},
};

} // namespace

namespace BatchColumns {

std::span<const TBatchField> Fields(TSlipKind kind)
{
    if (kind == TSlipKind::Darf)
        return kDarf;
    return kGare;
}

const char *AliasOf(const QString &column)
{
    return column == QLatin1String("cgc_cpf") ? "cpf_cnpj" : nullptr;
}

QStringList AllColumns()
{
    QStringList names{QString::fromLatin1(TypeColumn)};
    for (const TSlipKind kind : {TSlipKind::Darf, TSlipKind::Gare})
        for (const TBatchField &field : Fields(kind))
            if (!names.contains(QLatin1String(field.column)))
                names << QString::fromLatin1(field.column);
    return names;
}

const TBatchField *Field(TSlipKind kind, const QString &column)
{
    for (const TBatchField &field : Fields(kind))
        if (column == QLatin1String(field.column))
            return &field;
    return nullptr;
}

QString KindName(TSlipKind kind)
{
    return kind == TSlipKind::Darf ? QStringLiteral("DARF") : QStringLiteral("GARE");
}

} // namespace BatchColumns
