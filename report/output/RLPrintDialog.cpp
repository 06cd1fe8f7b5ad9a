#include "report/output/RLPrintDialog.h"

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/base/RLHost.h"
#include "report/base/RLUtils.h"
// RLFilters.h reads its store through an inline QPointer: the type must be complete.
#include "report/page/RLMetaFile.h"
#include "report/output/RLFilters.h"
#include "report/output/RLPositionDialog.h"
#include "report/output/RLPrintOffsets.h"
#include "report/output/RLPreview.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLUserChoices.h"
#include "report/output/RLWindowColours.h"
#include "report/output/RLWindowFont.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyledItemDelegate>

#include <algorithm>

// ---- Print parameters -------------------------------------------------------------------------

TRLPrintParams::TRLPrintParams(QObject *owner) : QObject(owner), TRLPageRangeParams(1, 9999, 1, 9999) {}

TRLPrintParams::~TRLPrintParams() = default;

void TRLPrintParams::Clear()
{
    SetRange(1, 9999, 1, 9999);
    m_printRange = rprAllPages;
    m_fileName.clear();
    m_helpContext = 0;
}

TRLCustomPrintFilter *TRLPrintParams::Filter() const
{
    return static_cast<TRLCustomPrintFilter *>(m_filter.data());
}

void TRLPrintParams::SetFilter(TRLCustomPrintFilter *filter)
{
    m_filter = filter;
}

TRLPrintParams &RLPrintParams()
{
    static TRLPrintParams params;
    return params;
}

// ---- Dialog layout ----------------------------------------------------------------------------

namespace {

enum class Kind { GroupBox, Label, RightLabel, DropDown, CheckBox, RadioButton, Edit, Button };

// One control: its designed caption, and the message (with its decoration) that replaces it.
struct ControlRow
{
    const char *name;
    Kind kind;
    const char *parent; // nullptr: the window
    QRect geometry;
    const char *caption;
    int message;        // 0: the designed caption stays
    const char *format; // how the message is shown
};

// In tab order.
const ControlRow controlRows[] = {
    {"GroupBoxPrinter", Kind::GroupBox, nullptr, {8, 4, 413, 113}, " Impressora ", rlmPrinter, " %1 "},
    {"LabelPrinterName", Kind::Label, "GroupBoxPrinter", {12, 24, 31, 13}, "&Nome:", rlmName, "%1:"},
    {"ComboBoxPrinterNames", Kind::DropDown, "GroupBoxPrinter", {68, 20, 329, 21}, "", 0, nullptr},
    {"LabelFilterName", Kind::Label, "GroupBoxPrinter", {12, 48, 47, 13}, "Usar &filtro:", rlmUseFilter, "%1:"},
    {"ComboBoxFilters", Kind::DropDown, "GroupBoxPrinter", {68, 44, 177, 21}, "", 0, nullptr},
    {"LabelOptions", Kind::RightLabel, "GroupBoxPrinter", {264, 48, 40, 13}, "Opções:", 0, nullptr},
    {"ComboBoxOptions", Kind::DropDown, "GroupBoxPrinter", {308, 44, 89, 21}, "", 0, nullptr},
    {"CheckBoxPrintToFile", Kind::CheckBox, "GroupBoxPrinter", {12, 68, 325, 17}, "Imprimir em arquivo", rlmPrintToFile, "%1"},
    {"CheckBoxPrintInBackground", Kind::CheckBox, "GroupBoxPrinter", {12, 88, 325, 17}, "Imprimir em segundo plano", rlmPrintInBackground, "%1"},
    // Under the options list, right-aligned with the printer list; the check boxes' captions end
    // long before it.
    {"ButtonAdjustPosition", Kind::Button, "GroupBoxPrinter", {292, 66, 105, 22}, "Ajustar posição...", 0, nullptr},
    {"GroupBoxPages", Kind::GroupBox, nullptr, {8, 120, 217, 101}, " Intervalo de impressão ", rlmPageRange, " %1 "},
    {"RadioButtonPagesAll", Kind::RadioButton, "GroupBoxPages", {12, 24, 113, 17}, "&Tudo", rlmAll, "%1"},
    {"RadioButtonPagesInterval", Kind::RadioButton, "GroupBoxPages", {12, 48, 61, 17}, "Páginas", rlmPages, "%1"},
    {"RadioButtonPagesSelect", Kind::RadioButton, "GroupBoxPages", {12, 72, 73, 17}, "&Seleção", rlmSelection, "%1"},
    {"LabelFromPage", Kind::Label, "GroupBoxPages", {72, 49, 15, 13}, "&de:", rlmFrom, "%1:"},
    {"EditFromPage", Kind::Edit, "GroupBoxPages", {92, 44, 41, 21}, "1", 0, nullptr},
    {"LabelToPage", Kind::Label, "GroupBoxPages", {140, 49, 18, 13}, "&até:", rlmTo, "%1:"},
    {"EditToPage", Kind::Edit, "GroupBoxPages", {164, 44, 41, 21}, "", 0, nullptr},
    {"GroupBoxCopies", Kind::GroupBox, nullptr, {236, 120, 185, 101}, " Cópias ", rlmCopies, " %1 "},
    {"LabelCopies", Kind::Label, "GroupBoxCopies", {12, 24, 89, 13}, "Número de &cópias:", rlmNumberOfCopies, "%1:"},
    {"EditCopies", Kind::Edit, "GroupBoxCopies", {108, 20, 49, 21}, "1", 0, nullptr},
    {"ButtonOk", Kind::Button, nullptr, {260, 232, 75, 25}, "OK", rlmOk, "%1"},
    {"ButtonCancel", Kind::Button, nullptr, {344, 232, 75, 25}, "Cancelar", rlmCancel, "%1"},
    {"ButtonPreview", Kind::Button, nullptr, {152, 232, 100, 25}, "Pré-visualização", rlmPreview, "%1"},
};

constexpr QSize clientSize{430, 267};
constexpr int listItemHeight = 13;

// The printer and option lists show their items 13 pixels high.
class FixedHeightDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), listItemHeight};
    }
};

