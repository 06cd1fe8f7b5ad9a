// The page store: its file, cache, header and lifetime, and the engine's temporary files.

#include "report/base/RLExceptions.h"
#include "report/base/RLTempFiles.h"
#include "report/page/RLMetaFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <cstdio>

#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// A page that can be told from the others by its size and its one text.
TRLGraphicSurface *numberedPage(int n)
{
    auto *s = new TRLGraphicSurface;
    s->SetWidth(100 + n);
    s->SetHeight(200);
    s->SetFont(QFont(QStringLiteral("Arial")));
    s->TextRect(TRLRect(0, 0, 50, 10), 0, 0, QStringLiteral("Página %1 de {LastPageNumber}").arg(n + 1));
    s->FillRect(TRLRect(0, n, 10, n + 1));
    return s;
}

QString pageText(TRLGraphicSurface *s)
{
    return static_cast<TRLTextObject *>(s->Objects(0))->Text;
}

} // namespace

class TestRLMetaFileStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pagesOutOfRange();
    void cacheIsFirstInFirstOut();
    void evictedPageReadsBackFromFile();
    void modifiedPageIsWrittenAgainOnEviction();
    void fullDiskWhileEvicting();
    void addingAgainReplacesThePage();
    void damagedPageFileReadsAsNoPage();
    void pagesBeyondTwoGigabytes();
    void clearEmptiesStoreAndFile();
    void headerValues();

    void pageFileIsPrivateAndGoesWithTheStore();
    void tempFilesAreNewAndPrivate();
    void unusableTempFolderFallsBack_data();
    void unusableTempFolderFallsBack();
    void remainingFilesDeletedAtTheEnd();
    void programEndDeletesTheFilesLeft();

    void ownerlessStoreGoesWithItsLastFilter();
    void ownedStoreStays();

private:
    QTemporaryDir m_tempDir;
    QByteArray m_oldTmp;
};

void TestRLMetaFileStore::init()
{
    // Every test gets its own temporary folder to look into.
    m_oldTmp = qgetenv("TMPDIR");
    QVERIFY(m_tempDir.isValid());
    qputenv("TMPDIR", m_tempDir.path().toLocal8Bit());
    QCOMPARE(RLTempFolder(), m_tempDir.path());
}

void TestRLMetaFileStore::cleanup()
{
    qputenv("TMPDIR", m_oldTmp);
}

void TestRLMetaFileStore::pagesOutOfRange()
{
    TRLGraphicStorage store;
    QCOMPARE(store.PageCount(), 0);
    QVERIFY(!store.Pages(0));
    store.Add(numberedPage(0));
    store.Add(numberedPage(1));
    QCOMPARE(store.PageCount(), 2);
    QVERIFY(!store.Pages(-1));
    QVERIFY(!store.Pages(2));
    QVERIFY(store.Pages(1));
}

void TestRLMetaFileStore::cacheIsFirstInFirstOut()
{
    TRLGraphicStorage store;
    QPointer<TRLGraphicStorage> alive(&store);
    TRLGraphicSurface *pages[6];
    for (int n = 0; n < 5; ++n) {
        pages[n] = numberedPage(n);
        store.Add(pages[n]);
        QCOMPARE(pages[n]->PageIndex(), n);
        QCOMPARE(pages[n]->Storage(), &store);
    }
    for (int n = 0; n < 5; ++n)
        QCOMPARE(store.Pages(n), pages[n]); // all five still in memory
    pages[5] = numberedPage(5);
    store.Add(pages[5]);
    // The first page left memory (its surface is gone); the others are the same objects.
    for (int n = 1; n < 6; ++n)
        QCOMPARE(store.Pages(n), pages[n]);
}

void TestRLMetaFileStore::evictedPageReadsBackFromFile()
{
    TRLGraphicStorage store;
    QByteArray first;
    for (int n = 0; n < 7; ++n) {
        TRLGraphicSurface *s = numberedPage(n);
        if (n == 0)
            first = s->SaveToBytes();
        store.Add(s);
    }
    TRLGraphicSurface *again = store.Pages(0);
    QVERIFY(again);
    QCOMPARE(again->PageIndex(), 0);
    QCOMPARE(again->Storage(), &store);
    QCOMPARE(again->SaveToBytes(), first);
    QCOMPARE(pageText(again), QStringLiteral("Página 1 de {LastPageNumber}"));
    QVERIFY(!again->Modified());
    // Fetched again while cached: the same surface, not another load.
    QCOMPARE(store.Pages(0), again);
    // Every page reads back, in any order.
    for (int n : {6, 2, 5, 1, 3, 0, 4})
        QCOMPARE(store.Pages(n)->Width(), 100 + n);
}

