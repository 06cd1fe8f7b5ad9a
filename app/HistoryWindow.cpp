#include "app/HistoryWindow.h"

#include "app/ClientCompletion.h"
#include "batch/IssueRecords.h"
#include "storage/RegisterThread.h"
#include "widgets/ErrorRelay.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

template <class F>
auto guarded(F f)
{
    return [f](auto &&...) { ErrorRelay::RunGuarded(f); };
}

QString wentTo(const TIssuedSlip &s)
{
    if (!s.pdfPath.isEmpty())
        return s.pdfPath;
    if (s.jobId > 0)
        return QStringLiteral("%1 (trabalho %2)").arg(s.printer).arg(s.jobId);
    return s.printer;
}

QString modeText(const QString &mode)
{
    if (mode == QLatin1String("layout-cor"))
        return QStringLiteral("Colorido");
    if (mode == QLatin1String("layout-pb"))
        return QStringLiteral("Preto e branco");
    if (mode == QLatin1String("dados"))
        return QStringLiteral("Só os dados");
    return QString();
}

} // namespace

TfrmGuiasEmitidas::TfrmGuiasEmitidas(TRegisterThread &reg, QWidget *parent) : QDialog(parent), m_register(reg)
{
    setObjectName(QStringLiteral("frmGuiasEmitidas"));
    setWindowTitle(QStringLiteral("Guias emitidas"));
    resize(1000, 440);

    edContribuinte = new QLineEdit(this);
    edContribuinte->setObjectName(QStringLiteral("edContribuinte"));
    edContribuinte->setPlaceholderText(QStringLiteral("todos (nome ou CPF/CNPJ)"));
    // Choosing a client by name filters by its CPF/CNPJ.
    Completion = new TClientCompletion(edContribuinte, reg, [this](const TClient &client) {
        edContribuinte->setText(client.taxId);
    });
    cbTipo = new QComboBox(this);
    cbTipo->setObjectName(QStringLiteral("cbTipo"));
    cbTipo->addItem(QStringLiteral("Todas"), QString());
    cbTipo->addItem(QStringLiteral("DARF"), QStringLiteral("DARF"));
    cbTipo->addItem(QStringLiteral("GARE"), QStringLiteral("GARE"));
    meMes = new QLineEdit(this);
    meMes->setObjectName(QStringLiteral("meMes"));
    meMes->setInputMask(QStringLiteral("99/9999;_"));
    meMes->setFixedWidth(70);
    cbSituacao = new QComboBox(this);
    cbSituacao->setObjectName(QStringLiteral("cbSituacao"));
    cbSituacao->addItem(QStringLiteral("Todas"), -1);
    for (const TIssueOutcome o : {TIssueOutcome::Completed, TIssueOutcome::Failed, TIssueOutcome::Cancelled,
                                  TIssueOutcome::Unknown})
        cbSituacao->addItem(RegisterText::OutcomeName(o), int(o));

    const QStringList headers = {QStringLiteral("Emitida em"), QStringLiteral("Guia"),    QStringLiteral("Contribuinte"),
                                 QStringLiteral("CPF/CNPJ"),   QStringLiteral("Vencimento"), QStringLiteral("Total"),
                                 QStringLiteral("Modo"),       QStringLiteral("Saída"),   QStringLiteral("Situação")};
    tbGuias = new QTableWidget(0, int(headers.size()), this);
    tbGuias->setObjectName(QStringLiteral("tbGuias"));
    tbGuias->setHorizontalHeaderLabels(headers);
    tbGuias->setSelectionBehavior(QAbstractItemView::SelectRows);
    tbGuias->setSelectionMode(QAbstractItemView::SingleSelection);
    tbGuias->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tbGuias->verticalHeader()->hide();
    tbGuias->setWordWrap(false);
    // A long file path gives up its middle, not the file's name.
    tbGuias->setTextElideMode(Qt::ElideMiddle);
    tbGuias->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tbGuias->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    tbGuias->horizontalHeader()->setSectionResizeMode(7, QHeaderView::Interactive);
    tbGuias->horizontalHeader()->resizeSection(7, 220);

    cbDatasValores = new QCheckBox(QStringLiteral("Copiar também &datas e valores"), this);
    cbDatasValores->setObjectName(QStringLiteral("cbDatasValores"));
    BBCopiar = new QPushButton(QStringLiteral("&Copiar para nova guia"), this);
    BBCopiar->setObjectName(QStringLiteral("BBCopiar"));
    BBExportar = new QPushButton(QStringLiteral("&Exportar planilha..."), this);
    BBExportar->setObjectName(QStringLiteral("BBExportar"));
    BBFechar = new QPushButton(QStringLiteral("&Fechar"), this);
    BBFechar->setObjectName(QStringLiteral("BBFechar"));

    auto *filters = new QHBoxLayout;
    const auto label = [this, filters](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setBuddy(buddy);
        filters->addWidget(l);
        filters->addWidget(buddy);
    };
    label(QStringLiteral("C&ontribuinte:"), edContribuinte);
    label(QStringLiteral("&Tipo:"), cbTipo);
    label(QStringLiteral("&Vencimento (mês):"), meMes);
    label(QStringLiteral("&Situação:"), cbSituacao);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cbDatasValores);
    buttons->addWidget(BBCopiar);
    buttons->addStretch();
    buttons->addWidget(BBExportar);
    buttons->addWidget(BBFechar);
    auto *all = new QVBoxLayout(this);
    all->addLayout(filters);
    all->addWidget(tbGuias);
    all->addLayout(buttons);

    connect(edContribuinte, &QLineEdit::textChanged, this, guarded([this] { Refresh(); }));
    connect(meMes, &QLineEdit::textChanged, this, guarded([this] { Refresh(); }));
    connect(cbTipo, &QComboBox::currentIndexChanged, this, guarded([this] { Refresh(); }));
    connect(cbSituacao, &QComboBox::currentIndexChanged, this, guarded([this] { Refresh(); }));
    connect(tbGuias, &QTableWidget::cellDoubleClicked, this, guarded([this] { CopyChosen(); }));
    connect(BBCopiar, &QPushButton::clicked, this, guarded([this] { CopyChosen(); }));
    connect(BBExportar, &QPushButton::clicked, this, guarded([this] { ExportClick(); }));
    connect(BBFechar, &QPushButton::clicked, this, &QDialog::close);
}

