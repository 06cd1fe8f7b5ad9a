// Benchmark of the page metafile: records a slip-like A4 page N times into a page store, reads every
// page back, and replays each onto a 600 dpi PDF, against the limit below.
//
//   bench_metafile [pages=100] [output folder=system temp] [--runs=R] [--only=replay|straight]
//                  [--compare]
//
// The limit is the same page drawn straight with QPainter onto the same kind of PDF page
// (QPdfWriter, A4, 600 dpi, no margins), with the calls a program that draws the page itself makes:
// fillRect for fills and one-pixel frames, drawRect and drawPolygon with the page's pens and
// brushes, drawImage for the picture, and for each text setFont, setPen and drawText at the point
// where the replay starts it. A text is clipped (save, setClipRect, restore) only when its ink
// overflows its box, that is when QFontMetrics::boundingRect of the text placed at that point
// (with its underline, if any), one device pixel wider on the left and on the right for rounding,
// does not lie inside the box. (That rectangle holds the glyphs' ink and the text's line of
// ascent and descent.) What such a program knows before it draws (positions, justified strings,
// which texts overflow) is worked out once, before timing; its fonts are made for every page.
//
// The replay and the limit run R times (default 5) in turns, each time onto a fresh PDF of all the
// pages; the medians of the milliseconds per page and of the ratios are printed with the PDF sizes.
// --only runs one of the two (for callgrind: instructions are counted only while it draws);
// --compare writes the first page both ways into the output folder as PDF and, through pdftoppm,
// as PNG at 96 and 300 dpi, and counts the pixels that differ.

#include "PdfBench.h"

#include "report/page/RLMetaFile.h"
#include "report/page/RLRowSpacing.h"
#include "report/page/RLTextMeasure.h"

#include <QGuiApplication>

namespace {

constexpr int pageWidth = 794;
constexpr int pageHeight = 1123;
const QColor ink(0, 0, 128);
const QColor shade(230, 230, 250);
const QColor gold(250, 210, 0);

struct FontSpec
{
    int pointSize;
    bool bold;
    bool underline;
};
const FontSpec fontSpecs[] = {{7, false, false}, {9, true, false}, {8, false, true}};

QFont makeFont(const FontSpec &spec)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(spec.pointSize);
    font.setBold(spec.bold);
    font.setUnderline(spec.underline);
    return font;
}

// One drawing call of the page, in report pixels.
struct Item
{
    enum Kind { Fill, Border, Frame, Shape, Text, Picture } kind;
    TRLRect rect;
    QString text = {};
    quint8 alignment = mtaLeft;
    quint16 options = MetaTextFlagKeepWhole; // clipped to the box
    int font = 0;
    QVector<QPoint> points = {};
};

constexpr quint16 unclipped = MetaTextFlagUnclipped | MetaTextFlagKeepWhole;

