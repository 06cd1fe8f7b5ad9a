#include "report/output/RLSaveDialog.h"

// RLFilters.h reads its store through an inline QPointer: the type must be complete.
#include "report/page/RLMetaFile.h"
#include "report/output/RLFilters.h"

TRLSaveParams::TRLSaveParams(QObject *owner) : QObject(owner), TRLPageRangeParams(0, 0, 0, 0) {}

TRLSaveParams::~TRLSaveParams() = default;

TRLCustomSaveFilter *TRLSaveParams::Filter() const
{
    return static_cast<TRLCustomSaveFilter *>(m_filter.data());
}

void TRLSaveParams::SetFilter(TRLCustomSaveFilter *filter)
{
    m_filter = filter;
}

TRLSaveParams &RLSaveParams()
{
    static TRLSaveParams params;
    return params;
}
