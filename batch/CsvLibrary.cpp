// The functions below stand in for those of libcsv that TCsvReader calls; libcsv's header keeps
// their signatures honest. Each forwards to the real one, looked up in libcsv's own scope. The
// reader asks CsvLibrary::Available() before its first parser; should a stand-in still be
// reached without the library, it answers as libcsv does for a parser that failed.
#include "batch/CsvLibrary.h"

#include "report/base/RLLazyLibrary.h"

#include <csv.h>

#define ZV_CSV_FUNCTIONS(X)                                                                                  \
    X(csv_init) X(csv_fini) X(csv_free) X(csv_error) X(csv_parse) X(csv_set_delim)           \
    X(csv_set_space_func)

namespace {

RL_LAZY_LIBRARY(TCsvApi, "libcsv.so.3", ZV_CSV_FUNCTIONS)

const TCsvApi &csv()
{
    static const TCsvApi api = TCsvApi::Open();
    return api;
}

bool loaded() { return csv().Complete; }

} // namespace

bool CsvLibrary::Available() { return loaded(); }

extern "C" {

int csv_init(struct csv_parser *p, unsigned char options)
{
    return loaded() ? csv().csv_init(p, options) : -1;
}

int csv_fini(struct csv_parser *p, void (*cb1)(void *, size_t, void *), void (*cb2)(int, void *), void *data)
{
    return loaded() ? csv().csv_fini(p, cb1, cb2, data) : -1;
}

void csv_free(struct csv_parser *p)
{
    if (loaded())
        csv().csv_free(p);
}

int csv_error(struct csv_parser *p) { return loaded() ? csv().csv_error(p) : CSV_EINVALID; }

size_t csv_parse(struct csv_parser *p, const void *s, size_t len, void (*cb1)(void *, size_t, void *),
                 void (*cb2)(int, void *), void *data)
{
    return loaded() ? csv().csv_parse(p, s, len, cb1, cb2, data) : 0;
}

void csv_set_delim(struct csv_parser *p, unsigned char c)
{
    if (loaded())
        csv().csv_set_delim(p, c);
}

void csv_set_space_func(struct csv_parser *p, int (*f)(unsigned char))
{
    if (loaded())
        csv().csv_set_space_func(p, f);
}

} // extern "C"
