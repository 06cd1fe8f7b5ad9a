// A report prepared into pages and printed: the one-page report without data that the slips are,
// the empty page, the progress window, the print dialog's cancel, errors during preparation and
// the header of the page store.

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/RLReport.h"
#include "report/output/RLFeedBack.h"
#include "report/output/RLFilters.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPrintDialog.h"
#include "report/output/RLPrinters.h"
#include "support/FakePrinterService.h"
#include "support/PdfInspect.h"

#include <QApplication>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

#include "RLControlTestSupport.h"

namespace {

// Keeps the texts of every page it is given.
class RecordingFilter : public TRLCustomPrintFilter
{
public:
    QList<QStringList> pages;
    bool begun = false;
    bool ended = false;
    void BeginDoc() override { begun = true; }
    void EndDoc() override { ended = true; }
    void NewPage() override {}
    void DrawPage(TRLGraphicSurface *page) override
    {
        QStringList texts;
        for (TRLTextObject *t : objectsOf<TRLTextObject>(page))
            texts << t->Text;
        pages << texts;
    }
};

// A report whose print dialog answers as told and whose error box only remembers its text.
class TestReport : public TRLReport
{
public:
    explicit TestReport(QObject *owner = nullptr) : TRLReport(owner) {}
    bool dialogAnswer = true;
    int dialogRuns = 0;
    QStringList errors;

protected:
    bool ExecutePrintDialog() override
    {
        ++dialogRuns;
        return dialogAnswer;
    }
    void ShowPrepareError(const QString &text) override { errors << text; }
};

// The shape of a slip: a label on the report itself, two header bands with a label each.
struct Slip
{
    QObject form;
    TestReport *report;
    TRLLabel *stamp;
    TRLBand *first;
    TRLBand *second;
    TRLLabel *name;
    TRLLabel *value;

    Slip()
    {
        TRLFormLoader loading(&form);
        report = new TestReport(&form);
        report->SetName("RLDarf");
        report->SetShowProgress(false);
        report->Margins()->SetLeftMargin(7);
        report->Margins()->SetTopMargin(5);
        stamp = label(report, "LbVia", 600, 4, "1ª via");
        // The second band is higher on the form but still stacks after the first.
        second = band("RLBandValores", 300, 50);
        first = band("RLBandNome", 10, 40);
        second->SetTop(20);
        first->SetTop(200);
        name = label(first, "QRLNome", 12, 6, "CONTRIBUINTE LTDA");
        value = label(second, "QRLValor", 500, 10, "1.234,56");
    }

    TRLBand *band(const char *bandName, int top, int height)
    {
        auto *b = new TRLBand(&form);
        b->SetName(bandName);
        b->SetParent(report);
        b->SetBandType(btHeader);
        b->SetBounds(0, top, 100, height);
        return b;
    }

    TRLLabel *label(TRLCustomSite *site, const char *labelName, int left, int top, const QString &text)
    {
        auto *l = new TRLLabel(&form);
        l->SetName(labelName);
        l->SetParent(site);
        l->SetBounds(left, top, 10, 10);
        l->SetCaption(text);
        return l;
    }
};

TRLTextObject *textOf(TRLGraphicSurface *page, const QString &text)
{
    for (TRLTextObject *t : objectsOf<TRLTextObject>(page))
        if (t->Text == text)
            return t;
    return nullptr;
}

// What OnDataRecord answers, per record number, one answer per call.
using Actions = QMap<int, QList<int>>;

bool progressWindowShown()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *f = qobject_cast<TfrmRLFeedBack *>(w); f && f->isVisible()
            && f->windowTitle() == QStringLiteral("Preparando o relatório...") && f->BarCount() == 1)
            return true;
    return false;
}

} // namespace

class TestRLReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void slipPrintsControlsWhereTheyBelong();
    void storeHeader();
    void emptyPage_data();
    void emptyPage();
    void recordWalk_data();
    void recordWalk();
    void progressWindowWhilePreparing_data();
    void progressWindowWhilePreparing();
    void textEventsDuringPreparation();
    void errorsDuringPreparation_data();
    void errorsDuringPreparation();
    void printDialogCancelEndsSilently();
    void printSendsPreparedPagesToTheFilter();
    void printsOnAPrinter();

