// Converting a database of the earlier Windows release: the copy of every table with its values,
// the file kept beside the result, the settings, and files that cannot be converted.

#include "FakeSource.h"
#include "db/Schema.h"
#include "db/Upgrade.h"
#include "records/Connection.h"
#include "setup/JetConversion.h"
#include "setup/JetSource.h"
#include "setup/Progress.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

using Kind = TableSource::Kind;

const QString kJet = QStringLiteral(VERDELL_JET_FIXTURES);

// The tables of a Verdell database of a release before the version stamp.
void addVerdellTables(FakeSource& source) {
    source.add("Counters",
               {{"JobCounter", Kind::Integer, false}, {"FileCounter", Kind::Integer, false},
                {"Free2", Kind::Integer, false}, {"Free3", Kind::Integer, false}},
               {{qlonglong(5001), qlonglong(812), qlonglong(40), qlonglong(9)}});
    source.add("Jobs",
               {{"DummyId", Kind::Integer, true}, {"JobNo", Kind::Integer, false},
                {"WorkNotes", Kind::Text, false}, {"DateDue", Kind::DateTime, false},
                {"CliName", Kind::Text, false}, {"Price", Kind::Real, false},
                {"Invoiced", Kind::Boolean, false}},
               {{qlonglong(3), qlonglong(5000), QString(QString("First line\r\n") + QString(5000, u'x')),
                 QDateTime(QDate(2010, 2, 1), QTime(9, 30)), QString("Zoë Łukasz 株式会社"),
                 12.3456, true},
                {qlonglong(9), qlonglong(4999), QVariant(), QVariant(), QString(""), 0.0, false}});
    source.add("customers",
               {{"DummyId", Kind::Integer, true}, {"Name", Kind::Text, false}},
               {{qlonglong(42), QString("Mrs Dale")}});
    source.add("Photos", {{"Id", Kind::Integer, false}, {"Picture", Kind::Binary, false}},
               {{qlonglong(1), QByteArray("\x00\x01\xff", 3)}});
}

QString makeFile(TestEnv& env, const QString& name, const QByteArray& contents) {
    const QString file = env.dataFolder() + u'/' + name;
    TestEnv::writeFile(file, contents);
    return file;
}

}  // namespace

