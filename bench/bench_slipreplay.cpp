// Benchmark of replaying the slips' recorded pages: the main window is given typical entries, each
// slip is filled and prepared by the program's own code as printing does, and its page is replayed
// N times onto a 600 dpi PDF of the page's paper, against the limit below.
//
//   bench_slipreplay [pages=100] [output folder=system temp] [--runs=R] [--only=replay|straight]
//                    [--compare] [--page=darf|darf-pb|gare|gare-pb|dados-darf|dados-gare]
//
// The limit is the one of bench_metafile: the same drawing calls made straight with QPainter onto
// the same kind of PDF page, a text clipped only when its ink (QFontMetrics::boundingRect at its
// start point, one device pixel wider on the left and on the right) overflows its box. The calls
// are derived once, before timing, from the recorded page's objects, as a program that draws the
// slip itself would have them: device rectangles and points, each text's font, start point and
// justified string, and which texts overflow. Its fonts are made for every page; pens and brushes
// at each call. --page picks one slip (default: all six, one after the other); the other options
// are bench_metafile's.

#include "PdfBench.h"
#include "StraightSlip.h"

#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "report/RLReport.h"
#include "report/page/RLMetaFile.h"
#include "slips/pDadosDARF.h"
#include "slips/pDadosGARE.h"
#include "slips/pLayOutDarf.h"
#include "slips/pLayOutGare.h"
#include "tests/slips/DarfTestData.h"
#include "tests/slips/GareTestData.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/MemoCLX.h"
#include "widgets/NumEditCLX.h"

#include <QLabel>
#include <QLineEdit>
#include <QPolygon>

namespace {

// ---------------------------------------------------------------------------------------------
// The slips as printing makes them.

void enterTypicalEntries(TfrmZavenor &w)
{
    const TDarfEntryTexts d = typicalTexts();
    w.EdNome->setText(d.Nome);
    w.mePerAp->setText(d.Periodo);
    w.edCGCCPF->setText(d.CGCCPF);
    w.edCodRec->setText(d.CodRec);
    w.edNumRef->setText(d.NumRef);
    w.meDtVenc->setText(d.DtVenc);
    w.neValPrinc->setText(d.ValPrinc);
    w.neValMulta->setText(d.ValMulta);
    w.neValJuros->setText(d.ValJuros);
    w.mmVejaVerso->SetLines(d.VejaVerso);
    w.fTotalizaDarf();

    const TGareEntryTexts g = typicalGareTexts();
    w.EdNomeG->setText(g.EdNomeG);
    w.EdEnderecoG->setText(g.EdEnderecoG);
    w.EDMunicipioG->setText(g.EDMunicipioG);
    w.EDUFG->setText(g.EDUFG);
    w.EDFoneG->setText(g.EDFoneG);
    w.MMTribG->SetLines(g.MMTribG.split(QLatin1Char('\n')));
    w.EdCAEG->setText(g.EdCAEG);
    w.EdPlacaG->setText(g.EdPlacaG);
    w.MMObsG->SetLines(g.MMObsG.split(QLatin1Char('\n')));
    w.MEDTVencG->setText(g.MEDTVencG);
    w.EDCodRecG->setText(g.EDCodRecG);
    w.EDInscEstG->setText(g.EDInscEstG);
    w.EDCGCG->setText(g.EDCGCG);
    w.EDInscrDAG->setText(g.EDInscrDAG);
    w.EDNroAinG->setText(g.EDNroAinG);
    w.neValRecG->setText(g.neValRecG);
    w.neJurMorG->setText(g.neJurMorG);
    w.neMulMorG->setText(g.neMulMorG);
    w.neHonor->setText(g.neHonor);
    w.fTotalizaGare();
}

// A slip's form, kept alive with the report whose store holds its page.
struct Slip
{
    std::shared_ptr<QWidget> form;
    TRLReport *report = nullptr;
};

struct SlipKind
{
    const char *name;
    Slip (*make)(TfrmZavenor &w);
};

const SlipKind slipKinds[] = {
    {"darf",
     [](TfrmZavenor &w) {
         auto form = std::make_shared<TfrmLayOutDARF>();
         w.frmLayOutDARF = form.get();
         w.RBCorClick();
         w.fCorDarf(w.CorDarf);
         return Slip{form, form->RLDarf};
     }},
    {"darf-pb",
     [](TfrmZavenor &w) {
         auto form = std::make_shared<TfrmLayOutDARF>();
         w.frmLayOutDARF = form.get();
         w.RBPBClick();
         w.fCorDarf(w.CorDarf);
         return Slip{form, form->RLDarf};
     }},
    {"gare",
     [](TfrmZavenor &w) {
         auto form = std::make_shared<TfrmLayOutGARE>();
         w.frmLayOutGARE = form.get();
         w.RBCorClick();
         w.fCorGare(w.CorGare);
         return Slip{form, form->QRGARE};
     }},
    {"gare-pb",
     [](TfrmZavenor &w) {
         auto form = std::make_shared<TfrmLayOutGARE>();
         w.frmLayOutGARE = form.get();
         w.RBPBClick();
         w.fCorGare(w.CorGare);
         return Slip{form, form->QRGARE};
     }},
    {"dados-darf",
     [](TfrmZavenor &w) {
         auto form = std::make_shared<TfrmDadosDARF>();
         frmDadosDARF = form.get();
         w.fDadosDarf();
         return Slip{form, form->RLDadosDARF};
     }},
    {"dados-gare",
     [](TfrmZavenor &w) {
         auto form = std::make_shared<TfrmDadosGARE>();
         frmDadosGARE = form.get();
         w.fDadosGARE();
         return Slip{form, form->LRDadosGARE};
     }},
};

// The paper of the recorded page, as the print filter sets it up.
QPageSize paperOf(const TRLGraphicSurface &page)
{
    const QSizeF mm(page.PaperWidth(), page.PaperHeight());
    return QPageSize(page.Orientation() == 2 ? mm.transposed() : mm, QPageSize::Millimeter, QString(),
                     QPageSize::FuzzyMatch);
}


// ---------------------------------------------------------------------------------------------

struct PageFigures
{
    QString name;
    int objects;
    TurnsResult turns;
    qint64 differing = 0;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    TZavenorApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // figures with a decimal point, whatever the language
    const BenchOptions o = parseOptions(app.arguments().mid(1));
    QString only;
    for (const QString &arg : o.rest) {
        if (arg.startsWith(QLatin1String("--page=")))
            only = arg.mid(7);
        else {
            std::fprintf(stderr, "unknown option %s\n", qPrintable(arg));
            return 1;
        }
    }
    if (o.pages <= 0 || o.runs <= 0)
        return 1;

