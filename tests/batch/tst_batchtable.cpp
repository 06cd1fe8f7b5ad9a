// A spreadsheet's text read as the slips' entries: decoding, separators and quotes, then the
// checks typing into the window makes, and the texts the window would show.

#include "batch/BatchTable.h"
#include "batch/CsvReader.h"

#include <QtTest>

class TestBatchTable : public QObject
{
    Q_OBJECT

private slots:
    void readsSpreadsheetFiles_data();
    void readsSpreadsheetFiles();
    void refusesWhatIsNoTable_data();
    void refusesWhatIsNoTable();
    void refusesHeaders_data();
    void refusesHeaders();
    void judgesRows_data();
    void judgesRows();
    void showsWhatTheWindowShows_data();
    void showsWhatTheWindowShows();
    void warnsOfCheckDigits_data();
    void warnsOfCheckDigits();
    void computesOrChecksLateCharges_data();
    void computesOrChecksLateCharges();
};

namespace {

QList<TCsvRecord> readAll(const QByteArray &bytes, QString *error = nullptr)
{
    TCsvReader reader;
    QString reason;
    QList<TCsvRecord> records;
    if (!reader.OpenBytes(bytes, &reason)) {
        if (error)
            *error = reason;
        return records;
    }
    TCsvRecord record;
    while (reader.Next(record))
        records << record;
    if (error)
        *error = !reader.Error().isEmpty() || reader.Faults().isEmpty()
                     ? reader.Error()
                     : QStringLiteral("linha %1: %2").arg(reader.Faults().first().row).arg(reader.Faults().first().reason);
    return records;
}

// The row's slip from a header line and a row line, with the issues as the user reads them.
QStringList issuesOf(const QByteArray &csv, TBatchSlip *slip = nullptr)
{
    const QList<TCsvRecord> records = readAll(csv);
    TBatchTable table;
    QString error;
    if (records.size() < 2 || !table.ReadHeader(records[0].fields, &error))
        return {QStringLiteral("unreadable: ") + error};
    QList<TBatchIssue> errors, warnings;
    TBatchSlip read;
    table.ReadRow(records[1], read, errors, warnings);
    if (slip)
        *slip = read;
    QStringList out;
    for (const TBatchIssue &issue : errors)
        out << issue.Text();
    return out;
}

} // namespace

void TestBatchTable::readsSpreadsheetFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("secondRecord");
    QTest::addColumn<int>("records");

    QTest::newRow("utf-8 with its mark, semicolons, CR LF")
        << QByteArray("\xEF\xBB\xBFtipo;nome\r\nDARF;Jo\xC3\xA3o\r\n") << QStringList{"DARF", "João"} << 2;
    // 0xE9 and 0x80 are no UTF-8: what a Brazilian spreadsheet saves, where 0x80 is the euro.
    QTest::newRow("windows-1252, commas") << QByteArray("tipo,nome\nGARE,Jos\xE9 \x80\n")
                                          << QStringList{"GARE", "José €"} << 2;
    QTest::newRow("a comma in a semicolon file is text")
        << QByteArray("tipo;nome\nDARF;Silva, Jo\xC3\xA3o\n") << QStringList{"DARF", "Silva, João"} << 2;
    QTest::newRow("quoted separator, line break and doubled quote")
        << QByteArray("tipo;observacoes\nGARE;\"a;b\r\nlinha 2 \"\"x\"\"\"\nDARF;\n")
        << QStringList{"GARE", "a;b\r\nlinha 2 \"x\""} << 3;
    QTest::newRow("no line break at the end") << QByteArray("tipo;nome\nDARF;Z") << QStringList{"DARF", "Z"} << 2;
}

void TestBatchTable::readsSpreadsheetFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, secondRecord);
    QFETCH(int, records);
    QString error;
    const QList<TCsvRecord> read = readAll(bytes, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(read.size(), records);
    QCOMPARE(read[1].fields, secondRecord);
    // Rows count records, not text lines: the header is row 1 whatever a memo holds.
    for (int i = 0; i < read.size(); ++i)
        QCOMPARE(read[i].row, i + 1);
}

void TestBatchTable::refusesWhatIsNoTable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << "vazio";
    QTest::newRow("blank lines only") << QByteArray("\r\n \n") << "vazio";
    QTest::newRow("a byte mark alone") << QByteArray("\xEF\xBB\xBF") << "vazio";
    QTest::newRow("binary") << QByteArray("tipo;nome\nDARF;\0\1\2", 17) << "bytes nulos";
    QTest::newRow("quote left open") << QByteArray("tipo;nome\nDARF;\"Jo\xC3\xA3o\n") << "linha 2: aspas";
    QTest::newRow("stray quote") << QByteArray("tipo;nome\nDARF;Jo\"\"\"ao\"\n") << "linha 2: aspas";
}

