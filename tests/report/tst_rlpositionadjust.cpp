// The position adjustment of a printer: the settings it is kept in (and what a hand-edited file
// may hold), the nudge the spool filter gives every page, the adjustment dialog's fields and
// test page, and its button in the print dialog. Settings go to a folder of this test's own.
// With $ZAVENOR_SHOTS_DIR set (under Xvfb), `screenshots` takes pictures of both dialogs.
#include "report/RLConsts.h"
#include "report/output/RLFilterThread.h"
#include "report/output/RLMetaFile.h"
#include "report/output/RLMetaFileObjects.h"
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
#include <QGroupBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

namespace {

const QString org = QStringLiteral("Morvath");

// A settings file of an application of its own, so that no earlier content is cached.
QString writeSettings(const QString &application, const QByteArray &text)
{
    const QString file = QSettings(org, application).fileName();
    QDir().mkpath(QFileInfo(file).path());
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    f.write(text);
    return file;
}

// A one-page store with the word "Marca" at report pixels (96, 96) on the given paper.
TRLGraphicStorage *markedStore(QObject *owner, int orientation, double widthMm, double heightMm)
{
    auto *store = new TRLGraphicStorage(owner);
    store->SetOrientation(orientation);
    store->SetPaperWidth(widthMm);
    store->SetPaperHeight(heightMm);
    auto *page = new TRLGraphicSurface;
    const bool landscape = orientation == 2;
    page->SetWidth(qRound((landscape ? heightMm : widthMm) * 96 / 25.4));
    page->SetHeight(qRound((landscape ? widthMm : heightMm) * 96 / 25.4));
    page->SetOrientation(orientation);
    page->SetPaperWidth(widthMm);
    page->SetPaperHeight(heightMm);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    page->SetFont(font);
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
    TRLTestPageLayout layout;
    layout.PaperWidthMm = 211;
    layout.PaperHeightMm = 102;
    layout.Boxes = {TRLRect(34, 178, 412, 196), TRLRect(589, 49, 757, 67)};
    return layout;
}

} // namespace

char *toString(const TRLPrintOffset &offset)
{
    return qstrdup(qPrintable(QStringLiteral("(%1; %2) mm").arg(offset.XMm).arg(offset.YMm)));
}

Q_DECLARE_METATYPE(std::optional<TRLPrintOffset>)

class TestRLPositionAdjust : public QObject
{
    Q_OBJECT

    std::shared_ptr<FakePrinterState> m_printers;
    QTemporaryDir m_pdfs;

    void installStore(const QString &application = QStringLiteral("Zavenor"))
    {
        SetRLPrintOffsetStore(std::make_unique<TRLPrintOffsetStore>(org, application));
    }

private slots:
    void init()
    {
        m_printers = InstallFakePrinter();
        m_printers->queues.append(LocalQueue(QStringLiteral("Sala2"), QStringLiteral("ipp://10.0.0.2/ipp")));
        RLPrinter().Refresh();
        QFile::remove(QSettings(org, QStringLiteral("Zavenor")).fileName());
        installStore();
        RLPrintParams().SetTestPage(slipLayout());
    }

    void cleanup()
    {
        // A test page still running holds the fake printer.
        QTRY_VERIFY_WITH_TIMEOUT(!RLBackgroundRunning(), 20000);
    }

