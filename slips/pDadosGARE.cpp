#include "slips/pDadosGARE.h"

#include "report/RLReport.h"
#include "report/base/RLUtils.h"
#include "slips/DataOnlyRows.h"

namespace {

using enum TDataOnlyKind;
using enum TDataOnlyFont;

// In stored order; positions relative to the paper's top-left corner.
constexpr TDataOnlyRow kRows[] = {
    {.name = "LNomeG",      .kind = Label, .left =  40, .top =  96, .width = 489, .height = 15, .font = Arial11},
    {.name = "LEnderecoG",  .kind = Label, .left =  40, .top = 122, .width = 489, .height = 15, .font = Arial11},
    {.name = "LMunicipioG", .kind = Label, .left =  24, .top = 147, .width = 265, .height = 15, .font = Arial11},
    {.name = "LUFG",        .kind = Label, .left = 320, .top = 147, .width =  25, .height = 15, .font = TNR11},
    {.name = "LTelefoneG",  .kind = Label, .left = 364, .top = 147, .width = 165, .height = 15, .font = Arial11},
    {.name = "LTribRecG",   .kind = Memo,  .left =  40, .top = 176, .width = 313, .height = 33, .font = Arial11, .siteExpander = true},
    {.name = "LCAEG",       .kind = Label, .left = 383, .top = 171, .width = 146, .height = 15, .font = Arial11},
    {.name = "LPlacaG",     .kind = Label, .left = 383, .top = 195, .width = 146, .height = 15, .font = Arial11},
    {.name = "LObserv",     .kind = Memo,  .left =  40, .top = 232, .width = 489, .height = 97, .font = Arial11, .siteExpander = true},
    {.name = "LAnoG",       .kind = Label, .left = 720, .top =  67, .width =  38, .height = 15, .font = Arial11, .alignment = taCenter},
    {.name = "LCodRecG",    .kind = Label, .left = 574, .top =  95, .width = 187, .height = 15, .font = Arial11, .alignment = taRightJustify},
    {.name = "LInscrEstG",  .kind = Label, .left = 574, .top = 122, .width = 187, .height = 15, .font = Arial11, .alignment = taRightJustify},
    {.name = "LCGCG",       .kind = Label, .left = 574, .top = 146, .width = 187, .height = 15, .font = Arial11, .alignment = taRightJustify},
    {.name = "LInscrDAG",   .kind = Label, .left = 574, .top = 170, .width = 187, .height = 15, .font = Arial11, .alignment = taRightJustify},
    {.name = "LAIIMG",      .kind = Label, .left = 574, .top = 218, .width = 187, .height = 15, .font = Arial11, .alignment = taRightJustify},
    {.name = "LVlrRecG",    .kind = Label, .left = 574, .top = 242, .width = 187, .height = 15, .font = Arial11, .alignment = taRightJustify},
    {.name = "LJurMorG",    .kind = Label, .left = 574, .top = 266, .width = 187, .height = 15, .font = Arial11, .alignment = taRightJustify},
    {.name = "LMulMorG",    .kind = Label, .left = 574, .top = 290, .width = 187, .height = 15, .font = Arial11, .alignment = taRightJustify},
    {.name = "LHonorG",     .kind = Label, .left = 574, .top = 335, .width = 187, .height = 15, .font = Arial11, .alignment = taRightJustify},
    {.name = "LVlrTotG",    .kind = Label, .left = 574, .top = 357, .width = 187, .height = 15, .font = Arial11, .alignment = taRightJustify},
    {.name = "LDiaG",       .kind = Label, .left = 632, .top =  67, .width =  34, .height = 15, .font = Arial11, .alignment = taCenter},
    {.name = "LMesG",       .kind = Label, .left = 680, .top =  67, .width =  34, .height = 15, .font = Arial11, .alignment = taCenter},
};

template <class T>
T *bound(QObject *form, const char *name)
{
    return RLRequireChild<T>(form, name, Qt::FindDirectChildrenOnly);
}

} // namespace