private:
    std::shared_ptr<FakePrinterState> m_printer = std::make_shared<FakePrinterState>();
};

void TestRLReport::initTestCase()
{
    // No printer of the machine takes part: without queues the metrics are those of letter paper.
    SetRLPrinterService(std::make_unique<FakePrinterService>(m_printer));
}

void TestRLReport::slipPrintsControlsWhereTheyBelong()
{
    Slip slip;
    const TRLRect firstDesign = slip.first->BoundsRect(), nameDesign = slip.name->BoundsRect();
    QVERIFY(slip.report->Prepare());
    QCOMPARE(slip.report->PrepareState(), TRLPrepareState::Prepared);
    TRLGraphicStorage *store = slip.report->Pages();
    QCOMPARE(store->PageCount(), 1);
    TRLGraphicSurface *page = store->Pages(0);
    QCOMPARE(page->Width(), 794);
    QCOMPARE(page->Height(), 1123);
    // On the report: where it was put, even above the top margin.
    TRLTextObject *stamp = textOf(page, "1ª via");
    QVERIFY(stamp);
    QCOMPARE(stamp->BoundsRect.Left, 600);
    QCOMPARE(stamp->BoundsRect.Top, 4);
    // In the bands: the first band at the top of the client area (7 mm = 26 px, 5 mm = 19 px),
    // the second under it, each label at its band's corner plus its own offset.
    TRLTextObject *name = textOf(page, "CONTRIBUINTE LTDA");
    TRLTextObject *value = textOf(page, "1.234,56");
    QVERIFY(name && value);
    QCOMPARE(name->BoundsRect.Left, 26 + 12);
    QCOMPARE(value->BoundsRect.Left, 26 + 500);
    const int firstTop = qMin(slip.first->Top(), slip.second->Top());
    QCOMPARE(firstTop, 19);
    const TRLBand *upper = slip.first->Top() < slip.second->Top() ? slip.first : slip.second;
    const TRLBand *lower = upper == slip.first ? slip.second : slip.first;
    const TRLLabel *upperLabel = upper == slip.first ? slip.name : slip.value;
    const TRLLabel *lowerLabel = upper == slip.first ? slip.value : slip.name;
    QCOMPARE(textOf(page, upperLabel->Caption())->BoundsRect.Top, 19 + upperLabel->Top());
    QCOMPARE(textOf(page, lowerLabel->Caption())->BoundsRect.Top, 19 + upper->Height() + lowerLabel->Top());
    QCOMPARE(lower->Top(), 19 + upper->Height());
    // The report control first, then the bands; every control printed once.
    QCOMPARE(objectsOf<TRLTextObject>(page).size(), 3);
    QVERIFY(objectsOf<TRLTextObject>(page).first() == stamp);
    // Printing leaves the design alone.
    QCOMPARE(slip.first->BoundsRect(), firstDesign);
    QCOMPARE(slip.name->BoundsRect(), nameDesign);
    QCOMPARE(slip.report->PageNumber(), 1);
}

void TestRLReport::storeHeader()
{
    Slip slip;
    slip.report->SetTitle("Zavenor - DARF");
    slip.report->SetFirstPageNumber(3);
    slip.report->PageSetup()->SetPaperSize(fpCustom);
    slip.report->PageSetup()->SetPaperWidth(211);
    slip.report->PageSetup()->SetPaperHeight(102);
    slip.report->PageSetup()->SetOrientation(poLandscape);
    QVERIFY(slip.report->Prepare());
    const TRLGraphicStorage *store = slip.report->Pages();
    QCOMPARE(store->Title(), QStringLiteral("Zavenor - DARF"));
    QCOMPARE(store->FirstPageNumber(), 3);
    QCOMPARE(store->LastPageNumber(), 3);
    QCOMPARE(store->Orientation(), 2);
    QCOMPARE(store->PaperWidth(), 211.0);
    QCOMPARE(store->PaperHeight(), 102.0);
    // Prepared again: the store starts afresh rather than adding a second page.
    QVERIFY(slip.report->Prepare());
    QCOMPARE(slip.report->Pages()->PageCount(), 1);
}

