// The Print command with "Imprimir em segundo plano" chosen: the document window goes at once
// while its pages are still printing, a failure after the confirmation reaches the error box on
// the main thread, and a second print meanwhile is refused in words the user understands.
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "report/base/RLHost.h"
#include "report/output/RLFilterThread.h"
#include "report/output/RLPrintDialog.h"
#include "report/output/RLPrinters.h"
#include "slips/pDadosDARF.h"
#include "support/FakePrinterService.h"
#include "support/PdfInspect.h"
#include "../slips/PrintedPage.h"
#include "WindowDriver.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace WindowDriver;

namespace {

// Accepts the print dialog with the background choice ticked and answers every message box.
struct BackgroundAnswerer : PrintedPage::DialogAnswerer
{
    BackgroundAnswerer() { background = true; }
};

int liveDarfWindows()
{
    int n = 0;
    for (QWidget *widget : QApplication::allWidgets())
        n += qobject_cast<TfrmDadosDARF *>(widget) != nullptr;
    return n;
}

} // namespace

class TestBackgroundPrint : public QObject
{
    Q_OBJECT

    TfrmZavenor *w = nullptr;
    std::shared_ptr<FakePrinterState> state;
    std::shared_ptr<QSemaphore> gate;
    std::shared_ptr<QSemaphore> entered;
    QTemporaryDir dir;

    QStringList sentTexts(int index) { return PdfInspect::texts(SaveSentDocument(*state, index, dir.path())); }

private slots:
    void init()
    {
        gate = std::make_shared<QSemaphore>();
        entered = std::make_shared<QSemaphore>();
        state = InstallFakePrinter(gate, entered);
        w = ShowMainWindow();
        w->cbComLayOut->setChecked(false);
        w->EdNome->setText(QStringLiteral("Maria Conceição"));
    }

    void cleanup()
    {
        gate->release(100);
        RLFinishBackgroundRuns();
        RLSetApplicationClosing(false);
        delete w;
        w = nullptr;
    }

    void outlivesReleasedWindow()
    {
        BackgroundAnswerer answers;
        const int before = liveDarfWindows();
        QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(answers.texts, QStringList(QStringLiteral("Ok. Impressão efetuada.")), 20000);
        // The print is held before its job: the window has gone while its pages wait.
        QTRY_VERIFY_WITH_TIMEOUT(entered->available() > 0, 20000);
        QVERIFY(RLBackgroundRunning());
        QCOMPARE(liveDarfWindows(), before);
        gate->release(100);
        QTRY_VERIFY_WITH_TIMEOUT(!RLBackgroundRunning(), 20000);
        QCOMPARE(state->sent.size(), 1);
        QVERIFY(sentTexts(0).contains(QStringLiteral("Conceição")));
        QCOMPARE(answers.titles, QStringList(QStringLiteral("Information")));
    }

    void failureAfterConfirmation()
    {
        state->submitFailure = QStringLiteral("A impressora GuiaPDF recusou o trabalho.");
        BackgroundAnswerer answers;
        gate->release(100);
        QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(answers.texts.size(), 2, 20000);
        // The failure may come before or after the confirmation; either way in the error box.
        QCOMPARE(answers.titles.count(QStringLiteral("Error")), 1);
        QCOMPARE(answers.titles.count(QStringLiteral("Information")), 1);
        QVERIFY(answers.texts.contains(state->submitFailure));
        QTRY_VERIFY(!RLBackgroundRunning());
        QCOMPARE(w->EdNome->text(), QStringLiteral("Maria Conceição"));
    }

    void secondPrintMeanwhile()
    {
        BackgroundAnswerer answers;
        QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(entered->available() > 0, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(answers.texts.size(), 1, 20000);
        QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(answers.texts.size(), 2, 20000);
        QCOMPARE(answers.titles.at(1), QStringLiteral("Error"));
        QVERIFY2(answers.texts.at(1).contains(QStringLiteral("segundo plano")), qPrintable(answers.texts.at(1)));
        // Refused before the dialog: the printer in use was not touched.
        QCOMPARE(answers.dialogs, 1);
        gate->release(100);
        QTRY_VERIFY_WITH_TIMEOUT(!RLBackgroundRunning(), 20000);
        QCOMPARE(state->sent.size(), 1);
    }
};

int main(int argc, char **argv)
{
    TZavenorApplication app(argc, argv);
    TestBackgroundPrint t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_backgroundprint.moc"
