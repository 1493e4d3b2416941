#pragma once

#include <QString>

class AppState;

// A database named on the command line (what a double-click in the file manager hands over):
// it stands in for the one the settings name for this run only, until the user makes it the
// default on the setup screen. Everything that reads the database's place from the settings
// (opening, backup, network preparation) sees this file meanwhile.

// Holds the file for this run; false, after telling the user, when there is no such file.
bool useDatabaseForThisRun(AppState& app, const QString& file);

// The file held for this run, or an empty text when the run uses the settings' database.
QString databaseForThisRun(AppState& app);

// Stores the held database as the one every start opens; false after telling the user why not.
bool makeRunDatabaseTheDefault(AppState& app);
