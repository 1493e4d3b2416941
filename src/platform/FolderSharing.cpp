#include "platform/FolderSharing.h"

#include <QProcess>
#include <QStandardPaths>

namespace {
// What a shell answers for a command that is not there.
constexpr int kCommandMissing = 127;
}  // namespace

int SambaFolderSharing::share(const QString&, const QString& shareName, const QString& folder,
                              const QString& remark, int) {
    const QString net = QStandardPaths::findExecutable(QStringLiteral("net"));
    if (net.isEmpty()) {
        return kCommandMissing;
    }
    QProcess process;
    process.start(net, {QStringLiteral("usershare"), QStringLiteral("add"), shareName, folder,
                        remark, QStringLiteral("Everyone:F"), QStringLiteral("guest_ok=y")});
    if (!process.waitForFinished(15000)) {
        process.kill();
        return kCommandMissing;
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        return kCommandMissing;
    }
    return process.exitCode();
}
