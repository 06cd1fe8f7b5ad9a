// Data reports over many pages, checked through the recorded pages: where pages break, bands split,
// detail limits and completion, carbon copies, groups on a key, chains and cancel.

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/RLReport.h"
#include "report/page/RLMetaFile.h"
#include "support/FakePrinterService.h"

#include <QStandardItemModel>
#include <QtTest>

#include "RLControlTestSupport.h"

namespace {

class QuietReport : public TRLReport
{
public:
    explicit QuietReport(QObject *owner) : TRLReport(owner) {}
    QStringList errors;

protected:
    void ShowPrepareError(const QString &text) override { errors << text; }
};

// A page of 480 x 480 px without margins: header 40, footer 40, so 400 px for the body.
struct Doc
{
    QObject form;
    QuietReport *report;
    TRLBand *header;
    TRLBand *detail;
    TRLBand *footer;
    TRLLabel *footerText;
    int records = 0;

    explicit Doc(int recordCount, int detailHeight = 50) : records(recordCount)
    {
        report = new QuietReport(&form);
        report->SetName("RLRelatorio");
        report->SetShowProgress(false);
        report->PageSetup()->SetPaperSize(fpCustom);
        report->PageSetup()->SetPaperWidth(127);
        report->PageSetup()->SetPaperHeight(127);
        for (auto set : {&TRLMargins::SetLeftMargin, &TRLMargins::SetTopMargin, &TRLMargins::SetRightMargin,
                         &TRLMargins::SetBottomMargin})
            (report->Margins()->*set)(0);
        header = band(report, btHeader, 0, 40);
        label(header, 0, 0, "cabeçalho");
        detail = band(report, btDetail, 40, detailHeight);
        TRLLabel *line = label(detail, 0, 0, "");
        line->BeforePrint = [this](TRLCustomControl *, QString &text, bool &) {
            if (!report->Completing())
                text = "R" + QString::number(report->RecNo());
        };
        footer = band(report, btFooter, 400, 40);
        footerText = label(footer, 0, 0, "");
        footerText->BeforePrint = [this](TRLCustomControl *, QString &text, bool &) {
            text = QString("página %1 de {LastPageNumber}").arg(report->PageNumber());
        };
        report->OnNeedData = [this](TRLCustomControl *, bool &more) { more = report->RecNo() <= records; };
    }

    TRLBand *band(TRLCustomSite *site, TRLBandType type, int top, int height)
    {
        auto *b = new TRLBand(&form);
        b->SetParent(site);
        b->SetBandType(type);
        b->SetBounds(0, top, 480, height);
        return b;
    }

    TRLLabel *label(TRLCustomSite *site, int left, int top, const QString &text, int height = 16)
    {
        auto *l = new TRLLabel(&form);
        l->SetParent(site);
        l->SetAutoSize(false);
        l->SetBounds(left, top, 100, height);
        l->SetCaption(text);
        return l;
    }

    int pageCount() const { return report->Pages()->PageCount(); }

    // "text@top" of every text on page n, top to bottom.
    QStringList texts(int n) const
    {
        QStringList out;
        QList<TRLTextObject *> list = objectsOf<TRLTextObject>(report->Pages()->Pages(n));
        std::stable_sort(list.begin(), list.end(),
                         [](auto *a, auto *b) { return a->BoundsRect.Top < b->BoundsRect.Top; });
        for (TRLTextObject *t : list)
            out << t->DisplayText() + "@" + QString::number(t->BoundsRect.Top);
        return out;
    }

    // The record texts per page ("R1 R2 | R3"), completion bands as "-".
    QString records_() const
    {
        QStringList pages;
        for (int n = 0; n < pageCount(); ++n) {
            QStringList line;
            for (const QString &t : texts(n))
                if (t.startsWith('R'))
                    line << t.section('@', 0, 0);
            pages << line.join(' ');
        }
        return pages.join(" | ");
    }
};

QString runOf(int first, int last)
{
    QStringList l;
    for (int i = first; i <= last; ++i)
        l << "R" + QString::number(i);
    return l.join(' ');
}

} // namespace

