#include "setup/Backup.h"

#include "db/Database.h"
#include "db/Revisions.h"
#include "db/ServerAddress.h"
#include "db/Upgrade.h"
#include "platform/Clock.h"
#include "platform/DriveRoots.h"
#include "platform/Paths.h"
#include "records/AppState.h"
#include "records/Captions.h"
#include "records/Connection.h"
#include "records/DateFormats.h"
#include "records/Options.h"
#include "setup/DatabaseInUse.h"
#include "setup/ServerBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <optional>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The files the engine keeps beside a database file while a change is under way.
const char* const kCompanions[] = {"-journal", "-wal", "-shm"};

// Moves the companion files of one database file to go with the file's new name, so that no
// journal is ever left beside a file it does not belong to.
void moveCompanions(const QString& from, const QString& to) {
    for (const char* companion : kCompanions) {
        const QString suffix = QString::fromLatin1(companion);
        if (QFileInfo::exists(from + suffix)) {
            QFile::remove(to + suffix);
            QFile::rename(from + suffix, to + suffix);
        }
    }
}

void removeWithCompanions(const QString& file) {
    QFile::remove(file);
    for (const char* companion : kCompanions) {
        QFile::remove(file + QString::fromLatin1(companion));
    }
}

bool sameFile(const QString& a, const QString& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Puts the incoming copy in place of the database, which keeps the kept name; on failure the
// files are as they were and the reason is given. The database takes its second name first (a
// second link to it, where the file system has links), and the copy then takes the database's
// name in one step: there is no moment without a database under that name.
QString swapFiles(const QString& file, const QString& incoming, const QString& kept,
                  bool hadDatabase) {
    if (hadDatabase) {
        const bool linked = ::link(QFile::encodeName(file).constData(),
                                   QFile::encodeName(kept).constData()) == 0;
        if (!linked && !QFile::rename(file, kept)) {
            return QStringLiteral("The database '%1' could not be set aside: it may be in use.")
                .arg(file);
        }
        moveCompanions(file, kept);
    }
    if (!replaceWith(incoming, file)) {
        if (hadDatabase && !QFileInfo::exists(file)) {
            QFile::rename(kept, file);
        } else if (hadDatabase) {
            QFile::remove(kept);
        }
        return QStringLiteral("The backup could not be put in place of '%1'.").arg(file);
    }
    return {};
}

// Why the restored file fails the engine's integrity check, or an empty text when it passes.
QString checkRestored(const QString& file) {
    Database db;
    if (!db.open(connection::forFile(file))) {
        return db.lastError().message;
    }
    const QString integrity = db.integrityCheck();
    return integrity == QLatin1String("ok") ? QString() : integrity;
}

bool onServer(TReg& settings) {
    return ServerAddress::fromSettings(settings).has_value();
}

// Loads what the screens keep of the database after it has been replaced.
void reloadFrom(AppState& app) {
    revisions::bringUpToDate(app.DbConnection);
    captions::load(app.DbConnection, app.FieldCaptions);
    LoadOptions(app);
    LoadDefaultDateFormat(app);
}

// What the server held is kept first as a backup beside the one restored (or in the home folder
// when that folder takes no file), then the backup is put back in one transaction.
RestoreResult restoreOnServer(AppState& app, const QString& backupFile) {
    if (!app.DbConnection.isOpen() && !OpenDatabase(app)) {
        return {app.DbConnection.lastError().message, {}};
    }
    Database& db = app.DbConnection;
    const QString stamp = app.clock.now().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss"));
    const QString name = app.AppSettings.GetValue(QStringLiteral("DbName"));
    const QString base = (name.isEmpty() ? QStringLiteral("verdell") : name) +
                         QStringLiteral(".vbk");
    QString kept = replacedName(QFileInfo(backupFile).absolutePath() + u'/' + base, stamp);
    if (!backupServer(db, kept).isEmpty()) {
        kept = replacedName(app.roots.home() + u'/' + base, stamp);
        if (const QString failure = backupServer(db, kept); !failure.isEmpty()) {
            return {failure + QStringLiteral(" What the server holds could not be kept, so "
                                             "nothing was restored."),
                    {}};
        }
    }
    if (const QString failure = restoreServer(db, backupFile); !failure.isEmpty()) {
        QFile::remove(kept);
        return {failure, {}};
    }
    reloadFrom(app);
    return {{}, kept};
}

}  // namespace

