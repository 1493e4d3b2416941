#include "startup/Bootstrap.h"

#include "db/Schema.h"
#include "platform/DriveRoots.h"
#include "platform/Paths.h"
#include "records/AppState.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

// Makes the settings file with its first values in one write; a file an interrupted
// installation left without any value is completed. A problem for the user, or an empty text.
QString installSettings(AppState& app, QStringList& repaired) {
    TReg& settings = app.AppSettings;
    const QString file = settings.storeFile();
    const bool existed = QFileInfo::exists(file);
    if (existed && QFileInfo(file).size() > 0) {
        return {};
    }
    // The sample estimate template is the one estimates print with until the user picks another.
    if (settings.CreateKey() != 0 ||
        settings.SetValues({{QStringLiteral("FirstRun"), QStringLiteral("1")},
                            {QStringLiteral("EstimateDoc"), QStringLiteral("Estimate.dotx")}}) !=
            0) {
        if (!existed) {
            QFile::remove(file);  // no settings file naming nothing: the next start tries again
        }
        return QStringLiteral("Verdell cannot create its settings file\r\n") + file +
               QStringLiteral("\r\nCheck that the folder exists and that you may write to it. "
                              "Until then your settings cannot be kept.");
    }
    if (existed) {
        repaired << QStringLiteral("The settings file %1 that an earlier installation left empty "
                                   "has been completed.")
                        .arg(file);
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

// Makes in the folder what a data folder holds, leaving alone what is there: Docs, Templates
// (with the sample templates), Images and the database. Why not, or an empty text.
QString fillDataFolder(const QString& folder, const DriveRoots& roots) {
    for (const char* sub : {"Docs", "Templates", "Images"}) {
        if (!QDir().mkpath(folder + u'/' + QLatin1String(sub))) {
            return QStringLiteral("The folder cannot be made.");
        }
    }
    const QString database = folder + QStringLiteral("/verdell.mdb");
    if (!QFileInfo::exists(database)) {
        if (QString failure = schema::createDatabaseFile(database); !failure.isEmpty()) {
            return failure;
        }
    }
    if (!copySampleTemplates(folder + QStringLiteral("/Templates"), roots)) {
        return QStringLiteral("The sample templates cannot be copied.");
    }
    return {};
}

// The data folder is made under a name of its own and takes its name only when complete; one
// that an interrupted installation of an earlier build left without its database is completed.
QString installDataFolder(AppState& app, QStringList& repaired) {
    const QString folder = defaultDataFolder(app);
    if (QFileInfo(folder).isDir() && !QFileInfo::exists(folder + QStringLiteral("/verdell.mdb"))) {
        if (const QString failure = fillDataFolder(folder, app.roots); !failure.isEmpty()) {
            return QStringLiteral("Verdell cannot complete its data folder\r\n") + folder +
                   QStringLiteral("\r\n") + failure;
        }
        repaired << QStringLiteral("The data folder %1 that an earlier installation left without "
                                   "its database has been completed.")
                        .arg(folder);
        return {};
    }
    if (QFileInfo::exists(folder) || !existingDataFolder(app).isEmpty()) {
        return {};
    }
    const QString building = folder + QStringLiteral(".installing");
    QDir(building).removeRecursively();  // what a stopped installation had begun
    QString failure = fillDataFolder(building, app.roots);
    if (failure.isEmpty() && !QDir().rename(building, folder)) {
        failure = QStringLiteral("The folder cannot be given its name.");
    }
    if (failure.isEmpty()) {
        return {};
    }
    // Nothing was there before: take away what was half made, so the next start tries again.
    QDir(building).removeRecursively();
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

Installation installIfNeeded(AppState& app) {
    Installation done;
    const bool hadSettings = QFileInfo(app.AppSettings.storeFile()).size() > 0;
    if (const QString problem = installSettings(app, done.repaired); !problem.isEmpty()) {
        done.problems << problem;
    }
    const bool firstStart =
        !hadSettings ||
        app.AppSettings.GetValue(QStringLiteral("FirstRun")) == QLatin1String("1");
    if (firstStart) {
        if (const QString problem = installDataFolder(app, done.repaired); !problem.isEmpty()) {
            done.problems << problem;
        }
    }
    return done;
}
