#pragma once
// The progress window of long engine work (preparing a report, printing its pages): one or more
// progress bars, a step text and a cancel button. It is shown without blocking; the work steps it
// and lets the application process pending events at every step. User-interface thread only.

// RLFilters.h reads its store through an inline QPointer: the type must be complete.
#include "report/page/RLMetaFile.h"
#include "report/output/RLFilters.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class TfrmRLFeedBack;

// The cancel callback: the object it belongs to, the window, and the window's Canceled flag.
using TRLFeedBackCancelEvent = std::function<void(QObject *Owner, TfrmRLFeedBack *Sender, bool &Canceled)>;

class TfrmRLFeedBack : public QDialog
{
    Q_OBJECT
public:
    // A window with the given caption and barCount progress bars (at least one).
    explicit TfrmRLFeedBack(const QString &caption, int barCount = 1, QWidget *parent = nullptr);
    ~TfrmRLFeedBack() override;

    // The current bar's maximum; its position goes back to 0.
    void SetMax(int value);
    // A bar without maximum (Qt's busy indicator), for work whose size is not known.
    void SetBusy();
    // Advances the current bar by its step and processes pending events. Throws the silent abort
    // (TRLAbort) when the program is closing.
    void Step();
    // The next bar becomes current (the next report of a chain); stays on the last bar.
    void NextBar();
    // Shows the text at once, without waiting for the event loop.
    void SetStepName(const QString &text);

    // The callback runs only while its owner lives; an owner of nullptr means none to watch.
    void SetOnCancel(QObject *owner, TRLFeedBackCancelEvent handler);

    bool Canceled() const { return m_canceled; }
    bool Finished() const { return m_finished; }
    // Turns the cancel button into an OK button that only sets Finished.
    void SetFinishedButton(bool ok);

    int BarCount() const { return int(m_bars.size()); }
    int CurrentBar() const { return m_current; }
    QProgressBar *Bar(int index) const { return m_bars.value(index); }

    // Handlers.
    void BitBtnCancelClick();
    void TimerBlinkTimer();

    QLabel *LabelStepName = nullptr;
    QProgressBar *ProgressBar = nullptr;
    QPushButton *BitBtnCancel = nullptr;
    QTimer *TimerBlink = nullptr;

    // The window's outer size (frame included) for its number of bars.
    static QSize OuterSizeFor(int barCount);

protected:
    // Escape and the title bar's close box cancel the work instead of hiding the window.
    void reject() override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void addBar(const QRect &geometry, int step, const QString &name);
    // Keeps the outer size whatever frame the window system draws, and the window centred.
    void fitToFrame();

    QList<QProgressBar *> m_bars;
    QList<int> m_steps;
    int m_current = 0;
    bool m_canceled = false;
    bool m_finished = false;
    bool m_okButton = false;
    bool m_centred = false;
    QPointer<QObject> m_cancelOwner;
    bool m_hasCancelOwner = false;
    TRLFeedBackCancelEvent m_onCancel;
};

// The progress of a filter's page loop shown in a progress window (user-interface thread only).

class TRLFeedBackProgress : public TRLProgress
{
public:
    explicit TRLFeedBackProgress(std::unique_ptr<TfrmRLFeedBack> window) : m_window(std::move(window)) {}
    void SetMax(int max) override { m_window->SetMax(max); }
    void Step() override { m_window->Step(); }
    TfrmRLFeedBack *Window() const { return m_window.get(); }

private:
    std::unique_ptr<TfrmRLFeedBack> m_window;
};

// A shown progress window whose cancel calls cancel. A background run's window leaves the other
// windows usable; a foreground one blocks them.
std::unique_ptr<TRLFeedBackProgress> NewRLFeedBackProgress(const QString &caption, int barCount,
                                                           std::function<void()> cancel, bool background = false);

// Makes the filters' page loop show its progress in this window.
void InstallRLFeedBackProgress();
