#include "report/output/RLCupsService.h"

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/output/RLOffThread.h"

#include <QElapsedTimer>
#include <QFile>
#include <QUrl>

#include <cups/cups.h>

#include <sys/socket.h>

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

// One conversation with the server, with our own limits on every wait. The reason a call failed
// is taken from that call: libcups' last error and errno are often left over from an earlier one.
class Connection
{
public:
    Connection()
    {
        QElapsedTimer clock;
        clock.start();
        m_http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                              TRLCupsService::TimeoutMilliseconds, nullptr);
        if (!m_http) {
            // A connection refused or a missing socket fails at once; a silent server lets it wait.
            throw TRLServiceUnreachable(RLMessage(clock.elapsed() >= TRLCupsService::TimeoutMilliseconds - 100
                                                 ? rlmServiceSilent
                                                 : rlmServiceDown));
        }
        httpSetTimeout(m_http, TRLCupsService::TimeoutMilliseconds / 1000.0, &Connection::onTimeout, this);
    }
    ~Connection() { httpClose(m_http); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    http_t *http() const { return m_http; }

    // The answer to the request, or the service's failure when there is none.
    IppPtr request(ipp_t *request, const char *resource = "/")
    {
        IppPtr response(cupsDoRequest(m_http, request, resource));
        if (!response)
            throwServiceFailure();
        return response;
    }

    // The failure of a call that got no answer: silence or a server gone.
    [[noreturn]] void throwServiceFailure() const
    {
        throw TRLServiceUnreachable(RLMessage(m_timedOut ? rlmServiceSilent : rlmServiceDown));
    }
    bool timedOut() const { return m_timedOut; }

private:
    static int onTimeout(http_t *, void *self)
    {
        static_cast<Connection *>(self)->m_timedOut = true;
        return 0; // give up
    }

    http_t *m_http = nullptr;
    bool m_timedOut = false;
};

// Runs body off the user-interface thread on a fresh connection and gives its result. Body owns
// what it uses (captured by value): a wait the program's end cuts short never reads it.
template <class T, class Body>
T withCups(Body body)
{
    return RLRunOffUserThread<T>(std::function<T()>([body = std::move(body)]() mutable {
        Connection connection;
        return body(connection);
    }));
}

QString text(ipp_t *response, const char *name)
{
    ipp_attribute_t *a = ippFindAttribute(response, name, IPP_TAG_ZERO);
    const char *value = a ? ippGetString(a, 0, nullptr) : nullptr;
    return value ? QString::fromUtf8(value) : QString();
}

int integer(ipp_t *response, const char *name, int otherwise = 0)
{
    ipp_attribute_t *a = ippFindAttribute(response, name, IPP_TAG_ZERO);
    return a ? ippGetInteger(a, 0) : otherwise;
}

QStringList keywords(ipp_t *response, const char *name)
{
    QStringList list;
    if (ipp_attribute_t *a = ippFindAttribute(response, name, IPP_TAG_ZERO))
        for (int i = 0; i < ippGetCount(a); ++i)
            list << QString::fromUtf8(ippGetString(a, i, nullptr));
    return list;
}

QByteArray printerUri(const QString &queue)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                     queue.toUtf8().constData());
    return QByteArray(uri);
}

ipp_t *newRequest(ipp_op_t op)
{
    ipp_t *request = ippNewRequest(op);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

void askFor(ipp_t *request, std::initializer_list<const char *> names)
{
    const std::vector<const char *> list(names);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(list.size()), nullptr,
                  list.data());
}

struct PrinterState
{
    int state = IPP_PSTATE_IDLE;
    bool accepting = true;
    QString message; // the administrator's or the backend's words
};

// A missing queue is "no printer"; a server that does not answer is not.
PrinterState readPrinter(Connection &cups, const QString &queue)
{
    ipp_t *request = newRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri(queue).constData());
    askFor(request, {"printer-state", "printer-state-message", "printer-is-accepting-jobs"});
    const IppPtr response = cups.request(request);
    if (ippGetStatusCode(response.get()) == IPP_STATUS_ERROR_NOT_FOUND)
        throw TRLException(RLMessage(rlmNoPrinter) + QStringLiteral(": ") + queue);
    if (ippGetStatusCode(response.get()) > IPP_STATUS_OK_EVENTS_COMPLETE)
        throw TRLException(RLMessage(rlmSubmitFailed).arg(queue, QString::fromUtf8(cupsLastErrorString())));
    PrinterState printer;
    printer.state = integer(response.get(), "printer-state", IPP_PSTATE_IDLE);
    if (ipp_attribute_t *a = ippFindAttribute(response.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN))
        printer.accepting = ippGetBoolean(a, 0);
    printer.message = text(response.get(), "printer-state-message");
    return printer;
}

