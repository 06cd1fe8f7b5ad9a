#pragma once
// Recorded pages: report controls draw onto a TRLGraphicSurface, which records one graphic object
// per call instead of painting; a TRLGraphicStorage keeps the finished pages in a temporary page
// file (five in memory) and hands them back to output, which replays them onto a QPainter.

#include "report/base/RLTypes.h"
#include "report/page/RLMetaFileObjects.h"
#include "report/page/RLPenCells.h"

#include <QBrush>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPen>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QtGlobal>

#include <QObject>

#include <memory>
#include <vector>

class QFile;
class QIODevice;
class QPainter;
class TRLGraphicSurface;
class TRLGraphicStorage;
class TRLPageReader;
class TRLPageWriter;
class TRLReplayCanvas;
class TRLTextMeasure;

// ---------------------------------------------------------------------------------------------
// Where a page is replayed: device x = OffsetX + round(x * FactorX), likewise for y. Keeps the
// clip stack of the set/reset clip objects; the painter is clipped when something is drawn.
class TRLReplayCanvas
{
public:
    // The initial clip is the given device rectangle (none when empty). FontPixelsPerInch is the
    // resolution the painter's fonts are sized for; 0 takes the device's vertical resolution.
    TRLReplayCanvas(QPainter *painter, int offsetX, int offsetY, double factorX, double factorY,
                    const QRect &clip = QRect(), int fontPixelsPerInch = 0);
    ~TRLReplayCanvas(); // removes the clipping it applied

    // The painter, clipped as the page has it by now.
    QPainter *Painter() const
    {
        syncClip();
        return m_painter;
    }
    int OffsetX() const { return m_offsetX; }
    int OffsetY() const { return m_offsetY; }
    double FactorX() const { return m_factorX; }
    double FactorY() const { return m_factorY; }
    int FontPixelsPerInch() const { return m_fontPixelsPerInch; }

    int MapX(int x) const;
    int MapY(int y) const;
    QPoint MapPoint(const QPoint &p) const { return QPoint(MapX(p.x()), MapY(p.y())); }
    // Corners mapped alone; an empty result grows to one pixel on that axis.
    TRLRect MapRect(const TRLRect &r) const;
    int MapPenWidth(int width) const;
    TRLDeviceMap DeviceMap() const { return {m_offsetX, m_offsetY, m_factorX, m_factorY}; }

    void PushClip(const TRLRect &deviceRect);
    void PopClip();
    const TRLRect &ClipRect() const { return m_clip; }
    // A visible area in device pixels that bounds the work for hostile coordinates.
    QRect WorkArea() const { return m_workArea; }

    // Fonts and text measures made while replaying onto this canvas, kept for its page.
    struct TextCache;
    TextCache &Texts() { return *m_texts; }
    // Clips the painter to the rectangle within the current clip for one object; RestoreClip
    // goes back to the current clip. False when nothing of the rectangle can show.
    bool ClipTemporarily(const TRLRect &deviceRect);
    void RestoreClip() { m_clipPending = true; }

private:
    // Clips change the painter only when something is drawn: a band's slice set and reset with
    // nothing drawn in it would otherwise cost a clip state each in a printer's or PDF's output.
    void syncClip() const;

    QPainter *m_painter;
    int m_offsetX;
    int m_offsetY;
    double m_factorX;
    double m_factorY;
    int m_fontPixelsPerInch;
    TRLRect m_clip; // empty: no clipping
    mutable TRLRect m_painterClip; // what the painter has, once m_clipPending is false
    mutable bool m_clipPending = true;
    mutable bool m_painterClipKnown = false;
    std::vector<TRLRect> m_clipStack;
    QRect m_workArea;
    std::unique_ptr<TextCache> m_texts;
};

