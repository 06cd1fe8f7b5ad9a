#include "storage/SqliteRegister.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

namespace {

// "ZVNR" in the file's header: tells our files from other SQLite databases.
constexpr int kApplicationId = 0x5A564E52;

// SQLite's primary result codes, as Qt's driver reports them.
constexpr int kBusy = 5;
constexpr int kLocked = 6;
constexpr int kFull = 13;
constexpr int kNotADatabase = 26;

QString newConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("zavenor-register-%1").arg(counter.fetchAndAddRelaxed(1));
}

TStorageError errorOf(const QSqlError &error, const QString &path)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    if (ok && (code == kBusy || code == kLocked))
        return TStorageError(TStorageError::Locked,
                             QStringLiteral("O cadastro %1 está em uso por outro programa e continua bloqueado; "
                                            "nada foi gravado. Tente de novo em instantes.")
                                 .arg(path));
    if (ok && code == kFull)
        return TStorageError(TStorageError::Full,
                             QStringLiteral("Sem espaço no disco para gravar no cadastro %1; nada foi gravado.").arg(path));
    if (ok && code == kNotADatabase)
        return TStorageError(TStorageError::Foreign,
                             QStringLiteral("O arquivo %1 não é um cadastro do Zavenor; ele não foi alterado.").arg(path));
    return TStorageError(TStorageError::Other,
                         QStringLiteral("Erro no cadastro %1: %2").arg(path, error.text()));
}

void bindAll(QSqlQuery &query, const QVariantList &values)
{
    // A null QString binds as SQL NULL; a blank field is an empty text.
    for (const QVariant &value : values)
        query.addBindValue(value.typeId() == QMetaType::QString && value.toString().isNull() ? QVariant(QStringLiteral(""))
                                                                                             : value);
}

QString escapeLike(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    escaped.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return escaped;
}

// "MM/AAAA" as stored ("AAAA-MM", which sorts).
QString storedMonth(const QString &month)
{
    const QStringList parts = month.split(QLatin1Char('/'));
    return parts.size() == 2 ? parts.at(1) + QLatin1Char('-') + parts.at(0) : QString();
}

const char *const kClientColumns =
    "id, name, tax_id, state_registration, address, city, uf, phone, notes";

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

// One write, whole or not at all. BEGIN IMMEDIATE takes the write lock at once, so two programs
// never both read and then both try to write (which SQLite can only end by failing one).
class TSqliteRegister::Transaction
{
public:
    explicit Transaction(TSqliteRegister &owner) : m_owner(owner)
    {
        m_owner.exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~Transaction()
    {
        if (!m_done)
            QSqlQuery(QStringLiteral("ROLLBACK"), m_owner.database());
    }
    void Commit()
    {
        QSqlQuery commit(m_owner.database());
        if (!commit.exec(QStringLiteral("COMMIT")))
            throw errorOf(commit.lastError(), m_owner.m_path);
        m_done = true;
    }

private:
    TSqliteRegister &m_owner;
    bool m_done = false;
};

QString TSqliteRegister::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Morvath/Zavenor/zavenor.db");
}

TSqliteRegister::TSqliteRegister(const QString &path, int version, int busyTimeoutMs)
    : m_path(path), m_connection(newConnectionName())
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        throw TStorageError(TStorageError::Other,
                            QStringLiteral("Não foi possível criar a pasta %1 para o cadastro.").arg(info.absolutePath()));
    // A file of another program is never handed to SQLite, which could write a journal over it.
    if (info.exists() && info.size() > 0) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw TStorageError(TStorageError::Other,
                                QStringLiteral("Não foi possível ler o cadastro %1: %2").arg(path, file.errorString()));
        if (file.read(16) != QByteArray("SQLite format 3\0", 16))
            throw errorOf(QSqlError(QString(), QString(), QSqlError::ConnectionError, QString::number(kNotADatabase)), path);
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    }
    try {
        QSqlDatabase db = database();
        if (!db.open())
            throw errorOf(db.lastError(), path);
        checkOurs();
        upgradeTo(version);
    } catch (...) {
        release();
        throw;
    }
}

TSqliteRegister::~TSqliteRegister()
{
    release();
}

