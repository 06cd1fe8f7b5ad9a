// The GARE full layout: loading, the fill on the report tree, and the filled report prepared
// into its page store and replayed at 96 dpi.
// With ZAVENOR_GARE_PNG_DIR set, the colour and black-and-white pages are written there as
// gare-colorido.png and gare-preto-e-branco.png.

#include "GareTestData.h"
#include "slips/pLayOutGare.h"
#include "slips/pLayOutGareFill.h"
#include "report/page/RLMetaFile.h"

#include <QDir>
#include <QPainter>
#include <QtTest>

namespace {

constexpr quint32 kGreen = 0x1D611F; // #1F611D as the main window keeps it
const QColor kGreenRgb(0x1F, 0x61, 0x1D);
const QColor kSilver(0xC0, 0xC0, 0xC0);

TGareEntryTexts emptyTexts()
{
    TGareEntryTexts t;
    t.MEDTVencG = QStringLiteral("  /  /    ");
    t.neValRecG = t.neJurMorG = t.neMulMorG = t.neHonor = t.LbTotalG = QStringLiteral("0,00");
    return t;
}

// The report prepared as printing prepares it: one page, kept in the report's page store.
TRLGraphicSurface *preparePage(TfrmLayOutGARE &form)
{
    if (!form.QRGARE->Prepare() || form.QRGARE->Pages()->PageCount() != 1)
        return nullptr;
    return form.QRGARE->Pages()->Pages(0);
}

// Replayed from the store at 96 dpi.
QImage printAndRender(quint32 colour, const TGareEntryTexts &texts)
{
    TfrmLayOutGARE form;
    FillLayOutGare(form, texts, colour, colour);
    TRLGraphicSurface *page = preparePage(form);
    if (!page)
        return QImage();
    QImage image(page->Width(), page->Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    page->PaintTo(&painter, 0, 0, 1.0, 1.0);
    return image;
}

bool near(QColor a, QColor b, int tolerance = 24)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
           && qAbs(a.blue() - b.blue()) <= tolerance;
}

int countPixels(const QImage &image, const QRect &area, const std::function<bool(QColor)> &match)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += match(image.pixelColor(x, y));
    return n;
}

bool isGrey(QColor c)
{
    return qAbs(c.red() - c.green()) < 8 && qAbs(c.green() - c.blue()) < 8;
}

// Drawn in this ink, allowing for the lighter edges of smoothed letters.
bool inked(QColor c, QColor ink)
{
    if (c.lightness() > 200)
        return false;
    if (isGrey(ink))
        return isGrey(c);
    return !isGrey(c) && qAbs(c.hslHue() - ink.hslHue()) < 20;
}

} // namespace

Q_DECLARE_METATYPE(TGareEntryTexts)

class TestGareLayout : public QObject
{
    Q_OBJECT

private slots:
    void loadsEveryRowInPaintingOrder();
    void keepsFixedSizesAndSizesTheRest();
    void fillColours_data();
    void fillColours();
    void fillSwapsTheCrests_data();
    void fillSwapsTheCrests();
    void fillCopiesTextsIntoBothCopies_data();
    void fillCopiesTextsIntoBothCopies();
    void dataTargetsMatchTheLayout();
    void printedPage_data();
    void printedPage();
    void memoRowsFollowTheLineBreaks();
    void writesPictures();
};

void TestGareLayout::loadsEveryRowInPaintingOrder()
{
    TfrmLayOutGARE form;
    QVERIFY(form.isHidden());
    QCOMPARE(form.windowTitle(), QStringLiteral("ZAVENOR"));
    QCOMPARE(form.QRGARE->Width(), 794);
    QCOMPARE(form.QRGARE->Height(), 1123);
    QCOMPARE(form.QRGARE->ClientRect(), TRLRect(38, 38, 794 - 38, 1123 - 38));
    QCOMPARE(form.DetailBand1->BoundsRect(), TRLRect(38, 38, 38 + 718, 38 + 2));

    // The site paints its controls in the owner's order, so that order must be the table's.
    QStringList painted;
    for (TRLCustomControl *c : form.QRGARE->ControlsInCreationOrder())
        if (c != form.DetailBand1)
            painted << c->Name();
    QStringList stored;
    for (const TGareControlRow &row : GareLayoutRows())
        stored << QString::fromLatin1(row.name);
    QCOMPARE(painted, stored);
    QCOMPARE(painted.size(), 228);
    QCOMPARE(QSet<QString>(painted.begin(), painted.end()).size(), painted.size());
}

