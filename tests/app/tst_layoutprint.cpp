// Both slips printed with their whole layout as a user does it: values typed into the entry
// window, a colour chosen, Print (or Alt+I), the print dialog accepted, the sheet through a
// private CUPS queue. Checked on the PDF the program submitted and on what the queue wrote, and
// on a 96-dpi raster of the latter for colour against black and white.
// $ZAVENOR_SLIPS_PDF_DIR keeps the PDFs.
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "report/RLReport.h"
#include "report/output/RLPrinters.h"
#include "slips/pLayOutDarf.h"
#include "slips/pLayOutGare.h"
#include "support/PdfInspect.h"
#include "support/PrivateCups.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/MemoCLX.h"

#include "../slips/DarfTestData.h"
#include "../slips/PrintedPage.h"
#include "WindowDriver.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using namespace WindowDriver;

namespace {

const QString kName = QString::fromUtf8("JOÃO DA CONCEIÇÃO ASSUNÇÃO & FILHOS COMÉRCIO LTDA.");
const QString kAddress = QString::fromUtf8("AVENIDA BRIGADEIRO FARIA LIMA, 1.234 - CONJ. 56 - JARDIM");
const QStringList kTrib = {QString::fromUtf8("ICMS - IMPOSTO SOBRE CIRCULAÇÃO DE"), QString::fromUtf8("MERCADORIAS E SERVIÇOS")};
const QStringList kObs = {
    QString::fromUtf8("Parcelamento nº 12345678-9, parcela 7 de 60."),
    QString::fromUtf8("Débito inscrito em dívida ativa em março."),
    QString::fromUtf8("Recolhimento efetuado após notificação."),
    QString::fromUtf8("Referência: auto de infração nº 4.567.890."),
    QString::fromUtf8("Observação de atenção ao contribuinte."),
    QString::fromUtf8("Última linha das observações da guia."),
};

// Key by key as a keyboard sends them (QTest's own table knows no key for some accented letters).
void keys(QWidget *field, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, c.isDigit() ? Qt::Key(c.unicode()) : Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
}

void type(QWidget *field, const QString &text)
{
    field->setFocus(Qt::TabFocusReason);
    keys(field, text);
}

void typeLines(TMemoCLX *memo, const QStringList &lines)
{
    memo->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < lines.size(); ++i) {
        if (i)
            QTest::keyClick(memo, Qt::Key_Return);
        keys(memo, lines[i]);
    }
}

int countTexts(TRLGraphicSurface *page, const QString &text)
{
    int n = 0;
    for (TRLTextObject *t : PrintedPage::texts(page))
        n += t->Text.trimmed() == text;
    return n;
}

} // namespace

class TestLayoutPrint : public QObject
{
    Q_OBJECT

    PrivateCups m_cups; // first: before anything asks CUPS about its server
    TfrmZavenor *w = nullptr;

    void enterDarf()
    {
        type(w->EdNome, kName);
        type(w->mePerAp, QStringLiteral("31122025"));
        type(w->edCGCCPF, QStringLiteral("12.345.678/0001-95"));
        type(w->edCodRec, QStringLiteral("2089"));
        type(w->edNumRef, QStringLiteral("9876543210"));
        type(w->meDtVenc, QStringLiteral("15012026"));
        enterAmount(w->neValPrinc, QStringLiteral("1234567,89"));
        enterAmount(w->neValMulta, QStringLiteral("246913,58"));
        enterAmount(w->neValJuros, QStringLiteral("98765,43"));
    }

