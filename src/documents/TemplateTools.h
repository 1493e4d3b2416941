#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class AppState;

// Looking after the templates: the list, the default, pre-processing, editing.

// The templates in a folder: word-processor ones first ("*.dot", "*.dotx"), then spreadsheets
// ("*.xlt", "*.xltx"), each group in alphabetical order without regard to case; lock files
// ("~...") left out.
QStringList availableTemplates(const QString& folder);

// Makes the named template the default (job sheet) one and says so.
bool SetDefaultTemplate(AppState& app, const QString& sFileName);

// Finds which merge tokens a word-processor template holds and records them for it, replacing
// what was recorded before; says when done. The tokens found, or nothing when the template was
// refused or could not be read (the user has been told why).
std::optional<QStringList> PreProcessTemplate(AppState& app, const QString& path);

// Opens the template file itself for editing in the user's program; says so when no program
// takes it.
void EditTemplate(AppState& app, const QString& sTemplateName);

// Opens a new document made from the template in the user's word processor, to show that the
// two work together. A template that cannot be read is told as a fault of the installation,
// followed by the notice that the program carries on.
bool OpenDocumentFromTemplate(AppState& app, const QString& sTemplateName);
