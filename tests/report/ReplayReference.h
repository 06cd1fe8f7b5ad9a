#pragma once
// Replay references: a stored page drawn object by object, each on a fresh canvas, to hold the
// faster replay against.

#include "report/page/RLMetaFile.h"

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QtMath>

#include <vector>

namespace {

QImage blankImage(int width = 200, int height = 120, int dpi = 96)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

// The page replayed object by object, each on a canvas of its own that starts clipped as the page's
// clip objects and, for a clipped text, the text's box clip it: nothing carries over from one object
// to the next and every clipped text gets its clip.
void paintOneByOne(QPainter &painter, const TRLGraphicSurface &page, double fx, double fy)
{
    std::vector<TRLRect> clips;
    for (int i = 0; i < page.ObjectCount(); ++i) {
        const TRLGraphicObject *object = page.Objects(i);
        if (object->Code() == TRLGraphicObject::SetClipRectKind) {
            clips.push_back(object->BoundsRect);
            continue;
        }
        if (object->Code() == TRLGraphicObject::ResetClipRectKind) {
            if (!clips.empty())
                clips.pop_back();
            continue;
        }
        QRect clip;
        {
            const TRLReplayCanvas mapping(&painter, 0, 0, fx, fy);
            if (!clips.empty())
                clip = mapping.MapRect(clips.back()).ToQRect();
            const auto *text = dynamic_cast<const TRLTextObject *>(object);
            if (text && !(text->TextOptions & MetaTextFlagUnclipped)) {
                const QRect box = mapping.MapRect(text->BoundsRect).ToQRect();
                clip = clip.isValid() ? clip & box : box;
                if (clip.isEmpty())
                    continue;
            }
        }
        TRLGraphicSurface single;
        single.Macros() = page.Macros();
        object->Clone(&single);
        TRLReplayCanvas canvas(&painter, 0, 0, fx, fy, clip);
        single.PaintTo(canvas);
    }
}

QImage rendered(const TRLGraphicSurface &page, double factor, bool oneByOne)
{
    QImage image = page.Width() > 0
                       ? blankImage(qCeil(page.Width() * factor), qCeil(page.Height() * factor), qRound(96 * factor))
                       : blankImage();
    QPainter painter(&image);
    oneByOne ? paintOneByOne(painter, page, factor, factor) : page.PaintTo(&painter, 0, 0, factor, factor);
    painter.end();
    return image;
}

// Onto a 600 dpi PDF, then back to pixels through pdftoppm.
[[maybe_unused]] QImage renderedPdf(const TRLGraphicSurface &page, int dpi, bool oneByOne, const QString &folder)
{
    const QString name = folder + (oneByOne ? QStringLiteral("/one-by-one") : QStringLiteral("/page"));
    {
        QPdfWriter pdf(name + QStringLiteral(".pdf"));
        pdf.setResolution(600);
        pdf.setPageSize(QPageSize(QSizeF(page.Width() * 25.4 / 96, page.Height() * 25.4 / 96), QPageSize::Millimeter,
                                  QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        const double fx = double(pdf.width()) / page.Width();
        const double fy = double(pdf.height()) / page.Height();
        oneByOne ? paintOneByOne(painter, page, fx, fy) : page.PaintTo(&painter, 0, 0, fx, fy);
    }
    if (QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                           name + QStringLiteral(".pdf"), name})
        != 0)
        return QImage();
    return QImage(name + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

} // namespace
