#include "documents/WordDocument.h"
#include "estimates/EstimatePrint.h"
#include "estimates/EstimateStore.h"
#include "support/TemplateFiles.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <algorithm>

using namespace estimates;

namespace {

// Every part's text of a saved document, parts joined by a blank line.
QString documentText(const QString& path) {
    WordDocument doc;
    if (!doc.open(path)) {
        return "cannot open: " + doc.error().description;
    }
    QStringList parts;
    for (int i = 0; i < doc.storyCount(); ++i) {
        parts << doc.storyText(i);
    }
    return parts.join("\n\n");
}

EstimatePrintout printout(qint64 estNo) {
    EstimatePrintout p;
    p.EstNo = estNo;
    p.customer = {"Mrs Zoë O'Brien", "Zoë\nand Tom", "14 Larkspur Close\nHeadingley\nLeeds",
                  "0113 496 0421\n07700 900123", "zoe@example.org"};
    p.DateCreated = "06/12/2026";
    p.lines = {{"2", "Radiator valve", "10.00", "15.00"},
               {"", "not printed", "", ""},
               {"1", "Labour", "5.00", "8"},
               {"3", "Copper pipe, 2m", "4", "6.5"}};
    p.Delivery = "20.00";
    p.Retail = "100.00";
    p.Profit = "1.00";
    p.Trade = "79.00";
    return p;
}

// The printed [TOPAY], [VAT] and [AMOUNTDUE].
QStringList amountsOf(const QList<std::pair<QString, QString>>& tokens) {
    QStringList out;
    for (const char* token : {"[TOPAY]", "[VAT]", "[AMOUNTDUE]"}) {
        for (const auto& [name, value] : tokens) {
            if (name == token) {
                out << value;
            }
        }
    }
    return out;
}

}  // namespace

class tst_estimateprint : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    AppState& app() { return env->app(); }
    QString docs() { return env->dataFolder() + "/Docs"; }

