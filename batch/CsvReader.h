#pragma once
// Rows of a text file saved by a spreadsheet: UTF-8 (with or without its mark) or Windows-1252,
// ";" or "," between fields (whichever the header uses), RFC 4180 quotes. A row's number is the
// one the spreadsheet shows (the header is row 1): blank lines count, a quoted field's line
// breaks do not. Rows of blank fields are skipped as blank lines are.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <memory>

struct csv_parser;

struct TCsvRecord
{
    int row = 0;
    QStringList fields;
    // In a UTF-8 file with stray bytes of another encoding: the first field holding one, else -1.
    int undecoded = -1;
};

// A quoting fault: the reader skips to the next line and goes on, so that every fault is listed.
struct TCsvFault
{
    int row = 0;
    QString reason;
};

// Valid UTF-8 is UTF-8; a file mostly so with a few other bytes is neither (its rows say where);
// anything else is taken as Windows-1252.
enum class TCsvEncoding { Utf8, Windows1252, MixedUtf8 };

class TCsvReader
{
public:
    TCsvReader();
    ~TCsvReader();
    TCsvReader(const TCsvReader &) = delete;
    TCsvReader &operator=(const TCsvReader &) = delete;

    // Reads and decodes the file; false with the reason when it cannot be read as text.
    bool Open(const QString &path, QString *error);
    // The same from bytes already read.
    bool OpenBytes(const QByteArray &bytes, QString *error);

    // The next record; false at the end or on an error that stops the reading (Error() says why).
    bool Next(TCsvRecord &record);
    // The quoting faults met so far, in row order.
    const QList<TCsvFault> &Faults() const { return m_faults; }
    // Back to the header, for a second pass.
    void Rewind();

    QString Error() const { return m_error; }
    char Separator() const { return m_separator; }
    TCsvEncoding Encoding() const { return m_encoding; }
    bool WasWindows1252() const { return m_encoding == TCsvEncoding::Windows1252; }

    // Any file bigger than this is not a spreadsheet of slips.
    static constexpr qint64 MaxFileBytes = 256 * 1024 * 1024;
    // Far beyond the longest entry (400 characters) yet small enough to stop a runaway quote.
    static constexpr int MaxFieldBytes = 64 * 1024;
    static constexpr int MaxFields = 256;

private:
    static void fieldEnd(void *data, size_t length, void *self);
    static void recordEnd(int terminator, void *self);
    void startParser();
    bool feedMore();
    void quotingFault(qsizetype at, const QString &reason);

    QByteArray m_text; // UTF-8, without a byte order mark
    qsizetype m_fed = 0;
    std::unique_ptr<csv_parser> m_parser;
    bool m_finished = false;
    char m_separator = ';';
    TCsvEncoding m_encoding = TCsvEncoding::Utf8;
    QStringList m_fields;
    int m_undecoded = -1;
    int m_lastTerminator = 0;
    std::deque<TCsvRecord> m_ready;
    int m_rows = 0;
    QString m_error;
    QList<TCsvFault> m_faults;
};