void TestRLMetaFileStore::modifiedPageIsWrittenAgainOnEviction()
{
    TRLGraphicStorage store;
    for (int n = 0; n < 6; ++n)
        store.Add(numberedPage(n));
    const qint64 sizeBefore = QFileInfo(store.FileName()).size();
    TRLGraphicSurface *page0 = store.Pages(0);
    page0->FillRect(TRLRect(1, 1, 2, 2));
    QVERIFY(page0->Modified());
    for (int n = 1; n < 6; ++n)
        QVERIFY(store.Pages(n));
    QVERIFY(QFileInfo(store.FileName()).size() > sizeBefore);
    TRLGraphicSurface *reread = store.Pages(0);
    QCOMPARE(reread->ObjectCount(), 3);
    QCOMPARE(store.PageCount(), 6);

    // Pages only read are not written again.
    const qint64 sizeAfter = QFileInfo(store.FileName()).size();
    for (int round = 0; round < 2; ++round)
        for (int n = 0; n < 6; ++n)
            QVERIFY(store.Pages(n));
    QCOMPARE(QFileInfo(store.FileName()).size(), sizeAfter);
}

void TestRLMetaFileStore::fullDiskWhileEvicting()
{
    TRLGraphicStorage store;
    for (int n = 0; n < 5; ++n)
        store.Add(numberedPage(n));
    store.Pages(0)->FillRect(TRLRect(1, 1, 2, 2)); // written again when it leaves the cache
    const qint64 size = QFileInfo(store.FileName()).size();
    TRLGraphicSurface *sixth = numberedPage(5);
    const qint64 pageBytes = 4 + sixth->SaveToBytes().size();

    // Room for the sixth page, none for the first one's new copy. The store owns the sixth page
    // from Add on and must free it even so (the sanitizer run sees a leak).
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit unlimited;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    rlimit limited = unlimited;
    limited.rlim_cur = rlim_t(size + pageBytes + 8);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    QString error;
    try {
        store.Add(sixth);
    } catch (const TRLException &e) {
        error = e.Message();
    }
    setrlimit(RLIMIT_FSIZE, &unlimited);
    QVERIFY(!error.isEmpty());

    QCOMPARE(QFileInfo(store.FileName()).size(), size + pageBytes); // no half page left behind
    QCOMPARE(store.PageCount(), 6);
    QCOMPARE(pageText(store.Pages(5)), QStringLiteral("Página 6 de {LastPageNumber}"));
    QCOMPARE(store.Pages(0)->ObjectCount(), 2); // the copy on disk; the change found no room
}

void TestRLMetaFileStore::addingAgainReplacesThePage()
{
    TRLGraphicStorage store;
    TRLGraphicSurface *s = numberedPage(0);
    store.Add(s);
    store.Add(numberedPage(1));
    s->FillRect(TRLRect(5, 5, 6, 6));
    store.Add(s);
    QCOMPARE(store.PageCount(), 2);
    QCOMPARE(s->PageIndex(), 0);
    for (int n = 2; n < 8; ++n)
        store.Add(numberedPage(n)); // pushes both out of memory
    QCOMPARE(store.Pages(0)->ObjectCount(), 3);
    QCOMPARE(store.Pages(1)->ObjectCount(), 2);
}

void TestRLMetaFileStore::damagedPageFileReadsAsNoPage()
{
    TRLGraphicStorage store;
    for (int n = 0; n < 7; ++n)
        store.Add(numberedPage(n));
    // Someone overwrites the first page's signature and the second page's length.
    QFile file(store.FileName());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(4));
    file.write("XX");
    QVERIFY(file.seek(0));
    const qint64 secondPage = 4 + qFromLittleEndian<qint32>(file.read(4).constData());
    QVERIFY(file.seek(secondPage));
    file.write("\xff\xff\xff\x7f", 4);
    file.close();
    QVERIFY(!store.Pages(0));
    QVERIFY(!store.Pages(1));
    QCOMPARE(store.Pages(2)->Width(), 102);
    QCOMPARE(store.Pages(6)->Width(), 106);
}

