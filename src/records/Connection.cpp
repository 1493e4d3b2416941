#include "records/Connection.h"

#include "db/ServerAddress.h"
#include "platform/DriveRoots.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "records/AppState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The classic run-time error numbers of a failed file open.
enum FileError {
    kFound = 0,
    kPermissionDenied = 70,
    kFileNotFound = 53,
    kPathNotFound = 76,
    kFileAccess = 75
};

int openForReading(const QString& hostFile) {
    const QFileInfo info(hostFile);
    if (!info.exists()) {
        return QFileInfo(info.absolutePath()).isDir() ? kFileNotFound : kPathNotFound;
    }
    if (info.isDir() || !info.isFile()) {
        return kFileAccess;  // a folder, or a named pipe or device that opening would wait on
    }
    QFile file(hostFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return kPermissionDenied;
    }
    return kFound;
}

QString explanation(int code, const QString& fileName) {
    switch (code) {
        case kFileNotFound:
            return QStringLiteral(
                       "The path to the database is correct.  However the database "
                       "itself is not located in the expected folder") +
                   kCrLf + kCrLf +
                   QStringLiteral(
                       "When you're finished reading this message click the locate "
                       "button below if you know where the database is located!") +
                   kCrLf +
                   QStringLiteral(
                       "If you do not know where the database is located you will "
                       "need to re-install Verdell");
        case kPathNotFound:
            return QStringLiteral("The path to the database does not exist") + kCrLf +
                   QStringLiteral(" i.e. Verdell currently expects the folder to be ") + kCrLf +
                   fileName + kCrLf +
                   QStringLiteral(" but the folder does not exist or is not accessible!") + kCrLf +
                   kCrLf +
                   QStringLiteral(
                       "If the path shown is a network path please make sure the "
                       "network is functional (see your network administrator)") +
                   kCrLf + kCrLf +
                   QStringLiteral(
                       "If you are not on a network click the LOCATE button below "
                       "to locate the folder where the database was moved to") +
                   kCrLf + kCrLf +
                   QStringLiteral(
                       "If you have no idea what the database path has been changed "
                       "to you may be better re-installing Verdell");
        default:
            return {};
    }
}

void writeFoldersBelow(AppState& app, const QString& folder, bool withDocPath) {
    const QString docs = paths::join(folder, QStringLiteral("Docs"));
    QList<QPair<QString, QString>> values;
    if (withDocPath) {
        values.append({QStringLiteral("DocPath"), docs});
    }
    values.append({QStringLiteral("DocsFolder"), docs});
    values.append({QStringLiteral("ImageFolder"), paths::join(folder, QStringLiteral("Images"))});
    values.append(
        {QStringLiteral("TemplatePath"), paths::join(folder, QStringLiteral("Templates"))});
    app.AppSettings.SetValues(values);
}

}  // namespace

bool DoesFileExist(AppState& app, const QString& sFileName, bool bErr, bool honourLogDebug) {
    const bool debug = honourLogDebug &&
                       app.AppSettings.GetValue(QStringLiteral("logdebug")) == QLatin1String("1");
    const QString hostFile = paths::toHost(sFileName, app.roots);
    if (debug) {
        app.prompter.message(QStringLiteral("In DoesFileExist Looking for ") + hostFile);
    }
    const int code = openForReading(hostFile);
    if (code == kFound) {
        if (debug) {
            app.prompter.message(QStringLiteral("File Succesfully found"));
        }
        return true;
    }
    if (debug) {
        app.prompter.message(QStringLiteral("File Not Found. Error No") + QString::number(code));
    }
    const QString text = explanation(code, hostFile);
    if (!text.isEmpty() && bErr) {
        app.prompter.message(text, QStringLiteral("Verdell Database Locator"),
                             Prompter::Buttons::Ok, Prompter::Icon::CriticalInformation);
    }
    return false;
}

QString LocateDataFolder(AppState& app, const QString& sPath, const QString& sFileName) {
    if (DoesFileExist(app, paths::join(sPath, sFileName), false)) {
        writeFoldersBelow(app, sPath, true);
    } else {
        const paths::Rooted rooted = paths::splitRoot(paths::toHost(sPath, app.roots), app.roots);
        const QStringList roots = app.roots.roots();
        for (const QString& root : roots) {
            const QString folder =
                rooted.rest.isEmpty() ? root : QDir::cleanPath(root + u'/' + rooted.rest);
            if (DoesFileExist(app, paths::join(folder, sFileName), false)) {
                app.AppSettings.SetValue(QStringLiteral("datapath"), folder);
                writeFoldersBelow(app, folder, false);
                break;
            }
        }
    }
    return app.AppSettings.GetValue(QStringLiteral("DataPath"));
}

