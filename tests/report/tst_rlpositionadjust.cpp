// A printer's position adjustment in the engine: what a settings file may hold, the nudge the
// spool filter gives every page, the adjustment dialog's fields and test page, and its button in
// the print dialog. Settings go to a folder of this run's own. With $ZAVENOR_SHOTS_DIR set (under
// Xvfb), `screenshots` takes pictures of both dialogs.
#include "report/base/RLConsts.h"
#include "report/output/RLFilterThread.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPositionDialog.h"
#include "report/output/RLPrintDialog.h"
#include "report/output/RLPrintOffsets.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLSpoolFilter.h"
#include "report/output/RLTestPage.h"
#include "support/FakePrinterService.h"
#include "support/PdfInspect.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

namespace {

const QString org = QStringLiteral("Morvath");

// Each row writes a file of an application of its own, so that no earlier content is cached.
void writeSettings(const QString &application, const QByteArray &text)
{
    const QString file = QSettings(org, application).fileName();
    QDir().mkpath(QFileInfo(file).path());
    QFile f(file);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text);
}

// A one-page store with the word "Marca" at report pixels (96, 96).
TRLGraphicStorage *markedStore(QObject *owner, int orientation, double widthMm, double heightMm)
{
    auto *store = new TRLGraphicStorage(owner);
    store->SetOrientation(orientation);
    store->SetPaperWidth(widthMm);
    store->SetPaperHeight(heightMm);
    const bool landscape = orientation == 2;
    auto *page = new TRLGraphicSurface;
    page->SetWidth(qRound((landscape ? heightMm : widthMm) * 96 / 25.4));
    page->SetHeight(qRound((landscape ? widthMm : heightMm) * 96 / 25.4));
    page->SetOrientation(orientation);
    page->SetPaperWidth(widthMm);
    page->SetPaperHeight(heightMm);
    page->TextRect(TRLRect(96, 96, 400, 120), 96, 96, QStringLiteral("Marca"));
    store->Add(page);
    return store;
}

QRectF wordMm(const QString &pdf, const QString &text)
{
    for (const PdfWord &w : PdfInspect::words(pdf))
        if (w.text == text)
            return w.boxMm();
    return QRectF();
}

TRLTestPageLayout slipLayout()
{
    return {211, 102, 1, {TRLRect(34, 178, 412, 196), TRLRect(589, 49, 757, 67)}};
}

} // namespace

char *toString(const TRLPrintOffset &offset)
{
    return qstrdup(qPrintable(QStringLiteral("(%1; %2) mm").arg(offset.XMm).arg(offset.YMm)));
}

class TestRLPositionAdjust : public QObject
{
    Q_OBJECT

    std::shared_ptr<FakePrinterState> m_printers;
    QTemporaryDir m_pdfs;

    TRLPrintOffsetStore &store() { return *RLPrintOffsetStore(); }

private slots:
    void init()
    {
        m_printers = InstallFakePrinter();
        m_printers->queues.append(LocalQueue(QStringLiteral("Sala2"), QStringLiteral("ipp://10.0.0.2/ipp")));
        RLPrinter().Refresh();
        QFile::remove(QSettings(org, QStringLiteral("Zavenor")).fileName());
        SetRLPrintOffsetStore(std::make_unique<TRLPrintOffsetStore>(org, QStringLiteral("Zavenor")));
        RLPrintParams().SetTestPage(slipLayout());
    }

    void cleanup()
    {
        // A test page still running holds the fake printer.
        QTRY_VERIFY_WITH_TIMEOUT(!RLBackgroundRunning(), 20000);
    }

    void settingsFileIsChecked_data()
    {
        QTest::addColumn<QByteArray>("values");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("as the program writes it") << QByteArray("GuiaPDF\\x_mm=1.5\nGuiaPDF\\y_mm=-2.0") << 1.5 << -2.0;
        QTest::newRow("the limits") << QByteArray("GuiaPDF/x_mm=-20\nGuiaPDF/y_mm=20.0") << -20.0 << 20.0;
        QTest::newRow("finer than a step") << QByteArray("GuiaPDF/x_mm=0.26\nGuiaPDF/y_mm=-0.04") << 0.3 << 0.0;
        // A bad value is ignored on its own: the other axis still applies.
        QTest::newRow("text") << QByteArray("GuiaPDF/x_mm=muito\nGuiaPDF/y_mm=-2.0") << 0.0 << -2.0;
        QTest::newRow("a step beyond") << QByteArray("GuiaPDF/x_mm=-20.1\nGuiaPDF/y_mm=20.1") << 0.0 << 0.0;
        QTest::newRow("nan, inf") << QByteArray("GuiaPDF/x_mm=nan\nGuiaPDF/y_mm=inf") << 0.0 << 0.0;
        QTest::newRow("decimal comma") << QByteArray("GuiaPDF/x_mm=1,5\nGuiaPDF/y_mm=\"1,5\"") << 0.0 << 0.0;
        QTest::newRow("endless digits") << "GuiaPDF/x_mm=" + QByteArray(100000, '1') << 0.0 << 0.0;
        QTest::newRow("another printer's") << QByteArray("Sala2/x_mm=1.5\nSala2/y_mm=-2.0") << 0.0 << 0.0;
    }

