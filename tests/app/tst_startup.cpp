// What starting the program loads: nothing the first screen does not show. The print service's
// library comes in when a print needs it, the window's pictures are read as Qt reads them, and
// a page whose frames, pictures and captions wait for its first show ends up as one built at once.
#include "app/FontWarmUp.h"
#include "app/PageBuilder.h"
#include "app/PageLayout.h"
#include "app/Pictures.h"
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "resources/pixels/PicturePixels.h"
#include "report/output/RLCupsService.h"
#include "slips/pDadosDARF.h"
#include "slips/pDadosGARE.h"

#include <QFile>
#include <QImageReader>
#include <QResource>
#include <QTextEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <vector>

namespace {

bool mapped(const QString &library)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        qFatal("cannot read /proc/self/maps");
    return QString::fromLocal8Bit(maps.readAll()).contains(library);
}

} // namespace

class TestStartUp : public QObject
{
    Q_OBJECT

    std::unique_ptr<TfrmZavenor> m_window;
    std::unique_ptr<TfrmDadosGARE> m_dadosGare;
    std::unique_ptr<TfrmDadosDARF> m_dadosDarf;

private slots:
    void initTestCase()
    {
        // As the program starts: the main window, the two hidden data-only windows, the first paint.
        m_window = std::make_unique<TfrmZavenor>();
        m_dadosGare = std::make_unique<TfrmDadosGARE>();
        m_dadosDarf = std::make_unique<TfrmDadosDARF>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTest::qWait(50);
    }

    void startUpLoadsOnlyWhatTheWindowShows_data()
    {
        QTest::addColumn<QString>("library");
        // Mapped and relocated at every start, used only for printing.
        QTest::newRow("print service") << QStringLiteral("libcups.so");
        QTest::newRow("Qt print support") << QStringLiteral("libQt6PrintSupport");
        // Every picture is a PNG, which Qt reads without a plugin.
        QTest::newRow("image format plugins") << QStringLiteral("/imageformats/");
    }

    void startUpLoadsOnlyWhatTheWindowShows()
    {
        QFETCH(QString, library);
#ifdef ZAVENOR_SANITIZED_LINK
        // Linked on the line with the sanitizer's runtime, Qt print support is needed by the
        // executable itself there, used or not; the program's own build drops it.
        if (library.startsWith(QLatin1String("libQt6PrintSupport")))
            QSKIP("a sanitizer build links every library on its line");
#endif
        QVERIFY2(!mapped(library), qPrintable(library + QStringLiteral(" loaded at start-up")));
    }

