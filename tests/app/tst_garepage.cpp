// The GARE page of the main window: every field's limit, the memos' limits over their whole
// text, hints, tab order, the due-date check, the GARE total and its independence from the
// DARF, clearing, and switching pages without losing data or leaving a wrong date behind.
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/MemoCLX.h"
#include "widgets/NumEditCLX.h"

#include "WindowDriver.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

using namespace WindowDriver;

class TestGarePage : public QObject
{
    Q_OBJECT

    TfrmZavenor *w = nullptr;

private slots:
    void init()
    {
        w = ShowMainWindow();
        QVERIFY(w->isActiveWindow());
        w->PC1->setCurrentWidget(w->tsGare);
    }

    void cleanup()
    {
        delete w;
        w = nullptr;
    }

    void fieldLimits()
    {
        const std::pair<QLineEdit *, int> limits[] = {
            {w->EdNomeG, 60},    {w->EdEnderecoG, 60}, {w->EDMunicipioG, 33}, {w->EDUFG, 2},
            {w->EDFoneG, 20},    {w->EdCAEG, 18},      {w->EdPlacaG, 18},     {w->EDCodRecG, 23},
            {w->EDInscEstG, 23}, {w->EDCGCG, 23},      {w->EDInscrDAG, 23},   {w->EDNroAinG, 23}};
        for (const auto &[field, limit] : limits) {
            field->setFocus();
            QTest::keyClicks(field, QString(limit + 5, QLatin1Char('7')));
            QCOMPARE(field->text().size(), limit);
            QApplication::clipboard()->setText(QStringLiteral("colado"));
            field->paste();
            QCOMPARE(field->text().size(), limit);
        }
    }

