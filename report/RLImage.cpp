#include "report/RLImage.h"

#include "report/page/RLMetaFile.h"

TRLCustomImage::TRLCustomImage(QObject *owner) : TRLCustomControl(owner)
{
    initBounds(105, 105);
}

void TRLCustomImage::SetPicture(const QImage &picture)
{
    m_picture = picture;
    if (AutoSize() && picture.width() > 0 && picture.height() > 0)
        SetBounds(Left(), Top(), picture.width(), picture.height());
}

void TRLCustomImage::SetStretch(bool on)
{
    m_stretch = on;
    if (on)
        m_scaled = false;
}

void TRLCustomImage::SetScaled(bool on)
{
    m_scaled = on;
    if (on)
        m_stretch = false;
}

QSize TRLCustomImage::CalcSize() const
{
    if (!AutoSize() || m_picture.isNull())
        return TRLCustomControl::CalcSize();
    return QSize(m_picture.width() + Borders()->DrawnExtent(TRLBorders::Left, TRLBorders::Right, 1),
                 m_picture.height() + Borders()->DrawnExtent(TRLBorders::Top, TRLBorders::Bottom, 1));
}


void TRLCustomImage::Print()
{
    TRLGraphicSurface *surface = BeginPrint();
    if (m_picture.isNull())
        return;
    const TRLRect r = PrintRect();
    if (m_scaled)
        surface->FitDraw(r, m_picture, m_center);
    else if (m_stretch)
        surface->StretchDraw(r, m_picture);
    else
        surface->CropDraw(r, m_picture, m_center);
}
