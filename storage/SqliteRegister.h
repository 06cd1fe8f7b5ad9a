#pragma once
// The register in one SQLite file of this machine. Every write is one transaction; a second
// program on the same file waits for its lock (a bounded time) and is told when it stays locked.
// A file that is not one of ours, or one written by a newer program, is refused and never
// written to.

#include "storage/Register.h"

#include <QString>
#include <QVariantList>

class QSqlDatabase;
class QSqlQuery;

class TSqliteRegister : public TRegister
{
public:
    // The schema this program writes.
    static constexpr int SchemaVersion = 2;

    // Opens (or creates) the file and brings its schema up to `version` (tests ask for older
    // ones). Throws TStorageError. Use the object on the thread that made it.
    explicit TSqliteRegister(const QString &path, int version = SchemaVersion, int busyTimeoutMs = 5000);
    ~TSqliteRegister() override;
    TSqliteRegister(const TSqliteRegister &) = delete;
    TSqliteRegister &operator=(const TSqliteRegister &) = delete;

    // The file in the user's data folder (~/.local/share/Morvath/Zavenor/zavenor.db).
    static QString DefaultPath();

    QList<TClient> FindClients(const QString &typed, int limit) override;
    std::optional<TClient> ClientByTaxId(const QString &taxId) override;
    qint64 SaveClient(const TClient &client) override;
    void DeleteClient(qint64 id) override;
    qint64 RecordIssue(const TIssuedSlip &slip) override;
    void RecordIssues(const QList<TIssuedSlip> &slips) override;
    QList<TIssuedSlip> History(const THistoryFilter &filter) override;
    QString Location() const override { return m_path; }

    // The version the file's schema is at.
    int FileVersion();

private:
    class Transaction;
    QSqlDatabase database() const;
    // Runs one statement; throws its error as the user reads it.
    QSqlQuery exec(const QString &sql, const QVariantList &values = {});
    void release();
    void checkOurs();
    void upgradeTo(int version);
    qint64 insertIssue(const TIssuedSlip &slip);

    QString m_path;
    QString m_connection;
};
