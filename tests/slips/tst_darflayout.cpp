// The full-layout DARF: the stored layout as loaded, the fill on the report tree, and the page
// prepared into the page store, fetched back and replayed at 96 dpi. Writes the two pages to
// $ZAVENOR_DARF_PNG_DIR when set (scripts/darf-pngs.sh uses this for docs/).

#include "slips/pLayOutDarf.h"
#include "slips/pLayOutDarfTable.h"
#include "report/page/RLMetaFile.h"

#include "DarfTestData.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QtTest>

namespace {

// A label of a class derived from the engine's: the fill matches exact classes only.
class TDerivedLabel : public TRLLabel
{
    Q_OBJECT
public:
    using TRLLabel::TRLLabel;
};

bool isDataLabel(const QString &name)
{
    for (const char *d : kDataLabels)
        if (name == QLatin1String(d) || name == QLatin1String(d) + QLatin1Char('2'))
            return true;
    return false;
}

// What the print command does up to the printer: the report prepared into its page store, and
// the page fetched back from it.
struct PrintedPage
{
    TRLGraphicSurface *page = nullptr;

    explicit PrintedPage(TfrmLayOutDARF &form)
    {
        if (form.RLDarf->Prepare() && form.RLDarf->Pages()->PageCount() == 1)
            page = form.RLDarf->Pages()->Pages(0);
    }

    QImage raster() const
    {
        QImage image(page->Width(), page->Height(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        page->PaintTo(&painter, 0, 0, 1.0, 1.0);
        return image;
    }

    QList<TRLTextObject *> texts() const
    {
        QList<TRLTextObject *> list;
        for (int i = 0; i < page->ObjectCount(); ++i)
            if (auto *t = dynamic_cast<TRLTextObject *>(page->Objects(i)))
                list << t;
        return list;
    }

    QList<TRLPolygonObject *> polygons() const
    {
        QList<TRLPolygonObject *> list;
        for (int i = 0; i < page->ObjectCount(); ++i)
            if (auto *p = dynamic_cast<TRLPolygonObject *>(page->Objects(i)))
                list << p;
        return list;
    }
};

} // namespace

class TestDarfLayout : public QObject
{
    Q_OBJECT

private slots:
    void loadsEveryControlInStoredOrder();
    void picturesAtTheirSizesAndDepths_data();
    void picturesAtTheirSizesAndDepths();
    void fillColours_data();
    void fillColours();
    void fillCopiesTextsUnchanged_data();
    void fillCopiesTextsUnchanged();
    void printedPageColours_data();
    void printedPageColours();
    void textsPrintWhereLaidOut();
    void field09CaptionWrapsInsideItsBox();
};

void TestDarfLayout::loadsEveryControlInStoredOrder()
{
    TfrmLayOutDARF form;
    QVERIFY(!form.isVisible());
    QCOMPARE(form.RLDarf->Width(), 794);
    QCOMPARE(form.RLDarf->Height(), 1123);
    QCOMPARE(form.RLBand1->Left(), kBandLeft);
    QCOMPARE(form.RLBand1->Top(), kBandTop);
    QCOMPARE(form.RLBand1->Width(), 749);
    int lastIndex = form.RLBand1->ComponentIndex();
    for (const TDarfControlRow &row : DarfLayoutRows()) {
        const QString name = QString::fromLatin1(row.name);
        auto *c = form.Control<TRLCustomControl>(name);
        QVERIFY2(c, row.name);
        QCOMPARE(c->Parent(), form.RLBand1);
        QVERIFY2(c->ComponentIndex() > lastIndex, row.name); // stored order is painting order
        lastIndex = c->ComponentIndex();
        // Captions size to their text from where they stand; everything else keeps its box.
        const bool sizesItself = (row.kind == TDarfKind::Label || row.kind == TDarfKind::Memo)
                                 && !(row.flags & dfFixedSize);
        QCOMPARE(c->Left(), row.box.left);
        QCOMPARE(c->Top(), row.box.top);
        if (!sizesItself) {
            QCOMPARE(c->Width(), row.box.width);
            QCOMPARE(c->Height(), row.box.height);
        }
        if (row.kind == TDarfKind::Image) {
            auto *image = static_cast<TRLImage *>(c);
            QVERIFY2(!image->Picture().isNull(), row.text);
        }
    }
}

void TestDarfLayout::picturesAtTheirSizesAndDepths_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("colours"); // palette size; 0 for a picture without one
    QTest::addColumn<QSize>("box");
    QTest::newRow("colour crest") << "BrasaoCor2" << QSize(130, 135) << 0 << QSize(73, 81);
    QTest::newRow("black-and-white crest") << "BrasaoPb2" << QSize(230, 250) << 16 << QSize(73, 81);
    QTest::newRow("scissors") << "LRImage22" << QSize(20, 20) << 16 << QSize(20, 20);
    QTest::newRow("arrow") << "LRImage13" << QSize(16, 16) << 16 << QSize(17, 17);
}

void TestDarfLayout::picturesAtTheirSizesAndDepths()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(int, colours);
    QFETCH(QSize, box);
    TfrmLayOutDARF form;
    auto *image = form.Control<TRLImage>(name);
    QCOMPARE(image->Picture().size(), size);
    QCOMPARE(image->Picture().colorCount(), colours);
    QCOMPARE(QSize(image->Width(), image->Height()), box);
    if (colours) {
        // Written by hand with four bits a pixel: the palette indexes must read back as drawn.
        const QImage picture = image->Picture().convertToFormat(QImage::Format_RGB32);
        int dark = 0, light = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                dark += qGray(picture.pixel(x, y)) < 64;
                light += qGray(picture.pixel(x, y)) > 192;
            }
        QVERIFY(dark > picture.width());
        QVERIFY(light > picture.width() * picture.height() / 4); // the white ground
        QCOMPARE(picture.pixelColor(0, picture.height() - 1), QColor(Qt::white));
    }
}

