// The Print command with its data-only documents, the printer replaced by a recorder: which
// document prints with which texts, the confirmation only after a real print, a cancel that
// shows nothing, failures that keep every typed value, and a fresh window for every print.
#include "app/ReportPrinting.h"
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "report/base/RLExceptions.h"
#include "report/RLReport.h"
#include "slips/pDadosDARF.h"
#include "slips/pDadosGARE.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/NumEditCLX.h"

#include "WindowDriver.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

using namespace WindowDriver;

namespace {

enum class TOutcome { Printed, NotPrinted, Cancelled, Failed };

// What the printer was handed, read at the moment of printing.
struct TPrintRecord {
    QString report;
    QString title;
    QStringList texts;
};

QStringList textsOf(TRLReport *report)
{
    QStringList texts;
    for (QObject *c : report->parent()->children())
        if (auto *label = qobject_cast<TRLLabel *>(c))
            texts << label->Name() + QLatin1Char('=') + label->Caption();
    return texts;
}

} // namespace

class TestPrintCommand : public QObject
{
    Q_OBJECT

    TfrmZavenor *w = nullptr;
    QList<TPrintRecord> printed;
    TOutcome outcome = TOutcome::Printed;

    void print(bool accelerator)
    {
        if (accelerator) {
            QTest::keyClick(focused(), Qt::Key_I, Qt::AltModifier);
            QTest::qWait(200); // the accelerator's click follows its pressed look
        } else {
            QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        }
        settle();
    }

private slots:
    void init()
    {
        printed.clear();
        outcome = TOutcome::Printed;
        ReportPrinting::SetPrinter([this](TRLReport *report) {
            printed << TPrintRecord{report->Name(), report->Title(), textsOf(report)};
            switch (outcome) {
            case TOutcome::Printed:
                return true;
            case TOutcome::NotPrinted:
                return false;
            case TOutcome::Cancelled:
                throw TRLAbort();
            case TOutcome::Failed:
                throw TRLException(QStringLiteral("A impressora recusou o trabalho."));
            }
            return false;
        });
        w = ShowMainWindow();
        w->cbComLayOut->setChecked(false);
    }

    void cleanup()
    {
        delete w;
        w = nullptr;
        ReportPrinting::SetPrinter(nullptr);
    }

    void pageInFrontChoosesTheDocument_data()
    {
        QTest::addColumn<bool>("gare");
        QTest::addColumn<bool>("accelerator");
        QTest::newRow("DARF, clicked") << false << false;
        QTest::newRow("DARF, Alt+I") << false << true;
        QTest::newRow("GARE, clicked") << true << false;
        QTest::newRow("GARE, Alt+I") << true << true;
    }

    void pageInFrontChoosesTheDocument()
    {
        QFETCH(bool, gare);
        QFETCH(bool, accelerator);
        QTest::mouseClick(w->RBCor, Qt::LeftButton); // no colour on a data-only slip
        if (gare) {
            w->PC1->setCurrentWidget(w->tsGare);
            w->EdNomeG->setText(QStringLiteral("Comércio São João"));
            enterAmount(w->neValRecG, QStringLiteral("10"));
        } else {
            w->EdNome->setText(QStringLiteral("José"));
            enterAmount(w->neValPrinc, QStringLiteral("10"));
        }
        BoxCatcher boxes;
        print(accelerator);
        QCOMPARE(printed.size(), 1);
        QCOMPARE(printed[0].report, gare ? QStringLiteral("LRDadosGARE") : QStringLiteral("RLDadosDARF"));
        // Named for the slip, so that the print queue tells the clerk's slips apart.
        QCOMPARE(printed[0].title, gare ? QStringLiteral("GARE - Comércio São João") : QStringLiteral("DARF - José"));
        QVERIFY(printed[0].texts.contains(gare ? QStringLiteral("LNomeG=Comércio São João")
                                               : QStringLiteral("QRLNome=José")));
        QVERIFY(printed[0].texts.contains(gare ? QStringLiteral("LVlrTotG=10,00") : QStringLiteral("QRLValTot=10,00")));
        QCOMPARE(boxes.texts, QStringList(QStringLiteral("Ok. Impressão efetuada.")));
        QCOMPARE(boxes.titles, QStringList(QStringLiteral("Information")));
        QCOMPARE(w->focusWidget(), gare ? w->EdNomeG : w->EdNome);
        // The window of the print is gone with its report.
        QVERIFY(gare ? frmDadosGARE.isNull() : frmDadosDARF.isNull());
    }

