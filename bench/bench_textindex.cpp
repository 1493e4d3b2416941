// The searches through the text indexes on the generated register (VERDELL_BENCH_DB, set by
// bench/run), each beside its anchor in the same repetition:
// - the job search finding a handful and finding nothing, against the sqlite3 shell running
//   the statement that read every row (the LIKE over the folded copies) on the same file
//   ("shell_ms", "vs_shell");
// - the same on the database server VERDELL_BENCH_PG names, against the server's own ILIKE
//   over the stored texts ("ilike_ms", "vs_ilike");
// - the first screen of rows of every job, and of a search of two characters (count and first
//   block, as a grid that reads as it scrolls shows them);
// - the contact search and the estimate search;
// - a job's texts saved with the index, against the same save without it ("without_ms"), on a
//   private copy;
// - the file's growth from the indexes and the time to build them, on a private copy.

#include "BenchApplication.h"
#include "ManualTiming.h"
#include "common/Numbers.h"
#include "db/Database.h"
#include "db/RowValues.h"
#include "db/TextIndex.h"
#include "db/TextKeys.h"
#include "estimates/EstimateStore.h"
#include "search/ContactSearch.h"
#include "search/JobSearch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kRepetitions = 15;
// What the job search grid reads first (its block).
constexpr int kScreenRows = 200;

const QStringList kSearched = {"WorkDetails", "WorkName",  "HomeAddress", "HomeNumbers",
                               "CliName",     "CliAddress", "CliNumbers",  "ClientRef",
                               "CustRef"};

std::unique_ptr<BenchApplication> local;
std::unique_ptr<BenchApplication> server;
QString noServer;
// A customer's name in the middle of the register: a handful of contacts and estimates.
QString customerName;

double seconds(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e9; }

QString literal(const QString& value) {
    return u'\'' + QString(value).replace(u'\'', QStringLiteral("''")) + u'\'';
}

// The statement that reads every row for a job search, with its values written in, as the
// program ran it before the indexes.
QString scanStatement(const QString& text) {
    const QString pattern = literal(textkeys::folded(SqlDialect::containsPattern(text)));
    QStringList any;
    for (const QString& c : kSearched) {
        any << textkeys::foldedColumn(c) + QStringLiteral(" LIKE ") + pattern +
                   QStringLiteral(" ESCAPE '\\'");
    }
    any << QStringLiteral("JobNo = ") + QString::number(numbers::leadingNumber(text));
    return QStringLiteral("SELECT DummyId, WorkName, HomeAddress, HomeNumbers, JobNo, JobStatus, "
                          "DateCreated, DateReceived, DateDue, CustRef FROM Jobs WHERE (") +
           any.join(QStringLiteral(" OR ")) + QStringLiteral(") ORDER BY JobNo");
}

double shell(const QString& file, const QString& sql) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("sqlite3"), {QStringLiteral("-readonly"), file, sql});
    const bool ok = p.waitForFinished(120000) && p.exitCode() == 0;
    return ok ? seconds(t) : -1;
}

// The server's own case-blind scan of the stored texts.
double ilike(Database& db, const QString& text) {
    QStringList any;
    QVariantList params;
    for (const QString& c : kSearched) {
        any << c + QStringLiteral(" ILIKE ?");
        params << SqlDialect::containsPattern(text);
    }
    QElapsedTimer t;
    t.start();
    const auto rows = db.query(QStringLiteral("SELECT DummyId, WorkName, JobNo FROM Jobs WHERE ") +
                                   any.join(QStringLiteral(" OR ")) +
                                   QStringLiteral(" ORDER BY JobNo"),
                               params);
    return rows ? seconds(t) : -1;
}

void skip(benchmark::State& state, const QString& why) {
    for (auto _ : state) {
        state.SkipWithError(why.toStdString().c_str());
        break;
    }
}

void jobSearch(benchmark::State& state, const QString& text, bool onServer) {
    BenchApplication* on = onServer ? server.get() : local.get();
    if (!on) {
        return skip(state, noServer);
    }
    Database& db = on->app.DbConnection;
    for (auto _ : state) {
        const double anchor = onServer ? ilike(db, text) : shell(on->file, scanStatement(text));
        QElapsedTimer t;
        t.start();
        const auto rows = searchJobs(db, text, {}, QStringLiteral("JobNo"));
        const double s = seconds(t);
        state.SetIterationTime(s);
        if (!rows || anchor < 0) {
            state.SkipWithError("the search or its anchor failed");
            break;
        }
        state.counters["rows"] = rows->count();
        state.counters[onServer ? "ilike_ms" : "shell_ms"] = anchor * 1000;
        state.counters[onServer ? "vs_ilike" : "vs_shell"] = s / anchor;
    }
}

// The first screen of rows, as a grid that reads as it scrolls shows them; the count that the
// label shows after them, on the side.
void firstScreen(benchmark::State& state, const QString& text, bool onServer) {
    BenchApplication* on = onServer ? server.get() : local.get();
    if (!on) {
        return skip(state, noServer);
    }
    Database& db = on->app.DbConnection;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const auto rows =
            jobsBlock(db, text, {}, QStringLiteral("JobNo"), Qt::AscendingOrder, 0, kScreenRows);
        state.SetIterationTime(seconds(t));
        t.restart();
        const auto count = rows && rows->count() < kScreenRows
                               ? std::optional<qint64>(rows->count())
                               : countJobs(db, text, {});
        state.counters["count_ms"] = seconds(t) * 1000;
        if (!count || !rows) {
            state.SkipWithError("the search failed");
            break;
        }
        state.counters["count"] = double(*count);
    }
}

