// Recorded pages: the stored bytes, loading untrusted pages, recording, macros, cutting,
// copying and scaling.

#include "report/base/RLExceptions.h"
#include "report/page/RLMetaFile.h"

#include <QBuffer>
#include <QFile>
#include <QtTest>

namespace {

// Bytes written out as hex with blanks between fields.
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

const char signatureHex[] = "52 4C 47 72 61 70 68 69 63 53 75 72 66 61 63 65 33 1A"; // "RLGraphicSurface3" 26

QByteArray page(const char *afterSignature)
{
    return hex(signatureHex) + hex(afterSignature);
}

QString loadError(const QByteArray &bytes, TRLGraphicSurface &surface)
{
    try {
        surface.LoadFromBytes(bytes);
    } catch (const TRLException &e) {
        return e.Message();
    }
    return QString();
}

// One object of every kind, each field away from its default.
void recordEveryKind(TRLGraphicSurface &s)
{
    s.SetWidth(300);
    s.SetHeight(200);
    s.Macros().SetValue(QStringLiteral("Orientation"), QStringLiteral("2"));
    auto *pixel = new TRLPixelObject(&s);
    pixel->BoundsRect = TRLRect(1, 2, 3, 4);
    pixel->Color = TRLMetaColor{1, 2, 3};
    pixel->SourceControlId = 42;
    auto *line = new TRLLineObject(&s);
    line->BoundsRect = TRLRect(-5, 0, 50, 60);
    line->FromPoint = QPoint(-5, 0);
    line->ToPoint = QPoint(50, 60);
    line->Pen = TRLMetaPen{TRLMetaColor{9, 8, 7}, mpmXor, mpsDashDot, 3};
    line->Brush = TRLMetaBrush{TRLMetaColor{4, 5, 6}, mbsCross};
    auto *rectangle = new TRLRectangleObject(&s);
    rectangle->BoundsRect = TRLRect(10, 10, 20, 20);
    rectangle->Pen.Width = 2;
    rectangle->Brush.Style = mbsClear;
    auto *text = new TRLTextObject(&s);
    text->BoundsRect = TRLRect(0, 100, 300, 120);
    text->Alignment = mtaJustify;
    text->Layout = mtlBottom;
    text->Origin = QPoint(3, 101);
    text->TextOptions = 0;
    text->Text = QStringLiteral("Pagamento à vista: São Paulo – “GARE” €");
    text->Font.Size = 9;
    text->Font.Style = mfsItalic | mfsUnderline;
    text->SetFontName(QStringLiteral("Liberation Serif"));
    auto *fill = new TRLFillRectObject(&s);
    fill->BoundsRect = TRLRect(0, 0, 0, 200);
    fill->Brush.Style = mbsBDiagonal;
    auto *ellipse = new TRLEllipseObject(&s);
    ellipse->BoundsRect = TRLRect(30, 30, 60, 50);
    ellipse->Pen.Mode = mpmNotCopy;
    auto *polygon = new TRLPolygonObject(&s);
    polygon->Points = {QPoint(0, 0), QPoint(10, 0), QPoint(5, -7)};
    auto *polyline = new TRLPolylineObject(&s);
    polyline->Points = {QPoint(1, 1), QPoint(2, 3)};
    polyline->Pen.Style = mpsClear;
    auto *image = new TRLImageObject(&s);
    image->BoundsRect = TRLRect(100, 100, 140, 120);
    image->Data = QByteArrayLiteral("BMP") + QByteArray(10, '\0');
    image->WholeWidths = true;
    auto *setClip = new TRLSetClipRectObject(&s);
    setClip->BoundsRect = TRLRect(0, 0, 150, 100);
    auto *resetClip = new TRLResetClipRectObject(&s);
    resetClip->BoundsRect = TRLRect(0, 0, 150, 100);
}

} // namespace

class TestRLMetaFile : public QObject
{
    Q_OBJECT

private slots:
    void picturesRecordTheirPixelsOfTheMoment_data();
    void picturesRecordTheirPixelsOfTheMoment();
    void exactBytesOfEmptyPage();
    void exactBytesOfMacroAndFill();
    void exactBytesOfAccentedText();
    void exactBytesOfShapesPicturesAndClips();
    void roundTripOfEveryKind();
    void objectsAreReadByTheirLength();
    void fontLargerThanPageRefused_data();
    void fontLargerThanPageRefused();
    void corruptPageFails_data();
    void corruptPageFails();
    void loadsFromTheMiddleOfAStream();

    void recordingTakesCurrentAttributes();
    void recordingOpensAndKeepsClipStack();
    void drawGroupsFollowTheCounter();
    void picturesRecordedAsBitmaps();
    void fitAndCropDraw();
    void picturesBeyondReplayRefused_data();
    void picturesBeyondReplayRefused();
    void clearEmptiesThePage();
    void pageValuesAsMacros();

    void macroExpansion_data();
    void macroExpansion();

