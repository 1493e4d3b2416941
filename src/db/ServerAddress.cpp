#include "db/ServerAddress.h"

#include "common/TReg.h"
#include "db/Database.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

const QString kProvider = QStringLiteral("PostgreSQL");

}  // namespace

QString ServerAddress::connectionString() const {
    return connection::forServer(host, port, database, user, schema);
}

std::optional<ServerAddress> ServerAddress::fromUrl(const QString& url, QString* why) {
    const QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    if (!parsed.isValid() || (scheme != QLatin1String("postgresql") &&
                              scheme != QLatin1String("postgres"))) {
        *why = QStringLiteral("'%1' is not a server address of the form "
                              "postgresql://user@host:port/database")
                   .arg(url);
        return std::nullopt;
    }
    ServerAddress out;
    out.host = parsed.host();
    out.port = parsed.port(5432);
    out.user = parsed.userName();
    out.database = parsed.path().mid(1);
    if (!parsed.password().isEmpty()) {
        *why = QStringLiteral("the address must not hold a password: put it in ~/.pgpass");
        return std::nullopt;
    }
    if (out.host.isEmpty() || out.database.isEmpty() || out.database.contains(u'/')) {
        *why = QStringLiteral("'%1' does not name both the server and the database").arg(url);
        return std::nullopt;
    }
    return out;
}

std::optional<ServerAddress> ServerAddress::fromSettings(TReg& settings) {
    if (settings.GetValue(QStringLiteral("DbProvider")).compare(kProvider, Qt::CaseInsensitive) !=
        0) {
        return std::nullopt;
    }
    ServerAddress out;
    out.host = settings.GetValue(QStringLiteral("DbHost")).trimmed();
    bool ok = false;
    const int port = settings.GetValue(QStringLiteral("DbPort")).toInt(&ok);
    out.port = ok ? port : 5432;
    out.database = settings.GetValue(QStringLiteral("DbName")).trimmed();
    out.user = settings.GetValue(QStringLiteral("DbUser")).trimmed();
    out.schema = settings.GetValue(QStringLiteral("DbSchema")).trimmed();
    return out;
}

void ServerAddress::store(TReg& settings, const std::optional<ServerAddress>& server) {
    settings.SetValue(QStringLiteral("DbProvider"), server ? kProvider : QString());
    settings.SetValue(QStringLiteral("DbHost"), server ? server->host : QString());
    settings.SetValue(QStringLiteral("DbPort"), server ? QString::number(server->port) : QString());
    settings.SetValue(QStringLiteral("DbName"), server ? server->database : QString());
    settings.SetValue(QStringLiteral("DbUser"), server ? server->user : QString());
    settings.SetValue(QStringLiteral("DbSchema"), server ? server->schema : QString());
}

QString testServerConnection(const QString& host, int port, const QString& database,
                             const QString& user) {
    Database db;
    if (!db.probe(ServerAddress{host.trimmed(), port, database.trimmed(), user.trimmed(), {}}
                      .connectionString())) {
        return db.lastError().message;
    }
    return {};
}

QString passwordFileProblem() {
    const QString named = qEnvironmentVariable("PGPASSFILE");
    const QFileInfo file(named.isEmpty() ? QDir::home().filePath(QStringLiteral(".pgpass"))
                                         : named);
    constexpr auto kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                             QFileDevice::ExeGroup | QFileDevice::ReadOther |
                             QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (!file.exists() || !(file.permissions() & kOthers)) {
        return {};
    }
    return QStringLiteral("The password file %1 can be read by other users, so the server's "
                          "client library ignores it: make it readable only by you "
                          "(chmod 600 %1).")
        .arg(QDir::toNativeSeparators(file.filePath()));
}
