#include "app/pZavenorCLX.h"

#include "slips/CurrencyTotal.h"
#include "app/DateCheck.h"
#include "app/FitChecks.h"
#include "app/DesktopShell.h"
#include "app/EnterAsTab.h"
#include "app/PageBuilder.h"
#include "app/Pictures.h"
#include "app/RegisterCommands.h"
#include "app/IssueHistory.h"
#include "app/ReportPrinting.h"
#include "batch/IssueRecords.h"
#include "app/TaxIdHint.h"
#include "report/base/RLExceptions.h"
#include "report/base/RLHost.h"
#include "report/base/RLUtils.h"
#include "report/RLReport.h"
#include "report/output/RLUserChoices.h"
#include "slips/pDadosDARF.h"
#include "slips/pDadosGARE.h"
#include "slips/pLayOutDarf.h"
#include "slips/pLayOutGare.h"
#include "slips/SlipColours.h"
#include "slips/SlipNames.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/ErrorRelay.h"
#include "widgets/LeaveWatcher.h"
#include "widgets/LinkLabel.h"
#include "widgets/MemoCLX.h"
#include "widgets/NumEditCLX.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QValidator>
#include <memory>
#include <stdexcept>

namespace {

QFrame *whitePanel(QWidget *parent, const char *name, QRect geometry)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(geometry);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    return panel;
}

// Wraps a handler so that an error in it reaches the application's error box.
template <class F>
auto guarded(F f)
{
    return [f](auto &&...) { ErrorRelay::RunGuarded(f); };
}
} // namespace

TfrmZavenor::TfrmZavenor(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmZavenor"));
    setWindowTitle(QStringLiteral("Zavenor"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // Every position is in pixels of a fixed design: the window cannot be resized.
    setFixedSize(657, 475);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(11);
    setFont(font);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);

    m_leave = new TLeaveWatcher(this);
    buildHeader();
    buildButtonPanel();
    buildPages();
    m_unsaved.AddPage(tsDarf, [this] { return darfSnapshot(); });
    m_unsaved.AddPage(tsGare, [this] { return gareSnapshot(); });
    buildLateChargeCommands();

    // The tab order is the order of creation: the bottom panel's controls as its table lists
    // them, then the page control and its pages' fields, each page's table being in tab order.
    RBCor->setFocus();
}

TfrmZavenor::~TfrmZavenor() = default;

// Every member is named as its widget in the layout tables.
#define BIND(member) bind(member, #member)

template <class T>
void TfrmZavenor::bind(T *&member, const char *name)
{
    member = RLRequireChild<T>(this, name);
}

void TfrmZavenor::buildHeader()
{
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setGeometry(0, 0, 657, 81);
    PnCab2 = whitePanel(Panel2, "PnCab2", QRect(1, 1, 655, 79));
    TPageBuilder::Build(PnCab2, HeaderLayout());
    BIND(Image1);
    BIND(Label31);
    BIND(Label32);
    BIND(Label81);
    BIND(Label33);
    connect(Label81, &TLinkLabel::clicked, this, guarded([this] { Label81Click(); }));
    connect(Label33, &TLinkLabel::clicked, this, guarded([this] { Label33Click(); }));
}

void TfrmZavenor::buildButtonPanel()
{
    PnBotoes = new QFrame(this);
    PnBotoes->setObjectName(QStringLiteral("PnBotoes"));
    PnBotoes->setGeometry(0, 475 - 41, 657, 41);
    for (const TButtonRow &row : ButtonPanelLayout()) {
        QAbstractButton *button = nullptr;
        const QString caption = QString::fromUtf8(row.caption);
        if (row.kind == TButtonRow::Check) {
            button = new QCheckBox(caption, PnBotoes);
        } else if (row.kind == TButtonRow::Radio) {
            button = new QRadioButton(caption, PnBotoes);
        } else {
            auto *push = new QPushButton(caption, PnBotoes);
            QIcon icon;
            icon.addPixmap(Pictures::Get(QLatin1StringView(row.picture)), QIcon::Normal);
            icon.addPixmap(Pictures::Get(QLatin1StringView(row.disabledPicture)), QIcon::Disabled);
            push->setIcon(icon);
            push->setIconSize(QSize(16, 16));
            // The picture stands to the right of the caption.
            push->setLayoutDirection(Qt::RightToLeft);
            button = push;
        }
        button->setObjectName(QString::fromLatin1(row.name));
        button->setGeometry(row.left, row.top, row.width, row.height);
    }
    BIND(cbComLayOut);
    BIND(RBCor);
    BIND(RBPB);
    BIND(BBImprimir);
    BIND(BBSair);

    cbComLayOut->setChecked(true);
    RBCor->setChecked(true);
    // Only the checked option of the pair is a tab stop.
    RBPB->setFocusPolicy(Qt::ClickFocus);
    for (QRadioButton *option : {RBCor, RBPB})
        connect(option, &QRadioButton::toggled, option,
                [option](bool on) { option->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus); });
    // Checking an option by code runs its handler just as a click does.
    connect(RBCor, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            ErrorRelay::RunGuarded([this] { RBCorClick(); });
    });
    connect(RBPB, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            ErrorRelay::RunGuarded([this] { RBPBClick(); });
    });
    // No click or accelerator may overtake the check of the field being left.
    const QList<QAbstractButton *> buttons = {cbComLayOut, RBCor, RBPB, BBImprimir, BBSair};
    for (QAbstractButton *button : buttons)
        m_leave->Guard(button);
    connect(BBImprimir, &QPushButton::clicked, this, guarded([this] { BBImprimirClick(); }));
    // Only the user's choices are kept: the start's own setting of the options is not one.
    connect(cbComLayOut, &QAbstractButton::clicked, this, [this] { rememberOptions(cbComLayOut); });
    for (QAbstractButton *option : {RBCor, RBPB})
        connect(option, &QAbstractButton::clicked, this, [this] { rememberOptions(RBCor); });
    connect(BBSair, &QPushButton::clicked, this, guarded([this] { BBSairClick(); }));
    buildToolsMenu();
}

