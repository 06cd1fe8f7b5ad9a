#include "report/output/RLCupsService.h"

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <QUrl>

#include <cups/cups.h>

#include <cmath>
#include <memory>

namespace {

struct DestFree
{
    void operator()(cups_dest_t *dest) const { cupsFreeDests(1, dest); }
};
using DestPtr = std::unique_ptr<cups_dest_t, DestFree>;

struct DinfoFree
{
    void operator()(cups_dinfo_t *info) const { cupsFreeDestInfo(info); }
};

struct IppFree
{
    void operator()(ipp_t *ipp) const { ippDelete(ipp); }
};
using IppPtr = std::unique_ptr<ipp_t, IppFree>;

enum CupsText { ctStopped, ctNotAccepting, ctJobFailed, ctSubmitFailed };

QString cupsText(CupsText text)
{
    static const char *const rows[][4] = {
        {"The printer %1 is stopped.", "A impressora %1 está parada.", "La impresora %1 está detenida.",
         "L'imprimante %1 est arrêtée."},
        {"The printer %1 is not accepting jobs.", "A impressora %1 não está aceitando trabalhos.",
         "La impresora %1 no acepta trabajos.", "L'imprimante %1 n'accepte pas de travaux."},
        {"The print job %1 failed: %2", "O trabalho de impressão %1 falhou: %2",
         "El trabajo de impresión %1 falló: %2", "Le travail d'impression %1 a échoué : %2"},
        {"The document could not be sent to the printer %1: %2",
         "O documento não pôde ser enviado à impressora %1: %2",
         "No se pudo enviar el documento a la impresora %1: %2",
         "Le document n'a pas pu être envoyé à l'imprimante %1 : %2"},
    };
    return QString::fromUtf8(rows[text][RLMessagesLanguage()]);
}

QString lastCupsError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

bool serviceFailed()
{
    return cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE;
}

QString option(const cups_dest_t *dest, const char *name)
{
    return QString::fromUtf8(cupsGetOption(name, dest->num_options, dest->options));
}

// The queue, or the reason it cannot be had: a missing queue is "no printer".
DestPtr namedDest(const QString &queue)
{
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(), nullptr);
    if (!dest) {
        if (cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
            throw TRLException(RLMessage(4) + QStringLiteral(" (") + lastCupsError() + QLatin1Char(')'));
        throw TRLException(RLMessage(4) + QStringLiteral(": ") + queue);
    }
    return DestPtr(dest);
}

bool isLocalHost(const QString &host)
{
    return host.isEmpty() || host == QLatin1String("localhost") || host.startsWith(QLatin1Char('/'))
        || host == QLatin1String("127.0.0.1") || host == QLatin1String("::1") || host == QLatin1String("[::1]");
}

struct JobState
{
    int state = 0;
    QString message;
};

JobState readJob(int jobId)
{
    ipp_t *request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const QByteArray uri = QByteArray("ipp://localhost/jobs/") + QByteArray::number(jobId);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    static const char *const wanted[] = {"job-state", "job-printer-state-message", "job-state-message"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, wanted);
    IppPtr response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
    JobState job;
    if (!response)
        return job;
    if (ipp_attribute_t *a = ippFindAttribute(response.get(), "job-state", IPP_TAG_ENUM))
        job.state = ippGetInteger(a, 0);
    for (const char *name : {"job-printer-state-message", "job-state-message"}) {
        ipp_attribute_t *a = ippFindAttribute(response.get(), name, IPP_TAG_TEXT);
        const char *text = a ? ippGetString(a, 0, nullptr) : nullptr;
        if (text && *text && job.message.isEmpty())
            job.message = QString::fromUtf8(text);
    }
    return job;
}

QString jobStateName(int state)
{
    switch (state) {
    case IPP_JSTATE_STOPPED: return QStringLiteral("stopped");
    case IPP_JSTATE_CANCELED: return QStringLiteral("canceled");
    case IPP_JSTATE_ABORTED: return QStringLiteral("aborted");
    default: return QString::number(state);
    }
}

} // namespace

std::unique_ptr<TRLPrinterService> NewRLCupsService()
{
    return std::make_unique<TRLCupsService>();
}

QList<TRLPrinterQueue> TRLCupsService::Queues(QString *failure)
{
    cups_dest_t *dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    // Having no queue is not a failure of the service.
    if (count == 0 && failure && serviceFailed() && cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND)
        *failure = lastCupsError();
    QList<TRLPrinterQueue> queues;
    for (int i = 0; i < count; ++i) {
        const cups_dest_t *dest = &dests[i];
        if (dest->instance)
            continue;
        TRLPrinterQueue q;
        q.Name = QString::fromUtf8(dest->name);
        q.IsDefault = dest->is_default != 0;
        const QString device = option(dest, "device-uri");
        const QString printerUri = option(dest, "printer-uri-supported");
        if (!device.isEmpty()) {
            q.Port = device;
        } else if (!printerUri.isEmpty()) {
            // A queue served by another machine: its host and its name there.
            const QUrl url(printerUri);
            if (isLocalHost(url.host())) {
                q.Port = printerUri;
            } else {
                q.Server = url.host();
                q.Share = url.path().section(QLatin1Char('/'), -1);
            }
        } else {
            q.Readable = false;
        }
        queues.append(q);
    }
    cupsFreeDests(count, dests);
    return queues;
}