bool isLocalHost(const QString &host)
{
    return host.isEmpty() || host == QLatin1String("localhost") || host.startsWith(QLatin1Char('/'))
        || host == QLatin1String("127.0.0.1") || host == QLatin1String("::1") || host == QLatin1String("[::1]");
}

TRLPrinterQueue queueFrom(const QString &name, const QString &device, const QString &uri)
{
    TRLPrinterQueue q;
    q.Name = name;
    if (!device.isEmpty()) {
        q.Port = device;
    } else if (!uri.isEmpty()) {
        // A queue served by another machine: its host and its name there.
        const QUrl url(uri);
        if (isLocalHost(url.host())) {
            q.Port = uri;
        } else {
            q.Server = url.host();
            q.Share = url.path().section(QLatin1Char('/'), -1);
        }
    } else {
        q.Readable = false;
    }
    return q;
}

QString defaultQueue(Connection &cups)
{
    // The user's own choice comes before the server's, as for every CUPS command.
    for (const char *variable : {"LPDEST", "PRINTER"}) {
        const QString chosen = qEnvironmentVariable(variable);
        if (!chosen.isEmpty() && chosen != QLatin1String("lp"))
            return chosen;
    }
    ipp_t *request = newRequest(IPP_OP_CUPS_GET_DEFAULT);
    askFor(request, {"printer-name"});
    const IppPtr response = cups.request(request);
    return text(response.get(), "printer-name");
}

QList<TRLPrinterQueue> listQueues(Connection &cups)
{
    ipp_t *request = newRequest(IPP_OP_CUPS_GET_PRINTERS);
    askFor(request, {"printer-name", "device-uri", "printer-uri-supported"});
    const IppPtr response = cups.request(request);
    QList<TRLPrinterQueue> queues;
    QString name, device, uri;
    auto flush = [&] {
        if (!name.isEmpty())
            queues.append(queueFrom(name, device, uri));
        name.clear();
        device.clear();
        uri.clear();
    };
    for (ipp_attribute_t *a = ippFirstAttribute(response.get()); a; a = ippNextAttribute(response.get())) {
        const char *attribute = ippGetName(a);
        if (ippGetGroupTag(a) != IPP_TAG_PRINTER || !attribute) {
            flush();
            continue;
        }
        const QString value = QString::fromUtf8(ippGetString(a, 0, nullptr));
        if (!qstrcmp(attribute, "printer-name"))
            name = value;
        else if (!qstrcmp(attribute, "device-uri"))
            device = value;
        else if (!qstrcmp(attribute, "printer-uri-supported"))
            uri = value;
    }
    flush();
    if (queues.isEmpty())
        return queues;
    const QString chosen = defaultQueue(cups);
    for (TRLPrinterQueue &q : queues)
        q.IsDefault = q.Name == chosen;
    return queues;
}

