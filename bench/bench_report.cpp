// Benchmark of a data report: N records (default 10,000) prepared into the page store and printed
// through the engine's print path into the PDF the printer layer hands to the print service,
// against the limit below.
//
//   bench_report [records=10000] [--runs=R] [--only=report|straight] [--keep=folder]
//                [--memory=N] [--no-memory]
//
// The report: A4, margins of 10 mm, a page header (title, record count), a detail band of twenty
// labels in two rows over a framed rectangle, a footer with "Página N de {LastPageNumber}" (the
// page number from the report, the count put in by the store when the page is replayed). Records
// come from a table model that computes each field when asked (nothing is held per record),
// through the engine's item-model data set; every label reads its field by name in BeforePrint.
// The print service is a stand-in that takes the finished PDF without a CUPS scheduler.
//
// The limit is a program that draws the same pages straight with QPainter onto the same kind of
// PDF (QPdfWriter, A4, 600 dpi, no margins): for each page the header texts, then for each record
// its rectangle and twenty texts read from the same model, then the footer text, each text with
// setFont, setPen and drawText at its place. Positions are worked out once before timing; its
// fonts are made for every page.
//
// The two run R times (default 5) in turns, each time a fresh preparation and a fresh PDF; the
// medians of records/s, pages/s and of the ratio program/limit are printed with the PDF sizes.
// Peak memory (ru_maxrss) is measured in fresh processes of this program at 1,000 and at the
// given number of records: --memory=N runs one preparation and print of N records and prints only
// its peak; --no-memory skips it. --only runs one of the two (for callgrind: instructions are
// counted only while it runs); --keep copies both PDFs of the last run into a folder.

#include "PdfBench.h"

#include "report/RLReport.h"
#include "report/base/RLUtils.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPrintDialog.h"
#include "report/output/RLPrinters.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>


#include <algorithm>
#include <clocale>
#include <cstdio>
#include <memory>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#endif

namespace {

constexpr int fieldCount = 20;
constexpr int headerHeight = 30;
constexpr int detailHeight = 40;
constexpr int footerHeight = 24;
constexpr int labelWidth = 70;
constexpr int labelHeight = 16;
constexpr int labelGap = 71;
const int rowTops[] = {3, 21};

// Records computed on demand: nothing is stored per row.
class RecordModel : public QAbstractTableModel
{
public:
    explicit RecordModel(int rows) : m_rows(rows) {}
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : fieldCount; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return QStringLiteral("Campo%1").arg(section + 1, 2, 10, QLatin1Char('0'));
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return Field(index.row(), index.column());
    }

