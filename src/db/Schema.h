#pragma once

#include <QString>
#include <QStringList>

class Database;

// The one definition of the database's tables.
namespace schema {

inline const QString kCurrentVersion = QStringLiteral("1.0.5");

// The tables a database held before the program's own upgrades added to it. Tests use it to
// make databases of older releases.
bool createBaseTables(Database& db);

// The job age report's working table, private to this connection (a temporary table that the
// engine drops when the connection closes), so that each workstation gets its own report.
bool createJobAgeTable(Database& db);

// The indexes on the columns the screens search and join on. Safe to run again.
bool createIndexes(Database& db);

// A complete new database at the current version with its starting rows, in a file that does
// not exist yet. The file appears only when it is complete. Gives an empty text on success,
// otherwise the reason it failed.
QString createDatabaseFile(const QString& file);

// Called on the first connection to a server's database: an empty one is given the complete
// schema and its starting rows, all or nothing; one that holds Verdell's tables is taken as it
// is. Without build an empty database is left empty. Gives an empty text, or why the database
// cannot be used (another program's tables).
QString adoptServerDatabase(Database& db, bool build = true);

// Every table a complete database has.
QStringList tableNames();

}  // namespace schema
