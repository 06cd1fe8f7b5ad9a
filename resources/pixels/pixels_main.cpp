// Build step: writes a PNG picture's pixels as PicturePixels stores them, read by Qt's own PNG
// reader so that the window shows exactly what it would show reading the PNG.
#include "PicturePixels.h"

#include <QFile>
#include <QImageReader>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "uso: %s imagem.png saida.pixels\n", argv[0]);
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]), "png");
    const QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(reader.errorString()));
        return 1;
    }
    // Anything the header cannot carry would be lost on the way: the picture stays a PNG.
    if (!PicturePixels::Storable(image)) {
        std::fprintf(stderr, "%s: formato %d não cabe no arquivo de pixels\n", argv[1], int(image.format()));
        return 1;
    }
    QFile out(QString::fromLocal8Bit(argv[2]));
    const QByteArray bytes = PicturePixels::Write(image);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush()) {
        std::fprintf(stderr, "%s: %s\n", argv[2], qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
