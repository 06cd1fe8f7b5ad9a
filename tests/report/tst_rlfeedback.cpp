// The progress window: its layout for one or more bars, stepping, cancelling, and how it ends
// work when the program closes.

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/base/RLHost.h"
#include "report/RLLabel.h"
#include "report/RLReport.h"
#include "report/output/RLFeedBack.h"
#include "report/page/RLMetaFile.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <stdexcept>

Q_DECLARE_METATYPE(std::exception_ptr)

// Stands in for the program's application object: records what the engine hands it.
class TestApplication : public QApplication
{
    Q_OBJECT
public:
    using QApplication::QApplication;
    QStringList errors;

public slots:
    void handleException(std::exception_ptr error)
    {
        try {
            std::rethrow_exception(error);
        } catch (const TRLAbort &) {
            errors << QStringLiteral("abort");
        } catch (const std::exception &e) {
            errors << QString::fromUtf8(e.what());
        }
    }
};

// A print filter that only counts what the page loop asks of it, and acts on one page.
class CountingFilter : public TRLCustomPrintFilter
{
public:
    std::function<void(int)> onPage;
    int drawn = 0;
    int ended = 0;
    void BeginDoc() override {}
    void EndDoc() override { ++ended; }
    void NewPage() override {}
    void DrawPage(TRLGraphicSurface *) override
    {
        ++drawn;
        if (onPage)
            onPage(drawn);
    }
};

static TfrmRLFeedBack *shownFeedBack()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *window = qobject_cast<TfrmRLFeedBack *>(w); window && window->isVisible())
            return window;
    return nullptr;
}

static TestApplication *testApp()
{
    return static_cast<TestApplication *>(QCoreApplication::instance());
}

class TestRLFeedBack : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void layoutForBars_data();
    void layoutForBars();
    void stepsTheCurrentBar();
    void cancelRunsCallback_data();
    void cancelRunsCallback();
    void escapeAndCloseCancel_data();
    void escapeAndCloseCancel();
    void callbackErrorReachesHandler();
    void blinkTogglesStepName();
    void pageLoopShowsProgress_data();
    void pageLoopShowsProgress();
    void prepareErrorAfterProgressWindow_data();
    void prepareErrorAfterProgressWindow();
    void screenshots();
};

void TestRLFeedBack::init()
{
    RLSetApplicationClosing(false);
    testApp()->errors.clear();
}

void TestRLFeedBack::cleanup()
{
    RLSetApplicationClosing(false);
}

void TestRLFeedBack::layoutForBars_data()
{
    QTest::addColumn<int>("bars");
    QTest::addColumn<int>("height");
    QTest::newRow("one") << 1 << 129;
    QTest::newRow("three") << 3 << 129 + 2 * 17 + 4;
    QTest::newRow("none asked") << 0 << 129;
}

void TestRLFeedBack::layoutForBars()
{
    QFETCH(int, bars);
    QFETCH(int, height);
    TfrmRLFeedBack window(QStringLiteral("Imprimindo o relatório..."), bars);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The outer size holds whatever frame the platform draws around the window.
    QCOMPARE(window.frameGeometry().size(), QSize(393, height));
    QCOMPARE(window.BarCount(), std::max(1, bars));
    for (int i = 0; i < window.BarCount(); ++i) {
        QProgressBar *bar = window.Bar(i);
        QCOMPARE(bar->objectName(), i == 0 ? QStringLiteral("ProgressBar") : QStringLiteral("ProgressBar%1").arg(i + 1));
        QCOMPARE(bar->geometry(), QRect(14, 28 + 19 * i, 355, 17));
        QCOMPARE(bar->value(), 0);
        QCOMPARE(bar->maximum(), 100);
    }
    QCOMPARE(window.BitBtnCancel->geometry().size(), QSize(85, 25));
    // The button moves down with the added bars, so it keeps its distance from the bottom edge.
    QCOMPARE(window.BitBtnCancel->pos(), QPoint(151, 65 + height - 129));
    QCOMPARE(QApplication::focusWidget(), window.BitBtnCancel);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY((window.frameGeometry().center() - screen.center()).manhattanLength() <= 2);
    // A longer step text is not cut off at the designed width.
    window.SetStepName(QStringLiteral("Página 12345"));
    QVERIFY(window.LabelStepName->width() >= window.LabelStepName->fontMetrics().horizontalAdvance(QStringLiteral("Página 12345")));
}

