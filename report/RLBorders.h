#pragma once
// The frame lines of a report control and the rules that tie their flags together.

#include "report/base/RLTypes.h"

#include <QColor>

class TRLCustomControl;
class TRLGraphicSurface;

enum TRLBorderSides { sdCustom, sdNone, sdAll };

// The frame lines of a control. Sides is a shortcut over the four draw flags; a side prints when
// drawn, of positive width and, under pqFixedOnly, also fixed.
class TRLBorders
{
public:
    enum Side { Left, Top, Right, Bottom };

    explicit TRLBorders(TRLCustomControl *owner);
    TRLBorders(const TRLBorders &) = delete;
    TRLBorders &operator=(const TRLBorders &) = delete;

    bool DrawLeft() const { return m_draw[Left]; }
    bool DrawTop() const { return m_draw[Top]; }
    bool DrawRight() const { return m_draw[Right]; }
    bool DrawBottom() const { return m_draw[Bottom]; }
    void SetDrawLeft(bool on) { setDraw(Left, on); }
    void SetDrawTop(bool on) { setDraw(Top, on); }
    void SetDrawRight(bool on) { setDraw(Right, on); }
    void SetDrawBottom(bool on) { setDraw(Bottom, on); }

    int Width() const { return m_width; }
    void SetWidth(int width);
    QColor Color() const { return m_color; }
    void SetColor(const QColor &color);
    Qt::BrushStyle Style() const { return m_style; }
    void SetStyle(Qt::BrushStyle style);
    TRLBorderSides Sides() const { return m_sides; }
    void SetSides(TRLBorderSides sides);

    bool FixedLeft() const { return m_fixed[Left]; }
    bool FixedTop() const { return m_fixed[Top]; }
    bool FixedRight() const { return m_fixed[Right]; }
    bool FixedBottom() const { return m_fixed[Bottom]; }
    void SetFixedLeft(bool on) { setFixed(Left, on); }
    void SetFixedTop(bool on) { setFixed(Top, on); }
    void SetFixedRight(bool on) { setFixed(Right, on); }
    void SetFixedBottom(bool on) { setFixed(Bottom, on); }

    // The draw flags need storing only when Sides does not already say them.
    bool StoresDrawFlags() const { return m_sides == sdCustom; }
    void Assign(const TRLBorders &other);

    bool IsDrawn(Side side) const;
    bool IsAnyDrawn() const;
    // The rectangle less the border width (plus extra) on every drawn side.
    TRLRect Shrink(const TRLRect &rect, int extra = 0) const;
    // Width plus extra for each drawn side among the two given.
    int DrawnExtent(Side a, Side b, int extra) const;
    // Records the drawn sides as rectangles in the border colour.
    void Paint(TRLGraphicSurface *surface, const TRLRect &rect) const;

private:
    void setDraw(Side side, bool on);
    void setFixed(Side side, bool on);
    void changed();

    TRLCustomControl *m_owner;
    bool m_draw[4] = {false, false, false, false};
    bool m_fixed[4] = {false, false, false, false};
    int m_width = 1;
    QColor m_color = Qt::black;
    Qt::BrushStyle m_style = Qt::SolidPattern;
    TRLBorderSides m_sides = sdNone;
};