    void findCutRow_data();
    void findCutRow();

    void mergeOffsetsAndKeepsFontNames();
    void copyRectScalesAndClips();
    void scalingRoundsAndKeepsPensVisible();
};

void TestRLMetaFile::exactBytesOfEmptyPage()
{
    TRLGraphicSurface s;
    s.SetWidth(794);
    s.SetHeight(1123);
    QCOMPARE(s.SaveToBytes(), page("1A030000 63040000  00000000  00000000  00000000"));
}

void TestRLMetaFile::exactBytesOfMacroAndFill()
{
    TRLGraphicSurface s;
    s.SetWidth(100);
    s.SetHeight(50);
    s.SetOrientation(1);
    s.SetBrush(QBrush(QColor(255, 0, 0)));
    s.FillRect(TRLRect(1, 2, 3, 4));
    s.Objects(0)->DrawGroup = 7;
    QCOMPARE(s.SaveToBytes(), page("64000000 32000000"
                                   " 01000000 0D000000 4F7269656E746174696F6E3D31" // "Orientation=1"
                                   " 00000000"                                       // no fonts
                                   " 01000000 05 1C000000"                           // fill rect, 28 bytes
                                   " 01000000 02000000 03000000 04000000 07000000 00000000"
                                   " FF0000 01"));
}

void TestRLMetaFile::exactBytesOfAccentedText()
{
    TRLGraphicSurface s;
    auto *text = new TRLTextObject(&s);
    text->BoundsRect = TRLRect(0, 0, 10, 10);
    text->DrawGroup = 0;
    text->Alignment = mtaRight;
    text->Layout = mtlCenter;
    text->Origin = QPoint(5, 6);
    text->Text = QStringLiteral("Ação");
    text->Brush = TRLMetaBrush{TRLMetaColor{}, mbsClear};
    text->Font = TRLMetaFont{96, 0, TRLMetaColor{0, 0, 255}, -13, 0, mfpDefault, 10, mfsBold | mfsItalic};
    text->SetFontName(QStringLiteral("Arial"));
    const QByteArray expected = page("00000000 00000000 00000000"
                                     " 01000000 05000000 417269616C" // "Arial"
                                     " 01000000 04 48000000"         // text, 72 bytes
                                     " 00000000 00000000 0A000000 0A000000 00000000 00000000"
                                     " 02 03 05000000 06000000 0500"
                                     " 06000000 41C3A7C3A36F" // "Ação" in UTF-8: 6 bytes
                                     " 000000 02"
                                     " 60000000 00 0000FF F3FFFFFF 00000000 01 0A000000 03");
    QCOMPARE(s.SaveToBytes(), expected);

    TRLGraphicSurface loaded;
    loaded.LoadFromBytes(expected);
    QCOMPARE(static_cast<TRLTextObject *>(loaded.Objects(0))->Text, QStringLiteral("Ação"));
    QCOMPARE(static_cast<TRLTextObject *>(loaded.Objects(0))->FontName(), QStringLiteral("Arial"));
}

void TestRLMetaFile::exactBytesOfShapesPicturesAndClips()
{
    TRLGraphicSurface s;
    const auto base = [](TRLGraphicObject *object, int left) {
        object->BoundsRect = TRLRect(left, 2, 3, 4);
        object->DrawGroup = 0;
        return object;
    };
    auto *line = static_cast<TRLLineObject *>(base(new TRLLineObject(&s), 1));
    line->FromPoint = QPoint(1, 2);
    line->ToPoint = QPoint(3, -1);
    line->Pen = TRLMetaPen{TRLMetaColor{9, 8, 7}, mpmXor, mpsDashDot, 3};
    line->Brush = TRLMetaBrush{TRLMetaColor{4, 5, 6}, mbsCross};
    auto *polygon = static_cast<TRLPolygonObject *>(base(new TRLPolygonObject(&s), 2));
    polygon->Points = {QPoint(1, 2), QPoint(3, 4)};
    auto *polyline = static_cast<TRLPolylineObject *>(base(new TRLPolylineObject(&s), 3));
    polyline->Points = {QPoint(5, 6)};
    auto *image = static_cast<TRLImageObject *>(base(new TRLImageObject(&s), 4));
    image->Data = QByteArrayLiteral("NIL");
    image->WholeWidths = true;
    base(new TRLEllipseObject(&s), 5);
    static_cast<TRLPixelObject *>(base(new TRLPixelObject(&s), 6))->Color = TRLMetaColor{1, 2, 3};
    base(new TRLSetClipRectObject(&s), 7);
    base(new TRLResetClipRectObject(&s), 8);
    const char *bounds = " 02000000 03000000 04000000 00000000 00000000";
    QByteArray expected = page("00000000 00000000 00000000 00000000 08000000");
    const auto object = [&](const char *head, int left, const char *own) {
        expected += hex(head) + hex(QByteArray::number(left, 16).rightJustified(2, '0') + "000000")
            + hex(bounds) + hex(own);
    };
    object("02 35000000", 1, "01000000 02000000 03000000 FFFFFFFF" // from, to
                             " 090807 0F 04 03000000 040506 07");  // pen, brush
    object("07 39000000", 2, "000000 05 01 00000000 000000 01 02000000 01000000 02000000 03000000 04000000");
    object("08 2D000000", 3, "000000 05 01 00000000 01000000 05000000 06000000");
    object("09 20000000", 4, "03000000 4E494C 01"); // "NIL", whole widths
    object("06 25000000", 5, "000000 05 01 00000000 000000 01");
    object("01 1B000000", 6, "010203");
    object("0A 18000000", 7, "");
    object("0B 18000000", 8, "");
    QCOMPARE(s.SaveToBytes().toHex(' '), expected.toHex(' '));

    TRLGraphicSurface loaded;
    loaded.LoadFromBytes(expected);
    QCOMPARE(loaded.SaveToBytes(), expected);
    QCOMPARE(static_cast<TRLLineObject *>(loaded.Objects(0))->ToPoint, QPoint(3, -1));
}

