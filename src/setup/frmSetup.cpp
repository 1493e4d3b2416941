#include "setup/frmSetup.h"

#include "documents/TemplatesTab.h"
#include "setup/CountersTab.h"
#include "setup/LocationsTab.h"
#include "setup/MaintenanceTab.h"
#include "setup/NetworkTab.h"
#include "startup/AppState.h"
#include "startup/CentreForm.h"
#include "startup/Options.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

frmSetup::frmSetup(AppState& app, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Verdell Standard [Setup]"));
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    network = new NetworkTab(app, *this, SSTab1);
    templates = new TemplatesTab(app, SSTab1);
    counters = new CountersTab(app, templates->chkJustPrint, templates->chkBackgroundPrinting,
                               SSTab1);
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
    connect(counters->SSCommand3, &QPushButton::clicked, this, [this] {
        if (counters->cmdApplyCounters_Click()) {
            accept();
        }
    });
    connect(counters->SSCommand2, &QPushButton::clicked, this, &QDialog::reject);
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
