#include "startup/Startup.h"

#include "db/Revisions.h"
#include "db/ServerAddress.h"
#include "db/TextIndex.h"
#include "db/Upgrade.h"
#include "documents/DocumentRepair.h"
#include "platform/Prompter.h"
#include "platform/ScreenMetrics.h"
#include "records/AppState.h"
#include "records/Captions.h"
#include "records/Connection.h"
#include "records/DateFormats.h"
#include "records/Options.h"
#include "records/RunDatabase.h"
#include "setup/Backup.h"
#include "setup/Progress.h"
#include "startup/Bootstrap.h"

namespace {
constexpr int kMinimumScreenWidth = 1024;
// Rows in the registers from which building their text indexes shows a progress bar.
constexpr qint64 kProgressShownFrom = 50000;
const QString kDataFolder = QStringLiteral("\\Verdell Std");
}  // namespace

void CheckScreenResolution(AppState& app, int minimumWidth) {
    const QSize size = app.screen.sizeInPixels();
    if (size.width() >= minimumWidth) {
        return;
    }
    const QString minimum = QString::number(minimumWidth);
    app.prompter.message(
        QStringLiteral("Verdell needs to run in a screen resolution of at least ") + minimum +
            QStringLiteral(" pixels wide") + QStringLiteral("\r\n") +
            QStringLiteral("Please adjust your screen resolution and run Verdell again!"),
        QStringLiteral("Larger screen resolution required, currently set to ") +
            QString::number(size.width()) + u'x' + QString::number(size.height()),
        Prompter::Buttons::Ok, Prompter::Icon::Critical);
    app.prompter.message(
        QStringLiteral("Verdell will continue but your may not see all the information on the "
                       "screen"),
        QStringLiteral("Increase Screen Resolution to at least ") + minimum +
            QStringLiteral(" pixels wide"),
        Prompter::Buttons::Ok, Prompter::Icon::Critical);
}

void WriteFirstRunDefaults(AppState& app) {
    TReg& settings = app.AppSettings;
    if (settings.GetValue(QStringLiteral("FirstRun")) != QLatin1String("1")) {
        return;
    }
    // All at once: a first run stopped half way leaves FirstRun=1, and the next start again.
    settings.SetValues({{QStringLiteral("datapath"), kDataFolder},
                        {QStringLiteral("dataname"), QStringLiteral("verdell.mdb")},
                        {QStringLiteral("FirstRun"), QStringLiteral("0")},
                        {QStringLiteral("LastJob"), QStringLiteral("0")},
                        {QStringLiteral("DocPath"), kDataFolder + QStringLiteral("\\Docs")},
                        {QStringLiteral("TemplatePath"),
                         kDataFolder + QStringLiteral("\\Templates")}});
}

namespace {

// Finishes or undoes a restore that was stopped half way, and tells the user which.
void repairInterruptedRestore(AppState& app) {
    if (ServerAddress::fromSettings(app.AppSettings)) {
        return;
    }
    const QString repaired = backup::repairInterruptedRestore(backup::restoredFile(app.AppSettings, app.roots));
    if (!repaired.isEmpty()) {
        app.prompter.message(repaired, QStringLiteral("Database Repaired"), Prompter::Buttons::Ok,
                             Prompter::Icon::Information);
    }
}

}  // namespace

void LoadTemplateFolder(AppState& app, StartupUi& ui) {
    app.StartupComplete = false;
    ui.setBusy(true);
    app.TemplateFolder = app.AppSettings.GetValue(QStringLiteral("TemplatePath"));
    ui.setBusy(false);
    app.StartupComplete = true;
    Q_EMIT ui.finished();
}

