#pragma once
// The main window's replicas and panels as data: rows of frames, pictures, texts and entry
// fields with their positions (in pixels, relative to their panel), fonts and limits, so
// that the tables can be read beside the paper forms. TPageBuilder turns them into widgets.

#include <QColor>
#include <Qt>
#include <cstddef>

// A font given by family and height in pixels; no family means the window's own font.
struct TFontSpec {
    const char *family = nullptr;
    int pixelSize = 0;
    bool bold = false;
};

// Colours as 0xAARRGGBB; kDefaultColour leaves the system's colour role in place.
constexpr QRgb kDefaultColour = 0;

struct TFrameRow {
    const char *name;
    int left, top, width, height;
    int penWidth;
    enum Fill { White, Clear, Solid } fill;
    const char *hint;
};

struct TPictureRow {
    const char *name;
    int left, top, width, height;
    const char *resource; // under ":/pictures/"
    bool stretch;         // otherwise drawn unscaled from the top-left corner
};

struct TTextRow {
    const char *name;
    int left, top;
    int width, height; // 0 x 0: the text's natural size
    const char *text;
    TFontSpec font;
    QRgb colour;
    QRgb background;
    int flags; // TTextRow::Flag values
    const char *hint;

    // Sizes given are minimums that a longer text may exceed, unless Fixed. Computed: the
    // program writes its caption (a total), so it exists as soon as the fields do.
    enum Flag { Plain = 0, WordWrap = 1, AlignRight = 2, AlignCentre = 4, Link = 8, Fixed = 16, Computed = 32 };
};

struct TFieldRow {
    enum Kind { Edit, Date, Number, Memo, ReadOnlyMemo };

    const char *name;
    Kind kind;
    int left, top, width, height;
    Qt::Alignment alignment;
    TFontSpec font;
    int maxLength; // 0: no limit
    const char *hint;
    QRgb background; // kDefaultColour: the button face, so fields show as shaded areas
    const char *text; // contents at load
};

// A view of a static array of rows.
template <class T>
class TRows
{
public:
    constexpr TRows() = default;
    template <std::size_t N>
    constexpr TRows(const T (&rows)[N]) : m_begin(rows), m_end(rows + N)
    {
    }
    constexpr const T *begin() const { return m_begin; }
    constexpr const T *end() const { return m_end; }
    constexpr std::size_t size() const { return std::size_t(m_end - m_begin); }

private:
    const T *m_begin = nullptr;
    const T *m_end = nullptr;
};

// Everything of one panel, built in this order so that later rows paint over earlier ones;
// the fields are listed in tab order.
struct TPageLayout {
    QRgb penColour;
    TRows<TFrameRow> frames;
    TRows<TPictureRow> pictures;
    TRows<TTextRow> texts;
    TRows<TFieldRow> fields;
};

const TPageLayout &HeaderLayout();
const TPageLayout &DarfPageLayout();
const TPageLayout &GarePageLayout();

// The bottom panel: the print options and the two buttons, in tab order.
struct TButtonRow {
    enum Kind { Check, Radio, Push };
    const char *name;
    Kind kind;
    int left, top, width, height;
    const char *caption;
    const char *picture;         // under ":/pictures/", for the enabled state
    const char *disabledPicture; // the same for the disabled state
};
TRows<TButtonRow> ButtonPanelLayout();
