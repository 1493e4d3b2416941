#include "setup/Backup.h"

#include "platform/Clock.h"
#include "platform/Paths.h"
#include "setup/DatabaseInUse.h"
#include "startup/AppState.h"
#include "startup/Captions.h"
#include "startup/Connection.h"
#include "startup/DateFormats.h"
#include "startup/Database.h"
#include "startup/Options.h"
#include "startup/Revisions.h"
#include "startup/ServerAddress.h"
#include "startup/Upgrade.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <optional>
#include <sqlite3.h>

namespace backup {

namespace {

// Moves a finished file over the target in one step, replacing what was there.
bool replaceWith(const QString& finished, const QString& target) {
    return std::rename(QFile::encodeName(finished).constData(),
                       QFile::encodeName(target).constData()) == 0;
}

// A connection of its own that reads the database file: it sees only what has been committed,
// whatever the program's connection is in the middle of.
struct Reader {
    sqlite3* db = nullptr;
    ~Reader() { sqlite3_close(db); }
};

QString copyThroughEngine(const QString& file, const QString& part) {
    Reader reader;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &reader.db, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK) {
        return reader.db ? QString::fromUtf8(sqlite3_errmsg(reader.db))
                         : QStringLiteral("the database cannot be read");
    }
    sqlite3_busy_timeout(reader.db, 5000);
    sqlite3* source = reader.db;
    sqlite3* dest = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(part).constData(), &dest,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    QString failure;
    if (rc == SQLITE_OK) {
        sqlite3_backup* copy = sqlite3_backup_init(dest, "main", source, "main");
        if (copy) {
            rc = sqlite3_backup_step(copy, -1);
            sqlite3_backup_finish(copy);
            if (rc != SQLITE_DONE) {
                failure = QString::fromUtf8(sqlite3_errstr(rc));
            }
        } else {
            failure = QString::fromUtf8(sqlite3_errmsg(dest));
        }
    } else {
        failure = dest ? QString::fromUtf8(sqlite3_errmsg(dest))
                       : QString::fromUtf8(sqlite3_errstr(rc));
    }
    if (sqlite3_close(dest) != SQLITE_OK && failure.isEmpty()) {
        failure = QStringLiteral("the copy could not be finished");
    }
    return failure;
}

// Puts the incoming copy in place of the database, which keeps the kept name; on failure the
// files are as they were and the reason is given.
QString swapFiles(const QString& file, const QString& incoming, const QString& kept,
                  bool hadDatabase) {
    if (hadDatabase && !QFile::rename(file, kept)) {
        return QStringLiteral("The database '%1' could not be set aside: it may be in use.")
            .arg(file);
    }
    if (!QFile::rename(incoming, file)) {
        if (hadDatabase) {
            QFile::rename(kept, file);
        }
        return QStringLiteral("The backup could not be put in place of '%1'.").arg(file);
    }
    return {};
}

bool onServer(AppState& app) {
    return ServerAddress::fromSettings(app.AppSettings).has_value();
}

}  // namespace

QString BackupDatabase(Database& db, const QString& target) {
    if (target.trimmed().isEmpty()) {
        return QStringLiteral("No backup file is named.");
    }
    if (!db.isOpen()) {
        return QStringLiteral("There is no open database to back up.");
    }
    if (QFileInfo(target).absoluteFilePath() == QFileInfo(db.fileName()).absoluteFilePath()) {
        return QStringLiteral("The backup cannot be written over the database itself.");
    }
    if (QFileInfo(target).isDir()) {
        return QStringLiteral("'%1' is a folder.").arg(target);
    }
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    QString failure = copyThroughEngine(db.fileName(), part);
    if (failure.isEmpty() && !replaceWith(part, target)) {
        failure = QStringLiteral("the finished copy could not be given its name");
    }
    if (!failure.isEmpty()) {
        QFile::remove(part);
        QFile::remove(part + QStringLiteral("-journal"));
        return QStringLiteral("The backup '%1' could not be written: %2.").arg(target, failure);
    }
    return {};
}

