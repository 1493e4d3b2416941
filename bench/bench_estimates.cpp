// The estimates screen on the generated data set (10,000 estimates): loading an estimate of 200
// lines, printing it through the sample estimate template, and finding estimates by part of a
// customer's name with the grid filled. Works on a private copy of the database, which gets the
// 200-line estimate.

#include "BenchApplication.h"
#include "ManualTiming.h"
#include "estimates/EstimateStore.h"
#include "estimates/frmEstimate.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTableWidget>

namespace {

constexpr qint64 kBigEstimate = 900000;
constexpr int kLines = 200;

std::unique_ptr<BenchApplication> bench;
std::unique_ptr<frmEstimate> screen;

double elapsedSeconds(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e9;
}

bool addBigEstimate(Database& db) {
    estimates::EstimateSave save;
    save.EstNo = kBigEstimate;
    save.customer = {QStringLiteral("Mrs Zo\u00EB O'Brien"), QStringLiteral("Zo\u00EB"),
                     QStringLiteral("14 Larkspur Close\nHeadingley\nLeeds\nLS6 2QT"),
                     QStringLiteral("0113 496 0421"), QStringLiteral("zoe@example.org")};
    save.Delivery = QStringLiteral("20");
    save.DateCreated = QStringLiteral("06/12/2026");
    QList<estimates::EstimateLine> lines;
    for (int i = 1; i <= kLines; ++i) {
        lines << estimates::EstimateLine{
            QString::number(i % 7 + 1),
            QStringLiteral("Item %1: copper fitting, supplied and fitted").arg(i),
            QStringLiteral("%1.25").arg(i % 40), QStringLiteral("%1.75").arg(i % 60)};
    }
    return bool(estimates::SaveEstimate(db, save, lines));
}

void LoadEstimateOf200Lines(benchmark::State& state) {
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const bool loaded = screen->LoadFullEstimate(kBigEstimate);
        screen->repaint();
        state.SetIterationTime(elapsedSeconds(timer));
        if (!loaded || screen->findChild<QTableWidget*>(QStringLiteral("fgEstimate"))->rowCount() !=
                           kLines + 1) {
            state.SkipWithError("the estimate was not loaded");
        }
    }
}

void PrintEstimateOf200Lines(benchmark::State& state) {
    screen->LoadFullEstimate(kBigEstimate);
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        screen->cmdPrint_Click();
        state.SetIterationTime(elapsedSeconds(timer));
        if (!bench->prompter.calls().isEmpty()) {
            state.SkipWithError(qPrintable(bench->prompter.calls().last().prompt));
            break;
        }
    }
}

void SearchByName(benchmark::State& state) {
    screen->findChild<QLineEdit*>(QStringLiteral("txtSearch"))->setText(QStringLiteral("smith"));
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        screen->cmdGoSearch_Click();
        screen->repaint();
        state.SetIterationTime(elapsedSeconds(timer));
        state.counters["found"] =
            screen->findChild<QTableWidget*>(QStringLiteral("fgExisting"))->rowCount() - 1;
    }
}

void configure(benchmark::internal::Benchmark* b) {
    timedRuns(b, 5, 5);
}

}  // namespace

BENCHMARK(LoadEstimateOf200Lines)->Apply(configure);
BENCHMARK(PrintEstimateOf200Lines)->Apply(configure);
BENCHMARK(SearchByName)->Apply(configure);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    bench = std::make_unique<BenchApplication>();
    if (!bench->openOrSay(true, "bench_estimates")) {
        return 1;
    }
    const QString templates = bench->folder.path() + QStringLiteral("/Templates");
    QDir().mkpath(templates);
    QFile::copy(QStringLiteral(VERDELL_TEMPLATES "/Estimate.dotx"),
                templates + QStringLiteral("/Estimate.dotx"));
    bench->app.TemplateFolder = templates;
    bench->app.AppSettings.SetValue(QStringLiteral("DocPath"),
                                    bench->folder.path() + QStringLiteral("/Docs"));
    bench->app.AppSettings.SetValue(QStringLiteral("EstimateDoc"), QStringLiteral("Estimate.dotx"));
    if (!addBigEstimate(bench->app.DbConnection)) {
        fprintf(stderr, "bench_estimates: the 200-line estimate could not be written\n");
        return 1;
    }
    screen = std::make_unique<frmEstimate>(bench->app);
    screen->Form_Load();
    screen->show();
    QApplication::processEvents();
    benchmark::RunSpecifiedBenchmarks();
    screen.reset();
    bench.reset();
    return 0;
}
