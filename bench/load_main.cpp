// verdell-load-test: several workstations on one database at once, each a process of its own
// doing a mix of operations, on the embedded file and on a database server, and on the server
// again while it is stopped and started twice. It checks the database against what each
// workstation did and prints the save latency; a timed test this is not, so it is not run by
// make check (README, "Several workstations under load").
//
//   verdell-load-test [--runs sqlite,postgresql,restarts] [--workstations 10]
//                     [--operations 1000] [--minutes 20]
//
// The server runs are skipped when PostgreSQL is not installed; the test runs a private server
// of its own through scripts/pg-test-server, which it can stop and start.

#include "BenchApplication.h"
#include "LoadCheck.h"
#include "LoadWorkstation.h"
#include "addressbook/ContactRecord.h"
#include "db/Schema.h"
#include "db/ServerAddress.h"
#include "estimates/EstimateStore.h"
#include "jobs/JobStore.h"
#include "records/Captions.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

void say(const QString& text) {
    std::printf("%s\n", qPrintable(text));
    std::fflush(stdout);
}

QString option(const QStringList& args, const QString& name, const QString& fallback) {
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
}

// A private database server on a free port, in a folder of its own, that can be stopped and
// started.
class PrivateServer {
public:
    explicit PrivateServer(const QString& folder) : folder_(folder) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port_ = QString::number(probe.serverPort());
    }
    ~PrivateServer() {
        if (started_) {
            run(QStringLiteral("stop"));
        }
    }
    bool start(QString* url) {
        QByteArray out;
        started_ = run(QStringLiteral("start"), &out);
        *url = QString::fromUtf8(out).trimmed();
        return started_;
    }
    bool pause() { return run(QStringLiteral("pause")); }
    bool resume() { return run(QStringLiteral("resume")); }

private:
    bool run(const QString& command, QByteArray* out = nullptr) {
        QProcess script;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VERDELL_TEST_PG_PORT"), port_);
        env.insert(QStringLiteral("TMPDIR"), folder_);
        script.setProcessEnvironment(env);
        script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        script.start(QStringLiteral(VERDELL_PG_TEST_SERVER), {command});
        const bool ok = script.waitForFinished(120000) && script.exitCode() == 0;
        if (out) {
            *out = script.readAllStandardOutput();
        }
        return ok;
    }

    QString folder_;
    QString port_;
    bool started_ = false;
};

// The records the workstations share, made before they start: customers first, so that they
// have the identities 1 to kSharedContacts.
bool seed(BenchApplication& bench) {
    AppState& app = bench.app;
    for (int i = 1; i <= load::kSharedContacts; ++i) {
        clsCustomers customer(app.DbConnection);
        customer.Name = QStringLiteral("Contact %1").arg(i);
        if (customer.Save(app.saveStamp()) != SaveOutcome::Saved || customer.DummyID != i) {
            return false;
        }
    }
    for (int i = 1; i <= load::kSharedJobs; ++i) {
        JobFields job;
        job.WorkName = QStringLiteral("Shared customer %1").arg(i);
        job.HomeAddress = QStringLiteral("%1 Shared street\nLeeds").arg(i);
        job.JobStatus = QStringLiteral("Quoted");
        if (jobs::writeJob(app.DbConnection, jobs::jobFormat(app), app.saveStamp(), job, 0).jobNo !=
            i) {
            return false;
        }
    }
    if (!app.DbConnection.exec(QStringLiteral("UPDATE Counters SET Estimate = ?"),
                               {load::kFirstEstimate})) {
        return false;
    }
    for (int i = 0; i < load::kSharedEstimates; ++i) {
        estimates::EstimateSave save;
        save.customer.Name = QStringLiteral("Estimate customer %1").arg(i);
        save.Delivery = QStringLiteral("10");
        save.DateCreated = QStringLiteral("14/03/2026");
        if (!estimates::saveNumberedEstimate(app.DbConnection, save,
                                             {{QStringLiteral("2"), QStringLiteral("Valve"),
                                               QStringLiteral("10"), QStringLiteral("15")},
                                              {QStringLiteral("1"), QStringLiteral("Labour"),
                                               QStringLiteral("5"), QStringLiteral("8")}},
                                             app.saveStamp())) {
            return false;
        }
    }
    return true;
}

