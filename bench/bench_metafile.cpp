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

#include "report/RLUtils.h"
#include "report/output/RLMetaFile.h"
#include "report/output/RLMetaFileMath.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#endif

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
    Item::Kind kind;
    QRect rect;
    int font = 0;
    QPoint at;
    QString text;
    bool clip = false;
    QPolygon polygon;
};

struct Mapping
{
    double fx;
    double fy;
    int x(int v) const { return RLRound(static_cast<long double>(v) * fx); }
    int y(int v) const { return RLRound(static_cast<long double>(v) * fy); }
    QRect rect(const TRLRect &r) const
    {
        const int left = x(r.Left), top = y(r.Top);
        return QRect(left, top, std::max(1, x(r.Right) - left), std::max(1, y(r.Bottom) - top));
    }
};

// One more blank at a time into the gaps between words, from the last gap back to the first and
// round again, until the text and a blank no longer fit.
QString justify(QString text, const QFontMetrics &metrics, int available)
{
    QVector<int> gaps; // the index of the first letter after each run of blanks
    for (int i = 1; i < text.size(); ++i)
        if (text.at(i) != QLatin1Char(' ') && text.at(i - 1) == QLatin1Char(' ') && !text.left(i).trimmed().isEmpty())
            gaps.append(i);
    if (gaps.isEmpty())
        return text;
    for (int next = int(gaps.size()) - 1; metrics.horizontalAdvance(text + QLatin1Char(' ')) <= available;
         next = next > 0 ? next - 1 : int(gaps.size()) - 1) {
        text.insert(gaps[next], QLatin1Char(' '));
        for (int g = next; g < gaps.size(); ++g)
            ++gaps[g];
    }
    return text;
}

