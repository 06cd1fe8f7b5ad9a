// Replaying recorded pages onto a 96 dpi image, checked pixel by pixel.

#include "report/page/RLMetaFile.h"
#include "ReplayReference.h"

#include <QPageSize>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <thread>

Q_DECLARE_METATYPE(TRLRect)

namespace {

const QRgb white = qRgb(255, 255, 255);
const QRgb black = qRgb(0, 0, 0);

QImage replay(const TRLGraphicSurface &surface, int ox = 0, int oy = 0, double fx = 1, double fy = 1,
              QImage image = blankImage())
{
    QPainter painter(&image);
    surface.PaintTo(&painter, ox, oy, fx, fy);
    painter.end();
    return image;
}

// Counts the clip states a printer would be sent, and the clip each drawing is made under.
class ClipCountingEngine : public QPaintEngine
{
public:
    int clipStates = 0;
    QList<QRect> drawnUnder;

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & (DirtyClipPath | DirtyClipRegion | DirtyClipEnabled))
            ++clipStates;
    }
    void drawRects(const QRect *, int) override { noteDraw(); }
    void drawRects(const QRectF *, int) override { noteDraw(); }
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override { noteDraw(); }
    void drawPath(const QPainterPath &) override { noteDraw(); }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { noteDraw(); }
    Type type() const override { return User; }

private:
    void noteDraw() { drawnUnder << (painter()->hasClipping() ? painter()->clipBoundingRect().toRect() : QRect()); }
};

class ClipCountingDevice : public QPaintDevice
{
public:
    ClipCountingEngine engine;
    QPaintEngine *paintEngine() const override { return const_cast<ClipCountingEngine *>(&engine); }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return 400;
        case PdmHeight: return 300;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmWidthMM: return 106;
        case PdmHeightMM: return 79;
        case PdmNumColors: return INT_MAX;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        default: return 0;
        }
    }
};

// The box around everything that is not white; empty when nothing was drawn.
QRect inkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != white)
                box |= QRect(x, y, 1, 1);
    return box;
}

TRLGraphicSurface *textPage(const QString &text, const TRLRect &rect, quint8 alignment, quint16 options = 5,
                            int pointSize = 10)
{
    auto *s = new TRLGraphicSurface;
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(pointSize);
    s->SetFont(font);
    s->SetBrush(Qt::NoBrush);
    s->TextRect(rect, rect.Left, rect.Top, text, alignment, mtlTop, options);
    return s;
}


QFont arial(int pointSize, bool bold = false, bool italic = false, bool underline = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

void addText(TRLGraphicSurface &s, const TRLRect &box, const QString &text, const QFont &font, quint8 alignment,
             quint8 layout = mtlTop, quint16 options = MetaTextFlagKeepWhole, const QColor &color = Qt::black,
             const QBrush &brush = Qt::NoBrush)
{
    s.SetFont(font);
    s.SetFontColor(color);
    s.SetBrush(brush);
    s.TextRect(box, box.Left, box.Top, text, alignment, layout, options);
}

// A slip-like page: frames, fills, a mark, a dashed line, a picture, captions that fit their
// boxes and some that do not, memo rows, texts in turns of fonts and colours, a clipped region.
TRLGraphicSurface *representativePage()
{
    auto *s = new TRLGraphicSurface;
    s->SetWidth(400);
    s->SetHeight(300);
    const QColor navy(0, 0, 128);
    QImage picture(24, 24, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter p(&picture);
        p.setBrush(navy);
        p.drawEllipse(2, 2, 20, 20);
    }
    s->StretchDraw(TRLRect(8, 8, 40, 40), picture);
    addText(*s, TRLRect(48, 8, 250, 24), QStringLiteral("MINISTÉRIO DA FAZENDA"), arial(9, true), mtaLeft, mtlTop,
            MetaTextFlagUnclipped, navy);
    addText(*s, TRLRect(48, 24, 250, 40), QStringLiteral("Receita Federal — Guia"), arial(8), mtaCenter, mtlCenter,
            MetaTextFlagKeepWhole, navy);
    addText(*s, TRLRect(260, 8, 392, 24), QStringLiteral("1ª VIA"), arial(8, false, false, true), mtaRight);
    for (int row = 0; row < 5; ++row) {
        const int y = 48 + row * 30;
        s->SetBrush(QBrush(QColor(230, 230, 250)));
        s->FillRect(TRLRect(250, y, 392, y + 30));
        s->SetPen(QPen(navy, 1));
        s->SetBrush(QBrush(navy));
        s->Rectangle(250, y, 392, y + 1);
        s->Rectangle(250, y, 251, y + 30);
        addText(*s, TRLRect(253, y + 2, 330, y + 14), QStringLiteral("0%1 CÓDIGO DA RECEITA E OBSERVAÇÕES").arg(row + 1),
                arial(7), mtaLeft, mtlTop, MetaTextFlagKeepWhole, navy);
        addText(*s, TRLRect(300, y + 12, 390, y + 28), QStringLiteral("12.345,%1").arg(row * 11), arial(9, true),
                mtaRight, mtlBottom);
    }
    s->SetPen(QPen(navy, 1));
    s->SetBrush(Qt::NoBrush);
    s->Rectangle(8, 48, 240, 200);
    const QString memo = QStringLiteral("Pagamento de tributo em São Paulo");
    for (int line = 0; line < 4; ++line)
        addText(*s, TRLRect(12, 52 + line * 14, 236 - line * 20, 66 + line * 14), memo, arial(7), mtaJustify, mtlTop,
                MetaTextFlagUnclipped | MetaTextFlagKeepWhole);
    // The same words clipped, in another colour and with a background, after the memo's font.
    addText(*s, TRLRect(12, 112, 236, 126), memo, arial(7), mtaJustify, mtlTop, MetaTextFlagKeepWhole, Qt::darkRed,
            QBrush(Qt::yellow));
    addText(*s, TRLRect(12, 128, 120, 146), QStringLiteral("Contribuinte com nome comprido demais"), arial(9, false, true),
            mtaLeft);
    addText(*s, TRLRect(12, 150, 60, 158), QStringLiteral("gjpq"), arial(9), mtaCenter);
    addText(*s, TRLRect(70, 150, 180, 166), QStringLiteral("Ágil"), arial(12, true), mtaLeft, mtlTop,
            MetaTextFlagKeepWhole, navy);
    s->SetBrush(QBrush(QColor(250, 210, 0)));
    s->Polygon({QPoint(200, 150), QPoint(230, 165), QPoint(200, 180)});
    auto *line = new TRLLineObject(s);
    line->FromPoint = QPoint(8, 210);
    line->ToPoint = QPoint(392, 214);
    line->Pen = TRLMetaPen{TRLMetaColor{0, 0, 128}, mpmCopy, mpsDash, 2};
    line->Brush.Style = mbsClear;
    s->SetClipRect(TRLRect(20, 220, 140, 240));
    s->SetBrush(QBrush(QColor(200, 240, 200)));
    s->FillRect(TRLRect(0, 215, 400, 245));
    addText(*s, TRLRect(10, 222, 300, 238), QStringLiteral("Texto dentro de uma região recortada"), arial(9), mtaLeft);
    addText(*s, TRLRect(10, 240, 300, 256), QStringLiteral("Sem recorte próprio"), arial(9), mtaLeft, mtlTop,
            MetaTextFlagUnclipped);
    s->ResetClipRect();
    addText(*s, TRLRect(10, 260, 390, 290), QStringLiteral("Texto dentro de uma região recortada"), arial(9), mtaCenter,
            mtlCenter, MetaTextFlagKeepWhole, navy, QBrush(QColor(240, 240, 240)));
    return s;
}

} // namespace

