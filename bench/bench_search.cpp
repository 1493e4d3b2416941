// The job search on a register of 100,000 jobs: the search screen from the click on Search to
// the grid painted, against the same statement run by the sqlite3 command-line shell on the same
// file (writing its rows to /dev/null).
//
// The database is the one named by VERDELL_BENCH_DB (bench/run sets it). Each case reports the
// median of its repetitions: the screen's time, the shell's ("shell_ms") and the screen's time
// over the shell's in the same repetition ("vs_shell").
//
// The same searches run on the database server that VERDELL_BENCH_PG names, holding the same
// register (bench/run copies it there), as Search/<case>/server; they are skipped when no server
// is named.

#include "BenchApplication.h"
#include "ManualTiming.h"
#include "common/Numbers.h"
#include "db/TextKeys.h"
#include "records/Captions.h"
#include "search/frmSearchJobs.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <memory>
#include <sched.h>

namespace {

constexpr int kRepetitions = 15;

// A search the benchmarks run: a name for the reports, and what is typed.
struct Search {
    const char* name;
    const char* text;
};
// A street that a handful of jobs are at, a text that no job holds, and the full list.
constexpr Search kSearches[] = {
    {"handful", "78 Meadow Drive"}, {"nothing", "zzqx"}, {"all", ""}};

// The application on the benchmark database, and the search screen on it.
struct Application : BenchApplication {
    std::unique_ptr<frmSearchJobs> form;
};

std::unique_ptr<Application> application;
// The same on the database server, when one is named.
std::unique_ptr<Application> server;

// The statement searchJobs runs for the text, ordered by job number, with the values written
// into it for the shell.
QString shellStatement(const QString& text) {
    const auto literal = [](const QString& value) -> QString {
        return u'\'' + QString(value).replace(u'\'', QStringLiteral("''")) + u'\'';
    };
    QString sql = QStringLiteral(
        "SELECT DummyId, WorkName, HomeAddress, HomeNumbers, JobNo, JobStatus, DateCreated, "
        "DateReceived, DateDue, CustRef FROM Jobs WHERE ");
    if (text.isEmpty()) {
        sql += QStringLiteral("WorkName <> ''");
    } else {
        const QString pattern = literal(textkeys::folded(SqlDialect::containsPattern(text)));
        QStringList any;
        for (const char* column : {"WorkDetails", "WorkName", "HomeAddress", "HomeNumbers",
                                   "CliName", "CliAddress", "CliNumbers", "ClientRef", "CustRef"}) {
            any << textkeys::foldedColumn(QLatin1String(column)) + QStringLiteral(" LIKE ") +
                       pattern + QStringLiteral(" ESCAPE '\\'");
        }
        any << QStringLiteral("JobNo = ") + QString::number(numbers::leadingNumber(text));
        sql += u'(' + any.join(QStringLiteral(" OR ")) + u')';
    }
    return sql + QStringLiteral(" ORDER BY JobNo");
}

// Seconds the shell took to run the statement and write its rows to /dev/null; negative when
// it failed, with the reason in *failure.
double runShell(const QStringList& arguments, QString* failure) {
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"), arguments);
    const bool ran = shell.waitForFinished(60000) && shell.exitStatus() == QProcess::NormalExit &&
                     shell.exitCode() == 0;
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!ran) {
        *failure = QStringLiteral("sqlite3 failed: ") + shell.errorString() + u' ' +
                   QString::fromLocal8Bit(shell.readAllStandardError()).simplified();
        return -1;
    }
    return seconds;
}

// The search screen of the application with the text typed, ordered by job number.
frmSearchJobs& typed(Application& on, const Search& search) {
    frmSearchJobs& form = *on.form;
    form.findChild<QLineEdit*>(QStringLiteral("txtSearch"))
        ->setText(QString::fromUtf8(search.text));
    form.findChild<QComboBox*>(QStringLiteral("cbOrderBy"))
        ->setCurrentText(QStringLiteral("Job Number"));
    return form;
}

// Seconds from the click on Search to the grid painted.
double timedSearch(benchmark::State& state, frmSearchJobs& form) {
    QElapsedTimer timer;
    timer.start();
    form.cmdSearch_Click();
    form.repaint();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    state.SetIterationTime(seconds);
    state.counters["rows"] =
        form.findChild<QTableView*>(QStringLiteral("fgSearch"))->model()->rowCount();
    return seconds;
}

// Each repetition runs the search in the shell and then on the screen, so that both meet the
// same load of the machine; the time is the screen's, from the click to the grid painted.
void BM_Search(benchmark::State& state, const Search& search) {
    frmSearchJobs& form = typed(*application, search);
    const QStringList arguments{QStringLiteral("-readonly"), application->file,
                                shellStatement(QString::fromUtf8(search.text))};
    for (auto _ : state) {
        QString failure;
        const double shell = runShell(arguments, &failure);
        if (shell < 0) {
            state.SkipWithError(failure.toStdString().c_str());
            break;
        }
        const double seconds = timedSearch(state, form);
        state.counters["shell_ms"] = shell * 1000;
        state.counters["vs_shell"] = seconds / shell;
    }
}

void BM_SearchOnServer(benchmark::State& state, const Search& search) {
    frmSearchJobs& form = typed(*server, search);
    for (auto _ : state) {
        timedSearch(state, form);
    }
}

// A benchmark that only says why it cannot run.
void registerSkipped(const char* name, const QString& failure) {
    benchmark::RegisterBenchmark(name, [failure](benchmark::State& state) {
        for (auto _ : state) {
            state.SkipWithError(failure.toStdString().c_str());
            break;
        }
    });
}

// The search screen open on the application's database.
void openForm(Application& on) {
    on.form = std::make_unique<frmSearchJobs>(on.app, captions::defaults());
    on.form->Form_Load();
    on.form->show();
    QApplication::processEvents();
}

// Search/<case><suffix> for every case, run by the function.
void registerSearches(const std::string& suffix, void (*run)(benchmark::State&, const Search&)) {
    for (const Search& search : kSearches) {
        timedRuns(benchmark::RegisterBenchmark(
                      (std::string("Search/") + search.name + suffix).c_str(), run, search),
                  1, kRepetitions);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The program and the shells it starts keep to one processor: the processors of a virtual
    // machine can differ in speed from moment to moment, and the comparison is then between
    // the two programs, not the two processors.
    if (const int cpu = sched_getcpu(); cpu >= 0) {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(cpu, &one);
        sched_setaffinity(0, sizeof one, &one);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }

    application = std::make_unique<Application>();
    QString failure;
    application->open(false, &failure);
    if (failure.isEmpty()) {
        openForm(*application);
        registerSearches("", BM_Search);
    } else {
        registerSkipped("Search", failure);
    }
    server = std::make_unique<Application>();
    QString noServer;
    if (server->openServer(&noServer)) {
        openForm(*server);
        registerSearches("/server", BM_SearchOnServer);
    } else {
        server.reset();
        registerSkipped("Search/server", noServer);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    server.reset();
    application.reset();
    return failure.isEmpty() ? 0 : 1;
}
