#pragma once
// What both front ends, the window and the batch, set up before their first slip.

namespace FrontEndSetup {

// Slips are Brazilian forms: amounts, dates and totals are written as in Brazil whatever LANG or
// LC_* say (cron and systemd start programs under LANG=C). The C library never formats numbers by
// locale; the slips' old font name maps to an installed one; each printer's position adjustment
// comes from the user's settings. Call once, right after the application object is made.
void Apply();

} // namespace FrontEndSetup
