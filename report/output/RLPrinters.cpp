#include "report/output/RLPrinters.h"

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/base/RLTempFiles.h"
#include "report/base/RLTypes.h"
#include "report/base/RLUtils.h"
#include "report/output/RLJobWait.h"
#include "report/output/RLOffThread.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cerrno>
#include <cmath>

#include <unistd.h>

namespace {

TRLPrinterWrapper *sharedPrinter = nullptr;

// Millimetres as a media name writes them: no trailing zeros, a point for decimals.
QString mediaNumber(double mm)
{
    QString s = QString::number(mm, 'f', 2);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s;
}

QString displayEntry(const TRLPrinterQueue &q)
{
    if (!q.Readable)
        return q.Name + QStringLiteral(" (") + RLMessage(rlmPrinterDriverError) + QStringLiteral(")");
    if (!q.Server.isEmpty())
        return q.Name + QLatin1Char('|') + q.Server + QLatin1Char('\\') + q.Share;
    return q.Name + QLatin1Char('|') + q.Port;
}

} // namespace

// The document's file as the PDF writer sees it: counts what it was asked to write and keeps the
// first failure, since the writer itself ignores failed writes and a full disk would pass unseen.
class TRLCheckedDevice : public QIODevice
{
public:
    explicit TRLCheckedDevice(QFile *file) : m_file(file) { open(QIODevice::WriteOnly); }
    qint64 Requested() const { return m_requested; }
    int FirstErrno() const { return m_errno; }
    QString FirstError() const { return m_error; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        m_requested += length;
        errno = 0;
        const qint64 written = m_file->write(data, length);
        if (written != length && m_error.isEmpty()) {
            m_errno = errno ? errno : EIO;
            m_error = m_file->errorString();
        }
        return length; // the writer would only stop halfway; the check at the end tells
    }

private:
    QFile *m_file;
    qint64 m_requested = 0;
    int m_errno = 0;
    QString m_error;
};

TRLPrinterWrapper::TRLPrinterWrapper() : TRLPrinterWrapper(NewRLCupsService()) {}

TRLPrinterWrapper::TRLPrinterWrapper(std::unique_ptr<TRLPrinterService> service) : m_service(std::move(service)) {}

TRLPrinterWrapper::~TRLPrinterWrapper()
{
    closeDocument();
}

void TRLPrinterWrapper::loadList()
{
    m_listFailure.clear();
    m_queues = m_service->Queues(&m_listFailure);
    m_printers.clear();
    for (const TRLPrinterQueue &q : std::as_const(m_queues))
        m_printers.append(displayEntry(q));
    m_listed = true;
}

const QStringList &TRLPrinterWrapper::Printers()
{
    if (!m_listed)
        loadList();
    return m_printers;
}

QString TRLPrinterWrapper::PrinterNames(int index)
{
    const QStringList &list = Printers();
    if (index < 0 || index >= list.size())
        return QString();
    return list.at(index).section(QLatin1Char('|'), 0, 0);
}

QString TRLPrinterWrapper::PrinterPorts(int index)
{
    const QStringList &list = Printers();
    if (index < 0 || index >= list.size())
        return QString();
    return list.at(index).section(QLatin1Char('|'), 1, 1);
}

int TRLPrinterWrapper::PrinterIndex()
{
    Printers();
    if (m_index < 0 || m_index >= m_queues.size()) {
        m_index = -1;
        for (int i = 0; i < m_queues.size() && m_index < 0; ++i)
            if (m_queues.at(i).IsDefault)
                m_index = i;
        if (m_index < 0 && !m_queues.isEmpty())
            m_index = 0;
    }
    return m_index;
}

QString TRLPrinterWrapper::PrinterName()
{
    return PrinterNames(PrinterIndex());
}

void TRLPrinterWrapper::SetPrinterIndex(int index)
{
    Printers();
    if (!validIndex(index))
        return;
    m_index = index;
    // A newly chosen printer starts from its own defaults.
    m_copies = 1;
}

