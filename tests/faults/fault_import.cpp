// An import of an older database killed half way, and imported again.

#include "FaultTests.h"
#include "setup/OlderDatabase.h"
#include "setup/OlderImport.h"
#include "setup/Progress.h"
#include "setup/TableSource.h"
#include "support/TestEnv.h"

#include <QTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Kills its own program when the import reaches the given step.
class KilledAt : public SilentProgress {
public:
    explicit KilledAt(const QString& caption) : caption_(caption) {}
    void status(const QString& caption) override {
        if (caption == caption_) {
            ::raise(SIGKILL);
        }
    }

private:
    QString caption_;
};

// Runs the import of the older file into the database in a program of its own that is killed
// when the import reaches the step.
bool importKilledAt(const QString& connection, const QString& older, const QString& caption) {
    const pid_t child = ::fork();
    if (child == 0) {
        Database db;
        QString error;
        const auto source = openTableSource(older, &error);
        if (db.open(connection) && source) {
            KilledAt progress(caption);
            olderimport::UpdateDatabase(db, *source, progress);
        }
        ::_exit(3);  // the import ended without reaching the step
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status);
}

qint64 rows(Database& db, const QString& table) {
    return db.scalar("SELECT count(*) FROM " + table).toLongLong();
}

}  // namespace

class ImportFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Killed at its last steps, the import leaves nothing of what it had copied; imported again,
    // every row arrives once.
    void aKilledImportLeavesNothingAndCanBeRunAgain() {
        TestEnv env;
        env.openNewDatabase();
        const QString older = env.root() + "/job2009.cvn";
        makeOlderDatabase(older);
        Database& db = env.app().DbConnection;
        const qint64 clients = rows(db, "clients");
        const qint64 counter = db.scalar("SELECT JobCounter FROM Counters").toLongLong();
        env.app().DbConnection.close();

        QVERIFY(importKilledAt(env.connectionString(), older, "Updating Jobs"));
        QVERIFY(db.open(env.connectionString()));
        QCOMPARE(rows(db, "clients"), clients);
        QCOMPARE(rows(db, "Jobs"), 0);
        QCOMPARE(db.scalar("SELECT JobCounter FROM Counters").toLongLong(), counter);

        QString error;
        const auto source = openTableSource(older, &error);
        QVERIFY2(source, qPrintable(error));
        SilentProgress quiet;
        olderimport::UpdateDatabase(db, *source, quiet);
        QCOMPARE(rows(db, "clients"), clients + 2);
        QCOMPARE(rows(db, "Jobs"), 2);
        QCOMPARE(rows(db, "Docs"), 1);
    }
};

VERDELL_FAULT_TEST(ImportFaults)
#include "fault_import.moc"
