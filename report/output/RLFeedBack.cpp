#include "report/output/RLFeedBack.h"

#include "report/base/RLConsts.h"
#include "report/base/RLHost.h"
#include "report/output/RLWindowColours.h"
#include "report/output/RLWindowFont.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace {

constexpr QSize outerSize{393, 129};
constexpr QRect labelStepNameRect{14, 12, 39, 13};
constexpr QRect progressBarRect{14, 28, 355, 17};
constexpr QRect bitBtnCancelRect{151, 65, 85, 25};
constexpr int barGap = 2;
constexpr int blinkInterval = 300;

// Grows the label to its text from its left edge, never below its designed height.
void fitLabel(QLabel *label)
{
    const QFontMetrics metrics(label->font());
    label->resize(metrics.horizontalAdvance(label->text()), std::max(13, metrics.height()));
}

} // namespace

TfrmRLFeedBack::TfrmRLFeedBack(const QString &caption, int barCount, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint
                          | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmRLFeedBack"));
    setWindowTitle(QStringLiteral("Progresso"));
    setFont(RLWindowFont(11));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    RLSetWindowColours(this, palette);
    // The running work processes events at every step: in the foreground nothing else may take
    // input meanwhile. A background run makes the window non-modal before showing it.
    setWindowModality(Qt::ApplicationModal);

    LabelStepName = new QLabel(QStringLiteral("LabelStepName"), this);
    LabelStepName->setObjectName(QStringLiteral("LabelStepName"));
    LabelStepName->setFont(RLWindowFont(12));
    LabelStepName->setGeometry(labelStepNameRect);

    addBar(progressBarRect, 1, QStringLiteral("ProgressBar"));
    ProgressBar = m_bars.first();

    BitBtnCancel = new QPushButton(QStringLiteral("&Cancelar"), this);
    BitBtnCancel->setObjectName(QStringLiteral("BitBtnCancel"));
    BitBtnCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    BitBtnCancel->setGeometry(bitBtnCancelRect);
    BitBtnCancel->setAutoDefault(false);
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { RLRunGuarded([this] { BitBtnCancelClick(); }); });

    TimerBlink = new QTimer(this);
    TimerBlink->setObjectName(QStringLiteral("TimerBlink"));
    TimerBlink->setInterval(blinkInterval);
    connect(TimerBlink, &QTimer::timeout, this, [this] { RLRunGuarded([this] { TimerBlinkTimer(); }); });

    // The texts of the engine's language replace the designed ones.
    LabelStepName->setText(RLMessage(rlmWait));
    fitLabel(LabelStepName);
    BitBtnCancel->setText(RLMessage(rlmCancel));

    setWindowTitle(caption);
    const int added = std::max(1, barCount) - 1;
    for (int i = 0; i < added; ++i) {
        const QRect previous = m_bars.last()->geometry();
        addBar(previous.translated(0, previous.height() + barGap), m_steps.first(),
               QStringLiteral("ProgressBar%1").arg(i + 2));
    }
    const int grown = m_bars.last()->geometry().bottom() - ProgressBar->geometry().bottom();
    BitBtnCancel->move(BitBtnCancel->x(), BitBtnCancel->y() + grown);
    setFixedSize(OuterSizeFor(BarCount()));
    BitBtnCancel->setFocus();
}

TfrmRLFeedBack::~TfrmRLFeedBack() = default;

QSize TfrmRLFeedBack::OuterSizeFor(int barCount)
{
    return outerSize + QSize(0, (std::max(1, barCount) - 1) * (progressBarRect.height() + barGap));
}

void TfrmRLFeedBack::addBar(const QRect &geometry, int step, const QString &name)
{
    auto *bar = new QProgressBar(this);
    bar->setObjectName(name);
    bar->setGeometry(geometry);
    bar->setRange(0, 100);
    // Qt starts a bar below its minimum ("not started"); the work counts from 0.
    bar->setValue(0);
    bar->setTextVisible(false);
    m_bars.append(bar);
    m_steps.append(step);
}

