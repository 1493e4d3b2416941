#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Database;

// Changes to the schema and the stored data made after the "1.0.5" version stamp, kept as one
// ordered list. Each database records the last revision it has had (table SchemaRevision); each
// later revision runs once, in its own transaction together with the new stamp, so a database
// already at "1.0.5" still gets every change.
namespace revisions {

// The revision a database is at; 0 for one made before the list began, -1 when it cannot be
// read.
int current(Database& db);
// The revision a database reaches when every migration has run.
int latest();

struct Outcome {
    QStringList done;  // what each migration that ran did, in order
    QString error;     // why the first migration that failed could not run; empty on success
};
// Runs each migration above the database's revision, in order, stopping at the first that
// fails; the database then stays at the revision before it, whole. A long one (building the
// text indexes of a big register) tells progress how far it is.
using Progress = std::function<void(qint64 value, qint64 maximum)>;
Outcome apply(Database& db, const Progress& progress = {});

// Brings any database the program opens up to date: the version upgrade when its stamp is old,
// then the revisions. An empty text on success, otherwise what failed.
QString bringUpToDate(Database& db, const Progress& progress = {});

// Contacts that share one name, which the job's save cannot tell apart (it updates the first of
// them). One line a name, naming the table and the rows, for someone to decide.
QStringList contactsSharingAName(Database& db);

}  // namespace revisions