class TestRLPagination : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pagesOfDetails_data();
    void pagesOfDetails();
    void everyPageHasItsFrame();
    void bandSplitAcrossPages_data();
    void bandSplitAcrossPages();
    void pageBreakingOfBands_data();
    void pageBreakingOfBands();
    void carbonCopiesRepeatGroups();
    void blankAndRetainedRecords_data();
    void blankAndRetainedRecords();
    void footersMeasuredAgain_data();
    void footersMeasuredAgain();
    void footerSetsItsOwnHeight_data();
    void footerSetsItsOwnHeight();
    void bandTallerThanThePage_data();
    void bandTallerThanThePage();
    void carbonCopiesKnowTheirIndex_data();
    void carbonCopiesKnowTheirIndex();
    void summaryAfterTheLastDetail_data();
    void summaryAfterTheLastDetail();
    void groupsBreakOnTheirKey_data();
    void groupsBreakOnTheirKey();
    void groupFieldMissing();
    void chainSharesPagesAndNumbers();
    void cancelFinishesThePage();
    void prepareAgainAfterFailedPageBreak_data();
    void prepareAgainAfterFailedPageBreak();
};

void TestRLPagination::initTestCase()
{
    SetRLPrinterService(std::make_unique<FakePrinterService>(std::make_shared<FakePrinterState>()));
}

void TestRLPagination::pagesOfDetails_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("maxBands");
    QTest::addColumn<int>("minBands");
    QTest::addColumn<int>("completion");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one page") << 5 << 0 << 0 << int(ctNone) << runOf(1, 5);
    QTest::newRow("exactly full") << 8 << 0 << 0 << int(ctNone) << runOf(1, 8);
    QTest::newRow("break before the band that does not fit")
        << 20 << 0 << 0 << int(ctNone) << runOf(1, 8) + " | " + runOf(9, 16) + " | " + runOf(17, 20);
    QTest::newRow("MaxBands") << 7 << 3 << 0 << int(ctNone) << runOf(1, 3) + " | " + runOf(4, 6) + " | R7";
    // A full page repeats the band while it ends above the limit: one that would end on it is left out.
    QTest::newRow("completion to a full page")
        << 10 << 0 << 0 << int(ctFullPage) << runOf(1, 8) + " | R9 R10 - - - - -";
    QTest::newRow("completion to MaxBands") << 7 << 5 << 0 << int(ctMaxBands) << runOf(1, 5) + " | R6 R7 - - -";
    QTest::newRow("completion to MinBands") << 10 << 0 << 4 << int(ctMinBands) << runOf(1, 8) + " | R9 R10 - -";
    QTest::newRow("full page within MaxBands") << 2 << 5 << 0 << int(ctFullPage) << "R1 R2 - - -";
    QTest::newRow("no records: blank lines") << 0 << 0 << 0 << int(ctFullPage) << "- - - - - - -";
    // Asked for more bands than the page holds: completion stops at the page's end.
    QTest::newRow("completion to MaxBands past the page") << 3 << 12 << 0 << int(ctMaxBands) << "R1 R2 R3 - - - - -";
    QTest::newRow("completion to MinBands past the page") << 3 << 0 << 12 << int(ctMinBands) << "R1 R2 R3 - - - - -";
}

void TestRLPagination::pagesOfDetails()
{
    QFETCH(int, records);
    QFETCH(int, maxBands);
    QFETCH(int, minBands);
    QFETCH(int, completion);
    QFETCH(QString, expected);
    Doc doc(records);
    doc.report->SetMaxBands(maxBands);
    doc.report->SetMinBands(minBands);
    doc.detail->SetCompletion(TRLCompletionType(completion));
    // Completion bands print their texts empty: they are counted apart.
    int completed = 0;
    doc.detail->AfterPrint = [&](TRLCustomControl *) { completed += doc.report->Completing(); };
    QVERIFY(doc.report->Prepare());
    QString got = doc.records_();
    for (int i = 0; i < completed; ++i)
        got += (got.isEmpty() ? "" : " ") + QString("-");
    QCOMPARE(got, expected);
    // Details stack from under the header, one height apart; every page keeps its frame's texts.
    for (int n = 0; n < doc.pageCount(); ++n) {
        QCOMPARE(doc.texts(n).first(), QStringLiteral("cabeçalho@0"));
        QCOMPARE(doc.texts(n).last(), QString("página %1 de %2@440").arg(n + 1).arg(doc.pageCount()));
        int expectedTop = 40;
        for (const QString &t : doc.texts(n))
            if (t.startsWith('R')) {
                QCOMPARE(t.section('@', 1).toInt(), expectedTop);
                expectedTop += 50;
            }
    }
}

