#include "batch/BatchRunner.h"

#include "batch/BatchErrors.h"
#include "batch/BatchInterrupt.h"
#include "batch/BatchOutputs.h"
#include "batch/BatchProgress.h"
#include "batch/BatchRegister.h"
#include "batch/BatchTable.h"
#include "batch/SlipDocuments.h"
#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/output/RLPrinters.h"
#include "slips/FrontEndSetup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>

namespace Batch {
namespace {

enum class TOutputKind { None, PdfFolder, PdfSingle, Print };

struct TOptions
{
    QString file;
    TOutputKind output = TOutputKind::None;
    QString target; // folder or file
    QString queue;
    int waitSeconds = 300; // for the print job to complete
    TBatchMode mode = TBatchMode::LayoutColour;
    bool overwrite = false;
    bool verify = false;
    bool enroll = false;
    bool help = false;
};

QString modeName(TBatchMode mode)
{
    switch (mode) {
    case TBatchMode::LayoutColour:
        return QStringLiteral("layout-cor");
    case TBatchMode::LayoutBlackWhite:
        return QStringLiteral("layout-pb");
    case TBatchMode::DataOnly:
        break;
    }
    return QStringLiteral("dados");
}

// Parses the command line; an empty result means good, else the reason.
QString parse(const QStringList &arguments, TOptions &o)
{
    int outputs = 0;
    bool queueGiven = false;
    bool waitGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        QString arg = arguments.at(i);
        std::optional<QString> inlineValue;
        if (arg.startsWith(QLatin1String("--")) && arg.contains(QLatin1Char('='))) {
            inlineValue = arg.section(QLatin1Char('='), 1);
            arg = arg.section(QLatin1Char('='), 0, 0);
        }
        const auto value = [&](QString &into) -> bool {
            if (inlineValue) {
                into = *inlineValue;
            } else if (i + 1 < arguments.size()) {
                into = arguments.at(++i);
            } else {
                return false;
            }
            return !into.isEmpty();
        };
        if (arg == QLatin1String("--ajuda")) {
            o.help = true;
        } else if (arg == QLatin1String("--lote")) {
            if (!value(o.file))
                return QStringLiteral("--lote pede o nome do arquivo CSV");
        } else if (arg == QLatin1String("--pdf")) {
            if (!value(o.target))
                return QStringLiteral("--pdf pede uma pasta");
            o.output = TOutputKind::PdfFolder;
            ++outputs;
        } else if (arg == QLatin1String("--pdf-unico")) {
            if (!value(o.target))
                return QStringLiteral("--pdf-unico pede o nome do arquivo PDF");
            o.output = TOutputKind::PdfSingle;
            ++outputs;
        } else if (arg == QLatin1String("--imprimir")) {
            o.output = TOutputKind::Print;
            ++outputs;
        } else if (arg == QLatin1String("--impressora")) {
            if (!value(o.queue))
                return QStringLiteral("--impressora pede o nome de uma fila de impressão");
            queueGiven = true;
        } else if (arg == QLatin1String("--espera")) {
            QString seconds;
            bool number = false;
            if (value(seconds))
                o.waitSeconds = seconds.toInt(&number);
            if (!number || o.waitSeconds < 1)
                return QStringLiteral("--espera pede um número inteiro de segundos, 1 ou mais");
            waitGiven = true;
        } else if (arg == QLatin1String("--modo")) {
            QString mode;
            if (!value(mode))
                return QStringLiteral("--modo pede layout-cor, layout-pb ou dados");
            if (mode == QLatin1String("layout-cor"))
                o.mode = TBatchMode::LayoutColour;
            else if (mode == QLatin1String("layout-pb"))
                o.mode = TBatchMode::LayoutBlackWhite;
            else if (mode == QLatin1String("dados"))
                o.mode = TBatchMode::DataOnly;
            else
                return QStringLiteral("modo \"%1\" desconhecido (layout-cor, layout-pb ou dados)").arg(mode);
        } else if (arg == QLatin1String("--sobrescrever")) {
            o.overwrite = true;
        } else if (arg == QLatin1String("--verificar")) {
            o.verify = true;
        } else if (arg == QLatin1String("--cadastrar")) {
            o.enroll = true;
        } else {
            return QStringLiteral("opção desconhecida: %1").arg(arguments.at(i));
        }
    }
    if (o.help)
        return QString();
    if (o.file.isEmpty())
        return QStringLiteral("falta --lote ARQUIVO.csv");
    if (outputs > 1)
        return QStringLiteral("escolha uma só saída: --pdf, --pdf-unico ou --imprimir");
    if (o.verify && outputs > 0)
        return QStringLiteral("--verificar só confere o arquivo: não o combine com uma saída");
    if (!o.verify && outputs == 0)
        return QStringLiteral("falta a saída: --pdf PASTA, --pdf-unico ARQUIVO.pdf ou --imprimir (ou --verificar)");
    if (o.enroll && outputs == 0)
        return QStringLiteral("--cadastrar só vale com uma saída: --pdf, --pdf-unico ou --imprimir");
    if (queueGiven && o.output != TOutputKind::Print)
        return QStringLiteral("--impressora só vale com --imprimir");
    if (waitGiven && o.output != TOutputKind::Print)
        return QStringLiteral("--espera só vale com --imprimir");
    if (o.overwrite && o.output != TOutputKind::PdfFolder && o.output != TOutputKind::PdfSingle)
        return QStringLiteral("--sobrescrever só vale com --pdf ou --pdf-unico");
    return QString();
}

QString columnLine(const QString &column)
{
    if (column == QLatin1String("total"))
        return QStringLiteral("  %1%2\n").arg(column, -24).arg(
            QStringLiteral("VALOR TOTAL (DARF 10, GARE 14), opcional: se presente, deve conferir com a soma"));
    QStringList parts;
    for (const TSlipKind kind : {TSlipKind::Darf, TSlipKind::Gare}) {
        const TBatchField *field = BatchColumns::Field(kind, column);
        if (!field)
            continue;
        QString part = BatchColumns::KindName(kind) + QStringLiteral(" ") + QString::fromUtf8(field->caption);
        if (field->kind == TFieldKind::Date || field->kind == TFieldKind::PaymentDate)
            part += QStringLiteral(", DD/MM/AAAA");
        else if (field->kind == TFieldKind::Amount)
            part += QStringLiteral(", valor");
        else if (field->maxLength > 0)
            part += QStringLiteral(", até %1 caracteres%2")
                        .arg(field->maxLength)
                        .arg(field->kind == TFieldKind::Memo ? QStringLiteral(", várias linhas") : QString());
        parts << part;
    }
    return QStringLiteral("  %1%2\n").arg(column, -24).arg(parts.join(QStringLiteral("; ")));
}

// Selects the queue; empty when it is done, else the reason. unreachable: CUPS did not answer.
QString selectQueue(const QString &queue, bool &unreachable)
{
    TRLPrinterWrapper &printer = RLPrinter();
    const int count = int(printer.Printers().size());
    unreachable = count == 0 && !printer.ListFailure().isEmpty();
    if (unreachable)
        return printer.ListFailure();
    if (count == 0)
        return QStringLiteral("nenhuma impressora instalada");
    if (queue.isEmpty())
        return printer.PrinterIndex() < 0 ? QStringLiteral("nenhuma impressora padrão") : QString();
    QStringList names;
    for (int i = 0; i < count; ++i) {
        names << printer.PrinterNames(i);
        if (printer.PrinterNames(i) == queue) {
            printer.SetPrinterIndex(i);
            return QString();
        }
    }
    return QStringLiteral("a impressora \"%1\" não existe (impressoras: %2)").arg(queue, names.join(QStringLiteral(", ")));
}

QString messageOf(const std::exception &e)
{
    if (const auto *batch = dynamic_cast<const TBatchOutputError *>(&e))
        return batch->Message();
    if (const auto *engine = dynamic_cast<const TRLException *>(&e))
        return engine->Message();
    return QString::fromUtf8(e.what());
}

std::unique_ptr<TBatchOutput> makeOutput(const TOptions &o, TBatchInterrupt *interrupt)
{
    switch (o.output) {
    case TOutputKind::PdfFolder:
        return std::make_unique<TPdfPerRowOutput>(o.target);
    case TOutputKind::PdfSingle:
        return std::make_unique<TSinglePdfOutput>(o.target, QFileInfo(o.file).fileName());
    case TOutputKind::Print:
        return std::make_unique<TPrintOutput>(o.waitSeconds, interrupt);
    case TOutputKind::None:
        break;
    }
    return nullptr;
}

class TRun
{
public:
    TRun(const TOptions &o, QTextStream &out, QTextStream &err, bool terminal)
        : m_o(o), m_out(out), m_err(err), m_terminal(terminal)
    {
    }

