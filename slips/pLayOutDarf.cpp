#include "slips/pLayOutDarf.h"

#include "slips/pLayOutDarfTable.h"

#include <QLabel>

namespace {

QFont darfFont(TDarfFont font)
{
    struct Face { const char *family; int pixels; bool bold; };
    static constexpr Face faces[] = {
        {"Arial", 13, false},           {"Arial", 11, false},          {"Arial", 12, false},
        {"Arial", 16, true},            {"Arial", 19, true},           {"Courier New", 11, true},
        {"Times New Roman", 8, false},  {"Times New Roman", 13, false}, {"Times New Roman", 16, true},
    };
    const Face &f = faces[int(font)];
    QFont q(QString::fromLatin1(f.family));
    q.setPixelSize(f.pixels);
    q.setBold(f.bold);
    return q;
}

TRLTextAlignment textAlignment(unsigned flags)
{
    if (flags & dfRight)
        return taRightJustify;
    if (flags & dfJustified)
        return taJustify;
    return taLeftJustify;
}

// What labels and memos share: opaque on white, sized to their text unless fixed.
void setUpText(TRLCustomControl *c, const TDarfControlRow &row)
{
    c->SetAutoSize(!(row.flags & dfFixedSize));
    c->SetAlignment(textAlignment(row.flags));
    c->SetTransparent(false);
    if (row.flags & dfWhite)
        c->SetColor(Qt::white);
    if (row.font != TDarfFont::Report)
        c->SetFont(darfFont(row.font));
}

TRLCustomControl *createControl(QObject *owner, const TDarfControlRow &row)
{
    const QString text = row.text ? QString::fromUtf8(row.text) : QString();
    switch (row.kind) {
    case TDarfKind::Label: {
        auto *label = new TRLLabel(owner);
        setUpText(label, row);
        label->SetCaption(text);
        return label;
    }
    case TDarfKind::Memo: {
        auto *memo = new TRLMemo(owner);
        setUpText(memo, row);
        memo->SetBehavior(row.flags & dfSiteExpander ? TRLControlBehavior(beSiteExpander) : TRLControlBehavior());
        memo->SetCaption(text);
        return memo;
    }
    case TDarfKind::Image: {
        auto *image = new TRLImage(owner);
        image->SetAutoSize(row.flags & dfAutoSize);
        image->SetStretch(row.flags & dfStretch);
        image->SetCenter(row.flags & dfCentre);
        image->SetPicture(QImage(QStringLiteral(":/pictures/") + text));
        return image;
    }
    case TDarfKind::Rectangle:
    case TDarfKind::Line: {
        auto *draw = new TRLDraw(owner);
        draw->SetDrawKind(row.kind == TDarfKind::Line ? dkLine : dkRectangle);
        draw->SetPen(QPen(Qt::black, 1, row.flags & dfDashed ? Qt::DashLine : Qt::SolidLine));
        draw->SetBrush(row.brush == TDarfBrush::Orange ? QBrush(QColor(0xFF, 0x80, 0x00)) : QBrush(Qt::NoBrush));
        return draw;
    }
    }
    return nullptr;
}

} // namespace

TfrmLayOutDARF::TfrmLayOutDARF(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("ZAVENOR"));
    Label1 = new QLabel(QString::fromUtf8("Tem um brasão colorido e um pb (um em cima do outro no mesmo lugar)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));

    TRLFormLoader loading(this);
    RLDarf = new TRLReport(this);
    RLDarf->SetName(QStringLiteral("RLDarf"));
    RLDarf->Margins()->SetLeftMargin(7.0);
    RLDarf->Margins()->SetRightMargin(5.0);
    RLDarf->Margins()->SetBottomMargin(17.0);
    RLDarf->SetFont(darfFont(TDarfFont::Report));
    RLDarf->SetShowProgress(false);
    RLDarf->SetTitle(QStringLiteral("D.A.R.F."));

    RLBand1 = new TRLBand(this);
    RLBand1->SetName(QStringLiteral("RLBand1"));
    RLBand1->SetParent(RLDarf);
    RLBand1->SetBandType(btHeader);
    RLBand1->SetBounds(26, 38, 749, 962);
    RLBand1->BeforePrint = [this](TRLCustomControl *sender, bool &printIt) { RLBand1BeforePrint(sender, printIt); };

    for (const TDarfControlRow &row : DarfLayoutRows()) {
        TRLCustomControl *c = createControl(this, row);
        c->SetName(QString::fromLatin1(row.name));
        c->SetParent(RLBand1);
        c->SetBounds(row.box.left, row.box.top, row.box.width, row.box.height);
    }
    loading.Finish();
}

TfrmLayOutDARF::~TfrmLayOutDARF() = default;

void TfrmLayOutDARF::RLBand1BeforePrint(TRLCustomControl *Sender, bool &PrintIt)
{
    Q_UNUSED(Sender);
    Q_UNUSED(PrintIt);
}
