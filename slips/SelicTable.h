#pragma once
// The monthly Selic rates that late federal payments add up: the months the program ships with
// and those the office adds or corrects, kept in the user's data folder (the office's value
// wins). A rate is a whole count of hundredths of a percent (0,93 % is 93): the Receita
// publishes two decimals, and sums of integers are exact.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

struct TSelicMonth
{
    int year = 0;
    int month = 0; // 1 to 12
    int rate = 0;  // hundredths of a percent

    bool operator==(const TSelicMonth &) const = default;
};

class TSelicTable
{
public:
    // The shipped months only.
    static TSelicTable Shipped();
    // The shipped months with the office's file over them. A missing file is no problem; lines
    // that cannot be read are left out and told in *problems.
    static TSelicTable Load(const QString &officeFile, QStringList *problems = nullptr);
    // $XDG_DATA_HOME/Morvath/Zavenor/selic-mensal.csv (normally under ~/.local/share).
    static QString OfficeFile();

    std::optional<int> Rate(int year, int month) const;
    bool IsOffice(int year, int month) const;
    // Every month known, oldest first, the office's value where it gave one.
    QList<TSelicMonth> Months() const;
    // Adds a month or corrects it; false with the reason when it is no month or no rate.
    bool SetOfficeMonth(const TSelicMonth &month, QString *reason);
    // Writes the office's months whole or not at all.
    bool SaveOffice(const QString &file, QString *error) const;

private:
    QMap<int, int> m_shipped; // year * 12 + month - 1 → rate
    QMap<int, int> m_office;
};

namespace SelicText {

// 0,93 or 0,93% or 0.93: a monthly rate from 0 to 10 % with at most two decimals.
bool ParseRate(const QString &text, int &rate, QString *reason);
// 0,93 with the regional decimal separator.
QString FormatRate(int rate);
// MM/AAAA
QString MonthName(int year, int month);

struct TParsed
{
    QList<TSelicMonth> months;
    QStringList problems; // "linha N: ..."; anything here means nothing should be taken
};

// A CSV `ano;mes;taxa`, or the Receita's published grid pasted as text: months down and years
// across (or years down and months across), cells as 0,93 or 0,93 %, blank or "-" for a month
// not yet published. Cells separated by tabs keep their column even when some are blank.
TParsed Parse(const QString &text);

} // namespace SelicText
