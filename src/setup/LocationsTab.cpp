#include "setup/LocationsTab.h"

#include "records/AppState.h"
#include "records/RunDatabase.h"
#include "platform/Paths.h"

#include <QBoxLayout>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

LocationsTab::LocationsTab(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("LocationsTab"));
    auto* layout = new QVBoxLayout(this);
    auto add = [&](const char* name, const QString& label) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        // Shown on the window's colour, so that it does not look like a box to type into.
        QPalette shown = edit->palette();
        shown.setColor(QPalette::Base, shown.color(QPalette::Window));
        edit->setPalette(shown);
        layout->addWidget(new QLabel(label, this));
        layout->addWidget(edit);
        layout->addSpacing(8);
        return edit;
    };
    txtDBLocation = add("txtDBLocation", QStringLiteral("The main database is located in:-"));
    txtDBName = add("txtDBName", QStringLiteral("The database file name is:-"));
    labThisRunOnly = new QLabel(
        QStringLiteral("This database was opened for this run only. The next start opens the "
                       "usual one unless you make this one the default."),
        this);
    labThisRunOnly->setObjectName(QStringLiteral("labThisRunOnly"));
    labThisRunOnly->setWordWrap(true);
    cmdMakeDefault = new QPushButton(QStringLiteral("&Make This the Default Database"), this);
    cmdMakeDefault->setObjectName(QStringLiteral("cmdMakeDefault"));
    connect(cmdMakeDefault, &QPushButton::clicked, this, &LocationsTab::cmdMakeDefault_Click);
    auto* makeDefault = new QHBoxLayout;
    makeDefault->addWidget(labThisRunOnly, 1);
    makeDefault->addWidget(cmdMakeDefault);
    layout->addLayout(makeDefault);
    layout->addSpacing(8);
    txtDocLocation =
        add("txtDocLocation", QStringLiteral("All documents created by Verdell at located in:-"));
    txtTemplateLocation =
        add("txtTemplateLocation",
            QStringLiteral("All document templates used by Verdell are located in:-"));
    txtScanLocation = add(
        "txtScanLocation",
        QStringLiteral("All images used by the document scanning system are located in:-"));
    layout->addStretch();
}

void LocationsTab::refresh() {
    TReg& s = app_.AppSettings;
    // The folders as this computer writes them; the settings keep their own form.
    const auto folder = [this, &s](const char* key) {
        const QString stored = s.GetValue(QString::fromLatin1(key));
        return stored.isEmpty() ? stored
                                : QDir::toNativeSeparators(paths::toHost(stored, app_.roots));
    };
    txtDBLocation->setText(folder("datapath"));
    txtDBName->setText(s.GetValue(QStringLiteral("dataname")));
    txtDocLocation->setText(folder("DocPath"));
    txtTemplateLocation->setText(folder("TemplatePath"));
    txtScanLocation->setText(folder("ScanLocation"));
    const bool thisRunOnly = !databaseForThisRun(app_).isEmpty();
    labThisRunOnly->setVisible(thisRunOnly);
    cmdMakeDefault->setVisible(thisRunOnly);
}

void LocationsTab::cmdMakeDefault_Click() {
    makeRunDatabaseTheDefault(app_);
    refresh();
}
