#include "report/page/RLMetaFilePageFormat.h"

#include "report/base/RLExceptions.h"

#include <QIODevice>
#include <QtEndian>

#include <cstring>

const char RLPageSignature[18] = {'R', 'L', 'G', 'r', 'a', 'p', 'h', 'i', 'c', 'S',
                                  'u', 'r', 'f', 'a', 'c', 'e', '3', 26};

void TRLPageWriter::writeUInt16(quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    m_out.append(bytes, 2);
}

void TRLPageWriter::writeInt32(qint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    m_out.append(bytes, 4);
}

void TRLPageWriter::writeBytes(const QByteArray &bytes)
{
    writeInt32(qint32(bytes.size()));
    m_out.append(bytes);
}

void TRLPageWriter::writeColor(const TRLMetaColor &color)
{
    writeUInt8(color.Red);
    writeUInt8(color.Green);
    writeUInt8(color.Blue);
}

void TRLPageWriter::writePoint(const QPoint &point)
{
    writeInt32(point.x());
    writeInt32(point.y());
}

void TRLPageWriter::writeRect(const TRLRect &rect)
{
    writeInt32(rect.Left);
    writeInt32(rect.Top);
    writeInt32(rect.Right);
    writeInt32(rect.Bottom);
}

void TRLPageWriter::writePen(const TRLMetaPen &pen)
{
    writeColor(pen.Color);
    writeUInt8(pen.Mode);
    writeUInt8(pen.Style);
    writeInt32(pen.Width);
}

void TRLPageWriter::writeBrush(const TRLMetaBrush &brush)
{
    writeColor(brush.Color);
    writeUInt8(brush.Style);
}

void TRLPageWriter::writeFont(const TRLMetaFont &font)
{
    writeInt32(font.PixelsPerInch);
    writeUInt8(font.CharSet);
    writeColor(font.Color);
    writeInt32(font.Height);
    writeInt32(font.NameId);
    writeUInt8(font.Pitch);
    writeInt32(font.Size);
    writeUInt8(font.Style);
}

void TRLPageWriter::writePoints(const TRLMetaPointArray &points)
{
    writeInt32(qint32(points.size()));
    for (const QPoint &p : points)
        writePoint(p);
}

int TRLPageWriter::beginBlock()
{
    const int at = int(m_out.size());
    writeInt32(0);
    return at;
}

void TRLPageWriter::endBlock(int lengthAt)
{
    const qint32 length = qint32(m_out.size() - lengthAt - 4);
    qToLittleEndian(length, m_out.data() + lengthAt);
}

TRLPageReader::TRLPageReader(QIODevice *device, qint64 limit) : m_device(device)
{
    qint64 available = device->isSequential() ? device->bytesAvailable() : device->size() - device->pos();
    if (available < 0)
        available = 0;
    m_end = (limit < 0 || limit > available) ? available : limit;
}

TRLPageReader::TRLPageReader(const QByteArray &bytes) : m_bytes(bytes.constData()), m_end(bytes.size()) {}

void TRLPageReader::fail()
{
    throw TRLException(QStringLiteral("File is corrupted!"));
}

void TRLPageReader::need(qint64 size) const
{
    if (size < 0 || size > m_end - m_pos)
        fail();
}

void TRLPageReader::readRaw(char *data, qint64 size)
{
    need(size);
    if (size == 0)
        return;
    if (m_bytes)
        memcpy(data, m_bytes + m_pos, size_t(size));
    else if (m_device->read(data, size) != size)
        fail();
    m_pos += size;
}

void TRLPageReader::skip(qint64 size)
{
    need(size);
    if (size == 0)
        return;
    if (!m_bytes && m_device->skip(size) != size)
        fail();
    m_pos += size;
}

quint8 TRLPageReader::readUInt8()
{
    char c;
    readRaw(&c, 1);
    return quint8(c);
}

quint16 TRLPageReader::readUInt16()
{
    char bytes[2];
    readRaw(bytes, 2);
    return qFromLittleEndian<quint16>(bytes);
}

qint32 TRLPageReader::readInt32()
{
    char bytes[4];
    readRaw(bytes, 4);
    return qFromLittleEndian<qint32>(bytes);
}

qint32 TRLPageReader::readCount(int itemSize)
{
    const qint32 count = readInt32();
    if (count < 0 || qint64(count) * itemSize > remaining())
        fail();
    return count;
}

QByteArray TRLPageReader::readBytes()
{
    const qint32 length = readCount(1);
    QByteArray bytes;
    if (length > 0) {
        bytes.resize(length);
        readRaw(bytes.data(), length);
    }
    return bytes;
}

TRLMetaColor TRLPageReader::readColor()
{
    char bytes[3];
    readRaw(bytes, 3);
    return TRLMetaColor{quint8(bytes[0]), quint8(bytes[1]), quint8(bytes[2])};
}

QPoint TRLPageReader::readPoint()
{
    const qint32 x = readInt32();
    return QPoint(x, readInt32());
}

TRLRect TRLPageReader::readRect()
{
    TRLRect r;
    r.Left = readInt32();
    r.Top = readInt32();
    r.Right = readInt32();
    r.Bottom = readInt32();
    return r;
}

TRLMetaPen TRLPageReader::readPen()
{
    TRLMetaPen pen;
    pen.Color = readColor();
    pen.Mode = TRLMetaPenMode(readUInt8());
    pen.Style = TRLMetaPenStyle(readUInt8());
    pen.Width = readInt32();
    return pen;
}

TRLMetaBrush TRLPageReader::readBrush()
{
    TRLMetaBrush brush;
    brush.Color = readColor();
    brush.Style = TRLMetaBrushStyle(readUInt8());
    return brush;
}

TRLMetaFont TRLPageReader::readFont()
{
    TRLMetaFont font;
    font.PixelsPerInch = readInt32();
    font.CharSet = readUInt8();
    font.Color = readColor();
    font.Height = readInt32();
    font.NameId = readInt32();
    font.Pitch = TRLMetaFontPitch(readUInt8());
    font.Size = readInt32();
    font.Style = readUInt8() & 0x0F;
    return font;
}

TRLMetaPointArray TRLPageReader::readPoints()
{
    const qint32 count = readCount(8);
    TRLMetaPointArray points;
    points.reserve(count);
    for (qint32 i = 0; i < count; ++i)
        points.append(readPoint());
    return points;
}

qint64 TRLPageReader::beginBlock(qint64 length)
{
    need(length);
    const qint64 outerEnd = m_end;
    m_end = m_pos + length;
    return outerEnd;
}

void TRLPageReader::endBlock(qint64 outerEnd)
{
    skip(m_end - m_pos);
    m_end = outerEnd;
}
