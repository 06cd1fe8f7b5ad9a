// The print dialog and the print parameters: the printer and filter lists, loading the controls
// from the parameters and writing the user's choices back, OK and Cancel.

#include "report/base/RLConsts.h"
// RLFilters.h reads its store through an inline QPointer: the type must be complete.
#include "report/page/RLMetaFile.h"
#include "report/output/RLFilters.h"
#include "report/output/RLPrintDialog.h"
#include "report/output/RLPrintOffsets.h"
#include "report/output/RLUserChoices.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLSaveDialog.h"
#include "report/output/RLWindowColours.h"
#include "support/FakePrinterService.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

namespace {

// A print filter that offers paper trays.
class TrayFilter : public TRLCustomPrintFilter
{
public:
    explicit TrayFilter(const QString &name, QStringList trays = {}) : m_trays(std::move(trays))
    {
        SetDisplayName(name);
    }
    void BeginDoc() override {}
    void EndDoc() override {}
    void NewPage() override {}
    void DrawPage(TRLGraphicSurface *) override {}
    QString GetOptionsLabel() const override { return QStringLiteral("Bandeja"); }
    QStringList GetOptions() const override { return m_trays; }
    int GetSelectedOption() const override { return m_selected; }
    void SetSelectedOption(int index) override { m_selected = index; }
    void SetOrientation(int orientation) override { m_orientation = orientation; }

    int m_selected = 1;
    int m_orientation = 0;

private:
    QStringList m_trays;
};

class NamedSaveFilter : public TRLCustomSaveFilter
{
public:
    NamedSaveFilter() { SetDisplayName(QStringLiteral("Documento PDF")); }
    void BeginDoc() override {}
    void EndDoc() override {}
    void NewPage() override {}
    void DrawPage(TRLGraphicSurface *) override {}
};

using Queues = QList<TRLPrinterQueue>;

TRLPrinterQueue networkQueue(const QString &name, const QString &server, const QString &share)
{
    TRLPrinterQueue q;
    q.Name = name;
    q.Server = server;
    q.Share = share;
    return q;
}

TRLPrinterQueue unreadableQueue(const QString &name)
{
    TRLPrinterQueue q;
    q.Name = name;
    q.Readable = false;
    return q;
}

QStringList items(const QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// Answers the next modal dialog with one of its buttons, after an optional change.
void answerDialog(bool ok, std::function<void(TRLPrintDialog *)> change = {})
{
    QTimer::singleShot(0, [ok, change] {
        auto *dialog = qobject_cast<TRLPrintDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        if (change)
            change(dialog);
        QTest::mouseClick(ok ? dialog->ButtonOk : dialog->ButtonCancel, Qt::LeftButton);
    });
}

} // namespace

Q_DECLARE_METATYPE(Queues)

class TestRLPrintDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase() { ReleaseRLPrinter(); }
    void printerItems_data();
    void printerItems();
    void defaultFilterAlone();
    void filterWithOptions();
    void coloursOfTheirOwnOnlyWhenTheyDiffer_data();
    void coloursOfTheirOwnOnlyWhenTheyDiffer();
    void typingPagesChoosesInterval_data();
    void typingPagesChoosesInterval();
    void loadFromParams_data();
    void loadFromParams();
    void writeBack_data();
    void writeBack();
    void executeOk();
    void cancelLeavesEverything();
    void tabOrder();
    void windowAndTexts();
    void paramsMaxPageAndClear_data();
    void paramsMaxPageAndClear();
    void paramsForgetDestroyedFilter();
    void rememberedPrinter_data();
    void rememberedPrinter();
    void screenshot();

private:
    void usePrinters(const Queues &queues);
    std::shared_ptr<FakePrinterState> m_printers;
};

void TestRLPrintDialog::init()
{
    usePrinters({LocalQueue(QStringLiteral("GuiaPDF"), QStringLiteral("cups-pdf:/X"), true),
                 LocalQueue(QStringLiteral("Sala2"), QStringLiteral("ipp://10.0.0.2/ipp"))});
    TRLPrintParams &params = RLPrintParams();
    params.Clear();
    params.SetOptions(TRLPrintParams::DefaultOptions);
    params.SetCopies(0);
    params.SetFilter(nullptr);
    params.SetPrintToFile(false);
    params.SetPrintInBackground(false);
    params.SetOrientation(poPortrait);
}