int submit(Connection &cups, const TRLPrintJob &job)
{
    const QByteArray queue = job.Queue.toUtf8();
    const QByteArray title = job.Title.toUtf8();
    const QByteArray media = job.Media.toUtf8();
    const QByteArray copies = QByteArray::number(std::max(1, job.Copies));
    auto canceled = [&job] { return job.Canceled && job.Canceled(); };

    QFile document(job.DocumentFile);
    if (!document.open(QIODevice::ReadOnly))
        throw TRLException(RLMessage(rlmSubmitFailed).arg(job.Queue, document.errorString()));
    if (canceled())
        throw TRLAbort();

    cups_option_t *options = nullptr;
    int optionCount = 0;
    if (!media.isEmpty())
        optionCount = cupsAddOption("media", media.constData(), optionCount, &options);
    optionCount = cupsAddOption("copies", copies.constData(), optionCount, &options);
    // Without collation CUPS leaves the copies to the device, and some make none.
    optionCount = cupsAddOption("multiple-document-handling", "separate-documents-collated-copies", optionCount,
                                &options);
    // The job is created only now that the document is complete: an empty job blocks the queue.
    const int jobId = cupsCreateJob(cups.http(), queue.constData(), title.constData(), optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (jobId <= 0) {
        if (cups.timedOut() || cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
            cups.throwServiceFailure();
        throw TRLException(RLMessage(rlmSubmitFailed).arg(job.Queue, QString::fromUtf8(cupsLastErrorString())));
    }

    bool sent = cupsStartDocument(cups.http(), queue.constData(), jobId, title.constData(), CUPS_FORMAT_PDF, 1)
        == HTTP_STATUS_CONTINUE;
    QString reason;
    QByteArray chunk;
    while (sent && !document.atEnd() && !canceled()) {
        chunk = document.read(64 * 1024);
        if (chunk.isEmpty() && document.error() != QFileDevice::NoError) {
            sent = false;
            reason = document.errorString();
        } else if (cupsWriteRequestData(cups.http(), chunk.constData(), size_t(chunk.size())) != HTTP_STATUS_CONTINUE) {
            sent = false;
        }
    }
    // A cancel before the document is whole takes the job back: nothing of it may print.
    if (canceled()) {
        cupsFinishDocument(cups.http(), queue.constData());
        cupsCancelJob2(cups.http(), queue.constData(), jobId, 0);
        throw TRLAbort();
    }
    const bool finished = cupsFinishDocument(cups.http(), queue.constData()) <= IPP_STATUS_OK_EVENTS_COMPLETE;
    if (!sent || !finished) {
        if (reason.isEmpty())
            reason = cups.timedOut() ? RLMessage(rlmServiceSilent) : QString::fromUtf8(cupsLastErrorString());
        cupsCancelJob2(cups.http(), queue.constData(), jobId, 0);
        throw TRLException(RLMessage(rlmSubmitFailed).arg(job.Queue, reason));
    }
    return jobId;
}

// CUPS's keywords in the user's words; a keyword without them is left out rather than shown raw.
QString reasonWords(const QStringList &keywords)
{
    QStringList words;
    for (const QString &keyword : keywords) {
        if (keyword == QLatin1String("job-hold-until-specified"))
            words << RLMessage(rlmHeldUntilReleased);
        else if (keyword.startsWith(QLatin1String("connecting-to-device")))
            words << RLMessage(rlmConnectingToDevice);
    }
    return words.join(QStringLiteral(", "));
}

TRLJobStatus jobStatus(Connection &cups, const QString &queue, int jobId)
{
    ipp_t *request = newRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const QByteArray uri = QByteArray("ipp://localhost/jobs/") + QByteArray::number(jobId);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
    askFor(request, {"job-state", "job-state-reasons", "job-state-message", "job-printer-state-message"});
    const IppPtr job = cups.request(request);
    const ipp_status_t answer = ippGetStatusCode(job.get());
    TRLJobStatus status;
    // Purged, or never kept: whether it printed can no longer be told.
    if (answer == IPP_STATUS_ERROR_NOT_FOUND || answer == IPP_STATUS_ERROR_GONE) {
        status.Outcome = TRLJobStatus::Unknown;
        return status;
    }
    if (answer > IPP_STATUS_OK_EVENTS_COMPLETE)
        throw TRLException(QString::fromUtf8(cupsLastErrorString()));
    const int state = integer(job.get(), "job-state");
    if (state == 0) {
        status.Outcome = TRLJobStatus::Unknown;
        return status;
    }
    if (state == IPP_JSTATE_COMPLETED) {
        status.Outcome = TRLJobStatus::Completed;
        return status;
    }
    const PrinterState printer = readPrinter(cups, queue);
    const QString jobWords = text(job.get(), "job-state-message");
    // The job's own words first, then the printer's.
    for (const QString &words : {jobWords, text(job.get(), "job-printer-state-message"), printer.message})
        if (status.Message.isEmpty() && !words.isEmpty())
            status.Message = words;
    auto failWith = [&status](TRLMessageId otherwise) {
        status.Outcome = TRLJobStatus::Failed;
        if (status.Message.isEmpty())
            status.Message = RLMessage(otherwise);
    };
    switch (state) {
    case IPP_JSTATE_STOPPED:
        failWith(rlmJobStopped);
        break;
    case IPP_JSTATE_CANCELED:
        // The printer's words are older than the cancel and do not say why the job ended.
        status.Outcome = TRLJobStatus::Canceled;
        status.Message = RLMessage(rlmJobCanceled);
        break;
    case IPP_JSTATE_ABORTED:
        failWith(rlmJobAborted);
        break;
    case IPP_JSTATE_HELD: {
        // A job held for a time or for ever would print later, unseen: the user decides again.
        status.Outcome = TRLJobStatus::Failed;
        status.Message = RLMessage(rlmJobHeld);
        const QString why = reasonWords(keywords(job.get(), "job-state-reasons"));
        if (!why.isEmpty())
            status.Message += QStringLiteral(" (") + why + QLatin1Char(')');
        break;
    }
    case IPP_JSTATE_PENDING:
        // Behind a stopped printer a job waits for an administrator, not for the paper.
        if (printer.state == IPP_PSTATE_STOPPED) {
            status.Outcome = TRLJobStatus::Failed;
            status.Message = printer.message.isEmpty() ? RLMessage(rlmStopped).arg(queue) : printer.message;
        }
        break;
    default:
        break;
    }
    if (status.Outcome == TRLJobStatus::Waiting && status.Message.isEmpty())
        status.Message = reasonWords(keywords(job.get(), "job-state-reasons"));
    return status;
}

} // namespace

std::unique_ptr<TRLPrinterService> NewRLCupsService()
{
    return std::make_unique<TRLCupsService>();
}

QList<TRLPrinterQueue> TRLCupsService::Queues(QString *failure)
{
    QList<TRLPrinterQueue> queues;
    try {
        queues = withCups<QList<TRLPrinterQueue>>([](Connection &cups) { return listQueues(cups); });
    } catch (const TRLException &e) {
        if (failure)
            *failure = e.Message();
    }
    return queues;
}

void TRLCupsService::CheckQueue(const QString &queue)
{
    withCups<void>([queue](Connection &cups) {
        const PrinterState printer = readPrinter(cups, queue);
        // The scheduler's own words for a plain pause or reject say nothing the first half does not.
        const bool reasonGiven = !printer.message.isEmpty() && printer.message != QLatin1String("Paused")
            && printer.message != QLatin1String("Rejecting Jobs");
        if (printer.state == IPP_PSTATE_STOPPED)
            throw TRLException(reasonGiven ? RLMessage(rlmStoppedBecause).arg(queue, printer.message)
                                           : RLMessage(rlmStopped).arg(queue));
        if (!printer.accepting)
            throw TRLException(reasonGiven ? RLMessage(rlmNotAcceptingBecause).arg(queue, printer.message)
                                           : RLMessage(rlmNotAccepting).arg(queue));
    });
}

bool TRLCupsService::SupportsMedia(const QString &queue, const QString &media, double widthMm, double heightMm)
{
    return withCups<bool>([queue, media, widthMm, heightMm](Connection &cups) {
        bool taken = true;
        DestPtr dest(cupsGetNamedDest(cups.http(), queue.toUtf8().constData(), nullptr));
        if (!dest) {
            if (cups.timedOut())
                cups.throwServiceFailure();
            throw TRLException(RLMessage(rlmNoPrinter) + QStringLiteral(": ") + queue);
        }
        std::unique_ptr<cups_dinfo_t, DinfoFree> info(cupsCopyDestInfo(cups.http(), dest.get()));
        if (!info) {
            if (cups.timedOut())
                cups.throwServiceFailure();
            return taken; // nothing known about the queue: let the job tell
        }
        // A raw queue, or any that lists no sizes, takes whatever it is sent.
        ipp_attribute_t *sizes = cupsFindDestSupported(cups.http(), dest.get(), info.get(), CUPS_MEDIA);
        if (!sizes || ippGetCount(sizes) == 0)
            return taken;
        cups_size_t size;
        if (cupsGetDestMediaByName(cups.http(), dest.get(), info.get(), media.toUtf8().constData(),
                                   CUPS_MEDIA_FLAGS_DEFAULT, &size))
            return taken;
        // Legacy names such as "A4" are not always known by name; the size decides then, and a
        // queue with custom ranges takes any size inside them.
        taken = cupsGetDestMediaBySize(cups.http(), dest.get(), info.get(), int(std::lround(widthMm * 100)),
                                       int(std::lround(heightMm * 100)), CUPS_MEDIA_FLAGS_DEFAULT, &size)
            != 0;
        return taken;
    });
}

int TRLCupsService::Submit(const TRLPrintJob &job)
{
    return withCups<int>([job](Connection &cups) {
        readPrinter(cups, job.Queue); // a missing queue is named as such before anything is sent
        return submit(cups, job);
    });
}

TRLJobStatus TRLCupsService::JobStatus(const QString &queue, int jobId)
{
    return withCups<TRLJobStatus>([queue, jobId](Connection &cups) { return jobStatus(cups, queue, jobId); });
}

void TRLCupsService::CancelJob(const QString &queue, int jobId)
{
    withCups<void>([queue, jobId](Connection &cups) {
        const ipp_status_t answer = cupsCancelJob2(cups.http(), queue.toUtf8().constData(), jobId, 0);
        if (answer <= IPP_STATUS_OK_EVENTS_COMPLETE)
            return;
        // No answer at all: the server went silent or away, and the job stays as it was.
        if (cups.timedOut() || answer == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || answer == IPP_STATUS_ERROR_INTERNAL)
            cups.throwServiceFailure();
        throw TRLException(QString::fromUtf8(cupsLastErrorString()));
    });
}
