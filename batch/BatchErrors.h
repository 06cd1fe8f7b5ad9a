#pragma once
// A failure while writing or printing the slips, with a message the user can read.

#include <QString>
#include <stdexcept>

class TBatchOutputError : public std::runtime_error
{
public:
    explicit TBatchOutputError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString Message() const { return m_message; }

private:
    QString m_message;
};

// A failure of the printer or its job: a whole line of its own, never a spreadsheet row's.
class TBatchPrintError : public TBatchOutputError
{
public:
    using TBatchOutputError::TBatchOutputError;
};
