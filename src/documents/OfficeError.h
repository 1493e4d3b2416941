#pragma once

#include <QString>

// A failure of the document component, as the classic run-time error number the callers report
// ("Error number 53: ...") and a sentence a user can read.
//
//   53    file not found
//   70    permission denied
//   75    path/file access error: the file cannot be written, a folder is missing or is a file
//   58    file already exists: a new document is never written over an existing file
//   61    disk full
//   321   invalid file format: not a zip package, no document part, XML that is not well formed,
//         not this kind of document
//   7     out of memory: the package would be too large once unpacked
//   429   cannot create object: LibreOffice, which converts old binary templates, is missing
//   1004  a cell address that cannot be read
//   5941  the requested member of the collection does not exist: no such bookmark, or it is
//         not in a table cell; no table cell is selected
struct OfficeError {
    int number = 0;       // 0: no error
    QString description;  // a sentence a user can read

    explicit operator bool() const { return number != 0; }
};

namespace office_errors {
constexpr int OutOfMemory = 7;
constexpr int FileNotFound = 53;
constexpr int FileAlreadyExists = 58;
constexpr int DiskFull = 61;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccess = 75;
constexpr int InvalidFileFormat = 321;
constexpr int CannotCreateObject = 429;
constexpr int BadCellAddress = 1004;
constexpr int NoSuchMember = 5941;
}  // namespace office_errors