void TestRLMetaFileStore::pagesBeyondTwoGigabytes()
{
    TRLGraphicStorage store;
    store.Add(numberedPage(0));
    // A sparse hole takes the file past what a 32-bit offset holds, without using the disk.
    QFile file(store.FileName());
    QVERIFY(file.open(QIODevice::ReadWrite));
    const qint64 beyond = 5LL * 1024 * 1024 * 1024;
    if (!file.resize(beyond))
        QSKIP("no sparse files here");
    file.close();
    for (int n = 1; n < 8; ++n)
        store.Add(numberedPage(n));
    QVERIFY(QFileInfo(store.FileName()).size() > beyond);
    for (int n = 0; n < 8; ++n) // out of the cache, read from the file
        QCOMPARE(store.Pages(n)->Width(), 100 + n);
}

void TestRLMetaFileStore::clearEmptiesStoreAndFile()
{
    TRLGraphicStorage store;
    store.SetTitle(QStringLiteral("Zavenor - GARE"));
    for (int n = 0; n < 3; ++n)
        store.Add(numberedPage(n));
    const QString name = store.FileName();
    store.Clear();
    QCOMPARE(store.PageCount(), 0);
    QVERIFY(!store.Pages(0));
    QCOMPARE(store.Title(), QString());
    QCOMPARE(QFileInfo(name).size(), 0);
    store.Add(numberedPage(9));
    QCOMPARE(store.Pages(0)->Width(), 109);
    QCOMPARE(store.FileName(), name);
}

void TestRLMetaFileStore::headerValues()
{
    TRLGraphicStorage store;
    QCOMPARE(store.Orientation(), 1);
    QCOMPARE(store.PaperWidth(), 0.0);
    QCOMPARE(store.LastPageNumber(), 0);
    store.SetTitle(QStringLiteral("Zavenor - DARF"));
    store.SetOrientation(2);
    store.SetPaperWidth(211);
    store.SetPaperHeight(102.5);
    store.SetFirstPageNumber(1);
    store.SetLastPageNumber(3);
    QCOMPARE(store.Header().Value(QStringLiteral("PaperWidth")), QStringLiteral("211.0000"));
    QCOMPARE(store.Header().Value(QStringLiteral("PaperHeight")), QStringLiteral("102.5000"));
    QCOMPARE(store.Header().Value(QStringLiteral("Orientation")), QStringLiteral("2"));
    QCOMPARE(store.PaperHeight(), 102.5);
    QCOMPARE(store.Title(), QStringLiteral("Zavenor - DARF"));
    QCOMPARE(store.FirstPageNumber(), 1);
    QCOMPARE(store.LastPageNumber(), 3);
    store.Header().SetValue(QStringLiteral("PaperHeight"), QStringLiteral("102,5"));
    store.Header().SetValue(QStringLiteral("Orientation"), QString());
    QCOMPARE(store.PaperHeight(), 0.0);
    QCOMPARE(store.Orientation(), 1);
}

