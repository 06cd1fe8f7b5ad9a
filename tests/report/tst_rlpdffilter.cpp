// The PDF filter: pages at their exact paper size with real text, the document's information and
// archive identification, embedded fonts, the file replaced only when whole (read-only folder,
// full disk, cancel), a background run that returns once the file is there, the file dialog, and
// the print dialog offering it. Needs root for the small file systems (tmpfs).
#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/RLReport.h"
#include "report/output/RLFilters.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPdfFileDialog.h"
#include "report/output/RLPdfFilter.h"
#include "report/output/RLPrintDialog.h"
#include "support/PdfInspect.h"
#include "support/SmallDisk.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include "support/TestPages.h"

#include <QtTest>

#include <unistd.h>

namespace {

using Paper = TestPaper;
constexpr Paper a4{1, 210, 297};
constexpr Paper slip{1, 211, 102};
constexpr Paper a4Landscape{2, 210, 297};

TRLGraphicSurface *newPage(const Paper &paper, const QString &text)
{
    TRLGraphicSurface *page = NewTestPage(paper, text);
    page->Rectangle(48, 48, 60, 60);
    return page;
}


QString errorOfRun(TRLCustomFilter &filter, TRLGraphicStorage *store, int from, int to, bool background = false)
{
    try {
        filter.Run(store, from, to, background);
    } catch (const TRLException &e) {
        return e.Message();
    }
    return QString();
}

QByteArray contents(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// Answers the modal windows that open, one step at a time.
class ModalScript : public QObject
{
public:
    using Step = std::function<bool(QWidget *modal)>; // true when the step is done
    QList<Step> steps;

    ModalScript()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal && modal->isVisible() && !steps.isEmpty() && steps.first()(modal))
                steps.removeFirst();
        });
        m_timer.start(20);
    }

private:
    QTimer m_timer;
};

ModalScript::Step typeInFileDialog(const QString &path, QStringList *seen = nullptr)
{
    return [path, seen](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog)
            return false;
        if (seen) {
            *seen << dialog->nameFilters().join(';') << dialog->selectedFiles().value(0)
                  << (dialog->testOption(QFileDialog::DontUseNativeDialog) ? "widgets" : "native");
        }
        if (path.isEmpty()) {
            dialog->reject();
            return true;
        }
        // A whole path typed into the name field and Enter, as a user may do.
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!name)
            return false;
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
        return true;
    };
}

ModalScript::Step answerReplace(bool yes, QStringList *seen)
{
    return [yes, seen](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return false;
        *seen << box->text();
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        return true;
    };
}

// A report that stands in for the print dialog: it picks the PDF filter and OKs.
class PdfReport : public TRLReport
{
public:
    using TRLReport::TRLReport;
    int dialogs = 0;

protected:
    bool ExecutePrintDialog() override
    {
        ++dialogs;
        RLPrintParams().SetFilter(PdfFilter());
        return true;
    }
};

} // namespace

Q_DECLARE_METATYPE(Paper)

