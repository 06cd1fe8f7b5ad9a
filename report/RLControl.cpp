#include "report/RLControl.h"

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/RLFormLoader.h"
#include "report/RLBand.h"
#include "report/page/RLMetaFile.h"

#include <QRegularExpression>
#include <QSet>
#include <climits>

bool RLAlignFixesWidth(TRLControlAlign align)
{
    switch (align) {
    case faTop: case faBottom: case faClient: case faClientTop: case faClientBottom: case faWidth:
        return true;
    default:
        return false;
    }
}

bool RLAlignFixesHeight(TRLControlAlign align)
{
    switch (align) {
    case faLeft: case faRight: case faLeftMost: case faRightMost: case faClient:
    case faClientLeft: case faClientRight: case faHeight:
        return true;
    default:
        return false;
    }
}

namespace {
int g_nextControlId = 0;
} // namespace

TRLCustomControl::TRLCustomControl(QObject *owner)
    : QObject(owner),
      m_borders(std::make_unique<TRLBorders>(this)),
      m_realBounds(std::make_unique<TRLRealBounds>()),
      m_controlId(++g_nextControlId)
{
    m_loading = TRLFormLoader::IsLoadingOwner(owner);
}

TRLCustomControl::~TRLCustomControl()
{
    for (int i = 0; i < 2; ++i)
        if (m_holder[i])
            m_holder[i]->m_holded.removeAll(this);
    if (m_parent)
        m_parent->removeControl(this);
}

QString TRLCustomControl::ClassName() const
{
    return QString::fromLatin1(metaObject()->className());
}

void TRLCustomControl::SetName(const QString &name)
{
    setObjectName(name);
}

int TRLCustomControl::ComponentIndex() const
{
    if (!parent())
        return INT_MAX;
    return int(parent()->children().indexOf(const_cast<TRLCustomControl *>(this)));
}

TRLCustomSite *TRLCustomControl::Parent() const
{
    return m_parent.data();
}

void TRLCustomControl::SetParent(TRLCustomSite *site)
{
    if (site == m_parent)
        return;
    // A site cannot end up inside itself.
    for (TRLCustomControl *p = site; p; p = p->Parent())
        if (p == this)
            return;
    TRLCustomSite *old = m_parent;
    if (old)
        old->removeControl(this);
    m_parent = site;
    if (site)
        site->addControl(this);
    inheritFromParent();
    ParentChanged();
    if (!m_loading) {
        AdjustBounds();
        if (site)
            site->ArrangeChildren();
    }
}

void TRLCustomControl::inheritFromParent()
{
    if (!m_parent)
        return;
    if (m_parentFont)
        applyParentFont(m_parent->Font(), m_parent->FontColor());
    if (m_parentColor)
        applyParentColor(m_parent->Color());
}

void TRLCustomControl::applyParentFont(const QFont &font, const QColor &color)
{
    m_font = font;
    m_fontColor = color;
    FontChanged();
}

void TRLCustomControl::applyParentColor(const QColor &color)
{
    m_color = color;
    ColorChanged();
}

// Positions and sizes stay in a range where every sum the layout forms fits an int.
static int clampCoordinate(int v)
{
    return qBound(-RLMaxCoordinate, v, RLMaxCoordinate);
}

void TRLCustomControl::SetBounds(int left, int top, int width, int height)
{
    // Sizes are never negative, as in the toolkit.
    left = clampCoordinate(left);
    top = clampCoordinate(top);
    width = qBound(0, width, RLMaxCoordinate);
    height = qBound(0, height, RLMaxCoordinate);
    if (m_loading) {
        FixSize(width, height);
        m_bounds = TRLRect(left, top, left + width, top + height);
        return;
    }
    const TRLRect old = m_bounds;
    FixSize(width, height);
    applyHolders(left, top, width, height);
    left = clampCoordinate(left);
    top = clampCoordinate(top);
    width = qBound(0, width, RLMaxCoordinate);
    height = qBound(0, height, RLMaxCoordinate);
    const TRLRect wanted(left, top, left + width, top + height);
    if (wanted == old) {
        RearrangeOwnChildren();
        adjustHolded();
        return;
    }
    m_bounds = wanted;
    if (m_settingBounds)
        return; // the outer call finishes the work with the latest bounds
    m_settingBounds = true;
    expandParentSite(old);
    if (m_parent)
        m_parent->ArrangeChildren();
    RearrangeOwnChildren();
    adjustHolded();
    m_settingBounds = false;
}

