#include "db/Database.h"
#include "db/RowValues.h"
#include "records/Captions.h"
#include "search/JobSearch.h"
#include "search/frmSearchJobs.h"
#include "support/GridCells.h"
#include "support/ScreenControls.h"
#include "support/TestEnv.h"
#include "support/TestRegister.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolTip>
#include <memory>

using JobNos = QList<qint64>;

namespace {

// One job: the test names the fields, the values are bound.
void addJob(Database& db, const QVariantMap& fields) {
    RowValues row(db.dialect(), "Jobs");
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        row.set(it.key(), it.value());
    }
    QVERIFY2(db.exec(row.insert(), row.values()), qPrintable(db.lastError().message));
}

// The search screen on a new database.
struct Screen {
    TestEnv env;
    std::array<QString, 36> captions = captions::defaults();
    std::unique_ptr<frmSearchJobs> form;

    Screen() {
        env.openNewDatabase();
        env.app().DefaultDateFormat = "dd/mm/yyyy";
    }
    Database& db() { return env.app().DbConnection; }
    frmSearchJobs& open() {
        form = std::make_unique<frmSearchJobs>(env.app(), captions);
        form->Form_Load();
        return *form;
    }
    // The screen on the screen, active, as the user has it.
    bool show() {
        form->show();
        return QTest::qWaitForWindowActive(form.get());
    }
    JobNos search(const QString& text, const QString& status = {}, const QString& order = {}) {
        control<QLineEdit>(form.get(), "txtSearch")->setText(text);
        control<QComboBox>(form.get(), "cbJobStatus")->setCurrentText(status);
        control<QComboBox>(form.get(), "cbOrderBy")->setCurrentText(order);
        form->cmdSearch_Click();
        return shown();
    }
    // The job numbers in the grid, top to bottom.
    JobNos shown() const {
        JobNos shown;
        const QAbstractItemModel* rows = control<QTableView>(form.get(), "fgSearch")->model();
        for (int r = 0; r < rows->rowCount(); ++r) {
            shown << rows->index(r, 4).data().toLongLong();
        }
        return shown;
    }
    // Jobs holding what the searches look for, inserted out of number order.
    void addSearchJobs() {
        const QList<QVariantMap> jobs = {
            {{"JobNo", 1234},
             {"JobStatus", "New"},
             {"WorkName", "Bell & Co"},
             {"CliAddress", "école du Parc"}},
            {{"JobNo", 101},
             {"JobStatus", "New"},
             {"WorkName", "Mrs Zoë Hart"},
             {"HomeAddress", "1 Elm Road\r\nLeeds\n"},
             {"DateCreated", "2025-01-04 10:00:00"}},
            {{"JobNo", 123}, {"JobStatus", "Completed"}, {"WorkName", "Acme Ltd"}},
            {{"JobNo", 102},
             {"JobStatus", "Quoted"},
             {"WorkName", "Mr J. O'Brien"},
             {"WorkDetails", "Boiler 123 service"}},
            {{"JobNo", 105}, {"JobStatus", "New"}, {"WorkName", ""}, {"WorkDetails", "Paint shed"}},
            {{"JobNo", 106},
             {"JobStatus", "Invoiced"},
             {"WorkName", "Carol Dunn"},
             {"WorkDetails", "50% deposit, C:\\Docs"}},
            {{"JobNo", 107}, {"JobStatus", "New"}, {"WorkName", "Dave Ellis"}, {"CustRef", "A_B"}},
            {{"JobNo", 108}, {"JobStatus", "New"}, {"WorkNotes", "5% off, A_B, 123"}},
        };
        for (const QVariantMap& job : jobs) {
            addJob(db(), job);
        }
    }
};

}  // namespace