void TestDarfLayout::fillColours_data()
{
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<QColor>("ink");
    QTest::newRow("colour") << kDarkBlue << kBlue;
    QTest::newRow("black and white") << quint32(0) << QColor(Qt::black);
    QTest::newRow("any other colour") << quint32(0x0000FF) << QColor(Qt::red);
}

void TestDarfLayout::fillColours()
{
    QFETCH(quint32, colour);
    QFETCH(QColor, ink);
    TfrmLayOutDARF form;
    // A second fill must not see anything of a colour left by the first.
    FillLayOutDarf(form, typicalTexts(), colour == 0 ? kDarkBlue : 0);
    TfrmLayOutDARF fresh;
    auto *derived = new TDerivedLabel(&fresh);
    derived->SetFontColor(Qt::darkGreen);
    FillLayOutDarf(fresh, typicalTexts(), colour);
    QCOMPARE(derived->FontColor(), QColor(Qt::darkGreen));
    int labels = 0, draws = 0, oranges = 0;
    for (QObject *o : fresh.children()) {
        if (o == derived)
            continue;
        if (auto *label = qobject_cast<TRLLabel *>(o)) {
            QCOMPARE(label->FontColor(), isDataLabel(label->Name()) ? QColor(Qt::black) : ink);
            ++labels;
        } else if (auto *memo = qobject_cast<TRLMemo *>(o)) {
            QCOMPARE(memo->FontColor(), ink); // instructions memos too
        } else if (auto *draw = qobject_cast<TRLDraw *>(o)) {
            QCOMPARE(draw->Pen().color(), ink);
            QCOMPARE(draw->Pen().width(), 1);
            if (draw->Brush().style() == Qt::SolidPattern) {
                QCOMPARE(draw->Brush().color(), kOrange);
                ++oranges;
            }
            ++draws;
        }
    }
    QCOMPARE(labels, 72);
    QCOMPARE(draws, 30);
    QCOMPARE(oranges, 4);

    const bool inColour = colour != 0;
    const QList<TRLCustomControl *> band = fresh.RLBand1->ControlsInCreationOrder();
    for (const char *name : {"BrasaoCor1", "BrasaoCor2", "BrasaoPB1", "BrasaoPb2"}) {
        auto *crest = fresh.Control<TRLImage>(name);
        const bool colourCrest = QByteArray(name).startsWith("BrasaoCor");
        QCOMPARE(crest->Visible(), colourCrest == inColour);
        QCOMPARE(crest->Enabled(), colourCrest ? inColour : true);
    }
    // The crest that prints paints last, after everything else of the band.
    const char *last[] = {"BrasaoCor1", "BrasaoCor2"};
    const char *lastPb[] = {"BrasaoPB1", "BrasaoPb2"};
    QCOMPARE(band[band.size() - 2]->Name(), QString(inColour ? last[0] : lastPb[0]));
    QCOMPARE(band.last()->Name(), QString(inColour ? last[1] : lastPb[1]));
}

