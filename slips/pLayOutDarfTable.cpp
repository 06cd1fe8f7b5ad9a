#include "slips/pLayOutDarfTable.h"

namespace {

constexpr auto Label = TDarfKind::Label;
constexpr auto Memo = TDarfKind::Memo;
constexpr auto Image = TDarfKind::Image;
constexpr auto Rect = TDarfKind::Rectangle;
constexpr auto Line = TDarfKind::Line;
constexpr auto Arial11 = TDarfFont::Arial11;
constexpr auto Arial12 = TDarfFont::Arial12;
constexpr auto Arial16B = TDarfFont::Arial16Bold;
constexpr auto Arial19B = TDarfFont::Arial19Bold;
constexpr auto Courier11B = TDarfFont::Courier11Bold;
constexpr auto Times8 = TDarfFont::Times8;
constexpr auto Times13 = TDarfFont::Times13;
constexpr auto Times16B = TDarfFont::Times16Bold;
constexpr auto Orange = TDarfBrush::Orange;

} // namespace

const char kDarfNotice[] =
    "É vedado o recolhimento de tributos e contribuições administrados pela Secretaria da Receita "
    "Federal cujo valor total seja inferior a R$ 10,00. Ocorrendo tal situação, adicione esse valor "
    "ao tributo / contribuição de mesmo código de períodos subsequentes, até que o total seja igual ou "
    "superior a R$ 10,00.";