void TestRLMetaFileStore::pageFileIsPrivateAndGoesWithTheStore()
{
    QString name;
    {
        TRLGraphicStorage store;
        QVERIFY(store.FileName().isEmpty()); // nothing on disk before the first page
        store.Add(numberedPage(0));
        name = store.FileName();
        const QFileInfo info(name);
        QCOMPARE(info.absolutePath(), m_tempDir.path());
        QVERIFY(QRegularExpression(QStringLiteral("^~rl\\d+\\.tmp$")).match(info.fileName()).hasMatch());
        struct stat st;
        QCOMPARE(stat(QFile::encodeName(name).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
        QVERIFY(RLTempFiles().contains(name));
    }
    QVERIFY(!QFileInfo::exists(name));
    QVERIFY(!RLTempFiles().contains(name));
}

void TestRLMetaFileStore::tempFilesAreNewAndPrivate()
{
    std::vector<std::unique_ptr<QFile>> files;
    for (int i = 0; i < 20; ++i)
        files.push_back(CreateRLTempFile(QStringLiteral("~t")));
    QStringList names;
    for (auto &file : files) {
        QVERIFY(file->isOpen());
        QCOMPARE(file->size(), 0);
        QCOMPARE(file->permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());
        names << file->fileName();
    }
    names.removeDuplicates();
    QCOMPARE(names.size(), 20);
    for (const QString &name : names) {
        QVERIFY(RLTempFiles().contains(name));
        DeleteRLTempFile(name);
        QVERIFY(!QFileInfo::exists(name));
        QVERIFY(!RLTempFiles().contains(name));
    }
}

void TestRLMetaFileStore::unusableTempFolderFallsBack_data()
{
    QTest::addColumn<QString>("tmpdir"); // relative to the test's folder
    QTest::addColumn<bool>("usable");
    QTest::newRow("a folder that does not exist") << "sumiu/pasta" << false;
    QTest::newRow("a file, not a folder") << "arquivo" << false;
    QTest::newRow("a folder") << "pasta" << true;
}

// Qt makes an unknown TMPDIR an empty path: the files must not land in the root folder.
void TestRLMetaFileStore::unusableTempFolderFallsBack()
{
    QFETCH(QString, tmpdir);
    QFETCH(bool, usable);
    const QString base = m_tempDir.path();
    QVERIFY(QDir(base).mkpath(QStringLiteral("pasta")));
    QFile plain(base + QStringLiteral("/arquivo"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString asked = base + QLatin1Char('/') + tmpdir;
    qputenv("TMPDIR", QFile::encodeName(asked));
    const QString expected = usable ? asked : QStringLiteral("/tmp");
    QCOMPARE(RLTempFolder(), expected);
    const auto file = CreateRLTempFile(QStringLiteral("~t"));
    QCOMPARE(QFileInfo(file->fileName()).absolutePath(), expected);
    DeleteRLTempFile(file->fileName());
    QVERIFY(!QFileInfo::exists(file->fileName()));
    // With nothing usable at all there is no folder to offer.
    QCOMPARE(RLUsableFolder({base + QStringLiteral("/sumiu"), plain.fileName()}), QString());
    QCOMPARE(RLUsableFolder({base + QStringLiteral("/sumiu"), base + QStringLiteral("/pasta/")}),
             base + QStringLiteral("/pasta"));
}

void TestRLMetaFileStore::remainingFilesDeletedAtTheEnd()
{
    auto store = new TRLGraphicStorage;
    store->Add(numberedPage(0));
    const QString name = store->FileName();
    auto loose = CreateRLTempFile();
    loose->close();
    QVERIFY(QFileInfo::exists(name));
    QVERIFY(QFileInfo::exists(loose->fileName()));
    DeleteAllRLTempFiles(); // what program end does with files nobody deleted
    QVERIFY(!QFileInfo::exists(name));
    QVERIFY(!QFileInfo::exists(loose->fileName()));
    QVERIFY(RLTempFiles().isEmpty());
    delete store; // and a store deleted afterwards copes with its file being gone
}

void TestRLMetaFileStore::programEndDeletesTheFilesLeft()
{
    if (qEnvironmentVariableIsSet("RL_TEMP_CHILD")) {
        // The child: leaves a page file behind in the parent's folder on purpose and ends.
        qputenv("TMPDIR", qgetenv("RL_TEMP_CHILD"));
        auto file = CreateRLTempFile();
        file->write("page");
        std::printf("%s\n", qPrintable(file->fileName()));
        return;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("RL_TEMP_CHILD"), m_tempDir.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("programEndDeletesTheFilesLeft")});
    QVERIFY(child.waitForFinished(60000));
    QString name; // the child's line among QtTest's own
    for (const QString &line : QString::fromLocal8Bit(child.readAllStandardOutput()).split(QLatin1Char('\n')))
        if (line.startsWith(m_tempDir.path() + QStringLiteral("/~rl")))
            name = line;
    QVERIFY(!name.isEmpty());
    QVERIFY(!QFileInfo::exists(name));
}

void TestRLMetaFileStore::ownerlessStoreGoesWithItsLastFilter()
{
    QPointer<TRLGraphicStorage> store = new TRLGraphicStorage;
    store->Add(numberedPage(0));
    const QString name = store->FileName();
    QObject first;
    auto *second = new QObject;
    store->Link(&first);
    store->Link(second);
    store->Link(second);
    QCOMPARE(store->Filters().size(), 2);
    delete second; // a filter that goes away lets go of the store
    QVERIFY(store);
    QCOMPARE(store->Filters().size(), 1);
    store->Unlink(&first);
    QVERIFY(!store);
    QVERIFY(!QFileInfo::exists(name));

    // The last filter going away takes an ownerless store with it.
    QPointer<TRLGraphicStorage> other = new TRLGraphicStorage;
    auto *last = new QObject;
    other->Link(last);
    delete last;
    QVERIFY(!other);
}

void TestRLMetaFileStore::ownedStoreStays()
{
    QObject owner;
    QPointer<TRLGraphicStorage> store = new TRLGraphicStorage(&owner);
    QObject filter;
    store->Link(&filter);
    store->Unlink(&filter);
    store->Unlink(&filter);
    QVERIFY(store);
    QVERIFY(store->Filters().isEmpty());
}

QTEST_MAIN(TestRLMetaFileStore)
#include "tst_rlmetafilestore.moc"
