#include "slips/FrontEndSetup.h"

#include "report/output/RLPrintOffsets.h"

#include <QFont>
#include <QLocale>
#include <clocale>

namespace FrontEndSetup {

void Apply()
{
    // Every QLocale() the program builds, and so every amount, date and total it writes.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    // QApplication switches the C library to the user's locale; strtod and printf must keep
    // reading and writing a full stop, whatever the regional settings say.
    std::setlocale(LC_NUMERIC, "C");
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    // Each printer's nudge for pre-printed slips, kept in the user's settings. Named here: the
    // application's display name is not the settings' name.
    SetRLPrintOffsetStore(std::make_unique<TRLPrintOffsetStore>(QStringLiteral("Morvath"), QStringLiteral("Zavenor")));
}

} // namespace FrontEndSetup
