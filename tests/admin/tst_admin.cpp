#include "db/Schema.h"
#include "support/TestEnv.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

// verdell-admin run as a script would run it, on the test's own home and settings folders.
class tst_admin : public QObject {
    Q_OBJECT

    struct Result {
        int status;
        QString out, err;
    };

    static Result admin(const QStringList& arguments) {
        QProcess process;
        process.start(VERDELL_ADMIN, arguments);
        process.waitForFinished(60000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    static QByteArray digest(const QString& file) {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }

private Q_SLOTS:
    void initMakesWhatIsMissingAndNeverOverwrites() {
        TestEnv env;
        Result r = admin({"init"});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains("(created)"));
        QCOMPARE(env.setting("FirstRun"), QString("1"));
        const QString db = env.dataFolder() + "/verdell.mdb";
        QVERIFY(QFile::exists(db));
        env.app().AppSettings.SetValue("LastJob", "12");
        const QByteArray before = digest(db);
        r = admin({"init"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out.count("(kept)"), 2);
        QCOMPARE(digest(db), before);
        QCOMPARE(env.setting("LastJob"), QString("12"));
    }

    void checkReportsTheDatabase() {
        TestEnv env;
        QCOMPARE(admin({"init"}).status, 0);
        {
            // Two customers whom the job's save cannot tell apart are shown for someone to decide.
            Database db;
            QVERIFY(db.open(connection::forFile(env.dataFolder() + "/verdell.mdb")));
            QVERIFY(db.exec("INSERT INTO customers (Name, Address) VALUES ('Ann Lee', 'A'), "
                            "('ann lee ', 'B')"));
        }
        const Result r = admin({"check"});
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
        QCOMPARE(admin({"init"}).status, 0);
        {
            Database db;
            QVERIFY(db.open(connection::forFile(env.dataFolder() + "/verdell.mdb")));
            QVERIFY(db.exec("INSERT INTO customers (DummyId, Name) VALUES (40, ?)", {"Zoë"}));
            QVERIFY(db.exec("INSERT INTO Jobs (JobNo, WorkName, \"Date\", Price) VALUES "
                            "(7, 'Ann', '2025-01-02 00:00:00', 12.5)"));
        }
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
        Result r = admin({"migrate", "--to", url});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains(QRegularExpression("customers\\s+1")));
        r = admin({"migrate", "--to", url});  // a second copy is refused
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
        r = admin({"check"});
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
        const Result r = admin({"check"});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains("upgraded: yes"));
        QVERIFY(r.out.contains("version: 1.0.5"));
    }

    void documentsFromStoredJobs() {
        TestEnv env;
        QCOMPARE(admin({"init"}).status, 0);
        const QString templates = env.dataFolder() + "/Templates";
        QVERIFY(QFile::copy(VERDELL_TEST_DATA "/merge/every-token.dotx",
                            templates + "/every-token.dotx"));
        {
            Database db;
            QVERIFY(db.open(connection::forFile(env.dataFolder() + "/verdell.mdb")));
            QVERIFY(db.exec("INSERT INTO Jobs (JobNo, WorkName, DateCreated) "
                            "VALUES (5, 'Ann Lee', '2026-03-12 00:00:00')"));
            QVERIFY(db.exec("UPDATE Counters SET FileCounter = 30"));
        }
        Result r = admin({"create-document", "--job", "5", "--template", "every-token.dotx",
                          "--title", "Survey"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out.trimmed(), env.dataFolder() + "/Docs/30.doc");
        QVERIFY(QFile::exists(env.dataFolder() + "/Docs/30.doc"));

        r = admin({"preprocess", "every-token.dotx"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts).size(), 33);
        QVERIFY(r.out.startsWith("[ADDRESS]\n"));

        r = admin({"create-document", "--job", "99", "--template", "every-token.dotx"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("there is no job 99"));
        r = admin({"create-document", "--job", "5", "--template", "missing.dotx"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("there is no template 'missing.dotx'"));
    }

    void estimatesPrintAsTheScreenPrintsThem() {
        TestEnv env;
        QCOMPARE(admin({"init"}).status, 0);
        {
            Database db;
            QVERIFY(db.open(connection::forFile(env.dataFolder() + "/verdell.mdb")));
            QVERIFY(db.exec("INSERT INTO customers (Name, Address) VALUES ('Ann Lee', '1 Road')"));
            QVERIFY(db.exec("INSERT INTO Estimate (EstNo, ClientId, DeliveryCost, Qty, "
                            "Description, TradePrice, RetailPrice, DateCreated) VALUES "
                            "(40000, 1, 5, 2, 'Valve', 10, 15, '06/12/2026')"));
        }
        Result r = admin({"print-estimate", "40000"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out.trimmed(), env.dataFolder() + "/Docs/est40000.doc");
        QVERIFY(QFile::exists(env.dataFolder() + "/Docs/est40000.doc"));
        r = admin({"print-estimate", "7"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("there is no estimate 7"));
        QCOMPARE(admin({"print-estimate", "x"}).status, 1);
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
        const Result r = admin(arguments);
        QCOMPARE(r.status, 1);
        const QString last = r.err.trimmed().split('\n').last();
        QVERIFY2(last.startsWith("verdell-admin: ") && last.contains(reason), qPrintable(r.err));
    }
};

QTEST_GUILESS_MAIN(tst_admin)
#include "tst_admin.moc"
