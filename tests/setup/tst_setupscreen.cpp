// The setup screen: its tabs, the counters and options, the date formats, the file locations,
// network preparation and the reset of blank captions.

#include "db/ServerAddress.h"
#include "documents/TemplatesTab.h"
#include "records/Captions.h"
#include "records/RunDatabase.h"
#include "setup/CountersTab.h"
#include "setup/LocationsTab.h"
#include "setup/MaintenanceTab.h"
#include "setup/NetworkSetup.h"
#include "setup/NetworkTab.h"
#include "setup/frmSetup.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <algorithm>

Q_DECLARE_METATYPE(ServerAddress)
Q_DECLARE_METATYPE(Prompter::Icon)
Q_DECLARE_METATYPE(Prompter::Answer)
using Settings = QMap<QString, QString>;

namespace {

QLineEdit* box(QWidget* screen, const char* name) {
    return control<QLineEdit>(screen, name);
}
QPushButton* button(QWidget* screen, const char* name) {
    return control<QPushButton>(screen, name);
}
QCheckBox* tick(QWidget* screen, const char* name) {
    return control<QCheckBox>(screen, name);
}
// The network tab's role: server, client, database server.
QRadioButton* role(QWidget* screen, int which) {
    return control<QRadioButton>(screen, QStringLiteral("optServer_%1").arg(which));
}

// The setup screen, loaded as the menu opens it.
struct Setup : frmSetup {
    explicit Setup(AppState& app) : frmSetup(app) { Form_Load(); }
};

// The database server role chosen and its boxes filled in.
void serverBoxes(QWidget* screen, const QString& host, const QString& port,
                 const QString& database, const QString& user) {
    role(screen, 2)->click();
    box(screen, "txtDbHost")->setText(host);
    box(screen, "txtDbPort")->setText(port);
    box(screen, "txtDbName")->setText(database);
    box(screen, "txtDbUser")->setText(user);
}

}  // namespace

