// Replacing the database: a restore just after a program died in the middle of a save, and a
// restore interrupted half way.

#include "FaultTests.h"
#include "Programs.h"
#include "setup/Backup.h"
#include "setup/BackupScreens.h"
#include "startup/Connection.h"
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
};

VERDELL_FAULT_TEST(RestoreFaults)
#include "fault_restore.moc"