// The designed boxes leave the usual small gap between a radio or check mark and its text; the
// toolkit's wider one ran "Páginas" into the "de:" beside it.
class TightMarkStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_RadioButtonLabelSpacing || metric == PM_CheckBoxLabelSpacing)
            return 3;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// Grows a label to its caption; a right-aligned one keeps its right edge.
void fitLabel(QLabel *label)
{
    const QFontMetrics metrics(label->font());
    const QRect old = label->geometry();
    const int width = metrics.horizontalAdvance(label->text());
    const int height = std::max(old.height(), metrics.height());
    if (label->alignment() & Qt::AlignRight)
        label->setGeometry(old.right() + 1 - width, old.top(), width, height);
    else
        label->setGeometry(old.left(), old.top(), width, height);
}

// A field's whole number; anything else counts as 0.
int wholeNumber(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

QString numberOrEmpty(int value)
{
    return value == 0 ? QString() : QString::number(value);
}

} // namespace

// ---- Dialog -----------------------------------------------------------------------------------

TRLPrintDialog::TRLPrintDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("RLPrintDialog"));
    setWindowTitle(QStringLiteral("Imprimir"));
    setFont(RLWindowFont(11));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    // A disabled entry field shows the button colour, an enabled one the entry-field colour.
    palette.setColor(QPalette::Disabled, QPalette::Base, palette.color(QPalette::Active, QPalette::Button));
    RLSetWindowColours(this, palette);
    setFixedSize(clientSize);

    buildControls();
    localize();
    connectHandlers();
}

TRLPrintDialog::~TRLPrintDialog() = default;

#define BIND(member) member = RLRequireChild<std::remove_reference_t<decltype(*member)>>(this, #member)