QString BackupDatabase(Database& db, const QString& target) {
    if (target.trimmed().isEmpty()) {
        return QStringLiteral("No backup file is named.");
    }
    if (!db.isOpen()) {
        return QStringLiteral("There is no open database to back up.");
    }
    if (db.onServer()) {
        return QFileInfo(target).isDir() ? QStringLiteral("'%1' is a folder.").arg(target)
                                         : backupServer(db, target);
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

QString restoredFile(TReg& settings, const DriveRoots& roots) {
    return paths::toHost(paths::join(settings.GetValue(QStringLiteral("datapath")),
                                     settings.GetValue(QStringLiteral("dataname"))),
                         roots);
}

QString whyInUse(TReg& settings, const DriveRoots& roots) {
    return onServer(settings) ? QString() : ExclusiveUse(restoredFile(settings, roots)).refusal();
}

RestoreResult RestoreDatabase(AppState& app, const QString& backupFile) {
    const QString problem = checkBackupFile(backupFile);
    if (!problem.isEmpty()) {
        return {problem, {}};
    }
    if (onServer(app.AppSettings)) {
        return restoreOnServer(app, backupFile);
    }
    const QString file = restoredFile(app.AppSettings, app.roots);
    if (QFileInfo(file).absoluteFilePath() == QFileInfo(backupFile).absoluteFilePath()) {
        return {QStringLiteral("The backup is the database itself."), {}};
    }
    const QString incoming = file + QStringLiteral(".restoring");
    removeWithCompanions(incoming);
    if (!QFile::copy(backupFile, incoming) || !checkRestored(incoming).isEmpty()) {
        removeWithCompanions(incoming);
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
        // Taking it rolls back a change that a program left half written when it stopped, in
        // the file it belongs to, before that file is set aside.
        std::optional<ExclusiveUse> use;
        if (!onServer(app.AppSettings)) {
            use.emplace(file);
            failure = use->refusal();
        }
        if (failure.isEmpty()) {
            failure = swapFiles(file, incoming, kept, hadDatabase);
        }
    }
    if (failure.isEmpty()) {
        if (const QString damage = checkRestored(file); !damage.isEmpty()) {
            // The restored file is not whole: the replaced database goes back in its place.
            if (hadDatabase && replaceWith(kept, file)) {
                moveCompanions(kept, file);
                failure = QStringLiteral("The restored database failed the integrity check (%1); "
                                         "the replaced database has been put back.")
                              .arg(damage);
            } else {
                failure = QStringLiteral("The restored database failed the integrity check: %1")
                              .arg(damage);
            }
        }
    }
    if (!failure.isEmpty()) {
        removeWithCompanions(incoming);
        OpenDatabase(app);
        return {failure, {}};
    }
    QFile(file).setPermissions(QFile(file).permissions() | QFileDevice::WriteOwner);
    if (OpenDatabase(app)) {
        reloadFrom(app);
    }
    return {{}, hadDatabase ? kept : QString()};
}

QString repairInterruptedRestore(const QString& file) {
    const QString incoming = file + QStringLiteral(".restoring");
    if (!QFileInfo::exists(incoming)) {
        return {};
    }
    if (QFileInfo::exists(file)) {
        // Stopped before the copy took the database's name: the database is as it was. A second
        // name already given to it goes too.
        const QFileInfo info(file);
        const QDir folder = info.absoluteDir();
        for (const QString& name : folder.entryList(
                 {info.completeBaseName() + QStringLiteral(" (replaced *")}, QDir::Files)) {
            if (sameFile(folder.filePath(name), file)) {
                QFile::remove(folder.filePath(name));
            }
        }
        removeWithCompanions(incoming);
        return QStringLiteral("A restore stopped before it replaced the database %1 has been "
                              "undone; the database is as it was.")
            .arg(file);
    }
    if (const QString damage = checkRestored(incoming); !damage.isEmpty()) {
        return QStringLiteral("A restore stopped half way left no database at %1, and the copy "
                              "of the backup it left (%2) is not whole: restore the backup again.")
            .arg(file, incoming);
    }
    if (!replaceWith(incoming, file)) {
        return QStringLiteral("A restore stopped half way left no database at %1; rename %2 to "
                              "that name, or restore the backup again.")
            .arg(file, incoming);
    }
    moveCompanions(incoming, file);
    return QStringLiteral("A restore stopped half way has been finished: the backup is now the "
                          "database %1.")
        .arg(file);
}

}  // namespace backup
