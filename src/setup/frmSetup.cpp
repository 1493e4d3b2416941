#include "setup/frmSetup.h"

#include "documents/TemplatesTab.h"
#include "startup/AppState.h"
#include "startup/CentreForm.h"
#include "startup/Options.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

frmSetup::frmSetup(AppState& app, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Verdell Standard [Setup]"));
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    templates = new TemplatesTab(app, SSTab1);
    SSTab1->addTab(templates, QStringLiteral("Documents && Templates"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addWidget(buttons);
    resize(760, 600);
}

void frmSetup::Form_Load() {
    CentreForm(this, app_.screen);
    templates->showOptions();
}

void frmSetup::done(int result) {
    // Options changed here take effect for the rest of the program at once.
    LoadOptions(app_);
    QDialog::done(result);
}