// ---------------------------------------------------------------------------------------------
// One recorded page in report pixels (origin at the paper's top-left corner).
class TRLGraphicSurface
{
public:
    TRLGraphicSurface();
    ~TRLGraphicSurface();
    TRLGraphicSurface(const TRLGraphicSurface &) = delete;
    TRLGraphicSurface &operator=(const TRLGraphicSurface &) = delete;

    // Recording: each call opens the surface, sets Modified and appends exactly one object.
    void FillRect(const TRLRect &rect);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRLRect &rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void Polygon(const TRLMetaPointArray &points);
    void TextRect(const TRLRect &rect, int x, int y, const QString &text, quint8 alignment = mtaLeft,
                  quint8 layout = mtlTop, quint16 textOptions = MetaTextFlagUnclipped | MetaTextFlagKeepWhole);
    void Draw(int x, int y, const QImage &graphic, bool wholeWidths = false);
    void StretchDraw(const TRLRect &rect, const QImage &graphic, bool wholeWidths = false);
    void FitDraw(const TRLRect &rect, const QImage &graphic, bool center);
    void CropDraw(const TRLRect &rect, const QImage &graphic, bool center);
    void SetClipRect(const TRLRect &rect);
    void ResetClipRect();

    void Open();
    void Close() { m_opened = false; }
    void Clear();

    int TextWidth(const QString &text) const;
    int TextHeight(const QString &text) const;

    // Appends copies of the source's objects moved by (x, y): a control's surface onto its site's.
    void MergeSurface(int x, int y, const TRLGraphicSurface &source);
    // Copies the objects touching sourceRect, scaled into dest and clipped to it: a band's slice.
    void CopyRect(const TRLRect &dest, const TRLGraphicSurface &source, const TRLRect &sourceRect);
    // Moves row up until no keep-whole text is cut by it; true when the row stays above 0.
    bool FindCutRow(int &row) const;

    int ObjectCount() const { return int(m_objects.size()); }
    TRLGraphicObject *Objects(int index) const { return m_objects.at(size_t(index)); }

    void SaveToStream(QIODevice *stream) const;
    QByteArray SaveToBytes() const;
    // Clears first; throws TRLException("File is corrupted!") on any bad or missing byte.
    // limit bounds the bytes the page may take (-1: the rest of the stream).
    void LoadFromStream(QIODevice *stream, qint64 limit = -1);
    void LoadFromBytes(const QByteArray &bytes);

    // Replays every object; the canvas carries offset, factors and clipping.
    void PaintTo(TRLReplayCanvas &canvas) const;
    void PaintTo(QPainter *painter, int offsetX, int offsetY, double factorX, double factorY) const;

    TRLGraphicStorage *Storage() const { return m_storage; }
    void SetStorage(TRLGraphicStorage *storage);
    int PageIndex() const { return m_pageIndex; }
    void SetPageIndex(int index) { m_pageIndex = index; }

    int Width() const { return m_width; }
    void SetWidth(int width) { m_width = width; }
    int Height() const { return m_height; }
    void SetHeight(int height) { m_height = height; }
    QPoint PenPos() const { return m_penPos; }
    void SetPenPos(const QPoint &pos) { m_penPos = pos; }
    const TRLRect &Margins() const { return m_margins; }
    void SetMargins(const TRLRect &margins) { m_margins = margins; }
    bool Opened() const { return m_opened; }
    bool Modified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    const QBrush &Brush() const { return m_brush; }
    void SetBrush(const QBrush &brush) { m_brush = brush; }
    const QPen &Pen() const { return m_pen; }
    void SetPen(const QPen &pen) { m_pen = pen; }
    TRLMetaPenMode PenMode() const { return m_penMode; }
    void SetPenMode(TRLMetaPenMode mode) { m_penMode = mode; }
    const QFont &Font() const { return m_font; }
    void SetFont(const QFont &font) { m_font = font; }
    // A widget font has no colour of its own; text objects take this one.
    const QColor &FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor &color) { m_fontColor = color; }

    const QStringList &Fonts() const { return m_fonts; }
    // Index of the name in Fonts (without regard to case), appended when absent.
    int FontNameId(const QString &name);
    const TRLRect &ClipRect() const { return m_clipRect; }
    int SourceControlId() const { return m_sourceControlId; }
    void SetSourceControlId(int id) { m_sourceControlId = id; }

    TRLNameValueList &Macros() { return m_macros; }
    const TRLNameValueList &Macros() const { return m_macros; }
    int Orientation() const;
    void SetOrientation(int orientation);
    double PaperWidth() const;
    void SetPaperWidth(double mm);
    double PaperHeight() const;
    void SetPaperHeight(double mm);

