// Geometry and text helpers of the report engine.

#include "report/base/RLExceptions.h"
#include "report/base/RLRecentlyUsed.h"
#include "report/base/RLUtils.h"
#include "report/page/RLTextMeasure.h"

#include <QtTest>

#include <climits>

using Points = QVector<QPoint>;

char *toString(const TRLRect &r)
{
    return QTest::toString(QString("(%1, %2, %3, %4)").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom));
}

class TestRLHelpers : public QObject
{
    Q_OBJECT

private slots:
    void fitKeepsAspect();
    void boxes();
    void pointsIntoRect();
    void rotationTurnsAroundCentroid();
    void geometrySaturates();
    void textExtentTurnsWithAngle();
    void cropCutsToRect();

    void separatedFields();
    void floatTextRoundTrip();
    void wordBreak();
    void uniqueNames();
    void silentAbortPassesErrorHandlers();
    void recentlyUsedMakesRoomByUse();
};

void TestRLHelpers::fitKeepsAspect()
{
    const struct { QSize source; TRLRect target; bool center; TRLRect expected; } cases[] = {
        {{100, 50}, {0, 0, 80, 80}, false, {0, 0, 80, 40}},
        {{100, 50}, {10, 10, 90, 90}, true, {10, 30, 90, 70}},
        {{10, 40}, {0, 0, 81, 80}, true, {30, 0, 50, 80}},
        {{20, 10}, {0, 0, 60, 30}, false, {0, 0, 60, 30}},
        // 3 x 2 at height 5 is 7.5 wide and at height 3 it is 4.5: both go to the even neighbour.
        {{3, 2}, {0, 0, 100, 5}, false, {0, 0, 8, 5}},
        {{3, 2}, {0, 0, 100, 3}, false, {0, 0, 4, 3}},
        {{1, 1}, {0, 0, 5, 2}, true, {1, 0, 3, 2}},
        {{0, 10}, {4, 5, 50, 50}, true, {4, 5, 4, 5}},
        {{INT_MAX, 1}, {0, 0, 100, 100}, false, {0, 0, 100, 0}}};
    for (const auto &c : cases)
        QCOMPARE(fitAspectRect(c.source, c.target, c.center), c.expected);
}

void TestRLHelpers::boxes()
{
    const TRLRect r(10, 20, 110, 220);
    QCOMPARE(reduceRect(r, QMargins(1, 2, 3, 4)), TRLRect(11, 22, 107, 216));
    QCOMPARE(increaseRect(r, QMargins(1, 2, 3, 4)), TRLRect(9, 18, 113, 224));
    QCOMPARE(moveRectTo(r, -5, 7), TRLRect(-5, 7, 95, 207));
    const Points triangle{{5, 20}, {0, 0}, {10, 3}};
    QCOMPARE(pointsExtent(triangle), TRLRect(0, 0, 10, 20));
    QCOMPARE(pointsBoundingBox(triangle), TRLRect(-1, -1, 11, 21));
    QCOMPARE(pointsBoundingBox({}), TRLRect());
}

void TestRLHelpers::pointsIntoRect()
{
    const Points triangle{{0, 0}, {10, 0}, {5, 20}};
    const TRLRect target(100, 100, 140, 200);

    Points scaled = triangle;
    scalePointsToRect(scaled, target);
    QCOMPARE(scaled, (Points{{100, 100}, {140, 100}, {120, 180}}));

    Points stretched = triangle;
    stretchPointsToRect(stretched, target);
    QCOMPARE(stretched, (Points{{100, 100}, {140, 100}, {120, 200}}));

    Points centred{{0, 0}, {10, 10}};
    centerPointsInRect(centred, TRLRect(100, 100, 121, 131));
    QCOMPARE(centred, (Points{{105, 110}, {115, 120}}));

    // A flat shape takes the factor of the other axis and lies on the target's top edge.
    Points flat{{0, 5}, {10, 5}};
    scalePointsToRect(flat, TRLRect(0, 0, 50, 30));
    QCOMPARE(flat, (Points{{0, 0}, {50, 0}}));
    Points flatStretched{{3, 5}, {13, 5}};
    stretchPointsToRect(flatStretched, TRLRect(0, 0, 50, 30));
    QCOMPARE(flatStretched, (Points{{0, 0}, {50, 0}}));

    Points single{{7, 7}};
    scalePointsToRect(single, target);
    QCOMPARE(single, (Points{{7, 7}}));
}

