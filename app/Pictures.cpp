#include "app/Pictures.h"

#include "resources/pixels/PicturePixels.h"

#include <QFile>
#include <QImageReader>
#include <QPixmapCache>
#include <QResource>

namespace {

// The pixels stored beside the PNG for a picture the window shows; null when there are none.
QImage storedPixels(QLatin1StringView name)
{
    if (!name.endsWith(QLatin1StringView(".png")))
        return {};
    const QResource pixels(QStringLiteral(":/pictures/pixels/") + name.chopped(4) + QStringLiteral(".pixels"));
    // Compressed, the bytes would have to be unpacked first, which is what they are there to spare.
    if (!pixels.isValid() || pixels.compressionAlgorithm() != QResource::NoCompression)
        return {};
    return PicturePixels::Read(pixels.data(), qsizetype(pixels.size()));
}

} // namespace

QPixmap Pictures::Get(QLatin1StringView name)
{
    const QString path = QStringLiteral(":/pictures/") + name;
    QPixmap picture;
    if (QPixmapCache::find(path, &picture))
        return picture;
    QImage image = storedPixels(name);
    if (image.isNull()) {
        // Every picture is a PNG, which Qt reads itself: left to guess, the reader would load
        // every image format plugin first, which at start-up cost almost as much as decoding
        // the pictures.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return picture;
        QImageReader reader(&file, "png");
        reader.setAutoDetectImageFormat(false);
        image = reader.read();
    }
    picture = QPixmap::fromImage(image);
    if (!picture.isNull())
        QPixmapCache::insert(path, picture);
    return picture;
}