bool StartProgram(AppState& app, StartupUi& ui, const QString& databaseForThisRun) {
    const Installation installation = installIfNeeded(app);
    for (const QString& problem : installation.problems) {
        app.prompter.message(problem, QStringLiteral("Verdell Installation"),
                             Prompter::Buttons::Ok, Prompter::Icon::Critical);
    }
    for (const QString& repaired : installation.repaired) {
        app.prompter.message(repaired, QStringLiteral("Verdell Installation"),
                             Prompter::Buttons::Ok, Prompter::Icon::Information);
    }
    if (!databaseForThisRun.isEmpty() && !useDatabaseForThisRun(app, databaseForThisRun)) {
        return false;
    }
    Main(app, ui);
    return true;
}

namespace {

// Builds the text indexes through build, showing their progress under the caption once the
// register is big enough for the wait to be noticed, and clearing it after.
template <typename Build>
auto withIndexProgress(AppState& app, const QString& caption, Build build) {
    bool shown = false;
    const auto result = build([&app, &caption, &shown](qint64 value, qint64 maximum) {
        if (!app.conversionProgress || maximum < kProgressShownFrom) {
            return;
        }
        if (!shown) {
            app.conversionProgress->status(caption);
            shown = true;
        }
        app.conversionProgress->progress(value, maximum);
    });
    if (shown) {
        app.conversionProgress->status({});
    }
    return result;
}

}  // namespace

void RebuildSearchIndex(AppState& app) {
    const bool built = withIndexProgress(app, QStringLiteral("Rebuilding the search index"),
                                         [&app](const textindex::Progress& progress) {
                                             return textindex::rebuild(app.DbConnection, progress);
                                         });
    if (built) {
        textindex::repaired();
        return;
    }
    app.prompter.message(
        QStringLiteral("The search index was found damaged and could not be built again:\r\n") +
            app.DbConnection.lastError().message +
            QStringLiteral("\r\nSearches still find every job, only more slowly. Run "
                           "'verdell-admin check' when no one else is working, or restore a "
                           "backup."),
        QStringLiteral("Search Index"), Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
}

void LoadFromDatabase(AppState& app) {
    // Building the text indexes of a big register takes a while: it shows its progress.
    const QString failure = withIndexProgress(
        app, QStringLiteral("Building the search index"),
        [&app](const textindex::Progress& progress) {
            return revisions::bringUpToDate(app.DbConnection, progress);
        });
    if (!failure.isEmpty()) {
        app.prompter.message(QStringLiteral("The database could not be brought up to date for "
                                            "this version of Verdell:\r\n") +
                                 failure +
                                 QStringLiteral("\r\nIt is left as it was. Please restore a "
                                                "backup or ask for help before entering work."),
                             QStringLiteral("Database Not Updated"), Prompter::Buttons::Ok,
                             Prompter::Icon::Critical);
    }
    if (app.DbConnection.isOpen()) {
        captions::load(app.DbConnection, app.FieldCaptions);
    }
    LoadOptions(app);
    LoadDefaultDateFormat(app);
}

void Main(AppState& app, StartupUi& ui) {
    CheckScreenResolution(app, kMinimumScreenWidth);
    app.AppSettings.setKey(TReg::kCurrentUser);
    app.AppSettings.setPath(QStringLiteral("Software\\Corvane\\Verdell"));
    WriteFirstRunDefaults(app);
    // A database named on the command line is opened where it is, for this run only: the
    // settings' data folder is neither looked for nor rewritten.
    if (!app.AppSettings.holding()) {
        repairInterruptedRestore(app);
        LocateDataFolder(app, app.AppSettings.GetValue(QStringLiteral("datapath")),
                         QStringLiteral("verdell.mdb"));
    }
    OpenDatabase(app);
    LoadFromDatabase(app);
    if (!app.DbConnection.isOpen() && app.DbConnection.serverAway()) {
        // The server could not be reached: what start-up reads from the database is read as
        // soon as the server link reaches it.
        QObject::connect(
            &app.server, &ServerLink::restored, &app.server, [&app] { LoadFromDatabase(app); },
            Qt::SingleShotConnection);
    }
    ui.showMainWindow();
    LoadTemplateFolder(app, ui);
    if (app.DbConnection.isOpen()) {
        repairDocumentsAtStart(app);
    }
}
