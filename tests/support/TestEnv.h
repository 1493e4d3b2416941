#pragma once

#include "db/ServerAddress.h"
#include "platform/Clock.h"
#include "platform/DriveRoots.h"
#include "platform/FolderSharing.h"
#include "platform/Launcher.h"
#include "platform/ScreenMetrics.h"
#include "platform/ScriptedPrompter.h"
#include "platform/SystemLocale.h"
#include "records/AppState.h"

#include <QMap>
#include <QTemporaryDir>
#include <memory>

// One test's world: a temporary home folder (the first drive root) and settings folder, two
// more roots standing for other drives, the test doubles, and an application state on them.
// The environment (HOME, XDG_CONFIG_HOME) points into the temporary folder while it lives.
//
// A test program registered for the database server (VERDELL_TEST_ENGINE=postgresql) gives each
// test a fresh schema of its own on the server that VERDELL_TEST_PG names
// (postgresql://user@host:port/database), dropped again at the end; with no server named, the
// program ends at once as skipped (exit status 77).
class TestEnv {
public:
    TestEnv();
    ~TestEnv();

    QString root() const { return dir_.path(); }
    QString home() const { return root() + QStringLiteral("/home"); }
    // The roots standing for drives D and E, and the program's installation folder.
    QString driveD() const { return root() + QStringLiteral("/media/D"); }
    QString driveE() const { return root() + QStringLiteral("/media/E"); }
    QString installFolder() const { return root() + QStringLiteral("/install"); }
    QString dataFolder() const { return home() + QStringLiteral("/Verdell Std"); }

    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    FixedClock clock;
    FixedScreenMetrics screen;
    FixedDriveRoots roots;
    FixedLocale locale;
    RecordingFolderSharing sharing;

    AppState& app() { return *app_; }
    // A fresh application state on the same doubles (a second start of the program).
    AppState& restart();

    QString settingsFile() const;
    // Makes the settings file with the given values.
    void createSettings(const QMap<QString, QString>& values = {});
    // The value the settings store holds (not one held for this run only).
    QString setting(const QString& name);

    // A complete new database at the given place (copied from one made once per run).
    QString makeDatabase(const QString& file);
    // A new database in the default data folder (or a new schema on the server), named in the
    // settings and opened. The file's name, or an empty text on the server.
    QString openNewDatabase();
    // The connection string of the database openNewDatabase() made, for a second connection.
    QString connectionString() const { return connectionString_; }

    // True when this run's databases are on the server.
    static bool onServer();
    // The server this run uses (only when onServer()).
    static ServerAddress testServer();
    // Makes the database refuse every new row of the table with the message, as a full disk
    // would, until allowInserts().
    static bool refuseInserts(Database& db, const QString& table, const QString& message) {
        return refuse(db, QStringLiteral("INSERT"), table, message);
    }
    static bool allowInserts(Database& db, const QString& table) { return allow(db, table); }
    // The same for the event (INSERT or UPDATE) given, on either engine.
    static bool refuse(Database& db, const QString& event, const QString& table,
                       const QString& message);
    static bool allow(Database& db, const QString& table);
    // Adds a row as the program writes one: the texts with their folded copies and sort keys.
    static bool addRow(Database& db, const QString& table, const QVariantMap& values);
    // Creates a file with the given contents, making its folder.
    static void writeFile(const QString& file, const QByteArray& contents);
    // The file's bytes; a null array when it cannot be read.
    static QByteArray readFile(const QString& file);

private:
    QTemporaryDir dir_;
    QByteArray oldHome_, oldConfig_;
    std::unique_ptr<AppState> app_;
    QString connectionString_;
    QString serverSchema_;
};