void TRLPrinterWrapper::Refresh()
{
    // Queues come and go between prints: the one chosen before is found again by its name.
    const QString previous = validIndex(m_index) ? m_queues.at(m_index).Name : QString();
    m_listed = false;
    m_index = -1;
    try {
        loadList();
    } catch (...) {
        m_queues.clear();
        m_printers.clear();
        m_listed = true;
    }
    for (int i = 0; i < m_queues.size() && !previous.isEmpty(); ++i)
        if (m_queues.at(i).Name == previous)
            m_index = i;
    PrinterIndex();
}

QString TRLPrinterWrapper::ListFailure() const
{
    return m_listFailure;
}

int TRLPrinterWrapper::PaperCodeFor(double widthMm, double heightMm, double *matchedWidthMm, double *matchedHeightMm)
{
    int code = RLUserPaperCode;
    // 210.01 - 210 is a hair below 0.01 in binary: the limit must not take it.
    double best = 0.01 - 1e-9;
    double w = widthMm;
    double h = heightMm;
    for (int i = 0; i < RLPaperSizeCount; ++i) {
        const TRLPaperInfo &info = RLPaperInfo(TRLPaperSize(i));
        if (info.Emulated || i == fpCustom)
            continue;
        const double sum = std::abs(info.Width - widthMm) + std::abs(info.Height - heightMm);
        if (sum < best) {
            best = sum;
            code = info.PaperCode;
            w = info.Width;
            h = info.Height;
        }
    }
    if (matchedWidthMm)
        *matchedWidthMm = w;
    if (matchedHeightMm)
        *matchedHeightMm = h;
    return code;
}

void TRLPrinterWrapper::SetPaperSize(double paperWidthMm, double paperHeightMm, bool landscape, bool forceEmulation)
{
    Q_UNUSED(forceEmulation); // carried along; the paper search ignores it
    m_requestedWidthMm = paperWidthMm;
    m_requestedHeightMm = paperHeightMm;
    m_paperCode = PaperCodeFor(paperWidthMm, paperHeightMm, &m_paperWidthMm, &m_paperHeightMm);
    m_landscape = landscape;
}

QString TRLPrinterWrapper::MediaName() const
{
    if (m_paperCode != RLUserPaperCode) {
        const QPageSize size(QPageSize::id(m_paperCode));
        if (size.isValid())
            return size.key();
    }
    // A size of 0 leaves the sheet to the queue.
    if (m_paperWidthMm <= 0 || m_paperHeightMm <= 0)
        return QString();
    // A custom medium needs a name part: without it CUPS takes the size for a rotated default sheet.
    return QStringLiteral("custom_zavenor_%1x%2mm").arg(mediaNumber(m_paperWidthMm), mediaNumber(m_paperHeightMm));
}

TRLPrinterMetrics TRLPrinterWrapper::ReadPrinterMetrics()
{
    TRLPrinterMetrics m;
    if (PrinterIndex() < 0) {
        // Letter at 300 dpi, so that pages are still laid out without a printer.
        m.PPIX = m.PPIY = 300;
        m.PhysicalWidth = 2550;
        m.PhysicalHeight = 3300;
        m.MarginLeft = m.MarginTop = m.MarginRight = m.MarginBottom = 75;
        m.ClientWidth = 2400;
        m.ClientHeight = 3150;
        return m;
    }
    // The PDF page starts at the sheet's corner: no hardware margins to shift by.
    m.PPIX = m.PPIY = Resolution;
    const double wMm = m_landscape ? m_paperHeightMm : m_paperWidthMm;
    const double hMm = m_landscape ? m_paperWidthMm : m_paperHeightMm;
    m.PhysicalWidth = RLMmToDots(wMm, Resolution);
    m.PhysicalHeight = RLMmToDots(hMm, Resolution);
    m.ClientWidth = m.PhysicalWidth;
    m.ClientHeight = m.PhysicalHeight;
    return m;
}