void TestRLMetaFile::roundTripOfEveryKind()
{
    TRLGraphicSurface original;
    recordEveryKind(original);
    const QByteArray bytes = original.SaveToBytes();
    TRLGraphicSurface loaded;
    loaded.LoadFromBytes(bytes);
    QCOMPARE(loaded.ObjectCount(), 11);
    for (int i = 0; i < loaded.ObjectCount(); ++i)
        QCOMPARE(int(loaded.Objects(i)->Code()), i + 1);
    QCOMPARE(loaded.SaveToBytes(), bytes);
    QVERIFY(!loaded.Modified());
    // Reading and writing could swap fields alike; a few read values rule that out.
    QCOMPARE(loaded.Orientation(), 2);
    QCOMPARE(loaded.Objects(0)->SourceControlId, 42);
    const auto *line = static_cast<TRLLineObject *>(loaded.Objects(1));
    QVERIFY(line->Pen == (TRLMetaPen{TRLMetaColor{9, 8, 7}, mpmXor, mpsDashDot, 3}));
    QCOMPARE(line->Brush.Style, mbsCross);
    const auto *text = static_cast<TRLTextObject *>(loaded.Objects(3));
    QCOMPARE(text->Text, QStringLiteral("Pagamento à vista: São Paulo – “GARE” €"));
    QCOMPARE(text->FontName(), QStringLiteral("Liberation Serif"));
    QCOMPARE(static_cast<TRLPolygonObject *>(loaded.Objects(6))->Points.last(), QPoint(5, -7));
    QVERIFY(static_cast<TRLImageObject *>(loaded.Objects(8))->WholeWidths);
}

void TestRLMetaFile::objectsAreReadByTheirLength()
{
    // An unknown code-99 object of three bytes, then a fill rect stored two bytes longer than its
    // fields, then a reset clip: the unknown one and the spare bytes are passed over.
    const QByteArray bytes = page("0A000000 0A000000 00000000 00000000 03000000"
                                  " 63 03000000 AABBCC"
                                  " 05 1E000000 01000000 01000000 02000000 02000000 00000000 00000000 00FF00 01 EEEE"
                                  " 0B 18000000 000000000000000000000000000000000000000000000000");
    TRLGraphicSurface s;
    s.LoadFromBytes(bytes);
    QCOMPARE(s.ObjectCount(), 2);
    QVERIFY(static_cast<TRLFillRectObject *>(s.Objects(0))->Brush.Color == (TRLMetaColor{0, 255, 0}));
    QCOMPARE(int(s.Objects(1)->Code()), int(TRLGraphicObject::ResetClipRectKind));
}

void TestRLMetaFile::fontLargerThanPageRefused_data()
{
    // On a page of 300 x 200 px; a font's pixels are its size in points at its resolution.
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("pixelsPerInch");
    QTest::addColumn<bool>("loads");
    QTest::newRow("10 pt") << 10 << 96 << true;
    QTest::newRow("as large as the page's longer side") << 225 << 96 << true;
    QTest::newRow("one pixel beyond") << 226 << 96 << false;
    QTest::newRow("32768 pt") << 32768 << 96 << false;
    QTest::newRow("negative, beyond") << -32768 << 96 << false;
    QTest::newRow("given for 72 per inch") << 300 << 72 << true;
    QTest::newRow("resolution 0 reads as 96") << 225 << 0 << true;
    QTest::newRow("resolution 0, beyond") << 226 << 0 << false;
    QTest::newRow("negative resolution") << 10 << -96 << false;
}

