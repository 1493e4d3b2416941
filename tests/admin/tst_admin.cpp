#include "db/Schema.h"
#include "support/AdminRun.h"
#include "support/CsvReadBack.h"
#include "support/TemplateFiles.h"
#include "support/TestEnv.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <functional>

// verdell-admin run as a script would run it, on the test's own home and settings folders.
class tst_admin : public QObject {
    Q_OBJECT

    // The database `init` made, opened.
    static bool openMadeDatabase(TestEnv& env, Database& db) {
        return db.open(connection::forFile(env.dataFolder() + "/verdell.mdb"));
    }

    // Runs `init`, then has `fill` store what the test needs in the database it made.
    static bool initWith(TestEnv& env, const std::function<bool(Database&)>& fill) {
        Database db;
        return runAdmin({"init"}).status == 0 && openMadeDatabase(env, db) && fill(db);
    }

    static QByteArray digest(const QString& file) {
        return QCryptographicHash::hash(TestEnv::readFile(file), QCryptographicHash::Sha256);
    }

private Q_SLOTS:
    void initMakesWhatIsMissingAndNeverOverwrites() {
        TestEnv env;
        AdminRun r = runAdmin({"init"});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains("(created)"));
        QCOMPARE(env.setting("FirstRun"), QString("1"));
        const QString db = env.dataFolder() + "/verdell.mdb";
        QVERIFY(QFile::exists(db));
        env.app().AppSettings.SetValue("LastJob", "12");
        const QByteArray before = digest(db);
        r = runAdmin({"init"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out.count("(kept)"), 2);
        QCOMPARE(digest(db), before);
        QCOMPARE(env.setting("LastJob"), QString("12"));
    }