QString checkBackupFile(const QString& file) {
    if (!QFileInfo(file).isFile()) {
        return QStringLiteral("The file '%1' does not exist.").arg(file);
    }
    if (databaseFileKind(file) != DatabaseFileKind::SQLite) {
        return QStringLiteral("'%1' is not a backup of a Verdell database.").arg(file);
    }
    Database db;
    if (!db.open(connection::forFile(file))) {
        return QStringLiteral("'%1' cannot be read: %2").arg(file, db.lastError().message);
    }
    for (const char* table : {"Jobs", "Counters", "labels", "Version"}) {
        if (!db.hasTable(QString::fromLatin1(table))) {
            return QStringLiteral("'%1' is not a backup of a Verdell database: it has no %2 "
                                  "table.")
                .arg(file, QString::fromLatin1(table));
        }
    }
    const QString integrity = db.integrityCheck();
    if (integrity != QLatin1String("ok")) {
        return QStringLiteral("'%1' is damaged: %2").arg(file, integrity);
    }
    return {};
}

QString replacedName(const QString& databaseFile, const QString& stamp) {
    const QFileInfo info(databaseFile);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QString stem = info.absolutePath() + u'/' + info.completeBaseName() +
                         QStringLiteral(" (replaced ") + stamp;
    QString candidate = stem + u')' + suffix;
    for (int n = 2; QFileInfo::exists(candidate); ++n) {
        candidate = stem + u' ' + QString::number(n) + u')' + suffix;
    }
    return candidate;
}

QString restoredFile(AppState& app) {
    return paths::toHost(paths::join(app.AppSettings.GetValue(QStringLiteral("datapath")),
                                     app.AppSettings.GetValue(QStringLiteral("dataname"))),
                         app.roots);
}

QString whyInUse(AppState& app) {
    return onServer(app) ? QString() : ExclusiveUse(restoredFile(app)).refusal();
}

RestoreResult RestoreDatabase(AppState& app, const QString& backupFile) {
    const QString problem = checkBackupFile(backupFile);
    if (!problem.isEmpty()) {
        return {problem, {}};
    }
    const QString file = restoredFile(app);
    if (QFileInfo(file).absoluteFilePath() == QFileInfo(backupFile).absoluteFilePath()) {
        return {QStringLiteral("The backup is the database itself."), {}};
    }
    const QString incoming = file + QStringLiteral(".restoring");
    QFile::remove(incoming);
    if (!QFile::copy(backupFile, incoming)) {
        QFile::remove(incoming);
        return {QStringLiteral("The backup could not be copied beside the database '%1': the "
                               "disk may be full or the folder read-only.")
                    .arg(file),
                {}};
    }
    CloseDatabase(app);
    const QString kept = replacedName(
        file, app.clock.now().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss")));
    const bool hadDatabase = QFileInfo::exists(file);
    QString failure;
    {
        // Held while the files change places, so that no change begins in the file set aside.
        std::optional<ExclusiveUse> use;
        if (!onServer(app)) {
            use.emplace(file);
            failure = use->refusal();
        }
        if (failure.isEmpty()) {
            failure = swapFiles(file, incoming, kept, hadDatabase);
        }
    }
    if (!failure.isEmpty()) {
        QFile::remove(incoming);
        OpenDatabase(app);
        return {failure, {}};
    }
    QFile(file).setPermissions(QFile(file).permissions() | QFileDevice::WriteOwner);
    if (OpenDatabase(app)) {
        revisions::bringUpToDate(app.DbConnection);
        captions::load(app.DbConnection, app.FieldCaptions);
        LoadOptions(app);
        LoadDefaultDateFormat(app);
    }
    return {{}, hadDatabase ? kept : QString()};
}

}  // namespace backup
