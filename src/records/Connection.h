#pragma once

#include <QList>
#include <QString>

class AppState;

// Finding the database file and opening the shared connection on it.

// True when the file can be opened for reading. With bErr, a missing file or folder is
// explained to the user. With honourLogDebug (the shared check, not the locator's own), the
// setting logdebug = "1" adds diagnostic messages. sFileName may be a stored path.
bool DoesFileExist(AppState& app, const QString& sFileName, bool bErr, bool honourLogDebug = true);

// Start-up's check of the data folder: when the file is in sPath, the documents, images and
// templates folders are rebuilt below it; otherwise the same folder is looked for under each
// drive root in order and, where found, the settings are pointed at it. Gives the DataPath
// setting afterwards.
QString LocateDataFolder(AppState& app, const QString& sPath, const QString& sFileName);

// Opens the database the settings name, replacing the shared connection. On failure it tells
// the user why and shows the database locator. True when the connection is open afterwards.
bool OpenDatabase(AppState& app);

// Why the settings cannot lead to an embedded database (the file cannot be read, is not a
// settings file, or names no datapath or dataname), for the user; an empty text otherwise.
QString settingsProblem(AppState& app);
void CloseDatabase(AppState& app);

// The locator's writer of the database's place.
void SetDBReg(AppState& app, const QString& sPath, const QString& sFileName);

// The places the locator's automatic search tries, in order.
struct DatabaseCandidate {
    QString folder;
    QString file;
};
const QList<DatabaseCandidate>& databaseCandidates();
