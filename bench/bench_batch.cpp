// Benchmark of the batch: N DARF rows of a spreadsheet to one PDF a row (`zavenor --lote ...
// --pdf`, in process), against its limit: the same slips drawn straight with QPainter into the
// same kind of PDF files (PDF/A-1b at the PDF filter's resolution, A4), one file a slip. The limit's painter calls are
// worked out before timing from each slip's recorded page, as bench_slipreplay does.
//
//   bench_batch [rows=1000] [output folder=system temp] [--runs=R] [--only=batch|limit]
//
// --only runs one of the two (for callgrind with --collect-atstart=no: instructions are counted
// only while it runs, the spreadsheet and the limit's plans left out).

#include "PdfBench.h"
#include "StraightSlip.h"

#include "batch/BatchRunner.h"
#include "batch/BatchTable.h"
#include "batch/CsvReader.h"
#include "batch/SlipDocuments.h"
#include "report/output/RLPdfFilter.h"

#include <QApplication>
#include <QTextStream>

namespace {

// The kind of file the PDF filter writes.
std::unique_ptr<QPdfWriter> newFilterPdf(const QString &fileName)
{
    std::unique_ptr<QPdfWriter> pdf = newPdf(fileName);
    pdf->setResolution(TRLPdfFilter::Resolution);
    pdf->setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    return pdf;
}

QString writeRows(const QString &folder, int rows)
{
    const QString file = QDir(folder).filePath(QStringLiteral("bench_batch.csv"));
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    QTextStream out(&f);
    out << "tipo;nome;periodo_apuracao;cpf_cnpj;codigo_receita;vencimento;principal;multa;juros\n";
    for (int i = 0; i < rows; ++i)
        out << QStringLiteral("DARF;CONTRIBUINTE %1 COMÉRCIO E SERVIÇOS LTDA.;31/12/2025;12.345.678/0001-95;2089;"
                              "20/01/2026;%2,%3;%4,00;%5,50\n")
                   .arg(i + 1).arg(1000 + i * 37).arg(i % 100, 2, 10, QLatin1Char('0')).arg(i % 50).arg(i % 9);
    return file;
}

std::vector<StraightPlan> planAll(const QString &csv, const QString &folder, Mapping &map)
{
    std::vector<StraightPlan> plans;
    TCsvReader reader;
    TBatchTable table;
    QString error;
    TCsvRecord record;
    if (!reader.Open(csv, &error) || !reader.Next(record) || !table.ReadHeader(record.fields, &error))
        return plans;
    TSlipDocuments documents(TBatchMode::LayoutColour);
    const QString planFile = QDir(folder).filePath(QStringLiteral("bench_plan.pdf"));
    const std::unique_ptr<QPdfWriter> device = newFilterPdf(planFile);
    QList<TBatchIssue> issues;
    TBatchSlip slip;
    while (reader.Next(record) && table.ReadRow(record, slip, issues, issues)) {
        TRLGraphicSurface *page = documents.Prepare(slip).Pages(0);
        map = Mapping{double(device->width()) / page->Width(), double(device->height()) / page->Height()};
        plans.push_back(planStraight(*page, device.get(), map));
    }
    QFile::remove(planFile);
    return plans;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    BenchOptions o = parseOptions(app.arguments().mid(1));
    if (app.arguments().size() < 2)
        o.pages = 1000;
    const int rows = o.pages;
    const QString csv = writeRows(o.out, rows);
    Mapping map{1, 1};
    const std::vector<StraightPlan> plans = planAll(csv, o.out, map);
    if (int(plans.size()) != rows) {
        std::fprintf(stderr, "only %zu of %d slips planned\n", plans.size(), rows);
        return 2;
    }
    const QString batchDir = QDir(o.out).filePath(QStringLiteral("bench_batch_pdf"));
    const QString limitDir = QDir(o.out).filePath(QStringLiteral("bench_batch_limit"));
    QDir().mkpath(limitDir);

    const bool runBatch = o.only != QLatin1String("limit");
    const bool runLimit = o.only != QLatin1String("batch");
    std::vector<double> batchMs, limitMs, ratios;
    for (int run = 0; run < o.runs; ++run) {
        QElapsedTimer clock;
        double batch = 0, limit = 0;
        if (runBatch) {
            clock.start();
            QString out, err;
            QTextStream outStream(&out), errStream(&err);
            CALLGRIND_TOGGLE_COLLECT;
            const int code = Batch::Run({QStringLiteral("--lote"), csv, QStringLiteral("--pdf"), batchDir,
                                         QStringLiteral("--sobrescrever")},
                                        outStream, errStream, false);
            CALLGRIND_TOGGLE_COLLECT;
            batch = clock.nsecsElapsed() / 1e6;
            if (code != 0) {
                errStream.flush();
                std::fprintf(stderr, "batch failed: %s\n", qPrintable(err));
                return 3;
            }
        }
        if (runLimit) {
            clock.start();
            CALLGRIND_TOGGLE_COLLECT;
            for (int i = 0; i < rows; ++i) {
                const std::unique_ptr<QPdfWriter> pdf =
                    newFilterPdf(QDir(limitDir).filePath(QStringLiteral("%1.pdf").arg(i + 2)));
                QPainter painter(pdf.get());
                paintStraight(painter, plans[size_t(i)]);
            }
            CALLGRIND_TOGGLE_COLLECT;
            limit = clock.nsecsElapsed() / 1e6;
        }
        if (!runBatch || !runLimit) {
            std::printf("run %d: %s %.0f ms\n", run + 1, runBatch ? "batch" : "limit", runBatch ? batch : limit);
            continue;
        }
        batchMs.push_back(batch);
        limitMs.push_back(limit);
        ratios.push_back(batch / limit);
        std::printf("run %d: batch %.0f ms (%.1f slips/s), limit %.0f ms (%.1f slips/s), ratio %.2f\n", run + 1, batch,
                    rows / (batch / 1000), limit, rows / (limit / 1000), batch / limit);
        std::fflush(stdout);
    }
    if (!runBatch || !runLimit)
        return 0;
    const double b = median(batchMs), l = median(limitMs);
    std::printf("\n%d DARF rows, median of %d runs: batch %.0f ms (%.1f slips/s), limit %.0f ms (%.1f slips/s), "
                "ratio of medians %.2f, median ratio %.2f\npeak RSS %ld kB\n",
                rows, o.runs, b, rows / (b / 1000), l, rows / (l / 1000), b / l, median(ratios), peakKb());
    return 0;
}
