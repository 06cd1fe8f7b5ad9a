#include "report/base/RLUtils.h"

#include <QImage>
#include <QLocale>
#include <QObject>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

int saturate(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, INT_MIN, INT_MAX));
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// One pass of the word-break search from index `from`; see findWordBreak.
bool breakBefore(QString &line, int from, int &position)
{
    int i = from;
    while (i >= 0 && isBlank(line.at(i)))
        --i;
    while (i >= 0 && !isBlank(line.at(i)))
        --i;
    if (i < 0)
        return false;
    while (i >= 0 && isBlank(line.at(i)))
        --i;
    if (i < 0)
        return false;
    line.insert(i + 1, u' ');
    position = i + 1;
    return true;
}

} // namespace

int RLRound(long double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<long double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<long double>(INT_MIN))
        return INT_MIN;
    // Done by hand rather than through the FPU's rounding mode, which other code may change, and
    // without the x87's own integer conversions: each switches the FPU's control word twice, which
    // stalls the pipeline and cost a sixth of a print's time. The head is the value to a double's
    // precision in whatever mode; truncating it is an SSE instruction, and the two remainders are
    // exact in extended precision, so the fraction is exact.
    const double head = static_cast<double>(value);
    long long whole = static_cast<long long>(head);
    const long double fraction = (static_cast<long double>(head) - whole) + (value - head);
    if (fraction > 0.5L || (fraction == 0.5L && (whole & 1)))
        ++whole;
    else if (fraction < -0.5L || (fraction == -0.5L && (whole & 1)))
        --whole;
    return static_cast<int>(whole);
}

int RLMmToDots(double mm, int dotsPerInch)
{
    // Extended precision with the product first and the inch as 25.4L: the order and the
    // constant decide the last bits and with them which way near-ties go, and every length in
    // a report or on a device must agree with every other one.
    return RLRound(static_cast<long double>(mm) * dotsPerInch / 25.4L);
}

int MMToPixels(double mm)
{
    return RLMmToDots(mm, 96);
}

int deviceToPixels(int value, int dpi)
{
    if (dpi <= 0)
        return 0;
    return RLRound(static_cast<long double>(value) * 96 / dpi);
}

QMargins deviceMarginsToPixels(const QMargins &device, int dpiX, int dpiY)
{
    if (qint64(dpiX) * dpiY <= 0)
        return QMargins();
    return QMargins(deviceToPixels(device.left(), dpiX), deviceToPixels(device.top(), dpiY),
                    deviceToPixels(device.right(), dpiX), deviceToPixels(device.bottom(), dpiY));
}

TRLRect reduceRect(const TRLRect &rect, const QMargins &margins)
{
    return {saturate(qint64(rect.Left) + margins.left()), saturate(qint64(rect.Top) + margins.top()),
            saturate(qint64(rect.Right) - margins.right()), saturate(qint64(rect.Bottom) - margins.bottom())};
}

TRLRect increaseRect(const TRLRect &rect, const QMargins &margins)
{
    return {saturate(qint64(rect.Left) - margins.left()), saturate(qint64(rect.Top) - margins.top()),
            saturate(qint64(rect.Right) + margins.right()), saturate(qint64(rect.Bottom) + margins.bottom())};
}

TRLRect moveRectTo(const TRLRect &rect, int left, int top)
{
    return {left, top, saturate(qint64(left) + rect.Width()), saturate(qint64(top) + rect.Height())};
}

TRLRect fitAspectRect(const QSize &source, const TRLRect &target, bool center)
{
    const qint64 w = source.width();
    const qint64 h = source.height();
    const qint64 targetW = std::max<qint64>(0, qint64(target.Right) - target.Left);
    const qint64 targetH = std::max<qint64>(0, qint64(target.Bottom) - target.Top);
    if (w <= 0 || h <= 0)
        return {target.Left, target.Top, target.Left, target.Top};
    qint64 fittedW = targetW;
    qint64 fittedH = targetH;
    // targetW / w > targetH / h, compared exactly.
    if (targetW * h > targetH * w)
        fittedW = RLRound(static_cast<long double>(w) * targetH / h);
    else
        fittedH = RLRound(static_cast<long double>(h) * targetW / w);
    qint64 left = target.Left;
    qint64 top = target.Top;
    if (center) {
        left += (targetW - fittedW) / 2;
        top += (targetH - fittedH) / 2;
    }
    return {saturate(left), saturate(top), saturate(left + fittedW), saturate(top + fittedH)};
}

