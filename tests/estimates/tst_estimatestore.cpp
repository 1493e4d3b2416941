#include "estimates/EstimateStore.h"
#include "support/TestEnv.h"

#include <QTest>

using namespace estimates;

using Lines = QList<EstimateLine>;

namespace {

EstimateSave newEstimate(const QString& name, const QString& delivery = "7.5") {
    EstimateSave save;
    save.customer = {name, "Ann", "1 High St\nLeeds", "0113", "a@example.org"};
    save.Delivery = delivery;
    save.DateCreated = "06/12/2026";
    return save;
}

// The estimate saved before, typed again under another customer name, as its screen saves it.
EstimateSave savedAgain(const SavedEstimate& saved, const QString& name) {
    EstimateSave save = newEstimate(name);
    save.EstNo = saved.EstNo;
    save.CustomerID = saved.CustomerID;
    save.version = saved.version;
    return save;
}

const Lines kTwoLines = {{"2", "Radiator valve", "10.00", "15.00"},
                         {"1", "Labour, half day", "5", "8"}};

}  // namespace

Q_DECLARE_METATYPE(SaveOutcome)

class tst_estimatestore : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    Database& db() { return env->app().DbConnection; }
    int count(const QString& sql, const QVariantList& params = {}) {
        return db().scalar(sql, params).toInt();
    }

