#include "db/Revisions.h"
#include "db/Schema.h"
#include "db/Upgrade.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QTest>

// A new database is complete; a database of an older release is brought up to date, and every
// upgrade step passes over what exists already.
class tst_schema : public QObject {
    Q_OBJECT

    // A database as older releases delivered it: the base tables with a Counters row.
    static void makeOldDatabase(Database& db, const QString& file, bool withCountersRow = true) {
        QVERIFY(db.create(file));
        QVERIFY(schema::createBaseTables(db));
        if (withCountersRow) {
            QVERIFY(db.exec("INSERT INTO Counters (JobCounter, FileCounter, Free2, Free3) "
                            "VALUES (5, 6, 7, 0)"));
        }
    }

    static QVariantList counters(Database& db) {
        const auto rows = db.query("SELECT Estimate, TaxDesc, CurrencySign FROM Counters");
        return rows && !rows->isEmpty()
                   ? QVariantList{rows->at(0, 0), rows->at(0, 1),
                                  rows->isNull(0, "CurrencySign") ? QVariant() : rows->at(0, 2)}
                   : QVariantList{};
    }

private Q_SLOTS:
    void newDatabaseIsComplete() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        QStringList expected = schema::tableNames();
        QStringList actual = db.tables();
        // Names match without regard to case; the server keeps them in lower case.
        QCOMPARE(actual.join(',').toLower().split(',').size(), expected.size());
        expected.sort(Qt::CaseInsensitive);
        actual.sort(Qt::CaseInsensitive);
        QCOMPARE(actual.join(',').toLower(), expected.join(',').toLower());
        QVERIFY(!DatabaseNeedsUpgrade(db));
        QCOMPARE(counters(db), QVariantList({1000, "VAT", QString::fromUtf8("\u00A3")}));
        const auto c = db.query("SELECT JobCounter, FileCounter, Free2, Free3 FROM Counters");
        QCOMPARE(c->count(), 1);
        QCOMPARE(c->integer(0, "JobCounter"), 1);
        QCOMPARE(c->integer(0, "Free3"), 0);
        QCOMPARE(db.scalar("SELECT DateFormat FROM DateFormat WHERE \"Default\" <> 0").toString(),
                 QString("dd/mm/yyyy"));
        QCOMPARE(db.scalar("SELECT count(*) FROM jobStatus WHERE Status = 'CLOSED'").toInt(), 1);
        QVERIFY(db.scalar("SELECT count(*) FROM IntroducedBy").toInt() > 0);
        QVERIFY(db.scalar("SELECT count(*) FROM DocType").toInt() > 0);
        QCOMPARE(db.scalar("SELECT count(*) FROM labels").toInt(), 36);
        QCOMPARE(db.scalar("SELECT FileName FROM Templates WHERE PrimaryDoc = 1").toString(),
                 QString("Job Sheet.dotx"));
        QCOMPARE(db.integrityCheck(), QString("ok"));
    }

    void newDatabaseNeverOverwrites() {
        TestEnv env;
        const QString file = env.root() + "/verdell.mdb";
        TestEnv::writeFile(file, "keep me");
        QVERIFY(!schema::createDatabaseFile(file).isEmpty());
        QCOMPARE(TestEnv::readFile(file), QByteArray("keep me"));
    }

    void aFailedCreationLeavesNothing() {
        TestEnv env;
        TestEnv::writeFile(env.root() + "/notafolder", "x");
        const QString file = env.root() + "/notafolder/verdell.mdb";
        QVERIFY(!schema::createDatabaseFile(file).isEmpty());
        QVERIFY(!QFile::exists(file));
        QVERIFY(!QFile::exists(file + ".new"));
    }

    void olderDatabaseIsUpgraded() {
        TestEnv env;
        Database db;
        makeOldDatabase(db, env.root() + "/old.mdb");
        QVERIFY(DatabaseNeedsUpgrade(db));
        QCOMPARE(db.scalar("SELECT count(*) FROM Version WHERE Version = ''").toInt(), 1);
        UpgradeSchema(db);
        for (const char* table : {"Version", "Stock", "Estimate", "EstimateDocs", "Templates",
                                  "TemplateFields"}) {
            QVERIFY2(db.hasTable(table), table);
        }
        for (const char* column : {"CustRef", "Unused1", "Unused7"}) {
            QVERIFY(db.columns("Jobs").contains(column, Qt::CaseInsensitive));
        }
        for (const char* table : {"customers", "clients"}) {
            QVERIFY(db.columns(table).contains("Telephone", Qt::CaseInsensitive));
            QVERIFY(db.columns(table).contains("Unused7", Qt::CaseInsensitive));
        }
        // The currency column is new, so it holds no value yet: only an empty text becomes "£".
        QCOMPARE(counters(db), QVariantList({1000, "VAT", QVariant()}));
        QVERIFY(!DatabaseNeedsUpgrade(db));
        QCOMPARE(db.scalar("SELECT count(*) FROM Version").toInt(), 1);
        QCOMPARE(db.scalar("SELECT JobCounter FROM Counters").toInt(), 5);
    }

    void anEmptyCountersTableEndsTheFirstStep() {
        TestEnv env;
        Database db;
        makeOldDatabase(db, env.root() + "/old.mdb", false);
        QVERIFY(DatabaseNeedsUpgrade(db));
        UpgradeSchema(db);
        QVERIFY(db.columns("Counters").contains("Estimate", Qt::CaseInsensitive));
        QVERIFY(!db.columns("Jobs").contains("CustRef", Qt::CaseInsensitive));
        QVERIFY(!db.columns("clients").contains("Telephone", Qt::CaseInsensitive));
        QVERIFY(!db.hasTable("Stock"));
        for (const char* table : {"EstimateDocs", "Templates", "TemplateFields", "Estimate"}) {
            QVERIFY2(db.hasTable(table), table);
        }
        QVERIFY(db.columns("Counters").contains("TaxDesc", Qt::CaseInsensitive));
        QVERIFY(!DatabaseNeedsUpgrade(db));
    }

    void anUpToDateDatabaseIsLeftAlone() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        db.exec("UPDATE Counters SET Estimate = 1500, TaxDesc = 'GST', CurrencySign = ''");
        QVERIFY(!DatabaseNeedsUpgrade(db));
        QCOMPARE(counters(db), QVariantList({1500, "GST", ""}));

        // With the stamp emptied by hand the upgrade runs again: existing tables and columns are
        // passed over, and the counter and tax name are set once more.
        db.exec("UPDATE Version SET Version = ''");
        QVERIFY(DatabaseNeedsUpgrade(db));
        UpgradeSchema(db);
        QCOMPARE(counters(db), QVariantList({1000, "VAT", QString::fromUtf8("\u00A3")}));
        QVERIFY(!DatabaseNeedsUpgrade(db));
    }

    void missingColumnsAreAddedBesideExistingOnes() {
        TestEnv env;
        Database db;
        makeOldDatabase(db, env.root() + "/old.mdb");
        QVERIFY(db.exec("ALTER TABLE Jobs ADD COLUMN CustRef TEXT"));
        QVERIFY(db.exec("INSERT INTO Jobs (JobNo, CustRef) VALUES (1, 'R1')"));
        DatabaseNeedsUpgrade(db);
        UpgradeSchema(db);
        QVERIFY(db.columns("Jobs").contains("Unused7", Qt::CaseInsensitive));
        QCOMPARE(db.scalar("SELECT CustRef FROM Jobs WHERE JobNo = 1").toString(), QString("R1"));
    }

    void versionTableIsMadeWhenMissing() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        db.exec("DROP TABLE Version");
        QVERIFY(DatabaseNeedsUpgrade(db));
        QVERIFY(db.hasTable("Version"));
        UpgradeSchema(db);
        QVERIFY(!DatabaseNeedsUpgrade(db));
    }

    // A database made before the revision list (at "1.0.5") gets each revision once: contact
    // names lose the blanks around them, rows then alike merge (their estimates follow the row
    // kept), rows that differ otherwise stay for someone to decide.
    void aDatabaseAtTheVersionStampGetsEveryRevisionOnce() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        QCOMPARE(revisions::current(db), revisions::latest());
        QVERIFY(db.exec("DROP TABLE SchemaRevision"));
        QCOMPARE(revisions::current(db), 0);
        const auto add = [&](const char* table, const QString& name, const QString& address) {
            return *db.insert(QString("INSERT INTO %1 (Name, Address, Contact) VALUES (?, ?, '')")
                                  .arg(table),
                              {name, address});
        };
        const qint64 first = add("customers", "Trailing ", "1 High St");
        const qint64 alike = add("customers", "Trailing", "1 High St");
        const qint64 differs = add("customers", "  Trailing", "2 Low Rd");
        QVERIFY(db.exec("INSERT INTO Estimate (EstNo, ClientId, Qty) VALUES (7, ?, 1)", {alike}));
        add("clients", "Acme ", "Quay");
        add("clients", "Acme", "Quay");

        QCOMPARE(revisions::bringUpToDate(db), QString());
        QCOMPARE(revisions::current(db), revisions::latest());
        const auto customers = db.query("SELECT DummyId, Name FROM customers ORDER BY DummyId");
        QCOMPARE(customers->count(), 2);
        QCOMPARE(customers->integer(0, "DummyId"), first);
        QCOMPARE(customers->integer(1, "DummyId"), differs);
        QCOMPARE(customers->text(1, "Name"), QString("Trailing"));
        QCOMPARE(db.scalar("SELECT ClientId FROM Estimate WHERE EstNo = 7").toLongLong(), first);
        QCOMPARE(db.scalar("SELECT count(*) FROM clients").toInt(), 1);
        QCOMPARE(revisions::contactsSharingAName(db),
                 QStringList{QString("customers 'Trailing': rows %1, %2").arg(first).arg(differs)});

        // Once only: a name with blanks written later is not touched by a second start.
        add("clients", "Later ", "");
        QCOMPARE(revisions::bringUpToDate(db), QString());
        QCOMPARE(db.scalar("SELECT count(*) FROM clients WHERE Name = 'Later '").toInt(), 1);
    }

    void aFailedRevisionLeavesTheDatabaseAsItWas() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        QVERIFY(db.exec("DROP TABLE SchemaRevision"));
        QVERIFY(db.exec("INSERT INTO customers (Name) VALUES ('Trailing ')"));
        QVERIFY(db.exec("INSERT INTO clients (Name) VALUES ('Acme ')"));
        QVERIFY(TestEnv::refuse(db, "UPDATE", "clients", "disk full"));
        const QString error = revisions::bringUpToDate(db);
        QVERIFY2(error.startsWith("Revision 1 ") && error.contains("disk full"), qPrintable(error));
        QCOMPARE(revisions::current(db), 0);
        QCOMPARE(db.scalar("SELECT Name FROM customers").toString(), QString("Trailing "));
        QVERIFY(TestEnv::allow(db, "clients"));
        QCOMPARE(revisions::bringUpToDate(db), QString());
        QCOMPARE(db.scalar("SELECT Name FROM customers").toString(), QString("Trailing"));
    }

    void aClosedConnectionNeedsNoUpgrade() {
        Database db;
        QVERIFY(!DatabaseNeedsUpgrade(db));
        UpgradeSchema(db);  // and changes nothing, silently
    }
};

QTEST_GUILESS_MAIN(tst_schema)
#include "tst_schema.moc"
