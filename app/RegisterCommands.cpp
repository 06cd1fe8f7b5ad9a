#include "app/RegisterCommands.h"

#include "app/ClientCompletion.h"
#include "app/ClientsWindow.h"
#include "app/HistoryWindow.h"
#include "app/IssueHistory.h"
#include "app/pZavenorCLX.h"
#include "batch/IssueRecords.h"
#include "slips/TaxIdCheck.h"
#include "storage/RegisterThread.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/ErrorRelay.h"
#include "widgets/MemoCLX.h"
#include "widgets/NumEditCLX.h"

#include <QAction>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <QValidator>

void SetFieldFitting(QLineEdit *field, const QString &text)
{
    QString fitting = field->maxLength() > 0 ? text.left(field->maxLength()) : text;
    if (const QValidator *fits = field->validator()) {
        int caret = 0;
        while (!fitting.isEmpty() && fits->validate(fitting, caret) == QValidator::Invalid)
            fitting.chop(1);
    }
    field->setText(fitting);
}

namespace {

void setDate(TDateMaskEdit *field, const QString &text)
{
    field->Clear();
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
        field->setText(text);
}

void setAmount(TNumEditCLX *field, const QString &text)
{
    QString shown, reason;
    long double value = 0;
    if (!BatchValues::AmountText(text, shown, value, &reason))
        value = 0;
    field->SetValue(value);
}

void setMemo(TMemoCLX *field, const QString &text)
{
    if (text.isEmpty())
        field->ClearLines();
    else
        field->SetLines(text.split(QLatin1Char('\n')));
}

} // namespace

TRegisterCommands::TRegisterCommands(TfrmZavenor &window, TRegisterThread &reg)
    : QObject(&window), m_window(window), m_register(reg), m_history(std::make_unique<TIssueHistory>(reg, &window))
{
    const auto completion = [this](QLineEdit *field, bool darf) {
        return new TClientCompletion(field, m_register, [this, darf](const TClient &client) {
            ErrorRelay::RunGuarded([&] { FillPayer(darf, client); });
        });
    };
    m_darfName = completion(window.EdNome, true);
    m_darfTaxId = completion(window.edCGCCPF, true);
    m_gareName = completion(window.EdNomeG, false);
    m_gareTaxId = completion(window.EDCGCG, false);

    SaveAction = window.addToolsAction(QStringLiteral("&Salvar contribuinte"), "acSalvarContribuinte");
    ClientsAction = window.addToolsAction(QStringLiteral("&Contribuintes..."), "acContribuintes");
    HistoryAction = window.addToolsAction(QStringLiteral("&Guias emitidas..."), "acGuiasEmitidas");
    connect(SaveAction, &QAction::triggered, this, [this] { ErrorRelay::RunGuarded([this] { SaveClient(); }); });
    connect(ClientsAction, &QAction::triggered, this, [this] { ErrorRelay::RunGuarded([this] { OpenClients(); }); });
    connect(HistoryAction, &QAction::triggered, this, [this] { ErrorRelay::RunGuarded([this] { OpenHistory(); }); });
}

TRegisterCommands::~TRegisterCommands() = default;

TfrmContribuintes *TRegisterCommands::ClientsWindow() const
{
    return m_clients;
}

TfrmGuiasEmitidas *TRegisterCommands::HistoryWindow() const
{
    return m_historyWindow;
}

bool TRegisterCommands::DarfInFront() const
{
    return m_window.PC1->currentWidget() == m_window.tsDarf;
}

TRegisterCommands::TPayerFields TRegisterCommands::PayerFields(bool darf) const
{
    if (darf)
        return {m_window.EdNome, m_window.edCGCCPF};
    return {m_window.EdNomeG,       m_window.EDCGCG,       m_window.EDInscEstG, m_window.EdEnderecoG,
            m_window.EDMunicipioG, m_window.EDUFG, m_window.EDFoneG};
}

void TRegisterCommands::FillPayer(bool darf, const TClient &client)
{
    const TPayerFields f = PayerFields(darf);
    SetFieldFitting(f.name, client.name);
    SetFieldFitting(f.taxId, client.taxId);
    if (darf)
        return;
    SetFieldFitting(f.stateRegistration, client.stateRegistration);
    SetFieldFitting(f.address, client.address);
    SetFieldFitting(f.city, client.city);
    SetFieldFitting(f.uf, client.uf);
    SetFieldFitting(f.phone, client.phone);
}