private:
    friend class TRLGraphicObject;
    friend class TRLGraphicStorage;
    template <class T> T *record(const TRLRect &bounds);
    void load(TRLPageReader &reader);
    void detach(TRLGraphicObject *object);
    void recordFont(TRLMetaFont &meta);

    TRLGraphicStorage *m_storage = nullptr;
    int m_pageIndex = -1;
    std::vector<TRLGraphicObject *> m_objects;
    QPoint m_penPos;
    int m_width = 0;
    int m_height = 0;
    QBrush m_brush;
    QFont m_font;
    QColor m_fontColor;
    QPen m_pen;
    TRLMetaPenMode m_penMode = mpmCopy;
    TRLRect m_margins;
    bool m_opened = false;
    bool m_modified = false;
    QStringList m_fonts;
    std::vector<TRLRect> m_clipStack;
    TRLRect m_clipRect;
    int m_sourceControlId = 0;
    TRLNameValueList m_macros;
    // The measure of the last font: labels of a band measure in one font, record after record.
    struct TextMeasure;
    TRLTextMeasure &measure() const;
    mutable std::unique_ptr<TextMeasure> m_measure;
};

// ---------------------------------------------------------------------------------------------
// The page store of one report: every page goes to a temporary file, the last five stay in memory.
// A store without owner releases itself when the last output filter using it lets go.
class TRLGraphicStorage : public QObject
{
    Q_OBJECT
public:
    explicit TRLGraphicStorage(QObject *owner = nullptr);
    ~TRLGraphicStorage() override;

    // Takes the surface (the store owns it from now on), writes it and caches it.
    void Add(TRLGraphicSurface *surface);
    int PageCount() const { return int(m_pageOffsets.size()); }
    // The page n (from 0), from the cache or the page file; none when out of range or unreadable.
    // The surface belongs to the store and stays valid until five other pages have been fetched.
    TRLGraphicSurface *Pages(int n);
    void Clear();

    void Link(QObject *filter);
    void Unlink(QObject *filter);
    const QList<QObject *> &Filters() const { return m_filters; }

    TRLNameValueList &Header() { return m_header; }
    const TRLNameValueList &Header() const { return m_header; }
    QString Title() const;
    void SetTitle(const QString &title);
    int Orientation() const;
    void SetOrientation(int orientation);
    double PaperWidth() const;
    void SetPaperWidth(double mm);
    double PaperHeight() const;
    void SetPaperHeight(double mm);
    int FirstPageNumber() const;
    void SetFirstPageNumber(int number);
    int LastPageNumber() const;
    void SetLastPageNumber(int number);

    QString FileName() const { return m_fileName; }
    static constexpr int CacheSize = 5;

private:
    friend class TRLGraphicSurface;
    void writePage(TRLGraphicSurface *surface);
    void addToCache(TRLGraphicSurface *surface);
    void takeFromCache(TRLGraphicSurface *surface);
    TRLGraphicSurface *loadPage(int n);
    void releaseFile();

    std::vector<TRLGraphicSurface *> m_cache; // oldest first, owned
    std::vector<qint64> m_pageOffsets;
    std::unique_ptr<QFile> m_pageFile;
    QString m_fileName;
    TRLNameValueList m_header;
    QList<QObject *> m_filters;
};