void TRLPrintDialog::buildControls()
{
    QList<QWidget *> tabOrder;
    for (const ControlRow &row : controlRows) {
        QWidget *parent = row.parent ? findChild<QWidget *>(QString::fromLatin1(row.parent)) : this;
        const QString caption = QString::fromUtf8(row.caption);
        QWidget *control = nullptr;
        switch (row.kind) {
        case Kind::GroupBox:
            control = new QGroupBox(caption, parent);
            break;
        case Kind::Label:
        case Kind::RightLabel: {
            auto *label = new QLabel(caption, parent);
            label->setAlignment((row.kind == Kind::RightLabel ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
            control = label;
            break;
        }
        case Kind::DropDown: {
            auto *list = new QComboBox(parent);
            list->setEditable(false);
            control = list;
            break;
        }
        case Kind::CheckBox:
            control = new QCheckBox(caption, parent);
            break;
        case Kind::RadioButton:
            control = new QRadioButton(caption, parent);
            break;
        case Kind::Edit:
            control = new QLineEdit(caption, parent);
            break;
        case Kind::Button: {
            auto *button = new QPushButton(caption, parent);
            button->setAutoDefault(false);
            control = button;
            break;
        }
        }
        control->setObjectName(QString::fromLatin1(row.name));
        control->setGeometry(row.geometry);
        if (row.kind != Kind::Label && row.kind != Kind::RightLabel)
            tabOrder.append(control);
    }
    for (int i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));

    BIND(GroupBoxPrinter);
    BIND(LabelPrinterName);
    BIND(ComboBoxPrinterNames);
    BIND(LabelFilterName);
    BIND(ComboBoxFilters);
    BIND(LabelOptions);
    BIND(ComboBoxOptions);
    BIND(CheckBoxPrintToFile);
    BIND(CheckBoxPrintInBackground);
    BIND(ButtonAdjustPosition);
    BIND(GroupBoxPages);
    BIND(RadioButtonPagesAll);
    BIND(RadioButtonPagesInterval);
    BIND(RadioButtonPagesSelect);
    BIND(LabelFromPage);
    BIND(EditFromPage);
    BIND(LabelToPage);
    BIND(EditToPage);
    BIND(GroupBoxCopies);
    BIND(LabelCopies);
    BIND(EditCopies);
    BIND(ButtonOk);
    BIND(ButtonCancel);
    BIND(ButtonPreview);
    ButtonPreview->setEnabled(false);
    LabelPrinterGone = new QLabel(this);
    LabelPrinterGone->setObjectName(QStringLiteral("LabelPrinterGone"));
    LabelPrinterGone->hide();

    LabelOptions->hide();
    ComboBoxOptions->hide();
    RadioButtonPagesAll->setChecked(true);
    EditFromPage->setFocusPolicy(Qt::ClickFocus);
    EditToPage->setFocusPolicy(Qt::ClickFocus);
    EditCopies->clear();
    auto *markStyle = new TightMarkStyle;
    markStyle->setParent(this);
    for (QAbstractButton *mark : std::initializer_list<QAbstractButton *>{
             CheckBoxPrintToFile, CheckBoxPrintInBackground, RadioButtonPagesAll, RadioButtonPagesInterval, RadioButtonPagesSelect})
        mark->setStyle(markStyle);
    for (QComboBox *list : {ComboBoxPrinterNames, ComboBoxOptions})
        list->setItemDelegate(new FixedHeightDelegate(list));
    ButtonOk->setDefault(true);
    ButtonAdjustPosition->setVisible(RLPrintOffsetStore() != nullptr);
}

void TRLPrintDialog::localize()
{
    setWindowTitle(RLMessage(rlmPrint));
    for (const ControlRow &row : controlRows) {
        if (row.message == 0)
            continue;
        const QString text = QString::fromUtf8(row.format).arg(RLMessage(row.message));
        QWidget *control = findChild<QWidget *>(QString::fromLatin1(row.name));
        if (auto *box = qobject_cast<QGroupBox *>(control))
            box->setTitle(text);
        else if (auto *label = qobject_cast<QLabel *>(control))
            label->setText(text);
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            button->setText(text);
    }
    ButtonAdjustPosition->setText(RLPositionText(ptAdjustButton));
    for (QLabel *label : findChildren<QLabel *>())
        fitLabel(label);
}

void TRLPrintDialog::connectHandlers()
{
    connect(ComboBoxFilters, &QComboBox::currentIndexChanged, this,
            [this] { RLRunGuarded([this] { ComboBoxFiltersChange(); }); });
    // Typing counts as a change; the values put in while loading do not, so that loading
    // leaves the range the parameters hold.
    for (QLineEdit *edit : {EditFromPage, EditToPage})
        connect(edit, &QLineEdit::textEdited, this, [this] { RLRunGuarded([this] { EditFromPageChange(); }); });
    connect(ComboBoxPrinterNames, &QComboBox::currentIndexChanged, this,
            [this] { RLRunGuarded([this] { ComboBoxPrinterNamesChange(); }); });
    connect(ButtonAdjustPosition, &QPushButton::clicked, this,
            [this] { RLRunGuarded([this] { ButtonAdjustPositionClick(); }); });
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonPreview, &QPushButton::clicked, this, [this] { RLRunGuarded([this] { ButtonPreviewClick(); }); });
}

void TRLPrintDialog::SetPreviewSource(TRLPreviewSource source)
{
    m_previewSource = std::move(source);
    ButtonPreview->setEnabled(bool(m_previewSource));
}

void TRLPrintDialog::ButtonPreviewClick()
{
    if (!m_previewSource)
        return;
    TfrmRLPreview preview(m_previewSource, this);
    if (preview.exec() == TfrmRLPreview::PrintResult)
        accept();
}

bool TRLPrintDialog::Execute()
{
    FillPrinterList();
    // Ok must always have a printer behind it: without one the dialog does not open.
    if (ComboBoxPrinterNames->count() == 0) {
        const QString failure = RLPrinter().ListFailure();
        throw TRLException(failure.isEmpty() ? RLMessage(rlmNoPrinter) : failure);
    }
    FillFilterList();
    LoadFromParams();
    ComboBoxPrinterNames->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    WriteToParams();
    return true;
}