class TestRLMetaFileReplay : public QObject
{
    Q_OBJECT

private slots:
    void rectangleEdges();
    void strokeCoversItsCells_data();
    void strokeCoversItsCells();
    void dashedEdgesKeepTheirGaps_data();
    void dashedEdgesKeepTheirGaps();
    void zeroWidthFillStillFillsAColumn();
    void offsetAndFactors();
    void clipStack();
    void clipsOnlyWhereSomethingIsDrawn();
    void thickPatternedLineDrawnByHand();
    void wholeWidths();
    void ellipsePolygonPolylinePixel();

    void textAlignment();
    void rowEndsAtItsBoxEdge_data();
    void rowEndsAtItsBoxEdge();
    void wordlessJustifiedTextUnchanged();
    void textPlacedExactly_data();
    void textPlacedExactly();
    void textClippedUnlessAskedNotTo();
    void opaqueTextBackground();
    void fontSizeFollowsTheDeviceResolution();
    void macrosExpandedWhenDrawn();
    void pageDrawnAsObjectByObject_data();
    void pageDrawnAsObjectByObject();
    void overflowingInkStillClipped_data();
    void overflowingInkStillClipped();
    void boxEdgeCrossingTheInk_data();
    void boxEdgeCrossingTheInk();
    void measuresOfEarlierPagesChangeNothing_data();
    void measuresOfEarlierPagesChangeNothing();

    void hostileValuesStayBounded();
};

void TestRLMetaFileReplay::rectangleEdges()
{
    TRLGraphicSurface s;
    s.SetBrush(Qt::NoBrush);
    s.Rectangle(10, 10, 20, 20);
    s.SetPen(Qt::NoPen);
    s.SetBrush(QBrush(Qt::red));
    s.Rectangle(40, 10, 50, 20);
    const QImage image = replay(s);
    QCOMPARE(inkBox(image.copy(0, 0, 30, 30)), QRect(10, 10, 10, 10));
    QCOMPARE(image.pixel(10, 15), black);
    QCOMPARE(image.pixel(19, 15), black);
    QCOMPARE(image.pixel(15, 10), black);
    QCOMPARE(image.pixel(15, 19), black);
    QCOMPARE(image.pixel(15, 15), white);
    QCOMPARE(inkBox(image.copy(30, 0, 40, 30)), QRect(10, 10, 10, 10));
    QCOMPARE(image.pixel(45, 15), qRgb(255, 0, 0));
}

// A pen of width p at report pixel x covers the cells [x - p div 2, x - p div 2 + p) on every
// device: a clip at the frame's own left edge and an opaque box ending on the row above the top
// edge leave every side its full width.
void TestRLMetaFileReplay::strokeCoversItsCells_data()
{
    QTest::addColumn<int>("kind"); // 0 rectangle object, 1 polygon, 2 lines
    QTest::addColumn<double>("factor");
    QTest::addColumn<int>("width");
    for (const double factor : {1.0, 2.5, 6.25})
        for (const int width : {1, 2, 3})
            for (int kind = 0; kind < 3; ++kind)
                QTest::addRow("%s, x%g, pen %d", kind == 0 ? "rectangle" : kind == 1 ? "polygon" : "lines", factor,
                              width)
                    << kind << factor << width;
}

