#pragma once

#include "db/ServerAddress.h"

#include "platform/FolderSharing.h"
#include "setup/SetupTab.h"

#include <array>
#include <optional>

class AppState;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The "Network Configuration" tab: this computer as the server that shares the data folder, as
// a client that uses the database file on that server, or as a user of a database server.
// It opens on the role and places the settings hold, and Apply stores only what the user changed.
class NetworkTab : public SetupTab {
    Q_OBJECT
public:
    enum class Role { Server = 0, Client = 1, DatabaseServer = 2 };

    explicit NetworkTab(AppState& app, QWidget* parent = nullptr);

    void ProcessPanel();
    // Shows the role and the places the settings hold now.
    void fillFromSettings();
    void cmdPrepare_Click();
    void cmdManual_Click();
    void cmdLocate_Click();
    void cmdTestConnection_Click();
    // Stores what the user changed; false, with the reason shown, when what the boxes hold
    // cannot be stored (an empty data folder, a server not named).
    bool cmdApply_Click();
    bool hasChanges() const override;
    bool applyChanges() override { return cmdApply_Click(); }

private:
    // What the tab shows: compared with what it showed on opening to find the user's changes.
    struct Shown {
        Role role = Role::Server;
        QString path, manual, locate, database, host, port, dbName, user;
        bool operator==(const Shown&) const = default;
    };
    Shown shown() const;
    Role role() const;
    // The role the settings say this computer has.
    Role storedRole();
    bool applyServerRole(const Shown& now);
    bool applyClientRole(const Shown& now);
    bool refuse(const QString& why, QWidget* focus);
    ShareAccess shareAccess() const;
    void showShareAccess();

    // The server the boxes name, or nothing with the reason shown under the title.
    std::optional<ServerAddress> serverFromBoxes(const QString& title);

    AppState& app_;
    Shown opened_;

    std::array<QRadioButton*, 3> optServer{};  // server, client, database server
    QGroupBox* fraServer;
    QPushButton* cmdPrepare;
    QLineEdit* txtShareGroup;
    QCheckBox* chkOpenShare;
    QLabel* labShareAccess;
    QPushButton* cmdManual;
    QLineEdit* txtPath;
    QLineEdit* txtManual;
    QGroupBox* fraClient;
    QPushButton* cmdLocate;
    QLineEdit* txtLocate;
    QLineEdit* txtDataBase;
    QGroupBox* fraDbServer;
    QLineEdit* txtDbHost;
    QLineEdit* txtDbPort;
    QLineEdit* txtDbName;
    QLineEdit* txtDbUser;
    QPushButton* cmdTestConnection;
    QPushButton* cmdApply;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};