    void noConfirmationWithoutAPrint_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("cancelled") << int(TOutcome::Cancelled) << QStringList();
        QTest::newRow("nothing printed") << int(TOutcome::NotPrinted) << QStringList();
        QTest::newRow("refused") << int(TOutcome::Failed) << QStringList(QStringLiteral("A impressora recusou o trabalho."));
    }

    void noConfirmationWithoutAPrint()
    {
        QFETCH(int, result);
        QFETCH(QStringList, messages);
        outcome = TOutcome(result);
        w->EdNome->setText(QStringLiteral("Fulano"));
        w->meDtVenc->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(w->meDtVenc, QStringLiteral("05112004"));
        BoxCatcher boxes;
        print(false);
        QCOMPARE(printed.size(), 1);
        QCOMPARE(boxes.texts, messages);
        QCOMPARE(w->focusWidget(), w->BBImprimir); // where the click left it
        QCOMPARE(w->EdNome->text(), QStringLiteral("Fulano"));
        QCOMPARE(w->meDtVenc->Text(), QStringLiteral("05/11/2004"));
    }

    // An amount past the largest monetary value: no total stands, and no Print prints.
    void overflowingAmountRefusedByEveryPrint_data()
    {
        QTest::addColumn<bool>("gare");
        QTest::addColumn<bool>("layout");
        QTest::newRow("DARF, data only") << false << false;
        QTest::newRow("DARF, layout") << false << true;
        QTest::newRow("GARE, data only") << true << false;
        QTest::newRow("GARE, layout") << true << true;
    }

    void overflowingAmountRefusedByEveryPrint()
    {
        QFETCH(bool, gare);
        QFETCH(bool, layout);
        w->cbComLayOut->setChecked(layout);
        if (gare)
            w->PC1->setCurrentWidget(w->tsGare);
        TNumEditCLX *amount = gare ? w->neHonor : w->neValMulta;
        QLabel *total = gare ? w->LbTotalG : w->LbTotal;
        enterAmount(amount, QStringLiteral("10"));
        QCOMPARE(total->text(), QStringLiteral("10,00"));
        {
            BoxCatcher boxes;
            enterAmount(amount, QStringLiteral("9999999999999999"));
            QVERIFY(!boxes.texts.isEmpty());
            for (const QString &text : boxes.texts)
                QVERIFY(text.startsWith(QString::fromUtf8("O valor total ultrapassa o maior valor monetário")));
        }
        QCOMPARE(total->text(), QString()); // not the stale 10,00
        for (int attempt = 0; attempt < 2; ++attempt) {
            BoxCatcher boxes;
            print(false);
            QCOMPARE(printed.size(), 0);
            QVERIFY(!boxes.texts.isEmpty());
            for (const QString &text : boxes.texts)
                QVERIFY(text.startsWith(QString::fromUtf8("O valor total ultrapassa")));
        }
    }

    void cancelledAcceleratorLeavesTheCaret()
    {
        outcome = TOutcome::Cancelled;
        w->EdNome->setFocus();
        BoxCatcher boxes;
        print(true);
        QCOMPARE(printed.size(), 1);
        QVERIFY(boxes.texts.isEmpty());
        QCOMPARE(w->focusWidget(), w->EdNome);
    }

    void printingTwicePrintsTheSameData()
    {
        w->EdNome->setText(QStringLiteral("Fulano"));
        enterAmount(w->neValMulta, QStringLiteral("1234,5"));
        BoxCatcher boxes;
        print(false);
        print(false);
        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed[1].texts, printed[0].texts);
        QVERIFY(printed[0].texts.contains(QStringLiteral("QRLValMulta=1.234,50")));
        QCOMPARE(boxes.texts.size(), 2);
        QCOMPARE(w->EdNome->text(), QStringLiteral("Fulano"));
    }
};

int main(int argc, char **argv)
{
    TZavenorApplication app(argc, argv);
    TestPrintCommand t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_printcommand.moc"
