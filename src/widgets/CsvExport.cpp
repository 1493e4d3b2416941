#include "widgets/CsvExport.h"

#include "db/RowsModel.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "widgets/Controls.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace csvexport {

QPushButton* makeButton(QWidget* parent, const QString& text) {
    return ::makeButton(parent, "cmdExportCsv", text,
                        QStringLiteral("Save every row of the list in a file that spreadsheet "
                                       "programs open"));
}

QString askFile(AppState& app, const QString& suggestedName) {
    QString file =
        app.prompter.saveFile(QStringLiteral("Export to CSV"), QDir::home().filePath(suggestedName),
                              QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty()) {
        file += QStringLiteral(".csv");
    }
    return file;
}

QList<resultexport::Column> shownColumns(const QTableView& grid, const RowsModel& model,
                                         const QList<resultexport::Column>& kinds) {
    QList<resultexport::Column> shown;
    const QHeaderView& header = *grid.horizontalHeader();
    for (int visual = 0; visual < header.count(); ++visual) {
        const int c = header.logicalIndex(visual);
        if (c < 0 || c >= model.columns().size() || grid.isColumnHidden(c) ||
            model.columns()[c].widthTwips == 0) {
            continue;
        }
        const RowsModel::Column& column = model.columns()[c];
        resultexport::Column out{column.header, column.field, csv::Kind::Text};
        for (const resultexport::Column& kind : kinds) {
            if (kind.field.compare(column.field, Qt::CaseInsensitive) == 0) {
                out.kind = kind.kind;
            }
        }
        shown << out;
    }
    return shown;
}

bool run(AppState& app, const QString& title, const std::function<resultexport::Outcome()>& write) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const resultexport::Outcome outcome = write();
    QApplication::restoreOverrideCursor();
    if (!outcome.ok) {
        app.prompter.message(outcome.error, title, Prompter::Buttons::Ok, Prompter::Icon::Critical);
    }
    return outcome.ok;
}

void askAndExport(AppState& app, const QString& suggestedName,
                  const std::function<void(const QString&)>& exportCsv) {
    const QString file = askFile(app, suggestedName);
    if (!file.isEmpty()) {
        exportCsv(file);
    }
}

}  // namespace csvexport
