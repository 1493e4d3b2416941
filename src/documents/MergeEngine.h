#pragma once

#include "records/JobFields.h"

#include <QSet>
#include <QString>
#include <functional>

class AppState;
class LegacyTemplate;
struct OfficeError;

// What the caller of a merge does once the document is written whole, before it takes its name:
// `record` it (false abandons the document, the caller having told the user why), and `undo`
// that when the document then cannot take its name.
struct DocumentRecord {
    std::function<bool()> record;
    std::function<void()> undo;
};

// Makes a job's document: a new document from the template with every merge token replaced by
// the job's values as the screen shows them, saved in the documents folder and then shown (or
// printed, when "Just Print." is set). The document is written whole under a temporary name and
// only then given its own, never over an existing file. Failures are reported to the user as they
// happen; the document's path is given when it was saved (even when no program would then show
// or print it), an empty text otherwise.
QString CreateDocument(AppState& app, const QString& fileName, const QString& templateName,
                       const JobFields& job, const DocumentRecord& recorder = {});

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
