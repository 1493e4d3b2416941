#include "records/Connection.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTest>

// Finding the database file, pinning the data folder to a drive, and opening the connection.
class tst_connection : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fileCheckExplainsWhatIsMissing_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("bErr");
        QTest::addColumn<QString>("explanation");
        QTest::newRow("present") << "/home/Verdell Std/verdell.mdb" << true << "";
        QTest::newRow("file missing") << "/home/Verdell Std/other.mdb" << true
                                      << "The path to the database is correct.  However the "
                                         "database itself is not located in the expected folder";
        QTest::newRow("folder missing") << "/home/Gone/verdell.mdb" << true
                                        << "The path to the database does not exist";
        QTest::newRow("not asked to explain") << "/home/Gone/verdell.mdb" << false << "";
        QTest::newRow("a folder, not a file") << "/home/Verdell Std" << true << "";
    }
    void fileCheckExplainsWhatIsMissing() {
        QFETCH(QString, file);
        QFETCH(bool, bErr);
        QFETCH(QString, explanation);
        TestEnv env;
        env.openNewDatabase();
        const bool found = DoesFileExist(env.app(), env.root() + file, bErr);
        QCOMPARE(found, file.endsWith("Std/verdell.mdb"));
        if (explanation.isEmpty()) {
            QCOMPARE(env.prompter.count(), 0);
            return;
        }
        QCOMPARE(env.prompter.count(), 1);
        QVERIFY(env.prompter.last().prompt.startsWith(explanation));
        QCOMPARE(env.prompter.last().title, QString("Verdell Database Locator"));
        QCOMPARE(env.prompter.last().icon, Prompter::Icon::CriticalInformation);
        if (file.contains("Gone")) {
            QVERIFY(env.prompter.last().prompt.contains("\r\n" + env.root() + file + "\r\n"));
        }
    }

    void diagnosticMessagesWhenAskedFor() {
        TestEnv env;
        env.openNewDatabase();
        env.app().AppSettings.SetValue("logdebug", "1");
        const QString file = env.dataFolder() + "/none.mdb";
        QVERIFY(!DoesFileExist(env.app(), file, false));
        QCOMPARE(env.prompter.prompts(), QStringList({"In DoesFileExist Looking for " + file,
                                                      "File Not Found. Error No53"}));
        env.prompter.clear();
        QVERIFY(DoesFileExist(env.app(), env.dataFolder() + "/verdell.mdb", false));
        QCOMPARE(env.prompter.prompts().last(), QString("File Succesfully found"));
        env.prompter.clear();
        QVERIFY(!DoesFileExist(env.app(), file, false, false));  // the locator's own check
        QCOMPARE(env.prompter.count(), 0);
    }

    // Found nowhere, nothing is written; found in the folder named, its folders are rebuilt.
    // Either way the stored data folder is given back as it was.
    void dataFolderFoundInPlaceRebuildsItsFolders() {
        TestEnv env;
        env.createSettings({{"datapath", "\\Stored"},
                            {"DocPath", "/elsewhere/Docs"},
                            {"TemplatePath", "/elsewhere/T"}});
        QCOMPARE(LocateDataFolder(env.app(), "\\Verdell Std", "verdell.mdb"), QString("\\Stored"));
        QCOMPARE(env.setting("DocsFolder"), QString());
        QCOMPARE(env.setting("TemplatePath"), QString("/elsewhere/T"));
        env.makeDatabase(env.dataFolder() + "/verdell.mdb");
        QCOMPARE(LocateDataFolder(env.app(), "\\Verdell Std", "verdell.mdb"), QString("\\Stored"));
        QCOMPARE(env.setting("DocPath"), QString("\\Verdell Std\\Docs"));
        QCOMPARE(env.setting("DocsFolder"), QString("\\Verdell Std\\Docs"));
        QCOMPARE(env.setting("ImageFolder"), QString("\\Verdell Std\\Images"));
        QCOMPARE(env.setting("TemplatePath"), QString("\\Verdell Std\\Templates"));
    }

    void dataFolderFoundOnAnotherDrive_data() {
        QTest::addColumn<QString>("datapath");
        QTest::addColumn<QString>("onDrive");  // where the file really is
        QTest::newRow("root of the current drive, file on D") << "\\Verdell Std" << "D";
        QTest::newRow("on E, file on D") << "E" << "D";
        QTest::newRow("on D, file on E") << "D" << "E";
    }
    void dataFolderFoundOnAnotherDrive() {
        QFETCH(QString, datapath);
        QFETCH(QString, onDrive);
        TestEnv env;
        auto drive = [&](const QString& letter) {
            return letter == "D" ? env.driveD() : env.driveE();
        };
        if (datapath.size() == 1) {
            datapath = drive(datapath) + "/Verdell Std";
        }
        env.createSettings({{"datapath", datapath}, {"DocPath", "old docs"}});
        const QString folder = drive(onDrive) + "/Verdell Std";
        env.makeDatabase(folder + "/verdell.mdb");
        QCOMPARE(LocateDataFolder(env.app(), datapath, "verdell.mdb"), folder);
        QCOMPARE(env.setting("DocsFolder"), folder + "/Docs");
        QCOMPARE(env.setting("ImageFolder"), folder + "/Images");
        QCOMPARE(env.setting("TemplatePath"), folder + "/Templates");
        QCOMPARE(env.setting("DocPath"), QString("old docs"));  // rebuilt at the next start
    }

    void networkPathKeepsItsForm() {
        TestEnv env;
        env.createSettings();
        // A network share mounted where the two leading separators lead.
        const QString share = "/" + env.root() + "/server/Verdell";
        env.makeDatabase(share + "/verdell.mdb");
        LocateDataFolder(env.app(), share, "verdell.mdb");
        QCOMPARE(env.setting("DocPath"), share + "/Docs");
        QCOMPARE(env.setting("TemplatePath"), share + "/Templates");
    }

    void openDatabaseFailureExplainsAndShowsTheLocatorOnce_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QByteArray() << "Could not find file";
        QTest::newRow("foreign") << QByteArray("%PDF-1.4") << "not a database";
    }
    void openDatabaseFailureExplainsAndShowsTheLocatorOnce() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, reason);
        TestEnv env;
        env.createSettings({{"datapath", env.dataFolder()}, {"dataname", "verdell.mdb"}});
        const QString file = env.dataFolder() + "/verdell.mdb";
        if (!contents.isNull()) {
            TestEnv::writeFile(file, contents);
        }
        int locators = 0;
        env.app().showLocator = [&] {
            ++locators;
            QVERIFY(!OpenDatabase(env.app()));  // fails again inside the locator
        };
        QVERIFY(!OpenDatabase(env.app()));
        QCOMPARE(locators, 1);
        QCOMPARE(env.prompter.count(), 4);  // both messages, twice, and one locator
        const auto& first = env.prompter.calls()[0];
        QVERIFY(first.prompt.startsWith("Error number -2147467259\r\n"));
        QVERIFY2(first.prompt.contains(reason), qPrintable(first.prompt));
        QVERIFY(first.prompt.endsWith(
            "\r\nAn error has occured connecting to your database, please check the database "
            "path is correct\r\nand that your network is running if applicable!"));
        QCOMPARE(first.title, "Data Source=" + file + ";");
        QCOMPARE(first.icon, Prompter::Icon::Critical);
        const auto& second = env.prompter.calls()[1];
        QCOMPARE(second.prompt,
                 QString("Verdell will now provide you with help in locating the database!"));
        QCOMPARE(second.title, QString());
        QCOMPARE(second.icon, Prompter::Icon::Information);
        QVERIFY(!env.app().DbConnection.isOpen());
    }
};

QTEST_GUILESS_MAIN(tst_connection)
#include "tst_connection.moc"
