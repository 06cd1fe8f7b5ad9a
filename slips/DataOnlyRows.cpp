#include "slips/DataOnlyRows.h"

#include <QGuiApplication>
#include <QPalette>

namespace DataOnlyRows {

QFont SlipFont(const char *family, int pixelHeight)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Normal);
    font.setFixedPitch(false);
    return font;
}

QColor TextColour()
{
    return QGuiApplication::palette().color(QPalette::Text);
}

void Load(QObject *owner, TRLCustomSite *site, std::span<const TDataOnlyRow> rows, const QString &memoCaption)
{
    for (const TDataOnlyRow &row : rows) {
        TRLCustomControl *control = nullptr;
        if (row.kind == TDataOnlyKind::Label)
            control = new TRLLabel(owner);
        else
            control = new TRLMemo(owner);
        control->SetName(QString::fromLatin1(row.name));
        control->SetParent(site);
        control->SetBounds(row.left, row.top, row.width, row.height);
        control->SetAutoSize(false);
        control->SetAlignment(row.alignment);
        if (row.siteExpander)
            control->SetBehavior(beSiteExpander);
        if (auto *label = qobject_cast<TRLLabel *>(control))
            label->SetCaption(QString::fromLatin1(row.name));
        else
            static_cast<TRLMemo *>(control)->SetCaption(memoCaption);
        if (row.font != TDataOnlyFont::ReportFont) {
            control->SetFont(row.font == TDataOnlyFont::Arial11 ? SlipFont("Arial", 11)
                                                                : SlipFont("Times New Roman", 11));
            control->SetFontColor(row.font == TDataOnlyFont::TNR11 ? QColor(Qt::black) : TextColour());
        }
        control->SetTransparent(false);
    }
}

QList<TRLRect> FormBoxes(std::span<const TDataOnlyRow> rows, int siteLeft, int siteTop)
{
    QList<TRLRect> boxes;
    for (const TDataOnlyRow &row : rows)
        boxes.append(TRLRect(siteLeft + row.left, siteTop + row.top, siteLeft + row.left + row.width,
                             siteTop + row.top + row.height));
    return boxes;
}

} // namespace DataOnlyRows