void TestRLPagination::everyPageHasItsFrame()
{
    Doc doc(20);
    QVERIFY(doc.report->Prepare());
    QCOMPARE(doc.pageCount(), 3);
    QCOMPARE(doc.report->Pages()->LastPageNumber(), 3);
    for (int n = 0; n < 3; ++n) {
        const QStringList texts = doc.texts(n);
        QCOMPARE(texts.first(), QStringLiteral("cabeçalho@0"));
        // The footer stands on the bottom even on the short last page; the macro shows the count.
        QCOMPARE(texts.last(), QString("página %1 de 3@440").arg(n + 1));
    }
}

void TestRLPagination::bandSplitAcrossPages_data()
{
    // Two records of a 300 px band: the second starts at 340 with 100 px left on page 1; its text
    // "meio" spans rows 80 to 120 and may not be cut.
    QTest::addColumn<bool>("integral");
    QTest::addColumn<int>("minHeight");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::newRow("cut above the text")
        << false << 0 << QStringList{"R1@40", "meio@120", "fim@290", "R2@340"}
        << QStringList{"meio@40", "fim@210"};
    QTest::newRow("cut lower than the minimum height")
        << false << 90 << QStringList{"R1@40", "meio@120", "fim@290"} << QStringList{"R2@40", "meio@120", "fim@290"};
    QTest::newRow("integral height") << true << 0 << QStringList{"R1@40", "meio@120", "fim@290"}
                                     << QStringList{"R2@40", "meio@120", "fim@290"};
}

void TestRLPagination::bandSplitAcrossPages()
{
    QFETCH(bool, integral);
    QFETCH(int, minHeight);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    Doc doc(2, 300);
    doc.detail->SetIntegralHeight(integral);
    doc.detail->SetMinHeight(minHeight);
    doc.label(doc.detail, 0, 80, "meio", 40);
    doc.label(doc.detail, 0, 250, "fim");
    QVERIFY(doc.report->Prepare());
    QCOMPARE(doc.pageCount(), 2);
    auto body = [&](int n) {
        QStringList l = doc.texts(n);
        l.removeFirst();
        l.removeLast();
        return l;
    };
    QCOMPARE(body(0), first);
    QCOMPARE(body(1), second);
}

void TestRLPagination::pageBreakingOfBands_data()
{
    QTest::addColumn<int>("breaking");
    QTest::addColumn<QString>("expected");
    QTest::newRow("before print") << int(pbBeforePrint) << "R1 | R2 | R3";
    QTest::newRow("after print") << int(pbAfterPrint) << "R1 | R2 | R3";
    QTest::newRow("none") << int(pbNone) << "R1 R2 R3";
}

void TestRLPagination::pageBreakingOfBands()
{
    QFETCH(int, breaking);
    QFETCH(QString, expected);
    Doc doc(3);
    doc.detail->SetPageBreaking(TRLPageBreaking(breaking));
    QVERIFY(doc.report->Prepare());
    QCOMPARE(doc.records_(), expected);
}

void TestRLPagination::carbonCopiesRepeatGroups()
{
    Doc doc(1);
    doc.detail->SetVisible(false);
    TRLBand *a = doc.band(doc.report, btDetail, 100, 20);
    TRLBand *b = doc.band(doc.report, btDetail, 120, 20);
    doc.label(a, 0, 0, "A");
    doc.label(b, 0, 0, "B");
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    a->SetCarbonCopies(2);
    QVERIFY(doc.report->Prepare());
    // The pair prints whole, twice, in its sorted order, one under the other.
    const QStringList got = doc.texts(0).mid(1, 4);
    const QString first = got.value(0).section('@', 0, 0), second = first == "A" ? "B" : "A";
    QCOMPARE(got, (QStringList{first + "@40", second + "@60", first + "@80", second + "@100"}));
}

