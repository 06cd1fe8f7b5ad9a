#include "slips/SelicTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

namespace {

// A pasted table or an office file larger than this is no table of monthly rates.
constexpr qint64 kMaxTextBytes = 1 << 20;
constexpr int kFirstYear = 1990;
constexpr int kLastYear = 2100;

int keyOf(int year, int month) { return year * 12 + month - 1; }
TSelicMonth monthOf(int key, int rate) { return TSelicMonth{key / 12, key % 12 + 1, rate}; }

bool isYear(const QString &cell, int &year)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{4}$"));
    if (!pattern.match(cell).hasMatch())
        return false;
    year = cell.toInt();
    return year >= kFirstYear && year <= kLastYear;
}

// janeiro, Jan, jan., MARÇO, marco, or 1 to 12.
bool isMonth(const QString &cell, int &month)
{
    static const char *const names[] = {"janeiro", "fevereiro", "marco", "abril", "maio", "junho",
                                        "julho", "agosto", "setembro", "outubro", "novembro", "dezembro"};
    static const QRegularExpression number(QStringLiteral("^\\d{1,2}$"));
    if (number.match(cell).hasMatch()) {
        month = cell.toInt();
        return month >= 1 && month <= 12;
    }
    QString word;
    for (const QChar c : cell.normalized(QString::NormalizationForm_D))
        if (c.isLetter())
            word += c.toLower();
        else if (c != QLatin1Char('.') && c.category() != QChar::Mark_NonSpacing)
            return false;
    if (word.size() < 3)
        return false;
    for (int i = 0; i < 12; ++i)
        if (QLatin1String(names[i]).startsWith(word)) {
            month = i + 1;
            return true;
        }
    return false;
}

bool hasDigit(const QString &text)
{
    for (const QChar c : text)
        if (c.isDigit())
            return true;
    return false;
}

bool isBlankCell(const QString &cell)
{
    return cell.isEmpty() || cell == QLatin1String("-") || cell == QStringLiteral("–");
}

// Tabs keep blank cells in place (a table copied from a page); otherwise semicolons, otherwise
// runs of blanks.
QStringList cellsOf(QString line, bool *keepsColumns)
{
    static const QRegularExpression spaceBeforePercent(QStringLiteral("\\s+%"));
    line.replace(spaceBeforePercent, QStringLiteral("%"));
    QStringList cells;
    *keepsColumns = true;
    if (line.contains(QLatin1Char('\t')))
        cells = line.split(QLatin1Char('\t'));
    else if (line.contains(QLatin1Char(';')))
        cells = line.split(QLatin1Char(';'));
    else {
        static const QRegularExpression blanks(QStringLiteral("\\s+"));
        cells = line.trimmed().split(blanks, Qt::SkipEmptyParts);
        *keepsColumns = false;
    }
    for (QString &cell : cells)
        cell = cell.trimmed();
    while (!cells.isEmpty() && cells.last().isEmpty())
        cells.removeLast();
    return cells;
}

class TParser
{
public:
    SelicText::TParsed result;

    void Add(int line, int year, int month, const QString &cell)
    {
        int rate = 0;
        QString reason;
        if (!SelicText::ParseRate(cell, rate, &reason)) {
            problem(line, QStringLiteral("%1: %2").arg(SelicText::MonthName(year, month), reason));
            return;
        }
        const int key = keyOf(year, month);
        if (const auto seen = m_seen.constFind(key); seen != m_seen.constEnd()) {
            if (*seen != rate)
                problem(line, QStringLiteral("%1 aparece de novo com outra taxa (%2 e %3)")
                                  .arg(SelicText::MonthName(year, month), SelicText::FormatRate(*seen),
                                       SelicText::FormatRate(rate)));
            return;
        }
        m_seen.insert(key, rate);
        result.months << TSelicMonth{year, month, rate};
    }

    void problem(int line, const QString &what)
    {
        // A text that is no table at all would list every line: a few say enough.
        if (result.problems.size() < 20)
            result.problems << QStringLiteral("linha %1: %2").arg(line).arg(what);
        else if (result.problems.size() == 20)
            result.problems << QStringLiteral("e outras linhas");
    }

    void ParseCsv(const QList<std::pair<int, QString>> &lines)
    {
        static const QRegularExpression row(QStringLiteral("^\\s*(\\d{4})\\s*;\\s*(\\d{1,2})\\s*;\\s*([^;]*?)\\s*$"));
        for (const auto &[number, text] : lines) {
            const QRegularExpressionMatch m = row.match(text);
            int year = 0, month = 0;
            if (!m.hasMatch() || !isYear(m.captured(1), year) || !isMonth(m.captured(2), month)) {
                problem(number, QStringLiteral("esperava ano;mes;taxa, como 2025;05;1,14"));
                continue;
            }
            Add(number, year, month, m.captured(3));
        }
    }

