#include "slips/pLayOutGare.h"

#include <QLabel>
#include <QPalette>

namespace {

QFont rowFont(const TGareFont &f)
{
    QFont font(QString::fromLatin1(f.family));
    font.setPixelSize(f.pixels);
    font.setWeight(f.bold ? QFont::Bold : QFont::Normal);
    return font;
}

// Text controls share the properties a row gives them.
void setTextProperties(TRLCustomControl *c, const TGareControlRow &row)
{
    c->SetAlignment(row.alignment);
    c->SetAutoSize(!row.fixedSize);
    if (row.background)
        c->SetColor(QColor(*row.background));
    if (row.font.family)
        c->SetFont(rowFont(row.font));
    c->SetTransparent(row.transparent);
    if (row.siteExpander)
        c->SetBehavior(beSiteExpander);
}

TRLCustomControl *createControl(QObject *owner, const TGareControlRow &row)
{
    switch (row.kind) {
    case gkRectangle: {
        auto *d = new TRLDraw(owner);
        d->SetBrush(QBrush(QColor(row.brush.colour), row.brush.clear ? Qt::NoBrush : Qt::SolidPattern));
        d->SetPen(QPen(QColor(row.pen.colour), row.pen.width, row.pen.style));
        return d;
    }
    case gkLabel: {
        auto *l = new TRLLabel(owner);
        setTextProperties(l, row);
        if (row.caption)
            l->SetCaption(QString::fromUtf8(row.caption));
        return l;
    }
    case gkMemo: {
        auto *m = new TRLMemo(owner);
        setTextProperties(m, row);
        return m;
    }
    case gkImage: {
        auto *i = new TRLImage(owner);
        i->SetAutoSize(row.autoSize);
        i->SetStretch(row.stretch);
        i->SetPicture(GarePicture(row.picture));
        return i;
    }
    }
    return nullptr;
}

QImage loadPicture(const char *file)
{
    return QImage(QStringLiteral(":/pictures/") + QLatin1String(file));
}

QList<QRgb> greyTable()
{
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i)
        table.append(qRgb(i, i, i));
    return table;
}

} // namespace

QImage GarePicture(TGarePicture picture)
{
    switch (picture) {
    case gpNone:
        break;
    case gpCrestColour:
        return loadPicture("brasao_sp.png").convertToFormat(QImage::Format_RGB888);
    case gpCrestGrey:
        return loadPicture("brasao_sp_pb.png").convertToFormat(QImage::Format_Indexed8, greyTable());
    case gpScissors:
        return loadPicture("tesoura.png").convertToFormat(QImage::Format_Indexed8);
    }
    return QImage();
}

TfrmLayOutGARE::TfrmLayOutGARE(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmLayOutGARE"));
    setWindowTitle(QStringLiteral("ZAVENOR"));
    buildReport();
    Label1 = new QLabel(QStringLiteral("Tem um brasão colorido e um pb (um em cima do outro no mesmo lugar)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
}

TfrmLayOutGARE::~TfrmLayOutGARE() = default;

void TfrmLayOutGARE::buildReport()
{
    // Controls wait for the end of loading before they size themselves or get arranged, so
    // the order properties are set in cannot matter.
    TRLFormLoader loading(this);
    QRGARE = new TRLReport(this);
    QRGARE->SetName(QStringLiteral("QRGARE"));
    QRGARE->SetFont(rowFont({.family = "Times New Roman", .pixels = 11}));
    QRGARE->SetFontColor(QPalette().color(QPalette::Text));
    QRGARE->SetShowProgress(false);

    DetailBand1 = new TRLBand(this);
    DetailBand1->SetName(QStringLiteral("DetailBand1"));
    DetailBand1->SetParent(QRGARE);
    DetailBand1->SetBounds(38, 38, 718, 2);

    for (const TGareControlRow &row : GareLayoutRows()) {
        TRLCustomControl *c = createControl(this, row);
        c->SetName(QString::fromLatin1(row.name));
        c->SetParent(QRGARE);
        c->SetBounds(row.left, row.top, row.width, row.height);
    }
    loading.Finish();
}

TRLCustomControl *TfrmLayOutGARE::Control(const QString &name) const
{
    return findChild<TRLCustomControl *>(name, Qt::FindDirectChildrenOnly);
}