void TestRLReport::emptyPage_data()
{
    QTest::addColumn<bool>("printEmpty");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("details");
    QTest::newRow("no data, empty page wanted") << true << 0 << 1 << 0;
    QTest::newRow("no data, no empty page") << false << 0 << 0 << 0;
    QTest::newRow("data, no empty page") << false << 2 << 1 << 2;
    QTest::newRow("data, empty page wanted") << true << 3 << 1 << 3;
}

void TestRLReport::emptyPage()
{
    QFETCH(bool, printEmpty);
    QFETCH(int, records);
    QFETCH(int, pages);
    QFETCH(int, details);
    Slip slip;
    slip.report->SetPrintEmpty(printEmpty);
    auto *detail = new TRLBand(&slip.form);
    detail->SetParent(slip.report);
    auto *line = new TRLLabel(&slip.form);
    line->SetParent(detail);
    line->SetCaption("linha");
    slip.report->OnNeedData = [records](TRLCustomControl *sender, bool &more) {
        more = static_cast<TRLReport *>(sender)->RecNo() <= records;
    };
    int headers = 0;
    slip.first->AfterPrint = [&](TRLCustomControl *) { ++headers; };
    QVERIFY(slip.report->Prepare());
    QCOMPARE(slip.report->Pages()->PageCount(), pages);
    QCOMPARE(headers, pages);
    if (pages) {
        const auto texts = objectsOf<TRLTextObject>(slip.report->Pages()->Pages(0));
        QCOMPARE(std::count_if(texts.begin(), texts.end(), [](auto *t) { return t->Text == "linha"; }), details);
    }
}

void TestRLReport::recordWalk_data()
{
    // Five records offered; what OnDataRecord answers per record number (0: use it).
    QTest::addColumn<int>("range");
    QTest::addColumn<int>("rangeCount");
    QTest::addColumn<Actions>("actions");
    QTest::addColumn<QString>("printed");
    QTest::newRow("all") << int(rrAllRecords) << 0 << Actions() << "1/1 2/1 3/1 4/1 5/1";
    QTest::newRow("next none") << int(rrNextN) << 0 << Actions() << "";
    QTest::newRow("next two") << int(rrNextN) << 2 << Actions() << "1/1 2/1";
    QTest::newRow("current only") << int(rrCurrentOnly) << 0 << Actions() << "1/1";
    QTest::newRow("retained twice") << int(rrAllRecords) << 0
                                    << Actions{{2, {raUseAndRetain, raUseAndRetain, raUseIt}}}
                                    << "1/1 2/1 2/2 2/3 3/1 4/1 5/1";
    QTest::newRow("second ignored") << int(rrAllRecords) << 0 << Actions{{2, {raIgnoreIt}}}
                                    << "1/1 2/1 3/1 4/1";
}

void TestRLReport::recordWalk()
{
    QFETCH(int, range);
    QFETCH(int, rangeCount);
    QFETCH(Actions, actions);
    QFETCH(QString, printed);
    Slip slip;
    TestReport *report = slip.report;
    report->SetRecordRange(TRLRecordRange(range));
    report->SetRangeCount(rangeCount);
    int offered = 0;
    report->OnNeedData = [&](TRLCustomControl *, bool &more) { more = ++offered <= 5; };
    report->OnDataRecord = [&](TRLCustomControl *, int recNo, int, bool &, TRLRecordAction &action) {
        if (!actions.value(recNo).isEmpty())
            action = TRLRecordAction(actions[recNo].takeFirst());
    };
    auto *detail = new TRLBand(&slip.form);
    detail->SetParent(report);
    detail->SetHeight(10);
    QStringList seen;
    detail->AfterPrint = [&](TRLCustomControl *) {
        seen << QString("%1/%2").arg(report->RecNo()).arg(report->CopyNo());
    };
    QVERIFY(report->Prepare());
    QCOMPARE(seen.join(' '), printed);
}

void TestRLReport::progressWindowWhilePreparing_data()
{
    QTest::addColumn<bool>("showProgress");
    QTest::newRow("on") << true;
    QTest::newRow("off") << false;
}