void TRLPrinterWrapper::SetCopies(int copies)
{
    m_copies = copies;
}

void TRLPrinterWrapper::BeginDoc()
{
    closeDocument();
    const int index = PrinterIndex();
    if (index < 0) {
        // A service that cannot be reached is not a missing printer.
        throw TRLException(m_listFailure.isEmpty() ? RLMessage(rlmNoPrinter) : m_listFailure);
    }
    const QString queue = m_queues.at(index).Name;
    m_service->CheckQueue(queue);
    const QString media = MediaName();
    if (!media.isEmpty() && !m_service->SupportsMedia(queue, media, m_paperWidthMm, m_paperHeightMm))
        throw TRLException(RLMessage(rlmPaperRefused)
                               .arg(queue, mediaNumber(m_paperWidthMm), mediaNumber(m_paperHeightMm)));

    QPageSize pageSize;
    if (m_paperCode != RLUserPaperCode)
        pageSize = QPageSize(QPageSize::id(m_paperCode));
    if (!pageSize.isValid() && m_paperWidthMm > 0 && m_paperHeightMm > 0)
        pageSize = QPageSize(QSizeF(m_paperWidthMm, m_paperHeightMm), QPageSize::Millimeter, QString(),
                             QPageSize::ExactMatch);
    if (!pageSize.isValid())
        pageSize = QPageSize(QPageSize::A4);

    openDocument();
    m_writer = std::make_unique<QPdfWriter>(m_documentDevice.get());
    m_writer->setResolution(Resolution);
    m_writer->setPageLayout(QPageLayout(pageSize, m_landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                        QMarginsF(0, 0, 0, 0)));
    m_writer->setTitle(m_jobTitle);
    m_writer->setCreator(QCoreApplication::applicationName());
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_writer.get())) {
        const QString reason = m_documentFile->errorString();
        closeDocument();
        throw TRLException(RLMessage(rlmDocumentFailed).arg(reason));
    }
    m_jobQueue = queue;
    m_pagePending = false;
    m_pageDrawn = false;
}

void TRLPrinterWrapper::NewPage()
{
    // The sheet is begun when something is drawn on it: a job that ends first has no blank page.
    if (Printing())
        m_pagePending = true;
}

QPainter *TRLPrinterWrapper::Canvas()
{
    if (!Printing())
        throw TRLException(RLMessage(rlmNoPrinter));
    if (m_pagePending) {
        m_pagePending = false;
        m_writer->newPage();
    }
    m_pageDrawn = true;
    return m_painter.get();
}

void TRLPrinterWrapper::openDocument()
{
    // The document lives in a registered temporary file: memory stays flat for long reports.
    const QString folder = QDir::toNativeSeparators(RLTempFolder());
    try {
        m_documentFile = CreateRLTempFile(QStringLiteral("~rlprn"));
    } catch (const TRLException &) {
        if (RLNoSpaceIn(folder))
            throw TRLException(RLMessage(rlmTempFolderFull).arg(folder));
        const QFileInfo info(RLTempFolder());
        if (!info.isDir() || !info.isWritable())
            throw TRLException(RLMessage(rlmTempFolderMissing).arg(folder));
        throw;
    }
    m_documentDevice = std::make_unique<TRLCheckedDevice>(m_documentFile.get());
}