QString settingsProblem(AppState& app) {
    const QString file = app.AppSettings.storeFile();
    const QFileInfo info(file);
    if (file.isEmpty() || !info.exists()) {
        return {};
    }
    QFile settings(file);
    if (!settings.open(QIODevice::ReadOnly)) {
        return QStringLiteral("The settings file %1 cannot be read (%2), so Verdell cannot tell "
                              "where its database is. Give your user the right to read it, or "
                              "run 'verdell-admin init' after moving it away.")
            .arg(file, settings.errorString());
    }
    const bool binary = settings.read(64 * 1024).contains('\0');
    if (binary || QSettings(file, QSettings::IniFormat).status() != QSettings::NoError) {
        return QStringLiteral("The file %1 is not a settings file (it holds something else), so "
                              "Verdell cannot tell where its database is. Move it away and run "
                              "'verdell-admin init', or restore it from a backup.")
            .arg(file);
    }
    if (ServerAddress::fromSettings(app.AppSettings)) {
        return {};
    }
    if (app.AppSettings.GetValue(QStringLiteral("datapath")).trimmed().isEmpty() ||
        app.AppSettings.GetValue(QStringLiteral("dataname")).trimmed().isEmpty()) {
        return QStringLiteral("The settings file %1 names no database: it has no datapath or no "
                              "dataname. Choose the database in Setup, or add the lines "
                              "datapath=FOLDER and dataname=verdell.mdb to the file.")
            .arg(file);
    }
    return {};
}

bool OpenDatabase(AppState& app) {
    const std::optional<ServerAddress> server = ServerAddress::fromSettings(app.AppSettings);
    QString source;
    if (server) {
        app.ConnectionString = server->connectionString();
        source =
            QStringLiteral("%1:%2/%3").arg(server->host).arg(server->port).arg(server->database);
    } else {
        const QString name = app.AppSettings.GetValue(QStringLiteral("DataName"));
        const QString folder = app.AppSettings.GetValue(QStringLiteral("datapath"));
        source = paths::toHost(paths::join(folder, name), app.roots);
        app.ConnectionString = connection::forFile(source);
        // A database of the earlier Windows release is converted first, when the user agrees.
        if (app.offerJetConversion && databaseFileKind(source) == DatabaseFileKind::Jet) {
            app.offerJetConversion(source);
        }
    }
    if (app.DbConnection.open(app.ConnectionString)) {
        return true;
    }
    const DbError error = app.DbConnection.lastError();
    if (server) {
        // The locator finds files; for a server the user needs to know which one, and where
        // to correct it.
        const bool away = app.DbConnection.serverAway();
        const bool setupOpens = app.showNetworkSetup && !app.locatorShowing;
        app.server.tellUser(
            QStringLiteral("Verdell could not %1 the database server %2 (user \"%3\"):")
                    .arg(away ? QStringLiteral("reach") : QStringLiteral("open the database on"),
                         source, server->user) +
                kCrLf + error.message + kCrLf + kCrLf +
                QStringLiteral("Check that the server is running and that this computer is on "
                               "the network, or correct the server's details on the Network "
                               "Configuration tab of Setup") +
                (setupOpens ? QStringLiteral(", which opens now.") : QStringLiteral(".")),
            away ? ServerLink::title() : QStringLiteral("Database Server"));
        // Setup may name another server, or the server may have started meanwhile: one more
        // try, which does not open Setup again.
        if (setupOpens) {
            app.locatorShowing = true;
            app.showNetworkSetup();
            const bool opened = OpenDatabase(app);
            app.locatorShowing = false;
            return opened;
        }
        return false;
    }
    const QString& file = source;
    if (const QString problem = settingsProblem(app); !problem.isEmpty()) {
        app.prompter.message(problem, QStringLiteral("Settings Cannot Be Used"),
                             Prompter::Buttons::Ok, Prompter::Icon::Critical);
    }
    app.prompter.message(
        QStringLiteral("Error number ") + QString::number(error.number()) + kCrLf + error.message +
            kCrLf +
            QStringLiteral("An error has occured connecting to your database, please check the "
                           "database path is correct") +
            kCrLf + QStringLiteral("and that your network is running if applicable!"),
        QStringLiteral("Data Source=") + file + u';', Prompter::Buttons::Ok,
        Prompter::Icon::Critical);
    app.prompter.message(
        QStringLiteral("Verdell will now provide you with help in locating the database!"), {},
        Prompter::Buttons::Ok, Prompter::Icon::Information);
    // A failing open inside the locator must not ask for a second locator.
    if (app.showLocator && !app.locatorShowing) {
        app.locatorShowing = true;
        app.showLocator();
        app.locatorShowing = false;
    }
    return app.DbConnection.isOpen();
}

void CloseDatabase(AppState& app) {
    app.DbConnection.close();
}

void SetDBReg(AppState& app, const QString& sPath, const QString& sFileName) {
    app.AppSettings.SetValues(
        {{QStringLiteral("datapath"), sPath}, {QStringLiteral("dataname"), sFileName}});
}

const QList<DatabaseCandidate>& databaseCandidates() {
    static const QList<DatabaseCandidate> list = {
        {QStringLiteral("\\cvnverdell"), QStringLiteral("verdell.mdb")},
        {QStringLiteral("c:\\cvnverdell"), QStringLiteral("verdell.mdb")},
        {QStringLiteral("\\cvnverdell"), QStringLiteral("verdell.cvn")},
        {QStringLiteral("c:\\cvnverdell"), QStringLiteral("verdell.cvn")},
        {QStringLiteral("\\program files\\verdell"), QStringLiteral("verdell.mdb")},
        {QStringLiteral("c:\\program files\\verdell"), QStringLiteral("verdell.mdb")},
        {QStringLiteral("\\program files\\verdell"), QStringLiteral("verdell.cvn")},
        {QStringLiteral("c:\\program files\\verdell"), QStringLiteral("verdell.cvn")},
    };
    return list;
}