void TestRLMetaFile::fontLargerThanPageRefused()
{
    QFETCH(int, size);
    QFETCH(int, pixelsPerInch);
    QFETCH(bool, loads);
    TRLGraphicSurface s;
    s.SetWidth(300);
    s.SetHeight(200);
    s.TextRect(TRLRect(0, 0, 100, 20), 0, 0, QStringLiteral("Texto"));
    auto *text = dynamic_cast<TRLTextObject *>(s.Objects(0));
    QVERIFY(text);
    text->Font.Size = size;
    text->Font.PixelsPerInch = pixelsPerInch;
    TRLGraphicSurface loaded;
    QCOMPARE(loadError(s.SaveToBytes(), loaded), loads ? QString() : QStringLiteral("File is corrupted!"));
    QCOMPARE(loaded.ObjectCount(), loads ? 1 : 0);
}

void TestRLMetaFile::corruptPageFails_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray head = hex(signatureHex);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("other signature") << hex("524C477261706869635375726661636532 1A 00000000");
    QTest::newRow("no end mark") << QByteArray(40, 'R');
    QTest::newRow("signature only") << head;
    QTest::newRow("truncated size") << page("0A000000 0A00");
    QTest::newRow("macro count beyond the end") << page("0A000000 0A000000 FFFFFF7F");
    QTest::newRow("negative macro count") << page("0A000000 0A000000 FFFFFFFF");
    QTest::newRow("macro longer than the page") << page("0A000000 0A000000 01000000 00000010 41");
    QTest::newRow("font count beyond the end") << page("0A000000 0A000000 00000000 00010000");
    QTest::newRow("object count beyond the end") << page("0A000000 0A000000 00000000 00000000 02000000 63 00000000");
    QTest::newRow("negative body length") << page("0A000000 0A000000 00000000 00000000 01000000 63 F0FFFFFF");
    QTest::newRow("body shorter than its fields")
        << page("0A000000 0A000000 00000000 00000000 01000000 05 04000000 01000000");
    QTest::newRow("points beyond the body")
        << page("0A000000 0A000000 00000000 00000000 01000000 08 29000000"
                " 000000000000000000000000000000000000000000000000 000000 05 01 00000000 FFFFFF0F 01000000");
    QTest::newRow("text length beyond the body")
        << page("0A000000 0A000000 00000000 00000000 01000000 04 2C000000"
                " 000000000000000000000000000000000000000000000000 01 01 0000000000000000 0500 FFFFFF7F 41414141");
}

void TestRLMetaFile::corruptPageFails()
{
    QFETCH(QByteArray, bytes);
    TRLGraphicSurface s;
    s.FillRect(TRLRect(0, 0, 1, 1)); // loading starts by clearing, and a failure leaves nothing
    QCOMPARE(loadError(bytes, s), QStringLiteral("File is corrupted!"));
    QCOMPARE(s.ObjectCount(), 0);
    QVERIFY(s.Fonts().isEmpty());
}

void TestRLMetaFile::loadsFromTheMiddleOfAStream()
{
    TRLGraphicSurface original;
    recordEveryKind(original);
    QByteArray file = QByteArrayLiteral("junk");
    const QByteArray pageBytes = original.SaveToBytes();
    file += pageBytes + QByteArrayLiteral("tail");
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(4);
    TRLGraphicSurface s;
    s.LoadFromStream(&buffer, pageBytes.size());
    QCOMPARE(s.ObjectCount(), 11);
    QCOMPARE(buffer.pos(), qint64(4 + pageBytes.size()));

    // The same page limited to fewer bytes than it needs is corrupted.
    buffer.seek(4);
    QVERIFY_THROWS_EXCEPTION(TRLException, s.LoadFromStream(&buffer, pageBytes.size() - 1));
}

void TestRLMetaFile::recordingTakesCurrentAttributes()
{
    TRLGraphicSurface s;
    QPen pen(QColor(10, 20, 30), 3, Qt::DashDotDotLine);
    s.SetPen(pen);
    s.SetBrush(QBrush(QColor(40, 50, 60), Qt::Dense4Pattern)); // no meta style: solid
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(11);
    font.setBold(true);
    font.setStrikeOut(true);
    s.SetFont(font);
    s.SetFontColor(QColor(0, 0, 139));

    s.Rectangle(1, 2, 3, 4);
    s.Polygon({QPoint(5, 9), QPoint(-2, 4), QPoint(7, 1)});
    s.TextRect(TRLRect(0, 0, 100, 20), 2, 3, QStringLiteral("x"), mtaCenter, mtlBottom, MetaTextFlagKeepWhole);
    s.SetBrush(Qt::NoBrush);
    s.FillRect(TRLRect(0, 0, 5, 5));

    const auto *rectangle = static_cast<TRLRectangleObject *>(s.Objects(0));
    QVERIFY(rectangle->Pen == (TRLMetaPen{TRLMetaColor{10, 20, 30}, mpmCopy, mpsDashDotDot, 3}));
    QVERIFY(rectangle->Brush == (TRLMetaBrush{TRLMetaColor{40, 50, 60}, mbsSolid}));
    QCOMPARE(rectangle->BoundsRect, TRLRect(1, 2, 3, 4));
    const auto *polygon = static_cast<TRLPolygonObject *>(s.Objects(1));
    QCOMPARE(polygon->BoundsRect, TRLRect(-2, 1, 7, 9)); // the extreme points, not widened
    const auto *text = static_cast<TRLTextObject *>(s.Objects(2));
    QCOMPARE(text->FontName(), QStringLiteral("Arial"));
    QCOMPARE(text->Font.Size, 11);
    QCOMPARE(text->Font.PixelsPerInch, 96);
    QCOMPARE(text->Font.Style, quint8(mfsBold | mfsStrikeOut));
    QVERIFY(text->Font.Color == (TRLMetaColor{0, 0, 139}));
    QCOMPARE(text->Origin, QPoint(2, 3));
    QCOMPARE(text->Alignment, mtaCenter);
    QCOMPARE(text->Layout, mtlBottom);
    QCOMPARE(text->TextOptions, quint16(MetaTextFlagKeepWhole));
    QCOMPARE(static_cast<TRLFillRectObject *>(s.Objects(3))->Brush.Style, mbsClear);
    QCOMPARE(s.SourceControlId(), 0);
    QVERIFY(s.Modified());
}

