#include "app/Pictures.h"

#include <QFile>
#include <QImageReader>
#include <QPixmapCache>

QPixmap Pictures::Get(QLatin1StringView name)
{
    const QString path = QStringLiteral(":/pictures/") + name;
    QPixmap picture;
    if (QPixmapCache::find(path, &picture))
        return picture;
    // Every picture is a PNG, which Qt reads itself: left to guess, the reader would load every
    // image format plugin first, which at start-up cost almost as much as decoding the pictures.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return picture;
    QImageReader reader(&file, "png");
    reader.setAutoDetectImageFormat(false);
    picture = QPixmap::fromImage(reader.read());
    if (!picture.isNull())
        QPixmapCache::insert(path, picture);
    return picture;
}
