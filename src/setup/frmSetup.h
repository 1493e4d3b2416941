#pragma once

#include <QDialog>

class AppState;
class CountersTab;
class LocationsTab;
class MaintenanceTab;
class NetworkTab;
class QTabWidget;
class SetupTab;
class TemplatesTab;

// The setup screen: network preparation, counters and options, templates, file locations and
// maintenance, in five tabs. OK or Apply on any tab stores the changes of every tab, each by its
// own rules; Cancel asks before it discards changes.
class frmSetup : public QDialog {
    Q_OBJECT
public:
    explicit frmSetup(AppState& app, QWidget* parent = nullptr);

    void Form_Load();
    // Stores every tab's changes; false, showing the tab that refused, when one could not.
    bool applyAll();
    bool hasChanges() const;
    // Brings the network tab to the front, where the screen opens when the database server
    // cannot be reached.
    void showNetworkTab();

    void reject() override;

protected:
    void done(int result) override;

private:
    // The tabs whose changes OK and Apply store.
    QList<SetupTab*> editingTabs() const;

    AppState& app_;
    QTabWidget* SSTab1;
    NetworkTab* network;
    CountersTab* counters;
    TemplatesTab* templates;
    LocationsTab* locations;
    MaintenanceTab* maintenance;
};