    void stateFieldsShowTheirTwoCapitalsWhole()
    {
        // The ink of the field against the same text drawn freely: nothing scrolled away
        // (a pair with an M is a little wider than the 17-pixel box itself).
        const auto inkWidth = [](const QImage &image) {
            int left = image.width(), right = -1;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qGray(image.pixel(x, y)) < 192) {
                        left = qMin(left, x);
                        right = qMax(right, x);
                    }
            return right - left + 1;
        };
        for (const char *state : {"SP", "AC", "GO", "MT", "MG"}) {
            w->EDUFG->setFocus();
            w->EDUFG->clear();
            QTest::keyClicks(w->EDUFG, QString::fromLatin1(state));
            w->EDUFG->clearFocus();
            QImage free(40, 20, QImage::Format_RGB32);
            free.fill(Qt::white);
            QPainter p(&free);
            p.setFont(w->EDUFG->font());
            p.drawText(10, 15, QString::fromLatin1(state));
            p.end();
            // One pixel either way: the field may place the text between two pixels.
            QVERIFY2(inkWidth(w->EDUFG->grab().toImage()) >= inkWidth(free) - 1, state);
        }
    }

    void memoLimitsCoverTheWholeText()
    {
        // Short words on two lines: text that the printed boxes hold up to the character limit.
        const auto words = [](int size) {
            QString text;
            for (int i = 0; i < size; ++i)
                text += i % 6 == 5 ? QLatin1Char(' ') : QLatin1Char('a' + i % 5);
            return text;
        };
        const std::pair<TMemoCLX *, int> memos[] = {{w->MMTribG, 100}, {w->MMObsG, 400}};
        for (const auto &[memo, limit] : memos) {
            memo->setFocus();
            QTest::keyClicks(memo, words(limit / 2));
            QTest::keyClick(memo, Qt::Key_Return);
            QTest::keyClicks(memo, words(limit));
            QCOMPARE(memo->toPlainText().size(), limit);
            QVERIFY(memo->Lines().size() > 1);

            memo->ClearLines();
            QTest::keyClicks(memo, QStringLiteral("inicio"));
            QApplication::clipboard()->setText(words(limit));
            memo->paste();
            QCOMPARE(memo->toPlainText().size(), limit);
            QVERIFY(memo->toPlainText().startsWith(QStringLiteral("inicio")));
        }
    }

    void hints()
    {
        QCOMPARE(w->EdCAEG->toolTip(), QStringLiteral("C A E "));
        QCOMPARE(w->EDInscrDAG->toolTip(), QStringLiteral("INSCRIÇÃO NA DÍVIDA ATIVA ou No. DA ETIQUETA"));
        QCOMPARE(w->Panel3->findChild<QLabel *>(QStringLiteral("LbCap11"))->toolTip(),
                 QStringLiteral("MULTA DE MORA ou MULTA POR INFRAÇÃO (Nominal ou corrigida) "));
        QCOMPARE(w->Panel3->findChild<QLabel *>(QStringLiteral("Label80"))->text(),
                 QStringLiteral(" - DEMAIS RECEITAS - "));
        QCOMPARE(w->MEDTVencG->toolTip(), QString());
    }

    void tabOrder()
    {
        const QList<QWidget *> order = {w->EdNomeG,    w->EdEnderecoG, w->EDMunicipioG, w->EDUFG,
                                        w->EDFoneG,    w->MMTribG,     w->EdCAEG,       w->EdPlacaG,
                                        w->MMObsG,     w->MEDTVencG,   w->EDCodRecG,    w->EDInscEstG,
                                        w->EDCGCG,     w->EDInscrDAG,  w->EDNroAinG,    w->neValRecG,
                                        w->neJurMorG,  w->neMulMorG,   w->neHonor,      w->BBImprimir};
        BoxCatcher boxes;
        w->PC1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(focused(), Qt::Key_Tab);
        settle();
        for (qsizetype i = 0; i < order.size(); ++i) {
            if (i > 0) {
                QTest::keyClick(focused(), Qt::Key_Tab);
                settle();
            }
            QCOMPARE(focused(), order.at(i));
        }
        QVERIFY(boxes.texts.isEmpty());
    }

    void dueDateCheck()
    {
        const std::pair<QString, QString> cases[] = {
            {QStringLiteral("  /  /    "), QString()},
            {QStringLiteral("15/03/2005"), QString()},
            {QStringLiteral("31/04/2005"), QStringLiteral("Data inválida ! ! !")},
            {QStringLiteral("01/01/1899"), QStringLiteral("Data inválida ! ! !\nMenor que 01/01/1900")}};
        for (const auto &[entry, message] : cases) {
            BoxCatcher boxes;
            w->MEDTVencG->setFocus(Qt::TabFocusReason);
            w->MEDTVencG->setText(entry);
            QTest::keyClick(w->MEDTVencG, Qt::Key_Tab);
            settle();
            if (message.isEmpty()) {
                QVERIFY(boxes.texts.isEmpty());
                QCOMPARE(focused(), w->EDCodRecG);
            } else {
                QCOMPARE(boxes.texts, QStringList(message));
                QTRY_COMPARE(focused(), w->MEDTVencG);
            }
        }
    }

    void aWrongDateLeftForTheOtherPageComesBack()
    {
        QTabBar *bar = w->PC1->tabBar();
        const std::pair<TDateMaskEdit *, QWidget *> cases[] = {{w->MEDTVencG, w->tsGare},
                                                               {w->mePerAp, w->tsDarf}};
        for (const auto &[field, page] : cases) {
            w->PC1->setCurrentWidget(page);
            settle();
            BoxCatcher boxes;
            field->setFocus(Qt::TabFocusReason);
            field->setText(QStringLiteral("31/02/2005"));
            const int other = w->PC1->indexOf(page == w->tsGare ? w->tsDarf : w->tsGare);
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(other).center());
            settle();
            QCOMPARE(boxes.texts, QStringList(QStringLiteral("Data inválida ! ! !")));
            QCOMPARE(w->PC1->currentWidget(), page);
            QTRY_COMPARE(focused(), field);
            settle();
            QCOMPARE(boxes.texts.size(), 1);
            field->clear();
        }
    }

    void garesTotal()
    {
        enterAmount(w->neValRecG, QStringLiteral("100"));
        enterAmount(w->neJurMorG, QStringLiteral("1,5"));
        enterAmount(w->neMulMorG, QStringLiteral("2"));
        QCOMPARE(w->LbTotalG->text(), QStringLiteral("103,50"));
        enterAmount(w->neHonor, QStringLiteral("10"));
        QCOMPARE(w->LbTotalG->text(), QStringLiteral("113,50"));
        QCOMPARE(w->LbTotal->text(), QStringLiteral("0,00"));

        w->PC1->setCurrentWidget(w->tsDarf);
        enterAmount(w->neValPrinc, QStringLiteral("7"));
        QCOMPARE(w->LbTotal->text(), QStringLiteral("7,00"));
        QCOMPARE(w->LbTotalG->text(), QStringLiteral("113,50"));
    }

    void switchingPagesKeepsTheData()
    {
        QTest::keyClicks(w->EdNomeG, QStringLiteral("Empresa Ltda."));
        w->MMObsG->SetLines({QStringLiteral("linha 1"), QStringLiteral("linha 2")});
        w->PC1->setCurrentWidget(w->tsDarf);
        QCOMPARE(focused(), w->EdNome);
        QTest::keyClicks(w->EdNome, QStringLiteral("Fulano"));
        w->PC1->setCurrentWidget(w->tsGare);
        QCOMPARE(w->EdNomeG->text(), QStringLiteral("Empresa Ltda."));
        w->EdNomeG->setFocus();
        w->PC1->setCurrentWidget(w->tsDarf);
        QCOMPARE(focused(), w->EdNome); // each time the DARF page comes to the front
        QCOMPARE(w->EdNome->text(), QStringLiteral("Fulano"));
        QCOMPARE(w->MMObsG->Lines().size(), 2);
    }

    void clearingCoversTheGarePage()
    {
        QCOMPARE(w->LbTotalG->text(), QStringLiteral("0,00")); // after the clearing on show
        for (QLineEdit *e : {w->EdNomeG, w->EDUFG, w->EdPlacaG, w->EDNroAinG})
            e->setText(QStringLiteral("x"));
        w->MMTribG->SetLines({QStringLiteral("ICMS")});
        w->MEDTVencG->setText(QStringLiteral("01/02/2005"));
        w->neHonor->SetValue(12);
        w->LbTotalG->setText(QStringLiteral("12,00"));
        w->fLimapEdits();
        for (QLineEdit *e : {w->EdNomeG, w->EDUFG, w->EdPlacaG, w->EDNroAinG})
            QCOMPARE(e->text(), QString());
        QVERIFY(w->MMTribG->Lines().isEmpty());
        QCOMPARE(w->MEDTVencG->Text(), QStringLiteral("  /  /    "));
        QCOMPARE(w->neHonor->text(), QStringLiteral("0,00"));
        QCOMPARE(w->LbTotalG->text(), QStringLiteral("0,00"));
    }
};

int main(int argc, char **argv)
{
    TZavenorApplication app(argc, argv);
    TestGarePage t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_garepage.moc"