void TestRLMetaFileReplay::strokeCoversItsCells()
{
    QFETCH(int, kind);
    QFETCH(double, factor);
    QFETCH(int, width);
    const int left = width / 2, top = 20, right = 60, bottom = 50; // sides at left, top, right - 1, bottom - 1
    TRLGraphicSurface s;
    s.SetClipRect(TRLRect(0, 0, 100, 100));
    const TRLMetaPen pen{TRLMetaColor{}, mpmCopy, mpsSolid, width};
    const TRLMetaBrush clear{TRLMetaColor{}, mbsClear};
    const QPoint corners[] = {{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}};
    if (kind == 0) {
        auto *frame = new TRLRectangleObject(&s);
        frame->BoundsRect = TRLRect(left, top, right, bottom);
        frame->Pen = pen;
        frame->Brush = clear;
    } else if (kind == 1) {
        auto *frame = new TRLPolygonObject(&s);
        frame->Points = {corners[0], corners[1], corners[2], corners[3]};
        frame->Pen = pen;
        frame->Brush = clear;
    } else {
        for (int i = 0; i < 4; ++i) {
            auto *line = new TRLLineObject(&s);
            line->FromPoint = corners[i];
            line->ToPoint = corners[(i + 1) % 4];
            line->Pen = pen;
            line->Brush = clear;
        }
    }
    // An opaque box on the rows just above the top side's cells.
    const int lead = width / 2;
    s.SetBrush(QBrush(Qt::white));
    s.FillRect(TRLRect(20, 0, 40, top - lead));
    s.ResetClipRect();

    const auto map = [&](int v) { return int(std::nearbyint(v * factor)); }; // halves to even
    const QImage image = replay(s, 0, 0, factor, factor, blankImage(qCeil(100 * factor), qCeil(100 * factor)));
    const auto inkRun = [&](bool across, int at, int from, int to) {
        int count = 0;
        for (int i = from; i < to; ++i)
            count += (across ? image.pixel(i, at) : image.pixel(at, i)) != white;
        return count;
    };
    const int sideFrom = map(left - lead), sideTo = map(left - lead + width);
    const int middleY = map((top + bottom) / 2), middleX = map(30);
    // Left side: its cells whole, nothing beside them.
    QCOMPARE(inkRun(true, middleY, 0, map(10)), sideTo - sideFrom);
    QCOMPARE(image.pixel(sideFrom, middleY), black);
    // Top side under the opaque box's last row: whole too.
    QCOMPARE(inkRun(false, middleX, 0, map(top + 10)), map(top - lead + width) - map(top - lead));
    // Right and bottom sides end where their cells end.
    QCOMPARE(inkBox(image), QRect(QPoint(sideFrom, map(top - lead)),
                                  QPoint(map(right - 1 - lead + width) - 1, map(bottom - 1 - lead + width) - 1)));
}

// A flat shape or a line of a dashed pen keeps its gaps: the way back along the same edge must
// not fill them.
void TestRLMetaFileReplay::dashedEdgesKeepTheirGaps_data()
{
    QTest::addColumn<int>("kind"); // 0 two-point polygon, 1 rectangle one pixel high, 2 line
    QTest::addColumn<double>("factor");
    for (const double factor : {1.0, 6.25})
        for (int kind = 0; kind < 3; ++kind)
            QTest::addRow("%s, x%g", kind == 0 ? "line polygon" : kind == 1 ? "flat polygon" : "line", factor)
                << kind << factor;
}

void TestRLMetaFileReplay::dashedEdgesKeepTheirGaps()
{
    QFETCH(int, kind);
    QFETCH(double, factor);
    TRLGraphicSurface s;
    s.SetPen(QPen(Qt::black, 1, Qt::DashLine));
    s.SetBrush(Qt::NoBrush);
    if (kind == 0)
        s.Polygon({QPoint(10, 50), QPoint(190, 50)});
    else if (kind == 1)
        s.Polygon({QPoint(10, 50), QPoint(190, 50), QPoint(190, 50), QPoint(10, 50)});
    else {
        auto *line = new TRLLineObject(&s);
        line->FromPoint = QPoint(10, 50);
        line->ToPoint = QPoint(190, 50);
        line->Pen = TRLMetaPen{TRLMetaColor{}, mpmCopy, mpsDash, 1};
        line->Brush.Style = mbsClear;
    }
    const QImage image = replay(s, 0, 0, factor, factor, blankImage(qCeil(200 * factor), qCeil(100 * factor)));
    const int row = qRound(50 * factor) + (factor > 1 ? 2 : 0);
    int inked = 0, gaps = 0;
    bool wasInk = false;
    for (int x = qRound(10 * factor); x < qRound(190 * factor); ++x) {
        const bool ink = image.pixel(x, row) != white;
        inked += ink;
        gaps += wasInk && !ink;
        wasInk = ink;
    }
    QVERIFY2(gaps >= 5, qPrintable(QString::number(gaps)));
    QVERIFY(inked > qRound(90 * factor));
}

void TestRLMetaFileReplay::zeroWidthFillStillFillsAColumn()
{
    TRLGraphicSurface s;
    s.SetBrush(QBrush(Qt::black));
    s.FillRect(TRLRect(30, 5, 30, 50));
    s.FillRect(TRLRect(60, 70, 90, 70)); // and a zero-height one a row
    const QImage image = replay(s);
    QCOMPARE(inkBox(image.copy(0, 0, 50, 60)), QRect(30, 5, 1, 45));
    QCOMPARE(inkBox(image.copy(50, 60, 60, 20)), QRect(10, 10, 30, 1));
}

void TestRLMetaFileReplay::offsetAndFactors()
{
    TRLGraphicSurface s;
    s.SetBrush(QBrush(Qt::black));
    s.FillRect(TRLRect(10, 10, 20, 20));
    QCOMPARE(inkBox(replay(s, 5, 7, 2, 3)), QRect(25, 37, 20, 30));
    QCOMPARE(inkBox(replay(s, 0, 0, 0.25, 0.25)), QRect(2, 2, 3, 3)); // 2.5 -> 2, 5 -> 5: halves to even
    QCOMPARE(inkBox(replay(s, 0, 0, 0.01, 0.01)), QRect(0, 0, 1, 1)); // never empty
}

