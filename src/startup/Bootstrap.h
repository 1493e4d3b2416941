#pragma once

#include <QStringList>

class AppState;

// Does what an installer does before the first start: makes the settings file with
// FirstRun = "1" when there is none. On a first start (no settings file, or FirstRun "1") and
// only when no drive root holds a "Verdell Std" folder already (the home folder first, then each
// mounted volume), it makes the data folder in the home folder with a new database, Docs,
// Templates (with the sample templates) and Images. A start with settings never makes a data
// folder: the start-up sequence finds the data where it is. Never overwrites anything. Gives a
// message for each thing it could not make. The settings file is written whole and the data
// folder takes its name only when complete; what an interrupted installation left (an empty
// settings file, a data folder without its database on a first start) is completed and said.
struct Installation {
    QStringList problems;
    QStringList repaired;
};
Installation installIfNeeded(AppState& app);

// The data folder a new installation gets.
QString defaultDataFolder(const AppState& app);
// The first "Verdell Std" folder found on the drive roots, in their order, or an empty text.
QString existingDataFolder(const AppState& app);