void TestRLMetaFile::recordingOpensAndKeepsClipStack()
{
    TRLGraphicSurface s;
    s.SetWidth(100);
    s.SetHeight(80);
    s.SetMargins(TRLRect(5, 6, 95, 74));
    s.SetSourceControlId(9);
    QVERIFY(!s.Opened());
    s.SetClipRect(TRLRect(10, 10, 20, 20));
    QVERIFY(s.Opened());
    QCOMPARE(s.PenPos(), QPoint(5, 6));
    QCOMPARE(s.SourceControlId(), 0);
    s.SetClipRect(TRLRect(12, 12, 15, 15));
    QCOMPARE(s.ClipRect(), TRLRect(12, 12, 15, 15));
    s.ResetClipRect();
    QCOMPARE(s.ClipRect(), TRLRect(10, 10, 20, 20));
    s.ResetClipRect();
    QCOMPARE(s.ClipRect(), TRLRect(0, 0, 100, 80));
    // Each reset records the rectangle it leaves.
    QCOMPARE(s.Objects(2)->BoundsRect, TRLRect(12, 12, 15, 15));
    QCOMPARE(s.Objects(3)->BoundsRect, TRLRect(10, 10, 20, 20));
    s.Close();
    QVERIFY(!s.Opened());
}

void TestRLMetaFile::drawGroupsFollowTheCounter()
{
    TRLGraphicSurface s;
    const int group = NextDrawGroup();
    s.FillRect(TRLRect(0, 0, 1, 1));
    s.FillRect(TRLRect(0, 0, 1, 1));
    QCOMPARE(NextDrawGroup(), group + 1);
    s.FillRect(TRLRect(0, 0, 1, 1));
    QCOMPARE(s.Objects(0)->DrawGroup, group);
    QCOMPARE(s.Objects(1)->DrawGroup, group);
    QCOMPARE(s.Objects(2)->DrawGroup, group + 1);
}