class TestRLPdfFilter : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        RLLoadMessages(mlPortuguese);
        SetRLProgressFactory(nullptr);
    }

    void cleanup() { PdfFilter()->SetShowProgress(false); }

    void pagesAtTheirPaper_data()
    {
        QTest::addColumn<QList<Paper>>("papers");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<QSizeF>>("sizesPt");
        const QSizeF a4Pt(595.28, 841.89), slipPt(598.11, 289.13);
        QTest::newRow("A4") << QList<Paper>{a4} << 1 << -1 << QStringList{"P1"} << QList<QSizeF>{a4Pt};
        // Stored as it lies: no rotation for a viewer to undo.
        QTest::newRow("211 x 102 slip") << QList<Paper>{slip} << 1 << -1 << QStringList{"P1"} << QList<QSizeF>{slipPt};
        QTest::newRow("A4 landscape") << QList<Paper>{a4Landscape} << 1 << -1 << QStringList{"P1"}
                                      << QList<QSizeF>{a4Pt.transposed()};
        QTest::newRow("pages 2 and 3 of mixed papers") << QList<Paper>{a4, slip, a4} << 2 << 3 << QStringList{"P2", "P3"}
                                                       << QList<QSizeF>{slipPt, a4Pt};
    }

    void pagesAtTheirPaper()
    {
        QFETCH(QList<Paper>, papers);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QStringList, texts);
        QFETCH(QList<QSizeF>, sizesPt);
        QObject owner;
        TRLGraphicStorage *store = NewTestStore(&owner, papers, QString(), QStringLiteral("P"), newPage);
        TRLPdfFilter filter;
        filter.SetShowProgress(false);
        filter.SetFileName(m_dir.filePath(QStringLiteral("pages.pdf")));
        QCOMPARE(errorOfRun(filter, store, from, to), QString());
        const QList<PdfPage> pages = PdfInspect::pages(filter.FileName());
        QCOMPARE(pages.size(), sizesPt.size());
        for (int i = 0; i < pages.size(); ++i) {
            QCOMPARE(pages[i].rotation, 0);
            // The page box is stored in whole points: within half a point (0.18 mm) of the paper.
            QVERIFY2(qAbs(pages[i].sizePt.width() - sizesPt[i].width()) <= 0.5
                         && qAbs(pages[i].sizePt.height() - sizesPt[i].height()) <= 0.5,
                     qPrintable(QStringLiteral("page %1: %2 x %3").arg(i + 1).arg(pages[i].sizePt.width()).arg(pages[i].sizePt.height())));
        }
        const QList<PdfWord> words = PdfInspect::words(filter.FileName());
        QStringList found;
        for (const PdfWord &w : words) {
            found << w.text;
            // Half a blank right of one inch, its top at one inch: the recorded place, unscaled.
            QVERIFY2(w.boxPt.left() > 72 && w.boxPt.left() < 72 + 4, qPrintable(QString::number(w.boxPt.left())));
            QVERIFY2(qAbs(w.boxPt.top() - 72) < 2, qPrintable(QString::number(w.boxPt.top())));
        }
        QCOMPARE(found, texts);
    }

    void documentInformationAndFonts()
    {
        QObject owner;
        TRLGraphicStorage *store = NewTestStore(&owner, {a4}, QStringLiteral("Zavenor - DARF"), QStringLiteral("P"), newPage);
        TRLPdfFilter filter;
        filter.SetShowProgress(false);
        filter.SetFileName(m_dir.filePath(QStringLiteral("info.pdf")));
        QCOMPARE(errorOfRun(filter, store, 1, -1), QString());
        const QString info = PdfInspect::run(QStringLiteral("pdfinfo"), {filter.FileName()});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Title:\\s+Zavenor - DARF$"), QRegularExpression::MultilineOption)), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Creator:\\s+Zavenor$"), QRegularExpression::MultilineOption)), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^PDF version:\\s+1\\.4$"), QRegularExpression::MultilineOption)), qPrintable(info));
        // PDF/A-1b identifies itself in the document's XMP metadata.
        const QString meta = PdfInspect::run(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), filter.FileName()});
        QVERIFY2(meta.contains(QRegularExpression(QStringLiteral("pdfaid:part(>|=\")1"))), qPrintable(meta));
        QVERIFY2(meta.contains(QRegularExpression(QStringLiteral("pdfaid:conformance(>|=\")B"))), qPrintable(meta));
        // Every font embedded: the columns after the encoding are "emb sub uni".
        const QStringList fonts = PdfInspect::run(QStringLiteral("pdffonts"), {filter.FileName()}).split('\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString &row : fonts)
            QVERIFY2(row.contains(QRegularExpression(QStringLiteral("\\s+yes\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$"))), qPrintable(row));
    }

    void failureKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("background");
        QTest::newRow("read-only folder") << "read-only" << "Não foi possível gravar" << false;
        QTest::newRow("full disk") << "full" << "Sem espaço na pasta" << false;
        QTest::newRow("full disk, background") << "full" << "Sem espaço na pasta" << true;
        QTest::newRow("cancelled after page 2") << "cancel" << "cancelada" << false;
        QTest::newRow("no page in the range") << "empty" << "Nenhuma página" << false;
    }

    void failureKeepsTheOldFile()
    {
        QFETCH(QString, failure);
        QFETCH(QString, reason);
        QFETCH(bool, background);
        const QString folder = m_dir.filePath(QStringLiteral("disk"));
        SmallDisk disk(folder, "128k");
        if ((failure == "full" || failure == "read-only") && !disk.Mounted())
            QSKIP("a small file system needs root");
        const QString target = folder + QStringLiteral("/guia.pdf");
        {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old slip");
        }
        if (failure == "read-only")
            QVERIFY(disk.MakeReadOnly());
        if (failure == "full")
            QVERIFY(disk.FillLeaving(6 * 1024));
        const QStringList before = QDir(folder).entryList(QDir::Files);

        QObject owner;
        TRLGraphicStorage *store = NewTestStore(&owner, {a4, a4, a4, a4}, QString(), QStringLiteral("P"), newPage);
        TRLPdfFilter filter;
        filter.SetFileName(target);
        filter.SetShowProgress(failure == "cancel");
        SetRLProgressFactory([&filter](const QString &, int, std::function<void()>, bool) {
            struct CancelAtTwo : TRLProgress
            {
                TRLPdfFilter *f;
                int steps = 0;
                void SetMax(int) override {}
                void Step() override
                {
                    if (++steps == 2)
                        f->Cancel();
                }
            };
            auto progress = std::make_unique<CancelAtTwo>();
            progress->f = &filter;
            return std::unique_ptr<TRLProgress>(std::move(progress));
        });
        const QString error = errorOfRun(filter, store, failure == "empty" ? 9 : 1, -1, background);
        SetRLProgressFactory(nullptr);
        QVERIFY2(error.contains(reason), qPrintable(error));
        // An empty range is refused before any output, with the words every filter uses.
        if (failure != "empty")
            QVERIFY2(error.contains(target), qPrintable(error));
        QCOMPARE(contents(target), QByteArray("old slip"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), before);
        QVERIFY(store->Filters().isEmpty());
    }

    // The caller confirms after Run: in the background too, Run returns once the file is whole.
    void backgroundRunReturnsWithTheFile()
    {
        QObject owner;
        TRLGraphicStorage *store = NewTestStore(&owner, {slip, slip, slip}, QString(), QStringLiteral("P"), newPage);
        TRLPdfFilter filter;
        filter.SetShowProgress(false);
        filter.SetFileName(m_dir.filePath(QStringLiteral("background.pdf")));
        QCOMPARE(errorOfRun(filter, store, 1, -1, true), QString());
        QCOMPARE(PdfInspect::pages(filter.FileName()).size(), 3);
    }

    void defaultFileName_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("file");
        QTest::newRow("title") << "Zavenor - DARF" << "Zavenor - DARF.pdf";
        QTest::newRow("refused characters") << "a/b\\c:d*e?f\"g<h>i|j" << "a_b_c_d_e_f_g_h_i_j.pdf";
        QTest::newRow("control character") << "linha\num" << "linha_um.pdf";
        QTest::newRow("trailing dot and blanks") << "  Relatório.  " << "Relatório.pdf";
        QTest::newRow("nothing left") << " " << "Documento PDF.pdf";
    }

    void defaultFileName()
    {
        QFETCH(QString, document);
        QFETCH(QString, file);
        QCOMPARE(RLPdfDefaultFileName(document), file);
    }

    void fileDialog_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QList<bool>>("replaceAnswers"); // one per question
        QTest::addColumn<bool>("chosen");
        QTest::newRow("new file") << false << QList<bool>{} << true;
        QTest::newRow("cancelled") << false << QList<bool>{} << false;
        QTest::newRow("existing, replaced") << true << QList<bool>{true} << true;
        QTest::newRow("existing, kept, then cancelled") << true << QList<bool>{false} << false;
    }

    void fileDialog()
    {
        QFETCH(bool, exists);
        QFETCH(QList<bool>, replaceAnswers);
        QFETCH(bool, chosen);
        const QString folder = m_dir.filePath(QStringLiteral("escolhida"));
        QDir().mkpath(folder);
        const QString target = folder + QStringLiteral("/cliente.pdf");
        QFile::remove(target);
        if (exists) {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
        }
        RLSetLastPdfFolder(m_dir.path());
        QStringList seen, questions;
        ModalScript script;
        const bool cancelFirst = !chosen && replaceAnswers.isEmpty();
        script.steps << typeInFileDialog(cancelFirst ? QString() : target, &seen);
        for (bool yes : replaceAnswers)
            script.steps << answerReplace(yes, &questions);
        if (!chosen && !replaceAnswers.isEmpty())
            script.steps << typeInFileDialog(QString());
        TRLPdfFilter filter;
        filter.SetFileName(QStringLiteral("/antes.pdf"));
        const bool answered = filter.AskBeforeRun(nullptr, QStringLiteral("Zavenor - GARE"));
        QCOMPARE(answered, chosen);
        QVERIFY(script.steps.isEmpty());
        QCOMPARE(filter.FileName(), chosen ? target : QStringLiteral("/antes.pdf"));
        QCOMPARE(seen.mid(0, 3), (QStringList{"Documento PDF (*.pdf)", m_dir.path() + "/Zavenor - GARE.pdf", "widgets"}));
        QCOMPARE(questions.size(), replaceAnswers.size());
        for (const QString &q : questions)
            QVERIFY2(q.contains("já existe") && q.contains(target), qPrintable(q));
        // The folder is remembered only when a file was chosen.
        QCOMPARE(RLLastPdfFolder(), chosen ? folder : m_dir.path());
        QCOMPARE(QFile::exists(target), exists);
    }

    // Declining the file dialog ends the print before the report is even prepared.
    void printAsksBeforePreparing_data()
    {
        QTest::addColumn<bool>("choose");
        QTest::newRow("file chosen") << true;
        QTest::newRow("file dialog cancelled") << false;
    }

    void printAsksBeforePreparing()
    {
        QFETCH(bool, choose);
        QObject form;
        auto *report = new PdfReport(&form);
        report->SetName(QStringLiteral("RLTeste"));
        report->SetTitle(QStringLiteral("Guia do cliente"));
        report->SetShowProgress(false);
        int prepared = 0;
        report->BeforePrint = [&prepared](TRLCustomControl *, bool &) { ++prepared; };
        const QString target = m_dir.filePath(QStringLiteral("relatorio.pdf"));
        QFile::remove(target);
        ModalScript script;
        script.steps << typeInFileDialog(choose ? target : QString());
        bool aborted = false;
        try {
            report->Print();
        } catch (const TRLAbort &) {
            aborted = true;
        }
        QVERIFY(script.steps.isEmpty());
        QCOMPARE(aborted, !choose);
        QCOMPARE(prepared, choose ? 1 : 0);
        QCOMPARE(QFile::exists(target), choose);
        if (choose)
            QVERIFY(PdfInspect::run(QStringLiteral("pdfinfo"), {target}).contains(QStringLiteral("Guia do cliente")));
        RLPrintParams().SetFilter(nullptr);
    }

    // Creating the engine's PDF filter is all it takes for the dialog to offer it.
    void printDialogOffersPdf()
    {
        PdfFilter();
        TRLPrintDialog dialog;
        dialog.FillFilterList();
        QStringList items;
        for (int i = 0; i < dialog.ComboBoxFilters->count(); ++i)
            items << dialog.ComboBoxFilters->itemText(i);
        QCOMPARE(items, (QStringList{"Padrão", "Documento PDF"}));
        QVERIFY(dialog.ComboBoxFilters->isEnabled());
        QCOMPARE(dialog.FilterOfItem(1), PdfFilter());
        QVERIFY(!dialog.LabelOptions->isVisibleTo(&dialog));
    }
};

QTEST_MAIN(TestRLPdfFilter)
#include "tst_rlpdffilter.moc"