void TestBatchTable::refusesWhatIsNoTable()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QString error;
    readAll(bytes, &error);
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void TestBatchTable::refusesHeaders_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QString>("reason");
    QTest::newRow("unknown column") << QByteArray("tipo;nome;apelido") << "coluna desconhecida no cabeçalho: \"apelido\"";
    QTest::newRow("no type") << QByteArray("nome;principal") << "não tem a coluna tipo";
    QTest::newRow("repeated") << QByteArray("tipo;nome;NOME") << "nome aparece duas vezes";
    QTest::newRow("alias and name both") << QByteArray("tipo;cgc_cpf;cpf_cnpj") << "cpf_cnpj aparece duas vezes";
    QTest::newRow("unnamed") << QByteArray("tipo;;nome") << "sem nome (coluna 2)";
}

void TestBatchTable::refusesHeaders()
{
    QFETCH(QByteArray, header);
    QFETCH(QString, reason);
    const QList<TCsvRecord> records = readAll(header + "\n");
    QCOMPARE(records.size(), 1);
    TBatchTable table;
    QString error;
    QVERIFY(!table.ReadHeader(records[0].fields, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void TestBatchTable::judgesRows_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("issues");
    const QByteArray darf = "tipo;nome;vencimento;periodo_apuracao;principal;multa;juros;total\n";
    const QByteArray gare = "tipo;nome;uf;tributo_receita;observacoes;vencimento;valor_receita;cae\n";

    QTest::newRow("good darf") << darf + "DARF;A;10/01/2026;31/12/2025;1.234,56;1234,56;0,5;2.469,62\n" << QStringList();
    QTest::newRow("blanks are fine") << darf + "DARF;;;;1,00;;;\n" << QStringList();
    QTest::newRow("impossible day") << darf + "DARF;A;31/02/2026;;1,00;;;\n"
                                    << QStringList{"linha 2, coluna vencimento: a data 31/02/2026 não existe"};
    QTest::newRow("before 1900") << darf + "DARF;A;31/12/1899;;;;;\n"
                                 << QStringList{"linha 2, coluna vencimento: data inválida \"31/12/1899\": menor que 01/01/1900"};
    QTest::newRow("1900 passes") << darf + "DARF;A;01/01/1900;;1,00;;;\n" << QStringList();
    QTest::newRow("date in another form") << darf + "DARF;A;2026-01-10;5/1/26;1,00;;;\n"
                                          << QStringList{"linha 2, coluna vencimento: data inválida \"2026-01-10\" (escreva DD/MM/AAAA)",
                                                         "linha 2, coluna periodo_apuracao: data inválida \"5/1/26\" (escreva DD/MM/AAAA)"};
    QTest::newRow("three decimals, US form, letters")
        << darf + "DARF;A;;;1,234;1,234.56;dez;\n"
        << QStringList{"linha 2, coluna principal: valor inválido \"1,234\" (escreva 1.234,56 ou 1234,56, com até duas casas decimais)",
                       "linha 2, coluna multa: valor inválido \"1,234.56\" (escreva 1.234,56 ou 1234,56, com até duas casas decimais)",
                       "linha 2, coluna juros: valor inválido \"dez\" (escreva 1.234,56 ou 1234,56, com até duas casas decimais)"};
    QTest::newRow("misgrouped thousands") << darf + "DARF;A;;;12.34,00;;;\n"
                                          << QStringList{"linha 2, coluna principal: valor inválido \"12.34,00\" (escreva 1.234,56 ou 1234,56, com até duas casas decimais)"};
    QTest::newRow("total that does not agree") << darf + "DARF;A;;;100,00;1,00;;101,10\n"
                                               << QStringList{"linha 2, coluna total: o total informado 101,10 não confere com a soma dos valores, 101,00"};
    QTest::newRow("total beyond currency")
        << darf + "DARF;A;;;900000000000000,00;900000000000000,00;;\n"
        << QStringList{"linha 2, coluna total: O valor total ultrapassa o maior valor monetário aceito (922.337.203.685.477,5807)."};
    QTest::newRow("darf name of 51 passes") << darf + "DARF;" + QByteArray(51, 'n') + ";;;1,00;;;\n" << QStringList();
    // 51 wide capitals run past the printed box of field 01, which holds 33.
    QTest::newRow("darf name of 51 capitals") << darf + "DARF;" + QByteArray(51, 'W') + ";;;1,00;;;\n"
        << QStringList{"linha 2, coluna nome: o texto não cabe no quadro do campo no documento impresso: sobram cerca de 17 caracteres"};
    QTest::newRow("darf name of 52") << darf + "DARF;" + QByteArray(52, 'N') + ";;;1,00;;;\n"
                                     << QStringList{"linha 2, coluna nome: 52 caracteres; o campo aceita no máximo 51"};
    QTest::newRow("gare name of 60 passes, accents count once")
        << gare + "GARE;" + QString(60, QChar(0xC7)).toUtf8() + ";SP;;;;1,00;\n" << QStringList();
    QTest::newRow("state of three letters") << gare + "GARE;A;SPX;;;;;\n"
                                            << QStringList{"linha 2, coluna uf: 3 caracteres; o campo aceita no máximo 2"};
    QTest::newRow("line break in a one-line field") << gare + "GARE;\"A\nB\";SP;;;;;\n"
                                                    << QStringList{"linha 2, coluna nome: quebra de linha num campo de uma só linha"};
    // CR LF inside a memo is one line break, as the memo keeps it: 49 + 1 + 50 = 100.
    QTest::newRow("memo of 100 with CR LF passes")
        << gare + "GARE;A;SP;\"" + QByteArray("aaaa ").repeated(9) + "aaaa\r\n" + QByteArray("aaaa ").repeated(9) + "aaaaa\";;;1,00;\n" << QStringList();
    QTest::newRow("memo rows past its box")
        << gare + "GARE;A;SP;\"a\nb\nc\";;;;\n"
        << QStringList{"linha 2, coluna tributo_receita: o texto não cabe no quadro do campo no documento impresso: sobram cerca de 2 caracteres"};
    QTest::newRow("memo of 101") << gare + "GARE;A;SP;\"" + QByteArray(99, 'x') + "\ny\";;;;\n"
                                 << QStringList{"linha 2, coluna tributo_receita: 101 caracteres; o campo aceita no máximo 100"};
    QTest::newRow("observations of 401") << gare + "GARE;A;SP;;" + QByteArray(401, 'o') + ";;;\n"
                                         << QStringList{"linha 2, coluna observacoes: 401 caracteres; o campo aceita no máximo 400"};
    QTest::newRow("a gare column on a darf") << gare + "DARF;A;SP;;;;;\n"
                                             << QStringList{"linha 2, coluna uf: o DARF não tem este campo; deixe-o em branco"};
    QTest::newRow("a blank gare column on a darf") << QByteArray("tipo;nome;uf;principal\ndarf;A;;1,00\n") << QStringList();
    QTest::newRow("unknown kind") << gare + "GAREX;A;SP;;;;;\n"
                                  << QStringList{"linha 2, coluna tipo: tipo \"GAREX\" desconhecido (escreva DARF ou GARE)"};
    QTest::newRow("more fields than columns") << QByteArray("tipo;nome\nDARF;A;B\n")
                                              << QStringList{"linha 2: a linha tem 3 campos e o cabeçalho, 2 colunas"};
    QTest::newRow("fewer fields are blanks") << QByteArray("tipo;principal;nome\nDARF;1,00\n") << QStringList();
    QTest::newRow("short row without an amount")
        << QByteArray("tipo;nome;vencimento;principal;multa;juros\nDARF;R9 POUCAS COLUNAS;30/11/2026\n")
        << QStringList{"linha 2: o DARF não tem nenhum valor (principal, multa, juros)"};
    QTest::newRow("negative amount") << darf + "DARF;A;;;-10,00;R$ -1,00;;\n"
        << QStringList{"linha 2, coluna principal: valor negativo \"-10,00\": a guia não aceita valores negativos",
                       "linha 2, coluna multa: valor negativo \"R$ -1,00\": a guia não aceita valores negativos"};
    QTest::newRow("one amount beyond the limit") << darf + "DARF;A;;;1,00;;999.999.999.999.999.999,00;\n"
        << QStringList{"linha 2, coluna juros: valor \"999.999.999.999.999.999,00\" acima do maior valor aceito, 922.337.203.685.477,58"};
    QTest::newRow("numbers a spreadsheet turned scientific")
        << QByteArray("tipo;cpf_cnpj;principal\nDARF;1,12223E+13;1,5E+3\n")
        << QStringList{"linha 2, coluna cpf_cnpj: número em notação científica \"1,12223E+13\": a planilha converteu o texto em número; formate a coluna como texto e digite os valores de novo",
                       "linha 2, coluna principal: número em notação científica \"1,5E+3\": a planilha converteu o texto em número; formate a coluna como texto e digite os valores de novo"};
}

void TestBatchTable::judgesRows()
{
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, issues);
    QCOMPARE(issuesOf(csv), issues);
}

void TestBatchTable::showsWhatTheWindowShows_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("shown"); // principal or revenue, total, due date, name
    const QByteArray darf = "tipo;nome;vencimento;principal;multa;juros\n";
    QTest::newRow("grouped with two decimals") << darf + "DARF;A;05/11/2004;1234,5;;\n"
                                               << QStringList{"1.234,50", "1.234,50", "05/11/2004", "A"};
    QTest::newRow("cents carry into millions") << darf + "DARF;A;;999.999,99;0,01;\n"
                                               << QStringList{"999.999,99", "1.000.000,00", "  /  /    ", "A"};
    QTest::newRow("tenths add exactly") << darf + "DARF;A;;0,10;0,20;0,00\n"
                                        << QStringList{"0,10", "0,30", "  /  /    ", "A"};
    QTest::newRow("currency sign, blanks and d/m/aaaa") << darf + "DARF;A;5/1/2026;R$ 1.234,56 ;R$\xC2\xA0" "10;\n"
                                                        << QStringList{"1.234,56", "1.244,56", "05/01/2026", "A"};
    // Blanks inside a name print as typed; the field keeps them too.
    QTest::newRow("name as typed") << darf + "DARF;  A  B ;;;;0\n" << QStringList{"0,00", "0,00", "  /  /    ", "  A  B "};
    QTest::newRow("gare sums four amounts")
        << QByteArray("tipo;valor_receita;juros_mora;multa_mora;honorarios;vencimento\nGARE;100,00;1,50;2,00;10,00;01/02/2026\n")
        << QStringList{"100,00", "113,50", "01/02/2026", ""};
}

