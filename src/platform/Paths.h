#pragma once

#include <QString>

class DriveRoots;

// Paths as the settings hold them may be written the old way, with backslashes, drive letters
// and folders "at the root of the current drive" ("\Verdell Std"), or as host paths. These
// helpers turn them into host paths and take them apart again.
namespace paths {

// A path that begins with two separators names a folder on another computer.
bool isNetworkPath(const QString& path);

// The host path a stored path stands for:
//   "\name\..."                   the folder under the home folder (the current drive's root)
//   "c:\name", "d:\name", ...     the folder under the first, second, ... root
//   "\program files\verdell\..."  (with or without a drive) the program's installation folder
//   "\\server\share\..."          kept as a network path, with forward slashes
//   anything else                 unchanged apart from the separators
QString toHost(const QString& stored, const DriveRoots& roots);

// A host path split into the root it lies under (its index in roots(), -1 for none) and the
// rest, without a leading separator. A path under no root keeps all of itself as the rest.
struct Rooted {
    int root = -1;
    QString rest;
};
Rooted splitRoot(const QString& hostPath, const DriveRoots& roots);

// folder + separator + name, using the separator the folder is written with.
QString join(const QString& folder, const QString& name);

// One of the program's own files or folders (the sample templates, the artwork, the help page)
// as installed with it: share/verdell beside the folder of its executable, as in /usr/bin and
// /usr/share/verdell. Where that is missing, the copy built into the program (":/" + relative).
QString sharedFile(const DriveRoots& roots, const QString& relative);

}  // namespace paths
