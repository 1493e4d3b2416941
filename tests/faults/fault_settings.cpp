// The settings file on a full disk, and an installation interrupted half way.

#include "FaultTests.h"
#include "Programs.h"
#include "jobs/frmJobs.h"
#include "support/FullDisk.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QAbstractButton>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <sys/stat.h>

namespace {

ino_t inodeOf(const QString& file) {
    struct stat st {};
    return ::stat(QFile::encodeName(file).constData(), &st) == 0 ? st.st_ino : 0;
}

QString settingsFolder(TestEnv& env) { return QFileInfo(env.settingsFile()).absolutePath(); }

}  // namespace

class SettingsFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A start finds every setting as it was, so it writes nothing: on a full disk the file
    // stays whole, and the program still finds its database.
    void aStartWritesNothingWhenNothingChanged() {
        TestEnv env;
        env.openNewDatabase();
        env.app().AppSettings.SetValue("LastJob", "42");
        env.app().DbConnection.close();
        QCOMPARE(runAdmin({"check"}).status, 0);  // the first start settles the folders
        const QByteArray before = TestEnv::readFile(env.settingsFile());
        FullDisk full(settingsFolder(env));
        const ino_t inode = inodeOf(env.settingsFile());
        const AdminRun run = runAdmin({"check"});
        QVERIFY2(run.status == 0, qPrintable(run.err + full.how()));
        QCOMPARE(run.err, QString());
        QCOMPARE(TestEnv::readFile(env.settingsFile()), before);
        QCOMPARE(inodeOf(env.settingsFile()), inode);
    }

    // A changed value that cannot be written leaves the file as it was, and says so.
    void aWriteThatFailsLeavesTheFileWhole() {
        TestEnv env;
        env.createSettings({{"datapath", "/srv/office"}, {"dataname", "office.mdb"},
                            {"LastJob", "42"}});
        const QByteArray before = TestEnv::readFile(env.settingsFile());
        TReg& settings = env.app().AppSettings;
        FullDisk full(settingsFolder(env));
        QVERIFY2(settings.SetValue("LastJob", "43") != 0, qPrintable(full.how()));
        QCOMPARE(TestEnv::readFile(env.settingsFile()), before);
        QCOMPARE(settings.GetValue("datapath"), QString("/srv/office"));
        QCOMPARE(settings.GetValue("LastJob"), QString("42"));
    }

    // The user who saves a job hears that the settings could not keep it as the last job.
    void aSettingNotSavedIsToldWhenTheUserSaves() {
        TestEnv env;
        env.openNewDatabase();
        env.app().DefaultDateFormat = "dd/mm/yyyy";
        frmJobs jobs(env.app());
        jobs.Form_Load();
        control<QAbstractButton>(&jobs, "cmdNewJob")->click();
        QTest::keyClicks(control<QLineEdit>(&jobs, "txtCustName"), "Mrs Full");
        FullDisk full(settingsFolder(env));
        QVERIFY(jobs.cmdSave_Click());
        QCOMPARE(env.app().DbConnection.scalar("SELECT count(*) FROM Jobs").toInt(), 1);
        QCOMPARE(env.prompter.last().title, QString("Settings Not Saved"));
        QVERIFY(env.prompter.last().prompt.contains(env.settingsFile()));
    }

    // An installation that cannot finish leaves no settings file that names nothing, so the
    // next one starts again.
    void anInstallationOnAFullDiskLeavesNoHalfMadeSettings() {
        TestEnv env;
        FullDisk full(settingsFolder(env));
        const AdminRun run = runAdmin({"init"});
        QVERIFY2(run.status != 0, qPrintable(run.out + full.how()));
        QVERIFY(!QFile::exists(env.settingsFile()) ||
                TestEnv::readFile(env.settingsFile()).contains("firstrun=1"));
    }

    // What an interrupted installation of an earlier build left is completed by the next start,
    // which says so.
    void theNextStartCompletesAnInterruptedInstallation_data() {
        QTest::addColumn<bool>("emptySettings");
        QTest::newRow("an empty settings file") << true;
        QTest::newRow("a data folder without its database") << false;
    }
    void theNextStartCompletesAnInterruptedInstallation() {
        QFETCH(bool, emptySettings);
        TestEnv env;
        if (emptySettings) {
            TestEnv::writeFile(env.settingsFile(), "");
        } else {
            env.createSettings({{"FirstRun", "1"}});
            QVERIFY(QDir().mkpath(env.dataFolder() + "/Docs"));
        }
        const AdminRun run = runAdmin({"init"});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY2(run.out.contains("completed"), qPrintable(run.out));
        QVERIFY(QFile::exists(env.dataFolder() + "/verdell.mdb"));
        QVERIFY(QFile::exists(env.dataFolder() + "/Templates/Job Sheet.dotx"));
        QCOMPARE(runAdmin({"check"}).status, 0);
    }
};

VERDELL_FAULT_TEST(SettingsFaults)
#include "fault_settings.moc"