QImage crest()
{
    QImage picture(48, 48, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setBrush(ink);
    painter.drawEllipse(4, 4, 40, 40);
    painter.setBrush(Qt::yellow);
    painter.drawRect(18, 10, 12, 28);
    return picture;
}

// Two copies of a slip: crest, titles, a column of shaded fields with captions and right-aligned
// amounts, a framed memo of justified rows, a name too long for its box, a mark and a cut line.
std::vector<Item> slipPage()
{
    std::vector<Item> items;
    for (int copy = 0; copy < 2; ++copy) {
        const int top = 40 + copy * 540;
        items.push_back({Item::Picture, TRLRect(40, top, 88, top + 48)});
        items.push_back({Item::Text, TRLRect(100, top, 420, top + 20), QStringLiteral("MINISTÉRIO DA FAZENDA"),
                         mtaLeft, unclipped, 1});
        items.push_back({Item::Text, TRLRect(100, top + 22, 436, top + 42),
                         QStringLiteral("Documento de Arrecadação de Receitas Federais"), mtaCenter,
                         MetaTextFlagKeepWhole, 1});
        items.push_back({Item::Text, TRLRect(440, top, 754, top + 20), QStringLiteral("1ª VIA — CONTRIBUINTE"), mtaCenter,
                         MetaTextFlagKeepWhole, 2});
        items.push_back({Item::Shape, TRLRect(), QString(), mtaLeft, 0, 0,
                         {QPoint(740, top + 24), QPoint(750, top + 34), QPoint(740, top + 44), QPoint(730, top + 34)}});
        for (int row = 0; row < 12; ++row) {
            const int y = top + 60 + row * 36;
            items.push_back({Item::Fill, TRLRect(440, y, 754, y + 36)});
            items.push_back({Item::Border, TRLRect(440, y, 754, y + 1)});
            items.push_back({Item::Border, TRLRect(440, y, 441, y + 36)});
            const QString caption = row == 11 ? QStringLiteral("%1 CÓDIGO DA RECEITA — OBSERVAÇÕES DO CONTRIBUINTE")
                                              : QStringLiteral("%1 CÓDIGO DA RECEITA");
            items.push_back({Item::Text, TRLRect(444, y + 2, 600, y + 16),
                             caption.arg(row + 2, 2, 10, QLatin1Char('0'))});
            items.push_back({Item::Text, TRLRect(600, y + 16, 750, y + 34), QStringLiteral("1.234.567,%1").arg(row + 10),
                             mtaRight, MetaTextFlagKeepWhole, 1});
        }
        items.push_back({Item::Frame, TRLRect(40, top + 60, 430, top + 492)});
        for (int line = 0; line < 8; ++line)
            items.push_back({Item::Text, TRLRect(44, top + 70 + line * 18, 426, top + 86 + line * 18),
                             QStringLiteral("Pagamento de contribuição — São Paulo, Nº %1 (texto justificado)").arg(line),
                             line < 7 ? mtaJustify : mtaLeft, unclipped});
        items.push_back({Item::Text, TRLRect(44, top + 230, 300, top + 248),
                         QStringLiteral("EMPRESA DE DEMONSTRAÇÃO DE TRIBUTOS E CONTRIBUIÇÕES LTDA"), mtaLeft,
                         MetaTextFlagKeepWhole, 1});
        items.push_back({Item::Border, TRLRect(40, top + 510, 754, top + 511)});
    }
    return items;
}

QPen framePen()
{
    return QPen(ink, 1);
}

void recordPage(TRLGraphicSurface &s, const std::vector<Item> &items, const QImage &picture)
{
    s.SetWidth(pageWidth);
    s.SetHeight(pageHeight);
    s.SetOrientation(1);
    s.SetPaperWidth(210);
    s.SetPaperHeight(297);
    for (const Item &item : items) {
        switch (item.kind) {
        case Item::Fill:
            s.SetBrush(QBrush(shade));
            s.FillRect(item.rect);
            break;
        case Item::Border:
            s.SetPen(framePen());
            s.SetBrush(QBrush(ink));
            s.Rectangle(item.rect);
            break;
        case Item::Frame:
            s.SetPen(framePen());
            s.SetBrush(Qt::NoBrush);
            s.Rectangle(item.rect);
            break;
        case Item::Shape:
            s.SetPen(framePen());
            s.SetBrush(QBrush(gold));
            s.Polygon(item.points);
            break;
        case Item::Text:
            s.SetFont(makeFont(fontSpecs[item.font]));
            s.SetFontColor(ink);
            s.SetBrush(Qt::NoBrush);
            s.TextRect(item.rect, item.rect.Left, item.rect.Top, item.text, item.alignment, mtlTop, item.options);
            break;
        case Item::Picture:
            s.StretchDraw(item.rect, picture);
            break;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The limit: the page as a list of ready painter calls.

struct StraightCall
{
    Item::Kind kind = Item::Fill;
    QRect rect;
    int font = 0;
    QPoint at;
    QString text;
    bool clip = false;
    QPolygon polygon;
    QPainterPath cells;          // the frame pen's cells, filled in its colour
    std::vector<QLineF> sloping; // its sloping edges, along the middle of their cells
    qreal wordSpacing = 0;       // a text spread or narrowed to its box
    qreal condense = 1;          // and squeezed as a whole
    QPointF spreadAt;
};

std::vector<StraightCall> planStraight(const std::vector<Item> &items, QPaintDevice *device, const Mapping &map)
{
    std::vector<StraightCall> calls;
    for (const Item &item : items) {
        StraightCall call;
        call.kind = item.kind;
        call.rect = map.rect(item.rect);
        if (item.kind == Item::Shape)
            for (const QPoint &p : item.points)
                call.polygon << QPoint(map.x(p.x()), map.y(p.y()));
        if (item.kind == Item::Shape || item.kind == Item::Frame || item.kind == Item::Border) {
            const TRLRect &r = item.rect;
            const QPolygon sides({QPoint(r.Left, r.Top), QPoint(std::max(r.Left, r.Right - 1), r.Top),
                                  QPoint(std::max(r.Left, r.Right - 1), std::max(r.Top, r.Bottom - 1)),
                                  QPoint(r.Left, std::max(r.Top, r.Bottom - 1))});
            TRLPenStroke stroke(TRLDeviceMap{0, 0, map.fx, map.fy}, 1, RLMeta::scaledPenWidth(1, map.fx), mpsSolid,
                                QRect(-(1 << 24), -(1 << 24), 1 << 25, 1 << 25));
            stroke.AddPolygon(item.kind == Item::Shape ? QPolygon(item.points) : sides, true);
            call.cells = stroke.Cells();
            call.sloping = stroke.Sloping();
        }
        if (item.kind == Item::Text) {
            const QFont font(makeFont(fontSpecs[item.font]), device);
            const QFontMetrics m(font, device);
            const int blank = m.horizontalAdvance(QLatin1Char(' '));
            const int width = m.horizontalAdvance(item.text + QLatin1Char(' '));
            const QRect &box = call.rect;
            const int right = box.x() + box.width();
            int x = blank / 2 + map.x(item.rect.Left);
            if (item.alignment == mtaRight)
                x = blank / 2 + right - width;
            else if (item.alignment == mtaCenter)
                x = blank / 2 + (box.x() + right - width) / 2;
            const int baseline = map.y(item.rect.Top) + m.ascent();
            call.font = item.font;
            call.at = QPoint(x, baseline);
            call.text = item.text;
            // Justified rows end at the box's edge, left-aligned ones never cross it.
            const bool crossing = item.alignment == mtaLeft && x + m.horizontalAdvance(item.text) + 1 > right;
            TRLRowSpacing spacing;
            if (item.alignment == mtaJustify || crossing)
                spacing = RLSpaceRow(item.text, *TRLTextMeasure::For(font, device), x, right, item.alignment == mtaJustify);
            if (spacing.Spread()) {
                call.text = spacing.Text;
                call.wordSpacing = spacing.WordSpacing;
                call.condense = spacing.Condense;
                call.spreadAt = QPointF(spacing.Start, baseline);
            }
            call.clip = !(item.options & MetaTextFlagUnclipped)
                && (spacing.Spread() || inkOverflows(font, m, call.text, call.at, box));
        }
        calls.push_back(call);
    }
    return calls;
}

void paintStraight(QPainter &painter, const std::vector<StraightCall> &calls, const QImage &picture, double fx)
{
    std::vector<QFont> fonts;
    for (const FontSpec &spec : fontSpecs)
        fonts.push_back(makeFont(spec));
    const int penWidth = RLMeta::scaledPenWidth(1, fx);
    for (const StraightCall &call : calls) {
        switch (call.kind) {
        case Item::Fill:
            painter.fillRect(call.rect, shade);
            break;
        case Item::Border:
        case Item::Frame:
        case Item::Shape:
            // A pen covers the device area of its pixel cells.
            if (call.kind == Item::Border) {
                painter.fillRect(call.rect, ink);
            } else if (call.kind == Item::Shape) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(gold);
                painter.drawPolygon(call.polygon);
            }
            painter.fillPath(call.cells, ink);
            if (!call.sloping.empty()) {
                painter.setPen(QPen(ink, penWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
                for (const QLineF &line : call.sloping)
                    painter.drawLine(line);
            }
            break;
        case Item::Text:
            if (call.clip) {
                painter.save();
                painter.setClipRect(call.rect);
            }
            painter.setPen(ink);
            if (call.wordSpacing != 0 || call.condense != 1) {
                QFont spaced = fonts[size_t(call.font)];
                spaced.setWordSpacing(call.wordSpacing);
                painter.setFont(spaced);
                if (call.condense != 1) {
                    const QTransform before = painter.worldTransform();
                    painter.translate(call.spreadAt);
                    painter.scale(call.condense, 1);
                    painter.drawText(QPointF(0, 0), call.text);
                    painter.setWorldTransform(before);
                } else {
                    painter.drawText(call.spreadAt, call.text);
                }
            } else {
                painter.setFont(fonts[size_t(call.font)]);
                painter.drawText(call.at, call.text);
            }
            if (call.clip)
                painter.restore();
            break;
        case Item::Picture:
            painter.drawImage(call.rect, picture);
            break;
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // figures with a decimal point, whatever the language
    const BenchOptions o = parseOptions(app.arguments().mid(1));
    const int pages = o.pages;
    if (pages <= 0 || o.runs <= 0)
        return 1;
    const std::vector<Item> items = slipPage();
    const QImage picture = crest();
    std::printf("%d pages of %zu drawing calls each\n", pages, items.size());

    TRLGraphicStorage store;
    QElapsedTimer timer;
    qint64 recordNs = 0;
    qint64 addNs = 0;
    for (int n = 0; n < pages; ++n) {
        timer.start();
        auto *surface = new TRLGraphicSurface;
        recordPage(*surface, items, picture);
        recordNs += timer.nsecsElapsed();
        timer.start();
        store.Add(surface);
        addNs += timer.nsecsElapsed();
    }
    reportPhase("record", pages, recordNs);
    reportPhase("write to the store", pages, addNs);
    const qint64 fileSize = QFileInfo(store.FileName()).size();
    std::printf("page file: %lld bytes, %lld bytes/page, %d objects/page\n", fileSize, fileSize / pages,
                store.Pages(pages - 1)->ObjectCount());

    timer.start();
    int objects = 0;
    for (int n = 0; n < pages; ++n)
        objects += store.Pages(n)->ObjectCount();
    reportPhase("read back from the store", pages, timer.nsecsElapsed());
    if (objects != pages * store.Pages(0)->ObjectCount())
        return 2;

    const QPageSize a4(QPageSize::A4);
    const Mapping map = pdfMapping(a4, pageWidth, pageHeight);
    std::vector<StraightCall> calls;
    {
        const std::unique_ptr<QPdfWriter> device = newPdf(QDir(o.out).filePath(QStringLiteral("bench_plan.pdf")));
        calls = planStraight(items, device.get(), map);
    }
    QFile::remove(QDir(o.out).filePath(QStringLiteral("bench_plan.pdf")));
    const auto clipped = std::count_if(calls.begin(), calls.end(), [](const StraightCall &c) { return c.clip; });
    std::printf("limit: %lld of the texts overflow their box and are clipped\n", static_cast<long long>(clipped));

    const PagePainter replay = [&](QPainter &painter, int n) {
        QElapsedTimer fetch;
        fetch.start();
        TRLGraphicSurface *page = store.Pages(n);
        const qint64 fetchNs = fetch.nsecsElapsed();
        page->PaintTo(&painter, 0, 0, map.fx, map.fy);
        return fetchNs;
    };
    const PagePainter straight = [&](QPainter &painter, int) {
        paintStraight(painter, calls, picture, map.fx);
        return qint64(0);
    };

    if (o.compare)
        return compareFirstPage(o, QStringLiteral("bench"), a4, replay, straight) == 0 ? 0 : 3;
    inTurns(o, QStringLiteral("bench"), a4, replay, straight);
    std::printf("peak RSS %ld kB\n", peakKb());
    return 0;
}
