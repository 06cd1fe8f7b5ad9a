#include "batch/CsvReader.h"

#include "batch/CsvLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <csv.h>

#include <algorithm>
#include <utility>

namespace {

constexpr qsizetype kChunk = 64 * 1024;

// The header decides: a ";" in it makes ";" the separator (what Brazilian spreadsheets write),
// else ",". Only the first physical line is looked at: column names hold neither.
char separatorOf(const QByteArray &text)
{
    const qsizetype end = text.indexOf('\n');
    const QByteArray header = end < 0 ? text : text.left(end);
    if (header.contains(';'))
        return ';';
    return header.contains(',') ? ',' : ';';
}

// A spreadsheet saved in Windows-1252 seldom holds a byte pair that happens to be valid UTF-8;
// a UTF-8 file with a name pasted from another program holds far more accents than stray bytes.
TCsvEncoding encodingOf(const QByteArray &text)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(text);
    if (!utf8.hasError())
        return TCsvEncoding::Utf8;
    qsizetype stray = 0, accents = 0;
    for (const QChar c : decoded) {
        if (c == QChar::ReplacementCharacter)
            ++stray;
        else if (c.unicode() >= 0x80)
            ++accents;
    }
    return accents >= stray ? TCsvEncoding::MixedUtf8 : TCsvEncoding::Windows1252;
}

// libcsv's faults, in the words of the batch's other lines.
QString faultText(int error)
{
    switch (error) {
    case CSV_EPARSE:
        return QStringLiteral("aspas fora do lugar (uma aspa num campo sem aspas, ou texto logo após a aspa que "
                              "fecha um campo)");
    case CSV_ENOMEM:
        return QStringLiteral("memória insuficiente para ler o arquivo");
    case CSV_ETOOBIG:
        return QStringLiteral("campo grande demais");
    default:
        return QStringLiteral("o leitor de planilhas falhou (erro %1)").arg(error);
    }
}

bool allBlank(const QStringList &fields)
{
    return std::all_of(fields.begin(), fields.end(), [](const QString &f) { return f.trimmed().isEmpty(); });
}

} // namespace

TCsvReader::TCsvReader() = default;

TCsvReader::~TCsvReader()
{
    if (m_parser)
        csv_free(m_parser.get());
}

bool TCsvReader::Open(const QString &path, QString *error)
{
    QFile file(path);
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = QStringLiteral("o arquivo %1 não existe").arg(path);
        return false;
    }
    if (info.isDir()) {
        *error = QStringLiteral("%1 é uma pasta, não um arquivo").arg(path);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("não foi possível ler %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > MaxFileBytes) {
        *error = QStringLiteral("%1 tem %2 MB; uma planilha de guias tem no máximo %3 MB")
                     .arg(path).arg(file.size() / (1024 * 1024)).arg(MaxFileBytes / (1024 * 1024));
        return false;
    }
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("não foi possível ler %1: %2").arg(path, file.errorString());
        return false;
    }
    return OpenBytes(bytes, error);
}

bool TCsvReader::OpenBytes(const QByteArray &bytes, QString *error)
{
    if (!CsvLibrary::Available()) {
        *error = QStringLiteral("a biblioteca libcsv.so.3 (pacote libcsv3) não está instalada");
        return false;
    }
    if (bytes.contains('\0')) {
        *error = QStringLiteral("o arquivo não é um texto de planilha (contém bytes nulos)");
        return false;
    }
    QByteArray text = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    m_encoding = encodingOf(text);
    if (m_encoding == TCsvEncoding::Windows1252) {
        QStringDecoder cp1252("windows-1252");
        text = QString(cp1252.decode(text)).toUtf8();
    } else if (m_encoding == TCsvEncoding::MixedUtf8) {
        // Each stray byte becomes a replacement character, which marks its field.
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = QString(utf8.decode(text)).toUtf8();
    }
    if (text.trimmed().isEmpty()) {
        *error = QStringLiteral("o arquivo está vazio");
        return false;
    }
    m_text = text;
    m_separator = separatorOf(m_text);
    Rewind();
    return true;
}

