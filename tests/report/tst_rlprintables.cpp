// The printable controls: what label, memo, image and draw record on their site's surface.

#include "report/RLReport.h"
#include "report/base/RLUtils.h"
#include "report/page/RLTextMeasure.h"
#include "report/page/RLMetaFile.h"

#include <QPainter>
#include <QtTest>

#include "RLControlTestSupport.h"

namespace {

// A site at the page's corner whose surface the controls record on.
class Panel : public TRLCustomSite
{
public:
    Panel()
    {
        SetBounds(0, 0, 400, 300);
        QFont font("Arial");
        font.setPixelSize(13);
        SetFont(font);
    }
    TRLGraphicSurface *surface() { return Surface(); }
};

void printOne(TRLCustomControl &c)
{
    QVERIFY(c.CanPrint());
    c.Print();
}

QImage render(const TRLGraphicSurface &s, QSize size = QSize(400, 300))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    s.PaintTo(&painter, 0, 0, 1.0, 1.0);
    return image;
}

bool isInk(const QImage &img, int x, int y)
{
    return qGray(img.pixel(x, y)) < 128;
}

// Columns of the image that hold dark pixels between two rows.
QPair<int, int> inkColumns(const QImage &img, int top, int bottom)
{
    int first = -1, last = -1;
    for (int x = 0; x < img.width(); ++x)
        for (int y = top; y < bottom; ++y)
            if (isInk(img, x, y)) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

} // namespace

class TestRLPrintables : public QObject
{
    Q_OBJECT

private slots:
    void labelMeasuresWithBlankAndBorders();
    void labelOrigins_data();
    void labelOrigins();
    void rightAlignedClippedOrGrown();
    void emptyLabelPrintsFrameOnly();
    void commonPartFillAndBorders();
    void memoRowsBreakAtBlanks();
    void memoStopsAtBottom_data();
    void memoStopsAtBottom();
    void justifiedMemoLastRowLeft();
    void memoBlankLineIsARow();
    void memoRowOrigins();
    void memoMeasuresRows();
    void imageModes();
    void drawLineTurnedUpright();
    void drawKeepVisible();
    void drawDataPairs();
    void drawKindsAndOldKinds();
    void thickPenShrinksTarget();
    void renderedPixels();
};

void TestRLPrintables::labelMeasuresWithBlankAndBorders()
{
    Panel p;
    TRLLabel label;
    label.SetParent(&p);
    label.SetCaption("DARF");
    const QSize text = textExtent("DARF ", label.Font());
    QCOMPARE(label.Width(), text.width());
    QCOMPARE(label.Height(), text.height());
    label.Borders()->SetSides(sdAll);
    label.Borders()->SetWidth(2);
    QCOMPARE(label.Width(), text.width() + 6);
    QCOMPARE(label.Height(), text.height() + 6);
    label.Borders()->SetWidth(0); // nothing at all for a border of no width
    QCOMPARE(label.Width(), text.width());
    // Outside preparation an empty caption measures as the control's name.
    label.SetName("LRLNome");
    label.SetCaption(QString());
    QCOMPARE(label.Width(), textExtent("LRLNome ", label.Font()).width());
}

void TestRLPrintables::labelOrigins_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("alignCode");
    QTest::addColumn<int>("layoutCode");
    QTest::newRow("left top") << int(taLeftJustify) << int(tlTop) << 1 << 1;
    QTest::newRow("right bottom") << int(taRightJustify) << int(tlBottom) << 2 << 2;
    QTest::newRow("centre centre") << int(taCenter) << int(tlCenter) << 3 << 3;
    QTest::newRow("justify justify") << int(taJustify) << int(tlJustify) << 4 << 1;
}

