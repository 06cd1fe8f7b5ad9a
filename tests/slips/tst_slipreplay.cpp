// The four slips' stored pages replayed exactly as drawn object by object.

#include "DarfTestData.h"
#include "GareTestData.h"
#include "../report/ReplayReference.h"

#include "report/RLLabel.h"
#include "report/RLMemo.h"
#include "report/RLReport.h"
#include "slips/pDadosDARF.h"
#include "slips/pDadosGARE.h"
#include "slips/pLayOutDarf.h"
#include "slips/pLayOutGare.h"
#include "slips/pLayOutGareFill.h"

#include <QtTest>

#include <functional>
#include <memory>

namespace {

// A slip's form kept alive with the report whose store holds its page.
struct Slip
{
    std::shared_ptr<QWidget> form;
    TRLReport *report = nullptr;
};

Slip darfLayout(quint32 colour)
{
    auto form = std::make_shared<TfrmLayOutDARF>();
    FillLayOutDarf(*form, typicalTexts(), colour);
    return {form, form->RLDarf};
}

Slip gareLayout(quint32 colour)
{
    auto form = std::make_shared<TfrmLayOutGARE>();
    FillLayOutGare(*form, typicalGareTexts(), colour, colour);
    return {form, form->QRGARE};
}

Slip darfData()
{
    auto form = std::make_shared<TfrmDadosDARF>();
    const TDarfEntryTexts t = typicalTexts();
    form->QRLPeriodo->SetCaption(t.Periodo);
    form->QRLCGC->SetCaption(t.CGCCPF);
    form->QRLNome->SetCaption(t.Nome);
    form->QRLCodRec->SetCaption(t.CodRec);
    form->QRLNumRef->SetCaption(t.NumRef);
    form->QRLDtVenc->SetCaption(QStringLiteral("20/01/2026"));
    form->QRLValPrinc->SetCaption(t.ValPrinc);
    form->QRLValMulta->SetCaption(t.ValMulta);
    form->QRLValJur->SetCaption(t.ValJuros);
    form->QRLValTot->SetCaption(t.Total);
    return {form, form->RLDadosDARF};
}

Slip gareData()
{
    auto form = std::make_shared<TfrmDadosGARE>();
    const TGareEntryTexts t = typicalGareTexts();
    form->LNomeG->SetCaption(t.EdNomeG);
    form->LEnderecoG->SetCaption(t.EdEnderecoG);
    form->LMunicipioG->SetCaption(t.EDMunicipioG);
    form->LUFG->SetCaption(t.EDUFG);
    form->LTelefoneG->SetCaption(t.EDFoneG);
    form->LTribRecG->SetLines(t.MMTribG.split(QLatin1Char('\n')));
    form->LCAEG->SetCaption(t.EdCAEG);
    form->LPlacaG->SetCaption(t.EdPlacaG);
    form->LObserv->SetLines(t.MMObsG.split(QLatin1Char('\n')));
    form->LAnoG->SetCaption(QStringLiteral("2024"));
    form->LMesG->SetCaption(QStringLiteral("03"));
    form->LDiaG->SetCaption(QStringLiteral("15"));
    form->LCodRecG->SetCaption(t.EDCodRecG);
    form->LInscrEstG->SetCaption(t.EDInscEstG);
    form->LCGCG->SetCaption(t.EDCGCG);
    form->LInscrDAG->SetCaption(t.EDInscrDAG);
    form->LAIIMG->SetCaption(t.EDNroAinG);
    form->LVlrRecG->SetCaption(t.neValRecG);
    form->LJurMorG->SetCaption(t.neJurMorG);
    form->LMulMorG->SetCaption(t.neMulMorG);
    form->LHonorG->SetCaption(t.neHonor);
    form->LVlrTotG->SetCaption(t.LbTotalG);
    return {form, form->LRDadosGARE};
}

using SlipMaker = std::function<Slip()>;

} // namespace

Q_DECLARE_METATYPE(SlipMaker)

class TestSlipReplay : public QObject
{
    Q_OBJECT
private slots:
    void slipPageDrawnAsObjectByObject_data();
    void slipPageDrawnAsObjectByObject();
};

void TestSlipReplay::slipPageDrawnAsObjectByObject_data()
{
    QTest::addColumn<SlipMaker>("make");
    QTest::addColumn<int>("dpi");
    const std::pair<const char *, SlipMaker> slips[] = {
        {"DARF layout, colour", [] { return darfLayout(kDarkBlue); }},
        {"DARF layout, black and white", [] { return darfLayout(0); }},
        {"GARE layout, colour", [] { return gareLayout(0x0000FF); }},
        {"GARE layout, black and white", [] { return gareLayout(0); }},
        {"DARF data only", darfData},
        {"GARE data only", gareData},
    };
    for (const auto &[name, make] : slips)
        for (int dpi : {96, 300})
            QTest::addRow("%s, %d dpi", name, dpi) << make << dpi;
}

void TestSlipReplay::slipPageDrawnAsObjectByObject()
{
    QFETCH(SlipMaker, make);
    QFETCH(int, dpi);
    const Slip slip = make();
    QVERIFY(slip.report->Prepare());
    QVERIFY(slip.report->Pages() && slip.report->Pages()->PageCount() == 1);
    const TRLGraphicSurface &page = *slip.report->Pages()->Pages(0);
    const QImage replayed = rendered(page, dpi / 96.0, false);
    const QImage reference = rendered(page, dpi / 96.0, true);
    QVERIFY(!replayed.isNull());
    QCOMPARE(replayed.size(), reference.size());
    int differing = 0, inked = 0;
    for (int y = 0; y < replayed.height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(replayed.constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(reference.constScanLine(y));
        for (int x = 0; x < replayed.width(); ++x) {
            differing += a[x] != b[x];
            inked += a[x] != qRgb(255, 255, 255);
        }
    }
    QVERIFY(inked > 0); // an empty page would match anything
    QCOMPARE(differing, 0);
}

QTEST_MAIN(TestSlipReplay)
#include "tst_slipreplay.moc"
