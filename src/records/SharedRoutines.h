#pragma once

#include "platform/FolderSharing.h"

#include <QString>
#include <QStringList>
#include <optional>

class AppState;
class CaptionSet;
class DriveRoots;

// Small routines that several screens share.

// The Jobs field a caption names: the user's captions of the created, surveyed, due, completed
// and quoted dates, the job number, status and introducer, and "Job Age" for the age; otherwise
// an empty text.
QString CaptionToField(const CaptionSet& captions, const QString& caption);

// Every file in the folder whose name matches the pattern (hidden and system files too), in the
// order the file system gives them. Names are matched without regard to case.
QStringList ListFiles(const QString& folder, const QString& pattern);

// The part of a full file name before / after its last separator ("/" or "\").
QString FolderOf(const QString& fullName);
QString FileNameOf(const QString& fullName);

// The program registered to open files with the extension, or an empty text.
QString FindBrowser(AppState& app, const QString& extension);

// Shares a folder on the network for those the access names; 0 on success.
int ShareFolder(AppState& app, const QString& serverName, const QString& shareName,
                const QString& folder, const ShareAccess& access, const QString& remark = {},
                int maxUsers = -1);

// Opens the help page on making templates in the user's browser, or says where it is when no
// program takes it.
void OpenHelpPage(AppState& app);
// The help page as a file the browser can open (a copy of the one installed with the program).
QString helpPageFile(const DriveRoots& roots);