void TestRLReport::progressWindowWhilePreparing()
{
    QFETCH(bool, showProgress);
    Slip slip;
    slip.report->SetShowProgress(showProgress);
    bool shownWhilePreparing = !showProgress;
    slip.name->BeforePrint = [&](TRLCustomControl *, QString &, bool &) { shownWhilePreparing = progressWindowShown(); };
    QVERIFY(slip.report->Prepare());
    QCOMPARE(shownWhilePreparing, showProgress);
    QCOMPARE(slip.report->ProgressWindow(), nullptr);
    QVERIFY(!progressWindowShown());
}

void TestRLReport::textEventsDuringPreparation()
{
    Slip slip;
    QStringList seen;
    slip.value->BeforePrint = [](TRLCustomControl *, QString &text, bool &) { text = "R$ " + text; };
    slip.report->OnFilterText = [&](TRLCustomControl *sender, QString &text, bool &printIt) {
        seen << sender->Name() + ": " + text;
        printIt = sender->Name() != "LbVia";
    };
    int reportAsked = 0;
    slip.report->BeforePrint = [&](TRLCustomControl *, bool &) { ++reportAsked; };
    QVERIFY(slip.report->Prepare());
    QCOMPARE(reportAsked, 1);
    QVERIFY(seen.contains("QRLValor: R$ 1.234,56"));
    TRLGraphicSurface *page = slip.report->Pages()->Pages(0);
    QVERIFY(textOf(page, "R$ 1.234,56"));
    QVERIFY(!textOf(page, "1ª via"));
    QCOMPARE(slip.value->Caption(), QStringLiteral("1.234,56")); // the design text stays

    // A report that says no to itself prepares nothing.
    slip.report->BeforePrint = [](TRLCustomControl *, bool &printIt) { printIt = false; };
    QVERIFY(!slip.report->Prepare());
    QCOMPARE(slip.report->Pages()->PageCount(), 0);
    QCOMPARE(slip.report->PrepareState(), TRLPrepareState::NotPrepared);
}

void TestRLReport::errorsDuringPreparation_data()
{
    // 0 engine error, 1 other error, 2 missing ancestor, 3 silent abort.
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("shown");
    const QString head = QStringLiteral("RLDarf: Erro durante a preparação do relatório\r");
    QTest::newRow("engine") << 0 << head + "Arquivo não encontrado";
    QTest::newRow("standard") << 1 << head + "vetor fora do limite";
    QTest::newRow("no ancestor") << 2 << head + "Não encontrado: LbSolto.ParentSurface";
    QTest::newRow("abort") << 3 << QString();
}

void TestRLReport::errorsDuringPreparation()
{
    QFETCH(int, kind);
    QFETCH(QString, shown);
    Slip slip;
    auto *loose = new TRLLabel(&slip.form);
    loose->SetName("LbSolto");
    slip.value->BeforePrint = [&](TRLCustomControl *, QString &, bool &) {
        switch (kind) {
        case 0: throw TRLException(RLMessage(rlmFileNotFound));
        case 1: throw std::out_of_range("vetor fora do limite");
        case 2: loose->CanPrint(); loose->Print(); break;
        default: throw TRLAbort();
        }
    };
    RecordingFilter filter;
    slip.report->SetDefaultFilter(&filter);
    const TRLRect design = slip.second->BoundsRect();
    bool aborted = false;
    try {
        slip.report->Print();
    } catch (const TRLAbort &) {
        aborted = true;
    }
    // Nothing printed, nothing prepared, and the print ends silently after the box (if any).
    QVERIFY(aborted);
    QCOMPARE(slip.report->errors, shown.isEmpty() ? QStringList() : QStringList{shown});
    QCOMPARE(slip.report->PrepareState(), TRLPrepareState::NotPrepared);
    QVERIFY(filter.pages.isEmpty());
    QVERIFY(!filter.begun);
    QCOMPARE(slip.second->BoundsRect(), design);
    // The report is whole again: the next preparation goes through.
    slip.value->BeforePrint = nullptr;
    QVERIFY(slip.report->Prepare());
    QCOMPARE(slip.report->Pages()->PageCount(), 1);
    QVERIFY(textOf(slip.report->Pages()->Pages(0), "1.234,56"));
}

