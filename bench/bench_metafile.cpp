// Benchmark of the page metafile: records a slip-like page (about 130 rectangles and texts and one
// small picture) N times into a page store, reads every page back, replays each onto a PDF page,
// and, as the limit for the replay, draws the same page straight with QPainter onto a PDF.
//
//   bench_metafile [pages=100] [output folder=system temp]
//
// Prints pages per second for each phase, bytes per page in the page file and the peak resident
// memory after each phase.

#include "report/output/RLMetaFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextStream>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

// One drawing call of the page, in report pixels.
struct Item
{
    enum Kind { Fill, Frame, Text, Picture } kind;
    TRLRect rect;
    QString text;
    quint8 alignment = mtaLeft;
    bool bold = false;
    int pointSize = 7;
};

QImage crest()
{
    QImage picture(48, 48, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setBrush(QColor(0, 0, 128));
    painter.drawEllipse(4, 4, 40, 40);
    painter.setBrush(Qt::yellow);
    painter.drawRect(18, 10, 12, 28);
    return picture;
}

// Two copies of a slip on an A4 page: frames, captions, values.
std::vector<Item> slipPage()
{
    std::vector<Item> items;
    for (int copy = 0; copy < 2; ++copy) {
        const int top = 40 + copy * 540;
        items.push_back({Item::Picture, TRLRect(40, top, 88, top + 48), QString()});
        items.push_back({Item::Text, TRLRect(100, top, 420, top + 20), QStringLiteral("MINISTÉRIO DA FAZENDA"),
                         mtaLeft, true, 9});
        items.push_back({Item::Text, TRLRect(100, top + 20, 420, top + 40),
                         QStringLiteral("Documento de Arrecadação de Receitas Federais"), mtaLeft, true, 9});
        for (int row = 0; row < 12; ++row) {
            const int y = top + 60 + row * 36;
            items.push_back({Item::Fill, TRLRect(440, y, 754, y + 36), QString()});
            items.push_back({Item::Frame, TRLRect(440, y, 754, y + 1), QString()});
            items.push_back({Item::Frame, TRLRect(440, y, 441, y + 36), QString()});
            items.push_back({Item::Text, TRLRect(444, y + 2, 600, y + 14),
                             QStringLiteral("%1 CÓDIGO DA RECEITA").arg(row + 2, 2, 10, QLatin1Char('0'))});
            items.push_back({Item::Text, TRLRect(600, y + 16, 750, y + 34), QStringLiteral("1.234.567,%1").arg(row + 10),
                             mtaRight, true, 9});
        }
        items.push_back({Item::Frame, TRLRect(40, top + 60, 430, top + 492), QString()});
        for (int line = 0; line < 8; ++line)
            items.push_back({Item::Text, TRLRect(44, top + 70 + line * 18, 426, top + 86 + line * 18),
                             QStringLiteral("Pagamento de contribuição — São Paulo, Nº %1 (texto justificado)").arg(line),
                             mtaJustify});
        items.push_back({Item::Frame, TRLRect(40, top + 510, 754, top + 511), QString()});
    }
    return items;
}

QFont itemFont(const Item &item)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(item.pointSize);
    font.setBold(item.bold);
    return font;
}

void recordPage(TRLGraphicSurface &s, const std::vector<Item> &items, const QImage &picture)
{
    s.SetWidth(794);
    s.SetHeight(1123);
    s.SetOrientation(1);
    s.SetPaperWidth(210);
    s.SetPaperHeight(297);
    for (const Item &item : items) {
        switch (item.kind) {
        case Item::Fill:
            s.SetBrush(QBrush(QColor(230, 230, 250)));
            s.FillRect(item.rect);
            break;
        case Item::Frame:
            s.SetPen(QPen(QColor(0, 0, 128), 1));
            s.SetBrush(QBrush(QColor(0, 0, 128)));
            s.Rectangle(item.rect);
            break;
        case Item::Text:
            s.SetFont(itemFont(item));
            s.SetFontColor(QColor(0, 0, 128));
            s.SetBrush(Qt::NoBrush);
            s.TextRect(item.rect, item.rect.Left, item.rect.Top, item.text, item.alignment, mtlTop, 4);
            break;
        case Item::Picture:
            s.StretchDraw(item.rect, picture);
            break;
        }
    }
}

// The same page straight onto a painter: what a replay can at best approach.
void paintPage(QPainter &painter, const std::vector<Item> &items, const QImage &picture, double fx, double fy)
{
    const auto map = [&](const TRLRect &r) {
        return QRect(qRound(r.Left * fx), qRound(r.Top * fy), qMax(1, qRound(r.Width() * fx)),
                     qMax(1, qRound(r.Height() * fy)));
    };
    for (const Item &item : items) {
        switch (item.kind) {
        case Item::Fill:
            painter.fillRect(map(item.rect), QColor(230, 230, 250));
            break;
        case Item::Frame:
            painter.fillRect(map(item.rect), QColor(0, 0, 128));
            break;
        case Item::Text: {
            QFont font = itemFont(item);
            painter.setFont(font);
            painter.setPen(QColor(0, 0, 128));
            const int flags = item.alignment == mtaRight ? Qt::AlignRight : Qt::AlignLeft;
            painter.drawText(map(item.rect), flags | Qt::AlignTop, item.text);
            break;
        }
        case Item::Picture:
            painter.drawImage(map(item.rect), picture);
            break;
        }
    }
}

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

QPdfWriter *newPdf(const QString &fileName)
{
    auto *pdf = new QPdfWriter(fileName);
    pdf->setPageSize(QPageSize(QPageSize::A4));
    pdf->setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf->setResolution(600);
    return pdf;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    const int pages = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100;
    const QString out = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath();
    if (pages <= 0)
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

    // Each page onto a 600 dpi A4 PDF, by replaying the store and straight with QPainter.
    const auto toPdf = [&](const char *phase, const QString &name,
                           const std::function<void(QPainter &, int, double, double)> &paint) {
        const QString fileName = out + QLatin1Char('/') + name;
        std::unique_ptr<QPdfWriter> pdf(newPdf(fileName));
        QPainter painter(pdf.get());
        const double fx = painter.device()->width() / 794.0;
        const double fy = painter.device()->height() / 1123.0;
        timer.start();
        for (int n = 0; n < pages; ++n) {
            if (n > 0)
                pdf->newPage();
            paint(painter, n, fx, fy);
        }
        painter.end();
        report(phase, pages, timer.nsecsElapsed());
        std::printf("%s: %lld bytes of PDF\n", phase, QFileInfo(fileName).size());
        QFile::remove(fileName);
    };
    toPdf("read + replay onto PDF (600 dpi)", QStringLiteral("bench_replay.pdf"),
          [&](QPainter &painter, int n, double fx, double fy) { store.Pages(n)->PaintTo(&painter, 0, 0, fx, fy); });
    toPdf("straight QPainter onto PDF", QStringLiteral("bench_direct.pdf"),
          [&](QPainter &painter, int, double fx, double fy) { paintPage(painter, items, picture, fx, fy); });
    return 0;
}