void TRLCustomControl::expandParentSite(const TRLRect &old)
{
    const int dw = Width() - old.Width();
    const int dh = Height() - old.Height();
    if (dw != 0 && !RLAlignFixesWidth(m_align)) {
        TRLCustomSite *site = m_parent;
        while (site && RLAlignFixesWidth(site->Align()))
            site = site->Parent();
        if (site && site->SizesWidth()) {
            if (site->AutoSize())
                site->AdjustBounds();
            else if (site->AutoExpand() && m_behavior.testFlag(beSiteExpander))
                site->SetWidth(site->Width() + dw);
        }
    }
    if (dh != 0 && !RLAlignFixesHeight(m_align)) {
        TRLCustomSite *site = m_parent;
        while (site && RLAlignFixesHeight(site->Align()))
            site = site->Parent();
        if (site && site->SizesHeight()) {
            if (site->AutoSize())
                site->AdjustBounds();
            else if (site->AutoExpand() && m_behavior.testFlag(beSiteExpander))
                site->SetHeight(site->Height() + dh);
        }
    }
}

void TRLCustomControl::AdjustBounds()
{
    if (m_loading || m_adjusting)
        return;
    m_adjusting = true;
    const QSize natural = CalcSize();
    int w = qMax(0, natural.width());
    int h = qMax(0, natural.height());
    int left = Left();
    int top = Top();
    // Centring rounds the size up to even, so that the margins on both sides are equal.
    switch (m_alignment) {
    case taRightJustify:
        left = Left() + Width() - w;
        break;
    case taCenter:
        w += w % 2;
        left = Left() + (Width() - w) / 2;
        break;
    default:
        break;
    }
    switch (m_layout) {
    case tlBottom:
        top = Top() + Height() - h;
        break;
    case tlCenter:
        h += h % 2;
        top = Top() + (Height() - h) / 2;
        break;
    default:
        break;
    }
    try {
        SetBounds(left, top, w, h);
    } catch (...) {
        m_adjusting = false;
        throw;
    }
    m_adjusting = false;
}

void TRLCustomControl::Realign()
{
    if (m_parent)
        m_parent->ArrangeChildren();
}

void TRLCustomControl::SetAlign(TRLControlAlign align)
{
    if (align == m_align)
        return;
    const TRLControlAlign old = m_align;
    m_align = align;
    if (align != faNone)
        m_anchors = {};
    if (m_loading)
        return;
    if ((RLAlignFixesWidth(old) && !RLAlignFixesWidth(align))
        || (RLAlignFixesHeight(old) && !RLAlignFixesHeight(align)))
        AdjustBounds();
    Realign();
}

void TRLCustomControl::SetAlignment(TRLTextAlignment alignment)
{
    m_alignment = alignment;
    AdjustBounds();
}

void TRLCustomControl::SetLayout(TRLTextLayout layout)
{
    m_layout = layout;
    AdjustBounds();
}

void TRLCustomControl::SetAnchors(TRLControlAnchors anchors)
{
    m_anchors = anchors;
    if (m_align != faNone) {
        m_align = faNone;
        Realign();
    }
}

void TRLCustomControl::SetAutoSize(bool on)
{
    m_autoSize = on;
    AdjustBounds();
}

void TRLCustomControl::SetAutoExpand(bool on)
{
    m_autoExpand = on;
    AdjustBounds();
}

void TRLCustomControl::SetColor(const QColor &color)
{
    m_parentColor = false;
    m_color = color;
    if (!m_loading && color.rgb() != QColor(Qt::white).rgb())
        m_transparent = false;
    ColorChanged();
}

void TRLCustomControl::SetParentColor(bool on)
{
    m_parentColor = on;
    if (on && m_parent)
        applyParentColor(m_parent->Color());
}

void TRLCustomControl::SetFont(const QFont &font)
{
    m_parentFont = false;
    m_font = font;
    FontChanged();
}

void TRLCustomControl::SetFontColor(const QColor &color)
{
    m_parentFont = false;
    m_fontColor = color;
    FontChanged();
}

void TRLCustomControl::SetParentFont(bool on)
{
    m_parentFont = on;
    if (on && m_parent)
        applyParentFont(m_parent->Font(), m_parent->FontColor());
}

void TRLCustomControl::FontChanged()
{
    AdjustBounds();
}

void TRLCustomControl::BordersChanged()
{
    AdjustBounds();
}

void TRLCustomControl::SetVisible(bool on)
{
    if (on == m_visible)
        return;
    m_visible = on;
    if (!m_loading)
        Realign();
}

void TRLCustomControl::BringToFront()
{
    // Qt appends a child that joins its parent, and siblings paint in their owner's order.
    if (QObject *owner = parent()) {
        setParent(nullptr);
        setParent(owner);
    }
    if (m_parent) {
        m_parent->m_controls.removeAll(this);
        m_parent->m_controls.append(this);
    }
}

