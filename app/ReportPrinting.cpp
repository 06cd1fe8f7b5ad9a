#include "app/ReportPrinting.h"

#include "report/RLReport.h"

namespace ReportPrinting {
namespace {

std::function<bool(TRLReport *)> &printer()
{
    static std::function<bool(TRLReport *)> replaced;
    return replaced;
}

// The report itself ends a cancel or a failed preparation in the silent abort and raises the
// printer's refusals, so returning means the pages went to the printer.
bool enginePrint(TRLReport *report)
{
    report->Print();
    return true;
}

} // namespace

bool Print(TRLReport *report)
{
    if (printer())
        return printer()(report);
    return enginePrint(report);
}

void SetPrinter(std::function<bool(TRLReport *)> replacement)
{
    printer() = std::move(replacement);
}

} // namespace ReportPrinting
