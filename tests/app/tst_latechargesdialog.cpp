// "Calcular acréscimos..." and "Tabela Selic..." through the real main window: dates typed key
// by key, the figures the dialog shows, and what "Aplicar" and "Cancelar" leave in 08, 09 and
// the total.
#include "app/LateChargesDialog.h"
#include "app/SelicTableWindow.h"
#include "app/pZavenorCLX.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/NumEditCLX.h"

#include "WindowDriver.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using namespace WindowDriver;

class TestLateChargesDialog : public QObject
{
    Q_OBJECT

    TfrmZavenor *w = nullptr;
    QTemporaryDir m_data;

    void typeDate(TDateMaskEdit *field, const QString &digits)
    {
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        QTest::keyClicks(field, digits);
    }

    // Runs `act` on the modal window of type D once it is up, while `open` blocks in it.
    template <class D>
    void whileModal(const std::function<void()> &open, const std::function<void(D *)> &act)
    {
        bool seen = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto *d = qobject_cast<D *>(QApplication::activeModalWidget()); d && !seen) {
                seen = true;
                poll.stop();
                act(d);
                if (d->isVisible())
                    d->reject();
            }
        });
        poll.start();
        open();
        QVERIFY(seen);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_data.isValid());
        qputenv("XDG_DATA_HOME", m_data.path().toLocal8Bit());
    }

    void init() { w = ShowMainWindow(); }

    void cleanup()
    {
        delete w;
        w = nullptr;
        QFile::remove(TSelicTable::OfficeFile());
    }

    void dialogWritesFineAndInterest_data();
    void dialogWritesFineAndInterest();
    void commandActsOnTheDarfPage();
    void monthsPastedIntoTheTableAreUsed();
};

void TestLateChargesDialog::dialogWritesFineAndInterest_data()
{
    QTest::addColumn<QString>("principal");
    QTest::addColumn<QString>("due");  // digits as typed
    QTest::addColumn<QString>("paid"); // digits as typed
    QTest::addColumn<QStringList>("figures"); // days, fine %, fine, interest %, interest; empty: none
    QTest::addColumn<QString>("reason");      // start of the reason shown; empty: none
    QTest::addColumn<bool>("apply");
    QTest::addColumn<QStringList>("after"); // 08, 09 and the total once the dialog closed

    QTest::newRow("worked example, applied")
        << "1234,56" << "31012024" << "15042025" << QStringList{"440", "20,00 %", "246,91", "13,37 %", "165,06"}
        << "" << true << QStringList{"246,91", "165,06", "1.646,53"};
    QTest::newRow("within the due month, applied")
        << "1234,56" << "05032024" << "28032024" << QStringList{"23", "7,59 %", "93,70", "0,00 %", "0,00"} << ""
        << true << QStringList{"93,70", "0,00", "1.328,26"};
    QTest::newRow("cancelled: nothing changes")
        << "1234,56" << "31012024" << "15042025" << QStringList{"440", "20,00 %", "246,91", "13,37 %", "165,06"}
        << "" << false << QStringList{"1,00", "0,00", "1.235,56"};
    QTest::newRow("blank principal") << "" << "31012024" << "15042025" << QStringList() << "Sem o valor do principal (07)"
                                     << true << QStringList{"1,00", "0,00", "1,00"};
    QTest::newRow("due date in the future") << "1234,56" << "10012099" << "05012099" << QStringList()
                                            << "O vencimento (10/01/2099) ainda não chegou" << true
                                            << QStringList{"1,00", "0,00", "1.235,56"};
    QTest::newRow("a month the table lacks") << "1234,56" << "15032025" << "10072025" << QStringList()
                                             << "Falta a taxa Selic de 05/2025 na tabela" << true
                                             << QStringList{"1,00", "0,00", "1.235,56"};
}

