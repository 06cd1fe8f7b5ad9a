// libcups is opened on the first call that needs it, not when the program starts: it brings two
// dozen libraries of its own (Kerberos, GnuTLS, Avahi, systemd...) whose loading and relocation
// were a tenth of the start-up, for a service the program uses only once it prints.
//
// The functions below stand in for those of libcups that the printer unit calls; the libcups
// headers keep their signatures honest. Each forwards to the real one, looked up in libcups' own
// scope, so even a caller inside libcups that reached one of these would end up in libcups.
#include <cups/cups.h>

#include "report/base/RLExceptions.h"
#include "report/base/RLConsts.h"
#include "report/base/RLLazyLibrary.h"


#include <cstdarg>
#include <cstdio>

#define RL_CUPS_FUNCTIONS(X)                                                                                 \
    X(cupsAddOption) X(cupsCancelJob2) X(cupsCopyDestInfo) X(cupsCreateJob) X(cupsDoRequest)                  \
    X(cupsEncryption) X(cupsFindDestSupported) X(cupsFinishDocument) X(cupsFreeDestInfo) X(cupsFreeDests)     \
    X(cupsFreeOptions) X(cupsGetDestMediaByName) X(cupsGetDestMediaBySize) X(cupsGetNamedDest)                \
    X(cupsLastError) X(cupsLastErrorString) X(cupsServer) X(cupsStartDocument) X(cupsUser)                    \
    X(cupsWriteRequestData) X(httpAssembleURI) X(httpClose) X(httpConnect2) X(httpSetTimeout) X(ippAddString) \
    X(ippAddStrings) X(ippDelete) X(ippFindAttribute) X(ippFirstAttribute) X(ippGetBoolean) X(ippGetCount)    \
    X(ippGetGroupTag) X(ippGetInteger) X(ippGetName) X(ippGetStatusCode) X(ippGetString) X(ippNewRequest)     \
    X(ippNextAttribute) X(ippPort)

namespace {

// libcups keeps per-thread state and atexit handlers of its own: it must stay open.
RL_LAZY_LIBRARY(TCupsApi, "libcups.so.2", RL_CUPS_FUNCTIONS)

// Loaded once, by whichever thread asks first; a missing library reads as a service that is down.
const TCupsApi &cups()
{
    static const TCupsApi api = TCupsApi::Open();
    if (!api.Complete)
        throw TRLException(RLMessage(rlmServiceDown));
    return api;
}

} // namespace

