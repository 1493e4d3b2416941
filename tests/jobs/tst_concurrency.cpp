#include "jobs/Workstation.h"
#include "support/JobRecords.h"
#include "support/TestEnv.h"

#include <QProcess>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <memory>
#include <vector>

// Several workstations on one database at once, each a program of its own as in the office:
// numbering and saving the same job from several processes together.
class tst_concurrency : public QObject {
    Q_OBJECT

    // Long enough that a workstation waiting for another's transaction never gives up.
    static QString shared(const TestEnv& env) {
        return env.connectionString() + QStringLiteral("Busy Timeout=600000;");
    }

    static void prepare(TestEnv& env) {
        env.openNewDatabase();
        env.app().DefaultDateFormat = workstation::dateFormat();
        env.app().CurrencySymbol = workstation::currency();
    }

    // Starts one workstation program per argument list, all together, and waits for them all.
    // Each one's standard output, or an empty list when one could not run or failed.
    static QList<QByteArray> runTogether(const QList<QStringList>& requests) {
        std::vector<std::unique_ptr<QProcess>> processes;
        for (const QStringList& arguments : requests) {
            auto process = std::make_unique<QProcess>();
            process->setProcessChannelMode(QProcess::SeparateChannels);
            process->setReadChannel(QProcess::StandardOutput);
            process->start(QStringLiteral(VERDELL_TEST_WORKSTATION), arguments);
            processes.push_back(std::move(process));
        }
        QList<QByteArray> outputs;
        bool allWell = true;
        for (auto& process : processes) {
            if (!process->waitForStarted(30000)) {
                qWarning("workstation did not start: %s", qPrintable(process->errorString()));
                allWell = false;
                continue;
            }
            QByteArray out;
            while (process->state() != QProcess::NotRunning) {
                process->waitForReadyRead(1000);
                out += process->readAllStandardOutput();
            }
            out += process->readAllStandardOutput();
            const QByteArray errors = process->readAllStandardError();
            if (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0) {
                qWarning("workstation failed (%d): %s", process->exitCode(), errors.constData());
                allWell = false;
            }
            outputs << out;
        }
        return allWell ? outputs : QList<QByteArray>{};
    }

private Q_SLOTS:
    void fourWorkstationsNumberJobsWithoutGapOrDuplicate() {
        TestEnv env;
        prepare(env);
        constexpr int kWorkstations = 4;
        constexpr int kEach = VERDELL_TEST_NUMBERS_EACH;
        const QStringList request{shared(env), QStringLiteral("numbers"), QString::number(kEach)};
        const QList<QByteArray> outputs = runTogether(QList<QStringList>(kWorkstations, request));
        QCOMPARE(outputs.size(), kWorkstations);
        QSet<qint32> all;
        for (const QByteArray& out : outputs) {
            const QList<QByteArray> lines = out.trimmed().split('\n');
            QCOMPARE(lines.size(), kEach);
            for (const QByteArray& line : lines) {
                bool ok = false;
                const qint32 number = line.toInt(&ok);
                QVERIFY2(ok, line.constData());
                QVERIFY2(!all.contains(number), qPrintable(QStringLiteral("%1 taken twice")
                                                               .arg(number)));
                all.insert(number);
            }
        }
        QCOMPARE(all.size(), kWorkstations * kEach);
        QCOMPARE(*std::min_element(all.begin(), all.end()), 1);
        QCOMPARE(*std::max_element(all.begin(), all.end()), kWorkstations * kEach);
        QCOMPARE(env.app().DbConnection.scalar(QStringLiteral("SELECT JobCounter FROM Counters"))
                     .toInt(),
                 kWorkstations * kEach + 1);
    }

