#include "startup/Bootstrap.h"

#include "platform/DriveRoots.h"
#include "platform/Paths.h"
#include "startup/AppState.h"
#include "startup/Schema.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

QString installSettings(AppState& app) {
    TReg& settings = app.AppSettings;
    const QString file = settings.storeFile();
    if (QFileInfo::exists(file)) {
        return {};
    }
    // The sample estimate template is the one estimates print with until the user picks another.
    if (settings.CreateKey() != 0 ||
        settings.SetValue(QStringLiteral("FirstRun"), QStringLiteral("1")) != 0 ||
        settings.SetValue(QStringLiteral("EstimateDoc"), QStringLiteral("Estimate.dotx")) != 0) {
        return QStringLiteral("Verdell cannot create its settings file\r\n") + file +
               QStringLiteral("\r\nCheck that the folder exists and that you may write to it. "
                              "Until then your settings cannot be kept.");
    }
    return {};
}

// Copies the sample templates shipped with the program; a name already there is left alone.
bool copySampleTemplates(const QString& folder, const DriveRoots& roots) {
    bool ok = true;
    QDirIterator it(paths::sharedFile(roots, QStringLiteral("templates")), QDir::Files);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = folder + u'/' + QFileInfo(source).fileName();
        if (QFileInfo::exists(target)) {
            continue;
        }
        ok = QFile::copy(source, target) && ok;
        QFile(target).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                     QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }
    return ok;
}

QString installDataFolder(AppState& app) {
    const QString folder = defaultDataFolder(app);
    if (QFileInfo::exists(folder) || !existingDataFolder(app).isEmpty()) {
        return {};
    }
    QString failure;
    for (const char* sub : {"Docs", "Templates", "Images"}) {
        if (!QDir().mkpath(folder + u'/' + QLatin1String(sub))) {
            failure = QStringLiteral("The folder cannot be made.");
            break;
        }
    }
    if (failure.isEmpty()) {
        failure = schema::createDatabaseFile(folder + QStringLiteral("/verdell.mdb"));
    }
    if (failure.isEmpty() &&
        !copySampleTemplates(folder + QStringLiteral("/Templates"), app.roots)) {
        failure = QStringLiteral("The sample templates cannot be copied.");
    }
    if (failure.isEmpty()) {
        return {};
    }
    // Nothing was there before: take away what was half made, so the next start tries again.
    QDir(folder).removeRecursively();
    return QStringLiteral("Verdell cannot create its data folder\r\n") + folder +
           QStringLiteral("\r\n") + failure;
}

}  // namespace

QString defaultDataFolder(const AppState& app) {
    return app.roots.home() + QStringLiteral("/Verdell Std");
}

QString existingDataFolder(const AppState& app) {
    for (const QString& root : app.roots.roots()) {
        const QString folder = root + QStringLiteral("/Verdell Std");
        if (QFileInfo(folder).isDir()) {
            return folder;
        }
    }
    return {};
}

QStringList installIfNeeded(AppState& app) {
    QStringList problems;
    const bool hadSettings = QFileInfo::exists(app.AppSettings.storeFile());
    if (const QString problem = installSettings(app); !problem.isEmpty()) {
        problems << problem;
    }
    const bool firstStart =
        !hadSettings ||
        app.AppSettings.GetValue(QStringLiteral("FirstRun")) == QLatin1String("1");
    if (firstStart) {
        if (const QString problem = installDataFolder(app); !problem.isEmpty()) {
            problems << problem;
        }
    }
    return problems;
}
