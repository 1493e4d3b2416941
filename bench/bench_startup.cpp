// Start-up time: from starting the program to its main window painted, on a register of
// 100,000 jobs.
//
// Each run starts bin/verdell in a home and settings folder of its own, with the settings of an
// installation that has been used before, and waits for it to quit by itself once the main
// window has been painted (VERDELL_QUIT_WHEN_SHOWN). The database is the one named by
// VERDELL_BENCH_DB when that is set, otherwise one generated here.

#include "DataGenerator.h"
#include "db/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>
#include <memory>

#ifndef VERDELL_PROGRAM
#error "VERDELL_PROGRAM names the verdell program to measure"
#endif

namespace {

constexpr int kStartTimeoutMs = 120000;

struct Installation {
    QTemporaryDir root;
    QString program = QStringLiteral(VERDELL_PROGRAM);
    QString database;
    qint64 jobs = 0;
    QProcessEnvironment environment;

    QString home() const { return root.path() + QStringLiteral("/home"); }
    QString config() const { return root.path() + QStringLiteral("/config"); }
    QString dataFolder() const { return home() + QStringLiteral("/Verdell Std"); }
};

std::unique_ptr<Installation> installation;

// Makes the home folder, the data folder and the settings file; gives the reason it failed.
QString install(Installation& in) {
    if (!in.root.isValid()) {
        return QStringLiteral("no temporary folder: ") + in.root.errorString();
    }
    if (!QFileInfo(in.program).isExecutable()) {
        return QStringLiteral("the program %1 is not built").arg(in.program);
    }
    // The data folder exists already, so the program does not install a new one on its start.
    for (const char* sub : {"Docs", "Templates", "Images"}) {
        if (!QDir().mkpath(in.dataFolder() + u'/' + QLatin1String(sub))) {
            return QStringLiteral("cannot make the folder %1").arg(in.dataFolder());
        }
    }
    if (!QDir().mkpath(in.config() + QStringLiteral("/Corvane"))) {
        return QStringLiteral("cannot make the folder %1").arg(in.config());
    }
    const QString runtime = in.root.path() + QStringLiteral("/runtime");
    if (!QDir().mkpath(runtime) ||
        !QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner)) {
        return QStringLiteral("cannot make the folder %1").arg(runtime);
    }

    const QString given = qEnvironmentVariable("VERDELL_BENCH_DB");
    if (!given.isEmpty()) {
        if (!QFileInfo(given).isFile()) {
            return QStringLiteral("VERDELL_BENCH_DB names %1, which is not a file").arg(given);
        }
        in.database = QFileInfo(given).absoluteFilePath();
    } else {
        in.database = in.dataFolder() + QStringLiteral("/verdell.mdb");
        QTextStream(stderr) << "Generating " << in.database << " ..." << Qt::endl;
        const QString failure =
            benchdata::createFile(in.database, benchdata::DataSize{}, 1, QDate::currentDate());
        if (!failure.isEmpty()) {
            return QStringLiteral("cannot generate the database: ") + failure;
        }
    }
    {
        Database db;
        if (!db.open(connection::forFile(in.database))) {
            return QStringLiteral("cannot open %1: %2").arg(in.database, db.lastError().message);
        }
        in.jobs = db.scalar(QStringLiteral("SELECT count(*) FROM Jobs")).toLongLong();
        const qint64 lastJob = db.scalar(QStringLiteral("SELECT max(JobNo) FROM Jobs")).toLongLong();
        db.close();

        const QFileInfo file(in.database);
        QSettings settings(in.config() + QStringLiteral("/Corvane/Verdell.conf"),
                           QSettings::IniFormat);
        settings.setValue(QStringLiteral("datapath"), file.absolutePath());
        settings.setValue(QStringLiteral("dataname"), file.fileName());
        settings.setValue(QStringLiteral("firstrun"), QStringLiteral("0"));
        settings.setValue(QStringLiteral("lastjob"), QString::number(lastJob));
        settings.setValue(QStringLiteral("docpath"),
                          QString(in.dataFolder() + QStringLiteral("/Docs")));
        settings.setValue(QStringLiteral("templatepath"),
                          QString(in.dataFolder() + QStringLiteral("/Templates")));
        settings.sync();
        if (settings.status() != QSettings::NoError) {
            return QStringLiteral("cannot write the settings file %1").arg(settings.fileName());
        }
    }

