#include "addressbook/ContactRecord.h"
#include "db/RowValues.h"
#include "search/ContactSearch.h"
#include "support/TestEnv.h"

#include <QTest>
#include <memory>

namespace {

std::unique_ptr<ContactRecord> record(const QString& table, Database& db) {
    if (table == "clients") {
        return std::make_unique<clsClients>(db);
    }
    return std::make_unique<clsCustomers>(db);
}

int rows(Database& db, const QString& table) {
    return db.scalar("SELECT COUNT(*) FROM " + table).toInt();
}

QStringList names(const std::optional<Rows>& found) {
    QStringList shown;
    for (int i = 0; found && i < found->count(); ++i) {
        shown << found->text(i, "Name");
    }
    return shown;
}

}  // namespace

Q_DECLARE_METATYPE(SaveOutcome)

class tst_contactrecords : public QObject {
    Q_OBJECT
    TestEnv env;
    Database& db() { return env.app().DbConnection; }

private Q_SLOTS:
    void initTestCase() { env.openNewDatabase(); }
    void init() {
        db().exec("DELETE FROM customers");
        db().exec("DELETE FROM clients");
    }

    void saveAddsOnceThenUpdates_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::newRow("customer") << "customers"
                                  << "Mrs O'Brien"
                                  << "1 High St\r\nLeeds";
        QTest::newRow("client") << "clients"
                                << "Smith & \"Sons\" 100%"
                                << "Unit 5";
        QTest::newRow("long address") << "customers"
                                      << "Long" << QString(10000, 'a');
        QTest::newRow("blanks around the name") << "clients"
                                                << "  Acme Lettings "
                                                << "";
        QTest::newRow("accents") << "customers"
                                 << "Zoë Ångström"
                                 << "Straße 1";
    }
    void saveAddsOnceThenUpdates() {
        QFETCH(QString, table);
        QFETCH(QString, name);
        QFETCH(QString, address);
        auto r = record(table, db());
        r->Name = name;
        r->Address = address;
        r->Contact = "Ann";
        QCOMPARE(r->Save(), SaveOutcome::Saved);
        QVERIFY(r->DummyID >= 1);
        const qint32 id = r->DummyID;
        r->Contact = "Bob";
        QCOMPARE(r->Save(), SaveOutcome::Saved);
        QCOMPARE(r->DummyID, id);
        QCOMPARE(rows(db(), table), 1);

        auto loaded = record(table, db());
        loaded->Load(id);
        QCOMPARE(loaded->DummyID, id);
        QCOMPARE(loaded->Name, name.trimmed());  // kept as the job's save looks names up
        QCOMPARE(loaded->Address, address);
        QCOMPARE(loaded->Contact, QString("Bob"));
    }

    void customerStoresItsOwnFields() {
        clsCustomers c(db());
        c.Name = "A";
        c.Telephone = "0113 496 0000";
        c.Email = "a@example.org";
        c.ClientID = 7;
        c.TypeID = 3;
        c.Unused[0] = "never written";
        QCOMPARE(c.Save(), SaveOutcome::Saved);
        const Rows row = *db().query("SELECT * FROM customers");
        QCOMPARE(row.text(0, "Telephone"), QString("0113 496 0000"));
        QCOMPARE(row.text(0, "Email"), QString("a@example.org"));
        QCOMPARE(row.integer(0, "ClientID"), 7);
        QCOMPARE(row.integer(0, "TypeID"), 3);
        QVERIFY(row.isNull(0, "Unused2"));
    }

    // A client's other columns are carried through a load and a save untouched.
    void clientLeavesItsOtherColumnsAlone() {
        QVERIFY(
            db().exec("INSERT INTO clients (Name, Address, Contact, Notes, Telephone) "
                      "VALUES ('Acme', 'Addr', 'Jo', 'keep me', '0200')"));
        const qint32 id = db().scalar("SELECT DummyID FROM clients").toInt();
        clsClients client(db());
        client.Load(id);
        QCOMPARE(client.Name, QString("Acme"));
        QVERIFY(client.Telephone.isEmpty());
        QVERIFY(client.Notes.isEmpty());
        client.Name = "Acme Ltd";
        QCOMPARE(client.Save(), SaveOutcome::Saved);
        const Rows row = *db().query("SELECT * FROM clients");
        QCOMPARE(row.count(), 1);
        QCOMPARE(row.text(0, "Name"), QString("Acme Ltd"));
        QCOMPARE(row.text(0, "Notes"), QString("keep me"));
        QCOMPARE(row.text(0, "Telephone"), QString("0200"));
    }

    // A missing identity changes nothing; a null text reads as empty, a null number leaves the
    // value.
    void loadingPassesOverWhatItCannotRead() {
        QVERIFY(
            db().exec("INSERT INTO customers (Name, Address, ClientID, TypeID) "
                      "VALUES ('N', NULL, NULL, NULL)"));
        const qint32 id = db().scalar("SELECT DummyID FROM customers").toInt();
        clsCustomers c(db());
        c.Name = "kept";
        c.DummyID = 12;
        c.ClientID = 5;
        c.Address = "old";
        c.Load(id + 4242);
        QCOMPARE(c.Name, QString("kept"));
        QCOMPARE(c.DummyID, 12);
        c.Load(id);
        QCOMPARE(c.Name, QString("N"));
        QCOMPARE(c.Address, QString());
        QCOMPARE(c.ClientID, 5);
        QCOMPARE(c.TypeID, 0);
    }

    // Another workstation saved or deleted the row since it was loaded: the save writes nothing
    // and says which. Keeping mine then saves over their version; a deleted row is written again
    // under its own identity. No other row changes.
    void aRowChangedOrDeletedElsewhereIsNotOverwritten_data() {
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<SaveOutcome>("outcome");
        QTest::newRow("changed") << "UPDATE customers SET Name = 'Theirs', RowVersion = "
                                    "RowVersion + 1, RowChangedBy = 'South' WHERE DummyID = ?"
                                 << SaveOutcome::ChangedElsewhere;
        QTest::newRow("deleted") << "DELETE FROM customers WHERE DummyID = ?"
                                 << SaveOutcome::DeletedElsewhere;
    }
    void aRowChangedOrDeletedElsewhereIsNotOverwritten() {
        QFETCH(QString, elsewhere);
        QFETCH(SaveOutcome, outcome);
        clsCustomers mine(db());
        mine.Name = "Mine";
        QCOMPARE(mine.Save({"North", QDateTime(QDate(2026, 3, 14), QTime(9, 0))}),
                 SaveOutcome::Saved);
        clsCustomers other(db());
        other.Name = "Other";
        QCOMPARE(other.Save(), SaveOutcome::Saved);
        const qint32 id = mine.DummyID;
        QVERIFY(db().exec(elsewhere, {id}));
        const QVariant before = db().scalar("SELECT Name FROM customers WHERE DummyID = ?", {id});

        mine.Name = "Mine again";
        QCOMPARE(mine.Save(), outcome);
        QCOMPARE(db().scalar("SELECT Name FROM customers WHERE DummyID = ?", {id}), before);
        if (outcome == SaveOutcome::ChangedElsewhere) {
            QCOMPARE(mine.Theirs.changedBy, QString("South"));
            mine.Version = mine.Theirs;
        } else {
            mine.Version = {};
        }
        QCOMPARE(mine.Save(), SaveOutcome::Saved);
        QCOMPARE(mine.DummyID, id);
        QCOMPARE(db().scalar("SELECT Name FROM customers WHERE DummyID = ?", {id}).toString(),
                 QString("Mine again"));
        QCOMPARE(
            db().scalar("SELECT Name FROM customers WHERE DummyID = ?", {other.DummyID}).toString(),
            QString("Other"));
        QCOMPARE(rows(db(), "customers"), 2);
    }

    void aRefusedSaveSaysSoAndKeepsTheIdentity() {
        clsCustomers c(db());
        c.Name = "x";
        QVERIFY(TestEnv::refuseInserts(db(), "customers", "refused"));
        QCOMPARE(c.Save(), SaveOutcome::Failed);
        QCOMPARE(c.DummyID, -1);
        QVERIFY(TestEnv::allowInserts(db(), "customers"));
    }

    void searchFindsAnyPartOfNameOrAddress_data() {
        QTest::addColumn<bool>("clients");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("everyone") << false << "  "
                                  << QStringList{"Émile Zola", "O'Neil", "Percy", "Under_score"};
        QTest::newRow("part of name, any case") << false << "NEIL" << QStringList{"O'Neil"};
        QTest::newRow("accented capital") << false << "ÉMILE" << QStringList{"Émile Zola"};
        QTest::newRow("lower finds accented capital")
            << false << "émile" << QStringList{"Émile Zola"};
        QTest::newRow("apostrophe") << false << "o'n" << QStringList{"O'Neil"};
        QTest::newRow("address") << false << "leeds" << QStringList{"O'Neil", "Percy"};
        QTest::newRow("percent is literal") << false << "100%" << QStringList{"Percy"};
        QTest::newRow("underscore is literal") << false << "r_s" << QStringList{"Under_score"};
        QTest::newRow("nothing") << false << "zzz" << QStringList{};
        QTest::newRow("clients") << true << "ac" << QStringList{"Acme"};
    }
    void searchFindsAnyPartOfNameOrAddress() {
        QFETCH(bool, clients);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        const char* customers[][2] = {{"Percy", "100% House, Leeds"},
                                      {"O'Neil", "2 Leeds Rd"},
                                      {"Émile Zola", "Paris"},
                                      {"Under_score", "York"}};
        const auto add = [this](const char* table, const QString& name, const QString& address,
                                const char* other, const QString& value) {
            RowValues row(db().dialect(), table);
            row.set("Name", name).set("Address", address).set(other, value);
            return db().exec(row.insert(), row.values());
        };
        for (const auto& c : customers) {
            QVERIFY(add("customers", QString::fromUtf8(c[0]), QString::fromUtf8(c[1]),
                        "Telephone", "t"));
        }
        QVERIFY(add("clients", "Acme", "Hull", "Contact", "Jo Bloggs"));
        QVERIFY(add("clients", "Zeta", "Hull", "Contact", "Ann"));
        const std::optional<Rows> result = search::searchContacts(db(), text, clients);
        QVERIFY(result);
        QCOMPARE(names(result), found);
        if (clients) {
            QCOMPARE(result->text(0, "Telephone"), QString("Jo Bloggs"));
        }
    }
};

QTEST_MAIN(tst_contactrecords)
#include "tst_contactrecords.moc"
