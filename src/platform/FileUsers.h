#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Which other processes on this computer use a file.
namespace fileusers {

struct User {
    qint64 pid = 0;
    QString program;  // the program's name, as it was started
};

// The processes other than this one that have one of the files open, or hold a lock on one of
// them. Found through /proc: the open files of every process this user may look into (its own,
// or all when run as root), and the locks of every process. Files that do not exist are passed
// over. Empty on systems without /proc.
QList<User> otherProcessesUsing(const QStringList& files);

}  // namespace fileusers
