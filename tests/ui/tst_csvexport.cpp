#include "db/Database.h"
#include "estimates/frmEstimate.h"
#include "jobs/frmJobs.h"
#include "records/Captions.h"
#include "reports/InvoicingReports.h"
#include "reports/ReportExport.h"
#include "reports/ReportLayouts.h"
#include "reports/ShowReport.h"
#include "reports/frmReportPreview.h"
#include "search/frmSearch.h"
#include "search/frmSearchJobs.h"
#include "support/CsvReadBack.h"
#include "support/JobRecords.h"
#include "support/MakeWindow.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

// "Export to CSV..." on each screen that lists results, through its controls: the file the user
// names holds the whole result, headed by the list's own captions, in the list's order.
class tst_csvexport : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // Stops the test when the rows it needs could not be stored.
    static void must(bool ok, Database& db) {
        if (!ok) {
            qFatal("%s", qPrintable(db.lastError().message));
        }
    }
    static void addContacts(Database& db) {
        must(TestEnv::addRow(
                 db, "customers",
                 {{"Name", "Lee, Ann"}, {"Address", "1 Road\r\nPoole"}, {"Telephone", "01202 1"}}),
             db);
        must(TestEnv::addRow(db, "customers",
                             {{"Name", "Zoë Brown"}, {"Address", "2 Lane"}, {"Telephone", ""}}),
             db);
    }

