#pragma once
// libcsv is opened when a batch first reads a spreadsheet, not when the program starts: the
// window never reads one, and a library the executable needs is loaded and relocated at every
// start. CsvLibrary.cpp holds the stand-ins for the libcsv functions the reader calls.

namespace CsvLibrary {

// Opens libcsv on the first call; false when it cannot be found or lacks a function.
bool Available();

} // namespace CsvLibrary
