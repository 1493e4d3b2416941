#include "setup/NetworkTab.h"

#include "platform/Controls.h"
#include "platform/Prompter.h"
#include "setup/NetworkSetup.h"
#include "startup/AppState.h"
#include "startup/SharedRoutines.h"

#include <QApplication>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLabel* explanation(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

QLineEdit* box(const char* name, bool readOnly = false) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(readOnly);
    return edit;
}

}  // namespace

NetworkTab::NetworkTab(AppState& app, QDialog& screen, QWidget* parent)
    : QWidget(parent), app_(app), screen_(screen) {
    setObjectName(QStringLiteral("NetworkTab"));
    optServer[0] = new QRadioButton(QStringLiteral("The computer is the server"), this);
    optServer[1] = new QRadioButton(QStringLiteral("The computer is a client"), this);
    optServer[0]->setObjectName(QStringLiteral("optServer_0"));
    optServer[1]->setObjectName(QStringLiteral("optServer_1"));
    optServer[0]->setChecked(true);

    fraServer = new QGroupBox(QStringLiteral("Server"), this);
    fraServer->setObjectName(QStringLiteral("fraServer"));
    cmdPrepare = makeButton(fraServer, "cmdPrepare", QStringLiteral("Prepare"));
    cmdManual = makeButton(fraServer, "cmdManual", QStringLiteral("Manual"));
    txtPath = box("txtPath", true);
    txtManual = box("txtManual", true);
    auto* serverLayout = new QFormLayout(fraServer);
    serverLayout->addRow(explanation(QStringLiteral(
        "If you would like Verdell to set up networking automatically click the Prepare button "
        "below.")));
    serverLayout->addRow(cmdPrepare, txtPath);
    serverLayout->addRow(explanation(QStringLiteral(
        "If you you are a network administrator and would like to manually specify a shared "
        "folder click the Manual button below.")));
    serverLayout->addRow(cmdManual, txtManual);

    fraClient = new QGroupBox(QStringLiteral("Client"), this);
    fraClient->setObjectName(QStringLiteral("fraClient"));
    cmdLocate = makeButton(fraClient, "cmdLocate", QStringLiteral("Locate"));
    txtLocate = box("txtLocate");
    txtDataBase = box("txtDataBase");
    auto* clientLayout = new QFormLayout(fraClient);
    clientLayout->addRow(explanation(QStringLiteral(
        "If this computer is a client, click the browse button and locate the shared folder on "
        "the server.")));
    clientLayout->addRow(cmdLocate, txtLocate);
    clientLayout->addRow(QStringLiteral("Database Name."), txtDataBase);

    cmdApply = makeButton(this, "cmdApply", QStringLiteral("&Apply"));
    cmdOK = makeButton(this, "cmdOK", QStringLiteral("OK"));
    cmdCancel = makeButton(this, "cmdCancel", QStringLiteral("&Cancel"));
    auto* roles = new QHBoxLayout;
    roles->addWidget(optServer[0]);
    roles->addWidget(optServer[1]);
    roles->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdApply);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(roles);
    layout->addWidget(fraServer);
    layout->addWidget(fraClient);
    layout->addStretch();
    layout->addLayout(buttons);

    for (QRadioButton* option : optServer) {
        connect(option, &QRadioButton::clicked, this, &NetworkTab::ProcessPanel);
    }
    connect(cmdPrepare, &QPushButton::clicked, this, &NetworkTab::cmdPrepare_Click);
    connect(cmdManual, &QPushButton::clicked, this, &NetworkTab::cmdManual_Click);
    connect(cmdLocate, &QPushButton::clicked, this, &NetworkTab::cmdLocate_Click);
    connect(cmdApply, &QPushButton::clicked, this, &NetworkTab::cmdApply_Click);
    connect(cmdOK, &QPushButton::clicked, this, &NetworkTab::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, &screen_, &QDialog::reject);
}

void NetworkTab::ProcessPanel() {
    const bool server = optServer[0]->isChecked();
    fraServer->setEnabled(server);
    cmdPrepare->setEnabled(server);
    cmdManual->setEnabled(server);
    fraClient->setEnabled(!server);
    cmdLocate->setEnabled(!server);
}

void NetworkTab::fillFromSettings() {
    if (txtLocate->text().isEmpty()) {
        txtLocate->setText(app_.AppSettings.GetValue(QStringLiteral("DataPath")));
    }
    if (txtDataBase->text().isEmpty()) {
        txtDataBase->setText(app_.AppSettings.GetValue(QStringLiteral("DataName")));
    }
}

void NetworkTab::cmdPrepare_Click() {
    const QString folder = network::Prepare(app_);
    if (!folder.isEmpty()) {
        txtPath->setText(folder);
        screen_.accept();
    }
}

void NetworkTab::cmdManual_Click() {
    const QString file = app_.prompter.openFile(QStringLiteral("Manual"), {},
                                                QStringLiteral("MS Database (*.mdb)"));
    if (!file.isEmpty()) {
        txtManual->setText(file);
        txtManual->setToolTip(file);
    }
}

void NetworkTab::cmdLocate_Click() {
    const QString file = app_.prompter.openFile(
        QStringLiteral("Locate"), {},
        QStringLiteral("MS Database (*.mdb);;Verdell (*.cvn);;All Files (*)"));
    if (file.isEmpty()) {
        return;
    }
    txtLocate->setText(FolderOf(file));
    txtDataBase->setText(FileNameOf(file));
    txtLocate->setToolTip(FileNameOf(file));
}

void NetworkTab::cmdApply_Click() {
    if (optServer[0]->isChecked()) {
        network::applyServer(app_.AppSettings, txtPath->text(), txtManual->text());
    } else {
        network::applyClient(app_.AppSettings, txtLocate->text(), txtDataBase->text());
    }
    QApplication::beep();
}

void NetworkTab::cmdOK_Click() {
    cmdApply_Click();
    screen_.accept();
}