void TestRLReport::printDialogCancelEndsSilently()
{
    Slip slip;
    slip.report->dialogAnswer = false;
    RecordingFilter filter;
    slip.report->SetDefaultFilter(&filter);
    int prepared = 0;
    slip.report->BeforePrint = [&](TRLCustomControl *, bool &) { ++prepared; };
    QVERIFY_THROWS_EXCEPTION(TRLAbort, slip.report->Print());
    QCOMPARE(slip.report->dialogRuns, 1);
    QVERIFY(slip.report->Canceled());
    QCOMPARE(prepared, 0);
    QVERIFY(filter.pages.isEmpty());
    QVERIFY(slip.report->errors.isEmpty());
}

void TestRLReport::printSendsPreparedPagesToTheFilter()
{
    Slip slip;
    slip.report->PageSetup()->SetPaperSize(fpCustom);
    slip.report->PageSetup()->SetPaperWidth(211);
    slip.report->PageSetup()->SetPaperHeight(102);
    RecordingFilter filter;
    slip.report->SetDefaultFilter(&filter);
    int prepared = 0;
    slip.report->BeforePrint = [&](TRLCustomControl *, bool &) { ++prepared; };
    RLPrintParams().SetFromPage(5); // left over from an earlier print: reset
    slip.report->Print();
    QCOMPARE(RLPrinter().PaperWidthMm(), 211.0);
    QCOMPARE(RLPrinter().PaperHeightMm(), 102.0);
    QCOMPARE(RLPrintParams().Filter(), static_cast<TRLCustomPrintFilter *>(&filter));
    QCOMPARE(RLPrintParams().FromPage(), 1);
    QCOMPARE(filter.pages.size(), 1);
    QVERIFY(filter.pages[0].contains("CONTRIBUINTE LTDA"));
    QVERIFY(filter.begun && filter.ended);
    // A second print reprints the stored page without preparing again; the dialog now knows
    // how many pages there are.
    slip.report->Print();
    QCOMPARE(prepared, 1);
    QCOMPARE(filter.pages.size(), 2);
    QCOMPARE(RLPrintParams().MaxPage(), 1);
    // Without the dialog nothing is asked.
    slip.report->SetPrintDialog(false);
    slip.report->Print();
    QCOMPARE(slip.report->dialogRuns, 2);
    QCOMPARE(filter.pages.size(), 3);
    RLPrintParams().SetFilter(nullptr);
}

void TestRLReport::printsOnAPrinter()
{
    // Through the default spool filter onto a queue that keeps the document it is sent.
    m_printer->queues = {LocalQueue("pdf", "cups-pdf:/", true)};
    RLPrinter().Refresh();
    Slip slip;
    slip.report->SetTitle("Zavenor - DARF");
    slip.report->Print();
    QCOMPARE(m_printer->sent.size(), 1);
    QCOMPARE(m_printer->sent[0].job.Title, QStringLiteral("Zavenor - DARF"));
    QTemporaryDir dir;
    const QString pdf = dir.filePath("slip.pdf");
    QFile out(pdf);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(m_printer->sent[0].document);
    out.close();
    const QList<PdfPage> pages = PdfInspect::pages(pdf);
    QCOMPARE(pages.size(), 1);
    QVERIFY(qAbs(pages[0].uprightMm().width() - 210) < 1);
    const QList<PdfWord> words = PdfInspect::words(pdf);
    auto wordAt = [&](const QString &text) {
        for (const PdfWord &w : words)
            if (w.text == text)
                return w.boxMm();
        return QRectF();
    };
    // "CONTRIBUINTE" sits 7 mm + 12 px from the left edge of the sheet.
    const QRectF name = wordAt("CONTRIBUINTE");
    QVERIFY(!name.isNull());
    QVERIFY(qAbs(name.left() - (7 + 12 * 25.4 / 96)) < 1.5);
    QVERIFY(!wordAt("1.234,56").isNull());
    m_printer->queues.clear();
    RLPrinter().Refresh();
}

QTEST_MAIN(TestRLReport)
#include "tst_rlreport.moc"
