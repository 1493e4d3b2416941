#include "setup/DatabaseInUse.h"

#include "platform/FileUsers.h"

#include <sqlite3.h>
#include <QFile>
#include <QFileInfo>

namespace {

// How long a read or a save under way elsewhere is waited for before the file counts as in use.
constexpr int kWaitMs = 1000;

}  // namespace

ExclusiveUse::ExclusiveUse(const QString& file) {
    if (!QFileInfo(file).isFile()) {
        return;
    }
    QStringList files{file};
    for (const char* companion : {"-journal", "-wal", "-shm"}) {
        files << file + QLatin1String(companion);
    }
    const QList<fileusers::User> users = fileusers::otherProcessesUsing(files);
    if (!users.isEmpty()) {
        QStringList lines;
        for (const fileusers::User& user : users) {
            lines << QStringLiteral("    %1 (process %2)")
                         .arg(user.program.isEmpty() ? QStringLiteral("a program") : user.program)
                         .arg(user.pid);
        }
        const bool one = users.size() == 1;
        refusal_ =
            QStringLiteral(
                "The database %1 is open in %2 on this computer:\r\n%3\r\n"
                "Close %4, then restore the backup again.")
                .arg(file,
                     one ? QStringLiteral("another program") : QStringLiteral("other programs"),
                     lines.join(QStringLiteral("\r\n")),
                     one ? QStringLiteral("it") : QStringLiteral("them"));
        return;
    }
    // A change or a read under way holds the engine's lock on the file, wherever it runs.
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db_, SQLITE_OPEN_READWRITE,
                        nullptr) != SQLITE_OK) {
        return;  // nothing can be learnt from a file the engine cannot open: the copy goes on
    }
    sqlite3_busy_timeout(db_, kWaitMs);
    const int rc = sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        refusal_ = QStringLiteral(
                       "A program, or a workstation sharing the data folder, is "
                       "reading or saving a change in the database %1 right now. "
                       "Close Verdell on the other workstations and any other program "
                       "that uses the database, then restore the backup again.")
                       .arg(file);
    }
}

ExclusiveUse::~ExclusiveUse() {
    if (db_) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }
}
