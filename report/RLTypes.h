#pragma once
// Types shared by every unit of the report engine.

#include <QPoint>
#include <QRect>

// A rectangle in report pixels as the engine thinks of it: Right and Bottom are one past the last
// pixel, so Width = Right - Left (unlike QRect::right()).
struct TRLRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr TRLRect() = default;
    constexpr TRLRect(int left, int top, int right, int bottom)
        : Left(left), Top(top), Right(right), Bottom(bottom) {}

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool operator==(const TRLRect &o) const
    {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
    constexpr bool operator!=(const TRLRect &o) const { return !(*this == o); }

    static TRLRect FromQRect(const QRect &r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }
    QRect ToQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
};

// Told when the page setup of a report changes (the report refreshes its bounds).
class TRLPageSetupOwner
{
public:
    virtual ~TRLPageSetupOwner() = default;
    virtual void PageSetupChanged() = 0;
};

// Told when a margin record of a site changes (the site re-arranges its children).
class TRLMarginsOwner
{
public:
    virtual ~TRLMarginsOwner() = default;
    virtual void MarginsChanged() = 0;
};
