// The printer layer on a stand-in service: display list, selection, paper choice, metrics and the
// document each job hands over.
#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/base/RLTempFiles.h"
#include "report/output/RLPrinters.h"
#include "support/FakePrinterService.h"

#include <QPainter>
#include <QTemporaryFile>
#include <QtTest>

namespace {

QList<TRLPrinterQueue> threeQueues()
{
    TRLPrinterQueue remote;
    remote.Name = QStringLiteral("Financeiro");
    remote.Server = QStringLiteral("servidor");
    remote.Share = QStringLiteral("laser2");
    TRLPrinterQueue broken;
    broken.Name = QStringLiteral("Velha");
    broken.Readable = false;
    return {LocalQueue(QStringLiteral("GuiaPDF"), QStringLiteral("cups-pdf:/X")), remote, broken};
}

int pdfPageCount(const QByteArray &pdf)
{
    QTemporaryFile f;
    f.open();
    f.write(pdf);
    f.flush();
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {f.fileName()});
    p.waitForFinished();
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
    return pages.match(QString::fromUtf8(p.readAllStandardOutput())).captured(1).toInt();
}

} // namespace

class TestRLPrinters : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<FakePrinterState> state;
    std::unique_ptr<TRLPrinterWrapper> printer;

    void make(const QList<TRLPrinterQueue> &queues)
    {
        state = std::make_shared<FakePrinterState>();
        state->queues = queues;
        printer = std::make_unique<TRLPrinterWrapper>(std::make_unique<FakePrinterService>(state));
    }

    QString beginDocFailure()
    {
        try {
            printer->BeginDoc();
        } catch (const TRLException &e) {
            return e.Message();
        }
        return QString();
    }