void TestRLPrintDialog::usePrinters(const Queues &queues)
{
    m_printers = std::make_shared<FakePrinterState>();
    m_printers->queues = queues;
    SetRLPrinterService(std::make_unique<FakePrinterService>(m_printers));
}

void TestRLPrintDialog::printerItems_data()
{
    QTest::addColumn<Queues>("queues");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("selected");
    const QString driverError = QStringLiteral(" (") + RLMessage(rlmPrinterDriverError) + QLatin1Char(')');
    QTest::newRow("name em port, default second")
        << Queues{LocalQueue(QStringLiteral("Sala1"), QStringLiteral("usb://HP/1")),
                  LocalQueue(QStringLiteral("GuiaPDF"), QStringLiteral("cups-pdf:/X"), true)}
        << QStringList{QStringLiteral("Sala1 em usb://HP/1"), QStringLiteral("GuiaPDF em cups-pdf:/X")} << 1;
    QTest::newRow("port equal to name")
        << Queues{LocalQueue(QStringLiteral("LPT1"), QStringLiteral("LPT1"), true)} << QStringList{QStringLiteral("LPT1")} << 0;
    QTest::newRow("no port, no default")
        << Queues{LocalQueue(QStringLiteral("Sala1"), QString()), LocalQueue(QStringLiteral("Sala2"), QString())}
        << QStringList{QStringLiteral("Sala1"), QStringLiteral("Sala2")} << 0;
    QTest::newRow("network and unreadable")
        << Queues{networkQueue(QStringLiteral("Fiscal"), QStringLiteral("srv"), QStringLiteral("fis")),
                  unreadableQueue(QStringLiteral("Quebrada"))}
        << QStringList{QStringLiteral("Fiscal em srv\\fis"), QStringLiteral("Quebrada") + driverError} << 0;
    QTest::newRow("no printer") << Queues{} << QStringList{} << -1;
}

void TestRLPrintDialog::rememberedPrinter_data()
{
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("gone");
    QTest::newRow("none") << QString() << QStringLiteral("GuiaPDF") << false;
    QTest::newRow("still there") << QStringLiteral("Sala2") << QStringLiteral("Sala2") << false;
    QTest::newRow("gone") << QStringLiteral("Sumiu") << QStringLiteral("GuiaPDF") << true;
}

// A new run's first dialog starts at the last run's printer, or says that it is gone; the
// printer chosen is what the next run starts at.
void TestRLPrintDialog::rememberedPrinter()
{
    QFETCH(QString, remembered);
    QFETCH(QString, selected);
    QFETCH(bool, gone);
    SetRLPrintOffsetStore(std::make_unique<TRLPrintOffsetStore>(QStringLiteral("Morvath"), QStringLiteral("Zavenor")));
    RLUserChoices::SetRemembered(true);
    RLUserChoices::SetLastPrinter(remembered);
    RLUserChoices::SetRemembered(true); // a new run
    {
        TRLPrintDialog dialog;
        dialog.FillPrinterList();
        QCOMPARE(dialog.SelectedQueueName(), selected);
        QCOMPARE(dialog.LabelPrinterGone->isVisibleTo(&dialog), gone);
        if (gone) {
            QVERIFY(dialog.LabelPrinterGone->text().contains(QStringLiteral("\"Sumiu\"")));
            QVERIFY(dialog.LabelPrinterGone->width() >= dialog.LabelPrinterGone->sizeHint().width());
            QVERIFY(dialog.rect().contains(dialog.LabelPrinterGone->geometry()));
        }
        dialog.ComboBoxPrinterNames->setCurrentIndex(1);
        dialog.WriteToParams();
        // Later dialogs of the same run start at the printer chosen in it.
        TRLPrintDialog later;
        later.FillPrinterList();
        QVERIFY(!later.LabelPrinterGone->isVisibleTo(&later));
    }
    RLUserChoices::SetRemembered(true);
    QCOMPARE(RLUserChoices::TakeRunStartPrinter(), QStringLiteral("Sala2"));
    RLUserChoices::SetRemembered(false);
    SetRLPrintOffsetStore(nullptr);
}