void TestBatchTable::showsWhatTheWindowShows()
{
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, shown);
    TBatchSlip slip;
    QCOMPARE(issuesOf(csv, &slip), QStringList());
    if (slip.kind == TSlipKind::Darf)
        QCOMPARE((QStringList{slip.darf.ValPrinc, slip.darf.Total, slip.darf.DtVenc, slip.darf.Nome}), shown);
    else
        QCOMPARE((QStringList{slip.gare.neValRecG, slip.gare.LbTotalG, slip.gare.MEDTVencG, slip.gare.EdNomeG}), shown);
}

void TestBatchTable::warnsOfCheckDigits_data()
{
    QTest::addColumn<QByteArray>("row");
    QTest::addColumn<QString>("warning"); // empty: none
    QTest::addColumn<QString>("printed"); // what the number prints as
    QTest::newRow("darf, valid bare cpf punctuated") << QByteArray("DARF;12345678909;;1;") << "" << "123.456.789-09";
    QTest::newRow("darf, wrong cnpj") << QByteArray("DARF;12.345.678/0001-00;;1;") << "linha 2, coluna cpf_cnpj: CNPJ"
                                      << "12.345.678/0001-00";
    QTest::newRow("gare, wrong cpf") << QByteArray("GARE;123.456.789-00;;;1") << "linha 2, coluna cpf_cnpj: CPF"
                                     << "123.456.789-00";
    QTest::newRow("gare, wrong state registration") << QByteArray("GARE;;110.042.490.115;;1")
                                                    << "linha 2, coluna inscricao_estadual:" << "";
    QTest::newRow("free text is not judged") << QByteArray("DARF;isento;;1;") << "" << "isento";
    // A spreadsheet drops the leading zeros of a number: 012.345.678-90 becomes 12345678909's kin.
    QTest::newRow("cpf short of a zero") << QByteArray("DARF;1234567890;;1;")
        << "linha 2, coluna cpf_cnpj: CPF de 10 dígitos, completado com zeros à esquerda: 012.345.678-90"
        << "012.345.678-90";
    QTest::newRow("cnpj short of two zeros, wrong digits") << QByteArray("GARE;123456000100;;;1")
        << "linha 2, coluna cpf_cnpj: CNPJ de 12 dígitos, completado com zeros à esquerda: 00123456000100; CNPJ"
        << "00123456000100";
}