void TestGareLayout::keepsFixedSizesAndSizesTheRest()
{
    TfrmLayOutGARE form;
    int sized = 0;
    for (const TGareControlRow &row : GareLayoutRows()) {
        TRLCustomControl *c = form.Control(QString::fromLatin1(row.name));
        QVERIFY2(c, row.name);
        const TRLRect stored(row.left, row.top, row.left + row.width, row.top + row.height);
        const bool sizesItself = (row.kind == gkLabel || row.kind == gkMemo) && !row.fixedSize;
        if (!sizesItself) {
            QVERIFY2(c->BoundsRect() == stored, row.name);
            continue;
        }
        // Self-sizing text keeps its corner (all are left-aligned); a caption takes about its
        // stored size, an empty memo one row's height at its stored width.
        ++sized;
        QCOMPARE(c->Left(), row.left);
        QCOMPARE(c->Top(), row.top);
        if (row.kind == gkLabel) {
            QVERIFY2(qAbs(c->Width() - row.width) <= row.width / 10, row.name);
            QVERIFY2(qAbs(c->Height() - row.height) <= 3, row.name);
        } else {
            QCOMPARE(c->Width(), row.width);
            QVERIFY2(c->Height() > 8 && c->Height() < 20, row.name);
        }
    }
    QCOMPARE(sized, 30);
}

void TestGareLayout::fillColours_data()
{
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<QColor>("ink");
    QTest::addColumn<QColor>("barFill");
    QTest::newRow("colour") << kGreen << kGreenRgb << kGreenRgb;
    QTest::newRow("black and white") << 0u << QColor(Qt::black) << kSilver;
    QTest::newRow("any other colour") << 0x0000FFu << QColor(Qt::red) << QColor(Qt::red);
}

void TestGareLayout::fillColours()
{
    QFETCH(quint32, colour);
    QFETCH(QColor, ink);
    QFETCH(QColor, barFill);
    TfrmLayOutGARE form;
    FillLayOutGare(form, emptyTexts(), colour, colour);

    QSet<QString> data;
    for (const TGareDataTarget &t : GareDataTargets())
        data << QString::fromLatin1(t.control) << QString::fromLatin1(t.control) + QLatin1Char('2');
    const QSet<QString> marks{"LabelGARE1", "LabelGARE2"};
    const QSet<QString> masks{"Some1", "Some2", "Some3", "Some4"};
    const QSet<QString> bars{"Vertical1", "Vertical2", "Horiz1", "Horiz2", "Horiz3", "Horiz4"};
    for (const TGareControlRow &row : GareLayoutRows()) {
        const QString name = QString::fromLatin1(row.name);
        TRLCustomControl *c = form.Control(name);
        if (auto *d = qobject_cast<TRLDraw *>(c)) {
            QCOMPARE(d->Pen().color(), masks.contains(name) ? QColor(Qt::white) : ink);
            if (bars.contains(name))
                QCOMPARE(d->Brush().color(), barFill);
            QCOMPARE(d->Brush().style(), row.brush.clear ? Qt::NoBrush : Qt::SolidPattern);
        } else if (marks.contains(name)) {
            QCOMPARE(c->FontColor(), QColor(Qt::white));
            QCOMPARE(c->Color(), colour ? ink : QColor(Qt::black));
            QVERIFY(!c->Transparent());
        } else if (qobject_cast<TRLLabel *>(c) || qobject_cast<TRLMemo *>(c)) {
            QVERIFY2(c->FontColor() == (data.contains(name) ? QColor(Qt::black) : ink), row.name);
        }
    }
    // The white masks keep their fill whatever the colour.
    QCOMPARE(form.Control<TRLDraw>("Some1")->Brush().color(), QColor(Qt::white));
}

void TestGareLayout::fillSwapsTheCrests_data()
{
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("hidden");
    QTest::newRow("colour") << kGreen << "BrasaoCor" << "BrasaoPB";
    QTest::newRow("black and white") << 0u << "BrasaoPB" << "BrasaoCor";
}