    void settingsFileIsChecked_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("as the program writes it") << QByteArray("[AjustePosicao]\nGuiaPDF\\x_mm=1.5\nGuiaPDF\\y_mm=-2.0\n") << 1.5 << -2.0;
        QTest::newRow("by hand, with a slash") << QByteArray("[AjustePosicao]\nGuiaPDF/x_mm=1.5\nGuiaPDF/y_mm=-2.0\n") << 1.5 << -2.0;
        QTest::newRow("the limits themselves") << QByteArray("[AjustePosicao]\nGuiaPDF/x_mm=-20\nGuiaPDF/y_mm=20.0\n") << -20.0 << 20.0;
        QTest::newRow("finer than a step") << QByteArray("[AjustePosicao]\nGuiaPDF/x_mm=0.26\nGuiaPDF/y_mm=-0.04\n") << 0.3 << 0.0;
        // Each bad value is ignored on its own: the other axis still applies.
        QTest::newRow("text") << QByteArray("[AjustePosicao]\nGuiaPDF/x_mm=muito\nGuiaPDF/y_mm=-2.0\n") << 0.0 << -2.0;
        QTest::newRow("huge") << QByteArray("[AjustePosicao]\nGuiaPDF/x_mm=1e308\nGuiaPDF/y_mm=1e309\n") << 0.0 << 0.0;
        QTest::newRow("out of range") << QByteArray("[AjustePosicao]\nGuiaPDF/x_mm=-50\nGuiaPDF/y_mm=20.1\n") << 0.0 << 0.0;
        QTest::newRow("not numbers") << QByteArray("[AjustePosicao]\nGuiaPDF/x_mm=nan\nGuiaPDF/y_mm=inf\n") << 0.0 << 0.0;
        QTest::newRow("decimal comma") << QByteArray("[AjustePosicao]\nGuiaPDF/x_mm=1,5\nGuiaPDF/y_mm=\"1,5\"\n") << 0.0 << 0.0;
        QTest::newRow("a typed value") << QByteArray("[AjustePosicao]\nGuiaPDF/x_mm=@Variant(\\0\\0\\0\\x6?\\xf8\\0\\0\\0\\0\\0\\0)\n") << 0.0 << 0.0;
        QTest::newRow("endless digits") << QByteArray("[AjustePosicao]\nGuiaPDF/x_mm=" + QByteArray(100000, '1') + "\n") << 0.0 << 0.0;
        QTest::newRow("another printer's") << QByteArray("[AjustePosicao]\nSala2/x_mm=1.5\nSala2/y_mm=-2.0\n") << 0.0 << 0.0;
        QTest::newRow("another group") << QByteArray("[General]\nGuiaPDF/x_mm=1.5\n") << 0.0 << 0.0;
        QTest::newRow("not a settings file") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << 0.0 << 0.0;
    }

    void settingsFileIsChecked()
    {
        QFETCH(QByteArray, file);
        QFETCH(double, x);
        QFETCH(double, y);
        const QString application = QStringLiteral("Zavenor-") + QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-');
        QVERIFY(!writeSettings(application, file).isEmpty());
        const TRLPrintOffset offset = TRLPrintOffsetStore(org, application).Offset(QStringLiteral("GuiaPDF"));
        QCOMPARE(offset.XMm, x);
        QCOMPARE(offset.YMm, y);
    }

    void refusedValuesAreNotKept_data()
    {
        QTest::addColumn<QString>("queue");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<bool>("kept");
        QTest::newRow("within") << "GuiaPDF" << 1.5 << -2.0 << true;
        QTest::newRow("limits") << "GuiaPDF" << -20.0 << 20.0 << true;
        QTest::newRow("beyond") << "GuiaPDF" << 20.05 << 0.0 << false;
        QTest::newRow("not a number") << "GuiaPDF" << 0.0 << qQNaN() << false;
        QTest::newRow("no queue") << "" << 1.0 << 1.0 << false;
    }

    void refusedValuesAreNotKept()
    {
        QFETCH(QString, queue);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(bool, kept);
        TRLPrintOffsetStore &store = *RLPrintOffsetStore();
        QVERIFY(store.SetOffset(QStringLiteral("GuiaPDF"), {0.7, 0.7}));
        QCOMPARE(store.SetOffset(queue, {x, y}), kept);
        const TRLPrintOffset expected = kept ? TRLPrintOffset{x, y} : TRLPrintOffset{0.7, 0.7};
        QCOMPARE(store.Offset(QStringLiteral("GuiaPDF")), expected);
    }

    // Another program (or a new start of this one) reads the file as the keys say.
    void keptPerPrinterWithAPoint()
    {
        TRLPrintOffsetStore &store = *RLPrintOffsetStore();
        QVERIFY(store.SetOffset(QStringLiteral("GuiaPDF"), {1.5, -2.0}));
        QVERIFY(store.SetOffset(QStringLiteral("Sala2"), {-0.3, 4.0}));
        QSettings file(store.FileName(), QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("AjustePosicao/GuiaPDF/x_mm")).toString(), QStringLiteral("1.5"));
        QCOMPARE(file.value(QStringLiteral("AjustePosicao/GuiaPDF/y_mm")).toString(), QStringLiteral("-2.0"));
        QCOMPARE(file.value(QStringLiteral("AjustePosicao/Sala2/x_mm")).toString(), QStringLiteral("-0.3"));
        QCOMPARE(file.value(QStringLiteral("AjustePosicao/Sala2/y_mm")).toString(), QStringLiteral("4.0"));
        QVERIFY(store.FileName().endsWith(QStringLiteral("/Morvath/Zavenor.conf")));
        // A printer no longer listed keeps its nudge for when it comes back.
        m_printers->queues.removeLast();
        RLPrinter().Refresh();
        QCOMPARE(TRLPrintOffsetStore(org, QStringLiteral("Zavenor")).Offset(QStringLiteral("Sala2")), (TRLPrintOffset{-0.3, 4.0}));
    }

    // Where the word lands on the document handed to the printer service, against the same page
    // printed without a nudge.
    void spoolFilterNudgesEveryPage_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<double>("widthMm");
        QTest::addColumn<double>("heightMm");
        QTest::addColumn<QString>("queue");
        QTest::addColumn<std::optional<TRLPrintOffset>>("fixed");
        QTest::addColumn<double>("dx");
        QTest::addColumn<double>("dy");
        const std::optional<TRLPrintOffset> none;
        QTest::newRow("slip") << 1 << 211.0 << 102.0 << "GuiaPDF" << none << 1.5 << -2.0;
        QTest::newRow("A4 full layout") << 1 << 210.0 << 297.0 << "GuiaPDF" << none << 1.5 << -2.0;
        // Right and down as the page is drawn, whatever way the sheet goes through.
        QTest::newRow("landscape") << 2 << 210.0 << 297.0 << "GuiaPDF" << none << 1.5 << -2.0;
        QTest::newRow("the other printer") << 1 << 211.0 << 102.0 << "Sala2" << none << -0.3 << 4.0;
        QTest::newRow("a test page's own") << 1 << 211.0 << 102.0 << "GuiaPDF"
                                           << std::optional<TRLPrintOffset>(TRLPrintOffset{-20, 20}) << -20.0 << 20.0;
    }

    void spoolFilterNudgesEveryPage()
    {
        QFETCH(int, orientation);
        QFETCH(double, widthMm);
        QFETCH(double, heightMm);
        QFETCH(QString, queue);
        QFETCH(std::optional<TRLPrintOffset>, fixed);
        QFETCH(double, dx);
        QFETCH(double, dy);
        for (int i = 0; i < m_printers->queues.size(); ++i)
            if (RLPrinter().PrinterNames(i) == queue)
                RLPrinter().SetPrinterIndex(i);
        QObject owner;
        TRLSpoolFilter filter(&owner);
        filter.Run(markedStore(&owner, orientation, widthMm, heightMm), 1, -1);
        QVERIFY(RLPrintOffsetStore()->SetOffset(QStringLiteral("GuiaPDF"), {1.5, -2.0}));
        QVERIFY(RLPrintOffsetStore()->SetOffset(QStringLiteral("Sala2"), {-0.3, 4.0}));
        filter.SetFixedOffset(fixed);
        filter.Run(markedStore(&owner, orientation, widthMm, heightMm), 1, -1);
        QCOMPARE(m_printers->sent.size(), 2);
        QCOMPARE(m_printers->sent.at(1).job.Queue, queue);
        const QRectF plain = wordMm(SaveSentDocument(*m_printers, 0, m_pdfs.path()), QStringLiteral("Marca"));
        const QRectF nudged = wordMm(SaveSentDocument(*m_printers, 1, m_pdfs.path()), QStringLiteral("Marca"));
        QVERIFY(!plain.isNull() && !nudged.isNull());
        QVERIFY2(qAbs(nudged.left() - plain.left() - dx) < 0.1, qPrintable(QString::number(nudged.left() - plain.left())));
        QVERIFY2(qAbs(nudged.top() - plain.top() - dy) < 0.1, qPrintable(QString::number(nudged.top() - plain.top())));
    }

    void noStoreNoNudge()
    {
        QVERIFY(RLPrintOffsetStore()->SetOffset(QStringLiteral("GuiaPDF"), {1.5, -2.0}));
        SetRLPrintOffsetStore(nullptr);
        QObject owner;
        TRLSpoolFilter filter(&owner);
        filter.Run(markedStore(&owner, 1, 211, 102), 1, -1);
        QCOMPARE(filter.Shift(), QPoint(0, 0));
        TRLPrintDialog dialog;
        QVERIFY(dialog.ButtonAdjustPosition->isHidden());
    }

    // The outlines are the boxes themselves; the ruler has a tick every millimetre of both edges.
    void testPageOutlinesEveryBox()
    {
        const TRLTestPageLayout layout = slipLayout();
        const std::unique_ptr<TRLGraphicSurface> page = NewRLTestPage(layout, {1.5, -2.0});
        QCOMPARE(QSize(page->Width(), page->Height()), QSize(797, 386));
        QList<TRLRect> outlines;
        int ticks = 0;
        QStringList texts;
        for (int i = 0; i < page->ObjectCount(); ++i) {
            TRLGraphicObject *object = page->Objects(i);
            if (dynamic_cast<TRLRectangleObject *>(object))
                outlines << object->BoundsRect;
            else if (dynamic_cast<TRLFillRectObject *>(object))
                ++ticks;
            else if (auto *text = dynamic_cast<TRLTextObject *>(object))
                texts << text->Text;
        }
        QCOMPARE(outlines, layout.Boxes);
        QCOMPARE(ticks, (211 + 1) + (102 + 1));
        QVERIFY(texts.contains(QStringLiteral("200")) && texts.contains(QStringLiteral("100")));
        QVERIFY(texts.contains(QStringLiteral("Página de teste - deslocamento horizontal +1,5 mm, vertical -2,0 mm")));
    }

    void fieldsTakeMillimetres_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "1,5" << 1.5;
        // A full stop would group thousands with Brazilian settings (15): it is the decimal here.
        QTest::newRow("full stop") << "1.5" << 1.5;
        QTest::newRow("negative") << "-2" << -2.0;
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
        dialog.EditHorizontal->setFocus();
        dialog.EditHorizontal->selectAll();
        QTest::keyClicks(dialog.EditHorizontal, typed);
        QCOMPARE(dialog.FieldOffset().XMm, value);
        QCOMPARE(dialog.EditHorizontal->text(), QLocale().toString(value, 'f', 1) + QStringLiteral(" mm"));
    }

    void okKeepsCancelDrops_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("Ok") << true;
        QTest::newRow("Cancelar") << false;
    }

    void okKeepsCancelDrops()
    {
        QFETCH(bool, ok);
        QVERIFY(RLPrintOffsetStore()->SetOffset(QStringLiteral("Sala2"), {0.4, 0.4}));
        TRLPositionDialog dialog(QStringLiteral("Sala2"), slipLayout());
        QCOMPARE(dialog.EditHorizontal->value(), 0.4);
        dialog.EditHorizontal->setValue(1.5);
        dialog.EditVertical->setValue(-2.0);
        (ok ? dialog.ButtonOk : dialog.ButtonCancel)->click();
        QCOMPARE(dialog.result(), ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
        const TRLPrintOffset expected = ok ? TRLPrintOffset{1.5, -2.0} : TRLPrintOffset{0.4, 0.4};
        QCOMPARE(RLPrintOffsetStore()->Offset(QStringLiteral("Sala2")), expected);
        QCOMPARE(RLPrintOffsetStore()->Offset(QStringLiteral("GuiaPDF")), TRLPrintOffset());
    }

    void badStoredValueShowsNoNudgeAndTheRange()
    {
        writeSettings(QStringLiteral("Zavenor"), "[AjustePosicao]\nGuiaPDF/x_mm=1e308\nGuiaPDF/y_mm=-50\n");
        TRLPositionDialog dialog(QStringLiteral("GuiaPDF"), slipLayout());
        QCOMPARE(dialog.FieldOffset(), TRLPrintOffset());
        QCOMPARE(dialog.LabelRange->text(), QStringLiteral("De -20,0 a +20,0 mm, em passos de 0,1 mm."));
        QCOMPARE(dialog.EditVertical->minimum(), -20.0);
        QCOMPARE(dialog.EditVertical->maximum(), 20.0);
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
        QCOMPARE(RLPrintOffsetStore()->Offset(QStringLiteral("Sala2")), TRLPrintOffset());
        const QString plain = SaveSentDocument(*m_printers, 0, m_pdfs.path());
        const QString nudged = SaveSentDocument(*m_printers, 1, m_pdfs.path());
        QVERIFY(PdfInspect::notOneSheetOf(nudged, 211, 102).isEmpty());
        // The ruler's "10" moves with the rest of the page.
        const QRectF before = wordMm(plain, QStringLiteral("10"));
        const QRectF after = wordMm(nudged, QStringLiteral("10"));
        QVERIFY(!before.isNull() && !after.isNull());
        QVERIFY(qAbs(after.left() - before.left() - 1.5) < 0.1);
        QVERIFY(qAbs(after.top() - before.top() + 2.0) < 0.1);
    }

    void printDialogOpensTheSelectedPrinters()
    {
        TRLPrintDialog dialog;
        dialog.FillPrinterList();
        dialog.FillFilterList();
        dialog.LoadFromParams();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.ButtonAdjustPosition->isVisible());
        QCOMPARE(dialog.ButtonAdjustPosition->text(), QStringLiteral("Ajustar posição..."));
        // Inside the printer box, right-aligned with the printer list and clear of the other controls' texts.
        QCOMPARE(dialog.ButtonAdjustPosition->parentWidget(), dialog.GroupBoxPrinter);
        QCOMPARE(dialog.ButtonAdjustPosition->geometry().right(), dialog.ComboBoxPrinterNames->geometry().right());
        const QFontMetrics metrics(dialog.CheckBoxPrintToFile->font());
        QVERIFY(dialog.ButtonAdjustPosition->x() > 12 + 20 + metrics.horizontalAdvance(dialog.CheckBoxPrintInBackground->text()));
        QVERIFY(!dialog.ButtonAdjustPosition->geometry().intersects(dialog.ComboBoxOptions->geometry()));
        // It comes after the other controls of its box.
        dialog.CheckBoxPrintInBackground->setFocus();
        QTest::keyClick(dialog.CheckBoxPrintInBackground, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog.ButtonAdjustPosition);

        dialog.ComboBoxPrinterNames->setCurrentIndex(1);
        QString queueShown;
        QTimer::singleShot(0, [&] {
            auto *adjust = qobject_cast<TRLPositionDialog *>(QApplication::activeModalWidget());
            if (!adjust)
                return;
            queueShown = adjust->LabelPrinter->text();
            adjust->EditHorizontal->setValue(-0.5);
            adjust->ButtonOk->click();
        });
        dialog.ButtonAdjustPosition->click();
        QCOMPARE(queueShown, QStringLiteral("Impressora: Sala2"));
        QCOMPARE(RLPrintOffsetStore()->Offset(QStringLiteral("Sala2")).XMm, -0.5);
        QCOMPARE(RLPrintOffsetStore()->Offset(QStringLiteral("GuiaPDF")), TRLPrintOffset());
        // Choosing a printer there is not choosing it for the print: only OK does that.
        QCOMPARE(RLPrinter().PrinterIndex(), 0);
    }

    void screenshots()
    {
        const QString folder = qEnvironmentVariable("ZAVENOR_SHOTS_DIR");
        if (folder.isEmpty())
            QSKIP("pictures only on request");
        QVERIFY(RLPrintOffsetStore()->SetOffset(QStringLiteral("GuiaPDF"), {1.5, -2.0}));
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
