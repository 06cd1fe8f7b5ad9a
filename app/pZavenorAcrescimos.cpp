// The main window's side of the DARF's late charges: the dialog that writes 08 and 09, and the
// Selic table they add up.
#include "app/pZavenorCLX.h"

#include "app/DateCheck.h"
#include "app/LateChargesDialog.h"
#include "app/SelicTableWindow.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/ErrorRelay.h"
#include "widgets/NumEditCLX.h"

#include <QAction>
#include <QTabWidget>

void TfrmZavenor::buildLateChargeCommands()
{
    AcCalcularAcrescimos = addToolsAction(QStringLiteral("Calcular &acréscimos..."), "AcCalcularAcrescimos");
    AcCalcularAcrescimos->setToolTip(QStringLiteral("Multa e juros de mora do DARF pago em atraso (campos 08 e 09)"));
    AcTabelaSelic = addToolsAction(QStringLiteral("Tabela &Selic..."), "AcTabelaSelic");
    connect(AcCalcularAcrescimos, &QAction::triggered, this,
            [this] { ErrorRelay::RunGuarded([this] { CalcularAcrescimosClick(); }); });
    connect(AcTabelaSelic, &QAction::triggered, this,
            [this] { ErrorRelay::RunGuarded([this] { TabelaSelicClick(); }); });
    // It writes into the DARF page: offered only while that page is in front.
    const auto follow = [this] {
        const bool darf = PC1->currentWidget() == tsDarf;
        AcCalcularAcrescimos->setEnabled(darf);
        AcCalcularAcrescimos->setText(darf ? QStringLiteral("Calcular &acréscimos...")
                                           : QStringLiteral("Calcular &acréscimos... (só no DARF)"));
    };
    connect(PC1, &QTabWidget::currentChanged, this, follow);
    follow();
}

void TfrmZavenor::CalcularAcrescimosClick()
{
    if (PC1->currentWidget() != tsDarf)
        return;
    // A due date still being typed is judged as on leaving its field.
    QDate due;
    const TDateVerdict verdict = CheckDateText(meDtVenc->Text(), true, &due);
    if (verdict != TDateVerdict::Good && verdict != TDateVerdict::Blank) {
        fValidaData(meDtVenc->Text(), true);
        meDtVenc->setFocus();
        return;
    }
    const qint64 principal = LateCharges::Cents(neValPrinc->Value());
    const TSelicTable table = TSelicTable::Load(TSelicTable::OfficeFile());
    TfrmAcrescimos dialog(principal, due, table, [this](const QString &text) { return fValidaData(text, false); }, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.Charges().IsComputed())
        return;
    neValMulta->SetValue(static_cast<long double>(dialog.Charges().fine) / 100);
    neValJuros->SetValue(static_cast<long double>(dialog.Charges().interest) / 100);
    fTotalizaDarf();
}

void TfrmZavenor::TabelaSelicClick()
{
    TfrmTabelaSelic window(TSelicTable::OfficeFile(), this);
    window.exec();
}
