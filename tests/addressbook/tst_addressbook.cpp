#include "addressbook/frmAddressBook.h"
#include "db/RowValues.h"
#include "search/frmSearch.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using Answer = Prompter::Answer;

namespace {

qint32 addCustomer(Database& db, const QString& name, const QString& address = "1 Road") {
    RowValues row(db.dialect(), "customers");
    row.set("Name", name).set("Address", address).set("Contact", "Contact");
    row.set("Telephone", "0123").set("Email", "a@b.c");
    db.exec(row.insert(), row.values());
    return db.scalar("SELECT MAX(DummyID) FROM customers").toInt();
}

qint32 addClient(Database& db, const QString& name) {
    RowValues row(db.dialect(), "clients");
    row.set("Name", name).set("Address", "Hull").set("Contact", "Jo");
    db.exec(row.insert(), row.values());
    return db.scalar("SELECT MAX(DummyID) FROM clients").toInt();
}

// Runs `act` on the search screen once it is up (it is modal, so the caller is blocked).
void onSearchScreen(std::function<void(frmSearch&)> act) {
    QTimer::singleShot(0, [act] {
        auto* search = qobject_cast<frmSearch*>(QApplication::activeModalWidget());
        QVERIFY(search);
        act(*search);
        if (search->isVisible()) {
            control<QPushButton>(search, "SSCommand1")->click();
        }
    });
}

}  // namespace

class tst_addressbook : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<frmAddressBook> book;

    Database& db() { return env->app().DbConnection; }
    ScriptedPrompter& prompter() { return env->prompter; }
    frmAddressBook& open() {
        book = std::make_unique<frmAddressBook>(env->app());
        return *book;
    }
    template <class T = QPushButton>
    T* c(const QString& name) const {
        return control<T>(book.get(), name);
    }
    QLineEdit* box(const QString& name) const { return c<QLineEdit>(name); }
    void chooseType(bool client) { c<QRadioButton>(client ? "optType_1" : "optType_0")->click(); }
    // Loads a stored contact through the search screen, as the user does.
    void find(const QString& text) {
        onSearchScreen([text](frmSearch& s) {
            auto* search = control<QLineEdit>(&s, "txtSearch");
            search->setText(text);
            QTest::keyClick(search, Qt::Key_Return);
            control<QTableView>(&s, "fgSearch")->selectRow(0);
            control<QPushButton>(&s, "cmdOK")->click();
        });
        c("cmdSearch")->click();
    }
    bool browsing() const {
        return c("cmdNew")->text() == "&New Contact" &&
               c("cmdDelete")->text() == "&Delete Contact" && c("cmdSearch")->isEnabled();
    }
    bool editing() const {
        return c("cmdNew")->text() == "&Save Contact" &&
               c("cmdDelete")->text() == "&Cancel Changes" && !c("cmdSearch")->isEnabled();
    }

