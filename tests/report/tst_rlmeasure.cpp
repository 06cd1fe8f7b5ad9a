// Text is measured in report pixels (96 per inch) even on a screen of another resolution;
// otherwise an auto-sized label would not fit the text it prints.
#include "report/base/RLUtils.h"
#include "report/page/RLMetaFile.h"
#include "report/page/RLTextMeasure.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

// A report's width of a text: the font as a page records it at its exact size (10 points are
// 13.33 pixels), where every point is 100 pixels, scaled down and rounded.
int reportWidth(const QFont &font, const QString &text)
{
    static const QImage fine = [] {
        QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
        device.setDotsPerMeterX(qRound(7200 / 0.0254));
        device.setDotsPerMeterY(qRound(7200 / 0.0254));
        return device;
    }();
    return RLRound(QFontMetricsF(TRLTextMeasure::RecordedFont(font), &fine).horizontalAdvance(text) * 96 / 7200);
}

} // namespace

class TestMeasure : public QObject
{
    Q_OBJECT
private slots:
    void measuresAt96DpiOnAHighResolutionScreen()
    {
        const QString text = QStringLiteral("Documento de Arrecadação");
        QFont points(QStringLiteral("Arial"));
        points.setPointSizeF(9.75); // 13 pixels at 96 dpi
        QFont pixels(QStringLiteral("Arial"));
        pixels.setPixelSize(13);
        // Both are recorded as 10 points, and measured so.
        const int expected = reportWidth(pixels, text);

        TRLGraphicSurface surface;
        surface.SetFont(points);
        QCOMPARE(surface.TextWidth(text), expected);
        surface.SetFont(pixels);
        QCOMPARE(surface.TextWidth(text), expected);
        QCOMPARE(textExtent(text, points).width(), expected);
    }

    // The surface keeps the metrics of the last font: each change of font measures anew.
    void measuresInTheFontOfTheMoment_data()
    {
        QTest::addColumn<QStringList>("fonts"); // "family pixels [bold]" in the order they are set
        QTest::newRow("one font") << QStringList{"Arial 13"};
        QTest::newRow("size changes and back") << QStringList{"Arial 13", "Arial 20", "Arial 13"};
        QTest::newRow("bold only") << QStringList{"Arial 13", "Arial 13 bold"};
        QTest::newRow("family only") << QStringList{"Arial 13", "Courier New 13"};
    }
    void measuresInTheFontOfTheMoment()
    {
        QFETCH(QStringList, fonts);
        const QString text = QStringLiteral("Página 12 de 345 — Arrecadação");
        TRLGraphicSurface surface;
        for (const QString &spec : fonts) {
            const QStringList parts = spec.split(' ');
            const bool bold = parts.last() == QLatin1String("bold");
            const int pixels = parts.at(parts.size() - (bold ? 2 : 1)).toInt();
            QFont font(parts.mid(0, parts.size() - (bold ? 2 : 1)).join(' '));
            font.setPixelSize(pixels);
            font.setBold(bold);
            surface.SetFont(font);
            const QImage device = reportMeasureBitmap();
            const QFont recorded = TRLTextMeasure::RecordedFont(font);
            QCOMPARE(surface.TextWidth(text), reportWidth(font, text));
            QCOMPARE(surface.TextWidth(QStringLiteral(" ")), reportWidth(font, QStringLiteral(" ")));
            QCOMPARE(surface.TextHeight(text), QFontMetrics(recorded, &device).height());
        }
    }

