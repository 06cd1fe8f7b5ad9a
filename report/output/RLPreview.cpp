#include "report/output/RLPreview.h"

#include "report/base/RLConsts.h"
#include "report/base/RLHost.h"
#include "report/page/RLMetaFile.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int severalPagesMax = 4;
constexpr double zoomStep = 1.25;

enum class Glyph { First, Prior, Next, Last, WholePage, PageWidth, SeveralPages, ZoomIn, ZoomOut };

// The toolbar's pictures, drawn for each pixel ratio so that they stay sharp.
void drawGlyph(QPainter &p, Glyph glyph)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x30, 0x30, 0x30);
    p.setPen(QPen(ink, 1.4));
    auto triangle = [&p, &ink](double tip, double base) {
        QPainterPath path;
        path.moveTo(base, 3.5);
        path.lineTo(tip, 8);
        path.lineTo(base, 12.5);
        path.closeSubpath();
        p.fillPath(path, ink);
    };
    auto sheet = [&p](const QRectF &r) {
        p.fillRect(r, Qt::white);
        p.drawRect(r);
    };
    switch (glyph) {
    case Glyph::First:
        p.drawLine(QPointF(4, 3.5), QPointF(4, 12.5));
        triangle(5, 11);
        break;
    case Glyph::Prior:
        triangle(4.5, 10.5);
        break;
    case Glyph::Next:
        triangle(11.5, 5.5);
        break;
    case Glyph::Last:
        p.drawLine(QPointF(12, 3.5), QPointF(12, 12.5));
        triangle(11, 5);
        break;
    case Glyph::WholePage:
        sheet(QRectF(4.5, 1.5, 7, 13));
        break;
    case Glyph::PageWidth:
        sheet(QRectF(1.5, 3.5, 13, 11));
        p.drawLine(QPointF(3.5, 8), QPointF(12.5, 8));
        break;
    case Glyph::SeveralPages:
        sheet(QRectF(1.5, 3.5, 6, 9));
        sheet(QRectF(8.5, 3.5, 6, 9));
        break;
    case Glyph::ZoomIn:
    case Glyph::ZoomOut:
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.setPen(QPen(ink, 2.2));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
        p.setPen(QPen(ink, 1.4));
        p.drawLine(QPointF(3.8, 6), QPointF(8.2, 6));
        if (glyph == Glyph::ZoomIn)
            p.drawLine(QPointF(6, 3.8), QPointF(6, 8.2));
        break;
    }
}

