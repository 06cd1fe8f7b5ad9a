// The memo's limit over its whole text (a line break counts one) for typing, pasting and
// dropping, its single alignment for all lines and its look (no scroll bars); the date
// field's blank-reading text.
#include "widgets/DateMaskEdit.h"
#include "widgets/MemoCLX.h"

#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

class TestMemo : public QObject
{
    Q_OBJECT

    static void drop(TMemoCLX &memo, const QString &text)
    {
        QMimeData data;
        data.setText(text);
        const QPoint at(2, 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(memo.viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(memo.viewport(), &move);
        QDropEvent dropEvent(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(memo.viewport(), &dropEvent);
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }

    void typingStopsAtTheLimitAcrossLines()
    {
        TMemoCLX memo;
        memo.SetMaxLength(10);
        memo.show();
        memo.setFocus();
        QTest::keyClicks(&memo, QStringLiteral("abcd"));
        QTest::keyClick(&memo, Qt::Key_Return);
        QTest::keyClicks(&memo, QStringLiteral("efghijklmn"));
        QCOMPARE(memo.toPlainText(), QStringLiteral("abcd\nefghi"));
        QCOMPARE(memo.Lines(), QStringList({QStringLiteral("abcd"), QStringLiteral("efghi")}));
        QTest::keyClick(&memo, Qt::Key_Return); // a line break needs room too
        QCOMPARE(memo.toPlainText().size(), 10);

        // Typing over a selection replaces it within the limit.
        memo.selectAll();
        QTest::keyClicks(&memo, QStringLiteral("xy"));
        QCOMPARE(memo.toPlainText(), QStringLiteral("xy"));
    }

    void pastingAndDroppingAreCut()
    {
        TMemoCLX memo;
        memo.SetMaxLength(12);
        memo.setPlainText(QStringLiteral("12345"));
        memo.moveCursor(QTextCursor::Start);
        QApplication::clipboard()->setText(QStringLiteral("ab\r\ncdefghijk"));
        memo.paste();
        QCOMPARE(memo.toPlainText(), QStringLiteral("ab\ncdef12345"));

        memo.setPlainText(QStringLiteral("12345"));
        memo.moveCursor(QTextCursor::End);
        drop(memo, QStringLiteral("ABCDEFGHIJ"));
        QCOMPARE(memo.toPlainText().size(), 12);
        QVERIFY(memo.toPlainText().contains(QStringLiteral("12345")));
        QVERIFY(memo.toPlainText().contains(QStringLiteral("ABCDEFG")));
    }

    void programmaticTextIsCutToo()
    {
        TMemoCLX memo;
        memo.SetMaxLength(5);
        memo.SetLines({QStringLiteral("abc"), QStringLiteral("defgh")});
        QCOMPARE(memo.toPlainText(), QStringLiteral("abc\nd"));
        memo.SetMaxLength(0);
        memo.SetLines({QString(500, QLatin1Char('x'))});
        QCOMPARE(memo.toPlainText().size(), 500);
    }

    void oneAlignmentForEveryLine()
    {
        TMemoCLX memo;
        memo.SetLines({QStringLiteral("a"), QStringLiteral("b")});
        memo.SetAlignment(Qt::AlignRight);
        memo.show();
        memo.moveCursor(QTextCursor::End);
        QTest::keyClick(&memo, Qt::Key_Return);
        QTest::keyClicks(&memo, QStringLiteral("c"));
        memo.ClearLines();
        QTest::keyClicks(&memo, QStringLiteral("d"));
        for (QTextBlock b = memo.document()->begin(); b.isValid(); b = b.next())
            QCOMPARE(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::Alignment(Qt::AlignRight));
        QCOMPARE(memo.Alignment(), Qt::Alignment(Qt::AlignRight));
    }

    void overflowingTextShowsNoScrollBar()
    {
        TMemoCLX memo;
        memo.setFrameShape(QFrame::NoFrame);
        memo.resize(120, 36);
        memo.show();
        memo.SetLines(QStringList(12, QStringLiteral("linha")) << QString(80, QLatin1Char('w')));
        memo.moveCursor(QTextCursor::End);
        QTest::qWait(10);
        QVERIFY(!memo.verticalScrollBar()->isVisible());
        QVERIFY(!memo.horizontalScrollBar()->isVisible());
        QCOMPARE(memo.viewport()->size(), memo.size());
    }

    void dateFieldReadsBlankSlotsAsBlanks()
    {
        TDateMaskEdit date;
        QCOMPARE(date.Text(), QStringLiteral("  /  /    "));
        date.show();
        date.setFocus();
        QTest::keyClicks(&date, QStringLiteral("12"));
        QCOMPARE(date.Text(), QStringLiteral("12/  /    "));
        QTest::keyClicks(&date, QStringLiteral("/x0520"));
        QCOMPARE(date.Text(), QStringLiteral("12/05/20  "));
        QCOMPARE(date.Text().size(), 10);
        QCOMPARE(TDateMaskEdit::DateSeparator(), QLatin1Char('/'));
        date.Clear();
        QCOMPARE(date.Text(), QStringLiteral("  /  /    "));
    }
};

QTEST_MAIN(TestMemo)
#include "tst_memo.moc"
