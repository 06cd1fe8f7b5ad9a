#pragma once
// Conversions between millimetres, printer pixels and report pixels (96 per inch), and the small
// geometry and text helpers that the report controls and the page metafile share.

#include "report/base/RLTypes.h"

#include <QFont>
#include <QObject>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

class QObject;

// Nearest integer, halves to the even neighbour; out-of-range values saturate and NaN gives 0.
int RLRound(long double value);

// Dots for a length in millimetres at a resolution: Round(mm * dotsPerInch / 25.4), halves to
// even. Every millimetre length of the engine becomes report pixels or device dots through here.
int RLMmToDots(double mm, int dotsPerInch);
// Report pixels for a length in millimetres.
int MMToPixels(double mm);

// Report pixels for a length in printer pixels at the given resolution; 0 without a resolution.
int deviceToPixels(int value, int dpi);
// A printer's unprintable border in report pixels; empty when the printer gives no resolution.
QMargins deviceMarginsToPixels(const QMargins &device, int dpiX, int dpiY);

// Geometry in report pixels.
TRLRect reduceRect(const TRLRect &rect, const QMargins &margins);
TRLRect increaseRect(const TRLRect &rect, const QMargins &margins);
TRLRect moveRectTo(const TRLRect &rect, int left, int top);

// The largest rectangle of the source's proportions inside the target, at the target's top-left
// corner or centred in it; empty when the source has no area.
TRLRect fitAspectRect(const QSize &source, const TRLRect &target, bool center);

// Smallest rectangle holding every point, one pixel larger on each side (a pen's width).
TRLRect pointsBoundingBox(const QVector<QPoint> &points);
// Minimum and maximum corners of the points, as Left/Top and Right/Bottom.
TRLRect pointsExtent(const QVector<QPoint> &points);

// Map a shape's points onto a rectangle: one common factor, one per axis, or only moved.
void scalePointsToRect(QVector<QPoint> &points, const TRLRect &target);
void stretchPointsToRect(QVector<QPoint> &points, const TRLRect &target);
void centerPointsInRect(QVector<QPoint> &points, const TRLRect &target);
// Counter-clockwise on the page by angle degrees, around the points' centroid.
void rotatePoints(QVector<QPoint> &points, double angle);

// A 1 x 1 bitmap at 96 dpi on which text is measured in report pixels.
QImage reportMeasureBitmap();

// The part of a picture that shows when it is placed at the rectangle's top-left corner (or
// centred in it) and cut to the rectangle. Picture is null when nothing shows.
struct TRLCroppedPicture
{
    TRLRect Rect;
    QImage Picture;
};
TRLCroppedPicture cropPicture(const TRLRect &rect, const QImage &picture, bool center);

// Text helpers.

// The index-th piece (from 1) of a text cut at separator; empty when there is none.
QString separatedField(const QString &text, int index, QChar separator);

// Up to four decimals, a point as decimal separator and no trailing zeros, whatever the locale.
QString floatToText(double value);
// Reads what floatToText writes (a comma is also taken as the decimal separator); fallback when
// the text is no number.
double textToFloat(const QString &text, double fallback);

// Looks back from position (the index of the first character that does not fit) for a blank to
// break the line at. On success one blank is inserted after the text that stays on this line
// and position becomes that text's length. Falls back to the last blank of the whole line.
bool findWordBreak(QString &line, int &position);

// A fresh name for a component of a class: the class name without its "T" and one more than the
// highest number any name with that stem already ends in (case ignored).
QString uniqueComponentName(const QString &className, const QStringList &takenNames);
// The same for a component among every object its owner holds, however deep.
QString uniqueComponentName(const QObject *component, const QObject *owner);

// The child of owner named name, of kind T; stops the program when there is none. Windows and
// documents built from layout tables bind their members with it: a table out of step with its
// class is a fault of the build, and nothing after it could work.
template <class T>
T *RLRequireChild(const QObject *owner, const char *name,
                  Qt::FindChildOptions options = Qt::FindChildrenRecursively)
{
    T *child = owner->findChild<T *>(QString::fromLatin1(name), options);
    if (!child)
        qFatal("%s has no %s of the expected kind", qPrintable(owner->objectName()), name);
    return child;
}