private Q_SLOTS:
    void init() {
        env = std::make_unique<TestEnv>();
        env->openNewDatabase();
    }
    void cleanup() {
        book.reset();
        env.reset();
    }

    void opensOnCustomerWithItsBoxes() {
        open().show();
        QCOMPARE(book->windowTitle(), QString("Verdell Standard [Address Book]"));
        auto* customer = book->findChild<QRadioButton*>("optType_0");
        auto* client = book->findChild<QRadioButton*>("optType_1");
        QVERIFY(customer && client);
        QVERIFY(customer->isChecked());
        QVERIFY(browsing());
        QVERIFY(box("txtTelephone")->isVisible() && box("txtEmail")->isVisible());
        QTest::mouseClick(client, Qt::LeftButton);
        QVERIFY(!box("txtTelephone")->isVisible() && !box("txtEmail")->isVisible());
        QVERIFY(!c<QLabel>("Label1_3")->isVisible() && !c<QLabel>("Label1_7")->isVisible());
    }

    void aNewCustomerIsSaved() {
        open();
        c("cmdNew")->click();
        QVERIFY(editing());
        QTest::keyClicks(box("txtName"), "Mrs O'Brien");
        c<QPlainTextEdit>("txtAddress")->setPlainText("1 High St\nLeeds");
        QTest::keyClicks(box("txtTelephone"), "0113");
        QTest::keyClicks(box("txtEmail"), "ob@example.org");
        c("cmdNew")->click();
        QVERIFY(browsing());
        const Rows row = *db().query("SELECT * FROM customers");
        QCOMPARE(row.count(), 1);
        QCOMPARE(row.text(0, "Name"), QString("Mrs O'Brien"));
        QCOMPARE(row.text(0, "Address"), QString("1 High St\nLeeds"));
        QCOMPARE(row.text(0, "Telephone"), QString("0113"));
        QCOMPARE(row.integer(0, "TypeID"), 0);
        QCOMPARE(book->customer().DummyID, row.integer(0, "DummyID"));
        // Not typed into since: it closes without a question.
        c("cmdExit")->click();
        QVERIFY(prompter().calls().isEmpty());
    }

    void aNewClientKeepsOnlyNameAddressAndContact() {
        open();
        chooseType(true);
        c("cmdNew")->click();
        QTest::keyClicks(box("txtName"), "Acme");
        QTest::keyClicks(box("txtContacts"), "Jo");
        box("txtTelephone")->setText("not for clients");
        c("cmdNew")->click();
        const Rows row = *db().query("SELECT * FROM clients");
        QCOMPARE(row.count(), 1);
        QCOMPARE(row.text(0, "Name"), QString("Acme"));
        QCOMPARE(row.text(0, "Contact"), QString("Jo"));
        QVERIFY(row.text(0, "Telephone").isEmpty());
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM customers").toInt(), 0);
    }

    // A contact typed into, new (before or after "New Contact") or loaded, is never wiped
    // without a question: the screen is editing, the search is off, and Exit and Escape ask:
    // Cancel stays, Yes saves, No leaves it.
    void aContactTypedIntoAsksOnExit_data() {
        QTest::addColumn<QString>("contact");  // "new", "after New Contact" or "loaded"
        QTest::addColumn<bool>("escape");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("stored");
        QTest::newRow("new, Exit, save") << "new" << false << Answer::Yes << "Mr New";
        QTest::newRow("after New Contact, Exit, save")
            << "after New Contact" << false << Answer::Yes << "Mr New";
        QTest::newRow("loaded, Exit, save") << "loaded" << false << Answer::Yes << "Alane";
        QTest::newRow("loaded, Escape, save") << "loaded" << true << Answer::Yes << "Alane";
        QTest::newRow("loaded, Exit, don't save") << "loaded" << false << Answer::No << "Alan";
    }
    void aContactTypedIntoAsksOnExit() {
        QFETCH(QString, contact);
        QFETCH(bool, escape);
        QFETCH(Answer, answer);
        QFETCH(QString, stored);
        const bool loaded = contact == "loaded";
        if (loaded) {
            addCustomer(db(), "Alan");
        }
        open().show();
        if (loaded) {
            find("alan");
        } else if (contact == "after New Contact") {
            c("cmdNew")->click();
        }
        QTest::keyClicks(box("txtName"), loaded ? "e" : "Mr New");
        QVERIFY(editing());
        QVERIFY(!loaded || book->contactEditing());
        const auto leave = [&] {
            escape ? QTest::keyClick(book.get(), Qt::Key_Escape) : c("cmdExit")->click();
        };
        prompter().answer(Answer::Cancel);
        leave();
        QVERIFY(book->isVisible());
        QCOMPARE(prompter().calls().last().title, QString("Save Changes?"));
        QCOMPARE(box("txtName")->text(), QString(loaded ? "Alane" : "Mr New"));
        prompter().answer(answer);
        leave();
        QVERIFY(!book->isVisible());
        QCOMPARE(prompter().calls().size(), 2);
        QCOMPARE(db().scalar("SELECT Name FROM customers").toString(), stored);
    }

    void aCustomerInEstimatesIsNotDeleted() {
        const qint32 id = addCustomer(db(), "Alan");
        for (int est : {1001, 1002}) {
            for (int line = 0; line < 3; ++line) {
                db().exec("INSERT INTO Estimate (EstNo, ClientId, Description) VALUES (?, ?, 'x')",
                          {est, id});
            }
        }
        open();
        find("alan");
        prompter().answer(Answer::Yes);  // delete
        prompter().answer(Answer::Yes);  // show the estimates
        c("cmdDelete")->click();
        const auto& calls = prompter().calls();
        QCOMPARE(calls.size(), 3);
        QCOMPARE(calls[0].title, QString("Delete Customer Alan"));
        QCOMPARE(calls[1].prompt,
                 QString("This customer is used in 6 estimates and cannot be deleted.\r\n\r\n"
                         "Would you like to see the estimates using this customer?"));
        QCOMPARE(calls[1].title, QString("Unable To Delete Customer Alan"));
        QCOMPARE(calls[2].prompt, QString("The following estimates reference customer Alan\r\n\r\n"
                                          "1001, 1001, 1001, 1002, 1002, 1002"));
        QCOMPARE(calls[2].title, QString("Customer: Alan"));
        QCOMPARE(calls[2].icon, Prompter::Icon::Information);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM customers").toInt(), 1);
        QCOMPARE(box("txtName")->text(), QString("Alan"));
    }

    // The search lists the chosen type's contacts only and loads the one picked. Delete asks
    // first; a delete the database refuses is reported and keeps the contact; one that goes
    // through removes that row only and empties the screen.
    void deletingRemovesOnlyThatRow_data() {
        QTest::addColumn<bool>("client");
        QTest::addColumn<QString>("question");
        QTest::newRow("customer") << false << "Do you really want to delete this customer?";
        QTest::newRow("client") << true << "Do you really want to delete this Client?";
    }
    void deletingRemovesOnlyThatRow() {
        QFETCH(bool, client);
        QFETCH(QString, question);
        const QString table = client ? "clients" : "customers";
        // Listed first, were the search to list the other type too.
        client ? addCustomer(db(), "A Go Away") : addClient(db(), "A Go Away");
        for (const char* name : {"Keep One", "Go Away", "Keep Two"}) {
            client ? addClient(db(), name) : addCustomer(db(), name);
        }
        open();
        chooseType(client);
        find("GO AWAY");
        QCOMPARE(box("txtName")->text(), QString("Go Away"));
        QCOMPARE(c<QRadioButton>("optType_1")->isChecked(), client);
        QVERIFY(browsing());
        QVERIFY(!book->contactEditing());

        QVERIFY(TestEnv::refuse(db(), "DELETE", table, "database is locked"));
        prompter().answer(Answer::Yes);
        c("cmdDelete")->click();
        QVERIFY(TestEnv::allow(db(), table));
        QCOMPARE(prompter().calls().size(), 2);
        QCOMPARE(prompter().calls().last().title, QString("Contact Not Deleted"));
        QVERIFY(prompter().calls().last().prompt.contains("database is locked"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM " + table).toInt(), 3);
        QCOMPARE(box("txtName")->text(), QString("Go Away"));
        QVERIFY(browsing());

        prompter().answer(Answer::No);
        c("cmdDelete")->click();
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM " + table).toInt(), 3);
        prompter().answer(Answer::Yes);
        c("cmdDelete")->click();
        QCOMPARE(prompter().calls().last().prompt, question);
        const Rows left = *db().query("SELECT Name FROM " + table + " ORDER BY DummyID");
        QCOMPARE(left.count(), 2);
        QCOMPARE(left.text(0, "Name") + "," + left.text(1, "Name"), QString("Keep One,Keep Two"));
        QVERIFY(box("txtName")->text().isEmpty());
        // Nothing loaded: delete does nothing at all.
        c("cmdDelete")->click();
        QCOMPARE(prompter().calls().size(), 4);
    }

    // A save the database refuses keeps the typing, which is saved once the database takes
    // it; Cancel Changes asks, then shows the contact as stored.
    void aRefusedSaveKeepsTheTypingAndCancelReloads() {
        addCustomer(db(), "Alan");
        open();
        find("alan");
        QTest::keyClicks(box("txtName"), " Jones");
        QVERIFY(TestEnv::refuse(db(), "UPDATE", "customers", "database is locked"));
        c("cmdNew")->click();
        QVERIFY(prompter().calls().last().prompt.startsWith("The contact could not be saved."));
        QVERIFY(editing());
        QCOMPARE(box("txtName")->text(), QString("Alan Jones"));
        QVERIFY(TestEnv::allow(db(), "customers"));
        prompter().answer(Answer::No);
        c("cmdDelete")->click();
        QVERIFY(editing());
        c("cmdNew")->click();
        QCOMPARE(db().scalar("SELECT Name FROM customers").toString(), QString("Alan Jones"));

        QTest::keyClicks(box("txtName"), " Jr");
        prompter().answer(Answer::Yes);
        c("cmdDelete")->click();
        QCOMPARE(prompter().calls().last().prompt,
                 QString("Do you really want to cancel the changes you have made?"));
        QCOMPARE(box("txtName")->text(), QString("Alan Jones"));
        QVERIFY(browsing());
        QVERIFY(!book->contactEditing());
    }

    // The search returns the contact loaded, nothing when it closes without one; Load Contact
    // takes only a listed row.
    void searchScreenReturnsOnlyARealRow() {
        const qint32 id = addCustomer(db(), "Alan");
        addClient(db(), "Alan Lettings");
        frmSearch search(env->app(), false);
        QCOMPARE(search.windowTitle(), QString("Search"));
        auto* grid = control<QTableView>(&search, "fgSearch");
        QVERIFY(grid->isColumnHidden(3));
        search.show();
        control<QPushButton>(&search, "cmdOK")->click();  // nothing listed yet
        QVERIFY(search.isVisible());
        QVERIFY(!search.chosen());
        control<QPushButton>(&search, "cmdGo")->click();  // an empty text lists every customer
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(grid->model()->index(0, 2).data().toString(), QString("0123"));
        grid->selectRow(0);
        control<QPushButton>(&search, "cmdOK")->click();
        QVERIFY(!search.isVisible());
        QCOMPARE(search.chosen(), std::optional<qint32>(id));

        onSearchScreen([](frmSearch&) {});
        QVERIFY(!frmSearch::pick(env->app(), true));
    }
};

QTEST_MAIN(tst_addressbook)
#include "tst_addressbook.moc"
