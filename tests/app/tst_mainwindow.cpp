// The main window with its DARF page, driven through keys, clicks and focus moves: the state
// after showing, colour options, tab order, limits, the date check with its messages, the
// totals, the alignment menu, the links and the Exit key.
#include "app/DateCheck.h"
#include "app/DesktopShell.h"
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "report/output/RLUserChoices.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/LinkLabel.h"
#include "widgets/MemoCLX.h"
#include "widgets/NumEditCLX.h"

#include "WindowDriver.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QtTest>

using namespace WindowDriver;

class TestMainWindow : public QObject
{
    Q_OBJECT

    TfrmZavenor *w = nullptr;

    void leave(QWidget *field)
    {
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field, Qt::Key_Tab);
        settle();
    }

private slots:
    void initTestCase()
    {
        QSettings(QStringLiteral("Morvath"), QStringLiteral("Zavenor")).remove(QStringLiteral("Escolhas"));
        RLUserChoices::SetRemembered(true);
    }

    void init()
    {
        w = ShowMainWindow();
        QVERIFY(w->isActiveWindow());
    }

    void cleanup()
    {
        delete w;
        w = nullptr;
    }

    void showingStartsClean()
    {
        QCOMPARE(w->windowTitle(), QStringLiteral("Zavenor"));
        QCOMPARE(w->size(), QSize(657, 475));
        const QRect desk = w->screen()->geometry(), frame = w->frameGeometry();
        QCOMPARE(frame.topLeft(), desk.topLeft()
                                      + QPoint((desk.width() - frame.width()) / 2, (desk.height() - frame.height()) / 2));
        QCOMPARE(w->PC1->currentWidget(), w->tsDarf);
        QCOMPARE(focused(), w->EdNome);
        QVERIFY(w->RBPB->isChecked());
        QVERIFY(!w->RBCor->isChecked());
        QVERIFY(w->cbComLayOut->isChecked());
        QCOMPARE(w->CorDarf, 0u);
        QCOMPARE(w->CorGare, 0u);
        for (QLineEdit *e : {w->EdNome, w->edCGCCPF, w->edCodRec, w->edNumRef})
            QCOMPARE(e->text(), QString());
        QCOMPARE(w->mePerAp->Text(), QStringLiteral("  /  /    "));
        QCOMPARE(w->meDtVenc->Text(), QStringLiteral("  /  /    "));
        for (TNumEditCLX *n : {w->neValPrinc, w->neValMulta, w->neValJuros})
            QCOMPARE(n->text(), QStringLiteral("0,00"));
        QCOMPARE(w->LbTotal->text(), QStringLiteral("0,00"));
        QCOMPARE(w->mmVejaVerso->Lines(),
                 QStringList({QStringLiteral("veja no verso "), QStringLiteral("instruções para preenchimento")}));
        QCOMPARE(w->PC1->tabText(0), QStringLiteral("  D.A.R.F.  "));
        QCOMPARE(w->PC1->tabText(1), QStringLiteral("G.A.R.E."));
    }

    void clearingEmptiesEveryDarfField()
    {
        QTest::keyClicks(w->EdNome, QStringLiteral("Fulano"));
        w->mePerAp->setFocus();
        QTest::keyClicks(w->mePerAp, QStringLiteral("31122004"));
        w->edCGCCPF->setText(QStringLiteral("123"));
        w->neValMulta->SetValue(5);
        w->LbTotal->setText(QStringLiteral("5,00"));
        w->mmVejaVerso->SetAlignment(Qt::AlignRight);
        w->fLimapEdits();
        QCOMPARE(w->EdNome->text(), QString());
        QCOMPARE(w->mePerAp->Text(), QStringLiteral("  /  /    "));
        QCOMPARE(w->edCGCCPF->text(), QString());
        QCOMPARE(w->neValMulta->text(), QStringLiteral("0,00"));
        QCOMPARE(w->LbTotal->text(), QStringLiteral("0,00"));
        QCOMPARE(w->mmVejaVerso->Lines().size(), 2);
        QCOMPARE(w->mmVejaVerso->Alignment(), Qt::Alignment(Qt::AlignRight));
    }

    void colourOptions()
    {
        QTest::mouseClick(w->RBCor, Qt::LeftButton);
        QCOMPARE(w->CorDarf, 0x9D0602u);
        QCOMPARE(w->CorGare, 0x1D611Fu);
        QTest::mouseClick(w->RBCor, Qt::LeftButton); // already checked: nothing changes
        QCOMPARE(w->CorDarf, 0x9D0602u);
        QTest::mouseClick(w->RBPB, Qt::LeftButton);
        QCOMPARE(w->CorDarf, 0u);
        QCOMPARE(w->CorGare, 0u);
        QVERIFY(!w->RBCor->isChecked());
    }

    void tabOrder()
    {
        const QList<QWidget *> expected = {w->mmVejaVerso, w->mePerAp, w->edCGCCPF, w->edCodRec,
                                           w->edNumRef, w->meDtVenc, w->neValPrinc, w->neValMulta,
                                           w->neValJuros, w->Memo1, w->BBImprimir, w->BBSair,
                                           w->cbComLayOut, w->RBPB, w->PC1->tabBar(), w->EdNome};
        QCOMPARE(focused(), w->EdNome);
        BoxCatcher boxes;
        for (QWidget *next : expected) {
            QTest::keyClick(focused(), Qt::Key_Tab);
            settle();
            QCOMPARE(focused()->objectName(), next->objectName());
            QCOMPARE(focused(), next);
        }
        QVERIFY(boxes.texts.isEmpty());
    }

    void nameTakesAtMost51Characters()
    {
        QTest::keyClicks(w->EdNome, QString(60, QLatin1Char('x')));
        QCOMPARE(w->EdNome->text().size(), 51);
    }

    void dateCheckOnLeaving_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("message");
        const QString invalid = QStringLiteral("Data inválida ! ! !");
        QTest::newRow("untouched") << QString() << QString();
        QTest::newRow("blanked again") << QStringLiteral("  /  /    ") << QString();
        QTest::newRow("good") << QStringLiteral("29/02/2004") << QString();
        QTest::newRow("first of 1900") << QStringLiteral("01/01/1900") << QString();
        QTest::newRow("no such day") << QStringLiteral("31/02/2005") << invalid;
        QTest::newRow("day zero") << QStringLiteral("00/01/2005") << invalid;
        QTest::newRow("month left blank") << QStringLiteral("12/  /2005") << invalid;
        QTest::newRow("month 13") << QStringLiteral("01/13/2005") << invalid;
        QTest::newRow("year zero") << QStringLiteral("01/01/0000") << invalid;
        QTest::newRow("before 1900") << QStringLiteral("31/12/1899")
                                     << QStringLiteral("Data inválida ! ! !\nMenor que 01/01/1900");
    }

    void dateCheckOnLeaving()
    {
        QFETCH(QString, entry);
        QFETCH(QString, message);
        for (TDateMaskEdit *field : {w->mePerAp, w->meDtVenc}) {
            BoxCatcher boxes;
            field->setFocus(Qt::TabFocusReason);
            field->setText(entry);
            QTest::keyClick(field, Qt::Key_Tab);
            settle();
            if (message.isEmpty()) {
                QVERIFY(boxes.texts.isEmpty());
                QVERIFY(focused() != field);
            } else {
                QCOMPARE(boxes.texts, QStringList(message));
                QCOMPARE(boxes.titles, QStringList(QStringLiteral("Error")));
                QTRY_COMPARE(focused(), field);
                QCOMPARE(field->Text(), entry); // left as typed, for the user to correct
            }
            field->clear();
            focused()->clearFocus();
            settle();
        }
    }

    void datesAreTypedAsDigits()
    {
        w->mePerAp->setFocus(Qt::TabFocusReason);
        w->mePerAp->home(false);
        QTest::keyClicks(w->mePerAp, QStringLiteral("3a1/1x22004"));
        QCOMPARE(w->mePerAp->Text(), QStringLiteral("31/12/2004"));
        for (int i = 0; i < 10; ++i)
            QTest::keyClick(w->mePerAp, Qt::Key_Backspace);
        QCOMPARE(w->mePerAp->Text(), QStringLiteral("  /  /    "));
    }

    void oneMessageWhenClickingIntoAnotherWrongDate()
    {
        w->meDtVenc->setText(QStringLiteral("31/02/2005"));
        w->mePerAp->setFocus(Qt::TabFocusReason);
        w->mePerAp->setText(QStringLiteral("00/00/2005"));
        BoxCatcher boxes;
        QTest::mouseClick(w->meDtVenc, Qt::LeftButton);
        settle();
        QCOMPARE(boxes.texts.size(), 1);
        QTRY_COMPARE(focused(), w->mePerAp);
        settle();
        QCOMPARE(boxes.texts.size(), 1);
    }

    void boxesAndMenusAreNotLeaving()
    {
        BoxCatcher boxes;
        w->mePerAp->setFocus(Qt::TabFocusReason);
        w->mePerAp->setText(QStringLiteral("31/02/2005"));
        for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
            QFocusEvent out(QEvent::FocusOut, reason);
            QApplication::sendEvent(w->mePerAp, &out);
        }
        w->neValPrinc->setFocus(Qt::TabFocusReason);
        settle();
        QCOMPARE(boxes.texts.size(), 1); // only the real move to the amount field
        w->mePerAp->clear();

        w->neValPrinc->setFocus(Qt::TabFocusReason);
        w->neValPrinc->setText(QStringLiteral("5"));
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(w->neValPrinc, &out);
        settle();
        QCOMPARE(w->LbTotal->text(), QStringLiteral("0,00"));
    }

    // Quick clicks (press and release with no event between) and accelerators: the check of the
    // field being left runs first, and a refusal stops the button.
    void buttonsRunTheFieldCheckFirst_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("accelerator");
        QTest::newRow("Sair clicked") << QStringLiteral("BBSair") << 0;
        QTest::newRow("Alt+S") << QStringLiteral("BBSair") << int(Qt::Key_S);
        QTest::newRow("Alt+I") << QStringLiteral("BBImprimir") << int(Qt::Key_I);
        QTest::newRow("Colorido") << QStringLiteral("RBCor") << 0;
        QTest::newRow("Preto e branco") << QStringLiteral("RBPB") << 0;
        QTest::newRow("layout option") << QStringLiteral("cbComLayOut") << 0;
    }

    void buttonsRunTheFieldCheckFirst()
    {
        QFETCH(QString, button);
        QFETCH(int, accelerator);
        if (button == QLatin1String("RBPB"))
            QTest::mouseClick(w->RBCor, Qt::LeftButton);
        const quint32 cor = w->CorDarf;
        const bool colour = w->RBCor->isChecked(), layout = w->cbComLayOut->isChecked();
        BoxCatcher boxes;
        w->mePerAp->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(w->mePerAp, QStringLiteral("31022005"));
        if (accelerator)
            QTest::keyClick(focused(), Qt::Key(accelerator), Qt::AltModifier);
        else
            QTest::mouseClick(w->findChild<QAbstractButton *>(button), Qt::LeftButton);
        settle();
        QCOMPARE(boxes.texts, QStringList(QStringLiteral("Data inválida ! ! !")));
        QVERIFY(w->isVisible());
        QTRY_COMPARE(focused(), w->mePerAp);
        QCOMPARE(w->CorDarf, cor);
        QCOMPARE(w->RBCor->isChecked(), colour);
        QCOMPARE(w->RBPB->isChecked(), !colour);
        QCOMPARE(w->cbComLayOut->isChecked(), layout);
    }

    void acceleratorFormatsTheAmountBeingTyped()
    {
        w->neValPrinc->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(w->neValPrinc, QStringLiteral("1234,5"));
        QTest::keyClick(w->neValPrinc, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(w->neValPrinc->text(), QStringLiteral("1.234,50"));
        QCOMPARE(w->LbTotal->text(), QStringLiteral("1.234,50"));
    }

    void retypingAfterAWrongDate()
    {
        BoxCatcher boxes;
        w->meDtVenc->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(w->meDtVenc, QStringLiteral("31022005"));
        QTest::keyClick(w->meDtVenc, Qt::Key_Tab);
        settle();
        QTRY_COMPARE(focused(), w->meDtVenc);
        QTest::keyClicks(w->meDtVenc, QStringLiteral("28022005"));
        QCOMPARE(w->meDtVenc->Text(), QStringLiteral("28/02/2005"));
        QTest::keyClick(w->meDtVenc, Qt::Key_Tab);
        settle();
        QCOMPARE(boxes.texts.size(), 1);
        QCOMPARE(focused(), w->neValPrinc);
    }

    void minimiseAndRestoreKeepTheData()
    {
        QTest::keyClicks(w->EdNome, QStringLiteral("Fulano de Tal"));
        enterAmount(w->neValMulta, QStringLiteral("7,5"));
        w->showMinimized();
        settle();
        w->hide(); // what a window manager does to a minimised window
        w->showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->EdNome->text(), QStringLiteral("Fulano de Tal"));
        QCOMPARE(w->neValMulta->text(), QStringLiteral("7,50"));
        QCOMPARE(w->LbTotal->text(), QStringLiteral("7,50"));
    }

    void datesFollowTheRegionalSettings()
    {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); // M/d/yy
        QCOMPARE(CheckDateText(QStringLiteral("12/31/2004"), true), TDateVerdict::Good);
        QCOMPARE(CheckDateText(QStringLiteral("31/12/2004"), true), TDateVerdict::Invalid);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // dd.MM.yy
        TDateMaskEdit field;
        QCOMPARE(field.Text(), QStringLiteral("  .  .    "));
        QCOMPARE(CheckDateText(field.Text(), true), TDateVerdict::Blank);
        QCOMPARE(CheckDateText(QStringLiteral("31.12.1899"), true), TDateVerdict::Before1900);
        QLocale::setDefault(saved);
        QCOMPARE(CheckDateText(QStringLiteral("31/12/04  "), true), TDateVerdict::Good); // this century
    }

    void fValidaDataBlankOnlyWhenAllowed()
    {
        BoxCatcher boxes;
        QVERIFY(w->fValidaData(QStringLiteral("  /  /    "), true));
        QVERIFY(w->fValidaData(QString(), true));
        QVERIFY(boxes.texts.isEmpty());
        QVERIFY(!w->fValidaData(QStringLiteral("  /  /    "), false));
        QCOMPARE(boxes.texts, QStringList(QStringLiteral("Data inválida ! ! !")));
    }

    void totals_data()
    {
        QTest::addColumn<QStringList>("amounts");
        QTest::addColumn<QString>("total");
        QTest::newRow("cents") << QStringList{"0,10", "0,20", "0,00"} << "0,30";
        QTest::newRow("thousands") << QStringList{"1234,5", "0", "0"} << "1.234,50";
        QTest::newRow("a million") << QStringList{"999999,99", "0,01", "0"} << "1.000.000,00";
        QTest::newRow("negative") << QStringList{"-100", "20,5", "0,25"} << "-79,25";
        QTest::newRow("large") << QStringList{"123456789012,34", "1", "0,66"} << "123.456.789.014,00";
    }

    void totals()
    {
        QFETCH(QStringList, amounts);
        QFETCH(QString, total);
        TNumEditCLX *fields[] = {w->neValPrinc, w->neValMulta, w->neValJuros};
        for (int i = 0; i < 3; ++i)
            enterAmount(fields[i], amounts.at(i));
        QCOMPARE(w->LbTotal->text(), total);
    }

    void totalWaitsForLeaving()
    {
        w->neValPrinc->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(w->neValPrinc, QStringLiteral("250"));
        settle();
        QCOMPARE(w->LbTotal->text(), QStringLiteral("0,00"));
        QTest::keyClick(w->neValPrinc, Qt::Key_Tab);
        settle();
        QCOMPARE(w->LbTotal->text(), QStringLiteral("250,00"));
        QCOMPARE(w->neValPrinc->text(), QStringLiteral("250,00"));
    }

    void totalsOutOfRangeGiveOneClearMessage_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("words");
        QTest::newRow("beyond currency") << QStringLiteral("1000000000000000") << QStringLiteral("valor total");
        QTest::newRow("beyond the number type") << QString(6000, QLatin1Char('9')) << QStringLiteral("número");
    }

    void totalsOutOfRangeGiveOneClearMessage()
    {
        QFETCH(QString, amount);
        QFETCH(QString, words);
        BoxCatcher boxes;
        enterAmount(w->neValPrinc, amount);
        QCOMPARE(boxes.texts.size(), 1);
        QCOMPARE(boxes.titles.first(), QStringLiteral("Error"));
        QVERIFY2(boxes.texts.first().contains(words), qPrintable(boxes.texts.first()));
        QCOMPARE(w->LbTotal->text(), QString()); // no stale sum stands
    }

    void alignmentMenu()
    {
        QCOMPARE(w->mmVejaVerso->Alignment(), Qt::Alignment(Qt::AlignHCenter));
        emit w->mmVejaVerso->customContextMenuRequested(QPoint(5, 5));
        QTRY_VERIFY(w->PopupMenu1->isVisible());
        w->PopupMenu1->close();
        QCOMPARE(w->AlinharTexto1->title(), QStringLiteral("&Alinhar Texto"));
        const std::pair<QAction *, Qt::Alignment> items[] = {
            {w->Direita1, Qt::AlignRight}, {w->Esquerda1, Qt::AlignLeft}, {w->Centro1, Qt::AlignHCenter}};
        for (const auto &[action, alignment] : items) {
            action->trigger();
            QCOMPARE(w->mmVejaVerso->Alignment(), alignment);
            for (QTextBlock b = w->mmVejaVerso->document()->begin(); b.isValid(); b = b.next())
                QCOMPARE(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, alignment);
        }
        w->Direita1->trigger();
        w->fLimapEdits();
        QCOMPARE(w->mmVejaVerso->Alignment(), Qt::Alignment(Qt::AlignRight));
    }

    void headerLinks()
    {
        QList<QUrl> opened;
        DesktopShell::SetOpener([&](const QUrl &url) { opened << url; });
        QTest::mouseClick(w->Label81, Qt::LeftButton);
        QTest::mouseClick(w->Label33, Qt::LeftButton);
        DesktopShell::SetOpener(nullptr);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened.at(0).toString(), QStringLiteral("mailto:") + w->Label81->text());
        QCOMPARE(opened.at(1).scheme(), QStringLiteral("http"));
        QCOMPARE(opened.at(1).host(), QUrl(w->Label33->text()).host());
        QVERIFY(w->Label81->text().endsWith(QStringLiteral(".example")));
        QCOMPARE(w->Label81->toolTip(),
                 QStringLiteral("Fale com a gente. Envie suas críticas, sugestões  ou dúvidas."));
        QCOMPARE(w->Label33->toolTip(), QStringLiteral("Visite o nosso site e conheça melhor a nossa empresa."));
    }

    // Enter in a one-line field goes where Tab goes, on both pages; a memo keeps it for a new line.
    void enterMovesOnAsTab_data()
    {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<int>("key");
        QTest::newRow("DARF, Return") << QStringLiteral("Panel1") << int(Qt::Key_Return);
        QTest::newRow("GARE, keypad Enter") << QStringLiteral("Panel3") << int(Qt::Key_Enter);
    }

    void enterMovesOnAsTab()
    {
        QFETCH(QString, panel);
        QFETCH(int, key);
        auto *page = w->findChild<QWidget *>(panel);
        w->PC1->setCurrentWidget(page->parentWidget());
        settle();
        const QList<QLineEdit *> fields = page->findChildren<QLineEdit *>();
        QVERIFY(fields.size() >= 8);
        const Qt::KeyboardModifier pad = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        for (QLineEdit *field : fields) {
            QString reached[2];
            for (int enter = 0; enter < 2; ++enter) {
                field->setFocus(Qt::TabFocusReason);
                QTest::keyClick(field, enter ? Qt::Key(key) : Qt::Key_Tab, enter ? pad : Qt::NoModifier);
                settle();
                reached[enter] = focused() ? focused()->objectName() : QString();
            }
            QVERIFY2(!reached[0].isEmpty() && reached[0] != field->objectName(), qPrintable(field->objectName()));
            QCOMPARE(reached[1], reached[0]);
        }
        TMemoCLX *memo = panel == QLatin1String("Panel1") ? w->mmVejaVerso : w->MMTribG;
        memo->setFocus(Qt::TabFocusReason);
        memo->ClearLines();
        QTest::keyClick(memo, Qt::Key_A);
        QTest::keyClick(memo, Qt::Key(key), pad);
        QTest::keyClick(memo, Qt::Key_B);
        QCOMPARE(focused(), memo);
        QCOMPARE(memo->Lines(), QStringList({QStringLiteral("a"), QStringLiteral("b")}));
    }

    // Closing and "Nova guia" (Ctrl+N) ask before anything typed is lost, and only then; "Nova
    // guia" clears the page in front only.
    void unsavedEntriesAskFirst_data()
    {
        QTest::addColumn<QString>("typedOn");  // "", "DARF" or "GARE"
        QTest::addColumn<bool>("novaGuia");     // else close
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("lost");         // the window closed or the DARF page was cleared
        QTest::newRow("close, nothing typed") << "" << false << "" << false << true;
        QTest::newRow("close, typed, Não") << "DARF" << false << "" << true << false;
        QTest::newRow("close, typed, Sim") << "DARF" << false << "Sim" << true << true;
        QTest::newRow("close, typed on the GARE") << "GARE" << false << "" << true << false;
        QTest::newRow("Nova guia, nothing typed") << "" << true << "" << false << true;
        QTest::newRow("Nova guia, typed, Não") << "DARF" << true << "" << true << false;
        QTest::newRow("Nova guia, typed, Sim") << "DARF" << true << "Sim" << true << true;
        QTest::newRow("Nova guia, typed on the other page") << "GARE" << true << "" << false << true;
    }

    void unsavedEntriesAskFirst()
    {
        QFETCH(QString, typedOn);
        QFETCH(bool, novaGuia);
        QFETCH(QString, answer);
        QFETCH(bool, asked);
        QFETCH(bool, lost);
        if (typedOn == QLatin1String("GARE")) {
            w->PC1->setCurrentWidget(w->tsGare);
            w->EdNomeG->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(w->EdNomeG, QStringLiteral("Beltrano"));
            w->PC1->setCurrentWidget(w->tsDarf);
        }
        w->EdNome->setFocus(Qt::TabFocusReason);
        if (typedOn == QLatin1String("DARF")) {
            QTest::keyClicks(w->EdNome, QStringLiteral("Fulano"));
            QTest::keyClick(w->EdNome, Qt::Key_Return);
            QTest::keyClicks(focused(), QStringLiteral("ab"));
        }
        // Tabbing through the amounts reformats them: not something typed.
        for (QWidget *field : {static_cast<QWidget *>(w->neValPrinc), static_cast<QWidget *>(w->neValMulta)})
            leave(field);
        BoxCatcher boxes;
        boxes.answer = answer;
        if (novaGuia)
            QTest::keyClick(focused(), Qt::Key_N, Qt::ControlModifier);
        else
            QMetaObject::invokeMethod(w->BBSair, &QPushButton::click, Qt::QueuedConnection);
        settle();
        settle();
        QCOMPARE(boxes.texts, asked ? QStringList(QStringLiteral("Descartar os dados digitados?")) : QStringList());
        if (novaGuia) {
            QVERIFY(w->isVisible());
            QCOMPARE(w->EdNome->text(), lost || typedOn != QLatin1String("DARF") ? QString() : QStringLiteral("Fulano"));
            QCOMPARE(w->EdNomeG->text(), typedOn == QLatin1String("GARE") ? QStringLiteral("Beltrano") : QString());
            if (lost)
                QCOMPARE(w->focusWidget(), w->EdNome);
        } else {
            QCOMPARE(w->isVisible(), !lost);
        }
    }

    // The layout and colour options are those the user chose last, in a window of a later start.
    void optionsRemembered()
    {
        QTest::mouseClick(w->RBCor, Qt::LeftButton);
        QTest::mouseClick(w->cbComLayOut, Qt::LeftButton);
        QVERIFY(!w->cbComLayOut->isChecked());
        delete w;
        w = ShowMainWindow();
        QVERIFY(w->RBCor->isChecked());
        QVERIFY(!w->cbComLayOut->isChecked());
        QVERIFY(w->CorDarf != 0);
        // Back to the first start's options for the tests after this one.
        QTest::mouseClick(w->RBPB, Qt::LeftButton);
        QTest::mouseClick(w->cbComLayOut, Qt::LeftButton);
        delete w;
        w = ShowMainWindow();
        QVERIFY(w->RBPB->isChecked());
        QVERIFY(w->cbComLayOut->isChecked());
    }

    void accelerators()
    {
        QCOMPARE(w->BBImprimir->shortcut(), QKeySequence(QStringLiteral("Alt+I")));
        QTest::keyClick(w, Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(!w->isVisible());
    }

    void qtSpeaksPortuguese()
    {
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Copy"), QStringLiteral("&Copiar"));
    }
};

int main(int argc, char **argv)
{
    TZavenorApplication app(argc, argv);
    TestMainWindow t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_mainwindow.moc"
