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

class tst_setupscreen : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fiveTabsInTheirOrder() {
        TestEnv env;
        env.openNewDatabase();
        frmSetup setup(env.app());
        setup.Form_Load();
        QStringList tabs;
        for (int i = 0; i < setup.SSTab1->count(); ++i) {
            tabs << setup.SSTab1->tabText(i);
        }
        QCOMPARE(tabs, (QStringList{"Network Configuration", "Counters / Data Entry",
                                    "Documents && Templates", "File Locations", "Maintenance"}));
        QCOMPARE(setup.SSTab1->widget(2), static_cast<QWidget*>(setup.templates));
        // The tab opens on the role the settings name.
        QVERIFY(setup.network->optServer[TestEnv::onServer() ? 2 : 0]->isChecked());
        QCOMPARE(setup.counters->txtJobNo->text(), QString("1"));
        QCOMPARE(setup.counters->comDateFormat->currentText(), QString("dd/mm/yyyy"));
        QCOMPARE(setup.counters->labDateFormat->text(),
                 env.clock.today().toString("dd/MM/yyyy"));
    }

    void applyStoresCountersAndOptions_data() {
        QTest::addColumn<QString>("jobNo");
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<qint64>("storedJob");
        QTest::addColumn<qint64>("storedBits");
        QTest::newRow("force date and manual") << "1200" << QStringList{"chkForceDate", "chkManual"}
                                               << qint64(1200) << qint64(5);
        QTest::newRow("text after the digits") << "12ab" << QStringList{"ckPrintCount"}
                                               << qint64(12) << qint64(16);
    }
    void applyStoresCountersAndOptions() {
        QFETCH(QString, jobNo);
        QFETCH(QStringList, ticked);
        QFETCH(qint64, storedJob);
        QFETCH(qint64, storedBits);
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        QVERIFY(db.exec("UPDATE Counters SET Free3 = 128"));  // a bit beyond the options is kept
        frmSetup setup(env.app());
        setup.Form_Load();
        setup.counters->txtJobNo->setText(jobNo);
        setup.counters->txtCurrency->setText("€");
        setup.counters->txtEstNo->setText("2000");
        for (QCheckBox* box : setup.findChildren<QCheckBox*>()) {
            box->setChecked(ticked.contains(box->objectName()));
        }
        setup.counters->cmdApplyCounters->click();
        const auto rows = db.query("SELECT * FROM Counters");
        QCOMPARE(rows->integer(0, "JobCounter"), storedJob);
        QCOMPARE(rows->integer(0, "Free3"), storedBits | 128);
        QCOMPARE(rows->integer(0, "Estimate"), 2000);
        QCOMPARE(rows->text(0, "CurrencySign"), QString("€"));
        setup.reject();
        QCOMPARE(env.app().CurrencySymbol, QString("€"));  // closing reloads the options
        QCOMPARE(env.app().ManualNumbering, ticked.contains("chkManual"));
    }

    // A number the job and document columns cannot hold is refused, never stored.
    void countersOutOfRangeAreRefused_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("column");
        QTest::newRow("job number beyond 32 bits") << "txtJobNo" << "3000000000" << "JobCounter";
        QTest::newRow("document number of 0") << "txtDocNo" << "0" << "FileCounter";
        QTest::newRow("invoice number not a number") << "txtInvNo" << "abc" << "Free2";
        QTest::newRow("negative estimate number") << "txtEstNo" << "-5" << "Estimate";
    }
    void countersOutOfRangeAreRefused() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, column);
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        const QVariant before = db.scalar("SELECT " + column + " FROM Counters");
        frmSetup setup(env.app());
        setup.Form_Load();
        auto* edit = setup.findChild<QLineEdit*>(box);
        edit->setText(typed);
        setup.counters->txtCurrency->setText("$");
        setup.counters->SSCommand3->click();
        QCOMPARE(env.prompter.count(), 1);
        QVERIFY2(env.prompter.last().prompt.contains("'" + typed + "' is not"),
                 qPrintable(env.prompter.last().prompt));
        QCOMPARE(setup.result(), int(QDialog::Rejected));  // OK kept the screen open
        QCOMPARE(db.scalar("SELECT " + column + " FROM Counters"), before);
        QCOMPARE(db.scalar("SELECT CurrencySign FROM Counters").toString(), QString("\u00A3"));
    }

    // OK or Apply on any tab stores the changes of every tab; Cancel asks before discarding.
    void okOnAnyTabAppliesEveryTab() {
        TestEnv env;
        env.openNewDatabase();
        frmSetup setup(env.app());
        setup.Form_Load();
        setup.counters->txtJobNo->setText("500");
        setup.network->cmdOK->click();
        QCOMPARE(setup.result(), int(QDialog::Accepted));
        QCOMPARE(env.app().DbConnection.scalar("SELECT JobCounter FROM Counters").toInt(), 500);
    }

    void cancelAsksBeforeDiscarding_data() {
        QTest::addColumn<Prompter::Answer>("answer");
        QTest::newRow("no: stay") << Prompter::Answer::No;
        QTest::newRow("yes: discard") << Prompter::Answer::Yes;
    }
    void cancelAsksBeforeDiscarding() {
        QFETCH(Prompter::Answer, answer);
        TestEnv env;
        env.openNewDatabase();
        frmSetup setup(env.app());
        setup.Form_Load();
        setup.show();
        setup.counters->txtJobNo->setText("900");
        setup.counters->chkManual->setChecked(true);
        env.prompter.answer(answer);
        setup.network->cmdCancel->click();
        QCOMPARE(env.prompter.count(), 1);
        QCOMPARE(env.prompter.last().buttons, Prompter::Buttons::YesNo);
        QCOMPARE(setup.isVisible(), answer != Prompter::Answer::Yes);
        QCOMPARE(env.app().DbConnection.scalar("SELECT JobCounter FROM Counters").toInt(), 1);
        QVERIFY(!env.app().ManualNumbering);
        // Nothing changed: no question.
        frmSetup quiet(env.app());
        quiet.Form_Load();
        quiet.show();
        env.prompter.clear();
        quiet.counters->SSCommand2->click();
        QCOMPARE(env.prompter.count(), 0);
        QVERIFY(!quiet.isVisible());
    }

    void dateFormatsListedOnceAndOneDefault() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        QVERIFY(TestEnv::addRow(db, "DateFormat", {{"DateFormat", "dd mmm yyyy"}, {"Default", 0}}));
        frmSetup setup(env.app());
        setup.Form_Load();
        QComboBox* box = setup.counters->comDateFormat;
        QCOMPARE(box->findText("dd mmm yyyy"), box->findText("dd mmm yyyy", Qt::MatchExactly));
        int listed = 0;
        for (int i = 0; i < box->count(); ++i) {
            listed += box->itemText(i) == "dd mmm yyyy";
        }
        QCOMPARE(listed, 1);
        box->setCurrentText("dd mmm yyyy");
        QCOMPARE(setup.counters->labDateFormat->text(),
                 env.clock.today().toString("dd MMM yyyy"));
        setup.counters->SSCommand3->click();
        QCOMPARE(db.scalar("SELECT count(*) FROM DateFormat WHERE \"Default\" <> 0").toInt(), 2);
        QCOMPARE(db.scalar("SELECT count(DISTINCT DateFormat) FROM DateFormat WHERE \"Default\" "
                           "<> 0").toString(),
                 QString("1"));
        // A typed format without a row leaves none marked.
        frmSetup again(env.app());
        again.Form_Load();
        again.counters->comDateFormat->setCurrentText("yyyy.mm.dd");
        again.counters->cmdApplyCounters->click();
        QCOMPARE(db.scalar("SELECT count(*) FROM DateFormat WHERE \"Default\" <> 0").toInt(), 0);
    }

    void systemDateSwitchesAtOnce() {
        TestEnv env;
        env.openNewDatabase();
        frmSetup setup(env.app());
        setup.Form_Load();
        env.app().DefaultDateFormat = "dd/mm/yyyy";
        setup.counters->chkSystemDate->click();
        QVERIFY(env.app().UseSystemDateFormat);
        QCOMPARE(setup.counters->comDateFormat->currentText(), env.locale.longDateFormat().trimmed());
        setup.counters->chkSystemDate->click();
        QCOMPARE(setup.counters->comDateFormat->currentText(), QString("dd/mm/yyyy"));
    }

    void fileLocationsShowTheSettings() {
        if (TestEnv::onServer()) {
            QSKIP("the folder and name of the embedded database file");
        }
        TestEnv env;
        env.openNewDatabase();
        env.app().AppSettings.SetValue("DocPath", "\\Verdell Std\\Docs");
        env.app().AppSettings.SetValue("ScanLocation", "/scans");
        frmSetup setup(env.app());
        setup.Form_Load();
        setup.SSTab1->setCurrentIndex(3);
        QCOMPARE(setup.locations->txtDBLocation->text(), env.dataFolder());
        QCOMPARE(setup.locations->txtDBName->text(), QString("verdell.mdb"));
        QCOMPARE(setup.locations->txtDocLocation->text(), QString("\\Verdell Std\\Docs"));
        QCOMPARE(setup.locations->txtScanLocation->text(), QString("/scans"));
    }

    void aDatabaseForThisRunCanBeMadeTheDefault() {
        if (TestEnv::onServer()) {
            QSKIP("the folder and name of the embedded database file");
        }
        TestEnv env;
        env.openNewDatabase();
        const QString other = env.makeDatabase(env.driveD() + "/Other/jobs.mdb");
        QVERIFY(useDatabaseForThisRun(env.app(), other));
        frmSetup setup(env.app());
        setup.Form_Load();
        setup.SSTab1->setCurrentIndex(3);
        auto* makeDefault = setup.locations->findChild<QPushButton*>("cmdMakeDefault");
        QVERIFY(makeDefault && !makeDefault->isHidden());
        QCOMPARE(setup.locations->txtDBLocation->text(), env.driveD() + "/Other");
        QCOMPARE(setup.locations->txtDBName->text(), QString("jobs.mdb"));
        QCOMPARE(env.setting("datapath"), env.dataFolder());  // the stored default is unchanged

        makeDefault->click();
        QCOMPARE(env.setting("datapath"), env.driveD() + "/Other");
        QCOMPARE(env.setting("dataname"), QString("jobs.mdb"));
        QVERIFY(makeDefault->isHidden());
        QCOMPARE(env.prompter.count(), 0);
    }

    void rolesEnableTheirControls() {
        if (TestEnv::onServer()) {
            QSKIP("the roles of a shared embedded database file");
        }
        TestEnv env;
        env.openNewDatabase();
        frmSetup setup(env.app());
        setup.Form_Load();
        NetworkTab* n = setup.network;
        QVERIFY(n->cmdPrepare->isEnabled() && !n->cmdLocate->isEnabled());
        n->optServer[1]->click();
        QVERIFY(!n->cmdPrepare->isEnabled() && !n->cmdManual->isEnabled());
        QVERIFY(n->cmdLocate->isEnabled() && n->fraClient->isEnabled());
        QCOMPARE(n->txtLocate->text(), env.dataFolder());
        QCOMPARE(n->txtDataBase->text(), QString("verdell.mdb"));

        env.prompter.chooseFile("/srv/office/Verdell Std/jobs.mdb");
        n->cmdLocate->click();
        n->cmdApply->click();
        QCOMPARE(env.setting("datapath"), QString("/srv/office/Verdell Std"));
        QCOMPARE(env.setting("dataname"), QString("jobs.mdb"));
        QCOMPARE(env.setting("DocPath"), QString("/srv/office/Verdell Std/Docs"));
        QCOMPARE(env.setting("TemplatePath"), QString("/srv/office/Verdell Std/Docs/Templates"));
        QCOMPARE(env.setting("NetworkRole"), QString("client"));
    }

    // Opening Setup and pressing OK changes nothing: the tab shows the role and the places the
    // settings hold, and what is only shown in another form is no change.
    void networkTabOpensOnTheSettings_data() {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<bool>("networkFolder");
        QTest::addColumn<int>("role");
        const Settings office{{"datapath", "\\Verdell Std"},
                                            {"dataname", "verdell.mdb"},
                                            {"FirstRun", "0"}};
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
        QFETCH(int, role);
        TestEnv env;
        env.createSettings(settings);
        if (networkFolder) {
            env.roots.networkFolders << env.dataFolder();
        }
        QFile file(env.settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        frmSetup setup(env.app());
        setup.Form_Load();
        NetworkTab* n = setup.network;
        QVERIFY(n->optServer[size_t(role)]->isChecked());
        QCOMPARE(n->txtLocate->text(), env.dataFolder());
        QCOMPARE(n->txtPath->text(), env.dataFolder());
        QCOMPARE(n->txtDataBase->text(), QString("verdell.mdb"));
        QVERIFY(!setup.hasChanges());
        n->cmdOK->click();
        QCOMPARE(setup.result(), int(QDialog::Accepted));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    void anEmptyDataFolderIsRefused() {
        TestEnv env;
        env.createSettings({{"datapath", "\\Verdell Std"}, {"dataname", "verdell.mdb"}});
        frmSetup setup(env.app());
        setup.Form_Load();
        NetworkTab* n = setup.network;
        n->optServer[1]->click();
        n->txtLocate->clear();
        n->cmdOK->click();
        QCOMPARE(env.prompter.count(), 1);
        QCOMPARE(env.prompter.last().title, QString("Network Configuration"));
        QCOMPARE(setup.result(), int(QDialog::Rejected));
        QCOMPARE(env.setting("datapath"), QString("\\Verdell Std"));
    }

    void manualChoiceStoresFolderAndName() {
        TestEnv env;
        env.createSettings({{"datapath", "\\Verdell Std"}, {"dataname", "verdell.mdb"}});
        frmSetup setup(env.app());
        setup.Form_Load();
        env.prompter.chooseFile("/srv/office/data/jobs.mdb");
        setup.network->cmdManual->click();
        setup.network->cmdApply->click();
        QCOMPARE(env.setting("datapath"), QString("/srv/office/data"));
        QCOMPARE(env.setting("dataname"), QString("jobs.mdb"));
        QCOMPARE(env.setting("NetworkRole"), QString("server"));
    }

    // The network tab's server role needs no open database: these run alike on both engines.
    void databaseServerRoleIsStoredAndShownAgain() {
        TestEnv env;
        env.createSettings({{"datapath", "/srv/office/Verdell Std"}, {"dataname", "jobs.mdb"}});
        {
            frmSetup setup(env.app());
            setup.Form_Load();
            NetworkTab* n = setup.network;
            QVERIFY(n->optServer[0]->isChecked());
            QVERIFY(!n->fraDbServer->isEnabled() && !n->cmdTestConnection->isEnabled());
            QCOMPARE(n->txtDbPort->text(), QString("5432"));
            n->optServer[2]->click();
            QVERIFY(n->fraDbServer->isEnabled() && n->cmdTestConnection->isEnabled());
            QVERIFY(!n->fraServer->isEnabled() && !n->fraClient->isEnabled());
            QVERIFY(!n->cmdPrepare->isEnabled() && !n->cmdLocate->isEnabled());
            const auto notes = n->fraDbServer->findChildren<QLabel*>();
            QVERIFY(std::any_of(notes.begin(), notes.end(), [](QLabel* label) {
                return label->text().contains("never stored") &&
                       label->text().contains("~/.pgpass") &&
                       label->text().contains("host:port:database:user:password");
            }));
            QTest::keyClicks(n->txtDbHost, " officeserver ");
            n->txtDbPort->clear();
            QTest::keyClicks(n->txtDbPort, "5544x");  // the box takes digits only
            QTest::keyClicks(n->txtDbName, "verdell");
            QTest::keyClicks(n->txtDbUser, "anne");
            n->cmdOK->click();
            QCOMPARE(setup.result(), int(QDialog::Accepted));
        }
        QCOMPARE(env.setting("DbProvider"), QString("PostgreSQL"));
        QCOMPARE(env.setting("DbHost"), QString("officeserver"));
        QCOMPARE(env.setting("DbPort"), QString("5544"));
        QCOMPARE(env.setting("DbName"), QString("verdell"));
        QCOMPARE(env.setting("DbUser"), QString("anne"));
        // The documents stay in the shared folder.
        QCOMPARE(env.setting("datapath"), QString("/srv/office/Verdell Std"));

        // Opened again, the tab shows the server; another role goes back to the embedded file.
        frmSetup again(env.app());
        again.Form_Load();
        NetworkTab* n = again.network;
        QVERIFY(n->optServer[2]->isChecked() && n->fraDbServer->isEnabled());
        QVERIFY(!n->fraClient->isEnabled() && !n->cmdLocate->isEnabled());
        QCOMPARE(n->txtDbHost->text(), QString("officeserver"));
        QCOMPARE(n->txtDbPort->text(), QString("5544"));
        QCOMPARE(n->txtDbName->text(), QString("verdell"));
        QCOMPARE(n->txtDbUser->text(), QString("anne"));
        n->optServer[1]->click();
        n->cmdApply->click();
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
        QTest::newRow("no host") << "  " << "5432" << "verdell"
                                 << "Please enter the name or address of the database server.";
        QTest::newRow("no port") << "officeserver" << "" << "verdell"
                                 << "Please enter the server's port, a number from 1 to 65535 "
                                    "(PostgreSQL normally uses 5432).";
        QTest::newRow("port zero") << "officeserver" << "0" << "verdell"
                                   << "Please enter the server's port, a number from 1 to 65535 "
                                      "(PostgreSQL normally uses 5432).";
        QTest::newRow("no database") << "officeserver" << "5432" << ""
                                     << "Please enter the name of the database on the server.";
    }
    void databaseServerNeedsItsBoxes() {
        QFETCH(QString, host);
        QFETCH(QString, port);
        QFETCH(QString, database);
        QFETCH(QString, message);
        TestEnv env;
        env.createSettings({{"datapath", "/srv/office/Verdell Std"}});
        frmSetup setup(env.app());
        setup.Form_Load();
        NetworkTab* n = setup.network;
        n->optServer[2]->click();
        n->txtDbHost->setText(host);
        n->txtDbPort->setText(port);
        n->txtDbName->setText(database);
        n->txtDbUser->setText("anne");
        for (QPushButton* button : {n->cmdTestConnection, n->cmdApply, n->cmdOK}) {
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
        frmSetup setup(env.app());
        setup.Form_Load();
        NetworkTab* n = setup.network;
        n->optServer[2]->click();
        n->txtDbHost->setText(server.host);
        n->txtDbPort->setText(QString::number(server.port));
        n->txtDbName->setText(server.database);
        n->txtDbUser->setText(server.user);
        n->cmdTestConnection->click();
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
            frmSetup setup(env.app());
            setup.Form_Load();
            setup.network->optServer[0]->click();  // a network path opens on the client role
            setup.network->txtShareGroup->setText("office");
            setup.network->cmdPrepare->click();
            QCOMPARE(setup.result(), int(QDialog::Accepted));
        }
        QVERIFY(QDir(folder).exists());
        QCOMPARE(env.sharing.requests.size(), 2);
        QCOMPARE(env.sharing.requests[0].serverName, QString());
        QCOMPARE(env.sharing.requests[0].shareName, QString("Verdell"));
        QCOMPARE(env.sharing.requests[0].folder, folder);
        QCOMPARE(env.sharing.requests[0].remark, QString("Verdell"));
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
        QTest::newRow("no group named") << "" << false << Prompter::Answer::Yes
                                        << "Name the group" << false;
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
        frmSetup setup(env.app());
        setup.Form_Load();
        setup.findChild<QLineEdit*>("txtShareGroup")->setText(group);
        setup.findChild<QCheckBox*>("chkOpenShare")->setChecked(everyone);
        const QString shown = setup.findChild<QLabel*>("labShareAccess")->text();
        QVERIFY2(shown.contains(says), qPrintable(shown));
        env.prompter.answer(answer);
        setup.network->cmdPrepare->click();
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
        frmSetup setup(env.app());
        setup.Form_Load();
        setup.network->txtShareGroup->setText("office");
        setup.network->cmdPrepare->click();
        QCOMPARE(env.prompter.last().title, QString("Folder Not Shared"));
        QVERIFY(env.prompter.last().prompt.contains("Samba is not installed"));
        QCOMPARE(setup.network->txtPath->text(), env.dataFolder());
        QVERIFY(env.app().DbConnection.isOpen());
    }

    void blankCaptionsBecomeUnused() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        for (int index : {4, 22, 35}) {
            QVERIFY(db.exec("UPDATE labels SET \"Text\" = '' WHERE \"Index\" = ?", {index}));
        }
        frmSetup setup(env.app());
        setup.Form_Load();
        setup.maintenance->cmdResetLabels->click();
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
};

QTEST_MAIN(tst_setupscreen)
#include "tst_setupscreen.moc"