    int Exec()
    {
        QString reason;
        if (!m_reader.Open(m_o.file, &reason))
            return usageFailure(reason);
        if (m_reader.WasWindows1252())
            m_err << QStringLiteral("zavenor: %1: o arquivo não é UTF-8; lido como Windows-1252").arg(m_o.file)
                  << Qt::endl;
        TCsvRecord header;
        if (!m_reader.Next(header))
            return usageFailure(m_reader.Error().isEmpty() ? QStringLiteral("o arquivo está vazio") : m_reader.Error());
        if (header.row != 1 && !m_reader.Faults().isEmpty())
            return usageFailure(QStringLiteral("cabeçalho: ") + m_reader.Faults().first().reason);
        if (!m_table.ReadHeader(header.fields, &reason))
            return usageFailure(reason);
        m_register = TBatchRegister::Open(m_err);

        int rows = 0;
        const int code = checkRows(rows);
        if (code != ExitOk)
            return code;
        if (m_o.verify) {
            m_out << QStringLiteral("%1: %2 linha%3 conferida%3, nenhum erro.")
                         .arg(m_o.file).arg(rows).arg(rows == 1 ? "" : "s")
                  << Qt::endl;
            return ExitOk;
        }
        if (const int prepared = prepareOutput(); prepared != ExitOk)
            return prepared;
        return issue(rows);
    }

private:
    int usageFailure(const QString &reason)
    {
        m_err << QStringLiteral("zavenor: %1: %2").arg(m_o.file, reason) << Qt::endl;
        return ExitUsage;
    }

