#pragma once

#include <QWidget>
#include <array>

class AppState;
class QDialog;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The "Network Configuration" tab: this computer as the server that shares the data folder, or
// as a client that uses the database on the server.
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
    void cmdApply_Click();
    void cmdOK_Click();

    std::array<QRadioButton*, 2> optServer{};  // server, client
    QGroupBox* fraServer;
    QPushButton* cmdPrepare;
    QPushButton* cmdManual;
    QLineEdit* txtPath;
    QLineEdit* txtManual;
    QGroupBox* fraClient;
    QPushButton* cmdLocate;
    QLineEdit* txtLocate;
    QLineEdit* txtDataBase;
    QPushButton* cmdApply;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

private:
    AppState& app_;
    QDialog& screen_;
};
