#pragma once

#include <QString>

class AppState;
class Database;
class Progress;
class TableSource;

// Turning a database of the earlier Windows release into one of our own engine.
namespace conversion {

// Copies every table of the source, with every row, into the database: a table the database
// already has is emptied first and given the columns it lacks; any other table is made from the
// source's columns. False, with the reason, at the first row that cannot be copied.
bool copyTables(TableSource& source, Database& db, Progress& progress, QString* error);

// The name the original file keeps beside the converted one: "verdell.mdb" becomes
// "verdell (earlier Windows release).mdb", numbered when that name is taken.
QString keptOriginalName(const QString& file);

struct Result {
    QString error;         // empty on success
    QString keptOriginal;  // where the original file now is
};

// Converts the file in place: a new database is built beside it from all its tables, brought up
// to the current schema version, and put under the file's name; the original is renamed to
// keptOriginalName(). On any failure the original stays as it was, under its own name.
Result ConvertJetDatabase(const QString& file, Progress& progress);
// The same for any source of the file's tables: the file is replaced by what the source holds.
Result convertInPlace(TableSource& source, const QString& file, Progress& progress);

// Asks whether to convert the file and, on Yes, converts it and points the settings at the
// result, telling the user how it went. True when the file is now a database we can open.
bool OfferJetConversion(AppState& app, const QString& file);

}  // namespace conversion
