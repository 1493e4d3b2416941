#pragma once

#include <QString>
#include <optional>

class Database;

// Keeps the folded copies and sort keys of the stored rows (see TextKeys.h) whole: makes them
// for rows that another program wrote without them, makes them all again when this program's
// collation or case folding is newer than the one that made them, and converts a database
// whose text compared through a collation of the engine.
namespace textkeys {

// The table recording which collator and which Unicode version made the stored values.
inline const QString kVersionTable = QStringLiteral("TextKeyVersion");

enum class Refill {
    Missing,  // only rows with a text and without its folded copy or sort key
    All,      // every row, writing those whose stored values differ from what they should be
};
// Makes the values of every table's rows; the rows changed, or nothing when a table could not
// be read or written (the reason in db.lastError()). Writes in one transaction, begun only when
// a row needs it, so a database that needs nothing is only read.
std::optional<qint64> refill(Database& db, Refill which);

// Run at every opening, after the schema's revisions: rows that lack their values get them, and
// all are made again when they were made by an older collator or Unicode version. An empty text,
// or what failed.
QString keepUpToDate(Database& db);

// Before any revision writes to a database made before the folded copies: the indexes that
// ordered text with the engine's collation are taken away, and on the embedded engine every
// remaining index that orders text case-blind is built again under the engine's own NOCASE
// (an earlier version of the program built them under its own).
bool dropCollationIndexes(Database& db);

// The revision that brings in the folded copies and sort keys: on the server, text columns
// leave the case-blind collation (which then goes); every table gets the columns it lacks,
// filled, and their indexes; the version that made them is recorded. In the caller's
// transaction.
bool convert(Database& db);

}  // namespace textkeys
