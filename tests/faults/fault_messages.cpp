// Hostile places and inputs met from the command line: each is refused with a message that names
// the real cause, and nothing waits for ever.

#include "FaultTests.h"
#include "Programs.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "support/SmallDisk.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

class MessageFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Settings that do not say where the database is are named as the cause, not the folder
    // the empty settings make.
    void settingsThatNameNoDatabase_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("named");
        QTest::newRow("garbage") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                                 << "not a settings file";
        QTest::newRow("no database named") << QByteArray("[General]\ntemplatepath=/tmp\n")
                                           << "datapath";
        QTest::newRow("unreadable") << QByteArray("[General]\ndatapath=/srv\n")
                                    << "cannot be read";
    }
    void settingsThatNameNoDatabase() {
        QFETCH(QByteArray, settings);
        QFETCH(QString, named);
        TestEnv env;
        TestEnv::writeFile(env.settingsFile(), settings);
        if (named == "cannot be read") {
            QFile(env.settingsFile()).setPermissions({});
            if (::access(QFile::encodeName(env.settingsFile()).constData(), R_OK) == 0) {
                QSKIP("running with rights that read any file");
            }
        }
        const AdminRun run = runAdmin({"check"});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(env.settingsFile()) && run.err.contains(named),
                 qPrintable(run.err));
        QVERIFY(!run.err.contains("is a folder"));
    }

    // Files that are no database: a named pipe answers at once instead of stopping the program,
    // a device is not "missing".
    void placesThatAreNoDatabaseFile() {
        if (TestEnv::onServer()) {
            QSKIP("the database is a file only on the embedded engine");
        }
        TestEnv env;
        const QString file = env.openNewDatabase();
        env.app().DbConnection.close();
        QVERIFY(QFile::remove(file));
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        AdminRun run = runAdmin({"check"});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("not a regular file"), qPrintable(run.err));

        run = runAdmin({"import", "/dev/zero"});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("not a regular file") && !run.err.contains("does not exist"),
                 qPrintable(run.err));
    }

    // A backup never replaces what is there already.
    // A data folder the user may not write in is named as the cause, with what to do.
    void aReadOnlyFolderIsNamed() {
        if (TestEnv::onServer()) {
            QSKIP("the database is a file only on the embedded engine");
        }
        SmallDisk disk(QStringLiteral("size=1m"));
        if (!disk.mounted()) {
            QSKIP("a file system of its own cannot be mounted here");
        }
        const QString file = disk.folder() + "/verdell.mdb";
        QCOMPARE(schema::createDatabaseFile(file), QString());
        disk.remountReadOnly();
        Database db;
        QVERIFY(db.open(connection::forFile(file)));
        QVERIFY(!db.exec("UPDATE Counters SET JobCounter = JobCounter + 1"));
        const QString why = db.lastError().message;
        QVERIFY2(why.contains(disk.folder()) && why.contains("read-only for you"), qPrintable(why));
    }

    void aBackupNeverReplacesAFile_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("a file") << "earlier.vbk";
        QTest::newRow("a device") << "/dev/null";
    }
    void aBackupNeverReplacesAFile() {
        QFETCH(QString, target);
        TestEnv env;
        env.openNewDatabase();
        const QString path = target.startsWith('/') ? target : env.root() + u'/' + target;
        if (!target.startsWith('/')) {
            TestEnv::writeFile(path, "Monday's backup");
        }
        const AdminRun run = runAdmin({"backup", path});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("exists"), qPrintable(run.err));
        if (!target.startsWith('/')) {
            QCOMPARE(TestEnv::readFile(path), QByteArray("Monday's backup"));
        }
    }

    // A report's choices are checked: a word for a number, a yes-or-no answered otherwise, a
    // caption that names no column.
    void reportChoicesThatMeanNothingAreRefused_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("named");
        QTest::newRow("days") << QStringList{"job-age", "--days", "abc"} << "--days";
        QTest::newRow("group") << QStringList{"marketing", "--group", "maybe"} << "--group";
        QTest::newRow("date caption") << QStringList{"job-age", "--date", "Birthday"}
                                      << "Birthday";
        QTest::newRow("sort caption") << QStringList{"job-age", "--sort", "Shoe Size"}
                                      << "Shoe Size";
    }
    void reportChoicesThatMeanNothingAreRefused() {
        QFETCH(QStringList, options);
        QFETCH(QString, named);
        TestEnv env;
        env.openNewDatabase();
        const QString pdf = env.root() + "/report.pdf";
        const AdminRun run = runAdmin(QStringList{"report"} + options + QStringList{"--pdf", pdf});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(named), qPrintable(run.err));
        QVERIFY(!QFile::exists(pdf));
    }
};

VERDELL_FAULT_TEST(MessageFaults)
#include "fault_messages.moc"
