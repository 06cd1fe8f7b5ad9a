// Both slips saved as PDF as a user does it: values typed, Print, "Documento PDF" chosen in the
// print dialog, a file named in the file dialog. The file passes the checks of a printed sheet
// (paper, every caption and value where the replay puts it, the inks of both copies) and the
// confirmation comes once it is written; a cancelled file dialog writes and confirms nothing.
// $ZAVENOR_SLIPS_PDF_DIR keeps the PDFs.
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "report/RLReport.h"
#include "report/output/RLPdfFilter.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLUserChoices.h"
#include "report/output/RLPreview.h"
#include "slips/pDadosDARF.h"
#include "slips/pLayOutDarf.h"
#include "slips/pLayOutGare.h"
#include "support/PdfInspect.h"
#include "support/PrivateCups.h"
#include "widgets/Beep.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/NumEditCLX.h"

#include "../slips/DarfTestData.h"
#include "../slips/PrintedPage.h"
#include "WindowDriver.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QRadioButton>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTabWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace WindowDriver;

namespace {

// Chooses the PDF filter and OKs the print dialog, names the file (or cancels the file dialog)
// and answers the message boxes, remembering them.
class PdfAnswerer : public QObject
{
public:
    QString file; // empty: cancel the file dialog
    bool background = false;
    int fileDialogs = 0;
    QStringList texts;
    QString suggested; // the name the file dialog offered

    PdfAnswerer()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<TRLPrintDialog *>(modal); dialog && dialog->isVisible()) {
                dialog->ComboBoxFilters->setCurrentIndex(dialog->ComboBoxFilters->findText("Documento PDF"));
                dialog->CheckBoxPrintInBackground->setChecked(background);
                QMetaObject::invokeMethod(dialog->ButtonOk, &QPushButton::click, Qt::QueuedConnection);
            } else if (auto *files = qobject_cast<QFileDialog *>(modal); files && files->isVisible()) {
                ++fileDialogs;
                if (file.isEmpty()) {
                    QMetaObject::invokeMethod(files, &QDialog::reject, Qt::QueuedConnection);
                } else if (auto *name = files->findChild<QLineEdit *>("fileNameEdit")) {
                    suggested = name->text();
                    name->setText(file);
                    QMetaObject::invokeMethod(files, &QDialog::accept, Qt::QueuedConnection);
                }
            } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                texts << box->text();
                QMetaObject::invokeMethod(box->defaultButton(), &QPushButton::click, Qt::QueuedConnection);
            }
        });
        m_timer.start(20);
    }

private:
    QTimer m_timer;
};

} // namespace

class TestPdfSlips : public QObject
{
    Q_OBJECT

    PrivateCups m_cups; // first: before anything asks CUPS about its server
    QTemporaryDir m_dir;
    TfrmZavenor *w = nullptr;
    int m_beeps = 0;

    // The page of the window's slip, recorded again from the same entries.
    TRLGraphicSurface *reference(int slip, std::unique_ptr<QWidget> &holder)
    {
        TRLReport *report = nullptr;
        if (slip == 0) {
            auto *form = new TfrmLayOutDARF;
            holder.reset(form);
            w->frmLayOutDARF = form;
            w->fCorDarf(w->CorDarf);
            report = form->RLDarf;
        } else if (slip == 1) {
            auto *form = new TfrmLayOutGARE;
            holder.reset(form);
            w->frmLayOutGARE = form;
            w->fCorGare(w->CorGare);
            report = form->QRGARE;
        } else {
            auto *form = new TfrmDadosDARF;
            holder.reset(form);
            frmDadosDARF = form;
            w->fDadosDarf();
            report = form->RLDadosDARF;
        }
        return report->Prepare() ? report->Pages()->Pages(0) : nullptr;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(m_cups.IsRunning(), qPrintable("no private CUPS scheduler: " + m_cups.Error()));
        QVERIFY(m_cups.AddPdfQueue(QStringLiteral("ZavenorPDF")));
        RLPrinter().Refresh();
        Beep::SetHandler([this] { ++m_beeps; });
        QSettings(QStringLiteral("Morvath"), QStringLiteral("Zavenor")).remove(QStringLiteral("Escolhas"));
        RLUserChoices::SetRemembered(true);
    }

    void init() { w = ShowMainWindow(); }

    void cleanup()
    {
        delete w;
        w = nullptr;
    }