void TfrmZavenor::buildToolsMenu()
{
    BBFerramentas = new QPushButton(QStringLiteral("F&erramentas"), PnBotoes);
    BBFerramentas->setObjectName(QStringLiteral("BBFerramentas"));
    BBFerramentas->setGeometry(392, 9, 91, 25);
    // Reached by its accelerator or the mouse; it is no stop in the fields' tab chain.
    BBFerramentas->setFocusPolicy(Qt::NoFocus);
    MenuFerramentas = new QMenu(BBFerramentas);
    MenuFerramentas->setObjectName(QStringLiteral("MenuFerramentas"));
    BBFerramentas->setMenu(MenuFerramentas);
    // No entries yet: the button shows only once something is in the menu.
    BBFerramentas->setVisible(false);

    acNovaGuia = addToolsAction(QStringLiteral("&Nova guia"), "acNovaGuia");
    acNovaGuia->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    // The menu is hidden most of the time: the window carries the shortcut.
    acNovaGuia->setShortcutContext(Qt::WindowShortcut);
    addAction(acNovaGuia);
    connect(acNovaGuia, &QAction::triggered, this, guarded([this] { NovaGuiaClick(); }));
}

QAction *TfrmZavenor::addToolsAction(const QString &caption, const char *objectName)
{
    auto *action = MenuFerramentas->addAction(caption);
    action->setObjectName(QString::fromLatin1(objectName));
    BBFerramentas->setVisible(true);
    return action;
}

void TfrmZavenor::SetRegister(TRegisterThread *reg)
{
    if (m_registerCommands || !reg)
        return;
    m_registerCommands = new TRegisterCommands(*this, *reg);
}

TIssuedSlip TfrmZavenor::issuedSlip(bool darf) const
{
    TBatchSlip slip;
    slip.kind = darf ? TSlipKind::Darf : TSlipKind::Gare;
    if (darf)
        slip.darf = darfTexts();
    else
        slip.gare = gareTexts();
    const QString mode = !cbComLayOut->isChecked() ? QStringLiteral("dados")
        : RBCor->isChecked()                        ? QStringLiteral("layout-cor")
                                                    : QStringLiteral("layout-pb");
    return IssueRecords::FromSlip(slip, mode);
}