void TestRLFeedBack::stepsTheCurrentBar()
{
    TfrmRLFeedBack window(QStringLiteral("x"), 2);
    QProgressBar *first = window.Bar(0);
    QProgressBar *second = window.Bar(1);
    window.SetMax(4);
    window.Step();
    window.Step();
    QCOMPARE(first->value(), 2);
    QCOMPARE(first->maximum(), 4);
    window.SetMax(5); // a new maximum starts the bar again
    QCOMPARE(first->value(), 0);
    window.Step();
    window.NextBar();
    QCOMPARE(window.CurrentBar(), 1);
    window.SetMax(2);
    for (int i = 0; i < 3; ++i)
        window.Step();
    QCOMPARE(first->value(), 1);
    QCOMPARE(second->value(), 2); // a step past the end leaves the bar full
    window.NextBar();
    QCOMPARE(window.CurrentBar(), 1);
    // No work to count: an empty bar, not Qt's busy indicator (a range of 0 to 0).
    window.SetMax(0);
    QVERIFY(second->maximum() > second->minimum());
    QCOMPARE(second->value(), 0);
}

void TestRLFeedBack::cancelRunsCallback_data()
{
    QTest::addColumn<bool>("okButton");
    QTest::addColumn<bool>("ownerAlive");
    QTest::addColumn<bool>("canceled");
    QTest::addColumn<bool>("finished");
    QTest::addColumn<int>("calls");
    QTest::newRow("cancel") << false << true << true << false << 1;
    QTest::newRow("owner gone") << false << false << true << false << 0;
    QTest::newRow("ok button") << true << true << false << true << 0;
}

void TestRLFeedBack::cancelRunsCallback()
{
    QFETCH(bool, okButton);
    QFETCH(bool, ownerAlive);
    QFETCH(bool, canceled);
    QFETCH(bool, finished);
    QFETCH(int, calls);
    TfrmRLFeedBack window(QStringLiteral("x"));
    auto *owner = new QObject;
    int seen = 0;
    window.SetOnCancel(owner, [&](QObject *o, TfrmRLFeedBack *sender, bool &flag) {
        ++seen;
        QCOMPARE(o, owner);
        QCOMPARE(sender, &window);
        QVERIFY(flag);
    });
    if (!ownerAlive)
        delete owner;
    window.SetFinishedButton(okButton);
    window.show();
    QTest::mouseClick(window.BitBtnCancel, Qt::LeftButton);
    QCOMPARE(window.Canceled(), canceled);
    QCOMPARE(window.Finished(), finished);
    QCOMPARE(seen, calls);
    QVERIFY(window.isVisible());
    if (ownerAlive)
        delete owner;
}

void TestRLFeedBack::escapeAndCloseCancel_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("escape") << true;
    QTest::newRow("close box") << false;
}

void TestRLFeedBack::escapeAndCloseCancel()
{
    QFETCH(bool, byEscape);
    TfrmRLFeedBack window(QStringLiteral("x"));
    bool called = false;
    window.SetOnCancel(nullptr, [&](QObject *, TfrmRLFeedBack *, bool &) { called = true; });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (byEscape)
        QTest::keyClick(&window, Qt::Key_Escape);
    else
        window.close();
    // The work owns the window: it stays until the work lets it go.
    QVERIFY(window.isVisible());
    QVERIFY(window.Canceled());
    QVERIFY(called);
}

void TestRLFeedBack::callbackErrorReachesHandler()
{
    TfrmRLFeedBack window(QStringLiteral("x"));
    window.SetOnCancel(nullptr, [](QObject *, TfrmRLFeedBack *, bool &) {
        throw std::runtime_error("falha no cancelamento");
    });
    window.show();
    QTest::mouseClick(window.BitBtnCancel, Qt::LeftButton);
    QCOMPARE(testApp()->errors, QStringList{QStringLiteral("falha no cancelamento")});
    QVERIFY(window.Canceled());
}

void TestRLFeedBack::blinkTogglesStepName()
{
    TfrmRLFeedBack window(QStringLiteral("x"));
    window.TimerBlinkTimer();
    QVERIFY(window.LabelStepName->isHidden());
    window.TimerBlinkTimer();
    QVERIFY(!window.LabelStepName->isHidden());
}

void TestRLFeedBack::pageLoopShowsProgress_data()
{
    QTest::addColumn<QString>("onPage2");
    QTest::addColumn<int>("drawn");
    QTest::addColumn<bool>("aborted");
    QTest::newRow("to the end") << "" << 4 << false;
    // A cancel ends the run as silently as a closing program: nothing is sent.
    QTest::newRow("cancel during page 2") << "cancel" << 2 << true;
    QTest::newRow("program closes during page 2") << "close" << 2 << true;
}