TRLRect pointsExtent(const QVector<QPoint> &points)
{
    if (points.isEmpty())
        return {};
    TRLRect box(points.first().x(), points.first().y(), points.first().x(), points.first().y());
    for (const QPoint &p : points) {
        box.Left = std::min(box.Left, p.x());
        box.Top = std::min(box.Top, p.y());
        box.Right = std::max(box.Right, p.x());
        box.Bottom = std::max(box.Bottom, p.y());
    }
    return box;
}

TRLRect pointsBoundingBox(const QVector<QPoint> &points)
{
    if (points.isEmpty())
        return {};
    return increaseRect(pointsExtent(points), QMargins(1, 1, 1, 1));
}

namespace {

struct AxisFactors
{
    long double x = 0;
    long double y = 0;
};

// Target size over the points' size per axis; 0 where the points have no extent.
AxisFactors fitFactors(const TRLRect &box, const TRLRect &target)
{
    const qint64 boxW = qint64(box.Right) - box.Left;
    const qint64 boxH = qint64(box.Bottom) - box.Top;
    AxisFactors f;
    if (boxW != 0)
        f.x = static_cast<long double>(qint64(target.Right) - target.Left) / boxW;
    if (boxH != 0)
        f.y = static_cast<long double>(qint64(target.Bottom) - target.Top) / boxH;
    return f;
}

void mapPoints(QVector<QPoint> &points, const TRLRect &box, const TRLRect &target, AxisFactors f)
{
    for (QPoint &p : points) {
        p.setX(saturate(qint64(RLRound((qint64(p.x()) - box.Left) * f.x)) + target.Left));
        p.setY(saturate(qint64(RLRound((qint64(p.y()) - box.Top) * f.y)) + target.Top));
    }
}

} // namespace

void scalePointsToRect(QVector<QPoint> &points, const TRLRect &target)
{
    const TRLRect box = pointsExtent(points);
    AxisFactors f = fitFactors(box, target);
    if (f.x == 0 && f.y == 0)
        return;
    if (f.x == 0)
        f.x = f.y;
    if (f.y == 0)
        f.y = f.x;
    f.x = f.y = std::min(f.x, f.y);
    mapPoints(points, box, target, f);
}

void stretchPointsToRect(QVector<QPoint> &points, const TRLRect &target)
{
    const TRLRect box = pointsExtent(points);
    AxisFactors f = fitFactors(box, target);
    if (f.x == 0)
        f.x = 1;
    if (f.y == 0)
        f.y = 1;
    mapPoints(points, box, target, f);
}

void centerPointsInRect(QVector<QPoint> &points, const TRLRect &target)
{
    const TRLRect box = pointsExtent(points);
    const qint64 dx = ((qint64(target.Right) - target.Left) - (qint64(box.Right) - box.Left)) / 2
        + (qint64(target.Left) - box.Left);
    const qint64 dy = ((qint64(target.Bottom) - target.Top) - (qint64(box.Bottom) - box.Top)) / 2
        + (qint64(target.Top) - box.Top);
    for (QPoint &p : points) {
        p.setX(saturate(p.x() + dx));
        p.setY(saturate(p.y() + dy));
    }
}

void rotatePoints(QVector<QPoint> &points, double angle)
{
    if (points.isEmpty())
        return;
    const long double theta = -static_cast<long double>(angle) * 3.14159265358979323846264338327950288L / 180;
    const long double c = std::cos(theta);
    const long double s = std::sin(theta);
    long double sumX = 0;
    long double sumY = 0;
    for (const QPoint &p : points) {
        sumX += p.x();
        sumY += p.y();
    }
    const qint64 cx = RLRound(sumX / points.size());
    const qint64 cy = RLRound(sumY / points.size());
    for (QPoint &p : points) {
        const long double x = p.x() - cx;
        const long double y = p.y() - cy;
        p.setX(saturate(RLRound(x * c - y * s) + cx));
        p.setY(saturate(RLRound(x * s + y * c) + cy));
    }
}

