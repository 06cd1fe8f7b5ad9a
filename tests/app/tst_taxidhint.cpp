// The check-digit hint on the CPF/CNPJ and state registration fields, driven as a user types:
// it comes and goes with the text, never stops the user, a valid bare CPF or CNPJ is punctuated
// on leaving, and the slip prints what the field shows, wrong number or not.
#include "app/ReportPrinting.h"
#include "app/TaxIdHint.h"
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "report/RLReport.h"

#include "WindowDriver.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QtTest>

using namespace WindowDriver;

namespace {

enum TField { DarfCpfCnpj, GareCpfCnpj, GareStateRegistration };

bool marked(const QLineEdit *field) { return field->palette().color(QPalette::Text) == TTaxIdHint::kWrongText; }

} // namespace

class TestTaxIdHint : public QObject
{
    Q_OBJECT

    TfrmZavenor *w = nullptr;

    QLineEdit *field(int which)
    {
        const bool gare = which != DarfCpfCnpj;
        w->PC1->setCurrentWidget(gare ? w->tsGare : w->tsDarf);
        QLineEdit *f = which == DarfCpfCnpj ? w->edCGCCPF : which == GareCpfCnpj ? w->EDCGCG : w->EDInscEstG;
        f->setFocus(Qt::TabFocusReason);
        return f;
    }

private slots:
    void init() { w = ShowMainWindow(); }

    void cleanup()
    {
        delete w;
        w = nullptr;
        ReportPrinting::SetPrinter(nullptr);
    }

