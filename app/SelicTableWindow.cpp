#include "app/SelicTableWindow.h"

#include "report/output/RLWindowFont.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const char *const kMonthNames[] = {"Janeiro", "Fevereiro", "Março", "Abril", "Maio", "Junho",
                                   "Julho", "Agosto", "Setembro", "Outubro", "Novembro", "Dezembro"};

QString monthRange(const QList<TSelicMonth> &months)
{
    const QString first = SelicText::MonthName(months.first().year, months.first().month);
    const QString last = SelicText::MonthName(months.last().year, months.last().month);
    return months.size() == 1 ? first : QStringLiteral("%1 a %2").arg(first, last);
}

} // namespace

TfrmTabelaSelic::TfrmTabelaSelic(const QString &officeFile, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_file(officeFile)
{
    setObjectName(QStringLiteral("frmTabelaSelic"));
    setWindowTitle(QStringLiteral("Tabela Selic"));
    setFont(RLWindowFont(11));

    GridMeses = new QTableWidget(0, 3, this);
    GridMeses->setObjectName(QStringLiteral("GridMeses"));
    GridMeses->setHorizontalHeaderLabels({QStringLiteral("Mês"), QStringLiteral("Taxa (%)"), QStringLiteral("Origem")});
    GridMeses->verticalHeader()->hide();
    GridMeses->verticalHeader()->setDefaultSectionSize(GridMeses->fontMetrics().height() + 6);
    GridMeses->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridMeses->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridMeses->setSelectionMode(QAbstractItemView::SingleSelection);
    GridMeses->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    GridMeses->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    GridMeses->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    GridMeses->setMinimumHeight(180);

    auto *one = new QGroupBox(QStringLiteral("Acrescentar ou corrigir um mês"), this);
    SpAno = new QSpinBox(one);
    SpAno->setObjectName(QStringLiteral("SpAno"));
    SpAno->setRange(1990, 2100);
    SpAno->setGroupSeparatorShown(false);
    CbMes = new QComboBox(one);
    CbMes->setObjectName(QStringLiteral("CbMes"));
    for (const char *name : kMonthNames)
        CbMes->addItem(QString::fromUtf8(name));
    EdTaxa = new QLineEdit(one);
    EdTaxa->setObjectName(QStringLiteral("EdTaxa"));
    EdTaxa->setPlaceholderText(QStringLiteral("0,00"));
    EdTaxa->setMaxLength(8);
    EdTaxa->setFixedWidth(60);
    BBGravarMes = new QPushButton(QStringLiteral("&Gravar mês"), one);
    BBGravarMes->setObjectName(QStringLiteral("BBGravarMes"));
    auto *oneRow = new QHBoxLayout(one);
    oneRow->addWidget(CbMes);
    oneRow->addWidget(SpAno);
    oneRow->addWidget(new QLabel(QStringLiteral("Taxa (%):"), one));
    oneRow->addWidget(EdTaxa);
    oneRow->addStretch();
    oneRow->addWidget(BBGravarMes);

    auto *paste = new QGroupBox(QStringLiteral("Colar a tabela publicada pela Receita"), this);
    MMColar = new QPlainTextEdit(paste);
    MMColar->setObjectName(QStringLiteral("MMColar"));
    MMColar->setPlaceholderText(QStringLiteral("Cole aqui a tabela da Receita (meses nas linhas, anos nas colunas) "
                                               "ou linhas ano;mes;taxa, como 2025;05;1,14"));
    MMColar->setFixedHeight(90);
    MMColar->setLineWrapMode(QPlainTextEdit::NoWrap);
    BBImportar = new QPushButton(QStringLiteral("&Importar"), paste);
    BBImportar->setObjectName(QStringLiteral("BBImportar"));
    auto *pasteLayout = new QVBoxLayout(paste);
    pasteLayout->addWidget(MMColar);
    pasteLayout->addWidget(BBImportar, 0, Qt::AlignRight);

    LbSituacao = new QLabel(this);
    LbSituacao->setObjectName(QStringLiteral("LbSituacao"));
    LbSituacao->setWordWrap(true);
    LbSituacao->setTextInteractionFlags(Qt::TextSelectableByMouse);
    BBFechar = new QPushButton(QStringLiteral("&Fechar"), this);
    BBFechar->setObjectName(QStringLiteral("BBFechar"));

    auto *outer = new QVBoxLayout(this);
    auto *where = new QLabel(QStringLiteral("Meses do escritório em %1; o valor do escritório vale sobre o do programa.")
                                 .arg(QDir::toNativeSeparators(m_file)),
                             this);
    where->setWordWrap(true);
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    outer->addWidget(GridMeses);
    outer->addWidget(where);
    outer->addWidget(one);
    outer->addWidget(paste);
    outer->addWidget(LbSituacao);
    outer->addWidget(BBFechar, 0, Qt::AlignRight);
    resize(470, 560);

    connect(BBGravarMes, &QPushButton::clicked, this, &TfrmTabelaSelic::BBGravarMesClick);
    connect(BBImportar, &QPushButton::clicked, this, &TfrmTabelaSelic::BBImportarClick);
    connect(BBFechar, &QPushButton::clicked, this, &QDialog::accept);

    reload();
    fillGrid();
    // The month after the last one known is the one to add next.
    const QList<TSelicMonth> months = m_table.Months();
    const QDate next = months.isEmpty() ? QDate::currentDate()
                                        : QDate(months.last().year, months.last().month, 1).addMonths(1);
    SpAno->setValue(next.year());
    CbMes->setCurrentIndex(next.month() - 1);
    if (!m_fileProblems.isEmpty())
        say(QStringLiteral("Linhas do arquivo do escritório que não foram lidas (corrija-as no arquivo antes de gravar):\n")
                + m_fileProblems.join(QLatin1Char('\n')),
            true);
    // Adding the next month is what the window is opened for most.
    EdTaxa->setFocus();
}

void TfrmTabelaSelic::reload()
{
    m_fileProblems.clear();
    m_table = TSelicTable::Load(m_file, &m_fileProblems);
}

void TfrmTabelaSelic::fillGrid()
{
    QList<TSelicMonth> months = m_table.Months();
    // The latest first: that is where months are missing.
    std::reverse(months.begin(), months.end());
    GridMeses->setRowCount(int(months.size()));
    for (int row = 0; row < months.size(); ++row) {
        const TSelicMonth &m = months.at(row);
        auto *rate = new QTableWidgetItem(SelicText::FormatRate(m.rate));
        rate->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        GridMeses->setItem(row, 0, new QTableWidgetItem(SelicText::MonthName(m.year, m.month)));
        GridMeses->setItem(row, 1, rate);
        GridMeses->setItem(row, 2, new QTableWidgetItem(m_table.IsOffice(m.year, m.month) ? QStringLiteral("escritório")
                                                                                           : QStringLiteral("programa")));
    }
}

void TfrmTabelaSelic::say(const QString &text, bool problem)
{
    QPalette palette = LbSituacao->palette();
    palette.setColor(QPalette::WindowText, problem ? QColor(0x80, 0, 0) : palette.color(QPalette::Text));
    LbSituacao->setPalette(palette);
    LbSituacao->setText(text);
}

bool TfrmTabelaSelic::store(const QList<TSelicMonth> &months)
{
    // Another window or a hand edit may have changed the file meanwhile.
    reload();
    if (!m_fileProblems.isEmpty()) {
        say(QStringLiteral("Nada foi gravado: o arquivo do escritório tem linhas que não foram lidas e se perderiam:\n")
                + m_fileProblems.join(QLatin1Char('\n')),
            true);
        return false;
    }
    TSelicTable changed = m_table;
    int added = 0, corrected = 0, same = 0;
    for (const TSelicMonth &m : months) {
        const std::optional<int> known = changed.Rate(m.year, m.month);
        if (known == m.rate) {
            ++same;
            continue;
        }
        QString reason;
        if (!changed.SetOfficeMonth(m, &reason)) {
            say(QStringLiteral("Nada foi gravado: %1 (%2).").arg(reason, SelicText::MonthName(m.year, m.month)), true);
            return false;
        }
        ++(known ? corrected : added);
    }
    if (added + corrected > 0) {
        QString error;
        if (!changed.SaveOffice(m_file, &error)) {
            say(QStringLiteral("Nada foi gravado: %1.").arg(error), true);
            return false;
        }
        m_table = changed;
        fillGrid();
    }
    QStringList parts;
    if (added)
        parts << QStringLiteral("%1 %2").arg(added).arg(QLatin1String(added == 1 ? "novo" : "novos"));
    if (corrected)
        parts << QStringLiteral("%1 %2").arg(corrected).arg(QLatin1String(corrected == 1 ? "corrigido" : "corrigidos"));
    if (same)
        parts << QStringLiteral("%1 já %2").arg(same).arg(QLatin1String(same == 1 ? "igual" : "iguais"));
    const int total = int(months.size());
    say(QStringLiteral("%1 %2 (%3): %4.")
            .arg(total)
            .arg(total == 1 ? QStringLiteral("mês") : QStringLiteral("meses"), monthRange(months),
                 parts.join(QStringLiteral(", "))),
        false);
    return true;
}

void TfrmTabelaSelic::BBGravarMesClick()
{
    int rate = 0;
    QString reason;
    if (!SelicText::ParseRate(EdTaxa->text(), rate, &reason)) {
        say(QStringLiteral("Nada foi gravado: %1.").arg(reason), true);
        EdTaxa->setFocus();
        return;
    }
    if (!store({TSelicMonth{SpAno->value(), CbMes->currentIndex() + 1, rate}}))
        return;
    // Months are mostly added one after another.
    const QDate next = QDate(SpAno->value(), CbMes->currentIndex() + 1, 1).addMonths(1);
    SpAno->setValue(next.year());
    CbMes->setCurrentIndex(next.month() - 1);
    EdTaxa->clear();
}

void TfrmTabelaSelic::BBImportarClick()
{
    SelicText::TParsed parsed = SelicText::Parse(MMColar->toPlainText());
    if (!parsed.problems.isEmpty()) {
        say(QStringLiteral("Nada foi gravado; o texto colado tem problemas:\n") + parsed.problems.join(QLatin1Char('\n')),
            true);
        return;
    }
    std::sort(parsed.months.begin(), parsed.months.end(), [](const TSelicMonth &a, const TSelicMonth &b) {
        return a.year * 12 + a.month < b.year * 12 + b.month;
    });
    if (store(parsed.months))
        MMColar->clear();
}
