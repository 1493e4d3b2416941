#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class Database;

// What the load test finds after its workstations have finished: their logs read back, and the
// database checked against them.
namespace load {

// One line of a workstation's log (LoadWorkstation.h says what each field holds).
struct Operation {
    int workstation = 0;
    QString name;
    QString outcome;
    qint64 ms = 0;
    QString key;
    qint64 version = 0;
    QString marker;
};
// The operations a log holds, and the number of times its workstation was told the server had
// gone away (the log's last line, "told N").
QList<Operation> readLog(const QString& file, int workstation, int* told);

struct Findings {
    QStringList problems;              // anything that must not happen
    QMap<QString, int> outcomes;       // operations by outcome
    QList<qint64> saveMs;              // how long each save that went through took
};

// Every operation ended as one of the outcomes a user can meet, and the database agrees with
// what the logs say: job and document numbers distinct with none lost, every save that went
// through is the version it says (so none was lost), nothing refused was written, each document
// recorded is on disk, and the engine finds its files sound. Without the server stopped, no
// operation is refused either.
Findings check(Database& db, const QList<Operation>& operations, const QString& docsFolder,
               bool serverStopped);

// The value below which the given share of the sorted values lies (nearest rank).
qint64 percentile(QList<qint64> values, double share);

}  // namespace load
