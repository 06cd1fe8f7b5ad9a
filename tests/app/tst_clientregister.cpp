// The register in the entry window, used as a clerk uses it: clients offered while typing and
// chosen from the list, "Salvar contribuinte", every print and PDF recorded with how it went
// (through a private CUPS), a slip copied back from "Guias emitidas" and its export read back by
// the batch.
#include "app/ClientCompletion.h"
#include "app/ClientsWindow.h"
#include "app/HistoryWindow.h"
#include "app/RegisterCommands.h"
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "batch/BatchRunner.h"
#include "report/output/RLPrintDialog.h"
#include "report/output/RLPrinters.h"
#include "storage/RegisterThread.h"
#include "storage/SqliteRegister.h"
#include "support/PrivateCups.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/MemoCLX.h"
#include "widgets/NumEditCLX.h"
#include "WindowDriver.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QFileDialog>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace WindowDriver;

namespace {

// Answers what opens: the print dialog (with a filter), the file dialog, questions and boxes.
class Answerer : public QObject
{
public:
    QString filter = QStringLiteral("Padrão");
    QString file;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    QStringList texts;

    Answerer()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<TRLPrintDialog *>(modal); dialog && dialog->isVisible()) {
                dialog->ComboBoxFilters->setCurrentIndex(dialog->ComboBoxFilters->findText(filter));
                QMetaObject::invokeMethod(dialog->ButtonOk, &QPushButton::click, Qt::QueuedConnection);
            } else if (auto *files = qobject_cast<QFileDialog *>(modal); files && files->isVisible()) {
                if (auto *name = files->findChild<QLineEdit *>("fileNameEdit")) {
                    name->setText(file);
                    QMetaObject::invokeMethod(files, &QDialog::accept, Qt::QueuedConnection);
                }
            } else if (auto *box = qobject_cast<QMessageBox *>(modal); box && box->isVisible()) {
                texts << box->text();
                QAbstractButton *button = box->button(answer);
                QMetaObject::invokeMethod(button ? button : box->defaultButton(), &QAbstractButton::click,
                                          Qt::QueuedConnection);
            }
        });
        m_timer.start(20);
    }

private:
    QTimer m_timer;
};

TClient padaria()
{
    TClient c;
    c.name = QStringLiteral("Padaria São João Ltda");
    c.taxId = QStringLiteral("11.222.333/0001-81");
    c.stateRegistration = QStringLiteral("110.042.490.114");
    c.address = QStringLiteral("Rua das Flores, 12");
    c.city = QStringLiteral("Campinas");
    c.uf = QStringLiteral("SP");
    c.phone = QStringLiteral("(19) 3232-0000");
    return c;
}

} // namespace

class TestClientRegister : public QObject
{
    Q_OBJECT

    PrivateCups m_cups; // first: before anything asks CUPS about its server
    QTemporaryDir m_dir;
    std::unique_ptr<TRegisterThread> m_reg;
    TfrmZavenor *w = nullptr;

    template <class R>
    R ask(std::function<R(TRegister &)> call) { return m_reg->Run<R>(call); }

