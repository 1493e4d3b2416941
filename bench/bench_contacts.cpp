// The client and customer search on 20,000 customers and 5,000 clients: the search screen from
// Go to the grid painted. The database is the one named by VERDELL_BENCH_DB (bench/run sets it);
// each case reports the median of its repetitions and the rows listed.

#include "BenchApplication.h"
#include "ManualTiming.h"
#include "search/frmSearch.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <memory>

namespace {

constexpr int kRepetitions = 15;

struct Search {
    bool clients;
    const char* text;
};
// A common surname, a street part of many addresses, a text nobody holds, everyone, and a part
// of client names.
constexpr Search kSearches[] = {{false, "smith"}, {false, "meadow"}, {false, "zzqx"},
                                {false, ""},      {true, ""},        {true, "lett"}};

struct Application : BenchApplication {
    // One search screen for customers, one for clients.
    std::unique_ptr<frmSearch> forms[2];
};

std::unique_ptr<Application> application;

void BM_ContactSearch(benchmark::State& state, const Search& search) {
    frmSearch& form = *application->forms[search.clients ? 1 : 0];
    form.findChild<QLineEdit*>(QStringLiteral("txtSearch"))
        ->setText(QString::fromUtf8(search.text));
    const QTableView* grid = form.findChild<QTableView*>(QStringLiteral("fgSearch"));
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        form.cmdGo_Click();
        form.repaint();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        state.counters["rows"] = grid->model()->rowCount();
    }
}

void configure(benchmark::internal::Benchmark* b) {
    timedRuns(b, 1, kRepetitions);
}

}  // namespace

BENCHMARK_CAPTURE(BM_ContactSearch, customers_surname, kSearches[0])->Apply(configure);
BENCHMARK_CAPTURE(BM_ContactSearch, customers_street, kSearches[1])->Apply(configure);
BENCHMARK_CAPTURE(BM_ContactSearch, customers_nothing, kSearches[2])->Apply(configure);
BENCHMARK_CAPTURE(BM_ContactSearch, customers_all, kSearches[3])->Apply(configure);
BENCHMARK_CAPTURE(BM_ContactSearch, clients_all, kSearches[4])->Apply(configure);
BENCHMARK_CAPTURE(BM_ContactSearch, clients_part, kSearches[5])->Apply(configure);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    application = std::make_unique<Application>();
    if (!application->openOrSay(false, "bench_contacts")) {
        return 1;
    }
    for (bool clients : {false, true}) {
        auto& form = application->forms[clients ? 1 : 0];
        form = std::make_unique<frmSearch>(application->app, clients);
        form->show();
    }
    QApplication::processEvents();
    benchmark::RunSpecifiedBenchmarks();
    application.reset();
    return 0;
}
