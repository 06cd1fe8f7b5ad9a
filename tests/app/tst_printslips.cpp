// The data-only slips printed for real, as a user does it: values typed into the entry window,
// the Print button (or Alt+I), the print dialog accepted, the sheet through a private CUPS queue
// that writes a PDF, checked for its paper and for where the values landed. A stopped queue
// gives an error, no confirmation, and keeps the data. $ZAVENOR_SLIPS_PDF_DIR keeps the PDFs.
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "report/output/RLPrintDialog.h"
#include "report/output/RLPrinters.h"
#include "support/PdfInspect.h"
#include "support/PrivateCups.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/MemoCLX.h"
#include "widgets/NumEditCLX.h"

#include "../slips/PrintedPage.h"
#include "WindowDriver.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

using namespace WindowDriver;
using PrintedPage::DialogAnswerer;

namespace {

constexpr double kMmPerPx = 25.4 / 96;

QRectF wordBox(const QList<PdfWord> &words, const QString &text)
{
    for (const PdfWord &w : words)
        if (w.text == text)
            return w.boxMm();
    return QRectF();
}

} // namespace

class TestPrintSlips : public QObject
{
    Q_OBJECT

    PrivateCups m_cups; // first: before anything asks CUPS about its server
    TfrmZavenor *w = nullptr;

    void printAndFetch(bool accelerator, DialogAnswerer &answers, QString &pdf)
    {
        const int before = RLPrinter().LastJobId();
        if (accelerator)
            QTest::keyClick(focused(), Qt::Key_I, Qt::AltModifier);
        else
            QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(answers.dialogs > 0, PrivateCups::scaled(10000));
        QTRY_VERIFY_WITH_TIMEOUT(!answers.texts.isEmpty(), PrivateCups::scaled(20000));
        if (RLPrinter().LastJobId() == before)
            return;
        pdf = m_cups.WaitForJob(RLPrinter().LastJobId());
        const QString keep = qEnvironmentVariable("ZAVENOR_SLIPS_PDF_DIR");
        if (!keep.isEmpty() && !pdf.isEmpty()) {
            const QString target = keep + QLatin1Char('/') + QString::fromLatin1(QTest::currentTestFunction()) + ".pdf";
            QFile::remove(target);
            QFile::copy(pdf, target);
        }
    }

    static void checkSheet(const QString &pdf)
    {
        const QString sheet = PdfInspect::notOneSheetOf(pdf, 211, 102);
        QVERIFY2(sheet.isEmpty(), qPrintable(sheet));
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
        w->cbComLayOut->setChecked(false);
    }

    void cleanup()
    {
        delete w;
        w = nullptr;
    }

    void darfPrints()
    {
        w->EdNome->setText(QStringLiteral("José Gonçalves da Conceição Araújo"));
        w->mePerAp->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(w->mePerAp, QStringLiteral("31122004"));
        w->edCodRec->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(w->edCodRec, QStringLiteral("0220"));
        enterAmount(w->neValPrinc, QStringLiteral("1234567,89"));
        w->neValMulta->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(w->neValMulta, QStringLiteral("12,3")); // still being typed at Alt+I
        DialogAnswerer answers;
        QString pdf;
        printAndFetch(true, answers, pdf);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(answers.texts, QStringList(QStringLiteral("Ok. Impressão efetuada.")));
        QCOMPARE(answers.titles, QStringList(QStringLiteral("Information")));
        QVERIFY2(!pdf.isEmpty(), "the queue wrote no PDF");
        checkSheet(pdf);
        const QList<PdfWord> words = PdfInspect::words(pdf);
        // Left-aligned text starts half a blank into its box; right-aligned ends there.
        const QRectF name = wordBox(words, QStringLiteral("José"));
        QVERIFY2(qAbs(name.left() - (15 + 19) * kMmPerPx) < 3 * kMmPerPx, qPrintable(QString::number(name.left())));
        QVERIFY2(qAbs(name.top() - (19 + 159) * kMmPerPx) < 4 * kMmPerPx, qPrintable(QString::number(name.top())));
        const struct { const char *text; int right, top; } values[] = {
            {"31/12/2004", 15 + 614 + 128, 19 + 30},
            {"0220", 15 + 574 + 168, 19 + 94},
            {"1.234.567,89", 15 + 574 + 168, 19 + 193},
            {"12,30", 15 + 574 + 168, 19 + 223},
            {"1.234.580,19", 15 + 574 + 168, 19 + 287},
        };
        for (const auto &v : values) {
            const QRectF box = wordBox(words, QString::fromUtf8(v.text));
            QVERIFY2(!box.isNull(), v.text);
            QVERIFY2(box.right() <= v.right * kMmPerPx && box.right() > (v.right - 8) * kMmPerPx,
                     qPrintable(QStringLiteral("%1 ends at %2 mm").arg(v.text).arg(box.right())));
            QVERIFY2(qAbs(box.top() - v.top * kMmPerPx) < 4 * kMmPerPx, v.text);
        }
        QCOMPARE(w->focusWidget(), w->EdNome);
        QCOMPARE(w->EdNome->text(), QStringLiteral("José Gonçalves da Conceição Araújo"));
    }

