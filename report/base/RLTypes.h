#pragma once
// Types shared by every unit of the report engine.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QtGlobal>

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

// Paper sizes known by name; each has an entry in the paper table (RLPaperInfo).
enum TRLPaperSize : quint8 {
    fpA0, fpA1, fpA2, fpA3, fpA4, fpA5, fpA6, fpA7, fpA8, fpA9, fpA10, fpB0, fpB1, fpB2, fpB3,
    fpB4, fpB5, fpB6, fpB7, fpB8, fpB9, fpB10, fpSRA0, fpSRA1, fpSRA2, fpSRA3, fpSRA4, fpRA0,
    fpRA1, fpRA2, fpRA3, fpRA4, fp2A, fp2B, fp4A, fp4B, fp9x11, fp10x11, fp10x14, fp11x17, fp12x11,
    fp15x11, fpA3_Extra, fpA3_Extra_Transverse, fpA3_Transverse, fpA4_Small, fpA4_Extra, fpA4_Plus,
    fpA4_Transverse, fpA5_Extra, fpA5_Transverse, fpA_Plus, fpB4_JIS, fpB5_Extra, fpB5_Transverse,
    fpB6_JIS, fpB_Plus, fpEnv_9, fpEnv_10, fpEnv_11, fpEnv_12, fpEnv_14, fpEnv_B4, fpEnv_B5,
    fpEnv_B6, fpEnv_C0, fpEnv_C1, fpEnv_C2, fpEnv_C3, fpEnv_C4, fpEnv_C5, fpEnv_C5E, fpEnv_C6,
    fpEnv_C65, fpEnv_C7, fpEnv_C8, fpEnv_C9, fpEnv_C10, fpEnv_DL, fpEnv_Invite, fpEnv_Italy,
    fpEnv_Monarch, fpEnv_Personal, fpLetter, fpLegal, fpLedger, fpTabloid, fpExecutive,
    fpFanfold_US, fpComm10E, fpDLE, fpFolio, fpNote, fpPostcard, fpQuarto, fpStatement,
    fpLegal_Extra, fpLegal3, fpLetter_Small, fpLetter_Extra, fpLetter_Extra_Transverse,
    fpLetter_Plus, fpLetter_Transverse, fpP16K, fpP32K, fpP32KBig, fpPEnv_1, fpPEnv_2, fpPEnv_3,
    fpPEnv_4, fpPEnv_5, fpPEnv_6, fpPEnv_7, fpPEnv_8, fpPEnv_9, fpPEnv_10, fpTabloid_Extra,
    fpGerman_Legal_Fanfold, fpGerman_Std_Fanfold, fpJap_DblPostcard, fpJap_Postcard,
    fpEng_Foolscap, fpEng_DoubleFoolscap, fpEng_QuadFoolscap, fpEng_Crown, fpEng_DoubleCrown,
    fpEng_QuadCrown, fpEng_DoubleQuad, fpEng_Post, fpEng_DoublePost, fpEng_DoubleLarge, fpEng_Demy,
    fpEng_DoubleDemy, fpEng_QuadDemy, fpEng_MusicDemy, fpEng_Medium, fpEng_Royal, fpEng_SuperRoyal,
    fpEng_Elephant, fpEng_Imperial, fpCustom
};
constexpr int RLPaperSizeCount = fpCustom + 1;

enum TRLPageOrientation : quint8 { poPortrait, poLandscape };

// Orientation as page files and printer settings store it: 1 portrait, 2 landscape.
constexpr int RLStoredOrientation(TRLPageOrientation orientation)
{
    return orientation == poLandscape ? 2 : 1;
}

enum TRLRealBoundsUnit : quint8 { buNone, buMilimeters, buInches };

// Printer paper numbers: none for a size the printer must emulate, user-defined for a free size.
constexpr int RLNoPaperCode = 0;
constexpr int RLUserPaperCode = 256;

// One entry of the paper table: portrait size in millimetres and how a printer knows it.
struct TRLPaperInfo
{
    double Width = 0;
    double Height = 0;
    QString Description;
    bool Emulated = true; // no native paper: printed on a user-defined paper of this size
    int PaperCode = RLNoPaperCode;
};

// The table entry of a paper size; an unknown value gives the user-defined entry.
const TRLPaperInfo &RLPaperInfo(TRLPaperSize size);

