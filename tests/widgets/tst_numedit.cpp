// The amount edit: its key filter and caret rules, focus formatting, parsing and formatting,
// and the range check, driven through real key and focus events with Brazilian settings.
#include "widgets/Beep.h"
#include "widgets/NumEditCLX.h"
#include "widgets/NumberText.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>
#include <QtTest>

class TestNumEdit : public QObject
{
    Q_OBJECT

    QWidget *m_host = nullptr;
    TNumEditCLX *m_edit = nullptr;
    QLineEdit *m_other = nullptr;
    int m_beeps = 0;

    // Puts the caret (or a selection) without the focus-in formatting getting in the way.
    void place(const QString &text, int caret, int selStart = -1, int selLength = 0)
    {
        m_edit->setFocus();
        m_edit->setText(text);
        if (selStart >= 0)
            m_edit->setSelection(selStart, selLength);
        else
            m_edit->setCursorPosition(caret);
        m_beeps = 0;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
        Beep::SetHandler([this] { ++m_beeps; });
        m_host = new QWidget;
        auto *layout = new QVBoxLayout(m_host);
        m_edit = new TNumEditCLX(m_host);
        m_other = new QLineEdit(m_host);
        layout->addWidget(m_edit);
        layout->addWidget(m_other);
        m_host->show();
        m_host->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_host));
    }

    void cleanupTestCase() { delete m_host; }

    void init()
    {
        m_edit->setText(QStringLiteral("0"));
        m_edit->SetDecimals(2);
        m_edit->SetShowSeparator(true);
        m_edit->SetMinValue(0);
        m_edit->SetMaxValue(0);
        m_edit->OnOutOfRange = nullptr;
    }

    void newControlShowsZero()
    {
        TNumEditCLX fresh;
        QCOMPARE(fresh.text(), QStringLiteral("0,00"));
        QVERIFY(fresh.alignment() & Qt::AlignRight);
        QCOMPARE(fresh.Decimals(), quint8(2));
        QVERIFY(fresh.ShowSeparator());
    }

    void keyFilter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("expectedCaret");
        QTest::addColumn<int>("beeps");

        QTest::newRow("minus on zero does nothing") << "0,00" << 0 << false << "-" << "0,00" << 0 << 0;
        QTest::newRow("minus keeps the caret at its digit") << "0,00" << 0 << false << "5-" << "-50,00" << 2 << 0;
        QTest::newRow("minus again removes the sign") << "-50,00" << 2 << false << "-" << "50,00" << 1 << 0;
        QTest::newRow("nothing in front of the minus") << "-5,00" << 0 << false << "1" << "-5,00" << 0 << 1;
        QTest::newRow("full decimals at the end refuse") << "12,34" << 5 << false << "5" << "12,34" << 5 << 1;
        QTest::newRow("full decimals overwrite inside") << "12,34" << 4 << false << "9" << "12,39" << 5 << 0;
        QTest::newRow("backspace at the end of full decimals") << "12,34" << 5 << false << "\b" << "12,3" << 4 << 0;
        QTest::newRow("separator cuts excess decimals") << "12345" << 2 << false << "," << "12,34" << 3 << 0;
        QTest::newRow("second separator jumps past the first") << "12,34" << 0 << false << "," << "12,34" << 3 << 0;
        QTest::newRow("full stop groups thousands") << "1" << 1 << false << ".234,5" << "1.234,5" << 7 << 0;
        QTest::newRow("no full stop among the decimals") << "1,5" << 3 << false << "." << "1,5" << 3 << 1;
        QTest::newRow("separator drops full stops after it") << "1.234.567" << 1 << false << "," << "1,23" << 2 << 0;
        QTest::newRow("letters, blank and plus refused") << "12" << 2 << false << "a +" << "12" << 2 << 3;
        QTest::newRow("typing replaces a whole selection") << "12,34" << 0 << true << "7" << "7" << 1 << 0;
        QTest::newRow("minus replaces a whole selection") << "12,34" << 0 << true << "-5" << "-5" << 2 << 0;
        QTest::newRow("minus into an empty field") << "" << 0 << false << "-3,5" << "-3,5" << 4 << 0;
        QTest::newRow("digits before the decimals lengthen") << "1,00" << 1 << false << "23" << "123,00" << 3 << 0;
    }

    void keyFilter()
    {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(bool, selectAll);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        QFETCH(int, expectedCaret);
        QFETCH(int, beeps);
        place(text, caret, selectAll ? 0 : -1, int(text.size()));
        for (const QChar c : keys) {
            if (c == QLatin1Char('\b'))
                QTest::keyClick(m_edit, Qt::Key_Backspace);
            else
                QTest::keyClicks(m_edit, QString(c));
        }
        QCOMPARE(m_edit->text(), expected);
        QCOMPARE(m_edit->cursorPosition(), expectedCaret);
        QCOMPARE(m_beeps, beeps);
    }

    void separatorRefusedWithoutDecimals()
    {
        m_edit->SetDecimals(0);
        place(QStringLiteral("12"), 2);
        QTest::keyClicks(m_edit, QStringLiteral(","));
        QCOMPARE(m_edit->text(), QStringLiteral("12"));
        QCOMPARE(m_beeps, 1);
    }

    void returnAndEscapeAreRefusedCharacters()
    {
        place(QStringLiteral("12,3"), 2);
        bool returned = false;
        connect(m_edit, &QLineEdit::returnPressed, this, [&] { returned = true; });
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(m_edit, key);
        disconnect(m_edit, &QLineEdit::returnPressed, this, nullptr);
        QCOMPARE(m_beeps, 3);
        QVERIFY(!returned);
        QCOMPARE(m_edit->text(), QStringLiteral("12,3"));
        QCOMPARE(m_edit->cursorPosition(), 2);
    }

    // Ctrl+V, Shift+Insert and the context menu's Paste: one filter for every way in.
    void everyPasteGoesThroughTheFilter_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Ctrl+V") << 0;
        QTest::newRow("Shift+Insert") << 1;
        QTest::newRow("context menu") << 2;
    }

    void everyPasteGoesThroughTheFilter()
    {
        QFETCH(int, way);
        const auto pasteNow = [&] {
            if (way == 0) {
                QTest::keyClick(m_edit, Qt::Key_V, Qt::ControlModifier);
            } else if (way == 1) {
                QTest::keyClick(m_edit, Qt::Key_Insert, Qt::ShiftModifier);
            } else {
                QContextMenuEvent open(QContextMenuEvent::Keyboard, QPoint(2, 2), m_edit->mapToGlobal(QPoint(2, 2)));
                QApplication::sendEvent(m_edit, &open);
                auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                QVERIFY(menu);
                QAction *paste = nullptr;
                for (QAction *action : menu->actions())
                    if (action->text().section(QLatin1Char('\t'), 0, 0) == QLineEdit::tr("&Paste"))
                        paste = action;
                QVERIFY(paste);
                paste->trigger();
                menu->close();
            }
        };
        QGuiApplication::clipboard()->setText(QStringLiteral("9"));
        const struct { const char *text; int caret; const char *after; int beeps; } cases[] = {
            {"12,34", 5, "12,34", 1}, // past a full decimal part
            {"-5,00", 0, "-5,00", 1}, // in front of the minus sign
            {"12,34", 1, "192,34", 0},
        };
        for (const auto &c : cases) {
            place(QString::fromLatin1(c.text), c.caret);
            pasteNow();
            QCOMPARE(m_edit->text(), QString::fromLatin1(c.after));
            QCOMPARE(m_beeps, c.beeps);
        }
    }

    void focusFormatsTheNumber()
    {
        m_other->setFocus();
        m_edit->setFocus(Qt::TabFocusReason);
        m_edit->setText(QString());
        QTest::keyClicks(m_edit, QStringLiteral("1234,5"));
        m_other->setFocus(Qt::TabFocusReason);
        QCOMPARE(m_edit->text(), QStringLiteral("1.234,50"));
        m_edit->setFocus(Qt::TabFocusReason);
        QCOMPARE(m_edit->text(), QStringLiteral("1234,50"));
        QCOMPARE(m_edit->selectedText(), QStringLiteral("1234,50"));

        m_edit->SetShowSeparator(false);
        m_other->setFocus(Qt::TabFocusReason);
        QCOMPARE(m_edit->text(), QStringLiteral("1234,50"));
    }

    void messageBoxOrMenuIsNotLeaving()
    {
        m_edit->setFocus(Qt::TabFocusReason);
        m_edit->setText(QStringLiteral("1234,5"));
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(m_edit, &out);
        QCOMPARE(m_edit->text(), QStringLiteral("1234,5"));
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("grouped") << "1.234,56" << 1234.56;
        QTest::newRow("plain") << "1234,56" << 1234.56;
        QTest::newRow("half") << ",5" << 0.5;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("inner minus ignored") << "12-3" << 123.0;
        QTest::newRow("leading minus") << "-7,25" << -7.25;
        QTest::newRow("second separator skipped") << "1,2,3" << 1.23;
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        m_edit->setText(text);
        QCOMPARE(double(m_edit->Value()), value);
    }

    void format_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<bool>("grouped");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << 2 << true << "0,00";
        QTest::newRow("half away from zero") << 0.125 << 2 << false << "0,13";
        QTest::newRow("negative half away") << -0.125 << 2 << false << "-0,13";
        QTest::newRow("tiny negative shows no minus") << -0.001 << 2 << false << "0,00";
        QTest::newRow("grouping") << 1234567.891 << 2 << true << "1.234.567,89";
        QTest::newRow("no decimals") << 2.5 << 0 << true << "3";
        QTest::newRow("millions carry") << 999999.999 << 2 << true << "1.000.000,00";
        QTest::newRow("beyond 18 digits") << 1e20 << 2 << true << "100.000.000.000.000.000.000,00";
    }

    void format()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(bool, grouped);
        QFETCH(QString, text);
        QCOMPARE(NumberText::Format(value, decimals, grouped, QLocale()), text);
    }

    void roundTripsKeepTheValue()
    {
        for (long double v : {0.0L, 0.01L, -0.5L, 1234.5L, 999999999.99L, -123456789012.34L}) {
            m_edit->SetValue(v);
            const QString fixed = m_edit->text();
            QCOMPARE(NumberText::Format(m_edit->Value(), 2, false, QLocale()), fixed);
            m_edit->setText(NumberText::Format(v, 2, true, QLocale()));
            QCOMPARE(NumberText::Format(m_edit->Value(), 2, false, QLocale()), fixed);
        }
    }

    void typedHalvesRoundAwayFromZero()
    {
        // 1,005 is not exact in binary; 18 significant digits bring back the typed half.
        m_edit->setText(QStringLiteral("1,005"));
        m_edit->SetValue(m_edit->Value());
        QCOMPARE(m_edit->text(), QStringLiteral("1,01"));
        m_edit->setText(QStringLiteral("-2,675"));
        m_edit->SetValue(m_edit->Value());
        QCOMPARE(m_edit->text(), QStringLiteral("-2,68"));
    }

    void eighteenSignificantDigits()
    {
        m_edit->SetValue(123456789012345678.9L);
        QCOMPARE(m_edit->text(), QStringLiteral("123456789012345679,00"));
    }

    void decimalsReformatTheText()
    {
        m_edit->SetValue(1.5L);
        m_edit->SetDecimals(3);
        QCOMPARE(m_edit->text(), QStringLiteral("1,500"));
        m_edit->SetDecimals(0);
        QCOMPARE(m_edit->text(), QStringLiteral("2"));
    }

    void hugeDigitStringsRaiseAClearError()
    {
        m_edit->setText(QString(6000, QLatin1Char('9')));
        QVERIFY_THROWS_EXCEPTION(TNumberRangeError, m_edit->Value());
        try {
            m_edit->Value();
        } catch (const TNumberRangeError &e) {
            QVERIFY(QString::fromUtf8(e.what()).contains(QStringLiteral("fora do intervalo")));
        }
        // Leaving and typing never crash on such a text; it stays as typed.
        m_edit->setFocus(Qt::TabFocusReason);
        m_edit->setCursorPosition(0);
        QTest::keyClicks(m_edit, QStringLiteral("-"));
        m_other->setFocus(Qt::TabFocusReason);
        QCOMPARE(m_edit->text().size(), 6001);
    }

    void rangeCheck()
    {
        m_edit->SetMinValue(0);
        m_edit->SetMaxValue(100);
        m_edit->setFocus(Qt::TabFocusReason);
        m_edit->setText(QStringLiteral("150"));
        m_beeps = 0;
        m_other->setFocus(Qt::TabFocusReason);
        QCOMPARE(m_beeps, 1);
        QVERIFY(m_edit->hasFocus());
        QCOMPARE(m_edit->selectedText(), m_edit->text());

        int raised = 0;
        m_edit->OnOutOfRange = [&](TNumEditCLX *) { ++raised; };
        m_edit->setText(QStringLiteral("100"));
        m_other->setFocus(Qt::TabFocusReason);
        QCOMPARE(raised, 0); // both bounds are inclusive
        m_edit->setFocus(Qt::TabFocusReason);
        m_edit->setText(QStringLiteral("-1"));
        m_beeps = 0;
        m_other->setFocus(Qt::TabFocusReason);
        QCOMPARE(raised, 1);
        QCOMPARE(m_beeps, 0);
        QVERIFY(m_edit->hasFocus());

        m_edit->SetMaxValue(0);
        m_edit->SetMinValue(0);
        m_edit->setText(QStringLiteral("123456"));
        m_other->setFocus(Qt::TabFocusReason);
        QVERIFY(m_other->hasFocus());
    }
};

QTEST_MAIN(TestNumEdit)
#include "tst_numedit.moc"
