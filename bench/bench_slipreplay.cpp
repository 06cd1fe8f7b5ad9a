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

#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "report/RLReport.h"
#include "report/page/RLMetaFile.h"
#include "report/page/RLRowSpacing.h"
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

    const TGareTexts g = typicalGareTexts();
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
// The limit: the page as a list of ready painter calls.

struct StraightCall
{
    enum Kind { Fill, Box, Ellipse, Line, Polygon, Polyline, Text, Picture, Clip, Unclip } kind = Fill;
    QRect rect;
    QColor color;             // of the pen, the text or a fill
    int brush = -1;           // index into the plan's brushes
    Qt::PenStyle penStyle = Qt::SolidLine;
    int penWidth = 0;
    QPolygon points;          // lines and shapes
    QImage picture;
    int font = -1;            // texts: index into the plan's fonts
    QPoint at;
    QString text;
    bool clip = false;
    bool background = false;  // a text's box filled with its brush first
    QPainterPath cells;       // a pen's stroke, filled in its colour
    QPainterPath under;       // a patterned line's whole length, in the brush's colour first
    qreal wordSpacing = 0;    // texts spread or narrowed to their box
    QPointF spreadAt;
};

struct BrushSpec
{
    QColor color;
    Qt::BrushStyle style;
    bool operator==(const BrushSpec &) const = default;
};

struct StraightPlan
{
    // Made again for every page, as such a program would; set on the painter per call.
    std::vector<QFont> fonts;
    std::vector<BrushSpec> brushes;
    // A picture that comes back (the crest of each copy) is one image, as the program holds it.
    std::vector<std::pair<QByteArray, QImage>> pictures;
    std::vector<StraightCall> calls;
    int clippedTexts = 0;
    int texts = 0;
    QStringList unsupported; // recorded kinds the plan does not draw alike
};

int brushIndex(StraightPlan &plan, const TRLMetaBrush &brush)
{
    const BrushSpec spec{brush.Color.ToQColor(), brush.QtStyle()};
    const auto known = std::find(plan.brushes.begin(), plan.brushes.end(), spec);
    if (known != plan.brushes.end())
        return int(known - plan.brushes.begin());
    plan.brushes.push_back(spec);
    return int(plan.brushes.size()) - 1;
}

QImage pictureOf(StraightPlan &plan, const QByteArray &data)
{
    for (const auto &[known, picture] : plan.pictures)
        if (known == data)
            return picture;
    plan.pictures.emplace_back(data, TRLImageObject::PictureFromData(data));
    return plan.pictures.back().second;
}

QFont fontOf(const TRLTextObject &text)
{
    QFont font;
    const QString name = text.FontName();
    if (!name.isEmpty())
        font.setFamily(name);
    font.setPointSize(std::max(1, int(text.Font.Size)));
    font.setBold(text.Font.Style & mfsBold);
    font.setItalic(text.Font.Style & mfsItalic);
    font.setUnderline(text.Font.Style & mfsUnderline);
    font.setStrikeOut(text.Font.Style & mfsStrikeOut);
    if (text.Font.Pitch != mfpDefault)
        font.setFixedPitch(text.Font.Pitch == mfpFixed);
    return font;
}

void planText(StraightPlan &plan, StraightCall &call, const TRLTextObject &text, QPaintDevice *device,
              const Mapping &map)
{
    const QFont wanted = fontOf(text);
    const auto known = std::find(plan.fonts.begin(), plan.fonts.end(), wanted);
    call.font = int(known - plan.fonts.begin());
    if (known == plan.fonts.end())
        plan.fonts.push_back(wanted);
    const QFont font(wanted, device);
    const QFontMetrics m(font, device);
    const QString shown = text.DisplayText();
    const int blank = m.horizontalAdvance(QLatin1Char(' '));
    const int width = m.horizontalAdvance(shown + QLatin1Char(' '));
    const QRect &box = call.rect;
    const int right = box.x() + box.width();
    const int bottom = box.y() + box.height();
    // Half a blank of lead on the left, as the report engine places its texts.
    int x = blank / 2 + map.x(text.Origin.x());
    if (text.Alignment == mtaRight)
        x = blank / 2 + right - width;
    else if (text.Alignment == mtaCenter)
        x = blank / 2 + (box.x() + right - width) / 2;
    int y = map.y(text.Origin.y());
    if (text.Layout == mtlBottom)
        y = bottom - m.height();
    else if (text.Layout == mtlCenter)
        y = (box.y() + bottom - m.height()) / 2;
    call.at = QPoint(x, y + m.ascent());
    call.text = shown;
    // Justified rows end at the box's edge, left-aligned ones never cross it.
    const bool crossing = text.Alignment == mtaLeft && x + m.horizontalAdvance(shown) + 1 > right;
    TRLRowSpacing spacing;
    if (text.Alignment == mtaJustify || crossing)
        spacing = RLSpaceRow(shown, QFontMetricsF(font, device), x, right, text.Alignment == mtaJustify);
    const bool spread = spacing.Spread();
    if (spread) {
        call.text = spacing.Text;
        call.wordSpacing = spacing.WordSpacing;
        call.spreadAt = QPointF(spacing.Start, call.at.y());
    }
    call.color = text.Font.Color.ToQColor();
    call.background = text.Brush.Style != mbsClear;
    call.brush = brushIndex(plan, text.Brush);
    if (call.background && (text.TextOptions & MetaTextFlagUnclipped))
        call.rect = QRect(x, y, spread ? int(std::ceil(spacing.End)) - x : m.horizontalAdvance(call.text), m.height());
    call.clip = !(text.TextOptions & MetaTextFlagUnclipped)
        && (spread || inkOverflows(font, m, call.text, call.at, box));
    ++plan.texts;
    plan.clippedTexts += call.clip;
}