    // Texts added up from their characters must measure exactly as the toolkit shapes them whole:
    // kerned pairs, ligatures, spacing and characters outside Latin-1 included.
    void textsMeasureAsShapedWhole_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<qreal>("letterSpacing");
        QTest::newRow("amounts and names") << "Arial" << 7 << false << 0.0;
        QTest::newRow("bold title") << "Arial" << 12 << true << 0.0;
        QTest::newRow("serif") << "Times New Roman" << 11 << false << 0.0;
        QTest::newRow("fixed pitch") << "Courier New" << 9 << false << 0.0;
        QTest::newRow("letter spacing") << "Arial" << 10 << false << 1.5;
    }
    void textsMeasureAsShapedWhole()
    {
        QFETCH(QString, family);
        QFETCH(int, points);
        QFETCH(bool, bold);
        QFETCH(qreal, letterSpacing);
        QFont font(family);
        font.setPointSize(points);
        font.setBold(bold);
        font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
        const QImage device = reportMeasureBitmap();
        const QFontMetricsF whole(font, &device);
        const QStringList texts{"1.234.567,89", "0,07 ", "AVATAR Tô LTAV", "office fi fl ffl", "Ribeirão Preto",
                                "Água, Ônibus; «ÿ»", "R$ (12,5%) - 3 / 4", "a\u00a0b\u00adc", "Σ ação — €10",
                                "W", "", "VA"};
        TRLGraphicSurface surface;
        surface.SetFont(font);
        TRLTextMeasure &measure = *TRLTextMeasure::For(font, &device);
        // Twice: the second pass runs on what the first one learnt.
        for (int pass = 0; pass < 2; ++pass)
            for (const QString &text : texts) {
                QVERIFY2(measure.ExactWidth(text) == whole.horizontalAdvance(text),
                         qPrintable(QString("%1: %2 / %3").arg(text).arg(measure.ExactWidth(text)).arg(whole.horizontalAdvance(text))));
                QCOMPARE(measure.ExactSpacedWidth(text), whole.horizontalAdvance(text + ' '));
                QCOMPARE(surface.TextWidth(text), reportWidth(font, text));
            }
    }

    // Printing places right-aligned texts by the same sums, on the printer's own resolution. One
    // font on two devices shapes to two sets of widths: neither may borrow the other's table.
    void printerWidthsAddUpAsShaped_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("resolution");
        QTest::newRow("sans 600 dpi") << "Arial" << 600;
        QTest::newRow("serif 600 dpi") << "Times New Roman" << 600;
        QTest::newRow("fixed 300 dpi") << "Courier New" << 300;
    }
    void printerWidthsAddUpAsShaped()
    {
        QFETCH(QString, family);
        QFETCH(int, resolution);
        QTemporaryDir dir;
        QPdfWriter printer(dir.filePath(QStringLiteral("w.pdf")));
        printer.setResolution(resolution);
        const QImage screen = reportMeasureBitmap();
        QFont font(family);
        font.setPointSize(8);
        const QStringList texts{"1.234.567,89 ", "AVATAR Tô LTAV ", "office fi fl ", "Σ ação ", "R$ 0,07 ", "Σ"};
        for (int pass = 0; pass < 2; ++pass)
            for (const QPaintDevice *device : {static_cast<const QPaintDevice *>(&screen), static_cast<const QPaintDevice *>(&printer)}) {
                const QFontMetricsF metrics(font, const_cast<QPaintDevice *>(device));
                TRLTextMeasure &measure = *TRLTextMeasure::For(font, device);
                for (const QString &text : texts) {
                    QVERIFY2(measure.ExactWidth(text) == metrics.horizontalAdvance(text),
                             qPrintable(QString("%1 at %2 dpi: %3 / %4").arg(text).arg(device->logicalDpiX()).arg(measure.ExactWidth(text)).arg(metrics.horizontalAdvance(text))));
                    QCOMPARE(measure.Width(text), RLRound(metrics.horizontalAdvance(text)));
                }
            }
    }

    // What is kept of measured texts and fonts: a text measured again, or in a font that differs
    // in one attribute only, must still come out as the recorded font's metrics give it.
    void extentsFollowTheirFont_data()
    {
        QTest::addColumn<QStringList>("changes"); // applied one after the other to Arial 13
        QTest::addColumn<int>("names");           // made-up names measured besides, in each font
        QTest::newRow("same font twice") << QStringList{"", ""} << 0;
        QTest::newRow("size") << QStringList{"", "pixels 20", "pixels 13"} << 0;
        QTest::newRow("bold") << QStringList{"", "bold"} << 0;
        QTest::newRow("family") << QStringList{"", "family Courier New"} << 0;
        QTest::newRow("kerning off") << QStringList{"", "no kerning"} << 0;
        QTest::newRow("letter spacing") << QStringList{"", "spacing 2"} << 0;
        QTest::newRow("more fonts than are kept")
            << QStringList{"", "pixels 8", "pixels 9", "pixels 10", "pixels 11", "pixels 12", "pixels 14",
                           "pixels 15", "pixels 16", "pixels 17", "pixels 18", "pixels 19", "pixels 20",
                           "pixels 21", "pixels 22", "pixels 23", "pixels 24", "pixels 25", "pixels 13"}
            << 0;
        // Forgetting must not mix up the texts measured before and after.
        QTest::newRow("more texts than are kept") << QStringList{"", ""} << 10000;
    }
    void extentsFollowTheirFont()
    {
        QFETCH(QStringList, changes);
        QFETCH(int, names);
        QStringList texts{"AVATAR Tô LTAV", "1.234.567,89", "Página 12 de 345", " ", ""};
        for (int i = 0; i < names; ++i)
            texts << QStringLiteral("CONTRIBUINTE %1 LTDA.").arg(i * 7919);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(13);
        const QImage device = reportMeasureBitmap();
        for (const QString &change : changes) {
            if (change.startsWith("pixels "))
                font.setPixelSize(change.mid(7).toInt());
            else if (change == "bold")
                font.setBold(true);
            else if (change.startsWith("family "))
                font.setFamily(change.mid(7));
            else if (change == "no kerning")
                font.setKerning(false);
            else if (change.startsWith("spacing "))
                font.setLetterSpacing(QFont::AbsoluteSpacing, change.mid(8).toDouble());
            const QFont recorded = TRLTextMeasure::RecordedFont(font);
            for (const QString &text : texts) {
                const QSize extent = textExtent(text, font);
                QVERIFY2(extent.width() == reportWidth(font, text),
                         qPrintable(QString("%1 after \"%2\": %3 / %4").arg(text, change).arg(extent.width())
                                        .arg(reportWidth(font, text))));
                QCOMPARE(extent.height(), QFontMetrics(recorded, &device).height());
            }
        }
    }

    // What is kept per thread goes with its thread: a worker that measured and ended leaves the
    // program working, and measures as the main thread does.
    void workerThreadsMeasureAndEnd()
    {
        QFont font(QStringLiteral("Times New Roman"));
        font.setPixelSize(17);
        const QString text = QStringLiteral("Arrecadação 1.234,56");
        const int here = textExtent(text, font).width();
        for (int round = 0; round < 3; ++round) {
            int there = -1, surfaceThere = -1;
            std::unique_ptr<QThread> worker(QThread::create([&] {
                there = textExtent(text, font).width();
                TRLGraphicSurface surface;
                surface.SetFont(font);
                surfaceThere = surface.TextWidth(text);
            }));
            worker->start();
            QVERIFY(worker->wait(30000));
            QCOMPARE(there, here);
            QCOMPARE(surfaceThere, here);
        }
        QCOMPARE(textExtent(text, font).width(), here);
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_FONT_DPI", "192");
    QApplication app(argc, argv);
    TestMeasure t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_rlmeasure.moc"
