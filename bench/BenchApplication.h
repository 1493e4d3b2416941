#pragma once

#include "platform/Clock.h"
#include "platform/DriveRoots.h"
#include "platform/FolderSharing.h"
#include "platform/Launcher.h"
#include "platform/ScreenMetrics.h"
#include "platform/ScriptedPrompter.h"
#include "platform/SystemLocale.h"
#include "records/AppState.h"

#include <QString>
#include <QTemporaryDir>

// The program's shared state on the platform doubles, for benchmarks that drive the screens and
// the logic in-process: a settings file of its own in a temporary folder, and the connection
// open on the benchmark database (or on a private copy of it, for benchmarks that write).
struct BenchApplication {
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    FixedClock clock;
    FixedScreenMetrics screen;
    FixedDriveRoots roots{{}, {}};
    FixedLocale locale;
    RecordingFolderSharing sharing;
    QTemporaryDir folder;
    AppState app{Services{prompter, launcher, clock, screen, roots, locale, sharing}};
    // The database file the connection is open on.
    QString file;

    // False with a reason in *error when VERDELL_BENCH_DB is not set or cannot be opened.
    bool open(bool privateCopy, QString* error);
    // The same, telling why on stderr under the program's name when it fails.
    bool openOrSay(bool privateCopy, const char* program);
    // Opens the database server that VERDELL_BENCH_PG names (postgresql://user@host:port/db),
    // which holds the same register, copied there by bench/run. False with a reason in *error
    // when no server is named or it cannot be opened.
    bool openServer(QString* error);
    // Opens the connection the string names, with the settings file of its own.
    bool openConnection(const QString& connectionString, QString* error);

private:
    // The settings file and the date and currency formats the benchmarks expect.
    void prepare();
};
