#include "db/RowValues.h"
#include "db/TextKeys.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QTest>

// The shared connection: opening files of every kind, the error conditions callers tell apart,
// bound values, transactions, and text that compares without regard to case for every letter.
class tst_database : public QObject {
    Q_OBJECT

    static bool addCustomer(Database& db, const QString& name) {
        RowValues row(db.dialect(), "customers");
        row.set("Name", name);
        return db.exec(row.insert(), row.values());
    }

private Q_SLOTS:
    void refusesWhatIsNotAnOpenableDatabase_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QByteArray() << "Could not find file";
        QTest::newRow("empty") << QByteArray("") << "is empty";
        QTest::newRow("text") << QByteArray("Name,Address\nAnn,1 High St\n")
                              << "not a database that Verdell can open";
        QTest::newRow("earlier Windows release") << QByteArray("jet")
                                                 << "earlier Windows release";
        QTest::newRow("truncated") << QByteArray("truncated") << "malformed";
        QTest::newRow("damaged") << QByteArray("damaged") << "malformed";
    }
    void refusesWhatIsNotAnOpenableDatabase() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, reason);
        TestEnv env;
        const QString file = env.root() + "/x.mdb";
        if (contents == "jet") {
            QVERIFY(QFile::copy(VERDELL_JET_FIXTURES "/nwind.mdb", file));
        } else if (contents == "truncated" || contents == "damaged") {
            QFile whole(env.makeDatabase(env.root() + "/whole.mdb"));
            QVERIFY(whole.open(QIODevice::ReadOnly));
            QByteArray bytes = whole.readAll();
            if (contents == "truncated") {
                bytes.truncate(2000);
            } else {
                bytes.replace(100, 3996, QByteArray(3996, '\x5a'));  // wreck the catalogue
            }
            TestEnv::writeFile(file, bytes);
        } else if (!contents.isNull()) {
            TestEnv::writeFile(file, contents);
        }
        Database db;
        QVERIFY(!db.open(connection::forFile(file)));
        QVERIFY(!db.isOpen());
        QCOMPARE(db.lastError().condition, DbCondition::Unspecified);
        QCOMPARE(db.lastError().number(), qint32(0x80004005));
        QVERIFY2(db.lastError().message.contains(reason), qPrintable(db.lastError().message));
        QCOMPARE(QFile::exists(file), !contents.isNull());  // a missing file is not made
    }

    void conditionsAreToldApart() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        QVERIFY(!db.query("SELECT * FROM NoSuchTable"));
        QCOMPARE(db.lastError().condition, DbCondition::TableMissing);
        QCOMPARE(db.lastError().number(), qint32(0x80040E37));
        QVERIFY(!db.exec("CREATE TABLE Stock (Description TEXT PRIMARY KEY)"));
        QCOMPARE(db.lastError().condition, DbCondition::CannotExecute);
        QVERIFY(!db.exec("ALTER TABLE Jobs ADD COLUMN CustRef TEXT"));
        QCOMPARE(db.lastError().condition, DbCondition::CannotExecute);
        QVERIFY(!db.query("SELECT NoSuchColumn FROM Jobs"));
        QCOMPARE(db.lastError().condition, DbCondition::CannotExecute);
        QVERIFY(db.exec("INSERT INTO Stock (Description) VALUES (?)", {"Valve"}));
        QVERIFY(!db.exec("INSERT INTO Stock (Description) VALUES (?)", {"Valve"}));
        QCOMPARE(db.lastError().condition, DbCondition::ErrorsOccurred);
    }

    void aLockedFileIsUnspecified() {
        if (TestEnv::onServer()) {
            QSKIP("a file of the embedded engine");
        }
        TestEnv env;
        const QString file = env.openNewDatabase();
        Database other;
        QVERIFY(other.open(connection::forFile(file) + "Busy Timeout=50;"));
        Database& db = env.app().DbConnection;
        QVERIFY(db.exec("BEGIN EXCLUSIVE"));
        QVERIFY(!other.query("SELECT count(*) FROM Jobs"));
        QCOMPARE(other.lastError().condition, DbCondition::Unspecified);
        QVERIFY(other.lastError().message.contains("locked"));
        db.exec("ROLLBACK");
        QVERIFY(other.query("SELECT count(*) FROM Jobs"));
    }

    void valuesAreStoredAsGiven_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("apostrophe") << "O'Brien";
        QTest::newRow("quotes") << "say \"no\"; DROP TABLE Jobs; --";
        QTest::newRow("wildcards") << "100% _done_";
        QTest::newRow("empty is not null") << "";
        QTest::newRow("long") << QString(100000, 'w');
        QTest::newRow("lines") << "1 High St\r\nLeeds\r\nLS1 1AA";
    }
    void valuesAreStoredAsGiven() {
        QFETCH(QString, value);
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        const auto id = db.insert("INSERT INTO clients (Name) VALUES (?)", {value});
        QVERIFY(id && *id > 0);
        const auto rows = db.query("SELECT Name, Name IS NULL AS missing FROM clients WHERE "
                                   "DummyId = ?", {*id});
        QVERIFY(rows && rows->count() == 1);
        QCOMPARE(rows->text(0, "name"), value);
        QCOMPARE(rows->integer(0, "missing"), 0);
    }

    // Names are found without regard to case for every letter, accents counting, and sorted as
    // readers expect, accented letters beside their base letters, the same on both engines.
    void textIgnoresCaseForEveryLetter() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        for (const char* name : {"\u00E9cole", "Zebra", "apple", "\u00C5ngstr\u00F6m", "Banana",
                                 "\u00E5ngstr\u00F6m b"}) {
            QVERIFY(addCustomer(db, QString::fromUtf8(name)));
        }
        const auto count = [&db](const char* name) {
            const auto same = textkeys::equals("Name", QString::fromUtf8(name));
            return db.scalar("SELECT count(*) FROM customers WHERE " + same.sql, {same.value})
                .toInt();
        };
        QCOMPARE(count("\u00C9COLE"), 1);
        QCOMPARE(count("\u00E5NGSTR\u00D6M"), 1);
        QCOMPARE(count("ECOLE"), 0);
        const auto rows = db.query("SELECT Name FROM customers ORDER BY " +
                                   textkeys::orderBy("customers", "Name"));
        QStringList order;
        for (int i = 0; i < rows->count(); ++i) {
            order << rows->text(i, "Name");
        }
        QCOMPARE(order, QStringList({QString::fromUtf8("\u00C5ngstr\u00F6m"),
                                     QString::fromUtf8("\u00E5ngstr\u00F6m b"), "apple", "Banana",
                                     QString::fromUtf8("\u00E9cole"), "Zebra"}));
    }

    void unicodeLike_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matches");
        QTest::newRow("ascii") << "%HIGH%" << "1 high st" << true;
        QTest::newRow("accented") << QString::fromUtf8("%ZO\u00CB%") << QString::fromUtf8("Mrs zo\u00EB Hart") << true;
        QTest::newRow("accents count") << "%ZOE%" << QString::fromUtf8("Mrs zo\u00EB Hart") << false;
        QTest::newRow("one character") << "a_c" << "ABC" << true;
        QTest::newRow("escaped percent") << "%50\\%%" << "50% off" << true;
        QTest::newRow("escaped percent is literal") << "%50\\%%" << "500 off" << false;
        QTest::newRow("escaped underscore") << "a\\_c" << "abc" << false;
        QTest::newRow("no match") << "%plumb%" << "roofing" << false;
        QTest::newRow("empty pattern") << "" << "" << true;
    }
    void unicodeLike() {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, matches);
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        QVERIFY(addCustomer(db, text));
        const auto like = textkeys::like("Name", pattern);
        QCOMPARE(db.scalar("SELECT count(*) FROM customers WHERE " + like.sql, {like.value}).toInt() == 1,
                 matches);
    }

    void transactionsAreAllOrNothing() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        {
            Transaction outer(db);
            QVERIFY(db.exec("INSERT INTO engineers (Engineer) VALUES ('kept?')"));
            {
                Transaction inner(db);
                QVERIFY(db.exec("INSERT INTO engineers (Engineer) VALUES ('inner')"));
            }  // the inner one rolls back, so the whole must
            QVERIFY(!outer.commit());
        }
        QCOMPARE(db.scalar("SELECT count(*) FROM engineers").toInt(), 0);
        {
            Transaction tx(db);
            db.exec("INSERT INTO engineers (Engineer) VALUES ('a')");
        }  // never committed
        QCOMPARE(db.scalar("SELECT count(*) FROM engineers").toInt(), 0);
        {
            Transaction tx(db);
            db.exec("INSERT INTO engineers (Engineer) VALUES ('a')");
            QVERIFY(tx.commit());
        }
        QCOMPARE(db.scalar("SELECT count(*) FROM engineers").toInt(), 1);
        QVERIFY(!db.inTransaction());
    }

    void reopeningReplacesTheConnection() {
        if (TestEnv::onServer()) {
            QSKIP("a file of the embedded engine");
        }
        TestEnv env;
        const QString file = env.openNewDatabase();
        Database& db = env.app().DbConnection;
        QVERIFY(!db.open(connection::forFile(env.root() + "/none.mdb")));
        QVERIFY(!db.isOpen());
        QVERIFY(!db.exec("SELECT 1"));
        QVERIFY(db.open(connection::forFile(file)));
        QCOMPARE(db.fileName(), file);
        QCOMPARE(db.integrityCheck(), QString("ok"));
    }
};

QTEST_GUILESS_MAIN(tst_database)
#include "tst_database.moc"