void TestRLPrintDialog::printerItems()
{
    QFETCH(Queues, queues);
    QFETCH(QStringList, expected);
    QFETCH(int, selected);
    usePrinters(queues);
    TRLPrintDialog dialog;
    dialog.FillPrinterList();
    QCOMPARE(items(dialog.ComboBoxPrinterNames), expected);
    QCOMPARE(dialog.ComboBoxPrinterNames->currentIndex(), selected);
    // Filling again (a second Execute) lists each printer once.
    dialog.FillPrinterList();
    QCOMPARE(dialog.ComboBoxPrinterNames->count(), expected.size());
}

void TestRLPrintDialog::defaultFilterAlone()
{
    // A print filter without a name and a save filter are not offered.
    TrayFilter unnamed(QString(), {QStringLiteral("A")});
    NamedSaveFilter saver;
    TRLPrintDialog dialog;
    dialog.FillFilterList();
    QCOMPARE(items(dialog.ComboBoxFilters), QStringList{QStringLiteral("Padrão")});
    QVERIFY(!dialog.ComboBoxFilters->isEnabled());
    QCOMPARE(dialog.ComboBoxFilters->palette().color(QPalette::Base), dialog.palette().color(QPalette::Window));
    QVERIFY(dialog.LabelOptions->isHidden());
    QVERIFY(dialog.ComboBoxOptions->isHidden());
    QCOMPARE(dialog.FilterOfItem(0), nullptr);
}

void TestRLPrintDialog::filterWithOptions()
{
    TrayFilter plain(QStringLiteral("Simples"));
    TrayFilter trays(QStringLiteral("Bandejas"), {QStringLiteral("Superior"), QStringLiteral("Inferior")});
    RLPrintParams().SetFilter(&trays);
    RLPrintParams().SetOrientation(poLandscape);
    TRLPrintDialog dialog;
    dialog.FillFilterList();
    QCOMPARE(items(dialog.ComboBoxFilters), (QStringList{QStringLiteral("Padrão"), QStringLiteral("Simples"), QStringLiteral("Bandejas")}));
    QVERIFY(dialog.ComboBoxFilters->isEnabled());
    QCOMPARE(dialog.ComboBoxFilters->currentIndex(), 2);
    QVERIFY(!dialog.LabelOptions->isHidden());
    QCOMPARE(dialog.LabelOptions->text(), QStringLiteral("Bandeja:"));
    // The label grows leftwards: its right edge stays by the list.
    QCOMPARE(dialog.LabelOptions->geometry().right(), 303);
    QCOMPARE(items(dialog.ComboBoxOptions), (QStringList{QStringLiteral("Superior"), QStringLiteral("Inferior")}));
    QCOMPARE(dialog.ComboBoxOptions->currentIndex(), 1);
    QCOMPARE(trays.m_orientation, 2);
    // A filter without options hides them again.
    dialog.ComboBoxFilters->setCurrentIndex(1);
    QVERIFY(dialog.LabelOptions->isHidden());
    QVERIFY(dialog.ComboBoxOptions->isHidden());
}

void TestRLPrintDialog::coloursOfTheirOwnOnlyWhenTheyDiffer_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");
    QTest::addColumn<QColor>("colour"); // invalid: the colour the widget has already
    QTest::addColumn<bool>("own");
    QTest::newRow("the window colour it has") << int(QPalette::Active) << int(QPalette::Window) << QColor() << false;
    QTest::newRow("a disabled field's colour it has") << int(QPalette::Disabled) << int(QPalette::Base) << QColor() << false;
    QTest::newRow("another window colour") << int(QPalette::Active) << int(QPalette::Window) << QColor(Qt::yellow) << true;
    QTest::newRow("another disabled field colour") << int(QPalette::Disabled) << int(QPalette::Base) << QColor(Qt::cyan) << true;
}