// Nothing broken reaches the printer: the file must hold every byte the writer gave, end with the
// PDF trailer and be on the disk. Gives the reason when it does not.
QString TRLPrinterWrapper::finishDocument()
{
    const QString folder = QDir::toNativeSeparators(RLTempFolder());
    const bool flushed = m_documentFile->flush() && ::fsync(m_documentFile->handle()) == 0;
    const int syncErrno = flushed ? 0 : errno;
    const qint64 size = QFileInfo(m_documentFile->fileName()).size();
    QByteArray tail;
    if (m_documentFile->seek(std::max<qint64>(0, size - 1024)))
        tail = m_documentFile->read(1024);
    const bool whole = flushed && m_documentDevice->FirstError().isEmpty() && size == m_documentDevice->Requested()
        && tail.contains("%%EOF");
    if (whole)
        return QString();
    if (RLNoSpaceIn(folder, m_documentDevice->FirstErrno()) || RLNoSpaceIn(folder, syncErrno))
        return RLMessage(rlmTempFolderFull).arg(folder);
    QString reason = m_documentDevice->FirstError();
    if (reason.isEmpty())
        reason = flushed ? m_documentFile->fileName() : QString::fromLocal8Bit(strerror(syncErrno));
    return RLMessage(rlmDocumentFailed).arg(reason);
}

void TRLPrinterWrapper::EndDoc()
{
    if (!Printing())
        return;
    // A job nothing was drawn in would come out as one blank sheet.
    if (!m_pageDrawn) {
        closeDocument();
        return;
    }
    const bool written = m_painter->end();
    m_painter.reset();
    m_writer.reset();
    const QString fileName = m_documentFile->fileName();
    const QString title = m_jobTitle.isEmpty() ? QCoreApplication::applicationName() : m_jobTitle;
    int jobId = 0;
    try {
        QString failure = finishDocument();
        if (failure.isEmpty() && !written)
            failure = RLMessage(rlmDocumentFailed).arg(m_documentFile->errorString());
        m_documentFile->close();
        if (!failure.isEmpty())
            throw TRLException(failure);
        TRLPrintJob job;
        job.Queue = m_jobQueue;
        job.Title = title;
        job.DocumentFile = fileName;
        job.Media = MediaName();
        job.Copies = std::max(1, m_copies);
        job.Canceled = m_cancelCheck;
        m_lastJobEnd = TRLJobEnd::None;
        jobId = m_service->Submit(job);
        m_lastJobId = jobId;
        m_lastJobQueue = m_jobQueue;
        m_lastJobTitle = title;
        m_lastJobEnd = TRLJobEnd::Open;
    } catch (const TRLServiceUnreachable &e) {
        closeDocument();
        throw TRLServiceUnreachable(RLMessage(rlmNotSent).arg(m_jobQueue, title, e.Message()));
    } catch (...) {
        closeDocument();
        throw;
    }
    closeDocument();
    if (!m_followJobs)
        return;
    if (RLOnUserThread())
        RLWaitForJob(m_service, m_jobQueue, title, jobId, &m_lastJobEnd);
    else
        RLWatchJob(m_service, m_jobQueue, title, jobId);
}

void TRLPrinterWrapper::AbortDoc()
{
    closeDocument();
}

void TRLPrinterWrapper::closeDocument()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    m_writer.reset();
    m_pagePending = false;
    m_documentDevice.reset();
    if (m_documentFile) {
        const QString name = m_documentFile->fileName();
        m_documentFile.reset();
        DeleteRLTempFile(name);
    }
}

static void releaseWithApplication()
{
    // Released with the application object; without one it lives to the end.
    static bool registered = false;
    if (!registered) {
        registered = true;
        qAddPostRoutine(ReleaseRLPrinter);
        // Background jobs are followed no longer than the program runs.
        qAddPostRoutine(RLStopJobWatch);
    }
}

TRLPrinterWrapper &RLPrinter()
{
    if (!sharedPrinter) {
        sharedPrinter = new TRLPrinterWrapper;
        releaseWithApplication();
    }
    return *sharedPrinter;
}

void SetRLPrinterService(std::unique_ptr<TRLPrinterService> service)
{
    ReleaseRLPrinter();
    sharedPrinter = new TRLPrinterWrapper(std::move(service));
    releaseWithApplication();
}

void ReleaseRLPrinter()
{
    delete sharedPrinter;
    sharedPrinter = nullptr;
}