struct Run {
    QString name;
    bool server = false;
    int restarts = 0;
};

// One run: the database made and seeded, the workstations started together, the server stopped
// and started in the middle when asked, and everything checked afterwards. True when nothing
// was found wrong.
bool runOnce(const Run& run, int workstations, int operations, int minutes, QString* summary) {
    QTemporaryDir folder;
    // The server runs as another user when this runs as root: it must reach its folder.
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadOther | QFile::ExeOther);
    const QString docs = folder.path() + QStringLiteral("/Docs");
    const QString templates = folder.path() + QStringLiteral("/Templates");
    QDir().mkpath(docs);
    QDir().mkpath(templates);
    QFile::copy(QStringLiteral(VERDELL_TEMPLATES "/") + load::kTemplate,
                templates + u'/' + load::kTemplate);

    std::unique_ptr<PrivateServer> server;
    QString connection;
    if (run.server) {
        server = std::make_unique<PrivateServer>(folder.path());
        QString url;
        QString why;
        const auto address = server->start(&url) ? ServerAddress::fromUrl(url, &why) : std::nullopt;
        if (!address) {
            say(run.name + QStringLiteral(": the private database server did not start"));
            return false;
        }
        connection = address->connectionString();
    } else {
        const QString file = folder.path() + QStringLiteral("/verdell.mdb");
        const QString failure = schema::createDatabaseFile(file);
        if (!failure.isEmpty()) {
            say(run.name + QStringLiteral(": ") + failure);
            return false;
        }
        connection = connection::forFile(file);
    }
    BenchApplication bench;
    QString why;
    if (!bench.openConnection(connection, &why) || !seed(bench)) {
        say(run.name + QStringLiteral(": the database could not be seeded: ") + why +
            bench.app.DbConnection.lastError().message);
        return false;
    }

    const QString program = QCoreApplication::applicationFilePath();
    const qint64 deadlineMs = qint64(minutes) * 60000;
    std::vector<std::unique_ptr<QProcess>> processes;
    QStringList logs;
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < workstations; ++i) {
        logs << folder.path() + QStringLiteral("/workstation-%1.log").arg(i);
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(program, {QStringLiteral("workstation"), connection, docs, templates,
                                 QString::number(i), QString::number(operations), logs.last(),
                                 QString::number(deadlineMs)});
        processes.push_back(std::move(process));
    }
    // The server is stopped for a few seconds when a third and two thirds of the work is done.
    const auto done = [&] {
        qint64 lines = 0;
        for (const QString& log : logs) {
            QFile f(log);
            if (f.open(QIODevice::ReadOnly)) {
                lines += f.readAll().count('\n');
            }
        }
        return lines;
    };
    const qint64 total = qint64(workstations) * operations;
    int restarted = 0;
    bool allEnded = false;
    while (!allEnded && wall.elapsed() < deadlineMs) {
        QCoreApplication::processEvents();  // the processes' ends arrive as events
        allEnded = std::all_of(processes.begin(), processes.end(), [](const auto& p) {
            return p->state() == QProcess::NotRunning;
        });
        const qint64 logged = done();
        // Only while work remains: a stop after the last operation would prove nothing.
        if (restarted < run.restarts && logged < total &&
            logged >= total * (restarted + 1) / (run.restarts + 1)) {
            ++restarted;
            say(QStringLiteral("  %1: server stopped (%2 of %3 operations done)")
                    .arg(run.name)
                    .arg(logged)
                    .arg(total));
            server->pause();
            QThread::sleep(3);
            server->resume();
            say(QStringLiteral("  %1: server started again").arg(run.name));
        }
        QThread::msleep(200);
    }
    bool finished = true;
    for (auto& process : processes) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished();
            finished = false;
        } else if (process->exitCode() != 0) {
            finished = false;
        }
    }
    const double seconds = double(wall.elapsed()) / 1000.0;
    if (restarted < run.restarts) {
        say(QStringLiteral("  the server was stopped %1 times, not %2: the work ended first")
                .arg(restarted)
                .arg(run.restarts));
        finished = false;
    }

    QList<load::Operation> operationsDone;
    QStringList told;
    for (int i = 0; i < logs.size(); ++i) {
        int n = 0;
        operationsDone += load::readLog(logs[i], i, &n);
        told << QString::number(n);
        if (n > restarted) {
            finished = false;
            say(QStringLiteral("  workstation %1 was told %2 times that the server was away, "
                               "for %3 stops")
                    .arg(i)
                    .arg(n)
                    .arg(restarted));
        }
    }
    if (!bench.app.DbConnection.reconnect() && bench.app.DbConnection.serverAway()) {
        say(run.name + QStringLiteral(": the database cannot be reached to check it"));
        return false;
    }
    const load::Findings findings =
        load::check(bench.app.DbConnection, operationsDone, docs, run.restarts > 0);
    int conflicts = findings.outcomes.value(QStringLiteral("kept")) +
                    findings.outcomes.value(QStringLiteral("cancelled"));
    *summary = QStringLiteral("| %1 | %2 | %3 | %4 s | %5 | %6 | %7 | %8 ms | %9 ms |")
                   .arg(run.name)
                   .arg(workstations)
                   .arg(operationsDone.size())
                   .arg(seconds, 0, 'f', 0)
                   .arg(conflicts)
                   .arg(findings.outcomes.value(QStringLiteral("refused")))
                   .arg(findings.problems.size())
                   .arg(load::percentile(findings.saveMs, 0.50))
                   .arg(load::percentile(findings.saveMs, 0.99));
    say(*summary);
    if (operationsDone.size() != total) {
        say(QStringLiteral("  only %1 of %2 operations were logged").arg(operationsDone.size()).arg(total));
        finished = false;
    }
    for (const QString& problem : findings.problems) {
        say(QStringLiteral("  problem: ") + problem);
    }
    return finished && findings.problems.isEmpty();
}