    int outputFailure(const QString &reason)
    {
        m_err << QStringLiteral("zavenor: %1").arg(reason) << Qt::endl;
        return ExitOutput;
    }

    // Every row through the checks before anything is written; every fault of the file is listed.
    int checkRows(int &rows)
    {
        QList<TBatchIssue> errors, warnings;
        QStringList existing;
        TPdfFileNames names;
        TCsvRecord record;
        TBatchSlip slip;
        while (m_reader.Next(record)) {
            ++rows;
            if (!m_table.ReadRow(record, slip, errors, warnings))
                continue;
            if (m_register)
                m_register->CompletePayer(slip, &m_err);
            if (m_o.output == TOutputKind::PdfFolder)
                checkFileName(names, slip, warnings, existing);
        }
        if (!m_reader.Error().isEmpty())
            return usageFailure(m_reader.Error());
        for (const TCsvFault &fault : m_reader.Faults())
            errors.append(TBatchIssue{fault.row, QString(), fault.reason});
        if (rows == 0 && errors.isEmpty())
            return usageFailure(QStringLiteral("o arquivo só tem o cabeçalho: nenhuma guia para emitir"));
        for (const TBatchIssue &warning : warnings)
            m_err << TBatchIssue{warning.row, warning.column, QStringLiteral("aviso: ") + warning.reason}.Text()
                  << Qt::endl;
        if (!errors.isEmpty()) {
            std::stable_sort(errors.begin(), errors.end(),
                             [](const TBatchIssue &a, const TBatchIssue &b) { return a.row < b.row; });
            for (const TBatchIssue &error : errors)
                m_err << error.Text() << Qt::endl;
            m_err << QStringLiteral("zavenor: %1 erro%2; nada foi gravado nem impresso.")
                         .arg(errors.size()).arg(errors.size() == 1 ? "" : "s")
                  << Qt::endl;
            return ExitBadData;
        }
        if (!existing.isEmpty()) {
            for (const QString &line : existing)
                m_err << line << Qt::endl;
            return outputFailure(QStringLiteral("arquivos já existem em %1; use --sobrescrever para substituí-los. "
                                                "Nada foi gravado.").arg(m_o.target));
        }
        return ExitOk;
    }

