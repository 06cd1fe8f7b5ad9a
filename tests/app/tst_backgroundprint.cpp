// The Print command with "Imprimir em segundo plano" chosen: the document window goes at once
// while its pages are still printing, a failure after the confirmation reaches the error box on
// the main thread, a second print meanwhile is refused in words the user understands, closing
// the window asks first, and the system stopping the program ends it as a close does.
#include "app/BackgroundPrints.h"
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "report/base/RLConsts.h"
#include "report/base/RLHost.h"
#include "report/base/RLTempFiles.h"
#include "report/output/RLFeedBack.h"
#include "report/output/RLFilterThread.h"
#include "report/output/RLPrintDialog.h"
#include "report/output/RLPrinters.h"
#include "slips/pDadosDARF.h"
#include "support/FakePrinterService.h"
#include "support/PdfInspect.h"
#include "../slips/PrintedPage.h"
#include "WindowDriver.h"

#include <QCheckBox>
#include <QDir>
#include <QProcess>
#include <QProgressBar>
#include <QTabWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>

using namespace WindowDriver;

namespace {

// Accepts the print dialog with the background choice ticked and answers every message box.
struct BackgroundAnswerer : PrintedPage::DialogAnswerer
{
    BackgroundAnswerer() { background = true; }
};

// Accepts the print dialog in the background; answers the close question with the button named
// answer and every other box with its default button.
class CloseAnswerer : public QObject
{
public:
    QString answer;
    std::function<void()> onAnswered;
    QStringList questionButtons;
    QStringList otherTexts;

    CloseAnswerer()
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<TRLPrintDialog *>(modal); dialog && dialog->isVisible()) {
                dialog->CheckBoxPrintInBackground->setChecked(true);
                dialog->ButtonOk->click();
            } else if (auto *box = qobject_cast<QMessageBox *>(modal); box && box->isVisible()) {
                if (box->text() != BackgroundPrintCloser::RunningPrintQuestion()) {
                    otherTexts << box->text();
                    box->defaultButton()->click();
                    return;
                }
                QAbstractButton *chosen = nullptr;
                for (QAbstractButton *button : box->buttons()) {
                    questionButtons << button->text();
                    if (button->text() == answer)
                        chosen = button;
                }
                if (chosen)
                    chosen->click();
                if (onAnswered)
                    onAnswered();
            }
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
};