void TestRLHelpers::rotationTurnsAroundCentroid()
{
    Points bar{{0, 0}, {10, 0}};
    rotatePoints(bar, 90);
    // Counter-clockwise as seen on the page, whose y axis points down.
    QCOMPARE(bar, (Points{{5, 5}, {5, -5}}));

    Points square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    rotatePoints(square, 90);
    QCOMPARE(square, (Points{{0, 10}, {0, 0}, {10, 0}, {10, 10}}));

    Points diamond{{0, 0}, {10, 0}};
    rotatePoints(diamond, 45);
    QCOMPARE(diamond, (Points{{1, 4}, {9, -4}}));
}

void TestRLHelpers::geometrySaturates()
{
    // Shapes can come from anywhere; extreme ones must stay defined (the sanitizer run watches).
    const Points far{{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}};
    QCOMPARE(pointsBoundingBox(far), TRLRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    Points p = far;
    stretchPointsToRect(p, TRLRect(0, 0, 10, 10));
    QCOMPARE(p, (Points{{0, 0}, {10, 10}}));
    p = far;
    rotatePoints(p, 33);
    centerPointsInRect(p, TRLRect(INT_MIN, 0, INT_MAX, 1));
    QCOMPARE(moveRectTo(TRLRect(0, 0, 100, 100), INT_MAX - 10, 0).Right, INT_MAX);
}

void TestRLHelpers::textExtentTurnsWithAngle()
{
    QFont font("Arial");
    font.setPixelSize(20);
    const QSize flat = textExtent("Zavenor DARF", font);
    QVERIFY(flat.width() > flat.height());
    QVERIFY(flat.height() >= 20);
    QCOMPARE(textExtent("Zavenor DARF", font, 360), flat);
    const QSize upright = textExtent("Zavenor DARF", font, 90);
    QVERIFY(qAbs(upright.width() - flat.height()) <= 1);
    QVERIFY(qAbs(upright.height() - flat.width()) <= 1);
    QCOMPARE(textExtent(QString(), font).width(), 0);

    // Points are 96 dpi here, not the screen's: 15 pt is 20 px.
    QFont points("Arial");
    points.setPointSizeF(15);
    QCOMPARE(textExtent("Zavenor DARF", points), flat);
}

void TestRLHelpers::cropCutsToRect()
{
    QImage picture(10, 10, QImage::Format_RGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            picture.setPixel(x, y, qRgb(x * 20, y * 20, 0));

    const TRLCroppedPicture corner = cropPicture(TRLRect(5, 5, 9, 50), picture, false);
    QCOMPARE(corner.Rect, TRLRect(5, 5, 9, 15));
    QCOMPARE(corner.Picture.size(), QSize(4, 10));
    QCOMPARE(corner.Picture.pixel(3, 9), picture.pixel(3, 9));

    // Centred in a smaller rectangle the picture loses the same amount on each side.
    const TRLCroppedPicture centred = cropPicture(TRLRect(0, 0, 4, 4), picture, true);
    QCOMPARE(centred.Rect, TRLRect(0, 0, 4, 4));
    QCOMPARE(centred.Picture.pixel(0, 0), picture.pixel(3, 3));

    // Centred in a larger one it keeps all its pixels.
    const TRLCroppedPicture whole = cropPicture(TRLRect(0, 0, 21, 30), picture, true);
    QCOMPARE(whole.Rect, TRLRect(5, 10, 15, 20));
    QCOMPARE(whole.Picture, picture);
    // Uncut, it is the same image, whose recorded bytes a page keeps.
    QCOMPARE(whole.Picture.cacheKey(), picture.cacheKey());

    QVERIFY(cropPicture(TRLRect(5, 5, 5, 20), picture, false).Picture.isNull());
    QVERIFY(cropPicture(TRLRect(0, 0, 20, 20), QImage(), false).Picture.isNull());
}

void TestRLHelpers::separatedFields()
{
    QCOMPARE(separatedField("a;b;;d", 3, ';'), QString());
    QCOMPARE(separatedField("a;b;;d", 4, ';'), QString("d"));
    QCOMPARE(separatedField("a;b;;d", 5, ';'), QString());
    QCOMPARE(separatedField("a;b;;d", 0, ';'), QString());
}

void TestRLHelpers::floatTextRoundTrip()
{
    // The test runs under pt_BR, where a locale-bound conversion would write commas.
    QCOMPARE(floatToText(210), QString("210"));
    QCOMPARE(floatToText(10.5), QString("10.5"));
    QCOMPARE(floatToText(1.23456), QString("1.2346"));
    QCOMPARE(floatToText(0.1 + 0.2), QString("0.3"));
    QCOMPARE(floatToText(-0.00001), QString("0"));
    QCOMPARE(textToFloat(floatToText(322.44), -1), 322.44);
    QCOMPARE(textToFloat(" 10,5 ", -1), 10.5);
    QCOMPARE(textToFloat("1.234,5", -1), -1.0);
    QCOMPARE(textToFloat("dez", -1), -1.0);
    QCOMPARE(textToFloat("nan", -1), -1.0);
    QCOMPARE(textToFloat("1e400", -1), -1.0);
}

void TestRLHelpers::wordBreak()
{
    const struct { const char *line; int position; bool found; const char *result; int breakAt; } cases[] = {
        {"hello world", 8, true, "hello  world", 5},
        {"hello world \t\r\n", 13, true, "hello  world \t\r\n", 5},
        {"ab \t  cd", 6, true, "ab  \t  cd", 2},
        {"hello world foo", 2, true, "hello world  foo", 11}, // nothing before: the last blank
        {"helloworld", 5, false, "helloworld", 5},
        {"   hello", 5, false, "   hello", 5},
        {"ab cd", 99, true, "ab  cd", 2},
        {"ab cd", -3, true, "ab  cd", 2},
        {"", 0, false, "", 0}};
    for (const auto &c : cases) {
        QString line = c.line;
        int position = c.position;
        QCOMPARE(findWordBreak(line, position), c.found);
        QCOMPARE(line, QString(c.result));
        QCOMPARE(position, c.breakAt);
    }
}

void TestRLHelpers::uniqueNames()
{
    const QStringList taken{"RLBand1", "rlband3", "RLBandX", "RLLabel7", "RLBand", "RLBand-9",
                            "RLBand99999999999999999999999"};
    QCOMPARE(uniqueComponentName("TRLBand", taken), QString("RLBand4"));
    QCOMPARE(uniqueComponentName("TRLBand", {}), QString("RLBand1"));
    QCOMPARE(uniqueComponentName("TRLBand", {"RLBand9223372036854775807"}), QString("RLBand1"));

    QObject form;
    QObject band(&form);
    band.setObjectName("RLLabel2");
    QObject label(&band);
    label.setObjectName("QObject5");
    QObject fresh(&band);
    QCOMPARE(uniqueComponentName(&fresh, &form), QString("QObject6"));
    QCOMPARE(uniqueComponentName(nullptr, &form), QString());
}

void TestRLHelpers::silentAbortPassesErrorHandlers()
{
    // A handler that shows engine errors must let a user's cancel through untouched.
    auto shownBy = [](auto raise) {
        try {
            try {
                raise();
            } catch (const TRLException &e) {
                return QStringLiteral("box: ") + e.Message();
            }
        } catch (const TRLAbort &) {
            return QStringLiteral("silent");
        }
        return QStringLiteral("nothing");
    };
    QCOMPARE(shownBy([] { throw TRLAbort(); }), QStringLiteral("silent"));
    QCOMPARE(shownBy([] { throw TRLException("falhou"); }), QStringLiteral("box: falhou"));
}

// The value used longest ago gives way, not the one made first: a caption's font asked for on
// every control must stay while the fonts of one-off texts come and go.
void TestRLHelpers::recentlyUsedMakesRoomByUse()
{
    TRLRecentlyUsed<QString, int> kept(2);
    int made = 0;
    const auto get = [&](const QString &key) { return kept.Get(key, [&] { return ++made; }); };
    QCOMPARE(get("legenda"), 1);
    QCOMPARE(get("valor"), 2);
    QCOMPARE(get("legenda"), 1); // used again: now the latest
    QCOMPARE(get("nome"), 3);    // makes room by dropping "valor"
    QCOMPARE(get("legenda"), 1);
    QCOMPARE(get("valor"), 4);
    QCOMPARE(made, 4);

    // Where values weigh, the oldest make room for a new one's weight too; one that alone weighs
    // more than all may is handed out and not kept, and displaces nothing.
    TRLRecentlyUsed<QString, QString> weighed(8, 6, [](const QString &v) { return std::size_t(v.size()); });
    int makes = 0;
    const auto fetch = [&](const QString &key, const QString &value) {
        return weighed.Get(key, [&] { ++makes; return value; });
    };
    QCOMPARE(fetch("a", "abc"), "abc");
    QCOMPARE(fetch("b", "de"), "de");
    QCOMPARE(fetch("c", "fg"), "fg");    // 7 of 6: "a" makes room
    QCOMPARE(fetch("b", "??"), "de");
    QCOMPARE(fetch("a", "abc"), "abc");  // made again; "c", used longest ago, makes room
    QCOMPARE(fetch("z", "too heavy"), "too heavy");
    QCOMPARE(fetch("z", "x"), "x");        // made again, light enough now
    QCOMPARE(fetch("b", "??"), "de");
    QCOMPARE(fetch("a", "??"), "abc");
    QCOMPARE(makes, 6);
}

QTEST_MAIN(TestRLHelpers)
#include "tst_rlhelpers.moc"