QIcon glyphIcon(Glyph glyph)
{
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        QPixmap pixmap(QSize(16, 16) * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        drawGlyph(p, glyph);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QString withShortcut(const QString &text, const QKeySequence &keys)
{
    return QStringLiteral("%1 (%2)").arg(text, keys.toString(QKeySequence::NativeText));
}

} // namespace

// ---- Pages ------------------------------------------------------------------------------------

TRLPreviewPages::TRLPreviewPages(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PreviewPages"));
    setAutoFillBackground(false);
}

void TRLPreviewPages::SetStore(TRLGraphicStorage *store)
{
    m_store = store;
    m_cache.clear();
    update();
}

QSize TRLPreviewPages::PageSize(int page) const
{
    if (m_store) {
        if (TRLGraphicSurface *surface = m_store->Pages(page); surface && surface->Width() > 0 && surface->Height() > 0)
            return QSize(surface->Width(), surface->Height());
    }
    return QSize(794, 1123);
}

void TRLPreviewPages::Show(int firstPage, int pageCount, double zoom)
{
    m_first = firstPage;
    m_count = std::max(1, pageCount);
    m_zoom = zoom;
    m_cache.clear();
    int width = Gap, height = 0;
    for (int i = 0; i < m_count; ++i) {
        const QRect r = PageRect(i);
        width = r.right() + 1 + Gap;
        height = std::max(height, r.bottom() + 1 + Gap);
    }
    setFixedSize(width, height);
    update();
}

QRect TRLPreviewPages::PageRect(int index) const
{
    int left = Gap;
    for (int i = 0; i < index; ++i)
        left += int(std::lround(PageSize(m_first + i).width() * m_zoom)) + Gap;
    const QSize page = PageSize(m_first + index);
    return QRect(left, Gap, int(std::lround(page.width() * m_zoom)), int(std::lround(page.height() * m_zoom)));
}

QImage TRLPreviewPages::RenderPage(TRLGraphicSurface *surface, const QSize &logical, qreal ratio)
{
    const QSize device = logical * ratio;
    QImage image(device, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (surface && surface->Width() > 0 && surface->Height() > 0) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        // Replayed at device pixels, as onto a printer of that resolution: never a scaled bitmap.
        const double fx = double(device.width()) / surface->Width();
        const double fy = double(device.height()) / surface->Height();
        TRLReplayCanvas canvas(&painter, 0, 0, fx, fy, QRect(QPoint(0, 0), device));
        surface->PaintTo(canvas);
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

QImage TRLPreviewPages::render(int page, const QSize &logical, qreal ratio)
{
    const QSize device = logical * ratio;
    const QString key = QStringLiteral("%1:%2x%3").arg(page).arg(device.width()).arg(device.height());
    if (const auto it = m_cache.constFind(key); it != m_cache.constEnd())
        return *it;
    const QImage image = RenderPage(m_store ? m_store->Pages(page) : nullptr, logical, ratio);
    m_cache.insert(key, image);
    return image;
}

void TRLPreviewPages::paintEvent(QPaintEvent *event)
{
    RLRunGuarded([&] {
        QPainter painter(this);
        const qreal ratio = devicePixelRatioF();
        for (int i = 0; i < m_count; ++i) {
            const QRect r = PageRect(i);
            if (!r.intersects(event->rect()))
                continue;
            painter.fillRect(r.translated(3, 3), QColor(0, 0, 0, 60));
            painter.drawImage(r.topLeft(), render(m_first + i, r.size(), ratio));
        }
    });
}

// ---- Window -----------------------------------------------------------------------------------

TfrmRLPreview::TfrmRLPreview(TRLPreviewSource source, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                          | Qt::WindowCloseButtonHint),
      m_source(std::move(source))
{
    setObjectName(QStringLiteral("frmRLPreview"));
    setWindowTitle(RLMessage(rlmPreview));
    setWindowModality(Qt::ApplicationModal);
    buildControls();
    addShortcuts();
    QSize size(1000, 800);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);
}

TfrmRLPreview::~TfrmRLPreview() = default;

void TfrmRLPreview::buildControls()
{
    auto *bar = new QHBoxLayout;
    bar->setSpacing(2);
    auto tool = [this, bar](const char *name, Glyph glyph, int message, void (TfrmRLPreview::*slot)()) {
        auto *button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(glyphIcon(glyph));
        button->setIconSize(QSize(16, 16));
        button->setToolTip(RLMessage(message));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        if (slot)
            connect(button, &QToolButton::clicked, this,
                    [this, slot] { RLRunGuarded([this, slot] { (this->*slot)(); }); });
        bar->addWidget(button);
        return button;
    };
    ButtonFirst = tool("ButtonFirst", Glyph::First, 28, &TfrmRLPreview::FirstPage);
    ButtonPrior = tool("ButtonPrior", Glyph::Prior, 29, &TfrmRLPreview::PriorPage);
    LabelPage = new QLabel(this);
    LabelPage->setObjectName(QStringLiteral("LabelPage"));
    LabelPage->setAlignment(Qt::AlignCenter);
    LabelPage->setMinimumWidth(110);
    bar->addWidget(LabelPage);
    ButtonNext = tool("ButtonNext", Glyph::Next, 30, &TfrmRLPreview::NextPage);
    ButtonLast = tool("ButtonLast", Glyph::Last, 31, &TfrmRLPreview::LastPage);
    bar->addSpacing(16);
    ButtonWholePage = tool("ButtonWholePage", Glyph::WholePage, 32, nullptr);
    ButtonPageWidth = tool("ButtonPageWidth", Glyph::PageWidth, 33, nullptr);
    ButtonSeveralPages = tool("ButtonSeveralPages", Glyph::SeveralPages, 34, nullptr);
    bar->addSpacing(16);
    ButtonZoomOut = tool("ButtonZoomOut", Glyph::ZoomOut, 65, &TfrmRLPreview::ZoomOut);
    LabelZoom = new QLabel(this);
    LabelZoom->setObjectName(QStringLiteral("LabelZoom"));
    LabelZoom->setAlignment(Qt::AlignCenter);
    LabelZoom->setMinimumWidth(48);
    bar->addWidget(LabelZoom);
    ButtonZoomIn = tool("ButtonZoomIn", Glyph::ZoomIn, 64, &TfrmRLPreview::ZoomIn);
    bar->addStretch(1);
    ButtonPrint = new QPushButton(RLMessage(rlmPrint), this);
    ButtonPrint->setObjectName(QStringLiteral("ButtonPrint"));
    ButtonClose = new QPushButton(RLMessage(rlmClose), this);
    ButtonClose->setObjectName(QStringLiteral("ButtonClose"));
    for (QPushButton *button : {ButtonPrint, ButtonClose}) {
        // Enter must not print by accident while the user reads.
        button->setAutoDefault(false);
        bar->addWidget(button);
    }
    const struct { QToolButton *button; TRLPreviewZoom mode; } modes[] = {
        {ButtonWholePage, TRLPreviewZoom::WholePage},
        {ButtonPageWidth, TRLPreviewZoom::PageWidth},
        {ButtonSeveralPages, TRLPreviewZoom::SeveralPages},
    };
    for (const auto &m : modes) {
        m.button->setCheckable(true);
        connect(m.button, &QToolButton::clicked, this,
                [this, mode = m.mode] { RLRunGuarded([this, mode] { SetZoomMode(mode); }); });
    }
    connect(ButtonPrint, &QPushButton::clicked, this, [this] { RLRunGuarded([this] { Print(); }); });
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::reject);

    ScrollArea = new QScrollArea(this);
    ScrollArea->setObjectName(QStringLiteral("ScrollArea"));
    ScrollArea->setAlignment(Qt::AlignCenter);
    ScrollArea->setBackgroundRole(QPalette::Dark);
    ScrollArea->setFrameShape(QFrame::NoFrame);
    Pages = new TRLPreviewPages;
    ScrollArea->setWidget(Pages);
    ScrollArea->viewport()->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(4);
    layout->addLayout(bar);
    layout->addWidget(ScrollArea, 1);
}

void TfrmRLPreview::addShortcuts()
{
    const struct { QKeySequence keys; void (TfrmRLPreview::*slot)(); QToolButton *button; } keys[] = {
        {QKeySequence(Qt::Key_Home), &TfrmRLPreview::FirstPage, ButtonFirst},
        {QKeySequence(Qt::Key_PageUp), &TfrmRLPreview::PriorPage, ButtonPrior},
        {QKeySequence(Qt::Key_PageDown), &TfrmRLPreview::NextPage, ButtonNext},
        {QKeySequence(Qt::Key_End), &TfrmRLPreview::LastPage, ButtonLast},
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), &TfrmRLPreview::ZoomIn, ButtonZoomIn},
        {QKeySequence(Qt::CTRL | Qt::Key_Equal), &TfrmRLPreview::ZoomIn, nullptr},
        {QKeySequence(Qt::CTRL | Qt::Key_Minus), &TfrmRLPreview::ZoomOut, ButtonZoomOut},
    };
    for (const auto &k : keys) {
        auto *shortcut = new QShortcut(k.keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, slot = k.slot] { RLRunGuarded([this, slot] { (this->*slot)(); }); });
        if (k.button)
            k.button->setToolTip(withShortcut(k.button->toolTip(), k.keys));
    }
    const QKeySequence whole(Qt::CTRL | Qt::Key_0);
    auto *shortcut = new QShortcut(whole, this);
    connect(shortcut, &QShortcut::activated, this,
            [this] { RLRunGuarded([this] { SetZoomMode(TRLPreviewZoom::WholePage); }); });
    ButtonWholePage->setToolTip(withShortcut(ButtonWholePage->toolTip(), whole));
}

