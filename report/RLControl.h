#pragma once
// The base of every report control: position and size in report pixels, the shared properties,
// size adjustment, holders, names, inherited font and colour, and the print-pass hooks.

#include "report/RLBorders.h"
#include "report/base/RLTypes.h"

#include <QColor>
#include <QFlags>
#include <QFont>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class TRLCustomControl;
class TRLCustomSite;
class TRLCustomBandSet;
class TRLCustomPager;
class TRLCustomSkipper;
class TRLCustomReport;
class TRLGraphicSurface;
class TRLRealBounds;

enum TRLControlAlign {
    faNone, faLeft, faTop, faRight, faBottom, faLeftMost, faRightMost, faClient,
    faLeftTop, faRightTop, faLeftBottom, faRightBottom,
    faCenter, faCenterLeft, faCenterTop, faCenterRight, faCenterBottom,
    faClientLeft, faClientTop, faClientRight, faClientBottom,
    faHeight, faWidth, faLeftOnly, faRightOnly, faTopOnly, faBottomOnly
};
constexpr int RLControlAlignCount = 27;

// Largest position or size a control takes (report pixels, about 44 metres).
constexpr int RLMaxCoordinate = 1 << 22;

// Whether an Align value decides the control's width (height) itself.
bool RLAlignFixesWidth(TRLControlAlign align);
bool RLAlignFixesHeight(TRLControlAlign align);

enum TRLTextAlignment { taLeftJustify, taRightJustify, taCenter, taJustify };
enum TRLTextLayout { tlTop, tlCenter, tlBottom, tlJustify };

enum TRLControlAnchorsType { fkLeft = 1, fkTop = 2, fkRight = 4, fkBottom = 8 };
Q_DECLARE_FLAGS(TRLControlAnchors, TRLControlAnchorsType)
Q_DECLARE_OPERATORS_FOR_FLAGS(TRLControlAnchors)

enum TRLControlBehaviorType { beSiteExpander = 1 };
Q_DECLARE_FLAGS(TRLControlBehavior, TRLControlBehaviorType)
Q_DECLARE_OPERATORS_FOR_FLAGS(TRLControlBehavior)

enum TRLHoldStyle { hsAsColumn, hsHorizontally, hsVertically, hsRelatively, hsCopyWidth, hsCopyHeight, hsCopySize };
enum TRLPrintQuality { pqFullFeature, pqFixedOnly };

using TRLNotifyEvent = std::function<void(TRLCustomControl *Sender)>;
using TRLBeforePrintEvent = std::function<void(TRLCustomControl *Sender, bool &PrintIt)>;
using TRLBeforeTextEvent = std::function<void(TRLCustomControl *Sender, QString &Text, bool &PrintIt)>;

// What a control needs from the report it prints in; the report implements it, so that controls,
// borders and labels do not depend on the report itself.
class TRLPrintContext
{
public:
    virtual ~TRLPrintContext() = default;
    // With pqFixedOnly only fixed border sides print.
    virtual TRLPrintQuality PrintQuality() const = 0;
    // While preparing, text controls read and write a separate print caption.
    virtual bool PreparesPages() const = 0;
    // Completion passes and blank-and-retain records print text controls empty.
    virtual bool PrintsBlankTexts() const = 0;
    // Applied to a text control's text after its own BeforePrint.
    virtual void FilterText(TRLCustomControl *sender, QString &text, bool &printIt) = 0;
};

// The answer of a BeforePrint handler (True without one).
bool RLAskBeforePrint(TRLCustomControl *sender, const TRLBeforePrintEvent &beforePrint);

class TRLCustomControl : public QObject
{
    Q_OBJECT

public:
    explicit TRLCustomControl(QObject *owner = nullptr);
    ~TRLCustomControl() override;

    // Components: the owner keeps them in creation order (Qt's child list) and destroys them.
    QString ClassName() const;
    QString Name() const { return objectName(); }
    void SetName(const QString &name);
    QObject *Owner() const { return parent(); }
    // Position among the owner's components; controls without an owner come last.
    int ComponentIndex() const;

    // The enclosing site, a relation separate from ownership.
    TRLCustomSite *Parent() const;
    void SetParent(TRLCustomSite *site);

