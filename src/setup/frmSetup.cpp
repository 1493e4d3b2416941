#include "setup/frmSetup.h"

#include "documents/TemplatesTab.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/Options.h"
#include "setup/CountersTab.h"
#include "setup/LocationsTab.h"
#include "setup/MaintenanceTab.h"
#include "setup/NetworkTab.h"
#include "widgets/CentreForm.h"

#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

frmSetup::frmSetup(AppState& app, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Verdell Standard [Setup]"));
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    network = new NetworkTab(app, SSTab1);
    templates = new TemplatesTab(app, SSTab1);
    counters = new CountersTab(app, SSTab1);
    connect(counters, &CountersTab::optionsLoaded, templates, &TemplatesTab::showOptions);
    locations = new LocationsTab(app, SSTab1);
    maintenance = new MaintenanceTab(app, SSTab1);
    SSTab1->addTab(network, QStringLiteral("Network Configuration"));
    SSTab1->addTab(counters, QStringLiteral("Counters / Data Entry"));
    SSTab1->addTab(templates, QStringLiteral("Documents && Templates"));
    SSTab1->addTab(locations, QStringLiteral("File Locations"));
    SSTab1->addTab(maintenance, QStringLiteral("Maintenance"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    resize(780, 600);

    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int index) {
        if (SSTab1->widget(index) == locations) {
            locations->refresh();
        }
    });
    auto ok = [this] {
        if (applyAll()) {
            accept();
        }
    };
    for (SetupTab* tab : editingTabs()) {
        connect(tab, &SetupTab::applyClicked, this, &frmSetup::applyAll);
        connect(tab, &SetupTab::okClicked, this, ok);
        connect(tab, &SetupTab::cancelClicked, this, &frmSetup::reject);
    }
}

QList<SetupTab*> frmSetup::editingTabs() const { return {network, counters}; }

void frmSetup::showNetworkTab() { SSTab1->setCurrentWidget(network); }

bool frmSetup::hasChanges() const {
    const auto tabs = editingTabs();
    return std::any_of(tabs.begin(), tabs.end(), [](SetupTab* tab) { return tab->hasChanges(); });
}

bool frmSetup::applyAll() {
    for (SetupTab* tab : editingTabs()) {
        if (tab->hasChanges() && !tab->applyChanges()) {
            SSTab1->setCurrentWidget(tab);
            return false;
        }
    }
    return true;
}

void frmSetup::reject() {
    if (hasChanges() &&
        app_.prompter.message(QStringLiteral("You have changed settings that are not saved yet. "
                                             "Close Setup and discard them?"),
                              QStringLiteral("Discard Changes"), Prompter::Buttons::YesNo,
                              Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return;
    }
    QDialog::reject();
}

void frmSetup::Form_Load() {
    network->ProcessPanel();
    if (app_.DbConnection.isOpen()) {
        counters->LoadCounters();
    }
    counters->LoadDateFormats();
    network->fillFromSettings();
    locations->refresh();
    CentreForm(this, app_.screen);
}

void frmSetup::done(int result) {
    // Options saved here take effect for the rest of the program at once.
    LoadOptions(app_);
    templates->showOptions();
    QDialog::done(result);
}