void TestRLPrintables::labelOrigins()
{
    QFETCH(int, alignment);
    QFETCH(int, layout);
    QFETCH(int, alignCode);
    QFETCH(int, layoutCode);
    Panel p;
    TRLLabel label;
    label.SetParent(&p);
    label.SetAutoSize(false);
    label.SetBounds(50, 20, 120, 40);
    label.SetAlignment(TRLTextAlignment(alignment));
    label.SetLayout(TRLTextLayout(layout));
    label.SetCaption("Valor");
    printOne(label);
    const auto texts = objectsOf<TRLTextObject>(p.surface());
    QCOMPARE(texts.size(), 1);
    TRLTextObject *t = texts[0];
    QCOMPARE(t->BoundsRect, TRLRect(50, 20, 170, 60));
    QCOMPARE(int(t->Alignment), alignCode);
    QCOMPARE(int(t->Layout), layoutCode);
    QCOMPARE(int(t->TextOptions), 4);
    TRLGraphicSurface *s = p.surface();
    const int sp = s->TextWidth(" "), wt = s->TextWidth("Valor "), ht = s->TextHeight("Valor ");
    const int x[] = {sp / 2 + 50, sp / 2 + 170 - wt, sp / 2 + (220 - wt) / 2, sp / 2 + 50};
    const int y[] = {20, (80 - ht) / 2, 60 - ht, 20};
    QCOMPARE(t->Origin.x(), x[alignment]);
    QCOMPARE(t->Origin.y(), y[layout]);
    QCOMPARE(t->Brush.Style, mbsClear);
    QCOMPARE(t->FontName(), QStringLiteral("Arial"));
}

void TestRLPrintables::rightAlignedClippedOrGrown()
{
    const QString wide = "Uma legenda mais larga que cem";
    Panel p;
    TRLLabel fixed;
    fixed.SetParent(&p);
    fixed.SetAutoSize(false);
    fixed.SetAlignment(taRightJustify);
    fixed.SetBounds(200, 10, 100, 17);
    fixed.SetCaption(wide);
    QCOMPARE(fixed.BoundsRect(), TRLRect(200, 10, 300, 27));
    TRLLabel grown;
    grown.SetParent(&p);
    grown.SetAlignment(taRightJustify);
    grown.SetBounds(200, 50, 100, 17);
    grown.SetCaption(wide);
    const int need = textExtent(wide + " ", grown.Font()).width();
    QCOMPARE(grown.BoundsRect().Right, 300); // grows to the left
    QCOMPARE(grown.Width(), need);
    printOne(fixed);
    printOne(grown);
    const auto texts = objectsOf<TRLTextObject>(p.surface());
    QCOMPARE(int(texts[0]->TextOptions), 4); // clipped to its 100 pixels
    QCOMPARE(texts[0]->BoundsRect, TRLRect(200, 10, 300, 27));
    QVERIFY(texts[0]->Origin.x() < 200);
    QCOMPARE(int(texts[1]->TextOptions), 5);
    QCOMPARE(texts[1]->BoundsRect.Left, 300 - need);

    // On paper the fixed one shows only inside its box, the grown one its whole text.
    const QImage img = render(*p.surface());
    const auto clipped = inkColumns(img, 10, 27);
    QVERIFY(clipped.first >= 200);
    QVERIFY(clipped.second < 300);
    const auto whole = inkColumns(img, 50, 67);
    QVERIFY(whole.first < 200);
    QVERIFY(whole.first >= 300 - need);
    QVERIFY(whole.second < 300);
}

void TestRLPrintables::emptyLabelPrintsFrameOnly()
{
    Panel p;
    TRLLabel label;
    label.SetParent(&p);
    label.SetAutoSize(false);
    label.SetColor(Qt::yellow);
    label.Borders()->SetDrawTop(true);
    printOne(label);
    QCOMPARE(p.surface()->ObjectCount(), 2);
    QVERIFY(dynamic_cast<TRLFillRectObject *>(p.surface()->Objects(0)));
    QVERIFY(dynamic_cast<TRLRectangleObject *>(p.surface()->Objects(1)));
}

void TestRLPrintables::commonPartFillAndBorders()
{
    Panel p;
    TRLLabel label;
    label.SetParent(&p);
    label.SetAutoSize(false);
    label.SetBounds(10, 20, 100, 30);
    label.SetColor(QColor(1, 2, 3));
    label.Borders()->SetSides(sdAll);
    label.Borders()->SetWidth(3);
    label.Borders()->SetColor(Qt::red);
    label.Borders()->SetStyle(Qt::DiagCrossPattern); // kept, but borders print solid
    label.SetCaption("x");
    printOne(label);
    TRLGraphicSurface *s = p.surface();
    QCOMPARE(s->ObjectCount(), 6);
    auto *fill = dynamic_cast<TRLFillRectObject *>(s->Objects(0));
    QCOMPARE(fill->BoundsRect, TRLRect(10, 20, 110, 50));
    QCOMPARE(fill->Brush.Color.ToQColor(), QColor(1, 2, 3));
    const TRLRect sides[] = {{10, 20, 13, 50}, {10, 20, 110, 23}, {107, 20, 110, 50}, {10, 47, 110, 50}};
    for (int i = 0; i < 4; ++i) {
        auto *r = dynamic_cast<TRLRectangleObject *>(s->Objects(1 + i));
        QVERIFY(r);
        QCOMPARE(r->BoundsRect, sides[i]);
        QCOMPARE(r->Brush.Style, mbsSolid);
        QCOMPARE(r->Brush.Color.ToQColor(), QColor(Qt::red));
        QCOMPARE(r->Pen.Width, 1);
    }
    QCOMPARE(s->Objects(5)->BoundsRect, TRLRect(13, 23, 107, 47));
    // All objects of one control share one drawing group.
    QCOMPARE(s->Objects(0)->DrawGroup, s->Objects(5)->DrawGroup);
}

