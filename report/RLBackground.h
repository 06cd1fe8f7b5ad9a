#pragma once
// What a site paints under its children: a background picture and a colour gradient.

#include "report/RLControl.h"
#include "report/base/RLTypes.h"

#include <QColor>
#include <QImage>

class TRLCustomSite;
class TRLGraphicSurface;

enum TRLImageArrange { baAligned, baSidebySide, baCenter, baDistributed };
enum TRLDegradeDirection { ddNone, ddHorizontal, ddVertical };

// A picture painted under a site's children.
class TRLBackground
{
public:
    explicit TRLBackground(TRLCustomSite *owner) : m_owner(owner) {}
    TRLBackground(const TRLBackground &) = delete;
    TRLBackground &operator=(const TRLBackground &) = delete;

    TRLControlAlign Align() const { return m_align; }
    void SetAlign(TRLControlAlign align) { m_align = align; }
    TRLImageArrange Arrange() const { return m_arrange; }
    void SetArrange(TRLImageArrange arrange) { m_arrange = arrange; }
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);
    int Width() const { return m_width; }
    void SetWidth(int width) { m_width = qMax(0, width); }
    int Height() const { return m_height; }
    void SetHeight(int height) { m_height = qMax(0, height); }
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool on) { m_stretch = on; }
    const QImage &Picture() const { return m_picture; }
    void SetPicture(const QImage &picture);

    // Records the picture into the area A of the enclosing surface.
    void Paint(TRLGraphicSurface *surface, const TRLRect &area) const;

private:
    void followPicture();
    TRLRect alignedRect(const TRLRect &area, int w, int h) const;

    TRLCustomSite *m_owner;
    TRLControlAlign m_align = faClient;
    TRLImageArrange m_arrange = baAligned;
    bool m_autoSize = true;
    int m_width = 40;
    int m_height = 40;
    bool m_stretch = false;
    QImage m_picture;
};

// A gradient from the site's colour towards OppositeColor.
class TRLDegradeEffect
{
public:
    explicit TRLDegradeEffect(TRLCustomSite *owner) : m_owner(owner) {}
    TRLDegradeEffect(const TRLDegradeEffect &) = delete;
    TRLDegradeEffect &operator=(const TRLDegradeEffect &) = delete;

    TRLDegradeDirection Direction() const { return m_direction; }
    void SetDirection(TRLDegradeDirection direction) { m_direction = direction; }
    QColor OppositeColor() const { return m_oppositeColor; }
    void SetOppositeColor(const QColor &color) { m_oppositeColor = color; }
    int Granularity() const { return m_granularity; }
    void SetGranularity(int granularity) { m_granularity = granularity; }

    // Only with a direction and two different colours is there anything to paint.
    bool IsActive(const QColor &siteColor) const;
    void Paint(TRLGraphicSurface *surface, const TRLRect &area, const QColor &siteColor) const;

private:
    TRLCustomSite *m_owner;
    TRLDegradeDirection m_direction = ddNone;
    QColor m_oppositeColor = Qt::black;
    int m_granularity = 1;
};
