// The job screen on a register of 100,000 jobs: opening it on the last job, showing any job, and
// saving a job (an existing one, and a new one that takes a number). LoadAnyJob/server shows
// jobs from the same register on the database server that VERDELL_BENCH_PG names, and is
// skipped when none is named.

#include "BenchApplication.h"
#include "jobs/frmJobs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

std::unique_ptr<BenchApplication> bench;
// The same register on a database server, when one is named.
std::unique_ptr<BenchApplication> server;
QString noServer;
qint32 highestJob = 0;

double elapsedSeconds(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e9; }

void OpenJobScreenOnLastJob(benchmark::State& state) {
    bench->app.AppSettings.SetValue(QStringLiteral("LastJob"), QString::number(highestJob));
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        auto screen = std::make_unique<frmJobs>(bench->app);
        screen->Form_Load();
        screen->show();
        QApplication::processEvents();
        state.SetIterationTime(elapsedSeconds(timer));
        if (!screen->jobLoaded()) {
            state.SkipWithError("the last job was not shown");
        }
    }
}

void loadAnyJob(benchmark::State& state, BenchApplication& on) {
    frmJobs screen(on.app);
    screen.Form_Load();
    QRandomGenerator pick(7);
    for (auto _ : state) {
        const qint32 number = pick.bounded(1, highestJob + 1);
        QElapsedTimer timer;
        timer.start();
        const int result = screen.LoadJob(number);
        state.SetIterationTime(elapsedSeconds(timer));
        if (result != 0) {
            state.SkipWithError("a job was not found");
        }
    }
}

void LoadAnyJob(benchmark::State& state) { loadAnyJob(state, *bench); }

void LoadAnyJobOnServer(benchmark::State& state) {
    if (!server) {
        state.SkipWithError(noServer.toStdString().c_str());
        for (auto _ : state) {
        }
        return;
    }
    loadAnyJob(state, *server);
}

void SaveChangedJob(benchmark::State& state) {
    frmJobs screen(bench->app);
    screen.Form_Load();
    screen.LoadJob(highestJob / 2);
    int round = 0;
    for (auto _ : state) {
        screen.findChild<QPlainTextEdit*>(QStringLiteral("txtNotes"))
            ->appendPlainText(QStringLiteral("Called again %1").arg(++round));
        QElapsedTimer timer;
        timer.start();
        const bool saved = screen.cmdSave_Click();
        state.SetIterationTime(elapsedSeconds(timer));
        if (!saved) {
            state.SkipWithError("the job was not saved");
        }
    }
}

void SaveNewJob(benchmark::State& state) {
    frmJobs screen(bench->app);
    screen.Form_Load();
    for (auto _ : state) {
        screen.cmdNewJob_Click();
        screen.findChild<QLineEdit*>(QStringLiteral("txtCustName"))
            ->setText(QStringLiteral("Mrs A. Benchmark"));
        screen.findChild<QPlainTextEdit*>(QStringLiteral("txtHomeAddress"))
            ->setPlainText(QStringLiteral("1 Test Row\nLeeds\nLS1 1AA"));
        screen.findChild<QPlainTextEdit*>(QStringLiteral("txtWorkDetails"))
            ->setPlainText(QStringLiteral("Replace the valve and test."));
        screen.findChild<QLineEdit*>(QStringLiteral("txtCliName"))
            ->setText(QStringLiteral("Harbour Estates Ltd"));
        QElapsedTimer timer;
        timer.start();
        const bool saved = screen.cmdSave_Click();
        state.SetIterationTime(elapsedSeconds(timer));
        if (!saved) {
            state.SkipWithError("the job was not saved");
        }
    }
}

}  // namespace

BENCHMARK(OpenJobScreenOnLastJob)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(LoadAnyJob)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200)
    ->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(LoadAnyJobOnServer)->Name("LoadAnyJob/server")->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Iterations(200)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(SaveChangedJob)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50)
    ->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(SaveNewJob)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50)
    ->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    bench = std::make_unique<BenchApplication>();
    if (!bench->openOrSay(true, "bench_jobs")) {
        return 1;
    }
    server = std::make_unique<BenchApplication>();
    if (!server->openServer(&noServer)) {
        server.reset();
    }
    highestJob = bench->app.DbConnection.scalar(QStringLiteral("SELECT max(JobNo) FROM Jobs")).toInt();
    benchmark::RunSpecifiedBenchmarks();
    server.reset();
    bench.reset();
    return 0;
}
