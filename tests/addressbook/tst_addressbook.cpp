#include "addressbook/frmAddressBook.h"
#include "db/RowValues.h"
#include "search/frmSearch.h"
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
            search->SSCommand1->click();
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
    // Loads a stored contact through the search screen, as the user does.
    void find(const QString& text) {
        onSearchScreen([text](frmSearch& s) {
            s.txtSearch->setText(text);
            QTest::keyClick(s.txtSearch, Qt::Key_Return);
            s.fgSearch->selectRow(0);
            s.cmdOK->click();
        });
        book->cmdSearch->click();
    }
    bool browsing() const {
        return book->cmdNew->text() == "&New Contact" &&
               book->cmdDelete->text() == "&Delete Contact" && book->cmdSearch->isEnabled();
    }
    bool editing() const {
        return book->cmdNew->text() == "&Save Contact" &&
               book->cmdDelete->text() == "&Cancel Changes" && !book->cmdSearch->isEnabled();
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
        QVERIFY(book->txtTelephone->isVisible() && book->txtEmail->isVisible());
        QTest::mouseClick(client, Qt::LeftButton);
        QVERIFY(!book->txtTelephone->isVisible() && !book->txtEmail->isVisible());
        QVERIFY(!book->Label1.value(3)->isVisible() && !book->Label1.value(7)->isVisible());
    }

    void aNewCustomerIsSaved() {
        open();
        book->cmdNew->click();
        QVERIFY(editing());
        QTest::keyClicks(book->txtName, "Mrs O'Brien");
        book->txtAddress->setPlainText("1 High St\nLeeds");
        QTest::keyClicks(book->txtTelephone, "0113");
        QTest::keyClicks(book->txtEmail, "ob@example.org");
        book->cmdNew->click();
        QVERIFY(browsing());
        const Rows row = *db().query("SELECT * FROM customers");
        QCOMPARE(row.count(), 1);
        QCOMPARE(row.text(0, "Name"), QString("Mrs O'Brien"));
        QCOMPARE(row.text(0, "Address"), QString("1 High St\nLeeds"));
        QCOMPARE(row.text(0, "Telephone"), QString("0113"));
        QCOMPARE(row.integer(0, "TypeID"), 0);
        QCOMPARE(book->customer().DummyID, row.integer(0, "DummyID"));
        // Not typed into since: it closes without a question.
        book->cmdExit->click();
        QVERIFY(prompter().calls().isEmpty());
    }

    // Typing into a new contact, before or after "New Contact", is never wiped without a
    // question: the screen is editing, the search is off and Exit asks.
    void typingANewContactIsNeverWipedSilently_data() {
        QTest::addColumn<bool>("pressNewFirst");
        QTest::newRow("typed on the empty screen") << false;
        QTest::newRow("typed after New Contact") << true;
    }
    void typingANewContactIsNeverWipedSilently() {
        QFETCH(bool, pressNewFirst);
        open().show();
        if (pressNewFirst) {
            book->cmdNew->click();
        }
        QTest::keyClicks(book->txtName, "Mr New");
        QVERIFY(editing());
        prompter().answer(Answer::Cancel);
        book->cmdExit->click();
        QCOMPARE(prompter().calls().last().title, QString("Save Changes?"));
        QVERIFY(book->isVisible());
        QCOMPARE(book->txtName->text(), QString("Mr New"));
        prompter().answer(Answer::Yes);
        book->cmdExit->click();
        QCOMPARE(db().scalar("SELECT Name FROM customers").toString(), QString("Mr New"));
    }

    void aNewClientKeepsOnlyNameAddressAndContact() {
        open();
        book->optType[1]->click();
        book->cmdNew->click();
        QTest::keyClicks(book->txtName, "Acme");
        QTest::keyClicks(book->txtContacts, "Jo");
        book->txtTelephone->setText("not for clients");
        book->cmdNew->click();
        const Rows row = *db().query("SELECT * FROM clients");
        QCOMPARE(row.count(), 1);
        QCOMPARE(row.text(0, "Name"), QString("Acme"));
        QCOMPARE(row.text(0, "Contact"), QString("Jo"));
        QVERIFY(row.text(0, "Telephone").isEmpty());
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM customers").toInt(), 0);
    }

    void searchLoadsTheChosenContact_data() {
        QTest::addColumn<bool>("client");
        QTest::newRow("customer") << false;
        QTest::newRow("client") << true;
    }
    void searchLoadsTheChosenContact() {
        QFETCH(bool, client);
        addCustomer(db(), "Alan Smith");
        addClient(db(), "Smith Lettings");
        open();
        book->optType[client ? 1 : 0]->click();
        find("SMITH");
        QCOMPARE(env->app().SearchClients, client);
        QCOMPARE(book->txtName->text(), QString(client ? "Smith Lettings" : "Alan Smith"));
        QCOMPARE(book->optType[1]->isChecked(), client);
        QVERIFY(browsing());
        QVERIFY(!book->contactEditing());
    }

    void typingIntoAStoredContactAsksOnExit() {
        addCustomer(db(), "Alan");
        open().show();
        find("alan");
        QTest::keyClicks(book->txtName, "e");
        QVERIFY(editing());
        QVERIFY(book->contactEditing());
        prompter().answer(Answer::Cancel);
        book->cmdExit->click();
        QVERIFY(book->isVisible());
        QCOMPARE(prompter().calls().last().title, QString("Save Changes?"));
        prompter().answer(Answer::Yes);
        book->cmdExit->click();
        QVERIFY(!book->isVisible());
        QCOMPARE(db().scalar("SELECT Name FROM customers").toString(), QString("Alane"));
    }

    void escapeAsksTheSameQuestion() {
        addCustomer(db(), "Alan");
        open().show();
        find("alan");
        QTest::keyClicks(book->txtContacts, "x");
        prompter().answer(Answer::No);
        QTest::keyClick(book.get(), Qt::Key_Escape);
        QVERIFY(!book->isVisible());
        QCOMPARE(prompter().calls().size(), 1);
        QCOMPARE(db().scalar("SELECT Contact FROM customers").toString(), QString("Contact"));
    }

    void cancellingChangesReloadsTheContact() {
        addCustomer(db(), "Alan");
        open();
        find("alan");
        QTest::keyClicks(book->txtName, " Jones");
        prompter().answer(Answer::No);
        book->cmdDelete->click();
        QVERIFY(editing());
        prompter().answer(Answer::Yes);
        book->cmdDelete->click();
        QCOMPARE(prompter().calls().last().prompt,
                 QString("Do you really want to cancel the changes you have made?"));
        QCOMPARE(book->txtName->text(), QString("Alan"));
        QVERIFY(browsing());
        QVERIFY(!book->contactEditing());
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
        QCOMPARE(book->IsCustomerUsedInEstimate(id), 6);
        prompter().answer(Answer::Yes);  // delete
        prompter().answer(Answer::Yes);  // show the estimates
        book->cmdDelete->click();
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
        QCOMPARE(book->txtName->text(), QString("Alan"));
    }

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
        for (const char* name : {"Keep One", "Go Away", "Keep Two"}) {
            client ? addClient(db(), name) : addCustomer(db(), name);
        }
        open();
        book->optType[client ? 1 : 0]->click();
        find("go away");
        prompter().answer(Answer::No);
        book->cmdDelete->click();
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM " + table).toInt(), 3);
        prompter().answer(Answer::Yes);
        book->cmdDelete->click();
        QCOMPARE(prompter().calls().last().prompt, question);
        const Rows left = *db().query("SELECT Name FROM " + table + " ORDER BY DummyID");
        QCOMPARE(left.count(), 2);
        QCOMPARE(left.text(0, "Name") + "," + left.text(1, "Name"), QString("Keep One,Keep Two"));
        QVERIFY(book->txtName->text().isEmpty());
        // Nothing loaded: delete does nothing at all.
        book->cmdDelete->click();
        QCOMPARE(prompter().calls().size(), 2);
    }

    void aRefusedSaveKeepsTheTyping() {
        addCustomer(db(), "Alan");
        open();
        find("alan");
        QTest::keyClicks(book->txtName, " Jones");
        QVERIFY(TestEnv::refuse(db(), "UPDATE", "customers", "database is locked"));
        book->cmdNew->click();
        QVERIFY(prompter().calls().last().prompt.startsWith("The contact could not be saved."));
        QVERIFY(editing());
        QCOMPARE(book->txtName->text(), QString("Alan Jones"));
        QVERIFY(TestEnv::allow(db(), "customers"));
        book->cmdNew->click();
        QCOMPARE(db().scalar("SELECT Name FROM customers").toString(), QString("Alan Jones"));
    }

    void searchScreenTakesOnlyARealRow() {
        addCustomer(db(), "Alan");
        frmSearch search(env->app());
        QCOMPARE(env->app().SearchContactID, -1);
        QCOMPARE(search.windowTitle(), QString("Search"));
        QVERIFY(search.fgSearch->isColumnHidden(3));
        search.show();
        search.cmdOK->click();  // nothing listed yet
        QVERIFY(search.isVisible());
        QCOMPARE(env->app().SearchContactID, -1);
        search.cmdGo->click();  // an empty text lists everyone
        QCOMPARE(search.fgSearch->model()->rowCount(), 1);
        QCOMPARE(search.fgSearch->model()->index(0, 2).data().toString(), QString("0123"));
        search.SSCommand1->click();
        QVERIFY(!search.isVisible());
        QCOMPARE(env->app().SearchContactID, -1);
    }
};

QTEST_MAIN(tst_addressbook)
#include "tst_addressbook.moc"
