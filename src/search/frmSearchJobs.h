#pragma once

#include "db/LabelTexts.h"
#include "db/Rows.h"

#include <QDialog>
#include <array>
#include <optional>

class AppState;
class BlockRowsModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TypingSearch;

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
    // Searches at once, dropping any search the typing started.
    void cmdSearch_Click();
    // The search text, the status or the order changed: searches when the typing pauses.
    void txtSearch_Change();
    // Takes the selected job's number and closes.
    void cmdLoadJob_Click();
    // Asks for a file and writes every job the grid's search found to it.
    void cmdExportCsv_Click();
    // Writes every job the grid's search found (not only the rows the grid has read) to the
    // file, in the grid's columns and order; false, after telling the user why, when it could
    // not, or when the grid shows no search.
    bool exportCsv(const QString& file);
    // The job Load Job took; nothing before, or when no row was chosen.
    std::optional<qint32> chosenJob() const { return chosen_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Asked {
        QString text, status, orderField;
    };
    Asked askedNow() const;
    // Shows the first rows the typing's search found, of total in all.
    void showTyped(const Rows& rows);
    void countAll();
    void showCount();
    void selectFirst();
    void searchFailed(const QString& reason);
    // Searches again, as last asked, when another workstation changed the jobs, keeping the
    // chosen job chosen.
    void followChanges(const QStringList& tables);
    QString caption(Caption which) const;

    QLineEdit* txtSearch;
    QComboBox* cbJobStatus;
    QComboBox* cbOrderBy;
    QPushButton* cmdSearch;
    QTableView* fgSearch;
    QPushButton* cmdLoadJob;
    QPushButton* cmdExportCsv;
    QLabel* labCount;

    std::optional<qint32> chosen_;
    std::optional<Asked> asked_;  // the search the grid shows
    Asked typed_;                 // the search the typing started
    // The jobs as the grid's search saw them; empty when not known.
    QString fingerprint_;
    AppState& app_;
    std::array<QString, 36> captions_;
    BlockRowsModel* model_ = nullptr;
    TypingSearch* typing_ = nullptr;
};