private slots:
    void initTestCase() { RLLoadMessages(mlPortuguese); }

    void displayForms()
    {
        make(threeQueues());
        QCOMPARE(printer->Printers(), QStringList({QStringLiteral("GuiaPDF|cups-pdf:/X"),
                                                   QStringLiteral("Financeiro|servidor\\laser2"),
                                                   QStringLiteral("Velha (Erro no driver da impressora)")}));
        QCOMPARE(printer->PrinterNames(1), QStringLiteral("Financeiro"));
        QCOMPARE(printer->PrinterPorts(1), QStringLiteral("servidor\\laser2"));
        QCOMPARE(printer->PrinterNames(2), QStringLiteral("Velha (Erro no driver da impressora)"));
        QCOMPARE(printer->PrinterPorts(2), QString());
        QCOMPARE(printer->PrinterNames(3), QString());
    }

    void selection_data()
    {
        QTest::addColumn<int>("defaultQueue"); // -1: none flagged
        QTest::addColumn<int>("queueCount");
        QTest::addColumn<int>("expected");
        QTest::newRow("system default") << 1 << 3 << 1;
        QTest::newRow("no default: the first") << -1 << 3 << 0;
        QTest::newRow("no printer") << -1 << 0 << -1;
    }

    void selection()
    {
        QFETCH(int, defaultQueue);
        QFETCH(int, queueCount);
        QFETCH(int, expected);
        QList<TRLPrinterQueue> queues = threeQueues().mid(0, queueCount);
        if (defaultQueue >= 0)
            queues[defaultQueue].IsDefault = true;
        make(queues);
        QCOMPARE(printer->PrinterIndex(), expected);
        QCOMPARE(printer->PrinterName(), expected < 0 ? QString() : printer->PrinterNames(expected));
    }

    void setPrinterIndexOutsideListChangesNothing()
    {
        make(threeQueues());
        printer->SetPrinterIndex(2);
        printer->SetPrinterIndex(-1);
        printer->SetPrinterIndex(3);
        QCOMPARE(printer->PrinterIndex(), 2);
    }

    // Queues added or removed by an administrator must not turn the next print to another printer.
    void refreshFindsChosenQueueByName_data()
    {
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("expected");
        QTest::newRow("queue added before it") << QStringList{"Nova", "GuiaPDF", "Financeiro", "Velha"} << "Velha";
        QTest::newRow("queue removed before it") << QStringList{"Financeiro", "Velha"} << "Velha";
        // Gone: the default, not whatever took its place.
        QTest::newRow("chosen queue gone") << QStringList{"GuiaPDF", "Financeiro", "Outra"} << "Financeiro";
    }

    void refreshFindsChosenQueueByName()
    {
        QFETCH(QStringList, after);
        QFETCH(QString, expected);
        make({LocalQueue("GuiaPDF", "cups-pdf:/X"), LocalQueue("Financeiro", "lpd://f", true),
              LocalQueue("Velha", "usb://v")});
        printer->SetPrinterIndex(2);
        QList<TRLPrinterQueue> queues;
        for (const QString &name : after)
            queues << LocalQueue(name, QStringLiteral("usb://") + name, name == QLatin1String("Financeiro"));
        state->queues = queues;
        printer->Refresh();
        QCOMPARE(printer->PrinterName(), expected);
    }

    void paperCode_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("media");
        QTest::newRow("A4 before its same-sized twins") << 210.0 << 297.0 << 9 << "A4";
        QTest::newRow("A4 within 0.01 mm") << 210.004 << 297.004 << 9 << "A4";
        QTest::newRow("just outside A4") << 210.01 << 297.0 << 256 << "custom_zavenor_210.01x297mm";
        QTest::newRow("letter") << 215.9 << 279.4 << 1 << "Letter";
        QTest::newRow("slip sheet") << 211.0 << 102.0 << 256 << "custom_zavenor_211x102mm";
        QTest::newRow("no size") << 0.0 << 0.0 << 256 << "";
    }

    void paperCode()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(int, code);
        QFETCH(QString, media);
        make(threeQueues());
        printer->SetPaperSize(width, height, false, true);
        QCOMPARE(printer->PaperCode(), code);
        QCOMPARE(printer->MediaName(), media);
    }

    void metrics_data()
    {
        QTest::addColumn<bool>("withPrinter");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QList<int>>("expected"); // PPI, physical w, h, margin left, client w
        QTest::newRow("letter fallback") << false << false << QList<int>{300, 2550, 3300, 75, 2400};
        QTest::newRow("A4 portrait") << true << false << QList<int>{600, 4961, 7016, 0, 4961};
        QTest::newRow("A4 landscape") << true << true << QList<int>{600, 7016, 4961, 0, 7016};
    }

    void metrics()
    {
        QFETCH(bool, withPrinter);
        QFETCH(bool, landscape);
        QFETCH(QList<int>, expected);
        make(withPrinter ? threeQueues() : QList<TRLPrinterQueue>());
        printer->SetPaperSize(210, 297, landscape, false);
        const TRLPrinterMetrics m = printer->ReadPrinterMetrics();
        QCOMPARE((QList<int>{m.PPIX, m.PhysicalWidth, m.PhysicalHeight, m.MarginLeft, m.ClientWidth}), expected);
        QCOMPARE(m.PPIY, m.PPIX);
        QCOMPARE(m.MarginRight, m.PhysicalWidth - m.MarginLeft - m.ClientWidth);
        QCOMPARE(m.MarginBottom, m.PhysicalHeight - m.MarginTop - m.ClientHeight);
    }

    void beginDocRefuses_data()
    {
        QTest::addColumn<bool>("withPrinter");
        QTest::addColumn<QString>("listFailure");
        QTest::addColumn<QString>("checkFailure");
        QTest::addColumn<bool>("mediaTaken");
        QTest::addColumn<QString>("message");
        QTest::newRow("no printer") << false << "" << "" << true << "Não há impressora cadastrada";
        // An unreachable service is said as such, not as a missing printer.
        QTest::newRow("service down") << false << "O serviço de impressão (CUPS) não está disponível" << "" << true
                                      << "O serviço de impressão (CUPS) não está disponível";
        QTest::newRow("queue stopped") << true << "" << "Paused" << true << "Paused";
        QTest::newRow("paper refused") << true << "" << "" << false
                                       << "A impressora GuiaPDF não aceita papel de 211 x 102 mm.";
    }

    void beginDocRefuses()
    {
        QFETCH(bool, withPrinter);
        QFETCH(QString, listFailure);
        QFETCH(QString, checkFailure);
        QFETCH(bool, mediaTaken);
        QFETCH(QString, message);
        make(withPrinter ? threeQueues() : QList<TRLPrinterQueue>());
        state->listFailure = listFailure;
        state->checkFailure = checkFailure;
        state->mediaTaken = mediaTaken;
        printer->SetPaperSize(211, 102, false, false);
        QCOMPARE(beginDocFailure(), message);
        QVERIFY(!printer->Printing());
        QVERIFY(state->sent.isEmpty());
    }

    // A sheet is begun only when drawn on: a job that ends after NewPage has no blank last page.
    void pagesHandedOver_data()
    {
        QTest::addColumn<int>("drawn");
        QTest::addColumn<bool>("trailingNewPage");
        QTest::addColumn<int>("copies");
        QTest::newRow("one page") << 1 << false << 1;
        QTest::newRow("three pages") << 3 << false << 1;
        QTest::newRow("NewPage before the end") << 2 << true << 1;
        QTest::newRow("nothing drawn: no sheet") << 0 << true << 1;
        QTest::newRow("copies 0 prints one") << 1 << false << 0;
    }

    void pagesHandedOver()
    {
        QFETCH(int, drawn);
        QFETCH(bool, trailingNewPage);
        QFETCH(int, copies);
        make(threeQueues());
        printer->SetCopies(copies);
        printer->SetPaperSize(211, 102, false, false);
        printer->SetJobTitle(QStringLiteral("Zavenor - DARF"));
        printer->BeginDoc();
        for (int i = 0; i < drawn; ++i) {
            if (i > 0)
                printer->NewPage();
            printer->Canvas()->drawText(100, 100, QStringLiteral("x"));
        }
        if (trailingNewPage)
            printer->NewPage();
        printer->EndDoc();
        QVERIFY(!printer->Printing());
        QCOMPARE(state->sent.size(), drawn ? 1 : 0);
        if (!drawn)
            return;
        const auto &sent = state->sent.first();
        QCOMPARE(pdfPageCount(sent.document), drawn);
        QCOMPARE(sent.job.Queue, QStringLiteral("GuiaPDF"));
        QCOMPARE(sent.job.Title, QStringLiteral("Zavenor - DARF"));
        QCOMPARE(sent.job.Media, QStringLiteral("custom_zavenor_211x102mm"));
        QCOMPARE(sent.job.Copies, std::max(1, copies));
        // The document went through a registered temporary file that is gone now.
        QVERIFY(!QFile::exists(sent.job.DocumentFile));
        QVERIFY(!RLTempFiles().contains(sent.job.DocumentFile));
    }

    void failedSubmissionStillRemovesDocument()
    {
        make(threeQueues());
        state->submitFailure = QStringLiteral("Filter failed");
        printer->BeginDoc();
        printer->Canvas();
        const QStringList before = RLTempFiles();
        QVERIFY_THROWS_EXCEPTION(TRLException, printer->EndDoc());
        QVERIFY(!printer->Printing());
        QVERIFY(RLTempFiles().size() < before.size());
    }
};

QTEST_MAIN(TestRLPrinters)
#include "tst_rlprinters.moc"
