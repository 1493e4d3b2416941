#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Who may use a share: the members of a group of this computer, each signing in, or, chosen on
// purpose, everyone on the network without a password.
struct ShareAccess {
    QString group;
    bool everyone = false;
};

// Shares a folder on the network. The result is a status: 0 for success, anything else a
// failure (Samba missing, the share refused).
class FolderSharing {
public:
    virtual ~FolderSharing() = default;
    virtual int share(const QString& serverName, const QString& shareName, const QString& folder,
                      const QString& remark, int maxUsers, const ShareAccess& access) = 0;
    // Whether this computer has a group of that name.
    virtual bool groupExists(const QString& group) const = 0;
};

// Samba user shares ("net usershare add"). A group's share gives the group full control and
// lets no guest in, and gives the folder and what it holds to the group (read and write, new
// files taking the folder's group).
class SambaFolderSharing : public FolderSharing {
public:
    int share(const QString& serverName, const QString& shareName, const QString& folder,
              const QString& remark, int maxUsers, const ShareAccess& access) override;
    bool groupExists(const QString& group) const override;
};

// Test double.
class RecordingFolderSharing : public FolderSharing {
public:
    struct Request {
        QString serverName, shareName, folder, remark;
        int maxUsers;
        ShareAccess access;
    };
    int share(const QString& serverName, const QString& shareName, const QString& folder,
              const QString& remark, int maxUsers, const ShareAccess& access) override {
        requests << Request{serverName, shareName, folder, remark, maxUsers, access};
        return status;
    }
    bool groupExists(const QString& group) const override { return groups.contains(group); }
    QList<Request> requests;
    QStringList groups{QStringLiteral("office")};
    int status = 0;
};
