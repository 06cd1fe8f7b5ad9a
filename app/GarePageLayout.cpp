// The GARE replica, drawn in green: positions relative to its white panel, fonts as heights
// in pixels. Its boxes are numbered 02-21 as on the paper slip.
#include "app/PageLayout.h"

namespace {

constexpr QRgb kFrameGreen = 0xff008000;
constexpr QRgb kDarkGreen = 0xff004000;
constexpr QRgb D = kDefaultColour;
constexpr TFontSpec kTimes7{"Times New Roman", 7, false};
constexpr TFontSpec kTimes9{"Times New Roman", 9, false};
constexpr TFontSpec kTimes9Bold{"Times New Roman", 9, true};
constexpr TFontSpec kTimes11{"Times New Roman", 11, false};
constexpr TFontSpec kTimes11Bold{"Times New Roman", 11, true};
constexpr TFontSpec kWindowFont{};
constexpr auto C = TFrameRow::Clear;
constexpr auto S = TFrameRow::Solid;

// Clear frames in the frame green, painted in this order.
constexpr TFrameRow kFrames[] = {
    {"Shape17", 8, 8, 425, 279, 2, C, nullptr},
    {"Shape20", 8, 8, 425, 57, 2, C, nullptr}, // the heading block
    {"Shape21", 336, 8, 97, 33, 1, C, nullptr},
    {"Shape22", 336, 40, 97, 25, 1, C, nullptr},
    {"Shape26", 8, 64, 17, 25, 1, C, nullptr},
    {"Shape28", 8, 88, 17, 25, 1, C, nullptr},
    {"Shape34", 8, 136, 17, 25, 1, C, nullptr},
    {"Shape47", 8, 184, 17, 25, 1, C, nullptr},
    {"Shape19", 8, 64, 425, 25, 1, C, "NOME OU RAZÃO SOCIAL"},
    {"Shape23", 8, 88, 425, 25, 1, C, nullptr},
    {"Shape24", 8, 112, 209, 25, 1, C, nullptr},
    {"Shape25", 216, 112, 25, 25, 1, C, nullptr},
    {"Shape30", 240, 112, 17, 25, 1, C, nullptr},
    {"Shape29", 256, 112, 177, 25, 1, C, nullptr},
    {"Shape33", 8, 136, 249, 49, 1, C, nullptr},
    {"Shape48", 256, 136, 17, 25, 1, C, nullptr},
    {"Shape49", 256, 160, 17, 25, 1, C, nullptr},
    {"Shape31", 256, 136, 177, 25, 1, C, nullptr},
    {"Shape32", 256, 160, 177, 25, 1, C, nullptr},
    {"Shape18", 432, 8, 177, 18, 1, C, nullptr},
    {"Shape35", 432, 25, 177, 21, 1, C, nullptr},
    {"Shape36", 432, 45, 177, 22, 1, C, nullptr},
    {"Shape37", 432, 66, 177, 23, 1, C, nullptr},
    {"Shape38", 432, 88, 177, 23, 1, C, nullptr},
    {"Shape50", 432, 8, 17, 279, 1, C, nullptr}, // the column of box numbers 02-14
    {"Shape39", 448, 110, 161, 23, 1, S, nullptr}, // box 07 blanked out
    {"Shape40", 432, 132, 177, 23, 1, C, nullptr},
    {"Shape41", 432, 154, 177, 23, 1, C, nullptr},
    {"Shape42", 432, 176, 177, 23, 1, C, nullptr},
    {"Shape43", 432, 198, 177, 23, 1, C, nullptr},
    {"Shape44", 448, 220, 161, 23, 1, S, nullptr}, // box 12 blanked out
    {"Shape45", 432, 242, 177, 23, 1, C, nullptr},
    {"Shape46", 432, 264, 177, 23, 1, C, nullptr},
};

constexpr TPictureRow kPictures[] = {
    {"Image12", 22, 13, 35, 46, "brasao_sp.png", true},
};

// Box numbers and captions have no names of their own on the form; they are named by box.
constexpr TTextRow kTexts[] = {
    {"Label77", 72, 11, 0, 0, "GOVERNO DO ESTADO DE SÃO PAULO", kTimes11, kFrameGreen, D, 0, nullptr},
    {"Label78", 72, 24, 0, 0, "SECRETARIA DO ESTADO DOS NEGÓCIOS DA FAZENDA", kTimes9, kFrameGreen, D, 0, nullptr},
    {"Label79", 112, 38, 0, 0, "GUIA DE ARRECADAÇÃO ESTADUAL", kTimes9Bold, kFrameGreen, D, 0, nullptr},
    {"Label80", 144, 50, 0, 0, " - DEMAIS RECEITAS - ", kTimes9Bold, kFrameGreen, D, 0, nullptr},
    {"Label34", 344, 13, 81, 23, "GARE", {"Times New Roman", 21, false}, 0xffffffff, kDarkGreen,
     TTextRow::Fixed | TTextRow::AlignCentre, nullptr},
    {"Label43", 371, 42, 26, 19, "DR", {"Times New Roman", 19, false}, kDarkGreen, D, 0, nullptr},

    {"LbBox15", 11, 66, 0, 0, "15", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox16", 11, 91, 0, 0, "16", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox18", 11, 139, 0, 0, "18", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox21", 11, 187, 0, 0, "21", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox17", 243, 114, 0, 0, "17", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox19", 259, 139, 0, 0, "19", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox20", 259, 163, 0, 0, "20", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox02", 434, 9, 0, 0, "02", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox03", 435, 27, 0, 0, "03", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox04", 435, 49, 0, 0, "04", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox05", 435, 71, 0, 0, "05", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox06", 435, 93, 0, 0, "06", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox07", 435, 115, 0, 0, "07", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox08", 435, 137, 0, 0, "08", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox09", 435, 159, 0, 0, "09", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox10", 435, 182, 0, 0, "10", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox11", 435, 203, 0, 0, "11", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox12", 435, 225, 0, 0, "12", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox13", 435, 248, 0, 0, "13", kTimes11Bold, kDarkGreen, D, 0, nullptr},
    {"LbBox14", 435, 270, 0, 0, "14", kTimes11Bold, kDarkGreen, D, 0, nullptr},

    // Captions show their own text as hint, the abbreviated ones the full wording.
    {"LbCap15", 27, 65, 0, 0, "NOME OU RAZÃO SOCIAL", kTimes7, kDarkGreen, D, 0, "NOME OU RAZÃO SOCIAL"},
    {"LbCap16", 27, 89, 0, 0, "ENDEREÇO", kTimes7, kDarkGreen, D, 0, "ENDEREÇO"},
    {"LbCapMunicipio", 11, 113, 0, 0, "MUNICÍPIO", kTimes7, kDarkGreen, D, 0, "MUNICÍPIO"},
    {"LbCapUF", 219, 113, 0, 0, "UF", kTimes7, kDarkGreen, D, 0, "UF"},
    {"LbCap17", 259, 113, 0, 0, "TELEFONE", kTimes7, kDarkGreen, D, 0, "TELEFONE"},
    {"LbCap18", 27, 137, 0, 0, "TRIBUTO / RECEITA", kTimes7, kDarkGreen, D, 0, "TRIBUTO / RECEITA"},
    {"LbCap19", 275, 137, 0, 0, "C A E", kTimes7, kDarkGreen, D, 0, "C A E"},
    {"LbCap20", 275, 161, 0, 0, "PLACA DO VEÍCULO", kTimes7, kDarkGreen, D, 0, "PLACA DO VEÍCULO"},
    {"LbCap21", 27, 185, 0, 0, "OBSERVAÇÕES", kTimes7, kDarkGreen, D, 0, "OBSERVAÇÕES"},
    {"LbCap02", 449, 9, 65, 16, "DATA DE VENCIMENTO", kTimes7, kDarkGreen, D,
     TTextRow::Fixed | TTextRow::WordWrap, "DATA DE VENCIMENTO"},
    {"LbCap03", 450, 26, 0, 0, "CÓDIGO DE RECEITA", kTimes7, kDarkGreen, D, 0, "CÓDIGO DE RECEITA"},
    {"LbCap04", 451, 46, 0, 0, "INSCRIÇÃO ESTADUAL OU CÓD. DO MUNICÍPIO", kTimes7, kDarkGreen, D, 0,
     "INSCRIÇÃO ESTADUAL OU CÓD. DO MUNICÍPIO"},
    {"LbCap05", 451, 67, 0, 0, "CGC OU CPF", kTimes7, kDarkGreen, D, 0, "CGC OU CPF"},
    {"LbCap06", 451, 89, 0, 0, "INSCR. NA DÍVIDA ATIVA ou No. DA ETIQUETA", kTimes7, kDarkGreen, D, 0,
     "INSCRIÇÃO NA DÍVIDA ATIVA ou No. DA ETIQUETA"},
    {"LbCap08", 451, 133, 0, 0, "No. AIIM", kTimes7, kDarkGreen, D, 0, "No. AIIM"},
    {"LbCap09", 451, 155, 0, 0, "VALOR DA RECEITA (Nominal ou corrigida)", kTimes7, kDarkGreen, D, 0,
     "VALOR DA RECEITA (Nominal ou corrigida)"},
    {"LbCap10", 451, 177, 0, 0, "JUROS DE MORA", kTimes7, kDarkGreen, D, 0, "JUROS DE MORA"},
    {"LbCap11", 451, 199, 0, 0, "MULTA DE MORA ou MULTA POR INFRAÇÃO", kTimes7, kDarkGreen, D, 0,
     "MULTA DE MORA ou MULTA POR INFRAÇÃO (Nominal ou corrigida) "},
    {"LbCap13", 451, 243, 0, 0, "HONORÁRIOS ADVOCATÍCIOS", kTimes7, kDarkGreen, D, 0, "HONORÁRIOS ADVOCATÍCIOS"},
    {"LbCap14", 451, 265, 0, 0, "VALOR TOTAL", kTimes7, kDarkGreen, D, 0, "VALOR TOTAL"},

    {"LbTotalG", 456, 272, 145, 13, "", kTimes11Bold, D, 0xff00ffff,
     TTextRow::Fixed | TTextRow::AlignRight | TTextRow::Computed, nullptr},
};

constexpr auto L = Qt::AlignLeft | Qt::AlignVCenter;
constexpr auto R = Qt::AlignRight | Qt::AlignVCenter;

// In tab order: the payer's name and address first, then the right-hand column.
constexpr TFieldRow kFields[] = {
    {"EdNomeG", TFieldRow::Edit, 32, 72, 393, 12, L, kTimes11, 60, "NOME OU RAZÃO SOCIAL", D, nullptr},
    {"EdEnderecoG", TFieldRow::Edit, 31, 98, 393, 12, L, kTimes11, 60, "ENDEREÇO", D, nullptr},
    {"EDMunicipioG", TFieldRow::Edit, 16, 120, 193, 12, L, kTimes11, 33, "MUNICÍPIO", D, nullptr},
    {"EDUFG", TFieldRow::Edit, 219, 120, 17, 12, L, kTimes11, 2, "UF", D, nullptr},
    {"EDFoneG", TFieldRow::Edit, 264, 120, 161, 12, L, kTimes11, 20, "TELEFONE", D, nullptr},
    {"MMTribG", TFieldRow::Memo, 32, 145, 217, 36, Qt::AlignLeft, kWindowFont, 100, "TRIBUTO / RECEITA", D, nullptr},
    {"EdCAEG", TFieldRow::Edit, 276, 145, 148, 12, L, kTimes11, 18, "C A E ", D, nullptr},
    {"EdPlacaG", TFieldRow::Edit, 277, 169, 147, 12, L, kTimes11, 18, "PLACA DO VEÍCULO", D, nullptr},
    {"MMObsG", TFieldRow::Memo, 32, 200, 393, 81, Qt::AlignLeft, kWindowFont, 400, "OBSERVAÇÕES", D, nullptr},
    {"MEDTVencG", TFieldRow::Date, 538, 10, 63, 13, L, kWindowFont, 0, nullptr, D, nullptr},
    {"EDCodRecG", TFieldRow::Edit, 456, 33, 145, 12, R, kTimes9, 23, "CÓDIGO DE RECEITA", D, nullptr},
    {"EDInscEstG", TFieldRow::Edit, 456, 53, 145, 12, R, kTimes9, 23, "INSCRIÇÃO ESTADUAL OU CÓD. DO MUNICÍPIO", D,
     nullptr},
    {"EDCGCG", TFieldRow::Edit, 456, 74, 145, 13, R, kTimes9, 23, "CGC OU CPF", D, nullptr},
    {"EDInscrDAG", TFieldRow::Edit, 456, 96, 145, 13, R, kTimes9, 23, "INSCRIÇÃO NA DÍVIDA ATIVA ou No. DA ETIQUETA",
     D, nullptr},
    {"EDNroAinG", TFieldRow::Edit, 456, 140, 145, 13, R, kTimes9, 23, "No. AIIM", D, nullptr},
    {"neValRecG", TFieldRow::Number, 456, 162, 145, 13, R, kWindowFont, 0, nullptr, D, nullptr},
    {"neJurMorG", TFieldRow::Number, 456, 184, 145, 13, R, kWindowFont, 0, nullptr, D, nullptr},
    {"neMulMorG", TFieldRow::Number, 456, 206, 145, 13, R, kWindowFont, 0, nullptr, D, nullptr},
    {"neHonor", TFieldRow::Number, 456, 250, 145, 13, R, kWindowFont, 0, nullptr, D, nullptr},
};

constexpr TPageLayout kGare{kFrameGreen, kFrames, kPictures, kTexts, kFields};

} // namespace

const TPageLayout &GarePageLayout() { return kGare; }
