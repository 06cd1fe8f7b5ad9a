#pragma once
// Rows of a text file saved by a spreadsheet: UTF-8 (with or without its mark) or Windows-1252,
// ";" or "," between fields (whichever the header uses), RFC 4180 quotes. A row's number counts
// records as the spreadsheet shows them (the header is row 1), not text lines, since a quoted
// field may hold line breaks.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <deque>
#include <memory>

struct csv_parser;

struct TCsvRecord
{
    int row = 0;
    QStringList fields;
};

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

    // The next record; false at the end or on a quoting error (then Error() says why).
    bool Next(TCsvRecord &record);
    // Back to the header, for a second pass.
    void Rewind();

    QString Error() const { return m_error; }
    char Separator() const { return m_separator; }
    bool WasWindows1252() const { return m_windows1252; }

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

    QByteArray m_text; // UTF-8, without a byte order mark
    qsizetype m_fed = 0;
    std::unique_ptr<csv_parser> m_parser;
    bool m_finished = false;
    char m_separator = ';';
    bool m_windows1252 = false;
    QStringList m_fields;
    std::deque<TCsvRecord> m_ready;
    int m_rows = 0;
    QString m_error;
};