    void gareDateGroupsPrintCentred()
    {
        w->PC1->setCurrentWidget(w->tsGare);
        w->EdNomeG->setText(QStringLiteral("Indústria e Comércio São João Ltda."));
        w->MEDTVencG->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(w->MEDTVencG, QStringLiteral("05112004"));
        enterAmount(w->neValRecG, QStringLiteral("9876543,21"));
        DialogAnswerer answers;
        QString pdf;
        printAndFetch(false, answers, pdf);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(answers.texts, QStringList(QStringLiteral("Ok. Impressão efetuada.")));
        QVERIFY2(!pdf.isEmpty(), "the queue wrote no PDF");
        checkSheet(pdf);
        const QList<PdfWord> words = PdfInspect::words(pdf);
        const struct { const char *text; int left, width; } groups[] = {{"05", 632, 34}, {"11", 680, 34}, {"2004", 720, 38}};
        for (const auto &g : groups) {
            const QRectF box = wordBox(words, QString::fromLatin1(g.text));
            QVERIFY2(!box.isNull(), g.text);
            QVERIFY2(qAbs(box.center().x() - (g.left + g.width / 2.0) * kMmPerPx) < 3 * kMmPerPx,
                     qPrintable(QStringLiteral("%1 centred at %2 mm").arg(g.text).arg(box.center().x())));
            QVERIFY2(qAbs(box.top() - 67 * kMmPerPx) < 4 * kMmPerPx, g.text);
        }
        const QRectF total = wordBox(words, QStringLiteral("9.876.543,21"));
        QVERIFY(!total.isNull());
        QVERIFY(total.right() <= (574 + 187) * kMmPerPx);
        QCOMPARE(w->focusWidget(), w->EdNomeG);
    }

    void cancelShowsNothing()
    {
        w->EdNome->setText(QStringLiteral("Fulano"));
        DialogAnswerer answers;
        answers.accept = false;
        const int before = RLPrinter().LastJobId();
        QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        QTRY_VERIFY(answers.dialogs > 0);
        settle();
        QVERIFY(answers.texts.isEmpty());
        QCOMPARE(RLPrinter().LastJobId(), before);
        QCOMPARE(w->focusWidget(), w->BBImprimir);
        QCOMPARE(w->EdNome->text(), QStringLiteral("Fulano"));
    }

    void refusedQueueKeepsTheData()
    {
        QVERIFY(m_cups.AddPdfQueue(QStringLiteral("ZavenorOff")));
        QProcess::execute(QStringLiteral("cupsdisable"), {QStringLiteral("ZavenorOff")});
        QProcess::execute(QStringLiteral("cupsreject"), {QStringLiteral("ZavenorOff")});
        RLPrinter().Refresh();
        // The printer chosen before is kept by name: choose the refusing one.
        RLPrinter().SetPrinterIndex(RLPrinter().Printers().indexOf(QRegularExpression(QStringLiteral("ZavenorOff\\|.*"))));
        QCOMPARE(RLPrinter().PrinterName(), QStringLiteral("ZavenorOff"));
        w->EdNome->setText(QStringLiteral("Fulano"));
        DialogAnswerer answers;
        QString pdf;
        printAndFetch(false, answers, pdf);
        QVERIFY(pdf.isEmpty());
        QVERIFY(!answers.texts.contains(QStringLiteral("Ok. Impressão efetuada.")));
        QCOMPARE(answers.titles, QStringList(QStringLiteral("Error")));
        QCOMPARE(w->EdNome->text(), QStringLiteral("Fulano"));
        QVERIFY(m_cups.AddPdfQueue(QStringLiteral("ZavenorPDF"))); // the default again
        RLPrinter().Refresh();
    }
};

int main(int argc, char **argv)
{
    TZavenorApplication app(argc, argv);
    TestPrintSlips t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_printslips.moc"
