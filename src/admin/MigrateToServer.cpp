// verdell-admin migrate --to postgresql://...: the embedded database copied to a server.

#include "admin/AdminCommands.h"
#include "db/Revisions.h"
#include "db/Schema.h"
#include "db/ServerAddress.h"
#include "db/Upgrade.h"
#include "records/AppState.h"
#include "setup/DatabaseInUse.h"
#include "setup/TableCopy.h"

namespace admin {

int migrateToServer(AppState& app, const QStringList& arguments, Streams io) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--to"));
    const QString url = at >= 0 ? arguments.value(at + 1) : QString();
    if (url.isEmpty()) {
        return fail(io, QStringLiteral("migrate needs --to postgresql://user@host:port/database"));
    }
    QString why;
    const std::optional<ServerAddress> server = ServerAddress::fromUrl(url, &why);
    if (!server) {
        return fail(io, why);
    }
    if (!openDatabase(app, io, true)) {
        return 1;
    }
    Database& from = app.DbConnection;
    // One moment of the file is copied: refused while another program on this computer has it
    // open, and read under the file's write lock, so that nobody saves in it half way through.
    if (const QString inUse =
            ExclusiveUse(from.fileName(), QStringLiteral("migrate the database")).refusal();
        !inUse.isEmpty()) {
        return fail(io, QString(inUse).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    }
    // Brought up to date only once no one else is in it: that writes to the file too.
    if (const QString failure = revisions::bringUpToDate(from); !failure.isEmpty()) {
        return fail(io, failure);
    }
    if (const QString integrity = from.integrityCheck(); integrity != QLatin1String("ok")) {
        return fail(io, QStringLiteral("%1 is damaged, so it is not copied: %2")
                            .arg(from.describe(), integrity));
    }
    Transaction snapshot(from);
    if (!snapshot.active()) {
        return fail(io, QStringLiteral("%1 is being saved in by another workstation, so no one "
                                       "moment of it can be copied: close Verdell on the other "
                                       "workstations, then migrate again (%2)")
                            .arg(from.describe(), from.lastError().message));
    }
    Database to;
    if (!to.probe(server->connectionString())) {
        return fail(io, to.lastError().message);
    }
    if (!to.tables().isEmpty()) {
        return fail(io, QStringLiteral("%1 is not empty: it already holds a database; nothing "
                                       "was copied")
                            .arg(to.describe()));
    }
    // The new schema and the copied rows together, so a failure leaves the database empty.
    Transaction tx(to);
    const QString refused = schema::adoptServerDatabase(to);
    if (!tx.active() || !refused.isEmpty()) {
        return fail(io, refused.isEmpty() ? to.lastError().message : refused);
    }
    QStringList report;
    for (const QString& table : schema::tableNames()) {
        if (!from.hasTable(table)) {
            continue;
        }
        const std::optional<int> copied = backup::copyTable(from, to, table);
        if (!copied) {
            const DbError& error = from.lastError().ok() ? to.lastError() : from.lastError();
            return fail(io, QStringLiteral("the table %1 could not be copied, so nothing was: %2")
                                .arg(table, error.message));
        }
        report << QStringLiteral("  %1%2").arg(table, -16).arg(*copied);
        // The planner's figures for the table, which the server's own housekeeping would only
        // gather later: until then a job is looked up by reading the table in order.
        if (!to.exec(QStringLiteral("ANALYZE ") + table)) {
            return fail(io, QStringLiteral("the table %1 could not be measured, so nothing was "
                                           "copied: %2")
                                .arg(table, to.lastError().message));
        }
    }
    if (!tx.commit()) {
        return fail(io, QStringLiteral("the copy could not be committed, so nothing was copied: %1")
                            .arg(to.lastError().message));
    }
    io.out << "copied " << from.describe() << " to " << to.describe() << Qt::endl;
    for (const QString& line : report) {
        io.out << line << Qt::endl;
    }
    return 0;
}

}  // namespace admin