void TestDarfLayout::fillCopiesTextsUnchanged_data()
{
    QTest::addColumn<Qt::Alignment>("alignment");
    QTest::addColumn<TRLTextAlignment>("memoAlignment");
    QTest::newRow("left") << Qt::Alignment(Qt::AlignLeft) << taLeftJustify;
    QTest::newRow("centre") << Qt::Alignment(Qt::AlignHCenter) << taCenter;
    QTest::newRow("right") << Qt::Alignment(Qt::AlignRight) << taRightJustify;
}

void TestDarfLayout::fillCopiesTextsUnchanged()
{
    QFETCH(Qt::Alignment, alignment);
    QFETCH(TRLTextAlignment, memoAlignment);
    TfrmLayOutDARF form;
    TDarfEntryTexts texts = typicalTexts();
    texts.VejaVersoAlignment = alignment;
    texts.VejaVerso << "" << QString::fromUtf8("  linha extra à mão ");
    FillLayOutDarf(form, texts, kDarkBlue);
    // A blank date (the due date here) prints nothing.
    const QString expected[] = {texts.Periodo, texts.CGCCPF, texts.Nome,     texts.CodRec,   texts.NumRef,
                                QString(),     texts.ValPrinc, texts.ValMulta, texts.ValJuros, texts.Total};
    for (const QString suffix : {"", "2"})
        for (int i = 0; i < 10; ++i) {
            auto *label = form.Control<TRLLabel>(QLatin1String(kDataLabels[i]) + suffix);
            QCOMPARE(label->Caption(), expected[i]);
        }
    for (const char *name : {"RLmVejaVersao1", "RLmVejaVersao2"}) {
        auto *memo = form.Control<TRLMemo>(name);
        QCOMPARE(memo->Lines(), texts.VejaVerso);
        QCOMPARE(memo->Alignment(), memoAlignment);
    }
}

void TestDarfLayout::printedPageColours_data()
{
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<QString>("png");
    QTest::newRow("colour") << kDarkBlue << "darf-colorido.png";
    QTest::newRow("black and white") << quint32(0) << "darf-preto-e-branco.png";
}

