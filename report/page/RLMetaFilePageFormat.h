#pragma once
// Little-endian reading and writing of the page format. The reader trusts nothing: every value
// and every length is checked against the bytes that remain before it is used.

#include "report/page/RLMetaFile.h"

#include <QByteArray>
#include <QtGlobal>

class QIODevice;

// The 17 letters and the end-of-file byte that open every stored page.
extern const char RLPageSignature[18];

class TRLPageWriter
{
public:
    explicit TRLPageWriter(QByteArray &out) : m_out(out) {}

    void writeUInt8(quint8 value) { m_out.append(char(value)); }
    void writeUInt16(quint16 value);
    void writeInt32(qint32 value);
    void writeRaw(const char *data, int size) { m_out.append(data, size); }
    void writeBytes(const QByteArray &bytes); // 32-bit length, then the bytes
    void writeString(const QString &text) { writeBytes(text.toUtf8()); }
    void writeColor(const TRLMetaColor &color);
    void writePoint(const QPoint &point);
    void writeRect(const TRLRect &rect);
    void writePen(const TRLMetaPen &pen);
    void writeBrush(const TRLMetaBrush &brush);
    void writeFont(const TRLMetaFont &font);
    void writePoints(const TRLMetaPointArray &points);

    // A 32-bit length written now and filled in by endBlock with the bytes written after it.
    int beginBlock();
    void endBlock(int lengthAt);

private:
    QByteArray &m_out;
};

class TRLPageReader
{
public:
    // Reads at most limit bytes of the device from its current position.
    TRLPageReader(QIODevice *device, qint64 limit);
    // Reads the bytes, which must outlive the reader.
    explicit TRLPageReader(const QByteArray &bytes);

    qint64 remaining() const { return m_end - m_pos; }

    quint8 readUInt8();
    quint16 readUInt16();
    qint32 readInt32();
    // A count of items of at least itemSize bytes each that must all fit in what remains.
    qint32 readCount(int itemSize);
    QByteArray readBytes();
    QString readString() { return QString::fromUtf8(readBytes()); }
    TRLMetaColor readColor();
    QPoint readPoint();
    TRLRect readRect();
    TRLMetaPen readPen();
    TRLMetaBrush readBrush();
    TRLMetaFont readFont();
    TRLMetaPointArray readPoints();
    void readRaw(char *data, qint64 size);
    void skip(qint64 size);

    // Limits reading to the next length bytes; endBlock skips what the block did not read.
    qint64 beginBlock(qint64 length);
    void endBlock(qint64 outerEnd);

    [[noreturn]] static void fail();

private:
    void need(qint64 size) const;

    QIODevice *m_device = nullptr;
    const char *m_bytes = nullptr; // in memory instead of a device
    qint64 m_pos = 0;
    qint64 m_end;
};