private Q_SLOTS:
    void init() {
        env = std::make_unique<TestEnv>();
        env->openNewDatabase();
    }

    void totals_data() {
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<QString>("delivery");
        QTest::addColumn<QStringList>("shown");  // trade, retail, delivery, profit
        QTest::newRow("two lines and delivery")
            << kTwoLines << "7.5" << QStringList{"25.00", "38.00", "7.50", "5.50"};
        QTest::newRow("unreadable numbers are nought")
            << Lines{{"x", "a", "10", "20"}, {"3", "b", "", "abc"}} << ""
            << QStringList{"0.00", "0.00", "0.00", "0.00"};
        QTest::newRow("leading numbers") << Lines{{"2 boxes", "a", "1.5 each", "3"}} << "£4"
                                         << QStringList{"3.00", "6.00", "0.00", "3.00"};
        QTest::newRow("tenths") << Lines{{"3", "a", "0.1", "0.7"}} << "0"
                                << QStringList{"0.30", "2.10", "0.00", "1.80"};
        QTest::newRow("loss") << Lines{{"1", "a", "50", "40"}} << "12.25"
                              << QStringList{"50.00", "40.00", "12.25", "-22.25"};
        // Each line is rounded to the penny before the lines are added up, halves away from
        // zero, as on an invoice.
        QTest::newRow("each line rounded")
            << Lines{{"1", "a", "0.005", "0.015"}, {"1", "b", "0.005", "0.015"}} << "0.005"
            << QStringList{"0.02", "0.04", "0.01", "0.01"};
        QTest::newRow("fractional quantity")
            << Lines{{"2.5", "a", "1.01", "3.03"}, {"0.333", "b", "3", "3"}} << ""
            << QStringList{"3.53", "8.58", "0.00", "5.05"};
        QTest::newRow("negative halves") << Lines{{"-1", "a", "0.125", "-0.135"}} << "-0.005"
                                         << QStringList{"-0.13", "0.14", "-0.01", "0.28"};
    }
    void totals() {
        QFETCH(Lines, lines);
        QFETCH(QString, delivery);
        QFETCH(QStringList, shown);
        const EstimateTotals t = CalculateTotals(lines, delivery);
        QCOMPARE((QStringList{t.trade.toString(), t.retail.toString(), t.delivery.toString(),
                              t.profit.toString()}),
                 shown);
    }

    void aNewEstimateTakesTheNextNumberAndKeepsIt() {
        db().exec("UPDATE Counters SET Estimate = 1042");
        const auto first = saveNumberedEstimate(db(), newEstimate("Mrs O'Brien"), kTwoLines);
        QVERIFY(first);
        QCOMPARE(first->EstNo, 1042);
        QVERIFY(first->CustomerID > 0);
        QCOMPARE(count("SELECT COUNT(*) FROM Estimate WHERE EstNo = 1042 AND ClientId = ?",
                       {first->CustomerID}),
                 2);
        // Saved again with one line: the same number, the lines replaced.
        const EstimateSave again = savedAgain(first, "ignored");
        const auto second = saveNumberedEstimate(db(), again, {kTwoLines[1]});
        QVERIFY(second);
        QCOMPARE(second->EstNo, 1042);
        QCOMPARE(count("SELECT COUNT(*) FROM Estimate"), 1);
        QCOMPARE(count("SELECT Estimate FROM Counters"), 1043);
        // The customer of an estimate that has one is not written back.
        QCOMPARE(db().scalar("SELECT Name FROM customers").toString(), QString("Mrs O'Brien"));

        const auto loaded = LoadFullEstimate(db(), 1042);
        QVERIFY(loaded);
        QCOMPARE(loaded->lines.size(), 1);
        QCOMPARE(loaded->lines[0].Qty, QString("1"));
        QCOMPARE(loaded->lines[0].Description, QString("Labour, half day"));
        QCOMPARE(loaded->lines[0].Trade, QString("5.00"));
        QCOMPARE(loaded->lines[0].Retail, QString("8.00"));
        QCOMPARE(loaded->DeliveryCost.toString(), QString("7.50"));
        QCOMPARE(loaded->DateCreated, QString("06/12/2026"));
        QVERIFY(loaded->customerFound);
        QCOMPARE(loaded->customer.Address, QString("1 High St\nLeeds"));
    }

    void linesWithoutQuantityAreNotStored() {
        const auto saved =
            saveNumberedEstimate(db(), newEstimate("A"), {{"", "note", "1", "1"}, kTwoLines[0]});
        QVERIFY(saved);
        QCOMPARE(count("SELECT COUNT(*) FROM Estimate"), 1);
        // All lines removed: the estimate has no rows left and is no longer found.
        const EstimateSave emptied = savedAgain(saved, "A");
        QVERIFY(saveNumberedEstimate(db(), emptied, {}));
        QCOMPARE(count("SELECT COUNT(*) FROM Estimate"), 0);
        QVERIFY(!LoadFullEstimate(db(), saved->EstNo));
        QVERIFY(searchEstimates(db(), QString::number(saved->EstNo))->isEmpty());
    }

    void aKnownCustomerNameIsReusedAndUpdated() {
        TestEnv::addRow(db(), "customers",
                        {{"Name", "Bob Smith"}, {"Address", "Old"}, {"Telephone", "1"}});
        const qint32 id = db().scalar("SELECT DummyID FROM customers").toInt();
        EstimateSave save = newEstimate("  Bob Smith ");
        const auto saved = saveNumberedEstimate(db(), save, kTwoLines);
        QVERIFY(saved);
        QCOMPARE(saved->CustomerID, id);
        QCOMPARE(count("SELECT COUNT(*) FROM customers"), 1);
        const Rows row = *db().query("SELECT * FROM customers");
        QCOMPARE(row.text(0, "Address"), QString("1 High St\nLeeds"));
        QCOMPARE(row.text(0, "Telephone"), QString("0113"));
        QCOMPARE(row.text(0, "Contact"), QString("Ann"));
    }

    void aCustomerDeletedElsewhereIsWrittenAgain() {
        const auto saved = saveNumberedEstimate(db(), newEstimate("Ann"), kTwoLines);
        QVERIFY(saved);
        db().exec("DELETE FROM customers");
        const EstimateSave again = savedAgain(saved, "Ann");
        const auto resaved = saveNumberedEstimate(db(), again, kTwoLines);
        QVERIFY(resaved);
        QVERIFY(resaved->CustomerID != saved->CustomerID);
        QCOMPARE(searchEstimates(db(), "ann")->size(), 1);
        QCOMPARE(LoadFullEstimate(db(), saved->EstNo)->customer.Address,
                 QString("1 High St\nLeeds"));
    }

    void aRefusedSaveChangesNothing() {
        db().exec("UPDATE Counters SET Estimate = 500");
        const auto saved = saveNumberedEstimate(db(), newEstimate("A"), kTwoLines);
        QVERIFY(saved);
        QVERIFY(TestEnv::refuseInserts(db(), "Estimate", "disk full"));
        EstimateSave again = newEstimate("B");
        again.EstNo = saved->EstNo;
        again.version = saved->version;
        QVERIFY(!saveNumberedEstimate(db(), again, kTwoLines));
        QVERIFY(!saveNumberedEstimate(db(), newEstimate("C"), kTwoLines));
        QVERIFY(db().lastError().message.contains("disk full"));
        // The old lines are still there, no customer was added, no number was taken.
        QCOMPARE(count("SELECT COUNT(*) FROM Estimate WHERE EstNo = 500"), 2);
        QCOMPARE(count("SELECT COUNT(*) FROM customers"), 1);
        QCOMPARE(count("SELECT Estimate FROM Counters"), 501);
        QVERIFY(!db().inTransaction());
    }

    // Another workstation saved or deleted the estimate since it was loaded, or holds the number
    // typed for a new one: nothing is written. Saved over their version it goes through; a
    // deleted estimate is written again under its number.
    void anEstimateChangedElsewhereIsNotOverwritten_data() {
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<SaveOutcome>("outcome");
        QTest::newRow("changed") << "UPDATE EstimateVersion SET RowVersion = RowVersion + 1, "
                                    "RowChangedBy = 'South'"
                                 << true << SaveOutcome::ChangedElsewhere;
        QTest::newRow("deleted") << "DELETE FROM EstimateVersion" << true
                                 << SaveOutcome::DeletedElsewhere;
        QTest::newRow("number typed for a new one") << "" << false << SaveOutcome::Failed;
    }
    void anEstimateChangedElsewhereIsNotOverwritten() {
        QFETCH(QString, elsewhere);
        QFETCH(bool, loaded);
        QFETCH(SaveOutcome, outcome);
        const auto saved = saveNumberedEstimate(db(), newEstimate("Ann"), kTwoLines);
        QVERIFY(saved);
        if (!elsewhere.isEmpty()) {
            QVERIFY(db().exec(elsewhere));
        }
        if (outcome == SaveOutcome::DeletedElsewhere) {
            QVERIFY(db().exec("DELETE FROM Estimate"));
        }
        EstimateSave mine = savedAgain(saved, "Ann");
        mine.version = loaded ? saved->version : RowVersion{};
        const auto refused = saveNumberedEstimate(db(), mine, {kTwoLines[0]});
        QCOMPARE(refused.outcome, outcome);
        QCOMPARE(refused.numberHeld, !loaded);
        QCOMPARE(count("SELECT COUNT(*) FROM Estimate"),
                 outcome == SaveOutcome::DeletedElsewhere ? 0 : 2);
        if (!loaded) {
            return;
        }
        mine.version = refused.version;
        QVERIFY(saveNumberedEstimate(db(), mine, {kTwoLines[0]}));
        QCOMPARE(count("SELECT COUNT(*) FROM Estimate WHERE EstNo = ?", {saved->EstNo}), 1);
    }

    void descriptionsAreRememberedOnce() {
        QVERIFY(AddToTable(db(), " Bob's valve "));
        QVERIFY(!AddToTable(db(), "Bob's valve"));
        QVERIFY(AddToTable(db(), "100% wool"));
        QCOMPARE(*LoadStock(db()), (QStringList{"Bob's valve", "100% wool"}));
    }

    void search_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qint64>>("found");
        QTest::newRow("number, once for all lines") << "1001" << QList<qint64>{1001};
        QTest::newRow("big number") << "40000" << QList<qint64>{40000};
        QTest::newRow("part of a name, any case") << "SMITH" << QList<qint64>{1001, 1003, 40000};
        QTest::newRow("apostrophe") << "o'br" << QList<qint64>{1002};
        QTest::newRow("digits then letters search names") << "12 Smith" << QList<qint64>{};
        QTest::newRow("empty lists all") << "" << QList<qint64>{1001, 1002, 1003, 40000};
        QTest::newRow("no such number") << "999" << QList<qint64>{};
        QTest::newRow("a telephone number, beyond every estimate number")
            << "07700900123" << QList<qint64>{};
        QTest::newRow("a fraction") << "1001.5" << QList<qint64>{};
    }
    void search() {
        QFETCH(QString, text);
        QFETCH(QList<qint64>, found);
        const struct {
            qint64 estNo;
            const char* name;
        } estimates[] = {
            {1001, "Bob Smith"}, {1002, "Mrs O'Brien"}, {1003, "Smithson"}, {40000, "Bob Smith"}};
        for (const auto& e : estimates) {
            EstimateSave save = newEstimate(QString::fromUtf8(e.name));
            save.EstNo = e.estNo;
            QVERIFY(saveNumberedEstimate(db(), save, kTwoLines));
        }
        const auto result = searchEstimates(db(), text);
        QVERIFY(result);
        QList<qint64> numbers;
        for (const FoundEstimate& e : *result) {
            numbers << e.EstNo;
        }
        QCOMPARE(numbers, found);
    }
};

QTEST_MAIN(tst_estimatestore)
#include "tst_estimatestore.moc"