void TestRLPrintables::memoRowsBreakAtBlanks()
{
    auto width = [](const QString &t) { return int(t.size()) * 10; }; // 10 px per character
    QCOMPARE(RLBreakRows("aa bb cc dd", 60, true, width), (QStringList{"aa bb", "cc dd"}));
    QCOMPARE(RLBreakRows("aa bb cc dd", 59, true, width), (QStringList{"aa", "bb", "cc", "dd"}));
    QCOMPARE(RLBreakRows("aa   bb\ncc", 200, true, width), (QStringList{"aa   bb", "cc"}));
    QCOMPARE(RLBreakRows("aa bb\r\n\r\ncc", 200, false, width), (QStringList{"aa bb", "", "cc"}));
    QCOMPARE(RLBreakRows("aa bb cc", 30, false, width), (QStringList{"aa bb cc"}));
    QCOMPARE(RLBreakRows("  ab cd", 50, true, width), (QStringList{"  ab", "cd"}));
    // Blanks that do not fit end the row; those that fit stay on it.
    QCOMPARE(RLBreakRows("ab    ", 40, true, width), (QStringList{"ab "}));
    // A word wider than the row is never cut; it gets a row of its own and the words after it
    // still fill the rows below.
    QCOMPARE(RLBreakRows("abcdefg hi", 40, true, width), (QStringList{"abcdefg", "hi"}));
    QCOMPARE(RLBreakRows("abcdefghij kl mn", 60, true, width), (QStringList{"abcdefghij", "kl mn"}));
    QCOMPARE(RLBreakRows("aa abcdefghij kl", 50, true, width), (QStringList{"aa", "abcdefghij", "kl"}));
    QCOMPARE(RLBreakRows(" abcdefghij  ", 50, true, width), (QStringList{" abcdefghij  "}));
    QCOMPARE(RLBreakRows("abc", 0, true, width), (QStringList{"abc"}));
    QCOMPARE(RLBreakRows("", 100, true, width), (QStringList{""}));
}

void TestRLPrintables::memoStopsAtBottom_data()
{
    QTest::addColumn<int>("halfRows"); // box height in half rows
    QTest::addColumn<bool>("integral");
    QTest::addColumn<int>("printed");
    QTest::newRow("3.5 rows") << 7 << false << 4;
    QTest::newRow("3.5 rows, integral") << 7 << true << 3;
    QTest::newRow("exactly 3") << 6 << false << 3;
    QTest::newRow("exactly 3, integral") << 6 << true << 3;
    QTest::newRow("half a row") << 1 << true << 1; // the first row always prints
}

void TestRLPrintables::memoStopsAtBottom()
{
    QFETCH(int, halfRows);
    QFETCH(bool, integral);
    QFETCH(int, printed);
    Panel p;
    TRLMemo memo;
    memo.SetParent(&p);
    memo.SetAutoSize(false);
    memo.SetIntegralHeight(integral);
    p.surface()->SetFont(memo.Font());
    const int h = p.surface()->TextHeight("x ");
    memo.SetBounds(10, 10, 300, h * halfRows / 2);
    memo.SetLines({"um", "dois", "três", "quatro", "cinco"});
    printOne(memo);
    const auto rows = objectsOf<TRLTextObject>(p.surface());
    QCOMPARE(rows.size(), printed);
    const int bottom = 10 + h * halfRows / 2;
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i]->BoundsRect.Top, 10 + i * h);
        QCOMPARE(rows[i]->BoundsRect.Bottom, qMin(10 + (i + 1) * h, bottom));
        QCOMPARE(int(rows[i]->TextOptions), 5); // recorded unclipped
        QCOMPARE(int(rows[i]->Layout), 1);
    }
}