    int Left() const { return m_bounds.Left; }
    int Top() const { return m_bounds.Top; }
    int Width() const { return m_bounds.Width(); }
    int Height() const { return m_bounds.Height(); }
    TRLRect BoundsRect() const { return m_bounds; }
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
    void SetBoundsRect(const TRLRect &r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    // Every change of position or size goes through here.
    void SetBounds(int left, int top, int width, int height);

    TRLControlAlign Align() const { return m_align; }
    void SetAlign(TRLControlAlign align);
    TRLTextAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TRLTextAlignment alignment);
    TRLTextLayout Layout() const { return m_layout; }
    void SetLayout(TRLTextLayout layout);
    TRLControlAnchors Anchors() const { return m_anchors; }
    void SetAnchors(TRLControlAnchors anchors);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);
    bool AutoExpand() const { return m_autoExpand; }
    void SetAutoExpand(bool on);
    TRLControlBehavior Behavior() const { return m_behavior; }
    void SetBehavior(TRLControlBehavior behavior) { m_behavior = behavior; }
    TRLBorders *Borders() const { return m_borders.get(); }
    TRLRealBounds *RealBounds() const { return m_realBounds.get(); }

    QColor Color() const { return m_color; }
    void SetColor(const QColor &color);
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool on);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool on) { m_transparent = on; }
    // The font and its colour travel together, as the toolkit's font object does.
    const QFont &Font() const { return m_font; }
    void SetFont(const QFont &font);
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor &color);
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool on);
    bool Visible() const { return m_visible; }
    void SetVisible(bool on);
    // Makes the control the last of its owner's components and of its site's children, so that
    // it paints over every sibling it overlaps.
    void BringToFront();

    TRLCustomControl *Holder() const { return m_holder[0]; }
    void SetHolder(TRLCustomControl *holder) { setHolder(0, holder); }
    TRLHoldStyle HoldStyle() const { return m_holdStyle[0]; }
    void SetHoldStyle(TRLHoldStyle style) { setHoldStyle(0, style); }
    TRLCustomControl *SecondHolder() const { return m_holder[1]; }
    void SetSecondHolder(TRLCustomControl *holder) { setHolder(1, holder); }
    TRLHoldStyle SecondHoldStyle() const { return m_holdStyle[1]; }
    void SetSecondHoldStyle(TRLHoldStyle style) { setHoldStyle(1, style); }

    QString FriendlyName() const { return m_friendlyName; }
    void SetFriendlyName(const QString &name);
    // FriendlyName when set, else Name.
    QString DisplayName() const;

    TRLNotifyEvent AfterPrint;
    TRLNotifyEvent OnMeasureHeight;

    // Natural size for AutoSize; the current size unless a control knows better.
    virtual QSize CalcSize() const;
    // Records the control onto its site's surface.
    virtual void Print();
    // Visible and BeforePrint decide; the answer is kept for this pass (PrintIt()).
    bool CanPrint();
    bool PrintIt() const { return m_printIt; }
    void AdjustBounds();
    void Realign();
    virtual void MeasureHeight();
    void DoAfterPrint();

    // The client rectangle of a plain control, in its own coordinates.
    virtual TRLRect ClientRect() const;
    // The text and picture rectangle, relative to the enclosing site.
    TRLRect PrintRect() const;

    TRLCustomSite *ParentSite() const { return Parent(); }
    TRLCustomBandSet *FindParentBandSet() const;
    TRLCustomPager *FindParentPager() const;
    TRLCustomSkipper *FindParentSkipper() const;
    TRLCustomReport *FindParentReport() const;
    // As above, but a missing ancestor is an error naming the control.
    TRLCustomPager *RequireParentPager() const;
    TRLCustomSkipper *RequireParentSkipper() const;
    TRLCustomReport *RequireParentReport() const;
    TRLGraphicSurface *RequireParentSurface() const;
    // The report whose settings apply: itself for a report, else the enclosing one.
    TRLCustomReport *OwnerReport() const;
    // The same seen through what controls ask of it; none outside a report.
    TRLPrintContext *PrintContext() const;
    // The control itself as a print context, when it is one: asked of every ancestor of every
    // label for every record, where a cross-cast would cost a tenth of the preparation.
    virtual TRLPrintContext *AsPrintContext() { return nullptr; }
    // While the owning report prepares, texts have a separate print caption.
    bool IsPreparing() const;

    bool IsLoading() const { return m_loading; }
    // Starts or ends the loading state by hand (TRLFormLoader does this for a whole layout).
    void BeginLoading();
    void EndLoading();
    // The load-completion step: sizes and arrangement suppressed while loading run now.
    virtual void Loaded();

    // Identifies the control on the objects it records.
    int ControlId() const { return m_controlId; }

