// The register against real SQLite files in a temporary folder.
#include "storage/RegisterThread.h"
#include "storage/SqliteRegister.h"
#include "support/SmallDisk.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

Q_DECLARE_METATYPE(TStorageError::Kind)

namespace {

TClient client(const QString &name, const QString &taxId)
{
    TClient c;
    c.name = name;
    c.taxId = taxId;
    c.city = QStringLiteral("Campinas");
    c.uf = QStringLiteral("SP");
    return c;
}

TIssuedSlip slip(const QString &kind, const QString &taxId, const QString &due, TIssueOutcome outcome)
{
    TIssuedSlip s;
    s.kind = kind;
    s.payerName = QStringLiteral("Padaria São João Ltda");
    s.payerTaxId = taxId;
    s.fields = {{QStringLiteral("nome"), s.payerName}, {QStringLiteral("cpf_cnpj"), taxId},
                {QStringLiteral("vencimento"), due}, {QStringLiteral("principal"), QStringLiteral("1.234,56")}};
    s.total = QStringLiteral("1.234,56");
    s.mode = QStringLiteral("layout-cor");
    s.outcome = outcome;
    return s;
}

QByteArray digest(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

TStorageError::Kind openFailure(const QString &path)
{
    try {
        TSqliteRegister r(path);
    } catch (const TStorageError &e) {
        return e.What();
    }
    return TStorageError::Other;
}

} // namespace

class TestSqliteRegister : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

