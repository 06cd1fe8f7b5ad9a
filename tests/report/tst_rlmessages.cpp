// The engine's message table and the choice of its language.

#include "report/base/RLConsts.h"

#include <QtTest>

class TestRLMessages : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { RLLoadMessages(m_systemLanguage); }
    void languageFollowsLocale();
    void textsPerLanguage();
    void everySetComplete();

private:
    const TRLMessageLanguage m_systemLanguage = RLMessagesLanguage();
};

void TestRLMessages::languageFollowsLocale()
{
    QCOMPARE(m_systemLanguage, RLMessageLanguageFor(QLocale::system()));
    const struct { const char *locale; TRLMessageLanguage language; } cases[] = {
        {"de_DE", mlEnglish}, {"pt_BR", mlPortuguese}, {"pt_PT", mlPortuguese}, {"es_ES", mlSpanish},
        {"es_MX", mlSpanish}, {"fr_FR", mlFrench}, {"fr_CA", mlFrench}, {"ja_JP", mlEnglish}, {"C", mlEnglish}};
    for (const auto &c : cases)
        QCOMPARE(RLMessageLanguageFor(QLocale(c.locale)), c.language);
}

void TestRLMessages::textsPerLanguage()
{
    const struct { TRLMessageLanguage language; int number; const char *text; } cases[] = {
        {mlPortuguese, 3, "Preparando o relatório..."},
        {mlPortuguese, 54, "Nome já utilizado"},
        {mlEnglish, 6, "Printer driver error"},
        {mlSpanish, 1, "Impresión en marcha..."},
        {mlSpanish, 16, "No encontrado"},
        {mlFrench, 8, "Erreur durant la prépartaion du rapport"},
        {mlFrench, 41, "Imprimer en arrière-plan"}};
    for (const auto &c : cases) {
        RLLoadMessages(c.language);
        QCOMPARE(RLMessage(c.number), QString::fromUtf8(c.text));
    }
    QVERIFY(RLMessage(0).isNull());
    QVERIFY(RLMessage(RLMessageCount + 1).isNull());
    RLLoadMessages(TRLMessageLanguage(9));
    QCOMPARE(RLMessagesLanguage(), mlFrench);
}

void TestRLMessages::everySetComplete()
{
    QSet<QString> finds;
    for (TRLMessageLanguage language : {mlEnglish, mlPortuguese, mlSpanish, mlFrench}) {
        RLLoadMessages(language);
        for (int number = 1; number <= RLMessageCount; ++number)
            QVERIFY2(!RLMessage(number).isEmpty(), qPrintable(QString::number(number)));
        finds.insert(RLMessage(68));
        // Messages 69-74 share one dialog: equal accelerators would make one of them unreachable.
        QSet<QChar> keys;
        for (int number = 69; number <= 74; ++number) {
            const QString text = RLMessage(number);
            const int amp = text.indexOf(u'&');
            QVERIFY(amp >= 0 && amp + 1 < text.size());
            keys.insert(text.at(amp + 1).toLower());
        }
        QCOMPARE(keys.size(), 6);
    }
    QCOMPARE(finds.size(), 4); // a translation, not a copy of another set
}

QTEST_MAIN(TestRLMessages)
#include "tst_rlmessages.moc"