void TRegisterCommands::SaveClient()
{
    const bool darf = DarfInFront();
    const TPayerFields f = PayerFields(darf);
    TClient client;
    client.name = f.name->text().trimmed();
    client.taxId = f.taxId->text().trimmed();
    if (client.name.isEmpty() || RegisterText::TaxKey(client.taxId).isEmpty()) {
        QMessageBox::critical(&m_window, QStringLiteral("Error"),
                              QStringLiteral("Preencha o nome e o CPF/CNPJ do contribuinte antes de salvá-lo."));
        return;
    }
    const TTaxIdVerdict verdict = TaxIdCheck::CheckCpfCnpj(client.taxId);
    if (verdict.IsWrong()
        && QMessageBox::question(&m_window, QStringLiteral("Confirm"),
                                 verdict.reason + QStringLiteral(".\nSalvar o contribuinte assim mesmo?"))
            != QMessageBox::Yes)
        return;
    if (!darf) {
        client.stateRegistration = f.stateRegistration->text().trimmed();
        client.address = f.address->text().trimmed();
        client.city = f.city->text().trimmed();
        client.uf = f.uf->text().trimmed();
        client.phone = f.phone->text().trimmed();
    }
    // What the page has no field for stays as the register has it.
    m_register.Run<qint64>([client, darf](TRegister &r) {
        TClient merged = client;
        if (const std::optional<TClient> known = r.ClientByTaxId(client.taxId)) {
            merged.id = known->id;
            merged.notes = known->notes;
            if (darf) {
                merged.stateRegistration = known->stateRegistration;
                merged.address = known->address;
                merged.city = known->city;
                merged.uf = known->uf;
                merged.phone = known->phone;
            }
        }
        return r.SaveClient(merged);
    });
    QMessageBox::information(&m_window, QStringLiteral("Information"),
                             QStringLiteral("Contribuinte %1 salvo no cadastro.").arg(client.name));
}

void TRegisterCommands::CopyToNewSlip(const TIssuedSlip &slip, bool datesAndAmounts)
{
    const TBatchSlip texts = IssueRecords::ToSlip(slip, datesAndAmounts);
    TfrmZavenor &w = m_window;
    if (texts.kind == TSlipKind::Darf) {
        w.PC1->setCurrentWidget(w.tsDarf);
        const TDarfEntryTexts &d = texts.darf;
        SetFieldFitting(w.EdNome, d.Nome);
        setDate(w.mePerAp, d.Periodo);
        SetFieldFitting(w.edCGCCPF, d.CGCCPF);
        SetFieldFitting(w.edCodRec, d.CodRec);
        SetFieldFitting(w.edNumRef, d.NumRef);
        setDate(w.meDtVenc, d.DtVenc);
        setAmount(w.neValPrinc, d.ValPrinc);
        setAmount(w.neValMulta, d.ValMulta);
        setAmount(w.neValJuros, d.ValJuros);
        w.fTotalizaDarf();
        w.EdNome->setFocus();
        return;
    }
    w.PC1->setCurrentWidget(w.tsGare);
    const TGareEntryTexts &g = texts.gare;
    SetFieldFitting(w.EdNomeG, g.EdNomeG);
    SetFieldFitting(w.EdEnderecoG, g.EdEnderecoG);
    SetFieldFitting(w.EDMunicipioG, g.EDMunicipioG);
    SetFieldFitting(w.EDUFG, g.EDUFG);
    SetFieldFitting(w.EDFoneG, g.EDFoneG);
    setMemo(w.MMTribG, g.MMTribG);
    SetFieldFitting(w.EdCAEG, g.EdCAEG);
    SetFieldFitting(w.EdPlacaG, g.EdPlacaG);
    setMemo(w.MMObsG, g.MMObsG);
    setDate(w.MEDTVencG, g.MEDTVencG);
    SetFieldFitting(w.EDCodRecG, g.EDCodRecG);
    SetFieldFitting(w.EDInscEstG, g.EDInscEstG);
    SetFieldFitting(w.EDCGCG, g.EDCGCG);
    SetFieldFitting(w.EDInscrDAG, g.EDInscrDAG);
    SetFieldFitting(w.EDNroAinG, g.EDNroAinG);
    setAmount(w.neValRecG, g.neValRecG);
    setAmount(w.neJurMorG, g.neJurMorG);
    setAmount(w.neMulMorG, g.neMulMorG);
    setAmount(w.neHonor, g.neHonor);
    w.fTotalizaGare();
    w.EdNomeG->setFocus();
}

void TRegisterCommands::OpenClients()
{
    if (!m_clients)
        m_clients = new TfrmContribuintes(m_register, &m_window);
    m_clients->Refresh();
    m_clients->show();
    m_clients->raise();
    m_clients->activateWindow();
}

void TRegisterCommands::OpenHistory()
{
    if (!m_historyWindow) {
        m_historyWindow = new TfrmGuiasEmitidas(m_register, &m_window);
        connect(m_historyWindow, &TfrmGuiasEmitidas::copyRequested, this,
                [this](const TIssuedSlip &slip, bool datesAndAmounts) {
                    ErrorRelay::RunGuarded([&] { CopyToNewSlip(slip, datesAndAmounts); });
                });
    }
    m_historyWindow->Refresh();
    m_historyWindow->show();
    m_historyWindow->raise();
    m_historyWindow->activateWindow();
}
