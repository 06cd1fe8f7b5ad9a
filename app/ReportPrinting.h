#pragma once
// The one way the Print command hands a report to the printer. Replaceable so that tests can
// run the command without a print dialog or a print service.

#include <functional>

class TRLReport;

namespace ReportPrinting {

// Prints the report through its print dialog. True when the pages reached the printer (or a
// background print of them started); false when nothing was printed and the user was already
// told why. A cancelled dialog raises the silent abort; other failures raise their error.
bool Print(TRLReport *report);

// Replaces the printer (an empty function restores the engine's own).
void SetPrinter(std::function<bool(TRLReport *)> printer);

} // namespace ReportPrinting
