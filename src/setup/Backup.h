#pragma once

#include <QString>

class AppState;
class Database;
class DriveRoots;
class TReg;

// Copies of the database: taken while the program runs, and put back in its place.
namespace backup {

// Writes a consistent copy of the open database to the target file through the engine's online
// backup, read through a connection of its own: the copy holds what has been committed, never a
// half-written change, even while this or another workstation is writing. The copy is
// built beside the target and takes its name only when complete. Empty text on success,
// otherwise the reason (the target is then as it was).
QString BackupDatabase(Database& db, const QString& target);

// Why the file cannot be restored as the database (not a database of ours, damaged, without
// the tables of Verdell), or an empty text when it can.
QString checkBackupFile(const QString& file);

// The name the replaced database keeps beside the restored one.
QString replacedName(const QString& databaseFile, const QString& stamp);

// The database file a restore replaces: the one the settings name.
QString restoredFile(TReg& settings, const DriveRoots& roots);

// Why the database cannot be replaced now (another program has it open, or is reading or
// saving in it), naming what to close; an empty text when it can. Nothing is checked while the
// settings name a database server, whose own database a restore does not reach.
QString whyInUse(TReg& settings, const DriveRoots& roots);

struct RestoreResult {
    QString error;     // empty on success
    QString keptFile;  // where the replaced database now is
};

// Replaces the database the settings name with a copy of the backup, keeping the replaced file
// beside it, and opens the restored database as the start-up does (upgrade, captions, options,
// date format). The backup is checked before anything is replaced, and the restore is refused
// while the database is in use (whyInUse); the files change places under the database's
// exclusive lock. On any failure the database stays as it was.
RestoreResult RestoreDatabase(AppState& app, const QString& backupFile);

// What a restore stopped half way left beside the database file (its copy of the backup,
// "FILE.restoring"): finished when the database had already been set aside, undone when it had
// not. What was done, for the user; an empty text when nothing was left.
QString repairInterruptedRestore(const QString& file);

}  // namespace backup
