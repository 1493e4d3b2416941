#pragma once

#include "db/Rows.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <optional>

class Database;

// Indexes of the searched texts, kept by the engine in the same transaction as the rows, so a
// search reads the index instead of every row and still finds exactly what reading every row
// finds. They index the folded copies (TextKeys.h), so case is the program's business, not the
// engine's or the server's locale.
//
// Embedded: one FTS5 table a searched table ("JobsText" for Jobs), trigram tokens of the folded
// copies, case kept as folded (case_sensitive 1), filled and emptied by triggers on the table.
// A text of three characters or more is found with MATCH on one quoted phrase; shorter ones,
// and a text the index cannot take, are found by reading the rows.
// Server: pg_trgm GIN indexes on the folded copies, which the server uses for LIKE by itself.
// Without the extension the searches read the rows, with the same answers.
namespace textindex {

// value of maximum done, for a long build.
using Progress = std::function<void(qint64 value, qint64 maximum)>;

// A searched table and the columns its searches look in.
struct Indexed {
    QString table;
    QStringList columns;
};
const QList<Indexed>& all();
// The embedded engine's index table of a searched table.
QString indexTable(const QString& table);

// Makes the indexes afresh and fills them from the rows, in the caller's transaction. On a server without pg_trgm (or without the right to create it) nothing is made
// and the answer is still true: the searches then read the rows.
bool create(Database& db, const Progress& progress = {});
// Whether the database's searches go through an index.
bool present(Database& db);

// How a search finds its rows: through the index where the text allows, or by reading them.
enum class Through { Index, Scan };

// A condition, with its parameters, on the rows of table (named as the statement names it,
// e.g. "customers" or an alias) whose columns (all the indexed ones when empty) hold the text
// anywhere, without regard to case.
struct Condition {
    QString sql;
    QVariantList params;
};
Condition contains(Database& db, const QString& table, const QString& text,
                   const QStringList& columns = {}, Through through = Through::Index);

// Runs a search through the index. When that fails, the search reads the rows instead, so the
// answer is never wrong, and a damaged index is built again: by the handler whenDamaged() set,
// or else at once. Nothing when reading the rows fails too.
std::optional<Rows> answer(Database& db,
                           const std::function<std::optional<Rows>(Through)>& search);
// What a search that found the index damaged does about it (on the thread of the search, once
// until repaired() is called); nothing to build it again at once, as headless programs do.
void whenDamaged(std::function<void()> handler);
// The index is whole again: the next damage found calls the handler again.
void repaired();

// The engine's own check of the index against the rows: an empty text when they agree,
// otherwise what is wrong.
QString check(Database& db);
// Takes the indexes away (on the embedded engine), so that a great many rows are written
// quickly before create() builds them in one pass. In the caller's transaction.
bool drop(Database& db);
// Builds the index again from the rows, in one transaction; false leaves it as it was.
bool rebuild(Database& db, const Progress& progress = {});

}  // namespace textindex
