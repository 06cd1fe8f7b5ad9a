#pragma once
// The window's side of the register: the clients offered under the payer's name and CPF/CNPJ,
// "Salvar contribuinte", the client window, "Guias emitidas" and its copy into a page, and the
// record of every slip the window issues. The replicas' layout and tab chain stay as they are.

#include "storage/Register.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QAction;
class QLineEdit;
class TClientCompletion;
class TIssueHistory;
class TRegisterThread;
class TfrmContribuintes;
class TfrmGuiasEmitidas;
class TfrmZavenor;

class TRegisterCommands : public QObject
{
    Q_OBJECT
public:
    TRegisterCommands(TfrmZavenor &window, TRegisterThread &reg);
    ~TRegisterCommands() override;

    // The payer's fields of a page (the DARF's 01 and 03; the GARE's 15, 16, município, UF, 17,
    // 04 and 05); those a page lacks are null.
    struct TPayerFields
    {
        QLineEdit *name = nullptr;
        QLineEdit *taxId = nullptr;
        QLineEdit *stateRegistration = nullptr;
        QLineEdit *address = nullptr;
        QLineEdit *city = nullptr;
        QLineEdit *uf = nullptr;
        QLineEdit *phone = nullptr;
    };
    TPayerFields PayerFields(bool darf) const;
    bool DarfInFront() const;

    // Fills the payer's fields of that page, and nothing else.
    void FillPayer(bool darf, const TClient &client);
    // "Salvar contribuinte": the payer's fields of the page in front into the register.
    void SaveClient();
    // "Copiar para nova guia": every field of the slip's page from the record; dates and amounts
    // blank unless `datesAndAmounts`.
    void CopyToNewSlip(const TIssuedSlip &slip, bool datesAndAmounts);

    void OpenClients();
    void OpenHistory();

    TIssueHistory &History() { return *m_history; }
    TRegisterThread &Register() { return m_register; }
    TClientCompletion *NameCompletion(bool darf) const { return darf ? m_darfName : m_gareName; }
    TClientCompletion *TaxIdCompletion(bool darf) const { return darf ? m_darfTaxId : m_gareTaxId; }
    TfrmContribuintes *ClientsWindow() const;
    TfrmGuiasEmitidas *HistoryWindow() const;

    QAction *SaveAction = nullptr;
    QAction *ClientsAction = nullptr;
    QAction *HistoryAction = nullptr;

private:
    TfrmZavenor &m_window;
    TRegisterThread &m_register;
    std::unique_ptr<TIssueHistory> m_history;
    TClientCompletion *m_darfName = nullptr;
    TClientCompletion *m_darfTaxId = nullptr;
    TClientCompletion *m_gareName = nullptr;
    TClientCompletion *m_gareTaxId = nullptr;
    QPointer<TfrmContribuintes> m_clients;
    QPointer<TfrmGuiasEmitidas> m_historyWindow;
};

// Sets a field as typing could have: cut to its limit and to what fits its printed box.
void SetFieldFitting(QLineEdit *field, const QString &text);