    void savesTheSlip_data()
    {
        QTest::addColumn<int>("slip"); // 0 DARF, 1 GARE, 2 data-only DARF
        QTest::addColumn<bool>("colour");
        QTest::addColumn<bool>("background");
        QTest::newRow("DARF colour") << 0 << true << false;
        QTest::newRow("GARE black and white, background") << 1 << false << true;
        QTest::newRow("DARF data only") << 2 << false << false;
    }

    void savesTheSlip()
    {
        QFETCH(int, slip);
        QFETCH(bool, colour);
        QFETCH(bool, background);
        w->cbComLayOut->setChecked(slip != 2);
        if (slip == 1)
            w->PC1->setCurrentWidget(w->tsGare);
        QLineEdit *name = slip == 1 ? w->EdNomeG : w->EdNome;
        name->setText(QString::fromUtf8("JOÃO DA CONCEIÇÃO ASSUNÇÃO & FILHOS LTDA."));
        enterAmount(slip == 1 ? w->neValRecG : w->neValPrinc, QStringLiteral("1234567,89"));
        QTest::mouseClick(colour ? w->RBCor : w->RBPB, Qt::LeftButton);
        const int jobs = RLPrinter().LastJobId();

        PdfAnswerer answers;
        answers.background = background;
        answers.file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-') + ".pdf");
        QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!answers.texts.isEmpty(), 30000);
        QCOMPARE(answers.texts, QStringList(QStringLiteral("Ok. Impressão efetuada.")));
        QCOMPARE(answers.fileDialogs, 1);
        QCOMPARE(RLPrinter().LastJobId(), jobs); // nothing went to the printer
        const QString pdf = answers.file;
        QVERIFY(QFile::exists(pdf));
        const QString keep = qEnvironmentVariable("ZAVENOR_SLIPS_PDF_DIR");
        if (!keep.isEmpty())
            QFile::copy(pdf, keep + "/" + QFileInfo(pdf).fileName());

        const QString sheet = slip == 2 ? PdfInspect::notOneSheetOf(pdf, 211, 102) : PdfInspect::notOneSheetOf(pdf, 210, 297);
        QVERIFY2(sheet.isEmpty(), qPrintable(sheet));
        const QString info = PdfInspect::run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(info.contains(QRegularExpression(QStringLiteral("^Creator:\\s+Zavenor$"), QRegularExpression::MultilineOption)));
        if (slip != 2)
            QVERIFY(info.contains(slip == 0 ? QStringLiteral("Zavenor - DARF") : QStringLiteral("Zavenor - GARE")));

