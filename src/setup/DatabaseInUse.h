#pragma once

#include <QString>

struct sqlite3;

// Whether an embedded database file may be replaced now: no other program on this computer
// has it open, and no program anywhere is reading or saving in it (the engine's lock on the
// file, which reaches other computers through a shared folder that passes locks on). While the
// object lives it holds the file's exclusive lock, so no other program can begin a change until
// the file has been replaced and the object is gone.
//
// What it cannot see: a program of another user on this computer, or a workstation on another
// computer, that has the file open but is neither reading nor saving at this moment.
class ExclusiveUse {
public:
    explicit ExclusiveUse(const QString& file);
    ~ExclusiveUse();
    ExclusiveUse(const ExclusiveUse&) = delete;
    ExclusiveUse& operator=(const ExclusiveUse&) = delete;

    // Why the file cannot be replaced now, naming what to close; empty when it can.
    const QString& refusal() const { return refusal_; }

private:
    sqlite3* db_ = nullptr;
    QString refusal_;
};