void contacts(benchmark::State& state) {
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const auto rows = search::searchContacts(local->app.DbConnection, customerName, false);
        state.SetIterationTime(seconds(t));
        state.counters["rows"] = rows ? rows->count() : -1;
    }
}

void estimateSearch(benchmark::State& state) {
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const auto found = estimates::searchEstimates(local->app.DbConnection, customerName);
        state.SetIterationTime(seconds(t));
        state.counters["rows"] = found ? found->size() : -1;
    }
}

// A job's texts written as a save writes them, in its own transaction.
double saveTexts(Database& db, qint64 id, int round) {
    RowValues row(db.dialect(), QStringLiteral("Jobs"));
    row.set(QStringLiteral("WorkName"), QStringLiteral("Mrs A. Benchmark %1").arg(round))
        .set(QStringLiteral("HomeAddress"), QStringLiteral("%1 Test Row\nLeeds").arg(round))
        .set(QStringLiteral("WorkDetails"), QStringLiteral("Replace the valve, visit %1").arg(round));
    QVariantList params = row.values();
    params << id;
    QElapsedTimer t;
    t.start();
    Transaction tx(db);
    const bool ok = db.exec(row.update() + QStringLiteral(" WHERE DummyId = ?"), params) &&
                    tx.commit();
    return ok ? seconds(t) : -1;
}

void save(benchmark::State& state) {
    BenchApplication copy;
    QString why;
    if (!copy.open(true, &why)) {
        return skip(state, why);
    }
    Database& db = copy.app.DbConnection;
    const qint64 id = db.scalar(QStringLiteral("SELECT max(DummyId) / 2 FROM Jobs")).toLongLong();
    int round = 0;
    QList<double> with, without;
    for (int i = 0; i < 50; ++i) {
        with << saveTexts(db, id, ++round);
    }
    Transaction tx(db);
    textindex::drop(db);
    tx.commit();
    for (int i = 0; i < 50; ++i) {
        without << saveTexts(db, id, ++round);
    }
    std::sort(with.begin(), with.end());
    std::sort(without.begin(), without.end());
    for (auto _ : state) {
        state.SetIterationTime(with[with.size() / 2]);
        state.counters["without_ms"] = without[without.size() / 2] * 1000;
    }
}

// The file with and without the indexes, and the time to build them.
void growth(benchmark::State& state) {
    BenchApplication copy;
    QString why;
    if (!copy.open(true, &why)) {
        return skip(state, why);
    }
    Database& db = copy.app.DbConnection;
    db.exec(QStringLiteral("VACUUM"));
    const double with = double(QFileInfo(copy.file).size());
    {
        Transaction tx(db);
        textindex::drop(db);
        tx.commit();
    }
    db.exec(QStringLiteral("VACUUM"));
    const double without = double(QFileInfo(copy.file).size());
    QElapsedTimer t;
    t.start();
    const bool built = textindex::rebuild(db);
    const double build = seconds(t);
    for (auto _ : state) {
        if (!built) {
            state.SkipWithError("the indexes could not be built");
            break;
        }
        state.SetIterationTime(build);
        state.counters["growth_pct"] = (with - without) * 100.0 / without;
        state.counters["file_mb"] = with / 1e6;
    }
}

void add(const char* name, std::function<void(benchmark::State&)> run, int repetitions) {
    timedRuns(benchmark::RegisterBenchmark(name, std::move(run)), 1, repetitions);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    local = std::make_unique<BenchApplication>();
    if (!local->openOrSay(false, "bench_textindex")) {
        return 1;
    }
    server = std::make_unique<BenchApplication>();
    if (!server->openServer(&noServer)) {
        server.reset();
    }
    customerName = local->app.DbConnection
                       .scalar(QStringLiteral("SELECT Name FROM customers WHERE DummyId = "
                                              "(SELECT max(DummyId) / 2 FROM customers)"))
                       .toString();
    for (const bool onServer : {false, true}) {
        const std::string at = onServer ? "/server" : "";
        add(("TextIndex/jobs/handful" + at).c_str(),
            [onServer](benchmark::State& s) { jobSearch(s, QStringLiteral("78 Meadow Drive"), onServer); },
            kRepetitions);
        add(("TextIndex/jobs/nothing" + at).c_str(),
            [onServer](benchmark::State& s) { jobSearch(s, QStringLiteral("zzqx"), onServer); },
            kRepetitions);
        add(("TextIndex/all/first-screen" + at).c_str(),
            [onServer](benchmark::State& s) { firstScreen(s, {}, onServer); }, kRepetitions);
        add(("TextIndex/two-characters/first-screen" + at).c_str(),
            [onServer](benchmark::State& s) { firstScreen(s, QStringLiteral("ow"), onServer); },
            kRepetitions);
    }
    add("TextIndex/contacts", contacts, kRepetitions);
    add("TextIndex/estimates", estimateSearch, kRepetitions);
    add("TextIndex/save", save, 1);
    add("TextIndex/build", growth, 1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    server.reset();
    local.reset();
    return 0;
}