    void hintFollowsTheText_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("wrong");   // typed whole: the hint shows
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("right");   // the last character retyped
        QTest::addColumn<QString>("plainTip"); // the field's own hint, back when the number is right
        QTest::newRow("DARF, CPF") << int(DarfCpfCnpj) << "123.456.789-08"
                                   << "CPF com dígitos verificadores que não conferem: o esperado é 09" << "9"
                                   << QString();
        QTest::newRow("DARF, alphanumeric CNPJ") << int(DarfCpfCnpj) << "12abc34501de36"
                                                 << "CNPJ com dígitos verificadores que não conferem: o esperado é 35"
                                                 << "5" << QString();
        QTest::newRow("GARE, CNPJ") << int(GareCpfCnpj) << "11.222.333/0001-80"
                                    << "CNPJ com dígitos verificadores que não conferem: o esperado é 81" << "1"
                                    << "CGC OU CPF";
        QTest::newRow("GARE, state registration")
            << int(GareStateRegistration) << "110.042.490.113"
            << "Inscrição estadual com dígitos verificadores que não conferem: o esperado é 0 no 9º dígito e 4 no 12º"
            << "4" << "INSCRIÇÃO ESTADUAL OU CÓD. DO MUNICÍPIO";
    }

    void hintFollowsTheText()
    {
        QFETCH(int, which);
        QFETCH(QString, wrong);
        QFETCH(QString, reason);
        QFETCH(QString, right);
        QFETCH(QString, plainTip);
        QLineEdit *f = field(which);
        const QColor plainColour = f->palette().color(QPalette::Text);
        BoxCatcher boxes;

        // Nothing while the number is still being typed.
        QTest::keyClicks(f, wrong.chopped(1));
        QVERIFY(!marked(f));
        QCOMPARE(f->toolTip(), plainTip);
        QTest::keyClicks(f, wrong.right(1));
        QVERIFY(marked(f));
        QCOMPARE(f->toolTip(), reason);

        // One more character is no longer a number of that kind.
        QTest::keyClicks(f, QStringLiteral("0"));
        QVERIFY(!marked(f));
        QTest::keyClick(f, Qt::Key_Backspace);
        QVERIFY(marked(f));

        // Left wrong: kept as typed, still marked, and the caret moves on without a word.
        QTest::keyClick(f, Qt::Key_Tab);
        settle();
        QVERIFY(focused() != f);
        QCOMPARE(f->text(), wrong);
        QVERIFY(marked(f));
        QCOMPARE(f->toolTip(), reason);

        f->setFocus(Qt::TabFocusReason);
        f->end(false);
        QTest::keyClick(f, Qt::Key_Backspace);
        QTest::keyClicks(f, right);
        QVERIFY(!marked(f));
        QCOMPARE(f->palette().color(QPalette::Text), plainColour);
        QCOMPARE(f->toolTip(), plainTip);
        QTest::keyClick(f, Qt::Key_Tab);
        settle();
        QVERIFY(!marked(f));
        QVERIFY(boxes.texts.isEmpty());
    }

    void clearingTakesTheHintAway()
    {
        QLineEdit *f = field(GareCpfCnpj);
        QTest::keyClicks(f, QStringLiteral("11111111111"));
        QVERIFY(marked(f));
        QCOMPARE(f->toolTip(), QStringLiteral("CPF com todos os dígitos iguais: não é um número válido"));
        w->fLimapEdits();
        QVERIFY(!marked(f));
        QCOMPARE(f->toolTip(), QStringLiteral("CGC OU CPF"));
    }

    void leavingPunctuatesAValidBareNumber_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("DARF, CPF") << int(DarfCpfCnpj) << "12345678909" << "123.456.789-09";
        QTest::newRow("DARF, alphanumeric CNPJ") << int(DarfCpfCnpj) << "12abc34501de35" << "12.ABC.345/01DE-35";
        QTest::newRow("GARE, CNPJ") << int(GareCpfCnpj) << "11222333000181" << "11.222.333/0001-81";
        QTest::newRow("GARE, own punctuation") << int(GareCpfCnpj) << "11222333/0001-81" << "11222333/0001-81";
        // Only CPF and CNPJ have a punctuation to give.
        QTest::newRow("GARE, state registration") << int(GareStateRegistration) << "110042490114" << "110042490114";
    }

    void leavingPunctuatesAValidBareNumber()
    {
        QFETCH(int, which);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QLineEdit *f = field(which);
        QTest::keyClicks(f, typed);
        QCOMPARE(f->text(), typed);
        QTest::keyClick(f, Qt::Key_Tab);
        settle();
        QCOMPARE(f->text(), shown);
    }

    void punctuationTheFieldWouldRefuseIsLeftOut_data()
    {
        QTest::addColumn<bool>("byLimit");
        QTest::newRow("by its limit") << true;
        QTest::newRow("by a check of its own") << false;
    }

    // A field limited to what fits its printed box, by length or by a check of its own.
    void punctuationTheFieldWouldRefuseIsLeftOut()
    {
        QFETCH(bool, byLimit);
        QLineEdit *f = field(DarfCpfCnpj);
        if (byLimit)
            f->setMaxLength(16);
        else
            f->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral(".{0,16}")), f));
        QTest::keyClicks(f, QStringLiteral("11222333000181"));
        QTest::keyClick(f, Qt::Key_Tab);
        settle();
        QCOMPARE(f->text(), QStringLiteral("11222333000181"));
    }

    void printingGoesOnWithAWrongNumber_data()
    {
        QTest::addColumn<bool>("gare");
        QTest::addColumn<QString>("cpfCnpj");
        QTest::addColumn<QString>("printedCpfCnpj");
        QTest::newRow("DARF, wrong CNPJ") << false << "11.222.333/0001-80" << "11.222.333/0001-80";
        // The click leaves the field first: the slip gets the punctuated number it shows.
        QTest::newRow("DARF, valid bare CPF") << false << "12345678909" << "123.456.789-09";
        QTest::newRow("GARE, wrong CPF") << true << "11111111111" << "11111111111";
        QTest::newRow("GARE, valid bare CNPJ") << true << "12ABC34501DE35" << "12.ABC.345/01DE-35";
    }

    void printingGoesOnWithAWrongNumber()
    {
        QFETCH(bool, gare);
        QFETCH(QString, cpfCnpj);
        QFETCH(QString, printedCpfCnpj);
        QStringList printed;
        ReportPrinting::SetPrinter([&printed](TRLReport *report) {
            for (QObject *c : report->parent()->children())
                if (auto *label = qobject_cast<TRLLabel *>(c))
                    printed << label->Name() + QLatin1Char('=') + label->Caption();
            return true;
        });
        w->cbComLayOut->setChecked(false);
        if (gare) {
            QLineEdit *registration = field(GareStateRegistration);
            QTest::keyClicks(registration, QStringLiteral("123.456.789.012"));
            QVERIFY(marked(registration));
        }
        QLineEdit *f = field(gare ? GareCpfCnpj : DarfCpfCnpj);
        QTest::keyClicks(f, cpfCnpj);
        BoxCatcher boxes;
        QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        settle();
        QCOMPARE(boxes.texts, QStringList(QStringLiteral("Ok. Impressão efetuada.")));
        QVERIFY2(printed.contains((gare ? QStringLiteral("LCGCG=") : QStringLiteral("QRLCGC=")) + printedCpfCnpj),
                 qPrintable(printed.join(QLatin1Char('\n'))));
        if (gare)
            QVERIFY(printed.contains(QStringLiteral("LInscrEstG=123.456.789.012")));
        QCOMPARE(f->text(), printedCpfCnpj);
    }
};

int main(int argc, char **argv)
{
    TZavenorApplication app(argc, argv);
    TestTaxIdHint t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_taxidhint.moc"
