#pragma once
// The slip benchmarks' limit: a recorded page turned, before timing, into the ready painter calls
// a program drawing the slip itself would make, and those calls made straight with QPainter.

#include "PdfBench.h"

#include "report/page/RLMetaFile.h"
#include "report/page/RLMetaFileObjects.h"
#include "report/page/RLPenCells.h"
#include "report/page/RLRowSpacing.h"
#include "report/page/RLTextMeasure.h"

#include <QPolygon>

namespace {

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
    qreal condense = 1;          // and squeezed as a whole
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
        spacing = RLSpaceRow(shown, *TRLTextMeasure::For(font, device), x, right, text.Alignment == mtaJustify);
    const bool spread = spacing.Spread();
    if (spread) {
        call.text = spacing.Text;
        call.wordSpacing = spacing.WordSpacing;
        call.condense = spacing.Condense;
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

} // namespace