void TestRLPagination::blankAndRetainedRecords_data()
{
    // Record 2's answers in turn; each detail printed as "RecNo/CopyNo:text of a fixed label".
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("expected");
    QTest::newRow("used") << QList<int>{} << "1/1:fixo 2/1:fixo 3/1:fixo";
    QTest::newRow("a blank line, then the record")
        << QList<int>{raBlankAndRetain} << "1/1:fixo 2/1: 2/1:fixo 3/1:fixo";
    QTest::newRow("two blank lines") << QList<int>{raBlankAndRetain, raBlankAndRetain}
                                     << "1/1:fixo 2/1: 2/1: 2/1:fixo 3/1:fixo";
    QTest::newRow("copy, blank, copy")
        << QList<int>{raUseAndRetain, raBlankAndRetain, raUseIt} << "1/1:fixo 2/1:fixo 2/2: 2/1:fixo 3/1:fixo";
}

void TestRLPagination::blankAndRetainedRecords()
{
    QFETCH(QList<int>, answers);
    QFETCH(QString, expected);
    Doc doc(3);
    TRLLabel *fixed = doc.label(doc.detail, 200, 0, "fixo");
    doc.report->OnDataRecord = [&](TRLCustomControl *, int recNo, int, bool &, TRLRecordAction &action) {
        if (recNo == 2 && !answers.isEmpty())
            action = TRLRecordAction(answers.takeFirst());
    };
    QStringList seen;
    doc.detail->AfterPrint = [&](TRLCustomControl *) {
        seen << QString("%1/%2:%3").arg(doc.report->RecNo()).arg(doc.report->CopyNo()).arg(fixed->Caption());
    };
    QVERIFY(doc.report->Prepare());
    QCOMPARE(seen.join(' '), expected);
    // A blank line leaves its fixed text off the page.
    QCOMPARE(doc.texts(0).filter("fixo").size(), expected.count(":fixo"));
}

void TestRLPagination::footersMeasuredAgain_data()
{
    // A self-sizing footer of two lines (40 px) loses its second line after record 5: measured
    // again, it leaves room for one more 20 px detail on each page.
    QTest::addColumn<int>("measuring");
    QTest::addColumn<QString>("expected");
    QTest::newRow("never") << int(fmNone) << runOf(1, 20) + " | " + runOf(21, 40) + " | " + runOf(41, 45);
    QTest::newRow("after the page header")
        << int(fmAfterHeader) << runOf(1, 20) + " | " + runOf(21, 41) + " | " + runOf(42, 45);
    QTest::newRow("before every detail")
        << int(fmBeforeDetail) << runOf(1, 21) + " | " + runOf(22, 42) + " | " + runOf(43, 45);
}

void TestRLPagination::footersMeasuredAgain()
{
    QFETCH(int, measuring);
    QFETCH(QString, expected);
    Doc doc(45, 20);
    TRLLabel *second = doc.label(doc.footer, 0, 24, "segunda linha");
    doc.footer->SetAutoSize(true);
    QCOMPARE(doc.footer->Height(), 40);
    doc.report->SetFooterMeasuring(TRLFooterMeasuring(measuring));
    doc.detail->AfterPrint = [&](TRLCustomControl *) {
        if (doc.report->RecNo() == 5)
            second->SetVisible(false);
    };
    QVERIFY(doc.report->Prepare());
    QCOMPARE(doc.records_(), expected);
}