void TfrmRLPreview::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_loaded)
        return;
    m_loaded = true;
    // After the window is up, so that the progress window of a preparation opens over it.
    QTimer::singleShot(0, this, [this] { RLRunGuarded([this] { loadPages(); }); });
}

void TfrmRLPreview::loadPages()
{
    m_store = m_source ? m_source(this) : nullptr;
    if (!m_store || m_store->PageCount() == 0) {
        reject();
        return;
    }
    Pages->SetStore(m_store);
    m_page = 0;
    refresh();
}

int TfrmRLPreview::PageCount() const
{
    return m_store ? m_store->PageCount() : 0;
}

QSize TfrmRLPreview::viewportSize() const
{
    // Room for a vertical scroll bar, so that page width never needs a horizontal one.
    const int bar = ScrollArea->verticalScrollBar()->sizeHint().width();
    return ScrollArea->viewport()->size().grownBy(QMargins(0, 0, -bar, 0));
}

double TfrmRLPreview::Zoom() const
{
    return Pages->Zoom();
}

void TfrmRLPreview::refresh()
{
    const int count = PageCount();
    m_page = std::clamp(m_page, 0, std::max(0, count - 1));
    int shown = 1;
    int first = m_page;
    if (m_mode == TRLPreviewZoom::SeveralPages) {
        shown = std::clamp(count, 1, severalPagesMax);
        first = std::clamp(m_page, 0, std::max(0, count - shown));
    }
    const QSize page = Pages->PageSize(first);
    const QSize room = viewportSize() - QSize(TRLPreviewPages::Gap * (shown + 1), TRLPreviewPages::Gap * 2);
    double zoom = m_customZoom;
    switch (m_mode) {
    case TRLPreviewZoom::WholePage:
        zoom = std::min(double(room.width()) / page.width(), double(room.height()) / page.height());
        break;
    case TRLPreviewZoom::PageWidth:
        zoom = double(room.width()) / page.width();
        break;
    case TRLPreviewZoom::SeveralPages:
        zoom = std::min(double(room.width()) / (page.width() * shown), double(room.height()) / page.height());
        break;
    case TRLPreviewZoom::Custom:
        break;
    }
    zoom = std::clamp(zoom, MinZoom, MaxZoom);
    if (m_mode != TRLPreviewZoom::Custom)
        m_customZoom = zoom;
    Pages->Show(first, shown, zoom);
    LabelPage->setText(QStringLiteral("%1 %2 %3 %4").arg(RLMessage(rlmPage)).arg(m_page + 1).arg(RLMessage(rlmOf)).arg(count));
    LabelZoom->setText(QStringLiteral("%1%").arg(std::lround(zoom * 100)));
    ButtonFirst->setEnabled(m_page > 0);
    ButtonPrior->setEnabled(m_page > 0);
    ButtonNext->setEnabled(m_page + 1 < count);
    ButtonLast->setEnabled(m_page + 1 < count);
    ButtonWholePage->setChecked(m_mode == TRLPreviewZoom::WholePage);
    ButtonPageWidth->setChecked(m_mode == TRLPreviewZoom::PageWidth);
    ButtonSeveralPages->setChecked(m_mode == TRLPreviewZoom::SeveralPages);
    ButtonZoomIn->setEnabled(zoom < MaxZoom);
    ButtonZoomOut->setEnabled(zoom > MinZoom);
}