void takePenAndBrush(StraightPlan &plan, StraightCall &call, const TRLMetaPen &pen, const TRLMetaBrush &brush,
                     const Mapping &map)
{
    call.color = pen.Color.ToQColor();
    call.penStyle = pen.QtStyle();
    call.penWidth = RLMeta::scaledPenWidth(pen.Width, map.fx);
    call.brush = brushIndex(plan, brush);
}

// The pen's cells on the device, as a program that draws the slip itself would work them out.
void takeStroke(StraightPlan &plan, StraightCall &call, const TRLMetaPen &pen, const Mapping &map,
                const QPolygon &points, bool closed)
{
    TRLPenStroke stroke(TRLDeviceMap{0, 0, map.fx, map.fy}, pen.Width, call.penWidth, pen.Style,
                        QRect(-(1 << 24), -(1 << 24), 1 << 25, 1 << 25));
    stroke.AddPolygon(points, closed);
    if (!stroke.Sloping().empty() || !stroke.Thin().empty())
        plan.unsupported << QStringLiteral("sloping or thin patterned line");
    if (pen.QtStyle() != Qt::NoPen)
        call.cells = stroke.Cells();
    if (!TRLPenPattern::Of(pen.Style).IsSolid())
        call.under = stroke.Whole();
}

QPolygon sidesOf(const TRLRect &r)
{
    const int right = std::max(r.Left, r.Right - 1), bottom = std::max(r.Top, r.Bottom - 1);
    return QPolygon({QPoint(r.Left, r.Top), QPoint(right, r.Top), QPoint(right, bottom), QPoint(r.Left, bottom)});
}

QPolygon mapped(const TRLMetaPointArray &points, const Mapping &map)
{
    QPolygon polygon;
    for (const QPoint &p : points)
        polygon << QPoint(map.x(p.x()), map.y(p.y()));
    return polygon;
}