void TSqliteRegister::release()
{
    {
        QSqlDatabase db = database();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase TSqliteRegister::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

QSqlQuery TSqliteRegister::exec(const QString &sql, const QVariantList &values)
{
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw errorOf(query.lastError(), m_path);
    bindAll(query, values);
    if (!query.exec())
        throw errorOf(query.lastError(), m_path);
    return query;
}

void TSqliteRegister::checkOurs()
{
    QSqlQuery id = exec(QStringLiteral("PRAGMA application_id"));
    const int applicationId = id.next() ? id.value(0).toInt() : 0;
    if (applicationId == kApplicationId)
        return;
    QSqlQuery tables = exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (tables.next() && tables.value(0).toInt() == 0)
        return; // new, empty: ours to make
    throw errorOf(QSqlError(QString(), QString(), QSqlError::ConnectionError, QString::number(kNotADatabase)), m_path);
}

int TSqliteRegister::FileVersion()
{
    QSqlQuery tables = exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'zavenor_schema'"));
    if (!tables.next() || tables.value(0).toInt() == 0)
        return 0;
    QSqlQuery version = exec(QStringLiteral("SELECT version FROM zavenor_schema"));
    return version.next() ? version.value(0).toInt() : 0;
}

void TSqliteRegister::upgradeTo(int version)
{
    // Read again under the write lock: another program may have made or upgraded the file.
    Transaction step(*this);
    const int current = FileVersion();
    if (current > SchemaVersion)
        throw TStorageError(TStorageError::Newer,
                            QStringLiteral("O cadastro %1 foi gravado por uma versão mais nova do Zavenor (versão %2 do "
                                           "arquivo; esta conhece até a %3). Ele não foi alterado.")
                                .arg(m_path)
                                .arg(current)
                                .arg(SchemaVersion));
    if (current >= version)
        return;
    if (current < 1) {
        exec(QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId));
        exec(QStringLiteral("CREATE TABLE zavenor_schema (version INTEGER NOT NULL)"));
        exec(QStringLiteral("INSERT INTO zavenor_schema VALUES (1)"));
        exec(QStringLiteral(
            "CREATE TABLE clients (id INTEGER PRIMARY KEY, name TEXT NOT NULL, tax_id TEXT NOT NULL, "
            "tax_key TEXT UNIQUE, state_registration TEXT NOT NULL, address TEXT NOT NULL, city TEXT NOT NULL, "
            "uf TEXT NOT NULL, phone TEXT NOT NULL, notes TEXT NOT NULL, updated_at TEXT NOT NULL)"));
        exec(QStringLiteral(
            "CREATE TABLE slips (id INTEGER PRIMARY KEY, kind TEXT NOT NULL, payer_name TEXT NOT NULL, "
            "payer_tax_key TEXT NOT NULL, fields TEXT NOT NULL, total TEXT NOT NULL, mode TEXT NOT NULL, "
            "printer TEXT NOT NULL, job_id INTEGER NOT NULL, pdf_path TEXT NOT NULL, outcome TEXT NOT NULL, "
            "issued_at TEXT NOT NULL, due_month TEXT NOT NULL)"));
        exec(QStringLiteral("CREATE INDEX slips_by_payer ON slips (payer_tax_key, issued_at)"));
    }
    if (current < 2 && version >= 2) {
        // Searches by name ignore case and accents: the folded name is kept beside it.
        exec(QStringLiteral("ALTER TABLE clients ADD COLUMN name_key TEXT NOT NULL DEFAULT ''"));
        QSqlQuery names = exec(QStringLiteral("SELECT id, name FROM clients"));
        QList<QPair<qint64, QString>> rows;
        while (names.next())
            rows.append({names.value(0).toLongLong(), names.value(1).toString()});
        names.finish();
        for (const auto &[id, name] : rows)
            exec(QStringLiteral("UPDATE clients SET name_key = ? WHERE id = ?"), {RegisterText::NameKey(name), id});
        exec(QStringLiteral("CREATE INDEX clients_by_name ON clients (name_key)"));
        exec(QStringLiteral("UPDATE zavenor_schema SET version = 2"));
    }
    step.Commit();
}

QList<TClient> TSqliteRegister::FindClients(const QString &typed, int limit)
{
    const QString name = RegisterText::NameKey(typed);
    QString tax = RegisterText::TaxKey(typed);
    // Letters alone are a name, not the start of an alphanumeric CNPJ.
    if (!std::any_of(tax.begin(), tax.end(), [](QChar c) { return c.isDigit(); }))
        tax.clear();
    QSqlQuery q = exec(QStringLiteral("SELECT %1 FROM clients WHERE name_key LIKE ? ESCAPE '\\' "
                                      "OR (? <> '' AND tax_key LIKE ? ESCAPE '\\') ORDER BY name_key, id LIMIT ?")
                           .arg(QLatin1String(kClientColumns)),
                       {QStringLiteral("%") + escapeLike(name) + QStringLiteral("%"), tax,
                        QStringLiteral("%") + escapeLike(tax) + QStringLiteral("%"), limit});
    QList<TClient> found;
    while (q.next())
        found.append(clientOf(q));
    return found;
}

std::optional<TClient> TSqliteRegister::ClientByTaxId(const QString &taxId)
{
    const QString key = RegisterText::TaxKey(taxId);
    if (key.isEmpty())
        return std::nullopt;
    QSqlQuery q = exec(QStringLiteral("SELECT %1 FROM clients WHERE tax_key = ?").arg(QLatin1String(kClientColumns)),
                       {key});
    if (!q.next())
        return std::nullopt;
    return clientOf(q);
}

qint64 TSqliteRegister::SaveClient(const TClient &client)
{
    if (client.name.trimmed().isEmpty())
        throw TStorageError(TStorageError::Other, QStringLiteral("O contribuinte precisa de um nome."));
    const QString key = RegisterText::TaxKey(client.taxId);
    Transaction step(*this);
    qint64 id = client.id;
    if (!key.isEmpty()) {
        QSqlQuery same = exec(QStringLiteral("SELECT id FROM clients WHERE tax_key = ?"), {key});
        if (same.next()) {
            const qint64 holder = same.value(0).toLongLong();
            if (id != 0 && holder != id)
                throw TStorageError(TStorageError::Other,
                                    QStringLiteral("Já há outro contribuinte com o CPF/CNPJ %1.").arg(client.taxId));
            id = holder;
        }
    }
    const QVariant taxKey = key.isEmpty() ? QVariant() : QVariant(key);
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    const QVariantList values = {client.name.trimmed(), client.taxId.trimmed(), taxKey, client.stateRegistration,
                                 client.address, client.city, client.uf, client.phone, client.notes, now,
                                 RegisterText::NameKey(client.name)};
    if (id != 0) {
        QVariantList withId = values;
        withId << id;
        QSqlQuery q = exec(QStringLiteral("UPDATE clients SET name = ?, tax_id = ?, tax_key = ?, state_registration = ?, "
                                          "address = ?, city = ?, uf = ?, phone = ?, notes = ?, updated_at = ?, "
                                          "name_key = ? WHERE id = ?"),
                           withId);
        if (q.numRowsAffected() != 1)
            throw TStorageError(TStorageError::Other,
                                QStringLiteral("O contribuinte %1 não está mais no cadastro.").arg(client.name));
    } else {
        QSqlQuery q = exec(QStringLiteral("INSERT INTO clients (name, tax_id, tax_key, state_registration, address, "
                                          "city, uf, phone, notes, updated_at, name_key) "
                                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                           values);
        id = q.lastInsertId().toLongLong();
    }
    step.Commit();
    return id;
}

void TSqliteRegister::DeleteClient(qint64 id)
{
    Transaction step(*this);
    exec(QStringLiteral("DELETE FROM clients WHERE id = ?"), {id});
    step.Commit();
}

qint64 TSqliteRegister::insertIssue(const TIssuedSlip &slip)
{
    QJsonObject fields;
    for (auto it = slip.fields.cbegin(); it != slip.fields.cend(); ++it)
        fields.insert(it.key(), it.value());
    const QDateTime when = slip.issuedAt.isValid() ? slip.issuedAt : QDateTime::currentDateTimeUtc();
    QSqlQuery q = exec(
        QStringLiteral("INSERT INTO slips (kind, payer_name, payer_tax_key, fields, total, mode, printer, job_id, "
                       "pdf_path, outcome, issued_at, due_month) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {slip.kind, slip.payerName, RegisterText::TaxKey(slip.payerTaxId),
         QString::fromUtf8(QJsonDocument(fields).toJson(QJsonDocument::Compact)), slip.total, slip.mode, slip.printer,
         slip.jobId, slip.pdfPath, RegisterText::OutcomeKey(slip.outcome),
         when.toUTC().toString(Qt::ISODateWithMs),
         storedMonth(RegisterText::MonthOfDate(slip.fields.value(QStringLiteral("vencimento"))))});
    return q.lastInsertId().toLongLong();
}

qint64 TSqliteRegister::RecordIssue(const TIssuedSlip &slip)
{
    Transaction step(*this);
    const qint64 id = insertIssue(slip);
    step.Commit();
    return id;
}

void TSqliteRegister::RecordIssues(const QList<TIssuedSlip> &slips)
{
    Transaction step(*this);
    for (const TIssuedSlip &slip : slips)
        insertIssue(slip);
    step.Commit();
}

QList<TIssuedSlip> TSqliteRegister::History(const THistoryFilter &filter)
{
    QSqlQuery q = exec(QString::fromLatin1(RegisterText::HistoryQuery),
                       RegisterText::HistoryBindings(filter, storedMonth(filter.dueMonth)));
    QList<TIssuedSlip> slips;
    while (q.next())
        slips.append(RegisterText::IssuedSlipOfRow(q));
    return slips;
}