void TestRLPrintables::justifiedMemoLastRowLeft()
{
    Panel p;
    TRLMemo memo;
    memo.SetParent(&p);
    memo.SetAutoSize(false);
    memo.SetBounds(0, 0, 120, 200);
    memo.SetAlignment(taJustify);
    memo.SetCaption("É vedado o recolhimento de tributos cujo valor total seja inferior a R$ 10,00.");
    printOne(memo);
    const auto rows = objectsOf<TRLTextObject>(p.surface());
    QVERIFY(rows.size() >= 3);
    for (int i = 0; i < rows.size() - 1; ++i)
        QCOMPARE(int(rows[i]->Alignment), 4);
    QCOMPARE(int(rows.last()->Alignment), 1);
    // Every row but the last fits the width with its trailing blank.
    for (TRLTextObject *row : rows)
        QVERIFY(p.surface()->TextWidth(row->Text + " ") <= 120);
    const int s = p.surface()->TextWidth(" ");
    QCOMPARE(rows[0]->Origin.x(), s / 2);
}

void TestRLPrintables::memoBlankLineIsARow()
{
    Panel p;
    TRLMemo memo;
    memo.SetParent(&p);
    memo.SetLines({"um", "", "três"});
    printOne(memo);
    p.surface()->SetFont(memo.Font());
    const int h = p.surface()->TextHeight(" ");
    const auto rows = objectsOf<TRLTextObject>(p.surface());
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[1]->Text, QString());
    QCOMPARE(rows[1]->BoundsRect, TRLRect(0, h, 185, 2 * h));
    QCOMPARE(rows[2]->Origin.y(), 2 * h);
}

void TestRLPrintables::memoRowOrigins()
{
    Panel p;
    TRLMemo memo;
    memo.SetParent(&p);
    memo.SetAutoSize(false);
    memo.SetBounds(20, 0, 201, 100);
    memo.Borders()->SetDrawLeft(true);
    memo.Borders()->SetWidth(3);
    memo.SetLines({"um", "quatro"});
    p.surface()->SetFont(memo.Font());
    const int s = p.surface()->TextWidth(" ");
    const int w0 = p.surface()->TextWidth("um ");
    const int w1 = p.surface()->TextWidth("quatro ");
    memo.SetAlignment(taRightJustify);
    printOne(memo);
    memo.SetAlignment(taCenter);
    printOne(memo);
    const auto rows = objectsOf<TRLTextObject>(p.surface());
    QCOMPARE(rows.size(), 4);
    // The text rectangle starts after the 3-pixel left border: 23 .. 221.
    QCOMPARE(rows[0]->Origin.x(), 221 + s / 2 - w0);
    QCOMPARE(rows[1]->Origin.x(), 221 + s / 2 - w1);
    QCOMPARE(int(rows[1]->Alignment), 2);
    QCOMPARE(rows[2]->Origin.x(), (23 + 221 - w0) / 2 + s / 2);
    QCOMPARE(rows[3]->Origin.x(), (23 + 221 - w1) / 2 + s / 2);
    QCOMPARE(int(rows[3]->Alignment), 3);
    QCOMPARE(rows[3]->BoundsRect.Left, 23);
}

void TestRLPrintables::memoMeasuresRows()
{
    Panel p;
    TRLMemo memo;
    memo.SetParent(&p);
    memo.SetBounds(0, 0, 150, 10);
    memo.Borders()->SetDrawTop(true);
    memo.Borders()->SetDrawBottom(true);
    memo.SetCaption("primeira linha\nsegunda");
    const int h = textExtent("x ", memo.Font()).height();
    QCOMPARE(memo.Width(), 150);
    QCOMPARE(memo.Height(), 2 * h + 4);
    // During preparation an empty text still counts one row.
    TRLReport report;
    TRLBand band;
    band.SetParent(&report);
    TRLMemo empty;
    empty.SetParent(&band);
    report.SetPrepareState(TRLPrepareState::Preparing);
    empty.SetCaption(QString());
    QCOMPARE(empty.Height(), textExtent(" ", empty.Font()).height());
}

