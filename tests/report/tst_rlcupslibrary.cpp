// The printer unit's stand-ins for libcups: the one that takes a format must build the same
// printer address as libcups' own, which the test looks up in the library itself.
#include <cups/cups.h>

#include <QtTest>
#include <dlfcn.h>

class TestRLCupsLibrary : public QObject
{
    Q_OBJECT

private slots:
    void printerAddressAsLibcupsBuildsIt_data()
    {
        QTest::addColumn<QByteArray>("queue");
        QTest::addColumn<int>("room"); // bytes for the address
        QTest::newRow("plain name") << QByteArray("GuiaPDF") << HTTP_MAX_URI;
        QTest::newRow("blanks and accents are escaped") << QByteArray("Sala 1 – impressão") << HTTP_MAX_URI;
        QTest::newRow("percent signs are data") << QByteArray("100%s%n") << HTTP_MAX_URI;
        QTest::newRow("address longer than its room") << QByteArray("GuiaPDF") << 20;
        QTest::newRow("name longer than any address") << QByteArray(1500, 'x') << HTTP_MAX_URI;
    }

    void printerAddressAsLibcupsBuildsIt()
    {
        QFETCH(QByteArray, queue);
        QFETCH(int, room);
        void *library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        QVERIFY(library);
        auto *own = reinterpret_cast<decltype(&httpAssembleURIf)>(dlsym(library, "httpAssembleURIf"));
        QVERIFY(own);

        char expected[HTTP_MAX_URI] = "unchanged", actual[HTTP_MAX_URI] = "unchanged";
        const http_uri_status_t expectedStatus = own(HTTP_URI_CODING_ALL, expected, room, "ipp", nullptr,
                                                     "localhost", 0, "/printers/%s", queue.constData());
        const http_uri_status_t status = httpAssembleURIf(HTTP_URI_CODING_ALL, actual, room, "ipp", nullptr,
                                                          "localhost", 0, "/printers/%s", queue.constData());
        QCOMPARE(status, expectedStatus);
        if (status == HTTP_URI_STATUS_OK)
            QCOMPARE(QByteArray(actual), QByteArray(expected));
        else
            QCOMPARE(QByteArray(actual), QByteArray()); // nothing half written is handed on
    }
};

QTEST_GUILESS_MAIN(TestRLCupsLibrary)

#include "tst_rlcupslibrary.moc"
