#include "app/ClientsWindow.h"

#include "slips/TaxIdCheck.h"
#include "storage/RegisterThread.h"
#include "widgets/ErrorRelay.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

template <class F>
auto guarded(F f)
{
    return [f](auto &&...) { ErrorRelay::RunGuarded(f); };
}

QLineEdit *edit(QWidget *parent, const char *name, int maxLength)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}

} // namespace

TfrmContribuintes::TfrmContribuintes(TRegisterThread &reg, QWidget *parent) : QDialog(parent), m_register(reg)
{
    setObjectName(QStringLiteral("frmContribuintes"));
    setWindowTitle(QStringLiteral("Contribuintes"));
    resize(760, 420);

    edProcurar = edit(this, "edProcurar", 60);
    edProcurar->setPlaceholderText(QStringLiteral("parte do nome ou do CPF/CNPJ"));
    tbContribuintes = new QTableWidget(0, 3, this);
    tbContribuintes->setObjectName(QStringLiteral("tbContribuintes"));
    tbContribuintes->setHorizontalHeaderLabels(
        {QStringLiteral("Nome ou razão social"), QStringLiteral("CPF/CNPJ"), QStringLiteral("Município/UF")});
    tbContribuintes->setSelectionBehavior(QAbstractItemView::SelectRows);
    tbContribuintes->setSelectionMode(QAbstractItemView::SingleSelection);
    tbContribuintes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tbContribuintes->verticalHeader()->hide();
    tbContribuintes->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    tbContribuintes->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    tbContribuintes->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);

    // The limits of the GARE's fields, the longer of the two slips.
    edNome = edit(this, "edNome", 60);
    edCPFCNPJ = edit(this, "edCPFCNPJ", 23);
    edInscEst = edit(this, "edInscEst", 23);
    edEndereco = edit(this, "edEndereco", 60);
    edMunicipio = edit(this, "edMunicipio", 33);
    edUF = edit(this, "edUF", 2);
    edFone = edit(this, "edFone", 20);
    mmObs = new QPlainTextEdit(this);
    mmObs->setObjectName(QStringLiteral("mmObs"));
    mmObs->setTabChangesFocus(true);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Nome:"), edNome);
    form->addRow(QStringLiteral("CPF/CN&PJ:"), edCPFCNPJ);
    form->addRow(QStringLiteral("&Inscrição estadual:"), edInscEst);
    form->addRow(QStringLiteral("&Endereço:"), edEndereco);
    form->addRow(QStringLiteral("&Município:"), edMunicipio);
    form->addRow(QStringLiteral("&UF:"), edUF);
    form->addRow(QStringLiteral("&Telefone:"), edFone);
    form->addRow(QStringLiteral("&Observações:"), mmObs);

    BBNovo = new QPushButton(QStringLiteral("No&vo"), this);
    BBSalvar = new QPushButton(QStringLiteral("&Salvar"), this);
    BBExcluir = new QPushButton(QStringLiteral("E&xcluir"), this);
    BBFechar = new QPushButton(QStringLiteral("&Fechar"), this);
    BBNovo->setObjectName(QStringLiteral("BBNovo"));
    BBSalvar->setObjectName(QStringLiteral("BBSalvar"));
    BBExcluir->setObjectName(QStringLiteral("BBExcluir"));
    BBFechar->setObjectName(QStringLiteral("BBFechar"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BBNovo);
    buttons->addWidget(BBSalvar);
    buttons->addWidget(BBExcluir);
    buttons->addStretch();
    buttons->addWidget(BBFechar);

    auto *search = new QHBoxLayout;
    auto *searchLabel = new QLabel(QStringLiteral("&Procurar:"), this);
    searchLabel->setBuddy(edProcurar);
    search->addWidget(searchLabel);
    search->addWidget(edProcurar);
    auto *left = new QVBoxLayout;
    left->addLayout(search);
    left->addWidget(tbContribuintes);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addLayout(form, 2);
    auto *all = new QVBoxLayout(this);
    all->addLayout(columns);
    all->addLayout(buttons);

    connect(edProcurar, &QLineEdit::textChanged, this, guarded([this] { Refresh(); }));
    connect(tbContribuintes, &QTableWidget::itemSelectionChanged, this, guarded([this] { chosen(); }));
    connect(BBNovo, &QPushButton::clicked, this, guarded([this] { NewClient(); }));
    connect(BBSalvar, &QPushButton::clicked, this, guarded([this] { SaveClient(); }));
    connect(BBExcluir, &QPushButton::clicked, this, guarded([this] { DeleteClient(); }));
    connect(BBFechar, &QPushButton::clicked, this, &QDialog::close);
}

