// Backup and restore, from the File menu's dialogs and from verdell-admin: a copy taken while the
// database is open, a restore that keeps the replaced file, the open screens settled first, a
// database another program holds, and files and places that fail.

#include "OlderDatabase.h"
#include "mainwindow/frmMain.h"
#include "setup/Backup.h"
#include "setup/BackupScreens.h"
#include "support/TestEnv.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

namespace {

qint64 jobs(Database& db) { return db.scalar("SELECT count(*) FROM Jobs").toLongLong(); }

void addJob(Database& db, int jobNo) {
    QVERIFY(db.exec("INSERT INTO Jobs (JobNo, WorkName) VALUES (?, ?)", {jobNo, "Mrs Dale"}));
}

// A new database with one job, a backup of it, and a second job added after the backup. The
// backup's file.
QString databaseWithBackup(TestEnv& env) {
    env.openNewDatabase();
    addJob(env.app().DbConnection, 100);
    const QString copy = env.root() + "/copy.vbk";
    const QString error = backup::BackupDatabase(env.app().DbConnection, copy);
    if (!error.isEmpty()) {
        qFatal("%s", qPrintable(error));
    }
    addJob(env.app().DbConnection, 101);
    return copy;
}

QStringList keptFiles(TestEnv& env) {
    return QDir(env.dataFolder()).entryList({"verdell (replaced *).mdb"}, QDir::Files);
}

QWidget* openScreen(TestEnv& env, const char* name) {
    return qobject_cast<QWidget*>(env.app().openScreen(name));
}

// Screens still open at the end of a test go with its application state.
void discardScreens(TestEnv& env) {
    for (const char* name : {"frmJobs", "frmEstimate", "frmJobReport"}) {
        delete openScreen(env, name);
    }
}

// The main window with the job screen and the estimates screen each holding a new record that
// is not saved, and the job report open beside them.
void openScreensWithUnsavedWork(TestEnv& env, frmMain& main) {
    env.app().DefaultDateFormat = "dd/mm/yyyy";
    env.app().CurrencySymbol = "\u00A3";
    main.Form_Load();
    main.show();
    main.findChild<QAction*>("Jobs")->trigger();
    QWidget* jobs = openScreen(env, "frmJobs");
    jobs->findChild<QAbstractButton*>("cmdNewJob")->click();
    QTest::keyClicks(jobs->findChild<QLineEdit*>("txtCustName"), "Mrs Unsaved");
    main.findChild<QAbstractButton*>("htEstimates")->click();
    QWidget* estimates = openScreen(env, "frmEstimate");
    estimates->findChild<QAbstractButton*>("cmdNewEstimate")->click();
    QTest::keyClicks(estimates->findChild<QLineEdit*>("txtName"), "Mr Pending");
    main.findChild<QAction*>("UnderDevelopment")->trigger();
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
        // Answered No, the restore changes nothing.
        env.prompter.chooseFile(target);
        env.prompter.answer(Prompter::Answer::No);
        QVERIFY(!RestoreWithDialog(env.app()));
        QCOMPARE(jobs(db), 3);
        QCOMPARE(QDir(env.dataFolder()).entryList(QDir::Files), QStringList{"verdell.mdb"});

        env.prompter.chooseFile(target);
        env.prompter.answer(Prompter::Answer::Yes);
        QVERIFY(RestoreWithDialog(env.app()));
        QCOMPARE(env.prompter.last().title, QString("Restore Complete"));
        QVERIFY(env.app().DbConnection.isOpen());
        QCOMPARE(jobs(env.app().DbConnection), 1);
        QCOMPARE(env.app().DbConnection.fileName(), database);
        // The replaced database is kept beside it, with all three jobs.
        const QStringList kept = keptFiles(env);
        QCOMPARE(kept.size(), 1);
        Database replaced;
        QVERIFY(replaced.open(connection::forFile(env.dataFolder() + u'/' + kept.first())));
        QCOMPARE(jobs(replaced), 3);
    }

