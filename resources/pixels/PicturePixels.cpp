#include "PicturePixels.h"

#include <QColorSpace>
#include <QtEndian>
#include <array>
#include <cstring>

namespace {

constexpr char kMagic[4] = {'Z', 'V', 'P', 'X'};
constexpr quint32 kVersion = 1;

bool storableFormat(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
        || format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_Grayscale8;
}

} // namespace

bool PicturePixels::Storable(const QImage &image)
{
    return !image.isNull() && storableFormat(image.format()) && image.colorTable().isEmpty()
        && !image.colorSpace().isValid() && image.textKeys().isEmpty() && image.devicePixelRatio() == 1.0
        && image.width() <= MaxSide && image.height() <= MaxSide;
}

QByteArray PicturePixels::Write(const QImage &image)
{
    const std::array<quint32, 7> words = {kVersion,
                                          quint32(image.width()),
                                          quint32(image.height()),
                                          quint32(image.format()),
                                          quint32(image.bytesPerLine()),
                                          quint32(image.dotsPerMeterX()),
                                          quint32(image.dotsPerMeterY())};
    QByteArray bytes(kMagic, sizeof kMagic);
    for (quint32 word : words) {
        const quint32 le = qToLittleEndian(word);
        bytes.append(reinterpret_cast<const char *>(&le), sizeof le);
    }
    bytes.append(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
    return bytes;
}

QImage PicturePixels::Read(const uchar *data, qsizetype size)
{
    if (!data || size < HeaderBytes || memcmp(data, kMagic, sizeof kMagic) != 0)
        return {};
    const auto word = [data](int i) { return qFromLittleEndian<quint32>(data + sizeof kMagic + 4 * i); };
    const quint32 width = word(1), height = word(2), format = word(3), bytesPerLine = word(4);
    if (word(0) != kVersion || width == 0 || height == 0 || width > quint32(MaxSide) || height > quint32(MaxSide)
        || format >= QImage::NImageFormats || !storableFormat(QImage::Format(format)))
        return {};
    const int depth = format == QImage::Format_Grayscale8 ? 1 : 4;
    // Qt's rows start on 32-bit boundaries; both factors are below 2^15, so no product overflows.
    if (bytesPerLine < width * depth || bytesPerLine % 4 != 0 || bytesPerLine > quint32(MaxSide) * 4
        || qint64(bytesPerLine) * height != size - HeaderBytes)
        return {};
    QImage image(data + HeaderBytes, int(width), int(height), qsizetype(bytesPerLine), QImage::Format(format));
    image.setDotsPerMeterX(int(word(5)));
    image.setDotsPerMeterY(int(word(6)));
    return image;
}