void TestRLMetaFileReplay::clipStack()
{
    TRLGraphicSurface s;
    s.SetBrush(QBrush(Qt::blue));
    s.SetClipRect(TRLRect(0, 0, 50, 50));
    s.SetClipRect(TRLRect(10, 10, 20, 20));
    s.FillRect(TRLRect(0, 0, 200, 120));
    s.ResetClipRect();
    s.SetBrush(QBrush(Qt::green));
    s.FillRect(TRLRect(30, 30, 200, 120));
    s.ResetClipRect();
    s.SetBrush(QBrush(Qt::red));
    s.FillRect(TRLRect(190, 110, 195, 115));
    s.SetClipRect(TRLRect(100, 0, 100, 120)); // zero width: no clipping at all
    s.FillRect(TRLRect(180, 0, 190, 5));
    s.ResetClipRect();

    QImage image = blankImage();
    QPainter painter(&image);
    s.PaintTo(&painter, 0, 0, 1, 1);
    QVERIFY(!painter.hasClipping()); // the replay leaves the painter as it found it
    painter.end();
    QCOMPARE(image.pixel(15, 15), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(25, 25), white);
    QCOMPARE(image.pixel(49, 49), qRgb(0, 255, 0));
    QCOMPARE(image.pixel(50, 49), white);
    QCOMPARE(image.pixel(192, 112), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(185, 2), qRgb(255, 0, 0));

    // The canvas starts clipped to the area it is given.
    QImage clipped = blankImage();
    QPainter clipPainter(&clipped);
    {
        TRLReplayCanvas canvas(&clipPainter, 0, 0, 1, 1, QRect(0, 0, 12, 12));
        TRLGraphicSurface fill;
        fill.SetBrush(QBrush(Qt::black));
        fill.FillRect(TRLRect(0, 0, 100, 100));
        fill.PaintTo(canvas);
    }
    clipPainter.end();
    QCOMPARE(inkBox(clipped), QRect(0, 0, 12, 12));
}

// Band slices set and reset clips around nothing; only a clip something is drawn under reaches the
// printer, and once only while it stays the same.
void TestRLMetaFileReplay::clipsOnlyWhereSomethingIsDrawn()
{
    TRLGraphicSurface s;
    s.SetBrush(QBrush(Qt::blue));
    s.SetClipRect(TRLRect(0, 0, 400, 300));
    s.ResetClipRect();
    s.SetClipRect(TRLRect(10, 10, 60, 60));
    s.FillRect(TRLRect(0, 0, 100, 100));
    s.ResetClipRect();
    s.SetClipRect(TRLRect(10, 10, 60, 60));
    s.FillRect(TRLRect(20, 20, 30, 30));
    s.ResetClipRect();
    s.FillRect(TRLRect(200, 200, 210, 210));

    ClipCountingDevice device;
    QPainter painter(&device);
    s.PaintTo(&painter, 0, 0, 1, 1);
    painter.end();
    QCOMPARE(device.engine.drawnUnder, (QList<QRect>{QRect(10, 10, 50, 50), QRect(10, 10, 50, 50), QRect()}));
    // The clip drawn under, no clip for the last fill, and the replay's own restore at the end.
    QCOMPARE(device.engine.clipStates, 3);
}

void TestRLMetaFileReplay::thickPatternedLineDrawnByHand()
{
    TRLGraphicSurface s;
    auto *line = new TRLLineObject(&s);
    line->FromPoint = QPoint(10, 50);
    line->ToPoint = QPoint(190, 50);
    line->Pen = TRLMetaPen{TRLMetaColor{0, 0, 0}, mpmCopy, mpsDash, 3};
    line->Brush.Style = mbsClear;
    // Dash: stroke 3 units, gap 1, a unit being four pen widths: 36 on, 12 off from x = 10.
    QImage image = replay(s);
    QCOMPARE(image.pixel(30, 50), black);
    QCOMPARE(image.pixel(52, 50), white);
    QCOMPARE(image.pixel(75, 50), black);
    QCOMPARE(image.pixel(100, 50), white);
    QCOMPARE(image.pixel(30, 51), black); // three pixels thick
    QCOMPARE(image.pixel(30, 53), white);

    // Under a brush the gaps show the brush colour.
    line->Brush = TRLMetaBrush{TRLMetaColor{255, 255, 0}, mbsSolid};
    image = replay(s);
    QCOMPARE(image.pixel(30, 50), black);
    QCOMPARE(image.pixel(52, 50), qRgb(255, 255, 0));

    // Scaled, the pattern scales with the pen: 72 on, 24 off.
    line->Brush.Style = mbsClear;
    image = replay(s, 0, 0, 2, 1, blankImage(400, 120));
    QCOMPARE(image.pixel(60, 50), black);
    QCOMPARE(image.pixel(104, 50), white);
    QCOMPARE(image.pixel(150, 50), black);
}

void TestRLMetaFileReplay::wholeWidths()
{
    QImage picture(10, 4, QImage::Format_RGB32);
    picture.fill(Qt::black);
    TRLGraphicSurface s;
    s.StretchDraw(TRLRect(0, 0, 35, 4), picture, true);
    s.StretchDraw(TRLRect(0, 10, 35, 14), picture, false);
    const QImage image = replay(s);
    QCOMPARE(inkBox(image.copy(0, 0, 50, 5)), QRect(0, 0, 31, 4)); // three widths and one pixel
    QCOMPARE(inkBox(image.copy(0, 10, 50, 5)), QRect(0, 0, 35, 4));
}

void TestRLMetaFileReplay::ellipsePolygonPolylinePixel()
{
    TRLGraphicSurface s;
    auto *pixel = new TRLPixelObject(&s);
    pixel->BoundsRect = TRLRect(3, 4, 3, 4);
    pixel->Color = TRLMetaColor{0, 128, 0};
    auto *ellipse = new TRLEllipseObject(&s);
    ellipse->BoundsRect = TRLRect(20, 20, 60, 40);
    ellipse->Brush = TRLMetaBrush{TRLMetaColor{255, 0, 0}, mbsSolid};
    s.SetBrush(QBrush(Qt::blue));
    s.SetPen(Qt::NoPen);
    s.Polygon({QPoint(100, 10), QPoint(140, 10), QPoint(100, 50)});
    auto *polyline = new TRLPolylineObject(&s);
    polyline->Points = {QPoint(150, 100), QPoint(190, 100), QPoint(190, 60)};
    const QImage image = replay(s);
    QCOMPARE(image.pixel(3, 4), qRgb(0, 128, 0));
    QCOMPARE(inkBox(image.copy(0, 0, 10, 10)), QRect(3, 4, 1, 1));
    QCOMPARE(image.pixel(40, 30), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(21, 21), white); // outside the curve
    QCOMPARE(inkBox(image.copy(15, 15, 50, 30)), QRect(5, 5, 40, 20));
    QCOMPARE(image.pixel(105, 15), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(135, 45), white);
    QCOMPARE(image.pixel(170, 100), black);
    QCOMPARE(image.pixel(170, 90), white); // a polyline is never filled
}

