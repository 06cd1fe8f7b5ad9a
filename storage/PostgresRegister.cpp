#include "storage/PostgresRegister.h"

#include <QAtomicInt>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Retried a few times: another workstation's transaction won this round.
constexpr int kAttempts = 5;

QString newConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("zavenor-server-%1").arg(counter.fetchAndAddRelaxed(1));
}

TStorageError errorOf(const QSqlError &error, const QString &where)
{
    const QString state = error.nativeErrorCode();
    const QString words = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (state == QLatin1String("40001") || state == QLatin1String("40P01"))
        return TStorageError(TStorageError::Conflict, QStringLiteral("Conflito com outra estação no cadastro %1: %2").arg(where, words));
    if (state == QLatin1String("57014"))
        return TStorageError(TStorageError::Timeout,
                             QStringLiteral("O servidor %1 não respondeu a tempo; nada foi gravado.").arg(where));
    if (state.startsWith(QLatin1String("08")) || error.type() == QSqlError::ConnectionError)
        return TStorageError(TStorageError::Unreachable,
                             QStringLiteral("Não foi possível falar com o servidor %1: %2").arg(where, words.trimmed()));
    if (state == QLatin1String("23505"))
        return TStorageError(TStorageError::Other, QStringLiteral("Já há outro contribuinte com esse CPF/CNPJ."));
    return TStorageError(TStorageError::Other, QStringLiteral("Erro no cadastro %1: %2").arg(where, words.trimmed()));
}

QString escapeLike(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    escaped.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return escaped;
}

QString storedMonth(const QString &month)
{
    const QStringList parts = month.split(QLatin1Char('/'));
    return parts.size() == 2 ? parts.at(1) + QLatin1Char('-') + parts.at(0) : QString();
}

const char *const kClientColumns = "id, name, tax_id, state_registration, address, city, uf, phone, notes";

TClient clientOf(const QSqlQuery &q)
{
    TClient c;
    c.id = q.value(0).toLongLong();
    c.name = q.value(1).toString();
    c.taxId = q.value(2).toString();
    c.stateRegistration = q.value(3).toString();
    c.address = q.value(4).toString();
    c.city = q.value(5).toString();
    c.uf = q.value(6).toString();
    c.phone = q.value(7).toString();
    c.notes = q.value(8).toString();
    return c;
}

} // namespace

template <class F>
auto TPostgresRegister::transaction(F step)
{
    for (int attempt = 1;; ++attempt) {
        QSqlDatabase db = database();
        if (!db.transaction())
            throw errorOf(db.lastError(), m_location);
        try {
            auto result = step();
            if (!db.commit())
                throw errorOf(db.lastError(), m_location);
            return result;
        } catch (const TStorageError &e) {
            db.rollback();
            if (e.What() != TStorageError::Conflict || attempt == kAttempts)
                throw;
        }
    }
}

TPostgresRegister::TPostgresRegister(const TServerSettings &server, int version)
    : m_connection(newConnectionName()),
      m_location(QStringLiteral("%1 em %2:%3").arg(server.database, server.host).arg(server.port))
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connection);
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setDatabaseName(server.database);
        db.setUserName(server.user);
        db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(server.timeoutSeconds));
    }
    try {
        QSqlDatabase db = database();
        if (!db.open())
            throw errorOf(db.lastError(), m_location);
        // No statement waits on the server longer than our own limit.
        exec(QStringLiteral("SET statement_timeout = %1").arg(server.timeoutSeconds * 1000));
        upgradeTo(version);
    } catch (...) {
        {
            QSqlDatabase db = database();
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connection);
        throw;
    }
}

