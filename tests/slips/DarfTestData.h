#pragma once
// What the DARF tests print: typical entries (accents, a long name, large amounts) and the
// colours to tell colour printing from black and white on a rendered page.

#include "slips/pLayOutDarf.h"

#include <QColor>
#include <QImage>
#include <QRect>

namespace {

constexpr quint32 kDarkBlue = 0x9D0602; // #02069D as the slip colour stores it
const QColor kBlue(0x02, 0x06, 0x9D);
const QColor kOrange(0xFF, 0x80, 0x00);
constexpr int kBandLeft = 26, kBandTop = 38;

const char *const kDataLabels[] = {"LRLPeriodo", "LRLCGC", "LRLNome", "LRLCodRec", "LRLNumRef",
                                   "LRLDtVenc", "LRLValPrinc", "LRLValMulta", "LRLValJur", "LRLValTot"};

inline TDarfEntryTexts typicalTexts()
{
    TDarfEntryTexts t;
    t.Periodo = "31/12/2025";
    t.CGCCPF = "12.345.678/0001-95";
    t.Nome = QString::fromUtf8("JOÃO DA CONCEIÇÃO ASSUNÇÃO & FILHOS COMÉRCIO LTDA.");
    t.CodRec = "2089";
    t.NumRef = "";
    t.DtVenc = "  /  /    ";
    t.ValPrinc = "1.234.567,89";
    t.ValMulta = "246.913,58";
    t.ValJuros = "98.765,43";
    t.Total = "1.580.246,90";
    t.VejaVerso = {"veja no verso ", QString::fromUtf8("instruções para preenchimento")};
    return t;
}

// Pixels of a page rectangle by what they are.
struct Inks
{
    int black = 0, blue = 0, green = 0, grey = 0, vivid = 0;
};

inline Inks inksOnPage(const QImage &image, QRect r)
{
    Inks n;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool neutral = qAbs(c.red() - c.blue()) < 20 && qAbs(c.green() - c.blue()) < 20;
            n.black += c.red() < 90 && c.green() < 90 && c.blue() < 90 && neutral;
            n.grey += neutral && c.red() > 170 && c.red() < 215;
            n.blue += c.blue() > c.red() + 60 && c.blue() > c.green() + 60;
            n.green += c.green() > c.red() + 40 && c.green() > c.blue() + 40;
            n.vivid += c.saturation() > 120 && c.value() > 120;
        }
    return n;
}

// The same for a rectangle in the DARF band's coordinates.
inline Inks inksIn(const QImage &image, QRect bandRect)
{
    return inksOnPage(image, bandRect.translated(kBandLeft, kBandTop));
}

} // namespace
