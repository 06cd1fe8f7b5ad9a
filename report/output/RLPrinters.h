#pragma once
// The engine's only door to the printer: the list of queues, the selected one, its paper and copy
// settings, its metrics, and the print job. The job's pages are drawn by Qt's PDF writer into a
// temporary file; the printer service receives that file when the job ends.

#include "report/base/RLTypes.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QPainter;
class QPdfWriter;
class QFile;

// Resolution, sheet and printable area of the page being drawn, in device pixels.
struct TRLPrinterMetrics
{
    int PPIX = 0;
    int PPIY = 0;
    int PhysicalWidth = 0;
    int PhysicalHeight = 0;
    int MarginLeft = 0;
    int MarginTop = 0;
    int MarginRight = 0;
    int MarginBottom = 0;
    int ClientWidth = 0;
    int ClientHeight = 0;
};

// One queue of the printer service as the wrapper lists it.
struct TRLPrinterQueue
{
    QString Name;
    QString Port;   // a local queue's device
    QString Server; // a queue on another machine: its server and share
    QString Share;
    bool IsDefault = false;
    bool Readable = true; // false: its details could not be read
};

// What the wrapper sends with a finished document.
struct TRLPrintJob
{
    QString Queue;
    QString Title;
    QString DocumentFile; // a complete PDF
    QString Media;        // a media name the service knows (PWG or PPD)
    int Copies = 1;
    // Asked while the document is sent (any thread): true takes the job back, silently.
    std::function<bool()> Canceled;
};

// What the service says about a job it accepted. Unknown: the service no longer holds the job, so
// whether it printed cannot be told (neither printed nor failed).
struct TRLJobStatus
{
    enum TOutcome { Waiting, Completed, Failed, Canceled, Unknown };
    TOutcome Outcome = Waiting;
    // The service's own words about the job or its printer (why it failed, what it waits for).
    QString Message;
};

// How a job handed to the service ended, as far as the program knows: Open while it is still
// followed (waiting, or the service silent), Unknown when the service forgot it unseen.
enum class TRLJobEnd { None, Completed, Failed, Canceled, Unknown, Open };

// The printer service behind the wrapper. Failures are TRLException with a message the user can
// read; another service (or a test double) can stand in for the real one.
class TRLPrinterService
{
public:
    virtual ~TRLPrinterService() = default;
    // The queues in the service's order; an unreachable service gives none and a reason.
    virtual QList<TRLPrinterQueue> Queues(QString *failure = nullptr) = 0;
    // Throws when the queue cannot take a job now (missing, stopped, not accepting).
    virtual void CheckQueue(const QString &queue) = 0;
    // Whether the queue takes this medium (its name and portrait size); unknown counts as taken.
    virtual bool SupportsMedia(const QString &queue, const QString &media, double widthMm, double heightMm) = 0;
    // Submits the document and gives the job's id once the service has accepted it; throws when it
    // refuses, TRLAbort when the job's Canceled said so.
    virtual int Submit(const TRLPrintJob &job) = 0;
    // Where an accepted job stands. A service that cannot tell says it completed.
    virtual TRLJobStatus JobStatus(const QString &queue, int jobId)
    {
        Q_UNUSED(queue);
        Q_UNUSED(jobId);
        return {TRLJobStatus::Completed, QString()};
    }
    // Takes the job out of the queue, so that it never prints later. Throws the service's words when
    // it refuses (a job already ended), its failure when it does not answer.
    virtual void CancelJob(const QString &queue, int jobId)
    {
        Q_UNUSED(queue);
        Q_UNUSED(jobId);
    }
};

// The CUPS service (the default one).
std::unique_ptr<TRLPrinterService> NewRLCupsService();

class TRLPrinterWrapper
{
public:
    TRLPrinterWrapper();
    explicit TRLPrinterWrapper(std::unique_ptr<TRLPrinterService> service);
    ~TRLPrinterWrapper();
    TRLPrinterWrapper(const TRLPrinterWrapper &) = delete;
    TRLPrinterWrapper &operator=(const TRLPrinterWrapper &) = delete;

    // Display entries: "name|port", "name|server\share", or "name (driver error)".
    const QStringList &Printers();
    QString PrinterNames(int index);
    QString PrinterPorts(int index);
    int PrinterIndex();
    QString PrinterName();
    void SetPrinterIndex(int index);
    void Refresh();
    // Why the list is empty when the service could not be reached; empty otherwise.
    QString ListFailure() const;

