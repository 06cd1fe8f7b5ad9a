// The fine and interest of a late DARF from the shipped and the office's Selic months, and the
// Receita's published table read from pasted text.
#include "slips/LateCharges.h"

#include <QTemporaryDir>
#include <QtTest>

using TStatus = TLateCharges::TStatus;
Q_DECLARE_METATYPE(TStatus)
Q_DECLARE_METATYPE(QList<TSelicMonth>)

class TestLateCharges : public QObject
{
    Q_OBJECT

private slots:
    void computesTheRule_data();
    void computesTheRule();
    void officeMonthsFillAndWin_data();
    void officeMonthsFillAndWin();
    void readsPastedTables_data();
    void readsPastedTables();
};

namespace {

QDate day(const char *text) { return QDate::fromString(QString::fromLatin1(text), QStringLiteral("dd/MM/yyyy")); }

} // namespace

void TestLateCharges::computesTheRule_data()
{
    QTest::addColumn<qint64>("principal"); // cents
    QTest::addColumn<QDate>("due");
    QTest::addColumn<QDate>("paid");
    QTest::addColumn<TStatus>("status");
    QTest::addColumn<QList<qint64>>("figures"); // days, fine %, fine, interest %, interest, Selic months

    const auto row = [](const char *name, qint64 principal, const char *due, const char *paid, QList<qint64> figures) {
        QTest::newRow(name) << principal << day(due) << day(paid) << TStatus::Computed << figures;
    };
    // The Receita's table for payments in January 2025.
    row("receita, due 01/2011", 100000, "31/01/2011", "15/01/2025", {5098, 2000, 20000, 12646, 126460, 167});
    row("receita, due 06/2017", 100000, "30/06/2017", "15/01/2025", {2756, 2000, 20000, 5851, 58510, 90});
    row("receita, due 01/2018", 100000, "31/01/2018", "15/01/2025", {2541, 2000, 20000, 5394, 53940, 83});
    row("one day late", 123456, "20/03/2024", "21/03/2024", {1, 33, 407, 0, 0, 0});
    row("60 days", 123456, "31/01/2024", "31/03/2024", {60, 1980, 24444, 180, 2222, 1});
    row("61 days reach the limit", 123456, "31/01/2024", "01/04/2024", {61, 2000, 24691, 263, 3247, 2});
    row("paid within the due month", 123456, "05/03/2024", "28/03/2024", {23, 759, 9370, 0, 0, 0});
    row("paid the next month: 1 % only", 123456, "28/03/2024", "02/04/2024", {5, 165, 2037, 100, 1235, 0});
    row("half a cent rounds up", 5000, "20/03/2024", "21/03/2024", {1, 33, 17, 0, 0, 0});
    row("worked example", 123456, "31/01/2024", "15/04/2025", {440, 2000, 24691, 1337, 16506, 14});
    QTest::newRow("paid on the due date") << qint64(123456) << day("31/01/2024") << day("31/01/2024")
                                          << TStatus::NotLate << QList<qint64>{0, 0, 0, 0, 0, 0};
    QTest::newRow("blank principal") << qint64(0) << day("31/01/2024") << day("15/04/2025")
                                     << TStatus::BlankPrincipal << QList<qint64>{0, 0, 0, 0, 0, 0};
}

void TestLateCharges::computesTheRule()
{
    QFETCH(qint64, principal);
    QFETCH(QDate, due);
    QFETCH(QDate, paid);
    QFETCH(TStatus, status);
    QFETCH(QList<qint64>, figures);
    const TLateCharges c = LateCharges::Compute(principal, due, paid, TSelicTable::Shipped());
    QCOMPARE(c.status, status);
    QCOMPARE((QList<qint64>{c.daysLate, c.finePercent, c.fine, c.interestPercent, c.interest, c.selicMonths}), figures);
}

void TestLateCharges::officeMonthsFillAndWin_data()
{
    QTest::addColumn<QString>("officeFile");
    QTest::addColumn<QString>("missing"); // empty: computed
    QTest::addColumn<int>("interestPercent");
    // Due in March 2025, paid in July: April (shipped 1,06), May and June are summed.
    QTest::newRow("shipped months end in April") << "" << "05/2025" << 0;
    QTest::newRow("a gap in the office's months") << "ano;mes;taxa\n2025;06;1,10\n" << "05/2025" << 0;
    QTest::newRow("office months complete it") << "ano;mes;taxa\n2025;05;1,14\n2025;06;1,10\n" << "" << 106 + 114 + 110 + 100;
    QTest::newRow("the office's value wins") << "# corrigido\nano;mes;taxa\n2025;04;2,00\n2025;05;1,14\n2025;06;1,10\n"
                                             << "" << 200 + 114 + 110 + 100;
    QTest::newRow("an unreadable line adds nothing") << "ano;mes;taxa\n2025;05;1,14\n2025;06;x\n" << "06/2025" << 0;
}

