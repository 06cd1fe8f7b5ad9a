// Check digits of CPF, CNPJ (numeric and alphanumeric) and São Paulo state registration: which
// texts are judged at all, what is said about a wrong one, and the punctuation a valid bare
// number gets.
#include "slips/TaxIdCheck.h"

#include <QtTest>

namespace {
const QString kMismatch = QStringLiteral(" com dígitos verificadores que não conferem: o esperado é ");
const QString kRepeated = QStringLiteral(" com todos os dígitos iguais: não é um número válido");
} // namespace

class TestTaxIdCheck : public QObject
{
    Q_OBJECT

private slots:
    void cpfAndCnpj_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason"); // empty: valid
        const int cpf = TTaxIdVerdict::Cpf, cnpj = TTaxIdVerdict::Cnpj;
        const QString wrongCpf = QStringLiteral("CPF") + kMismatch, wrongCnpj = QStringLiteral("CNPJ") + kMismatch;

        // Remainder 1: the first check digit is 0, not 10.
        QTest::newRow("CPF bare") << "12345678909" << cpf << QString();
        QTest::newRow("CPF punctuated") << "123.456.789-09" << cpf << QString();
        QTest::newRow("CPF with leading zeros") << "000.000.001-91" << cpf << QString();
        QTest::newRow("another CPF") << "52998224725" << cpf << QString();
        QTest::newRow("CPF first check digit wrong") << "12345678919" << cpf << wrongCpf + "09";
        QTest::newRow("CPF second check digit wrong") << "123.456.789-08" << cpf << wrongCpf + "09";
        // Both check digits depend on the order, not just the sum of the digits.
        QTest::newRow("CPF two digits swapped") << "213.456.789-09" << cpf << wrongCpf + "91";
        // 11111111111 and 00000000000 pass the arithmetic but are never issued.
        QTest::newRow("CPF ones") << "11111111111" << cpf << "CPF" + kRepeated;
        QTest::newRow("CPF zeros") << "000.000.000-00" << cpf << "CPF" + kRepeated;

        QTest::newRow("CNPJ numeric") << "11.222.333/0001-81" << cnpj << QString();
        QTest::newRow("CNPJ numeric bare") << "11222333000181" << cnpj << QString();
        QTest::newRow("CNPJ numeric wrong") << "11.222.333/0001-82" << cnpj << wrongCnpj + "81";
        QTest::newRow("CNPJ zeros") << "00.000.000/0000-00" << cnpj << "CNPJ" + kRepeated;
        QTest::newRow("CNPJ repeated digit, wrong too") << "11111111111111" << cnpj << "CNPJ" + kRepeated;

        // Letters count as their code less 48: A is 17.
        QTest::newRow("CNPJ alphanumeric") << "12.ABC.345/01DE-35" << cnpj << QString();
        QTest::newRow("CNPJ alphanumeric bare") << "12ABC34501DE35" << cnpj << QString();
        QTest::newRow("CNPJ alphanumeric lower case") << "12.abc.345/01de-35" << cnpj << QString();
        QTest::newRow("CNPJ one letter changed") << "12.ABD.345/01DE-35" << cnpj << wrongCnpj + "50";
        QTest::newRow("CNPJ two letters swapped") << "12.BAC.345/01DE-35" << cnpj << wrongCnpj + "26";
        QTest::newRow("CNPJ check digit wrong") << "12.ABC.345/01DE-53" << cnpj << wrongCnpj + "35";
        // A number of only letters before its check digits is still a CNPJ.
        QTest::newRow("CNPJ all letters") << "ZZ.ZZZ.ZZZ/ZZZZ-62" << cnpj << QString();

