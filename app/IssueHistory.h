#pragma once
// Records each slip the window prints or saves, at the one place where the window learns how the
// print went: the printer and its job with the outcome the print service confirmed (a background
// print is not confirmed yet when the command returns, and is recorded as such), or the PDF file.

#include "storage/Register.h"

#include <functional>

class QWidget;
class TRegisterThread;

class TIssueHistory
{
public:
    TIssueHistory(TRegisterThread &reg, QWidget *window) : m_register(reg), m_window(window) {}

    // Runs `print` (as ReportPrinting::Print answers) and records `slip` with what became of it;
    // the print's own error or silent abort goes on after the record. Nothing is recorded when
    // nothing left the program (a cancelled dialog, a refused queue).
    bool Track(TIssuedSlip slip, const std::function<bool()> &print);

private:
    void record(const TIssuedSlip &slip);

    TRegisterThread &m_register;
    QWidget *m_window;
};
