// Reports on a register of 100,000 jobs: the job age report from the click on Create Report
// (the ages rebuilt, the rows read and laid out, the preview window's first page painted), and
// the PDF of every job (the job report of all jobs), with the process's peak memory.
//
// The database is a private copy of the one named by VERDELL_BENCH_DB (bench/run sets it),
// because the job age report rewrites its scratch table.

#include "BenchApplication.h"
#include "records/Captions.h"
#include "reports/JobAgeReport.h"
#include "reports/JobStatusReport.h"
#include "reports/ReportOutput.h"
#include "reports/ShowReport.h"
#include "reports/frmReportPreview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <sys/resource.h>

namespace {

std::unique_ptr<BenchApplication> bench;

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// Every job (the job report of all jobs, by number) written as a PDF file.
void AllJobsPdf(benchmark::State& state) {
    AppState& app = bench->app;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("all-jobs.pdf"));
    int pages = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const ReportRequest request =
            jobStatusReport(app.FieldCaptions, kAllJobs, JobReportOrder::JobNumber);
        ProducedReport produced =
            produceReport(app.DbConnection, request, reportContext(app), QPageSize::A4);
        QString error;
        if (!produced.ok || !reportoutput::writePdf(produced.pages, file, request.title, &error)) {
            state.SkipWithError(qPrintable(produced.error + error));
            return;
        }
        pages = produced.pages.pageCount();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
    state.counters["pages"] = pages;
    state.counters["pdf_MB"] = double(QFileInfo(file).size()) / 1e6;
    state.counters["peak_MB"] = peakMegabytes();
}

// Create Report on the job age screen for every job, sorted by age: the table rebuilt, the
// report produced and its first page painted in the preview window.
void JobAgeReportFirstPage(benchmark::State& state) {
    AppState& app = bench->app;
    JobAgeChoice choice = defaultJobAgeChoice(app);
    choice.days = QStringLiteral("0");
    choice.sortCaption = QStringLiteral("Job Age");
    choice.grouped = state.range(0) != 0;
    int rows = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        if (!UpdateAgeTable(app.DbConnection, app.FieldCaptions, app.clock.today(), choice.status,
                            choice.introducer, choice.dateCaption)) {
            state.SkipWithError("the ages were not rebuilt");
            return;
        }
        frmReportPreview* preview = ShowReport(app, jobAgeReport(app.FieldCaptions, choice));
        if (!preview) {
            state.SkipWithError("the report was not produced");
            return;
        }
        preview->repaint();
        QApplication::processEvents();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        rows = preview->pages().rowCount();
        preview->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    state.counters["jobs"] = rows;
    state.counters["peak_MB"] = peakMegabytes();
}

}  // namespace

BENCHMARK(AllJobsPdf)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(JobAgeReportFirstPage)->ArgName("grouped")->Arg(0)->Arg(1)->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    bench = std::make_unique<BenchApplication>();
    QString error;
    if (!bench->open(true, &error)) {
        fprintf(stderr, "bench_reports: %s\n", qPrintable(error));
        return 1;
    }
    captions::load(bench->app.DbConnection, bench->app.FieldCaptions);
    bench->app.DefaultDateFormat = QStringLiteral("dd/mm/yyyy");
    benchmark::RunSpecifiedBenchmarks();
    bench.reset();
    return 0;
}
