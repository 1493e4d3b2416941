#include "setup/NetworkTab.h"

#include "platform/Controls.h"
#include "platform/Prompter.h"
#include "setup/NetworkSetup.h"
#include "startup/AppState.h"
#include "startup/ServerAddress.h"
#include "startup/SharedRoutines.h"
#include "startup/TReg.h"

#include <QApplication>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
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
    optServer[2] = new QRadioButton(QStringLiteral("This computer uses a database server"), this);
    for (size_t i = 0; i < optServer.size(); ++i) {
        optServer[i]->setObjectName(QStringLiteral("optServer_%1").arg(i));
    }
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

    fraDbServer = new QGroupBox(QStringLiteral("Database Server"), this);
    fraDbServer->setObjectName(QStringLiteral("fraDbServer"));
    txtDbHost = box("txtDbHost");
    txtDbPort = box("txtDbPort");
    txtDbPort->setValidator(new QIntValidator(1, 65535, txtDbPort));
    txtDbPort->setText(QStringLiteral("5432"));
    txtDbName = box("txtDbName");
    txtDbUser = box("txtDbUser");
    cmdTestConnection =
        makeButton(fraDbServer, "cmdTestConnection", QStringLiteral("&Test Connection"));
    auto* address = new QHBoxLayout;
    address->addWidget(txtDbHost, 1);
    address->addWidget(new QLabel(QStringLiteral("Port")));
    address->addWidget(txtDbPort);
    txtDbPort->setMaximumWidth(txtDbPort->fontMetrics().horizontalAdvance(u'0') * 8 + 16);
    auto* account = new QHBoxLayout;
    account->addWidget(txtDbName, 1);
    account->addWidget(new QLabel(QStringLiteral("User")));
    account->addWidget(txtDbUser, 1);
    account->addWidget(cmdTestConnection);
    auto* dbServerLayout = new QFormLayout(fraDbServer);
    dbServerLayout->addRow(explanation(QStringLiteral(
        "If the database is kept on a PostgreSQL server, give the server's name and port, the "
        "database and your user name on the server. The password is never stored by Verdell: "
        "the server's client library reads it from the file .pgpass in your home folder "
        "(~/.pgpass, readable only by you), one line a database in the form "
        "host:port:database:user:password, for example "
        "officeserver:5432:verdell:anne:secret")));
    dbServerLayout->addRow(QStringLiteral("Server"), address);
    dbServerLayout->addRow(QStringLiteral("Database"), account);

    cmdApply = makeButton(this, "cmdApply", QStringLiteral("&Apply"));
    cmdOK = makeButton(this, "cmdOK", QStringLiteral("OK"));
    cmdCancel = makeButton(this, "cmdCancel", QStringLiteral("&Cancel"));
    auto* roles = new QHBoxLayout;
    roles->addWidget(optServer[0]);
    roles->addWidget(optServer[1]);
    roles->addWidget(optServer[2]);
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
    layout->addWidget(fraDbServer);
    layout->addStretch();
    layout->addLayout(buttons);

    for (QRadioButton* option : optServer) {
        connect(option, &QRadioButton::clicked, this, &NetworkTab::ProcessPanel);
    }
    connect(cmdPrepare, &QPushButton::clicked, this, &NetworkTab::cmdPrepare_Click);
    connect(cmdManual, &QPushButton::clicked, this, &NetworkTab::cmdManual_Click);
    connect(cmdLocate, &QPushButton::clicked, this, &NetworkTab::cmdLocate_Click);
    connect(cmdTestConnection, &QPushButton::clicked, this, &NetworkTab::cmdTestConnection_Click);
    connect(cmdApply, &QPushButton::clicked, this, &NetworkTab::cmdApply_Click);
    connect(cmdOK, &QPushButton::clicked, this, &NetworkTab::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, &screen_, &QDialog::reject);
}

void NetworkTab::ProcessPanel() {
    const bool server = optServer[0]->isChecked();
    const bool client = optServer[1]->isChecked();
    const bool dbServer = optServer[2]->isChecked();
    fraServer->setEnabled(server);
    cmdPrepare->setEnabled(server);
    cmdManual->setEnabled(server);
    fraClient->setEnabled(client);
    cmdLocate->setEnabled(client);
    fraDbServer->setEnabled(dbServer);
    cmdTestConnection->setEnabled(dbServer);
}

void NetworkTab::fillFromSettings() {
    if (txtLocate->text().isEmpty()) {
        txtLocate->setText(app_.AppSettings.GetValue(QStringLiteral("DataPath")));
    }
    if (txtDataBase->text().isEmpty()) {
        txtDataBase->setText(app_.AppSettings.GetValue(QStringLiteral("DataName")));
    }
    if (const auto server = ServerAddress::fromSettings(app_.AppSettings)) {
        optServer[2]->setChecked(true);
        txtDbHost->setText(server->host);
        txtDbPort->setText(QString::number(server->port));
        txtDbName->setText(server->database);
        txtDbUser->setText(server->user);
        ProcessPanel();
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

std::optional<ServerAddress> NetworkTab::serverFromBoxes(const QString& title) {
    ServerAddress server;
    // A schema named in the settings (the tab does not show it) stays with the server.
    if (const auto stored = ServerAddress::fromSettings(app_.AppSettings)) {
        server.schema = stored->schema;
    }
    server.host = txtDbHost->text().trimmed();
    server.database = txtDbName->text().trimmed();
    server.user = txtDbUser->text().trimmed();
    bool portOk = false;
    server.port = txtDbPort->text().trimmed().toInt(&portOk);
    QString missing;
    if (server.host.isEmpty()) {
        missing = QStringLiteral("Please enter the name or address of the database server.");
    } else if (!portOk || server.port < 1 || server.port > 65535) {
        missing = QStringLiteral("Please enter the server's port, a number from 1 to 65535 "
                                 "(PostgreSQL normally uses 5432).");
    } else if (server.database.isEmpty()) {
        missing = QStringLiteral("Please enter the name of the database on the server.");
    }
    if (!missing.isEmpty()) {
        app_.prompter.message(missing, title, Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return std::nullopt;
    }
    return server;
}

void NetworkTab::cmdTestConnection_Click() {
    const QString title = QStringLiteral("Test Connection");
    const auto server = serverFromBoxes(title);
    if (!server) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString reason =
        testServerConnection(server->host, server->port, server->database, server->user);
    QApplication::restoreOverrideCursor();
    if (reason.isEmpty()) {
        app_.prompter.message(QStringLiteral("The connection to the database '%1' on %2:%3 "
                                             "succeeded.")
                                  .arg(server->database, server->host)
                                  .arg(server->port),
                              title, Prompter::Buttons::Ok, Prompter::Icon::Information);
    } else {
        // The reason names the server and the database, in the client library's own words.
        app_.prompter.message(reason, title, Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
    }
}

bool NetworkTab::cmdApply_Click() {
    if (optServer[2]->isChecked()) {
        const auto server = serverFromBoxes(QStringLiteral("Database Server"));
        if (!server) {
            return false;
        }
        ServerAddress::store(app_.AppSettings, server);
    } else {
        ServerAddress::store(app_.AppSettings, std::nullopt);
        if (optServer[0]->isChecked()) {
            network::applyServer(app_.AppSettings, txtPath->text(), txtManual->text());
        } else {
            network::applyClient(app_.AppSettings, txtLocate->text(), txtDataBase->text());
        }
    }
    QApplication::beep();
    return true;
}

void NetworkTab::cmdOK_Click() {
    if (cmdApply_Click()) {
        screen_.accept();
    }
}
