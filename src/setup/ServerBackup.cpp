#include "setup/ServerBackup.h"

#include "db/Database.h"
#include "db/Revisions.h"
#include "db/Schema.h"
#include "records/Connection.h"
#include "setup/TableCopy.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace backup {

namespace {

// Copies every table the source has; the first table that fails, with the reason.
QString copyTables(Database& from, Database& to) {
    for (const QString& table : schema::tableNames()) {
        if (!from.hasTable(table)) {
            continue;
        }
        if (!copyTable(from, to, table)) {
            const DbError& error = from.lastError().ok() ? to.lastError() : from.lastError();
            return QStringLiteral("the table %1 could not be copied: %2").arg(table, error.message);
        }
    }
    return {};
}

QString writeCopy(Database& server, const QString& part) {
    if (const QString failure = schema::createDatabaseFile(part); !failure.isEmpty()) {
        return failure;
    }
    Database file;
    if (!file.open(connection::forFile(part))) {
        return file.lastError().message;
    }
    // One snapshot of the server for every table; nothing is written there.
    Transaction snapshot(server);
    if (!snapshot.active() ||
        !server.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"))) {
        return server.lastError().message;
    }
    Transaction tx(file);
    if (!tx.active()) {
        return file.lastError().message;
    }
    if (const QString failure = copyTables(server, file); !failure.isEmpty()) {
        return failure;
    }
    if (!tx.commit()) {
        return file.lastError().message;
    }
    const QString integrity = file.integrityCheck();
    return integrity == QLatin1String("ok") ? QString() : integrity;
}

}  // namespace

QString backupServer(Database& server, const QString& target) {
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    QString failure = writeCopy(server, part);
    if (failure.isEmpty() && std::rename(QFile::encodeName(part).constData(),
                                         QFile::encodeName(target).constData()) != 0) {
        failure = QStringLiteral("the finished copy could not be given its name");
    }
    if (!failure.isEmpty()) {
        QFile::remove(part);
        QFile::remove(part + QStringLiteral("-journal"));
        return QStringLiteral("The backup '%1' of %2 could not be written: %3.")
            .arg(target, server.describe(), failure);
    }
    return {};
}

QString restoreServer(Database& server, const QString& backupFile) {
    // The backup is brought up to this version on a copy, never in the file itself.
    QTemporaryDir work;
    const QString copy = work.filePath(QStringLiteral("restoring.vbk"));
    if (!work.isValid() || !QFile::copy(backupFile, copy)) {
        return QStringLiteral("The backup could not be copied to a temporary folder: the disk "
                              "may be full.");
    }
    Database file;
    if (!file.open(connection::forFile(copy))) {
        return file.lastError().message;
    }
    if (const QString failure = revisions::bringUpToDate(file); !failure.isEmpty()) {
        return QStringLiteral("The backup cannot be brought up to this version: %1").arg(failure);
    }
    Transaction tx(server);
    if (!tx.active()) {
        return server.lastError().message;
    }
    // Every table locked first: a workstation saving now makes the restore give way.
    for (const QString& table : schema::tableNames()) {
        if (server.hasTable(table) &&
            !server.exec(QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE NOWAIT").arg(table))) {
            return QStringLiteral("Another workstation is saving in %1 right now. Close Verdell "
                                  "on the other workstations, then restore the backup again.")
                .arg(server.describe());
        }
    }
    if (const QString failure = copyTables(file, server); !failure.isEmpty()) {
        return QStringLiteral("The backup could not be put back, so nothing was changed: %1")
            .arg(failure);
    }
    if (!tx.commit()) {
        return QStringLiteral("The restore could not be committed, so nothing was changed: %1")
            .arg(server.lastError().message);
    }
    return {};
}

}  // namespace backup