// --- holders ---------------------------------------------------------------------------------

void TRLCustomControl::setHolder(int which, TRLCustomControl *holder)
{
    if (holder == m_holder[which])
        return;
    // No control may end up holding on to itself through a chain of holders.
    QList<TRLCustomControl *> pending{holder};
    QSet<TRLCustomControl *> seen;
    while (!pending.isEmpty()) {
        TRLCustomControl *c = pending.takeLast();
        if (!c || seen.contains(c))
            continue;
        if (c == this)
            return;
        seen.insert(c);
        pending << c->m_holder[0].data() << c->m_holder[1].data();
    }
    if (m_holder[which] && m_holder[1 - which] != m_holder[which])
        m_holder[which]->m_holded.removeAll(this);
    m_holder[which] = holder;
    if (holder && !holder->m_holded.contains(this))
        holder->m_holded.append(this);
    takeHolderOffset(which);
    if (!m_loading)
        SetBounds(Left(), Top(), Width(), Height());
}

void TRLCustomControl::setHoldStyle(int which, TRLHoldStyle style)
{
    m_holdStyle[which] = style;
    takeHolderOffset(which);
    if (!m_loading)
        SetBounds(Left(), Top(), Width(), Height());
}

void TRLCustomControl::takeHolderOffset(int which)
{
    if (const TRLCustomControl *h = m_holder[which])
        m_holderOffset[which] = QPoint(Left() - h->Left(), Top() - h->Top());
}

void TRLCustomControl::applyHolders(int &left, int &top, int &width, int &height) const
{
    const bool widthFree = !RLAlignFixesWidth(m_align) && !(SizesWidth() && m_autoSize);
    const bool heightFree = !RLAlignFixesHeight(m_align) && !(SizesHeight() && m_autoSize);
    for (int i = 0; i < 2; ++i) {
        const TRLCustomControl *h = m_holder[i];
        if (!h)
            continue;
        auto alignOffset = [&] {
            if (m_alignment == taRightJustify)
                return h->Width() - width;
            if (m_alignment == taCenter)
                return (h->Width() - width) / 2;
            return 0;
        };
        auto layoutOffset = [&] {
            if (m_layout == tlBottom)
                return h->Height() - height;
            if (m_layout == tlCenter)
                return (h->Height() - height) / 2;
            return 0;
        };
        switch (m_holdStyle[i]) {
        case hsAsColumn:
            // Width first, so that the alignment offset is taken against the final width.
            if (widthFree)
                width = h->Width();
            left = h->Left() + alignOffset();
            break;
        case hsHorizontally:
            left = h->Left() + m_holderOffset[i].x() + alignOffset();
            break;
        case hsVertically:
            top = h->Top() + m_holderOffset[i].y() + layoutOffset();
            break;
        case hsRelatively:
            left = h->Left() + m_holderOffset[i].x() + alignOffset();
            top = h->Top() + m_holderOffset[i].y() + layoutOffset();
            break;
        case hsCopyWidth:
            if (widthFree)
                width = h->Width();
            break;
        case hsCopyHeight:
            if (heightFree)
                height = h->Height();
            break;
        case hsCopySize:
            if (widthFree)
                width = h->Width();
            if (heightFree)
                height = h->Height();
            break;
        }
    }
}

void TRLCustomControl::adjustHolded()
{
    const auto holded = m_holded;
    for (const auto &c : holded)
        if (c)
            c->SetBounds(c->Left(), c->Top(), c->Width(), c->Height());
}

// --- names -----------------------------------------------------------------------------------

void TRLCustomControl::SetFriendlyName(const QString &name)
{
    if (name.isEmpty() || name == Name()) {
        m_friendlyName.clear();
        return;
    }
    static const QRegularExpression ident(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!ident.match(name).hasMatch()) {
        if (m_loading) {
            m_friendlyName.clear();
            return;
        }
        throw TRLException(RLMessage(rlmInvalidName) + QStringLiteral(" \"") + name + QLatin1Char('"'));
    }
    if (QObject *owner = Owner()) {
        for (QObject *o : owner->children()) {
            auto *c = qobject_cast<TRLCustomControl *>(o);
            if (c && c != this && c->m_friendlyName.compare(name, Qt::CaseInsensitive) == 0)
                throw TRLException(RLMessage(rlmNameInUse) + QStringLiteral(" \"") + name + QLatin1Char('"'));
        }
    }
    m_friendlyName = name;
}

QString TRLCustomControl::DisplayName() const
{
    return m_friendlyName.isEmpty() ? Name() : m_friendlyName;
}