void TestRLPagination::footerSetsItsOwnHeight_data()
{
    // A4 with 10 mm margins: a 40 px header, 100 records of 20 px and a footer that its own
    // OnMeasureHeight makes 130 px tall instead of 30 from record 30 on.
    QTest::addColumn<int>("measuring");
    QTest::addColumn<QList<int>>("details");
    QTest::addColumn<QList<int>>("footerTops");
    QTest::newRow("never") << int(fmNone) << QList<int>{48, 48, 4} << QList<int>{1055, 1055, 1055};
    QTest::newRow("after the page header") << int(fmAfterHeader) << QList<int>{48, 43, 9} << QList<int>{1055, 955, 955};
    QTest::newRow("before every detail") << int(fmBeforeDetail) << QList<int>{43, 43, 14} << QList<int>{955, 955, 955};
}

void TestRLPagination::footerSetsItsOwnHeight()
{
    QFETCH(int, measuring);
    QFETCH(QList<int>, details);
    QFETCH(QList<int>, footerTops);
    Doc doc(100, 20);
    doc.report->PageSetup()->SetPaperSize(fpA4);
    doc.report->Margins()->SetTopMargin(10);
    doc.report->Margins()->SetBottomMargin(10);
    doc.footer->SetHeight(30);
    doc.report->SetFooterMeasuring(TRLFooterMeasuring(measuring));
    doc.footer->OnMeasureHeight = [&](TRLCustomControl *) {
        doc.footer->SetHeight(doc.report->RecNo() >= 30 ? 130 : 30);
    };
    QVERIFY(doc.report->Prepare());
    QList<int> gotDetails, gotTops;
    for (int n = 0; n < doc.pageCount(); ++n) {
        const QStringList texts = doc.texts(n);
        gotDetails << int(std::count_if(texts.begin(), texts.end(), [](const QString &t) { return t.startsWith('R'); }));
        gotTops << texts.last().section('@', 1).toInt();
        QVERIFY2(texts.last().startsWith(QString("página %1 de").arg(n + 1)), qPrintable(texts.last()));
    }
    QCOMPARE(gotDetails, details);
    QCOMPARE(gotTops, footerTops);
}

void TestRLPagination::bandTallerThanThePage_data()
{
    // Records of a band taller than the 400 px body, integral height on; "fim" 30 px above the
    // band's bottom. A page that holds nothing since its header takes the band's first slice.
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<QStringList>>("bodies");
    QTest::newRow("one record of 900 px")
        << 1 << 900 << QList<QStringList>{{"R1@40"}, {}, {"fim@110"}};
    QTest::newRow("two records of 450 px")
        << 2 << 450 << QList<QStringList>{{"R1@40"}, {"fim@60"}, {"R2@40"}, {"fim@60"}};
}

void TestRLPagination::bandTallerThanThePage()
{
    QFETCH(int, records);
    QFETCH(int, height);
    QFETCH(QList<QStringList>, bodies);
    Doc doc(records, height);
    doc.label(doc.detail, 0, height - 30, "fim");
    QVERIFY(doc.report->Prepare());
    QList<QStringList> got;
    for (int n = 0; n < doc.pageCount(); ++n) {
        QStringList texts = doc.texts(n);
        QCOMPARE(texts.takeFirst(), QStringLiteral("cabeçalho@0"));
        QCOMPARE(texts.takeLast(), QString("página %1 de %2@440").arg(n + 1).arg(doc.pageCount()));
        got << texts;
    }
    QCOMPARE(got, bodies);
}

void TestRLPagination::carbonCopiesKnowTheirIndex_data()
{
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("pair");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one band, three copies")
        << 3 << false << QStringList{"1ª via A@40", "2ª via A@60", "3ª via A@80"};
    // X is the band of the pair that sorts first, Y the other.
    QTest::newRow("a group of two, two copies")
        << 2 << true << QStringList{"1ª via X@40", "1ª via Y@60", "2ª via X@80", "2ª via Y@100"};
}

