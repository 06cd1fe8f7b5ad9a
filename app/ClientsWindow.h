#pragma once
// "Contribuintes": the register's clients, found by part of the name or of the CPF/CNPJ, each
// edited beside the list, added and deleted.

#include "storage/Register.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class TRegisterThread;

class TfrmContribuintes : public QDialog
{
    Q_OBJECT
public:
    TfrmContribuintes(TRegisterThread &reg, QWidget *parent = nullptr);

    // Lists the clients the search field matches (every one when it is empty).
    void Refresh();
    // The client in the edit fields: new or chosen in the list.
    void NewClient();
    void SaveClient();
    // Deletes the chosen client after a question.
    void DeleteClient();

    QLineEdit *edProcurar = nullptr;
    QTableWidget *tbContribuintes = nullptr;
    QLineEdit *edNome = nullptr;
    QLineEdit *edCPFCNPJ = nullptr;
    QLineEdit *edInscEst = nullptr;
    QLineEdit *edEndereco = nullptr;
    QLineEdit *edMunicipio = nullptr;
    QLineEdit *edUF = nullptr;
    QLineEdit *edFone = nullptr;
    QPlainTextEdit *mmObs = nullptr;
    QPushButton *BBNovo = nullptr;
    QPushButton *BBSalvar = nullptr;
    QPushButton *BBExcluir = nullptr;
    QPushButton *BBFechar = nullptr;

    // The most the list shows; a search narrows it.
    static constexpr int MaximumListed = 500;

private:
    void showClient(const TClient &client);
    void chosen();

    TRegisterThread &m_register;
    QList<TClient> m_listed;
    qint64 m_editing = 0;
};
