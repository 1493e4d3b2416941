#include "admin/AdminCommands.h"

#include "platform/DriveRoots.h"
#include "platform/Paths.h"
#include "startup/AppState.h"
#include "startup/Bootstrap.h"
#include "startup/Schema.h"
#include "startup/Upgrade.h"

#include <QFileInfo>
#include <functional>

namespace admin {

namespace {

const QString kUsage = QStringLiteral(
    "usage: verdell-admin COMMAND\n"
    "\n"
    "commands:\n"
    "  init    make the settings and the data folder with a new database, where they do not\n"
    "          exist yet (nothing is ever overwritten)\n"
    "  check   open the database the settings name, upgrade it when needed, and report its\n"
    "          schema version, the rows in each table and the engine's integrity check\n");

int fail(Streams io, const QString& line) {
    io.err << "verdell-admin: " << line << Qt::endl;
    return 1;
}

int init(AppState& app, const QStringList&, Streams io) {
    const QString settings = app.AppSettings.storeFile();
    const QString folder = defaultDataFolder(app);
    const bool hadSettings = QFileInfo::exists(settings);
    const bool hadFolder = QFileInfo::exists(folder);
    const QStringList problems = installIfNeeded(app);
    if (!problems.isEmpty()) {
        return fail(io, QString(problems.first()).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    }
    io.out << "settings: " << settings << (hadSettings ? " (kept)" : " (created)") << Qt::endl;
    io.out << "data folder: " << folder << (hadFolder ? " (kept)" : " (created)") << Qt::endl;
    return 0;
}

// The database file the settings name; on a first start that has not run yet, the default.
QString databaseFile(AppState& app) {
    QString folder = app.AppSettings.GetValue(QStringLiteral("datapath"));
    QString name = app.AppSettings.GetValue(QStringLiteral("dataname"));
    if (folder.isEmpty() && name.isEmpty() &&
        app.AppSettings.GetValue(QStringLiteral("FirstRun")) == QLatin1String("1")) {
        return defaultDataFolder(app) + QStringLiteral("/verdell.mdb");
    }
    return paths::toHost(paths::join(folder, name), app.roots);
}

int check(AppState& app, const QStringList&, Streams io) {
    const QString settings = app.AppSettings.storeFile();
    if (!QFileInfo::exists(settings)) {
        return fail(io, QStringLiteral("there are no settings at %1; run 'verdell-admin init' "
                                       "first")
                            .arg(settings));
    }
    const QString file = databaseFile(app);
    Database& db = app.DbConnection;
    if (!db.open(connection::forFile(file))) {
        return fail(io, QStringLiteral("cannot open the database %1: %2")
                            .arg(file, db.lastError().message));
    }
    io.out << "database: " << file << Qt::endl;
    if (DatabaseNeedsUpgrade(db)) {
        UpgradeSchema(db);
        io.out << "upgraded: yes" << Qt::endl;
    }
    const QString version = db.scalar(QStringLiteral("SELECT Version FROM Version")).toString();
    io.out << "version: " << version << Qt::endl;
    QStringList missing;
    for (const QString& table : schema::tableNames()) {
        const QVariant count = db.scalar(QStringLiteral("SELECT count(*) FROM ") + table);
        if (!count.isValid()) {
            missing << table;
            continue;
        }
        io.out << "  " << qSetFieldWidth(16) << Qt::left << table << qSetFieldWidth(0)
               << count.toLongLong() << Qt::endl;
    }
    const QString integrity = db.integrityCheck();
    io.out << "integrity: " << integrity << Qt::endl;
    if (integrity != QLatin1String("ok")) {
        return fail(io, QStringLiteral("the database %1 is damaged: %2").arg(file, integrity));
    }
    if (!missing.isEmpty()) {
        return fail(io, QStringLiteral("the database %1 lacks the tables %2")
                            .arg(file, missing.join(QStringLiteral(", "))));
    }
    if (version != schema::kCurrentVersion) {
        return fail(io, QStringLiteral("the database %1 is at version '%2', not %3")
                            .arg(file, version, schema::kCurrentVersion));
    }
    return 0;
}

}  // namespace

int run(AppState& app, const QStringList& arguments, Streams io) {
    using Command = std::function<int(AppState&, const QStringList&, Streams)>;
    const QHash<QString, Command> commands{
        {QStringLiteral("init"), init},
        {QStringLiteral("check"), check},
    };
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("help")) {
        io.out << kUsage;
        return arguments.isEmpty() ? 2 : 0;
    }
    const auto command = commands.find(arguments.first());
    if (command == commands.end()) {
        io.err << kUsage;
        return fail(io, QStringLiteral("unknown command '%1'").arg(arguments.first()));
    }
    return (*command)(app, arguments.mid(1), io);
}

}  // namespace admin