void TestRLMetaFile::picturesRecordedAsBitmaps()
{
    QImage picture(7, 3, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixel(2, 1, qRgb(200, 0, 0));
    TRLGraphicSurface s;
    s.Draw(10, 20, picture, true);
    s.StretchDraw(TRLRect(0, 0, 70, 30), QImage());
    const auto *image = static_cast<TRLImageObject *>(s.Objects(0));
    QCOMPARE(image->BoundsRect, TRLRect(10, 20, 17, 23));
    QVERIFY(image->WholeWidths);
    QVERIFY(image->Data.startsWith("BMPBM"));
    const QImage back = TRLImageObject::PictureFromData(image->Data);
    QCOMPARE(back.size(), QSize(7, 3));
    QCOMPARE(back.pixel(2, 1), qRgb(200, 0, 0));
    QCOMPARE(back.pixel(0, 0), qRgb(255, 255, 255)); // transparency shows the paper
    QCOMPARE(static_cast<TRLImageObject *>(s.Objects(1))->Data, QByteArray("NIL"));
    QImage iconPicture(16, 16, QImage::Format_ARGB32);
    iconPicture.fill(qRgb(200, 0, 0));
    QByteArray icon;
    QBuffer iconBuffer(&icon);
    iconBuffer.open(QIODevice::WriteOnly);
    QVERIFY(iconPicture.save(&iconBuffer, "ICO"));
    QCOMPARE(TRLImageObject::PictureFromData("ICO" + icon).pixel(2, 1), qRgb(200, 0, 0));
    QVERIFY(TRLImageObject::PictureFromData("BMP garbage").isNull());
    QVERIFY(TRLImageObject::PictureFromData("XYZ").isNull());
}

void TestRLMetaFile::picturesBeyondReplayRefused_data()
{
    // 0 stretch, 1 draw, 2 fit, 3 crop into a small rectangle.
    QTest::addColumn<int>("how");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("recorded");
    QTest::newRow("stretch, at the limit") << 0 << QSize(4096, 4096) << true;
    QTest::newRow("stretch, one column over") << 0 << QSize(4097, 4096) << false;
    QTest::newRow("draw, one row over") << 1 << QSize(4096, 4097) << false;
    QTest::newRow("fit, long and thin") << 2 << QSize(1 << 25, 1) << false;
    QTest::newRow("crop keeps only what shows") << 3 << QSize(4097, 4096) << true;
}

void TestRLMetaFile::picturesBeyondReplayRefused()
{
    // Whatever is recorded must come back on replay: a picture replay would drop is an error
    // when it is drawn, never a blank on paper.
    QFETCH(int, how);
    QFETCH(QSize, size);
    QFETCH(bool, recorded);
    QImage picture(size, QImage::Format_Mono);
    picture.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    picture.fill(1);
    TRLGraphicSurface s;
    const TRLRect r(0, 0, 100, 100);
    bool refused = false;
    try {
        switch (how) {
        case 0: s.StretchDraw(r, picture); break;
        case 1: s.Draw(0, 0, picture); break;
        case 2: s.FitDraw(r, picture, false); break;
        default: s.CropDraw(r, picture, false); break;
        }
    } catch (const TRLException &e) {
        refused = true;
        QVERIFY(e.Message().startsWith(QStringLiteral("Imagem grande demais")));
    }
    QCOMPARE(refused, !recorded);
    QCOMPARE(s.ObjectCount(), recorded ? 1 : 0);
    if (recorded)
        QVERIFY(!TRLImageObject::PictureFromData(static_cast<TRLImageObject *>(s.Objects(0))->Data).isNull());
}

void TestRLMetaFile::fitAndCropDraw()
{
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    picture.setPixel(20, 10, qRgb(255, 0, 0));
    TRLGraphicSurface s;
    s.FitDraw(TRLRect(0, 0, 100, 100), picture, true);
    QCOMPARE(s.Objects(0)->BoundsRect, TRLRect(0, 25, 100, 75));
    s.CropDraw(TRLRect(10, 10, 30, 20), picture, true);
    QCOMPARE(s.Objects(1)->BoundsRect, TRLRect(10, 10, 30, 20));
    const QImage cropped = TRLImageObject::PictureFromData(static_cast<TRLImageObject *>(s.Objects(1))->Data);
    QCOMPARE(cropped.size(), QSize(20, 10));
    QCOMPARE(cropped.pixel(10, 5), qRgb(255, 0, 0)); // the centre stays the centre
    s.CropDraw(TRLRect(10, 10, 10, 20), picture, false); // nothing shows: nothing recorded
    s.FitDraw(TRLRect(0, 0, 10, 10), QImage(), false);
    QCOMPARE(s.ObjectCount(), 2);
}

void TestRLMetaFile::clearEmptiesThePage()
{
    TRLGraphicSurface s;
    recordEveryKind(s);
    s.SetPenPos(QPoint(3, 3));
    s.SetModified(false);
    s.Clear();
    QCOMPARE(s.ObjectCount(), 0);
    QVERIFY(s.Fonts().isEmpty());
    QCOMPARE(s.Macros().Count(), 0);
    QCOMPARE(s.PenPos(), QPoint(0, 0));
    QVERIFY(s.Modified());

    // Deleting an object takes it off its page.
    s.FillRect(TRLRect(0, 0, 1, 1));
    s.FillRect(TRLRect(0, 0, 2, 2));
    delete s.Objects(0);
    QCOMPARE(s.ObjectCount(), 1);
    QCOMPARE(s.Objects(0)->BoundsRect, TRLRect(0, 0, 2, 2));
}

void TestRLMetaFile::pageValuesAsMacros()
{
    TRLGraphicSurface s;
    QCOMPARE(s.Orientation(), 1);
    QCOMPARE(s.PaperWidth(), 0.0);
    s.SetOrientation(2);
    s.SetPaperHeight(101.6);
    QCOMPARE(s.Macros().Value(QStringLiteral("paperheight")), QStringLiteral("101.6000"));
    QCOMPARE(s.Orientation(), 2);
    QCOMPARE(s.PaperHeight(), 101.6);
    s.Macros().SetValue(QStringLiteral("PaperHeight"), QStringLiteral("1O1"));
    QCOMPARE(s.PaperHeight(), 0.0);
}

void TestRLMetaFile::macroExpansion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("store header") << "{LastPageNumber}/{Nada}" << "3/{Nada}";
    QTest::newRow("page wins over store") << "{Title}" << "Página";
    QTest::newRow("case ignored") << "{lastpagenumber}" << "3";
    QTest::newRow("no closing brace") << "a {LastPageNumber" << "a {LastPageNumber";
    QTest::newRow("value not scanned again") << "{Loop}{Title}" << "{Title}Página";
    QTest::newRow("next closing brace") << "{a{Title}" << "{a{Title}";
    QTest::newRow("empty name") << "{}" << "{}";
    QTest::newRow("plain") << "R$ 10,00" << "R$ 10,00";
    QTest::newRow("value holding =") << "{Due}" << "dd=mm";
    QTest::newRow("name is up to the first =") << "{Due=dd}" << "{Due=dd}";
}