    void twoWorkstationsSavingOneJobLeaveOneCompleteVersion() {
        TestEnv env;
        prepare(env);
        AppState& app = env.app();
        // Each version as it reads back when saved alone.
        const jobs::SavedJob first = testjobs::save(app, workstation::version(0), 0);
        QVERIFY2(first.ok, qPrintable(first.error));
        const qint32 jobNo = first.jobNo;
        const jobs::LoadedJob north = testjobs::read(app, jobNo);
        QVERIFY(testjobs::save(app, workstation::version(1), jobNo, std::nullopt, north.row).ok);
        const jobs::LoadedJob south = testjobs::read(app, jobNo);
        QCOMPARE(north.outcome, jobs::LoadedJob::Outcome::Found);
        QCOMPARE(south.outcome, jobs::LoadedJob::Outcome::Found);
        QVERIFY(north.fields != south.fields);

        constexpr int kSaves = 150;
        const QList<QByteArray> outputs = runTogether(
            {{shared(env), QStringLiteral("save"), QString::number(jobNo), QStringLiteral("0"),
              QString::number(kSaves)},
             {shared(env), QStringLiteral("save"), QString::number(jobNo), QStringLiteral("1"),
              QString::number(kSaves)}});
        QCOMPARE(outputs.size(), 2);
        // No save is lost: each one was either applied, moving the job on one version, or
        // reported as a conflict.
        int applied = 0;
        for (const QByteArray& out : outputs) {
            const QList<QByteArray> lines = out.trimmed().split('\n');
            QCOMPARE(lines.size(), kSaves);
            applied += int(lines.count("saved"));
            QCOMPARE(int(lines.count("saved") + lines.count("conflict")), kSaves);
        }
        Database& db = app.DbConnection;
        QCOMPARE(db.scalar(QStringLiteral("SELECT RowVersion FROM Jobs WHERE JobNo = ?"), {jobNo})
                     .toInt(),
                 2 + applied);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Jobs WHERE JobNo = ?"), {jobNo})
                     .toInt(),
                 1);
        const jobs::LoadedJob stored = testjobs::read(app, jobNo);
        QCOMPARE(stored.outcome, jobs::LoadedJob::Outcome::Found);
        // One whole version: the one whose customer it names, in every field.
        QCOMPARE(stored.fields,
                 stored.fields.WorkName == north.fields.WorkName ? north.fields : south.fields);
        // The client both name is one row, and it too is one whole version.
        const auto clients = db.query(
            QStringLiteral("SELECT Address, Contact FROM clients WHERE Name = ?"),
            {QStringLiteral("Harbour Estates")});
        QVERIFY(clients);
        QCOMPARE(clients->count(), 1);
        const QString address = clients->text(0, QStringLiteral("Address"));
        const QString contact = clients->text(0, QStringLiteral("Contact"));
        QVERIFY2((address == north.fields.CliAddress && contact == north.fields.CliNumbers) ||
                     (address == south.fields.CliAddress && contact == south.fields.CliNumbers),
                 qPrintable(address + QStringLiteral(" / ") + contact));
    }

    void aServerThatGoesAwayDuringASaveLeavesTheJobAsItWas() {
        if (!TestEnv::onServer()) {
            QSKIP("only a database server can go away during a save");
        }
        TestEnv env;
        prepare(env);
        AppState& app = env.app();
        const jobs::SavedJob first = testjobs::save(app, workstation::version(0), 0);
        QVERIFY2(first.ok, qPrintable(first.error));
        const jobs::LoadedJob before = testjobs::read(app, first.jobNo);

        // The server ends the session once the job's row is written and the client's is next.
        Database control;
        QVERIFY(control.open(env.connectionString()));
        QVERIFY2(control.exec(QStringLiteral(
                     "CREATE FUNCTION go_away() RETURNS trigger LANGUAGE plpgsql AS "
                     "$$BEGIN PERFORM pg_terminate_backend(pg_backend_pid()); "
                     "PERFORM pg_sleep(5); RETURN NEW; END$$")),
                 qPrintable(control.lastError().message));
        QVERIFY(control.exec(QStringLiteral("CREATE TRIGGER go_away BEFORE UPDATE ON clients "
                                            "FOR EACH ROW EXECUTE FUNCTION go_away()")));

        const jobs::SavedJob saved =
            testjobs::save(app, workstation::version(1), first.jobNo, std::nullopt, first.row);
        QVERIFY(!saved.ok);
        QVERIFY(!saved.error.isEmpty());

        QVERIFY(control.exec(QStringLiteral("DROP TRIGGER go_away ON clients")));
        // What another workstation now reads: the job, its client and its engineers as before.
        AppState& again = env.restart();
        again.DefaultDateFormat = workstation::dateFormat();
        again.CurrencySymbol = workstation::currency();
        QVERIFY(again.DbConnection.open(env.connectionString()));
        const jobs::LoadedJob after = testjobs::read(again, first.jobNo);
        QCOMPARE(after.outcome, jobs::LoadedJob::Outcome::Found);
        QCOMPARE(after.fields, before.fields);
        Database& db = again.DbConnection;
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Jobs")).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT Address FROM clients WHERE Name = ?"),
                           {before.fields.CliName})
                     .toString(),
                 before.fields.CliAddress);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM customers WHERE Name = ?"),
                           {workstation::version(1).WorkName})
                     .toInt(),
                 0);
    }
};

QTEST_GUILESS_MAIN(tst_concurrency)
#include "tst_concurrency.moc"
