#include "setup/NetworkTab.h"

#include "common/TReg.h"
#include "db/ServerAddress.h"
#include "platform/DriveRoots.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/SharedRoutines.h"
#include "setup/NetworkSetup.h"
#include "widgets/Controls.h"

#include <QApplication>
#include <QFileInfo>
#include <QCheckBox>
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

// The setting that remembers the role last applied, and its values by role.
const QString kRoleSetting = QStringLiteral("NetworkRole");
const QString kRoleNames[] = {QStringLiteral("server"), QStringLiteral("client"),
                              QStringLiteral("database server")};

QLineEdit* box(const char* name, bool readOnly = false) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(readOnly);
    return edit;
}

}  // namespace

NetworkTab::NetworkTab(AppState& app, QWidget* parent) : SetupTab(parent), app_(app) {
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
    txtShareGroup = box("txtShareGroup", false);
    chkOpenShare = new QCheckBox(
        QStringLiteral("Share with everyone on the network, without a password (not safe)"),
        fraServer);
    chkOpenShare->setObjectName(QStringLiteral("chkOpenShare"));
    labShareAccess = explanation(QString());
    labShareAccess->setObjectName(QStringLiteral("labShareAccess"));
    auto* access = new QHBoxLayout;
    access->addWidget(txtShareGroup);
    access->addWidget(chkOpenShare);
    serverLayout->addRow(QStringLiteral("Users' group:"), access);
    serverLayout->addRow(labShareAccess);
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
    connect(txtShareGroup, &QLineEdit::textChanged, this, &NetworkTab::showShareAccess);
    connect(chkOpenShare, &QCheckBox::toggled, this, &NetworkTab::showShareAccess);
    connect(cmdManual, &QPushButton::clicked, this, &NetworkTab::cmdManual_Click);
    connect(cmdLocate, &QPushButton::clicked, this, &NetworkTab::cmdLocate_Click);
    connect(cmdTestConnection, &QPushButton::clicked, this, &NetworkTab::cmdTestConnection_Click);
    connect(cmdApply, &QPushButton::clicked, this, &NetworkTab::applyClicked);
    connect(cmdOK, &QPushButton::clicked, this, &NetworkTab::okClicked);
    connect(cmdCancel, &QPushButton::clicked, this, &NetworkTab::cancelClicked);
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

NetworkTab::Role NetworkTab::storedRole() {
    const QString stored = app_.AppSettings.GetValue(kRoleSetting).trimmed();
    for (size_t i = 0; i < std::size(kRoleNames); ++i) {
        if (stored.compare(kRoleNames[i], Qt::CaseInsensitive) == 0) {
            return Role(i);
        }
    }
    if (ServerAddress::fromSettings(app_.AppSettings)) {
        return Role::DatabaseServer;
    }
    const QString folder = paths::toHost(app_.AppSettings.GetValue(QStringLiteral("datapath")),
                                         app_.roots);
    if (paths::isNetworkPath(folder) || app_.roots.isNetworkFolder(folder)) {
        return Role::Client;
    }
    return Role::Server;
}

void NetworkTab::fillFromSettings() {
    // Places are shown as this computer writes them; the settings keep their own form until the
    // user changes them.
    const QString folder = paths::toHost(app_.AppSettings.GetValue(QStringLiteral("DataPath")),
                                         app_.roots);
    txtPath->setText(folder);
    txtManual->clear();
    txtShareGroup->setText(app_.AppSettings.GetValue(QStringLiteral("ShareGroup")));
    showShareAccess();
    txtLocate->setText(folder);
    txtDataBase->setText(app_.AppSettings.GetValue(QStringLiteral("DataName")));
    if (const auto server = ServerAddress::fromSettings(app_.AppSettings)) {
        txtDbHost->setText(server->host);
        txtDbPort->setText(QString::number(server->port));
        txtDbName->setText(server->database);
        txtDbUser->setText(server->user);
    }
    optServer[size_t(storedRole())]->setChecked(true);
    ProcessPanel();
    opened_ = shown();
}

NetworkTab::Role NetworkTab::role() const {
    for (size_t i = 0; i < optServer.size(); ++i) {
        if (optServer[i]->isChecked()) {
            return Role(i);
        }
    }
    return Role::Server;
}

NetworkTab::Shown NetworkTab::shown() const {
    return Shown{role(),
                 txtPath->text().trimmed(),
                 txtManual->text().trimmed(),
                 txtLocate->text().trimmed(),
                 txtDataBase->text().trimmed(),
                 txtDbHost->text().trimmed(),
                 txtDbPort->text().trimmed(),
                 txtDbName->text().trimmed(),
                 txtDbUser->text().trimmed()};
}

bool NetworkTab::hasChanges() const { return shown() != opened_; }

ShareAccess NetworkTab::shareAccess() const {
    return {txtShareGroup->text().trimmed(), chkOpenShare->isChecked()};
}

void NetworkTab::showShareAccess() {
    txtShareGroup->setEnabled(!chkOpenShare->isChecked());
    labShareAccess->setText(network::describeAccess(shareAccess()));
}

void NetworkTab::cmdPrepare_Click() {
    const QString folder = network::Prepare(app_, shareAccess());
    if (!folder.isEmpty()) {
        // The database has not moved into the shared folder, so the data folder stays as it is:
        // the prepared folder is shown, not stored. The screen then closes as OK closes it.
        txtPath->setText(folder);
        opened_.path = folder;
        Q_EMIT okClicked();
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

bool NetworkTab::refuse(const QString& why, QWidget* focus) {
    app_.prompter.message(why, QStringLiteral("Network Configuration"), Prompter::Buttons::Ok,
                          Prompter::Icon::Exclamation);
    if (focus && focus->isEnabled()) {
        focus->setFocus();
    }
    return false;
}

bool NetworkTab::applyServerRole(const Shown& now) {
    if (!now.manual.isEmpty()) {
        // A database chosen by hand: its folder is the data folder, its name the database's.
        network::applyServer(app_.AppSettings, FolderOf(now.manual), FileNameOf(now.manual));
        return true;
    }
    if (now.path.isEmpty()) {
        return refuse(QStringLiteral("Please choose the data folder: press Prepare, or Manual to "
                                     "choose the database."),
                      cmdManual);
    }
    if (now.path != opened_.path) {
        const QString name = app_.AppSettings.GetValue(QStringLiteral("dataname"));
        if (!QFileInfo::exists(paths::join(now.path, name))) {
            return refuse(QStringLiteral("There is no database %1 in %2 yet. Move the database "
                                         "there first, or choose it with Manual.")
                              .arg(name, now.path),
                          cmdManual);
        }
        network::applyServer(app_.AppSettings, now.path, QString());
    }
    return true;
}

bool NetworkTab::applyClientRole(const Shown& now) {
    if (now.locate.isEmpty() || now.database.isEmpty()) {
        return refuse(QStringLiteral("Please press Locate and choose the database in the shared "
                                     "folder on the server."),
                      cmdLocate);
    }
    if (now.locate != opened_.locate || now.database != opened_.database ||
        opened_.role != Role::Client) {
        network::applyClient(app_.AppSettings, now.locate, now.database,
                             now.locate != opened_.locate);
    }
    return true;
}

bool NetworkTab::cmdApply_Click() {
    if (!hasChanges()) {
        return true;
    }
    const Shown now = shown();
    if (now.role == Role::DatabaseServer) {
        const auto server = serverFromBoxes(QStringLiteral("Database Server"));
        if (!server) {
            return false;
        }
        ServerAddress::store(app_.AppSettings, server);
    } else {
        const bool ok = now.role == Role::Server ? applyServerRole(now) : applyClientRole(now);
        if (!ok) {
            return false;
        }
        if (opened_.role == Role::DatabaseServer) {
            ServerAddress::store(app_.AppSettings, std::nullopt);
        }
    }
    app_.AppSettings.SetValue(kRoleSetting, kRoleNames[size_t(now.role)]);
    opened_ = now;
    QApplication::beep();
    return true;
}