    void ParseGrid(const QList<std::pair<int, QString>> &lines)
    {
        // The header: a row of years (months down) or a row of months (years down), perhaps
        // after a label such as "Mês/Ano".
        QList<int> across;
        bool yearsAcross = false;
        qsizetype start = 0;
        for (; start < lines.size() && across.isEmpty(); ++start) {
            bool keepsColumns = true;
            const QStringList cells = cellsOf(lines[start].second, &keepsColumns);
            for (const bool years : {true, false}) {
                QList<int> found;
                int leading = 0;
                bool all = true;
                for (const QString &cell : cells) {
                    int value = 0;
                    if (years ? isYear(cell, value) : isMonth(cell, value))
                        found << value;
                    else if (found.isEmpty() && !hasDigit(cell))
                        ++leading;
                    else if (!(cell.isEmpty() && !found.isEmpty()))
                        all = false;
                }
                // A lone month name is a data row, and a title may end in one year: a header of
                // one name only counts between tabs.
                if (all && found.size() >= (years && keepsColumns ? 1 : 2) && leading <= 1) {
                    across = found;
                    yearsAcross = years;
                    break;
                }
            }
        }
        if (across.isEmpty()) {
            problem(lines.isEmpty() ? 1 : lines.first().first,
                    QStringLiteral("não é uma tabela Selic: falta a linha dos anos (ou dos meses) "
                                   "ou as linhas ano;mes;taxa"));
            return;
        }
        for (qsizetype i = start; i < lines.size(); ++i) {
            const auto &[number, text] = lines[i];
            bool keepsColumns = true;
            const QStringList cells = cellsOf(text, &keepsColumns);
            int down = 0;
            if (cells.isEmpty() || !(yearsAcross ? isMonth(cells[0], down) : isYear(cells[0], down))) {
                // Notes and titles under the table are left alone; numbers are not.
                if (hasDigit(text))
                    problem(number, yearsAcross ? QStringLiteral("não começa por um mês") : QStringLiteral("não começa por um ano"));
                continue;
            }
            // Whether or not the header has a label over the row names, the value under its
            // first name is the row's second cell.
            const qsizetype values = cells.size() - 1;
            if (values > across.size()) {
                problem(number, QStringLiteral("%1 valores para %2 colunas").arg(values).arg(across.size()));
                continue;
            }
            // Cells run together by blanks lose their places; only months not yet published at
            // the end of a row of rising years can be told apart then.
            if (!keepsColumns && values < across.size()
                && !(yearsAcross && std::is_sorted(across.begin(), across.end()))) {
                problem(number, QStringLiteral("faltam valores e não se sabe de quais colunas; "
                                               "cole a tabela com as colunas separadas por tabulação"));
                continue;
            }
            for (qsizetype j = 0; j < across.size(); ++j) {
                const qsizetype at = j + 1;
                if (at >= cells.size() || isBlankCell(cells[at]))
                    continue;
                Add(number, yearsAcross ? across[j] : down, yearsAcross ? down : across[j], cells[at]);
            }
        }
    }

private:
    QMap<int, int> m_seen;
};

void loadInto(QMap<int, int> &map, const QString &text, QStringList *problems)
{
    const SelicText::TParsed parsed = SelicText::Parse(text);
    for (const TSelicMonth &m : parsed.months)
        map.insert(keyOf(m.year, m.month), m.rate);
    if (problems)
        *problems << parsed.problems;
}

QString readText(const QString &path, QStringList *problems)
{
    QFile file(path);
    if (!file.exists())
        return QString();
    if (!file.open(QIODevice::ReadOnly)) {
        if (problems)
            *problems << QStringLiteral("%1: não foi possível ler (%2)").arg(path, file.errorString());
        return QString();
    }
    if (file.size() > kMaxTextBytes) {
        if (problems)
            *problems << QStringLiteral("%1: grande demais para uma tabela de taxas mensais").arg(path);
        return QString();
    }
    return QString::fromUtf8(file.readAll());
}

} // namespace

namespace SelicText {

bool ParseRate(const QString &text, int &rate, QString *reason)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,4})(?:[,.](\\d{1,2}))?\\s*%?$"));
    if (text.trimmed().isEmpty()) {
        *reason = QStringLiteral("falta a taxa (escreva 0,93, com até duas casas decimais)");
        return false;
    }
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch()) {
        *reason = QStringLiteral("taxa inválida \"%1\" (escreva 0,93, com até duas casas decimais)").arg(text.trimmed().left(20));
        return false;
    }
    const QString decimals = m.captured(2);
    rate = m.captured(1).toInt() * 100 + (decimals.isEmpty() ? 0 : decimals.leftJustified(2, QLatin1Char('0')).toInt());
    // The accumulated table (126,46 % and the like) pasted by mistake must not pass for months.
    if (rate > 1000) {
        *reason = QStringLiteral("taxa de %1 % não é uma taxa mensal (de 0 a 10 %)").arg(FormatRate(rate));
        return false;
    }
    return true;
}

QString FormatRate(int rate)
{
    return QStringLiteral("%1%2%3").arg(rate / 100).arg(QLocale().decimalPoint()).arg(rate % 100, 2, 10, QLatin1Char('0'));
}