void TestRLPrintables::imageModes()
{
    QImage pic(40, 20, QImage::Format_RGB32);
    pic.fill(Qt::darkGreen);
    Panel p;
    TRLImage image;
    image.SetParent(&p);
    image.SetBounds(10, 10, 100, 100);
    image.SetPicture(pic);
    QCOMPARE(image.Width(), 100); // AutoSize is off
    image.SetScaled(true);
    image.SetCenter(true);
    printOne(image);
    image.SetStretch(true);
    QVERIFY(!image.Scaled());
    printOne(image);
    image.SetStretch(false);
    printOne(image);
    const auto drawn = objectsOf<TRLImageObject>(p.surface());
    QCOMPARE(drawn.size(), 3);
    QCOMPARE(drawn[0]->BoundsRect, TRLRect(10, 35, 110, 85)); // fitted, centred
    QCOMPARE(drawn[1]->BoundsRect, TRLRect(10, 10, 110, 110)); // stretched
    QCOMPARE(drawn[2]->BoundsRect, TRLRect(40, 50, 80, 70));   // own size, centred
    image.SetScaled(true);
    QVERIFY(!image.Stretch());

    TRLImage sized;
    sized.SetParent(&p);
    sized.SetAutoSize(true);
    sized.SetBounds(5, 6, 10, 10);
    sized.SetPicture(pic);
    QCOMPARE(sized.BoundsRect(), TRLRect(5, 6, 45, 26));
    sized.Borders()->SetSides(sdAll);
    QCOMPARE(sized.BoundsRect(), TRLRect(5, 6, 49, 30));

    // No picture: only the common part.
    Panel q;
    TRLImage blank;
    blank.SetParent(&q);
    blank.SetColor(Qt::red);
    printOne(blank);
    QCOMPARE(q.surface()->ObjectCount(), 1);
}

void TestRLPrintables::drawLineTurnedUpright()
{
    Panel p;
    TRLDraw draw;
    draw.SetParent(&p);
    draw.SetBounds(0, 0, 100, 40);
    draw.SetDrawKind(dkLine);
    draw.SetAngle(90);
    printOne(draw);
    const auto polys = objectsOf<TRLPolygonObject>(p.surface());
    QCOMPARE(polys.size(), 1);
    QCOMPARE(polys[0]->Points, (TRLMetaPointArray{{49, 39}, {49, 0}}));
    draw.SetAngle(0);
    QCOMPARE(draw.ShapePoints(draw.PrintRect()), (QVector<QPoint>{{0, 19}, {99, 19}}));
}

void TestRLPrintables::drawKeepVisible()
{
    Panel p;
    TRLDraw draw;
    draw.SetParent(&p);
    draw.SetBounds(0, 0, 100, 40);
    draw.SetOptions(doKeepVisible);
    QCOMPARE(draw.ShapePoints(draw.PrintRect()), (QVector<QPoint>{{30, 0}, {69, 0}, {69, 39}, {30, 39}}));
    draw.SetCenter(false);
    QCOMPARE(draw.ShapePoints(draw.PrintRect()), (QVector<QPoint>{{0, 0}, {39, 0}, {39, 39}, {0, 39}}));
    draw.SetOptions({});
    draw.SetDrawWidth(20);
    QCOMPARE(draw.ShapePoints(draw.PrintRect()), (QVector<QPoint>{{0, 0}, {20, 0}, {20, 39}, {0, 39}}));
}

void TestRLPrintables::drawDataPairs()
{
    QCOMPARE(RLParseDrawData("0 0 10 0 5 8 3"), (QVector<QPoint>{{0, 0}, {10, 0}, {5, 8}}));
    QCOMPARE(RLParseDrawData("1\t2\r\n3\x1a" "4"), (QVector<QPoint>{{1, 2}, {3, 4}}));
    QCOMPARE(RLParseDrawData("1 2 -3 4"), (QVector<QPoint>{{1, 2}}));
    QCOMPARE(RLParseDrawData("1 2 3x 4"), (QVector<QPoint>{{1, 2}}));
    QCOMPARE(RLParseDrawData("99999999999999999999 1").size(), 1); // capped, not overflowing
    QVERIFY(RLParseDrawData("abc").isEmpty());

    Panel p;
    TRLDraw draw;
    draw.SetParent(&p);
    draw.SetDrawData({"0 0 10 0", "5 8 3"});
    QCOMPARE(draw.DrawKind(), dkCustom);
    QVERIFY(draw.StoresDrawData());
    printOne(draw);
    QCOMPARE(objectsOf<TRLPolygonObject>(p.surface())[0]->Points.size(), 3);
    draw.SetDrawData({"garbage"});
    printOne(draw);
    QVERIFY(objectsOf<TRLPolygonObject>(p.surface())[1]->Points.isEmpty());
}

