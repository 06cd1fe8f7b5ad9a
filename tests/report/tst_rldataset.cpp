// A Qt item model as the records of a report: lazily fetching models are read to their true end.

#include "report/RLDataSet.h"
#include "report/RLReport.h"
#include "report/output/RLFeedBack.h"
#include "support/FakePrinterService.h"

#include <QAbstractTableModel>
#include <QProgressBar>
#include <QStandardItemModel>
#include <QtTest>

namespace {

// Rows computed on demand and handed out three at a time, like an SQL query model.
class LazyModel : public QAbstractTableModel
{
public:
    explicit LazyModel(int total) : m_total(total) {}
    int fetches = 0;
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_fetched; }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || index.row() >= m_fetched)
            return {};
        return index.column() == 0 ? QVariant(index.row() + 1) : QVariant(QString("nome %1").arg(index.row() + 1));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return section == 0 ? "Codigo" : "Nome";
    }
    bool canFetchMore(const QModelIndex &parent) const override { return !parent.isValid() && m_fetched < m_total; }
    void fetchMore(const QModelIndex &parent) override
    {
        if (parent.isValid())
            return;
        const int more = qMin(3, m_total - m_fetched);
        beginInsertRows({}, m_fetched, m_fetched + more - 1);
        m_fetched += more;
        endInsertRows();
        ++fetches;
    }

private:
    int m_total;
    int m_fetched = 0;
};

} // namespace

class TestRLDataSet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void walksALazyModelToItsEnd_data();
    void walksALazyModelToItsEnd();
    void fieldsByName();
    void fieldNamesFollowTheModel_data();
    void fieldNamesFollowTheModel();
    void reportReadsTheModel_data();
    void reportReadsTheModel();
    void progressBarOfTheRecords_data();
    void progressBarOfTheRecords();
};

void TestRLDataSet::initTestCase()
{
    SetRLPrinterService(std::make_unique<FakePrinterService>(std::make_shared<FakePrinterState>()));
}

void TestRLDataSet::walksALazyModelToItsEnd_data()
{
    QTest::addColumn<int>("total");
    QTest::newRow("empty") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("one batch") << 3;
    QTest::newRow("several batches, last one short") << 10;
}

void TestRLDataSet::walksALazyModelToItsEnd()
{
    QFETCH(int, total);
    {
        // Walking: the end is only reported once nothing more can be fetched.
        LazyModel model(total);
        TRLModelDataSet data(&model);
        QVERIFY(data.Eof()); // closed: no data
        data.Open();
        QList<int> codes;
        for (data.First(); !data.Eof(); data.Next())
            codes << data.FieldValue("Codigo").toInt();
        QCOMPARE(codes.size(), total);
        if (total)
            QCOMPARE(codes.last(), total);
        QCOMPARE(data.RecordCount(), total);
    }
    {
        // Counting first: the whole model is fetched.
        LazyModel model(total);
        TRLModelDataSet data(&model);
        QCOMPARE(data.RecordCount(), 0);
        data.Open();
        QCOMPARE(data.RecordCount(), total);
        QCOMPARE(model.fetches, (total + 2) / 3);
    }
}

void TestRLDataSet::fieldsByName()
{
    LazyModel model(2);
    TRLModelDataSet data(&model);
    data.Open();
    data.First();
    QVERIFY(data.HasField("nome"));
    QVERIFY(!data.HasField("Cidade"));
    QCOMPARE(data.FieldValue("NOME").toString(), QStringLiteral("nome 1"));
    QVERIFY(!data.FieldValue("Cidade").isValid());
    data.Next();
    data.Next();
    QVERIFY(data.Eof());
    QVERIFY(!data.FieldValue("Nome").isValid()); // past the end
    data.SetModel(nullptr);
    QVERIFY(data.Eof());
    QVERIFY(!data.HasField("Nome"));
}

void TestRLDataSet::fieldNamesFollowTheModel_data()
{
    // A model of one row "a b c" under the headers "Codigo Nome Cidade", changed after a first
    // lookup; the fields are then read by these names.
    QTest::addColumn<int>("change");
    QTest::addColumn<QString>("expected"); // the values of Codigo, Nome, Cidade ("-" for none)
    QTest::newRow("unchanged") << 0 << "a b c";
    QTest::newRow("header renamed") << 1 << "a - c";
    QTest::newRow("column inserted in front") << 2 << "a b c";
    QTest::newRow("column removed") << 3 << "- b c";
    QTest::newRow("columns moved") << 4 << "a b c";
    QTest::newRow("model reset") << 5 << "- - -";
}