protected:
    virtual bool DoBeforePrint() { return true; }
    // Whether the control decides its own width and height (for growing sites).
    virtual bool SizesWidth() const { return true; }
    virtual bool SizesHeight() const { return true; }
    // A control whose size is not free keeps it here.
    virtual void FixSize(int &width, int &height) const { Q_UNUSED(width); Q_UNUSED(height); }
    virtual void FontChanged();
    virtual void ColorChanged() {}
    virtual void BordersChanged();
    // Fill and borders, recorded before the control's own content.
    void PrintCommonPart(TRLGraphicSurface *surface, const TRLRect &rect);
    // The start of every print: the site's surface, marked for this control, with the common part.
    TRLGraphicSurface *BeginPrint();
    // Text is drawn in the control's font and font colour.
    void SetSurfaceFont(TRLGraphicSurface *surface) const;
    // Steps the drawing group and names the control as the source of what follows.
    void MarkSurface(TRLGraphicSurface *surface) const;
    // Sites arrange their own children after their bounds were set.
    virtual void RearrangeOwnChildren() {}
    // After the enclosing site changed (bands join their copy group).
    virtual void ParentChanged() {}
    // Measuring height: text controls take their design caption again, sites measure children.
    virtual void BeforeMeasureHeight() {}
    // Records that take values in any order (margins, page setup) follow the control's loading.
    virtual void PartsBeginLoading() {}
    virtual void PartsEndLoading() {}
    // Puts the bounds back without any of the consequences of SetBounds (after printing).
    void RestoreBounds(const TRLRect &r) { m_bounds = r; }
    // Defaults of a new control, taken without adjusting anything.
    void initBounds(int width, int height) { m_bounds = TRLRect(0, 0, width, height); }
    void initAutoSize(bool on) { m_autoSize = on; }
    void initAutoExpand(bool on) { m_autoExpand = on; }
    void initAlign(TRLControlAlign align) { m_align = align; }
    void inheritFromParent();
    void applyParentFont(const QFont &font, const QColor &color);
    void applyParentColor(const QColor &color);

    bool m_printIt = false;

private:
    friend class TRLBorders;
    friend class TRLCustomSite;
    friend class TRLFormLoader;
    friend class TRLBoundsSnapshot;

    void setHolder(int which, TRLCustomControl *holder);
    void setHoldStyle(int which, TRLHoldStyle style);
    void takeHolderOffset(int which);
    void applyHolders(int &left, int &top, int &width, int &height) const;
    void adjustHolded();
    void expandParentSite(const TRLRect &old);
    [[noreturn]] void raiseMissing(const char *what) const;

    QPointer<TRLCustomSite> m_parent;
    TRLRect m_bounds;
    TRLControlAlign m_align = faNone;
    TRLTextAlignment m_alignment = taLeftJustify;
    TRLTextLayout m_layout = tlTop;
    TRLControlAnchors m_anchors;
    bool m_autoSize = false;
    bool m_autoExpand = false;
    TRLControlBehavior m_behavior;
    std::unique_ptr<TRLBorders> m_borders;
    std::unique_ptr<TRLRealBounds> m_realBounds;
    QColor m_color = Qt::white;
    bool m_parentColor = true;
    bool m_transparent = true;
    QFont m_font;
    QColor m_fontColor = Qt::black;
    bool m_parentFont = true;
    bool m_visible = true;
    QPointer<TRLCustomControl> m_holder[2];
    TRLHoldStyle m_holdStyle[2] = {hsAsColumn, hsAsColumn};
    QPoint m_holderOffset[2];
    QList<QPointer<TRLCustomControl>> m_holded;
    QString m_friendlyName;
    bool m_loading = false;
    bool m_adjusting = false;
    bool m_settingBounds = false;
    bool m_measuring = false;
    int m_controlId;
};
