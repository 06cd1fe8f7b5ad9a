// libFuzzer target: a page file is untrusted input. Loads one page from the bytes and replays it
// onto a small image at two scales; a bad page must fail with the engine's error and nothing else.
#include "report/base/RLExceptions.h"
#include "report/page/RLMetaFile.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt's image readers warn about every bad header; the warnings only slow the run down.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TRLGraphicSurface surface;
    try {
        surface.LoadFromStream(&buffer);
    } catch (const TRLException &) {
        if (surface.ObjectCount() != 0)
            abort(); // a failed load must leave no half page behind
        return 0;
    }
    static QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        surface.PaintTo(&painter, 0, 0, 0.25, 0.25);
    }
    {
        QPainter painter(&image);
        TRLReplayCanvas canvas(&painter, -3, 2, 1.5, 2.0, QRect(4, 4, 40, 30), 300);
        surface.PaintTo(canvas);
    }
    // What was loaded writes back and reads again to the same page.
    const QByteArray saved = surface.SaveToBytes();
    TRLGraphicSurface again;
    again.LoadFromBytes(saved);
    if (again.SaveToBytes() != saved)
        abort();
    return 0;
}
