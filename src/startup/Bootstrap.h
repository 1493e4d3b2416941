#pragma once

#include <QStringList>

class AppState;

// Does what an installer does before the first start: makes the settings file with
// FirstRun = "1" when there is none, and the data folder "Verdell Std" in the home folder with
// a new database, Docs, Templates (with the sample templates) and Images when there is none.
// Never overwrites anything. Gives a message for each thing it could not make.
QStringList installIfNeeded(AppState& app);

// The data folder a new installation gets.
QString defaultDataFolder(const AppState& app);
