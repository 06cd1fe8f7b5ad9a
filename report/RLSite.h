#pragma once
// Sites: report controls that hold other report controls. A site has margins and the areas
// derived from them, arranges its children by Align and Anchors, and on a page records its
// children on its own surface, then puts itself (fill or gradient, background picture, borders,
// contents) onto the surface of the site around it.

#include "report/RLBackground.h"
#include "report/RLControl.h"
#include "report/base/RLTypes.h"

#include <memory>

class TRLCustomSite : public TRLCustomControl, public TRLMarginsOwner
{
    Q_OBJECT

public:
    explicit TRLCustomSite(QObject *owner = nullptr);
    ~TRLCustomSite() override;

    TRLMargins *Margins() const { return m_margins.get(); }
    TRLMargins *InsideMargins() const { return m_insideMargins.get(); }
    TRLBackground *Background() const { return m_background.get(); }
    TRLDegradeEffect *Degrade() const { return m_degrade.get(); }
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on) { m_enabled = on; }

    TRLBeforePrintEvent BeforePrint;

    // Child controls in the order they joined; ControlsInCreationOrder() in the owner's order.
    const QList<TRLCustomControl *> &Controls() const { return m_controls; }
    int ControlCount() const { return int(m_controls.size()); }
    QList<TRLCustomControl *> ControlsInCreationOrder() const;

    // Areas relative to the site.
    TRLRect OuterRect() const { return TRLRect(0, 0, Width(), Height()); }
    TRLRect MarginRect() const;
    TRLRect BorderRect() const;
    TRLRect ClientRect() const override;
    // Where the site lies on the enclosing surface; computed when it opens.
    TRLRect PrintArea() const { return m_printArea; }

    // Places the children inside the client rectangle by their Align and Anchors.
    void ArrangeChildren();
    void MarginsChanged() override;

    // The surface its children print onto: its own, the page for a report.
    virtual TRLGraphicSurface *Surface();
    bool IsOpen() const { return m_open; }
    // Open: print area, fresh surface with the client rectangle as margins, then the non-site
    // children. Close: the site is put onto the enclosing surface.
    void OpenSite();
    void CloseSite();
    // After a failed pass: the site and every site inside it count as closed again.
    void AbandonOpen();
    // A site prints by opening and closing.
    void Print() override;
    // Can-print and adjust every non-site child in creation order, then print those that may.
    void PrintNonSiteChildren();
    // Child sites that may print, each opened and closed (bands do this after their controls).
    void PrintChildSites();
    // Fill or gradient, background picture, borders, then the own surface's contents.
    virtual void DrawOnto(TRLGraphicSurface *target, const TRLRect &area);
    // The first three of those alone.
    void DrawBackground(TRLGraphicSurface *target, const TRLRect &area);

    // With AutoSize: the size that holds the visible children, along the axes the site sizes.
    QSize CalcSize() const override;
    void Loaded() override;

    // Place in the arrangement order: plain controls 0, bands by type, groups 32, other sites 100.
    virtual int ArrangeKind() const { return 100; }
    static int arrangeKindOf(const TRLCustomControl *control);

protected:
    bool DoBeforePrint() override { return RLAskBeforePrint(this, BeforePrint); }
    void FontChanged() override;
    void ColorChanged() override;
    void BordersChanged() override;
    void RearrangeOwnChildren() override { ArrangeChildren(); }
    void PartsBeginLoading() override;
    void PartsEndLoading() override;
    void BeforeMeasureHeight() override;

    // Hooks of the page pass for pagers and the report.
    virtual void ComputePrintArea();
    virtual void PageStarting() {}
    virtual void PrintPageHeader() {}
    virtual void PageStarted() {}
    virtual void PageEnding() {}
    virtual void PutOnEnclosingSurface();
    virtual void PageClosed() {}
    // Bands print their child sites after their own controls.
    virtual bool PrintsChildSites() const { return false; }
    // Gets the surface ready for a new pass: size, margins, emptied and opened.
    virtual void PrepareSurface();

    TRLRect m_printArea;

private:
    friend class TRLCustomControl;
    void addControl(TRLCustomControl *control);
    void removeControl(TRLCustomControl *control);
    void arrange();

    std::unique_ptr<TRLMargins> m_margins;
    std::unique_ptr<TRLMargins> m_insideMargins;
    std::unique_ptr<TRLBackground> m_background;
    std::unique_ptr<TRLDegradeEffect> m_degrade;
    std::unique_ptr<TRLGraphicSurface> m_surface;
    QList<TRLCustomControl *> m_controls;
    QSize m_arrangedSize{-1, -1};
    bool m_enabled = true;
    bool m_arranging = false;
    bool m_open = false;
    bool m_destroying = false;
};

// The bounds of a control and all its descendants, put back after a print pass so that growth
// while printing never changes the design.
class TRLBoundsSnapshot
{
public:
    explicit TRLBoundsSnapshot(TRLCustomControl *root);
    void Restore() const;

private:
    QList<QPair<QPointer<TRLCustomControl>, TRLRect>> m_saved;
};