void TestBatchTable::warnsOfCheckDigits()
{
    QFETCH(QByteArray, row);
    QFETCH(QString, warning);
    QFETCH(QString, printed);
    const QList<TCsvRecord> records = readAll("tipo;cpf_cnpj;inscricao_estadual;juros;juros_mora\n" + row + "\n");
    TBatchTable table;
    QString error;
    QVERIFY(table.ReadHeader(records[0].fields, &error));
    QList<TBatchIssue> errors, warnings;
    TBatchSlip slip;
    // A warning never stops the row.
    QVERIFY(table.ReadRow(records[1], slip, errors, warnings));
    QCOMPARE(warnings.size(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty())
        QVERIFY2(warnings[0].Text().startsWith(warning), qPrintable(warnings[0].Text()));
    QCOMPARE(slip.kind == TSlipKind::Darf ? slip.darf.CGCCPF : slip.gare.EDCGCG, printed);
}

void TestBatchTable::computesOrChecksLateCharges_data()
{
    QTest::addColumn<QByteArray>("row"); // principal;vencimento;multa;juros;data_pagamento
    QTest::addColumn<QStringList>("shown"); // 08, 09 and the total
    QTest::addColumn<QString>("error");     // start of the row's error; empty: none
    QTest::addColumn<QString>("warning");   // the row's warning; empty: none
    const QStringList example{"246,91", "165,06", "1.646,53"};
    QTest::newRow("blank fine and interest computed") << QByteArray("DARF;1.234,56;31/01/2024;;;15/04/2025") << example
                                                      << "" << "";
    QTest::newRow("given and equal") << QByteArray("DARF;1.234,56;31/01/2024;246,91;165,06;15/04/2025") << example
                                     << "" << "";
    QTest::newRow("given and different: a warning naming both")
        << QByteArray("DARF;1.234,56;31/01/2024;200,00;;15/04/2025") << QStringList{"200,00", "165,06", "1.599,62"} << ""
        << "linha 2, coluna multa: informado 200,00, calculado 246,91 para o pagamento em 15/04/2025 "
           "(20,00 % por 440 dias de atraso)";
    QTest::newRow("paid on the due date") << QByteArray("DARF;1.234,56;31/01/2024;;;31/01/2024")
                                          << QStringList{"0,00", "0,00", "1.234,56"} << "" << "";
    QTest::newRow("a month the table lacks") << QByteArray("DARF;1.234,56;15/03/2025;;;10/07/2025") << QStringList()
                                             << "linha 2, coluna data_pagamento: falta a taxa Selic de 05/2025" << "";
    QTest::newRow("unchecked values still print") << QByteArray("DARF;1.234,56;15/03/2025;10,00;5,00;10/07/2025")
                                                  << QStringList{"10,00", "5,00", "1.249,56"} << ""
                                                  << "linha 2, coluna data_pagamento: falta a taxa Selic de 05/2025";
    QTest::newRow("no due date") << QByteArray("DARF;1.234,56;;;;15/04/2025") << QStringList()
                                 << "linha 2, coluna data_pagamento: sem a data do vencimento" << "";
    QTest::newRow("impossible payment date") << QByteArray("DARF;1.234,56;31/01/2024;;;31/02/2025") << QStringList()
                                             << "linha 2, coluna data_pagamento: a data 31/02/2025 não existe" << "";
    QTest::newRow("the gare has no payment date") << QByteArray("GARE;;;;;15/04/2025") << QStringList()
                                                  << "linha 2, coluna data_pagamento: o GARE não tem este campo" << "";
}

void TestBatchTable::computesOrChecksLateCharges()
{
    QFETCH(QByteArray, row);
    QFETCH(QStringList, shown);
    QFETCH(QString, error);
    QFETCH(QString, warning);
    const QList<TCsvRecord> records = readAll("tipo;principal;vencimento;multa;juros;data_pagamento\n" + row + "\n");
    TBatchTable table;
    table.SetSelicTable(TSelicTable::Shipped());
    QString headerError;
    QVERIFY2(table.ReadHeader(records[0].fields, &headerError), qPrintable(headerError));
    QList<TBatchIssue> errors, warnings;
    TBatchSlip slip;
    QCOMPARE(table.ReadRow(records[1], slip, errors, warnings), error.isEmpty());
    QCOMPARE(errors.size(), error.isEmpty() ? 0 : 1);
    if (!error.isEmpty()) {
        QVERIFY2(errors[0].Text().startsWith(error), qPrintable(errors[0].Text()));
        return;
    }
    QCOMPARE(warnings.size(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty())
        QVERIFY2(warnings[0].Text().startsWith(warning), qPrintable(warnings[0].Text()));
    QCOMPARE((QStringList{slip.darf.ValMulta, slip.darf.ValJuros, slip.darf.Total}), shown);
}

QTEST_MAIN(TestBatchTable)
#include "tst_batchtable.moc"
