#pragma once

#include "records/JobFields.h"

#include <QSet>
#include <QString>
#include <functional>
#include <optional>

class AppState;
class LegacyTemplate;
struct OfficeError;

// A job's document merged from its template and not yet saved.
struct MergedDocument {
    bool spreadsheet = false;
    // The document's bytes as saved under its file name ("507.XLSX": a workbook shows the name's
    // number as its invoice number); empty, with the reason in `error`, when they cannot be made.
    // Called once.
    std::function<QByteArray(const QString& fileName, OfficeError& error)> save;
};

// Merges a template with the job's values as the screen shows them: every merge token is
// replaced but a workbook's invoice number, which its file name gives when it is saved. The
// documents folder is made first when it is missing. Nothing, the user told why, when the
// document cannot be merged.
std::optional<MergedDocument> mergeDocument(AppState& app, const QString& templateName,
                                            const JobFields& job);

// Shows a document just saved, or prints it when "Just Print." is set and it is not a workbook;
// tells the user when no program could be started for it.
void showNewDocument(AppState& app, const QString& path, bool spreadsheet);

// Makes a job's document under the file name: merged, saved in the documents folder and then
// shown (or printed). The document is written whole under a temporary name and only then given
// its own, never over an existing file. Failures are reported to the user as they happen; the
// document's path is given when it was saved (even when no program would then show or print
// it), an empty text otherwise.
QString CreateDocument(AppState& app, const QString& fileName, const QString& templateName,
                       const JobFields& job);

// The tokens the merge looks for in a template: those its pre-processing recorded, or all of
// them when it was never pre-processed; [JOBDETAILS] always.
QSet<QString> templateTokens(AppState& app, const QString& templateName);

// Tells the user a document step failed: the routine's name, then the error's number and
// description, each on its own line.
void reportDocumentError(AppState& app, const QString& routine, const OfficeError& error);

// The template at the path as a file our component opens: an old binary template (.dot, .xlt)
// is converted first. False, with the user told why, when it cannot be: by `report`, or as a
// failure of the named routine.
bool openableTemplate(AppState& app, const QString& path, LegacyTemplate& legacy, QString* usable,
                      const std::function<void(const OfficeError&)>& report);
bool openableTemplate(AppState& app, const QString& path, LegacyTemplate& legacy, QString* usable,
                      const QString& routine);

// Tells the user the word processor could not be reached: a legacy template could not be
// converted, or a document could not be handed to the program that shows or prints it.
void cannotReachWordProcessor(AppState& app);
// The same for a workbook and the spreadsheet program.
void cannotReachSpreadsheetProgram(AppState& app);

// The documents folder and templates folder as host paths.
QString documentsFolder(AppState& app);
QString templatesFolder(const AppState& app);