    void checkReportsTheDatabase() {
        TestEnv env;
        // Two customers whom the job's save cannot tell apart are shown for someone to decide.
        QVERIFY(initWith(env, [](Database& db) {
            return db.exec(
                "INSERT INTO customers (Name, Address) VALUES ('Ann Lee', 'A'), ('ann lee ', 'B')");
        }));
        const AdminRun r = runAdmin({"check"});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains("version: 1.0.5"));
        QVERIFY(r.out.contains("integrity: ok"));
        QVERIFY(r.out.contains(QRegularExpression("jobStatus\\s+8")));
        QVERIFY(r.out.contains("contacts sharing a name: customers 'Ann Lee': rows "));
        QCOMPARE(r.err, QString());
    }

    void migrateCopiesToAnEmptyServerDatabaseOnce() {
        if (qEnvironmentVariableIsEmpty("VERDELL_TEST_PG")) {
            QSKIP("no PostgreSQL server named in VERDELL_TEST_PG");
        }
        TestEnv env;
        QVERIFY(initWith(env, [](Database& db) {
            return db.exec("INSERT INTO customers (DummyId, Name) VALUES (40, ?)", {"Zoë"}) &&
                   db.exec("INSERT INTO Jobs (JobNo, WorkName, \"Date\", Price) VALUES "
                           "(7, 'Ann', '2025-01-02 00:00:00', 12.5)");
        }));
        ServerAddress server = TestEnv::testServer();
        Database serverAdmin;
        QVERIFY(serverAdmin.probe(server.connectionString()));
        server.database = QString("verdell_migrate_%1").arg(QCoreApplication::applicationPid());
        serverAdmin.exec("DROP DATABASE IF EXISTS " + server.database);
        QVERIFY(serverAdmin.exec("CREATE DATABASE " + server.database));
        const QString url = QString("postgresql://%1@%2:%3/%4")
                                .arg(server.user, server.host)
                                .arg(server.port)
                                .arg(server.database);
        AdminRun r = runAdmin({"migrate", "--to", url});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains(QRegularExpression("customers\\s+1")));
        r = runAdmin({"migrate", "--to", url});  // a second copy is refused
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("not empty"));
        {
            Database copy;
            QVERIFY(copy.open(server.connectionString()));
            QCOMPARE(copy.scalar("SELECT Price FROM Jobs WHERE JobNo = 7").toDouble(), 12.5);
            // The copies used to find names came along; a name is found in any case.
            QCOMPARE(copy.scalar("SELECT count(*) FROM customers WHERE NameFolded = ?",
                                 {QString("ZOË").toCaseFolded()}).toInt(),
                     1);
            QCOMPARE(copy.insert("INSERT INTO customers (Name) VALUES ('next')"), 41);
            // The copied tables are measured for the planner, not left as never seen.
            QCOMPARE(copy.scalar("SELECT reltuples FROM pg_class WHERE oid = 'jobs'::regclass")
                         .toInt(),
                     1);
        }
        ServerAddress::store(env.app().AppSettings, server);
        r = runAdmin({"check"});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains("on the server"));
        QVERIFY(r.out.contains("integrity: ok"));
        QVERIFY(serverAdmin.exec("DROP DATABASE " + server.database));
    }

    void checkUpgradesAnOlderDatabase() {
        TestEnv env;
        const QString file = env.dataFolder() + "/old.mdb";
        {
            Database db;
            QVERIFY(QDir().mkpath(env.dataFolder()));
            QVERIFY(db.create(file));
            QVERIFY(schema::createBaseTables(db));
            QVERIFY(db.exec("INSERT INTO Counters (JobCounter, FileCounter, Free2, Free3) "
                            "VALUES (1, 1, 1, 0)"));
        }
        env.createSettings({{"datapath", env.dataFolder()}, {"dataname", "old.mdb"}});
        const AdminRun r = runAdmin({"check"});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains("upgraded: yes"));
        QVERIFY(r.out.contains("version: 1.0.5"));
    }

    void documentsFromStoredJobs() {
        TestEnv env;
        QVERIFY(initWith(env, [](Database& db) {
            return db.exec("INSERT INTO Jobs (JobNo, WorkName, DateCreated) "
                           "VALUES (5, 'Ann Lee', '2026-03-12 00:00:00')") &&
                   db.exec("UPDATE Counters SET FileCounter = 30");
        }));
        templatefiles::install(env, {"every-token.dotx"});
        AdminRun r = runAdmin({"create-document", "--job", "5", "--template", "every-token.dotx",
                          "--title", "Survey"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out.trimmed(), env.dataFolder() + "/Docs/30.doc");
        QVERIFY(QFile::exists(env.dataFolder() + "/Docs/30.doc"));

        r = runAdmin({"preprocess", "every-token.dotx"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts).size(), 33);
        QVERIFY(r.out.startsWith("[ADDRESS]\n"));

        r = runAdmin({"create-document", "--job", "99", "--template", "every-token.dotx"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("there is no job 99"));
        r = runAdmin({"create-document", "--job", "5", "--template", "missing.dotx"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("there is no template 'missing.dotx'"));
    }

    void estimatesPrintAsTheScreenPrintsThem() {
        TestEnv env;
        QVERIFY(initWith(env, [](Database& db) {
            return db.exec("INSERT INTO customers (Name, Address) VALUES ('Ann Lee', '1 Road')") &&
                   db.exec("INSERT INTO Estimate (EstNo, ClientId, DeliveryCost, Qty, "
                           "Description, TradePrice, RetailPrice, DateCreated) VALUES "
                           "(40000, 1, 5, 2, 'Valve', 10, 15, '06/12/2026')");
        }));
        AdminRun r = runAdmin({"print-estimate", "40000"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out.trimmed(), env.dataFolder() + "/Docs/est40000.doc");
        QVERIFY(QFile::exists(env.dataFolder() + "/Docs/est40000.doc"));
        r = runAdmin({"print-estimate", "7"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("there is no estimate 7"));
        QCOMPARE(runAdmin({"print-estimate", "x"}).status, 1);
    }

    // export writes what the search screens list, in their columns (the user's caption
    // included) and order; a file it cannot write is a failure with the reason.
    void exportWritesWhatTheScreensList_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Records>("records");
        const QStringList jobColumns = {"Company Name", "Address",    "Telephone",
                                        "Job No",       "Job Status", "Booked On",
                                        "Surveyed:",    "Due:",       "Customer Ref:"};
        QTest::newRow("jobs") << QStringList{"jobs"}
                              << Records{jobColumns,
                                         {"Lee, Ann", "1 Road\nPoole", "", "5", "Open",
                                          "2026-03-12", "", "", ""},
                                         {"Zoë Brown", "", "", "6", "", "", "", "", ""}};
        QTest::newRow("jobs found")
            << QStringList{"jobs", "--search", "zoë"}
            << Records{jobColumns, {"Zoë Brown", "", "", "6", "", "", "", "", ""}};
        QTest::newRow("customers")
            << QStringList{"customers"}
            << Records{{"Name", "Address", "Telephone"}, {"Ann Lee", "1 Road", "01202"}};
        QTest::newRow("clients") << QStringList{"clients", "--search", "agent"}
                                 << Records{{"Name", "Address", "Telephone"},
                                            {"Agent, \"Best\"", "", "Bob"}};
        QTest::newRow("estimates") << QStringList{"estimates"}
                                   << Records{{"Est No", "Date", "Name", "Address"},
                                              {"40000", "2026-12-06", "Ann Lee", "1 Road"}};
    }
    void exportWritesWhatTheScreensList() {
        QFETCH(QStringList, arguments);
        QFETCH(Records, records);
        TestEnv env;
        QVERIFY(initWith(env, [](Database& db) {
            return db.exec("UPDATE labels SET \"Text\" = 'Booked On' WHERE \"Index\" = 11") &&
                   TestEnv::addRow(db, "Jobs", {{"JobNo", 6}, {"WorkName", "Zoë Brown"}}) &&
                   TestEnv::addRow(db, "Jobs",
                                   {{"JobNo", 5},
                                    {"WorkName", "Lee, Ann"},
                                    {"HomeAddress", "1 Road\nPoole"},
                                    {"JobStatus", "Open"},
                                    {"DateCreated", "2026-03-12 00:00:00"}}) &&
                   TestEnv::addRow(
                       db, "customers",
                       {{"Name", "Ann Lee"}, {"Address", "1 Road"}, {"Telephone", "01202"}}) &&
                   TestEnv::addRow(db, "clients",
                                   {{"Name", "Agent, \"Best\""}, {"Contact", "Bob"}}) &&
                   db.exec("INSERT INTO Estimate (EstNo, ClientId, Qty, Description, TradePrice, "
                           "RetailPrice, DateCreated) VALUES (40000, 1, 2, 'Valve', 10, 15, "
                           "'06/12/2026')");
        }));
        const QString file = env.root() + "/export.csv";
        AdminRun r = runAdmin(QStringList{"export"} + arguments + QStringList{"--csv", file});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QCOMPARE(readCsvBack(file), records);

        r = runAdmin(QStringList{"export"} + arguments +
                     QStringList{"--csv", "/nonexistent/x.csv"});
        QCOMPARE(r.status, 1);
        QVERIFY2(
            r.err.startsWith("verdell-admin: The file /nonexistent/x.csv could not be written: "),
            qPrintable(r.err));
    }

    void failuresSayWhyInOneLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("database");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no settings") << QStringList{"check"} << QByteArray() << "run 'verdell-admin init'";
        QTest::newRow("foreign file") << QStringList{"check"} << QByteArray("PK\x03\x04")
                                      << "not a database";
        QTest::newRow("missing file") << QStringList{"check"} << QByteArray("missing")
                                      << "Could not find file";
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << QByteArray()
                                         << "unknown command 'frobnicate'";
        QTest::newRow("export of no list") << QStringList{"export", "jobz", "--csv", "x.csv"}
                                           << QByteArray() << "export needs one of jobs, customers";
    }
    void failuresSayWhyInOneLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, database);
        QFETCH(QString, reason);
        TestEnv env;
        if (!database.isNull()) {
            env.createSettings({{"datapath", env.dataFolder()}, {"dataname", "verdell.mdb"}});
            if (database != "missing") {
                TestEnv::writeFile(env.dataFolder() + "/verdell.mdb", database);
            }
        }
        const AdminRun r = runAdmin(arguments);
        QCOMPARE(r.status, 1);
        const QString last = r.err.trimmed().split('\n').last();
        QVERIFY2(last.startsWith("verdell-admin: ") && last.contains(reason), qPrintable(r.err));
    }
};

QTEST_GUILESS_MAIN(tst_admin)
#include "tst_admin.moc"
