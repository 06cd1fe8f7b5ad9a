#pragma once
// What the replay benchmarks share: the PDF page both drawings go onto, the clock around drawing
// every page, replay and limit in turns with their medians, the straight drawing's text rules
// (placement, justification, the ink test that decides its clips) and the pixel comparison.

#include "report/base/RLUtils.h"
#include "report/page/RLMetaFileMath.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#endif

namespace {

struct BenchOptions
{
    int pages = 100;
    QString out = QDir::tempPath();
    int runs = 5;
    QString only;     // "replay" or "straight": the other is not drawn
    bool compare = false;
    QStringList rest; // options the caller reads itself
};

// [pages] [output folder] [--runs=R] [--only=replay|straight] [--compare], others kept in rest.
inline BenchOptions parseOptions(const QStringList &arguments)
{
    BenchOptions o;
    QStringList positional;
    for (const QString &arg : arguments) {
        if (arg.startsWith(QLatin1String("--runs=")))
            o.runs = arg.mid(7).toInt();
        else if (arg.startsWith(QLatin1String("--only=")))
            o.only = arg.mid(7);
        else if (arg == QLatin1String("--compare"))
            o.compare = true;
        else if (arg.startsWith(QLatin1String("--")))
            o.rest << arg;
        else
            positional << arg;
    }
    if (positional.size() > 0)
        o.pages = positional[0].toInt();
    if (positional.size() > 1)
        o.out = positional[1];
    return o;
}

inline long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

inline void reportPhase(const char *phase, int pages, qint64 ns)
{
    std::printf("%-34s %10.0f pages/s  (%8.3f ms/page)  peak RSS %ld kB\n", phase, pages / (ns / 1e9),
                ns / 1e6 / pages, peakKb());
    std::fflush(stdout);
}

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// 600 dpi, no margins: the sheet as a printer's PDF queue gets it.
inline std::unique_ptr<QPdfWriter> newPdf(const QString &fileName, const QPageSize &size = QPageSize(QPageSize::A4))
{
    auto pdf = std::make_unique<QPdfWriter>(fileName);
    pdf->setPageSize(size);
    pdf->setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf->setResolution(600);
    return pdf;
}

// Report pixels to device pixels, rounded as the replay rounds them.
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

// The factors that take a page of the given size in report pixels onto the PDF's page.
inline Mapping pdfMapping(const QPageSize &size, int pageWidth, int pageHeight)
{
    const std::unique_ptr<QPdfWriter> pdf = newPdf(QDir::temp().filePath(QStringLiteral("bench_mapping.pdf")), size);
    return Mapping{double(pdf->width()) / pageWidth, double(pdf->height()) / pageHeight};
}

// Whether the ink of the text drawn at `at` (QFontMetrics::boundingRect, with its underline or
// strike-out line), one device pixel wider on each side for rounding, leaves the box.
inline bool inkOverflows(const QFont &font, const QFontMetrics &m, const QString &text, const QPoint &at,
                         const QRect &box)
{
    QRect ink = m.boundingRect(text);
    if (font.underline() || font.strikeOut())
        ink |= QRect(0, -m.ascent(), m.horizontalAdvance(text),
                     m.ascent() + std::max(m.descent(), m.underlinePos() + m.lineWidth()) + 1);
    if (ink.isEmpty())
        return false;
    return !box.contains(ink.translated(at).adjusted(-1, 0, 1, 0));
}

struct Drawn
{
    double msPerPage;
    qint64 pdfBytes;
};

// One page onto the painter; answers the nanoseconds that must not count (fetching from a store).
using PagePainter = std::function<qint64(QPainter &, int)>;

// All pages onto one PDF; the file is removed after its size is taken.
inline Drawn toPdf(const QString &fileName, const QPageSize &size, int pages, const PagePainter &paint)
{
    const std::unique_ptr<QPdfWriter> pdf = newPdf(fileName, size);
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
    const qint64 bytes = QFileInfo(fileName).size();
    QFile::remove(fileName);
    return {ns / 1e6 / pages, bytes};
}

struct TurnsResult
{
    double replayMs = 0;
    double limitMs = 0;
    double ratioOfRuns = 0; // median of the runs' ratios
    qint64 replayBytes = 0;
    qint64 limitBytes = 0;
};

// Replay and limit in turns, each time onto a fresh PDF of all the pages; prints every run and
// the medians. Turns alternate which goes first, so neither always runs on a warmer machine.
inline TurnsResult inTurns(const BenchOptions &o, const QString &stem, const QPageSize &size,
                           const PagePainter &replay, const PagePainter &straight)
{
    std::vector<double> replayMs, straightMs, ratios;
    TurnsResult result;
    const QString replayFile = QDir(o.out).filePath(stem + QStringLiteral("_replay_all.pdf"));
    const QString straightFile = QDir(o.out).filePath(stem + QStringLiteral("_straight_all.pdf"));
    for (int run = 0; run < o.runs; ++run) {
        Drawn r{0, 0}, s{0, 0};
        const bool replayFirst = run % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool doReplay = (turn == 0) == replayFirst;
            if (doReplay && o.only != QLatin1String("straight"))
                r = toPdf(replayFile, size, o.pages, replay);
            else if (!doReplay && o.only != QLatin1String("replay"))
                s = toPdf(straightFile, size, o.pages, straight);
        }
        replayMs.push_back(r.msPerPage);
        straightMs.push_back(s.msPerPage);
        result.replayBytes = r.pdfBytes;
        result.limitBytes = s.pdfBytes;
        if (s.msPerPage > 0)
            ratios.push_back(r.msPerPage / s.msPerPage);
        std::printf("run %d: replay %.3f ms/page, limit %.3f ms/page\n", run + 1, r.msPerPage, s.msPerPage);
        std::fflush(stdout);
    }
    result.replayMs = median(replayMs);
    result.limitMs = median(straightMs);
    result.ratioOfRuns = median(ratios);
    std::printf("median of %d runs: replay %.3f ms/page, limit %.3f ms/page\n", o.runs, result.replayMs,
                result.limitMs);
    if (!ratios.empty())
        std::printf("replay / limit: %.2f (median of the runs' ratios), %.2f (ratio of the medians)\n",
                    result.ratioOfRuns, result.replayMs / result.limitMs);
    std::printf("PDF of %d pages: replay %lld bytes, limit %lld bytes", o.pages, result.replayBytes,
                result.limitBytes);
    if (result.limitBytes > 0)
        std::printf(", ratio %.2f", double(result.replayBytes) / double(result.limitBytes));
    std::printf("\n");
    std::fflush(stdout);
    return result;
}