private Q_SLOTS:
    void init() {
        env = std::make_unique<TestEnv>();
        env->openNewDatabase();
        app().DefaultDateFormat = "dd/mm/yyyy";
        templatefiles::install(*env, {":/templates/Estimate.dotx"});
        app().AppSettings.SetValue("EstimateDoc", "Estimate.dotx");
    }

    // The customer, the date, the number and the amounts; one table row per line with a
    // quantity, in order below the heading: quantity, description, unit retail price.
    void theSampleTemplateIsFilledIn() {
        app().VatRegistered = true;
        const QString path = PrintEstimate(app(), printout(40000), "Estimate.dotx");
        QCOMPARE(path, docs() + "/est40000.doc");
        QCOMPARE(env->launcher.requests.last().target, path);
        const QString text = documentText(path);
        QVERIFY2(!text.contains('['), qPrintable(text));
        for (const char* expected : {"Mrs Zoë O'Brien", "Headingley", "0113 496 0421",
                                     "zoe@example.org", "06 Dec 2026", "40000", "120.00", "21.00",
                                     "141.00", "Copper pipe, 2m", "6.50"}) {
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        }
        QVERIFY(!text.contains("07700"));  // the first line of the telephone only
        QVERIFY(!text.contains("and Tom"));
        QVERIFY(!text.contains("not printed"));
        QVERIFY2(
            text.contains("2\tRadiator valve\t15.00") || text.contains("2\nRadiator valve\n15.00"),
            qPrintable(text));
        const QList<qsizetype> order = {text.indexOf("Description"), text.indexOf("Radiator valve"),
                                        text.indexOf("Labour"), text.indexOf("Copper pipe")};
        QVERIFY(order[0] > 0 && std::is_sorted(order.begin(), order.end()));
    }

    // To pay, VAT and amount due as printed, with the delivery, without VAT and for a refund;
    // vatAddsUpForEveryPenny checks the rounding of every to-pay up to 1,000.00.
    void amountsDue_data() {
        QTest::addColumn<bool>("vat");
        QTest::addColumn<QString>("retail");
        QTest::addColumn<QString>("delivery");
        QTest::addColumn<QString>("printed");
        QTest::newRow("VAT on retail and delivery") << true << "2.50"
                                                    << "0.50"
                                                    << "3.00|0.53|3.53";
        QTest::newRow("no VAT") << false << "100.00" << "20.00" << "120.00|0.00|120.00";
        QTest::newRow("a refund") << true << "-3.00" << "0.00" << "-3.00|-0.53|-3.53";
    }
    void amountsDue() {
        QFETCH(bool, vat);
        QFETCH(QString, retail);
        QFETCH(QString, delivery);
        QFETCH(QString, printed);
        app().VatRegistered = vat;
        EstimatePrintout p;
        p.Retail = retail;
        p.Delivery = delivery;
        QCOMPARE(amountsOf(estimateTokenValues(app(), p)).join('|'), printed);
    }

    // Every to-pay from 0.01 to 1,000.00: the VAT is the pennies times 175, divided by 1,000,
    // rounded half up, and the printed to-pay and VAT add up to the printed amount due.
    void vatAddsUpForEveryPenny_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        for (int pounds = 0; pounds < 1000; pounds += 100) {
            QTest::addRow("%d.01 to %d.00", pounds, pounds + 100)
                << pounds * 100 + 1 << (pounds + 100) * 100;
        }
    }
    void vatAddsUpForEveryPenny() {
        QFETCH(int, from);
        QFETCH(int, to);
        app().VatRegistered = true;
        const auto pennies = [](const QString& printed) {
            const QStringList parts = printed.split('.');
            return parts.size() == 2 && parts[1].size() == 2
                       ? parts[0].toInt() * 100 + parts[1].toInt()
                       : -1;
        };
        EstimatePrintout p;
        p.Delivery = "0.00";
        for (int toPay = from; toPay <= to; ++toPay) {
            p.Retail = QString("%1.%2").arg(toPay / 100).arg(toPay % 100, 2, 10, QChar('0'));
            const QStringList printed = amountsOf(estimateTokenValues(app(), p));
            const int vat = (toPay * 175 + 500) / 1000;
            if (pennies(printed[0]) != toPay || pennies(printed[1]) != vat ||
                pennies(printed[0]) + pennies(printed[1]) != pennies(printed[2])) {
                QFAIL(qPrintable(QString("to pay %1: printed %2, VAT should be %3")
                                     .arg(p.Retail, printed.join(" / "))
                                     .arg(vat)));
            }
        }
    }

    void issueNumbersNameTheFiles_data() {
        QTest::addColumn<bool>("printCount");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("without issue numbers") << false << QStringList{"est1042.doc", "est7.doc"};
        QTest::newRow("with issue numbers, each estimate's own")
            << true << QStringList{"est1042-1.doc", "est1042-2.doc", "est7-1.doc"};
    }
    void issueNumbersNameTheFiles() {
        QFETCH(bool, printCount);
        QFETCH(QStringList, files);
        app().PrintCount = printCount;
        QVERIFY(!printAndRecord(app(), printout(7), 1).isEmpty());
        QString last;
        for (int i = 0; i < 2; ++i) {
            last = printAndRecord(app(), printout(1042), 4);
            QVERIFY(!last.isEmpty());
        }
        QCOMPARE(QDir(docs()).entryList(QDir::Files), files);
        if (printCount) {
            QVERIFY(documentText(last).contains("1042-2"));
        }
        const Rows issues = *estimateIssues(app().DbConnection, 1042);
        QCOMPARE(issues.count(), 2);
        QCOMPARE(issues.integer(0, "PrintNo"), 2);
        QCOMPARE(issues.integer(0, "TotalQty"), 4);
        QCOMPARE(issues.number(0, "TotalPrice"), 100.0);
    }

    void aTemplateWithoutTheTableGetsNoLines() {
        QFile::copy(QStringLiteral(VERDELL_TEST_DATA "/merge/every-token.dotx"),
                    app().TemplateFolder + "/plain.dotx");
        const QString path = PrintEstimate(app(), printout(5), "plain.dotx");
        QVERIFY(!path.isEmpty());
        QVERIFY(!documentText(path).contains("Radiator valve"));
        QVERIFY(env->prompter.calls().isEmpty());
    }

    void aMissingTemplateIsReportedButStillCounts_data() {
        QTest::addColumn<QString>("templateName");
        QTest::newRow("not set") << "";
        QTest::newRow("not there") << "Gone.dotx";
    }
    void aMissingTemplateIsReportedButStillCounts() {
        QFETCH(QString, templateName);
        app().AppSettings.SetValue("EstimateDoc", templateName);
        QVERIFY(printAndRecord(app(), printout(9), 1).isEmpty());
        QVERIFY(env->prompter.calls().last().prompt.startsWith("PrintEstimate \r\n"));
        QCOMPARE(estimateIssues(app().DbConnection, 9)->count(), 1);
        QVERIFY(!QFileInfo::exists(docs() + "/est9.doc"));
    }

    void aStoredEstimatePrintsItsTotals() {
        EstimateSave save;
        save.EstNo = 33000;
        save.customer = {"Bob", "", "1 Road", "", ""};
        save.Delivery = "7.5";
        save.DateCreated = "01/02/2026";
        QVERIFY(SaveEstimate(app().DbConnection, save,
                             {{"2", "Valve", "10", "15"}, {"1", "Labour", "5", "8"}}));
        const EstimatePrintout p = printoutOf(*LoadFullEstimate(app().DbConnection, 33000));
        QCOMPARE((QStringList{p.Trade, p.Retail, p.Delivery, p.Profit}),
                 (QStringList{"25.00", "38.00", "7.50", "5.50"}));
        QCOMPARE(p.customer.Name, QString("Bob"));
        const QString text = documentText(PrintEstimate(app(), p, "Estimate.dotx"));
        QVERIFY(text.contains("45.50"));  // to pay: retail and delivery
        QVERIFY(text.contains("01 Feb 2026"));
    }
};

QTEST_MAIN(tst_estimateprint)
#include "tst_estimateprint.moc"