void TfrmRLPreview::GoToPage(int index)
{
    if (PageCount() == 0)
        return;
    m_page = std::clamp(index, 0, PageCount() - 1);
    refresh();
    ScrollArea->verticalScrollBar()->setValue(0);
}

void TfrmRLPreview::FirstPage() { GoToPage(0); }
void TfrmRLPreview::PriorPage() { GoToPage(m_page - 1); }
void TfrmRLPreview::NextPage() { GoToPage(m_page + 1); }
void TfrmRLPreview::LastPage() { GoToPage(PageCount() - 1); }

void TfrmRLPreview::SetZoomMode(TRLPreviewZoom mode)
{
    m_mode = mode;
    refresh();
}

void TfrmRLPreview::SetZoom(double zoom)
{
    m_mode = TRLPreviewZoom::Custom;
    m_customZoom = std::clamp(zoom, MinZoom, MaxZoom);
    refresh();
}

void TfrmRLPreview::ZoomIn() { SetZoom(Zoom() * zoomStep); }
void TfrmRLPreview::ZoomOut() { SetZoom(Zoom() / zoomStep); }

void TfrmRLPreview::Print()
{
    done(PrintResult);
}

void TfrmRLPreview::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (m_store)
        refresh();
}

bool TfrmRLPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ScrollArea->viewport() && event->type() == QEvent::Wheel) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int steps = wheel->angleDelta().y();
            RLRunGuarded([this, steps] {
                if (steps > 0)
                    ZoomIn();
                else if (steps < 0)
                    ZoomOut();
            });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