    // Slips that would share a file name are listed; a file already there stops the run unless
    // it may be replaced.
    void checkFileName(TPdfFileNames &names, const TBatchSlip &slip, QList<TBatchIssue> &warnings,
                       QStringList &existing) const
    {
        int sameAs = 0;
        const QString name = names.Next(slip, &sameAs);
        if (sameAs)
            warnings.append(TBatchIssue{slip.row, QString(),
                                        QStringLiteral("mesmo nome de arquivo que a guia da linha %1; gravada como %2")
                                            .arg(sameAs).arg(name)});
        if (!m_o.overwrite && QFileInfo::exists(QDir(m_o.target).filePath(name)))
            existing << QStringLiteral("linha %1: o arquivo %2 já existe").arg(slip.row).arg(name);
    }

    int prepareOutput()
    {
        switch (m_o.output) {
        case TOutputKind::PdfFolder:
            if (!QDir().mkpath(m_o.target))
                return outputFailure(QStringLiteral("não foi possível criar a pasta %1").arg(m_o.target));
            break;
        case TOutputKind::PdfSingle: {
            const QFileInfo info(m_o.target);
            if (info.isDir())
                return outputFailure(QStringLiteral("%1 é uma pasta; --pdf-unico pede um arquivo").arg(m_o.target));
            if (info.exists() && !m_o.overwrite)
                return outputFailure(QStringLiteral("o arquivo %1 já existe; use --sobrescrever para substituí-lo")
                                         .arg(m_o.target));
            if (!info.absoluteDir().exists())
                return outputFailure(QStringLiteral("a pasta %1 não existe").arg(info.absolutePath()));
            break;
        }
        case TOutputKind::Print: {
            bool unreachable = false;
            if (const QString reason = selectQueue(m_o.queue, unreachable); !reason.isEmpty()) {
                m_err << QStringLiteral("zavenor: %1").arg(reason) << Qt::endl;
                return m_o.queue.isEmpty() || unreachable ? ExitOutput : ExitUsage;
            }
            break;
        }
        case TOutputKind::None:
            break;
        }
        return ExitOk;
    }

