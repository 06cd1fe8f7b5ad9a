// The preview window: pages shown through the printer's replay at a known zoom, page moves and
// zoom by key and wheel, pages replayed at the screen's pixel ratio, and the way back to the print
// dialog (Esc) or on to the print (Imprimir, printing once, the report prepared once, its
// progress window over the preview). Writes the preview of the three-page sample report to
// $ZAVENOR_PREVIEW_PNG when set.
#include "report/RLConsts.h"
#include "report/RLReport.h"
#include "report/output/RLFeedBack.h"
#include "report/output/RLFilters.h"
#include "report/output/RLMetaFile.h"
#include "report/output/RLPdfFileDialog.h"
#include "report/output/RLPdfFilter.h"
#include "report/output/RLPreview.h"
#include "report/output/RLPrintDialog.h"
#include "support/FakePrinterService.h"

#include "DataDemoReport.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QProcess>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QTimer>
#include <QtTest>

namespace {

// One page with a black block from (100, 100) to (200, 150) report pixels.
TRLGraphicStorage *blockStore(QObject *owner)
{
    auto *store = new TRLGraphicStorage(owner);
    auto *page = new TRLGraphicSurface;
    page->SetWidth(794);
    page->SetHeight(1123);
    page->SetBrush(QBrush(Qt::black));
    page->FillRect(TRLRect(100, 100, 200, 150));
    store->Add(page);
    return store;
}

class CountingFilter : public TRLCustomPrintFilter
{
public:
    CountingFilter() { SetDisplayName(QStringLiteral("Contador")); }
    int docs = 0;
    int pages = 0;
    void BeginDoc() override { ++docs; }
    void EndDoc() override {}
    void NewPage() override {}
    void DrawPage(TRLGraphicSurface *) override { ++pages; }
};

} // namespace

class TestRLPreview : public QObject
{
    Q_OBJECT

    std::unique_ptr<TfrmRLPreview> open(TRLPreviewSource source)
    {
        auto preview = std::make_unique<TfrmRLPreview>(std::move(source));
        preview->show();
        if (!QTest::qWaitForWindowExposed(preview.get()))
            qWarning("The preview was not exposed");
        QTest::qWaitFor([&] { return preview->Store() || !preview->isVisible(); }, 10000);
        return preview;
    }

private slots:
    void initTestCase()
    {
        RLLoadMessages(mlPortuguese);
        InstallRLFeedBackProgress();
    }

    void init() { InstallFakePrinter(); }