QImage reportMeasureBitmap()
{
    // Exactly 96 dpi whatever the screen says: report pixels are 96 per inch, and text measured
    // at another resolution would not fit where it prints.
    QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    device.setDotsPerMeterX(3780);
    device.setDotsPerMeterY(3780);
    return device;
}

TRLCroppedPicture cropPicture(const TRLRect &rect, const QImage &picture, bool center)
{
    if (picture.isNull())
        return {};
    qint64 left = rect.Left;
    qint64 top = rect.Top;
    if (center) {
        left += (qint64(rect.Width()) - picture.width()) / 2;
        top += (qint64(rect.Height()) - picture.height()) / 2;
    }
    const qint64 cropLeft = std::max<qint64>(left, rect.Left);
    const qint64 cropTop = std::max<qint64>(top, rect.Top);
    const qint64 cropRight = std::min<qint64>(left + picture.width(), rect.Right);
    const qint64 cropBottom = std::min<qint64>(top + picture.height(), rect.Bottom);
    if (cropRight <= cropLeft || cropBottom <= cropTop)
        return {};
    TRLCroppedPicture crop;
    crop.Rect = TRLRect(int(cropLeft), int(cropTop), int(cropRight), int(cropBottom));
    // A picture that fits its box whole stays the same image, which keeps its recorded bytes.
    if (cropLeft == left && cropTop == top && crop.Rect.Width() == picture.width()
        && crop.Rect.Height() == picture.height())
        crop.Picture = picture;
    else
        crop.Picture = picture.copy(int(cropLeft - left), int(cropTop - top), crop.Rect.Width(), crop.Rect.Height());
    return crop;
}

QString separatedField(const QString &text, int index, QChar separator)
{
    if (index < 1)
        return QString();
    const QStringList pieces = text.split(separator);
    return index <= pieces.size() ? pieces.at(index - 1) : QString();
}

QString floatToText(double value)
{
    QString text = QString::number(value, 'f', 4);
    if (!std::isfinite(value))
        return text;
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    if (text == u"-0")
        text = QStringLiteral("0");
    return text;
}

double textToFloat(const QString &text, double fallback)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok && !trimmed.contains(u'.') && trimmed.count(u',') == 1)
        value = QLocale::c().toDouble(QString(trimmed).replace(u',', u'.'), &ok);
    return ok && std::isfinite(value) ? value : fallback;
}

bool findWordBreak(QString &line, int &position)
{
    if (line.isEmpty())
        return false;
    const int last = int(line.size()) - 1;
    if (breakBefore(line, std::clamp(position, 0, last), position))
        return true;
    return breakBefore(line, last, position);
}

QString uniqueComponentName(const QString &className, const QStringList &takenNames)
{
    const QString stem = className.startsWith(u'T') ? className.mid(1) : className;
    qint64 highest = 0;
    for (const QString &name : takenNames) {
        if (name.size() <= stem.size() || !name.startsWith(stem, Qt::CaseInsensitive))
            continue;
        const QString tail = name.mid(stem.size());
        const bool digits = std::all_of(tail.begin(), tail.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        bool ok = false;
        const qint64 number = digits ? tail.toLongLong(&ok) : 0;
        if (ok && number < LLONG_MAX)
            highest = std::max(highest, number);
    }
    return stem + QString::number(highest + 1);
}

QString uniqueComponentName(const QObject *component, const QObject *owner)
{
    if (!component)
        return QString();
    QStringList taken;
    if (owner) {
        const QList<QObject *> held = owner->findChildren<QObject *>();
        for (const QObject *object : held)
            if (object != component)
                taken << object->objectName();
    }
    return uniqueComponentName(QString::fromLatin1(component->metaObject()->className()), taken);
}
