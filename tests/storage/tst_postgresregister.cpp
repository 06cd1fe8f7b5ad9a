// The register on a real PostgreSQL server started by the test itself.
#include "storage/PostgresRegister.h"
#include "storage/RegisterChoice.h"
#include "support/PrivatePostgres.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

class TestPostgresRegister : public QObject
{
    Q_OBJECT
    PrivatePostgres m_server;

    TServerSettings settings(const QString &database = QStringLiteral("postgres")) const
    {
        TServerSettings s;
        s.host = m_server.SocketFolder();
        s.port = m_server.Port();
        s.database = database;
        s.user = QStringLiteral("zavenor");
        return s;
    }
    void raw(const QString &database, const QString &sql)
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("raw"));
            db.setHostName(m_server.SocketFolder());
            db.setPort(m_server.Port());
            db.setUserName(QStringLiteral("zavenor"));
            db.setDatabaseName(database);
            QVERIFY2(db.open(), qPrintable(db.lastError().text()));
            QSqlQuery q(db);
            QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    }

private slots:
    void initTestCase() { QVERIFY2(m_server.IsRunning(), qPrintable("no private PostgreSQL: " + m_server.Error())); }

    // Created at version 1, brought up to date with its clients kept; a newer one is refused.
    void schemaUpgradesAndRefusesNewer()
    {
        raw(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE v1"));
        {
            TPostgresRegister old(settings(QStringLiteral("v1")), 1);
            QCOMPARE(old.ServerVersion(), 1);
        }
        raw(QStringLiteral("v1"), QStringLiteral(
            "INSERT INTO clients (name, tax_id, tax_key, state_registration, address, city, uf, phone, notes, "
            "updated_at) VALUES ('Açougue Conceição', '123.456.789-09', '12345678909', '', '', '', '', '', '', '')"));
        {
            TPostgresRegister r(settings(QStringLiteral("v1")));
            QCOMPARE(r.ServerVersion(), TPostgresRegister::SchemaVersion);
            QCOMPARE(r.FindClients(QStringLiteral("acougue"), 5).size(), 1);
        }
        raw(QStringLiteral("v1"), QStringLiteral("UPDATE zavenor_schema SET version = 99"));
        try {
            TPostgresRegister newer(settings(QStringLiteral("v1")));
            QFAIL("a newer schema was taken");
        } catch (const TStorageError &e) {
            QCOMPARE(e.What(), TStorageError::Newer);
        }
    }

    // Two workstations saving one client and recording slips at the same moment: one client, every slip.
    void twoWorkstationsAtOnce()
    {
        raw(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE escritorio"));
        TPostgresRegister(settings(QStringLiteral("escritorio")));
        const auto workstation = [this](int n) {
            TPostgresRegister r(settings(QStringLiteral("escritorio")));
            for (int i = 0; i < 50; ++i) {
                TClient c;
                c.name = QStringLiteral("Padaria %1").arg(n);
                c.taxId = i % 2 ? QStringLiteral("11.222.333/0001-81") : QStringLiteral("11222333000181");
                r.SaveClient(c);
                TIssuedSlip s;
                s.kind = QStringLiteral("DARF");
                s.payerTaxId = c.taxId;
                r.RecordIssue(s);
            }
        };
        std::thread other(workstation, 2);
        workstation(1);
        other.join();
        TPostgresRegister r(settings(QStringLiteral("escritorio")));
        QCOMPARE(r.FindClients(QStringLiteral("padaria"), 10).size(), 1);
        QCOMPARE(r.History({}).size(), 100);
    }

    // No server where it was said to be: our message with the server library's words.
    void unreachableServer()
    {
        TServerSettings s = settings();
        s.port = m_server.Port() + 1;
        try {
            TPostgresRegister r(s);
            QFAIL("connected to nothing");
        } catch (const TStorageError &e) {
            QCOMPARE(e.What(), TStorageError::Unreachable);
            QVERIFY2(e.Message().contains(QStringLiteral("Não foi possível falar com o servidor")), qPrintable(e.Message()));
        }
    }

    // [Banco] in the user's settings chooses the server; without it, the file of this machine.
    void settingsChooseTheRegister_data()
    {
        QTest::addColumn<bool>("server");
        QTest::newRow("server named") << true;
        QTest::newRow("nothing named") << false;
    }
    void settingsChooseTheRegister()
    {
        QFETCH(bool, server);
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("dados")).toUtf8());
        QDir().mkpath(home.filePath(QStringLiteral("Morvath")));
        QFile conf(home.filePath(QStringLiteral("Morvath/Zavenor.conf")));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        if (server)
            conf.write(QStringLiteral("[Banco]\nservidor=%1\nporta=%2\nbanco=postgres\nusuario=zavenor\n")
                           .arg(m_server.SocketFolder())
                           .arg(m_server.Port())
                           .toUtf8());
        conf.close();
        const std::unique_ptr<TRegister> r = RegisterChoice::Open();
        QCOMPARE(r->Location().contains(m_server.SocketFolder()), server);
        QCOMPARE(r->Location().endsWith(QLatin1String("zavenor.db")), !server);
    }
};

QTEST_GUILESS_MAIN(TestPostgresRegister)
#include "tst_postgresregister.moc"