    // A restore from the File menu first asks about each open screen's unsaved work: Yes saves
    // it into the database being replaced, No drops it, Cancel stops the restore with nothing
    // changed. Then every open screen is closed, so none shows or saves rows of the old file.
    void restoreSettlesAndClosesEveryOpenScreen_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("save") << int(Prompter::Answer::Yes);
        QTest::newRow("discard") << int(Prompter::Answer::No);
        QTest::newRow("cancel") << int(Prompter::Answer::Cancel);
    }
    void restoreSettlesAndClosesEveryOpenScreen() {
        QFETCH(int, answer);
        TestEnv env;
        const QString copy = databaseWithBackup(env);
        frmMain main(env.app());
        openScreensWithUnsavedWork(env, main);

        env.prompter.chooseFile(copy);
        env.prompter.answer(Prompter::Answer::Yes);  // restore this backup
        QStringList asked;
        env.prompter.onCall = [&](const ScriptedPrompter::Call& call) {
            if (call.title == "Unsaved Changes") {
                asked << call.prompt;
                env.prompter.answer(Prompter::Answer(answer));
            }
        };
        main.findChild<QAction*>("FileRestore")->trigger();
        env.prompter.onCall = nullptr;

        if (Prompter::Answer(answer) == Prompter::Answer::Cancel) {
            QCOMPARE(asked.size(), 1);
            QVERIFY(keptFiles(env).isEmpty());
            QCOMPARE(jobs(env.app().DbConnection), 2);
            for (const char* name : {"frmJobs", "frmEstimate", "frmJobReport"}) {
                QVERIFY2(openScreen(env, name) && openScreen(env, name)->isVisible(), name);
            }
            QCOMPARE(openScreen(env, "frmJobs")->findChild<QLineEdit*>("txtCustName")->text(),
                     QString("Mrs Unsaved"));
            discardScreens(env);
            return;
        }
        QCOMPARE(asked.size(), 2);
        QVERIFY(asked.filter("job screen").size() == 1 && asked.filter("estimates").size() == 1);
        QCOMPARE(env.prompter.last().title, QString("Restore Complete"));
        QCOMPARE(jobs(env.app().DbConnection), 1);
        for (const char* name : {"frmJobs", "frmEstimate", "frmJobReport"}) {
            QVERIFY2(!openScreen(env, name), name);
        }
        // What was saved went into the database that was replaced, never into the backup.
        QCOMPARE(keptFiles(env).size(), 1);
        Database kept;
        QVERIFY(kept.open(connection::forFile(env.dataFolder() + u'/' + keptFiles(env).first())));
        const int saved = Prompter::Answer(answer) == Prompter::Answer::Yes ? 1 : 0;
        QCOMPARE(kept.scalar("SELECT count(*) FROM Jobs WHERE WorkName = 'Mrs Unsaved'").toInt(),
                 saved);
        QCOMPARE(kept.scalar("SELECT count(*) FROM customers WHERE Name = 'Mr Pending'").toInt(),
                 saved);
        Database& restored = env.app().DbConnection;
        QCOMPARE(restored.scalar("SELECT count(*) FROM Jobs WHERE WorkName = 'Mrs Unsaved'").toInt(),
                 0);
    }

    // While another program has the database open the restore is refused before anything is
    // asked or changed, with a message naming what to close; a change under way elsewhere (a
    // workstation on another computer reaches this one only through its lock) is refused too.
    void restoreRefusedWhileTheDatabaseIsInUse_data() {
        QTest::addColumn<QString>("holder");
        QTest::addColumn<QString>("named");
        QTest::newRow("another program, idle") << "open" << "verdell-test-holder (process ";
        QTest::newRow("another program, saving") << "saving" << "verdell-test-holder (process ";
        QTest::newRow("a change under way") << "lock" << "saving a change";
    }
    void restoreRefusedWhileTheDatabaseIsInUse() {
        QFETCH(QString, holder);
        QFETCH(QString, named);
        TestEnv env;
        const QString copy = databaseWithBackup(env);
        const QString database = env.app().DbConnection.fileName();
        QProcess other;
        Database elsewhere;
        if (holder == "lock") {
            QVERIFY(elsewhere.open(connection::forFile(database)));
            QVERIFY(elsewhere.begin());
            QVERIFY(elsewhere.exec("UPDATE Counters SET JobCounter = JobCounter"));
        } else {
            other.start(VERDELL_TEST_HOLDER, {database, holder});
            QVERIFY(other.waitForReadyRead(60000));
            QCOMPARE(other.readLine().trimmed(), QByteArray("ready"));
        }
        frmMain main(env.app());
        main.Form_Load();
        main.findChild<QAction*>("Jobs")->trigger();

        env.prompter.chooseFile(copy);
        env.prompter.answer(Prompter::Answer::Yes);
        main.findChild<QAction*>("FileRestore")->trigger();
        const auto& refusal = env.prompter.last();
        QCOMPARE(refusal.title, QString("Restore Refused"));
        QVERIFY2(refusal.prompt.contains(named), qPrintable(refusal.prompt));
        if (holder != "lock") {
            QVERIFY(refusal.prompt.contains(QString::number(other.processId())));
        }
        QVERIFY(keptFiles(env).isEmpty());
        QVERIFY(openScreen(env, "frmJobs"));
        if (holder == "lock") {
            elsewhere.rollback();
        } else {
            other.closeWriteChannel();
            QVERIFY(other.waitForFinished(60000));
        }
        QCOMPARE(jobs(env.app().DbConnection), 2);
        discardScreens(env);
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
