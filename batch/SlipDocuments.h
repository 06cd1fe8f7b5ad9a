#pragma once
// The slip documents a batch fills, one of each kind for the whole run: each row sets its texts
// into its kind's report and prepares it again, so only one slip's pages exist at a time. The
// run's colour is the same for every row: a layout is coloured once, when it is made.

#include "batch/BatchTable.h"

#include <QString>
#include <memory>

class TRLGraphicStorage;
class TRLReport;
class TfrmLayOutDARF;
class TfrmLayOutGARE;
class TfrmDadosDARF;
class TfrmDadosGARE;

enum class TBatchMode { LayoutColour, LayoutBlackWhite, DataOnly };

class TSlipDocuments
{
public:
    explicit TSlipDocuments(TBatchMode mode);
    ~TSlipDocuments();
    TSlipDocuments(const TSlipDocuments &) = delete;
    TSlipDocuments &operator=(const TSlipDocuments &) = delete;

    // Fills the slip's document and prepares its pages, which stay until the next slip of the
    // same kind. Throws TBatchOutputError.
    TRLGraphicStorage &Prepare(const TBatchSlip &slip);

private:
    TRLReport *fill(const TBatchSlip &slip);

    TBatchMode m_mode;
    std::unique_ptr<TfrmLayOutDARF> m_layOutDarf;
    std::unique_ptr<TfrmLayOutGARE> m_layOutGare;
    std::unique_ptr<TfrmDadosDARF> m_dadosDarf;
    std::unique_ptr<TfrmDadosGARE> m_dadosGare;
};
