#pragma once

#include <QList>
#include <QString>

class Database;
class Progress;
class TableSource;

// Copies the contents of a database of an earlier version into the current one, table by
// table, appending rows (only the job status list and the captions are emptied first).
namespace olderimport {

struct StepResult {
    QString olderTable;
    QString caption;     // the status shown while the step runs
    qint64 rows = 0;     // rows copied
    bool skipped = false;
    QString reason;      // why a step was skipped
    // Columns the older table lacks: the rows were copied with those fields left empty.
    QStringList missingColumns;
};

// Runs every step in order. A step whose older table is missing or unreadable, or lacks a
// column without which its rows mean nothing (a job's number, a contact's name), is skipped
// whole (with its caption and a beep). A step whose table lacks any other column copies its
// rows with that field left empty (a counter the older file lacks keeps its current value).
// Each step runs in one transaction, so an interrupted step leaves none of its rows behind. A
// row the current database refuses is passed over: silently when a value does not fit, with a
// beep otherwise.
QList<StepResult> UpdateDatabase(Database& target, TableSource& older, Progress& progress);

// True when no step found anything to copy.
bool nothingImported(const QList<StepResult>& steps);

// One line for each step passed over or copied without some of its columns, for the person who
// ran the import; empty when everything was copied.
QStringList passedOver(const QList<StepResult>& steps);

}  // namespace olderimport