    QString file(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

private slots:
    // Typed as a clerk types: part of the name in any case or accents, digits with or without dots.
    void findsClients_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("part of the name") << "joão" << QStringList{"Padaria São João Ltda"};
        QTest::newRow("without accent, capitals") << "SAO JOAO" << QStringList{"Padaria São João Ltda"};
        QTest::newRow("shared word") << "ltda" << QStringList{"Oficina Alves Ltda", "Padaria São João Ltda"};
        QTest::newRow("bare digits") << "11222333" << QStringList{"Padaria São João Ltda"};
        QTest::newRow("punctuated digits") << "11.222.333/0001" << QStringList{"Padaria São João Ltda"};
        QTest::newRow("alphanumeric CNPJ") << "12abc345" << QStringList{"Oficina Alves Ltda"};
        QTest::newRow("percent is no wildcard") << "%" << QStringList{};
        QTest::newRow("nothing") << "Xavier" << QStringList{};
    }
    void findsClients()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, names);
        TSqliteRegister r(file("find.db"));
        if (r.FindClients(QString(), 10).isEmpty()) {
            r.SaveClient(client(QStringLiteral("Padaria São João Ltda"), QStringLiteral("11.222.333/0001-81")));
            r.SaveClient(client(QStringLiteral("Oficina Alves Ltda"), QStringLiteral("12.ABC.345/01DE-35")));
            r.SaveClient(client(QStringLiteral("Maria Souza"), QStringLiteral("123.456.789-09")));
            // The same CPF/CNPJ, punctuated otherwise, replaces rather than duplicates.
            TClient again = client(QStringLiteral("Padaria São João Ltda"), QStringLiteral("11222333000181"));
            again.phone = QStringLiteral("(19) 3232-0000");
            r.SaveClient(again);
        }
        QStringList found;
        for (const TClient &c : r.FindClients(typed, 10))
            found << c.name;
        QCOMPARE(found, names);
        QCOMPARE(r.FindClients(QString(), 10).size(), 3);
        QCOMPARE(r.ClientByTaxId(QStringLiteral("11222333000181"))->phone, QStringLiteral("(19) 3232-0000"));
    }

    // A file made by the first release is brought up to date, its clients kept and searchable.
    void upgradesFromVersionOne()
    {
        const QString path = file("v1.db");
        {
            TSqliteRegister old(path, 1);
            QCOMPARE(old.FileVersion(), 1);
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("v1"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral(
                "INSERT INTO clients (name, tax_id, tax_key, state_registration, address, city, uf, phone, notes, "
                "updated_at) VALUES ('Açougue Conceição', '123.456.789-09', '12345678909', '', '', '', '', '', '', '')")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("v1"));
        TSqliteRegister r(path);
        QCOMPARE(r.FileVersion(), TSqliteRegister::SchemaVersion);
        QCOMPARE(r.FindClients(QStringLiteral("acougue conceicao"), 5).size(), 1);
    }

    // Files that are not ours, or newer than this program, are refused and left as they were.
    void refusesFilesNotOurs_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TStorageError::Kind>("kind");
        QTest::newRow("a text file") << QString() << QByteArray("nome;cpf\nMaria;123\n") << TStorageError::Foreign;
        QTest::newRow("another program's database")
            << "CREATE TABLE notas (id INTEGER)" << QByteArray() << TStorageError::Foreign;
        QTest::newRow("a newer version") << "UPDATE zavenor_schema SET version = 99" << QByteArray()
                                         << TStorageError::Newer;
    }
    void refusesFilesNotOurs()
    {
        QFETCH(QString, sql);
        QFETCH(QByteArray, bytes);
        QFETCH(TStorageError::Kind, kind);
        const QString path = dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        if (!bytes.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        } else {
            if (sql.startsWith(QLatin1String("UPDATE")))
                TSqliteRegister made(path);
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(sql));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        const QByteArray before = digest(path);
        QCOMPARE(openFailure(path), kind);
        QCOMPARE(digest(path), before);
        QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    }

    // Two programs on one file: one waits for the other's write, then is told it stays locked;
    // once free, both write and each sees the other's clients.
    void twoConnectionsAtOnce()
    {
        const QString path = file("shared.db");
        TSqliteRegister first(path);
        TSqliteRegister second(path, TSqliteRegister::SchemaVersion, 200);
        {
            QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
            holder.setDatabaseName(path);
            QVERIFY(holder.open());
            QVERIFY(QSqlQuery(holder).exec(QStringLiteral("BEGIN IMMEDIATE")));
            try {
                second.SaveClient(client(QStringLiteral("Maria Souza"), QStringLiteral("123.456.789-09")));
                QFAIL("saved under another program's lock");
            } catch (const TStorageError &e) {
                QCOMPARE(e.What(), TStorageError::Locked);
                QVERIFY2(e.Message().contains(QLatin1String("bloqueado")), qPrintable(e.Message()));
            }
            QVERIFY(QSqlQuery(holder).exec(QStringLiteral("ROLLBACK")));
            holder.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        std::thread other([&path] {
            TSqliteRegister third(path);
            for (int i = 0; i < 50; ++i)
                third.RecordIssue(slip(QStringLiteral("GARE"), QStringLiteral("11222333000181"), QString(),
                                       TIssueOutcome::Completed));
        });
        for (int i = 0; i < 50; ++i)
            first.RecordIssue(slip(QStringLiteral("DARF"), QStringLiteral("11222333000181"), QString(),
                                   TIssueOutcome::Completed));
        second.SaveClient(client(QStringLiteral("Maria Souza"), QStringLiteral("123.456.789-09")));
        other.join();
        QCOMPARE(first.FindClients(QStringLiteral("maria"), 5).size(), 1);
        QCOMPARE(second.History({}).size(), 100);
    }

    // A full disk leaves no part of a batch's records, and the file usable afterwards.
    void fullDiskKeepsWholeRecords()
    {
        SmallDisk disk(file("small"), "256k");
        QVERIFY2(disk.Mounted(), "a tmpfs could not be mounted");
        const QString path = file("small/full.db");
        TSqliteRegister r(path);
        r.RecordIssue(slip(QStringLiteral("DARF"), QStringLiteral("11222333000181"), QString(), TIssueOutcome::Completed));
        QVERIFY(disk.FillLeaving(0));
        QList<TIssuedSlip> many;
        TIssuedSlip big = slip(QStringLiteral("GARE"), QStringLiteral("11222333000181"), QString(), TIssueOutcome::Completed);
        big.fields.insert(QStringLiteral("observacoes"), QString(400, QLatin1Char('x')));
        for (int i = 0; i < 500; ++i)
            many << big;
        try {
            r.RecordIssues(many);
            QFAIL("500 records fitted on a full disk");
        } catch (const TStorageError &e) {
            QCOMPARE(e.What(), TStorageError::Full);
        }
        QCOMPARE(r.History({}).size(), 1);
        QVERIFY(QFile::remove(file("small/filler")));
        r.RecordIssue(big);
        QCOMPARE(r.History({}).size(), 2);
    }

    void filtersHistory_data()
    {
        QTest::addColumn<QString>("payer");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("month");
        QTest::addColumn<int>("outcome"); // -1: any
        QTest::addColumn<int>("count");
        QTest::newRow("everything") << "" << "" << "" << -1 << 4;
        QTest::newRow("one client, punctuated") << "11.222.333/0001-81" << "" << "" << -1 << 3;
        QTest::newRow("kind") << "" << "GARE" << "" << -1 << 1;
        QTest::newRow("due month") << "" << "" << "01/2027" << -1 << 2;
        QTest::newRow("failed prints") << "" << "" << "" << int(TIssueOutcome::Failed) << 1;
        QTest::newRow("all at once") << "11222333000181" << "DARF" << "01/2027" << int(TIssueOutcome::Completed) << 1;
    }
    void filtersHistory()
    {
        QFETCH(QString, payer);
        QFETCH(QString, kind);
        QFETCH(QString, month);
        QFETCH(int, outcome);
        QFETCH(int, count);
        TSqliteRegister r(file("history.db"));
        if (r.History({}).isEmpty()) {
            const QString cnpj = QStringLiteral("11.222.333/0001-81");
            r.RecordIssues({slip(QStringLiteral("DARF"), cnpj, QStringLiteral("20/01/2027"), TIssueOutcome::Completed),
                            slip(QStringLiteral("DARF"), cnpj, QStringLiteral("20/12/2026"), TIssueOutcome::Failed),
                            slip(QStringLiteral("GARE"), cnpj, QStringLiteral("  /  /    "), TIssueOutcome::Unknown),
                            slip(QStringLiteral("DARF"), QStringLiteral("123.456.789-09"), QStringLiteral("31/01/2027"),
                                 TIssueOutcome::Cancelled)});
        }
        THistoryFilter filter;
        filter.payerTaxId = payer;
        filter.kind = kind;
        filter.dueMonth = month;
        if (outcome >= 0)
            filter.outcome = TIssueOutcome(outcome);
        const QList<TIssuedSlip> found = r.History(filter);
        QCOMPARE(found.size(), count);
        // Every field comes back as it was typed.
        for (const TIssuedSlip &s : found)
            QCOMPARE(s.fields.value(QStringLiteral("principal")), QStringLiteral("1.234,56"));
    }

    // A call that does not answer in time gives our message, and the thread goes on serving.
    void threadTimesOut()
    {
        const QString path = file("thread.db");
        TRegisterThread thread([path] { return std::make_unique<TSqliteRegister>(path); }, 200);
        try {
            thread.Run<int>([](TRegister &) {
                QThread::msleep(600);
                return 1;
            });
            QFAIL("no timeout");
        } catch (const TStorageError &e) {
            QCOMPARE(e.What(), TStorageError::Timeout);
        }
        // Once the slow call is over, the next one is served.
        QThread::msleep(600);
        QVERIFY(thread.Run<qint64>([](TRegister &r) {
            return r.SaveClient(client(QStringLiteral("Maria"), QStringLiteral("123.456.789-09")));
        }) > 0);
    }
};

QTEST_GUILESS_MAIN(TestSqliteRegister)
#include "tst_sqliteregister.moc"
