// Writes the seed corpus of the page fuzzer: real recorded pages with every kind of object.
#include "report/page/RLMetaFile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

namespace {

void save(const QString &dir, const QString &name, const TRLGraphicSurface &surface)
{
    QFile file(dir + QLatin1Char('/') + name);
    if (file.open(QIODevice::WriteOnly))
        surface.SaveToStream(&file);
}

QImage smallPicture()
{
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    picture.setPixel(1, 1, qRgb(255, 255, 0));
    return picture;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("fuzz/corpus");
    QDir().mkpath(dir);

    TRLGraphicSurface slip;
    slip.SetWidth(200);
    slip.SetHeight(150);
    slip.SetOrientation(1);
    slip.SetPaperWidth(210);
    slip.SetPaperHeight(297);
    slip.Macros().SetValue(QStringLiteral("Via"), QStringLiteral("1ª via"));
    slip.SetBrush(QBrush(QColor(0, 0, 128)));
    slip.FillRect(TRLRect(2, 2, 198, 10));
    slip.SetPen(QPen(Qt::darkGreen, 2, Qt::DashLine));
    slip.Rectangle(5, 12, 195, 60);
    slip.Polygon({QPoint(5, 70), QPoint(195, 70)});
    slip.SetClipRect(TRLRect(0, 0, 100, 100));
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    font.setBold(true);
    slip.SetFont(font);
    slip.SetBrush(Qt::NoBrush);
    slip.TextRect(TRLRect(10, 20, 190, 35), 10, 20, QStringLiteral("Contribuição {Via} página {LastPageNumber}"),
                  mtaJustify, mtlCenter, MetaTextFlagKeepWhole);
    slip.TextRect(TRLRect(10, 40, 190, 55), 10, 40, QStringLiteral("R$ 1.234,56"), mtaRight, mtlBottom);
    slip.ResetClipRect();
    slip.Draw(150, 80, smallPicture(), true);
    slip.StretchDraw(TRLRect(10, 80, 40, 100), smallPicture());
    save(dir, QStringLiteral("slip.page"), slip);

    // Kinds the surface does not record are built directly.
    TRLGraphicSurface kinds;
    kinds.SetWidth(100);
    kinds.SetHeight(100);
    auto *pixel = new TRLPixelObject(&kinds);
    pixel->BoundsRect = TRLRect(1, 1, 2, 2);
    pixel->Color = TRLMetaColor{255, 0, 0};
    auto *line = new TRLLineObject(&kinds);
    line->BoundsRect = TRLRect(0, 0, 90, 40);
    line->FromPoint = QPoint(0, 0);
    line->ToPoint = QPoint(90, 40);
    line->Pen.Width = 3;
    line->Pen.Style = mpsDashDotDot;
    line->Brush.Style = mbsSolid;
    auto *ellipse = new TRLEllipseObject(&kinds);
    ellipse->BoundsRect = TRLRect(10, 10, 60, 40);
    ellipse->Brush.Style = mbsDiagCross;
    ellipse->Pen.Mode = mpmXor;
    auto *polyline = new TRLPolylineObject(&kinds);
    polyline->Points = {QPoint(0, 90), QPoint(50, 60), QPoint(99, 90)};
    polyline->BoundsRect = TRLRect(0, 60, 100, 91);
    auto *icon = new TRLImageObject(&kinds);
    icon->BoundsRect = TRLRect(70, 70, 90, 90);
    icon->Data = QByteArrayLiteral("NIL");
    auto *column = new TRLFillRectObject(&kinds);
    column->BoundsRect = TRLRect(0, 0, 0, 100); // a zero-width column
    save(dir, QStringLiteral("kinds.page"), kinds);

    TRLGraphicSurface empty;
    save(dir, QStringLiteral("empty.page"), empty);
    return 0;
}