void TestLateChargesDialog::dialogWritesFineAndInterest()
{
    QFETCH(QString, principal);
    QFETCH(QString, due);
    QFETCH(QString, paid);
    QFETCH(QStringList, figures);
    QFETCH(QString, reason);
    QFETCH(bool, apply);
    QFETCH(QStringList, after);

    enterAmount(w->neValPrinc, principal);
    enterAmount(w->neValMulta, QStringLiteral("1"));
    typeDate(w->meDtVenc, due);
    QTest::keyClick(w->meDtVenc, Qt::Key_Tab);
    settle();

    whileModal<TfrmAcrescimos>([this] { w->AcCalcularAcrescimos->trigger(); }, [&](TfrmAcrescimos *d) {
        // Today until a date is typed.
        QCOMPARE(d->meDtPagto->Text(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
        typeDate(d->meDtPagto, paid);
        const QStringList shown{d->LbDias->text(), d->LbMultaPerc->text(), d->LbMulta->text(), d->LbJurosPerc->text(),
                                d->LbJuros->text()};
        QCOMPARE(shown, figures.isEmpty() ? QStringList(5, QStringLiteral("—")) : figures);
        QVERIFY2(reason.isEmpty() ? d->LbMotivo->isHidden() : d->LbMotivo->text().startsWith(reason),
                 qPrintable(d->LbMotivo->text()));
        QCOMPARE(d->BBAplicar->isEnabled(), !figures.isEmpty());
        QTest::mouseClick(apply ? d->BBAplicar : d->BBCancelar, Qt::LeftButton);
    });
    settle();
    QCOMPARE((QStringList{w->neValMulta->text(), w->neValJuros->text(), w->LbTotal->text()}), after);
}

void TestLateChargesDialog::commandActsOnTheDarfPage()
{
    QVERIFY(w->AcCalcularAcrescimos->isEnabled());
    QVERIFY(w->AcTabelaSelic->isEnabled());
    w->PC1->setCurrentWidget(w->tsGare);
    QVERIFY(!w->AcCalcularAcrescimos->isEnabled());
    QVERIFY(w->AcCalcularAcrescimos->text().contains(QStringLiteral("só no DARF")));
    QVERIFY(w->AcTabelaSelic->isEnabled());
    w->PC1->setCurrentWidget(w->tsDarf);
    QVERIFY(w->AcCalcularAcrescimos->isEnabled());
}

void TestLateChargesDialog::monthsPastedIntoTheTableAreUsed()
{
    whileModal<TfrmTabelaSelic>([this] { w->AcTabelaSelic->trigger(); }, [](TfrmTabelaSelic *t) {
        t->MMColar->setPlainText(QStringLiteral("Mês/Ano\t2024\t2025\nAbril\t0,89%\t1,06%\nMaio\t0,83%\t1,14%\n"
                                                "Junho\t0,79%\t1,10%\nJulho\t0,91%\t\n"));
        QTest::mouseClick(t->BBImportar, Qt::LeftButton);
        QCOMPARE(t->LbSituacao->text(), QStringLiteral("7 meses (04/2024 a 06/2025): 2 novos, 5 já iguais."));
        QCOMPARE(t->GridMeses->item(0, 0)->text(), QStringLiteral("06/2025"));
        QCOMPARE(t->GridMeses->item(0, 2)->text(), QStringLiteral("escritório"));
        QCOMPARE(t->GridMeses->item(2, 2)->text(), QStringLiteral("programa"));
        QTest::mouseClick(t->BBFechar, Qt::LeftButton);
    });
    QVERIFY(QFile::exists(TSelicTable::OfficeFile()));

    enterAmount(w->neValPrinc, QStringLiteral("1000"));
    typeDate(w->meDtVenc, QStringLiteral("15032025"));
    QTest::keyClick(w->meDtVenc, Qt::Key_Tab);
    settle();
    whileModal<TfrmAcrescimos>([this] { w->AcCalcularAcrescimos->trigger(); }, [this](TfrmAcrescimos *d) {
        typeDate(d->meDtPagto, QStringLiteral("10072025"));
        // April 1,06 + May 1,14 + June 1,10 + 1 for July.
        QCOMPARE(d->LbJurosPerc->text(), QStringLiteral("4,30 %"));
        QTest::mouseClick(d->BBAplicar, Qt::LeftButton);
    });
    settle();
    QCOMPARE(w->neValJuros->text(), QStringLiteral("43,00"));
}

QTEST_MAIN(TestLateChargesDialog)
#include "tst_latechargesdialog.moc"
