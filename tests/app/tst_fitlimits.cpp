// Typing, pasting and leaving the entry fields stop where the text would no longer fit its
// printed boxes: the change is refused with a beep and the field keeps what it had.
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "slips/SlipFieldFits.h"
#include "slips/TaxIdCheck.h"
#include "widgets/Beep.h"
#include "widgets/MemoCLX.h"

#include "WindowDriver.h"

#include <QClipboard>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

using namespace WindowDriver;

namespace {

QString textOf(QWidget *field)
{
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        return edit->text();
    return static_cast<TMemoCLX *>(field)->toPlainText();
}

} // namespace

class TestFitLimits : public QObject
{
    Q_OBJECT

    TfrmZavenor *w = nullptr;
    int beeps = 0;

private slots:
    void init()
    {
        beeps = 0;
        Beep::SetHandler([this] { ++beeps; });
        w = ShowMainWindow();
    }

    void cleanup()
    {
        delete w;
        w = nullptr;
        Beep::SetHandler({});
    }

    void typingStopsAtThePrintedBox_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("keys"); // typed over and over
        QTest::newRow("DARF name, capitals") << "EdNome" << "W";
        QTest::newRow("DARF CPF or CNPJ, digits") << "edCGCCPF" << "0";
        QTest::newRow("GARE number AIIM") << "EDNroAinG" << "W";
        QTest::newRow("GARE tribute, lines") << "MMTribG" << "x\n";
        QTest::newRow("GARE remarks, lines") << "MMObsG" << "Obs.\n";
    }

    void typingStopsAtThePrintedBox()
    {
        QFETCH(QString, field);
        QFETCH(QString, keys);
        auto *widget = w->findChild<QWidget *>(field);
        QVERIFY(widget);
        w->PC1->setCurrentWidget(field.endsWith(QLatin1Char('G')) ? w->tsGare : w->tsDarf);
        widget->setFocus();
        for (int i = 0; i < 60; ++i)
            for (const QChar c : keys)
                c == QLatin1Char('\n') ? QTest::keyClick(widget, Qt::Key_Return) : QTest::keyClick(widget, c.toLatin1());
        const QString kept = textOf(widget);
        QVERIFY2(SlipFieldFits(field, kept), qPrintable(kept));
        QVERIFY(!kept.isEmpty());
        QVERIFY(beeps > 0);

        // The next key would not fit either: refused, with a beep, nothing changed.
        const int before = beeps;
        QTest::keyClick(widget, 'W');
        QCOMPARE(textOf(widget), kept);
        QCOMPARE(beeps, before + 1);

        QApplication::clipboard()->setText(QString(30, QLatin1Char('M')));
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            edit->paste();
        else
            static_cast<TMemoCLX *>(widget)->paste();
        QCOMPARE(textOf(widget), kept);
        // A one-line edit beeps once more when the paste was also cut by its length limit.
        QVERIFY(beeps >= before + 2);
    }

    // Deleting still works after a refusal, and the freed room takes text again.
    void refusalLeavesTheFieldEditable()
    {
        w->PC1->setCurrentWidget(w->tsGare);
        w->MMTribG->setFocus();
        QTest::keyClicks(w->MMTribG, QStringLiteral("um"));
        QTest::keyClick(w->MMTribG, Qt::Key_Return);
        QTest::keyClicks(w->MMTribG, QStringLiteral("dois"));
        QTest::keyClick(w->MMTribG, Qt::Key_Return);
        QCOMPARE(w->MMTribG->toPlainText(), QStringLiteral("um\ndois"));
        QCOMPARE(w->MMTribG->textCursor().position(), 7);
        QTest::keyClick(w->MMTribG, Qt::Key_Backspace);
        QTest::keyClicks(w->MMTribG, QStringLiteral(" tres"));
        QCOMPARE(w->MMTribG->toPlainText(), QStringLiteral("um\ndoi tres"));
    }

    // A valid CNPJ whose bare form fits but whose punctuation would not stays bare on leaving.
    void punctuationThatWouldNotFitIsLeftOut()
    {
        QString bare;
        for (int wide = 0; wide <= 12 && bare.isEmpty(); ++wide) {
            const QString stem = QString(wide, QLatin1Char('W')) + QString(12 - wide, QLatin1Char('0'));
            for (int digits = 0; digits < 100 && bare.isEmpty(); ++digits) {
                const QString number = stem + QStringLiteral("%1").arg(digits, 2, 10, QLatin1Char('0'));
                if (TaxIdCheck::CheckCpfCnpj(number).IsWrong() || !SlipFieldFits("edCGCCPF", number))
                    continue;
                if (!SlipFieldFits("edCGCCPF", TaxIdCheck::PunctuateCpfCnpj(number)))
                    bare = number;
            }
        }
        QVERIFY(!bare.isEmpty());
        w->edCGCCPF->setFocus();
        QTest::keyClicks(w->edCGCCPF, bare);
        QTest::keyClick(w->edCGCCPF, Qt::Key_Tab);
        settle();
        QCOMPARE(w->edCGCCPF->text(), bare);
        QCOMPARE(beeps, 0);
    }
};

int main(int argc, char **argv)
{
    TZavenorApplication app(argc, argv);
    TestFitLimits test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_fitlimits.moc"
