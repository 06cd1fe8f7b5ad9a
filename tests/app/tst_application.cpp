// The application-level error handler: silent aborts vanish, other errors reach the error box.
#include "app/ZavenorApplication.h"
#include "report/base/RLExceptions.h"
#include "widgets/ErrorRelay.h"

#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <stdexcept>

class TestApplication : public QObject
{
    Q_OBJECT

    // Closes the next modal box and remembers its caption and text.
    struct BoxWatcher {
        QString title, text;
        int seen = 0;
        void arm()
        {
            QTimer::singleShot(0, [this] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    ++seen;
                    title = box->windowTitle();
                    text = box->text();
                    box->accept();
                }
            });
        }
    };

private slots:
    void silentAbortShowsNothing()
    {
        BoxWatcher w;
        w.arm();
        ErrorRelay::RunGuarded([] { throw TRLAbort(); });
        QCoreApplication::processEvents();
        QCOMPARE(w.seen, 0);
    }

    void errorsReachTheErrorBox_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("engine") << 0 << QStringLiteral("Arquivo não encontrado");
        QTest::newRow("std") << 1 << QStringLiteral("Valor fora do intervalo: ç");
    }

    void errorsReachTheErrorBox()
    {
        QFETCH(int, kind);
        QFETCH(QString, expected);
        BoxWatcher w;
        w.arm();
        ErrorRelay::RunGuarded([&] {
            if (kind == 0)
                throw TRLException(expected);
            throw std::runtime_error(expected.toStdString());
        });
        QCOMPARE(w.seen, 1);
        QCOMPARE(w.title, QStringLiteral("Error"));
        QCOMPARE(w.text, expected);
    }

    void numbersIgnoreTheCLocale()
    {
        // The application must leave strtod reading a full stop even under pt_BR.
        QCOMPARE(std::strtod("1.5", nullptr), 1.5);
    }
};

int main(int argc, char **argv)
{
    TZavenorApplication app(argc, argv);
    TestApplication t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_application.moc"