// The style caches drawings of widgets by their palette's key, and a palette of a widget's own
// has a new key: a dialog made for every print would add drawings nothing asks for again.
void TestRLPrintDialog::coloursOfTheirOwnOnlyWhenTheyDiffer()
{
    QFETCH(int, group);
    QFETCH(int, role);
    QFETCH(QColor, colour);
    QFETCH(bool, own);
    QWidget window;
    const qint64 key = window.palette().cacheKey();
    const auto g = QPalette::ColorGroup(group);
    const auto r = QPalette::ColorRole(role);
    QPalette palette = window.palette();
    palette.setColor(g, r, colour.isValid() ? colour : palette.color(g, r));
    RLSetWindowColours(&window, palette);
    QCOMPARE(window.testAttribute(Qt::WA_SetPalette), own);
    QCOMPARE(window.palette().cacheKey() == key, !own);
    QCOMPARE(window.palette().color(g, r), palette.color(g, r));
}

void TestRLPrintDialog::typingPagesChoosesInterval_data()
{
    QTest::addColumn<bool>("toPage");
    QTest::addColumn<int>("range");
    QTest::newRow("to page while all") << true << int(rprAllPages);
    QTest::newRow("from page while selection") << false << int(rprSelection);
}

void TestRLPrintDialog::typingPagesChoosesInterval()
{
    QFETCH(bool, toPage);
    QFETCH(int, range);
    RLPrintParams().SetPrintRange(TRLPrintRange(range));
    TRLPrintDialog dialog;
    dialog.LoadFromParams();
    // Loading the page numbers is no change of the user's.
    QVERIFY(!dialog.RadioButtonPagesInterval->isChecked());
    dialog.show();
    QLineEdit *edit = toPage ? dialog.EditToPage : dialog.EditFromPage;
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_2);
    QVERIFY(dialog.RadioButtonPagesInterval->isChecked());
    QVERIFY(!dialog.RadioButtonPagesAll->isChecked());
    QVERIFY(!dialog.RadioButtonPagesSelect->isChecked());
}

void TestRLPrintDialog::loadFromParams_data()
{
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("range");
    QTest::addColumn<int>("fromPage");
    QTest::addColumn<int>("toPage");
    QTest::addColumn<int>("copies");
    QTest::addColumn<QString>("expected"); // checked radio, page texts, copies, states
    const int defaults = int(TRLPrintParams::DefaultOptions);
    QTest::newRow("defaults") << defaults << int(rprAllPages) << 1 << 9999 << 0
                              << "all|1|9999||file visible disabled|copies on|pages on|selection on|background on|no help";
    QTest::newRow("zero pages, copies") << defaults << int(rprPageNums) << 0 << 0 << 2
                                        << "interval|||2|file visible disabled|copies on|pages on|selection on|background on|no help";
    QTest::newRow("everything disabled") << int(rpoWarning | rpoDisableCopies | rpoDisablePrintInBackground | rpoHelp)
                                         << int(rprSelection) << 3 << 3 << 1
                                         << "selection|3|3|1|file hidden enabled|copies off|pages off|selection off|background off|help";
    QTest::newRow("print to file offered") << int(rpoPrintToFile | rpoPageNums) << int(rprAllPages) << 1 << 2147483647 << 0
                                           << "all|1|9999||file visible enabled|copies on|pages on|selection off|background on|no help";
}

