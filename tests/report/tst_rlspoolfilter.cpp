// The page loop and the spool filter on a stand-in printer service: page ranges, jobs per paper,
// scaling, cancel, unreadable pages, and where recorded objects land on the drawn PDF.
#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/base/RLTempFiles.h"
#include "report/output/RLFilters.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLSpoolFilter.h"
#include "support/FakePrinterService.h"
#include "support/PdfInspect.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include "support/TestPages.h"

#include <QtTest>

namespace {

using Paper = TestPaper;
constexpr Paper a4{1, 210, 297};


class CancellingProgress : public TRLProgress
{
public:
    CancellingProgress(int cancelAt, std::function<void()> cancel) : m_cancelAt(cancelAt), m_cancel(std::move(cancel)) {}
    void SetMax(int max) override { maxSeen = max; }
    void Step() override
    {
        if (++m_steps == m_cancelAt)
            m_cancel();
    }
    static inline int maxSeen = -1;

private:
    int m_cancelAt;
    int m_steps = 0;
    std::function<void()> m_cancel;
};

} // namespace

Q_DECLARE_METATYPE(Paper)

class TestRLSpoolFilter : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<FakePrinterState> state;
    QTemporaryDir dir;

    QString writeJob(int index) { return SaveSentDocument(*state, index, dir.path()); }

    // The words of every job handed over, one list per job.
    QList<QStringList> jobTexts()
    {
        QList<QStringList> out;
        for (int i = 0; i < state->sent.size(); ++i)
            out << PdfInspect::texts(writeJob(i));
        return out;
    }