void TfrmRLFeedBack::SetMax(int value)
{
    QProgressBar *bar = m_bars.at(m_current);
    // A range of 0 to 0 would turn Qt's bar into a busy indicator; an empty range shows empty.
    bar->setRange(0, std::max(1, value));
    bar->setValue(0);
}

void TfrmRLFeedBack::SetBusy()
{
    QProgressBar *bar = m_bars.at(m_current);
    bar->setRange(0, 0);
    bar->setValue(0);
}

void TfrmRLFeedBack::Step()
{
    QProgressBar *bar = m_bars.at(m_current);
    const int step = m_steps.at(m_current);
    const qint64 next = qint64(bar->value()) + step;
    bar->setValue(int(std::clamp<qint64>(next, bar->minimum(), bar->maximum())));
    QCoreApplication::processEvents();
    RLCheckApplicationClosing();
}

void TfrmRLFeedBack::NextBar()
{
    if (m_current + 1 < BarCount())
        ++m_current;
}

void TfrmRLFeedBack::SetStepName(const QString &text)
{
    LabelStepName->setText(text);
    fitLabel(LabelStepName);
    LabelStepName->repaint();
}

void TfrmRLFeedBack::SetOnCancel(QObject *owner, TRLFeedBackCancelEvent handler)
{
    m_cancelOwner = owner;
    m_hasCancelOwner = owner != nullptr;
    m_onCancel = std::move(handler);
}

void TfrmRLFeedBack::SetFinishedButton(bool ok)
{
    m_okButton = ok;
    BitBtnCancel->setText(ok ? RLMessage(rlmOk) : RLMessage(rlmCancel));
    BitBtnCancel->setIcon(style()->standardIcon(ok ? QStyle::SP_DialogOkButton : QStyle::SP_DialogCancelButton));
}

void TfrmRLFeedBack::BitBtnCancelClick()
{
    if (m_okButton) {
        m_finished = true;
        return;
    }
    m_canceled = true;
    // A callback whose owner is gone would reach a destroyed object.
    if (m_onCancel && (!m_hasCancelOwner || m_cancelOwner))
        m_onCancel(m_cancelOwner.data(), this, m_canceled);
}

void TfrmRLFeedBack::TimerBlinkTimer()
{
    LabelStepName->setHidden(!LabelStepName->isHidden());
}

void TfrmRLFeedBack::reject()
{
    RLRunGuarded([this] { BitBtnCancelClick(); });
}

void TfrmRLFeedBack::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fitToFrame();
}

void TfrmRLFeedBack::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    // A window manager reparents the window after it is shown: its frame is known only then.
    if (isVisible())
        fitToFrame();
}

void TfrmRLFeedBack::fitToFrame()
{
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize outer = OuterSizeFor(BarCount());
    const QSize client(outer.width() - frame.left() - frame.right(), outer.height() - frame.top() - frame.bottom());
    const bool resized = client != size();
    if (resized)
        setFixedSize(client);
    if (resized || !m_centred) {
        m_centred = true;
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
        }
    }
}

std::unique_ptr<TRLFeedBackProgress> NewRLFeedBackProgress(const QString &caption, int barCount,
                                                           std::function<void()> cancel, bool background)
{
    auto window = std::make_unique<TfrmRLFeedBack>(caption, barCount);
    if (background)
        window->setWindowModality(Qt::NonModal);
    if (cancel)
        window->SetOnCancel(nullptr, [cancel](QObject *, TfrmRLFeedBack *, bool &) { cancel(); });
    window->show();
    return std::make_unique<TRLFeedBackProgress>(std::move(window));
}

void InstallRLFeedBackProgress()
{
    SetRLProgressFactory([](const QString &caption, int barCount, std::function<void()> cancel, bool background) {
        return std::unique_ptr<TRLProgress>(NewRLFeedBackProgress(caption, barCount, std::move(cancel), background));
    });
}