void TestRLFeedBack::pageLoopShowsProgress()
{
    QFETCH(QString, onPage2);
    QFETCH(int, drawn);
    QFETCH(bool, aborted);
    InstallRLFeedBackProgress();
    QObject report; // a store without owner would release itself after the run
    auto &store = *new TRLGraphicStorage(&report);
    for (int i = 0; i < 4; ++i) {
        auto *page = new TRLGraphicSurface;
        page->SetWidth(100);
        page->SetHeight(100);
        store.Add(page);
    }
    CountingFilter filter;
    QString caption;
    int maximum = 0;
    filter.onPage = [&](int page) {
        TfrmRLFeedBack *window = shownFeedBack();
        QVERIFY(window);
        caption = window->windowTitle();
        maximum = window->ProgressBar->maximum();
        QCOMPARE(window->ProgressBar->value(), page - 1);
        if (page != 2)
            return;
        // What the user does reaches the window while the step processes events.
        if (onPage2 == "cancel")
            QMetaObject::invokeMethod(window->BitBtnCancel, "click", Qt::QueuedConnection);
        else if (onPage2 == "close")
            QTimer::singleShot(0, [] { RLSetApplicationClosing(true); });
    };
    bool abortSeen = false;
    try {
        filter.Run(&store, 1, -1);
    } catch (const TRLAbort &) {
        abortSeen = true;
    }
    SetRLProgressFactory({});
    QCOMPARE(filter.drawn, drawn);
    QCOMPARE(abortSeen, aborted);
    QCOMPARE(caption, QStringLiteral("Imprimindo o relatório..."));
    QCOMPARE(maximum, 4);
    QCOMPARE(filter.ended, 1); // the job is ended however the run stops
    QCOMPARE(shownFeedBack(), nullptr);
}

namespace {

// Notes, when it would show the preparation's error, whether a progress window is still up.
class ErrorWatchingReport : public TRLReport
{
public:
    using TRLReport::TRLReport;
    QStringList errors;
    bool progressShownWithError = false;

protected:
    void ShowPrepareError(const QString &text) override
    {
        errors << text;
        progressShownWithError = shownFeedBack() != nullptr;
    }
};

} // namespace

void TestRLFeedBack::prepareErrorAfterProgressWindow_data()
{
    QTest::addColumn<bool>("chained");
    QTest::newRow("the report itself fails") << false;
    QTest::newRow("the next report of a chain fails") << true;
}

// The progress window stays on top of every window: an error box opened under it could not be read.
void TestRLFeedBack::prepareErrorAfterProgressWindow()
{
    QFETCH(bool, chained);
    QObject form;
    auto *first = new ErrorWatchingReport(&form);
    first->SetName(QStringLiteral("RLPrimeiro"));
    ErrorWatchingReport *failing = first;
    if (chained) {
        failing = new ErrorWatchingReport(&form);
        failing->SetName(QStringLiteral("RLSegundo"));
        first->SetNextReport(failing);
    }
    auto *label = new TRLLabel(&form);
    label->SetParent(failing);
    label->BeforePrint = [](TRLCustomControl *, QString &, bool &) {
        throw TRLException(QStringLiteral("Campo sem dados"));
    };
    QVERIFY(first->ShowProgress());
    QVERIFY(!first->Prepare());
    QCOMPARE(failing->errors.size(), 1);
    QVERIFY(failing->errors.first().endsWith(QStringLiteral("Campo sem dados")));
    QVERIFY(!failing->progressShownWithError);
    QTRY_COMPARE(shownFeedBack(), nullptr);
}

// Not a check: with ZAVENOR_SHOTS_DIR set (under Xvfb), pictures of the window for the docs.
void TestRLFeedBack::screenshots()
{
    const QString folder = qEnvironmentVariable("ZAVENOR_SHOTS_DIR");
    if (folder.isEmpty())
        QSKIP("pictures only on request");
    for (int bars : {1, 3}) {
        TfrmRLFeedBack window(QStringLiteral("Imprimindo o relatório..."), bars);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int bar = 0; bar < bars; ++bar) {
            window.SetMax(4);
            for (int step = 0; step < bars - bar + 1; ++step)
                window.Step();
            window.NextBar();
        }
        window.SetStepName(QStringLiteral("Página 2"));
        QTest::qWait(200);
        const QString file = QStringLiteral("%1/progresso-%2-barra%3.png").arg(folder).arg(bars).arg(bars > 1 ? "s" : "");
        QCOMPARE(QProcess::execute(QStringLiteral("import"),
                                   {QStringLiteral("-window"), QString::number(window.winId()), file}), 0);
    }
}

int main(int argc, char **argv)
{
    TestApplication app(argc, argv);
    TestRLFeedBack test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_rlfeedback.moc"