    QList<TIssuedSlip> history() { return ask<QList<TIssuedSlip>>([](TRegister &r) { return r.History({}); }); }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_cups.IsRunning(), qPrintable("no private CUPS scheduler: " + m_cups.Error()));
        QVERIFY(m_cups.AddFailingQueue(QStringLiteral("ZavenorFalha")));
        QVERIFY(m_cups.AddPdfQueue(QStringLiteral("ZavenorPDF")));
        RLPrinter().Refresh();
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("dados")).toUtf8());
        const QString path = m_dir.filePath(QStringLiteral("cadastro.db"));
        m_reg = std::make_unique<TRegisterThread>([path] { return std::make_unique<TSqliteRegister>(path); });
        ask<qint64>([](TRegister &r) {
            TClient other;
            other.name = QStringLiteral("Oficina Alves Ltda");
            other.taxId = QStringLiteral("12.ABC.345/01DE-35");
            other.city = QStringLiteral("Santos");
            r.SaveClient(other);
            return r.SaveClient(padaria());
        });
    }

    void init()
    {
        w = ShowMainWindow();
        w->SetRegister(m_reg.get());
    }

    void cleanup()
    {
        delete w;
        w = nullptr;
    }

    // Typed key by key; the row chosen with the arrow and Enter fills the payer's fields only.
    void completionFillsThePayer_data()
    {
        QTest::addColumn<bool>("darf");
        QTest::addColumn<bool>("byName");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("rows");
        QTest::newRow("DARF, part of the name") << true << true << "ria s" << 1;
        QTest::newRow("DARF, punctuated digits") << true << false << "11.222" << 1;
        QTest::newRow("GARE, capitals without accents") << false << true << "SAO JOAO" << 1;
        QTest::newRow("GARE, shared word") << false << true << "ltda" << 2;
    }
    void completionFillsThePayer()
    {
        QFETCH(bool, darf);
        QFETCH(bool, byName);
        QFETCH(QString, typed);
        QFETCH(int, rows);
        w->PC1->setCurrentWidget(darf ? w->tsDarf : w->tsGare);
        QLineEdit *code = darf ? w->edCodRec : w->EDCodRecG;
        code->setText(QStringLiteral("0220"));
        const TRegisterCommands::TPayerFields f = w->RegisterCommands()->PayerFields(darf);
        QLineEdit *field = byName ? f.name : f.taxId;
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(field, typed);
        QCompleter *list = (byName ? w->RegisterCommands()->NameCompletion(darf)
                                   : w->RegisterCommands()->TaxIdCompletion(darf))->Completer();
        QTRY_VERIFY(list->popup()->isVisible());
        QCOMPARE(list->completionModel()->rowCount(), rows);
        // Padaria sorts after Oficina.
        for (int i = 0; i < rows; ++i)
            QTest::keyClick(list->popup(), Qt::Key_Down);
        QTest::keyClick(list->popup(), Qt::Key_Return);
        QCOMPARE(f.name->text(), padaria().name);
        QCOMPARE(f.taxId->text(), padaria().taxId);
        if (!darf) {
            QCOMPARE(f.address->text(), padaria().address);
            QCOMPARE(f.city->text(), padaria().city);
            QCOMPARE(f.uf->text(), padaria().uf);
            QCOMPARE(f.phone->text(), padaria().phone);
            QCOMPARE(f.stateRegistration->text(), padaria().stateRegistration);
        }
        QCOMPARE(code->text(), QStringLiteral("0220"));
    }

    void saveClient_data()
    {
        QTest::addColumn<bool>("darf");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("taxId");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("saved");
        QTest::newRow("GARE, good CPF") << false << "Maria Souza" << "123.456.789-09" << int(QMessageBox::Yes)
                                        << false << true;
        QTest::newRow("wrong digits, declined") << false << "José Lima" << "111.444.777-00" << int(QMessageBox::No)
                                                << true << false;
        QTest::newRow("wrong digits, accepted") << true << "José Lima" << "111.444.777-00" << int(QMessageBox::Yes)
                                                << true << true;
        QTest::newRow("DARF keeps the GARE's address") << true << "Padaria São João" << "11222333000181"
                                                       << int(QMessageBox::Yes) << false << true;
    }
    void saveClient()
    {
        QFETCH(bool, darf);
        QFETCH(QString, name);
        QFETCH(QString, taxId);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, saved);
        w->PC1->setCurrentWidget(darf ? w->tsDarf : w->tsGare);
        const TRegisterCommands::TPayerFields f = w->RegisterCommands()->PayerFields(darf);
        f.name->setText(name);
        f.taxId->setText(taxId);
        if (!darf)
            f.city->setText(QStringLiteral("Sorocaba"));
        Answerer answers;
        answers.answer = QMessageBox::StandardButton(answer);
        w->RegisterCommands()->SaveAction->trigger();
        QCOMPARE(answers.texts.size() > 0 && answers.texts.first().contains(QLatin1String("assim mesmo")), asked);
        const std::optional<TClient> stored =
            ask<std::optional<TClient>>([taxId](TRegister &r) { return r.ClientByTaxId(taxId); });
        QCOMPARE(stored.has_value() && stored->name == name, saved);
        if (saved)
            QCOMPARE(stored->city, darf && taxId == QLatin1String("11222333000181") ? padaria().city
                                   : darf                                           ? QString()
                                                                                    : QStringLiteral("Sorocaba"));
    }

    // A real print through CUPS, completed or failed, and a PDF: each recorded as it went.
    void printsAreRecorded_data()
    {
        QTest::addColumn<QString>("queue"); // empty: a PDF file
        QTest::addColumn<int>("outcome");
        QTest::newRow("completed") << "ZavenorPDF" << int(TIssueOutcome::Completed);
        QTest::newRow("failed") << "ZavenorFalha" << int(TIssueOutcome::Failed);
        QTest::newRow("PDF file") << "" << int(TIssueOutcome::Completed);
    }
    void printsAreRecorded()
    {
        QFETCH(QString, queue);
        QFETCH(int, outcome);
        Answerer answers;
        if (queue.isEmpty()) {
            answers.filter = QStringLiteral("Documento PDF");
            answers.file = m_dir.filePath(QStringLiteral("guia.pdf"));
        } else {
            RLPrinter().SetPrinterIndex(RLPrinter().Printers().indexOf(QRegularExpression(queue + QStringLiteral("\\|.*"))));
        }
        w->cbComLayOut->setChecked(false);
        w->EdNome->setText(padaria().name);
        w->edCGCCPF->setText(padaria().taxId);
        w->edCodRec->setText(QStringLiteral("0220"));
        enterAmount(w->neValPrinc, QStringLiteral("1234,5"));
        const int before = int(history().size());
        const int jobBefore = RLPrinter().LastJobId();
        QTest::mouseClick(w->BBImprimir, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!answers.texts.isEmpty(), PrivateCups::scaled(30000));
        const QList<TIssuedSlip> all = history();
        QCOMPARE(all.size(), before + 1);
        const TIssuedSlip &s = all.first();
        QCOMPARE(int(s.outcome), outcome);
        QCOMPARE(s.kind, QStringLiteral("DARF"));
        QCOMPARE(s.payerTaxId, padaria().taxId);
        QCOMPARE(s.fields.value(QStringLiteral("codigo_receita")), QStringLiteral("0220"));
        QCOMPARE(s.total, QStringLiteral("1.234,50"));
        QCOMPARE(s.mode, QStringLiteral("dados"));
        if (queue.isEmpty()) {
            QCOMPARE(s.pdfPath, answers.file);
            QVERIFY(QFile::exists(s.pdfPath));
            QCOMPARE(s.jobId, 0);
        } else {
            QCOMPARE(s.printer, queue);
            QVERIFY(s.jobId > jobBefore);
            QCOMPARE(s.jobId, RLPrinter().LastJobId());
        }
        QCOMPARE(answers.texts.contains(QStringLiteral("Ok. Impressão efetuada.")),
                 outcome == int(TIssueOutcome::Completed));
        RLPrinter().SetPrinterIndex(RLPrinter().Printers().indexOf(QRegularExpression(QStringLiteral("ZavenorPDF\\|.*"))));
    }

    // Last month's slip for the same client: the fields come back, the old fine only when asked.
    void copiesIntoANewSlip_data()
    {
        QTest::addColumn<bool>("datesAndAmounts");
        QTest::newRow("all but dates and amounts") << false;
        QTest::newRow("everything") << true;
    }
    void copiesIntoANewSlip()
    {
        QFETCH(bool, datesAndAmounts);
        TIssuedSlip gare;
        gare.kind = QStringLiteral("GARE");
        gare.payerName = padaria().name;
        gare.payerTaxId = padaria().taxId;
        gare.fields = {{QStringLiteral("nome"), padaria().name},
                       {QStringLiteral("cpf_cnpj"), padaria().taxId},
                       {QStringLiteral("municipio"), padaria().city},
                       {QStringLiteral("codigo_receita"), QStringLiteral("046-2")},
                       {QStringLiteral("observacoes"), QStringLiteral("ICMS\nparcela 2")},
                       {QStringLiteral("vencimento"), QStringLiteral("20/01/2027")},
                       {QStringLiteral("valor_receita"), QStringLiteral("1.000,00")},
                       {QStringLiteral("multa_mora"), QStringLiteral("20,00")}};
        gare.total = QStringLiteral("1.020,00");
        gare.outcome = TIssueOutcome::Completed;
        ask<qint64>([gare](TRegister &r) { return r.RecordIssue(gare); });
        // Another client's slip is on the page.
        w->PC1->setCurrentWidget(w->tsGare);
        w->EdNomeG->setText(QStringLiteral("Outro Cliente"));
        w->EdPlacaG->setText(QStringLiteral("ABC1D23"));
        enterAmount(w->neMulMorG, QStringLiteral("55,00"));

        w->RegisterCommands()->HistoryAction->trigger();
        TfrmGuiasEmitidas *list = w->RegisterCommands()->HistoryWindow();
        QTRY_VERIFY(list->isVisible());
        QCOMPARE(list->tbGuias->currentRow(), 0);
        if (datesAndAmounts)
            QTest::mouseClick(list->cbDatasValores, Qt::LeftButton, {}, QPoint(5, list->cbDatasValores->height() / 2));
        QTest::mouseClick(list->BBCopiar, Qt::LeftButton);
        QVERIFY(!list->isVisible());
        QCOMPARE(w->PC1->currentWidget(), w->tsGare);
        QCOMPARE(w->EdNomeG->text(), padaria().name);
        QCOMPARE(w->EDCodRecG->text(), QStringLiteral("046-2"));
        QCOMPARE(w->MMObsG->toPlainText(), QStringLiteral("ICMS\nparcela 2"));
        QCOMPARE(w->EdPlacaG->text(), QString());
        QCOMPARE(w->MEDTVencG->Text(), datesAndAmounts ? QStringLiteral("20/01/2027") : QStringLiteral("  /  /    "));
        QCOMPARE(w->neMulMorG->text(), datesAndAmounts ? QStringLiteral("20,00") : QStringLiteral("0,00"));
        QCOMPARE(w->LbTotalG->text(), datesAndAmounts ? QStringLiteral("1.020,00") : QStringLiteral("0,00"));
    }

    // What "Guias emitidas" exports, the batch reads back as a spreadsheet of slips.
    void exportIsReadByTheBatch()
    {
        w->RegisterCommands()->HistoryAction->trigger();
        TfrmGuiasEmitidas *list = w->RegisterCommands()->HistoryWindow();
        QTRY_VERIFY(list->isVisible());
        const int rows = int(list->Listed().size());
        QVERIFY(rows >= 3);
        const QString file = m_dir.filePath(QStringLiteral("exportadas.csv"));
        list->ExportTo(file);
        QString out, err;
        QTextStream o(&out), e(&err);
        const int code = Batch::Run({QStringLiteral("--lote"), file, QStringLiteral("--verificar")}, o, e, false);
        o.flush();
        e.flush();
        QCOMPARE(code, int(Batch::ExitOk));
        QVERIFY2(out.contains(QStringLiteral("%1 linhas conferidas").arg(rows)), qPrintable(out + err));
        list->close();
    }

    // Not a check: with ZAVENOR_SHOTS_DIR set (under Xvfb), the list under the name field, the
    // client window and "Guias emitidas". ZAVENOR_SHOTS_SUFFIX tells a scaled screen's apart.
    void screenshots()
    {
        const QString folder = qEnvironmentVariable("ZAVENOR_SHOTS_DIR");
        if (folder.isEmpty())
            QSKIP("pictures only on request");
        const QString suffix = qEnvironmentVariable("ZAVENOR_SHOTS_SUFFIX") + QStringLiteral(".png");
        w->PC1->setCurrentWidget(w->tsGare);
        w->EdNomeG->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(w->EdNomeG, QStringLiteral("ltda"));
        QCompleter *list = w->RegisterCommands()->NameCompletion(false)->Completer();
        QTRY_VERIFY(list->popup()->isVisible());
        QTest::keyClick(list->popup(), Qt::Key_Down);
        QTest::qWait(300);
        const QRect area = w->frameGeometry().united(list->popup()->geometry());
        QVERIFY(w->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                    .save(folder + QStringLiteral("/cadastro-lista") + suffix));
        QTest::keyClick(list->popup(), Qt::Key_Return);

        w->RegisterCommands()->ClientsAction->trigger();
        TfrmContribuintes *clients = w->RegisterCommands()->ClientsWindow();
        QVERIFY(QTest::qWaitForWindowExposed(clients));
        clients->tbContribuintes->selectRow(1);
        QTest::qWait(300);
        QCOMPARE(QProcess::execute("import", {"-window", QString::number(clients->winId()),
                                              folder + QStringLiteral("/cadastro-contribuintes") + suffix}),
                 0);
        clients->close();

        w->RegisterCommands()->HistoryAction->trigger();
        TfrmGuiasEmitidas *history = w->RegisterCommands()->HistoryWindow();
        QVERIFY(QTest::qWaitForWindowExposed(history));
        QTest::qWait(300);
        QCOMPARE(QProcess::execute("import", {"-window", QString::number(history->winId()),
                                              folder + QStringLiteral("/guias-emitidas") + suffix}),
                 0);
        history->close();
    }
};

int main(int argc, char **argv)
{
    TZavenorApplication app(argc, argv);
    TestClientRegister t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_clientregister.moc"
