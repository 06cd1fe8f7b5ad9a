#pragma once
// The main window: header with the maker's contacts, the DARF and GARE replicas on two tab
// pages, and the print options with the Print and Exit buttons. Its fields keep their data
// for the whole run; the Print command reads them as the texts they show.

#include "app/UnsavedEntries.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QAbstractButton;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TDateMaskEdit;
class TLeaveWatcher;
class TLinkLabel;
class TMemoCLX;
class TNumEditCLX;
class TfrmLayOutDARF;
class TfrmLayOutGARE;
class TRegisterCommands;
class TRegisterThread;
struct TDarfEntryTexts;
struct TGareEntryTexts;
struct TSlipIdentity;
struct TIssuedSlip;

class TfrmZavenor : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmZavenor(QWidget *parent = nullptr);
    ~TfrmZavenor() override;

    // The date check of every date field: true for a good date, or a blank one when
    // PermiteVazio; otherwise shows why in an error box and gives false.
    bool fValidaData(const QString &Texto, bool PermiteVazio);
    // Adds a command at the end of the tools menu (the button shows with the first one).
    QAction *addToolsAction(const QString &caption, const char *objectName);
    // Gives the window the office's register: clients offered under the payer's fields, the
    // register's commands in the tools menu, and every slip issued recorded. Without one the
    // window works as alone.
    void SetRegister(TRegisterThread *reg);
    TRegisterCommands *RegisterCommands() const { return m_registerCommands; }
    void fTotalizaDarf();
    void fTotalizaGare();
    // Clears the fields of both pages (the memo's notice and alignment stay).
    void fLimapEdits();
    // "Nova guia": clears the page in front, after a question when what was typed there has
    // not gone out since.
    void NovaGuiaClick();
    // Whether anything typed on the page has neither been printed, saved as PDF nor cleared.
    bool HasUnsavedEntries(QWidget *page) const { return m_unsaved.Unsaved(page); }
    // Copy the entry texts unchanged into the data-only document created last.
    void fDadosDarf();
    void fDadosGARE();
    // Copies the DARF page into frmLayOutDARF and colours it (Cor as CorDarf; 0 black and white).
    void fCorDarf(quint32 Cor);
    // Copies the GARE page into frmLayOutGARE and colours it (Cor as CorGare; 0 black and white).
    void fCorGare(quint32 Cor);

    // The full-layout DARF document while a print uses it.
    QPointer<TfrmLayOutDARF> frmLayOutDARF;
    // The full-layout GARE document while a print uses it.
    QPointer<TfrmLayOutGARE> frmLayOutGARE;

    // The slip colours chosen by the colour options, as 0x00BBGGRR; 0 prints in black and white.
    quint32 CorDarf = 0;
    quint32 CorGare = 0;

    // Header
    QFrame *Panel2 = nullptr;
    QFrame *PnCab2 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Label31 = nullptr;
    QLabel *Label32 = nullptr;
    TLinkLabel *Label81 = nullptr;
    TLinkLabel *Label33 = nullptr;

    // Bottom panel
    QFrame *PnBotoes = nullptr;
    QCheckBox *cbComLayOut = nullptr;
    QRadioButton *RBCor = nullptr;
    QRadioButton *RBPB = nullptr;
    QPushButton *BBImprimir = nullptr;
    QPushButton *BBSair = nullptr;
    // The commands beyond printing (clients, history, late charges, settings) live in one
    // menu behind this button, so the replicas and the tab chain stay as they are.
    QPushButton *BBFerramentas = nullptr;
    QMenu *MenuFerramentas = nullptr;
    // The DARF's late charges and the Selic table they add up (pZavenorAcrescimos.cpp).
    QAction *AcCalcularAcrescimos = nullptr;
    QAction *AcTabelaSelic = nullptr;
    QAction *acNovaGuia = nullptr;

    // Pages
    QTabWidget *PC1 = nullptr;
    QWidget *tsDarf = nullptr;
    QWidget *tsGare = nullptr;

    // DARF page
    QFrame *Panel1 = nullptr;
    QLineEdit *EdNome = nullptr;
    TMemoCLX *mmVejaVerso = nullptr;
    TDateMaskEdit *mePerAp = nullptr;
    QLineEdit *edCGCCPF = nullptr;
    QLineEdit *edCodRec = nullptr;
    QLineEdit *edNumRef = nullptr;
    TDateMaskEdit *meDtVenc = nullptr;
    TNumEditCLX *neValPrinc = nullptr;
    TNumEditCLX *neValMulta = nullptr;
    TNumEditCLX *neValJuros = nullptr;
    QLabel *LbTotal = nullptr;
    TMemoCLX *Memo1 = nullptr;

    // GARE page
    QFrame *Panel3 = nullptr;
    QLineEdit *EdNomeG = nullptr;
    QLineEdit *EdEnderecoG = nullptr;
    QLineEdit *EDMunicipioG = nullptr;
    QLineEdit *EDUFG = nullptr;
    QLineEdit *EDFoneG = nullptr;
    TMemoCLX *MMTribG = nullptr;
    QLineEdit *EdCAEG = nullptr;
    QLineEdit *EdPlacaG = nullptr;
    TMemoCLX *MMObsG = nullptr;
    TDateMaskEdit *MEDTVencG = nullptr;
    QLineEdit *EDCodRecG = nullptr;
    QLineEdit *EDInscEstG = nullptr;
    QLineEdit *EDCGCG = nullptr;
    QLineEdit *EDInscrDAG = nullptr;
    QLineEdit *EDNroAinG = nullptr;
    TNumEditCLX *neValRecG = nullptr;
    TNumEditCLX *neJurMorG = nullptr;
    TNumEditCLX *neMulMorG = nullptr;
    TNumEditCLX *neHonor = nullptr;
    QLabel *LbTotalG = nullptr;

    // The alignment menu of mmVejaVerso
    QMenu *PopupMenu1 = nullptr;
    QMenu *AlinharTexto1 = nullptr;
    QAction *Esquerda1 = nullptr;
    QAction *Centro1 = nullptr;
    QAction *Direita1 = nullptr;