// Paper and orientation of a report. Sizes are millimetres before orientation; a table size
// fixes them, fpCustom lets them be set.
class TRLPageSetup
{
public:
    explicit TRLPageSetup(TRLPageSetupOwner *owner = nullptr);
    TRLPageSetup(const TRLPageSetup &) = delete;
    TRLPageSetup &operator=(const TRLPageSetup &) = delete;

    TRLPageSetupOwner *owner() const { return m_owner; }

    double PaperHeight() const { return m_paperHeight; }
    void SetPaperHeight(double mm);
    double PaperWidth() const { return m_paperWidth; }
    void SetPaperWidth(double mm);
    TRLPaperSize PaperSize() const { return m_paperSize; }
    void SetPaperSize(TRLPaperSize size);
    TRLPageOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TRLPageOrientation orientation);
    // Only carried along to the printer unit.
    bool ForceEmulation() const { return m_forceEmulation; }
    void SetForceEmulation(bool force) { m_forceEmulation = force; }

    void Assign(const TRLPageSetup &source);

    // The page as it lies: width and height swap in landscape.
    double pageWidthMm() const;
    double pageHeightMm() const;

    // While loading, values are taken in any order and the owner hears nothing; endLoading()
    // settles the sizes and tells the owner once.
    bool isLoading() const { return m_loading; }
    void beginLoading() { m_loading = true; }
    void endLoading();

private:
    bool acceptsSize(double current, double mm) const;
    void copyTableSize();
    void changed();

    TRLPageSetupOwner *m_owner;
    double m_paperHeight = 297;
    double m_paperWidth = 210;
    TRLPaperSize m_paperSize = fpA4;
    TRLPageOrientation m_orientation = poPortrait;
    bool m_forceEmulation = false;
    bool m_loading = false;
};

// The four margins of a site in millimetres, with the defaults that tell what is worth keeping.
class TRLMargins
{
public:
    explicit TRLMargins(TRLMarginsOwner *owner = nullptr);
    TRLMargins(const TRLMargins &) = delete;
    TRLMargins &operator=(const TRLMargins &) = delete;

    TRLMarginsOwner *owner() const { return m_owner; }

    double LeftMargin() const { return m_left; }
    void SetLeftMargin(double mm);
    double TopMargin() const { return m_top; }
    void SetTopMargin(double mm);
    double RightMargin() const { return m_right; }
    void SetRightMargin(double mm);
    double BottomMargin() const { return m_bottom; }
    void SetBottomMargin(double mm);

    double defaultLeftMargin() const { return m_defaultLeft; }
    double defaultTopMargin() const { return m_defaultTop; }
    double defaultRightMargin() const { return m_defaultRight; }
    double defaultBottomMargin() const { return m_defaultBottom; }
    bool isDefault() const;

    // Sets margins and defaults at once, without telling the owner: owners call it while they
    // are still being built.
    void setValuesAndDefaults(double left, double top, double right, double bottom);

    void Assign(const TRLMargins &source);

    // Each side rounded to report pixels on its own.
    QMargins toPixels() const;

    bool isLoading() const { return m_loading; }
    void beginLoading() { m_loading = true; }
    void endLoading();

private:
    void setMargin(double &field, double mm);

    TRLMarginsOwner *m_owner;
    double m_left = 0;
    double m_top = 0;
    double m_right = 0;
    double m_bottom = 0;
    double m_defaultLeft = 0;
    double m_defaultTop = 0;
    double m_defaultRight = 0;
    double m_defaultBottom = 0;
    bool m_loading = false;
};

// Bounds of a control in a real unit, kept and copied for whoever reads them; layout and
// printing ignore them.
class TRLRealBounds
{
public:
    TRLRealBoundsUnit UsedUnit() const { return m_usedUnit; }
    void SetUsedUnit(TRLRealBoundsUnit unit) { m_usedUnit = unit; }
    double Left() const { return m_left; }
    void SetLeft(double value) { m_left = value; }
    double Top() const { return m_top; }
    void SetTop(double value) { m_top = value; }
    double Height() const { return m_height; }
    void SetHeight(double value) { m_height = value; }
    double Width() const { return m_width; }
    void SetWidth(double value) { m_width = value; }

    void Assign(const TRLRealBounds &source) { *this = source; }

private:
    TRLRealBoundsUnit m_usedUnit = buNone;
    double m_left = 0;
    double m_top = 0;
    double m_height = 0;
    double m_width = 0;
};
