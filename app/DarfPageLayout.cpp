// The DARF replica: positions relative to its white panel, fonts as heights in pixels.
#include "app/PageLayout.h"

namespace {

constexpr TFontSpec kArial8{"Arial", 8, false};
constexpr TFontSpec kArial9{"Arial", 9, false};
constexpr TFontSpec kArial11{"Arial", 11, false};
constexpr TFontSpec kBoxNumber{"Times New Roman", 11, true};
constexpr TFontSpec kWindowFont{};
constexpr QRgb D = kDefaultColour;
constexpr auto W = TFrameRow::White;

// Painted in this order: the later frames cover the earlier ones.
constexpr TFrameRow kFrames[] = {
    {"Shape2", 8, 8, 281, 281, 1, W, nullptr},
    {"Shape7", 288, 8, 297, 25, 1, W, nullptr},
    {"Shape8", 288, 32, 297, 25, 1, W, nullptr},
    {"Shape9", 288, 56, 297, 25, 1, W, nullptr},
    {"Shape3", 288, 80, 297, 25, 1, W, nullptr},
    {"Shape10", 288, 104, 297, 25, 1, W, nullptr},
    {"Shape11", 288, 128, 297, 25, 1, W, nullptr},
    {"Shape12", 288, 152, 297, 25, 1, W, nullptr},
    {"Shape13", 288, 176, 297, 25, 1, W, nullptr},
    {"Shape14", 288, 200, 297, 25, 1, W, nullptr},
    {"Shape15", 288, 224, 297, 65, 1, W, nullptr},
    {"Shape6", 8, 152, 281, 49, 1, W, nullptr},
    {"Shape5", 8, 96, 281, 57, 1, W, nullptr},
    {"Shape4", 8, 8, 281, 89, 1, W, nullptr},
    {"Shape16", 424, 8, 1, 217, 1, W, nullptr}, // splits caption from value in boxes 02-10
};

// One arrow at the right end of each caption of boxes 02-10.
constexpr TPictureRow kPictures[] = {
    {"Image10", 16, 16, 57, 65, "brasao_brasil.png", true},
    {"Image2", 408, 17, 14, 14, "seta.png", false},
    {"Image3", 408, 42, 14, 14, "seta.png", false},
    {"Image4", 408, 66, 14, 14, "seta.png", false},
    {"Image5", 408, 90, 14, 14, "seta.png", false},
    {"Image6", 408, 114, 14, 14, "seta.png", false},
    {"Image7", 408, 138, 14, 14, "seta.png", false},
    {"Image8", 408, 162, 14, 14, "seta.png", false},
    {"Image9", 408, 186, 14, 14, "seta.png", false},
    {"Image11", 408, 210, 14, 14, "seta.png", false},
};

constexpr TTextRow kTexts[] = {
    {"Label1", 80, 16, 125, 14, "MINISTÉRIO DA FAZENDA", kArial11, D, D, 0, nullptr},
    {"Label2", 80, 32, 164, 12, "SECRETARIA DA RECEITA FEDERAL", kArial9, D, D, 0, nullptr},
    {"Label3", 80, 48, 208, 12, "Documento de Arrecadação de Receitas Federais", kArial9, D, D, 0, nullptr},
    {"Label29", 80, 64, 35, 12, "D A R F", kArial9, D, D, 0, nullptr},
    {"Label4", 10, 97, 0, 0, "01", kBoxNumber, D, D, 0, nullptr},
    {"Label5", 26, 97, 0, 0, "NOME / TELEFONE", kArial9, D, D, 0, nullptr},
    {"Label9", 290, 9, 0, 0, "02", kBoxNumber, D, D, 0, nullptr},
    {"Label10", 306, 9, 0, 0, "PERÍODO DE APURAÇÃO", kArial8, D, D, 0, nullptr},
    {"Label11", 290, 33, 0, 0, "03", kBoxNumber, D, D, 0, nullptr},
    {"Label12", 306, 33, 0, 0, "NÚMERO DO CPF OU CNPJ", kArial8, D, D, 0, nullptr},
    {"Label13", 290, 57, 0, 0, "04", kBoxNumber, D, D, 0, nullptr},
    {"Label14", 306, 57, 0, 0, "CÓDIGO DA RECEITA", kArial8, D, D, 0, nullptr},
    {"Label15", 290, 81, 0, 0, "05", kBoxNumber, D, D, 0, nullptr},
    {"Label16", 306, 81, 0, 0, "NÚMERO DE REFERÊNCIA", kArial8, D, D, 0, nullptr},
    {"Label17", 290, 105, 0, 0, "06", kBoxNumber, D, D, 0, nullptr},
    {"Label18", 306, 105, 0, 0, "DATA DO VENCIMENTO", kArial8, D, D, 0, nullptr},
    {"Label19", 290, 129, 0, 0, "07", kBoxNumber, D, D, 0, nullptr},
    {"Label20", 306, 129, 0, 0, "VALOR DO PRINCIPAL", kArial8, D, D, 0, nullptr},
    {"Label21", 290, 153, 0, 0, "08", kBoxNumber, D, D, 0, nullptr},
    {"Label22", 306, 153, 0, 0, "VALOR DA MULTA", kArial8, D, D, 0, nullptr},
    {"Label23", 290, 177, 0, 0, "09", kBoxNumber, D, D, 0, nullptr},
    {"Label24", 302, 177, 103, 20, "VLR. DOS JUROS E/OU ENCARGOS DL - 1.025/69", kArial8, D, D,
     TTextRow::Fixed | TTextRow::WordWrap, nullptr},
    {"Label25", 290, 201, 0, 0, "10", kBoxNumber, D, D, 0, nullptr},
    {"Label26", 306, 201, 0, 0, "VALOR TOTAL", kArial8, D, D, 0, nullptr},
    {"Label27", 290, 225, 0, 0, "11", kBoxNumber, D, D, 0, nullptr},
    {"Label28", 306, 225, 200, 10, "AUTENTICAÇÃO BANCÁRIA (Somente nas 1a. e 2a. vias)", kArial8, D, D, 0, nullptr},
    {"Label8", 112, 203, 61, 12, "A T E N Ç Ã O", kArial9, D, D, 0, nullptr},
    {"LbTotal", 432, 205, 145, 16, "0,00", kBoxNumber, 0xff000000, 0xff00ffff,
     TTextRow::Fixed | TTextRow::AlignRight | TTextRow::Computed, nullptr},
};

constexpr auto L = Qt::AlignLeft | Qt::AlignVCenter;
constexpr auto R = Qt::AlignRight | Qt::AlignVCenter;

// In tab order; the notice Memo1 comes after every entry field.
constexpr TFieldRow kFields[] = {
    {"EdNome", TFieldRow::Edit, 16, 120, 265, 17, L, {"Times New Roman", 9, false}, 51, nullptr, D, nullptr},
    {"mmVejaVerso", TFieldRow::Memo, 16, 155, 265, 43, Qt::AlignHCenter, kWindowFont, 0,
     "Clique com o botão direito do mouse para alinhar o texto.", 0xffc0c0c0,
     "veja no verso \ninstruções para preenchimento"},
    {"mePerAp", TFieldRow::Date, 504, 12, 73, 16, L, kWindowFont, 0, nullptr, D, nullptr},
    {"edCGCCPF", TFieldRow::Edit, 432, 37, 145, 16, R, kWindowFont, 0, nullptr, D, "edCGCCPF"},
    {"edCodRec", TFieldRow::Edit, 432, 61, 145, 16, R, kWindowFont, 0, nullptr, D, "edCodRec"},
    {"edNumRef", TFieldRow::Edit, 432, 85, 145, 16, R, kWindowFont, 0, nullptr, D, "edNumRef"},
    {"meDtVenc", TFieldRow::Date, 504, 109, 73, 16, L, kWindowFont, 0, nullptr, D, nullptr},
    {"neValPrinc", TFieldRow::Number, 432, 133, 145, 16, R, kWindowFont, 0, nullptr, D, nullptr},
    {"neValMulta", TFieldRow::Number, 432, 157, 145, 16, R, kWindowFont, 0, nullptr, D, nullptr},
    {"neValJuros", TFieldRow::Number, 432, 181, 145, 16, R, kWindowFont, 0, nullptr, D, nullptr},
    {"Memo1", TFieldRow::ReadOnlyMemo, 16, 214, 265, 74, L, kArial9, 0, nullptr, 0xffffffff,
     "É  vedado o recolhimento de tributos e contribuições administrados pela Secretaria da "
     "Receita Federal cujo valor total seja inferior a R$ 10,00. Ocorrendo tal situação, "
     "adicione esse valor ao tributo / contribuição de mesmo código de períodos subsequentes, "
     "até que o total seja igual ou superior a R$ 10,00. "},
};

constexpr TPageLayout kDarf{0xff000000, kFrames, kPictures, kTexts, kFields};

} // namespace

const TPageLayout &DarfPageLayout() { return kDarf; }