    // The offscreen screen is made as large as an office monitor, so the program's check of the
    // screen resolution passes without a message box.
    const QString screens = in.root.path() + QStringLiteral("/screens.json");
    QFile json(screens);
    if (!json.open(QIODevice::WriteOnly) ||
        json.write("{ \"screens\": [ { \"name\": \"bench\", \"x\": 0, \"y\": 0, "
                   "\"width\": 1920, \"height\": 1080, \"logicalDpi\": 96, "
                   "\"logicalBaseDpi\": 96, \"dpr\": 1 } ] }\n") < 0) {
        return QStringLiteral("cannot write %1").arg(screens);
    }
    json.close();

    in.environment = QProcessEnvironment::systemEnvironment();
    in.environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                          QStringLiteral("offscreen:configfile=") + screens);
    in.environment.insert(QStringLiteral("VERDELL_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    in.environment.insert(QStringLiteral("HOME"), in.home());
    in.environment.insert(QStringLiteral("XDG_CONFIG_HOME"), in.config());
    in.environment.insert(QStringLiteral("XDG_DATA_HOME"), in.root.path() + QStringLiteral("/data"));
    in.environment.insert(QStringLiteral("XDG_CACHE_HOME"), in.root.path() + QStringLiteral("/cache"));
    in.environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    return {};
}

struct Run {
    bool ok = false;
    double seconds = 0;
    QString failure;
};

Run startOnce(const Installation& in) {
    QProcess process;
    process.setProcessEnvironment(in.environment);
    process.setWorkingDirectory(in.home());
    process.setProcessChannelMode(QProcess::MergedChannels);
    Run run;
    QElapsedTimer timer;
    timer.start();
    process.start(in.program, {});
    if (!process.waitForStarted(kStartTimeoutMs)) {
        run.failure = QStringLiteral("verdell did not start: ") + process.errorString();
        return run;
    }
    const bool finished = process.waitForFinished(kStartTimeoutMs);
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!finished) {
        process.kill();
        process.waitForFinished();
        run.failure = QStringLiteral("verdell did not quit within %1 s (a message box?)")
                          .arg(kStartTimeoutMs / 1000);
        return run;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString output = QString::fromLocal8Bit(process.readAll()).simplified();
        run.failure = QStringLiteral("verdell ended with status %1%2: %3")
                          .arg(process.exitCode())
                          .arg(process.exitStatus() == QProcess::CrashExit
                                   ? QStringLiteral(" (crashed)")
                                   : QString())
                          .arg(output.left(400));
        return run;
    }
    run.ok = true;
    return run;
}

void BM_StartupToMainWindow(benchmark::State& state) {
    for (auto _ : state) {
        const Run run = startOnce(*installation);
        if (!run.ok) {
            state.SkipWithError(run.failure.toStdString().c_str());
            break;
        }
        state.SetIterationTime(run.seconds);
    }
    state.counters["jobs"] = double(installation->jobs);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }

    installation = std::make_unique<Installation>();
    if (const QString failure = install(*installation); !failure.isEmpty()) {
        QTextStream(stderr) << "bench_startup: " << failure << Qt::endl;
        return 1;
    }
    // One start before measuring: the files are then in the page cache for every measured run,
    // and a program that cannot start is reported once.
    if (const Run first = startOnce(*installation); !first.ok) {
        QTextStream(stderr) << "bench_startup: " << first.failure << Qt::endl;
        return 1;
    }

    benchmark::RegisterBenchmark("StartupToMainWindow", BM_StartupToMainWindow)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(15)
        ->ReportAggregatesOnly(true);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    installation.reset();
    return 0;
}