TfrmRLFeedBack *printProgressWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *window = qobject_cast<TfrmRLFeedBack *>(widget);
            window && window->isVisible() && window->windowTitle() == RLMessage(rlmPrintingInProgress))
            return window;
    return nullptr;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

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

    void closeDuringBackgroundPrint_data()
    {
        QTest::addColumn<bool>("asTheBarMoves");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("sent"); // -1: the page may be sent before the answer comes
        QTest::newRow("as the bar moves, wait") << true << BackgroundPrintCloser::WaitAnswer() << 1;
        QTest::newRow("as the bar moves, cancel") << true << BackgroundPrintCloser::CancelAnswer() << -1;
        QTest::newRow("before the first page, wait") << false << BackgroundPrintCloser::WaitAnswer() << 1;
        QTest::newRow("before the first page, cancel") << false << BackgroundPrintCloser::CancelAnswer() << 0;
    }
    // The data-only GARE shows its progress: a close handled while the real progress window steps
    // runs inside the hand-over the worker waits for.
    void closeDuringBackgroundPrint()
    {
        QFETCH(bool, asTheBarMoves);
        QFETCH(QString, answer);
        QFETCH(int, sent);
        new BackgroundPrintCloser(w);
        w->PC1->setCurrentWidget(w->tsGare);
        w->EdNomeG->setText(QStringLiteral("João Ninguém"));
        CloseAnswerer answers;
        answers.answer = answer;
        QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(entered->available() > 0, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(printProgressWindow(), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(answers.otherTexts, QStringList(QStringLiteral("Ok. Impressão efetuada.")), 20000);
        bool posted = false;
        if (asTheBarMoves) {
            connect(printProgressWindow()->ProgressBar, &QProgressBar::valueChanged, w, [this, &posted](int value) {
                if (value > 0 && !posted) {
                    posted = true;
                    QMetaObject::invokeMethod(w, "close", Qt::QueuedConnection);
                }
            });
            gate->release(100);
        } else {
            // Held at the start of its job: let it go once the question is answered.
            answers.onAnswered = [this] { gate->release(100); };
            posted = true;
            QMetaObject::invokeMethod(w, "close", Qt::QueuedConnection);
        }
        QTRY_VERIFY_WITH_TIMEOUT(posted, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!w->isVisible(), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!RLBackgroundRunning(), 20000);
        QCOMPARE(answers.questionButtons,
                 (QStringList{BackgroundPrintCloser::WaitAnswer(), BackgroundPrintCloser::CancelAnswer()}));
        if (sent >= 0)
            QCOMPARE(state->sent.size(), sent);
        if (sent > 0)
            QVERIFY(PdfInspect::texts(SaveSentDocument(*state, 0, dir.path())).join(' ').contains(QStringLiteral("Ninguém")));
        QCOMPARE(answers.otherTexts, QStringList(QStringLiteral("Ok. Impressão efetuada.")));
        QTRY_VERIFY(RLTempFiles().filter(QStringLiteral("~rlprn")).isEmpty());
    }

    void systemStopEndsAsClose_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<QString>("mode");
        QTest::newRow("SIGTERM during a background print") << int(SIGTERM) << "background";
        QTest::newRow("SIGINT while the print dialog is open") << int(SIGINT) << "dialog";
        QTest::newRow("SIGHUP with nothing printing") << int(SIGHUP) << "idle";
    }
    // The program runs as a child of the test, in a temporary folder of its own.
    void systemStopEndsAsClose()
    {
        QFETCH(int, signalNumber);
        QFETCH(QString, mode);
        QTemporaryDir tmp;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), tmp.path());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), mode});
        QVERIFY(child.waitForStarted(20000));
        QByteArray out;
        QDeadlineTimer ready(60000);
        while (!out.contains("ready") && !ready.hasExpired() && child.state() == QProcess::Running) {
            child.waitForReadyRead(500);
            out += child.readAllStandardOutput();
        }
        QVERIFY2(out.contains("ready"), out.constData());
        // The print is under way: its page file and its document are there.
        if (mode == QLatin1String("background"))
            QCOMPARE(filesIn(tmp.path()).size(), 2);
        ::kill(pid_t(child.processId()), signalNumber);
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(filesIn(tmp.path()), QStringList());
    }
};

namespace {

// Holds every job at its submission until the program closes, as a slow print service would.
class SubmissionHeldService : public FakePrinterService
{
public:
    using FakePrinterService::FakePrinterService;
    int Submit(const TRLPrintJob &) override
    {
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        while (!RLApplicationClosing())
            QThread::msleep(20);
        throw TRLAbort();
    }
};

// The program as main() sets it up, with a print service that never finishes a job.
int childProgram(int argc, char **argv, const QString &mode)
{
    TZavenorApplication app(argc, argv);
    auto state = std::make_shared<FakePrinterState>();
    state->queues = {LocalQueue(QStringLiteral("GuiaPDF"), QStringLiteral("cups-pdf:/X"), true)};
    SetRLPrinterService(std::make_unique<SubmissionHeldService>(state));
    TfrmZavenor window;
    InstallProgramEnd(&window);
    window.cbComLayOut->setChecked(false);
    window.show();
    QTimer watch;
    if (mode == QLatin1String("background")) {
        auto *answers = new BackgroundAnswerer;
        answers->setParent(&app);
        QTimer::singleShot(0, window.BBImprimir, &QPushButton::click);
    } else if (mode == QLatin1String("dialog")) {
        QObject::connect(&watch, &QTimer::timeout, [&watch] {
            if (qobject_cast<TRLPrintDialog *>(QApplication::activeModalWidget())) {
                watch.stop();
                std::fputs("ready\n", stdout);
                std::fflush(stdout);
            }
        });
        watch.start(20);
        QTimer::singleShot(0, window.BBImprimir, &QPushButton::click);
    } else {
        QTimer::singleShot(0, [] {
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
        });
    }
    return FinishProgram(app.exec());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 2 && qstrcmp(argv[1], "--child") == 0)
        return childProgram(argc, argv, QString::fromLatin1(argv[2]));
    TZavenorApplication app(argc, argv);
    TestBackgroundPrint t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_backgroundprint.moc"
