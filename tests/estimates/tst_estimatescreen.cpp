#include "estimates/EstimateStore.h"
#include "estimates/frmEstimate.h"
#include "jobs/frmJobs.h"
#include "search/frmSearch.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using Answer = Prompter::Answer;

class tst_estimatescreen : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<frmEstimate> form;

    AppState& app() { return env->app(); }
    Database& db() { return env->app().DbConnection; }
    ScriptedPrompter& prompter() { return env->prompter; }

    frmEstimate& open() {
        form = std::make_unique<frmEstimate>(app());
        form->Form_Load();
        form->show();
        return *form;
    }
    void addItem(const QString& qty, const QString& description, const QString& trade,
                 const QString& retail) {
        form->cmdAddItem->click();
        QVERIFY(form->panEst->isVisible());
        form->txtEstQty->setText(qty);
        form->comEstDesc->setEditText(description);
        form->txtEstTrade->setText(trade);
        form->txtEstRetail->setText(retail);
        form->cmdOKAdd->click();
    }
    QStringList totals() const {
        return {form->labTotalTrade->text(), form->labTotalRetail->text(),
                form->labDeliveryCosts->text(), form->labTotalProfit->text()};
    }
    // A new estimate for a new customer with two lines, saved.
    qint64 saveTwoLineEstimate(const QString& name = "Mrs O'Brien") {
        form->cmdNewEstimate->click();
        QTest::keyClicks(form->txtName, name);
        form->txtAddress->setPlainText("1 High St\nLeeds");
        QTest::keyClicks(form->txtTel, "0113 496 0000");
        addItem("2", "Radiator valve", "10.00", "15.00");
        addItem("1", "Labour", "5", "8");
        form->txtDelivery->setText("7.5");
        form->cmdNewEstimate->click();
        return form->labEstNo->text().toLongLong();
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

    void opensBrowsingWithCurrencyCaptions() {
        open();
        QCOMPARE(form->windowTitle(), QString("Verdell [Estimates]"));
        QCOMPARE(form->cmdNewEstimate->text(), QString("&New Estimate"));
        QVERIFY(form->cmdPrint->isEnabled() && form->cmdFind->isEnabled());
        QCOMPARE(form->labTradeCaption->text(), QString("Total Trade Purchases £"));
        QCOMPARE(form->fgEstimate->horizontalHeaderItem(3)->text(), QString("Retail Price £"));
        QCOMPARE(form->fgEstimate->rowCount(), 1);
        QVERIFY(form->fgEstimate->isColumnHidden(4));
    }

    void aNewEstimateIsPricedAndSaved() {
        open();
        const qint64 estNo = saveTwoLineEstimate();
        QCOMPARE(estNo, 1042);
        QCOMPARE(totals(), (QStringList{"25.00", "38.00", "7.50", "5.50"}));
        QCOMPARE(form->fgEstimate->rowCount(), 3);  // two lines and the empty row
        QCOMPARE(prompter().calls().last().prompt, QString("Estiamte Number 1042"));
        QCOMPARE(prompter().calls().last().title, QString("Estimate Saved"));
        QCOMPARE(form->cmdNewEstimate->text(), QString("&New Estimate"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Estimate WHERE EstNo = 1042").toInt(), 2);
        QCOMPARE(db().scalar("SELECT Name FROM customers").toString(), QString("Mrs O'Brien"));
        QVERIFY(!form->labDateCreated->text().isEmpty());
        // Descriptions are offered next time, once each.
        QCOMPARE(form->comEstDesc->count(), 2);
        addItem("1", "Labour", "5", "8");
        QCOMPARE(form->comEstDesc->count(), 2);
        // Typing in a shown estimate edits it; saving again keeps the number.
        QCOMPARE(form->cmdNewEstimate->text(), QString("&Save Estimate"));
        form->cmdNewEstimate->click();
        QCOMPARE(form->labEstNo->text(), QString("1042"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Estimate WHERE EstNo = 1042").toInt(), 3);
        // A new estimate after it gets the next number and leaves it alone.
        QCOMPARE(saveTwoLineEstimate("Someone Else"), 1043);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Estimate WHERE EstNo = 1042").toInt(), 3);
    }

    void anItemNeedsQuantityAndDescription() {
        open();
        form->cmdNewEstimate->click();
        form->cmdAddItem->click();
        form->comEstDesc->setEditText("Valve");
        form->cmdOKAdd->click();
        QVERIFY(form->panEst->isVisible());
        QCOMPARE(form->fgEstimate->rowCount(), 1);
        form->cmdCloseAdd->click();
        QVERIFY(!form->panEst->isVisible());
    }

    void numbersAreCheckedBeforeALineIsAdded_data() {
        QTest::addColumn<QString>("qty");
        QTest::addColumn<QString>("trade");
        QTest::addColumn<QString>("retail");
        QTest::addColumn<QString>("refused");  // the message's start, or empty when added
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("words") << "two"
                               << "1"
                               << "2"
                               << "The quantity \"two\"" << QStringList{};
        QTest::newRow("decimal comma") << "1"
                                       << "1,50"
                                       << "2"
                                       << "The trade price \"1,50\"" << QStringList{};
        QTest::newRow("pence") << "1"
                               << "1"
                               << "99p"
                               << "The retail price" << QStringList{};
        QTest::newRow("negative") << "-1"
                                  << "-5"
                                  << "-8"
                                  << "" << QStringList{"-1", "-5", "-8"};
        QTest::newRow("currency symbol") << " 2 "
                                         << "£10"
                                         << "- £ 3.5"
                                         << "" << QStringList{"2", "10", "-3.5"};
        QTest::newRow("no prices") << "3"
                                   << ""
                                   << ""
                                   << "" << QStringList{"3", "", ""};
    }
    void numbersAreCheckedBeforeALineIsAdded() {
        QFETCH(QString, qty);
        QFETCH(QString, trade);
        QFETCH(QString, retail);
        QFETCH(QString, refused);
        QFETCH(QStringList, stored);
        open();
        form->cmdNewEstimate->click();
        addItem(qty, "Valve", trade, retail);
        if (!refused.isEmpty()) {
            QVERIFY(prompter().calls().last().prompt.startsWith(refused));
            QVERIFY(form->panEst->isVisible());
            QCOMPARE(form->txtEstRetail->text(), retail);  // nothing typed is lost
            QCOMPARE(form->fgEstimate->rowCount(), 1);
            return;
        }
        QVERIFY(prompter().calls().isEmpty());
        const EstimateLine line = form->lines().value(0);
        QCOMPARE((QStringList{line.Qty, line.Trade, line.Retail}), stored);
    }

    void anUnreadableDeliveryCostIsNotSaved() {
        open();
        saveTwoLineEstimate();
        form->txtDelivery->setText("£12.50");
        QCOMPARE(form->labDeliveryCosts->text(), QString("12.50"));
        QTest::keyClicks(form->txtDelivery, "x");
        QCOMPARE(form->cmdNewEstimate->text(), QString("&Save Estimate"));
        form->cmdNewEstimate->click();
        QCOMPARE(prompter().calls().last().title, QString("Not A Number"));
        QCOMPARE(form->cmdNewEstimate->text(), QString("&Save Estimate"));
        QCOMPARE(db().scalar("SELECT DeliveryCost FROM Estimate").toDouble(), 7.5);
    }

    void doubleClickRemovesALine() {
        open();
        saveTwoLineEstimate();
        form->fgEstimate->setCurrentCell(0, 1);
        prompter().answer(Answer::No);
        form->fgEstimate_DblClick();
        QCOMPARE(form->fgEstimate->rowCount(), 3);
        QCOMPARE(prompter().calls().last().title, QString("Remove Item Radiator valve"));
        prompter().answer(Answer::Yes);
        form->fgEstimate_DblClick();
        QCOMPARE(form->fgEstimate->rowCount(), 2);
        QCOMPARE(totals(), (QStringList{"5.00", "8.00", "7.50", "-4.50"}));
        QCOMPARE(form->cmdNewEstimate->text(), QString("&Save Estimate"));
        // The empty row asks nothing.
        const int asked = int(prompter().calls().size());
        form->fgEstimate->setCurrentCell(1, 1);
        form->fgEstimate_DblClick();
        QCOMPARE(prompter().calls().size(), asked);
    }

    void cancelKeepsTheTyping() {
        open();
        form->cmdNewEstimate->click();
        QTest::keyClicks(form->txtName, "Kept");
        prompter().answer(Answer::Yes);
        form->cmdCancel->click();
        QCOMPARE(prompter().calls().last().prompt, QString("Do you want to cancel the changes?"));
        QCOMPARE(form->cmdNewEstimate->text(), QString("&New Estimate"));
        QCOMPARE(form->txtName->text(), QString("Kept"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Estimate").toInt(), 0);
    }

    void aRefusedSaveStaysEditing() {
        open();
        QVERIFY(TestEnv::refuseInserts(db(), "Estimate", "database is locked"));
        saveTwoLineEstimate();
        QVERIFY(prompter().calls().last().prompt.startsWith("The estimate could not be saved."));
        QCOMPARE(form->cmdNewEstimate->text(), QString("&Save Estimate"));
        QVERIFY(form->labEstNo->text().isEmpty());
        QCOMPARE(form->fgEstimate->rowCount(), 3);
        QCOMPARE(db().scalar("SELECT Estimate FROM Counters").toInt(), 1042);
        QVERIFY(TestEnv::allowInserts(db(), "Estimate"));
        form->cmdNewEstimate->click();
        QCOMPARE(form->labEstNo->text(), QString("1042"));
    }

    // A number typed by hand; Cancel at its box gives up this save and keeps the estimate.
    void manualNumbersAreAskedOnceAndCancelKeepsTheEstimate() {
        app().ManualNumbering = true;
        open();
        prompter().cancelInput();
        saveTwoLineEstimate();
        QCOMPARE(prompter().count(), 1);
        QCOMPARE(prompter().last().title, QString("New Estimate Number"));
        QCOMPARE(form->cmdNewEstimate->text(), QString("&Save Estimate"));
        QCOMPARE(form->txtName->text(), QString("Mrs O'Brien"));
        QCOMPARE(form->fgEstimate->rowCount(), 3);
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Estimate").toInt(), 0);

        prompter().type("77000");
        form->cmdNewEstimate->click();
        QCOMPARE(form->labEstNo->text(), QString("77000"));
        QCOMPARE(db().scalar("SELECT COUNT(*) FROM Estimate WHERE EstNo = 77000").toInt(), 2);
        QCOMPARE(db().scalar("SELECT Estimate FROM Counters").toInt(), 1042);
    }

    void theCustomerSearchFillsTheBoxes() {
        db().exec(
            "INSERT INTO customers (Name, Address, Contact, Telephone, Email) "
            "VALUES ('Bob Smith', '2 Low St', 'Bob', '0200', 'b@example.org')");
        open();
        form->cmdNewEstimate->click();
        app().SearchClients = true;
        QTimer::singleShot(0, [] {
            auto* search = qobject_cast<frmSearch*>(QApplication::activeModalWidget());
            QVERIFY(search);
            search->txtSearch->setText("smith");
            search->cmdGo->click();
            search->fgSearch->selectRow(0);
            search->cmdOK->click();
        });
        form->cmdSearch->click();
        QVERIFY(!app().SearchClients);
        QCOMPARE(form->txtName->text(), QString("Bob Smith"));
        QCOMPARE(form->txtEmail->text(), QString("b@example.org"));
        QVERIFY(form->currentCustomerID() > 0);
    }

    void historyNeedsAnEstimate() {
        open();
        form->SSTab1->setCurrentIndex(1);
        QCOMPARE(form->SSTab1->currentIndex(), 0);
        QCOMPARE(prompter().calls().last().title, QString("No Estimate Loaded"));
    }

    void printingTwiceShowsTwoIssues() {
        const QString templates = env->dataFolder() + "/Templates";
        QDir().mkpath(templates);
        QFile::copy(":/templates/Estimate.dotx", templates + "/Estimate.dotx");
        app().TemplateFolder = templates;
        app().AppSettings.SetValue("DocPath", env->dataFolder() + "/Docs");
        app().AppSettings.SetValue("EstimateDoc", "Estimate.dotx");
        open();
        saveTwoLineEstimate();
        form->cmdPrint->click();
        form->cmdPrint->click();
        QVERIFY(QFileInfo::exists(env->dataFolder() + "/Docs/est1042.doc"));
        form->SSTab1->setCurrentIndex(1);
        QCOMPARE(form->SSTab1->currentIndex(), 1);
        QCOMPARE(form->fgEstimates->rowCount(), 2);
        QCOMPARE(form->fgEstimates->item(0, 1)->text(), QString("1042-2"));
        QCOMPARE(form->fgEstimates->item(0, 2)->text(), QString("2"));
        QCOMPARE(form->fgEstimates->item(0, 3)->text(), QString("38.00"));
        // Without issue numbers in the names, either issue opens est1042.doc.
        form->fgEstimates->setCurrentCell(1, 1);
        form->cmdEditEstimate->click();
        QCOMPARE(env->launcher.requests.last().target, env->dataFolder() + "/Docs/est1042.doc");
    }

    void searchFindsAndLoadsAnEstimate() {
        open();
        saveTwoLineEstimate("Alan Smith");
        saveTwoLineEstimate("Mrs O'Brien");
        form->cmdFind->click();
        QVERIFY(form->panSearch->isVisible());
        QTest::keyClicks(form->txtSearch, "O'BRI");
        QCOMPARE(form->txtSearch->text(), QString("O'BRI"));
        QTest::keyClick(form->txtSearch, Qt::Key_Return);
        QCOMPARE(form->labFoundStatus->text(), QString("1 matching estimates found"));
        QCOMPARE(form->fgExisting->item(0, 0)->text(), QString("1043"));
        form->txtSearch->setText("1042");
        form->cmdGoSearch->click();
        QCOMPARE(form->labFoundStatus->text(), QString("1 matching estimates found"));
        form->fgExisting->setCurrentCell(0, 0);
        form->cmdLoadEst->click();
        QVERIFY(!form->panSearch->isVisible());
        QCOMPARE(form->labEstNo->text(), QString("1042"));
        QCOMPARE(form->txtName->text(), QString("Alan Smith"));
        QCOMPARE(form->fgEstimate->item(0, 2)->text(), QString("10.00"));
        QCOMPARE(totals(), (QStringList{"25.00", "38.00", "7.50", "5.50"}));
    }

    void convertingMakesAJob() {
        open();
        saveTwoLineEstimate();
        prompter().answer(Answer::Yes);
        form->cmdConvert->click();
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