namespace {

// clang-format off
constexpr TDarfControlRow kRows[] = {
    {.name = "LRShape16", .kind = Rect, .copy = 2, .box = {0, 414, 748, 353}},
    {.name = "LRShape27", .kind = Rect, .copy = 2, .box = {372, 664, 376, 32}},
    {.name = "LRShape26", .kind = Rect, .copy = 2, .box = {372, 633, 376, 32}},
    {.name = "LRShape25", .kind = Rect, .copy = 2, .box = {372, 600, 376, 34}},
    {.name = "LRShape24", .kind = Rect, .copy = 2, .box = {372, 569, 376, 32}},
    {.name = "LRShape23", .kind = Rect, .copy = 2, .box = {372, 538, 376, 32}},
    {.name = "LRShape22", .kind = Rect, .copy = 2, .box = {372, 507, 376, 32}},
    {.name = "LRShape21", .kind = Rect, .copy = 2, .box = {372, 476, 376, 32}},
    {.name = "LRShape20", .kind = Rect, .copy = 2, .box = {372, 445, 376, 32}},
    {.name = "LRShape19", .kind = Rect, .copy = 2, .box = {372, 414, 376, 32}},
    {.name = "LRShape17", .kind = Rect, .copy = 2, .box = {0, 526, 372, 44}},
    {.name = "LRShape31", .kind = Rect, .copy = 2, .box = {371, 421, 2, 347}, .brush = Orange},
    {.name = "LRShape30", .kind = Rect, .copy = 1, .box = {1, 1, 748, 353}},
    {.name = "LRShape4", .kind = Rect, .copy = 1, .box = {1, 156, 372, 48}},
    {.name = "BrasaoPB1", .kind = Image, .copy = 1, .box = {8, 7, 73, 81}, .text = "brasao_brasil_pb.png", .flags = dfCentre | dfStretch},
    {.name = "BrasaoCor1", .kind = Image, .copy = 1, .box = {8, 7, 73, 81}, .text = "brasao_brasil.png", .flags = dfCentre | dfStretch},
    {.name = "LRLabel1", .kind = Label, .copy = 1, .box = {88, 8, 201, 20}, .text = "MINISTÉRIO DA FAZENDA", .font = Arial16B},
    {.name = "LRLabel2", .kind = Label, .copy = 1, .box = {88, 32, 207, 16}, .text = "SECRETARIA DA RECEITA FEDERAL", .font = Arial12},
    {.name = "LRLabel3", .kind = Label, .copy = 1, .box = {88, 56, 242, 16}, .text = "Documento de Arrecadação de Receitas Federais", .font = Arial11},
    {.name = "LRLabel27", .kind = Label, .copy = 1, .box = {88, 80, 68, 27}, .text = "D A R F", .font = Arial19B},
    {.name = "LRShape3", .kind = Rect, .copy = 1, .box = {1, 113, 372, 44}},
    {.name = "LRShape1", .kind = Rect, .copy = 1, .box = {373, 1, 376, 32}},
    {.name = "LRShape6", .kind = Rect, .copy = 1, .box = {373, 32, 376, 32}},
    {.name = "LRShape7", .kind = Rect, .copy = 1, .box = {373, 63, 376, 32}},
    {.name = "LRShape8", .kind = Rect, .copy = 1, .box = {373, 94, 376, 32}},
    {.name = "LRShape9", .kind = Rect, .copy = 1, .box = {373, 125, 376, 32}},
    {.name = "LRShape10", .kind = Rect, .copy = 1, .box = {373, 156, 376, 32}},
    {.name = "LRShape11", .kind = Rect, .copy = 1, .box = {373, 187, 376, 34}},
    {.name = "LRShape12", .kind = Rect, .copy = 1, .box = {373, 220, 376, 32}},
    {.name = "LRShape13", .kind = Rect, .copy = 1, .box = {373, 251, 376, 32}},
    {.name = "LRShape2", .kind = Rect, .copy = 1, .box = {372, 1, 2, 353}, .brush = Orange},
    {.name = "LRShape32", .kind = Line, .copy = 1, .box = {-2, 370, 751, 1}, .flags = dfDashed},
    {.name = "LRImage21", .kind = Image, .copy = 1, .box = {0, 360, 20, 20}, .text = "tesoura.png", .flags = dfAutoSize},
    {.name = "LRLabel6", .kind = Label, .copy = 1, .box = {376, 4, 15, 16}, .text = "02", .font = Courier11B},
    {.name = "LRLabel15", .kind = Label, .copy = 1, .box = {376, 36, 15, 16}, .text = "03", .font = Courier11B},
    {.name = "LRLabel14", .kind = Label, .copy = 1, .box = {376, 68, 15, 16}, .text = "04", .font = Courier11B},
    {.name = "LRLabel13", .kind = Label, .copy = 1, .box = {376, 99, 15, 16}, .text = "05", .font = Courier11B},
    {.name = "LRLabel12", .kind = Label, .copy = 1, .box = {376, 128, 15, 16}, .text = "06", .font = Courier11B},
    {.name = "LRLabel11", .kind = Label, .copy = 1, .box = {376, 160, 15, 16}, .text = "07", .font = Courier11B},
    {.name = "LRLabel10", .kind = Label, .copy = 1, .box = {376, 188, 15, 16}, .text = "08", .font = Courier11B},
    {.name = "LRLabel9", .kind = Label, .copy = 1, .box = {376, 224, 15, 16}, .text = "09", .font = Courier11B},
    {.name = "LRLabel8", .kind = Label, .copy = 1, .box = {376, 252, 15, 16}, .text = "10", .font = Courier11B},
    {.name = "LRLabel7", .kind = Label, .copy = 1, .box = {376, 284, 15, 16}, .text = "11", .font = Courier11B},
    {.name = "LRLabel17", .kind = Label, .copy = 1, .box = {396, 284, 204, 12}, .text = "AUTENTICAÇÃO BANCÁRIA (Somente nas 1a. e 2a. vias)", .font = Times8},
    {.name = "LRLabel18", .kind = Label, .copy = 1, .box = {396, 255, 58, 12}, .text = "VALOR TOTAL", .font = Times8},
    // Two lines high: a memo, so that the legal name wraps inside its box instead of being cut.
    {.name = "LRLabel19", .kind = Memo, .copy = 1, .box = {394, 223, 133, 22}, .text = "VALOR DOS JUROS E/OU ENCARGOS DL - 1.025/69", .font = Times8, .flags = dfFixedSize},
    {.name = "LRLabel20", .kind = Label, .copy = 1, .box = {396, 188, 74, 12}, .text = "VALOR DA MULTA", .font = Times8},
    {.name = "LRLabel21", .kind = Label, .copy = 1, .box = {396, 160, 88, 12}, .text = "VALOR DO PRINCIPAL", .font = Times8},
    {.name = "LRLabel22", .kind = Label, .copy = 1, .box = {396, 128, 94, 12}, .text = "DATA DO VENCIMENTO", .font = Times8},
    {.name = "LRLabel23", .kind = Label, .copy = 1, .box = {396, 99, 100, 12}, .text = "NÚMERO DE REFERÊNCIA", .font = Times8},
    {.name = "LRLabel24", .kind = Label, .copy = 1, .box = {396, 68, 83, 12}, .text = "CÓDIGO DA RECEITA", .font = Times8},
    {.name = "LRLabel25", .kind = Label, .copy = 1, .box = {396, 36, 98, 12}, .text = "NÚMERO DO CPF OU CGC", .font = Times8},
    {.name = "LRLabel16", .kind = Label, .copy = 1, .box = {396, 4, 97, 12}, .text = "PERÍODO DE APURAÇÃO", .font = Times8},
    {.name = "LRImage1", .kind = Image, .copy = 1, .box = {528, 15, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage10", .kind = Image, .copy = 1, .box = {528, 46, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage9", .kind = Image, .copy = 1, .box = {528, 77, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage8", .kind = Image, .copy = 1, .box = {528, 108, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage7", .kind = Image, .copy = 1, .box = {528, 139, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage6", .kind = Image, .copy = 1, .box = {528, 170, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage5", .kind = Image, .copy = 1, .box = {528, 203, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage3", .kind = Image, .copy = 1, .box = {528, 234, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage4", .kind = Image, .copy = 1, .box = {528, 265, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRShape15", .kind = Rect, .copy = 1, .box = {550, 1, 1, 282}, .brush = Orange},
    {.name = "LRLPeriodo", .kind = Label, .copy = 1, .box = {606, 12, 128, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLCGC", .kind = Label, .copy = 1, .box = {566, 42, 168, 18}, .flags = dfRight | dfFixedSize | dfWhite},
    {.name = "LRLCodRec", .kind = Label, .copy = 1, .box = {566, 72, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLNumRef", .kind = Label, .copy = 1, .box = {566, 104, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLDtVenc", .kind = Label, .copy = 1, .box = {566, 136, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLValPrinc", .kind = Label, .copy = 1, .box = {566, 167, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLValMulta", .kind = Label, .copy = 1, .box = {566, 200, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLValJur", .kind = Label, .copy = 1, .box = {566, 230, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLValTot", .kind = Label, .copy = 1, .box = {566, 261, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLabel4", .kind = Label, .copy = 1, .box = {4, 116, 15, 16}, .text = "01", .font = Courier11B},
    {.name = "LRLabel5", .kind = Label, .copy = 1, .box = {24, 116, 72, 12}, .text = "NOME / TELEFONE", .font = Times8},
    {.name = "LRLNome", .kind = Label, .copy = 1, .box = {8, 136, 352, 18}, .font = Arial11, .flags = dfFixedSize},
    {.name = "LRLabel26", .kind = Label, .copy = 1, .box = {136, 212, 78, 20}, .text = "ATENÇÃO", .font = Times16B},
    {.name = "LRShape33", .kind = Line, .copy = 2, .box = {-1, 782, 748, 1}, .flags = dfDashed},
    {.name = "LRImage22", .kind = Image, .copy = 2, .box = {-1, 772, 20, 20}, .text = "tesoura.png", .flags = dfAutoSize},
    {.name = "BrasaoPb2", .kind = Image, .copy = 2, .box = {7, 420, 73, 81}, .text = "brasao_brasil_pb.png", .flags = dfCentre | dfStretch},
    {.name = "BrasaoCor2", .kind = Image, .copy = 2, .box = {7, 420, 73, 81}, .text = "brasao_brasil.png", .flags = dfCentre | dfStretch},
    {.name = "LRLabel30", .kind = Label, .copy = 2, .box = {87, 421, 201, 20}, .text = "MINISTÉRIO DA FAZENDA", .font = Arial16B},
    {.name = "LRLabel31", .kind = Label, .copy = 2, .box = {87, 445, 207, 16}, .text = "SECRETARIA DA RECEITA FEDERAL", .font = Arial12},
    {.name = "LRLabel32", .kind = Label, .copy = 2, .box = {87, 469, 242, 16}, .text = "Documento de Arrecadação de Receitas Federais", .font = Arial11},
    {.name = "LRLabel56", .kind = Label, .copy = 2, .box = {87, 493, 68, 27}, .text = "D A R F", .font = Arial19B},
    {.name = "LRLabel33", .kind = Label, .copy = 2, .box = {3, 529, 15, 16}, .text = "01", .font = Courier11B},
    {.name = "LRLabel34", .kind = Label, .copy = 2, .box = {23, 529, 72, 12}, .text = "NOME / TELEFONE", .font = Times8},
    {.name = "LRLNome2", .kind = Label, .copy = 2, .box = {7, 549, 352, 18}, .font = Arial11, .flags = dfFixedSize},
    {.name = "LRLabel35", .kind = Label, .copy = 2, .box = {375, 417, 15, 16}, .text = "02", .font = Courier11B},
    {.name = "LRLabel45", .kind = Label, .copy = 2, .box = {395, 417, 97, 12}, .text = "PERÍODO DE APURAÇÃO", .font = Times8},
    {.name = "LRLabel44", .kind = Label, .copy = 2, .box = {375, 449, 15, 16}, .text = "03", .font = Courier11B},
    {.name = "LRLabel54", .kind = Label, .copy = 2, .box = {395, 449, 98, 12}, .text = "NÚMERO DO CPF OU CGC", .font = Times8},
    {.name = "LRLabel43", .kind = Label, .copy = 2, .box = {375, 481, 15, 16}, .text = "04", .font = Courier11B},
    {.name = "LRLabel53", .kind = Label, .copy = 2, .box = {395, 481, 83, 12}, .text = "CÓDIGO DA RECEITA", .font = Times8},
    {.name = "LRLabel42", .kind = Label, .copy = 2, .box = {375, 512, 15, 16}, .text = "05", .font = Courier11B},
    {.name = "LRLabel52", .kind = Label, .copy = 2, .box = {395, 512, 100, 12}, .text = "NÚMERO DE REFERÊNCIA", .font = Times8},
    {.name = "LRLabel41", .kind = Label, .copy = 2, .box = {375, 541, 15, 16}, .text = "06", .font = Courier11B},
    {.name = "LRLabel51", .kind = Label, .copy = 2, .box = {395, 541, 94, 12}, .text = "DATA DO VENCIMENTO", .font = Times8},
    {.name = "LRLabel40", .kind = Label, .copy = 2, .box = {375, 573, 15, 16}, .text = "07", .font = Courier11B},
    {.name = "LRLabel50", .kind = Label, .copy = 2, .box = {395, 573, 88, 12}, .text = "VALOR DO PRINCIPAL", .font = Times8},
    {.name = "LRLabel39", .kind = Label, .copy = 2, .box = {375, 601, 15, 16}, .text = "08", .font = Courier11B},
    {.name = "LRLabel49", .kind = Label, .copy = 2, .box = {395, 601, 74, 12}, .text = "VALOR DA MULTA", .font = Times8},
    {.name = "LRLabel38", .kind = Label, .copy = 2, .box = {375, 637, 15, 16}, .text = "09", .font = Courier11B},
    // Two lines high: a memo, so that the legal name wraps inside its box instead of being cut.
    {.name = "LRLabel48", .kind = Memo, .copy = 2, .box = {393, 636, 133, 22}, .text = "VALOR DOS JUROS E/OU ENCARGOS DL - 1.025/69", .font = Times8, .flags = dfFixedSize},
    {.name = "LRLabel37", .kind = Label, .copy = 2, .box = {375, 665, 15, 16}, .text = "10", .font = Courier11B},
    {.name = "LRLabel47", .kind = Label, .copy = 2, .box = {395, 668, 58, 12}, .text = "VALOR TOTAL", .font = Times8},
    {.name = "LRLabel36", .kind = Label, .copy = 2, .box = {375, 697, 15, 16}, .text = "11", .font = Courier11B},
    {.name = "LRLabel46", .kind = Label, .copy = 2, .box = {395, 697, 204, 12}, .text = "AUTENTICAÇÃO BANCÁRIA (Somente nas 1a. e 2a. vias)", .font = Times8},
    {.name = "LRImage11", .kind = Image, .copy = 2, .box = {527, 428, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage19", .kind = Image, .copy = 2, .box = {527, 459, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage18", .kind = Image, .copy = 2, .box = {527, 490, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage17", .kind = Image, .copy = 2, .box = {527, 521, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage16", .kind = Image, .copy = 2, .box = {527, 552, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage15", .kind = Image, .copy = 2, .box = {527, 583, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage14", .kind = Image, .copy = 2, .box = {527, 616, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage12", .kind = Image, .copy = 2, .box = {527, 647, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRImage13", .kind = Image, .copy = 2, .box = {527, 678, 17, 17}, .text = "seta_preta.png"},
    {.name = "LRLPeriodo2", .kind = Label, .copy = 2, .box = {605, 425, 128, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLCGC2", .kind = Label, .copy = 2, .box = {565, 455, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLCodRec2", .kind = Label, .copy = 2, .box = {565, 486, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLNumRef2", .kind = Label, .copy = 2, .box = {565, 517, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLDtVenc2", .kind = Label, .copy = 2, .box = {565, 549, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLValPrinc2", .kind = Label, .copy = 2, .box = {565, 580, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLValMulta2", .kind = Label, .copy = 2, .box = {565, 612, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLValJur2", .kind = Label, .copy = 2, .box = {565, 644, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRLValTot2", .kind = Label, .copy = 2, .box = {565, 675, 168, 18}, .flags = dfRight | dfFixedSize},
    {.name = "LRShape28", .kind = Rect, .copy = 2, .box = {549, 414, 1, 282}, .brush = Orange},
    {.name = "LRLabel55", .kind = Label, .copy = 2, .box = {135, 625, 78, 20}, .text = "ATENÇÃO", .font = Times16B},
    {.name = "LRShape18", .kind = Rect, .copy = 2, .box = {0, 569, 372, 48}},
    {.name = "RLMemo1", .kind = Memo, .copy = 1, .box = {8, 232, 361, 97}, .text = kDarfNotice, .font = Times13, .flags = dfJustified | dfWhite | dfSiteExpander},
    {.name = "RLMemo2", .kind = Memo, .copy = 2, .box = {8, 649, 353, 80}, .text = kDarfNotice, .font = Times13, .flags = dfJustified | dfWhite | dfSiteExpander},
    {.name = "RLmVejaVersao1", .kind = Memo, .copy = 1, .box = {8, 160, 361, 41}, .flags = dfWhite | dfSiteExpander},
    {.name = "RLmVejaVersao2", .kind = Memo, .copy = 2, .box = {8, 576, 361, 16}, .flags = dfWhite | dfSiteExpander},
};
// clang-format on

} // namespace

std::span<const TDarfControlRow> DarfLayoutRows()
{
    return kRows;
}