void TestRLMetaFile::macroExpansion()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    TRLGraphicStorage store;
    store.SetLastPageNumber(3);
    store.SetTitle(QStringLiteral("Zavenor - DARF"));
    auto *s = new TRLGraphicSurface;
    s->Macros().SetValue(QStringLiteral("Title"), QStringLiteral("Página"));
    s->Macros().SetValue(QStringLiteral("Loop"), QStringLiteral("{Title}"));
    s->Macros().SetValue(QStringLiteral("Due"), QStringLiteral("dd=mm"));
    s->TextRect(TRLRect(0, 0, 10, 10), 0, 0, text);
    store.Add(s);
    QCOMPARE(static_cast<TRLTextObject *>(store.Pages(0)->Objects(0))->DisplayText(), shown);
}

void TestRLMetaFile::findCutRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("found");
    QTest::newRow("between texts") << 25 << 25 << true;
    QTest::newRow("on a top edge") << 30 << 30 << true;
    QTest::newRow("through one text") << 35 << 30 << true;
    // 65 cuts the text 50-70, whose top 50 cuts the text 40-55, whose top 40 is free.
    QTest::newRow("through nested texts") << 65 << 40 << true;
    QTest::newRow("text that may be cut") << 85 << 85 << true;
    QTest::newRow("through a text at the top") << 5 << 0 << false;
}

void TestRLMetaFile::findCutRow()
{
    QFETCH(int, row);
    QFETCH(int, expected);
    QFETCH(bool, found);
    TRLGraphicSurface s;
    s.TextRect(TRLRect(0, 50, 10, 70), 0, 50, QStringLiteral("c"));
    s.TextRect(TRLRect(0, 30, 10, 38), 0, 30, QStringLiteral("a"));
    s.TextRect(TRLRect(0, 40, 10, 55), 0, 40, QStringLiteral("b"));
    s.TextRect(TRLRect(0, 80, 10, 90), 0, 80, QStringLiteral("free"), mtaLeft, mtlTop, MetaTextFlagUnclipped);
    s.FillRect(TRLRect(0, 20, 10, 100)); // only texts hold the row back
    s.TextRect(TRLRect(0, 0, 10, 10), 0, 0, QStringLiteral("top"));
    int cut = row;
    QCOMPARE(s.FindCutRow(cut), found);
    QCOMPARE(cut, expected);
}

void TestRLMetaFile::mergeOffsetsAndKeepsFontNames()
{
    TRLGraphicSurface parent;
    QFont courier(QStringLiteral("Courier New"));
    parent.SetFont(courier);
    parent.TextRect(TRLRect(0, 0, 5, 5), 0, 0, QStringLiteral("p"));

    TRLGraphicSurface child;
    child.SetFont(QFont(QStringLiteral("Arial")));
    child.TextRect(TRLRect(1, 2, 30, 12), 1, 2, QStringLiteral("c"));
    child.Polygon({QPoint(0, 0), QPoint(4, 4)});

    parent.MergeSurface(100, 200, child);
    QCOMPARE(parent.ObjectCount(), 3);
    const auto *text = static_cast<TRLTextObject *>(parent.Objects(1));
    QCOMPARE(text->BoundsRect, TRLRect(101, 202, 130, 212));
    QCOMPARE(text->Origin, QPoint(101, 202));
    QCOMPARE(text->FontName(), QStringLiteral("Arial")); // not the parent's first font
    QCOMPARE(static_cast<TRLPolygonObject *>(parent.Objects(2))->Points,
             TRLMetaPointArray({QPoint(100, 200), QPoint(104, 204)}));
    QCOMPARE(child.ObjectCount(), 2);

    parent.MergeSurface(0, 10, parent); // into itself: each object once
    QCOMPARE(parent.ObjectCount(), 6);
}