class tst_setupscreen : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The screen shows the stored counters and options; blank captions are reset as unused.
    void showsTheOptionsAndResetsBlankCaptions() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        // Forced dates, then the two document options the templates tab shows.
        QVERIFY(db.exec("UPDATE Counters SET Free3 = 97"));
        for (int index : {4, 22, 35}) {
            QVERIFY(db.exec("UPDATE labels SET \"Text\" = '' WHERE \"Index\" = ?", {index}));
        }
        Setup setup(env.app());
        auto* pages = control<QTabWidget>(&setup, "SSTab1");
        QCOMPARE(box(&setup, "txtJobNo")->text(), QString("1"));
        QCOMPARE(control<QComboBox>(&setup, "comDateFormat")->currentText(), QString("dd/mm/yyyy"));
        QCOMPARE(control<QLabel>(&setup, "labDateFormat")->text(),
                 env.clock.today().toString("dd/MM/yyyy"));
        for (const char* ticked : {"chkForceDate", "chkJustPrint", "chkBackgroundPrinting"}) {
            QVERIFY2(tick(&setup, ticked)->isChecked(), ticked);
        }
        QVERIFY(!tick(&setup, "chkManual")->isChecked());
        // Where the program sends the user when the database server cannot be reached.
        pages->setCurrentIndex(4);
        setup.showNetworkTab();
        QCOMPARE(pages->currentIndex(), 0);

        button(&setup, "cmdResetLabels")->click();
        QCOMPARE(env.prompter.last().prompt,
                 QString("All unused labels have now been made visible. Go to the Job Screen and "
                         "change them to something more applicable."));
        const auto stored = captions::read(db);
        QCOMPARE(stored.size(), captions::kLabelCount);
        for (const auto& [index, text] : stored) {
            if (index == 4 || index == 22 || index == 35) {
                QCOMPARE(text, QString("Unused"));
            } else {
                QCOMPARE(text, captions::defaults()[size_t(index)]);
            }
        }
        QCOMPARE(env.app().FieldCaptions[4], QString("Unused"));
    }

    // OK or Apply on any tab stores the changes of every tab; only OK closes the screen.
    void applyStoresCountersAndOptions_data() {
        QTest::addColumn<QString>("jobNo");
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<qint64>("storedJob");
        QTest::addColumn<qint64>("storedBits");
        QTest::newRow("force date and manual, Apply on the tab")
            << "1200" << QStringList{"chkForceDate", "chkManual"} << "cmdApplyCounters"
            << qint64(1200) << qint64(5);
        QTest::newRow("text after the digits, OK on the network tab")
            << "12ab" << QStringList{"ckPrintCount"} << "cmdOK" << qint64(12) << qint64(16);
    }
    void applyStoresCountersAndOptions() {
        QFETCH(QString, jobNo);
        QFETCH(QStringList, ticked);
        QFETCH(QString, pressed);
        QFETCH(qint64, storedJob);
        QFETCH(qint64, storedBits);
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        QVERIFY(db.exec("UPDATE Counters SET Free3 = 128"));  // a bit beyond the options is kept
        Setup setup(env.app());
        box(&setup, "txtJobNo")->setText(jobNo);
        box(&setup, "txtCurrency")->setText("€");
        box(&setup, "txtEstNo")->setText("2000");
        for (QCheckBox* box : setup.findChildren<QCheckBox*>()) {
            box->setChecked(ticked.contains(box->objectName()));
        }
        control<QPushButton>(&setup, pressed)->click();
        const bool ok = pressed == "cmdOK";
        QCOMPARE(setup.result(), int(ok ? QDialog::Accepted : QDialog::Rejected));
        const auto rows = db.query("SELECT * FROM Counters");
        QCOMPARE(rows->integer(0, "JobCounter"), storedJob);
        QCOMPARE(rows->integer(0, "Free3"), storedBits | 128);
        QCOMPARE(rows->integer(0, "Estimate"), 2000);
        QCOMPARE(rows->text(0, "CurrencySign"), QString("€"));
        if (!ok) {
            setup.reject();
        }
        QCOMPARE(env.app().CurrencySymbol, QString("€"));  // closing reloads the options
        QCOMPARE(env.app().ManualNumbering, ticked.contains("chkManual"));
    }

    // A number the job and document columns cannot hold is refused, never stored.
    void countersOutOfRangeAreRefused_data() {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("column");
        QTest::newRow("job number beyond 32 bits") << "txtJobNo" << "3000000000" << "JobCounter";
        QTest::newRow("document number of 0") << "txtDocNo" << "0" << "FileCounter";
        QTest::newRow("invoice number not a number") << "txtInvNo" << "abc" << "Free2";
        QTest::newRow("negative estimate number") << "txtEstNo" << "-5" << "Estimate";
    }
    void countersOutOfRangeAreRefused() {
        QFETCH(QString, boxName);
        QFETCH(QString, typed);
        QFETCH(QString, column);
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        const QVariant before = db.scalar("SELECT " + column + " FROM Counters");
        Setup setup(env.app());
        auto* edit = control<QLineEdit>(&setup, boxName);
        edit->setText(typed);
        box(&setup, "txtCurrency")->setText("$");
        button(&setup, "SSCommand3")->click();
        QCOMPARE(env.prompter.count(), 1);
        QVERIFY2(env.prompter.last().prompt.contains("'" + typed + "' is not"),
                 qPrintable(env.prompter.last().prompt));
        QCOMPARE(setup.result(), int(QDialog::Rejected));  // OK kept the screen open
        QCOMPARE(db.scalar("SELECT " + column + " FROM Counters"), before);
        QCOMPARE(db.scalar("SELECT CurrencySign FROM Counters").toString(), QString("\u00A3"));
    }

    // Cancel asks before it discards changes.
    void cancelAsksBeforeDiscarding_data() {
        QTest::addColumn<Prompter::Answer>("answer");
        QTest::newRow("no: stay") << Prompter::Answer::No;
        QTest::newRow("yes: discard") << Prompter::Answer::Yes;
    }
    void cancelAsksBeforeDiscarding() {
        QFETCH(Prompter::Answer, answer);
        TestEnv env;
        env.openNewDatabase();
        Setup setup(env.app());
        setup.show();
        box(&setup, "txtJobNo")->setText("900");
        tick(&setup, "chkManual")->setChecked(true);
        env.prompter.answer(answer);
        button(&setup, "cmdCancel")->click();
        QCOMPARE(env.prompter.count(), 1);
        QCOMPARE(env.prompter.last().buttons, Prompter::Buttons::YesNo);
        QCOMPARE(setup.isVisible(), answer != Prompter::Answer::Yes);
        QCOMPARE(env.app().DbConnection.scalar("SELECT JobCounter FROM Counters").toInt(), 1);
        QVERIFY(!env.app().ManualNumbering);
        // Nothing changed: no question.
        Setup quiet(env.app());
        quiet.show();
        env.prompter.clear();
        button(&quiet, "SSCommand2")->click();
        QCOMPARE(env.prompter.count(), 0);
        QVERIFY(!quiet.isVisible());
    }

    void dateFormatsListedOnceAndOneDefault() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        QVERIFY(TestEnv::addRow(db, "DateFormat", {{"DateFormat", "dd mmm yyyy"}, {"Default", 0}}));
        Setup setup(env.app());
        auto* box = control<QComboBox>(&setup, "comDateFormat");
        QStringList listed;
        for (int i = 0; i < box->count(); ++i) {
            listed << box->itemText(i);
        }
        QCOMPARE(listed.count("dd mmm yyyy"), 1);
        box->setCurrentText("dd mmm yyyy");
        QCOMPARE(control<QLabel>(&setup, "labDateFormat")->text(),
                 env.clock.today().toString("dd MMM yyyy"));
        button(&setup, "SSCommand3")->click();
        QCOMPARE(db.scalar("SELECT count(*) FROM DateFormat WHERE \"Default\" <> 0").toInt(), 2);
        QCOMPARE(db.scalar("SELECT count(DISTINCT DateFormat) FROM DateFormat WHERE \"Default\" "
                           "<> 0")
                     .toString(),
                 QString("1"));
        // A typed format without a row leaves none marked.
        Setup again(env.app());
        control<QComboBox>(&again, "comDateFormat")->setCurrentText("yyyy.mm.dd");
        button(&again, "cmdApplyCounters")->click();
        QCOMPARE(db.scalar("SELECT count(*) FROM DateFormat WHERE \"Default\" <> 0").toInt(), 0);
        // The system's format is shown at once, and the program's own when it is unticked.
        env.app().DefaultDateFormat = "dd/mm/yyyy";
        tick(&again, "chkSystemDate")->click();
        QVERIFY(env.app().UseSystemDateFormat);
        QCOMPARE(control<QComboBox>(&again, "comDateFormat")->currentText(),
                 env.locale.longDateFormat().trimmed());
        tick(&again, "chkSystemDate")->click();
        QCOMPARE(control<QComboBox>(&again, "comDateFormat")->currentText(), QString("dd/mm/yyyy"));
    }

    // The locations tab shows the settings each time it is chosen; a database named for this
    // run only is shown instead, with the button that makes it the default.
    void fileLocationsShowTheSettings() {
        if (TestEnv::onServer()) {
            QSKIP("the folder and name of the embedded database file");
        }
        TestEnv env;
        env.openNewDatabase();
        env.app().AppSettings.SetValue("DocPath", "\\Verdell Std\\Docs");
        env.app().AppSettings.SetValue("ScanLocation", "/scans");
        Setup setup(env.app());
        auto* tabs = control<QTabWidget>(&setup, "SSTab1");
        tabs->setCurrentIndex(3);
        QCOMPARE(box(&setup, "txtDBLocation")->text(), env.dataFolder());
        QCOMPARE(box(&setup, "txtDBName")->text(), QString("verdell.mdb"));
        // The folder as this computer writes it; the setting keeps its own form.
        QCOMPARE(box(&setup, "txtDocLocation")->text(), env.home() + "/Verdell Std/Docs");
        QCOMPARE(env.setting("DocPath"), QString("\\Verdell Std\\Docs"));
        QCOMPARE(box(&setup, "txtScanLocation")->text(), QString("/scans"));
        auto* makeDefault = button(&setup, "cmdMakeDefault");
        QVERIFY(makeDefault->isHidden());

        const QString other = env.makeDatabase(env.driveD() + "/Other/jobs.mdb");
        QVERIFY(useDatabaseForThisRun(env.app(), other));
        tabs->setCurrentIndex(0);
        tabs->setCurrentIndex(3);
        QVERIFY(!makeDefault->isHidden());
        QCOMPARE(box(&setup, "txtDBLocation")->text(), env.driveD() + "/Other");
        QCOMPARE(box(&setup, "txtDBName")->text(), QString("jobs.mdb"));
        QCOMPARE(env.setting("datapath"), env.dataFolder());  // the stored default is unchanged

        makeDefault->click();
        QCOMPARE(env.setting("datapath"), env.driveD() + "/Other");
        QCOMPARE(env.setting("dataname"), QString("jobs.mdb"));
        QVERIFY(makeDefault->isHidden());
        QCOMPARE(env.prompter.count(), 0);
    }

    // A database file chosen on the tab is stored with its folder; a client's folder also gives
    // the documents and templates folders. Each role enables its own controls and refuses an
    // empty data folder.
    void choosingTheDatabaseFileStoresIt_data() {
        QTest::addColumn<int>("asRole");
        QTest::addColumn<QString>("chooser");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("documents");
        QTest::addColumn<QString>("stored");
        const QString office = "/srv/office/Verdell Std";
        QTest::newRow("a client locates the server's file")
            << 1 << QString("cmdLocate") << office + "/jobs.mdb" << office << office + "/Docs"
            << QString("client");
        QTest::newRow("the server's file chosen by hand")
            << 0 << QString("cmdManual") << QString("/srv/office/data/jobs.mdb")
            << QString("/srv/office/data") << QString() << QString("server");
    }
    void choosingTheDatabaseFileStoresIt() {
        QFETCH(int, asRole);
        QFETCH(QString, chooser);
        QFETCH(QString, chosen);
        QFETCH(QString, folder);
        QFETCH(QString, documents);
        QFETCH(QString, stored);
        TestEnv env;
        env.createSettings({{"datapath", "\\Verdell Std"}, {"dataname", "verdell.mdb"}});
        Setup setup(env.app());
        role(&setup, asRole)->click();
        const bool server = asRole == 0;
        QCOMPARE(button(&setup, "cmdPrepare")->isEnabled(), server);
        QCOMPARE(button(&setup, "cmdManual")->isEnabled(), server);
        QCOMPARE(button(&setup, "cmdLocate")->isEnabled(), !server);
        QCOMPARE(control<QGroupBox>(&setup, "fraClient")->isEnabled(), !server);
        // An empty data folder is refused: the screen stays open, nothing is stored.
        box(&setup, server ? "txtPath" : "txtLocate")->clear();
        button(&setup, "cmdOK")->click();
        QCOMPARE(env.prompter.count(), 1);
        QCOMPARE(env.prompter.last().title, QString("Network Configuration"));
        QCOMPARE(setup.result(), int(QDialog::Rejected));
        QCOMPARE(env.setting("datapath"), QString("\\Verdell Std"));

        env.prompter.chooseFile(chosen);
        control<QPushButton>(&setup, chooser)->click();
        button(&setup, "cmdApply")->click();
        QCOMPARE(env.setting("datapath"), folder);
        QCOMPARE(env.setting("dataname"), QString("jobs.mdb"));
        QCOMPARE(env.setting("DocPath"), documents);
        QCOMPARE(env.setting("TemplatePath"),
                 documents.isEmpty() ? QString() : documents + "/Templates");
        QCOMPARE(env.setting("NetworkRole"), stored);
    }

    // Opening Setup and pressing OK changes nothing: the tab shows the role and the places the
    // settings hold, and what is only shown in another form is no change.
    void networkTabOpensOnTheSettings_data() {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<bool>("networkFolder");
        QTest::addColumn<int>("opensOn");
        const Settings office{
            {"datapath", "\\Verdell Std"}, {"dataname", "verdell.mdb"}, {"FirstRun", "0"}};
        QTest::newRow("a folder on this computer") << office << false << 0;
        QTest::newRow("a folder on a network file system") << office << true << 1;
        auto remembered = office;
        remembered.insert("NetworkRole", "client");
        QTest::newRow("the role last applied") << remembered << false << 1;
        auto server = office;
        server.insert("DbProvider", "PostgreSQL");
        server.insert("DbHost", "officeserver");
        server.insert("DbName", "verdell");
        QTest::newRow("a database server") << server << false << 2;
    }
    void networkTabOpensOnTheSettings() {
        QFETCH(Settings, settings);
        QFETCH(bool, networkFolder);
        QFETCH(int, opensOn);
        TestEnv env;
        env.createSettings(settings);
        if (networkFolder) {
            env.roots.networkFolders << env.dataFolder();
        }
        const QByteArray before = TestEnv::readFile(env.settingsFile());
        QVERIFY(!before.isEmpty());
        Setup setup(env.app());
        QVERIFY(role(&setup, opensOn)->isChecked());
        QCOMPARE(box(&setup, "txtLocate")->text(), env.dataFolder());
        QCOMPARE(box(&setup, "txtPath")->text(), env.dataFolder());
        QCOMPARE(box(&setup, "txtDataBase")->text(), QString("verdell.mdb"));
        QVERIFY(!setup.hasChanges());
        button(&setup, "cmdOK")->click();
        QCOMPARE(setup.result(), int(QDialog::Accepted));
        QCOMPARE(TestEnv::readFile(env.settingsFile()), before);
    }

    // The network tab's server role needs no open database: these run alike on both engines.
    void databaseServerRoleIsStoredAndShownAgain() {
        TestEnv env;
        env.createSettings({{"datapath", "/srv/office/Verdell Std"}, {"dataname", "jobs.mdb"}});
        {
            Setup setup(env.app());
            QVERIFY(!control<QGroupBox>(&setup, "fraDbServer")->isEnabled() &&
                    !button(&setup, "cmdTestConnection")->isEnabled());
            QCOMPARE(box(&setup, "txtDbPort")->text(), QString("5432"));
            role(&setup, 2)->click();
            QVERIFY(control<QGroupBox>(&setup, "fraDbServer")->isEnabled() &&
                    button(&setup, "cmdTestConnection")->isEnabled());
            QVERIFY(!control<QGroupBox>(&setup, "fraServer")->isEnabled() &&
                    !control<QGroupBox>(&setup, "fraClient")->isEnabled());
            QVERIFY(!button(&setup, "cmdPrepare")->isEnabled() &&
                    !button(&setup, "cmdLocate")->isEnabled());
            const auto notes = control<QGroupBox>(&setup, "fraDbServer")->findChildren<QLabel*>();
            QVERIFY(std::any_of(notes.begin(), notes.end(), [](QLabel* label) {
                return label->text().contains("never stored") &&
                       label->text().contains("~/.pgpass") &&
                       label->text().contains("host:port:database:user:password");
            }));
            QTest::keyClicks(box(&setup, "txtDbHost"), " officeserver ");
            box(&setup, "txtDbPort")->clear();
            QTest::keyClicks(box(&setup, "txtDbPort"), "5544x");  // the box takes digits only
            QTest::keyClicks(box(&setup, "txtDbName"), "verdell");
            QTest::keyClicks(box(&setup, "txtDbUser"), "anne");
            button(&setup, "cmdOK")->click();
            QCOMPARE(setup.result(), int(QDialog::Accepted));
        }
        QCOMPARE(env.setting("DbProvider"), QString("PostgreSQL"));
        // The documents stay in the shared folder.
        QCOMPARE(env.setting("datapath"), QString("/srv/office/Verdell Std"));

        // Opened again, the tab shows the server; another role goes back to the embedded file.
        Setup again(env.app());
        QVERIFY(role(&again, 2)->isChecked() &&
                control<QGroupBox>(&again, "fraDbServer")->isEnabled());
        QVERIFY(!control<QGroupBox>(&again, "fraClient")->isEnabled() &&
                !button(&again, "cmdLocate")->isEnabled());
        for (const auto& [name, value] : {std::pair{"DbHost", "officeserver"},
                                          {"DbPort", "5544"}, {"DbName", "verdell"},
                                          {"DbUser", "anne"}}) {
            QCOMPARE(env.setting(name), QString(value));
            const QByteArray shownIn = QByteArray("txt") + name;
            QCOMPARE(box(&again, shownIn.constData())->text(), QString(value));
        }
        role(&again, 1)->click();
        button(&again, "cmdApply")->click();
        QVERIFY(!ServerAddress::fromSettings(env.app().AppSettings));
        for (const char* name : {"DbProvider", "DbHost", "DbPort", "DbName", "DbUser"}) {
            QCOMPARE(env.setting(name), QString());
        }
        QCOMPARE(env.setting("dataname"), QString("jobs.mdb"));
    }

    void databaseServerNeedsItsBoxes_data() {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const char* host, const char* port,
                            const char* database, const char* message) {
            QTest::newRow(name) << QString(host) << QString(port) << QString(database)
                                << QString(message);
        };
        const char* portMessage =
            "Please enter the server's port, a number from 1 to 65535 (PostgreSQL normally uses "
            "5432).";
        row("no host", "  ", "5432", "verdell",
            "Please enter the name or address of the database server.");
        row("no port", "officeserver", "", "verdell", portMessage);
        row("port zero", "officeserver", "0", "verdell", portMessage);
        row("no database", "officeserver", "5432", "",
            "Please enter the name of the database on the server.");
    }
    void databaseServerNeedsItsBoxes() {
        QFETCH(QString, host);
        QFETCH(QString, port);
        QFETCH(QString, database);
        QFETCH(QString, message);
        TestEnv env;
        env.createSettings({{"datapath", "/srv/office/Verdell Std"}});
        Setup setup(env.app());
        serverBoxes(&setup, host, port, database, "anne");
        for (QPushButton* button : {button(&setup, "cmdTestConnection"), button(&setup, "cmdApply"),
                                    button(&setup, "cmdOK")}) {
            env.prompter.clear();
            button->click();
            QCOMPARE(env.prompter.calls().size(), qsizetype(1));
            QCOMPARE(env.prompter.last().prompt, message);
        }
        QCOMPARE(env.prompter.last().title, QString("Database Server"));
        QCOMPARE(setup.result(), int(QDialog::Rejected));  // OK kept the screen open
        QCOMPARE(env.setting("DbProvider"), QString());
        QCOMPARE(env.setting("DbHost"), QString());
        QCOMPARE(env.setting("datapath"), QString("/srv/office/Verdell Std"));
    }

    void testConnectionReportsTheOutcome_data() {
        QTest::addColumn<ServerAddress>("server");
        QTest::addColumn<Prompter::Icon>("icon");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("reason");
        // Nothing listens on port 1.
        QTest::newRow("unreachable port")
            << ServerAddress{"127.0.0.1", 1, "verdell", "anne", {}} << Prompter::Icon::Exclamation
            << "The database \"verdell\" on the server 127.0.0.1:1 cannot be opened for the user "
               "\"anne\": "
            << "Connection refused";
        QString why;
        const auto running = ServerAddress::fromUrl(qEnvironmentVariable("VERDELL_TEST_PG"), &why);
        QTest::newRow("running server")
            << running.value_or(ServerAddress{}) << Prompter::Icon::Information
            << (running ? QString("The connection to the database '%1' on %2:%3 succeeded.")
                              .arg(running->database, running->host)
                              .arg(running->port)
                        : QString())
            << QString();
    }
    void testConnectionReportsTheOutcome() {
        QFETCH(ServerAddress, server);
        QFETCH(Prompter::Icon, icon);
        QFETCH(QString, start);
        QFETCH(QString, reason);
        if (server.host.isEmpty()) {
            QSKIP("no PostgreSQL server named in VERDELL_TEST_PG");
        }
        TestEnv env;
        env.createSettings();
        Setup setup(env.app());
        serverBoxes(&setup, server.host, QString::number(server.port), server.database,
                    server.user);
        button(&setup, "cmdTestConnection")->click();
        QCOMPARE(env.prompter.calls().size(), qsizetype(1));
        QCOMPARE(env.prompter.last().title, QString("Test Connection"));
        QCOMPARE(env.prompter.last().icon, icon);
        const QString prompt = env.prompter.last().prompt;
        QVERIFY2(prompt.startsWith(start) && prompt.contains(reason), qPrintable(prompt));
        QCOMPARE(env.setting("DbProvider"), QString());  // testing stores nothing
    }

    void prepareSharesTheFolderOnTheDataDrive_data() {
        QTest::addColumn<QString>("datapath");
        QTest::addColumn<int>("root");
        QTest::newRow("home folder") << "\\Verdell Std" << 0;
        QTest::newRow("second drive") << "D:\\Office\\Data" << 1;
        QTest::newRow("network path") << "\\\\server\\share\\Verdell Std" << 0;
    }
    void prepareSharesTheFolderOnTheDataDrive() {
        if (TestEnv::onServer()) {
            QSKIP("moves the embedded database file into a shared folder");
        }
        QFETCH(QString, datapath);
        QFETCH(int, root);
        TestEnv env;
        env.openNewDatabase();
        const QString database = env.app().DbConnection.fileName();
        env.app().AppSettings.SetValue("datapath", datapath);
        const QString folder = env.roots.roots()[root] + "/Verdell Std";
        QCOMPARE(network::shareFolderFor(datapath, env.roots), folder);

        for (int time = 0; time < 2; ++time) {  // the second time finds the folder there
            Setup setup(env.app());
            role(&setup, 0)->click();  // a network path opens on the client role
            box(&setup, "txtShareGroup")->setText("office");
            button(&setup, "cmdPrepare")->click();
            QCOMPARE(setup.result(), int(QDialog::Accepted));
        }
        QVERIFY(QDir(folder).exists());
        QCOMPARE(env.sharing.requests.size(), 2);
        QCOMPARE(env.sharing.requests[0].shareName, QString("Verdell"));
        QCOMPARE(env.sharing.requests[0].folder, folder);
        QVERIFY(env.prompter.last().prompt.startsWith("Folder " + folder +
                                                      " has been shared as 'Verdell'"));
        QVERIFY(env.prompter.last().prompt.contains("has not been moved"));
        QVERIFY(QFile::exists(database));
    }

    // The folder is shared for the members of a group the administrator names, who sign in;
    // sharing it with everyone, without a password, is a choice made on purpose, after a
    // warning. The tab says what the share allows.
    void prepareSharesForTheNamedGroupOnly_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<bool>("everyone");
        QTest::addColumn<Prompter::Answer>("answer");
        QTest::addColumn<QString>("says");
        QTest::addColumn<bool>("shared");
        QTest::newRow("no group named")
            << "" << false << Prompter::Answer::Yes << "Name the group" << false;
        QTest::newRow("a group this computer lacks")
            << "accounts" << false << Prompter::Answer::Yes << "group 'accounts'" << false;
        QTest::newRow("the office's group") << "office" << false << Prompter::Answer::Ok
                                            << "Only the members of the group 'office'" << true;
        QTest::newRow("everyone, declined after the warning")
            << "office" << true << Prompter::Answer::No << "without a password" << false;
        QTest::newRow("everyone, agreed after the warning")
            << "" << true << Prompter::Answer::Yes << "without a password" << true;
    }
    void prepareSharesForTheNamedGroupOnly() {
        if (TestEnv::onServer()) {
            QSKIP("sharing the folder of the embedded database file");
        }
        QFETCH(QString, group);
        QFETCH(bool, everyone);
        QFETCH(Prompter::Answer, answer);
        QFETCH(QString, says);
        QFETCH(bool, shared);
        TestEnv env;
        env.openNewDatabase();
        Setup setup(env.app());
        setup.findChild<QLineEdit*>("txtShareGroup")->setText(group);
        setup.findChild<QCheckBox*>("chkOpenShare")->setChecked(everyone);
        const QString shown = setup.findChild<QLabel*>("labShareAccess")->text();
        QVERIFY2(shown.contains(says), qPrintable(shown));
        env.prompter.answer(answer);
        button(&setup, "cmdPrepare")->click();
        QCOMPARE(env.sharing.requests.size(), shared ? 1 : 0);
        if (everyone) {
            QCOMPARE(env.prompter.calls().first().title, QString("Share Without a Password"));
        }
        if (shared) {
            QCOMPARE(env.sharing.requests[0].access.everyone, everyone);
            QCOMPARE(env.sharing.requests[0].access.group, everyone ? QString() : group);
            QVERIFY(env.prompter.last().prompt.contains(says));
        }
        QCOMPARE(env.setting("ShareGroup"), shared && !everyone ? group : QString());
    }

    void prepareSaysWhenSambaIsMissing() {
        if (TestEnv::onServer()) {
            QSKIP("sharing the folder of the embedded database file");
        }
        TestEnv env;
        env.openNewDatabase();
        env.sharing.status = 127;
        Setup setup(env.app());
        box(&setup, "txtShareGroup")->setText("office");
        button(&setup, "cmdPrepare")->click();
        QCOMPARE(env.prompter.last().title, QString("Folder Not Shared"));
        QVERIFY(env.prompter.last().prompt.contains("Samba is not installed"));
        QCOMPARE(box(&setup, "txtPath")->text(), env.dataFolder());
        QVERIFY(env.app().DbConnection.isOpen());
    }
};

QTEST_MAIN(tst_setupscreen)
#include "tst_setupscreen.moc"
