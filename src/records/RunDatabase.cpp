#include "records/RunDatabase.h"

#include "db/ServerAddress.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "records/AppState.h"

#include <QFileInfo>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}  // namespace

bool useDatabaseForThisRun(AppState& app, const QString& file) {
    const QFileInfo info(file);
    if (!info.isFile()) {
        app.prompter.message(QStringLiteral("Verdell cannot find the database") + kCrLf +
                                 info.absoluteFilePath() + kCrLf +
                                 QStringLiteral("It may have been moved, renamed or deleted."),
                             {}, Prompter::Buttons::Ok, Prompter::Icon::Critical);
        return false;
    }
    TReg& settings = app.AppSettings;
    const QString usual = paths::toHost(paths::join(settings.GetValue(QStringLiteral("datapath")),
                                                    settings.GetValue(QStringLiteral("dataname"))),
                                        app.roots);
    if (!ServerAddress::fromSettings(settings) && QFileInfo(usual) == info) {
        return true;  // the database every start opens: nothing to hold
    }
    // The embedded file, whatever the settings say about a database server.
    settings.holdForThisRun({{QStringLiteral("datapath"), info.absolutePath()},
                             {QStringLiteral("dataname"), info.fileName()},
                             {QStringLiteral("DbProvider"), QString()}});
    return true;
}

QString databaseForThisRun(AppState& app) {
    TReg& settings = app.AppSettings;
    if (!settings.holding()) {
        return {};
    }
    return paths::join(settings.GetValue(QStringLiteral("datapath")),
                       settings.GetValue(QStringLiteral("dataname")));
}

bool makeRunDatabaseTheDefault(AppState& app) {
    if (app.AppSettings.keepHeldValues() == 0) {
        return true;
    }
    app.prompter.message(
        QStringLiteral("This database cannot be made the default, because the settings cannot "
                       "be written:") +
            kCrLf + app.AppSettings.storeFile() + kCrLf +
            QStringLiteral("It stays open for this run."),
        {}, Prompter::Buttons::Ok, Prompter::Icon::Critical);
    return false;
}