void TRLPrintDialog::FillPrinterList()
{
    TRLPrinterWrapper &printer = RLPrinter();
    ComboBoxPrinterNames->clear();
    printer.Refresh();
    const QString remembered = RLUserChoices::TakeRunStartPrinter();
    const QString current = printer.PrinterName();
    int selectedIndex = 0;
    int rememberedIndex = -1;
    const int count = int(printer.Printers().size());
    for (int i = 0; i < count; ++i) {
        const QString name = printer.PrinterNames(i);
        if (name == current)
            selectedIndex = i;
        if (name == remembered)
            rememberedIndex = i;
        const QString port = printer.PrinterPorts(i);
        if (!port.isEmpty() && port != name)
            ComboBoxPrinterNames->addItem(name + QLatin1Char(' ') + RLMessage(rlmAt) + QLatin1Char(' ') + port);
        else
            ComboBoxPrinterNames->addItem(name);
    }
    if (rememberedIndex >= 0)
        selectedIndex = rememberedIndex;
    ComboBoxPrinterNames->setCurrentIndex(count > 0 ? selectedIndex : -1);
    ComboBoxPrinterNamesChange();
    showPrinterGone(count > 0 && !remembered.isEmpty() && rememberedIndex < 0 ? remembered : QString());
}

void TRLPrintDialog::showPrinterGone(const QString &queue)
{
    if (queue.isEmpty()) {
        LabelPrinterGone->hide();
        setFixedSize(clientSize);
        return;
    }
    const QString shown = RLMessagesLanguage() == mlPortuguese
                              ? QStringLiteral("A impressora \"%1\" usada da última vez não existe mais; "
                                               "foi escolhida a padrão.")
                              : QStringLiteral("The printer \"%1\" used last time is gone; the default is chosen.");
    LabelPrinterGone->setText(shown.arg(queue));
    // Set here: the captions' fitting at build time sizes an empty label to nothing.
    LabelPrinterGone->setGeometry(8, clientSize.height() - 4, clientSize.width() - 16, 20);
    LabelPrinterGone->show();
    // A line below the buttons, so the designed layout stays as it is.
    setFixedSize(clientSize + QSize(0, 20));
}

void TRLPrintDialog::ComboBoxPrinterNamesChange()
{
    ButtonAdjustPosition->setEnabled(!SelectedQueueName().isEmpty());
}

QString TRLPrintDialog::SelectedQueueName() const
{
    const int index = ComboBoxPrinterNames->currentIndex();
    return index >= 0 ? RLPrinter().PrinterNames(index) : QString();
}

void TRLPrintDialog::ButtonAdjustPositionClick()
{
    const QString queue = SelectedQueueName();
    if (queue.isEmpty() || !RLPrintOffsetStore())
        return;
    TRLPositionDialog dialog(queue, RLPrintParams().TestPage(), this);
    dialog.exec();
}

void TRLPrintDialog::FillFilterList()
{
    const QSignalBlocker quiet(ComboBoxFilters);
    ComboBoxFilters->clear();
    m_filterItems.clear();
    ComboBoxFilters->addItem(RLMessage(rlmDefault));
    m_filterItems.append(nullptr);
    int selectedIndex = 0;
    TRLCustomPrintFilter *chosen = RLPrintParams().Filter();
    for (TRLCustomFilter *filter : ActiveFilters()) {
        auto *printFilter = qobject_cast<TRLCustomPrintFilter *>(filter);
        if (!printFilter || printFilter->GetDisplayName().isEmpty())
            continue;
        if (printFilter == chosen)
            selectedIndex = ComboBoxFilters->count();
        ComboBoxFilters->addItem(printFilter->GetDisplayName());
        m_filterItems.append(printFilter);
    }
    ComboBoxFilters->setCurrentIndex(selectedIndex);
    setFilterListEnabled(ComboBoxFilters->count() > 1);
    ComboBoxFiltersChange();
}

void TRLPrintDialog::setFilterListEnabled(bool enabled)
{
    ComboBoxFilters->setEnabled(enabled);
    QPalette colours = palette();
    if (!enabled) {
        const QColor window = colours.color(QPalette::Window);
        colours.setColor(QPalette::Base, window);
        colours.setColor(QPalette::Button, window);
    }
    RLSetWindowColours(ComboBoxFilters, colours);
}

