#include "slips/pDadosDARF.h"

#include "report/RLReport.h"
#include "report/base/RLUtils.h"
#include "slips/DataOnlyRows.h"
#include "slips/PrintedDate.h"

namespace {

using enum TDataOnlyKind;
using enum TDataOnlyFont;

// In stored order; positions relative to QRBand1.
constexpr TDataOnlyRow kRows[] = {
    {.name = "QRLNome",     .kind = Label, .left =  19, .top = 159, .width = 378, .height = 18, .font = Arial11},
    {.name = "QRLPeriodo",  .kind = Label, .left = 614, .top =  30, .width = 128, .height = 18, .font = ReportFont, .alignment = taRightJustify},
    {.name = "QRLCGC",      .kind = Label, .left = 574, .top =  64, .width = 168, .height = 18, .font = ReportFont, .alignment = taRightJustify},
    {.name = "QRLCodRec",   .kind = Label, .left = 574, .top =  94, .width = 168, .height = 18, .font = ReportFont, .alignment = taRightJustify},
    {.name = "QRLNumRef",   .kind = Label, .left = 574, .top = 129, .width = 168, .height = 18, .font = ReportFont, .alignment = taRightJustify},
    {.name = "QRLDtVenc",   .kind = Label, .left = 574, .top = 159, .width = 168, .height = 18, .font = ReportFont, .alignment = taRightJustify},
    {.name = "QRLValPrinc", .kind = Label, .left = 574, .top = 193, .width = 168, .height = 18, .font = ReportFont, .alignment = taRightJustify},
    {.name = "QRLValMulta", .kind = Label, .left = 574, .top = 223, .width = 168, .height = 18, .font = ReportFont, .alignment = taRightJustify},
    {.name = "QRLValJur",   .kind = Label, .left = 574, .top = 257, .width = 168, .height = 18, .font = ReportFont, .alignment = taRightJustify},
    {.name = "QRLValTot",   .kind = Label, .left = 574, .top = 287, .width = 168, .height = 18, .font = ReportFont, .alignment = taRightJustify},
};

template <class T>
T *bound(QObject *form, const char *name)
{
    return RLRequireChild<T>(form, name, Qt::FindDirectChildrenOnly);
}

} // namespace

TfrmDadosDARF::TfrmDadosDARF(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmDadosDARF"));
    setWindowTitle(QStringLiteral("frmDadosDARF"));
    {
        TRLFormLoader loading(this);
        RLDadosDARF = new TRLReport(this);
        RLDadosDARF->SetName(QStringLiteral("RLDadosDARF"));
        RLDadosDARF->PageSetup()->SetPaperHeight(102.0);
        RLDadosDARF->PageSetup()->SetPaperWidth(211.0);
        RLDadosDARF->PageSetup()->SetPaperSize(fpCustom);
        RLDadosDARF->Margins()->SetLeftMargin(4.0);
        RLDadosDARF->Margins()->SetTopMargin(5.0);
        RLDadosDARF->Margins()->SetRightMargin(4.0);
        RLDadosDARF->Margins()->SetBottomMargin(4.0);
        RLDadosDARF->SetFont(DataOnlyRows::SlipFont("Arial", 13));
        RLDadosDARF->SetFontColor(DataOnlyRows::TextColour());
        RLDadosDARF->SetShowProgress(false);

        QRBand1 = new TRLBand(this);
        QRBand1->SetName(QStringLiteral("QRBand1"));
        QRBand1->SetParent(RLDadosDARF);
        QRBand1->SetBounds(15, 19, 767, 345);
        QRBand1->SetBandType(btHeader);

        DataOnlyRows::Load(this, QRBand1, kRows);
    }
    RLDadosDARF->SetFormBoxes(DataOnlyRows::FormBoxes(kRows, QRBand1->Left(), QRBand1->Top()));
    QRLNome = bound<TRLLabel>(this, "QRLNome");
    QRLPeriodo = bound<TRLLabel>(this, "QRLPeriodo");
    QRLCGC = bound<TRLLabel>(this, "QRLCGC");
    QRLCodRec = bound<TRLLabel>(this, "QRLCodRec");
    QRLNumRef = bound<TRLLabel>(this, "QRLNumRef");
    QRLDtVenc = bound<TRLLabel>(this, "QRLDtVenc");
    QRLValPrinc = bound<TRLLabel>(this, "QRLValPrinc");
    QRLValMulta = bound<TRLLabel>(this, "QRLValMulta");
    QRLValJur = bound<TRLLabel>(this, "QRLValJur");
    QRLValTot = bound<TRLLabel>(this, "QRLValTot");
}

TfrmDadosDARF::~TfrmDadosDARF() = default;

void FillDadosDarf(TfrmDadosDARF &form, const TDarfEntryTexts &texts)
{
    form.QRLPeriodo->SetCaption(PrintedDateText(texts.Periodo));
    form.QRLCGC->SetCaption(texts.CGCCPF);
    form.QRLNome->SetCaption(texts.Nome);
    form.QRLCodRec->SetCaption(texts.CodRec);
    form.QRLNumRef->SetCaption(texts.NumRef);
    form.QRLDtVenc->SetCaption(PrintedDateText(texts.DtVenc));
    form.QRLValPrinc->SetCaption(texts.ValPrinc);
    form.QRLValMulta->SetCaption(texts.ValMulta);
    form.QRLValJur->SetCaption(texts.ValJuros);
    form.QRLValTot->SetCaption(texts.Total);
}
