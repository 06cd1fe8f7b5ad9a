#pragma once
// Failures of the engine are exceptions. A silent abort ends an operation without any message
// (the user cancelled, or the application is closing); anything else carries its message. The
// abort is no TRLException, so that code showing ordinary errors never shows a cancel.

#include <QByteArray>
#include <QString>
#include <exception>

class TRLException : public std::exception
{
public:
    explicit TRLException(const QString &message) : m_message(message), m_utf8(message.toUtf8()) {}
    const char *what() const noexcept override { return m_utf8.constData(); }
    const QString &Message() const { return m_message; }

private:
    QString m_message;
    QByteArray m_utf8;
};

// The print service gave no answer (silent, or not running): what it was asked may or may not have
// happened, so a job's fate stays open rather than failed.
class TRLServiceUnreachable : public TRLException
{
public:
    using TRLException::TRLException;
};

class TRLAbort : public std::exception
{
public:
    const char *what() const noexcept override { return "Operation aborted"; }
};
