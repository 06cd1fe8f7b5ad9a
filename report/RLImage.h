#pragma once
// A picture: TRLImage, cropped, stretched or fitted into its rectangle.

#include "report/RLControl.h"

#include <QImage>

class TRLCustomImage : public TRLCustomControl
{
    Q_OBJECT
public:
    explicit TRLCustomImage(QObject *owner = nullptr);

    const QImage &Picture() const { return m_picture; }
    // With AutoSize on, a picture of positive size gives the image its size.
    void SetPicture(const QImage &picture);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool on);
    bool Scaled() const { return m_scaled; }
    void SetScaled(bool on);
    bool Center() const { return m_center; }
    void SetCenter(bool on) { m_center = on; }
    // Kept for the programs that switch pictures; whether it prints is Visible's and
    // BeforePrint's answer alone, as for every control that is not a site.
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on) { m_enabled = on; }

    TRLBeforePrintEvent BeforePrint;

    QSize CalcSize() const override;
    void Print() override;

protected:
    bool DoBeforePrint() override { return RLAskBeforePrint(this, BeforePrint); }

private:
    QImage m_picture;
    bool m_stretch = false;
    bool m_scaled = false;
    bool m_center = false;
    bool m_enabled = true;
};

class TRLImage : public TRLCustomImage
{
    Q_OBJECT
public:
    explicit TRLImage(QObject *owner = nullptr) : TRLCustomImage(owner) {}
};