void TfrmZavenor::buildPages()
{
    PC1 = new QTabWidget(this);
    PC1->setObjectName(QStringLiteral("PC1"));
    PC1->setGeometry(0, 81, 657, 353);
    PC1->tabBar()->setAttribute(Qt::WA_Hover);
    tsDarf = new QWidget;
    tsDarf->setObjectName(QStringLiteral("tsDarf"));
    tsGare = new QWidget;
    tsGare->setObjectName(QStringLiteral("tsGare"));
    PC1->addTab(tsDarf, QStringLiteral("  D.A.R.F.  "));
    PC1->addTab(tsGare, QStringLiteral("G.A.R.E."));
    buildDarfPage();
    buildGarePage();
    FitChecks::Attach(Panel1);
    FitChecks::Attach(Panel3);
    TEnterAsTab::Attach(Panel1);
    TEnterAsTab::Attach(Panel3);
    connect(PC1, &QTabWidget::currentChanged, this, [this](int index) {
        if (PC1->widget(index) == tsDarf)
            ErrorRelay::RunGuarded([this] { tsDarfShow(); });
    });
}

void TfrmZavenor::buildDarfPage()
{
    Panel1 = whitePanel(tsDarf, "Panel1", QRect(16, 8, 601, 305));
    TPageBuilder::Build(Panel1, DarfPageLayout());
    BIND(EdNome);
    BIND(mmVejaVerso);
    BIND(mePerAp);
    BIND(edCGCCPF);
    BIND(edCodRec);
    BIND(edNumRef);
    BIND(meDtVenc);
    BIND(neValPrinc);
    BIND(neValMulta);
    BIND(neValJuros);
    BIND(LbTotal);
    BIND(Memo1);

    m_leave->Watch(mePerAp, [this] { mePerApExit(); });
    m_leave->Watch(meDtVenc, [this] { meDtVencExit(); });
    m_leave->Watch(neValPrinc, [this] { neValPrincExit(); });
    m_leave->Watch(neValMulta, [this] { neValMultaExit(); });
    m_leave->Watch(neValJuros, [this] { neValJurosExit(); });
    m_leave->Watch(edCGCCPF, [this] { edCGCCPFExit(); });
    TTaxIdHint::Attach(edCGCCPF, TaxIdCheck::CheckCpfCnpj);
    buildAlignmentMenu();
}

void TfrmZavenor::buildGarePage()
{
    Panel3 = whitePanel(tsGare, "Panel3", QRect(16, 8, 617, 297));
    // The GARE page starts behind the DARF page.
    TPageBuilder::Build(Panel3, GarePageLayout(), TPageBuilder::Decor::WhenShown);
    BIND(EdNomeG);
    BIND(EdEnderecoG);
    BIND(EDMunicipioG);
    BIND(EDUFG);
    BIND(EDFoneG);
    BIND(MMTribG);
    BIND(EdCAEG);
    BIND(EdPlacaG);
    BIND(MMObsG);
    BIND(MEDTVencG);
    BIND(EDCodRecG);
    BIND(EDInscEstG);
    BIND(EDCGCG);
    BIND(EDInscrDAG);
    BIND(EDNroAinG);
    BIND(neValRecG);
    BIND(neJurMorG);
    BIND(neMulMorG);
    BIND(neHonor);
    BIND(LbTotalG);

    m_leave->Watch(MEDTVencG, [this] { MEDTVencGExit(); });
    m_leave->Watch(neValRecG, [this] { neValRecGExit(); });
    m_leave->Watch(neJurMorG, [this] { neJurMorGExit(); });
    m_leave->Watch(neMulMorG, [this] { neMulMorGExit(); });
    m_leave->Watch(neHonor, [this] { neHonorExit(); });
    m_leave->Watch(EDCGCG, [this] { EDCGCGExit(); });
    TTaxIdHint::Attach(EDCGCG, TaxIdCheck::CheckCpfCnpj);
    TTaxIdHint::Attach(EDInscEstG, TaxIdCheck::CheckStateRegistration);
}