    void settingsFileIsChecked()
    {
        QFETCH(QByteArray, values);
        QFETCH(double, x);
        QFETCH(double, y);
        static int row = 0;
        const QString application = QStringLiteral("Zavenor-%1").arg(++row);
        writeSettings(application, "[AjustePosicao]\n" + values + "\n");
        QCOMPARE(TRLPrintOffsetStore(org, application).Offset(QStringLiteral("GuiaPDF")), (TRLPrintOffset{x, y}));
    }

    // Where the word lands on the document handed to the printer service, against the same page
    // printed before a nudge was kept.
    void spoolFilterNudgesEveryPage_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<double>("heightMm");
        QTest::addColumn<bool>("testPage");
        QTest::addColumn<double>("dx");
        QTest::addColumn<double>("dy");
        QTest::newRow("A4, full layout") << 1 << 297.0 << false << 1.5 << -2.0;
        // Right and down as the page is drawn, whichever way the sheet goes through.
        QTest::newRow("landscape") << 2 << 297.0 << false << 1.5 << -2.0;
        QTest::newRow("a test page's own nudge") << 1 << 102.0 << true << -20.0 << 20.0;
    }

    void spoolFilterNudgesEveryPage()
    {
        QFETCH(int, orientation);
        QFETCH(double, heightMm);
        QFETCH(bool, testPage);
        QFETCH(double, dx);
        QFETCH(double, dy);
        QObject owner;
        TRLSpoolFilter filter(&owner);
        filter.Run(markedStore(&owner, orientation, 210, heightMm), 1, -1);
        QVERIFY(store().SetOffset(QStringLiteral("GuiaPDF"), {1.5, -2.0}));
        if (testPage)
            filter.SetFixedOffset(TRLPrintOffset{dx, dy});
        filter.Run(markedStore(&owner, orientation, 210, heightMm), 1, -1);
        QCOMPARE(m_printers->sent.size(), 2);
        const QRectF plain = wordMm(SaveSentDocument(*m_printers, 0, m_pdfs.path()), QStringLiteral("Marca"));
        const QRectF nudged = wordMm(SaveSentDocument(*m_printers, 1, m_pdfs.path()), QStringLiteral("Marca"));
        QVERIFY(!plain.isNull() && !nudged.isNull());
        QVERIFY2(qAbs(nudged.left() - plain.left() - dx) < 0.1 && qAbs(nudged.top() - plain.top() - dy) < 0.1,
                 qPrintable(QStringLiteral("%1, %2").arg(nudged.left() - plain.left()).arg(nudged.top() - plain.top())));
    }

    void fieldsTakeMillimetres_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "1,5" << 1.5;
        // With Brazilian settings a full stop would group thousands (15): here it is the decimal.
        QTest::newRow("full stop") << "1.5" << 1.5;
        QTest::newRow("limit") << "-20,0" << -20.0;
        QTest::newRow("beyond the limit") << "25" << 2.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("second decimal") << "0,25" << 0.2;
    }

    void fieldsTakeMillimetres()
    {
        QFETCH(QString, typed);
        QFETCH(double, value);
        TRLPositionDialog dialog(QStringLiteral("GuiaPDF"), slipLayout());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.EditHorizontal->selectAll();
        QTest::keyClicks(dialog.EditHorizontal, typed);
        QCOMPARE(dialog.FieldOffset().XMm, value);
        QCOMPARE(dialog.EditHorizontal->text(), QLocale().toString(value, 'f', 1) + QStringLiteral(" mm"));
        QCOMPARE(dialog.LabelRange->text(), QStringLiteral("De -20,0 a +20,0 mm, em passos de 0,1 mm."));
    }

    // The test page goes to the dialog's printer with the fields' nudge, in the background, and
    // leaves the shared printer's selection alone; the button waits for the print to end.
    void testPagePrintsInTheBackground()
    {
        auto gate = std::make_shared<QSemaphore>();
        auto entered = std::make_shared<QSemaphore>();
        m_printers = InstallFakePrinter(gate, entered);
        m_printers->queues.append(LocalQueue(QStringLiteral("Sala2"), QStringLiteral("ipp://10.0.0.2/ipp")));
        RLPrinter().Refresh();
        const int selected = RLPrinter().PrinterIndex();
        TRLPositionDialog dialog(QStringLiteral("Sala2"), slipLayout());
        for (const TRLPrintOffset &typed : {TRLPrintOffset(), TRLPrintOffset{1.5, -2.0}}) {
            dialog.EditHorizontal->setValue(typed.XMm);
            dialog.EditVertical->setValue(typed.YMm);
            dialog.ButtonTestPage->click();
            QVERIFY(entered->tryAcquire(1, 20000));
            QVERIFY(!dialog.ButtonTestPage->isEnabled());
            gate->release();
            QTRY_VERIFY_WITH_TIMEOUT(dialog.ButtonTestPage->isEnabled(), 20000);
        }
        QCOMPARE(m_printers->sent.size(), 2);
        QCOMPARE(m_printers->sent.at(1).job.Queue, QStringLiteral("Sala2"));
        QCOMPARE(RLPrinter().PrinterIndex(), selected);
        QCOMPARE(store().Offset(QStringLiteral("Sala2")), TRLPrintOffset());
        const QString nudged = SaveSentDocument(*m_printers, 1, m_pdfs.path());
        QVERIFY(PdfInspect::notOneSheetOf(nudged, 211, 102).isEmpty());
        // The ruler moves with the rest of the page.
        const QRectF before = wordMm(SaveSentDocument(*m_printers, 0, m_pdfs.path()), QStringLiteral("10"));
        const QRectF after = wordMm(nudged, QStringLiteral("10"));
        QVERIFY(!before.isNull() && !after.isNull());
        QVERIFY(qAbs(after.left() - before.left() - 1.5) < 0.1 && qAbs(after.top() - before.top() + 2.0) < 0.1);
    }

    void printDialogOpensTheSelectedPrinters()
    {
        TRLPrintDialog dialog;
        dialog.FillPrinterList();
        dialog.FillFilterList();
        dialog.LoadFromParams();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.ButtonAdjustPosition->text(), QStringLiteral("Ajustar posição..."));
        // Last of its box in the tab order, so the others keep their places.
        dialog.CheckBoxPrintInBackground->setFocus();
        QTest::keyClick(dialog.CheckBoxPrintInBackground, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog.ButtonAdjustPosition);

        dialog.ComboBoxPrinterNames->setCurrentIndex(1);
        QString shown;
        QTimer::singleShot(0, [&] {
            if (auto *adjust = qobject_cast<TRLPositionDialog *>(QApplication::activeModalWidget())) {
                shown = adjust->LabelPrinter->text();
                adjust->EditHorizontal->setValue(-0.5);
                adjust->ButtonOk->click();
            }
        });
        dialog.ButtonAdjustPosition->click();
        QCOMPARE(shown, QStringLiteral("Impressora: Sala2"));
        QCOMPARE(store().Offset(QStringLiteral("Sala2")), (TRLPrintOffset{-0.5, 0}));
        QCOMPARE(store().Offset(QStringLiteral("GuiaPDF")), TRLPrintOffset());
        // Choosing a printer there is not choosing it for the print: only OK does that.
        QCOMPARE(RLPrinter().PrinterIndex(), 0);
    }

    void screenshots()
    {
        const QString folder = qEnvironmentVariable("ZAVENOR_SHOTS_DIR");
        if (folder.isEmpty())
            QSKIP("pictures only on request");
        QVERIFY(store().SetOffset(QStringLiteral("GuiaPDF"), {1.5, -2.0}));
        RLPrintParams().SetFromPage(1);
        RLPrintParams().SetToPage(1);
        RLPrintParams().SetMaxPage(1);
        TRLPrintDialog dialog;
        int status = -1;
        const auto shoot = [&status](QWidget *window, const QString &file) {
            status = QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QString::number(window->winId()), file});
        };
        QTimer::singleShot(300, [&] {
            shoot(&dialog, folder + QStringLiteral("/dialogo-impressao-ajuste.png"));
            QTimer::singleShot(300, [&] {
                QWidget *adjust = QApplication::activeModalWidget();
                if (adjust && adjust != &dialog) {
                    shoot(adjust, folder + QStringLiteral("/ajuste-posicao.png"));
                    static_cast<QDialog *>(adjust)->reject();
                }
                dialog.reject();
            });
            dialog.ButtonAdjustPosition->click();
        });
        dialog.Execute();
        QCOMPARE(status, 0);
    }
};

int main(int argc, char **argv)
{
    // Settings of this run only: never the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    RLLoadMessages(mlPortuguese);
    TestRLPositionAdjust test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_rlpositionadjust.moc"
