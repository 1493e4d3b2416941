#pragma once

#include <QDialog>
#include <array>
#include <optional>

class AppState;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class Rows;
class RowsModel;
class TypingSearch;

// Finds a customer, or a client, by any part of the name or address; opened modally by the
// address book and the estimates screen. Load Contact closes it with the chosen row's identity.
class frmSearch : public QDialog {
    Q_OBJECT
public:
    frmSearch(AppState& app, bool clients, QWidget* parent = nullptr);

    // Shows the search modally: the identity of the contact the user loaded, or nothing when the
    // screen closed without one.
    static std::optional<qint32> pick(AppState& app, bool clients, QWidget* parent = nullptr);

    void Form_Load();
    // Empties the grid and gives it its columns.
    void ContructGrid();
    // Searches at once, dropping any search the typing started.
    void cmdGo_Click();
    // The search text changed: searches when the typing pauses.
    void txtSearch_Change();
    // Takes the selected row's identity and closes; on no row it stays open.
    void cmdOK_Click();

    // Asks for a file and writes the contacts found to it.
    void cmdExportCsv_Click();
    // Writes the contacts the grid lists to the file, in its columns and order; false, after
    // telling the user why, when it could not.
    bool exportCsv(const QString& file);

    // The contact loaded; nothing until Load Contact took a row.
    std::optional<qint32> chosen() const { return chosen_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showFound(Rows rows);

    QLineEdit* txtSearch;
    QPushButton* cmdGo;
    QTableView* fgSearch;
    QPushButton* cmdOK;
    QPushButton* SSCommand1;
    QPushButton* cmdExportCsv;
    // Kept from the screen's first layout; never shown.
    std::array<QRadioButton*, 2> optSearch;

    AppState& app_;
    const bool clients_;
    RowsModel* model_ = nullptr;
    TypingSearch* typing_ = nullptr;
    std::optional<qint32> chosen_;
};
