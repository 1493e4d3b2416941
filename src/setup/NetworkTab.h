#pragma once

#include "startup/ServerAddress.h"

#include <QWidget>
#include <array>
#include <optional>

class AppState;
class QDialog;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The "Network Configuration" tab: this computer as the server that shares the data folder, as
// a client that uses the database file on that server, or as a user of a database server.
class NetworkTab : public QWidget {
    Q_OBJECT
public:
    NetworkTab(AppState& app, QDialog& screen, QWidget* parent = nullptr);

    void ProcessPanel();
    // Fills the empty client boxes from the settings.
    void fillFromSettings();
    void cmdPrepare_Click();
    void cmdManual_Click();
    void cmdLocate_Click();
    void cmdTestConnection_Click();
    // Stores the chosen role; false, with the reason shown, when the server's boxes are not
    // filled in enough to store.
    bool cmdApply_Click();
    void cmdOK_Click();

    std::array<QRadioButton*, 3> optServer{};  // server, client, database server
    QGroupBox* fraServer;
    QPushButton* cmdPrepare;
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

private:
    // The server the boxes name, or nothing with the reason shown under the title.
    std::optional<ServerAddress> serverFromBoxes(const QString& title);

    AppState& app_;
    QDialog& screen_;
};
