// The register on a PostgreSQL server the benchmark starts itself (as the tests do). Not run by CI.
//   bench_serverregister [clients] [--runs=N]
// A search among 10,000 clients (three letters, as the window sends it; median of N), and 1,000
// slips recorded one by one from two workstations at once (500 each, each its own connection).
#include "storage/PostgresRegister.h"
#include "tests/support/PrivatePostgres.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int clients = args.size() > 1 && !args.at(1).startsWith(QLatin1String("--")) ? args.at(1).toInt() : 10000;
    int runs = 15;
    for (const QString &a : args)
        if (a.startsWith(QLatin1String("--runs=")))
            runs = a.mid(7).toInt();
    PrivatePostgres server;
    if (!server.IsRunning()) {
        std::printf("no server: %s\n", qPrintable(server.Error()));
        return 1;
    }
    TServerSettings s;
    s.host = server.SocketFolder();
    s.port = server.Port();
    s.database = QStringLiteral("postgres");
    s.user = QStringLiteral("zavenor");
    const char *const words[] = {"Padaria", "Oficina", "Comércio", "Indústria", "Transportes", "Mercado"};
    {
        TPostgresRegister r(s);
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < clients; ++i) {
            TClient c;
            c.name = QStringLiteral("%1 Souza %2 Ltda").arg(QString::fromUtf8(words[i % 6])).arg(i);
            c.taxId = QStringLiteral("%1").arg(10000000000000LL + i);
            c.city = QStringLiteral("Campinas");
            r.SaveClient(c);
        }
        std::printf("%d clients saved one by one: %.1f s\n", clients, t.elapsed() / 1000.0);
        const char *const prefixes[] = {"pad", "ofi", "com", "ind", "tra", "mer"};
        std::vector<double> searches;
        for (int run = 0; run < runs; ++run) {
            t.restart();
            const int found = int(r.FindClients(QString::fromLatin1(prefixes[run % 6]), 20).size());
            searches.push_back(t.nsecsElapsed() / 1e6);
            if (found != 20)
                std::printf("run %d found %d\n", run, found);
        }
        std::sort(searches.begin(), searches.end());
        std::printf("search of three letters among %d clients (20 rows), median of %d: %.2f ms (min %.2f, max %.2f)\n",
                    clients, runs, searches[searches.size() / 2], searches.front(), searches.back());
    }
    const auto workstation = [&s](int n) {
        TPostgresRegister r(s);
        for (int i = 0; i < 500; ++i) {
            TIssuedSlip slip;
            slip.kind = QStringLiteral("DARF");
            slip.payerName = QStringLiteral("Padaria Souza %1 Ltda").arg(i);
            slip.payerTaxId = QStringLiteral("%1").arg(10000000000000LL + i);
            slip.fields = {{QStringLiteral("nome"), slip.payerName}, {QStringLiteral("principal"), QStringLiteral("1.234,56")},
                           {QStringLiteral("vencimento"), QStringLiteral("20/01/2027")}};
            slip.total = QStringLiteral("1.234,56");
            slip.printer = QStringLiteral("Financeiro%1").arg(n);
            slip.outcome = TIssueOutcome::Completed;
            r.RecordIssue(slip);
        }
    };
    QElapsedTimer t;
    t.start();
    std::thread other(workstation, 2);
    workstation(1);
    other.join();
    const double seconds = t.elapsed() / 1000.0;
    THistoryFilter all;
    all.limit = 5000;
    std::printf("1,000 slips recorded from two workstations at once (500 each, one transaction a slip): %.2f s; "
                "history holds %lld\n",
                seconds, qlonglong(TPostgresRegister(s).History(all).size()));
    return 0;
}