void TestRLMetaFileReplay::textAlignment()
{
    const TRLRect box(20, 10, 180, 40);
    std::unique_ptr<TRLGraphicSurface> left(textPage(QStringLiteral("Total"), box, mtaLeft));
    std::unique_ptr<TRLGraphicSurface> right(textPage(QStringLiteral("Total"), box, mtaRight));
    std::unique_ptr<TRLGraphicSurface> centre(textPage(QStringLiteral("Total"), box, mtaCenter));
    const QRect l = inkBox(replay(*left));
    const QRect r = inkBox(replay(*right));
    const QRect c = inkBox(replay(*centre));
    QVERIFY(!l.isEmpty());
    QCOMPARE(r.width(), l.width());
    QVERIFY(l.left() >= 20 && l.left() <= 24);
    QVERIFY(r.right() < 180 && r.right() >= 172);
    QVERIFY(qAbs((c.left() + c.right()) / 2 - 100) <= 3);
    QVERIFY(l.top() >= 10);

    // Layout bottom puts the text cell on the rectangle's bottom edge.
    TRLGraphicSurface bottom;
    bottom.SetFont(QFont(QStringLiteral("Arial"), 10));
    bottom.TextRect(box, 20, 10, QStringLiteral("Total"), mtaLeft, mtlBottom);
    const QRect b = inkBox(replay(bottom));
    QVERIFY(b.bottom() < 40 && b.top() > l.top() + 10);
}

// A row's end is where its last glyph's ink ends; a W has almost no bearing on its right.
void TestRLMetaFileReplay::rowEndsAtItsBoxEdge_data()
{
    QTest::addColumn<double>("factor");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("boxWidth");
    QTest::addColumn<QString>("end"); // "edge", "inside", or "natural": past the edge, unspaced
    // Wider than the text: a justified row is spread up to the edge, not a blank short of it.
    QTest::newRow("justify, room, screen") << 1.0 << int(mtaJustify) << 180 << "edge";
    QTest::newRow("justify, room, 600 dpi") << 6.25 << int(mtaJustify) << 180 << "edge";
    // A little narrower than the text (rows are broken at the report's widths, devices differ):
    // narrowed between its words, down to half a blank, then condensed.
    QTest::newRow("justify, narrow, screen") << 1.0 << int(mtaJustify) << 84 << "edge";
    QTest::newRow("justify, narrow, 600 dpi") << 6.25 << int(mtaJustify) << 84 << "edge";
    QTest::newRow("left, narrow, 600 dpi") << 6.25 << int(mtaLeft) << 84 << "edge";
    QTest::newRow("left, room, 600 dpi") << 6.25 << int(mtaLeft) << 180 << "inside";
    // Far narrower: the words are not run together; the row crosses as a left-aligned one does.
    QTest::newRow("justify, far too narrow, 600 dpi") << 6.25 << int(mtaJustify) << 60 << "natural";
    QTest::newRow("left, far too narrow, screen") << 1.0 << int(mtaLeft) << 60 << "natural";
}

void TestRLMetaFileReplay::rowEndsAtItsBoxEdge()
{
    QFETCH(double, factor);
    QFETCH(int, alignment);
    QFETCH(int, boxWidth);
    QFETCH(QString, end);
    const TRLRect box(10, 10, 10 + boxWidth, 30);
    std::unique_ptr<TRLGraphicSurface> row(
        textPage(QStringLiteral("um dois tr\u00eas W"), box, quint8(alignment), MetaTextFlagUnclipped));
    const QImage image = replay(*row, 0, 0, factor, factor, blankImage(qCeil(200 * factor), qCeil(40 * factor),
                                                                        qRound(96 * factor)));
    const int right = qRound(box.Right * factor);
    const int inkEnd = inkBox(image).right() + 1;
    if (end == QLatin1String("natural")) {
        const std::unique_ptr<TRLGraphicSurface> roomy(
            textPage(QStringLiteral("um dois tr\u00eas W"), TRLRect(10, 10, 190, 30), mtaLeft, MetaTextFlagUnclipped));
        const QImage natural = replay(*roomy, 0, 0, factor, factor,
                                      blankImage(qCeil(200 * factor), qCeil(40 * factor), qRound(96 * factor)));
        QCOMPARE(inkBox(image), inkBox(natural));
        return;
    }
    QVERIFY2(inkEnd <= right + 1, qPrintable(QStringLiteral("%1 past %2").arg(inkEnd).arg(right)));
    if (end == QLatin1String("edge"))
        QVERIFY2(inkEnd >= right - 2, qPrintable(QStringLiteral("%1 short of %2").arg(inkEnd).arg(right)));
    else
        QVERIFY(inkEnd < right - 10 * factor);
    // The start stays where the text starts.
    std::unique_ptr<TRLGraphicSurface> plain(
        textPage(QStringLiteral("um"), box, mtaLeft, MetaTextFlagUnclipped));
    const QImage start = replay(*plain, 0, 0, factor, factor, blankImage(qCeil(200 * factor), qCeil(40 * factor),
                                                                          qRound(96 * factor)));
    QCOMPARE(inkBox(image).left(), inkBox(start).left());
}

void TestRLMetaFileReplay::wordlessJustifiedTextUnchanged()
{
    const TRLRect box(10, 10, 190, 30);
    std::unique_ptr<TRLGraphicSurface> single(textPage(QStringLiteral("palavra"), box, mtaJustify));
    std::unique_ptr<TRLGraphicSurface> singlePlain(textPage(QStringLiteral("palavra"), box, mtaLeft));
    QCOMPARE(replay(*single), replay(*singlePlain));
}

