#pragma once
// The GARE printed whole on blank A4: the window TfrmLayOutGARE, whose report QRGARE carries two
// copies of the state slip (form, crest, captions and the data boxes the fill writes into).

#include "report/RLReport.h"

#include <QRgb>
#include <span>
#include <QWidget>
#include <optional>

class QLabel;

// One row of the layout: a control of QRGARE as stored, in painting order.
enum TGareKind { gkRectangle, gkLabel, gkMemo, gkImage };
enum TGarePicture { gpNone, gpCrestColour, gpCrestGrey, gpScissors };

struct TGareFont
{
    const char *family = nullptr; // none: the report's font
    int pixels = 0;
    bool bold = false;
};

struct TGareBrush
{
    bool clear = false;
    QRgb colour = 0xFFFFFF;
};

struct TGarePen
{
    QRgb colour = 0x000000;
    int width = 1;
    Qt::PenStyle style = Qt::SolidLine;
};

struct TGareControlRow
{
    const char *name;
    TGareKind kind;
    int copy; // 1 the upper copy, 2 the lower
    int left, top, width, height;
    const char *caption = nullptr; // fixed text of a label
    const char *data = nullptr;    // the entry control whose text the fill puts here
    const char *role = nullptr;    // what a shape or picture is on the slip
    TGareFont font = {};
    TRLTextAlignment alignment = taLeftJustify;
    bool fixedSize = false;
    bool transparent = false; // text controls only; the others keep the engine's default
    std::optional<QRgb> background = {};
    bool siteExpander = false;
    TGareBrush brush = {};
    TGarePen pen = {};
    TGarePicture picture = gpNone;
    bool stretch = false;
    bool autoSize = false; // pictures only; text controls size themselves unless fixedSize
};

// Every control of QRGARE in stored order.
std::span<const TGareControlRow> GareLayoutRows();

// The pictures of the layout as stored: the crests 67 x 71 (24 bits, and 256 greys), the
// scissors 20 x 20 (16 colours).
QImage GarePicture(TGarePicture picture);

class TfrmLayOutGARE : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmLayOutGARE(QWidget *parent = nullptr);
    ~TfrmLayOutGARE() override;

    TRLReport *QRGARE = nullptr;
    TRLBand *DetailBand1 = nullptr;
    QLabel *Label1 = nullptr; // design note, never printed

    // The control of the layout with this name; nullptr for an unknown name.
    TRLCustomControl *Control(const QString &name) const;
    template <class T>
    T *Control(const char *name) const
    {
        return qobject_cast<T *>(Control(QString::fromLatin1(name)));
    }

private:
    void buildReport();
};
