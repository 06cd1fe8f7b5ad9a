// The one way to wait: how a wait ends when the work ends, fails, outlasts its deadline, is
// cancelled, or the program is asked to quit, and that no wait after the quit turns at all.

#include "report/base/RLExceptions.h"
#include "report/base/RLWork.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QtTest>

#include <atomic>

Q_DECLARE_METATYPE(TRLWaitEnd)

class TestRLWork : public QObject
{
    Q_OBJECT

private slots:
    void waitEndsAsSaid_data()
    {
        QTest::addColumn<QString>("what"); // what happens while the caller waits
        QTest::addColumn<TRLWaitEnd>("end");
        QTest::addColumn<QString>("result"); // read after the end: the value, the error, or nothing
        QTest::newRow("the work ends") << "ends" << TRLWaitEnd::Finished << "42";
        QTest::newRow("the work fails") << "fails" << TRLWaitEnd::Finished << "error: sem papel";
        QTest::newRow("the deadline passes") << "deadline" << TRLWaitEnd::TimedOut << "";
        QTest::newRow("cancelled by the caller") << "cancel" << TRLWaitEnd::Canceled << "";
        // Last: after an exit every later loop of this thread is refused.
        QTest::newRow("the program is asked to quit") << "quit" << TRLWaitEnd::Quitting << "";
        QTest::newRow("a wait after the quit") << "after quit" << TRLWaitEnd::Quitting << "";
    }

    void waitEndsAsSaid()
    {
        QFETCH(QString, what);
        QFETCH(TRLWaitEnd, end);
        QFETCH(QString, result);
        auto stop = std::make_shared<std::atomic<bool>>(false);
        const bool quick = what == QLatin1String("ends") || what == QLatin1String("fails");
        TRLWork<int> work = RLStartWork<int>([stop, what, quick](QPromise<int> &promise) {
            // A long piece of work ends only when told, or when its future is cancelled.
            while (!quick && !*stop && !promise.isCanceled())
                QThread::msleep(5);
            if (what == QLatin1String("fails"))
                throw TRLException(QStringLiteral("sem papel"));
            promise.addResult(42);
        });
        QTimer trigger;
        trigger.setSingleShot(true);
        connect(&trigger, &QTimer::timeout, [&] {
            if (what == QLatin1String("cancel"))
                work.Cancel();
            if (what == QLatin1String("quit"))
                QCoreApplication::exit(0);
        });
        trigger.start(50);
        const TRLWaitEnd got
            = RLAwait(work, QDeadlineTimer(what == QLatin1String("deadline") ? 100 : 20000));
        *stop = true;
        QCOMPARE(got, end);
        QString read;
        if (got == TRLWaitEnd::Finished) {
            try {
                read = QString::number(work.Result());
            } catch (const TRLException &e) {
                read = QStringLiteral("error: ") + e.Message();
            }
        }
        QCOMPARE(read, result);
        // The work owns what it uses and ends on its own; nothing of it is read here.
        QThreadPool::globalInstance()->waitForDone();
    }
};

QTEST_MAIN(TestRLWork)
#include "tst_rlwork.moc"