void TestRLPrintDialog::loadFromParams()
{
    QFETCH(int, options);
    QFETCH(int, range);
    QFETCH(int, fromPage);
    QFETCH(int, toPage);
    QFETCH(int, copies);
    QFETCH(QString, expected);
    TRLPrintParams &params = RLPrintParams();
    params.SetOptions(TRLPrintDialogOptions(options));
    params.SetPrintRange(TRLPrintRange(range));
    params.SetFromPage(fromPage);
    params.SetToPage(toPage);
    params.SetCopies(copies);
    params.SetPrintToFile(true);
    params.SetPrintInBackground(true);
    TRLPrintDialog dialog;
    dialog.LoadFromParams();
    const QString checked = dialog.RadioButtonPagesAll->isChecked() ? "all"
        : dialog.RadioButtonPagesSelect->isChecked()                 ? "selection"
        : dialog.RadioButtonPagesInterval->isChecked()               ? "interval"
                                                                     : "none";
    const auto onOff = [](bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); };
    QVERIFY(dialog.RadioButtonPagesInterval->isEnabled() == dialog.EditFromPage->isEnabled());
    QVERIFY(dialog.EditToPage->isEnabled() == dialog.EditFromPage->isEnabled());
    const QStringList seen{
        checked, dialog.EditFromPage->text(), dialog.EditToPage->text(), dialog.EditCopies->text(),
        QStringLiteral("file %1 %2").arg(dialog.CheckBoxPrintToFile->isHidden() ? "hidden" : "visible",
                                         dialog.CheckBoxPrintToFile->isEnabled() ? "enabled" : "disabled"),
        QStringLiteral("copies ") + onOff(dialog.EditCopies->isEnabled()),
        QStringLiteral("pages ") + onOff(dialog.EditFromPage->isEnabled()),
        QStringLiteral("selection ") + onOff(dialog.RadioButtonPagesSelect->isEnabled()),
        QStringLiteral("background ") + onOff(dialog.CheckBoxPrintInBackground->isEnabled()),
        (dialog.windowFlags() & Qt::WindowContextHelpButtonHint) ? QStringLiteral("help") : QStringLiteral("no help")};
    QCOMPARE(seen.join(QLatin1Char('|')), expected);
    QVERIFY(dialog.CheckBoxPrintToFile->isChecked());
    QVERIFY(dialog.CheckBoxPrintInBackground->isChecked());
    // A disabled entry field shows the button colour, an enabled one the field colour.
    QCOMPARE(dialog.EditCopies->palette().color(dialog.EditCopies->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base),
             dialog.EditCopies->isEnabled() ? QApplication::palette().color(QPalette::Active, QPalette::Base)
                                            : QApplication::palette().color(QPalette::Active, QPalette::Button));
}

void TestRLPrintDialog::writeBack_data()
{
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("fromText");
    QTest::addColumn<QString>("toText");
    QTest::addColumn<QString>("copiesText");
    QTest::addColumn<int>("range");
    QTest::addColumn<int>("fromPage");
    QTest::addColumn<int>("toPage");
    QTest::addColumn<int>("copies");
    QTest::newRow("all pages ignore the edits") << "all" << "4" << "6" << "2" << int(rprAllPages) << 1 << 7 << 2;
    QTest::newRow("selection prints one page") << "selection" << "3" << "9" << "1" << int(rprSelection) << 3 << 3 << 1;
    QTest::newRow("interval") << "interval" << "2" << "5" << " 3 " << int(rprPageNums) << 2 << 5 << 3;
    QTest::newRow("empty copies") << "interval" << "2" << "" << "" << int(rprPageNums) << 2 << 0 << 0;
    QTest::newRow("not numbers") << "interval" << "dois" << "5,0" << "1x" << int(rprPageNums) << 0 << 0 << 0;
    QTest::newRow("too large") << "interval" << "99999999999" << "2147483647" << "-1" << int(rprPageNums) << 0 << 2147483647 << -1;
}

void TestRLPrintDialog::writeBack()
{
    QFETCH(QString, radio);
    QFETCH(QString, fromText);
    QFETCH(QString, toText);
    QFETCH(QString, copiesText);
    QFETCH(int, range);
    QFETCH(int, fromPage);
    QFETCH(int, toPage);
    QFETCH(int, copies);
    RLPrintParams().SetMaxPage(7);
    TRLPrintDialog dialog;
    dialog.FillPrinterList();
    dialog.FillFilterList();
    dialog.LoadFromParams();
    (radio == "all" ? dialog.RadioButtonPagesAll
     : radio == "selection" ? dialog.RadioButtonPagesSelect
                            : dialog.RadioButtonPagesInterval)->setChecked(true);
    dialog.EditFromPage->setText(fromText);
    dialog.EditToPage->setText(toText);
    dialog.EditCopies->setText(copiesText);
    dialog.WriteToParams();
    const TRLPrintParams &params = RLPrintParams();
    QCOMPARE(int(params.PrintRange()), range);
    QCOMPARE(params.FromPage(), fromPage);
    QCOMPARE(params.ToPage(), toPage);
    QCOMPARE(params.Copies(), copies);
    // The printer's copy count is what the field said, 0 included.
    QCOMPARE(RLPrinter().Copies(), copies);
}