        std::unique_ptr<QWidget> holder;
        TRLGraphicSurface *page = reference(slip, holder);
        QVERIFY(page);
        int checked = 0;
        // x within 3 report pixels: a centred two-line memo lands 2.7 pixels left of where the
        // unhinted measure puts it (the printer's PDF is within 2); still well inside its box.
        const QStringList wrong = PrintedPage::misplaced(page, PdfInspect::words(pdf), 3, 2, &checked);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("; ")));
        QVERIFY2(checked >= (slip == 0 ? 80 : slip == 1 ? 100 : 3), qPrintable(QString::number(checked)));
        if (slip == 0) {
            const QString raster = m_dir.filePath(QStringLiteral("raster"));
            PdfInspect::run(QStringLiteral("pdftoppm"), {"-r", "96", "-png", "-singlefile", pdf, raster});
            const QImage image(raster + QStringLiteral(".png"));
            QCOMPARE(image.size(), QSize(794, 1123));
            PrintedPage::checkDarfInks(image, colour);
        }
    }

    // Amounts and dates typed key by key as Brazilians write them; what the field shows after
    // leaving it, the page's total and the saved slip must agree. In `keys`, "k" stands for the
    // keypad's decimal key sending a full stop and "K" for one sending a comma.
    void typedAsPeopleTypeThem_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("total");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QString>("message"); // a refused date: nothing is printed
        QTest::addColumn<QString>("absent"); // a word the slip must not print

        QTest::newRow("thousands typed") << "neValPrinc" << "1.234,56" << "" << "1.234,56" << "1.234,56" << 0 << "" << "1,56";
        QTest::newRow("with the currency sign") << "neValPrinc" << "R$ 1.234,56" << "" << "1.234,56" << "1.234,56" << 3 << "" << "1,56";
        QTest::newRow("bare") << "neValPrinc" << "1234,56" << "" << "1.234,56" << "1.234,56" << 0 << "" << "";
        QTest::newRow("keypad sending a full stop") << "neValMulta" << "12k5" << "" << "12,50" << "12,50" << 0 << "" << "125,00";
        QTest::newRow("keypad sending a comma") << "neValJuros" << "7K25" << "" << "7,25" << "7,25" << 0 << "" << "";
        QTest::newRow("minus refused") << "neValPrinc" << "-50" << "" << "50,00" << "50,00" << 1 << "" << "-50,00";
        QTest::newRow("minus refused on the GARE") << "neHonor" << "-50" << "" << "50,00" << "50,00" << 1 << "" << "-50,00";
        QTest::newRow("negative paste refused") << "neValMulta" << "3" << "-1,00" << "3,00" << "3,00" << 1 << "" << "-3,00";
        QTest::newRow("date with slashes") << "meDtVenc" << "5/1/2026" << "" << "05/01/2026" << "0,00" << 0 << "" << "/2026";
        QTest::newRow("date on the GARE") << "MEDTVencG" << "5/1/2026" << "" << "05/01/2026" << "0,00" << 0 << "" << "/2026";
        QTest::newRow("date in digits") << "meDtVenc" << "05012026" << "" << "05/01/2026" << "0,00" << 0 << "" << "";
        QTest::newRow("impossible date") << "meDtVenc" << "31/2/2026" << "" << "31/2_/2026" << "0,00" << 0
                                         << QString::fromUtf8("Data inválida ! ! !") << "";
    }

    void typedAsPeopleTypeThem()
    {
        QFETCH(QString, field);
        QFETCH(QString, keys);
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        QFETCH(QString, total);
        QFETCH(int, beeps);
        QFETCH(QString, message);
        QFETCH(QString, absent);
        auto *edit = w->findChild<QLineEdit *>(field);
        QVERIFY(edit);
        const bool gare = w->tsGare->isAncestorOf(edit);
        if (gare)
            w->PC1->setCurrentWidget(w->tsGare);
        PdfAnswerer answers;
        answers.file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-') + ".pdf");

        edit->setFocus(Qt::TabFocusReason);
        m_beeps = 0;
        for (const QChar c : keys) {
            if (c == QLatin1Char('k'))
                QTest::keyClick(edit, Qt::Key_Period, Qt::KeypadModifier);
            else if (c == QLatin1Char('K'))
                QTest::keyClick(edit, Qt::Key_Comma, Qt::KeypadModifier);
            else
                QTest::keyClicks(edit, QString(c), Qt::NoModifier, 5);
        }
        if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        }
        QTest::keyClick(edit, Qt::Key_Tab);
        settle();
        QCOMPARE(m_beeps, beeps);
        QCOMPARE(edit->displayText(), shown);
        QCOMPARE((gare ? w->LbTotalG : w->LbTotal)->text(), total);
        if (!message.isEmpty()) {
            QTRY_COMPARE(answers.texts, QStringList(message));
            QCOMPARE(focused(), edit);
            return;
        }
        QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!answers.texts.isEmpty(), 30000);
        QCOMPARE(answers.texts, QStringList(QStringLiteral("Ok. Impressão efetuada.")));
        const QStringList printed = PdfInspect::texts(answers.file);
        QVERIFY2(printed.contains(shown), qPrintable(printed.join(' ')));
        QVERIFY2(printed.contains(total), qPrintable(printed.join(' ')));
        if (!absent.isEmpty())
            QVERIFY2(!printed.contains(absent), qPrintable(printed.join(' ')));
    }

    // The PDF is offered under a name that tells the slip apart, and a data-only slip's document
    // carries its title; once saved, nothing typed is left to lose.
    void namesTheSlip_data()
    {
        QTest::addColumn<int>("slip"); // 0 DARF, 1 GARE, 2 data-only DARF
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("payer");
        QTest::addColumn<QString>("due");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("title");
        QTest::newRow("DARF") << 0 << "2089" << "JOSE DA SILVA" << "31012025"
                              << "DARF 2089 JOSE DA SILVA 31-01-2025.pdf" << "Zavenor - DARF";
        QTest::newRow("GARE, characters a file name refuses") << 1 << "046-2" << "A/B: C*D?" << "5/1/2026"
                                                              << "GARE 046-2 A_B_ C_D_ 05-01-2026.pdf" << "Zavenor - GARE";
        QTest::newRow("data-only DARF, no due date") << 2 << "" << "JOSE DA SILVA" << ""
                                                     << "DARF JOSE DA SILVA.pdf" << "DARF - JOSE DA SILVA";
    }

    void namesTheSlip()
    {
        QFETCH(int, slip);
        QFETCH(QString, code);
        QFETCH(QString, payer);
        QFETCH(QString, due);
        QFETCH(QString, fileName);
        QFETCH(QString, title);
        w->cbComLayOut->setChecked(slip != 2);
        if (slip == 1)
            w->PC1->setCurrentWidget(w->tsGare);
        const QList<QLineEdit *> fields = slip == 1 ? QList<QLineEdit *>{w->EDCodRecG, w->EdNomeG, w->MEDTVencG}
                                                    : QList<QLineEdit *>{w->edCodRec, w->EdNome, w->meDtVenc};
        const QStringList typed = {code, payer, due};
        for (int i = 0; i < 3; ++i) {
            fields[i]->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(fields[i], typed[i]);
            QTest::keyClick(fields[i], Qt::Key_Tab);
            settle();
        }
        enterAmount(slip == 1 ? w->neValRecG : w->neValPrinc, QStringLiteral("100"));
        QVERIFY(w->HasUnsavedEntries(w->PC1->currentWidget()));

        PdfAnswerer answers;
        answers.file = m_dir.filePath(QStringLiteral("nome-%1.pdf").arg(slip));
        QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!answers.texts.isEmpty(), 30000);
        QCOMPARE(answers.texts, QStringList(QStringLiteral("Ok. Impressão efetuada.")));
        QCOMPARE(answers.suggested, fileName);
        const QString info = PdfInspect::run(QStringLiteral("pdfinfo"), {answers.file});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Title:\\s+") + QRegularExpression::escape(title) + '$',
                                                  QRegularExpression::MultilineOption)),
                 qPrintable(info));
        QVERIFY(!w->HasUnsavedEntries(w->PC1->currentWidget()));
    }

    void cancelledFileDialogWritesNothing()
    {
        w->EdNome->setText(QStringLiteral("Fulano"));
        PdfAnswerer answers;
        const int filesBefore = int(QDir(m_dir.path()).entryList(QDir::Files).size());
        QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(answers.fileDialogs > 0, 30000);
        settle();
        settle();
        QVERIFY(answers.texts.isEmpty());
        QCOMPARE(int(QDir(m_dir.path()).entryList(QDir::Files).size()), filesBefore);
        QCOMPARE(w->focusWidget(), w->BBImprimir);
    }

    // Not a check: with ZAVENOR_SHOTS_DIR set (under Xvfb), the preview of the DARF, opened from
    // the print dialog as a user does. ZAVENOR_SHOTS_SUFFIX tells a scaled screen's pictures apart.
    void previewScreenshot()
    {
        const QString folder = qEnvironmentVariable("ZAVENOR_SHOTS_DIR");
        if (folder.isEmpty())
            QSKIP("pictures only on request");
        w->cbComLayOut->setChecked(true);
        w->EdNome->setText(QString::fromUtf8("JOÃO DA CONCEIÇÃO ASSUNÇÃO & FILHOS LTDA."));
        enterAmount(w->neValPrinc, QStringLiteral("1234567,89"));
        QTest::mouseClick(w->RBCor, Qt::LeftButton);
        int status = -1;
        bool previewed = false;
        QTimer driver;
        connect(&driver, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<TRLPrintDialog *>(modal)) {
                QPushButton *next = previewed ? dialog->ButtonCancel : dialog->ButtonPreview;
                QMetaObject::invokeMethod(next, &QPushButton::click, Qt::QueuedConnection);
            } else if (auto *preview = qobject_cast<TfrmRLPreview *>(modal); preview && preview->Store() && !previewed) {
                previewed = true;
                driver.stop();
                QTest::qWait(400);
                status = QProcess::execute("import", {"-window", QString::number(preview->winId()),
                                                      folder + "/previa-darf" + qEnvironmentVariable("ZAVENOR_SHOTS_SUFFIX") + ".png"});
                QMetaObject::invokeMethod(preview->ButtonClose, &QPushButton::click, Qt::QueuedConnection);
                driver.start();
            }
        });
        driver.start(50);
        QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(previewed, 30000);
        QCOMPARE(status, 0);
    }
};

int main(int argc, char **argv)
{
    TZavenorApplication app(argc, argv);
    TestPdfSlips t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_pdfslips.moc"