void TestRLPagination::carbonCopiesKnowTheirIndex()
{
    QFETCH(int, copies);
    QFETCH(bool, pair);
    QFETCH(QStringList, expected);
    Doc doc(1);
    doc.detail->SetVisible(false);
    QList<TRLBand *> bands{doc.band(doc.report, btDetail, 100, 20)};
    if (pair)
        bands << doc.band(doc.report, btDetail, 120, 20);
    for (TRLBand *b : bands) {
        const QString name = b == bands.first() ? "A" : "B";
        doc.label(b, 0, 0, "")->BeforePrint = [b, name](TRLCustomControl *, QString &text, bool &) {
            text = QString("%1ª via %2").arg(b->CopyIndex() + 1).arg(name);
        };
        b->SetGroupIndex(pair ? 1 : 0);
    }
    bands.first()->SetCarbonCopies(copies);
    QVERIFY(doc.report->Prepare());
    const QStringList got = doc.texts(0).mid(1, expected.size());
    const bool aFirst = got.value(0).contains(" A@");
    expected.replaceInStrings(" X@", aFirst ? " A@" : " B@").replaceInStrings(" Y@", aFirst ? " B@" : " A@");
    QCOMPARE(got, expected);
    // Out of the copies the index is back at the first.
    QCOMPARE(bands.first()->CopyIndex(), 0);
}

void TestRLPagination::summaryAfterTheLastDetail_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("detailHeight");
    QTest::addColumn<bool>("alignToBottom");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("summary");
    QTest::newRow("under the details") << 3 << 50 << false << 1 << "total@190";
    QTest::newRow("on the bottom") << 3 << 50 << true << 1 << "total@410";
    QTest::newRow("no room left: next page") << 8 << 50 << false << 2 << "total@40";
    QTest::newRow("bottom of a full page: next page") << 8 << 50 << true << 2 << "total@410";
    // Five details of 74 px end at 410, the summary's own top: that is already its limit.
    QTest::newRow("details ending on the summary's limit: next page") << 5 << 74 << true << 2 << "total@410";
}

void TestRLPagination::summaryAfterTheLastDetail()
{
    QFETCH(int, records);
    QFETCH(int, detailHeight);
    QFETCH(bool, alignToBottom);
    QFETCH(int, pages);
    QFETCH(QString, summary);
    Doc doc(records, detailHeight);
    TRLBand *total = doc.band(doc.report, btSummary, 300, 30);
    total->SetAlignToBottom(alignToBottom);
    doc.label(total, 0, 0, "total");
    QVERIFY(doc.report->Prepare());
    QCOMPARE(doc.pageCount(), pages);
    QVERIFY2(doc.texts(pages - 1).contains(summary), qPrintable(doc.texts(pages - 1).join(' ')));
}

void TestRLPagination::groupsBreakOnTheirKey_data()
{
    QTest::addColumn<int>("breaking");
    QTest::addColumn<QStringList>("pages");
    QTest::newRow("one page")
        << int(pbNone)
        << QStringList{"cabeçalho@0 SP@40 a@60 b@80 soma@100 RJ@120 c@140 d@160 e@180 soma@200 MG@220 f@240 soma@260 "
                       "página 1 de 1@440"};
    QTest::newRow("a page per group")
        << int(pbBeforePrint)
        << QStringList{"cabeçalho@0 SP@40 a@60 b@80 soma@100 página 1 de 3@440",
                       "cabeçalho@0 RJ@40 c@60 d@80 e@100 soma@120 página 2 de 3@440",
                       "cabeçalho@0 MG@40 f@60 soma@80 página 3 de 3@440"};
}

namespace {
struct GroupDoc : Doc
{
    QStandardItemModel model{0, 2};
    TRLModelDataSet data{&model};
    TRLGroup *group;

    GroupDoc() : Doc(0, 20)
    {
        model.setHorizontalHeaderLabels({"UF", "Nome"});
        for (auto [uf, nome] : {std::pair{"SP", "a"}, {"SP", "b"}, {"RJ", "c"}, {"RJ", "d"}, {"RJ", "e"}, {"MG", "f"}})
            model.appendRow({new QStandardItem(uf), new QStandardItem(nome)});
        data.Open();
        report->SetDataSource(&data);
        report->OnNeedData = nullptr;
        detail->SetVisible(false);
        group = new TRLGroup(&form);
        group->SetName("GrupoUF");
        group->SetParent(report);
        group->SetBounds(0, 100, 480, 200);
        group->SetDataFields("UF");
        TRLBand *head = band(group, btHeader, 0, 20);
        label(head, 0, 0, "")->BeforePrint = [this](TRLCustomControl *, QString &t, bool &) {
            t = data.FieldValue("UF").toString();
        };
        TRLBand *line = band(group, btDetail, 20, 20);
        label(line, 0, 0, "")->BeforePrint = [this](TRLCustomControl *, QString &t, bool &) {
            t = data.FieldValue("nome").toString();
        };
        label(band(group, btSummary, 40, 20), 0, 0, "soma");
    }
};
} // namespace