private slots:
    void initTestCase() { RLLoadMessages(mlPortuguese); }

    void init()
    {
        state = InstallFakePrinter();
        SetRLProgressFactory(nullptr);
    }

    void pageRange_data()
    {
        QTest::addColumn<int>("fromPage");
        QTest::addColumn<int>("toPage");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("0 to -1: all") << 0 << -1 << QStringList{"P1", "P2", "P3", "P4", "P5"};
        QTest::newRow("3 to 99") << 3 << 99 << QStringList{"P3", "P4", "P5"};
    }

    void pageRange()
    {
        QFETCH(int, fromPage);
        QFETCH(int, toPage);
        QFETCH(QStringList, printed);
        QObject owner;
        TRLGraphicStorage *store = NewTestStore(&owner, {a4, a4, a4, a4, a4});
        // No filter given: the shared spool filter prints.
        RunFilterOnStore(store, nullptr, fromPage, toPage);
        QCOMPARE(state->sent.size(), 1);
        QCOMPARE(jobTexts().first(), printed);
        QVERIFY(!store->Filters().contains(SpoolFilter()));
        QVERIFY(!RLPrinter().Printing());
    }

    // A range without pages is said so; it must not end in a confirmation of nothing.
    void emptyRangeIsRefused_data()
    {
        QTest::addColumn<int>("fromPage");
        QTest::addColumn<int>("toPage");
        QTest::newRow("6 of 5") << 6 << -1;
        QTest::newRow("to 0") << 1 << 0;
        QTest::newRow("3 to 1") << 3 << 1;
    }

    void emptyRangeIsRefused()
    {
        QFETCH(int, fromPage);
        QFETCH(int, toPage);
        QObject owner;
        TRLGraphicStorage *store = NewTestStore(&owner, {a4, a4, a4, a4, a4});
        QString message;
        try {
            RunFilterOnStore(store, nullptr, fromPage, toPage);
        } catch (const TRLException &e) {
            message = e.Message();
        }
        QCOMPARE(message, QStringLiteral("Nenhuma página no intervalo escolhido."));
        QVERIFY(state->sent.isEmpty());
        QVERIFY(!store->Filters().contains(SpoolFilter()));
    }

    // A change of paper ends the job: no blank sheet is left at the end of the first one.
    void jobPerPaper()
    {
        QObject owner;
        const Paper landscape{2, 210, 297};
        const Paper slip{1, 211, 102};
        TRLGraphicStorage *store = NewTestStore(&owner, {a4, a4, landscape, slip});
        RunFilterOnStore(store, nullptr, 1, -1);
        QCOMPARE(jobTexts(), (QList<QStringList>{{"P1", "P2"}, {"P3"}, {"P4"}}));
        QCOMPARE(state->sent.at(0).job.Media, QStringLiteral("A4"));
        QCOMPARE(state->sent.at(2).job.Media, QStringLiteral("custom_zavenor_211x102mm"));
        const QList<PdfPage> first = PdfInspect::pages(writeJob(0));
        QCOMPARE(first.size(), 2);
        const QList<PdfPage> turned = PdfInspect::pages(writeJob(1));
        QCOMPARE(turned.size(), 1);
        QVERIFY(turned.first().sizePt.width() > turned.first().sizePt.height());
        const QSizeF slipMm = PdfInspect::pages(writeJob(2)).first().uprightMm();
        QVERIFY2(qAbs(slipMm.width() - 211) < 0.5 && qAbs(slipMm.height() - 102) < 0.5,
                 qPrintable(QStringLiteral("%1 x %2").arg(slipMm.width()).arg(slipMm.height())));
    }

    void factorsFollowPrinterResolution()
    {
        QObject owner;
        TRLGraphicStorage *store = NewTestStore(&owner, {a4});
        RunFilterOnStore(store, nullptr, 1, -1);
        // 794 report pixels across A4 at 600 dpi.
        QCOMPARE(SpoolFilter()->PageRect(), TRLRect(0, 0, 4961, 7016));
        QVERIFY(qAbs(SpoolFilter()->FactorX() - 6.25) < 0.01);
        QVERIFY(qAbs(SpoolFilter()->FactorY() - 6.25) < 0.01);
    }

    void cancelSendsNothing()
    {
        SetRLProgressFactory([](const QString &caption, int bars, std::function<void()> cancel, bool) {
            if (caption != RLMessage(rlmPrintingInProgress) || bars != 1)
                return std::unique_ptr<TRLProgress>();
            return std::unique_ptr<TRLProgress>(new CancellingProgress(2, std::move(cancel)));
        });
        QObject owner;
        TRLGraphicStorage *store = NewTestStore(&owner, {a4, a4, a4, a4});
        const QStringList filesBefore = RLTempFiles();
        QVERIFY_THROWS_EXCEPTION(TRLAbort, RunFilterOnStore(store, nullptr, 1, -1));
        QCOMPARE(CancellingProgress::maxSeen, 4);
        // Cancelled means nothing reaches the printer, not the pages drawn so far.
        QVERIFY(state->sent.isEmpty());
        QVERIFY(SpoolFilter()->Canceled());
        QVERIFY(!RLPrinter().Printing());
        QCOMPARE(RLTempFiles(), filesBefore);
    }

    // Neither a short document presented as printed nor a store left linked.
    void unreadablePageFailsTheRun()
    {
        QObject owner;
        TRLGraphicStorage *store = NewTestStore(&owner, {a4, a4, a4, a4, a4, a4, a4});
        // Page 1 is no longer cached; damage it in the file.
        {
            QFile file(store->FileName());
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek(4);
            file.write("XXXX");
        }
        QString message;
        try {
            RunFilterOnStore(store, nullptr, 1, -1);
        } catch (const TRLException &e) {
            message = e.Message();
        }
        QCOMPARE(message, QStringLiteral("A página 1 do relatório não pôde ser lida; nada foi impresso."));
        QVERIFY(state->sent.isEmpty());
        QVERIFY(store->Filters().isEmpty());
        QVERIFY(!RLPrinter().Printing());
    }

    void printerErrorEndsRunCleanly()
    {
        state->submitFailure = QStringLiteral("Filter failed");
        QObject owner;
        TRLGraphicStorage *store = NewTestStore(&owner, {a4});
        QVERIFY_THROWS_EXCEPTION(TRLException, RunFilterOnStore(store, nullptr, 1, -1));
        QVERIFY(store->Filters().isEmpty());
        QVERIFY(!RLPrinter().Printing());
    }

    // A store without owner goes when the run lets go of it.
    void ownerlessStoreReleasedAfterRun()
    {
        QPointer<TRLGraphicStorage> store = NewTestStore(nullptr, {a4});
        RunFilterOnStore(store, nullptr, 1, -1);
        QVERIFY(store.isNull());
    }

    void filtersListThemselves()
    {
        const int before = ActiveFilters().size();
        {
            TRLSpoolFilter filter;
            filter.setObjectName(QStringLiteral("Spool"));
            QVERIFY(ActiveFilters().contains(&filter));
            QCOMPARE(filter.GetDisplayName(), QStringLiteral("Spool"));
            filter.SetDisplayName(QStringLiteral("Impressora"));
            QCOMPARE(filter.GetDisplayName(), QStringLiteral("Impressora"));
        }
        QCOMPARE(ActiveFilters().size(), before);
    }

    // A box recorded at report pixels lands at x * 25.4 / 96 mm on paper, clip regions hold, and a
    // reset clip gives the page back.
    void positionsAndClipping_data()
    {
        QTest::addColumn<Paper>("paper");
        QTest::newRow("A4 portrait") << a4;
        QTest::newRow("A4 landscape") << Paper{2, 210, 297};
        QTest::newRow("slip sheet") << Paper{1, 211, 102};
    }

    void positionsAndClipping()
    {
        QFETCH(Paper, paper);
        QObject owner;
        auto *store = new TRLGraphicStorage(&owner);
        TRLGraphicSurface *page = NewTestPage(paper, QString());
        page->SetBrush(QBrush(Qt::black));
        page->FillRect(TRLRect(96, 192, 192, 288)); // 25.4 mm, 50.8 mm
        page->SetClipRect(TRLRect(300, 0, 350, 100));
        page->FillRect(TRLRect(250, 50, 400, 60)); // only 300..350 shows
        page->ResetClipRect();
        page->FillRect(TRLRect(500, 50, 510, 60));
        store->Add(page);
        RunFilterOnStore(store, nullptr, 1, -1);
        QCOMPARE(state->sent.size(), 1);
        const QString pdf = writeJob(0);
        // 254 dpi: ten pixels per millimetre.
        QProcess render;
        render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-png"),
                                                  QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))});
        QVERIFY(render.waitForFinished(60000));
        const QImage image(dir.filePath(QStringLiteral("page.png")));
        QVERIFY(!image.isNull());
        const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
        const auto firstDark = [&](int y, int from, int to) {
            for (int x = from; x < to; ++x)
                if (dark(x, y))
                    return x;
            return -1;
        };
        QVERIFY(qAbs(firstDark(600, 0, 600) - 254) <= 3);
        int top = -1;
        for (int y = 0; y < 800 && top < 0; ++y)
            if (dark(300, y))
                top = y;
        QVERIFY(qAbs(top - 508) <= 3);
        QVERIFY(qAbs(firstDark(146, 600, 1100) - 794) <= 3); // 300 px, clipped
        const int clippedEnd = 926;                            // 350 px
        QVERIFY(!dark(clippedEnd + 4, 146));
        QVERIFY(dark(qRound(505 * 254 / 96.0), 146)); // the clip was reset
    }
};

QTEST_MAIN(TestRLSpoolFilter)
#include "tst_rlspoolfilter.moc"