void TfrmZavenor::buildAlignmentMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    AlinharTexto1 = PopupMenu1->addMenu(QStringLiteral("&Alinhar Texto"));
    AlinharTexto1->setObjectName(QStringLiteral("AlinharTexto1"));
    Esquerda1 = AlinharTexto1->addAction(QStringLiteral("&Esquerda"));
    Centro1 = AlinharTexto1->addAction(QStringLiteral("&Centro"));
    Direita1 = AlinharTexto1->addAction(QStringLiteral("&Direita"));
    Esquerda1->setObjectName(QStringLiteral("Esquerda1"));
    Centro1->setObjectName(QStringLiteral("Centro1"));
    Direita1->setObjectName(QStringLiteral("Direita1"));
    connect(Esquerda1, &QAction::triggered, this, guarded([this] { Esquerda1Click(); }));
    connect(Centro1, &QAction::triggered, this, guarded([this] { Centro1Click(); }));
    connect(Direita1, &QAction::triggered, this, guarded([this] { Direita1Click(); }));

    mmVejaVerso->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mmVejaVerso, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1->popup(mmVejaVerso->mapToGlobal(at)); });
}

void TfrmZavenor::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    // Shown once per run; a restore from the task bar is not a new start.
    if (m_shown)
        return;
    m_shown = true;
    // Installed now, after the program's own close handling, so that it is asked first: a
    // "Não" here must leave a running print alone.
    installEventFilter(this);
    ErrorRelay::RunGuarded([this] { FormShow(); });
}

bool TfrmZavenor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != this || event->type() != QEvent::Close)
        return QWidget::eventFilter(watched, event);
    // The system stopping the program asks nothing.
    if (RLApplicationClosing() || !m_unsaved.AnyUnsaved())
        return false;
    if (TUnsavedEntries::AskDiscard(this))
        return false;
    event->ignore();
    return true;
}

void TfrmZavenor::FormShow()
{
    if (const QScreen *desk = screen()) {
        const QRect area = desk->geometry();
        const QSize frame = frameGeometry().size();
        // Integer division truncates toward zero: a small desktop gives negative positions.
        move(area.x() + (area.width() - frame.width()) / 2, area.y() + (area.height() - frame.height()) / 2);
    }
    fLimapEdits();
    m_unsaved.MarkAllSaved();
    RBPB->setChecked(true);
    restoreOptions();
    (RBCor->isChecked() ? RBCor : RBPB)->setFocus();
    if (PC1->currentWidget() == tsDarf)
        tsDarfShow();
    else
        PC1->setCurrentWidget(tsDarf);
}

void TfrmZavenor::BBImprimirClick()
{
    const bool darf = PC1->currentWidget() == tsDarf;
    // A slip whose amounts have no total does not print; the same message as on leaving the field.
    darf ? darfTotalText() : gareTotalText();
    const auto print = [this, darf] {
        if (cbComLayOut->isChecked())
            return darf ? printLayOutDarf() : printLayOutGare();
        return darf ? printDadosDarf() : printDadosGare();
    };
    const bool printed = m_registerCommands ? m_registerCommands->History().Track(issuedSlip(darf), print) : print();
    // Nothing printed (the user has been told why): no confirmation, the caret stays.
    if (!printed)
        return;
    m_unsaved.MarkSaved(darf ? tsDarf : tsGare);
    if (darf)
        EdNome->setFocus();
    else
        EdNomeG->setFocus();
    QMessageBox::information(this, QStringLiteral("Information"), QStringLiteral("Ok. Impressão efetuada."));
}

bool TfrmZavenor::printLayOutDarf()
{
    auto window = std::make_unique<TfrmLayOutDARF>();
    frmLayOutDARF = window.get();
    fCorDarf(CorDarf);
    window->RLDarf->SetTitle(QStringLiteral("Zavenor - DARF"));
    window->RLDarf->SetFileName(SlipFileName(darfIdentity()));
    return ReportPrinting::Print(window->RLDarf);
}

bool TfrmZavenor::printLayOutGare()
{
    auto window = std::make_unique<TfrmLayOutGARE>();
    frmLayOutGARE = window.get();
    fCorGare(CorGare);
    window->QRGARE->SetTitle(QStringLiteral("Zavenor - GARE"));
    window->QRGARE->SetFileName(SlipFileName(gareIdentity()));
    return ReportPrinting::Print(window->QRGARE);
}

