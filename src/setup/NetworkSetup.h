#pragma once

#include "platform/FolderSharing.h"

#include <QString>

class AppState;
class DriveRoots;
class TReg;

// Preparing this computer as the server that shares the data folder, or as a client that uses
// the database on the server.
namespace network {

inline const QString kShareName = QStringLiteral("Verdell");

// The folder the server shares: "Verdell Std" at the root of the drive the data path is on; a
// network path, or one on no known drive, gives the first drive's (the home folder).
QString shareFolderFor(const QString& datapath, const DriveRoots& roots);

// What a share with the access allows, in a sentence for the user.
QString describeAccess(const ShareAccess& access);

// Makes the shared folder, closes the database, shares the folder as "Verdell" for those the
// access names and opens the database again, telling the user the outcome. A group's share
// needs a group this computer has (kept as the setting ShareGroup); a share for everyone,
// without a password, is made only after a warning. The database itself stays where it is.
// Gives the shared folder, or an empty text when it was not shared.
QString Prepare(AppState& app, const ShareAccess& access);

// What Apply stores. A client's new folder also gives the documents and templates folders; the
// server stores its data folder, and the database's name when one was chosen by hand.
void applyClient(TReg& settings, const QString& folder, const QString& databaseName,
                 bool newFolder = true);
void applyServer(TReg& settings, const QString& folder, const QString& databaseName);

}  // namespace network
