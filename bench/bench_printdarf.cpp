// Benchmark of printing the DARF with its whole layout: from the Print click to the job completed
// by the print service, against the limit of the same page drawn straight with QPainter into a
// PDF sent to the same queue.
//
//   bench_printdarf [runs=20]
//
// Starts a private CUPS scheduler with a cups-pdf queue (as the tests do). The program run: the
// main window with typical entries, "Imprimir com lay-out" and "Colorido" chosen, BBImprimir
// clicked; the print dialog and the confirmation are answered as soon as they show. The limit:
// the page the program records, played before timing into a QPicture (the very painter calls of
// its replay at 600 dpi), then drawn with QPainter onto a QPdfWriter (A4, 600 dpi, no margins)
// and submitted through the same printer service. Both clocks stop once the print service
// reports the job completed. The two run in turns; the medians are printed.

#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "report/RLReport.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPrintDialog.h"
#include "report/output/RLPrinters.h"
#include "slips/pLayOutDarf.h"
#include "tests/support/PrivateCups.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/NumEditCLX.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void waitCompleted(PrivateCups &cups, int job)
{
    while (cups.JobState(job) != QLatin1String("completed"))
        QThread::msleep(5);
}

void enter(TfrmZavenor &w)
{
    w.EdNome->setText(QString::fromUtf8("JOÃO DA CONCEIÇÃO ASSUNÇÃO & FILHOS COMÉRCIO LTDA."));
    w.mePerAp->setText(QStringLiteral("31/12/2025"));
    w.edCGCCPF->setText(QStringLiteral("12.345.678/0001-95"));
    w.edCodRec->setText(QStringLiteral("2089"));
    w.edNumRef->setText(QStringLiteral("9876543210"));
    w.meDtVenc->setText(QStringLiteral("15/01/2026"));
    w.neValPrinc->setText(QStringLiteral("1.234.567,89"));
    w.neValMulta->setText(QStringLiteral("246.913,58"));
    w.neValJuros->setText(QStringLiteral("98.765,43"));
    w.fTotalizaDarf();
    w.cbComLayOut->setChecked(true);
    w.RBCor->click();
}

} // namespace

int main(int argc, char **argv)
{
    PrivateCups cups; // before anything asks CUPS about its server
    TZavenorApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    if (!cups.IsRunning() || !cups.AddPdfQueue(QStringLiteral("ZavenorPDF"))) {
        std::fprintf(stderr, "no private CUPS scheduler: %s\n", qPrintable(cups.Error()));
        return 1;
    }
    RLPrinter().Refresh();

    TfrmZavenor w;
    w.show();
    enter(w);

    // Answers the print dialog and the confirmation as soon as they show.
    QTimer answer;
    answer.setInterval(1);
    QObject::connect(&answer, &QTimer::timeout, [] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<TRLPrintDialog *>(modal); dialog && dialog->isVisible())
            dialog->ButtonOk->click();
        else if (auto *box = qobject_cast<QMessageBox *>(modal))
            box->defaultButton()->click();
    });
    answer.start();

    // The limit's page: what the program records, as painter calls at 600 dpi.
    QPicture picture;
    {
        TfrmLayOutDARF form;
        w.frmLayOutDARF = &form;
        w.fCorDarf(w.CorDarf);
        form.RLDarf->Prepare();
        QPainter p(&picture);
        const double f = 600.0 / 96;
        form.RLDarf->Pages()->Pages(0)->PaintTo(&p, 0, 0, f, f);
    }
    const QString straightPdf = cups.root() + QStringLiteral("/straight.pdf");

    std::vector<double> program, limit, ratios;
    for (int run = 0; run < runs; ++run) {
        double t[2] = {};
        for (int turn = 0; turn < 2; ++turn) {
            const bool doProgram = (turn == 0) == (run % 2 == 0);
            QElapsedTimer clock;
            if (doProgram) {
                const int before = RLPrinter().LastJobId();
                clock.start();
                w.BBImprimir->click();
                const int job = RLPrinter().LastJobId();
                if (job == before) {
                    std::fprintf(stderr, "the program printed nothing\n");
                    return 1;
                }
                waitCompleted(cups, job);
            } else {
                clock.start();
                {
                    QPdfWriter pdf(straightPdf);
                    pdf.setResolution(600);
                    pdf.setPageSize(QPageSize(QPageSize::A4));
                    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
                    pdf.setTitle(QStringLiteral("Zavenor - DARF"));
                    QPainter p(&pdf);
                    p.drawPicture(0, 0, picture);
                }
                TRLPrintJob job;
                job.Queue = QStringLiteral("ZavenorPDF");
                job.Title = QStringLiteral("Zavenor - DARF");
                job.DocumentFile = straightPdf;
                job.Media = RLPrinter().MediaName();
                waitCompleted(cups, RLPrinter().Service().Submit(job));
            }
            t[doProgram ? 0 : 1] = clock.nsecsElapsed() / 1e6;
        }
        program.push_back(t[0]);
        limit.push_back(t[1]);
        ratios.push_back(t[0] / t[1]);
        std::printf("run %2d: program %8.1f ms, straight %8.1f ms\n", run + 1, t[0], t[1]);
    }
    std::printf("median of %d: program %.1f ms, straight %.1f ms, ratio of medians %.2f, median of ratios %.2f\n",
                runs, median(program), median(limit), median(program) / median(limit), median(ratios));
    return 0;
}
