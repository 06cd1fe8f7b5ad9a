// Totals as currency: ties to even at four decimals, halves away from zero at two, the range
// of the currency type, and the sums of the entry pages' examples.
#include "slips/CurrencyTotal.h"

#include <QtTest>
#include <limits>

class TestTotals : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }

    void tiesGoToEvenAtFourDecimals_data()
    {
        // Binary fractions whose ten-thousandths end exactly in a half.
        QTest::addColumn<double>("amount");
        QTest::addColumn<qint64>("currency");
        QTest::newRow("312.5 down to even") << 0.03125 << qint64(312);
        QTest::newRow("937.5 up to even") << 0.09375 << qint64(938);
        QTest::newRow("negative down to even") << -0.03125 << qint64(-312);
        QTest::newRow("negative up to even") << -0.09375 << qint64(-938);
        QTest::newRow("not a tie") << 0.03126 << qint64(313);
    }

    void tiesGoToEvenAtFourDecimals()
    {
        QFETCH(double, amount);
        QFETCH(qint64, currency);
        QCOMPARE(CurrencyTotal::ToCurrency(amount), currency);
    }

    void formatsTwoDecimals_data()
    {
        QTest::addColumn<qint64>("currency");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "0,00";
        QTest::newRow("half a cent up") << qint64(50) << "0,01";
        QTest::newRow("negative half a cent") << qint64(-50) << "-0,01";
        QTest::newRow("under half, no minus") << qint64(-49) << "0,00";
        QTest::newRow("thousands") << qint64(12345000) << "1.234,50";
        QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "922.337.203.685.477,58";
        QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "-922.337.203.685.477,58";
    }

    void formatsTwoDecimals()
    {
        QFETCH(qint64, currency);
        QFETCH(QString, text);
        QCOMPARE(CurrencyTotal::Format(currency, QLocale()), text);
    }

    void sumsAsThePagesShowThem()
    {
        const QLocale br;
        QCOMPARE(CurrencyTotal::Total({0.10L, 0.20L, 0.0L}, br), QStringLiteral("0,30"));
        QCOMPARE(CurrencyTotal::Total({1234.5L, 0.0L, 0.0L}, br), QStringLiteral("1.234,50"));
        QCOMPARE(CurrencyTotal::Total({999999.99L, 0.01L, 0.0L}, br), QStringLiteral("1.000.000,00"));
        QCOMPARE(CurrencyTotal::Total({100.0L, 1.5L, 2.0L, 10.0L}, br), QStringLiteral("113,50"));
        QCOMPARE(CurrencyTotal::Total({-5.0L, 1.25L, 0.0L}, br), QStringLiteral("-3,75"));
        QCOMPARE(CurrencyTotal::Total({900000000000000.0L, 22337203685477.0L, 0.0L}, br),
                 QStringLiteral("922.337.203.685.477,00"));
    }

    void beyondTheCurrencyRangeIsAnError()
    {
        QVERIFY_THROWS_EXCEPTION(TCurrencyRangeError, CurrencyTotal::ToCurrency(922337203685478.0L));
        QVERIFY_THROWS_EXCEPTION(TCurrencyRangeError, CurrencyTotal::ToCurrency(-922337203685478.0L));
        QVERIFY_THROWS_EXCEPTION(TCurrencyRangeError,
                                 CurrencyTotal::ToCurrency(std::numeric_limits<long double>::infinity()));
        QVERIFY_THROWS_EXCEPTION(TCurrencyRangeError, CurrencyTotal::ToCurrency(1e4000L));
    }
};

QTEST_GUILESS_MAIN(TestTotals)
#include "tst_totals.moc"
