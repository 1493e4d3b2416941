#pragma once

#include <QDialog>

class AppState;
class QGroupBox;
class QLineEdit;
class QPushButton;

// Helps the user point the program at the database when it cannot be opened: shows where the
// settings say it is, searches the usual places, or lets the user pick the file.
class frmLocateDatabase : public QDialog {
    Q_OBJECT
public:
    explicit frmLocateDatabase(AppState& app, QWidget* parent = nullptr);

    // Fills the boxes from the settings (writing defaults for empty ones) and explains why the
    // file named there cannot be opened.
    void Form_Load();
    void cmdLocate_Click();
    void cmdAutoFind_Click();

private:
    AppState& app_;

    QGroupBox* fraDatabase;
    QLineEdit* txtDBPath;
    QLineEdit* txtDBName;
    QPushButton* cmdLocate;
    QPushButton* cmdAutoFind;
};