// Where each alignment and layout starts the text, against the same text drawn straight.
void TestRLMetaFileReplay::textPlacedExactly_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("text");
    QTest::newRow("left top") << int(mtaLeft) << int(mtlTop) << "Valor total";
    QTest::newRow("right") << int(mtaRight) << int(mtlTop) << "Valor total";
    QTest::newRow("centre") << int(mtaCenter) << int(mtlCenter) << "Valor total";
    QTest::newRow("bottom") << int(mtaLeft) << int(mtlBottom) << "Valor total";
}

void TestRLMetaFileReplay::textPlacedExactly()
{
    QFETCH(int, alignment);
    QFETCH(int, layout);
    QFETCH(QString, text);
    const TRLRect box(17, 9, 185, 47);
    const QPoint origin(21, 12);
    TRLGraphicSurface s;
    QFont recorded(QStringLiteral("Arial"));
    recorded.setPointSize(10);
    s.SetFont(recorded);
    s.SetBrush(Qt::NoBrush);
    s.TextRect(box, origin.x(), origin.y(), text, quint8(alignment), quint8(layout), MetaTextFlagUnclipped);

    QImage expected = blankImage();
    QPainter painter(&expected);
    QFont font;
    font.setFamily(QStringLiteral("Arial"));
    font.setPointSize(10);
    painter.setFont(font);
    const QFontMetrics m = painter.fontMetrics();
    const int blank = m.horizontalAdvance(QLatin1Char(' '));
    // Right-aligned and centred texts start where their exact width puts them.
    const auto width = [&](const QString &t) { return QFontMetricsF(m).horizontalAdvance(t + QLatin1Char(' ')); };
    qreal x = blank / 2 + origin.x();
    if (alignment == mtaRight)
        x = blank / 2 + box.Right - width(text);
    else if (alignment == mtaCenter)
        x = blank / 2 + (box.Left + box.Right - width(text)) / 2;
    int y = origin.y();
    if (layout == mtlBottom)
        y = box.Bottom - m.height();
    else if (layout == mtlCenter)
        y = (box.Top + box.Bottom - m.height()) / 2;
    const QString shown = text;
    painter.setPen(Qt::black);
    painter.drawText(QPointF(x, y + m.ascent()), shown);
    painter.end();

    QCOMPARE(replay(s), expected);
}

void TestRLMetaFileReplay::textClippedUnlessAskedNotTo()
{
    const TRLRect box(10, 10, 40, 30);
    std::unique_ptr<TRLGraphicSurface> clipped(textPage(QStringLiteral("Contribuinte"), box, mtaLeft, 0));
    std::unique_ptr<TRLGraphicSurface> free(textPage(QStringLiteral("Contribuinte"), box, mtaLeft, 1));
    QVERIFY(inkBox(replay(*clipped)).right() < 40);
    QVERIFY(inkBox(replay(*free)).right() > 50);
}

void TestRLMetaFileReplay::opaqueTextBackground()
{
    TRLGraphicSurface s;
    s.SetFont(QFont(QStringLiteral("Arial"), 10));
    s.SetBrush(QBrush(Qt::yellow));
    s.TextRect(TRLRect(10, 10, 100, 40), 10, 10, QStringLiteral("x"), mtaLeft, mtlTop, 0);
    const QImage image = replay(s);
    QCOMPARE(image.pixel(95, 35), qRgb(255, 255, 0));
    QCOMPARE(image.pixel(100, 35), white);
}

void TestRLMetaFileReplay::fontSizeFollowsTheDeviceResolution()
{
    std::unique_ptr<TRLGraphicSurface> s(textPage(QStringLiteral("HHH"), TRLRect(0, 0, 100, 50), mtaLeft, 1, 20));
    const QRect at96 = inkBox(replay(*s));
    // The same page at 192 dpi: twice the pixels per report pixel, and the same point size.
    const QRect at192 = inkBox(replay(*s, 0, 0, 2, 2, blankImage(400, 240, 192)));
    QVERIFY(qAbs(at192.height() - 2 * at96.height()) <= 2);
    QVERIFY(qAbs(at192.width() - 2 * at96.width()) <= 3);

    // A size given for 72 dpi is smaller by three quarters on the report's 96.
    static_cast<TRLTextObject *>(s->Objects(0))->Font.PixelsPerInch = 72;
    const QRect at72 = inkBox(replay(*s));
    QVERIFY(qAbs(at72.height() - at96.height() * 3 / 4) <= 2);
    // 0 reads as the report's own 96.
    static_cast<TRLTextObject *>(s->Objects(0))->Font.PixelsPerInch = 0;
    QCOMPARE(inkBox(replay(*s)), at96);
}

void TestRLMetaFileReplay::macrosExpandedWhenDrawn()
{
    TRLGraphicStorage store;
    store.SetLastPageNumber(3);
    store.Add(textPage(QStringLiteral("{LastPageNumber}/{Nada}"), TRLRect(0, 0, 200, 30), mtaLeft));
    std::unique_ptr<TRLGraphicSurface> literal(textPage(QStringLiteral("3/{Nada}"), TRLRect(0, 0, 200, 30), mtaLeft));
    const QImage expanded = replay(*store.Pages(0));
    QVERIFY(!inkBox(expanded).isEmpty());
    QCOMPARE(expanded, replay(*literal));
}

// The replay keeps fonts, pens, brushes and measures from one object to the next and clips a text
// only when its ink leaves its box; on paper that must look exactly as drawing each object afresh,
// every clipped text clipped.
void TestRLMetaFileReplay::pageDrawnAsObjectByObject_data()
{
    QTest::addColumn<bool>("pdf");
    QTest::addColumn<int>("dpi");
    QTest::newRow("image, 96 dpi") << false << 96;
    QTest::newRow("image, 300 dpi") << false << 300;
    QTest::newRow("PDF, 96 dpi") << true << 96;
    QTest::newRow("PDF, 300 dpi") << true << 300;
}