    // Built later, the decor must end up as if built at once: the same widgets in the same
    // stacking order (later ones paint over earlier ones, the fields over everything), with the
    // same places, sizes and hints.
    void decorBuiltOnShowMatchesDecorBuiltAtOnce_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("GARE") << 0;
        QTest::newRow("DARF") << 1;
    }

    void decorBuiltOnShowMatchesDecorBuiltAtOnce()
    {
        QFETCH(int, page);
        const TPageLayout &layout = page == 0 ? GarePageLayout() : DarfPageLayout();
        QWidget atOnce, onShow;
        for (QWidget *panel : {&atOnce, &onShow}) {
            panel->setFont(m_window->font());
            panel->resize(657, 353);
        }
        TPageBuilder::Build(&atOnce, layout, TPageBuilder::Decor::Now);
        TPageBuilder::Build(&onShow, layout, TPageBuilder::Decor::WhenShown);
        // Both pages have a crest at least: nothing of the decor exists before the show.
        QVERIFY(onShow.findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size()
                < atOnce.findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size());
        atOnce.show();
        onShow.show();

        const QList<QWidget *> expected = atOnce.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        const QList<QWidget *> actual = onShow.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        QCOMPARE(actual.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QCOMPARE(actual[i]->objectName(), expected[i]->objectName());
            QCOMPARE(actual[i]->geometry(), expected[i]->geometry());
            QCOMPARE(actual[i]->toolTip(), expected[i]->toolTip());
            QCOMPARE(actual[i]->isVisible(), expected[i]->isVisible());
        }
    }

    // Fields are built with their panel's font standing in for the application's: afterwards
    // the application's font is its own again, and every field shows its row's font or, without
    // one, its panel's (a memo's text included).
    void fieldsTakeTheirPanelsFontNotTheApplications_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("DARF") << 0;
        QTest::newRow("GARE") << 1;
    }

    void fieldsTakeTheirPanelsFontNotTheApplications()
    {
        QFETCH(int, page);
        const TPageLayout &layout = page == 0 ? DarfPageLayout() : GarePageLayout();
        const QFont application = QGuiApplication::font();
        QWidget panel;
        QFont panelFont(QStringLiteral("Courier New"));
        panelFont.setPixelSize(10);
        panel.setFont(panelFont);
        QVERIFY(panelFont != application);
        const std::vector<QWidget *> fields = TPageBuilder::Build(&panel, layout);
        QCOMPARE(QGuiApplication::font(), application);

        QCOMPARE(fields.size(), layout.fields.size());
        const TFieldRow *row = layout.fields.begin();
        for (QWidget *field : fields) {
            QFont expected = panelFont;
            if (row->font.family) {
                expected = QFont(QString::fromUtf8(row->font.family));
                expected.setPixelSize(row->font.pixelSize);
                expected.setBold(row->font.bold);
            }
            QCOMPARE(field->font().family(), expected.family());
            QCOMPARE(field->font().pixelSize(), expected.pixelSize());
            QCOMPARE(field->font().bold(), expected.bold());
            if (auto *memo = qobject_cast<QTextEdit *>(field))
                QCOMPARE(memo->document()->defaultFont(), memo->font());
            ++row;
        }
    }

    void picturesReadAsQtReadsThem_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"logo.png", "brasao_brasil.png", "brasao_sp.png", "seta.png", "imprimir.png",
                                 "imprimir_desabilitado.png", "sair.png", "sair_desabilitado.png"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void picturesReadAsQtReadsThem()
    {
        QFETCH(QString, name);
        const QPixmap picture = Pictures::Get(QLatin1StringView(name.toLatin1()));
        const QImage expected = QPixmap(QStringLiteral(":/pictures/") + name).toImage();
        QVERIFY(!expected.isNull());
        QCOMPARE(picture.toImage(), expected);
        // Asked again, the same picture comes back without being read again.
        QCOMPARE(Pictures::Get(QLatin1StringView(name.toLatin1())).cacheKey(), picture.cacheKey());
    }

    // The window's pictures come from their stored pixels, which only pay off uncompressed.
    void windowPicturesHaveTheirPixelsStored_data() { picturesReadAsQtReadsThem_data(); }

    void windowPicturesHaveTheirPixelsStored()
    {
        QFETCH(QString, name);
        name.chop(4);
        const QResource pixels(QStringLiteral(":/pictures/pixels/") + name + QStringLiteral(".pixels"));
        QVERIFY(pixels.isValid());
        QCOMPARE(pixels.compressionAlgorithm(), QResource::NoCompression);
        QVERIFY(!PicturePixels::Read(pixels.data(), qsizetype(pixels.size())).isNull());
    }

    // Stored pixels are read like any file: a header that does not describe exactly the bytes
    // after it gives no picture, never a read past the end.
    void faultyPixelsGiveNoPicture_data()
    {
        // A header and as many bytes as it announces, so that only the fault named fails.
        const auto pixels = [](quint32 width, quint32 height, QImage::Format format, quint32 bytesPerLine) {
            QByteArray bytes("ZVPX");
            for (quint32 word : {1u, width, height, quint32(format), bytesPerLine, 3780u, 3780u}) {
                char le[4];
                qToLittleEndian(word, le);
                bytes.append(le, 4);
            }
            return bytes + QByteArray(qsizetype(bytesPerLine) * height, '\x7f');
        };
        const QByteArray good = pixels(5, 3, QImage::Format_ARGB32, 20);
        QVERIFY(!PicturePixels::Read(reinterpret_cast<const uchar *>(good.constData()), good.size()).isNull());
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header cut short") << good.left(PicturePixels::HeaderBytes - 1);
        QTest::newRow("last row cut short") << good.chopped(1);
        QTest::newRow("a byte too many") << good + 'x';
        QTest::newRow("other magic") << QByteArray("ZVPY") + good.mid(4);
        QByteArray otherVersion = good;
        otherVersion[4] = 2;
        QTest::newRow("other version") << otherVersion;
        QTest::newRow("no width") << pixels(0, 3, QImage::Format_ARGB32, 20);
        QTest::newRow("no height") << pixels(5, 0, QImage::Format_ARGB32, 20);
        QTest::newRow("width past the limit")
            << pixels(PicturePixels::MaxSide + 1, 1, QImage::Format_ARGB32, (PicturePixels::MaxSide + 1) * 4);
        QTest::newRow("format with a colour table") << pixels(4, 1, QImage::Format_Indexed8, 4);
        QTest::newRow("format past Qt's") << pixels(1, 1, QImage::NImageFormats, 4);
        QTest::newRow("rows narrower than the width") << pixels(5, 3, QImage::Format_ARGB32, 16);
        QTest::newRow("rows not word-aligned") << pixels(5, 3, QImage::Format_Grayscale8, 6);
    }

    void faultyPixelsGiveNoPicture()
    {
        QFETCH(QByteArray, bytes);
        // A copy of exactly that size, so that a read past the end is the sanitizer's to catch.
        std::vector<uchar> exact(bytes.begin(), bytes.end());
        QVERIFY(PicturePixels::Read(exact.data(), qsizetype(exact.size())).isNull());
    }

    void storedPixelsComeBackAsWritten()
    {
        QImage image(7, 2, QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgba(x * 30, y * 90, 200, 255 - x * 20));
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3937);
        QVERIFY(PicturePixels::Storable(image));
        const QByteArray bytes = PicturePixels::Write(image);
        const QImage back = PicturePixels::Read(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size());
        QCOMPARE(back, image);
        QCOMPARE(back.dotsPerMeterX(), 3780);
        QCOMPARE(back.dotsPerMeterY(), 3937);
        // What the header cannot carry stays a PNG.
        QImage indexed(4, 4, QImage::Format_Indexed8);
        indexed.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        QVERIFY(!PicturePixels::Storable(indexed));
    }

    void unknownPictureIsNull()
    {
        QVERIFY(Pictures::Get(QLatin1StringView("nao_existe.png")).isNull());
    }

    // Last: it loads what the first test finds absent.
    void printingOpensThePrintServiceWhenNeeded()
    {
        QTemporaryDir nowhere;
        QVERIFY(nowhere.isValid());
        const QByteArray previous = qgetenv("CUPS_SERVER");
        qputenv("CUPS_SERVER", (nowhere.path() + QStringLiteral("/cups.sock")).toLocal8Bit());
        QString failure;
        const QList<TRLPrinterQueue> queues = TRLCupsService().Queues(&failure);
        if (previous.isNull())
            qunsetenv("CUPS_SERVER");
        else
            qputenv("CUPS_SERVER", previous);
        QVERIFY(queues.isEmpty());
        QCOMPARE(failure, QStringLiteral("O serviço de impressão (CUPS) não está disponível"));
        QVERIFY(mapped(QStringLiteral("libcups.so.2")));
    }

    // However it is left, the warm-up ends with its thread: one still running at destruction
    // would end the program.
    void fontWarmUpEndsWhereverItIsLeft_data()
    {
        QTest::addColumn<int>("waits");
        QTest::newRow("never waited for") << 0;
        QTest::newRow("waited for") << 1;
        QTest::newRow("waited for twice") << 2;
    }

    void fontWarmUpEndsWhereverItIsLeft()
    {
        QFETCH(int, waits);
        {
            TFontWarmUp warmUp;
            for (int i = 0; i < waits; ++i)
                warmUp.Wait();
        }
        QCOMPARE(QFontInfo(QFont(QStringLiteral("Arial"))).family(), QStringLiteral("Liberation Sans"));
    }
};

int main(int argc, char **argv)
{
    // As the program starts.
    TFontWarmUp fonts;
    TZavenorApplication app(argc, argv);
    fonts.Wait();
    TestStartUp t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_startup.moc"
