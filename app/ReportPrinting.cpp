#include "app/ReportPrinting.h"

#include "report/RLExceptions.h"
#include "report/RLReport.h"

namespace ReportPrinting {
namespace {

std::function<bool(TRLReport *)> &printer()
{
    static std::function<bool(TRLReport *)> replaced;
    return replaced;
}

bool enginePrint(TRLReport *)
{
    // The engine cannot print a report yet: say so rather than confirm a print that never was.
    throw TRLException(QStringLiteral("A impressão ainda não está disponível nesta versão."));
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
