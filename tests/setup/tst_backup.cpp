// Backup and restore, from the File menu's dialogs and from verdell-admin: a copy taken while the
// database is open, a restore that keeps the replaced file, and files and places that fail.

#include "OlderDatabase.h"
#include "setup/Backup.h"
#include "setup/BackupScreens.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

qint64 jobs(Database& db) { return db.scalar("SELECT count(*) FROM Jobs").toLongLong(); }

void addJob(Database& db, int jobNo) {
    QVERIFY(db.exec("INSERT INTO Jobs (JobNo, WorkName) VALUES (?, ?)", {jobNo, "Mrs Dale"}));
}

}  // namespace

class tst_backup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void backupThenRestoreThroughTheMenus() {
        TestEnv env;
        const QString database = env.openNewDatabase();
        Database& db = env.app().DbConnection;
        addJob(db, 1);
        // Taken inside an open transaction: the copy holds what was committed, nothing else.
        QVERIFY(db.begin());
        addJob(db, 2);
        const QString target = env.root() + "/backups/verdell.vbk";
        QDir().mkpath(env.root() + "/backups");
        env.prompter.chooseFile(target);
        BackupWithDialog(env.app());
        QCOMPARE(env.prompter.last().title, QString("Backup Complete"));
        QVERIFY(db.commit());
        addJob(db, 3);
        QCOMPARE(jobs(db), 3);

        env.prompter.chooseFile(target);
        env.prompter.answer(Prompter::Answer::Yes);
        QVERIFY(RestoreWithDialog(env.app()));
        QCOMPARE(env.prompter.last().title, QString("Restore Complete"));
        QVERIFY(env.app().DbConnection.isOpen());
        QCOMPARE(jobs(env.app().DbConnection), 1);
        QCOMPARE(env.app().DbConnection.fileName(), database);
        // The replaced database is kept beside it, with all three jobs.
        const QStringList kept =
            QDir(env.dataFolder()).entryList({"verdell (replaced *).mdb"}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        Database replaced;
        QVERIFY(replaced.open(connection::forFile(env.dataFolder() + u'/' + kept.first())));
        QCOMPARE(jobs(replaced), 3);
    }

    void restoreAnsweredNoChangesNothing() {
        TestEnv env;
        env.openNewDatabase();
        addJob(env.app().DbConnection, 1);
        const QString target = env.root() + "/copy.vbk";
        QVERIFY(backup::BackupDatabase(env.app().DbConnection, target).isEmpty());
        addJob(env.app().DbConnection, 2);
        env.prompter.chooseFile(target);
        env.prompter.answer(Prompter::Answer::No);
        QVERIFY(!RestoreWithDialog(env.app()));
        QCOMPARE(jobs(env.app().DbConnection), 2);
        QCOMPARE(QDir(env.dataFolder()).entryList(QDir::Files), QStringList{"verdell.mdb"});
    }

    void filesThatAreNoBackupAreRefusedBeforeAnything_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("text") << "text";
        QTest::newRow("Jet file") << "jet";
        QTest::newRow("other database") << "older";
    }
    void filesThatAreNoBackupAreRefusedBeforeAnything() {
        QFETCH(QString, kind);
        TestEnv env;
        env.openNewDatabase();
        const QString file = env.root() + "/chosen.vbk";
        if (kind == "text") {
            TestEnv::writeFile(file, "not a backup");
        } else if (kind == "jet") {
            QVERIFY(QFile::copy(VERDELL_JET_FIXTURES "/DateTestDatabase.mdb", file));
        } else {
            makeOlderDatabase(file);  // has Jobs but no labels: not one of ours
        }
        env.prompter.chooseFile(file);
        QVERIFY(!RestoreWithDialog(env.app()));
        QCOMPARE(env.prompter.last().title, QString("Restore Refused"));
        QCOMPARE(env.prompter.count(), 2);  // the file dialog and the refusal, no question
        QVERIFY(env.app().DbConnection.isOpen());
        QCOMPARE(QDir(env.dataFolder()).entryList(QDir::Files), QStringList{"verdell.mdb"});
    }

    void backupToAPlaceThatCannotTakeItFails_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("read-only folder") << "readonly/copy.vbk";
        QTest::newRow("missing folder") << "nowhere/at/all/copy.vbk";
        QTest::newRow("the database itself") << "home/Verdell Std/verdell.mdb";
    }
    void backupToAPlaceThatCannotTakeItFails() {
        QFETCH(QString, target);
        TestEnv env;
        env.openNewDatabase();
        const QString folder = env.root() + "/readonly";
        QDir().mkpath(folder);
        QFile(folder).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QString path = env.root() + u'/' + target;
        if (target.startsWith("readonly") && QFileInfo(folder).isWritable()) {
            QSKIP("running with rights that ignore a read-only folder");
        }
        const QString error = backup::BackupDatabase(env.app().DbConnection, path);
        QFile(folder).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                     QFileDevice::ExeOwner);
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(path + ".part"));
        QCOMPARE(jobs(env.app().DbConnection), 0);
        QVERIFY(QDir(folder).isEmpty());
    }

    void adminBacksUpAndRestores() {
        TestEnv env;
        env.openNewDatabase();
        addJob(env.app().DbConnection, 7);
        env.app().DbConnection.close();
        const QString copy = env.root() + "/admin.vbk";
        auto admin = [&](const QStringList& args, QString* out = nullptr) {
            QProcess p;
            p.start(VERDELL_ADMIN, args);
            p.waitForFinished(60000);
            if (out) {
                *out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
            }
            return p.exitCode();
        };
        QCOMPARE(admin({"backup", copy}), 0);
        QVERIFY(env.app().DbConnection.open(connection::forFile(env.dataFolder() + "/verdell.mdb")));
        addJob(env.app().DbConnection, 8);
        env.app().DbConnection.close();
        QString out;
        QCOMPARE(admin({"restore", copy}, &out), 0);
        QVERIFY(out.contains("replaced database kept as"));
        QVERIFY(env.app().DbConnection.open(connection::forFile(env.dataFolder() + "/verdell.mdb")));
        QCOMPARE(jobs(env.app().DbConnection), 1);
        env.app().DbConnection.close();
        TestEnv::writeFile(env.root() + "/junk.vbk", "junk");
        QCOMPARE(admin({"restore", env.root() + "/junk.vbk"}, &out), 1);
        QVERIFY(out.contains("not a backup"));

        // The import prints each step's rows.
        makeOlderDatabase(env.root() + "/job2009.cvn");
        QCOMPARE(admin({"import", env.root() + "/job2009.cvn"}, &out), 0);
        QVERIFY(out.contains("Updating Jobs: 2 rows"));
        QCOMPARE(admin({"import", VERDELL_JET_FIXTURES "/nwind.mdb"}, &out), 1);
        QVERIFY(out.contains("passed over"));
        QCOMPARE(admin({"migrate", VERDELL_JET_FIXTURES "/nwind.mdb"}, &out), 1);
        QVERIFY(out.contains("has not been changed"));
    }
};

QTEST_MAIN(tst_backup)
#include "tst_backup.moc"
