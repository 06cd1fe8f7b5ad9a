#pragma once
// The register on the office's PostgreSQL server, shared by every workstation: the same schema
// versions as the file of one machine, each step in one transaction; a unique key on the
// CPF/CNPJ, so that two workstations saving one client at once keep one; transactions retried
// when the server reports a conflict. The password comes from libpq's own ~/.pgpass (or
// PGPASSFILE); the program never stores one.

#include "storage/Register.h"

#include <QString>
#include <QVariantList>

class QSqlDatabase;
class QSqlQuery;

struct TServerSettings
{
    QString host; // a host name, or the folder of the server's Unix socket
    int port = 5432;
    QString database;
    QString user;
    int timeoutSeconds = 5; // to connect, and for every statement
};

class TPostgresRegister : public TRegister
{
public:
    static constexpr int SchemaVersion = 2;

    // Connects and brings the schema up to `version`. Throws TStorageError with the server's words.
    explicit TPostgresRegister(const TServerSettings &server, int version = SchemaVersion);
    ~TPostgresRegister() override;
    TPostgresRegister(const TPostgresRegister &) = delete;
    TPostgresRegister &operator=(const TPostgresRegister &) = delete;

    QList<TClient> FindClients(const QString &typed, int limit) override;
    std::optional<TClient> ClientByTaxId(const QString &taxId) override;
    qint64 SaveClient(const TClient &client) override;
    void DeleteClient(qint64 id) override;
    qint64 RecordIssue(const TIssuedSlip &slip) override;
    void RecordIssues(const QList<TIssuedSlip> &slips) override;
    QList<TIssuedSlip> History(const THistoryFilter &filter) override;
    QString Location() const override { return m_location; }

    int ServerVersion();

private:
    QSqlDatabase database() const;
    QSqlQuery exec(const QString &sql, const QVariantList &values = {});
    // Runs `step` in one transaction, again when the server reports a conflict.
    template <class F>
    auto transaction(F step);
    void upgradeTo(int version);
    qint64 insertIssue(const TIssuedSlip &slip);

    QString m_connection;
    QString m_location;
};
