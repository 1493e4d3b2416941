#include "estimates/EstimateStore.h"
#include "estimates/frmEstimate.h"
#include "jobs/frmJobs.h"
#include "search/frmSearch.h"
#include "support/GridCells.h"
#include "support/ScreenControls.h"
#include "support/TemplateFiles.h"
#include "support/TestEnv.h"
#include "support/TestRegister.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace estimates;

using Answer = Prompter::Answer;

class tst_estimatescreen : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<frmEstimate> form;

    AppState& app() { return env->app(); }
    Database& db() { return env->app().DbConnection; }
    ScriptedPrompter& prompter() { return env->prompter; }

    // The screen's control of that name.
    template <typename Control>
    Control* c(const char* name) const {
        return control<Control>(form.get(), QString::fromLatin1(name));
    }
    frmEstimate& open() {
        form = std::make_unique<frmEstimate>(app());
        form->Form_Load();
        form->show();
        return *form;
    }
    void addItem(const QString& qty, const QString& description, const QString& trade,
                 const QString& retail) {
        c<QPushButton>("cmdAddItem")->click();
        QVERIFY(c<QFrame>("panEst")->isVisible());
        c<QLineEdit>("txtEstQty")->setText(qty);
        c<QComboBox>("comEstDesc")->setEditText(description);
        c<QLineEdit>("txtEstTrade")->setText(trade);
        c<QLineEdit>("txtEstRetail")->setText(retail);
        c<QPushButton>("cmdOKAdd")->click();
    }
    QStringList totals() const {
        return {c<QLabel>("labTotalTrade")->text(), c<QLabel>("labTotalRetail")->text(),
                c<QLabel>("labDeliveryCosts")->text(), c<QLabel>("labTotalProfit")->text()};
    }
    // A new estimate for a new customer with two lines, saved.
    qint64 saveTwoLineEstimate(const QString& name = "Mrs O'Brien") {
        c<QPushButton>("cmdNewEstimate")->click();
        QTest::keyClicks(c<QLineEdit>("txtName"), name);
        c<QPlainTextEdit>("txtAddress")->setPlainText("1 High St\nLeeds");
        QTest::keyClicks(c<QLineEdit>("txtTel"), "0113 496 0000");
        addItem("2", "Radiator valve", "10.00", "15.00");
        addItem("1", "Labour", "5", "8");
        c<QLineEdit>("txtDelivery")->setText("7.5");
        c<QPushButton>("cmdNewEstimate")->click();
        return c<QLabel>("labEstNo")->text().toLongLong();
    }