int workstationMain(const QStringList& args) {
    if (args.size() < 9) {
        return 2;
    }
    BenchApplication bench;
    QString why;
    if (!bench.openConnection(args[2], &why)) {
        std::fprintf(stderr, "workstation %s: %s\n", qPrintable(args[5]), qPrintable(why));
        return 1;
    }
    bench.app.AppSettings.SetValue(QStringLiteral("DocPath"), args[3]);
    bench.app.TemplateFolder = args[4];
    captions::load(bench.app.DbConnection, bench.app.FieldCaptions);
    QFile file(args[7]);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        return 1;
    }
    QTextStream log(&file);
    load::Workstation workstation(bench, args[5].toInt(), log);
    const bool ok = workstation.run(args[6].toInt(), args[8].toLongLong());
    log << "told " << workstation.toldAway() << '\n';
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.value(1) == QLatin1String("workstation")) {
        return workstationMain(args);
    }
    const int workstations = option(args, QStringLiteral("--workstations"), QStringLiteral("10")).toInt();
    const int operations = option(args, QStringLiteral("--operations"), QStringLiteral("1000")).toInt();
    const int minutes = option(args, QStringLiteral("--minutes"), QStringLiteral("20")).toInt();
    const QStringList wanted =
        option(args, QStringLiteral("--runs"), QStringLiteral("sqlite,postgresql,restarts"))
            .split(u',', Qt::SkipEmptyParts);
    const bool serverInstalled = !QDir(QStringLiteral("/usr/lib/postgresql")).isEmpty();
    const QList<Run> runs = {{QStringLiteral("sqlite"), false, 0},
                             {QStringLiteral("postgresql"), true, 0},
                             {QStringLiteral("restarts"), true, 2}};
    say(QStringLiteral("| Run | Workstations | Operations | Time | Conflicts | Refused (server "
                       "away) | Problems | Save p50 | Save p99 |"));
    say(QStringLiteral("|---|---|---|---|---|---|---|---|---|"));
    bool allWell = true;
    for (const Run& run : runs) {
        if (!wanted.contains(run.name)) {
            continue;
        }
        if (run.server && !serverInstalled) {
            say(run.name + QStringLiteral(": skipped, PostgreSQL is not installed"));
            continue;
        }
        QString summary;
        allWell = runOnce(run, workstations, operations, minutes, &summary) && allWell;
    }
    return allWell ? 0 : 1;
}