    static QString Field(int row, int column)
    {
        static const char *const cities[] = {"São Paulo", "Belém", "Maceió", "Goiânia", "Florianópolis", "Ribeirão"};
        const int n = row + 1;
        switch (column) {
        case 0: return QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0'));
        case 1: return QStringLiteral("Cliente %1").arg(n);
        case 2: return QString::fromUtf8(cities[n % 6]);
        case 3: return QStringLiteral("%1/%2/2026").arg(n % 28 + 1, 2, 10, QLatin1Char('0')).arg(n % 12 + 1, 2, 10, QLatin1Char('0'));
        default: {
            const qint64 cents = (qint64(n) * 7919 * (column + 3)) % 10000000;
            return QStringLiteral("%1,%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
        }
        }
    }

private:
    int m_rows;
};

QFont makeFont(int points, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

// A text of the page as both programs place it: a box in report pixels on the page.
struct LabelBox
{
    TRLRect box;
    TRLTextAlignment alignment;
    int font; // 0 detail, 1 title, 2 header and footer
};

QFont boxFont(int font)
{
    return font == 1 ? makeFont(12, true) : makeFont(font == 2 ? 9 : 7);
}

// The twenty labels of a record, relative to the detail band.
std::vector<LabelBox> detailTexts()
{
    std::vector<LabelBox> texts;
    for (int f = 0; f < fieldCount; ++f) {
        const int left = 4 + (f % 10) * labelGap;
        const int top = rowTops[f / 10];
        texts.push_back({TRLRect(left, top, left + labelWidth, top + labelHeight), f >= 4 ? taRightJustify : taLeftJustify, 0});
    }
    return texts;
}

class BenchPrinterService : public TRLPrinterService
{
public:
    QList<TRLPrinterQueue> Queues(QString *failure) override
    {
        if (failure)
            failure->clear();
        TRLPrinterQueue queue;
        queue.Name = QStringLiteral("ZavenorPDF");
        queue.Port = QStringLiteral("cups-pdf:/");
        queue.IsDefault = true;
        return {queue};
    }
    void CheckQueue(const QString &) override {}
    bool SupportsMedia(const QString &, const QString &, double, double) override { return true; }
    int Submit(const TRLPrintJob &job) override
    {
        lastBytes = QFileInfo(job.DocumentFile).size();
        if (!keepAs.isEmpty()) {
            QFile::remove(keepAs);
            QFile::copy(job.DocumentFile, keepAs);
        }
        return ++jobs;
    }

    qint64 lastBytes = 0;
    QString keepAs;
    int jobs = 0;
};

struct Bench
{
    QObject form;
    RecordModel model;
    TRLModelDataSet data{&model};
    TRLReport *report;
    TRLRect client;

    explicit Bench(int records) : model(records)
    {
        TRLFormLoader loading(&form);
        report = new TRLReport(&form);
        report->SetName(QStringLiteral("RLDesempenho"));
        report->SetTitle(QStringLiteral("Zavenor - desempenho"));
        report->SetPrintDialog(false);
        report->SetShowProgress(false);
        data.Open();
        report->SetDataSource(&data);

        TRLBand *header = band(btHeader, 0, headerHeight);
        label(header, TRLRect(4, 4, 400, 26), taLeftJustify, 1, QStringLiteral("Relatório de clientes"));
        label(header, TRLRect(500, 8, 714, 24), taRightJustify, 2, QStringLiteral("%L1 registros").arg(records));

        TRLBand *detail = band(btDetail, 100, detailHeight);
        auto *frame = new TRLDraw(&form);
        frame->SetParent(detail);
        frame->SetBounds(0, 1, 718, detailHeight - 2);
        frame->SetDrawKind(dkRectangle);
        frame->SetPen(QPen(QColor(0, 0, 128), 1));
        frame->SetBrush(QBrush(QColor(240, 244, 255)));
        const std::vector<LabelBox> texts = detailTexts();
        for (int f = 0; f < fieldCount; ++f) {
            TRLLabel *l = label(detail, texts[size_t(f)].box, texts[size_t(f)].alignment, 0, QString());
            const QString field = model.headerData(f, Qt::Horizontal, Qt::DisplayRole).toString();
            l->BeforePrint = [this, field](TRLCustomControl *, QString &text, bool &) {
                text = data.FieldValue(field).toString();
            };
        }

        TRLBand *footer = band(btFooter, 900, footerHeight);
        footer->SetAlign(faBottom);
        label(footer, TRLRect(4, 4, 300, 20), taLeftJustify, 2, QStringLiteral("Zavenor"));
        TRLLabel *number = label(footer, TRLRect(414, 4, 714, 20), taRightJustify, 2, QString());
        number->BeforePrint = [this](TRLCustomControl *, QString &text, bool &) {
            text = QStringLiteral("Página %1 de {LastPageNumber}").arg(report->PageNumber());
        };
    }

    void finishLoading() { client = report->ClientRect(); }

    TRLBand *band(TRLBandType type, int top, int height)
    {
        auto *b = new TRLBand(&form);
        b->SetParent(report);
        b->SetBandType(type);
        b->SetBounds(0, top, 718, height);
        return b;
    }

    TRLLabel *label(TRLCustomSite *site, const TRLRect &box, TRLTextAlignment alignment, int font, const QString &text)
    {
        auto *l = new TRLLabel(&form);
        l->SetParent(site);
        l->SetAutoSize(false);
        l->SetAlignment(alignment);
        l->SetFont(boxFont(font));
        l->SetBounds(box.Left, box.Top, box.Width(), box.Height());
        l->SetCaption(text);
        return l;
    }

    int recordsPerPage() const { return (client.Height() - headerHeight - footerHeight) / detailHeight; }
};

// ---------------------------------------------------------------------------------------------
// The limit.

struct StraightText
{
    int font;
    QPoint at; // device pixels, baseline
    int right; // right-aligned texts end here (their origin moves with the text)
    bool alignRight;
};

struct StraightPlan
{
    int records = 0;
    int perPage = 0;
    int pages = 0;
    QRect frame;                      // of the first record, device pixels
    std::vector<StraightText> header; // title, count
    std::vector<StraightText> detail; // relative to the first record's band
    StraightText footerLeft{};
    StraightText footerNumber{};
    QString countText;
    double fy = 1;
    int detailTop = 0; // report pixels of the first record's band
};

StraightText place(QPaintDevice *device, const Mapping &map, const LabelBox &label, int dx, int dy)
{
    const QFontMetrics m(QFont(boxFont(label.font), device), device);
    const int blank = m.horizontalAdvance(QLatin1Char(' '));
    const TRLRect box(label.box.Left + dx, label.box.Top + dy, label.box.Right + dx, label.box.Bottom + dy);
    return {label.font, QPoint(blank / 2 + map.x(box.Left), map.y(box.Top) + m.ascent()), blank / 2 + map.x(box.Right),
            label.alignment == taRightJustify};
}

StraightPlan planStraight(const Bench &bench, int records)
{
    StraightPlan plan;
    const QString probe = QDir::temp().filePath(QStringLiteral("bench_report_plan.pdf"));
    {
        const std::unique_ptr<QPdfWriter> pdf = newPdf(probe);
        const Mapping map{double(pdf->width()) / 794, double(pdf->height()) / 1123};
        const TRLRect &c = bench.client;
        plan.records = records;
        plan.perPage = bench.recordsPerPage();
        plan.pages = std::max(1, (records + plan.perPage - 1) / plan.perPage);
        plan.fy = map.fy;
        plan.header.push_back(place(pdf.get(), map, {TRLRect(4, 4, 400, 26), taLeftJustify, 1}, c.Left, c.Top));
        plan.header.push_back(place(pdf.get(), map, {TRLRect(500, 8, 714, 24), taRightJustify, 2}, c.Left, c.Top));
        plan.countText = QStringLiteral("%L1 registros").arg(records);
        plan.detailTop = c.Top + headerHeight;
        for (const LabelBox &box : detailTexts())
            plan.detail.push_back(place(pdf.get(), map, box, c.Left, 0));
        plan.frame = QRect(map.x(c.Left), 0, map.x(c.Left + 718) - map.x(c.Left), map.y(detailHeight - 2));
        const int footerTop = c.Bottom - footerHeight;
        plan.footerLeft = place(pdf.get(), map, {TRLRect(4, 4, 300, 20), taLeftJustify, 2}, c.Left, footerTop);
        plan.footerNumber = place(pdf.get(), map, {TRLRect(414, 4, 714, 20), taRightJustify, 2}, c.Left, footerTop);
    }
    QFile::remove(probe);
    return plan;
}

void drawText(QPainter &painter, const std::vector<QFont> &fonts, const StraightText &t, int dy, const QString &text)
{
    painter.setFont(fonts[size_t(t.font)]);
    painter.setPen(Qt::black);
    int x = t.at.x();
    if (t.alignRight)
        x = t.right - painter.fontMetrics().horizontalAdvance(text + QLatin1Char(' '));
    painter.drawText(x, t.at.y() + dy, text);
}

qint64 paintStraight(const QString &fileName, const StraightPlan &plan, const RecordModel &model)
{
    const std::unique_ptr<QPdfWriter> pdf = newPdf(fileName);
    QPainter painter(pdf.get());
    const QPen framePen(QColor(0, 0, 128), std::max(1, RLRound(static_cast<long double>(plan.fy))),
                        Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    const QBrush frameFill(QColor(240, 244, 255));
    const auto deviceY = [&](int y) { return RLRound(static_cast<long double>(y) * plan.fy); };
    int record = 0;
    for (int page = 0; page < plan.pages; ++page) {
        if (page > 0)
            pdf->newPage();
        const std::vector<QFont> fonts = {makeFont(7), makeFont(12, true), makeFont(9)};
        drawText(painter, fonts, plan.header[0], 0, QStringLiteral("Relatório de clientes"));
        drawText(painter, fonts, plan.header[1], 0, plan.countText);
        for (int n = 0; n < plan.perPage && record < plan.records; ++n, ++record) {
            const int top = plan.detailTop + n * detailHeight;
            painter.setPen(framePen);
            painter.setBrush(frameFill);
            painter.drawRect(plan.frame.translated(0, deviceY(top + 1)).adjusted(0, 0, -1, -1));
            const int dy = deviceY(top);
            for (int f = 0; f < fieldCount; ++f)
                drawText(painter, fonts, plan.detail[size_t(f)], dy, model.data(model.index(record, f), Qt::DisplayRole).toString());
        }
        drawText(painter, fonts, plan.footerLeft, 0, QStringLiteral("Zavenor"));
        drawText(painter, fonts, plan.footerNumber, 0, QStringLiteral("Página %1 de %2").arg(page + 1).arg(plan.pages));
    }
    painter.end();
    return QFileInfo(fileName).size();
}

// ---------------------------------------------------------------------------------------------

struct ProgramRun
{
    double prepareMs;
    double printMs;
    int pages;
};

ProgramRun runProgram(Bench &bench)
{
    QElapsedTimer clock;
    clock.start();
    if (!bench.report->Prepare())
        return {0, 0, 0};
    const double prepareMs = clock.nsecsElapsed() / 1e6;
    clock.start();
    bench.report->Print();
    return {prepareMs, clock.nsecsElapsed() / 1e6, bench.report->Pages()->PageCount()};
}

// Peak memory of one preparation and print of the given records, in a process of its own.
long measuredPeak(const QString &program, int records)
{
    QProcess child;
    child.start(program, {QStringLiteral("--memory=%1").arg(records)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return -1;
    return QString::fromLatin1(child.readAllStandardOutput()).section(QLatin1Char(' '), 0, 0).toLong();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // Widgets: the engine's print path may show its windows (not here: progress and dialog are off).
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // figures with a decimal point, whatever the language
    QStringList positional;
    int runs = 5;
    int memoryOnly = 0;
    bool measureMemory = true;
    QString only;
    QString keep;
    for (const QString &arg : app.arguments().mid(1)) {
        if (arg.startsWith(QLatin1String("--runs=")))
            runs = arg.mid(7).toInt();
        else if (arg.startsWith(QLatin1String("--only=")))
            only = arg.mid(7);
        else if (arg.startsWith(QLatin1String("--keep=")))
            keep = arg.mid(7);
        else if (arg.startsWith(QLatin1String("--memory=")))
            memoryOnly = arg.mid(9).toInt();
        else if (arg == QLatin1String("--no-memory"))
            measureMemory = false;
        else
            positional << arg;
    }
    const int records = memoryOnly > 0 ? memoryOnly : positional.size() > 0 ? positional[0].toInt() : 10000;
    if (records <= 0 || runs <= 0)
        return 1;

    auto owned = std::make_unique<BenchPrinterService>();
    BenchPrinterService *service = owned.get();
    SetRLPrinterService(std::move(owned));
    RLPrinter().SetPrinterIndex(0);

    Bench bench(records);
    bench.finishLoading();

    if (memoryOnly > 0) {
        const ProgramRun run = runProgram(bench);
        if (run.pages == 0 || service->jobs != 1)
            return 2;
        std::printf("%ld kB peak RSS, %d records, %d pages, PDF %lld bytes\n", peakKb(), records, run.pages,
                    service->lastBytes);
        return 0;
    }

    const StraightPlan plan = planStraight(bench, records);
    std::printf("%d records, %d per page, %d pages expected\n", records, plan.perPage, plan.pages);
    std::fflush(stdout);

    const QString straightFile = QDir::temp().filePath(QStringLiteral("bench_report_straight.pdf"));
    std::vector<double> prepareMs, printMs, programMs, straightMs, ratios;
    qint64 programBytes = 0, straightBytes = 0;
    int pages = 0;
    for (int run = 0; run < runs; ++run) {
        double program = 0, straight = 0;
        const bool last = run == runs - 1;
        if (last && !keep.isEmpty()) {
            QDir().mkpath(keep);
            service->keepAs = QDir(keep).filePath(QStringLiteral("bench_report_program.pdf"));
        }
        // Turns alternate which goes first, so neither always runs on a warmer machine.
        for (int turn = 0; turn < 2; ++turn) {
            const bool doProgram = (turn == 0) == (run % 2 == 0);
            if (doProgram && only != QLatin1String("straight")) {
                CALLGRIND_TOGGLE_COLLECT;
                const ProgramRun r = runProgram(bench);
                CALLGRIND_TOGGLE_COLLECT;
                if (r.pages == 0) {
                    std::fprintf(stderr, "the report was not prepared\n");
                    return 2;
                }
                prepareMs.push_back(r.prepareMs);
                printMs.push_back(r.printMs);
                program = r.prepareMs + r.printMs;
                pages = r.pages;
                programBytes = service->lastBytes;
            } else if (!doProgram && only != QLatin1String("report")) {
                QElapsedTimer clock;
                clock.start();
                CALLGRIND_TOGGLE_COLLECT;
                straightBytes = paintStraight(straightFile, plan, bench.model);
                CALLGRIND_TOGGLE_COLLECT;
                straight = clock.nsecsElapsed() / 1e6;
                if (last && !keep.isEmpty()) {
                    QFile::remove(QDir(keep).filePath(QStringLiteral("bench_report_straight.pdf")));
                    QFile::copy(straightFile, QDir(keep).filePath(QStringLiteral("bench_report_straight.pdf")));
                }
                QFile::remove(straightFile);
            }
        }
        programMs.push_back(program);
        straightMs.push_back(straight);
        if (program > 0 && straight > 0)
            ratios.push_back(program / straight);
        std::printf("run %d: program %.0f ms (prepare %.0f, print %.0f), limit %.0f ms\n", run + 1, program,
                    prepareMs.empty() ? 0.0 : prepareMs.back(), printMs.empty() ? 0.0 : printMs.back(), straight);
        std::fflush(stdout);
    }
    if (pages != 0 && pages != plan.pages)
        std::printf("warning: the report made %d pages, the limit %d\n", pages, plan.pages);
    const double p = median(programMs), s = median(straightMs);
    std::printf("median of %d runs:\n", runs);
    if (p > 0)
        std::printf("  program: %.0f ms (prepare %.0f, print %.0f), %.0f records/s, %.1f pages/s\n", p,
                    median(prepareMs), median(printMs), records / (p / 1e3), plan.pages / (p / 1e3));
    if (s > 0)
        std::printf("  limit:   %.0f ms, %.0f records/s, %.1f pages/s\n", s, records / (s / 1e3), plan.pages / (s / 1e3));
    if (!ratios.empty())
        std::printf("  program / limit: %.2f (median of the runs' ratios), %.2f (ratio of the medians)\n",
                    median(ratios), p / s);
    std::printf("PDF of %d pages: program %lld bytes, limit %lld bytes\n", plan.pages, programBytes, straightBytes);
    if (measureMemory) {
        const long small = measuredPeak(app.applicationFilePath(), 1000);
        const long large = measuredPeak(app.applicationFilePath(), records);
        std::printf("peak RSS of one preparation and print: %ld kB at 1,000 records, %ld kB at %d records", small,
                    large, records);
        if (small > 0 && large > 0)
            std::printf(" (ratio %.3f)", double(large) / double(small));
        std::printf("\n");
    }
    return 0;
}
