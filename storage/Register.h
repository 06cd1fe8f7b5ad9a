#pragma once
// The office's memory: the clients (payers) and every slip issued, behind one small interface so
// that the store behind it (a file of this machine, a server the office shares) can change
// without its callers changing. Calls are synchronous and may take long on a server: callers on
// the window's thread go through TRegisterThread. Failures are TStorageError with a message the
// user can read.

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

#include <optional>
#include <stdexcept>

class TStorageError : public std::runtime_error
{
public:
    enum Kind { Other, Foreign, Newer, Locked, Full, Timeout, Unreachable, Conflict };
    TStorageError(Kind kind, const QString &message)
        : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message)
    {
    }
    Kind What() const { return m_kind; }
    QString Message() const { return m_message; }

private:
    Kind m_kind;
    QString m_message;
};

struct TClient
{
    qint64 id = 0; // 0: not stored yet
    QString name;
    QString taxId; // CPF or CNPJ as typed (punctuated or not)
    QString stateRegistration;
    QString address;
    QString city;
    QString uf;
    QString phone;
    QString notes;

    bool operator==(const TClient &) const = default;
};

enum class TIssueOutcome { Completed, Failed, Cancelled, Unknown };

struct TIssuedSlip
{
    qint64 id = 0;
    QString kind; // "DARF" or "GARE"
    QString payerName;
    QString payerTaxId;
    // Every field's text, keyed by the batch file's column names (nome, vencimento, ...).
    QMap<QString, QString> fields;
    QString total;
    QString mode; // "layout-cor", "layout-pb" or "dados", as the batch names them
    QString printer; // the queue, for a print
    int jobId = 0;   // the print service's job, 0 when none
    QString pdfPath; // the file, for a PDF
    TIssueOutcome outcome = TIssueOutcome::Unknown;
    QDateTime issuedAt; // UTC
};

struct THistoryFilter
{
    QString payerTaxId; // any punctuation; empty: every payer
    QString kind;       // empty: both
    QString dueMonth;   // "MM/AAAA" of the due date; empty: any
    std::optional<TIssueOutcome> outcome;
    int limit = 1000; // newest first
};

class TRegister
{
public:
    virtual ~TRegister() = default;

    // Clients whose name holds `typed` (case and accents aside) or whose CPF/CNPJ holds its
    // digits and letters; by name, at most `limit`. An empty text lists every client.
    virtual QList<TClient> FindClients(const QString &typed, int limit) = 0;
    virtual std::optional<TClient> ClientByTaxId(const QString &taxId) = 0;
    // Stores a new client, or replaces the one with the same id or, lacking an id, the same
    // CPF/CNPJ; gives its id.
    virtual qint64 SaveClient(const TClient &client) = 0;
    virtual void DeleteClient(qint64 id) = 0;

    // Records one slip, or several as one step (a batch's slips, all or none).
    virtual qint64 RecordIssue(const TIssuedSlip &slip) = 0;
    virtual void RecordIssues(const QList<TIssuedSlip> &slips) = 0;
    virtual QList<TIssuedSlip> History(const THistoryFilter &filter) = 0;

    // Where the data lives, as the user is told.
    virtual QString Location() const = 0;
};

class QSqlQuery;

namespace RegisterText {

// A CPF/CNPJ as the register compares it: digits and letters only, letters in capitals.
QString TaxKey(const QString &taxId);
// A name as searches compare it: lower case, without accents.
QString NameKey(const QString &name);
// "MM/AAAA" of a date typed DD/MM/AAAA; empty when it is not one.
QString MonthOfDate(const QString &date);

QString OutcomeName(TIssueOutcome outcome);       // "concluída", "falhou", ...
QString OutcomeKey(TIssueOutcome outcome);        // stored form
std::optional<TIssueOutcome> OutcomeFromKey(const QString &key);

// The history's query, alike on every database: its parameters are HistoryBindings' values.
extern const char *const HistoryQuery;
QVariantList HistoryBindings(const THistoryFilter &filter, const QString &storedMonth);
// One row of HistoryQuery.
TIssuedSlip IssuedSlipOfRow(const QSqlQuery &row);

} // namespace RegisterText