std::vector<StraightCall> planStraight(const std::vector<Item> &items, QPaintDevice *device, const Mapping &map)
{
    std::vector<StraightCall> calls;
    for (const Item &item : items) {
        StraightCall call{item.kind, map.rect(item.rect), 0, QPoint(), QString(), false, QPolygon()};
        if (item.kind == Item::Shape)
            for (const QPoint &p : item.points)
                call.polygon << QPoint(map.x(p.x()), map.y(p.y()));
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
            call.text = item.alignment == mtaJustify ? justify(item.text, m, right - x) : item.text;
            QRect inkBox = m.boundingRect(call.text);
            if (font.underline() || font.strikeOut())
                inkBox |= QRect(0, -m.ascent(), m.horizontalAdvance(call.text),
                                m.ascent() + std::max(m.descent(), m.underlinePos() + m.lineWidth()) + 1);
            inkBox = inkBox.translated(call.at).adjusted(-1, 0, 1, 0);
            call.clip = !(item.options & MetaTextFlagUnclipped) && !box.contains(inkBox);
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
            // A rectangle is outlined with the pen scaled like its coordinates; a rectangle one
            // device pixel wide or high is the pen's colour alone.
            if (call.rect.width() == 1 || call.rect.height() == 1) {
                painter.fillRect(call.rect, ink);
                break;
            }
            painter.setPen(QPen(ink, penWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter.setBrush(call.kind == Item::Border ? QBrush(ink) : QBrush(Qt::NoBrush));
            painter.drawRect(call.rect.adjusted(0, 0, -1, -1));
            break;
        case Item::Shape:
            painter.setPen(QPen(ink, penWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter.setBrush(gold);
            painter.drawPolygon(call.polygon);
            break;
        case Item::Text:
            if (call.clip) {
                painter.save();
                painter.setClipRect(call.rect);
            }
            painter.setFont(fonts[size_t(call.font)]);
            painter.setPen(ink);
            painter.drawText(call.at, call.text);
            if (call.clip)
                painter.restore();
            break;
        case Item::Picture:
            painter.drawImage(call.rect, picture);
            break;
        }
    }
}

// ---------------------------------------------------------------------------------------------

long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

void report(const char *phase, int pages, qint64 ns)
{
    std::printf("%-34s %10.0f pages/s  (%8.3f ms/page)  peak RSS %ld kB\n", phase, pages / (ns / 1e9),
                ns / 1e6 / pages, peakKb());
    std::fflush(stdout);
}

std::unique_ptr<QPdfWriter> newPdf(const QString &fileName)
{
    auto pdf = std::make_unique<QPdfWriter>(fileName);
    pdf->setPageSize(QPageSize(QPageSize::A4));
    pdf->setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf->setResolution(600);
    return pdf;
}

Mapping pdfMapping()
{
    const std::unique_ptr<QPdfWriter> pdf = newPdf(QDir::temp().filePath(QStringLiteral("bench_mapping.pdf")));
    return Mapping{double(pdf->width()) / pageWidth, double(pdf->height()) / pageHeight};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Drawn
{
    double msPerPage;
    qint64 pdfBytes;
};

// All pages onto one PDF; time spent fetching pages from the store does not count.
template <class Paint>
Drawn toPdf(const QString &fileName, int pages, Paint paint)
{
    const std::unique_ptr<QPdfWriter> pdf = newPdf(fileName);
    QElapsedTimer timer;
    timer.start();
    qint64 excluded = 0;
    {
        QPainter painter(pdf.get());
        CALLGRIND_TOGGLE_COLLECT;
        for (int n = 0; n < pages; ++n) {
            if (n > 0)
                pdf->newPage();
            excluded += paint(painter, n);
        }
        painter.end();
        CALLGRIND_TOGGLE_COLLECT;
    }
    const qint64 ns = timer.nsecsElapsed() - excluded;
    const qint64 size = QFileInfo(fileName).size();
    QFile::remove(fileName);
    return {ns / 1e6 / pages, size};
}

QImage rasterise(const QString &pdf, int dpi)
{
    const QString stem = pdf.chopped(4) + QStringLiteral("-%1").arg(dpi);
    QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                                   QStringLiteral("-singlefile"), pdf, stem});
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

qint64 differingPixels(const QImage &a, const QImage &b)
{
    if (a.isNull() || a.size() != b.size())
        return -1;
    qint64 count = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto *p = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *q = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            count += p[x] != q[x];
    }
    return count;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    QStringList positional;
    int runs = 5;
    QString only;
    bool compare = false;
    for (const QString &arg : app.arguments().mid(1)) {
        if (arg.startsWith(QLatin1String("--runs=")))
            runs = arg.mid(7).toInt();
        else if (arg.startsWith(QLatin1String("--only=")))
            only = arg.mid(7);
        else if (arg == QLatin1String("--compare"))
            compare = true;
        else
            positional << arg;
    }
    const int pages = positional.size() > 0 ? positional[0].toInt() : 100;
    const QString out = positional.size() > 1 ? positional[1] : QDir::tempPath();
    if (pages <= 0 || runs <= 0)
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
    report("record", pages, recordNs);
    report("write to the store", pages, addNs);
    const qint64 fileSize = QFileInfo(store.FileName()).size();
    std::printf("page file: %lld bytes, %lld bytes/page, %d objects/page\n", fileSize, fileSize / pages,
                store.Pages(pages - 1)->ObjectCount());

    timer.start();
    int objects = 0;
    for (int n = 0; n < pages; ++n)
        objects += store.Pages(n)->ObjectCount();
    report("read back from the store", pages, timer.nsecsElapsed());
    if (objects != pages * store.Pages(0)->ObjectCount())
        return 2;

    const Mapping map = pdfMapping();
    std::vector<StraightCall> calls;
    {
        const std::unique_ptr<QPdfWriter> device = newPdf(QDir(out).filePath(QStringLiteral("bench_plan.pdf")));
        calls = planStraight(items, device.get(), map);
    }
    QFile::remove(QDir(out).filePath(QStringLiteral("bench_plan.pdf")));
    const auto clipped = std::count_if(calls.begin(), calls.end(), [](const StraightCall &c) { return c.clip; });
    std::printf("limit: %lld of the texts overflow their box and are clipped\n", static_cast<long long>(clipped));

    const auto replay = [&](QPainter &painter, int n) {
        QElapsedTimer fetch;
        fetch.start();
        TRLGraphicSurface *page = store.Pages(n);
        const qint64 fetchNs = fetch.nsecsElapsed();
        page->PaintTo(&painter, 0, 0, map.fx, map.fy);
        return fetchNs;
    };
    const auto straight = [&](QPainter &painter, int) {
        paintStraight(painter, calls, picture, map.fx);
        return qint64(0);
    };

    if (compare) {
        const QString replayed = QDir(out).filePath(QStringLiteral("bench_replay.pdf"));
        const QString direct = QDir(out).filePath(QStringLiteral("bench_straight.pdf"));
        for (const auto &[name, one] : {std::pair{replayed, true}, std::pair{direct, false}}) {
            const std::unique_ptr<QPdfWriter> pdf = newPdf(name);
            QPainter painter(pdf.get());
            one ? (void)replay(painter, 0) : (void)straight(painter, 0);
        }
        for (int dpi : {96, 300})
            std::printf("pixels that differ at %d dpi: %lld\n", dpi,
                        static_cast<long long>(differingPixels(rasterise(replayed, dpi), rasterise(direct, dpi))));
        std::printf("written: %s, %s and their PNGs\n", qPrintable(replayed), qPrintable(direct));
        return 0;
    }

    std::vector<double> replayMs, straightMs, ratios;
    qint64 replayBytes = 0, straightBytes = 0;
    const QString replayFile = QDir(out).filePath(QStringLiteral("bench_replay_all.pdf"));
    const QString straightFile = QDir(out).filePath(QStringLiteral("bench_straight_all.pdf"));
    for (int run = 0; run < runs; ++run) {
        Drawn r{0, 0}, s{0, 0};
        // Turns alternate which goes first, so neither always runs on a warmer machine.
        const bool replayFirst = run % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool doReplay = (turn == 0) == replayFirst;
            if (doReplay && only != QLatin1String("straight"))
                r = toPdf(replayFile, pages, replay);
            else if (!doReplay && only != QLatin1String("replay"))
                s = toPdf(straightFile, pages, straight);
        }
        replayMs.push_back(r.msPerPage);
        straightMs.push_back(s.msPerPage);
        replayBytes = r.pdfBytes;
        straightBytes = s.pdfBytes;
        if (s.msPerPage > 0)
            ratios.push_back(r.msPerPage / s.msPerPage);
        std::printf("run %d: replay %.3f ms/page, limit %.3f ms/page\n", run + 1, r.msPerPage, s.msPerPage);
        std::fflush(stdout);
    }
    std::printf("median of %d runs: replay %.3f ms/page, limit %.3f ms/page\n", runs, median(replayMs),
                median(straightMs));
    if (!ratios.empty())
        std::printf("replay / limit: %.2f (median of the runs' ratios), %.2f (ratio of the medians)\n", median(ratios),
                    median(replayMs) / median(straightMs));
    std::printf("PDF of %d pages: replay %lld bytes, limit %lld bytes", pages, replayBytes, straightBytes);
    if (straightBytes > 0)
        std::printf(", ratio %.2f", double(replayBytes) / double(straightBytes));
    std::printf("\npeak RSS %ld kB\n", peakKb());
    return 0;
}