public slots:
    void FormShow();
    void BBImprimirClick();
    void BBSairClick();
    void RBCorClick();
    void RBPBClick();
    void tsDarfShow();
    void Label81Click();
    void Label33Click();
    void Esquerda1Click();
    void Centro1Click();
    void Direita1Click();
    void mePerApExit();
    void meDtVencExit();
    void neValPrincExit();
    void neValMultaExit();
    void neValJurosExit();
    void edCGCCPFExit();
    void MEDTVencGExit();
    void neValRecGExit();
    void neJurMorGExit();
    void neMulMorGExit();
    void neHonorExit();
    void EDCGCGExit();
    void CalcularAcrescimosClick();
    void TabelaSelicClick();

protected:
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildHeader();
    void buildButtonPanel();
    void buildPages();
    void buildDarfPage();
    void buildGarePage();
    void buildAlignmentMenu();
    void buildToolsMenu();
    void buildLateChargeCommands();
    void clearDarfPage();
    void clearGarePage();
    // The print options of the last run, and keeping one when the user changes it (the layout
    // check box, or RBCor for the colour pair).
    void restoreOptions();
    void rememberOptions(QAbstractButton *option);
    // What the page's fields hold, for telling whether anything was typed since.
    QStringList darfSnapshot() const;
    QStringList gareSnapshot() const;
    // Kind, code, payer and due date of each page's slip, for its file and job names.
    TSlipIdentity darfIdentity() const;
    TSlipIdentity gareIdentity() const;
    // The four ways of printing; each answers whether the pages reached the printer.
    bool printLayOutDarf();
    bool printLayOutGare();
    bool printDadosDarf();
    bool printDadosGare();
    QString darfTotalText() const;
    QString gareTotalText() const;
    // What each page's fields show, as the fills take it.
    TDarfEntryTexts darfTexts() const;
    TGareEntryTexts gareTexts() const;
    // The page's slip as the history records it.
    TIssuedSlip issuedSlip(bool darf) const;
    // The exit handler of any date field: a refused date keeps the focus in the field.
    void checkDateOnExit(TDateMaskEdit *field);
    // A valid CPF or CNPJ typed bare is shown, and so printed, with its usual punctuation.
    void punctuateOnExit(QLineEdit *field);
    template <class T>
    void bind(T *&member, const char *name);

    TLeaveWatcher *m_leave = nullptr;
    TRegisterCommands *m_registerCommands = nullptr;
    bool m_shown = false;
    TUnsavedEntries m_unsaved;
};
