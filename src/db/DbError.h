#pragma once

#include <QString>

// The conditions callers tell apart when a statement fails. The numbers are the classic data
// provider's codes, which messages show as "Error number ...".
enum class DbCondition {
    None,
    TableMissing,    // the table does not exist
    CannotExecute,   // the statement cannot be carried out: the object already exists, a
                     // column is unknown, a syntax error
    ErrorsOccurred,  // a value was refused: too long, of the wrong type, a broken constraint
    Unspecified,     // the database cannot be used: locked, read-only, unreadable, damaged
    ServerGone,      // the database server cannot be reached (stopped, or the network is down)
    Other,
};

struct DbError {
    DbCondition condition = DbCondition::None;
    QString message;  // the engine's own reason
    int nativeCode = 0;

    bool ok() const { return condition == DbCondition::None; }
    // The number shown to the user for this condition.
    qint32 number() const;
};