void TestRLPrintDialog::executeOk()
{
    TrayFilter trays(QStringLiteral("Bandejas"), {QStringLiteral("Superior"), QStringLiteral("Inferior")});
    TRLPrintDialog dialog;
    answerDialog(true, [&](TRLPrintDialog *d) {
        QCOMPARE(d->focusWidget(), d->ComboBoxPrinterNames);
        d->ComboBoxPrinterNames->setCurrentIndex(1);
        d->ComboBoxFilters->setCurrentIndex(1);
        d->ComboBoxOptions->setCurrentIndex(0);
        d->CheckBoxPrintInBackground->setChecked(true);
        d->EditCopies->setText(QStringLiteral("2"));
    });
    QVERIFY(dialog.Execute());
    const TRLPrintParams &params = RLPrintParams();
    QCOMPARE(params.Filter(), &trays);
    QCOMPARE(trays.m_selected, 0);
    QVERIFY(params.PrintInBackground());
    QCOMPARE(params.Copies(), 2);
    QCOMPARE(RLPrinter().PrinterIndex(), 1);
    QCOMPARE(RLPrinter().PrinterName(), QStringLiteral("Sala2"));
    QCOMPARE(RLPrinter().Copies(), 2);
}

void TestRLPrintDialog::cancelLeavesEverything()
{
    TrayFilter trays(QStringLiteral("Bandejas"), {QStringLiteral("Superior")});
    TRLPrintParams &params = RLPrintParams();
    params.SetFromPage(1);
    params.SetToPage(2147483647);
    params.SetCopies(0);
    RLPrinter().SetCopies(1);
    const int printerBefore = RLPrinter().PrinterIndex();
    TRLPrintDialog dialog;
    answerDialog(false, [](TRLPrintDialog *d) {
        d->ComboBoxPrinterNames->setCurrentIndex(1);
        d->ComboBoxFilters->setCurrentIndex(1);
        d->RadioButtonPagesSelect->setChecked(true);
        d->EditFromPage->setText(QStringLiteral("3"));
        d->EditCopies->setText(QStringLiteral("5"));
        d->CheckBoxPrintInBackground->setChecked(true);
    });
    QVERIFY(!dialog.Execute());
    QCOMPARE(params.PrintRange(), rprAllPages);
    QCOMPARE(params.FromPage(), 1);
    QCOMPARE(params.ToPage(), 2147483647);
    QCOMPARE(params.Copies(), 0);
    QCOMPARE(params.Filter(), nullptr);
    QVERIFY(!params.PrintInBackground());
    QCOMPARE(RLPrinter().PrinterIndex(), printerBefore);
    QCOMPARE(RLPrinter().Copies(), 1);
}