void TRLCupsService::CheckQueue(const QString &queue)
{
    const DestPtr dest = namedDest(queue);
    const QString message = option(dest.get(), "printer-state-message");
    if (option(dest.get(), "printer-state") == QLatin1String("5"))
        throw TRLException(message.isEmpty() ? cupsText(ctStopped).arg(queue) : message);
    if (option(dest.get(), "printer-is-accepting-jobs") == QLatin1String("false"))
        throw TRLException(message.isEmpty() ? cupsText(ctNotAccepting).arg(queue) : message);
}

bool TRLCupsService::SupportsMedia(const QString &queue, const QString &media, double widthMm, double heightMm)
{
    const DestPtr dest = namedDest(queue);
    std::unique_ptr<cups_dinfo_t, DinfoFree> info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    if (!info)
        return true; // nothing known about the queue: let the job tell
    cups_size_t size;
    if (cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest.get(), info.get(), media.toUtf8().constData(),
                               CUPS_MEDIA_FLAGS_DEFAULT, &size))
        return true;
    // Legacy names such as "A4" are not always known by name; the size decides then, and a
    // queue with custom ranges takes any size inside them.
    return cupsGetDestMediaBySize(CUPS_HTTP_DEFAULT, dest.get(), info.get(), int(std::lround(widthMm * 100)),
                                  int(std::lround(heightMm * 100)), CUPS_MEDIA_FLAGS_DEFAULT, &size)
        != 0;
}

int TRLCupsService::Submit(const TRLPrintJob &job)
{
    const DestPtr dest = namedDest(job.Queue);
    const QByteArray queue = job.Queue.toUtf8();
    const QByteArray title = job.Title.toUtf8();
    const QByteArray media = job.Media.toUtf8();
    const QByteArray copies = QByteArray::number(std::max(1, job.Copies));

    QFile document(job.DocumentFile);
    if (!document.open(QIODevice::ReadOnly))
        throw TRLException(cupsText(ctSubmitFailed).arg(job.Queue, document.errorString()));

    cups_option_t *options = nullptr;
    int optionCount = 0;
    if (!media.isEmpty())
        optionCount = cupsAddOption("media", media.constData(), optionCount, &options);
    optionCount = cupsAddOption("copies", copies.constData(), optionCount, &options);
    // Without collation CUPS leaves the copies to the device, and some make none.
    optionCount = cupsAddOption("multiple-document-handling", "separate-documents-collated-copies", optionCount,
                                &options);
    // The job is created only now that the document is complete: an empty job blocks the queue.
    const int jobId = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), title.constData(), optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (jobId <= 0)
        throw TRLException(cupsText(ctSubmitFailed).arg(job.Queue, lastCupsError()));

    bool sent = cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), jobId, title.constData(), CUPS_FORMAT_PDF, 1)
        == HTTP_STATUS_CONTINUE;
    QByteArray chunk;
    while (sent && !document.atEnd()) {
        chunk = document.read(64 * 1024);
        if (chunk.isEmpty() && document.error() != QFileDevice::NoError)
            sent = false;
        else if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, chunk.constData(), size_t(chunk.size())) != HTTP_STATUS_CONTINUE)
            sent = false;
    }
    const bool finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData()) <= IPP_STATUS_OK_EVENTS_COMPLETE;
    if (!sent || !finished) {
        const QString reason = lastCupsError();
        cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), jobId, 0);
        throw TRLException(cupsText(ctSubmitFailed).arg(job.Queue, reason));
    }

    // Accepted is not printed: a filter may still fail. Still processing at the limit counts
    // as printing, since a real printer may take minutes.
    QDeadlineTimer deadline(m_watchMilliseconds);
    for (;;) {
        const JobState state = readJob(jobId);
        if (state.state == IPP_JSTATE_COMPLETED)
            return jobId;
        if (state.state == IPP_JSTATE_STOPPED || state.state == IPP_JSTATE_CANCELED
            || state.state == IPP_JSTATE_ABORTED) {
            QString message = state.message;
            if (message.isEmpty())
                message = option(namedDest(job.Queue).get(), "printer-state-message");
            if (message.isEmpty())
                message = jobStateName(state.state);
            throw TRLException(cupsText(ctJobFailed).arg(QString::number(jobId), message));
        }
        if (deadline.hasExpired())
            return jobId;
        QThread::msleep(50);
    }
}