void TestRLPrintables::drawKindsAndOldKinds()
{
    TRLDraw draw;
    QVERIFY(draw.DrawData().isEmpty());
    QVERIFY(!draw.StoresDrawData());
    draw.SetDrawData({}); // the same (empty) text keeps the kind
    QCOMPARE(draw.DrawKind(), dkRectangle);
    draw.SetDrawKind(dkRectangle);
    QCOMPARE(draw.DrawData(), (QStringList{"0 0", "1 0", "1 1", "0 1"}));
    draw.SetDrawKind(dkTriangle);
    QCOMPARE(draw.DrawData(), (QStringList{"0 87", "50 0", "100 87"}));
    draw.SetDrawData(draw.DrawData()); // the same text keeps the kind
    QCOMPARE(draw.DrawKind(), dkTriangle);
    draw.SetDrawKind(dkElipse);
    QCOMPARE(draw.DrawData().size(), 36);
    QCOMPARE(draw.DrawData()[0], QStringLiteral("2000 1000"));
    QCOMPARE(draw.DrawData()[9], QStringLiteral("1000 2000"));
    QCOMPARE(RLDrawKindPoints(dkArrow).size(), 7);

    QVERIFY(draw.SetKind("dkVertLine"));
    QCOMPARE(draw.DrawKind(), dkLine);
    QCOMPARE(draw.Angle(), 90.0);
    QCOMPARE(draw.Options(), TRLDrawOptions(doKeepSize) | doKeepVisible);
    QVERIFY(draw.SetKind("dkReverseLine"));
    QCOMPARE(draw.DrawKind(), dkCustom);
    QCOMPARE(draw.DrawData(), (QStringList{"1 0 0 1"}));
    QVERIFY(draw.SetKind("dkCircle"));
    QCOMPARE(draw.Options(), TRLDrawOptions(doKeepAspectRatio));
    QVERIFY(!draw.SetKind("dkStar"));
    QVERIFY(!draw.StoresDrawSize());
    draw.SetDrawHeight(3);
    QVERIFY(draw.StoresDrawSize());
}

void TestRLPrintables::thickPenShrinksTarget()
{
    Panel p;
    TRLDraw draw;
    draw.SetParent(&p);
    draw.SetBounds(10, 10, 50, 30);
    draw.SetPen(QPen(Qt::black, 4));
    // R = (10, 10, 59, 39), then 2 in at the top-left and 1 at the bottom-right.
    QCOMPARE(draw.ShapePoints(draw.PrintRect()), (QVector<QPoint>{{12, 12}, {58, 12}, {58, 38}, {12, 38}}));
    draw.Borders()->SetSides(sdAll);
    draw.Borders()->SetWidth(1);
    QCOMPARE(draw.ShapePoints(draw.PrintRect()).first(), QPoint(13, 13));
}

void TestRLPrintables::renderedPixels()
{
    Panel p;
    TRLDraw box;
    box.SetParent(&p);
    box.SetBounds(20, 20, 60, 40);
    box.SetBrush(QBrush(Qt::white, Qt::NoBrush));
    TRLLabel label;
    label.SetParent(&p);
    label.SetAutoSize(false);
    label.SetColor(Qt::black);
    label.SetBounds(100, 20, 50, 20);
    printOne(box);
    printOne(label);
    const QImage img = render(*p.surface());
    // The rectangle's outline runs along both ends of its 60 x 40 box, minus the last pixel.
    QVERIFY(isInk(img, 20, 30));
    QVERIFY(isInk(img, 79, 30));
    QVERIFY(!isInk(img, 80, 30));
    QVERIFY(isInk(img, 50, 20));
    QVERIFY(isInk(img, 50, 59));
    QVERIFY(!isInk(img, 50, 40)); // clear brush: hollow
    // The opaque label fills exactly its rectangle.
    QVERIFY(isInk(img, 100, 20));
    QVERIFY(isInk(img, 149, 39));
    QVERIFY(!isInk(img, 150, 30));
    QVERIFY(!isInk(img, 99, 30));
}

QTEST_MAIN(TestRLPrintables)
#include "tst_rlprintables.moc"