void TestRLPrintDialog::tabOrder()
{
    TrayFilter trays(QStringLiteral("Bandejas"), {QStringLiteral("Superior")});
    RLPrintParams().SetFilter(&trays);
    TRLPrintDialog dialog;
    dialog.SetPreviewSource([](QWidget *) { return nullptr; });
    dialog.FillPrinterList();
    dialog.FillFilterList();
    dialog.LoadFromParams();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.ComboBoxPrinterNames->setFocus();
    QStringList order;
    for (int i = 0; i < 11; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // The print-to-file box is disabled and the page edits are no tab stops.
    QCOMPARE(order, (QStringList{"ComboBoxPrinterNames", "ComboBoxFilters", "ComboBoxOptions", "CheckBoxPrintInBackground",
                                 "RadioButtonPagesAll", "EditCopies", "ButtonOk", "ButtonCancel", "ButtonPreview",
                                 "ComboBoxPrinterNames", "ComboBoxFilters"}));
}

void TestRLPrintDialog::windowAndTexts()
{
    TRLPrintDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.size(), QSize(430, 267));
    // The engine's texts replace the designed ones, accelerators and all.
    QCOMPARE(dialog.LabelFilterName->text(), QStringLiteral("Usar Filtro:"));
    // Every caption fits its label.
    for (QLabel *label : dialog.findChildren<QLabel *>())
        QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()), qPrintable(label->objectName()));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(qAbs(dialog.frameGeometry().center().x() - screen.center().x()) <= 1);
    // Escape closes like Cancel.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestRLPrintDialog::paramsMaxPageAndClear_data()
{
    QTest::addColumn<int>("toPage");
    QTest::addColumn<int>("newMax");
    QTest::addColumn<int>("expectedTo");
    QTest::newRow("to page at the old maximum follows") << 9999 << 3 << 3;
    QTest::newRow("a chosen to page stays") << 5 << 3 << 5;
    QTest::newRow("the print command's open end stays") << 2147483647 << 1 << 2147483647;
}

void TestRLPrintDialog::paramsMaxPageAndClear()
{
    QFETCH(int, toPage);
    QFETCH(int, newMax);
    QFETCH(int, expectedTo);
    TRLPrintParams params;
    QCOMPARE(int(params.Options()), 47);
    QCOMPARE(params.Copies(), 0);
    params.SetToPage(toPage);
    params.SetMaxPage(newMax);
    QCOMPARE(params.ToPage(), expectedTo);
    QCOMPARE(params.MaxPage(), newMax);
    params.SetCopies(3);
    params.SetPrintInBackground(true);
    params.SetPrintRange(rprSelection);
    params.SetFileName(QStringLiteral("x.pdf"));
    params.Clear();
    QCOMPARE(params.MinPage(), 1);
    QCOMPARE(params.MaxPage(), 9999);
    QCOMPARE(params.FromPage(), 1);
    QCOMPARE(params.ToPage(), 9999);
    QCOMPARE(params.PrintRange(), rprAllPages);
    QVERIFY(params.FileName().isEmpty());
    QCOMPARE(params.Copies(), 3);
    QVERIFY(params.PrintInBackground());

    TRLSaveParams save;
    save.SetToPage(toPage);
    save.SetMaxPage(toPage);
    save.SetMaxPage(newMax);
    QCOMPARE(save.ToPage(), newMax);
}

void TestRLPrintDialog::paramsForgetDestroyedFilter()
{
    auto *filter = new TrayFilter(QStringLiteral("Bandejas"));
    auto *saver = new NamedSaveFilter;
    RLPrintParams().SetFilter(filter);
    RLSaveParams().SetFilter(saver);
    QCOMPARE(RLPrintParams().Filter(), filter);
    delete filter;
    delete saver;
    QCOMPARE(RLPrintParams().Filter(), nullptr);
    QCOMPARE(RLSaveParams().Filter(), nullptr);
    // A dialog opened afterwards offers the default again.
    TRLPrintDialog dialog;
    dialog.FillFilterList();
    QCOMPARE(dialog.ComboBoxFilters->currentIndex(), 0);
    QCOMPARE(dialog.ComboBoxFilters->count(), 1);
}

// Not a check: with ZAVENOR_SHOTS_DIR set (under Xvfb), a picture of the dialog for the docs.
void TestRLPrintDialog::screenshot()
{
    const QString folder = qEnvironmentVariable("ZAVENOR_SHOTS_DIR");
    if (folder.isEmpty())
        QSKIP("pictures only on request");
    RLPrintParams().SetFromPage(1);
    RLPrintParams().SetToPage(1);
    RLPrintParams().SetMaxPage(1);
    TRLPrintDialog dialog;
    const QString file = folder + QStringLiteral("/dialogo-impressao.png");
    int status = -1;
    QTimer::singleShot(300, [&] {
        status = QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QString::number(dialog.winId()), file});
        dialog.reject();
    });
    dialog.Execute();
    QCOMPARE(status, 0);
}

QTEST_MAIN(TestRLPrintDialog)
#include "tst_rlprintdialog.moc"
