#include "app/LateChargesDialog.h"

#include "app/DateCheck.h"
#include "report/output/RLWindowFont.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/LeaveWatcher.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *figure(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString percentText(int percent) { return SelicText::FormatRate(percent) + QStringLiteral(" %"); }

} // namespace

TfrmAcrescimos::TfrmAcrescimos(qint64 principalCents, const QDate &due, const TSelicTable &table,
                               std::function<bool(const QString &)> checkDate, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      m_principal(principalCents), m_due(due), m_table(table), m_checkDate(std::move(checkDate))
{
    setObjectName(QStringLiteral("frmAcrescimos"));
    setWindowTitle(QStringLiteral("Calcular acréscimos - DARF"));
    setFont(RLWindowFont(11));

    auto *grid = new QGridLayout;
    int row = 0;
    const auto caption = [&](const QString &text) {
        auto *label = new QLabel(text, this);
        grid->addWidget(label, row, 0);
        return label;
    };
    const QString none = QStringLiteral("—");
    QLabel *principal = figure(this, "LbPrincipal");
    principal->setText(principalCents > 0 ? LateCharges::FormatCents(principalCents) : none);
    caption(QStringLiteral("07 Valor do principal:"));
    grid->addWidget(principal, row++, 2);
    QLabel *dueDate = figure(this, "LbVencimento");
    dueDate->setText(due.isValid() ? due.toString(QStringLiteral("dd/MM/yyyy")) : none);
    caption(QStringLiteral("06 Data do vencimento:"));
    grid->addWidget(dueDate, row++, 2);

    meDtPagto = new TDateMaskEdit(this);
    meDtPagto->setObjectName(QStringLiteral("meDtPagto"));
    meDtPagto->setFixedWidth(80);
    meDtPagto->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    caption(QStringLiteral("&Data do pagamento:"))->setBuddy(meDtPagto);
    grid->addWidget(meDtPagto, row++, 2, Qt::AlignRight);

    caption(QStringLiteral("Dias de atraso:"));
    grid->addWidget(LbDias = figure(this, "LbDias"), row++, 2);
    caption(QStringLiteral("Multa de mora (0,33 % ao dia, até 20 %):"));
    grid->addWidget(LbMultaPerc = figure(this, "LbMultaPerc"), row, 1);
    grid->addWidget(LbMulta = figure(this, "LbMulta"), row++, 2);
    caption(QStringLiteral("Juros de mora:"));
    grid->addWidget(LbJurosPerc = figure(this, "LbJurosPerc"), row, 1);
    grid->addWidget(LbJuros = figure(this, "LbJuros"), row++, 2);
    LbMeses = new QLabel(this);
    LbMeses->setObjectName(QStringLiteral("LbMeses"));
    LbMeses->setWordWrap(true);
    grid->addWidget(LbMeses, row++, 0, 1, 3);
    grid->setColumnMinimumWidth(1, 70);
    grid->setColumnMinimumWidth(2, 90);

    LbMotivo = new QLabel(this);
    LbMotivo->setObjectName(QStringLiteral("LbMotivo"));
    LbMotivo->setWordWrap(true);
    QPalette warning = LbMotivo->palette();
    warning.setColor(QPalette::WindowText, QColor(0x80, 0, 0));
    LbMotivo->setPalette(warning);

    BBAplicar = new QPushButton(QStringLiteral("&Aplicar"), this);
    BBAplicar->setObjectName(QStringLiteral("BBAplicar"));
    BBAplicar->setToolTip(QStringLiteral("Escreve a multa em 08 e os juros em 09"));
    BBCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    BBCancelar->setObjectName(QStringLiteral("BBCancelar"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BBAplicar);
    buttons->addWidget(BBCancelar);

    auto *outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addWidget(LbMotivo);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    LbMotivo->setFixedWidth(330);
    LbMeses->setFixedWidth(330);

    m_leave = new TLeaveWatcher(this);
    m_leave->Watch(meDtPagto, [this] { meDtPagtoExit(); });
    m_leave->Guard(BBAplicar);
    connect(meDtPagto, &QLineEdit::textChanged, this, [this] { recompute(); });
    connect(BBAplicar, &QPushButton::clicked, this, [this] {
        // Enter in the date field reaches here without leaving it.
        if (!m_checkDate(meDtPagto->Text())) {
            meDtPagto->setFocus();
            return;
        }
        if (m_charges.IsComputed())
            accept();
    });
    connect(BBCancelar, &QPushButton::clicked, this, &QDialog::reject);
    BBAplicar->setDefault(true);
    recompute();
    meDtPagto->setFocus();
    meDtPagto->selectAll();
}

void TfrmAcrescimos::meDtPagtoExit()
{
    if (!m_checkDate(meDtPagto->Text()))
        m_leave->ReturnFocus(meDtPagto);
}

void TfrmAcrescimos::recompute()
{
    const QDate paid = DateOfText(meDtPagto->Text());
    m_charges = paid.isValid() ? LateCharges::Compute(m_principal, m_due, paid, m_table) : TLateCharges{};
    const bool computed = m_charges.IsComputed();
    const QString none = QStringLiteral("—");
    LbDias->setText(computed ? QString::number(m_charges.daysLate) : none);
    LbMultaPerc->setText(computed ? percentText(m_charges.finePercent) : none);
    LbMulta->setText(computed ? LateCharges::FormatCents(m_charges.fine) : none);
    LbJurosPerc->setText(computed ? percentText(m_charges.interestPercent) : none);
    LbJuros->setText(computed ? LateCharges::FormatCents(m_charges.interest) : none);
    if (!computed)
        LbMeses->setText(QString());
    else if (m_charges.interestPercent == 0)
        LbMeses->setText(QStringLiteral("Pago no mês do vencimento: sem juros."));
    else
        LbMeses->setText(QStringLiteral("Juros: ") + m_charges.MonthsText() + QLatin1Char('.'));

    QString reason;
    if (!paid.isValid())
        reason = QStringLiteral("Informe a data do pagamento (DD/MM/AAAA).");
    else
        reason = LateCharges::Reason(m_charges, m_due, QStringLiteral("em Ferramentas > Tabela Selic..."));
    LbMotivo->setText(reason);
    LbMotivo->setVisible(!reason.isEmpty());
    BBAplicar->setEnabled(computed);
}