void TestLateCharges::officeMonthsFillAndWin()
{
    QFETCH(QString, officeFile);
    QFETCH(QString, missing);
    QFETCH(int, interestPercent);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("selic-mensal.csv"));
    if (!officeFile.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(officeFile.toUtf8());
    }
    QStringList problems;
    TSelicTable table = TSelicTable::Load(path, &problems);
    QCOMPARE(problems.isEmpty(), !officeFile.contains(QLatin1String(";x")));
    // What is saved reads back the same.
    QString error;
    QVERIFY2(table.SaveOffice(path, &error), qPrintable(error));
    QCOMPARE(TSelicTable::Load(path).Months(), table.Months());

    const TLateCharges c = LateCharges::Compute(100000, day("15/03/2025"), day("10/07/2025"), table);
    if (missing.isEmpty()) {
        QCOMPARE(c.status, TStatus::Computed);
        QCOMPARE(c.interestPercent, interestPercent);
        return;
    }
    // Never an interest from the months found.
    QCOMPARE(c.status, TStatus::MissingMonth);
    QCOMPARE(c.interest, qint64(0));
    QCOMPARE(SelicText::MonthName(c.missingYear, c.missingMonth), missing);
    QVERIFY(LateCharges::Reason(c, day("15/03/2025"), QStringLiteral("aqui")).contains(missing));
}

void TestLateCharges::readsPastedTables_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<TSelicMonth>>("months"); // in the order read
    QTest::addColumn<QString>("problem");           // start of the first problem; empty: none

    QTest::newRow("receita grid, tabs, months not yet published blank")
        << "Taxa de juros Selic\nMês/Ano\t2024\t2025\nJaneiro\t0,97%\t1,01%\nFevereiro\t0,80%\t0,99%\n"
           "Março\t0,83%\t\nDezembro\t0,93%\t\n"
        << QList<TSelicMonth>{{2024, 1, 97}, {2025, 1, 101}, {2024, 2, 80}, {2025, 2, 99}, {2024, 3, 83}, {2024, 12, 93}}
        << "";
    QTest::newRow("latest year first, tabs keep the columns")
        << "\t2025\t2024\nJan\t\t0,97 %\nFev\t0,99 %\t0,80 %\n"
        << QList<TSelicMonth>{{2024, 1, 97}, {2025, 2, 99}, {2024, 2, 80}} << "";
    QTest::newRow("years down, months across, blanks between")
        << "Ano Jan Fev Mar\n2025 1,01 0,99 0,96\n"
        << QList<TSelicMonth>{{2025, 1, 101}, {2025, 2, 99}, {2025, 3, 96}} << "";
    QTest::newRow("csv ano;mes;taxa") << "ano;mes;taxa\n2025;05;1,14\n2025;6;1.10\n"
                                      << QList<TSelicMonth>{{2025, 5, 114}, {2025, 6, 110}} << "";
    QTest::newRow("the accumulated table is no monthly rate")
        << "Mês/Ano\t2011\nJaneiro\t126,46%\n" << QList<TSelicMonth>{} << "linha 2: 01/2011: taxa de 126,46 %";
    QTest::newRow("blanks lose the columns of a falling row")
        << "2025 2024\nMarço 0,83\n" << QList<TSelicMonth>{} << "linha 2: faltam valores";
    QTest::newRow("a month twice with two rates") << "ano;mes;taxa\n2025;05;1,14\n2025;05;1,41\n"
                                                  << QList<TSelicMonth>{{2025, 5, 114}} << "linha 3: 05/2025 aparece de novo";
    QTest::newRow("no table") << "olá, tudo bem?" << QList<TSelicMonth>{} << "linha 1: não é uma tabela Selic";
    QTest::newRow("three decimals") << "ano;mes;taxa\n2025;05;1,141\n" << QList<TSelicMonth>{}
                                    << "linha 2: 05/2025: taxa inválida";
}

void TestLateCharges::readsPastedTables()
{
    QFETCH(QString, text);
    QFETCH(QList<TSelicMonth>, months);
    QFETCH(QString, problem);
    const SelicText::TParsed parsed = SelicText::Parse(text);
    QCOMPARE(parsed.months, months);
    if (problem.isEmpty())
        QCOMPARE(parsed.problems, QStringList());
    else
        QVERIFY2(!parsed.problems.isEmpty() && parsed.problems.first().startsWith(problem),
                 qPrintable(parsed.problems.join(QLatin1Char('|'))));
}

QTEST_MAIN(TestLateCharges)
#include "tst_latecharges.moc"