extern "C" {

int cupsAddOption(const char *name, const char *value, int num_options, cups_option_t **options)
{
    return cups().cupsAddOption(name, value, num_options, options);
}

ipp_status_t cupsCancelJob2(http_t *http, const char *name, int job_id, int purge)
{
    return cups().cupsCancelJob2(http, name, job_id, purge);
}

cups_dinfo_t *cupsCopyDestInfo(http_t *http, cups_dest_t *dest) { return cups().cupsCopyDestInfo(http, dest); }

int cupsCreateJob(http_t *http, const char *name, const char *title, int num_options, cups_option_t *options)
{
    return cups().cupsCreateJob(http, name, title, num_options, options);
}

ipp_t *cupsDoRequest(http_t *http, ipp_t *request, const char *resource)
{
    return cups().cupsDoRequest(http, request, resource);
}

http_encryption_t cupsEncryption(void) { return cups().cupsEncryption(); }

ipp_attribute_t *cupsFindDestSupported(http_t *http, cups_dest_t *dest, cups_dinfo_t *dinfo, const char *option)
{
    return cups().cupsFindDestSupported(http, dest, dinfo, option);
}

ipp_status_t cupsFinishDocument(http_t *http, const char *name) { return cups().cupsFinishDocument(http, name); }

void cupsFreeDestInfo(cups_dinfo_t *dinfo) { cups().cupsFreeDestInfo(dinfo); }

void cupsFreeDests(int num_dests, cups_dest_t *dests) { cups().cupsFreeDests(num_dests, dests); }

void cupsFreeOptions(int num_options, cups_option_t *options) { cups().cupsFreeOptions(num_options, options); }

int cupsGetDestMediaByName(http_t *http, cups_dest_t *dest, cups_dinfo_t *dinfo, const char *media, unsigned flags,
                           cups_size_t *size)
{
    return cups().cupsGetDestMediaByName(http, dest, dinfo, media, flags, size);
}

int cupsGetDestMediaBySize(http_t *http, cups_dest_t *dest, cups_dinfo_t *dinfo, int width, int length,
                           unsigned flags, cups_size_t *size)
{
    return cups().cupsGetDestMediaBySize(http, dest, dinfo, width, length, flags, size);
}

cups_dest_t *cupsGetNamedDest(http_t *http, const char *name, const char *instance)
{
    return cups().cupsGetNamedDest(http, name, instance);
}

ipp_status_t cupsLastError(void) { return cups().cupsLastError(); }

const char *cupsLastErrorString(void) { return cups().cupsLastErrorString(); }

const char *cupsServer(void) { return cups().cupsServer(); }

http_status_t cupsStartDocument(http_t *http, const char *name, int job_id, const char *docname, const char *format,
                                int last_document)
{
    return cups().cupsStartDocument(http, name, job_id, docname, format, last_document);
}

const char *cupsUser(void) { return cups().cupsUser(); }

http_status_t cupsWriteRequestData(http_t *http, const char *buffer, size_t length)
{
    return cups().cupsWriteRequestData(http, buffer, length);
}

// A format cannot be handed on through a pointer: formatted here, as libcups does it itself.
http_uri_status_t httpAssembleURIf(http_uri_coding_t encoding, char *uri, int urilen, const char *scheme,
                                   const char *username, const char *host, int port, const char *resourcef, ...)
{
    char resource[1024];
    va_list ap;
    va_start(ap, resourcef);
    const int length = std::vsnprintf(resource, sizeof resource, resourcef, ap);
    va_end(ap);
    if (length < 0 || length >= int(sizeof resource)) {
        if (uri && urilen > 0)
            *uri = '\0';
        return HTTP_URI_STATUS_OVERFLOW;
    }
    return cups().httpAssembleURI(encoding, uri, urilen, scheme, username, host, port, resource);
}

void httpClose(http_t *http) { cups().httpClose(http); }

http_t *httpConnect2(const char *host, int port, http_addrlist_t *addrlist, int family, http_encryption_t encryption,
                     int blocking, int msec, int *cancel)
{
    return cups().httpConnect2(host, port, addrlist, family, encryption, blocking, msec, cancel);
}

void httpSetTimeout(http_t *http, double timeout, http_timeout_cb_t cb, void *user_data)
{
    cups().httpSetTimeout(http, timeout, cb, user_data);
}

ipp_attribute_t *ippAddString(ipp_t *ipp, ipp_tag_t group, ipp_tag_t value_tag, const char *name,
                              const char *language, const char *value)
{
    return cups().ippAddString(ipp, group, value_tag, name, language, value);
}

ipp_attribute_t *ippAddStrings(ipp_t *ipp, ipp_tag_t group, ipp_tag_t value_tag, const char *name, int num_values,
                               const char *language, const char *const *values)
{
    return cups().ippAddStrings(ipp, group, value_tag, name, num_values, language, values);
}

void ippDelete(ipp_t *ipp) { cups().ippDelete(ipp); }

ipp_attribute_t *ippFindAttribute(ipp_t *ipp, const char *name, ipp_tag_t value_tag)
{
    return cups().ippFindAttribute(ipp, name, value_tag);
}

ipp_attribute_t *ippFirstAttribute(ipp_t *ipp) { return cups().ippFirstAttribute(ipp); }

int ippGetBoolean(ipp_attribute_t *attr, int element) { return cups().ippGetBoolean(attr, element); }

int ippGetCount(ipp_attribute_t *attr) { return cups().ippGetCount(attr); }

ipp_tag_t ippGetGroupTag(ipp_attribute_t *attr) { return cups().ippGetGroupTag(attr); }

int ippGetInteger(ipp_attribute_t *attr, int element) { return cups().ippGetInteger(attr, element); }

const char *ippGetName(ipp_attribute_t *attr) { return cups().ippGetName(attr); }

ipp_status_t ippGetStatusCode(ipp_t *ipp) { return cups().ippGetStatusCode(ipp); }

const char *ippGetString(ipp_attribute_t *attr, int element, const char **language)
{
    return cups().ippGetString(attr, element, language);
}

ipp_t *ippNewRequest(ipp_op_t op) { return cups().ippNewRequest(op); }

ipp_attribute_t *ippNextAttribute(ipp_t *ipp) { return cups().ippNextAttribute(ipp); }

int ippPort(void) { return cups().ippPort(); }

} // extern "C"
