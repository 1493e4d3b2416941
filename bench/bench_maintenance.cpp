// Maintenance on the generated data set: importing a database of the earlier version with 50,000
// jobs (and its clients, customers and documents) into a new database, with the longest wait
// between two moves of the progress bar; and a backup of the 100,000-job database.

#include "BenchApplication.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "records/Connection.h"
#include "setup/Backup.h"
#include "setup/OlderImport.h"
#include "setup/Progress.h"
#include "setup/TableSource.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

namespace {

constexpr int kJobs = 50000;
constexpr int kClients = 5000;
constexpr int kCustomers = 20000;
constexpr int kDocuments = 100000;

std::unique_ptr<BenchApplication> bench;
QString olderFile;

double elapsedSeconds(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e9;
}

bool run(Database& db, const QString& sql, const QVariantList& values = {}) {
    if (db.exec(sql, values)) {
        return true;
    }
    fprintf(stderr, "bench_maintenance: %s: %s\n", qPrintable(sql),
            qPrintable(db.lastError().message));
    return false;
}

// A database in the earlier version's layout, filled with plausible rows.
bool makeOlderDatabase(const QString& file) {
    Database db;
    if (!db.create(file) || !db.begin()) {
        return false;
    }
    bool ok =
        run(db, QStringLiteral("CREATE TABLE clients (Name TEXT, Address TEXT, Tel TEXT, "
                               "Contact TEXT, Notes TEXT)")) &&
        run(db, QStringLiteral("CREATE TABLE counters (FileCounter INTEGER, JobCounter "
                               "INTEGER, Free2 INTEGER, Free3 INTEGER)")) &&
        run(db, QStringLiteral("INSERT INTO counters VALUES (?, ?, ?, ?)"),
            {kDocuments + 1, kJobs + 1, 1, 5}) &&
        run(db, QStringLiteral("CREATE TABLE customers (ClientID INTEGER, Name TEXT, "
                               "Address TEXT, ContactNos TEXT)")) &&
        run(db, QStringLiteral("CREATE TABLE docs (JobNumber INTEGER, FileName TEXT, "
                               "\"Date\" TEXT, Title TEXT, AddressType TEXT, DocType TEXT)")) &&
        run(db,
            QStringLiteral("CREATE TABLE Jobs (JobNo INTEGER, JobStatus TEXT, IntroducedBy TEXT, "
                           "WorkDetails TEXT, WorkName TEXT, HomeAddress TEXT, HomeNumbers TEXT, "
                           "WorkNotes TEXT, DateReceived TEXT, DateDue TEXT, DateCreated TEXT, "
                           "DateCompleted TEXT, ClientRef TEXT, DateQuoted TEXT, CliName TEXT, "
                           "CliAddress TEXT, CliNumbers TEXT, CliNotes TEXT, CompanyName TEXT, "
                           "CustName TEXT)")) &&
        run(db, QStringLiteral("CREATE TABLE JobStatus (Status TEXT)")) &&
        run(db, QStringLiteral("INSERT INTO JobStatus VALUES ('Open'), ('CLOSED')"));
    for (int i = 1; ok && i <= kClients; ++i) {
        ok = run(db, QStringLiteral("INSERT INTO clients VALUES (?, ?, ?, ?, ?)"),
                 {QStringLiteral("Lettings Agent %1").arg(i),
                  QStringLiteral("%1 High Street\r\nPoole\r\nBH15 1AA").arg(i),
                  QStringLiteral("01202 %1").arg(100000 + i), QStringLiteral("Ann"), QString()});
    }
    for (int i = 1; ok && i <= kCustomers; ++i) {
        ok = run(db, QStringLiteral("INSERT INTO customers VALUES (?, ?, ?, ?)"),
                 {i % kClients + 1, QStringLiteral("Customer %1").arg(i),
                  QStringLiteral("%1 Elm Road\r\nWimborne").arg(i), QStringLiteral("07700 900")});
    }
    for (int i = 1; ok && i <= kJobs; ++i) {
        const QString date = QStringLiteral("2009-%1-%2 00:00:00")
                                 .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                                 .arg(i % 28 + 1, 2, 10, QLatin1Char('0'));
        ok = run(db,
                 QStringLiteral("INSERT INTO Jobs VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                "?, ?, ?, ?, ?, ?, ?)"),
                 {i,
                  i % 10 ? QStringLiteral("CLOSED") : QStringLiteral("Open"),
                  QStringLiteral("Lettings Agent %1").arg(i % kClients + 1),
                  QStringLiteral("Replace the kitchen tap and check the stop cock; tenant in "
                                 "after 10am.\r\nKey with neighbour."),
                  QStringLiteral("Customer %1").arg(i % kCustomers + 1),
                  QStringLiteral("%1 Elm Road\r\nWimborne\r\nBH21 1AA").arg(i),
                  QStringLiteral("07700 900%1").arg(i % 1000),
                  QStringLiteral("Called, no answer"),
                  date,
                  date,
                  date,
                  QVariant(),
                  QStringLiteral("REF/%1").arg(i),
                  QVariant(),
                  QStringLiteral("Lettings Agent %1").arg(i % kClients + 1),
                  QStringLiteral("1 Quay St\r\nPoole"),
                  QStringLiteral("01202 111"),
                  QString(),
                  QString(),
                  QString()});
    }
    for (int i = 1; ok && i <= kDocuments; ++i) {
        ok = run(
            db, QStringLiteral("INSERT INTO docs VALUES (?, ?, ?, ?, ?, ?)"),
            {i % kJobs + 1, QStringLiteral("%1.doc").arg(i), QStringLiteral("2009-03-02 10:15:00"),
             QStringLiteral("Job Sheet"), QString(), QString()});
    }
    return ok && db.commit();
}

// Keeps the longest time between two signs of life.
class WatchedProgress : public Progress {
public:
    WatchedProgress() { since_.start(); }
    void status(const QString&) override { tick(); }
    void progress(qint64, qint64) override { tick(); }
    void beep() override {}
    double longestWait() const { return longest_; }

private:
    void tick() {
        longest_ = std::max(longest_, elapsedSeconds(since_));
        since_.restart();
    }
    QElapsedTimer since_;
    double longest_ = 0;
};

void ImportOlderDatabase(benchmark::State& state) {
    int round = 0;
    for (auto _ : state) {
        const QString target = bench->folder.path() + QStringLiteral("/import-%1.mdb").arg(++round);
        const QString made = schema::createDatabaseFile(target);
        Database db;
        QString error;
        const auto older = openTableSource(olderFile, &error);
        if (!made.isEmpty() || !db.open(connection::forFile(target)) || !older) {
            state.SkipWithError("the databases could not be opened");
            break;
        }
        WatchedProgress progress;
        QElapsedTimer timer;
        timer.start();
        const auto steps = olderimport::UpdateDatabase(db, *older, progress);
        state.SetIterationTime(elapsedSeconds(timer));
        state.counters["longest_wait_s"] = progress.longestWait();
        state.counters["jobs"] =
            double(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Jobs")).toLongLong());
        db.close();
        QFile::remove(target);
    }
}

void BackupOf100kJobs(benchmark::State& state) {
    const QString target = bench->folder.path() + QStringLiteral("/copy.vbk");
    for (auto _ : state) {
        QFile::remove(target);
        QElapsedTimer timer;
        timer.start();
        const QString error = backup::BackupDatabase(bench->app.DbConnection, target);
        state.SetIterationTime(elapsedSeconds(timer));
        if (!error.isEmpty()) {
            state.SkipWithError(qPrintable(error));
            break;
        }
    }
}

}  // namespace

BENCHMARK(ImportOlderDatabase)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BackupOf100kJobs)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    bench = std::make_unique<BenchApplication>();
    if (!bench->openOrSay(false, "bench_maintenance")) {
        return 1;
    }
    olderFile = bench->folder.path() + QStringLiteral("/older.mdb");
    if (!makeOlderDatabase(olderFile)) {
        fprintf(stderr, "bench_maintenance: the older database could not be made\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    bench.reset();
    return 0;
}
