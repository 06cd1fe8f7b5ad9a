#include "report/output/RLWindowFont.h"

#include <QStringList>

QFont RLWindowFont(int pixelSize)
{
    const QString family = QStringLiteral("MS Sans Serif");
    if (!QFont::substitutes(family).contains(QStringLiteral("Liberation Sans")))
        QFont::insertSubstitution(family, QStringLiteral("Liberation Sans"));
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setFixedPitch(false);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