    // Second pass: one slip at a time is filled, prepared, handed on and let go.
    int issue(int rows)
    {
        m_reader.Rewind();
        TCsvRecord record;
        m_reader.Next(record); // the header, read before
        TSlipDocuments documents(m_o.mode);
        TBatchInterrupt interrupt;
        const std::unique_ptr<TBatchOutput> output = makeOutput(m_o, &interrupt);
        TBatchProgress progress(m_err, rows, m_terminal);
        if (auto *print = dynamic_cast<TPrintOutput *>(output.get()))
            print->SetWaitWords([&progress](const QString &words) { progress.Say(words); });
        TBatchSlip slip;
        int done = 0;
        while (m_reader.Next(record)) {
            // Read exactly as the check read it; the check listed the warnings already.
            QList<TBatchIssue> errors, warnings;
            if (!m_table.ReadRow(record, slip, errors, warnings)) {
                progress.Clear();
                return outputFailure(QStringLiteral("linha %1: a linha não foi lida como na conferência; "
                                                    "nada mais foi gravado").arg(record.row));
            }
            if (interrupt.Arrived()) {
                progress.Clear();
                finishHistory(false);
                return outputFailure(QStringLiteral("linha %1: interrompido; nada mais foi gravado nem impresso")
                                         .arg(slip.row));
            }
            if (m_register)
                m_register->CompletePayer(slip, nullptr);
            try {
                output->Add(slip, documents.Prepare(slip));
                issued(slip, output->LastPath());
            } catch (const TBatchPrintError &e) {
                progress.Clear();
                finishHistory(false);
                return outputFailure(e.Message() + QStringLiteral("; nada foi impresso"));
            } catch (const TRLAbort &) {
                progress.Clear();
                finishHistory(false);
                return outputFailure(QStringLiteral("linha %1: interrompido; nada mais foi gravado").arg(slip.row));
            } catch (const std::exception &e) {
                progress.Clear();
                finishHistory(false);
                QString line = QStringLiteral("linha %1: %2").arg(slip.row).arg(messageOf(e));
                if (m_o.output == TOutputKind::PdfFolder && done > 0)
                    line += QStringLiteral(" (as %1 guias anteriores estão gravadas em %2)").arg(done).arg(m_o.target);
                else
                    line += QStringLiteral("; nada foi gravado nem impresso");
                return outputFailure(line);
            }
            ++done;
            progress.Step();
        }
        const int jobBefore = RLPrinter().LastJobId();
        try {
            output->Finish();
        } catch (const TBatchPrintError &e) {
            progress.Clear();
            // A job CUPS took is recorded with the end it came to (failed, cancelled, unknown).
            const bool jobMade = RLPrinter().LastJobId() != jobBefore;
            if (m_register && jobMade)
                m_register->Printed(RLPrinter().PrinterName(), RLPrinter().LastJobId(), outcomeOf(*output));
            finishHistory(jobMade);
            return outputFailure(e.Message());
        } catch (const std::exception &e) {
            progress.Clear();
            // A job the print service took and then failed is recorded as such.
            const bool jobMade = m_o.output == TOutputKind::Print && RLPrinter().LastJobId() != jobBefore;
            if (m_register && jobMade)
                m_register->Printed(RLPrinter().PrinterName(), RLPrinter().LastJobId(), TIssueOutcome::Failed);
            finishHistory(jobMade);
            return outputFailure(messageOf(e) + (m_o.output == TOutputKind::Print
                                                     ? QStringLiteral("; a impressão não foi feita")
                                                     : QStringLiteral("; nada foi gravado")));
        }
        if (m_register && m_o.output == TOutputKind::Print)
            m_register->Printed(RLPrinter().PrinterName(), RLPrinter().LastJobId(), TIssueOutcome::Completed);
        finishHistory(true);
        progress.Finish(output->Made(done));
        return ExitOk;
    }

    static TIssueOutcome outcomeOf(const TBatchOutput &output)
    {
        const auto *print = dynamic_cast<const TPrintOutput *>(&output);
        switch (print ? print->JobEnd() : TRLJobEnd::Unknown) {
        case TRLJobEnd::Completed:
            return TIssueOutcome::Completed;
        case TRLJobEnd::Failed:
            return TIssueOutcome::Failed;
        case TRLJobEnd::Canceled:
            return TIssueOutcome::Cancelled;
        default:
            return TIssueOutcome::Unknown;
        }
    }

    // The slip reached its output: noted for the history, and its payer registered when asked.
    void issued(const TBatchSlip &slip, const QString &file)
    {
        if (!m_register)
            return;
        const QString path = file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath();
        m_register->Issued(slip, modeName(m_o.mode), path);
        if (m_o.enroll) {
            try {
                m_register->Register(slip);
            } catch (const TStorageError &e) {
                m_err << QStringLiteral("linha %1: aviso: contribuinte não cadastrado: %2").arg(slip.row).arg(e.Message())
                      << Qt::endl;
            }
        }
    }

    // Records what went out. A single PDF or a print job that never came to be issued nothing;
    // the files of one PDF a row already written are issued whatever followed.
    void finishHistory(bool outputDone)
    {
        if (!m_register)
            return;
        if (!outputDone && m_o.output != TOutputKind::PdfFolder)
            m_register->Discard();
        m_register->Flush(m_err);
    }

    const TOptions &m_o;
    QTextStream &m_out;
    QTextStream &m_err;
    bool m_terminal;
    TCsvReader m_reader;
    TBatchTable m_table;
    std::unique_ptr<TBatchRegister> m_register;
};

} // namespace

bool Wanted(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--lote" || arg.startsWith("--lote=") || arg == "--ajuda")
            return true;
    }
    return false;
}

