#pragma once

#include <QList>
#include <QString>

// Shares a folder on the network. The result is a status: 0 for success, anything else a
// failure (Samba missing, the share refused).
class FolderSharing {
public:
    virtual ~FolderSharing() = default;
    virtual int share(const QString& serverName, const QString& shareName, const QString& folder,
                      const QString& remark, int maxUsers) = 0;
};

// Samba user shares ("net usershare add").
class SambaFolderSharing : public FolderSharing {
public:
    int share(const QString& serverName, const QString& shareName, const QString& folder,
              const QString& remark, int maxUsers) override;
};

// Test double.
class RecordingFolderSharing : public FolderSharing {
public:
    struct Request {
        QString serverName, shareName, folder, remark;
        int maxUsers;
    };
    int share(const QString& serverName, const QString& shareName, const QString& folder,
              const QString& remark, int maxUsers) override {
        requests << Request{serverName, shareName, folder, remark, maxUsers};
        return status;
    }
    QList<Request> requests;
    int status = 0;
};
