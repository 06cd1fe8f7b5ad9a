// A batch run with the register: rows that name only the payer's CPF/CNPJ take the rest from it,
// `--cadastrar` stores each row's payer, and every slip written is in the history.
#include "batch/BatchRunner.h"
#include "storage/SqliteRegister.h"

#include <QTemporaryDir>
#include <QtTest>

class TestBatchRegister : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    QString registerPath() const { return TSqliteRegister::DefaultPath(); }

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("dados")).toUtf8());
        TSqliteRegister r(registerPath());
        TClient c;
        c.name = QStringLiteral("Padaria São João Ltda");
        c.taxId = QStringLiteral("11.222.333/0001-81");
        c.city = QStringLiteral("Campinas");
        c.uf = QStringLiteral("SP");
        r.SaveClient(c);
    }

    void rowsUseTheRegister_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<bool>("enroll");
        QTest::addColumn<QString>("file");     // the PDF written: kind and CPF/CNPJ first, the payer last
        QTest::addColumn<QString>("told");     // on standard error, once
        QTest::addColumn<QString>("stored");   // the register's name for the row's CPF/CNPJ
        QTest::newRow("DARF, CPF/CNPJ only") << "DARF;;11222333000181;10,00;" << false
                                             << "DARF-11222333000181-Padaria São João Ltda.pdf"
                                             << "linha 2: contribuinte 11.222.333/0001-81 tirado do cadastro (Padaria São João Ltda)"
                                             << "Padaria São João Ltda";
        QTest::newRow("GARE, punctuated") << "GARE;;11.222.333/0001-81;;;10,00" << false
                                          << "GARE-11222333000181-Padaria São João Ltda.pdf" << "tirado do cadastro"
                                          << "Padaria São João Ltda";
        QTest::newRow("a name given is kept") << "DARF;Padaria Filial;11222333000181;10,00;" << false
                                              << "DARF-11222333000181-Padaria Filial.pdf" << "" << "Padaria São João Ltda";
        QTest::newRow("--cadastrar adds") << "GARE;Maria Souza;123.456.789-09;Santos;SP;10,00" << true
                                          << "GARE-12345678909-Maria Souza.pdf" << "" << "Maria Souza";
        QTest::newRow("not in the register") << "DARF;;98765432100;10,00;" << false << "DARF-98765432100.pdf" << "" << "";
    }
    void rowsUseTheRegister()
    {
        QFETCH(QString, row);
        QFETCH(bool, enroll);
        QFETCH(QString, file);
        QFETCH(QString, told);
        QFETCH(QString, stored);
        static int runs = 0;
        const QString folder = m_dir.filePath(QStringLiteral("lote%1").arg(++runs));
        const QString csv = folder + QStringLiteral(".csv");
        {
            QFile f(csv);
            QVERIFY(f.open(QIODevice::WriteOnly));
            const bool gare = row.startsWith(QLatin1String("GARE"));
            f.write((gare ? QStringLiteral("tipo;nome;cpf_cnpj;municipio;uf;valor_receita\n") : QStringLiteral("tipo;nome;cpf_cnpj;principal;juros\n")).toUtf8()
                    + row.toUtf8() + "\n");
        }
        const int before = int(TSqliteRegister(registerPath()).History({}).size());
        QStringList args{QStringLiteral("--lote"), csv, QStringLiteral("--pdf"), folder};
        if (enroll)
            args << QStringLiteral("--cadastrar");
        QString out, err;
        QTextStream o(&out), e(&err);
        QCOMPARE(Batch::Run(args, o, e, false), int(Batch::ExitOk));
        e.flush();
        QVERIFY2(QFile::exists(folder + QLatin1Char('/') + file), qPrintable(QDir(folder).entryList().join(", ")));
        QCOMPARE(err.count(QStringLiteral("tirado do cadastro")), told.isEmpty() ? 0 : 1);
        QVERIFY2(err.contains(told), qPrintable(err));
        TSqliteRegister r(registerPath());
        const std::optional<TClient> client = r.ClientByTaxId(row.section(QLatin1Char(';'), 2, 2));
        QCOMPARE(client ? client->name : QString(), stored);
        const QList<TIssuedSlip> history = r.History({});
        QCOMPARE(history.size(), before + 1);
        QCOMPARE(history.first().pdfPath, QFileInfo(folder + QLatin1Char('/') + file).absoluteFilePath());
        QCOMPARE(history.first().outcome, TIssueOutcome::Completed);
        QCOMPARE(history.first().mode, QStringLiteral("layout-cor"));
    }
};

QTEST_MAIN(TestBatchRegister)
#include "tst_batchregister.moc"