void TfrmContribuintes::Refresh()
{
    const QString typed = edProcurar->text();
    m_listed = m_register.Run<QList<TClient>>([typed](TRegister &r) { return r.FindClients(typed, MaximumListed); });
    const QSignalBlocker quiet(tbContribuintes);
    tbContribuintes->setRowCount(int(m_listed.size()));
    int row = 0;
    for (const TClient &c : m_listed) {
        tbContribuintes->setItem(row, 0, new QTableWidgetItem(c.name));
        tbContribuintes->setItem(row, 1, new QTableWidgetItem(c.taxId));
        tbContribuintes->setItem(row, 2, new QTableWidgetItem(c.uf.isEmpty() ? c.city : c.city + QLatin1Char('/') + c.uf));
        if (c.id == m_editing)
            tbContribuintes->selectRow(row);
        ++row;
    }
}

void TfrmContribuintes::showClient(const TClient &c)
{
    m_editing = c.id;
    edNome->setText(c.name);
    edCPFCNPJ->setText(c.taxId);
    edInscEst->setText(c.stateRegistration);
    edEndereco->setText(c.address);
    edMunicipio->setText(c.city);
    edUF->setText(c.uf);
    edFone->setText(c.phone);
    mmObs->setPlainText(c.notes);
    BBExcluir->setEnabled(c.id != 0);
}

void TfrmContribuintes::chosen()
{
    const int row = tbContribuintes->currentRow();
    if (row >= 0 && row < m_listed.size())
        showClient(m_listed.at(row));
}

void TfrmContribuintes::NewClient()
{
    tbContribuintes->clearSelection();
    showClient(TClient());
    edNome->setFocus();
}

void TfrmContribuintes::SaveClient()
{
    TClient c;
    c.id = m_editing;
    c.name = edNome->text().trimmed();
    c.taxId = edCPFCNPJ->text().trimmed();
    c.stateRegistration = edInscEst->text().trimmed();
    c.address = edEndereco->text().trimmed();
    c.city = edMunicipio->text().trimmed();
    c.uf = edUF->text().trimmed().toUpper();
    c.phone = edFone->text().trimmed();
    c.notes = mmObs->toPlainText();
    if (c.name.isEmpty() || RegisterText::TaxKey(c.taxId).isEmpty()) {
        QMessageBox::critical(this, QStringLiteral("Error"),
                              QStringLiteral("Preencha o nome e o CPF/CNPJ do contribuinte antes de salvá-lo."));
        return;
    }
    const TTaxIdVerdict verdict = TaxIdCheck::CheckCpfCnpj(c.taxId);
    if (verdict.IsWrong()
        && QMessageBox::question(this, QStringLiteral("Confirm"),
                                 verdict.reason + QStringLiteral(".\nSalvar o contribuinte assim mesmo?"))
            != QMessageBox::Yes)
        return;
    m_editing = m_register.Run<qint64>([c](TRegister &r) { return r.SaveClient(c); });
    BBExcluir->setEnabled(true);
    Refresh();
}

void TfrmContribuintes::DeleteClient()
{
    if (m_editing == 0)
        return;
    if (QMessageBox::question(this, QStringLiteral("Confirm"),
                              QStringLiteral("Excluir %1 do cadastro?\nAs guias já emitidas continuam em \"Guias emitidas\".")
                                  .arg(edNome->text()))
        != QMessageBox::Yes)
        return;
    const qint64 id = m_editing;
    m_register.Run([id](TRegister &r) { r.DeleteClient(id); });
    showClient(TClient());
    Refresh();
}
