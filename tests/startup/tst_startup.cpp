#include "records/RunDatabase.h"
#include "startup/Bootstrap.h"
#include "startup/Startup.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTest>

namespace {

// Records what the shared state held when the main window was shown.
class RecordingUi : public StartupUi {
public:
    explicit RecordingUi(AppState& app) : app_(app) {}
    void showMainWindow() override {
        ++shown;
        optionsAtShow = app_.ForceDateValidation || app_.ManualNumbering;
        formatAtShow = app_.DefaultDateFormat;
        completeAtShow = app_.StartupComplete;
    }
    void setBusy(bool busy) override { busyCalls << busy; }

    int shown = 0;
    bool optionsAtShow = false;
    bool completeAtShow = true;
    QString formatAtShow;
    QList<bool> busyCalls;

private:
    AppState& app_;
};

// Start-up's main sequence run on the state, recording what the main window saw.
class StartedUi : public RecordingUi {
public:
    explicit StartedUi(AppState& app) : RecordingUi(app) { Main(app, *this); }
};

}  // namespace

class tst_startup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void narrowScreensAreWarned_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("messages");
        QTest::newRow("exactly 1024") << QSize(1024, 768) << 0;
        QTest::newRow("1023") << QSize(1023, 768) << 2;
        QTest::newRow("tall but narrow") << QSize(800, 1200) << 2;
        QTest::newRow("wide but short") << QSize(1280, 600) << 0;
    }
    void narrowScreensAreWarned() {
        QFETCH(QSize, screen);
        QFETCH(int, messages);
        TestEnv env;
        env.screen.set(screen);
        CheckScreenResolution(env.app(), 1024);
        QCOMPARE(env.prompter.count(), messages);
        if (messages == 0) {
            return;
        }
        const QString size = QString("%1x%2").arg(screen.width()).arg(screen.height());
        QCOMPARE(env.prompter.calls()[0].prompt,
                 QString("Verdell needs to run in a screen resolution of at least 1024 pixels "
                         "wide\r\nPlease adjust your screen resolution and run Verdell again!"));
        QCOMPARE(env.prompter.calls()[0].title,
                 "Larger screen resolution required, currently set to " + size);
        QCOMPARE(env.prompter.calls()[1].prompt,
                 QString("Verdell will continue but your may not see all the information on "
                         "the screen"));
        QCOMPARE(env.prompter.calls()[1].title,
                 QString("Increase Screen Resolution to at least 1024 pixels wide"));
        QCOMPARE(env.prompter.calls()[1].icon, Prompter::Icon::Critical);
    }

    void firstRunDefaults_data() {
        QTest::addColumn<QString>("firstRun");
        QTest::addColumn<bool>("written");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("true") << "true" << false;
        QTest::newRow("01") << "01" << false;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("missing") << QString() << false;
    }
    void firstRunDefaults() {
        QFETCH(QString, firstRun);
        QFETCH(bool, written);
        TestEnv env;
        env.createSettings();
        if (!firstRun.isNull()) {
            env.app().AppSettings.SetValue("FirstRun", firstRun);
        }
        WriteFirstRunDefaults(env.app());
        const QStringList names{"datapath", "dataname", "LastJob", "DocPath", "TemplatePath"};
        const QStringList values{"\\Verdell Std", "verdell.mdb", "0", "\\Verdell Std\\Docs",
                                 "\\Verdell Std\\Templates"};
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(env.setting(names[i]), written ? values[i] : QString());
        }
        if (written) {
            QCOMPARE(env.setting("FirstRun"), QString("0"));
        }
    }

    void aFirstStartInstallsAndOpensEverything() {
        TestEnv env;
        QCOMPARE(installIfNeeded(env.app()).problems, QStringList());
        QCOMPARE(env.setting("FirstRun"), QString("1"));
        QCOMPARE(env.setting("EstimateDoc"), QString("Estimate.dotx"));
        for (const char* sub : {"Docs", "Templates", "Images"}) {
            QVERIFY(QFileInfo(env.dataFolder() + "/" + sub).isDir());
        }
        for (const char* sample : {"Job Sheet.dotx", "Customer Letter.dotx", "Client Letter.dotx",
                                   "Invoice.xltx", "Estimate.dotx"}) {
            QVERIFY2(QFileInfo::exists(env.dataFolder() + "/Templates/" + sample), sample);
        }
        RecordingUi ui(env.app());
        QList<bool> completeWhenFinished;
        connect(&ui, &StartupUi::finished, this,
                [&] { completeWhenFinished << env.app().StartupComplete; });
        Main(env.app(), ui);
        AppState& app = env.app();
        QCOMPARE(env.prompter.count(), 0);
        QVERIFY(app.DbConnection.isOpen());
        QCOMPARE(app.DbConnection.fileName(), env.dataFolder() + "/verdell.mdb");
        QCOMPARE(env.setting("FirstRun"), QString("0"));
        QCOMPARE(app.FieldCaptions[1], QString("Engineer:"));
        QCOMPARE(app.FieldCaptions[36], QString());
        QCOMPARE(app.CurrencySymbol, QString::fromUtf8("\u00A3"));
        QCOMPARE(app.DefaultDateFormat, QString("dd/mm/yyyy"));
        QCOMPARE(app.TemplateFolder, QString("\\Verdell Std\\Templates"));
        QVERIFY(app.StartupComplete);
        QCOMPARE(ui.shown, 1);
        QCOMPARE(ui.formatAtShow, QString("dd/mm/yyyy"));
        QVERIFY(!ui.completeAtShow);  // the template folder is read after the window shows
        QCOMPARE(ui.busyCalls, QList<bool>({true, false}));
        QCOMPARE(completeWhenFinished, QList<bool>{true});  // said once, when complete
    }

    void sampleTemplatesComeFromTheInstalledProgram() {
        TestEnv env;
        // Installed as /usr/bin/verdell with /usr/share/verdell beside it.
        const QString installed = env.installFolder() + "/../share/verdell/templates";
        TestEnv::writeFile(installed + "/Job Sheet.dotx", "the installed job sheet");
        TestEnv::writeFile(installed + "/Office Letter.dotx", "a template of this office");
        QCOMPARE(installIfNeeded(env.app()).problems, QStringList());
        const QDir templates(env.dataFolder() + "/Templates");
        QCOMPARE(templates.entryList(QDir::Files),
                 QStringList({"Job Sheet.dotx", "Office Letter.dotx"}));
        QCOMPARE(TestEnv::readFile(templates.filePath("Job Sheet.dotx")),
                 QByteArray("the installed job sheet"));
    }

    void aDatabaseNamedForThisRunLeavesTheSettingsAlone_data() {
        QTest::addColumn<QString>("provider");
        QTest::newRow("settings name a file") << "";
        QTest::newRow("settings name a server") << "PostgreSQL";
    }
    void aDatabaseNamedForThisRunLeavesTheSettingsAlone() {
        QFETCH(QString, provider);
        TestEnv env;
        env.createSettings({{"FirstRun", "0"},
                            {"datapath", env.dataFolder()},
                            {"dataname", "verdell.mdb"},
                            {"DbProvider", provider},
                            {"DbHost", "server"},
                            {"DbName", "verdell"}});
        env.makeDatabase(env.dataFolder() + "/verdell.mdb");
        const QString other = env.makeDatabase(env.driveE() + "/Other Office/jobs.mdb");
        const QByteArray settings = TestEnv::readFile(env.settingsFile());
        // The usual database named on the command line is a plain start; a missing one is
        // reported and not held.
        if (provider.isEmpty()) {
            QVERIFY(useDatabaseForThisRun(env.app(), env.dataFolder() + "/verdell.mdb"));
            QCOMPARE(databaseForThisRun(env.app()), QString());
        }
        QVERIFY(!useDatabaseForThisRun(env.app(), env.root() + "/gone.mdb"));
        QCOMPARE(env.prompter.count(), 1);
        QCOMPARE(env.prompter.last().prompt, "Verdell cannot find the database\r\n" + env.root() +
                                                 "/gone.mdb\r\nIt may have been moved, renamed "
                                                 "or deleted.");
        QCOMPARE(databaseForThisRun(env.app()), QString());
        env.prompter.clear();

        QVERIFY(useDatabaseForThisRun(env.app(), other));
        StartedUi ui(env.app());
        QCOMPARE(env.app().DbConnection.fileName(), other);
        QCOMPARE(databaseForThisRun(env.app()), other);
        QCOMPARE(env.prompter.count(), 0);
        QCOMPARE(TestEnv::readFile(env.settingsFile()), settings);

        // Made the default, it is what every start opens.
        QVERIFY(makeRunDatabaseTheDefault(env.app()));
        QCOMPARE(databaseForThisRun(env.app()), QString());
        AppState& next = env.restart();
        StartedUi nextUi(next);
        QCOMPARE(next.DbConnection.fileName(), other);
    }

    void installingNeverOverwrites() {
        TestEnv env;
        env.createSettings({{"FirstRun", "0"}, {"LastJob", "42"}});
        TestEnv::writeFile(env.dataFolder() + "/notes.txt", "mine");
        QCOMPARE(installIfNeeded(env.app()).problems, QStringList());
        QCOMPARE(env.setting("FirstRun"), QString("0"));
        QCOMPARE(env.setting("LastJob"), QString("42"));
        QVERIFY(!QFile::exists(env.dataFolder() + "/verdell.mdb"));
    }

    // The data of an office that keeps it on another volume is found by every kind of start,
    // and no empty data folder is made in the home folder to hide it.
    void dataOnAnotherVolumeIsFound_data() {
        QTest::addColumn<QString>("firstRun");  // null: no settings file yet
        QTest::newRow("a working office") << "0";
        QTest::newRow("first start after installing") << "1";
        QTest::newRow("settings lost") << QString();
    }
    void dataOnAnotherVolumeIsFound() {
        QFETCH(QString, firstRun);
        TestEnv env;
        const QString office = env.driveD() + "/Verdell Std/verdell.mdb";
        env.makeDatabase(office);
        if (!firstRun.isNull()) {
            env.createSettings({{"FirstRun", firstRun},
                                {"datapath", "\\Verdell Std"},
                                {"dataname", "verdell.mdb"},
                                {"LastJob", "77"}});
        }
        RecordingUi ui(env.app());
        StartProgram(env.app(), ui);
        QCOMPARE(env.prompter.count(), 0);
        QCOMPARE(env.app().DbConnection.fileName(), office);
        QVERIFY(!QFileInfo::exists(env.dataFolder()));
        QCOMPARE(env.setting("datapath"), env.driveD() + "/Verdell Std");
    }

    void settingsThatCannotBeWrittenAreReported() {
        TestEnv env;
        TestEnv::writeFile(env.root() + "/config", "a file where the folder should be");
        const QStringList problems = installIfNeeded(env.app()).problems;
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems.first().startsWith("Verdell cannot create its settings file"));
        // Start-up goes on without settings: nothing is written, the default place is tried.
        StartedUi ui(env.app());
        QCOMPARE(ui.shown, 1);
        QVERIFY(!env.app().DbConnection.isOpen());
    }

    void optionsComeFromTheCountersRow_data() {
        QTest::addColumn<int>("free3");
        QTest::addColumn<QList<bool>>("flags");
        QTest::newRow("5") << 5 << QList<bool>{true, false, true, false, false, false, false};
        QTest::newRow("all seven") << 127 << QList<bool>{true, true, true, true, true, true, true};
        QTest::newRow("128 is none of them") << 128
                                             << QList<bool>{false, false, false, false, false,
                                                            false, false};
        QTest::newRow("bit 6 and above") << 192
                                         << QList<bool>{false, false, false, false, false,
                                                        false, true};
    }
    void optionsComeFromTheCountersRow() {
        QFETCH(int, free3);
        QFETCH(QList<bool>, flags);
        TestEnv env;
        env.openNewDatabase();
        env.app().DbConnection.exec("UPDATE Counters SET Free3 = ?, CurrencySign = NULL", {free3});
        env.app().DbConnection.close();
        env.app().AppSettings.SetValue("FirstRun", "0");
        StartedUi ui(env.app());
        const AppState& a = env.app();
        QCOMPARE(QList<bool>({a.ForceDateValidation, a.UseSystemDateFormat, a.ManualNumbering,
                              a.VatRegistered, a.PrintCount, a.JustPrint, a.BackgroundPrinting}),
                 flags);
        QCOMPARE(a.CurrencySymbol, QString());
        QCOMPARE(ui.optionsAtShow, flags[0] || flags[2]);
    }

    // An older database is upgraded, and the captions come from its labels table.
    void anOlderDatabaseIsUpgradedAndItsCaptionsRead() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        db.exec("UPDATE Version SET Version = '1.0.4'");
        db.exec("UPDATE Counters SET Estimate = 4321");
        db.exec("DELETE FROM labels");
        for (const auto& [index, text] : QList<QPair<int, QString>>{
                 {11, "  Booked: "}, {36, "no such label"}, {201, "too far"}, {1, "Agent"}}) {
            db.exec("INSERT INTO labels (\"Index\", \"Text\") VALUES (?, ?)", {index, text});
        }
        db.close();
        StartedUi ui(env.app());
        QCOMPARE(env.app().DbConnection.scalar("SELECT Version FROM Version").toString(),
                 QString("1.0.5"));
        QCOMPARE(env.app().DbConnection.scalar("SELECT Estimate FROM Counters").toInt(), 1000);
        QCOMPARE(env.app().FieldCaptions[11], QString("Booked:"));
        QCOMPARE(env.app().FieldCaptions[1], QString("Agent"));
        QCOMPARE(env.app().FieldCaptions[36], QString());
        QCOMPARE(env.app().FieldCaptions[0], QString());
    }

    void withoutADatabaseStartUpGoesOn() {
        TestEnv env;
        env.createSettings({{"datapath", "\\Gone"}, {"dataname", "verdell.mdb"}});
        int locators = 0;
        env.app().showLocator = [&] { ++locators; };
        StartedUi ui(env.app());
        QCOMPARE(locators, 1);
        const AppState& a = env.app();
        QVERIFY(!a.DbConnection.isOpen());
        QVERIFY(!a.ForceDateValidation && !a.ManualNumbering && !a.BackgroundPrinting);
        QCOMPARE(a.CurrencySymbol, QString());
        QCOMPARE(a.DefaultDateFormat, QString());
        QCOMPARE(ui.shown, 1);
        QVERIFY(a.StartupComplete);
    }

    // A start with the database server down says which server it could not reach and opens
    // Setup's network tab, then tries once more; the main window still comes up, and the
    // connection is left for the server link to make when the server answers.
    void aStartWithTheServerDownOpensTheNetworkTab() {
        TestEnv env;
        QTcpServer nobody;
        QVERIFY(nobody.listen(QHostAddress::LocalHost));
        const QString port = QString::number(nobody.serverPort());
        nobody.close();
        env.createSettings({{"DbProvider", "PostgreSQL"},
                            {"DbHost", "127.0.0.1"},
                            {"DbPort", port},
                            {"DbName", "verdell"},
                            {"DbUser", "ann"}});
        int setups = 0;
        env.app().showNetworkSetup = [&] { ++setups; };
        StartedUi ui(env.app());

        QCOMPARE(setups, 1);
        QCOMPARE(env.prompter.titles(), QStringList(2, "Database Server Not Reachable"));
        const QString prompt = env.prompter.calls().first().prompt;
        QVERIFY2(prompt.startsWith("Verdell could not reach the database server 127.0.0.1:" + port +
                                   "/verdell (user \"ann\"):") &&
                     prompt.endsWith("Network Configuration tab of Setup, which opens now."),
                 qPrintable(prompt));
        QCOMPARE(ui.shown, 1);
        QVERIFY(env.app().DbConnection.serverAway());
    }
};

QTEST_GUILESS_MAIN(tst_startup)
#include "tst_startup.moc"
