#include "admin/AdminCommands.h"
#include "admin/ExportCommand.h"
#include "admin/ReportCommand.h"

#include "db/Revisions.h"
#include "db/Schema.h"
#include "db/ServerAddress.h"
#include "db/TextKeyUpkeep.h"
#include "db/Upgrade.h"
#include "documents/DocumentRepair.h"
#include "documents/JobDocuments.h"
#include "documents/MergeEngine.h"
#include "documents/TemplateTools.h"
#include "estimates/EstimatePrint.h"
#include "estimates/EstimateStore.h"
#include "jobs/JobStore.h"
#include "platform/DriveRoots.h"
#include "platform/Paths.h"
#include "platform/ScriptedPrompter.h"
#include "records/AppState.h"
#include "records/Connection.h"
#include "records/Counters.h"
#include "records/DateFormats.h"
#include "records/Options.h"
#include "setup/Backup.h"
#include "setup/JetConversion.h"
#include "setup/OlderImport.h"
#include "setup/Progress.h"
#include "setup/TableSource.h"
#include "startup/Bootstrap.h"
#include "startup/Startup.h"

#include <QFileInfo>
#include <functional>

namespace admin {

namespace {

const QString kUsage =
    QStringLiteral(
        "usage: verdell-admin COMMAND\n"
        "       verdell-admin --help | --version\n"
        "\n"
        "commands:\n"
        "  init    make the settings and the data folder with a new database, where they do not\n"
        "          exist yet (nothing is ever overwritten)\n"
        "  check   open the database the settings name, upgrade it when needed, and report its\n"
        "          schema version, the rows in each table and the engine's integrity check\n"
        "  create-document --job N --template NAME [--title TEXT]\n"
        "          make a document for a stored job from a template, as the job screen does, and\n"
        "          print the new file's path\n"
        "  preprocess NAME\n"
        "          record which merge fields a template uses, and print them\n"
        "  print-estimate N\n"
        "          make the document of a stored estimate as the estimates screen prints it,\n"
        "          record the issue and print the document's path\n"
        "  import FILE\n"
        "          copy the contents of an older database (of the earlier Windows release or of\n"
        "          this one) into the current database, and print each step's row count\n"
        "  migrate FILE\n"
        "          convert a database of the earlier Windows release into one of this version in\n"
        "          its place, keep the original beside it, and point the settings at it\n"
        "  backup FILE\n"
        "          write a consistent copy of the database to FILE\n"
        "  restore FILE\n"
        "          replace the database with the backup FILE, keeping the replaced file beside it\n"
        "  migrate --to postgresql://USER@HOST:PORT/DATABASE\n"
        "          copy the embedded database the settings name, every table, row and identity,\n"
        "          into an empty database on a PostgreSQL server (the password comes from\n"
        "          ~/.pgpass); the settings are not changed\n") +
    reportUsage() + exportUsage();

}  // namespace

int fail(Streams io, const QString& line) {
    // One line: a message written for a message box keeps its parts on it.
    io.err << "verdell-admin: "
           << QString(line).replace(QStringLiteral("\r\n"), QStringLiteral(" ")) << Qt::endl;
    return 1;
}

namespace {

int init(AppState& app, const QStringList&, Streams io) {
    const QString settings = app.AppSettings.storeFile();
    const bool hadSettings = QFileInfo::exists(settings);
    const QString hadFolder = existingDataFolder(app);
    const Installation installation = installIfNeeded(app);
    if (!installation.problems.isEmpty()) {
        return fail(io, QString(installation.problems.first())
                            .replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    }
    for (const QString& repaired : installation.repaired) {
        io.out << "completed: " << repaired << Qt::endl;
    }
    io.out << "settings: " << settings << (hadSettings ? " (kept)" : " (created)") << Qt::endl;
    const QString folder = existingDataFolder(app);
    if (!folder.isEmpty()) {
        io.out << "data folder: " << folder << (hadFolder.isEmpty() ? " (created)" : " (kept)")
               << Qt::endl;
    } else {
        io.out << "data folder: none made, the settings name "
               << app.AppSettings.GetValue(QStringLiteral("datapath")) << Qt::endl;
    }
    return 0;
}

}  // namespace

// Opens the database the settings name (the server's, when they name one, unless embeddedOnly);
// false after reporting why not.
bool openDatabase(AppState& app, Streams io, bool embeddedOnly) {
    const QString settings = app.AppSettings.storeFile();
    if (!QFileInfo::exists(settings)) {
        fail(io, QStringLiteral("there are no settings at %1; run 'verdell-admin init' first")
                     .arg(settings));
        return false;
    }
    // As the program's start does: the first-run settings, and the data folder looked for on
    // every drive when it is not where the settings say.
    WriteFirstRunDefaults(app);
    if (const QString problem = settingsProblem(app); !problem.isEmpty()) {
        fail(io, problem);
        return false;
    }
    const std::optional<ServerAddress> server = ServerAddress::fromSettings(app.AppSettings);
    if (!server) {
        const QString repaired = backup::repairInterruptedRestore(backup::restoredFile(app.AppSettings, app.roots));
        if (!repaired.isEmpty()) {
            io.out << "repaired: " << repaired << Qt::endl;
        }
    }
    LocateDataFolder(app, app.AppSettings.GetValue(QStringLiteral("datapath")),
                     QStringLiteral("verdell.mdb"));
    const QString file =
        paths::toHost(paths::join(app.AppSettings.GetValue(QStringLiteral("datapath")),
                                  app.AppSettings.GetValue(QStringLiteral("dataname"))),
                      app.roots);
    const bool onServer = server && !embeddedOnly;
    if (!app.DbConnection.open(onServer ? server->connectionString() : connection::forFile(file))) {
        fail(io, QStringLiteral("cannot open the database %1: %2")
                     .arg(onServer ? server->connectionString() : file,
                          app.DbConnection.lastError().message));
        return false;
    }
    return true;
}

namespace {

// The database open and brought up to date, with the options, date format and templates
// folder the screens would have.
bool openAsTheProgramDoes(AppState& app, Streams io) {
    if (!openDatabase(app, io, false)) {
        return false;
    }
    const QString failure = revisions::bringUpToDate(app.DbConnection);
    if (!failure.isEmpty()) {
        fail(io, failure);
        return false;
    }
    LoadOptions(app);
    LoadDefaultDateFormat(app);
    app.TemplateFolder = app.AppSettings.GetValue(QStringLiteral("TemplatePath"));
    return true;
}

// What the last message to the user said, on one line.
QString lastMessage(AppState& app) {
    auto* recorded = dynamic_cast<ScriptedPrompter*>(&app.prompter);
    if (!recorded || recorded->count() == 0) {
        return {};
    }
    QString text = recorded->last().prompt;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).simplified();
}

// The value after an option such as "--job", or an empty text.
QString option(const QStringList& arguments, const QString& name) {
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : QString();
}

int check(AppState& app, const QStringList&, Streams io) {
    if (!openDatabase(app, io, false)) {
        return 1;
    }
    Database& db = app.DbConnection;
    const QString file = db.describe();
    io.out << "database: " << file << Qt::endl;
    if (DatabaseNeedsUpgrade(db)) {
        UpgradeSchema(db);
        io.out << "upgraded: yes" << Qt::endl;
    }
    const revisions::Outcome revised = revisions::apply(db);
    for (const QString& done : revised.done) {
        io.out << "migrated: " << done << Qt::endl;
    }
    if (!revised.error.isEmpty()) {
        return fail(io, revised.error);
    }
    // Texts another program changed without their folded copy and sort key are found again.
    if (const QString failure = textkeys::keepUpToDate(db); !failure.isEmpty()) {
        return fail(io, failure);
    }
    const std::optional<qint64> corrected = textkeys::refill(db, textkeys::Refill::All);
    if (!corrected) {
        return fail(io, QStringLiteral("the copies of the texts used for searching and sorting "
                                       "could not be checked: %1")
                            .arg(db.lastError().message));
    }
    if (*corrected > 0) {
        io.out << "search copies of texts corrected: " << *corrected << " rows" << Qt::endl;
    }
    const QString version = db.scalar(QStringLiteral("SELECT Version FROM Version")).toString();
    io.out << "version: " << version << Qt::endl;
    io.out << "revision: " << revisions::current(db) << Qt::endl;
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
    // A counter that would give a number in use again is moved past the highest in use.
    const counters::Corrections checked = counters::correctAll(db);
    for (const QString& line : checked.messages) {
        io.out << "counters: " << line << Qt::endl;
    }
    if (!checked.error.isEmpty()) {
        return fail(io, QStringLiteral("the counters could not be checked: %1").arg(checked.error));
    }
    // Kept apart because they differ in more than their name: someone has to decide.
    for (const QString& shared : revisions::contactsSharingAName(db)) {
        io.out << "contacts sharing a name: " << shared << Qt::endl;
    }
    for (const QString& repaired : repairInterruptedDocuments(app)) {
        io.out << "documents folder: " << repaired << Qt::endl;
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

bool templateExists(AppState& app, const QString& name, Streams io) {
    const QString path = templatesFolder(app) + u'/' + name;
    if (name.isEmpty() || !QFileInfo(path).isFile()) {
        fail(io, QStringLiteral("there is no template '%1' in %2").arg(name, templatesFolder(app)));
        return false;
    }
    return true;
}

int createDocument(AppState& app, const QStringList& arguments, Streams io) {
    bool numeric = false;
    const qint32 jobNo = option(arguments, QStringLiteral("--job")).toInt(&numeric);
    const QString templateName = option(arguments, QStringLiteral("--template")).trimmed();
    if (!numeric || jobNo < 1 || templateName.isEmpty()) {
        return fail(io, QStringLiteral("create-document needs --job NUMBER and --template NAME"));
    }
    if (!openAsTheProgramDoes(app, io) || !templateExists(app, templateName, io)) {
        return 1;
    }
    const jobs::LoadedJob job = jobs::readJob(app.DbConnection, jobs::jobFormat(app), jobNo);
    if (job.outcome != jobs::LoadedJob::Outcome::Found) {
        return fail(io, job.outcome == jobs::LoadedJob::Outcome::NotFound
                            ? QStringLiteral("there is no job %1").arg(jobNo)
                            : QStringLiteral("the database cannot be read: %1").arg(job.error));
    }
    const MadeDocument doc = makeJobDocument(
        app, jobNo, templateName, option(arguments, QStringLiteral("--title")), job.fields);
    if (!doc.error.isEmpty()) {
        return fail(io, QStringLiteral("the document cannot be recorded: %1").arg(doc.error));
    }
    if (doc.path.isEmpty()) {
        return fail(io, QStringLiteral("the document was not made: %1").arg(lastMessage(app)));
    }
    io.out << doc.path << Qt::endl;
    return 0;
}

int printEstimate(AppState& app, const QStringList& arguments, Streams io) {
    bool numeric = false;
    const qint64 estNo = arguments.value(0).toLongLong(&numeric);
    if (!numeric || estNo < 1) {
        return fail(io, QStringLiteral("print-estimate needs the number of an estimate"));
    }
    if (!openAsTheProgramDoes(app, io)) {
        return 1;
    }
    const std::optional<estimates::StoredEstimate> estimate =
        estimates::LoadFullEstimate(app.DbConnection, estNo);
    if (!estimate) {
        return fail(io, app.DbConnection.lastError().ok()
                            ? QStringLiteral("there is no estimate %1 with lines").arg(estNo)
                            : QStringLiteral("the database cannot be read: %1")
                                  .arg(app.DbConnection.lastError().message));
    }
    const QString path = estimates::printAndRecord(app, estimates::printoutOf(*estimate),
                                                   int(estimate->lines.size()));
    if (path.isEmpty()) {
        return fail(io, QStringLiteral("the estimate was not printed: %1").arg(lastMessage(app)));
    }
    io.out << path << Qt::endl;
    return 0;
}

int preprocess(AppState& app, const QStringList& arguments, Streams io) {
    const QString name = arguments.value(0).trimmed();
    if (name.isEmpty()) {
        return fail(io, QStringLiteral("preprocess needs the name of a template"));
    }
    if (!openAsTheProgramDoes(app, io) || !templateExists(app, name, io)) {
        return 1;
    }
    const auto found = PreProcessTemplate(app, templatesFolder(app) + u'/' + name);
    if (!found) {
        return fail(io, lastMessage(app));
    }
    for (const QString& token : *found) {
        io.out << token << Qt::endl;
    }
    return 0;
}

// The one file argument of a command, made absolute.
QString fileArgument(const QStringList& arguments) {
    const QString file = arguments.value(0).trimmed();
    return file.isEmpty() ? file : QFileInfo(file).absoluteFilePath();
}

int importOlder(AppState& app, const QStringList& arguments, Streams io) {
    const QString file = fileArgument(arguments);
    if (file.isEmpty()) {
        return fail(io, QStringLiteral("import needs the older database file"));
    }
    if (!openAsTheProgramDoes(app, io)) {
        return 1;
    }
    if (file == QFileInfo(app.DbConnection.fileName()).absoluteFilePath()) {
        return fail(io, QStringLiteral("%1 is the database in use").arg(file));
    }
    QString error;
    const auto older = openTableSource(file, &error);
    if (!older) {
        return fail(io, error);
    }
    SilentProgress quiet;
    QStringList corrected;
    const auto steps = olderimport::UpdateDatabase(app.DbConnection, *older, quiet, &corrected);
    for (const auto& step : steps) {
        io.out << step.caption << ": "
               << (step.skipped ? QStringLiteral("passed over, ") + step.reason
                                : QString::number(step.rows) + QStringLiteral(" rows"))
               << (step.missingColumns.isEmpty()
                       ? QString()
                       : QStringLiteral(", without ") +
                             step.missingColumns.join(QStringLiteral(", ")) +
                             QStringLiteral(" (not in the older table)"))
               << Qt::endl;
    }
    for (const QString& line : corrected) {
        io.out << "counters: " << line << Qt::endl;
    }
    if (olderimport::nothingImported(steps)) {
        return fail(io, QStringLiteral("nothing was imported: %1 holds none of the tables of an "
                                       "earlier Verdell database")
                            .arg(file));
    }
    return 0;
}

int migrate(AppState& app, const QStringList& arguments, Streams io) {
    const QString file = fileArgument(arguments);
    if (file.isEmpty()) {
        return fail(io, QStringLiteral("migrate needs the database file of the earlier release"));
    }
    if (databaseFileKind(file) != DatabaseFileKind::Jet) {
        return fail(
            io, QStringLiteral("%1 is not a database of the earlier Windows release").arg(file));
    }
    SilentProgress quiet;
    const conversion::Result result = conversion::ConvertJetDatabase(file, quiet);
    if (!result.error.isEmpty()) {
        return fail(io, result.error + QStringLiteral(" The original file has not been changed."));
    }
    SetDBReg(app, QFileInfo(file).absolutePath(), QFileInfo(file).fileName());
    io.out << "converted: " << file << Qt::endl;
    io.out << "original kept as: " << result.keptOriginal << Qt::endl;
    return 0;
}

int backupTo(AppState& app, const QStringList& arguments, Streams io) {
    const QString file = fileArgument(arguments);
    if (file.isEmpty()) {
        return fail(io, QStringLiteral("backup needs the file to write"));
    }
    // A script's backup never replaces what is there (a file of another day, a device).
    if (QFileInfo::exists(file) || QFileInfo(file).isSymLink()) {
        return fail(io, QStringLiteral("%1 exists already; a backup never replaces a file: name "
                                       "a new one")
                            .arg(file));
    }
    if (!openDatabase(app, io, false)) {
        return 1;
    }
    const QString error = backup::BackupDatabase(app.DbConnection, file);
    if (!error.isEmpty()) {
        return fail(io, error);
    }
    io.out << "backup: " << file << Qt::endl;
    return 0;
}

int restoreFrom(AppState& app, const QStringList& arguments, Streams io) {
    const QString file = fileArgument(arguments);
    if (file.isEmpty()) {
        return fail(io, QStringLiteral("restore needs the backup file"));
    }
    if (!QFileInfo::exists(app.AppSettings.storeFile())) {
        return fail(io, QStringLiteral("there are no settings at %1; run 'verdell-admin init' "
                                       "first")
                            .arg(app.AppSettings.storeFile()));
    }
    const backup::RestoreResult result = backup::RestoreDatabase(app, file);
    if (!result.error.isEmpty()) {
        return fail(io, result.error + QStringLiteral(" The database is as it was."));
    }
    io.out << "restored: " << app.DbConnection.describe() << Qt::endl;
    if (!result.keptFile.isEmpty()) {
        io.out << "replaced database kept as: " << result.keptFile << Qt::endl;
    }
    return 0;
}

}  // namespace

int run(AppState& app, const QStringList& arguments, Streams io) {
    using Command = std::function<int(AppState&, const QStringList&, Streams)>;
    const QHash<QString, Command> commands{
        {QStringLiteral("init"), init},
        {QStringLiteral("check"), check},
        {QStringLiteral("create-document"), createDocument},
        {QStringLiteral("preprocess"), preprocess},
        {QStringLiteral("print-estimate"), printEstimate},
        {QStringLiteral("import"), importOlder},
        {QStringLiteral("migrate"),
         [](AppState& a, const QStringList& args, Streams s) {
             // To a server with --to; otherwise a file of the earlier release, in its place.
             return args.contains(QStringLiteral("--to")) ? migrateToServer(a, args, s)
                                                          : migrate(a, args, s);
         }},
        {QStringLiteral("backup"), backupTo},
        {QStringLiteral("restore"), restoreFrom},
        {QStringLiteral("report"),
         [](AppState& a, const QStringList& args, Streams s) {
             return report(a, args, s, [&] { return openAsTheProgramDoes(a, s); });
         }},
        {QStringLiteral("export"),
         [](AppState& a, const QStringList& args, Streams s) {
             return exportList(a, args, s, [&] { return openAsTheProgramDoes(a, s); });
         }},
    };
    const QString first = arguments.value(0);
    if (arguments.isEmpty() || first == QLatin1String("--help") || first == QLatin1String("-h") ||
        first == QLatin1String("help")) {
        io.out << kUsage;
        return arguments.isEmpty() ? 2 : 0;
    }
    if (first == QLatin1String("--version") || first == QLatin1String("-v")) {
        io.out << "verdell-admin " << VERDELL_VERSION << Qt::endl;
        return 0;
    }
    const auto command = commands.find(arguments.first());
    if (command == commands.end()) {
        io.err << kUsage;
        return fail(io, QStringLiteral("unknown command '%1'").arg(arguments.first()));
    }
    return (*command)(app, arguments.mid(1), io);
}

}  // namespace admin