void TCsvReader::startParser()
{
    if (m_parser)
        csv_free(m_parser.get());
    m_parser = std::make_unique<csv_parser>();
    // Strict: a stray quote or a quote left open is an error, not a silently joined field. Every
    // line end is reported, so that blank lines keep the rows' numbers as the spreadsheet shows them.
    csv_init(m_parser.get(), CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL);
    csv_set_delim(m_parser.get(), static_cast<unsigned char>(m_separator));
    // Blanks belong to the field, as the spreadsheet holds it; the checks trim where it matters.
    csv_set_space_func(m_parser.get(), [](unsigned char) { return 0; });
}

void TCsvReader::Rewind()
{
    startParser();
    m_fed = 0;
    m_finished = false;
    m_fields.clear();
    m_undecoded = -1;
    m_lastTerminator = 0;
    m_ready.clear();
    m_rows = 0;
    m_error.clear();
    m_faults.clear();
}

void TCsvReader::fieldEnd(void *data, size_t length, void *self)
{
    auto *reader = static_cast<TCsvReader *>(self);
    if (!reader->m_error.isEmpty())
        return;
    if (length > size_t(MaxFieldBytes)) {
        reader->m_error = QStringLiteral("linha %1: um campo tem mais de %2 caracteres (aspas sem fechamento?)")
                              .arg(reader->m_rows + 1).arg(MaxFieldBytes);
        return;
    }
    if (reader->m_fields.size() >= MaxFields) {
        reader->m_error = QStringLiteral("linha %1: mais de %2 campos").arg(reader->m_rows + 1).arg(MaxFields);
        return;
    }
    QString field = QString::fromUtf8(static_cast<const char *>(data), qsizetype(length));
    if (reader->m_encoding == TCsvEncoding::MixedUtf8 && reader->m_undecoded < 0
        && field.contains(QChar::ReplacementCharacter))
        reader->m_undecoded = int(reader->m_fields.size());
    reader->m_fields.append(field);
}

void TCsvReader::recordEnd(int terminator, void *self)
{
    auto *reader = static_cast<TCsvReader *>(self);
    if (!reader->m_error.isEmpty())
        return;
    const int previous = std::exchange(reader->m_lastTerminator, terminator);
    if (reader->m_fields.isEmpty()) {
        // The line feed of a CR LF is no line of its own.
        if (terminator != -1 && !(terminator == '\n' && previous == '\r'))
            ++reader->m_rows;
        return;
    }
    const int row = ++reader->m_rows;
    QStringList fields = std::exchange(reader->m_fields, {});
    const int undecoded = std::exchange(reader->m_undecoded, -1);
    if (!allBlank(fields))
        reader->m_ready.push_back(TCsvRecord{row, std::move(fields), undecoded});
}

void TCsvReader::quotingFault(qsizetype at, const QString &reason)
{
    m_faults.append(TCsvFault{++m_rows, reason});
    m_fields.clear();
    m_undecoded = -1;
    // On from the next line, with a fresh parser.
    qsizetype next = at;
    while (next < m_text.size() && m_text.at(next) != '\n' && m_text.at(next) != '\r')
        ++next;
    if (next < m_text.size() && m_text.at(next) == '\r')
        ++next;
    if (next < m_text.size() && m_text.at(next) == '\n')
        ++next;
    m_fed = next;
    m_lastTerminator = '\n';
    startParser();
}

bool TCsvReader::feedMore()
{
    if (m_finished || !m_error.isEmpty())
        return false;
    const qsizetype length = std::min(kChunk, m_text.size() - m_fed);
    if (length > 0) {
        const size_t used = csv_parse(m_parser.get(), m_text.constData() + m_fed, size_t(length), fieldEnd,
                                      recordEnd, this);
        if (used != size_t(length) && m_error.isEmpty())
            quotingFault(m_fed + qsizetype(used), faultText(csv_error(m_parser.get())));
        else
            m_fed += length;
        return true;
    }
    m_finished = true;
    if (csv_fini(m_parser.get(), fieldEnd, recordEnd, this) != 0 && m_error.isEmpty())
        m_faults.append(TCsvFault{m_rows + 1, QStringLiteral("aspas abertas e não fechadas até o fim do arquivo")});
    return true;
}

bool TCsvReader::Next(TCsvRecord &record)
{
    while (m_ready.empty()) {
        if (!m_error.isEmpty() || !feedMore())
            return false;
        if (m_finished && m_ready.empty())
            return false;
    }
    record = std::move(m_ready.front());
    m_ready.pop_front();
    return true;
}