void TestRLMetaFileReplay::pageDrawnAsObjectByObject()
{
    QFETCH(bool, pdf);
    QFETCH(int, dpi);
    TRLGraphicStorage store; // through the page format, as output gets its pages
    store.Add(representativePage());
    const TRLGraphicSurface &page = *store.Pages(0);
    QImage replayed, reference;
    if (pdf) {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm is not installed");
        QTemporaryDir folder;
        replayed = renderedPdf(page, dpi, false, folder.path());
        reference = renderedPdf(page, dpi, true, folder.path());
    } else {
        replayed = rendered(page, dpi / 96.0, false);
        reference = rendered(page, dpi / 96.0, true);
    }
    QVERIFY(!replayed.isNull());
    QVERIFY(inkBox(replayed).width() > replayed.width() / 2);
    QCOMPARE(replayed, reference);
}

void TestRLMetaFileReplay::overflowingInkStillClipped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("layout");
    QTest::addColumn<TRLRect>("box");
    QTest::addColumn<QFont>("font");
    QTest::newRow("right") << "Contribuinte" << int(mtaLeft) << int(mtlTop) << TRLRect(20, 20, 60, 40) << arial(10);
    QTest::newRow("left") << "Contribuinte" << int(mtaRight) << int(mtlTop) << TRLRect(100, 20, 140, 40) << arial(10);
    QTest::newRow("below") << "gjpq" << int(mtaLeft) << int(mtlTop) << TRLRect(20, 20, 100, 31) << arial(10);
    QTest::newRow("above") << "Ágil" << int(mtaLeft) << int(mtlBottom) << TRLRect(20, 20, 100, 30) << arial(10);
    QTest::newRow("italic overhang") << "Elf" << int(mtaRight) << int(mtlTop) << TRLRect(20, 20, 44, 50)
                                     << arial(16, false, true);
    QTest::newRow("underline") << "xxxx" << int(mtaLeft) << int(mtlTop) << TRLRect(20, 20, 100, 33)
                               << arial(10, false, false, true);
    QTest::newRow("one pixel box") << "x" << int(mtaLeft) << int(mtlTop) << TRLRect(20, 20, 20, 20) << arial(10);
}

void TestRLMetaFileReplay::overflowingInkStillClipped()
{
    QFETCH(QString, text);
    QFETCH(int, alignment);
    QFETCH(int, layout);
    QFETCH(TRLRect, box);
    QFETCH(QFont, font);
    TRLGraphicSurface clipped, unclipped;
    addText(clipped, box, text, font, quint8(alignment), quint8(layout));
    addText(unclipped, box, text, font, quint8(alignment), quint8(layout), MetaTextFlagUnclipped);
    const QImage image = replay(clipped);
    // Drawn freely the text leaves its box, so the case is real.
    QVERIFY(!box.ToQRect().contains(inkBox(replay(unclipped))));
    QRect allowed = box.ToQRect();
    if (allowed.isEmpty())
        allowed.setSize(QSize(qMax(1, allowed.width()), qMax(1, allowed.height())));
    QVERIFY(allowed.contains(inkBox(image)) || inkBox(image).isEmpty());
    QCOMPARE(image, rendered(clipped, 1, true));
}

// A box edge moved pixel by pixel across the text's ink: wherever ink would leave the box, the
// replay clips it as drawing each text under its own clip does; wherever none would, not clipping
// changes nothing either.
void TestRLMetaFileReplay::boxEdgeCrossingTheInk_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QFont>("font");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("edge"); // 0 right, 1 left, 2 top, 3 bottom
    QTest::newRow("italic tail on the right") << "Elf" << arial(16, false, true) << int(mtaLeft) << int(mtlTop) << 0;
    QTest::newRow("right-aligned amount, left edge") << "1.234,56" << arial(12) << int(mtaRight) << int(mtlTop) << 1;
    QTest::newRow("leading J, left edge") << "Joaquim" << arial(14, false, true) << int(mtaRight) << int(mtlTop) << 1;
    QTest::newRow("accent above") << QString::fromUtf8("Ágil Ã") << arial(12) << int(mtaLeft) << int(mtlBottom) << 2;
    QTest::newRow("descenders below") << "gjpq" << arial(12) << int(mtaLeft) << int(mtlTop) << 3;
}

void TestRLMetaFileReplay::boxEdgeCrossingTheInk()
{
    QFETCH(QString, text);
    QFETCH(QFont, font);
    QFETCH(int, alignment);
    QFETCH(int, layout);
    QFETCH(int, edge);
    // At 300 dpi: there the blank's half before a right-aligned text leaves room for the margin
    // that judging ink by characters keeps.
    constexpr double f = 3.125;
    const auto page = [&](const TRLRect &box, quint16 options) {
        auto s = std::make_unique<TRLGraphicSurface>();
        s->SetWidth(300);
        s->SetHeight(120);
        addText(*s, box, text, font, quint8(alignment), quint8(layout), options);
        return s;
    };
    const TRLRect roomy(40, 40, 240, 100);
    const QRect ink = inkBox(rendered(*page(roomy, MetaTextFlagUnclipped), f, false));
    QVERIFY(!ink.isEmpty());
    for (int d = -3; d <= 3; ++d) {
        TRLRect box = roomy;
        // Each row moves an edge that does not place the text.
        switch (edge) {
        case 0: box.Right = int(std::ceil((ink.right() + 1) / f)) + d; break;
        case 1: box.Left = int(std::floor(ink.left() / f)) + d; break;
        case 2: box.Top = int(std::floor(ink.top() / f)) + d; break;
        default: box.Bottom = int(std::ceil((ink.bottom() + 1) / f)) + d; break;
        }
        const std::unique_ptr<TRLGraphicSurface> clipped = page(box, MetaTextFlagKeepWhole);
        // A thread of its own has measured nothing: the text's ink is judged from its characters.
        QImage fresh;
        std::thread([&] { fresh = rendered(*clipped, f, false); }).join();
        QVERIFY2(fresh == rendered(*clipped, f, true), qPrintable(QStringLiteral("edge moved by %1").arg(d)));
    }
}

// A text drawn once, then again on a later page: in another box, alignment, clipping or background,
// or at another resolution.
struct TextDrawing
{
    TRLRect box;
    int alignment;
    quint16 options;
    bool background;
    double factor;
};
Q_DECLARE_METATYPE(TextDrawing)

