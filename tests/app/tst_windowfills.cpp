// The main window's side of the fills: it hands what its fields show to the slips, unchanged.

#include "app/pZavenorCLX.h"
#include "slips/pLayOutDarf.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/MemoCLX.h"
#include "widgets/NumEditCLX.h"

#include "../slips/DarfTestData.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

class TestWindowFills : public QObject
{
    Q_OBJECT

private slots:
    void darfGathersItsTexts();
};

void TestWindowFills::darfGathersItsTexts()
{
    TfrmZavenor window;
    window.show();
    window.fLimapEdits();
    window.EdNome->setText(QString::fromUtf8("Maria Antônia"));
    window.neValPrinc->setText("1.000,00");
    window.LbTotal->setText("1.000,00");
    window.mmVejaVerso->SetAlignment(Qt::AlignRight);
    window.fCorDarf(kDarkBlue); // without a document: nothing to fill
    window.frmLayOutDARF = new TfrmLayOutDARF(&window);
    window.fCorDarf(kDarkBlue);
    TfrmLayOutDARF &form = *window.frmLayOutDARF;
    QCOMPARE(form.Control<TRLLabel>("LRLNome2")->Caption(), QString::fromUtf8("Maria Antônia"));
    // Untouched dates print nothing (their bare mask would be junk in a box); amounts and total
    // as the window shows them.
    QCOMPARE(form.Control<TRLLabel>("LRLPeriodo")->Caption(), QString());
    QCOMPARE(form.Control<TRLLabel>("LRLDtVenc2")->Caption(), QString());
    QCOMPARE(form.Control<TRLLabel>("LRLValPrinc")->Caption(), QString("1.000,00"));
    QCOMPARE(form.Control<TRLLabel>("LRLValMulta2")->Caption(), window.neValMulta->text());
    QCOMPARE(form.Control<TRLLabel>("LRLValTot2")->Caption(), QString("1.000,00"));
    QCOMPARE(form.Control<TRLMemo>("RLmVejaVersao1")->Lines(), window.mmVejaVerso->Lines());
    QCOMPARE(form.Control<TRLMemo>("RLmVejaVersao2")->Alignment(), taRightJustify);
    QCOMPARE(form.Control<TRLLabel>("LRLabel1")->FontColor(), kBlue);
}

QTEST_MAIN(TestWindowFills)
#include "tst_windowfills.moc"
