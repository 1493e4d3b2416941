#pragma once

#include <QWidget>

class AppState;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The "Maintenance" tab: captions made visible again, and the import of an older database.
class MaintenanceTab : public QWidget {
    Q_OBJECT
public:
    explicit MaintenanceTab(AppState& app, QWidget* parent = nullptr);

    void cmdResetLabels_Click();
    void cmdGetPath_Click();
    void cmdUpdate_Click();
    // Imports the older database named in txtOldDataPath, showing each step.
    void UpdateDatabase();

private:
    AppState& app_;

    QPushButton* cmdResetLabels;
    QLabel* Label10;
    QGroupBox* SSFrame4;
    QLineEdit* txtOldDataPath;
    QPushButton* cmdGetPath;
    QPushButton* cmdUpdate;
    QProgressBar* pbStatus;
    QLabel* labStatus;
};