// Each print has a window of its own, released as soon as the print returns or fails.
bool TfrmZavenor::printDadosDarf()
{
    auto window = std::make_unique<TfrmDadosDARF>();
    frmDadosDARF = window.get();
    fDadosDarf();
    window->RLDadosDARF->SetTitle(SlipJobTitle(darfIdentity()));
    window->RLDadosDARF->SetFileName(SlipFileName(darfIdentity()));
    return ReportPrinting::Print(window->RLDadosDARF);
}

bool TfrmZavenor::printDadosGare()
{
    auto window = std::make_unique<TfrmDadosGARE>();
    frmDadosGARE = window.get();
    fDadosGARE();
    window->LRDadosGARE->SetTitle(SlipJobTitle(gareIdentity()));
    window->LRDadosGARE->SetFileName(SlipFileName(gareIdentity()));
    return ReportPrinting::Print(window->LRDadosGARE);
}

void TfrmZavenor::fDadosDarf()
{
    TfrmDadosDARF *doc = frmDadosDARF;
    if (!doc)
        throw std::logic_error("fDadosDarf: no data-only DARF window");
    FillDadosDarf(*doc, darfTexts());
}

void TfrmZavenor::fDadosGARE()
{
    TfrmDadosGARE *doc = frmDadosGARE;
    if (!doc)
        throw std::logic_error("fDadosGARE: no data-only GARE window");
    FillDadosGare(*doc, gareTexts());
}

void TfrmZavenor::BBSairClick() { close(); }

void TfrmZavenor::RBCorClick()
{
    CorDarf = kCorDarfColorido;
    CorGare = kCorGareColorido;
}

void TfrmZavenor::RBPBClick()
{
    CorDarf = 0;
    CorGare = 0;
}

void TfrmZavenor::tsDarfShow() { EdNome->setFocus(); }

void TfrmZavenor::Label81Click() { DesktopShell::Open(QStringLiteral("mailto:") + Label81->text()); }

void TfrmZavenor::Label33Click()
{
    // The host name alone: the desktop resolves it as a web address.
    DesktopShell::Open(QUrl(Label33->text()).host());
}

void TfrmZavenor::Esquerda1Click() { mmVejaVerso->SetAlignment(Qt::AlignLeft); }
void TfrmZavenor::Centro1Click() { mmVejaVerso->SetAlignment(Qt::AlignHCenter); }
void TfrmZavenor::Direita1Click() { mmVejaVerso->SetAlignment(Qt::AlignRight); }

bool TfrmZavenor::fValidaData(const QString &Texto, bool PermiteVazio)
{
    switch (CheckDateText(Texto, PermiteVazio)) {
    case TDateVerdict::Good:
    case TDateVerdict::Blank:
        return true;
    case TDateVerdict::Invalid:
        QMessageBox::critical(this, QStringLiteral("Error"), QStringLiteral("Data inválida ! ! !"));
        return false;
    case TDateVerdict::Before1900:
        QMessageBox::critical(this, QStringLiteral("Error"),
                              QStringLiteral("Data inválida ! ! !\nMenor que 01/01/1900"));
        return false;
    }
    return false;
}

void TfrmZavenor::checkDateOnExit(TDateMaskEdit *field)
{
    const QString typed = field->Text();
    QDate date;
    if (CheckDateText(typed, true, &date) == TDateVerdict::Good) {
        // What prints is the field's text: 5/1/2026 typed with its slashes would print "5 /1 /2026".
        const QString whole = DateFieldText(date);
        // The mask's slots hold day and month (either order) before the year only.
        const bool fits = whole.lastIndexOf(TDateMaskEdit::DateSeparator()) == 5;
        if (whole != typed && fits)
            field->setText(whole);
        return;
    }
    if (!fValidaData(typed, true)) {
        m_leave->ReturnFocus(field);
        // Caret on the first slot with the date selected: typing retypes it at once (at the end
        // of a full mask nothing could be typed).
        const int length = int(field->displayText().size());
        field->setSelection(length, -length);
    }
}

