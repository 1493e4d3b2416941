#pragma once

#include <QObject>
#include <QString>

class AppState;

// What the start-up sequence needs from the screens, and what it tells them.
class StartupUi : public QObject {
    Q_OBJECT
public:
    virtual void showMainWindow() = 0;
    // The hourglass pointer while the last step runs.
    virtual void setBusy(bool busy) = 0;

Q_SIGNALS:
    // Start-up's last step is done (StartupComplete is set).
    void finished();
};

// The start-up sequence, run once per process: screen check, settings, first-run defaults, the
// data folder, the connection, the schema, captions, options, the date format, the main window
// and the template folder, in that order.
void Main(AppState& app, StartupUi& ui);
// What start-up reads from the open database: the schema brought up to date, the captions, the
// option flags and the date format.
void LoadFromDatabase(AppState& app);
// Builds the text index of the open database again, after a search found it damaged, showing
// its progress; says so when it cannot.
void RebuildSearchIndex(AppState& app);
// The program's start: the installer's step for a first start (its problems told), the database
// named on the command line held for this run (when one is), then Main. False when the named
// database does not exist (the user has been told).
bool StartProgram(AppState& app, StartupUi& ui, const QString& databaseForThisRun = {});

// The two warnings shown when the screen is narrower than the minimum width.
void CheckScreenResolution(AppState& app, int minimumWidth);
// Writes the settings a first start needs, when FirstRun is exactly "1".
void WriteFirstRunDefaults(AppState& app);
void LoadTemplateFolder(AppState& app, StartupUi& ui);
