#include "setup/NetworkSetup.h"

#include "platform/DriveRoots.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/Connection.h"
#include "records/SharedRoutines.h"

#include <QDir>
#include <QFileInfo>

namespace network {

namespace {

const QString kFolderName = QStringLiteral("Verdell Std");
// What a shell answers for a command that is not installed.
constexpr int kCommandMissing = 127;

QString shareFailure(int status, const QString& folder) {
    if (status == kCommandMissing) {
        return QStringLiteral("The folder %1 could not be shared: Samba is not installed on this "
                              "computer.\r\n\r\nInstall the Samba file server (the package "
                              "'samba'), then press Prepare again.")
            .arg(folder);
    }
    return QStringLiteral("The folder %1 could not be shared (status %2).\r\n\r\nMake sure the "
                          "Samba file server is running and that you may create user shares "
                          "(membership of the group 'sambashare'), then press Prepare again.")
        .arg(folder)
        .arg(status);
}

}  // namespace

QString shareFolderFor(const QString& datapath, const DriveRoots& roots) {
    const QStringList all = roots.roots();
    const QString host = paths::toHost(datapath, roots);
    int root = 0;
    if (!paths::isNetworkPath(datapath) && !paths::isNetworkPath(host)) {
        root = qMax(0, paths::splitRoot(host, roots).root);
    }
    return QDir::cleanPath(all.value(root) + u'/' + kFolderName);
}

QString describeAccess(const ShareAccess& access) {
    if (access.everyone) {
        return QStringLiteral("Everyone on the network can open the share without a password, "
                              "and read and change every customer's data.");
    }
    if (access.group.trimmed().isEmpty()) {
        return QStringLiteral("Name the group of this computer whose members may use the share.");
    }
    return QStringLiteral("Only the members of the group '%1' can open the share, each signing "
                          "in with their own password; they may read and change everything in "
                          "the data folder. Nobody else on the network can.")
        .arg(access.group.trimmed());
}

// Whether the share may be made as asked, asking before a share for everyone; false after
// telling the user why not.
bool accessAgreed(AppState& app, const ShareAccess& access) {
    if (access.everyone) {
        return app.prompter.message(
                   QStringLiteral("Shared with everyone, without a password, anyone on the "
                                  "network could read and change every customer's data.\r\n\r\n"
                                  "Share the data folder with everyone anyway?"),
                   QStringLiteral("Share Without a Password"), Prompter::Buttons::YesNo,
                   Prompter::Icon::Exclamation) == Prompter::Answer::Yes;
    }
    const QString group = access.group.trimmed();
    QString refusal;
    if (group.isEmpty()) {
        refusal = describeAccess(access) +
                  QStringLiteral(" Its members, and only they, will use the data folder.");
    } else if (!app.sharing.groupExists(group)) {
        refusal = QStringLiteral("This computer has no group '%1'. Make it and put the office's "
                                 "users in it, then press Prepare again:\r\n"
                                 "    sudo groupadd %1\r\n"
                                 "    sudo usermod -aG %1 USER\r\n"
                                 "    sudo smbpasswd -a USER   (the password USER signs in with)")
                      .arg(group);
    }
    if (!refusal.isEmpty()) {
        app.prompter.message(refusal, QStringLiteral("Folder Not Shared"), Prompter::Buttons::Ok,
                             Prompter::Icon::Exclamation);
        return false;
    }
    return true;
}

QString Prepare(AppState& app, const ShareAccess& asked) {
    ShareAccess access = asked;
    access.group = access.everyone ? QString() : access.group.trimmed();
    if (!accessAgreed(app, access)) {
        return {};
    }
    const QString folder =
        shareFolderFor(app.AppSettings.GetValue(QStringLiteral("datapath")), app.roots);
    // A folder that is there already is shared again.
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        app.prompter.message(QStringLiteral("Error Number 75\r\nError Desc:The folder ") + folder +
                                 QStringLiteral(" cannot be made\r\n\r\nThe program will attempp "
                                                "to continue"),
                             QStringLiteral("Error"), Prompter::Buttons::Ok,
                             Prompter::Icon::Information);
    }
    CloseDatabase(app);
    const int status = ShareFolder(app, QString(), kShareName, folder, access, kShareName);
    OpenDatabase(app);
    if (status != 0) {
        app.prompter.message(shareFailure(status, folder), QStringLiteral("Folder Not Shared"),
                             Prompter::Buttons::Ok, Prompter::Icon::Critical);
        return {};
    }
    const QString database = paths::toHost(
        paths::join(app.AppSettings.GetValue(QStringLiteral("datapath")),
                    app.AppSettings.GetValue(QStringLiteral("dataname"))),
        app.roots);
    if (!access.everyone) {
        app.AppSettings.SetValue(QStringLiteral("ShareGroup"), access.group);
    }
    app.prompter.message(
        QStringLiteral("Folder ") + folder + QStringLiteral(" has been shared as 'Verdell'. ") +
        describeAccess(access) +
        QStringLiteral("\r\n\r\nThe database has not been moved: it stays in ") + database +
        QStringLiteral(". To share it, close Verdell, move it into the shared folder and open it "
                       "there with the database locator."));
    return folder;
}

void applyClient(TReg& settings, const QString& folder, const QString& databaseName,
                 bool newFolder) {
    if (newFolder) {
        settings.SetValue(QStringLiteral("datapath"), folder);
    }
    settings.SetValue(QStringLiteral("dataname"), databaseName);
    if (newFolder) {
        const QString docs = paths::join(folder, QStringLiteral("Docs"));
        settings.SetValue(QStringLiteral("DocPath"), docs);
        settings.SetValue(QStringLiteral("TemplatePath"),
                          paths::join(docs, QStringLiteral("Templates")));
    }
}

void applyServer(TReg& settings, const QString& folder, const QString& databaseName) {
    settings.SetValue(QStringLiteral("datapath"), folder);
    if (!databaseName.isEmpty()) {
        settings.SetValue(QStringLiteral("dataname"), databaseName);
    }
}

}  // namespace network
