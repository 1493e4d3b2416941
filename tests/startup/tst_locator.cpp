#include "startup/frmLocateDatabase.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The database locator window: its opening checks, the automatic search of the usual places,
// and choosing the file by hand.
class tst_locator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void openingFillsInDefaults() {
        TestEnv env;
        env.createSettings();
        frmLocateDatabase locator(env.app());
        locator.Form_Load();
        QCOMPARE(locator.windowTitle(), QString("Verdell Database Locator"));
        QCOMPARE(control<QLineEdit>(&locator, "txtDBName")->text(), QString("verdell.mdb"));
        QCOMPARE(control<QLineEdit>(&locator, "txtDBPath")->text(),
                 env.app().roots.installFolder());
        QCOMPARE(env.setting("dataname"), QString("verdell.mdb"));
        QCOMPARE(env.setting("datapath"), QString("\\Program Files\\Verdell"));
        QCOMPARE(env.prompter.prompts(),
                 QStringList({"Unable to locate the name of the database in the registry\r\n\r\n"
                              "Defaulting to verdell.mdb",
                              "Unable to locate the database via the registry\r\n\r\n"
                              "Defaulting to the installating path",
                              env.prompter.prompts().value(2)}));
        // The installation folder exists but holds no database: the file is missing.
        QVERIFY(env.prompter.prompts().value(2).startsWith("The path to the database is correct."));
        QCOMPARE(locator.findChild<QPushButton*>("cmdAutoFind")->text(),
                 QString("Automatically Locate Database"));
        QCOMPARE(locator.findChild<QPushButton*>("cmdLocate")->text(),
                 QString("Manually Locate Database"));

        // Choosing the file by hand: cancelled, then a file chosen.
        const QString file = env.makeDatabase(env.driveE() + "/Office/jobs.cvn");
        locator.cmdLocate_Click();
        QCOMPARE(env.setting("datapath"), QString("\\Program Files\\Verdell"));
        QVERIFY(!env.app().DbConnection.isOpen());
        env.prompter.chooseFile(file);
        locator.cmdLocate_Click();
        QCOMPARE(control<QLineEdit>(&locator, "txtDBName")->text(), QString("jobs.cvn"));
        QCOMPARE(control<QLineEdit>(&locator, "txtDBPath")->text(), env.driveE() + "/Office");
        QCOMPARE(env.setting("dataname"), QString("jobs.cvn"));
        QCOMPARE(env.setting("datapath"), env.driveE() + "/Office");
        QVERIFY(env.app().DbConnection.isOpen());
        QCOMPARE(locator.result(), int(QDialog::Accepted));
    }

    void automaticSearchTakesTheFirstCandidate() {
        TestEnv env;
        env.createSettings({{"datapath", "\\Gone"}, {"dataname", "verdell.mdb"}});
        env.makeDatabase(env.home() + "/cvnverdell/verdell.mdb");
        env.makeDatabase(env.installFolder() + "/verdell.mdb");
        frmLocateDatabase locator(env.app());
        locator.cmdAutoFind_Click();
        QCOMPARE(locator.result(), int(QDialog::Accepted));
        QCOMPARE(env.setting("datapath"), QString("\\cvnverdell"));
        QCOMPARE(env.setting("dataname"), QString("verdell.mdb"));
        QVERIFY(env.app().DbConnection.isOpen());
        QCOMPARE(env.app().DbConnection.fileName(), env.home() + "/cvnverdell/verdell.mdb");
        QCOMPARE(env.prompter.prompts(),
                 QStringList({"Verdell has recovered a compatible database, please make sure the "
                              "data looks correct before entering new data as it may be an older "
                              "version"}));
    }

    // Finding nothing changes nothing; the installation folder is one of the places looked in.
    void automaticSearchLooksInTheInstallationFolder() {
        TestEnv env;
        env.createSettings({{"datapath", "\\Gone"}});
        frmLocateDatabase locator(env.app());
        locator.cmdAutoFind_Click();
        QCOMPARE(env.prompter.count(), 0);
        QCOMPARE(env.setting("datapath"), QString("\\Gone"));
        env.makeDatabase(env.installFolder() + "/verdell.cvn");
        locator.cmdAutoFind_Click();
        QCOMPARE(env.setting("datapath"), QString("\\program files\\verdell"));
        QCOMPARE(env.setting("dataname"), QString("verdell.cvn"));
        QVERIFY(env.app().DbConnection.isOpen());
    }

    void aFoundFileThatWillNotOpenKeepsTheOneWindowOpen() {
        TestEnv env;
        env.createSettings();
        QVERIFY(QDir().mkpath(env.home() + "/cvnverdell"));
        QVERIFY(QFile::copy(VERDELL_JET_FIXTURES "/DateTestDatabase.mdb",
                            env.home() + "/cvnverdell/verdell.mdb"));
        int locators = 0;
        env.app().showLocator = [&] { ++locators; };
        env.app().locatorShowing = true;  // as when the window is on screen
        frmLocateDatabase locator(env.app());
        locator.cmdAutoFind_Click();
        QCOMPARE(locators, 0);
        QCOMPARE(locator.result(), int(QDialog::Rejected));
        // The offer to convert (declined), the two failure messages, no recovery message.
        QCOMPARE(env.prompter.count(), 3);
        QCOMPARE(env.prompter.titles()[0], QString("Convert Database"));
        QVERIFY(env.prompter.prompts()[1].contains("earlier Windows release"));
        QVERIFY(!env.app().DbConnection.isOpen());
    }
};

QTEST_MAIN(tst_locator)
#include "tst_locator.moc"
