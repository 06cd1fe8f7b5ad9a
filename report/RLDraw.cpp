#include "report/RLDraw.h"

#include "report/base/RLUtils.h"
#include "report/page/RLMetaFile.h"

#include <cmath>

namespace {

void fitPoints(QVector<QPoint> &points, const TRLRect &target, bool keepAspect)
{
    if (keepAspect)
        scalePointsToRect(points, target);
    else
        stretchPointsToRect(points, target); // a flat axis lands on the target's edge
}

QStringList pointLines(const QVector<QPoint> &points)
{
    QStringList lines;
    for (const QPoint &p : points)
        lines << QStringLiteral("%1 %2").arg(p.x()).arg(p.y());
    return lines;
}

// "Kind" values of older layouts and what they stand for today.
struct OldKind
{
    const char *name;
    TRLDrawKind kind;
    const char *drawData; // for dkCustom
    TRLDrawOptions options;
    double extraAngle;
};

const OldKind oldKinds[] = {
    {"dkRectangle", dkRectangle, nullptr, doKeepSize, 0},
    {"dkLine", dkCustom, "0 0 1 1", doKeepSize, 0},
    {"dkTriangle", dkTriangle, nullptr, doKeepSize, 0},
    {"dkElipse", dkElipse, nullptr, doKeepSize, 0},
    {"dkArrow", dkArrow, nullptr, doKeepSize, 0},
    {"dkCircle", dkElipse, nullptr, doKeepAspectRatio, 0},
    {"dkHorzLine", dkLine, nullptr, doKeepSize, 0},
    {"dkVertLine", dkLine, nullptr, TRLDrawOptions(doKeepSize) | doKeepVisible, 90},
    {"dkReverseLine", dkCustom, "1 0 0 1", doKeepSize, 0},
};

} // namespace

QVector<QPoint> RLDrawKindPoints(TRLDrawKind kind)
{
    switch (kind) {
    case dkRectangle: return {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    case dkLine: return {{0, 0}, {1, 0}};
    case dkTriangle: return {{0, 87}, {50, 0}, {100, 87}};
    case dkArrow: return {{0, 2}, {5, 2}, {5, 0}, {8, 3}, {5, 6}, {5, 4}, {0, 4}};
    case dkElipse: {
        QVector<QPoint> points;
        for (int i = 0; i < 36; ++i) {
            const long double a = i * 2 * 3.14159265358979323846264338327950288L / 36;
            points << QPoint(RLRound(std::cos(a) * 1000 + 1000), RLRound(std::sin(a) * 1000 + 1000));
        }
        return points;
    }
    case dkCustom: break;
    }
    return {};
}

QVector<QPoint> RLParseDrawData(const QString &text)
{
    // Numbers are capped so that later scaling stays far from integer overflow.
    constexpr qint64 maxValue = 1000000000;
    QVector<int> numbers;
    int i = 0;
    const int n = int(text.size());
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n')
            || c.unicode() == 26) {
            ++i;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        qint64 value = 0;
        while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
            value = qMin(maxValue, value * 10 + (text[i].unicode() - '0'));
            ++i;
        }
        numbers << int(value);
    }
    QVector<QPoint> points;
    for (int k = 0; k + 1 < numbers.size(); k += 2)
        points << QPoint(numbers[k], numbers[k + 1]);
    return points;
}

TRLCustomDraw::TRLCustomDraw(QObject *owner) : TRLCustomControl(owner)
{
    initBounds(48, 48);
}

void TRLCustomDraw::SetDrawKind(TRLDrawKind kind)
{
    m_drawKind = kind;
    if (kind != dkCustom)
        m_drawData = pointLines(RLDrawKindPoints(kind));
}

void TRLCustomDraw::SetDrawData(const QStringList &data)
{
    if (data.join(QLatin1Char('\n')) == m_drawData.join(QLatin1Char('\n')))
        return;
    m_drawData = data;
    m_drawKind = dkCustom;
}

bool TRLCustomDraw::SetKind(const QString &oldKind)
{
    for (const OldKind &k : oldKinds) {
        if (oldKind != QLatin1String(k.name))
            continue;
        SetDrawKind(k.kind);
        if (k.drawData) {
            m_drawKind = dkCustom;
            m_drawData = QString::fromLatin1(k.drawData).split(QLatin1Char('\n'));
        }
        m_options = k.options;
        m_angle += k.extraAngle;
        return true;
    }
    return false;
}


QVector<QPoint> TRLCustomDraw::ShapePoints(const TRLRect &printRect) const
{
    TRLRect r = printRect;
    r.Right -= 1;
    r.Bottom -= 1;
    const int p = m_pen.width();
    if (p > 1) {
        r.Left += p / 2;
        r.Top += p / 2;
        r.Right -= (p - 1) / 2;
        r.Bottom -= (p - 1) / 2;
    }
    QVector<QPoint> points = m_drawKind == dkCustom ? RLParseDrawData(m_drawData.join(QLatin1Char('\n')))
                                                    : RLDrawKindPoints(m_drawKind);
    TRLRect target = r;
    if (m_drawWidth != 0)
        target.Right = target.Left + m_drawWidth;
    if (m_drawHeight != 0)
        target.Bottom = target.Top + m_drawHeight;
    if (m_options.testFlag(doKeepVisible)) {
        const int side = qMin(target.Width(), target.Height());
        target.Right = target.Left + side;
        target.Bottom = target.Top + side;
    }
    const bool keepAspect = m_options.testFlag(doKeepAspectRatio);
    fitPoints(points, target, keepAspect);
    rotatePoints(points, m_angle);
    if (!m_options.testFlag(doKeepSize))
        fitPoints(points, target, keepAspect);
    if (m_center)
        centerPointsInRect(points, r);
    return points;
}

void TRLCustomDraw::Print()
{
    TRLGraphicSurface *surface = BeginPrint();
    const QVector<QPoint> points = ShapePoints(PrintRect());
    surface->SetBrush(m_brush);
    surface->SetPen(m_pen);
    surface->Polygon(points);
}
