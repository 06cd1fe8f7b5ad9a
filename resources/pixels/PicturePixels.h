#pragma once
// A picture's pixels as they lie in memory, so that the window can show it at start without
// decoding a PNG: a fixed header (little-endian 32-bit words) and the rows as QImage holds them.
//
//   "ZVPX", version, width, height, QImage format, bytes per line, dots per metre x and y
//
// zavenor_picture_pixels writes them at build time from the PNG files; Pictures reads them.

#include <QImage>
#include <QByteArray>

namespace PicturePixels {

constexpr qsizetype HeaderBytes = 32;
constexpr int MaxSide = 4096;

// The formats the PNG reader gives for pictures without a colour table.
bool Storable(const QImage &image);

QByteArray Write(const QImage &image);

// An image over the given bytes (no copy: they must outlive it), or a null image when the
// header does not describe exactly the bytes that follow it.
QImage Read(const uchar *data, qsizetype size);

} // namespace PicturePixels