void TestRLMetaFileReplay::measuresOfEarlierPagesChangeNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextDrawing>("earlier");
    QTest::addColumn<TextDrawing>("later");
    constexpr quint16 clip = MetaTextFlagKeepWhole;
    constexpr quint16 free = MetaTextFlagUnclipped | MetaTextFlagKeepWhole;
    const QString name = QStringLiteral("Contribuinte");
    const QString memo = QStringLiteral("Pagamento de tributo em São Paulo");
    QTest::newRow("fits, then overflows") << name << TextDrawing{{20, 20, 150, 40}, mtaLeft, clip, false, 1}
                                          << TextDrawing{{20, 20, 60, 40}, mtaLeft, clip, false, 1};
    QTest::newRow("overflows, then fits") << name << TextDrawing{{100, 20, 140, 40}, mtaRight, clip, false, 1}
                                          << TextDrawing{{20, 20, 190, 40}, mtaRight, clip, false, 1};
    QTest::newRow("96, then 300 dpi") << name << TextDrawing{{20, 20, 120, 40}, mtaCenter, clip, false, 1}
                                      << TextDrawing{{20, 20, 120, 40}, mtaCenter, clip, false, 300 / 96.0};
    QTest::newRow("300, then 96 dpi") << name << TextDrawing{{20, 20, 64, 40}, mtaRight, clip, false, 300 / 96.0}
                                      << TextDrawing{{20, 20, 64, 40}, mtaRight, clip, false, 1};
    QTest::newRow("justified to another width") << memo << TextDrawing{{10, 20, 190, 36}, mtaJustify, free, false, 1}
                                                << TextDrawing{{10, 20, 150, 36}, mtaJustify, clip, false, 1};
    QTest::newRow("background, unclipped") << memo << TextDrawing{{10, 20, 190, 36}, mtaLeft, clip, false, 1}
                                           << TextDrawing{{10, 50, 60, 66}, mtaLeft, free, true, 1};
}

void TestRLMetaFileReplay::measuresOfEarlierPagesChangeNothing()
{
    QFETCH(QString, text);
    QFETCH(TextDrawing, earlier);
    QFETCH(TextDrawing, later);
    const auto page = [&](const TextDrawing &d) {
        auto s = std::make_unique<TRLGraphicSurface>();
        s->SetWidth(200);
        s->SetHeight(120);
        addText(*s, d.box, text, arial(10), quint8(d.alignment), mtlTop, d.options, Qt::black,
                d.background ? QBrush(Qt::yellow) : QBrush(Qt::NoBrush));
        return s;
    };
    const std::unique_ptr<TRLGraphicSurface> first = page(earlier), second = page(later);
    rendered(*first, earlier.factor, false);
    const QImage replayed = rendered(*second, later.factor, false);
    // A thread of its own has measured nothing yet.
    QImage fresh, reference;
    std::thread([&] {
        fresh = rendered(*second, later.factor, false);
        reference = rendered(*second, later.factor, true);
    }).join();
    QVERIFY(!inkBox(replayed).isEmpty());
    QCOMPARE(replayed, fresh);
    QCOMPARE(replayed, reference);
    if (!(later.options & MetaTextFlagUnclipped) && later.factor == 1)
        QVERIFY(later.box.ToQRect().contains(inkBox(replayed)));
}

void TestRLMetaFileReplay::hostileValuesStayBounded()
{
    // Values a damaged page file can hold: every replay must end, quickly, without overflow.
    TRLGraphicSurface s;
    auto *line = new TRLLineObject(&s);
    line->FromPoint = QPoint(INT_MIN, INT_MIN);
    line->ToPoint = QPoint(INT_MAX, INT_MAX);
    line->Pen = TRLMetaPen{TRLMetaColor{}, mpmXor, mpsDot, 2};
    line->Brush.Style = mbsClear;
    auto *wide = new TRLLineObject(&s);
    wide->FromPoint = QPoint(0, 60);
    wide->ToPoint = QPoint(INT_MAX, 60);
    wide->Pen = TRLMetaPen{TRLMetaColor{}, mpmCopy, mpsDashDotDot, INT_MAX};
    auto *text = new TRLTextObject(&s);
    text->BoundsRect = TRLRect(0, 0, INT_MAX, INT_MAX);
    text->Alignment = mtaJustify;
    text->Text = QStringLiteral("a b c d e f g");
    text->Font.Size = INT_MAX;
    text->Font.PixelsPerInch = INT_MIN;
    auto *centred = new TRLTextObject(&s);
    centred->BoundsRect = TRLRect(INT_MAX - 1, INT_MIN, INT_MAX, INT_MAX);
    centred->Alignment = mtaCenter;
    centred->Layout = mtlCenter;
    centred->Text = QStringLiteral("x");
    auto *image = new TRLImageObject(&s);
    QImage picture(1, 1, QImage::Format_RGB32);
    picture.fill(Qt::black);
    image->Data = TRLImageObject::PictureData(picture);
    image->BoundsRect = TRLRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    image->WholeWidths = true;
    auto *polygon = new TRLPolygonObject(&s);
    polygon->Points = {QPoint(INT_MIN, 0), QPoint(INT_MAX, 0), QPoint(0, INT_MAX)};
    polygon->Pen.Width = -5;
    (new TRLSetClipRectObject(&s))->BoundsRect = TRLRect(INT_MIN, INT_MIN, 100, 100);
    for (int i = 0; i < 3; ++i)
        (new TRLResetClipRectObject(&s))->BoundsRect = TRLRect(INT_MIN, 0, INT_MAX, 0);

    QImage result = replay(s);
    QCOMPARE(result.pixel(100, 100), black); // the picture covers everything
    result = replay(s, INT_MAX, INT_MIN, 1e300, -1e300);
    result = replay(s, 0, 0, std::numeric_limits<double>::quiet_NaN(), 0);
    QVERIFY(!result.isNull());
}

QTEST_MAIN(TestRLMetaFileReplay)
#include "tst_rlmetafilereplay.moc"