inline QImage rasterise(const QString &pdf, int dpi)
{
    const QString stem = pdf.chopped(4) + QStringLiteral("-%1").arg(dpi);
    QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                                   QStringLiteral("-singlefile"), pdf, stem});
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// -1 when either image is missing or the sizes differ.
inline qint64 differingPixels(const QImage &a, const QImage &b)
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

// The first page both ways as <stem>_replay.pdf and <stem>_straight.pdf in the output folder,
// rasterised at 96 and 300 dpi; prints the differing pixels and answers the larger count.
inline qint64 compareFirstPage(const BenchOptions &o, const QString &stem, const QPageSize &size,
                               const PagePainter &replay, const PagePainter &straight)
{
    const QString replayed = QDir(o.out).filePath(stem + QStringLiteral("_replay.pdf"));
    const QString direct = QDir(o.out).filePath(stem + QStringLiteral("_straight.pdf"));
    for (const auto &[name, paint] : {std::pair{replayed, &replay}, std::pair{direct, &straight}}) {
        const std::unique_ptr<QPdfWriter> pdf = newPdf(name, size);
        QPainter painter(pdf.get());
        (*paint)(painter, 0);
    }
    qint64 worst = 0;
    for (int dpi : {96, 300}) {
        const qint64 differing = differingPixels(rasterise(replayed, dpi), rasterise(direct, dpi));
        std::printf("pixels that differ at %d dpi: %lld\n", dpi, static_cast<long long>(differing));
        worst = differing < 0 || worst < 0 ? -1 : std::max(worst, differing);
    }
    std::printf("written: %s, %s and their PNGs\n", qPrintable(replayed), qPrintable(direct));
    std::fflush(stdout);
    return worst;
}

} // namespace
