// The engine's message table and the choice of its language.

#include "report/RLConsts.h"

#include <QtTest>

class TestRLMessages : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { RLLoadMessages(m_systemLanguage); }

    void startsInSystemLanguage();
    void languageFollowsLocale_data();
    void languageFollowsLocale();
    void textsPerLanguage_data();
    void textsPerLanguage();
    void everyMessageFilled();
    void acceleratorsOfFindBoxDiffer();
    void unknownNumbersAreEmpty();

private:
    TRLMessageLanguage m_systemLanguage = RLMessagesLanguage();
};

void TestRLMessages::startsInSystemLanguage()
{
    QCOMPARE(m_systemLanguage, RLMessageLanguageFor(QLocale::system()));
    if (QLocale::system().language() == QLocale::Portuguese)
        QCOMPARE(RLMessage(23), QString("Imprimir"));
}

void TestRLMessages::languageFollowsLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("language");
    QTest::newRow("German") << "de_DE" << int(mlEnglish);
    QTest::newRow("Brazil") << "pt_BR" << int(mlPortuguese);
    QTest::newRow("Portugal") << "pt_PT" << int(mlPortuguese);
    QTest::newRow("Spain") << "es_ES" << int(mlSpanish);
    QTest::newRow("Mexico") << "es_MX" << int(mlSpanish);
    QTest::newRow("France") << "fr_FR" << int(mlFrench);
    QTest::newRow("Quebec") << "fr_CA" << int(mlFrench);
    QTest::newRow("US") << "en_US" << int(mlEnglish);
    QTest::newRow("Japan") << "ja_JP" << int(mlEnglish);
    QTest::newRow("C") << "C" << int(mlEnglish);
}

void TestRLMessages::languageFollowsLocale()
{
    QFETCH(QString, locale);
    QFETCH(int, language);
    QCOMPARE(int(RLMessageLanguageFor(QLocale(locale))), language);
}

void TestRLMessages::textsPerLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("pt 3") << int(mlPortuguese) << 3 << "Preparando o relatório...";
    QTest::newRow("pt 54") << int(mlPortuguese) << 54 << "Nome já utilizado";
    QTest::newRow("pt 72") << int(mlPortuguese) << 72 << "Diferenciar &maiúsculas de minúsculas";
    QTest::newRow("en 6") << int(mlEnglish) << 6 << "Printer driver error";
    QTest::newRow("en 75") << int(mlEnglish) << 75 << "Direction";
    QTest::newRow("es 1") << int(mlSpanish) << 1 << "Impresión en marcha...";
    QTest::newRow("es 16") << int(mlSpanish) << 16 << "No encontrado";
    QTest::newRow("fr 8") << int(mlFrench) << 8 << "Erreur durant la prépartaion du rapport";
    QTest::newRow("fr 41") << int(mlFrench) << 41 << "Imprimer en arrière-plan";
}

void TestRLMessages::textsPerLanguage()
{
    QFETCH(int, language);
    QFETCH(int, number);
    QFETCH(QString, text);
    RLLoadMessages(TRLMessageLanguage(language));
    QCOMPARE(RLMessage(number), text);
}

void TestRLMessages::everyMessageFilled()
{
    for (TRLMessageLanguage language : {mlEnglish, mlPortuguese, mlSpanish, mlFrench}) {
        RLLoadMessages(language);
        for (int number = 1; number <= RLMessageCount; ++number)
            QVERIFY2(!RLMessage(number).isEmpty(), qPrintable(QString::number(number)));
    }
    // Spanish and French are translations, not copies of another set.
    RLLoadMessages(mlSpanish);
    const QString spanish = RLMessage(68);
    RLLoadMessages(mlFrench);
    QVERIFY(RLMessage(68) != spanish);
    RLLoadMessages(mlEnglish);
    QVERIFY(RLMessage(68) != spanish);
}

void TestRLMessages::acceleratorsOfFindBoxDiffer()
{
    // Messages 69-74 share one dialog: two equal accelerators would make one unreachable.
    for (TRLMessageLanguage language : {mlEnglish, mlPortuguese, mlSpanish, mlFrench}) {
        RLLoadMessages(language);
        QSet<QChar> keys;
        for (int number = 69; number <= 74; ++number) {
            const QString text = RLMessage(number);
            const int amp = text.indexOf(u'&');
            QVERIFY(amp >= 0 && amp + 1 < text.size());
            keys.insert(text.at(amp + 1).toLower());
        }
        QCOMPARE(keys.size(), 6);
    }
}

void TestRLMessages::unknownNumbersAreEmpty()
{
    QVERIFY(RLMessage(0).isNull());
    QVERIFY(RLMessage(76).isNull());
    QVERIFY(RLMessage(-1).isNull());
    RLLoadMessages(TRLMessageLanguage(9));
    QCOMPARE(RLMessagesLanguage(), m_systemLanguage);
}

QTEST_MAIN(TestRLMessages)
#include "tst_rlmessages.moc"