private Q_SLOTS:
    void init() {
        env = std::make_unique<TestEnv>();
        env->openNewDatabase();
        app().CurrencySymbol = "£";
        app().DefaultDateFormat = "dd/mm/yyyy";
        db().exec("UPDATE Counters SET Estimate = 1042");
    }
    void cleanup() {
        form.reset();
        env.reset();
    }

    // Until "New Estimate" there is nothing to type into, so nothing typed can be wiped by it.
    void opensWithNothingToTypeInto() {
        open();
        QCOMPARE(form->windowTitle(), QString("Verdell [Estimates]"));
        QCOMPARE(c<QPushButton>("cmdNewEstimate")->text(), QString("&New Estimate"));
        QCOMPARE(c<QLabel>("labTradeCaption")->text(), QString("Total Trade Purchases £"));
        QCOMPARE(c<QTableWidget>("fgEstimate")->horizontalHeaderItem(3)->text(),
                 QString("Retail Price £"));
        QVERIFY(c<QTableWidget>("fgEstimate")->isColumnHidden(4));
        for (const char* name : {"fraDetails", "cmdAddItem", "txtDelivery"}) {
            QVERIFY2(!c<QWidget>(name)->isEnabled(), name);
        }
        // Nor is there a history to show.
        c<QTabWidget>("SSTab1")->setCurrentIndex(1);
        QCOMPARE(c<QTabWidget>("SSTab1")->currentIndex(), 0);
        QCOMPARE(prompter().calls().last().title, QString("No Estimate Loaded"));
        c<QPushButton>("cmdNewEstimate")->click();
        for (const char* name : {"fraDetails", "cmdAddItem", "txtDelivery"}) {
            QVERIFY2(c<QWidget>(name)->isEnabled(), name);
        }
        // A new estimate given up is no estimate: its typing stays in view, out of reach.
        QTest::keyClicks(c<QLineEdit>("txtName"), "Kept");
        prompter().answer(Answer::Yes);
        c<QPushButton>("cmdCancel")->click();
        QCOMPARE(prompter().calls().last().prompt, QString("Do you want to cancel the changes?"));
        QCOMPARE(c<QPushButton>("cmdNewEstimate")->text(), QString("&New Estimate"));
        QCOMPARE(c<QLineEdit>("txtName")->text(), QString("Kept"));
        QVERIFY(!c<QWidget>("fraDetails")->isEnabled());
        QVERIFY(!c<QWidget>("cmdAddItem")->isEnabled());
    }

    void aNewEstimateIsPricedAndSaved() {
        open();
        const qint64 estNo = saveTwoLineEstimate();
        QCOMPARE(estNo, 1042);
        QCOMPARE(totals(), (QStringList{"25.00", "38.00", "7.50", "5.50"}));
        QCOMPARE(c<QTableWidget>("fgEstimate")->rowCount(), 3);  // two lines and the empty row
        QCOMPARE(prompter().calls().last().prompt, QString("Estiamte Number 1042"));
        QCOMPARE(prompter().calls().last().title, QString("Estimate Saved"));
        QCOMPARE(c<QPushButton>("cmdNewEstimate")->text(), QString("&New Estimate"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Estimate WHERE EstNo = 1042").toInt(), 2);
        QCOMPARE(db().scalar("SELECT Name FROM customers").toString(), QString("Mrs O'Brien"));
        QVERIFY(!c<QLabel>("labDateCreated")->text().isEmpty());
        // Descriptions are offered next time, once each.
        QCOMPARE(c<QComboBox>("comEstDesc")->count(), 2);
        addItem("1", "Labour", "5", "8");
        QCOMPARE(c<QComboBox>("comEstDesc")->count(), 2);
        // Typing in a shown estimate edits it; saving again keeps the number.
        QCOMPARE(c<QPushButton>("cmdNewEstimate")->text(), QString("&Save Estimate"));
        c<QPushButton>("cmdNewEstimate")->click();
        QCOMPARE(c<QLabel>("labEstNo")->text(), QString("1042"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Estimate WHERE EstNo = 1042").toInt(), 3);
        // A new estimate after it gets the next number and leaves it alone.
        QCOMPARE(saveTwoLineEstimate("Someone Else"), 1043);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Estimate WHERE EstNo = 1042").toInt(), 3);
        QVERIFY(c<QWidget>("fraDetails")->isEnabled());  // a shown estimate stays editable

        // The other is found by part of its customer's name or by its number, and loaded whole.
        c<QPushButton>("cmdFind")->click();
        QVERIFY(c<QFrame>("panSearch")->isVisible());
        QTest::keyClicks(c<QLineEdit>("txtSearch"), "O'BRI");
        QCOMPARE(c<QLineEdit>("txtSearch")->text(), QString("O'BRI"));
        QTest::keyClick(c<QLineEdit>("txtSearch"), Qt::Key_Return);
        QCOMPARE(c<QLabel>("labFoundStatus")->text(), QString("1 matching estimates found"));
        QCOMPARE(c<QTableWidget>("fgExisting")->item(0, 0)->text(), QString("1042"));
        c<QLineEdit>("txtSearch")->setText("1042");
        c<QPushButton>("cmdGoSearch")->click();
        QCOMPARE(c<QLabel>("labFoundStatus")->text(), QString("1 matching estimates found"));
        c<QTableWidget>("fgExisting")->setCurrentCell(0, 0);
        c<QPushButton>("cmdLoadEst")->click();
        QVERIFY(!c<QFrame>("panSearch")->isVisible());
        QCOMPARE(c<QLabel>("labEstNo")->text(), QString("1042"));
        QCOMPARE(c<QLineEdit>("txtName")->text(), QString("Mrs O'Brien"));
        QCOMPARE(c<QTableWidget>("fgEstimate")->item(0, 2)->text(), QString("10.00"));
        QCOMPARE(totals(), (QStringList{"30.00", "46.00", "7.50", "8.50"}));
        // "New Estimate" then starts from nothing.
        c<QPushButton>("cmdNewEstimate")->click();
        QCOMPARE(c<QLineEdit>("txtDelivery")->text(), QString());
        QCOMPARE(totals(), (QStringList{"0.00", "0.00", "0.00", "0.00"}));
        QCOMPARE(c<QTableWidget>("fgEstimate")->rowCount(), 1);
        QVERIFY(c<QLabel>("labEstNo")->text().isEmpty());
    }

    void anItemNeedsQuantityAndDescription() {
        open();
        c<QPushButton>("cmdNewEstimate")->click();
        c<QPushButton>("cmdAddItem")->click();
        c<QComboBox>("comEstDesc")->setEditText("Valve");
        c<QPushButton>("cmdOKAdd")->click();
        QVERIFY(c<QFrame>("panEst")->isVisible());
        QCOMPARE(c<QTableWidget>("fgEstimate")->rowCount(), 1);
        c<QPushButton>("cmdCloseAdd")->click();
        QVERIFY(!c<QFrame>("panEst")->isVisible());
    }

    void numbersAreCheckedBeforeALineIsAdded_data() {
        QTest::addColumn<QStringList>("typed");    // quantity, trade and retail price
        QTest::addColumn<QString>("refused");      // the message's start, or empty when added
        QTest::addColumn<QStringList>("stored");
        const auto row = [](const char* name, const QStringList& typed, const QString& refused,
                            const QStringList& stored = {}) {
            QTest::newRow(name) << typed << refused << stored;
        };
        row("blanks", {"   ", "1", "2"}, "The quantity \"   \"");
        row("words", {"two", "1", "2"}, "The quantity \"two\"");
        row("decimal comma", {"1", "1,50", "2"}, "The trade price \"1,50\"");
        row("pence", {"1", "1", "99p"}, "The retail price");
        row("negative", {"-1", "-5", "-8"}, "", {"-1", "-5", "-8"});
        row("currency symbol", {" 2 ", "£10", "- £ 3.5"}, "", {"2", "10", "-3.5"});
        row("no prices", {"3", "", ""}, "", {"3", "", ""});
    }
    void numbersAreCheckedBeforeALineIsAdded() {
        QFETCH(QStringList, typed);
        QFETCH(QString, refused);
        QFETCH(QStringList, stored);
        open();
        c<QPushButton>("cmdNewEstimate")->click();
        addItem(typed[0], "Valve", typed[1], typed[2]);
        if (!refused.isEmpty()) {
            QVERIFY(!prompter().calls().isEmpty());
            QVERIFY(prompter().calls().last().prompt.startsWith(refused));
            QVERIFY(c<QFrame>("panEst")->isVisible());
            QCOMPARE(c<QLineEdit>("txtEstRetail")->text(), typed[2]);  // nothing typed is lost
            QCOMPARE(c<QTableWidget>("fgEstimate")->rowCount(), 1);
            QCOMPARE(db().scalar("SELECT COUNT(*) FROM Stock WHERE Description = ?", {"Valve"}).toInt(),
                     0);
            return;
        }
        QVERIFY(prompter().calls().isEmpty());
        const EstimateLine line = form->lines().value(0);
        QCOMPARE((QStringList{line.Qty, line.Trade, line.Retail}), stored);
    }

    void anUnreadableDeliveryCostIsNotSaved() {
        open();
        saveTwoLineEstimate();
        c<QLineEdit>("txtDelivery")->setText("£12.50");
        QCOMPARE(c<QLabel>("labDeliveryCosts")->text(), QString("12.50"));
        QTest::keyClicks(c<QLineEdit>("txtDelivery"), "x");
        QCOMPARE(c<QPushButton>("cmdNewEstimate")->text(), QString("&Save Estimate"));
        c<QPushButton>("cmdNewEstimate")->click();
        QCOMPARE(prompter().calls().last().title, QString("Not A Number"));
        QCOMPARE(c<QPushButton>("cmdNewEstimate")->text(), QString("&Save Estimate"));
        QCOMPARE(db().scalar("SELECT DeliveryCost FROM Estimate").toDouble(), 7.5);
    }

    void doubleClickRemovesALine() {
        open();
        saveTwoLineEstimate();
        c<QTableWidget>("fgEstimate")->setCurrentCell(0, 1);
        prompter().answer(Answer::No);
        form->fgEstimate_DblClick();
        QCOMPARE(c<QTableWidget>("fgEstimate")->rowCount(), 3);
        QCOMPARE(prompter().calls().last().title, QString("Remove Item Radiator valve"));
        prompter().answer(Answer::Yes);
        form->fgEstimate_DblClick();
        QCOMPARE(c<QTableWidget>("fgEstimate")->rowCount(), 2);
        QCOMPARE(totals(), (QStringList{"5.00", "8.00", "7.50", "-4.50"}));
        QCOMPARE(c<QPushButton>("cmdNewEstimate")->text(), QString("&Save Estimate"));
        // The empty row asks nothing.
        const int asked = int(prompter().calls().size());
        c<QTableWidget>("fgEstimate")->setCurrentCell(1, 1);
        form->fgEstimate_DblClick();
        QCOMPARE(prompter().calls().size(), asked);
    }

    void aRefusedSaveStaysEditing() {
        open();
        QVERIFY(TestEnv::refuseInserts(db(), "Estimate", "database is locked"));
        saveTwoLineEstimate();
        QVERIFY(prompter().calls().last().prompt.startsWith("The estimate could not be saved."));
        QCOMPARE(c<QPushButton>("cmdNewEstimate")->text(), QString("&Save Estimate"));
        QVERIFY(c<QLabel>("labEstNo")->text().isEmpty());
        QCOMPARE(c<QTableWidget>("fgEstimate")->rowCount(), 3);
        QCOMPARE(db().scalar("SELECT Estimate FROM Counters").toInt(), 1042);
        QVERIFY(TestEnv::allowInserts(db(), "Estimate"));
        c<QPushButton>("cmdNewEstimate")->click();
        QCOMPARE(c<QLabel>("labEstNo")->text(), QString("1042"));
    }

    // A number typed by hand; Cancel at its box gives up this save and keeps the estimate.
    void manualNumbersAreAskedOnceAndCancelKeepsTheEstimate() {
        app().ManualNumbering = true;
        open();
        prompter().cancelInput();
        saveTwoLineEstimate();
        QCOMPARE(prompter().count(), 1);
        QCOMPARE(prompter().last().prompt, QString("Please enter the new Estimate Reference number"));
        QCOMPARE(prompter().last().title, QString("New Estimate Number"));
        QCOMPARE(c<QPushButton>("cmdNewEstimate")->text(), QString("&Save Estimate"));
        QCOMPARE(c<QLineEdit>("txtName")->text(), QString("Mrs O'Brien"));
        QCOMPARE(c<QTableWidget>("fgEstimate")->rowCount(), 3);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Estimate").toInt(), 0);

        prompter().type("77000");
        c<QPushButton>("cmdNewEstimate")->click();
        QCOMPARE(c<QLabel>("labEstNo")->text(), QString("77000"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Estimate WHERE EstNo = 77000").toInt(), 2);
        QCOMPARE(db().scalar("SELECT Estimate FROM Counters").toInt(), 1042);
    }

    void theCustomerSearchFillsTheBoxes() {
        TestEnv::addRow(db(), "customers",
                        {{"Name", "Bob Smith"}, {"Address", "2 Low St"}, {"Contact", "Bob"},
                         {"Telephone", "0200"}, {"Email", "b@example.org"}});
        open();
        c<QPushButton>("cmdNewEstimate")->click();
        TestEnv::addRow(db(), "clients", {{"Name", "Smith Lettings"}});
        QTimer::singleShot(0, [] {
            auto* search = qobject_cast<frmSearch*>(QApplication::activeModalWidget());
            QVERIFY(search);
            control<QLineEdit>(search, "txtSearch")->setText("smith");
            control<QPushButton>(search, "cmdGo")->click();
            // Customers only: the client of the same name is not listed.
            QCOMPARE(control<QTableView>(search, "fgSearch")->model()->rowCount(), 1);
            control<QTableView>(search, "fgSearch")->selectRow(0);
            control<QPushButton>(search, "cmdOK")->click();
        });
        c<QPushButton>("cmdSearch")->click();
        QCOMPARE(c<QLineEdit>("txtName")->text(), QString("Bob Smith"));
        QCOMPARE(c<QLineEdit>("txtEmail")->text(), QString("b@example.org"));
        QCOMPARE(c<QLineEdit>("txtContact")->cursorPosition(), 0);  // shows its start
        QVERIFY(form->currentCustomerID() > 0);
    }

    // A line by keyboard alone: what is typed as the description stays as typed when Tab
    // leaves it, and the focus comes back to Add Item for the next line.
    void aLineAddedByKeyboard() {
        AddToTable(db(), "Labour - plumber (per hour)");
        open();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        c<QPushButton>("cmdNewEstimate")->click();
        c<QPushButton>("cmdAddItem")->click();
        QTest::keyClicks(c<QLineEdit>("txtEstQty"), "1");
        QTest::keyClick(c<QLineEdit>("txtEstQty"), Qt::Key_Tab);
        QCOMPARE(focused(), QString("comEstDesc"));
        QTest::keyClicks(QApplication::focusWidget(), "Labour");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(c<QComboBox>("comEstDesc")->currentText(), QString("Labour"));
        QCOMPARE(focused(), QString("txtEstTrade"));
        QTest::keyClicks(QApplication::focusWidget(), "30");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(c<QTableWidget>("fgEstimate")->item(0, 1)->text(), QString("Labour"));
        QCOMPARE(focused(), QString("cmdAddItem"));
    }

    // Issues printed by older releases kept their date as text, in the system's order.
    void historyShowsEveryStoredDateForm_data() {
        QTest::addColumn<QString>("stored");
        QTest::newRow("stored form") << "2021-01-18 14:03:22";
        QTest::newRow("older text with time") << "18/01/2021 14:03:22";
        QTest::newRow("older text") << "18/01/2021";
        QTest::newRow("older two-digit year") << "18/01/21";
    }
    void historyShowsEveryStoredDateForm() {
        QFETCH(QString, stored);
        open();
        const qint64 estNo = saveTwoLineEstimate();
        QVERIFY(db().exec("INSERT INTO EstimateDocs (DateCreated, EstNo, PrintNo, TotalQty, "
                          "TotalPrice) VALUES (?, ?, 1, 2, 38)",
                          {stored, estNo}));
        c<QTabWidget>("SSTab1")->setCurrentIndex(1);
        QCOMPARE(c<QTableWidget>("fgEstimates")->item(0, 0)->text(), QString("18/01/2021"));
        QCOMPARE(cutCells(c<QTableWidget>("fgEstimates"), {0, 1, 2, 3}), QStringList());
    }

    // Print makes the document and adds an issue to the history each time. The document goes
    // by e-mail to the estimate's customer, as does an issue chosen in the history; an
    // estimate being edited offers no document to send.
    void printingAndSendingTheEstimate() {
        templatefiles::install(*env, {":/templates/Estimate.dotx"});
        app().AppSettings.SetValue("EstimateDoc", "Estimate.dotx");
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(env->root()));  // no LibreOffice: the document itself
        open();
        saveTwoLineEstimate();
        db().exec("UPDATE customers SET Email = ?", {"o'brien@exämple.ie"});
        QVERIFY(!c<QPushButton>("cmdEmailEstimate")->isEnabled());
        c<QPushButton>("cmdPrint")->click();
        c<QPushButton>("cmdPrint")->click();
        const QString document = env->dataFolder() + "/Docs/est1042.doc";
        QVERIFY(QFileInfo::exists(document));
        c<QPushButton>("cmdEmailEstimate")->click();
        const QStringList sent{"--utf8", "--subject", "Estimate 1042", "--attach", document};
        QCOMPARE(env->launcher.mails.last().arguments, sent + QStringList{"o'brien@exämple.ie"});
        c<QTabWidget>("SSTab1")->setCurrentIndex(1);
        QCOMPARE(c<QTabWidget>("SSTab1")->currentIndex(), 1);
        QCOMPARE(c<QTableWidget>("fgEstimates")->rowCount(), 2);
        QCOMPARE(c<QTableWidget>("fgEstimates")->item(0, 1)->text(), QString("1042-2"));
        QCOMPARE(c<QTableWidget>("fgEstimates")->item(0, 2)->text(), QString("2"));
        QCOMPARE(c<QTableWidget>("fgEstimates")->item(0, 3)->text(), QString("38.00"));
        // Without issue numbers in the names, either issue opens est1042.doc.
        c<QTableWidget>("fgEstimates")->setCurrentCell(1, 1);
        c<QPushButton>("cmdEditEstimate")->click();
        QCOMPARE(env->launcher.requests.last().target, document);
        db().exec("UPDATE customers SET Email = ?", {""});
        c<QPushButton>("cmdEmailIssue")->click();
        qputenv("PATH", path);
        QCOMPARE(env->launcher.mails.size(), 2);
        QCOMPARE(env->launcher.mails.last().arguments, sent);
        QCOMPARE(prompter().last().prompt,
                 QString("The message opens without a recipient: no e-mail address is on record "
                         "for the customer \"Mrs O'Brien\".\r\nType the address in the mail "
                         "program."));
        c<QTabWidget>("SSTab1")->setCurrentIndex(0);
        QTest::keyClicks(c<QLineEdit>("txtTel"), "1");
        QVERIFY(!c<QPushButton>("cmdEmailEstimate")->isEnabled());
    }

    // The search lists a register's estimates with every number, date and name whole.
    void searchShowsWhatUsersRead() {
        for (int i = 0; i < 200; ++i) {
            const testregister::Contact who = testregister::contact(i);
            EstimateSave estimate;
            estimate.EstNo = 20000 + i;
            estimate.customer = {who.name, {}, who.address, who.telephone, {}};
            estimate.DateCreated = "24/12/2026";
            QVERIFY(SaveEstimate(db(), estimate, {{"1", "Labour", "10", "20"}}));
        }
        open();
        c<QPushButton>("cmdFind")->click();
        c<QPushButton>("cmdGoSearch")->click();
        QCOMPARE(c<QLabel>("labFoundStatus")->text(), QString("200 matching estimates found"));
        QCOMPARE(cutCells(c<QTableWidget>("fgExisting"), {0, 1, 2}), QStringList());
    }

    void convertingMakesAJob() {
        open();
        saveTwoLineEstimate();
        prompter().answer(Answer::Yes);
        c<QPushButton>("cmdConvert")->click();
        auto* jobs = qobject_cast<frmJobs*>(app().openScreen("frmJobs"));
        QVERIFY(jobs);
        const Rows job = *db().query("SELECT * FROM Jobs ORDER BY JobNo DESC");
        QCOMPARE(job.count(), 1);
        QCOMPARE(job.text(0, "WorkName"), QString("Mrs O'Brien"));
        QCOMPARE(job.text(0, "HomeNumbers"), QString("0113 496 0000"));
        QVERIFY(job.text(0, "HomeAddress").contains("Leeds"));
        QCOMPARE(job.text(0, "WorkDetails").replace("\r\n", "\n"),
                 QString("2 x Radiator valve\n1 x Labour\n"));
        delete jobs;
    }
};

QTEST_MAIN(tst_estimatescreen)
#include "tst_estimatescreen.moc"
