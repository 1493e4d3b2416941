#pragma once

#include "db/ResultExport.h"

#include <QList>
#include <QString>
#include <functional>

class AppState;
class QPushButton;
class QTableView;
class QWidget;
class RowsModel;

// "Export to CSV..." on the screens that list results: the button, the question for the file,
// and the message when the file could not be written.
namespace csvexport {

// The button, named cmdExportCsv, with the accelerator given in text.
QPushButton* makeButton(QWidget* parent, const QString& text = QStringLiteral("E&xport to CSV..."));

// Asks for the file (a .csv added to a name without one); empty when the user cancelled.
QString askFile(AppState& app, const QString& suggestedName);

// The columns the grid shows, in the order it shows them, headed as it heads them; each of the
// given kind when kinds names its field, otherwise text.
QList<resultexport::Column> shownColumns(const QTableView& grid, const RowsModel& model,
                                         const QList<resultexport::Column>& kinds = {});

// Writes the file with a busy cursor and tells the user when it could not be written; true when
// it was.
bool run(AppState& app, const QString& title, const std::function<resultexport::Outcome()>& write);

// What a screen's button does: asks for the file, then hands it to exportCsv.
void askAndExport(AppState& app, const QString& suggestedName,
                  const std::function<void(const QString&)>& exportCsv);

}  // namespace csvexport