    void enterGare()
    {
        w->PC1->setCurrentWidget(w->tsGare);
        type(w->EdNomeG, kName);
        type(w->EdEnderecoG, kAddress);
        type(w->EDMunicipioG, QString::fromUtf8("SÃO JOSÉ DO RIO PRETO"));
        type(w->EDUFG, QStringLiteral("SP"));
        type(w->EDFoneG, QStringLiteral("(17) 3234-5678"));
        typeLines(w->MMTribG, kTrib);
        type(w->EdCAEG, QStringLiteral("123.456.789"));
        type(w->EdPlacaG, QStringLiteral("ABC-1234"));
        typeLines(w->MMObsG, kObs);
        type(w->MEDTVencG, QStringLiteral("05112026"));
        type(w->EDCodRecG, QStringLiteral("046-2"));
        type(w->EDInscEstG, QStringLiteral("123.456.789.112"));
        type(w->EDCGCG, QStringLiteral("12.345.678/0001-95"));
        type(w->EDInscrDAG, QStringLiteral("1.234.567-8"));
        type(w->EDNroAinG, QStringLiteral("3.456.789-0"));
        enterAmount(w->neValRecG, QStringLiteral("9876543,21"));
        enterAmount(w->neJurMorG, QStringLiteral("123456,78"));
        enterAmount(w->neMulMorG, QStringLiteral("98765,43"));
        enterAmount(w->neHonor, QStringLiteral("4321,00"));
    }

    // The page the print put on paper, recorded again from the same window.
    TRLReport *reference(bool darf, std::unique_ptr<QWidget> &holder)
    {
        TRLReport *report = nullptr;
        if (darf) {
            auto *form = new TfrmLayOutDARF;
            holder.reset(form);
            w->frmLayOutDARF = form;
            w->fCorDarf(w->CorDarf);
            report = form->RLDarf;
        } else {
            auto *form = new TfrmLayOutGARE;
            holder.reset(form);
            w->frmLayOutGARE = form;
            w->fCorGare(w->CorGare);
            report = form->QRGARE;
        }
        report->Prepare();
        return report;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_cups.IsRunning(), qPrintable("no private CUPS scheduler: " + m_cups.Error()));
        QVERIFY(m_cups.AddPdfQueue(QStringLiteral("ZavenorPDF")));
        RLPrinter().Refresh();
    }

    void init()
    {
        w = ShowMainWindow();
        w->cbComLayOut->setChecked(true);
    }

    void cleanup()
    {
        delete w;
        w = nullptr;
    }

    void printsBothCopiesOnA4_data()
    {
        QTest::addColumn<bool>("darf");
        QTest::addColumn<bool>("colour");
        QTest::addColumn<bool>("accelerator");
        QTest::newRow("DARF colour") << true << true << false;
        QTest::newRow("DARF black and white") << true << false << true;
        QTest::newRow("GARE colour") << false << true << true;
        QTest::newRow("GARE black and white") << false << false << false;
    }

    void printsBothCopiesOnA4()
    {
        QFETCH(bool, darf);
        QFETCH(bool, colour);
        QFETCH(bool, accelerator);
        darf ? enterDarf() : enterGare();
        QTest::mouseClick(colour ? w->RBCor : w->RBPB, Qt::LeftButton);

        PrintedPage::DialogAnswerer answers;
        const int before = RLPrinter().LastJobId();
        if (accelerator)
            QTest::keyClick(focused(), Qt::Key_I, Qt::AltModifier);
        else
            QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(answers.dialogs > 0, PrivateCups::scaled(10000));
        QTRY_VERIFY_WITH_TIMEOUT(!answers.texts.isEmpty(), PrivateCups::scaled(30000));
        QCOMPARE(answers.texts, QStringList(QStringLiteral("Ok. Impressão efetuada.")));
        QCOMPARE(answers.titles, QStringList(QStringLiteral("Information")));
        QCOMPARE(w->focusWidget(), darf ? static_cast<QWidget *>(w->EdNome) : w->EdNomeG);
        const int job = RLPrinter().LastJobId();
        QVERIFY(job != before);
        const QString printed = m_cups.WaitForJob(job);
        QVERIFY2(!printed.isEmpty(), "the queue wrote no PDF");
        const QString submitted = m_cups.SubmittedDocument(job);
        QVERIFY2(QFile::exists(submitted), qPrintable(submitted));
        const QString keep = qEnvironmentVariable("ZAVENOR_SLIPS_PDF_DIR");
        if (!keep.isEmpty()) {
            const QString target = keep + QLatin1Char('/') + QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-');
            QFile::remove(target + ".pdf");
            QFile::copy(printed, target + ".pdf");
        }
        // The job carries the report's title (cups-pdf writes it into the PDF).
        QVERIFY(PdfInspect::run(QStringLiteral("pdfinfo"), {printed})
                    .contains(darf ? QStringLiteral("Zavenor - DARF") : QStringLiteral("Zavenor - GARE")));
        for (const QString &pdf : {submitted, printed}) {
            const QString sheet = PdfInspect::notOneSheetOf(pdf, 210, 297);
            QVERIFY2(sheet.isEmpty(), qPrintable(sheet));
        }

        std::unique_ptr<QWidget> holder;
        TRLReport *report = reference(darf, holder);
        TRLGraphicSurface *page = report->Pages()->Pages(0);
        QVERIFY(page);

        // Every entered value reaches both copies (the memos line by line).
        QStringList entered;
        if (darf) {
            entered = {kName, "31/12/2025", "12.345.678/0001-95", "2089", "9876543210", "15/01/2026",
                       "1.234.567,89", "246.913,58", "98.765,43", "1.580.246,90"};
        } else {
            entered = QStringList{kName, kAddress, QString::fromUtf8("SÃO JOSÉ DO RIO PRETO"), "SP", "(17) 3234-5678",
                                  "123.456.789", "ABC-1234", "046-2", "123.456.789.112", "1.234.567-8", "3.456.789-0",
                                  "9.876.543,21", "123.456,78", "98.765,43", "4.321,00", "10.103.086,42"}
                + kTrib + kObs;
        }
        for (const QString &value : entered)
            QVERIFY2(countTexts(page, value) == 2, qPrintable(value));

        // Every caption and value where the replay puts it: x and y on the submitted PDF; x on
        // what the queue wrote (its fonts move text tops a little, so y only tells the copies apart).
        int checked = 0;
        QStringList wrong = PrintedPage::misplaced(page, PdfInspect::words(submitted), 2, 2, &checked);
        QVERIFY2(wrong.isEmpty(), qPrintable("submitted: " + wrong.join("; ")));
        QVERIFY2(checked >= (darf ? 80 : 150), qPrintable(QString::number(checked)));
        wrong = PrintedPage::misplaced(page, PdfInspect::words(printed), 2, 8);
        QVERIFY2(wrong.isEmpty(), qPrintable("printed: " + wrong.join("; ")));

        const QString raster = m_cups.root() + QStringLiteral("/raster");
        PdfInspect::run(QStringLiteral("pdftoppm"), {"-r", "96", "-png", "-singlefile", printed, raster});
        const QImage image(raster + QStringLiteral(".png"));
        QCOMPARE(image.size(), QSize(794, 1123));
        darf ? PrintedPage::checkDarfInks(image, colour) : checkGareInks(image, colour);
    }