class tst_conversion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A file that breaks off leaves the original alone; read whole, every value arrives.
    void everyValueArrivesUnchanged() {
        TestEnv env;
        const QString file = makeFile(env, "verdell.mdb", "stands for the earlier file");
        FakeSource source;
        addVerdellTables(source);
        source.table("Jobs").failAfter = 1;
        SilentProgress quiet;
        QVERIFY(conversion::convertInPlace(source, file, quiet)
                    .error.contains("ends inside the table Jobs"));
        QCOMPARE(TestEnv::readFile(file), QByteArray("stands for the earlier file"));
        QCOMPARE(QDir(env.dataFolder()).entryList(QDir::Files), QStringList{"verdell.mdb"});

        source.table("Jobs").failAfter = -1;
        const auto result = conversion::convertInPlace(source, file, quiet);
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        QCOMPARE(result.keptOriginal, env.dataFolder() + "/verdell (earlier Windows release).mdb");
        QCOMPARE(TestEnv::readFile(result.keptOriginal), QByteArray("stands for the earlier file"));
        QVERIFY(!QFile::exists(file + ".converting"));

        Database db;
        QVERIFY(db.open(connection::forFile(file)));
        auto rows = db.query("SELECT * FROM Jobs ORDER BY DummyId");
        QCOMPARE(rows->count(), 2);
        QCOMPARE(rows->integer(0, "DummyId"), 3);
        QCOMPARE(rows->text(0, "WorkNotes"), QString("First line\r\n") + QString(5000, u'x'));
        QCOMPARE(rows->text(0, "DateDue"), QString("2010-02-01 09:30:00"));
        QCOMPARE(rows->text(0, "CliName"), QString("Zoë Łukasz 株式会社"));
        QCOMPARE(rows->number(0, "Price"), 12.3456);
        QCOMPARE(rows->integer(0, "Invoiced"), -1);
        QCOMPARE(rows->integer(1, "Invoiced"), 0);
        QVERIFY(rows->isNull(1, "WorkNotes"));
        QVERIFY(rows->isNull(1, "DateDue"));
        QVERIFY(!rows->isNull(1, "CliName"));
        QCOMPARE(db.scalar("SELECT DummyId FROM customers").toLongLong(), 42);
        QCOMPARE(db.scalar("SELECT Picture FROM Photos").toByteArray(), QByteArray("\x00\x01\xff", 3));
        // Only what the file held: the starting lists of a new database are not mixed in.
        QCOMPARE(db.scalar("SELECT count(*) FROM Counters").toInt(), 1);
        // The upgrade ran, as it would have for the earlier file.
        QVERIFY(!DatabaseNeedsUpgrade(db));
        rows = db.query("SELECT JobCounter, Estimate, TaxDesc FROM Counters");
        QCOMPARE(rows->integer(0, "JobCounter"), 5001);
        QCOMPARE(rows->integer(0, "Estimate"), 1000);
        QCOMPARE(rows->text(0, "TaxDesc"), QString("VAT"));
        for (const QString& table : schema::tableNames()) {
            QVERIFY2(db.hasTable(table), qPrintable(table));
        }
    }

    // The reader on real files of the earlier engine: types, memo fields, Unicode names.
    void realJetTablesAreCopiedWhole() {
        TestEnv env;
        JetSource source(kJet + "/nwind.mdb");
        QVERIFY2(source.isOpen(), qPrintable(source.error()));
        QVERIFY(source.tables().contains(QString("Umsätze")));
        Database db;
        QVERIFY(db.create(env.root() + "/copy.db"));
        SilentProgress quiet;
        QString error;
        Transaction tx(db);
        QVERIFY2(conversion::copyTables(source, db, quiet, &error), qPrintable(error));
        QVERIFY(tx.commit());
        QCOMPARE(db.scalar("SELECT count(*) FROM Orders").toInt(), 830);
        QCOMPARE(db.scalar("SELECT count(*) FROM \"Umsätze\"").toInt(), 830);
        auto rows = db.query("SELECT * FROM Orders WHERE OrderID = 10330");
        QCOMPARE(rows->text(0, "OrderDate"), QString("1994-11-16 00:00:00"));
        QCOMPARE(rows->number(0, "Freight"), 12.75);
        QCOMPARE(rows->text(0, "ShipAddress"), QString("Carrera 52 con Ave. Bolívar #65-98 Llano Largo"));
        rows = db.query("SELECT Notes, Region FROM Employees WHERE EmployeeID = 2");
        QVERIFY(rows->text(0, "Notes").startsWith("Andrew received his BTS commercial"));
        QCOMPARE(rows->text(0, "Notes").size(), 448);
        rows = db.query("SELECT Fax FROM Suppliers WHERE SupplierID = 1");
        QVERIFY(rows->isNull(0, "Fax"));
        QCOMPARE(db.scalar("SELECT Discontinued FROM Products WHERE ProductID = 5").toInt(), -1);
        QCOMPARE(db.scalar("SELECT Discontinued FROM Products WHERE ProductID = 1").toInt(), 0);
    }

    void filesThatAreNoVerdellDatabaseAreNotConverted_data() {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<int>("truncateTo");
        QTest::addColumn<QString>("reason");
        QTest::newRow("other schema") << "nwind.mdb" << 0 << "not a database of Verdell";
        QTest::newRow("truncated") << "nwind.mdb" << 6000 << "cannot be read";
        QTest::newRow("ACE, other schema") << "ASampleDatabase.accdb" << 0 << "not a database of Verdell";
    }
    void filesThatAreNoVerdellDatabaseAreNotConverted() {
        QFETCH(QString, fixture);
        QFETCH(int, truncateTo);
        QFETCH(QString, reason);
        TestEnv env;
        QFile in(kJet + u'/' + fixture);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray bytes = truncateTo > 0 ? in.read(truncateTo) : in.readAll();
        const QString file = makeFile(env, "verdell.mdb", bytes);
        SilentProgress quiet;
        const auto result = conversion::ConvertJetDatabase(file, quiet);
        QVERIFY2(result.error.contains(reason), qPrintable(result.error));
        QCOMPARE(TestEnv::readFile(file), bytes);
        QCOMPARE(QDir(env.dataFolder()).entryList(QDir::Files), QStringList{"verdell.mdb"});
    }

    // Opening a file of the earlier release asks first; No leaves it and goes to the locator.
    void openingAskedAndRefused() {
        TestEnv env;
        env.createSettings({{"datapath", env.dataFolder()}, {"dataname", "verdell.mdb"}});
        QDir().mkpath(env.dataFolder());
        QVERIFY(QFile::copy(kJet + "/nwind.mdb", env.dataFolder() + "/verdell.mdb"));
        env.prompter.answer(Prompter::Answer::No);
        QVERIFY(!OpenDatabase(env.app()));
        QCOMPARE(env.prompter.calls().first().title, QString("Convert Database"));
        QVERIFY(env.prompter.calls().first().prompt.contains("verdell (earlier Windows release).mdb"));
        QVERIFY(env.prompter.calls()[1].prompt.contains("has to be converted"));
        QCOMPARE(QDir(env.dataFolder()).entryList(QDir::Files), QStringList{"verdell.mdb"});

        // Yes on a file that is not of Verdell: told why, original kept, still not open.
        env.prompter.clear();
        env.prompter.answer(Prompter::Answer::Yes);
        QVERIFY(!OpenDatabase(env.app()));
        QCOMPARE(env.prompter.calls()[1].title, QString("Database Not Converted"));
        QVERIFY(env.prompter.calls()[1].prompt.contains("has not been changed"));
    }

    void keptNamesNeverOverwrite() {
        TestEnv env;
        const QString file = makeFile(env, "job2003.cvn", "x");
        makeFile(env, "job2003 (earlier Windows release).cvn", "older copy");
        QCOMPARE(conversion::keptOriginalName(file),
                 env.dataFolder() + "/job2003 (earlier Windows release 2).cvn");
    }
};

QTEST_MAIN(tst_conversion)
#include "tst_conversion.moc"
