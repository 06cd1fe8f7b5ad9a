// Draws the program's pictures into the folder given (resources/ of the source tree).
#include "AppIcon.h"
#include "Pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

using namespace Pictures;

// An 8-bit picture on a palette of 256 greys.
static QImage greys(const QImage &image)
{
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i)
        table.append(qRgb(i, i, i));
    return image.convertToFormat(QImage::Format_Indexed8, table);
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    auto save = [&](const QImage &image, const char *name) {
        ok = image.save(out.filePath(QString::fromLatin1(name))) && ok;
    };
    // The logo and the crest are opaque 24-bit pictures; the small ones have transparent grounds.
    save(Render(PaintLogo, {201, 75}, Tone::Colour, Qt::white).convertToFormat(QImage::Format_RGB888),
         "logo.png");
    save(Render(PaintBrazilArms, {130, 135}, Tone::Colour, Qt::white).convertToFormat(QImage::Format_RGB888),
         "brasao_brasil.png");
    // The slip's black-and-white crest and its scissors are 16-colour pictures on white.
    auto saveFourBit = [&](const QImage &image, const char *name) {
        ok = SaveFourBitPng(SixteenGreys(image), out.filePath(QString::fromLatin1(name))) && ok;
    };
    saveFourBit(Render(PaintBrazilArms, {230, 250}, Tone::Mono, Qt::white), "brasao_brasil_pb.png");
    saveFourBit(Render(PaintScissors, {20, 20}, Tone::Colour, Qt::white), "tesoura.png");
    saveFourBit(Render(PaintArrow, {16, 16}, Tone::Mono, Qt::white), "seta_preta.png");
    save(Render(PaintSaoPauloArms, {67, 71}, Tone::Colour, Qt::white).convertToFormat(QImage::Format_RGB888),
         "brasao_sp.png");
    save(greys(Render(PaintSaoPauloArms, {67, 71}, Tone::Grey, Qt::white)), "brasao_sp_pb.png");
    save(Render(PaintArrow, {16, 16}), "seta.png");
    const QImage printer = Render(PaintPrinter, {16, 16});
    save(printer, "imprimir.png");
    save(Disabled(printer), "imprimir_desabilitado.png");
    const QImage door = Render(PaintDoor, {16, 16});
    save(door, "sair.png");
    save(Disabled(door), "sair_desabilitado.png");
    ok = WriteAppIcon(out.filePath(QStringLiteral("icons")), QStringLiteral("example.morvath.zavenor")) && ok;
    if (!ok)
        std::fprintf(stderr, "could not write every picture into %s\n", argv[1]);
    return ok ? 0 : 1;
}