    void pagePixelsAtAKnownZoom_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("200 %") << 2.0;
        QTest::newRow("50 %") << 0.5;
    }

    void pagePixelsAtAKnownZoom()
    {
        QFETCH(double, zoom);
        QObject owner;
        TRLGraphicStorage *store = blockStore(&owner);
        auto preview = open([store](QWidget *) { return store; });
        QVERIFY(preview->Store());
        preview->SetZoom(zoom);
        QCOMPARE(preview->Zoom(), zoom);
        const QImage shot = preview->Pages->grab().toImage();
        const int g = TRLPreviewPages::Gap;
        auto at = [&](double x, double y) { return shot.pixelColor(g + int(x * zoom), g + int(y * zoom)); };
        QCOMPARE(at(150, 125), QColor(Qt::black));
        QCOMPARE(at(102, 102), QColor(Qt::black));
        QCOMPARE(at(90, 125), QColor(Qt::white));
        QCOMPARE(at(210, 125), QColor(Qt::white));
        QCOMPARE(at(150, 160), QColor(Qt::white));
        // The page ends where its size at this zoom says.
        QCOMPARE(shot.width(), 2 * g + int(std::lround(794 * zoom)));
    }

    void keysMoveBetweenPages_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("page");
        QTest::newRow("PgDn") << QList<int>{Qt::Key_PageDown} << 1;
        QTest::newRow("PgDn past the end") << QList<int>{Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageDown} << 2;
        QTest::newRow("End") << QList<int>{Qt::Key_End} << 2;
        QTest::newRow("End, PgUp") << QList<int>{Qt::Key_End, Qt::Key_PageUp} << 1;
        QTest::newRow("End, Home") << QList<int>{Qt::Key_End, Qt::Key_Home} << 0;
        QTest::newRow("PgUp before the start") << QList<int>{Qt::Key_PageUp} << 0;
    }

    void keysMoveBetweenPages()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, page);
        DataDemo demo;
        demo.build();
        auto preview = open([&demo](QWidget *) { return demo.report->Prepare() ? demo.report->Pages() : nullptr; });
        QCOMPARE(preview->PageCount(), 3);
        QCOMPARE(preview->LabelPage->text(), QStringLiteral("Página 1 de 3"));
        const QImage first = preview->Pages->grab().toImage();
        for (int key : keys)
            QTest::keyClick(preview->ScrollArea, Qt::Key(key));
        QCOMPARE(preview->PageIndex(), page);
        QCOMPARE(preview->LabelPage->text(), QStringLiteral("Página %1 de 3").arg(page + 1));
        QCOMPARE(preview->Pages->FirstPage(), page);
        // Another page shows other pixels.
        QCOMPARE(preview->Pages->grab().toImage() == first, page == 0);
        QCOMPARE(preview->ButtonFirst->isEnabled(), page > 0);
        QCOMPARE(preview->ButtonLast->isEnabled(), page < 2);
        const QString png = qEnvironmentVariable("ZAVENOR_PREVIEW_PNG");
        if (!png.isEmpty() && QTest::currentDataTag() == QLatin1String("PgDn")) {
            preview->SetZoomMode(TRLPreviewZoom::WholePage);
            QVERIFY(preview->grab().save(png));
        }
    }

    void zoomByKeysAndWheel()
    {
        QObject owner;
        TRLGraphicStorage *store = blockStore(&owner);
        auto preview = open([store](QWidget *) { return store; });
        QCOMPARE(preview->ZoomMode(), TRLPreviewZoom::WholePage);
        const double whole = preview->Zoom();
        QTest::keyClick(preview->ScrollArea, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(preview->ZoomMode(), TRLPreviewZoom::Custom);
        QCOMPARE(preview->Zoom(), whole * 1.25);
        QTest::keyClick(preview->ScrollArea, Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(preview->ScrollArea, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(preview->Zoom(), whole / 1.25);
        QTest::keyClick(preview->ScrollArea, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(preview->ZoomMode(), TRLPreviewZoom::WholePage);
        QCOMPARE(preview->Zoom(), whole);
        // Ctrl and the wheel zoom; the wheel alone scrolls the page.
        QWidget *viewport = preview->ScrollArea->viewport();
        const QPoint centre = viewport->rect().center();
        QWheelEvent up(centre, viewport->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &up);
        QCOMPARE(preview->Zoom(), whole * 1.25);
        preview->SetZoomMode(TRLPreviewZoom::PageWidth);
        QVERIFY(preview->Zoom() > whole);
        QScrollBar *bar = preview->ScrollArea->verticalScrollBar();
        QCOMPARE(bar->value(), 0);
        QWheelEvent down(centre, viewport->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &down);
        QVERIFY(bar->value() > 0);
        QCOMPARE(preview->ZoomMode(), TRLPreviewZoom::PageWidth);
    }

    // On a screen of two device pixels per point the page is replayed at that density: a text
    // drawn twice as large, not the one-to-one picture blown up.
    void replayedAtThePixelRatio()
    {
        auto *page = new TRLGraphicSurface;
        page->SetWidth(200);
        page->SetHeight(60);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(13);
        page->SetFont(font);
        page->TextRect(TRLRect(10, 10, 190, 40), 10, 10, QStringLiteral("Recolhimento"));
        std::unique_ptr<TRLGraphicSurface> owned(page);
        const QImage one = TRLPreviewPages::RenderPage(page, QSize(200, 60), 1);
        const QImage two = TRLPreviewPages::RenderPage(page, QSize(200, 60), 2);
        QCOMPARE(two.size(), QSize(400, 120));
        QCOMPARE(two.devicePixelRatio(), 2.0);
        const QImage blownUp = one.scaled(400, 120, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        // A blown-up picture repeats every column in pairs; a replay has columns of its own.
        int ownColumns = 0;
        for (int x = 0; x + 1 < 400; x += 2) {
            bool differ = false;
            for (int y = 0; y < 120 && !differ; ++y)
                differ = two.pixel(x, y) != two.pixel(x + 1, y);
            ownColumns += differ;
        }
        QVERIFY2(ownColumns > 40, qPrintable(QString::number(ownColumns)));
        QVERIFY(two.convertToFormat(QImage::Format_RGB32) != blownUp.convertToFormat(QImage::Format_RGB32));
    }

    void escapeReturnsImprimirPrints_data()
    {
        QTest::addColumn<bool>("print");
        QTest::newRow("Esc") << false;
        QTest::newRow("Imprimir") << true;
    }

    void escapeReturnsImprimirPrints()
    {
        QFETCH(bool, print);
        QObject owner;
        TRLGraphicStorage *store = blockStore(&owner);
        TfrmRLPreview preview([store](QWidget *) { return store; });
        QTimer::singleShot(0, &preview, [&] {
            QTRY_VERIFY(preview.Store());
            if (print)
                preview.ButtonPrint->click();
            else
                QTest::keyClick(&preview, Qt::Key_Escape);
        });
        QCOMPARE(preview.exec(), print ? TfrmRLPreview::PrintResult : int(QDialog::Rejected));
    }

    // The whole road: print dialog, preview (the report prepared once, its progress over the
    // preview), Imprimir, and the chosen filter runs once over all pages.
    void previewThenPrintOnce_data()
    {
        QTest::addColumn<bool>("printFromPreview");
        QTest::newRow("Imprimir in the preview") << true;
        QTest::newRow("closed, then Cancelar") << false;
    }

    void previewThenPrintOnce()
    {
        QFETCH(bool, printFromPreview);
        DataDemo demo;
        demo.build();
        demo.report->SetShowProgress(true);
        CountingFilter filter;
        demo.report->SetDefaultFilter(&filter);
        int prepared = 0;
        bool progressOverPreview = false;
        demo.report->BeforePrint = [&](TRLCustomControl *, bool &) {
            ++prepared;
            TfrmRLFeedBack *progress = demo.report->ProgressWindow();
            progressOverPreview = progress && qobject_cast<TfrmRLPreview *>(progress->parentWidget());
        };
        QStringList steps;
        QTimer driver;
        connect(&driver, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<TRLPrintDialog *>(modal)) {
                if (steps.isEmpty()) {
                    steps << "dialog";
                    // Queued: a timer does not fire again while its own slot runs the preview.
                    QMetaObject::invokeMethod(dialog->ButtonPreview, &QPushButton::click, Qt::QueuedConnection);
                } else if (steps.last() == "closed") {
                    steps << "cancel";
                    QMetaObject::invokeMethod(dialog->ButtonCancel, &QPushButton::click, Qt::QueuedConnection);
                }
            } else if (auto *preview = qobject_cast<TfrmRLPreview *>(modal); preview && preview->Store()) {
                steps << (printFromPreview ? "print" : "closed");
                QMetaObject::invokeMethod(printFromPreview ? preview->ButtonPrint : preview->ButtonClose, &QPushButton::click,
                                          Qt::QueuedConnection);
            }
        });
        driver.start(20);
        bool aborted = false;
        try {
            demo.report->Print();
        } catch (const TRLAbort &) {
            aborted = true;
        }
        driver.stop();
        QCOMPARE(aborted, !printFromPreview);
        const QStringList expected = printFromPreview ? QStringList{"dialog", "print"} : QStringList{"dialog", "closed", "cancel"};
        QCOMPARE(steps, expected);
        QCOMPARE(prepared, 1);
        QVERIFY(progressOverPreview);
        QCOMPARE(filter.docs, printFromPreview ? 1 : 0);
        QCOMPARE(filter.pages, printFromPreview ? 3 : 0);
        RLPrintParams().SetFilter(nullptr);
    }

    // Not a check: with ZAVENOR_SHOTS_DIR set (under Xvfb), pictures for the docs of the print
    // dialog offering PDF and preview, the file dialog and the preview of the sample report.
    // ZAVENOR_SHOTS_SUFFIX tells the pictures of a scaled screen apart.
    void screenshots()
    {
        const QString folder = qEnvironmentVariable("ZAVENOR_SHOTS_DIR");
        if (folder.isEmpty())
            QSKIP("pictures only on request");
        const QString suffix = qEnvironmentVariable("ZAVENOR_SHOTS_SUFFIX");
        auto shoot = [&](QWidget *window, const QString &name) {
            QTest::qWait(300);
            return QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QString::number(window->winId()),
                                                               folder + "/" + name + suffix + ".png"});
        };
        PdfFilter();
        RLPrintParams().SetFilter(PdfFilter());
        int status = -1;
        {
            TRLPrintDialog dialog;
            dialog.SetPreviewSource([](QWidget *) { return nullptr; });
            QTimer::singleShot(0, [&] {
                status = shoot(&dialog, QStringLiteral("dialogo-impressao-pdf"));
                dialog.reject();
            });
            dialog.Execute();
            QCOMPARE(status, 0);
        }
        RLPrintParams().SetFilter(nullptr);
        QTimer::singleShot(0, [&] {
            auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(files);
            status = shoot(files, QStringLiteral("dialogo-arquivo-pdf"));
            files->reject();
        });
        RLSetLastPdfFolder(QDir::tempPath());
        RLAskPdfFileName(nullptr, QStringLiteral("Arrecadação por município"));
        QCOMPARE(status, 0);
        DataDemo demo;
        demo.build();
        auto preview = open([&demo](QWidget *) { return demo.report->Prepare() ? demo.report->Pages() : nullptr; });
        QVERIFY(preview->Store());
        QCOMPARE(shoot(preview.get(), QStringLiteral("previa-relatorio")), 0);
        preview->SetZoomMode(TRLPreviewZoom::SeveralPages);
        QCOMPARE(shoot(preview.get(), QStringLiteral("previa-relatorio-paginas")), 0);
    }
};

QTEST_MAIN(TestRLPreview)
#include "tst_rlpreview.moc"