private:
    static void checkGareInks(const QImage &image, bool colour)
    {
        for (int dy : {0, 409}) {
            const Inks bar = inksOnPage(image, QRect(541, 120 + dy, 5, 250));
            QVERIFY2(colour ? bar.green > 800 : bar.grey > 800, qPrintable(QString::number(bar.grey)));
            const Inks mark = inksOnPage(image, QRect(402, 44 + dy, 104, 31));
            QVERIFY(colour ? mark.green > 1500 : mark.black > 1500);
            const Inks crest = inksOnPage(image, QRect(28, 43 + dy, 47, 58));
            QVERIFY(colour ? crest.vivid > 200 : crest.vivid == 0);
            const Inks frameLeft = inksOnPage(image, QRect(100, 37 + dy, 300, 3));
            QVERIFY(colour ? frameLeft.green > 200 : frameLeft.black > 200);
            QCOMPARE(colour ? frameLeft.black : frameLeft.green, 0);
            // The masks open field 01: no frame over the corner.
            const Inks corner = inksOnPage(image, QRect(530, 36 + dy, 238, 5));
            QCOMPARE(corner.black + corner.green + corner.grey, 0);
        }
    }
};

int main(int argc, char **argv)
{
    TZavenorApplication app(argc, argv);
    TestLayoutPrint t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_layoutprint.moc"