QString MonthName(int year, int month)
{
    return QStringLiteral("%1/%2").arg(month, 2, 10, QLatin1Char('0')).arg(year);
}

TParsed Parse(const QString &text)
{
    TParser parser;
    if (text.size() > kMaxTextBytes) {
        parser.problem(1, QStringLiteral("texto grande demais para uma tabela de taxas mensais"));
        return parser.result;
    }
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    static const QRegularExpression csvHeader(QStringLiteral("^\\s*ano\\s*;\\s*m[eê]s\\s*;\\s*taxa\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression csvRow(QStringLiteral("^\\s*\\d{4}\\s*;\\s*\\d{1,2}\\s*;"));
    QList<std::pair<int, QString>> lines;
    bool csv = false;
    const QStringList all = text.split(breaks);
    for (int i = 0; i < all.size(); ++i) {
        const QString &line = all[i];
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#')))
            continue;
        if (lines.isEmpty() && csvHeader.match(line).hasMatch()) {
            csv = true;
            continue;
        }
        if (lines.isEmpty() && csvRow.match(line).hasMatch())
            csv = true;
        lines.append({i + 1, line});
    }
    if (lines.isEmpty()) {
        parser.problem(1, QStringLiteral("nenhum mês no texto"));
        return parser.result;
    }
    if (csv)
        parser.ParseCsv(lines);
    else
        parser.ParseGrid(lines);
    if (parser.result.months.isEmpty() && parser.result.problems.isEmpty())
        parser.problem(lines.first().first, QStringLiteral("nenhuma taxa na tabela"));
    return parser.result;
}

} // namespace SelicText

TSelicTable TSelicTable::Shipped()
{
    static const TSelicTable shipped = [] {
        TSelicTable table;
        QFile file(QStringLiteral(":/data/selic-mensal.csv"));
        if (file.open(QIODevice::ReadOnly))
            loadInto(table.m_shipped, QString::fromUtf8(file.readAll()), nullptr);
        return table;
    }();
    return shipped;
}

TSelicTable TSelicTable::Load(const QString &officeFile, QStringList *problems)
{
    TSelicTable table = Shipped();
    const QString text = readText(officeFile, problems);
    if (!text.trimmed().isEmpty()) {
        QStringList found;
        loadInto(table.m_office, text, &found);
        for (const QString &problem : std::as_const(found))
            if (problems)
                *problems << QStringLiteral("%1, %2").arg(officeFile, problem);
    }
    return table;
}

QString TSelicTable::OfficeFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/Morvath/Zavenor/selic-mensal.csv");
}

std::optional<int> TSelicTable::Rate(int year, int month) const
{
    const int key = keyOf(year, month);
    if (const auto office = m_office.constFind(key); office != m_office.constEnd())
        return *office;
    if (const auto shipped = m_shipped.constFind(key); shipped != m_shipped.constEnd())
        return *shipped;
    return std::nullopt;
}

bool TSelicTable::IsOffice(int year, int month) const { return m_office.contains(keyOf(year, month)); }

QList<TSelicMonth> TSelicTable::Months() const
{
    QMap<int, int> all = m_shipped;
    all.insert(m_office);
    QList<TSelicMonth> months;
    for (auto it = all.cbegin(); it != all.cend(); ++it)
        months << monthOf(it.key(), it.value());
    return months;
}

bool TSelicTable::SetOfficeMonth(const TSelicMonth &month, QString *reason)
{
    if (month.year < kFirstYear || month.year > kLastYear || month.month < 1 || month.month > 12) {
        *reason = QStringLiteral("mês inválido");
        return false;
    }
    if (month.rate < 0 || month.rate > 1000) {
        *reason = QStringLiteral("taxa fora do intervalo de uma taxa mensal (de 0 a 10 %)");
        return false;
    }
    m_office.insert(keyOf(month.year, month.month), month.rate);
    return true;
}

bool TSelicTable::SaveOffice(const QString &file, QString *error) const
{
    if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
        *error = QStringLiteral("não foi possível criar a pasta %1").arg(QFileInfo(file).absolutePath());
        return false;
    }
    QString text = QStringLiteral("# Taxas Selic mensais acrescentadas ou corrigidas no escritório (Zavenor).\n"
                                  "ano;mes;taxa\n");
    for (auto it = m_office.cbegin(); it != m_office.cend(); ++it) {
        const TSelicMonth m = monthOf(it.key(), it.value());
        // The file is always written with a decimal comma, whatever the regional settings.
        text += QStringLiteral("%1;%2;%3,%4\n")
                    .arg(m.year)
                    .arg(m.month, 2, 10, QLatin1Char('0'))
                    .arg(m.rate / 100)
                    .arg(m.rate % 100, 2, 10, QLatin1Char('0'));
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(text.toUtf8()) < 0 || !out.commit()) {
        *error = QStringLiteral("não foi possível gravar %1 (%2)").arg(file, out.errorString());
        return false;
    }
    return true;
}
