#pragma once

#include <QDialog>

class AppState;
class CountersTab;
class LocationsTab;
class MaintenanceTab;
class NetworkTab;
class QTabWidget;
class TemplatesTab;

// The setup screen: network preparation, counters and options, templates, file locations and
// maintenance, in five tabs.
class frmSetup : public QDialog {
    Q_OBJECT
public:
    explicit frmSetup(AppState& app, QWidget* parent = nullptr);

    void Form_Load();

    QTabWidget* SSTab1;
    NetworkTab* network;
    CountersTab* counters;
    TemplatesTab* templates;
    LocationsTab* locations;
    MaintenanceTab* maintenance;

protected:
    void done(int result) override;

private:
    AppState& app_;
};