    // Chooses the paper code (or a user-defined size) and the orientation of later jobs.
    void SetPaperSize(double paperWidthMm, double paperHeightMm, bool landscape, bool forceEmulation);
    TRLPrinterMetrics ReadPrinterMetrics();
    int Copies() const { return m_copies; }
    void SetCopies(int copies);

    // The job: BeginDoc checks the queue and opens the document; EndDoc checks the document whole,
    // hands it to the service unless nothing was drawn in it, and follows the job: on the
    // user-interface thread until the service says it printed (a wait window shows what it says),
    // elsewhere in the background, where a failure is reported as the program's error.
    void BeginDoc();
    void NewPage();
    void EndDoc();
    // Ends the job without printing anything (the run failed).
    void AbortDoc();
    bool Printing() const { return m_painter != nullptr; }
    // The painter of the current page; the device resolution is ReadPrinterMetrics' PPIX/PPIY.
    QPainter *Canvas();

    // The name the next job carries in the queue.
    void SetJobTitle(const QString &title) { m_jobTitle = title; }
    // Asked while a document is being sent; true takes it back and ends the print silently.
    void SetCancelCheck(std::function<bool()> canceled) { m_cancelCheck = std::move(canceled); }

    // Last paper chosen by SetPaperSize.
    int PaperCode() const { return m_paperCode; }
    double PaperWidthMm() const { return m_paperWidthMm; }
    double PaperHeightMm() const { return m_paperHeightMm; }
    bool Landscape() const { return m_landscape; }
    // The medium sent to the service for the current paper.
    QString MediaName() const;
    // The job id of the last document handed over, 0 before any; its queue and how it ended.
    int LastJobId() const { return m_lastJobId; }
    QString LastJobQueue() const { return m_lastJobQueue; }
    QString LastJobTitle() const { return m_lastJobTitle; }
    TRLJobEnd LastJobEnd() const { return m_lastJobEnd; }
    // Whether EndDoc follows the job itself (the default) or leaves that to the caller, who reads
    // LastJobId and LastJobQueue.
    void SetFollowJobs(bool follow) { m_followJobs = follow; }

    TRLPrinterService &Service() { return *m_service; }
    std::shared_ptr<TRLPrinterService> SharedService() const { return m_service; }

    // Resolution of the pages drawn.
    static constexpr int Resolution = 600;
    // A paper code whose table size matches (within 0.01 mm summed), else the user-defined code.
    static int PaperCodeFor(double widthMm, double heightMm, double *matchedWidthMm = nullptr,
                            double *matchedHeightMm = nullptr);

private:
    void loadList();
    bool validIndex(int index) const { return index >= 0 && index < m_printers.size(); }
    void closeDocument();
    void openDocument();
    QString finishDocument();

    std::shared_ptr<TRLPrinterService> m_service;
    QStringList m_printers;
    QList<TRLPrinterQueue> m_queues;
    bool m_listed = false;
    int m_index = -1;
    int m_paperCode = RLPaperInfo(fpA4).PaperCode;
    double m_paperWidthMm = RLPaperInfo(fpA4).Width;
    double m_paperHeightMm = RLPaperInfo(fpA4).Height;
    double m_requestedWidthMm = RLPaperInfo(fpA4).Width;
    double m_requestedHeightMm = RLPaperInfo(fpA4).Height;
    bool m_landscape = false;
    int m_copies = 1;
    int m_lastJobId = 0;
    QString m_lastJobQueue;
    QString m_lastJobTitle;
    TRLJobEnd m_lastJobEnd = TRLJobEnd::None;
    bool m_followJobs = true;
    QString m_jobQueue;
    QString m_jobTitle;
    QString m_listFailure;
    std::function<bool()> m_cancelCheck;
    std::unique_ptr<QFile> m_documentFile;
    std::unique_ptr<class TRLCheckedDevice> m_documentDevice;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    bool m_pagePending = false;
    bool m_pageDrawn = false;
};

// The engine-wide printer, created on first use and released at engine shutdown.
TRLPrinterWrapper &RLPrinter();
// Puts another service behind the shared printer (tests); the list is built again.
void SetRLPrinterService(std::unique_ptr<TRLPrinterService> service);
void ReleaseRLPrinter();