        const int none = TTaxIdVerdict::NotJudged;
        QTest::newRow("empty") << "" << none << QString();
        QTest::newRow("blanks") << "   " << none << QString();
        QTest::newRow("partial CPF") << "123.456.789-0" << none << QString();
        QTest::newRow("twelve digits") << "123456789012" << none << QString();
        QTest::newRow("fifteen digits") << "112223330001811" << none << QString();
        QTest::newRow("letter in a CPF") << "1234567890A" << none << QString();
        QTest::newRow("letter as check digit") << "12ABC34501DE3E" << none << QString();
        QTest::newRow("accented letter") << "12.ÁBC.345/01DE-35" << none << QString();
        QTest::newRow("commas") << "123,456,789-09" << none << QString();
    }

    void cpfAndCnpj()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, reason);
        const TTaxIdVerdict v = TaxIdCheck::CheckCpfCnpj(text);
        QCOMPARE(int(v.kind), kind);
        QCOMPARE(v.valid, reason.isEmpty());
        QCOMPARE(v.IsWrong(), !reason.isEmpty());
        QCOMPARE(v.reason, reason);
    }

    void stateRegistration_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("judged");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("reason"); // empty: valid or not judged
        const QString wrong = QStringLiteral("Inscrição estadual") + kMismatch;

        // Its ninth digit comes from a remainder of 10, of which only the 0 counts.
        QTest::newRow("punctuated") << "110.042.490.114" << true << "04" << QString();
        QTest::newRow("bare") << "110042490114" << true << "04" << QString();
        QTest::newRow("ninth digit wrong") << "110.042.491.114" << true << "04"
                                           << wrong + QStringLiteral("0 no 9º dígito e 4 no 12º");
        QTest::newRow("twelfth digit wrong") << "110.042.490.115" << true << "04"
                                             << wrong + QStringLiteral("0 no 9º dígito e 4 no 12º");
        QTest::newRow("both wrong") << "123.456.789.012" << true << "56"
                                    << wrong + QStringLiteral("5 no 9º dígito e 6 no 12º");
        QTest::newRow("zeros") << "000.000.000.000" << true << "00"
                               << QStringLiteral("Inscrição estadual") + kRepeated;
        QTest::newRow("empty") << "" << false << QString() << QString();
        QTest::newRow("eleven digits") << "110.042.490.11" << false << QString() << QString();
        QTest::newRow("a CPF") << "123.456.789-09" << false << QString() << QString();
        QTest::newRow("rural producer") << "P-01100424.3/002" << false << QString() << QString();
        QTest::newRow("municipality code") << "7107" << false << QString() << QString();
    }

    void stateRegistration()
    {
        QFETCH(QString, text);
        QFETCH(bool, judged);
        QFETCH(QString, expected);
        QFETCH(QString, reason);
        const TTaxIdVerdict v = TaxIdCheck::CheckStateRegistration(text);
        QCOMPARE(v.kind, judged ? TTaxIdVerdict::StateRegistration : TTaxIdVerdict::NotJudged);
        QCOMPARE(v.expected, expected);
        QCOMPARE(v.IsWrong(), !reason.isEmpty());
        QCOMPARE(v.reason, reason);
    }

    void punctuation_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("CPF") << "12345678909" << "123.456.789-09";
        QTest::newRow("CPF with blanks around") << " 12345678909 " << "123.456.789-09";
        QTest::newRow("CNPJ") << "11222333000181" << "11.222.333/0001-81";
        QTest::newRow("CNPJ alphanumeric") << "12ABC34501DE35" << "12.ABC.345/01DE-35";
        QTest::newRow("CNPJ lower case") << "12abc34501de35" << "12.ABC.345/01DE-35";
        QTest::newRow("wrong CPF as typed") << "12345678908" << "12345678908";
        QTest::newRow("repeated digits as typed") << "11111111111" << "11111111111";
        QTest::newRow("already punctuated") << "123.456.789-09" << "123.456.789-09";
        QTest::newRow("own punctuation kept") << "123456789-09" << "123456789-09";
        QTest::newRow("inner blanks kept") << "123 456 789 09" << "123 456 789 09";
        QTest::newRow("partial") << "123456789" << "123456789";
        QTest::newRow("empty") << "" << "";
    }

    void punctuation()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QCOMPARE(TaxIdCheck::PunctuateCpfCnpj(typed), shown);
    }
};

QTEST_GUILESS_MAIN(TestTaxIdCheck)
#include "tst_taxidcheck.moc"
