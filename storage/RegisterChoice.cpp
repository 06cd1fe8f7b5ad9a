#include "storage/RegisterChoice.h"

#include "storage/SqliteRegister.h"

#include <QSettings>

namespace RegisterChoice {

std::optional<TServerSettings> ConfiguredServer()
{
    QSettings settings(QStringLiteral("Morvath"), QStringLiteral("Zavenor"));
    settings.beginGroup(QStringLiteral("Banco"));
    TServerSettings server;
    server.host = settings.value(QStringLiteral("servidor")).toString().trimmed();
    if (server.host.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int port = settings.value(QStringLiteral("porta"), 5432).toInt(&ok);
    // A port that is no port is left to libpq's default rather than guessed.
    server.port = ok && port > 0 && port < 65536 ? port : 5432;
    server.database = settings.value(QStringLiteral("banco"), QStringLiteral("zavenor")).toString().trimmed();
    server.user = settings.value(QStringLiteral("usuario")).toString().trimmed();
    return server;
}

std::unique_ptr<TRegister> Open()
{
    if (const std::optional<TServerSettings> server = ConfiguredServer())
        return std::make_unique<TPostgresRegister>(*server);
    return std::make_unique<TSqliteRegister>(TSqliteRegister::DefaultPath());
}

} // namespace RegisterChoice