TfrmDadosGARE::TfrmDadosGARE(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmDadosGARE"));
    setWindowTitle(QStringLiteral("frmDadosGARE"));
    {
        TRLFormLoader loading(this);
        LRDadosGARE = new TRLReport(this);
        LRDadosGARE->SetName(QStringLiteral("LRDadosGARE"));
        LRDadosGARE->PageSetup()->SetPaperHeight(102.0);
        LRDadosGARE->PageSetup()->SetPaperWidth(211.0);
        LRDadosGARE->PageSetup()->SetPaperSize(fpCustom);
        LRDadosGARE->Margins()->SetLeftMargin(4.0);
        LRDadosGARE->Margins()->SetTopMargin(5.0);
        LRDadosGARE->Margins()->SetRightMargin(5.0);
        LRDadosGARE->Margins()->SetBottomMargin(3.0);
        LRDadosGARE->SetFont(DataOnlyRows::SlipFont("Arial", 13));
        LRDadosGARE->SetFontColor(DataOnlyRows::TextColour());

        DataOnlyRows::Load(this, LRDadosGARE, kRows, QStringLiteral("Observação"));
    }
    LRDadosGARE->SetFormBoxes(DataOnlyRows::FormBoxes(kRows));
    LNomeG = bound<TRLLabel>(this, "LNomeG");
    LEnderecoG = bound<TRLLabel>(this, "LEnderecoG");
    LMunicipioG = bound<TRLLabel>(this, "LMunicipioG");
    LUFG = bound<TRLLabel>(this, "LUFG");
    LTelefoneG = bound<TRLLabel>(this, "LTelefoneG");
    LTribRecG = bound<TRLMemo>(this, "LTribRecG");
    LCAEG = bound<TRLLabel>(this, "LCAEG");
    LPlacaG = bound<TRLLabel>(this, "LPlacaG");
    LObserv = bound<TRLMemo>(this, "LObserv");
    LAnoG = bound<TRLLabel>(this, "LAnoG");
    LCodRecG = bound<TRLLabel>(this, "LCodRecG");
    LInscrEstG = bound<TRLLabel>(this, "LInscrEstG");
    LCGCG = bound<TRLLabel>(this, "LCGCG");
    LInscrDAG = bound<TRLLabel>(this, "LInscrDAG");
    LAIIMG = bound<TRLLabel>(this, "LAIIMG");
    LVlrRecG = bound<TRLLabel>(this, "LVlrRecG");
    LJurMorG = bound<TRLLabel>(this, "LJurMorG");
    LMulMorG = bound<TRLLabel>(this, "LMulMorG");
    LHonorG = bound<TRLLabel>(this, "LHonorG");
    LVlrTotG = bound<TRLLabel>(this, "LVlrTotG");
    LDiaG = bound<TRLLabel>(this, "LDiaG");
    LMesG = bound<TRLLabel>(this, "LMesG");
}

TfrmDadosGARE::~TfrmDadosGARE() = default;

namespace {
// An empty memo has no line at all, as the entry memo gives it.
QStringList linesOf(const QString &text)
{
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}
} // namespace

void FillDadosGare(TfrmDadosGARE &form, const TGareEntryTexts &texts)
{
    form.LNomeG->SetCaption(texts.EdNomeG);
    form.LEnderecoG->SetCaption(texts.EdEnderecoG);
    form.LMunicipioG->SetCaption(texts.EDMunicipioG);
    form.LUFG->SetCaption(texts.EDUFG);
    form.LTelefoneG->SetCaption(texts.EDFoneG);
    form.LTribRecG->SetLines(linesOf(texts.MMTribG));
    form.LCAEG->SetCaption(texts.EdCAEG);
    form.LPlacaG->SetCaption(texts.EdPlacaG);
    form.LObserv->SetLines(linesOf(texts.MMObsG));
    // Day, month and year stand at fixed places of the mask; the separators do not print.
    const QString &date = texts.MEDTVencG;
    form.LDiaG->SetCaption(date.mid(0, 2));
    form.LMesG->SetCaption(date.mid(3, 2));
    form.LAnoG->SetCaption(date.mid(6, 4));
    form.LCodRecG->SetCaption(texts.EDCodRecG);
    form.LInscrEstG->SetCaption(texts.EDInscEstG);
    form.LCGCG->SetCaption(texts.EDCGCG);
    form.LInscrDAG->SetCaption(texts.EDInscrDAG);
    form.LAIIMG->SetCaption(texts.EDNroAinG);
    form.LVlrRecG->SetCaption(texts.neValRecG);
    form.LJurMorG->SetCaption(texts.neJurMorG);
    form.LMulMorG->SetCaption(texts.neMulMorG);
    form.LHonorG->SetCaption(texts.neHonor);
    form.LVlrTotG->SetCaption(texts.LbTotalG);
}
