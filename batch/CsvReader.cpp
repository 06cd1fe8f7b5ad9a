#include "batch/CsvReader.h"

#include "batch/CsvLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <csv.h>

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
    // Not valid UTF-8: what spreadsheets in Brazil save by default.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(utf8.decode(text));
    m_windows1252 = utf8.hasError();
    if (m_windows1252) {
        QStringDecoder cp1252("windows-1252");
        text = QString(cp1252.decode(text)).toUtf8();
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
    // Strict: a stray quote or a quote left open is an error, not a silently joined field.
    csv_init(m_parser.get(), CSV_STRICT | CSV_STRICT_FINI);
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
    m_ready.clear();
    m_rows = 0;
    m_error.clear();
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
    reader->m_fields.append(QString::fromUtf8(static_cast<const char *>(data), qsizetype(length)));
}

void TCsvReader::recordEnd(int, void *self)
{
    auto *reader = static_cast<TCsvReader *>(self);
    if (!reader->m_error.isEmpty())
        return;
    reader->m_ready.push_back(TCsvRecord{++reader->m_rows, reader->m_fields});
    reader->m_fields.clear();
}

bool TCsvReader::feedMore()
{
    if (m_finished || !m_error.isEmpty())
        return false;
    const qsizetype length = std::min(kChunk, m_text.size() - m_fed);
    if (length > 0) {
        const size_t used = csv_parse(m_parser.get(), m_text.constData() + m_fed, size_t(length), fieldEnd,
                                      recordEnd, this);
        if (used != size_t(length)) {
            m_error = QStringLiteral("linha %1: aspas fora do lugar (%2)")
                          .arg(m_rows + 1)
                          .arg(QString::fromUtf8(csv_strerror(csv_error(m_parser.get()))));
            return false;
        }
        m_fed += length;
        return true;
    }
    m_finished = true;
    if (csv_fini(m_parser.get(), fieldEnd, recordEnd, this) != 0 && m_error.isEmpty())
        m_error = QStringLiteral("linha %1: aspas abertas e não fechadas até o fim do arquivo").arg(m_rows + 1);
    return true;
}

bool TCsvReader::Next(TCsvRecord &record)
{
    // Rows before a quoting error still come out: their own faults are listed with it.
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
