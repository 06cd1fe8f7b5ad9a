// Text is measured in report pixels (96 per inch) even on a screen of another resolution;
// otherwise an auto-sized label would not fit the text it prints.
#include "report/RLUtils.h"
#include "report/output/RLMetaFile.h"

#include <QApplication>
#include <QFontMetrics>
#include <QtTest>

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
        const int expected = QFontMetrics(pixels).horizontalAdvance(text);

        TRLGraphicSurface surface;
        surface.SetFont(points);
        QCOMPARE(surface.TextWidth(text), expected);
        QCOMPARE(textExtent(text, points).width(), expected);
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
