// The register at an office's size. Not run by CI.
//   bench_register [clients] [slips] [--runs=N]
// 1. Finding a client: a register of 10,000 clients, the DARF page's name field, three letters
//    typed key by key, until the list under the field shows (the search runs on the register's
//    thread); then choosing the first row until the payer's fields are filled. Median of N.
// 2. The file's size after 10,000 slips recorded (half DARF, half GARE, typical texts).
#include "app/ClientCompletion.h"
#include "app/RegisterCommands.h"
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "storage/RegisterThread.h"
#include "storage/SqliteRegister.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

const char *const kWords[] = {"Padaria", "Oficina", "Comércio", "Indústria", "Transportes", "Mercado", "Farmácia",
                              "Construtora", "Papelaria", "Auto Peças", "Restaurante", "Distribuidora"};
const char *const kNames[] = {"São João", "Alves", "Conceição", "Souza", "Pereira", "Araújo", "Gonçalves", "Lima",
                              "Oliveira", "Santos", "Ribeiro", "Carvalho", "Barbosa", "Martins", "Rocha", "Teixeira"};

QString cnpj(int n)
{
    // The check digits do not matter to a search.
    return QStringLiteral("%1.%2.%3/0001-%4")
        .arg(n / 1000000 % 100, 2, 10, QLatin1Char('0'))
        .arg(n / 1000 % 1000, 3, 10, QLatin1Char('0'))
        .arg(n % 1000, 3, 10, QLatin1Char('0'))
        .arg(n % 97, 2, 10, QLatin1Char('0'));
}

TClient clientNumber(int n)
{
    TClient c;
    c.name = QStringLiteral("%1 %2 %3 Ltda")
                 .arg(QString::fromUtf8(kWords[n % 12]), QString::fromUtf8(kNames[n / 12 % 16]))
                 .arg(n);
    c.taxId = cnpj(n + 10000000);
    c.address = QStringLiteral("Rua %1, %2").arg(QString::fromUtf8(kNames[n % 16])).arg(n % 900 + 10);
    c.city = QStringLiteral("Campinas");
    c.uf = QStringLiteral("SP");
    c.phone = QStringLiteral("(19) 3232-%1").arg(n % 10000, 4, 10, QLatin1Char('0'));
    c.stateRegistration = QStringLiteral("110.042.490.114");
    return c;
}

TIssuedSlip slipNumber(int n)
{
    const TClient c = clientNumber(n % 10000);
    TIssuedSlip s;
    s.kind = n % 2 ? QStringLiteral("GARE") : QStringLiteral("DARF");
    s.payerName = c.name;
    s.payerTaxId = c.taxId;
    s.fields = {{QStringLiteral("nome"), c.name}, {QStringLiteral("cpf_cnpj"), c.taxId},
                {QStringLiteral("codigo_receita"), QStringLiteral("0220")},
                {QStringLiteral("vencimento"), QStringLiteral("20/%1/2026").arg(n % 12 + 1, 2, 10, QLatin1Char('0'))}};
    if (n % 2) {
        s.fields.insert(QStringLiteral("endereco"), c.address);
        s.fields.insert(QStringLiteral("municipio"), c.city);
        s.fields.insert(QStringLiteral("uf"), c.uf);
        s.fields.insert(QStringLiteral("telefone"), c.phone);
        s.fields.insert(QStringLiteral("inscricao_estadual"), c.stateRegistration);
        s.fields.insert(QStringLiteral("observacoes"), QStringLiteral("ICMS referente ao mês anterior"));
        s.fields.insert(QStringLiteral("valor_receita"), QStringLiteral("1.234,56"));
    } else {
        s.fields.insert(QStringLiteral("periodo_apuracao"), QStringLiteral("31/12/2025"));
        s.fields.insert(QStringLiteral("principal"), QStringLiteral("1.234,56"));
        s.fields.insert(QStringLiteral("multa"), QStringLiteral("24,69"));
    }
    s.total = QStringLiteral("1.259,25");
    s.mode = QStringLiteral("layout-cor");
    s.printer = QStringLiteral("Financeiro");
    s.jobId = n + 1;
    s.outcome = TIssueOutcome::Completed;
    s.issuedAt = QDateTime::currentDateTimeUtc();
    return s;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TZavenorApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int clients = args.size() > 1 && !args.at(1).startsWith(QLatin1String("--")) ? args.at(1).toInt() : 10000;
    const int slips = args.size() > 2 && !args.at(2).startsWith(QLatin1String("--")) ? args.at(2).toInt() : 10000;
    int runs = 15;
    for (const QString &a : args)
        if (a.startsWith(QLatin1String("--runs=")))
            runs = a.mid(7).toInt();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cadastro.db"));
    {
        TSqliteRegister r(path);
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < clients; ++i)
            r.SaveClient(clientNumber(i));
        std::printf("%d clients saved one by one: %.1f s\n", clients, t.elapsed() / 1000.0);
    }
    std::printf("file with %d clients: %lld bytes\n", clients, QFileInfo(path).size());

    TRegisterThread reg([path] { return std::make_unique<TSqliteRegister>(path); });
    TfrmZavenor w;
    w.SetRegister(&reg);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        std::printf("the window was not shown\n");
    QCompleter *list = w.RegisterCommands()->NameCompletion(true)->Completer();
    std::vector<double> shown, filled;
    int rowsShown = 0;
    const char *const prefixes[] = {"pad", "ofi", "com", "ind", "tra", "mer", "far", "con", "pap", "aut", "res", "dis",
                                    "sao", "alv", "sou"};
    for (int run = 0; run < runs; ++run) {
        w.EdNome->clear();
        w.EdNome->setFocus();
        QElapsedTimer t;
        t.start();
        QTest::keyClicks(w.EdNome, QString::fromLatin1(prefixes[run % 15]));
        while (!list->popup()->isVisible() && t.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        shown.push_back(t.nsecsElapsed() / 1e6);
        rowsShown = list->completionModel()->rowCount();
        t.restart();
        QTest::keyClick(list->popup(), Qt::Key_Down);
        QTest::keyClick(list->popup(), Qt::Key_Return);
        filled.push_back(t.nsecsElapsed() / 1e6);
        if (w.edCGCCPF->text().isEmpty())
            std::printf("run %d: the fields were not filled\n", run);
    }
    std::printf("three letters typed to the list shown (%d rows), median of %d: %.1f ms (min %.1f, max %.1f)\n",
                rowsShown, runs, median(shown), *std::min_element(shown.begin(), shown.end()),
                *std::max_element(shown.begin(), shown.end()));
    std::printf("row chosen to the payer's fields filled, median: %.2f ms\n", median(filled));

    {
        TSqliteRegister r(path);
        const qint64 before = QFileInfo(path).size();
        QList<TIssuedSlip> batch;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < slips; ++i) {
            batch.append(slipNumber(i));
            // As a batch of 200 rows records them.
            if (batch.size() == 200 || i == slips - 1) {
                r.RecordIssues(batch);
                batch.clear();
            }
        }
        const double seconds = t.elapsed() / 1000.0;
        const qint64 after = QFileInfo(path).size();
        std::printf("%d slips recorded in %.1f s; file %lld -> %lld bytes (%.0f bytes a slip)\n", slips, seconds,
                    before, after, double(after - before) / std::max(1, slips));
    }
    return 0;
}
