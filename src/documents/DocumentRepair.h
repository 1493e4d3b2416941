#pragma once

#include <QStringList>

class AppState;

// What an interrupted making of documents leaves in the documents folder, put right at the next
// start. A document's number is taken, its file written whole under a temporary name and its row
// recorded in one transaction, and the file is given its name after the commit: a temporary file
// whose document was recorded is whole and is given its name; one whose document was not recorded
// may be cut short, and its number was not taken, so it is removed. A file still being written elsewhere (another
// workstation on the same folder) is left alone. Gives one sentence for each file put right.
QStringList repairInterruptedDocuments(AppState& app);

// The same at the program's start, telling the user what was put right.
void repairDocumentsAtStart(AppState& app);

