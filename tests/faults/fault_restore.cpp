// Replacing the database: a restore just after a program died in the middle of a save, a restore
// interrupted half way, and backup and restore on a database server.

#include "FaultTests.h"
#include "Programs.h"
#include "records/Connection.h"
#include "setup/Backup.h"
#include "setup/BackupScreens.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

qint64 count(Database& db, const QString& table) {
    return db.scalar("SELECT count(*) FROM " + table).toLongLong();
}

qint64 jobCounter(Database& db) { return db.scalar("SELECT JobCounter FROM Counters").toLongLong(); }

void addJobs(Database& db, int first, int n) {
    QVERIFY(db.begin());
    for (int i = 0; i < n; ++i) {
        QVERIFY(db.exec("INSERT INTO Jobs (JobNo, WorkName, WorkDetails) VALUES (?, ?, ?)",
                        {first + i, "Mrs Dale", QString(400, QChar('a' + i % 26))}));
    }
    QVERIFY(db.exec("UPDATE Counters SET JobCounter = ?", {first + n}));
    QVERIFY(db.commit());
}

// The program that was saving in the file is killed with its change half written: the file
// holds part of the change and its journal is hot.
void killMidSave(const QString& file) {
    QProcess saver;
    QVERIFY(startHolder(saver, file, "spilled"));
    saver.kill();
    QVERIFY(saver.waitForFinished(60000));
    QVERIFY(QFileInfo(file + "-journal").size() > 0);
}

QString kept(TestEnv& env) {
    const QStringList files =
        QDir(env.dataFolder()).entryList({"verdell (replaced *).mdb"}, QDir::Files);
    return files.size() == 1 ? env.dataFolder() + u'/' + files.first() : QString();
}

}  // namespace

class RestoreFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The restore rolls the dead program's change back before it moves the database aside: the
    // restored database is the backup, whole, and the replaced one is as it was before the
    // change began.
    void aRestoreAfterACrashRestoresTheBackupWhole_data() {
        QTest::addColumn<bool>("fromTheMenu");
        QTest::newRow("verdell-admin restore") << false;
        QTest::newRow("File > Restore") << true;
    }
    void aRestoreAfterACrashRestoresTheBackupWhole() {
        QFETCH(bool, fromTheMenu);
        if (TestEnv::onServer()) {
            QSKIP("the server keeps its own journal");
        }
        TestEnv env;
        const QString file = env.openNewDatabase();
        addJobs(env.app().DbConnection, 1, 200);
        const QString copy = env.root() + "/monday.vbk";
        QCOMPARE(backup::BackupDatabase(env.app().DbConnection, copy), QString());
        addJobs(env.app().DbConnection, 201, 100);
        env.app().DbConnection.close();
        killMidSave(file);

        if (fromTheMenu) {
            env.prompter.chooseFile(copy);
            env.prompter.answer(Prompter::Answer::Yes);
            QVERIFY(RestoreWithDialog(env.app()));
        } else {
            const AdminRun run = runAdmin({"restore", copy});
            QVERIFY2(run.status == 0, qPrintable(run.err));
        }
        Database restored;
        QVERIFY(restored.open(connection::forFile(file)));
        QCOMPARE(restored.integrityCheck(), QString("ok"));
        QCOMPARE(count(restored, "Jobs"), 200);
        QCOMPARE(jobCounter(restored), 201);
        Database replaced;
        QVERIFY(replaced.open(connection::forFile(kept(env))));
        QCOMPARE(replaced.integrityCheck(), QString("ok"));
        QCOMPARE(count(replaced, "Jobs"), 300);
        QCOMPARE(jobCounter(replaced), 301);
    }

    // A restore stopped between setting the database aside and putting the backup in its place
    // is finished by the next start, which says so; one stopped before that leaves the database
    // as it was.
    void theNextStartFinishesAnInterruptedRestore_data() {
        QTest::addColumn<bool>("databaseSetAside");
        QTest::newRow("stopped between the two steps") << true;
        QTest::newRow("stopped before them") << false;
    }
    void theNextStartFinishesAnInterruptedRestore() {
        QFETCH(bool, databaseSetAside);
        if (TestEnv::onServer()) {
            QSKIP("no file is replaced on the server");
        }
        TestEnv env;
        const QString file = env.openNewDatabase();
        addJobs(env.app().DbConnection, 1, 3);
        env.app().DbConnection.close();
        const QString incoming = file + ".restoring";
        env.makeDatabase(incoming);  // a backup with no jobs, copied in whole
        if (databaseSetAside) {
            QVERIFY(QFile::rename(file, env.dataFolder() + "/verdell (replaced 2026-01-05).mdb"));
        }
        const AdminRun run = runAdmin({"check"});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY2(run.out.contains("restore"), qPrintable(run.out));
        QVERIFY(!QFile::exists(incoming));
        Database db;
        QVERIFY(db.open(connection::forFile(file)));
        QCOMPARE(count(db, "Jobs"), databaseSetAside ? 0 : 3);
    }

    // On a database server the backup is a copy of every table that a restore puts back in
    // one go; another workstation's change under way makes the restore wait for nothing and
    // refuse.
    void backupAndRestoreOnTheServer() {
        if (!TestEnv::onServer()) {
            QSKIP("a database server is needed");
        }
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        addJobs(db, 1, 5);
        QVERIFY(db.exec("INSERT INTO customers (Name) VALUES ('Zoë')"));
        const QString copy = env.root() + "/server.vbk";
        env.prompter.chooseFile(copy);
        BackupWithDialog(env.app());
        QCOMPARE(env.prompter.last().title, QString("Backup Complete"));
        addJobs(db, 6, 4);
        QVERIFY(db.exec("DELETE FROM customers"));

        Database other;
        QVERIFY(other.open(env.connectionString()));
        QVERIFY(other.begin());
        QVERIFY(other.exec("UPDATE Counters SET JobCounter = JobCounter"));
        env.prompter.chooseFile(copy);
        env.prompter.answer(Prompter::Answer::Yes);
        QVERIFY(!RestoreWithDialog(env.app()));
        QVERIFY(env.prompter.last().prompt.contains("workstation"));
        other.rollback();
        QCOMPARE(count(env.app().DbConnection, "Jobs"), 9);

        const AdminRun run = runAdmin({"restore", copy});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY(run.out.contains("on the server"));
        Database after;
        QVERIFY(after.open(env.connectionString()));
        QCOMPARE(count(after, "Jobs"), 5);
        QCOMPARE(jobCounter(after), 6);
        QCOMPARE(after.scalar("SELECT Name FROM customers").toString(), QString("Zoë"));
        // New rows carry on after the identities put back.
        QVERIFY(after.insert("INSERT INTO customers (Name) VALUES ('next')").value_or(0) >
                after.scalar("SELECT min(DummyId) FROM customers").toLongLong());
    }

    // verdell-admin backs up the server's data, not a file the settings name beside it.
    void adminBackupOnTheServerCopiesTheServer() {
        if (!TestEnv::onServer()) {
            QSKIP("a database server is needed");
        }
        TestEnv env;
        env.openNewDatabase();
        addJobs(env.app().DbConnection, 1, 7);
        const QString copy = env.root() + "/admin.vbk";
        const AdminRun run = runAdmin({"backup", copy});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        Database file;
        QVERIFY(file.open(connection::forFile(copy)));
        QCOMPARE(count(file, "Jobs"), 7);
        QCOMPARE(file.integrityCheck(), QString("ok"));
    }
};

VERDELL_FAULT_TEST(RestoreFaults)
#include "fault_restore.moc"
