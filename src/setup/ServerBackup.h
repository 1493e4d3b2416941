#pragma once

#include <QString>

class Database;

// Backup and restore of a database on a server: a copy of every table, taken in one snapshot,
// in a new embedded database file (which needs no tool of the server on the workstation), and
// such a file put back in one transaction.
namespace backup {

// Writes every table of the server's database, as one moment of it, into the new embedded
// file, which takes its name only when complete and checked. Empty text on success, otherwise
// the reason (the target is then as it was).
QString backupServer(Database& server, const QString& target);

// Replaces every table's rows on the server with those of the backup file (brought up to this
// version first, on a copy), in one transaction. Refused, with nothing changed, while another
// workstation is saving. Empty text on success, otherwise the reason.
QString restoreServer(Database& server, const QString& backupFile);

}  // namespace backup