void TfrmZavenor::mePerApExit() { checkDateOnExit(mePerAp); }
void TfrmZavenor::meDtVencExit() { checkDateOnExit(meDtVenc); }

void TfrmZavenor::punctuateOnExit(QLineEdit *field)
{
    QString punctuated = TaxIdCheck::PunctuateCpfCnpj(field->text());
    if (punctuated == field->text())
        return;
    // Punctuation the field would not take by typing (its limit, or a check of what fits the
    // printed box) is left out rather than let it cut digits or overflow the slip.
    if (punctuated.size() > field->maxLength())
        return;
    int caret = 0;
    if (const QValidator *fits = field->validator(); fits && fits->validate(punctuated, caret) == QValidator::Invalid)
        return;
    field->setText(punctuated);
}

void TfrmZavenor::edCGCCPFExit() { punctuateOnExit(edCGCCPF); }
void TfrmZavenor::EDCGCGExit() { punctuateOnExit(EDCGCG); }

void TfrmZavenor::neValPrincExit() { fTotalizaDarf(); }
void TfrmZavenor::neValMultaExit() { fTotalizaDarf(); }
void TfrmZavenor::neValJurosExit() { fTotalizaDarf(); }

void TfrmZavenor::MEDTVencGExit() { checkDateOnExit(MEDTVencG); }

void TfrmZavenor::neValRecGExit() { fTotalizaGare(); }
void TfrmZavenor::neJurMorGExit() { fTotalizaGare(); }
void TfrmZavenor::neMulMorGExit() { fTotalizaGare(); }
void TfrmZavenor::neHonorExit() { fTotalizaGare(); }

namespace {

// An amount beyond the currency's range leaves no total standing, not even the last good one:
// the label is blanked and the error goes on to be shown.
template <class Sum>
QString totalOrBlank(QLabel *total, Sum sum)
{
    try {
        return sum();
    } catch (...) {
        total->clear();
        throw;
    }
}

} // namespace

QString TfrmZavenor::gareTotalText() const
{
    return totalOrBlank(LbTotalG, [this] {
        return CurrencyTotal::Total({neValRecG->Value(), neJurMorG->Value(), neMulMorG->Value(), neHonor->Value()},
                                    QLocale());
    });
}

QString TfrmZavenor::darfTotalText() const
{
    return totalOrBlank(LbTotal, [this] {
        return CurrencyTotal::Total({neValPrinc->Value(), neValMulta->Value(), neValJuros->Value()}, QLocale());
    });
}

void TfrmZavenor::fTotalizaGare()
{
    LbTotalG->setText(gareTotalText());
}

void TfrmZavenor::fTotalizaDarf()
{
    LbTotal->setText(darfTotalText());
}

void TfrmZavenor::fLimapEdits()
{
    clearDarfPage();
    clearGarePage();
}

void TfrmZavenor::clearDarfPage()
{
    for (QLineEdit *edit : {EdNome, edCGCCPF, edCodRec, edNumRef})
        edit->clear();
    mePerAp->Clear();
    meDtVenc->Clear();
    for (TNumEditCLX *amount : {neValPrinc, neValMulta, neValJuros})
        amount->SetValue(0);
    // This literal whatever the regional settings.
    LbTotal->setText(QStringLiteral("0,00"));
}

void TfrmZavenor::clearGarePage()
{
    for (QLineEdit *edit : {EdNomeG, EdEnderecoG, EDMunicipioG, EDUFG, EDFoneG})
        edit->clear();
    MMTribG->ClearLines();
    EdCAEG->clear();
    EdPlacaG->clear();
    MMObsG->ClearLines();
    MEDTVencG->Clear();
    for (QLineEdit *edit : {EDCodRecG, EDInscEstG, EDCGCG, EDInscrDAG, EDNroAinG})
        edit->clear();
    for (TNumEditCLX *amount : {neValRecG, neJurMorG, neMulMorG, neHonor})
        amount->SetValue(0);
    LbTotalG->setText(QStringLiteral("0,00"));
}