void TestRLDataSet::fieldNamesFollowTheModel()
{
    QFETCH(int, change);
    QFETCH(QString, expected);
    QStandardItemModel model(1, 3);
    model.setHorizontalHeaderLabels({"Codigo", "Nome", "Cidade"});
    for (int c = 0; c < 3; ++c)
        model.setItem(0, c, new QStandardItem(QString(QChar('a' + c))));
    TRLModelDataSet data(&model);
    data.Open();
    data.First();
    QCOMPARE(data.FieldValue("nome").toString(), QStringLiteral("b"));
    switch (change) {
    case 1: model.setHeaderData(1, Qt::Horizontal, "Apelido"); break;
    case 2:
        model.insertColumn(0, {new QStandardItem("z")});
        model.setHeaderData(0, Qt::Horizontal, "Extra");
        break;
    case 3: model.removeColumn(0); break;
    case 4: model.moveColumn({}, 2, {}, 0); break;
    case 5: model.clear(); break;
    }
    QStringList got;
    for (const char *name : {"Codigo", "Nome", "Cidade"}) {
        const QVariant v = data.FieldValue(name);
        got << (v.isValid() ? v.toString() : "-");
    }
    QCOMPARE(got.join(' '), expected);
}

void TestRLDataSet::reportReadsTheModel_data()
{
    QTest::addColumn<int>("range");
    QTest::addColumn<int>("rangeCount");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("printed");
    QTest::newRow("all records") << int(rrAllRecords) << 0 << 0 << true << "1 2 3 4 5 6 7";
    QTest::newRow("all records start at the first") << int(rrAllRecords) << 0 << 2 << true << "1 2 3 4 5 6 7";
    QTest::newRow("until the end from the current") << int(rrUntilEof) << 0 << 2 << true << "3 4 5 6 7";
    QTest::newRow("next two from the current") << int(rrNextN) << 2 << 4 << true << "5 6";
    QTest::newRow("current only") << int(rrCurrentOnly) << 0 << 1 << true << "2";
    QTest::newRow("closed data set") << int(rrAllRecords) << 0 << 0 << false << "";
}

void TestRLDataSet::reportReadsTheModel()
{
    QFETCH(int, range);
    QFETCH(int, rangeCount);
    QFETCH(int, skipped);
    QFETCH(bool, open);
    QFETCH(QString, printed);
    QObject form;
    LazyModel model(7);
    TRLModelDataSet data(&model);
    if (open)
        data.Open();
    for (int i = 0; i < skipped; ++i)
        data.Next();
    auto *report = new TRLReport(&form);
    report->SetShowProgress(false);
    report->SetDataSource(&data);
    report->SetRecordRange(TRLRecordRange(range));
    report->SetRangeCount(rangeCount);
    int counted = -1;
    auto *detail = new TRLBand(&form);
    detail->SetParent(report);
    detail->SetHeight(10);
    QStringList seen;
    detail->AfterPrint = [&](TRLCustomControl *) {
        seen << data.FieldValue("Codigo").toString();
        if (counted < 0)
            counted = report->DataCount();
    };
    QVERIFY(report->Prepare());
    QCOMPARE(seen.join(' '), printed);
    if (!printed.isEmpty())
        QCOMPARE(counted, 7);
}

void TestRLDataSet::progressBarOfTheRecords_data()
{
    // Seven records; the bar's maximum and the rows the model holds while record 1 prints.
    QTest::addColumn<bool>("lazy");
    QTest::addColumn<bool>("countEvent");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("rowsAtFirst");
    QTest::newRow("a model that holds its rows") << false << false << 7 << 7;
    QTest::newRow("a lazy model: busy, fetched as read") << true << false << 0 << 3;
    QTest::newRow("a lazy model with a count of its own") << true << true << 7 << 3;
}

void TestRLDataSet::progressBarOfTheRecords()
{
    QFETCH(bool, lazy);
    QFETCH(bool, countEvent);
    QFETCH(int, maximum);
    QFETCH(int, rowsAtFirst);
    QObject form;
    LazyModel lazyModel(7);
    QStandardItemModel plain(0, 1);
    plain.setHorizontalHeaderLabels({"Codigo"});
    for (int i = 1; i <= 7; ++i)
        plain.appendRow(new QStandardItem(QString::number(i)));
    QAbstractItemModel *model = lazy ? static_cast<QAbstractItemModel *>(&lazyModel) : &plain;
    TRLModelDataSet data(model);
    data.Open();
    auto *report = new TRLReport(&form);
    report->SetDataSource(&data);
    if (countEvent)
        report->OnDataCount = [](TRLCustomControl *, int &count) { count = 7; };
    auto *detail = new TRLBand(&form);
    detail->SetParent(report);
    detail->SetHeight(10);
    QStringList seen;
    int barMaximum = -1, rows = -1;
    detail->AfterPrint = [&](TRLCustomControl *) {
        seen << data.FieldValue("Codigo").toString();
        if (rows < 0) {
            rows = model->rowCount();
            barMaximum = report->ProgressWindow()->Bar(0)->maximum();
        }
    };
    QVERIFY(report->Prepare());
    QCOMPARE(seen.join(' '), QStringLiteral("1 2 3 4 5 6 7"));
    QCOMPARE(barMaximum, maximum);
    QCOMPARE(rows, rowsAtFirst);
}

QTEST_MAIN(TestRLDataSet)
#include "tst_rldataset.moc"
