// The application-level error handler: silent aborts vanish, other errors reach the error box.
#include "app/ZavenorApplication.h"
#include "report/base/RLExceptions.h"
#include "slips/CurrencyTotal.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/ErrorRelay.h"
#include "widgets/NumberText.h"

#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <QtTest>
#include <cstdio>
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

    void slipsAreBrazilianWhateverTheEnvironment_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::newRow("LANG=C") << QStringList{"LANG=C"};
        QTest::newRow("LC_ALL=en_US") << QStringList{"LANG=pt_BR.UTF-8", "LC_ALL=en_US.UTF-8"};
        QTest::newRow("LC_NUMERIC=en_US") << QStringList{"LANG=pt_BR.UTF-8", "LC_NUMERIC=en_US.UTF-8"};
        QTest::newRow("German") << QStringList{"LANG=de_DE.UTF-8"};
    }

    // A new start of the program under that environment: an amount field's text, a total and an
    // untouched date field.
    void slipsAreBrazilianWhateverTheEnvironment()
    {
        QFETCH(QStringList, environment);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LANG", "LC_ALL", "LC_NUMERIC", "LC_TIME", "LANGUAGE"})
            env.remove(QString::fromLatin1(name));
        for (const QString &setting : environment)
            env.insert(setting.section('=', 0, 0), setting.section('=', 1));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationFilePath(), {"--forms"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), QStringLiteral("1.234,50|5.994,19|  /  /    \n"));
    }
};

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--forms") == 0) {
        TZavenorApplication app(argc, argv);
        const QString line = NumberText::Format(1234.5, 2, true, QLocale()) + '|'
                             + CurrencyTotal::Total({5000.0L, 994.19L}, QLocale()) + '|' + TDateMaskEdit().Text();
        std::printf("%s\n", line.toUtf8().constData());
        return 0;
    }
    TZavenorApplication app(argc, argv);
    TestApplication t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_application.moc"