void TestDarfLayout::printedPageColours()
{
    QFETCH(quint32, colour);
    QFETCH(QString, png);
    const QColor ink = colour ? kBlue : QColor(Qt::black);
    TfrmLayOutDARF form;
    FillLayOutDarf(form, typicalTexts(), colour);
    PrintedPage printed(form);
    QVERIFY(printed.page);
    const QImage image = printed.raster();
    QCOMPARE(image.size(), QSize(794, 1123));
    const QString dir = qEnvironmentVariable("ZAVENOR_DARF_PNG_DIR");
    if (!dir.isEmpty())
        QVERIFY(image.save(dir + QLatin1Char('/') + png));

    for (int copy = 0; copy < 2; ++copy) {
        const int dy = copy ? 413 : 0;
        // Pens: the outer frame's top edge and the cut line.
        QCOMPARE(image.pixelColor(kBandLeft + 200, kBandTop + 1 + dy), ink);
        const Inks cut = inksIn(image, QRect(100, 370 + dy + copy * -1, 600, 1));
        QVERIFY(cut.blue + cut.black > 200);
        QCOMPARE(colour ? cut.black : cut.blue, 0);
        // Captions and header titles.
        const Inks title = inksIn(image, QRect(88, 8 + dy, 200, 20));
        QVERIFY(colour ? title.blue > 100 : title.black > 100);
        QCOMPARE(colour ? title.black : title.blue, 0);
        // Entered data is black in both.
        const Inks value = inksIn(image, QRect(600, 167 + dy, 134, 18));
        QVERIFY(value.black > 50);
        QCOMPARE(value.blue, 0);
        // The crest: the colour one is vivid, the other has no colour at all.
        const Inks crest = inksIn(image, QRect(10, 10 + dy, 70, 76));
        if (colour) {
            QVERIFY(crest.vivid > 300);
        } else {
            QVERIFY(crest.black > 300);
            QCOMPARE(crest.vivid, 0);
        }
        // The dividers are narrower than their outline: the pen is what shows of them.
        QCOMPARE(image.pixelColor(kBandLeft + 372 - copy, kBandTop + 100 + dy), ink);
        QCOMPARE(image.pixelColor(kBandLeft + 550 - copy, kBandTop + 100 + dy), ink);
    }
    // Their orange fill is recorded in black and white as in colour.
    int oranges = 0;
    for (const TRLPolygonObject *p : printed.polygons()) {
        QCOMPARE(p->Pen.Color.ToQColor(), ink);
        if (p->Brush.Style == mbsSolid) {
            QCOMPARE(p->Brush.Color.ToQColor(), kOrange);
            ++oranges;
        }
    }
    QCOMPARE(oranges, 4);
}

void TestDarfLayout::textsPrintWhereLaidOut()
{
    TfrmLayOutDARF form;
    FillLayOutDarf(form, typicalTexts(), kDarkBlue);
    PrintedPage printed(form);
    QVERIFY(printed.page);
    QMultiHash<QString, QPoint> placed;
    for (const TRLTextObject *t : printed.texts())
        placed.insert(t->Text, QPoint(t->BoundsRect.Left, t->BoundsRect.Top));
    int checked = 0;
    for (const TDarfControlRow &row : DarfLayoutRows()) {
        if (row.kind != TDarfKind::Label)
            continue;
        const QString text = form.Control<TRLLabel>(QString::fromLatin1(row.name))->Caption();
        if (text.isEmpty())
            continue; // an empty label prints only its white ground
        if (row.text)
            QCOMPARE(text, QString::fromUtf8(row.text));
        const QPoint at(kBandLeft + row.box.left, kBandTop + row.box.top);
        QVERIFY2(placed.contains(text, at), qPrintable(QString("%1 \"%2\"").arg(row.name, text)));
        ++checked;
    }
    QCOMPARE(checked, 72 - 4); // both copies' empty reference number and blank due date
}

void TestDarfLayout::field09CaptionWrapsInsideItsBox()
{
    TfrmLayOutDARF form;
    FillLayOutDarf(form, typicalTexts(), 0);
    PrintedPage printed(form);
    QVERIFY(printed.page);
    for (const char *name : {"LRLabel19", "LRLabel48"}) {
        auto *caption = form.Control<TRLCustomControl>(name);
        const TRLRect box = caption->BoundsRect();
        const QRect page(kBandLeft + box.Left, kBandTop + box.Top, box.Width(), box.Height());
        QStringList rows;
        const QFontMetrics metrics(caption->Font());
        for (const TRLTextObject *t : printed.texts()) {
            if (!page.contains(t->Origin))
                continue;
            rows << t->Text;
            QVERIFY(t->BoundsRect.Bottom <= page.y() + page.height());
            QVERIFY(t->Origin.x() + metrics.horizontalAdvance(t->Text) <= page.x() + page.width());
        }
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.join(' ').simplified(), QString("VALOR DOS JUROS E/OU ENCARGOS DL - 1.025/69"));
    }
}

QTEST_MAIN(TestDarfLayout)
#include "tst_darflayout.moc"