private Q_SLOTS:
    // The job search's grid reads 200 rows at a time; the file holds all 450 jobs, in the
    // grid's order, under the user's caption.
    void jobSearchWritesEveryJob() {
        TestEnv env;
        env.openNewDatabase();
        Database& db = env.app().DbConnection;
        {
            Transaction tx(db);
            for (int i = 1; i <= 450; ++i) {
                QVERIFY(TestEnv::addRow(
                    db, "Jobs",
                    {{"JobNo", i},
                     {"WorkName", QString("Name %1").arg(i)},
                     {"HomeAddress", i == 7 ? "1 Road\r\nPoole, \"Dorset\"" : "Lane"},
                     {"DateCreated", "2026-03-12 00:00:00"}}));
            }
            QVERIFY(tx.commit());
        }
        std::array<QString, 36> captions = captions::defaults();
        captions[size_t(captionIndex(Caption::DateCreated))] = "Booked On";
        frmSearchJobs form(env.app(), captions);
        form.Form_Load();
        control<QPushButton>(&form, "cmdSearch")->click();
        QAbstractItemModel* grid = control<QTableView>(&form, "fgSearch")->model();
        QCOMPARE(grid->rowCount(), 200);

        const QString file = dir_.filePath("jobs.csv");
        env.prompter.chooseFile(file);
        control<QPushButton>(&form, "cmdExportCsv")->click();
        Records records = readCsvBack(file);
        QCOMPARE(records.size(), 451);
        const auto caption = [&captions](Caption c) { return captions[size_t(captionIndex(c))]; };
        QCOMPARE(records[0], (QStringList{"Company Name", "Address", "Telephone", "Job No",
                                          "Job Status", "Booked On", caption(Caption::DateReceived),
                                          caption(Caption::DateDue), caption(Caption::CustRef)}));
        QCOMPARE(records[7], (QStringList{"Name 7", "1 Road\r\nPoole, \"Dorset\"", "", "7", "",
                                          "2026-03-12", "", "", ""}));
        QCOMPARE(records[450][3], QString("450"));

        // Ordered by a column's heading, the file follows.
        grid->sort(4, Qt::DescendingOrder);
        env.prompter.chooseFile(file);
        control<QPushButton>(&form, "cmdExportCsv")->click();
        records = readCsvBack(file);
        QCOMPARE(records.size(), 451);
        QCOMPARE(records[1][3], QString("450"));
        QCOMPARE(records[450][3], QString("1"));
        QCOMPARE(env.prompter.count(), 2);  // the two file dialogs, no message

        // A file that cannot be written is named, with the reason, and not left half written.
        const QString refused = dir_.filePath("no such folder/jobs.csv");
        env.prompter.chooseFile(refused);
        control<QPushButton>(&form, "cmdExportCsv")->click();
        QCOMPARE(env.prompter.last().icon, Prompter::Icon::Critical);
        QVERIFY2(env.prompter.last().prompt.contains(refused),
                 qPrintable(env.prompter.last().prompt));
        QVERIFY(!QFile::exists(refused));
    }

    void eachListWritesItsRows_data() {
        QTest::addColumn<MakeWindow>("open");  // opens the screen and lists what it finds
        QTest::addColumn<Records>("records");
        QTest::newRow("contact search") << MakeWindow([](AppState& app) -> QWidget* {
            addContacts(app.DbConnection);
            auto* search = new frmSearch(app, false);
            control<QPushButton>(search, "cmdGo")->click();
            return search;
        })
                                        << Records{{"Name", "Address", "Telephone"},
                                                   {"Lee, Ann", "1 Road\r\nPoole", "01202 1"},
                                                   {"Zoë Brown", "2 Lane", ""}};
        QTest::newRow("job screen's lookup")
            << MakeWindow([](AppState& app) -> QWidget* {
                   addContacts(app.DbConnection);
                   auto* screen = new frmJobs(app);
                   screen->Form_Load();
                   control<QPushButton>(screen, "cmdFindClient_0")->click();
                   control<QPushButton>(screen, "cmdSearchClient")->click();
                   return screen;
               })
            << Records{
                   {"Name", "Address"}, {"Lee, Ann", "1 Road\r\nPoole"}, {"Zoë Brown", "2 Lane"}};
        QTest::newRow("estimate search") << MakeWindow([](AppState& app) -> QWidget* {
            addContacts(app.DbConnection);
            // Two lines of one estimate, its date as the screen wrote it.
            for (const char* item : {"Valve", "Pipe"}) {
                must(app.DbConnection.exec(
                         "INSERT INTO Estimate (EstNo, ClientId, Qty, Description, "
                         "TradePrice, RetailPrice, DateCreated) VALUES (40000, 2, 2, ?, "
                         "10, 15, '06/12/2026')",
                         {item}),
                     app.DbConnection);
            }
            auto* screen = new frmEstimate(app);
            screen->Form_Load();
            control<QPushButton>(screen, "cmdFind")->click();
            control<QLineEdit>(screen, "txtSearch")->setText("Zoë");
            control<QPushButton>(screen, "cmdGoSearch")->click();
            return screen;
        })
                                         << Records{{"Est No", "Date", "Name", "Address"},
                                                    {"40000", "2026-12-06", "Zoë Brown", "2 Lane"}};
        QTest::newRow("report preview") << MakeWindow([](AppState& app) -> QWidget* {
            must(TestEnv::addRow(app.DbConnection, "Jobs",
                                 {{"JobNo", 3},
                                  {"WorkName", "Lee, Ann"},
                                  {"Date", "2026-03-12 00:00:00"},
                                  {"Price", 1234.5},
                                  {"InvoiceStatus", "Awaiting Invoicing"}}),
                 app.DbConnection);
            return ShowReport(app, awaitingInvoicingReport());
        })
                                        << Records{{"Date Created", "JobNo", "Price", "WorkName"},
                                                   {"2026-03-12", "3", "1234.50", "Lee, Ann"}};
    }
    void eachListWritesItsRows() {
        QFETCH(MakeWindow, open);
        QFETCH(Records, records);
        TestEnv env;
        env.openNewDatabase();
        env.app().DefaultDateFormat = "dd/mm/yyyy";
        std::unique_ptr<QWidget> screen(open(env.app()));
        QVERIFY(screen);
        const QString file = dir_.filePath(QTest::currentDataTag() + QString(".csv"));
        env.prompter.chooseFile(file);
        auto* button = control<QPushButton>(screen.get(), "cmdExportCsv");
        QVERIFY(button->isEnabled());
        button->click();
        QCOMPARE(readCsvBack(file), records);
    }

    // A report's columns are its rows' fields under their printed headings, the grouping
    // field first.
    void reportColumns_data() {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QStringList>("headings");
        QTest::newRow("group in its own band")
            << "drIntroducedGroup"
            << QStringList{"IntroducedBy", "JobStatus", "WorkName",  "Created", "Surveyed",
                           "Quoted",       "Due",       "Completed", "JobNo",   "Age"};
        QTest::newRow("group among the columns")
            << "drjobGroup"
            << QStringList{"Introduced By", "Job No",    "Job Status", "Work Name",
                           "Created",       "Completed", "Address",    "Work Details"};
    }
    void reportColumns() {
        QFETCH(QString, layout);
        QFETCH(QStringList, headings);
        QStringList got;
        for (const resultexport::Column& column :
             reportexport::columns(*reportlayouts::byName(layout))) {
            got << column.heading;
        }
        QCOMPARE(got, headings);
    }
};

QTEST_MAIN(tst_csvexport)
#include "tst_csvexport.moc"