THistoryFilter TfrmGuiasEmitidas::Filter() const
{
    THistoryFilter f;
    f.payerTaxId = edContribuinte->text();
    f.kind = cbTipo->currentData().toString();
    // A month typed whole; a part of one filters nothing yet.
    if (meMes->hasAcceptableInput())
        f.dueMonth = meMes->text();
    if (const int o = cbSituacao->currentData().toInt(); o >= 0)
        f.outcome = TIssueOutcome(o);
    f.limit = MaximumListed;
    return f;
}

void TfrmGuiasEmitidas::Refresh()
{
    THistoryFilter f = Filter();
    // Text without a digit is a name being typed: the completion turns it into a CPF/CNPJ.
    if (!std::any_of(f.payerTaxId.begin(), f.payerTaxId.end(), [](QChar c) { return c.isDigit(); }))
        f.payerTaxId.clear();
    m_listed = m_register.Run<QList<TIssuedSlip>>([f](TRegister &r) { return r.History(f); });
    tbGuias->setRowCount(int(m_listed.size()));
    int row = 0;
    for (const TIssuedSlip &s : m_listed) {
        const QStringList cells = {QLocale().toString(s.issuedAt.toLocalTime(), QStringLiteral("dd/MM/yyyy HH:mm")),
                                   s.kind,
                                   s.payerName,
                                   s.payerTaxId,
                                   s.fields.value(QStringLiteral("vencimento")),
                                   s.total,
                                   modeText(s.mode),
                                   wentTo(s),
                                   RegisterText::OutcomeName(s.outcome)};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            if (column == 5)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (column == 7)
                item->setToolTip(cells.at(column));
            tbGuias->setItem(row, column, item);
        }
        ++row;
    }
    if (!m_listed.isEmpty() && tbGuias->currentRow() < 0)
        tbGuias->selectRow(0);
    BBCopiar->setEnabled(!m_listed.isEmpty());
    BBExportar->setEnabled(!m_listed.isEmpty());
}

void TfrmGuiasEmitidas::CopyChosen()
{
    const int row = tbGuias->currentRow();
    if (row < 0 || row >= m_listed.size())
        return;
    emit copyRequested(m_listed.at(row), cbDatasValores->isChecked());
    close();
}

void TfrmGuiasEmitidas::ExportTo(const QString &path) const
{
    QSaveFile file(path);
    const QByteArray bytes = IssueRecords::ExportCsv(m_listed);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(
            QStringLiteral("Não foi possível gravar %1: %2").arg(path, file.errorString()).toStdString());
}

void TfrmGuiasEmitidas::ExportClick()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Exportar planilha"),
                                                      QStringLiteral("guias-emitidas.csv"),
                                                      QStringLiteral("Planilha CSV (*.csv)"), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty())
        ExportTo(path);
}
