#pragma once

#include "db/Rows.h"

#include <QDialog>
#include <array>
#include <optional>

class AppState;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RowsModel;

// Finds a job by any text it holds, opened modally from the job screen. Load Job leaves the
// chosen job's number in app.SearchJobNo (-1 when the screen closes without one).
class frmSearchJobs : public QDialog {
    Q_OBJECT
public:
    // The captions are the job screen's current label captions; the grid's date columns and the
    // "Order By" list carry them.
    frmSearchJobs(AppState& app, const std::array<QString, 36>& jobCaptions,
                  QWidget* parent = nullptr);

    void Form_Load();
    // Empties the grid and gives it its columns.
    void ConstructSearchGrid();
    void PopualteOrderBy();
    void cmdSearch_Click();
    // Takes the selected job's number and closes.
    void cmdLoadJob_Click();

    QLineEdit* txtSearch;
    QComboBox* cbJobStatus;
    QComboBox* cbOrderBy;
    QPushButton* cmdSearch;
    QTableView* fgSearch;
    QPushButton* cmdLoadJob;
    QLabel* labCount;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Searches again, as last asked, when another workstation changed the jobs, keeping the
    // chosen job chosen.
    void followChanges(const QStringList& tables);
    void showRows(Rows rows);

    struct Asked {
        QString text, status, orderField;
    };
    std::optional<Asked> asked_;  // the search the grid shows
    QString fingerprint_;
    AppState& app_;
    std::array<QString, 36> captions_;
    RowsModel* model_ = nullptr;
};