void TestRLMetaFile::copyRectScalesAndClips()
{
    TRLGraphicSurface band;
    band.FillRect(TRLRect(0, 5, 100, 15));   // partly inside the slice
    band.FillRect(TRLRect(0, 0, 100, 10));   // just above it
    band.FillRect(TRLRect(0, 40, 100, 50));  // below it
    band.FillRect(TRLRect(50, 10, 50, 30));  // zero width: a line still inside
    band.TextRect(TRLRect(10, 15, 60, 25), 10, 15, QStringLiteral("t"));
    static_cast<TRLTextObject *>(band.Objects(4))->Font.Size = 10;

    TRLGraphicSurface pageSurface;
    pageSurface.CopyRect(TRLRect(20, 300, 220, 330), band, TRLRect(0, 10, 100, 25)); // 2 x 2
    QCOMPARE(pageSurface.ObjectCount(), 5);
    QCOMPARE(int(pageSurface.Objects(0)->Code()), int(TRLGraphicObject::SetClipRectKind));
    QCOMPARE(pageSurface.Objects(0)->BoundsRect, TRLRect(20, 300, 220, 330));
    // dx = 20 - 0, dy = 300 - round(10 x 2)
    QCOMPARE(pageSurface.Objects(1)->BoundsRect, TRLRect(20, 290, 220, 310));
    QCOMPARE(pageSurface.Objects(2)->BoundsRect, TRLRect(120, 300, 120, 340));
    const auto *text = static_cast<TRLTextObject *>(pageSurface.Objects(3));
    QCOMPARE(text->BoundsRect, TRLRect(40, 310, 140, 330));
    QCOMPARE(text->Origin, QPoint(40, 310));
    QCOMPARE(text->Font.Size, 20);
    QCOMPARE(int(pageSurface.Objects(4)->Code()), int(TRLGraphicObject::ResetClipRectKind));
    QCOMPARE(pageSurface.ClipRect(), TRLRect(0, 0, 0, 0));

    // An empty source rectangle copies nothing and divides by nothing.
    TRLGraphicSurface other;
    other.CopyRect(TRLRect(0, 0, 10, 10), band, TRLRect(5, 5, 5, 5));
    QCOMPARE(other.ObjectCount(), 2);
}

void TestRLMetaFile::scalingRoundsAndKeepsPensVisible()
{
    TRLGraphicSurface s;
    auto *line = new TRLLineObject(&s);
    line->BoundsRect = TRLRect(1, 3, 5, 7);
    line->FromPoint = QPoint(1, 3);
    line->ToPoint = QPoint(5, -7);
    line->Pen.Width = 1;
    line->Inflate(0.5, 0.5); // halves go to the even neighbour
    QCOMPARE(line->BoundsRect, TRLRect(0, 2, 2, 4));
    QCOMPARE(line->FromPoint, QPoint(0, 2));
    QCOMPARE(line->ToPoint, QPoint(2, -4));
    QCOMPARE(line->Pen.Width, 1);

    auto *rectangle = new TRLRectangleObject(&s);
    rectangle->Pen.Width = 0;
    rectangle->Inflate(3.7, 3.7);
    QCOMPARE(rectangle->Pen.Width, 0);
    rectangle->Pen.Width = 1;
    rectangle->Inflate(0.3, 0.3);
    QCOMPARE(rectangle->Pen.Width, 1);
    rectangle->Pen.Width = 5;
    rectangle->Inflate(0.5, 9); // pens follow x
    QCOMPARE(rectangle->Pen.Width, 2);

    auto *text = new TRLTextObject(&s);
    text->Font.Size = 5;
    text->Inflate(9, 0.5);
    QCOMPARE(text->Font.Size, 2);

    // Coordinates at the ends of the range saturate instead of wrapping.
    auto *fill = new TRLFillRectObject(&s);
    fill->BoundsRect = TRLRect(INT_MIN, 0, INT_MAX, 1);
    fill->Inflate(2, 1);
    fill->Offset(10, 0);
    QCOMPARE(fill->BoundsRect, TRLRect(INT_MIN + 10, 0, INT_MAX, 1));
}

void TestRLMetaFile::picturesRecordTheirPixelsOfTheMoment_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("a pixel painted in place") << "pixel";
    QTest::newRow("filled again in place") << "fill";
    QTest::newRow("a shared copy changed") << "shared";
    QTest::newRow("another picture of the same size") << "other";
}

// A picture's bytes are made once and kept while its pixels stay the same: a picture recorded,
// changed and recorded again must read back as it was each time.
void TestRLMetaFile::picturesRecordTheirPixelsOfTheMoment()
{
    QFETCH(QString, change);
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(QColor(10, 20, 30));
    const QImage before = picture.copy();
    const QByteArray first = TRLImageObject::PictureData(picture);
    QImage second;
    if (change == "pixel") {
        picture.setPixel(3, 2, qRgb(200, 0, 0));
        second = picture;
    } else if (change == "fill") {
        picture.fill(QColor(250, 240, 230));
        second = picture;
    } else if (change == "shared") {
        second = picture;
        second.setPixel(0, 0, qRgb(0, 255, 0));
    } else {
        second = QImage(7, 5, QImage::Format_RGB32);
        second.fill(Qt::white);
    }
    QVERIFY(second != before);
    QCOMPARE(TRLImageObject::PictureFromData(first).convertToFormat(QImage::Format_RGB32), before);
    QCOMPARE(TRLImageObject::PictureFromData(TRLImageObject::PictureData(second)).convertToFormat(QImage::Format_RGB32),
             second);
    // The first picture, as it was, still records as before.
    QCOMPARE(TRLImageObject::PictureData(before), first);
}

QTEST_MAIN(TestRLMetaFile)
#include "tst_rlmetafile.moc"