int Main(int argc, char **argv)
{
    // Never a window, whatever display there is.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the batch's own lines only, not the platform's notes to developers.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtFatalMsg)
            std::fprintf(stderr, "zavenor: %s\n", qPrintable(message));
    });
    QApplication app(argc, argv);
    FrontEndSetup::Apply();
    // Every line the batch prints is Portuguese, the engine's messages among them.
    RLLoadMessages(mlPortuguese);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return Run(app.arguments().mid(1), out, err, isatty(STDERR_FILENO));
}

int Run(const QStringList &arguments, QTextStream &out, QTextStream &err, bool terminal)
{
    TOptions o;
    if (const QString reason = parse(arguments, o); !reason.isEmpty()) {
        err << QStringLiteral("zavenor: %1\nUse zavenor --ajuda para ver como usar.").arg(reason) << Qt::endl;
        return ExitUsage;
    }
    if (o.help) {
        out << Usage();
        out.flush();
        return ExitOk;
    }
    return TRun(o, out, err, terminal).Exec();
}

QString Usage()
{
    QString text = QStringLiteral(
        "Uso: zavenor --lote ARQUIVO.csv SAÍDA [opções]\n"
        "Emite uma guia (DARF ou GARE) por linha de uma planilha salva como CSV, sem abrir janela.\n"
        "\n"
        "Saídas (uma só):\n"
        "  --pdf PASTA             um PDF por guia, com o nome tirado da guia:\n"
        "                          <DARF|GARE>-<CPF/CNPJ>-<receita>-<vencimento>-<nome>.pdf\n"
        "  --pdf-unico ARQUIVO.pdf todas as guias num só PDF, uma após a outra\n"
        "  --imprimir              imprime todas as guias num só trabalho\n"
        "  --verificar             só confere o arquivo; não grava nem imprime nada\n"
        "\n"
        "Opções:\n"
        "  --impressora FILA       fila de impressão (com --imprimir; sem ela, a padrão)\n"
        "  --espera SEGUNDOS       quanto esperar que a impressora termine o trabalho (com\n"
        "                          --imprimir; padrão 300); depois disso, ou com Ctrl+C, o\n"
        "                          trabalho é cancelado e a saída é 3\n"
        "  --modo MODO             layout-cor (padrão), layout-pb ou dados (só os dados, para o\n"
        "                          formulário pré-impresso de 211 x 102 mm)\n"
        "  --sobrescrever          substitui arquivos PDF que já existam\n"
        "  --cadastrar             inclui ou atualiza no cadastro o contribuinte de cada linha\n"
        "  --ajuda                 mostra este texto\n"
        "\n"
        "O arquivo: a primeira linha dá os nomes das colunas, em qualquer ordem, maiúsculas ou\n"
        "minúsculas; separador \";\" ou \",\"; campos entre aspas podem conter o separador e quebras\n"
        "de linha; UTF-8 ou Windows-1252. Valores como 1.234,56, 1234,56 ou R$ 1.234,56; datas\n"
        "DD/MM/AAAA ou D/M/AAAA. Nos nomes das colunas, acentos, espaços e \"_\" não contam.\n"
        "Colunas ausentes ficam em branco; colunas desconhecidas são erro. O total é calculado\n"
        "como na janela. Todas as linhas são conferidas antes de qualquer saída.\n"
        "Uma linha que traz só o cpf_cnpj de um contribuinte do cadastro recebe dele o nome e os\n"
        "demais dados do contribuinte. Toda guia emitida fica no histórico (\"Guias emitidas\").\n"
        "\n"
        "Colunas:\n"
        "  tipo                    DARF ou GARE (obrigatória)\n");
    const QStringList columns = BatchColumns::AllColumns();
    for (const QString &column : columns.mid(1))
        text += columnLine(column);
    text += QStringLiteral("  (a coluna cgc_cpf é aceita como outro nome de cpf_cnpj)\n"
                           "\n"
                           "Saída: 0 tudo emitido; 1 dados com erro (listados como \"linha N, coluna X: motivo\");\n"
                           "2 uso incorreto ou arquivo ilegível; 3 falha ao gravar ou imprimir.\n");
    return text;
}

} // namespace Batch
