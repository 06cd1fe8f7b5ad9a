// The progress window: its layout for one or more bars, stepping, cancelling, and how it ends
// work when the program closes.

#include "report/RLConsts.h"
#include "report/RLExceptions.h"
#include "report/RLHost.h"
#include "report/output/RLFeedBack.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
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
    void textsAndCaption();
    void centredOnScreen();
    void stepsTheCurrentBar();
    void cancelRunsCallback_data();
    void cancelRunsCallback();
    void escapeAndCloseCancel_data();
    void escapeAndCloseCancel();
    void clickDuringStepIsSeen();
    void closingApplicationAbortsStep();
    void callbackErrorReachesHandler();
    void blinkTogglesStepName();
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
    QCOMPARE(window.LabelStepName->pos(), QPoint(14, 12));
    QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(window.windowModality(), Qt::ApplicationModal);
    QCOMPARE(QApplication::focusWidget(), window.BitBtnCancel);
}

void TestRLFeedBack::textsAndCaption()
{
    TfrmRLFeedBack window(QStringLiteral("Preparando o relatório..."));
    QCOMPARE(window.windowTitle(), QStringLiteral("Preparando o relatório..."));
    QCOMPARE(window.LabelStepName->text(), QStringLiteral("Aguarde..."));
    QCOMPARE(window.BitBtnCancel->text(), QStringLiteral("Cancelar"));
    QCOMPARE(window.LabelStepName->font().pixelSize(), 12);
    QCOMPARE(window.font().pixelSize(), 11);
    QVERIFY(!window.BitBtnCancel->icon().isNull());
    // A longer step text must not be cut off at the designed width.
    window.SetStepName(QStringLiteral("Página 12345"));
    QCOMPARE(window.LabelStepName->text(), QStringLiteral("Página 12345"));
    QVERIFY(window.LabelStepName->width() >= window.LabelStepName->fontMetrics().horizontalAdvance(QStringLiteral("Página 12345")));
}

void TestRLFeedBack::centredOnScreen()
{
    TfrmRLFeedBack window(QStringLiteral("x"), 3);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = window.frameGeometry();
    QVERIFY(qAbs(frame.center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(frame.center().y() - screen.center().y()) <= 1);
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

void TestRLFeedBack::clickDuringStepIsSeen()
{
    TfrmRLFeedBack window(QStringLiteral("x"));
    window.show();
    window.SetMax(4);
    QMetaObject::invokeMethod(window.BitBtnCancel, "click", Qt::QueuedConnection);
    QVERIFY(!window.Canceled());
    window.Step();
    QVERIFY(window.Canceled());
}

void TestRLFeedBack::closingApplicationAbortsStep()
{
    TfrmRLFeedBack window(QStringLiteral("x"));
    window.SetMax(3);
    window.Step();
    // The main window closes while events are processed inside a step.
    QTimer::singleShot(0, [] { RLSetApplicationClosing(true); });
    QVERIFY_THROWS_EXCEPTION(TRLAbort, window.Step());
    QCOMPARE(window.Bar(0)->value(), 2);
    QVERIFY_THROWS_EXCEPTION(TRLAbort, window.Step());
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
    QVERIFY(!window.TimerBlink->isActive());
    QCOMPARE(window.TimerBlink->interval(), 300);
    window.show();
    window.TimerBlink->start();
    QTRY_VERIFY(window.LabelStepName->isHidden());
    QTRY_VERIFY(!window.LabelStepName->isHidden());
}

int main(int argc, char **argv)
{
    TestApplication app(argc, argv);
    TestRLFeedBack test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_rlfeedback.moc"
