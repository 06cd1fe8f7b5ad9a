#pragma once
// `zavenor --lote ARQUIVO.csv` and its options: every row checked first, then each slip filled,
// prepared, written or printed and let go before the next. The window is never built.

#include <QStringList>
#include <QTextStream>

namespace Batch {

enum ExitCode { ExitOk = 0, ExitBadData = 1, ExitUsage = 2, ExitOutput = 3 };

// Whether the command line asks for the batch instead of the window.
bool Wanted(int argc, char **argv);

// The program's entry for the batch: an application without a display, then Run.
int Main(int argc, char **argv);

// Runs a batch; an application object must exist. Progress and summary go to err when terminal.
int Run(const QStringList &arguments, QTextStream &out, QTextStream &err, bool terminal);

// The usage, with every column.
QString Usage();

} // namespace Batch