TPostgresRegister::~TPostgresRegister()
{
    {
        QSqlDatabase db = database();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase TPostgresRegister::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

QSqlQuery TPostgresRegister::exec(const QString &sql, const QVariantList &values)
{
    QSqlQuery query(database());
    query.setForwardOnly(true);
    // The server prepares only queries and row changes, not settings or tables.
    if (values.isEmpty()) {
        if (!query.exec(sql))
            throw errorOf(query.lastError(), m_location);
        return query;
    }
    if (!query.prepare(sql))
        throw errorOf(query.lastError(), m_location);
    for (const QVariant &value : values)
        query.addBindValue(value.typeId() == QMetaType::QString && value.toString().isNull() ? QVariant(QStringLiteral(""))
                                                                                             : value);
    if (!query.exec())
        throw errorOf(query.lastError(), m_location);
    return query;
}

int TPostgresRegister::ServerVersion()
{
    QSqlQuery table = exec(QStringLiteral("SELECT to_regclass('zavenor_schema') IS NOT NULL"));
    if (!table.next() || !table.value(0).toBool())
        return 0;
    QSqlQuery version = exec(QStringLiteral("SELECT version FROM zavenor_schema"));
    return version.next() ? version.value(0).toInt() : 0;
}

void TPostgresRegister::upgradeTo(int version)
{
    transaction([&] {
        // Two workstations starting at once upgrade one after the other.
        exec(QStringLiteral("SELECT pg_advisory_xact_lock(1516661330)"));
        const int current = ServerVersion();
        if (current > SchemaVersion)
            throw TStorageError(TStorageError::Newer,
                                QStringLiteral("O cadastro %1 foi gravado por uma versão mais nova do Zavenor (versão %2 do "
                                               "banco; esta conhece até a %3). Ele não foi alterado.")
                                    .arg(m_location)
                                    .arg(current)
                                    .arg(SchemaVersion));
        if (current < 1 && version >= 1) {
            exec(QStringLiteral("CREATE TABLE zavenor_schema (version INTEGER NOT NULL)"));
            exec(QStringLiteral("INSERT INTO zavenor_schema VALUES (1)"));
            exec(QStringLiteral(
                "CREATE TABLE clients (id BIGSERIAL PRIMARY KEY, name TEXT NOT NULL, tax_id TEXT NOT NULL, "
                "tax_key TEXT UNIQUE, state_registration TEXT NOT NULL, address TEXT NOT NULL, city TEXT NOT NULL, "
                "uf TEXT NOT NULL, phone TEXT NOT NULL, notes TEXT NOT NULL, updated_at TEXT NOT NULL)"));
            exec(QStringLiteral(
                "CREATE TABLE slips (id BIGSERIAL PRIMARY KEY, kind TEXT NOT NULL, payer_name TEXT NOT NULL, "
                "payer_tax_key TEXT NOT NULL, fields TEXT NOT NULL, total TEXT NOT NULL, mode TEXT NOT NULL, "
                "printer TEXT NOT NULL, job_id INTEGER NOT NULL, pdf_path TEXT NOT NULL, outcome TEXT NOT NULL, "
                "issued_at TEXT NOT NULL, due_month TEXT NOT NULL)"));
            exec(QStringLiteral("CREATE INDEX slips_by_payer ON slips (payer_tax_key, issued_at)"));
        }
        if (current < 2 && version >= 2) {
            exec(QStringLiteral("ALTER TABLE clients ADD COLUMN name_key TEXT NOT NULL DEFAULT ''"));
            QSqlQuery names = exec(QStringLiteral("SELECT id, name FROM clients"));
            QList<QPair<qint64, QString>> rows;
            while (names.next())
                rows.append({names.value(0).toLongLong(), names.value(1).toString()});
            for (const auto &[id, name] : rows)
                exec(QStringLiteral("UPDATE clients SET name_key = ? WHERE id = ?"), {RegisterText::NameKey(name), id});
            exec(QStringLiteral("CREATE INDEX clients_by_name ON clients (name_key)"));
            exec(QStringLiteral("UPDATE zavenor_schema SET version = 2"));
        }
        return true;
    });
}

QList<TClient> TPostgresRegister::FindClients(const QString &typed, int limit)
{
    const QString name = RegisterText::NameKey(typed);
    QString tax = RegisterText::TaxKey(typed);
    if (!std::any_of(tax.begin(), tax.end(), [](QChar c) { return c.isDigit(); }))
        tax.clear();
    QSqlQuery q = exec(QStringLiteral("SELECT %1 FROM clients WHERE name_key LIKE ? "
                                      "OR (? <> '' AND tax_key LIKE ?) ORDER BY name_key, id LIMIT ?")
                           .arg(QLatin1String(kClientColumns)),
                       {QStringLiteral("%") + escapeLike(name) + QStringLiteral("%"), tax,
                        QStringLiteral("%") + escapeLike(tax) + QStringLiteral("%"), limit});
    QList<TClient> found;
    while (q.next())
        found.append(clientOf(q));
    return found;
}

std::optional<TClient> TPostgresRegister::ClientByTaxId(const QString &taxId)
{
    const QString key = RegisterText::TaxKey(taxId);
    if (key.isEmpty())
        return std::nullopt;
    QSqlQuery q = exec(QStringLiteral("SELECT %1 FROM clients WHERE tax_key = ?").arg(QLatin1String(kClientColumns)), {key});
    if (!q.next())
        return std::nullopt;
    return clientOf(q);
}

qint64 TPostgresRegister::SaveClient(const TClient &client)
{
    if (client.name.trimmed().isEmpty())
        throw TStorageError(TStorageError::Other, QStringLiteral("O contribuinte precisa de um nome."));
    const QString key = RegisterText::TaxKey(client.taxId);
    const QVariant taxKey = key.isEmpty() ? QVariant() : QVariant(key);
    const QVariantList values = {client.name.trimmed(), client.taxId.trimmed(), taxKey, client.stateRegistration,
                                 client.address, client.city, client.uf, client.phone, client.notes,
                                 QDateTime::currentDateTimeUtc().toString(Qt::ISODate), RegisterText::NameKey(client.name)};
    return transaction([&] {
        if (client.id != 0) {
            QVariantList withId = values;
            withId << client.id;
            QSqlQuery q = exec(QStringLiteral("UPDATE clients SET name = ?, tax_id = ?, tax_key = ?, state_registration = ?, "
                                              "address = ?, city = ?, uf = ?, phone = ?, notes = ?, updated_at = ?, "
                                              "name_key = ? WHERE id = ? RETURNING id"),
                               withId);
            if (q.next())
                return q.value(0).toLongLong();
        }
        // The unique key decides between two workstations saving the same CPF/CNPJ at once.
        QSqlQuery q = exec(QStringLiteral("INSERT INTO clients (name, tax_id, tax_key, state_registration, address, city, "
                                          "uf, phone, notes, updated_at, name_key) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
                                          "ON CONFLICT (tax_key) DO UPDATE SET name = EXCLUDED.name, tax_id = EXCLUDED.tax_id, "
                                          "state_registration = EXCLUDED.state_registration, address = EXCLUDED.address, "
                                          "city = EXCLUDED.city, uf = EXCLUDED.uf, phone = EXCLUDED.phone, "
                                          "notes = EXCLUDED.notes, updated_at = EXCLUDED.updated_at, "
                                          "name_key = EXCLUDED.name_key RETURNING id"),
                           values);
        return q.next() ? q.value(0).toLongLong() : qint64(0);
    });
}

void TPostgresRegister::DeleteClient(qint64 id)
{
    transaction([&] {
        exec(QStringLiteral("DELETE FROM clients WHERE id = ?"), {id});
        return true;
    });
}

qint64 TPostgresRegister::insertIssue(const TIssuedSlip &slip)
{
    QJsonObject fields;
    for (auto it = slip.fields.cbegin(); it != slip.fields.cend(); ++it)
        fields.insert(it.key(), it.value());
    const QDateTime when = slip.issuedAt.isValid() ? slip.issuedAt : QDateTime::currentDateTimeUtc();
    QSqlQuery q = exec(
        QStringLiteral("INSERT INTO slips (kind, payer_name, payer_tax_key, fields, total, mode, printer, job_id, "
                       "pdf_path, outcome, issued_at, due_month) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id"),
        {slip.kind, slip.payerName, RegisterText::TaxKey(slip.payerTaxId),
         QString::fromUtf8(QJsonDocument(fields).toJson(QJsonDocument::Compact)), slip.total, slip.mode, slip.printer,
         slip.jobId, slip.pdfPath, RegisterText::OutcomeKey(slip.outcome), when.toUTC().toString(Qt::ISODateWithMs),
         storedMonth(RegisterText::MonthOfDate(slip.fields.value(QStringLiteral("vencimento"))))});
    return q.next() ? q.value(0).toLongLong() : 0;
}

qint64 TPostgresRegister::RecordIssue(const TIssuedSlip &slip)
{
    return transaction([&] { return insertIssue(slip); });
}

void TPostgresRegister::RecordIssues(const QList<TIssuedSlip> &slips)
{
    transaction([&] {
        for (const TIssuedSlip &slip : slips)
            insertIssue(slip);
        return true;
    });
}

QList<TIssuedSlip> TPostgresRegister::History(const THistoryFilter &filter)
{
    QSqlQuery q = exec(QString::fromLatin1(RegisterText::HistoryQuery),
                       RegisterText::HistoryBindings(filter, storedMonth(filter.dueMonth)));
    QList<TIssuedSlip> slips;
    while (q.next())
        slips.append(RegisterText::IssuedSlipOfRow(q));
    return slips;
}
