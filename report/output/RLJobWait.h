#pragma once
// Following a print job after the service accepted it: a print counts as done only when the
// service says the job completed. Accepted is not printed, and no length of waiting makes it so.

#include <QDialog>
#include <QString>

#include <memory>

class QLabel;
class QPushButton;
#include "report/output/RLJobFollow.h"

// The small window shown while a foreground print waits for its job: what the service says about
// the job and its printer, and a button that cancels the job.
class TfrmRLJobWait : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmRLJobWait(QWidget *parent = nullptr);

    void SetStatusText(const QString &text);
    QString StatusText() const;
    bool Canceled() const { return m_canceled; }

signals:
    void CancelPressed();

public:
    QLabel *LabelStatus = nullptr;
    QPushButton *ButtonCancel = nullptr;

protected:
    // Escape and the close box cancel, as the button does.
    void reject() override;

private:
    bool m_canceled = false;
};

// Waits on the user-interface thread until the job completes, with the wait window up (modal to
// the program's windows, the event loop turning) once the job did not complete at the first look.
// A failed job is cancelled and raised as an error naming the printer, the document and the
// service's reason; Cancelar cancels the job and raises the silent abort, unless the job completed
// first. A job the service no longer knows is raised as such, not cancelled. A service that stops
// answering leaves the job to the watcher (with the cancel, when one was asked) and raises that the
// job may still print. end, when given, receives how the job ended as far as known.
void RLWaitForJob(const std::shared_ptr<TRLPrinterService> &service, const QString &queue,
                  const QString &document, int jobId, TRLJobEnd *end = nullptr);

// Hands the job to the engine's watcher, which follows it on a thread of its own (started for the
// first job, ended when no job is left) and reports a failure (after cancelling the job) as the
// program's error. cancel: take the job out once the service answers. toldOpen: the user was told
// its end is not known yet, so its completion is told too.
void RLWatchJob(const std::shared_ptr<TRLPrinterService> &service, const QString &queue,
                const QString &document, int jobId, bool cancel = false, bool toldOpen = false);

// Jobs the watcher still follows.
int RLWatchedJobCount();
// Whether the watcher's thread is running (only while it follows a job).
bool RLJobWatchRunning();
// Stops the watcher (the jobs stay in the queue as they are) and waits for its thread.
void RLStopJobWatch();