TRLCustomPrintFilter *TRLPrintDialog::FilterOfItem(int index) const
{
    return index >= 0 && index < m_filterItems.size() ? m_filterItems.at(index).data() : nullptr;
}

void TRLPrintDialog::ComboBoxFiltersChange()
{
    TRLCustomPrintFilter *filter = FilterOfItem(ComboBoxFilters->currentIndex());
    const QStringList options = filter ? filter->GetOptions() : QStringList();
    if (options.isEmpty()) {
        LabelOptions->hide();
        ComboBoxOptions->hide();
        return;
    }
    filter->SetOrientation(RLStoredOrientation(RLPrintParams().Orientation()));
    LabelOptions->setText(filter->GetOptionsLabel() + QLatin1Char(':'));
    fitLabel(LabelOptions);
    ComboBoxOptions->clear();
    ComboBoxOptions->addItems(options);
    ComboBoxOptions->setCurrentIndex(filter->GetSelectedOption());
    LabelOptions->show();
    ComboBoxOptions->show();
}

void TRLPrintDialog::EditFromPageChange()
{
    if (!RadioButtonPagesInterval->isChecked())
        RadioButtonPagesInterval->setChecked(true);
}

void TRLPrintDialog::LoadFromParams()
{
    const TRLPrintParams &params = RLPrintParams();
    const TRLPrintDialogOptions options = params.Options();
    switch (params.PrintRange()) {
    case rprAllPages:
        RadioButtonPagesAll->setChecked(true);
        break;
    case rprSelection:
        RadioButtonPagesSelect->setChecked(true);
        break;
    case rprPageNums:
        RadioButtonPagesInterval->setChecked(true);
        break;
    }
    EditFromPage->setText(numberOrEmpty(params.FromPage()));
    // The report asks for "to the end" with the largest int; the end the user can see is MaxPage.
    EditToPage->setText(numberOrEmpty(std::min(params.ToPage(), params.MaxPage())));
    EditCopies->setText(numberOrEmpty(params.Copies()));
    EditCopies->setEnabled(!(options & rpoDisableCopies));
    CheckBoxPrintToFile->setVisible(options & rpoPrintToFile);
    CheckBoxPrintToFile->setEnabled(!(options & rpoDisablePrintToFile));
    CheckBoxPrintToFile->setChecked(params.PrintToFile());
    CheckBoxPrintInBackground->setEnabled(!(options & rpoDisablePrintInBackground));
    CheckBoxPrintInBackground->setChecked(params.PrintInBackground());
    const bool pageNums = options & rpoPageNums;
    RadioButtonPagesInterval->setEnabled(pageNums);
    EditFromPage->setEnabled(pageNums);
    EditToPage->setEnabled(pageNums);
    RadioButtonPagesSelect->setEnabled(options & rpoSelection);
    setWindowFlag(Qt::WindowContextHelpButtonHint, bool(options & rpoHelp));
}

void TRLPrintDialog::WriteToParams()
{
    TRLPrintParams &params = RLPrintParams();
    if (RadioButtonPagesAll->isChecked())
        params.SetPrintRange(rprAllPages);
    else if (RadioButtonPagesSelect->isChecked())
        params.SetPrintRange(rprSelection);
    else if (RadioButtonPagesInterval->isChecked())
        params.SetPrintRange(rprPageNums);
    switch (params.PrintRange()) {
    case rprAllPages:
        params.SetFromPage(params.MinPage());
        params.SetToPage(params.MaxPage());
        break;
    case rprSelection:
        params.SetFromPage(wholeNumber(EditFromPage->text()));
        params.SetToPage(params.FromPage());
        break;
    case rprPageNums:
        params.SetFromPage(wholeNumber(EditFromPage->text()));
        params.SetToPage(wholeNumber(EditToPage->text()));
        break;
    }
    params.SetCopies(wholeNumber(EditCopies->text()));
    params.SetPrintToFile(CheckBoxPrintToFile->isChecked());
    params.SetPrintInBackground(CheckBoxPrintInBackground->isChecked());
    TRLPrinterWrapper &printer = RLPrinter();
    if (ComboBoxPrinterNames->currentIndex() >= 0) {
        printer.SetPrinterIndex(ComboBoxPrinterNames->currentIndex());
        RLUserChoices::SetLastPrinter(SelectedQueueName());
    }
    TRLCustomPrintFilter *filter = FilterOfItem(ComboBoxFilters->currentIndex());
    params.SetFilter(filter);
    if (filter)
        filter->SetSelectedOption(ComboBoxOptions->currentIndex());
    printer.SetCopies(params.Copies());
}

void TRLPrintDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const QSize outer = frameGeometry().size();
        move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
    }
}
