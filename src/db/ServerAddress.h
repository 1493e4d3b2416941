#pragma once

#include <QString>
#include <optional>

class TReg;

// Where a shared database server's database is: the third role of a workstation, beside the
// embedded database file. The password is never kept with it: the server's client library reads
// it from the user's ~/.pgpass.
struct ServerAddress {
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString schema;  // empty: the user's default schema

    QString connectionString() const;

    // postgresql://user@host:port/database (the user and the port may be left out).
    static std::optional<ServerAddress> fromUrl(const QString& url, QString* why);

    // The server the settings name (DbProvider "PostgreSQL", DbHost, DbPort, DbName, DbUser and
    // optionally DbSchema),
    // or nothing when this computer uses the embedded database file.
    static std::optional<ServerAddress> fromSettings(TReg& settings);
    // Stores the choice; nothing means the embedded database file again.
    static void store(TReg& settings, const std::optional<ServerAddress>& server);
};

// For the setup screen's "Test Connection": connects to the server's database and checks that it
// is empty or Verdell's, changing nothing. An empty text on success, otherwise the reason, in the
// server's own words where it gave them.
QString testServerConnection(const QString& host, int port, const QString& database,
                             const QString& user);

// Why the server's client library ignores the password file (the one PGPASSFILE names, or
// ~/.pgpass): it refuses a file that other users may read, and says so only on the standard
// error. An empty text when the file is absent or readable by its owner alone.
QString passwordFileProblem();
