#pragma once
// The print parameters (one engine-wide record that a report fills before printing and reads
// after the print dialog closes) and the print dialog in which the user picks the printer, a
// print filter, the page range, the copies and whether to print in the background.

#include "report/base/RLTypes.h"
#include "report/output/RLTestPage.h"

#include <QDialog>
#include <QFlags>
#include <QList>
#include "report/output/RLPageRange.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TRLCustomPrintFilter;
class TRLGraphicStorage;

// Where a preview takes its pages from: prepares them when needed (a progress window then opens
// over the given window) and gives none when that failed or was cancelled.
using TRLPreviewSource = std::function<TRLGraphicStorage *(QWidget *progressParent)>;

// Bits 0 to 7 of one byte, in this order.
enum TRLPrintDialogOption {
    rpoPrintToFile = 0x01,
    rpoPageNums = 0x02,
    rpoSelection = 0x04,
    rpoWarning = 0x08,
    rpoHelp = 0x10,
    rpoDisablePrintToFile = 0x20,
    rpoDisableCopies = 0x40,
    rpoDisablePrintInBackground = 0x80,
};
Q_DECLARE_FLAGS(TRLPrintDialogOptions, TRLPrintDialogOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TRLPrintDialogOptions)

enum TRLPrintRange { rprAllPages, rprSelection, rprPageNums };

class TRLPrintParams : public QObject, public TRLPageRangeParams
{
    Q_OBJECT
public:
    explicit TRLPrintParams(QObject *owner = nullptr);
    ~TRLPrintParams() override;

    static constexpr TRLPrintDialogOptions DefaultOptions =
        rpoPrintToFile | rpoPageNums | rpoSelection | rpoWarning | rpoDisablePrintToFile;

    // Back to the whole report: pages 1 to 9999, all pages, no file name, no help topic. The
    // options, copies, filter and the two flags stay.
    void Clear();

    TRLPrintDialogOptions Options() const { return m_options; }
    void SetOptions(TRLPrintDialogOptions options) { m_options = options; }
    TRLPrintRange PrintRange() const { return m_printRange; }
    void SetPrintRange(TRLPrintRange range) { m_printRange = range; }
    int Copies() const { return m_copies; }
    void SetCopies(int copies) { m_copies = copies; }
    bool PrintToFile() const { return m_printToFile; }
    void SetPrintToFile(bool value) { m_printToFile = value; }
    bool PrintInBackground() const { return m_printInBackground; }
    void SetPrintInBackground(bool value) { m_printInBackground = value; }
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString &name) { m_fileName = name; }
    TRLPageOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TRLPageOrientation orientation) { m_orientation = orientation; }
    // None means the default spool filter. Becomes none when the filter is destroyed.
    TRLCustomPrintFilter *Filter() const;
    void SetFilter(TRLCustomPrintFilter *filter);
    int HelpContext() const { return m_helpContext; }
    void SetHelpContext(int value) { m_helpContext = value; }
    // The sheet and boxes of the report being printed, for a position test page.
    const TRLTestPageLayout &TestPage() const { return m_testPage; }
    void SetTestPage(const TRLTestPageLayout &page) { m_testPage = page; }

private:
    TRLPrintDialogOptions m_options = DefaultOptions;
    TRLPrintRange m_printRange = rprAllPages;
    int m_copies = 0;
    bool m_printToFile = false;
    bool m_printInBackground = false;
    QString m_fileName;
    TRLPageOrientation m_orientation = poPortrait;
    QPointer<QObject> m_filter;
    int m_helpContext = 0;
    TRLTestPageLayout m_testPage;
};

// The engine-wide print parameters, created on first use and kept until the program ends.
TRLPrintParams &RLPrintParams();

// A modal dialog for one Execute: the report creates it, runs Execute and releases it.
class TRLPrintDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TRLPrintDialog(QWidget *parent = nullptr);
    ~TRLPrintDialog() override;

    // Fills the lists and the controls from the print parameters and shows the dialog modally.
    // OK writes the choices back into the parameters, the printer and its copy count and gives
    // true; Cancel changes nothing and gives false.
    bool Execute();

    // The steps of Execute, each on its own.
    void FillPrinterList();
    void FillFilterList();
    void LoadFromParams();
    void WriteToParams();

    // The preview button works only with a source of pages.
    void SetPreviewSource(TRLPreviewSource source);

    // Handlers.
    void ComboBoxFiltersChange();
    void EditFromPageChange();
    void ComboBoxPrinterNamesChange();
    // Opens the position adjustment of the selected printer.
    void ButtonAdjustPositionClick();

    // The queue of the selected printer item; empty without a selection.
    QString SelectedQueueName() const;
    // Opens the preview over the dialog; its Imprimir closes both as OK does.
    void ButtonPreviewClick();

    // The filter of a filter list item; none for the default.
    TRLCustomPrintFilter *FilterOfItem(int index) const;

    QGroupBox *GroupBoxPrinter = nullptr;
    QLabel *LabelPrinterName = nullptr;
    QComboBox *ComboBoxPrinterNames = nullptr;
    QLabel *LabelFilterName = nullptr;
    QComboBox *ComboBoxFilters = nullptr;
    QLabel *LabelOptions = nullptr;
    QComboBox *ComboBoxOptions = nullptr;
    QCheckBox *CheckBoxPrintToFile = nullptr;
    QCheckBox *CheckBoxPrintInBackground = nullptr;
    // Shown only when the program keeps position adjustments.
    QPushButton *ButtonAdjustPosition = nullptr;
    QGroupBox *GroupBoxPages = nullptr;
    QRadioButton *RadioButtonPagesAll = nullptr;
    QRadioButton *RadioButtonPagesInterval = nullptr;
    QRadioButton *RadioButtonPagesSelect = nullptr;
    QLabel *LabelFromPage = nullptr;
    QLineEdit *EditFromPage = nullptr;
    QLabel *LabelToPage = nullptr;
    QLineEdit *EditToPage = nullptr;
    QGroupBox *GroupBoxCopies = nullptr;
    QLabel *LabelCopies = nullptr;
    QLineEdit *EditCopies = nullptr;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;
    QPushButton *ButtonPreview = nullptr;
    // Says that the printer chosen in an earlier run is gone; hidden otherwise.
    QLabel *LabelPrinterGone = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void localize();
    void connectHandlers();
    void setFilterListEnabled(bool enabled);
    // Shows which remembered printer is gone; an empty queue hides the note.
    void showPrinterGone(const QString &queue);

    QList<QPointer<TRLCustomPrintFilter>> m_filterItems;
    TRLPreviewSource m_previewSource;
};