    TfrmZavenor w;
    enterTypicalEntries(w);
    std::vector<PageFigures> figures;
    for (const SlipKind &kind : slipKinds) {
        const QString name = QString::fromLatin1(kind.name);
        if (!only.isEmpty() && only != name)
            continue;
        const Slip slip = kind.make(w);
        if (!slip.report->Prepare() || !slip.report->Pages() || slip.report->Pages()->PageCount() < 1) {
            std::fprintf(stderr, "%s: no page prepared\n", kind.name);
            return 2;
        }
        TRLGraphicStorage &store = *slip.report->Pages();
        const TRLGraphicSurface &first = *store.Pages(0);
        const QPageSize paper = paperOf(first);
        const Mapping map = pdfMapping(paper, first.Width(), first.Height());
        StraightPlan plan;
        {
            const QString planFile = QDir(o.out).filePath(QStringLiteral("bench_plan.pdf"));
            const std::unique_ptr<QPdfWriter> device = newPdf(planFile, paper);
            plan = planStraight(first, device.get(), map);
            QFile::remove(planFile);
        }
        std::printf("\n== %s: %d × %d report pixels on %s, %d objects, %d texts (%d clipped in the limit)\n",
                    kind.name, first.Width(), first.Height(), qPrintable(paper.name()), first.ObjectCount(),
                    plan.texts, plan.clippedTexts);
        for (const QString &what : plan.unsupported)
            std::printf("warning: the limit does not draw a %s as the replay does\n", qPrintable(what));
        std::fflush(stdout);

        const PagePainter replay = [&](QPainter &painter, int) {
            QElapsedTimer fetch;
            fetch.start();
            TRLGraphicSurface *page = store.Pages(0);
            const qint64 fetchNs = fetch.nsecsElapsed();
            page->PaintTo(&painter, 0, 0, map.fx, map.fy);
            return fetchNs;
        };
        const PagePainter straight = [&](QPainter &painter, int) {
            paintStraight(painter, plan);
            return qint64(0);
        };
        PageFigures f{name, first.ObjectCount(), {}, 0};
        if (o.compare)
            f.differing = compareFirstPage(o, QStringLiteral("slip_") + name, paper, replay, straight);
        else
            f.turns = inTurns(o, QStringLiteral("slip_") + name, paper, replay, straight);
        figures.push_back(f);
    }

    std::printf("\n%-12s %8s %12s %12s %7s %12s %12s %7s\n", "page", "objects", "replay ms", "limit ms", "ratio",
                "replay PDF", "limit PDF", "ratio");
    bool clean = true;
    for (const PageFigures &f : figures) {
        if (o.compare) {
            std::printf("%-12s %8d differing pixels (96 and 300 dpi, most): %lld\n", qPrintable(f.name), f.objects,
                        static_cast<long long>(f.differing));
            clean = clean && f.differing == 0;
            continue;
        }
        const TurnsResult &t = f.turns;
        std::printf("%-12s %8d %12.3f %12.3f %7.2f %12lld %12lld %7.2f\n", qPrintable(f.name), f.objects, t.replayMs,
                    t.limitMs, t.limitMs > 0 ? t.replayMs / t.limitMs : 0.0, t.replayBytes, t.limitBytes,
                    t.limitBytes > 0 ? double(t.replayBytes) / double(t.limitBytes) : 0.0);
    }
    std::printf("peak RSS %ld kB\n", peakKb());
    return clean ? 0 : 3;
}