StraightPlan planStraight(const TRLGraphicSurface &page, QPaintDevice *device, const Mapping &map)
{
    StraightPlan plan;
    for (int i = 0; i < page.ObjectCount(); ++i) {
        const TRLGraphicObject *object = page.Objects(i);
        StraightCall call;
        call.rect = map.rect(object->BoundsRect);
        switch (object->Code()) {
        case TRLGraphicObject::FillRectKind: {
            const auto &fill = static_cast<const TRLFillRectObject &>(*object);
            call.brush = brushIndex(plan, fill.Brush);
            break;
        }
        case TRLGraphicObject::PixelKind:
            call.brush = brushIndex(plan, TRLMetaBrush{static_cast<const TRLPixelObject &>(*object).Color, mbsSolid});
            break;
        case TRLGraphicObject::RectangleKind:
        case TRLGraphicObject::EllipseKind: {
            const auto &shape = static_cast<const TRLShapeObject &>(*object);
            takePenAndBrush(plan, call, shape.Pen, shape.Brush, map);
            call.kind = object->Code() == TRLGraphicObject::EllipseKind ? StraightCall::Ellipse : StraightCall::Box;
            if (call.kind == StraightCall::Ellipse)
                plan.unsupported << QStringLiteral("ellipse");
            takeStroke(plan, call, shape.Pen, map, sidesOf(shape.BoundsRect), true);
            if (shape.Brush.Style == mbsClear)
                call.brush = -1;
            break;
        }
        case TRLGraphicObject::LineKind: {
            const auto &line = static_cast<const TRLLineObject &>(*object);
            takePenAndBrush(plan, call, line.Pen, line.Brush, map);
            call.kind = StraightCall::Line;
            takeStroke(plan, call, line.Pen, map, QPolygon({line.FromPoint, line.ToPoint}), false);
            if (line.Brush.Style == mbsClear || call.penWidth <= 1)
                call.under = QPainterPath();
            break;
        }
        case TRLGraphicObject::PolygonKind: {
            const auto &polygon = static_cast<const TRLPolygonObject &>(*object);
            takePenAndBrush(plan, call, polygon.Pen, polygon.Brush, map);
            call.kind = StraightCall::Polygon;
            call.points = mapped(polygon.Points, map);
            takeStroke(plan, call, polygon.Pen, map, polygon.Points, true);
            call.under = QPainterPath();
            if (polygon.Brush.Style == mbsClear)
                call.brush = -1;
            break;
        }
        case TRLGraphicObject::PolylineKind: {
            const auto &polyline = static_cast<const TRLPolylineObject &>(*object);
            takePenAndBrush(plan, call, polyline.Pen, TRLMetaBrush{TRLMetaColor(), mbsClear}, map);
            call.kind = StraightCall::Polyline;
            takeStroke(plan, call, polyline.Pen, map, polyline.Points, false);
            call.under = QPainterPath();
            break;
        }
        case TRLGraphicObject::ImageKind: {
            const auto &image = static_cast<const TRLImageObject &>(*object);
            call.kind = StraightCall::Picture;
            call.picture = pictureOf(plan, image.Data);
            if (image.WholeWidths && call.picture.width() > 0)
                call.rect.setWidth((call.rect.width() / call.picture.width()) * call.picture.width() + 1);
            break;
        }
        case TRLGraphicObject::TextKind:
            call.kind = StraightCall::Text;
            planText(plan, call, static_cast<const TRLTextObject &>(*object), device, map);
            break;
        case TRLGraphicObject::SetClipRectKind:
            call.kind = StraightCall::Clip;
            if (object->BoundsRect.Width() == 0 || object->BoundsRect.Height() == 0)
                plan.unsupported << QStringLiteral("clip of no size");
            break;
        case TRLGraphicObject::ResetClipRectKind:
            call.kind = StraightCall::Unclip;
            break;
        }
        plan.calls.push_back(call);
    }
    return plan;
}

void paintStraight(QPainter &painter, const StraightPlan &plan)
{
    const std::vector<QFont> fonts(plan.fonts.begin(), plan.fonts.end());
    std::vector<QBrush> brushes;
    for (const BrushSpec &spec : plan.brushes)
        brushes.emplace_back(spec.color, spec.style);
    for (const StraightCall &call : plan.calls) {
        switch (call.kind) {
        case StraightCall::Fill:
            painter.fillRect(call.rect, brushes[size_t(call.brush)]);
            break;
        case StraightCall::Box:
        case StraightCall::Ellipse:
            if (call.brush >= 0)
                painter.fillRect(call.rect, brushes[size_t(call.brush)]);
            painter.fillPath(call.cells, call.color);
            break;
        case StraightCall::Line:
            if (!call.under.isEmpty())
                painter.fillPath(call.under, brushes[size_t(call.brush)].color());
            painter.fillPath(call.cells, call.color);
            break;
        case StraightCall::Polygon:
            if (call.brush >= 0) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(brushes[size_t(call.brush)]);
                painter.drawPolygon(call.points);
            }
            painter.fillPath(call.cells, call.color);
            break;
        case StraightCall::Polyline:
            painter.fillPath(call.cells, call.color);
            break;
        case StraightCall::Text:
            if (call.clip) {
                painter.save();
                painter.setClipRect(call.rect, Qt::IntersectClip);
            }
            if (call.background)
                painter.fillRect(call.rect, brushes[size_t(call.brush)]);
            painter.setPen(call.color);
            if (call.wordSpacing != 0) {
                QFont spaced = fonts[size_t(call.font)];
                spaced.setWordSpacing(call.wordSpacing);
                painter.setFont(spaced);
                painter.drawText(call.spreadAt, call.text);
            } else {
                painter.setFont(fonts[size_t(call.font)]);
                painter.drawText(call.at, call.text);
            }
            if (call.clip)
                painter.restore();
            break;
        case StraightCall::Picture:
            painter.drawImage(call.rect, call.picture);
            break;
        case StraightCall::Clip:
            painter.save();
            painter.setClipRect(call.rect, Qt::IntersectClip);
            break;
        case StraightCall::Unclip:
            painter.restore();
            break;
        }
    }
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
