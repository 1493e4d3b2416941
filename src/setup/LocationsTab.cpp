#include "setup/LocationsTab.h"

#include "startup/AppState.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

LocationsTab::LocationsTab(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("LocationsTab"));
    auto* layout = new QVBoxLayout(this);
    auto add = [&](const char* name, const QString& label) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        layout->addWidget(new QLabel(label, this));
        layout->addWidget(edit);
        layout->addSpacing(8);
        return edit;
    };
    txtDBLocation = add("txtDBLocation", QStringLiteral("The main database is located in:-"));
    txtDBName = add("txtDBName", QStringLiteral("The database file name is:-"));
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
    txtDBLocation->setText(s.GetValue(QStringLiteral("datapath")));
    txtDBName->setText(s.GetValue(QStringLiteral("dataname")));
    txtDocLocation->setText(s.GetValue(QStringLiteral("DocPath")));
    txtTemplateLocation->setText(s.GetValue(QStringLiteral("TemplatePath")));
    txtScanLocation->setText(s.GetValue(QStringLiteral("ScanLocation")));
}