void TestRLPagination::groupsBreakOnTheirKey()
{
    QFETCH(int, breaking);
    QFETCH(QStringList, pages);
    GroupDoc doc;
    doc.group->SetPageBreaking(TRLPageBreaking(breaking));
    QVERIFY2(doc.report->Prepare(), qPrintable(doc.report->errors.join('\n')));
    QStringList got;
    for (int n = 0; n < doc.pageCount(); ++n)
        got << doc.texts(n).join(' ');
    QCOMPARE(got, pages);
}

void TestRLPagination::groupFieldMissing()
{
    GroupDoc doc;
    doc.group->SetDataFields("UF;Cidade");
    QVERIFY(!doc.report->Prepare());
    QCOMPARE(doc.report->errors,
             QStringList{"RLRelatorio: Erro durante a preparação do relatório\rNão encontrado: GrupoUF.DataField \"Cidade\""});
}

void TestRLPagination::chainSharesPagesAndNumbers()
{
    Doc first(10), second(3);
    first.report->SetNextReport(second.report);
    QVERIFY(first.report->Prepare());
    // One store: two pages of the first report, then the second's, numbered on.
    QCOMPARE(first.pageCount(), 3);
    QCOMPARE(second.report->Pages()->PageCount(), 0);
    QCOMPARE(first.records_(), runOf(1, 8) + " | R9 R10 | " + runOf(1, 3));
    for (int n = 0; n < 3; ++n)
        QCOMPARE(first.texts(n).last(), QString("página %1 de 3@440").arg(n + 1));
    QCOMPARE(first.report->Pages()->LastPageNumber(), 3);
}

void TestRLPagination::cancelFinishesThePage()
{
    Doc doc(20);
    doc.report->OnDataRecord = [&](TRLCustomControl *, int recNo, int, bool &, TRLRecordAction &) {
        if (recNo == 12)
            doc.report->Cancel();
    };
    QVERIFY(!doc.report->Prepare());
    QCOMPARE(doc.report->PrepareState(), TRLPrepareState::NotPrepared);
    // The loop stops before record 12; the page it was on still gets its footer.
    QCOMPARE(doc.records_(), runOf(1, 8) + " | " + runOf(9, 11));
    QCOMPARE(doc.texts(1).last(), QStringLiteral("página 2 de {LastPageNumber}@440"));
}

void TestRLPagination::prepareAgainAfterFailedPageBreak_data()
{
    QTest::addColumn<int>("failingPage");
    QTest::newRow("header of the second page fails") << 2;
    QTest::newRow("header of the third page fails") << 3;
}

// The band that needed the new page must not stay marked as being printed: the next preparation
// of the same report would stop its list there and print no record at all.
void TestRLPagination::prepareAgainAfterFailedPageBreak()
{
    QFETCH(int, failingPage);
    Doc doc(20);
    bool failed = false;
    doc.label(doc.header, 200, 0, "")->BeforePrint = [&](TRLCustomControl *, QString &, bool &) {
        if (!failed && doc.report->PageNumber() == failingPage) {
            failed = true;
            throw TRLException(QStringLiteral("Cabeçalho indisponível"));
        }
    };
    QVERIFY(!doc.report->Prepare());
    QCOMPARE(doc.report->errors.size(), 1);
    QVERIFY(doc.report->Prepare());
    QCOMPARE(doc.report->errors.size(), 1);
    QCOMPARE(doc.records_(), runOf(1, 8) + " | " + runOf(9, 16) + " | " + runOf(17, 20));
}

QTEST_MAIN(TestRLPagination)
#include "tst_rlpagination.moc"
