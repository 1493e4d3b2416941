#pragma once

#include <QDialog>

class AppState;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class RowsModel;

// Finds a customer, or a client when app.SearchClients is set, by any part of the name or
// address; opened modally by the address book and the estimates screen. Load Contact leaves
// the chosen row's identity in app.SearchContactID (-1 when the screen closes without one).
class frmSearch : public QDialog {
    Q_OBJECT
public:
    explicit frmSearch(AppState& app, QWidget* parent = nullptr);

    void Form_Load();
    // Empties the grid and gives it its columns.
    void ContructGrid();
    void cmdGo_Click();
    // Takes the selected row's identity and closes; on no row it stays open.
    void cmdOK_Click();

    QLineEdit* txtSearch;
    QPushButton* cmdGo;
    QTableView* fgSearch;
    QPushButton* cmdOK;
    QPushButton* SSCommand1;
    // Kept from the screen's first layout; never shown.
    QRadioButton* optSearch[2];

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppState& app_;
    RowsModel* model_ = nullptr;
};
