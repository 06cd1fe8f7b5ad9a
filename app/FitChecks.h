#pragma once
// Wires the entry fields of a page to the check of what fits their printed boxes.

class QWidget;

namespace FitChecks {

// Every plain one-line edit and editable memo on page refuses a text that would not fit the
// boxes it prints in. The boxes are measured on the first change, not at start-up.
void Attach(QWidget *page);

} // namespace FitChecks