// --- ancestors -------------------------------------------------------------------------------

template <class T>
static T *findAncestor(const TRLCustomControl *control)
{
    for (TRLCustomSite *s = control->Parent(); s; s = s->Parent())
        if (auto *t = qobject_cast<T *>(s))
            return t;
    return nullptr;
}

TRLCustomBandSet *TRLCustomControl::FindParentBandSet() const { return findAncestor<TRLCustomBandSet>(this); }
TRLCustomPager *TRLCustomControl::FindParentPager() const { return findAncestor<TRLCustomPager>(this); }
TRLCustomSkipper *TRLCustomControl::FindParentSkipper() const { return findAncestor<TRLCustomSkipper>(this); }

void TRLCustomControl::raiseMissing(const char *what) const
{
    throw TRLException(RLMessage(rlmNotFound) + QStringLiteral(": ") + Name() + QLatin1String(what));
}

TRLCustomPager *TRLCustomControl::RequireParentPager() const
{
    if (auto *p = FindParentPager())
        return p;
    raiseMissing(".ParentPager");
}

TRLCustomSkipper *TRLCustomControl::RequireParentSkipper() const
{
    if (auto *p = FindParentSkipper())
        return p;
    raiseMissing(".ParentSkipper");
}

TRLGraphicSurface *TRLCustomControl::RequireParentSurface() const
{
    if (m_parent)
        if (TRLGraphicSurface *s = m_parent->Surface())
            return s;
    raiseMissing(".ParentSurface");
}

TRLPrintContext *TRLCustomControl::PrintContext() const
{
    for (const TRLCustomControl *c = this; c; c = c->Parent())
        if (auto *context = const_cast<TRLCustomControl *>(c)->AsPrintContext())
            return context;
    return nullptr;
}

bool TRLCustomControl::IsPreparing() const
{
    const TRLPrintContext *context = PrintContext();
    return context && context->PreparesPages();
}

// --- operations ------------------------------------------------------------------------------

QSize TRLCustomControl::CalcSize() const
{
    return QSize(Width(), Height());
}

bool TRLCustomControl::CanPrint()
{
    m_printIt = m_visible && DoBeforePrint();
    return m_printIt;
}

void TRLCustomControl::DoAfterPrint()
{
    if (AfterPrint)
        AfterPrint(this);
}

void TRLCustomControl::MeasureHeight()
{
    if (!m_visible || !(m_autoSize || m_autoExpand || OnMeasureHeight) || m_loading || m_measuring)
        return;
    m_measuring = true;
    try {
        BeforeMeasureHeight();
        if (OnMeasureHeight)
            OnMeasureHeight(this);
        AdjustBounds();
    } catch (...) {
        m_measuring = false;
        throw;
    }
    m_measuring = false;
}

void TRLCustomControl::Print()
{
    BeginPrint();
}

TRLGraphicSurface *TRLCustomControl::BeginPrint()
{
    TRLGraphicSurface *surface = RequireParentSurface();
    MarkSurface(surface);
    PrintCommonPart(surface, BoundsRect());
    return surface;
}

void TRLCustomControl::SetSurfaceFont(TRLGraphicSurface *surface) const
{
    surface->SetFont(m_font);
    surface->SetFontColor(m_fontColor);
}

bool RLAskBeforePrint(TRLCustomControl *sender, const TRLBeforePrintEvent &beforePrint)
{
    bool printIt = true;
    if (beforePrint)
        beforePrint(sender, printIt);
    return printIt;
}

void TRLCustomControl::MarkSurface(TRLGraphicSurface *surface) const
{
    NextDrawGroup();
    surface->SetSourceControlId(m_controlId);
}

void TRLCustomControl::PrintCommonPart(TRLGraphicSurface *surface, const TRLRect &rect)
{
    if (!m_transparent) {
        surface->SetBrush(QBrush(m_color, Qt::SolidPattern));
        surface->FillRect(rect);
    }
    m_borders->Paint(surface, rect);
}

TRLRect TRLCustomControl::ClientRect() const
{
    return m_borders->Shrink(TRLRect(0, 0, Width(), Height()), 1);
}

TRLRect TRLCustomControl::PrintRect() const
{
    return m_borders->Shrink(BoundsRect());
}

void TRLCustomControl::BeginLoading()
{
    m_loading = true;
    PartsBeginLoading();
}

void TRLCustomControl::EndLoading()
{
    if (!m_loading)
        return;
    m_loading = false;
    Loaded();
}

void TRLCustomControl::Loaded()
{
    PartsEndLoading();
    AdjustBounds();
}
