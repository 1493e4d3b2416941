#pragma once

#include "db/LabelTexts.h"
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

// Finds a job by any text it holds, opened modally from the job screen. Load Job closes it with
// the chosen job's number.
class frmSearchJobs : public QDialog {
    Q_OBJECT
public:
    // Asks the user for a job, starting from the text searchText in the search box and offering
    // the job statuses to filter by: the number of the job loaded, or nothing when the screen
    // closes without one.
    static std::optional<qint32> pick(AppState& app, const std::array<QString, 36>& jobCaptions,
                                      const QString& searchText, const QStringList& statuses,
                                      QWidget* parent = nullptr);

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
    // The job Load Job took; nothing before, or when no row was chosen.
    std::optional<qint32> chosenJob() const { return chosen_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Searches again, as last asked, when another workstation changed the jobs, keeping the
    // chosen job chosen.
    void followChanges(const QStringList& tables);
    void showRows(Rows rows);
    QString caption(Caption which) const;

    struct Asked {
        QString text, status, orderField;
    };
    QLineEdit* txtSearch;
    QComboBox* cbJobStatus;
    QComboBox* cbOrderBy;
    QPushButton* cmdSearch;
    QTableView* fgSearch;
    QPushButton* cmdLoadJob;
    QLabel* labCount;

    std::optional<qint32> chosen_;
    std::optional<Asked> asked_;  // the search the grid shows
    QString fingerprint_;
    AppState& app_;
    std::array<QString, 36> captions_;
    RowsModel* model_ = nullptr;
};
