// "Export to CSV..." of the job search on a register of 100,000 jobs: from the press of the
// button (the file already chosen) to the file whole on the disk, with every job the search
// finds, while the grid has read only its first 200. The database is the one named by
// VERDELL_BENCH_DB (bench/run sets it); each case reports the median of its repetitions, the
// rows written and the file's size.

#include "BenchApplication.h"
#include "ManualTiming.h"
#include "records/Captions.h"
#include "search/JobSearch.h"
#include "search/frmSearchJobs.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>

namespace {

constexpr int kRepetitions = 10;

struct Application : BenchApplication {
    std::unique_ptr<frmSearchJobs> form;
    QTemporaryDir out;
};

std::unique_ptr<Application> application;

void BM_ExportJobs(benchmark::State& state, const char* text) {
    frmSearchJobs& form = *application->form;
    form.findChild<QLineEdit*>(QStringLiteral("txtSearch"))->setText(QString::fromUtf8(text));
    form.cmdSearch_Click();
    const QString file = application->out.filePath(QStringLiteral("jobs.csv"));
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const bool written = form.exportCsv(file);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (!written) {
            state.SkipWithError("the export failed");
            return;
        }
    }
    // The jobs the search finds, all of which are written.
    state.counters["rows"] =
        double(countJobs(application->app.DbConnection, QString::fromUtf8(text), {}).value_or(-1));
    state.counters["MB"] = double(QFileInfo(file).size()) / 1e6;
}

void configure(benchmark::internal::Benchmark* b) {
    timedRuns(b, 1, kRepetitions);
}

}  // namespace

BENCHMARK_CAPTURE(BM_ExportJobs, all, "")->Apply(configure);
BENCHMARK_CAPTURE(BM_ExportJobs, meadow, "meadow")->Apply(configure);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    application = std::make_unique<Application>();
    if (!application->openOrSay(false, "bench_export")) {
        return 1;
    }
    application->form = std::make_unique<frmSearchJobs>(application->app, captions::defaults());
    application->form->Form_Load();
    application->form->show();
    QApplication::processEvents();
    benchmark::RunSpecifiedBenchmarks();
    application.reset();
    return 0;
}
