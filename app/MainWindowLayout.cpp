// The header with the maker's logo and contacts, and the bottom panel with the print options.
#include "app/PageLayout.h"

namespace {

constexpr TFontSpec kTimes11{"Times New Roman", 11, false};
constexpr TFontSpec kLinkFont{"Times New Roman", 13, true};
constexpr QRgb kBlue = 0xff0000ff;
constexpr QRgb D = kDefaultColour;

// The maker's details are fictitious.
constexpr TPictureRow kHeaderPictures[] = {
    {"Image1", 8, 5, 201, 70, "logo.png", false},
};

constexpr TTextRow kHeaderTexts[] = {
    {"Label31", 216, 16, 321, 14,
     "Rua das Palmeiras, 555 - sala 3 - Centro - CEP 13010-555 - Campinas - SP", kTimes11, D, D,
     TTextRow::Plain, nullptr},
    {"Label32", 216, 32, 179, 14, "PABX: (19) 5555-0100 - Fax: 5555-0199", kTimes11, D, D,
     TTextRow::Plain, nullptr},
    {"Label81", 216, 48, 169, 15, "contato@morvath.example", kLinkFont, kBlue, D, TTextRow::Link,
     "Fale com a gente. Envie suas críticas, sugestões  ou dúvidas."},
    {"Label33", 408, 47, 158, 15, "http://www.morvath.example", kLinkFont, kBlue, D, TTextRow::Link,
     "Visite o nosso site e conheça melhor a nossa empresa."},
};

constexpr TPageLayout kHeader{D, {}, kHeaderPictures, kHeaderTexts, {}};

// In tab order.
constexpr TButtonRow kButtons[] = {
    {"BBImprimir", TButtonRow::Push, 488, 9, 81, 25, "&Imprimir", "imprimir.png", "imprimir_desabilitado.png"},
    {"BBSair", TButtonRow::Push, 568, 9, 75, 25, "&Sair", "sair.png", "sair_desabilitado.png"},
    {"cbComLayOut", TButtonRow::Check, 16, 5, 121, 17, "Imprimir com lay-out", nullptr, nullptr},
    {"RBCor", TButtonRow::Radio, 160, 5, 65, 17, "Colorido", nullptr, nullptr},
    {"RBPB", TButtonRow::Radio, 160, 21, 97, 17, "Preto e branco", nullptr, nullptr},
};

} // namespace

const TPageLayout &HeaderLayout() { return kHeader; }

TRows<TButtonRow> ButtonPanelLayout() { return kButtons; }