class tst_jobsearch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void unknownOrderFieldNeverReachesTheStatement() {
        Screen s;
        addJob(s.db(), {{"JobNo", 2}, {"WorkName", "a"}});
        addJob(s.db(), {{"JobNo", 1}, {"WorkName", "b"}});
        const auto rows = searchJobs(s.db(), "", "", "WorkName; DROP TABLE Jobs; --");
        QVERIFY(rows);
        QCOMPARE(rows->integer(0, "JobNo"), 1);
        QVERIFY(s.db().hasTable("Jobs"));
    }

    void search_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("status");
        QTest::addColumn<JobNos>("jobs");
        const JobNos named{101, 102, 106, 107, 123, 1234};
        QTest::newRow("empty: every named job") << ""
                                                << "" << named;
        QTest::newRow("blank is empty") << "   "
                                        << "" << named;
        QTest::newRow("capitals of non-ASCII letters") << "ZOË"
                                                       << "" << JobNos{101};
        QTest::newRow("accented capital first") << "ÉCOLE"
                                                << "" << JobNos{1234};
        QTest::newRow("digits: job number and text") << "123"
                                                     << "" << JobNos{102, 123};
        QTest::newRow("leading number") << "101 Elm"
                                        << "" << JobNos{101};
        QTest::newRow("apostrophe") << "o'brien"
                                    << "" << JobNos{102};
        QTest::newRow("percent is literal") << "%"
                                            << "" << JobNos{106};
        QTest::newRow("underscore is literal") << "_"
                                               << "" << JobNos{107};
        QTest::newRow("backslash is literal") << "\\"
                                              << "" << JobNos{106};
        QTest::newRow("nameless job found by its text") << "  paint SHED "
                                                        << "" << JobNos{105};
        QTest::newRow("nothing") << "zzz"
                                 << "" << JobNos{};
        QTest::newRow("status alone") << ""
                                      << " new " << JobNos{101, 107, 1234};
        QTest::newRow("text and status") << "123"
                                         << "Completed" << JobNos{123};
    }
    void search() {
        QFETCH(QString, text);
        QFETCH(QString, status);
        QFETCH(JobNos, jobs);
        Screen s;
        s.addSearchJobs();
        s.open();
        QCOMPARE(s.search(text, status), jobs);
        QCOMPARE(control<QLabel>(s.form.get(), "labCount")->text(),
                 QString::number(jobs.size()) + " Matching Jobs");
        QCOMPARE(control<QTableView>(s.form.get(), "fgSearch")->currentIndex().row(),
                 jobs.isEmpty() ? -1 : 0);
    }

    void everySearchedField_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("found");
        for (const char* f : {"WorkDetails", "WorkName", "HomeAddress", "HomeNumbers", "CliName",
                              "CliAddress", "CliNumbers", "ClientRef", "CustRef"}) {
            QTest::newRow(f) << f << true;
        }
        QTest::newRow("WorkNotes") << "WorkNotes" << false;
        QTest::newRow("CliNotes") << "CliNotes" << false;
    }
    void everySearchedField() {
        QFETCH(QString, field);
        QFETCH(bool, found);
        Screen s;
        QVariantMap job{{"JobNo", 7}, {"WorkName", "Someone"}};
        job[field] = "12 Quince Yard";
        addJob(s.db(), job);
        s.open();
        QCOMPARE(s.search("QUINCE"), found ? JobNos{7} : JobNos{});
    }

    // The order chosen by the text in the list: the fixed choices and the captions of the
    // labels, the user's when renamed, compared exactly; anything else orders by number.
    void orderBy_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("renamed");  // the label given the caption below, or -1
        QTest::addColumn<QString>("caption");
        QTest::addColumn<JobNos>("jobs");
        const JobNos byNumber{1, 2, 3, 4};
        QTest::newRow("job number") << "Job Number" << -1 << "" << byNumber;
        QTest::newRow("status, ties by number") << "Job Status" << -1 << "" << JobNos{3, 2, 4, 1};
        QTest::newRow("created") << "Created:" << -1 << "" << JobNos{2, 4, 1, 3};
        QTest::newRow("surveyed") << "Surveyed:" << -1 << "" << JobNos{1, 3, 4, 2};
        QTest::newRow("due") << "Due:" << -1 << "" << JobNos{3, 4, 1, 2};
        QTest::newRow("renamed due") << "Deadline" << 5 << "Deadline" << JobNos{3, 4, 1, 2};
        QTest::newRow("customer ref, any case")
            << "Customer Ref:" << -1 << "" << JobNos{3, 2, 1, 4};
        QTest::newRow("name") << "Name:" << -1 << "" << JobNos{4, 1, 3, 2};
        QTest::newRow("old caption of a renamed label") << "Due:" << 5 << "Deadline" << byNumber;
        QTest::newRow("created before surveyed")
            << "Created:" << 0 << "Created:" << JobNos{2, 4, 1, 3};
        QTest::newRow("other case") << "job status" << -1 << "" << byNumber;
        QTest::newRow("part of a caption") << "Due" << -1 << "" << byNumber;
        QTest::newRow("empty") << "" << -1 << "" << byNumber;
        QTest::newRow("empty, with an empty caption") << "" << 2 << "" << byNumber;
    }
    void orderBy() {
        QFETCH(QString, choice);
        QFETCH(int, renamed);
        QFETCH(QString, caption);
        QFETCH(JobNos, jobs);
        Screen s;
        if (renamed >= 0) {
            s.captions[size_t(renamed)] = caption;
        }
        // Last job first, so that no order comes from the order of insertion.
        const QStringList rows[] = {
            {"4", "New", "2025-01-02", "2025-02-03", "2025-03-01", "D", "alpha"},
            {"3", "Invoiced", "2025-01-04", "2025-02-02", "", "a", "Charlie"},
            {"2", "New", "2025-01-01", "2025-02-04", "2025-03-03", "b", "delta"},
            {"1", "Quoted", "2025-01-03", "2025-02-01", "2025-03-02", "C", "Bravo"}};
        for (const QStringList& r : rows) {
            addJob(s.db(), {{"JobNo", r[0]},
                            {"JobStatus", r[1]},
                            {"DateCreated", r[2]},
                            {"DateReceived", r[3]},
                            {"DateDue", r[4].isEmpty() ? QVariant() : r[4]},
                            {"CustRef", r[5]},
                            {"WorkName", r[6]}});
        }
        s.open();
        QCOMPARE(s.search("", "", choice), jobs);
        QCOMPARE(
            control<QTableView>(s.form.get(), "fgSearch")->model()->headerData(8, Qt::Horizontal),
            QVariant(s.captions[5]));
    }

    void gridShowsTheJobsReadably() {
        Screen s;
        s.addSearchJobs();
        frmSearchJobs& f = s.open();
        QCOMPARE(control<QLabel>(&f, "labCount")->text(), QString("Matching Search Results"));
        QCOMPARE(control<QComboBox>(&f, "cbOrderBy")->currentText(), QString());
        QStringList choices;
        for (int i = 0; i < control<QComboBox>(&f, "cbOrderBy")->count(); ++i) {
            choices << control<QComboBox>(&f, "cbOrderBy")->itemText(i);
        }
        QCOMPARE(choices, QStringList({"Job Number", "Job Status",
                                       "Created:", "Surveyed:", "Due:", "Customer Ref:", "Name:"}));
        s.search("zoë");
        QAbstractItemModel* m = control<QTableView>(&f, "fgSearch")->model();
        QVERIFY(control<QTableView>(&f, "fgSearch")->isColumnHidden(0));
        QCOMPARE(m->headerData(6, Qt::Horizontal), QVariant("Created:"));
        QCOMPARE(m->index(0, 2).data(), QVariant("1 Elm Road, Leeds"));
        QCOMPARE(m->index(0, 6).data(), QVariant("04/01/2025"));
        QCOMPARE(m->index(0, 7).data(), QVariant(""));

        // A search that fails shows no rows and no count, and says why.
        s.db().exec("DROP TABLE Jobs");
        s.search("");
        QCOMPARE(m->rowCount(), 0);
        QCOMPARE(control<QLabel>(&f, "labCount")->text(), QString());
        QCOMPARE(s.env.prompter.titles(), QStringList{"Search Failed"});
    }

    // At the size it opens at, the grid shows a register's names, numbers and dates whole, and
    // the room left goes to names and addresses. Made narrower, only addresses, names and
    // telephones give way, and a cut cell shows its whole text as its tool tip.
    void gridShowsWhatUsersRead() {
        Screen s;
        {
            Transaction adding(s.db());
            for (int i = 0; i < 400; ++i) {
                const testregister::Contact who = testregister::contact(i);
                addJob(s.db(), {{"JobNo", 1000 + i},
                                {"JobStatus", "Awaiting Survey"},
                                {"WorkName", who.name},
                                {"HomeAddress", who.address},
                                {"HomeNumbers", who.telephone},
                                {"DateCreated", "2026-02-14 09:00:00"},
                                {"DateDue", "2026-12-24 00:00:00"},
                                {"CustRef", "HE/2026/0412"}});
            }
            adding.commit();
        }
        frmSearchJobs& f = s.open();
        QVERIFY(s.show());
        s.search("");
        auto* grid = control<QTableView>(&f, "fgSearch");
        QCOMPARE(cutCells(grid, {1, 3, 4, 5, 6, 7, 8, 9}), QStringList());
        QVERIFY(grid->columnWidth(9) < grid->columnWidth(2));

        f.resize(860, f.height());
        QCOMPARE(cutCells(grid, {4, 5, 6, 7, 8, 9}), QStringList());
        const QStringList cut = cutCells(grid, {2});
        QVERIFY(!cut.isEmpty());
        int row = 0;
        while (grid->model()->index(row, 2).data().toString() != cut.first()) {
            ++row;
        }
        grid->scrollTo(grid->model()->index(row, 2));
        const QRect cell = grid->visualRect(grid->model()->index(row, 2));
        QHelpEvent help(QEvent::ToolTip, cell.center(), grid->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(grid->viewport(), &help);
        QCOMPARE(QToolTip::text(), cut.first());
    }

    // The grid follows the typing without Enter; each keystroke's answer replaces the one
    // before, and Enter still searches at once.
    void typingSearches_data() {
        QTest::addColumn<QStringList>("typing");  // keys typed, the search waited for between
        QTest::addColumn<JobNos>("jobs");
        QTest::newRow("a name") << QStringList{"Da"} << JobNos{107};
        QTest::newRow("one more letter") << QStringList{"Mr", "s"} << JobNos{101};
        QTest::newRow("quicker than the search") << QStringList{"Mr" "s"} << JobNos{101};
        QTest::newRow("emptied: every named job")
            << QStringList{"Da", "Backspace", "Backspace"} << JobNos{101, 102, 106, 107, 123, 1234};
        QTest::newRow("status picked") << QStringList{"123", "Completed"} << JobNos{123};
    }
    void typingSearches() {
        QFETCH(QStringList, typing);
        QFETCH(JobNos, jobs);
        Screen s;
        s.addSearchJobs();
        frmSearchJobs& f = s.open();
        control<QComboBox>(&f, "cbJobStatus")->addItems({"New", "Completed"});
        control<QComboBox>(&f, "cbJobStatus")->setCurrentIndex(-1);
        QVERIFY(s.show());
        auto* box = control<QLineEdit>(&f, "txtSearch");
        auto* count = control<QLabel>(&f, "labCount");
        for (const QString& keys : typing) {
            if (keys == "Completed") {
                QTest::keyClick(control<QComboBox>(&f, "cbJobStatus"), Qt::Key_Down);
                QTest::keyClick(control<QComboBox>(&f, "cbJobStatus"), Qt::Key_Down);
            } else if (keys == "Backspace") {
                QTest::keyClick(box, Qt::Key_Backspace);
            } else {
                QTest::keyClicks(box, keys);
            }
            QTRY_VERIFY(!count->text().isEmpty() && count->text() != "Matching Search Results");
        }
        QTRY_COMPARE(s.shown(), jobs);
        QTRY_COMPARE(count->text(), QString::number(jobs.size()) + " Matching Jobs");
        QCOMPARE(control<QTableView>(&f, "fgSearch")->currentIndex().row(), 0);

        // Enter answers at once.
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, "zzz");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(count->text(), QString("0 Matching Jobs"));
        QCOMPARE(s.shown(), JobNos{});
        QCOMPARE(s.env.prompter.count(), 0);
    }

    // A list longer than the grid's first read shows those rows at once and counts the rest on
    // the side; a shorter one is counted by its rows.
    void aLongListIsCountedOnTheSide() {
        Screen s;
        Transaction tx(s.db());
        for (int i = 1; i <= 450; ++i) {
            addJob(s.db(), {{"JobNo", i}, {"WorkName", QString("Name %1").arg(i)}});
        }
        QVERIFY(tx.commit());
        frmSearchJobs& f = s.open();
        QVERIFY(s.show());
        auto* box = control<QLineEdit>(&f, "txtSearch");
        auto* count = control<QLabel>(&f, "labCount");
        QAbstractItemModel* rows = control<QTableView>(&f, "fgSearch")->model();
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(rows->rowCount(), 200);
        QCOMPARE(count->text(), QString("Counting Matching Jobs..."));
        QTRY_COMPARE(count->text(), QString("450 Matching Jobs"));
        while (rows->canFetchMore({})) {
            rows->fetchMore({});
        }
        QCOMPARE(rows->rowCount(), 450);

        // Name 1, 10-19, 100-199.
        QTest::keyClicks(box, "Name 1");
        QTRY_COMPARE(count->text(), QString("111 Matching Jobs"));
        QCOMPARE(rows->rowCount(), 111);
        QCOMPARE(s.env.prompter.count(), 0);
    }

    void loadOrClose_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("jobNo");
        QTest::newRow("load job") << "button" << 107;
        QTest::newRow("double-click") << "double-click" << 107;
        QTest::newRow("enter on the grid") << "enter" << 107;
        QTest::newRow("load job without a row") << "no row" << -1;
        QTest::newRow("escape") << "escape" << -1;
        QTest::newRow("closed") << "close" << -1;
    }
    void loadOrClose() {
        QFETCH(QString, how);
        QFETCH(int, jobNo);
        Screen s;
        s.addSearchJobs();
        frmSearchJobs& f = s.open();
        QVERIFY(s.show());
        s.search(how == "no row" ? "zzz" : "");
        auto* grid = control<QTableView>(&f, "fgSearch");
        if (how != "no row") {
            grid->setCurrentIndex(grid->model()->index(3, 1));
        }
        const QPoint cell = grid->visualRect(grid->currentIndex()).center();
        if (how == "button" || how == "no row") {
            QTest::mouseClick(control<QPushButton>(&f, "cmdLoadJob"), Qt::LeftButton);
        } else if (how == "double-click") {
            // As a user's: a click, then the second press arriving as a double-click.
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        } else if (how == "enter") {
            QTest::keyClick(grid, Qt::Key_Return);
        } else if (how == "escape") {
            QTest::keyClick(&f, Qt::Key_Escape);
        } else {
            f.close();
        }
        QCOMPARE(f.chosenJob().value_or(-1), jobNo);
        QVERIFY(!f.isVisible());
        QCOMPARE(f.result(), jobNo > 0 || how == "no row" ? QDialog::Accepted : QDialog::Rejected);
    }

    void enterSearchesAndStaysOpen_data() {
        QTest::addColumn<QString>("focusFirst");
        QTest::addColumn<QString>("enterIn");
        QTest::newRow("search box") << "txtSearch"
                                    << "txtSearch";
        QTest::newRow("search box after Load Job") << "cmdLoadJob"
                                                   << "txtSearch";
        QTest::newRow("order list") << "cbOrderBy"
                                    << "cbOrderBy";
    }
    void enterSearchesAndStaysOpen() {
        QFETCH(QString, focusFirst);
        QFETCH(QString, enterIn);
        Screen s;
        s.addSearchJobs();
        frmSearchJobs& f = s.open();
        QVERIFY(s.show());
        control<QLineEdit>(&f, "txtSearch")->setText("O'Brien");
        f.findChild<QWidget*>(focusFirst)->setFocus();
        QWidget* target = f.findChild<QWidget*>(enterIn);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QCOMPARE(control<QLabel>(&f, "labCount")->text(), QString("1 Matching Jobs"));
        QVERIFY(f.isVisible());
        QVERIFY(!f.chosenJob());
    }

    void focusedBoxIsLightBlue_data() {
        QTest::addColumn<QString>("box");
        QTest::newRow("search box") << "txtSearch";
        QTest::newRow("status list") << "cbJobStatus";
    }
    void focusedBoxIsLightBlue() {
        QFETCH(QString, box);
        Screen s;
        frmSearchJobs& f = s.open();
        QVERIFY(s.show());
        auto* w = f.findChild<QWidget*>(box);
        w->setFocus();
        QTRY_COMPARE(w->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xFF));
        control<QComboBox>(&f, "cbOrderBy")->setFocus();
        QTRY_COMPARE(w->palette().color(QPalette::Base), QColor(Qt::white));
    }
};

QTEST_MAIN(tst_jobsearch)
#include "tst_jobsearch.moc"