void TestGareLayout::fillSwapsTheCrests()
{
    QFETCH(quint32, colour);
    QFETCH(QString, shown);
    QFETCH(QString, hidden);
    TfrmLayOutGARE form;
    FillLayOutGare(form, emptyTexts(), colour, colour);
    const QList<TRLCustomControl *> order = form.QRGARE->ControlsInCreationOrder();
    for (const char *copy : {"1", "2"}) {
        auto *front = form.Control<TRLImage>(qPrintable(shown + QLatin1String(copy)));
        auto *back = form.Control<TRLImage>(qPrintable(hidden + QLatin1String(copy)));
        QVERIFY(front->Visible());
        QVERIFY(!back->Visible());
        QVERIFY(front->Enabled());
        QCOMPARE(back->Enabled(), colour != 0);
        // In front of every caption and data label that could overlap it.
        QVERIFY(order.indexOf(front) > order.indexOf(form.Control("LTribRecG2")));
    }
}

void TestGareLayout::fillCopiesTextsIntoBothCopies_data()
{
    QTest::addColumn<TGareEntryTexts>("texts");
    QTest::newRow("typical") << typicalGareTexts();
    QTest::newRow("nothing typed") << emptyTexts();
    TGareEntryTexts blanks = typicalGareTexts();
    blanks.EdNomeG = QStringLiteral("  nome com brancos  ");
    blanks.EDCGCG = QStringLiteral("12345678000190");
    blanks.MMObsG = QStringLiteral("\nlinha depois de uma vazia\n");
    QTest::newRow("as typed") << blanks;
}

void TestGareLayout::fillCopiesTextsIntoBothCopies()
{
    QFETCH(TGareEntryTexts, texts);
    TfrmLayOutGARE form;
    FillLayOutGare(form, texts, kGreen, kGreen);
    for (const char *copy : {"", "2"}) {
        for (const TGareDataTarget &t : GareDataTargets()) {
            const QString name = QString::fromLatin1(t.control) + QLatin1String(copy);
            const QString expected = texts.*t.text;
            if (auto *label = form.Control<TRLLabel>(qPrintable(name)))
                QCOMPARE(label->Caption(), expected);
            else
                QCOMPARE(form.Control<TRLMemo>(qPrintable(name))->Caption(), expected);
        }
    }
}

void TestGareLayout::dataTargetsMatchTheLayout()
{
    // The fill and the layout must name the same entry field for every data control.
    QHash<QString, QString> layoutData;
    for (const TGareControlRow &row : GareLayoutRows())
        if (row.data)
            layoutData.insert(QString::fromLatin1(row.name), QString::fromLatin1(row.data));
    QCOMPARE(layoutData.size(), 40);
    for (const TGareDataTarget &t : GareDataTargets()) {
        QCOMPARE(layoutData.value(QString::fromLatin1(t.control)), QString::fromLatin1(t.field));
        QCOMPARE(layoutData.value(QString::fromLatin1(t.control) + QLatin1Char('2')), QString::fromLatin1(t.field));
    }
}

void TestGareLayout::printedPage_data()
{
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<QColor>("ink");
    QTest::addColumn<QColor>("barFill");
    QTest::newRow("colour") << kGreen << kGreenRgb << kGreenRgb;
    QTest::newRow("black and white") << 0u << QColor(Qt::black) << kSilver;
}