TDarfEntryTexts TfrmZavenor::darfTexts() const
{
    TDarfEntryTexts texts;
    texts.Periodo = mePerAp->Text();
    texts.CGCCPF = edCGCCPF->text();
    texts.Nome = EdNome->text();
    texts.CodRec = edCodRec->text();
    texts.NumRef = edNumRef->text();
    texts.DtVenc = meDtVenc->Text();
    texts.ValPrinc = neValPrinc->text();
    texts.ValMulta = neValMulta->text();
    texts.ValJuros = neValJuros->text();
    texts.Total = LbTotal->text();
    texts.VejaVerso = mmVejaVerso->Lines();
    texts.VejaVersoAlignment = mmVejaVerso->Alignment();
    return texts;
}

void TfrmZavenor::fCorDarf(quint32 Cor)
{
    if (!frmLayOutDARF)
        return;
    FillLayOutDarf(*frmLayOutDARF, darfTexts(), Cor);
}

void TfrmZavenor::NovaGuiaClick()
{
    QWidget *page = PC1->currentWidget();
    if (m_unsaved.Unsaved(page) && !TUnsavedEntries::AskDiscard(this))
        return;
    const bool darf = page == tsDarf;
    darf ? clearDarfPage() : clearGarePage();
    m_unsaved.MarkSaved(page);
    (darf ? EdNome : EdNomeG)->setFocus();
}

namespace {

// An amount as its value, so that the focus's reformatting (1.234,50 / 1234,50) is no change.
QString amountKey(const TNumEditCLX *field)
{
    try {
        return QString::number(double(field->Value()), 'f', 2);
    } catch (const std::exception &) {
        return field->text();
    }
}

const QString optionLayout = QStringLiteral("ImprimirComLayOut");
const QString optionColour = QStringLiteral("Colorido");
const QString yes = QStringLiteral("sim"), no = QStringLiteral("nao");

} // namespace

QStringList TfrmZavenor::darfSnapshot() const
{
    QStringList texts = {EdNome->text(), mePerAp->Text(), edCGCCPF->text(), edCodRec->text(), edNumRef->text(),
                         meDtVenc->Text(), mmVejaVerso->Lines().join(QLatin1Char('\n'))};
    for (const TNumEditCLX *amount : {neValPrinc, neValMulta, neValJuros})
        texts << amountKey(amount);
    return texts;
}

QStringList TfrmZavenor::gareSnapshot() const
{
    QStringList texts;
    for (const QLineEdit *edit : {EdNomeG, EdEnderecoG, EDMunicipioG, EDUFG, EDFoneG, EdCAEG, EdPlacaG, EDCodRecG,
                                  EDInscEstG, EDCGCG, EDInscrDAG, EDNroAinG})
        texts << edit->text();
    texts << MMTribG->Lines().join(QLatin1Char('\n')) << MMObsG->Lines().join(QLatin1Char('\n')) << MEDTVencG->Text();
    for (const TNumEditCLX *amount : {neValRecG, neJurMorG, neMulMorG, neHonor})
        texts << amountKey(amount);
    return texts;
}

void TfrmZavenor::restoreOptions()
{
    const QString layout = RLUserChoices::Text(optionLayout, QString(), 3);
    if (layout == yes || layout == no)
        cbComLayOut->setChecked(layout == yes);
    const QString colour = RLUserChoices::Text(optionColour, QString(), 3);
    if (colour == yes)
        RBCor->setChecked(true);
    else if (colour == no)
        RBPB->setChecked(true);
}

void TfrmZavenor::rememberOptions(QAbstractButton *option)
{
    if (option == cbComLayOut)
        RLUserChoices::SetValue(optionLayout, cbComLayOut->isChecked() ? yes : no);
    else
        RLUserChoices::SetValue(optionColour, RBCor->isChecked() ? yes : no);
}

TSlipIdentity TfrmZavenor::darfIdentity() const
{
    return {QStringLiteral("DARF"), edCodRec->text(), EdNome->text(), meDtVenc->Text()};
}

TSlipIdentity TfrmZavenor::gareIdentity() const
{
    return {QStringLiteral("GARE"), EDCodRecG->text(), EdNomeG->text(), MEDTVencG->Text()};
}
