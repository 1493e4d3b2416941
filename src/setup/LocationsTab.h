#pragma once

#include <QWidget>

class AppState;
class QLabel;
class QLineEdit;
class QPushButton;

// The "File Locations" tab: where the database, documents, templates and images are.
class LocationsTab : public QWidget {
    Q_OBJECT
public:
    explicit LocationsTab(AppState& app, QWidget* parent = nullptr);

    // Fills the boxes from the settings, each time the tab is chosen.
    void refresh();

private:
    void cmdMakeDefault_Click();

    AppState& app_;
    // Shown while the database was named on the command line for this run only.
    QLabel* labThisRunOnly;
    QPushButton* cmdMakeDefault;

    QLineEdit* txtDBLocation;
    QLineEdit* txtDBName;
    QLineEdit* txtDocLocation;
    QLineEdit* txtTemplateLocation;
    QLineEdit* txtScanLocation;
};