void TestGareLayout::printedPage()
{
    QFETCH(quint32, colour);
    QFETCH(QColor, ink);
    QFETCH(QColor, barFill);
    const QImage page = printAndRender(colour, typicalGareTexts());
    QCOMPARE(page.size(), QSize(794, 1123));
    const QString dir = qEnvironmentVariable("ZAVENOR_GARE_PNG_DIR");
    if (!dir.isEmpty())
        QVERIFY(page.save(QDir(dir).filePath(colour ? "gare-colorido.png" : "gare-preto-e-branco.png")));

    for (int shift : {0, 409}) {
        // Vertical bar and shaded field 07 filled; the mark white letters on a filled box.
        QVERIFY(near(page.pixelColor(543, 250 + shift), barFill, 4));
        QVERIFY(near(page.pixelColor(700, 222 + shift), barFill, 4));
        QVERIFY(near(page.pixelColor(403, 45 + shift), colour ? ink : QColor(Qt::black), 4));
        QVERIFY(countPixels(page, QRect(405, 48 + shift, 98, 26), [](QColor c) { return c == Qt::white; }) > 100);
        // The frame's line shows left of the masks and not under them.
        QVERIFY(near(page.pixelColor(300, 38 + shift), ink, 40));
        QCOMPARE(countPixels(page, QRect(600, 32 + shift, 180, 10), [](QColor c) { return c != Qt::white; }), 0);
        QCOMPARE(countPixels(page, QRect(773, 32 + shift, 4, 50), [](QColor c) { return c != Qt::white; }), 0);
        // Field 01's caption stands in the opened corner.
        QVERIFY(countPixels(page, QRect(538, 70 + shift, 140, 12), [&](QColor c) { return inked(c, ink); }) > 40);
        // Captions print in the ink, data in black.
        const QRect caption(568, 88 + shift, 75, 8);
        QVERIFY(countPixels(page, caption, [&](QColor c) { return inked(c, ink); }) > 20);
        const QRect total(650, 381 + shift, 110, 14);
        QVERIFY(countPixels(page, total, [](QColor c) { return inked(c, Qt::black); }) > 40);
        // The crest: coloured pixels only in colour printing.
        const int coloured = countPixels(page, QRect(27, 42 + shift, 49, 60), [](QColor c) { return !isGrey(c); });
        if (colour)
            QVERIFY(coloured > 200);
        else
            QCOMPARE(coloured, 0);
    }
    if (colour == 0)
        QCOMPARE(countPixels(page, page.rect(), [](QColor c) { return !isGrey(c); }), 0);

}

void TestGareLayout::memoRowsFollowTheLineBreaks()
{
    TfrmLayOutGARE form;
    TGareEntryTexts texts = typicalGareTexts();
    FillLayOutGare(form, texts, kGreen, kGreen);
    TRLGraphicSurface *page = preparePage(form);
    QVERIFY(page);
    // A memo row is recorded across the memo's whole width.
    QMap<QString, QList<TRLTextObject *>> byControl;
    for (int i = 0; i < page->ObjectCount(); ++i) {
        auto *t = dynamic_cast<TRLTextObject *>(page->Objects(i));
        if (!t || t->Text.trimmed().isEmpty())
            continue;
        for (const char *name : {"LTribRecG", "LTribRecG2", "LObserv", "LObserv2"}) {
            const TRLRect memo = form.Control(name)->BoundsRect();
            if (t->BoundsRect.Left == memo.Left && t->BoundsRect.Right == memo.Right
                && t->BoundsRect.Top >= memo.Top && t->BoundsRect.Top < memo.Top + 130)
                byControl[name] << t;
        }
    }
    for (const char *name : {"LTribRecG", "LTribRecG2"}) {
        const auto rows = byControl.value(name);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0]->Text, texts.MMTribG.section('\n', 0, 0));
        QCOMPARE(rows[1]->Text, texts.MMTribG.section('\n', 1, 1));
        QVERIFY(rows[1]->BoundsRect.Top > rows[0]->BoundsRect.Top);
        QCOMPARE(rows[0]->BoundsRect.Top, form.Control(name)->Top());
    }
    for (const char *name : {"LObserv", "LObserv2"}) {
        const auto rows = byControl.value(name);
        // Four lines, the long ones wrapped inside the 481-pixel box, all inside box 21.
        QVERIFY2(rows.size() >= 5 && rows.size() <= 8, name);
        QVERIFY(texts.MMObsG.contains(rows.first()->Text));
        QCOMPARE(rows.last()->Text, QStringLiteral("Documento emitido pelo contribuinte."));
        const int boxBottom = form.Control(name == QLatin1String("LObserv") ? "QRShape19" : "QRShape58")->BoundsRect().Bottom;
        QVERIFY(rows.last()->BoundsRect.Bottom < boxBottom);
    }
}

void TestGareLayout::writesPictures()
{
    const QImage colour = GarePicture(gpCrestColour);
    QCOMPARE(colour.size(), QSize(67, 71));
    QCOMPARE(colour.depth(), 24);
    QVERIFY(!colour.allGray());
    const QImage grey = GarePicture(gpCrestGrey);
    QCOMPARE(grey.size(), QSize(67, 71));
    QCOMPARE(grey.format(), QImage::Format_Indexed8);
    QCOMPARE(grey.colorCount(), 256);
    QVERIFY(grey.allGray());
    const QImage scissors = GarePicture(gpScissors);
    QCOMPARE(scissors.size(), QSize(20, 20));
    QVERIFY(scissors.colorCount() <= 16);
}

QTEST_MAIN(TestGareLayout)
#include "tst_garelayout.moc"
