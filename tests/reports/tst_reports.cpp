// The reports: the statements and titles each one builds, the rows and totals it shows, its PDF.

#include "ReportTestData.h"
#include "reports/InvoicingReports.h"
#include "reports/JobAgeReport.h"
#include "reports/JobStatusReport.h"
#include "reports/MarketingReport.h"
#include "reports/ReportOutput.h"
#include "support/AdminRun.h"

#include <QTemporaryDir>

namespace {

ProducedReport produce(ReportEnv& e, const ReportRequest& request) {
    return produceReport(e.db(), request, reportContext(e.app()), QPageSize::A4);
}

const QStringList kAgeColumns = {"JobNo", "JobStatus", "IntroducedBy", "WorkName", "DateCreated",
                                 "DateDue"};

}  // namespace

class tst_reports : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void jobAgeDays_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("days");
        QTest::newRow("plain") << "30" << qint64(30);
        QTest::newRow("negative") << "-10" << qint64(10);
        QTest::newRow("half to even down") << "2.5" << qint64(2);
        QTest::newRow("half to even up") << "3.5" << qint64(4);
        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("words") << "many" << qint64(0);
        QTest::newRow("beyond 16 bits") << "40000" << qint64(40000);
    }
    void jobAgeDays() {
        QFETCH(QString, typed);
        QFETCH(qint64, days);
        QCOMPARE(::jobAgeDays(typed), days);
    }

    // The titles are joined exactly as the pieces come, blanks doubling where two meet.
    void jobAgeStatementsAndTitles() {
        ReportEnv e;
        JobAgeChoice c{"30", e.caption(11), "Open", "All", "Job Age"};
        ReportRequest r = sortedJobAgeReport(e.app().FieldCaptions, c);
        QCOMPARE(r.title, QString("Show jobs that have been in the system for at least 30 days  "
                                  "based on the Created: date,  where the job status is Open and  "
                                  "order the report by Job Age"));
        QCOMPARE(r.layout, QString("drQuoteStatus"));

        c = {"7", e.caption(0), "All", "O'Neill & Co", "Nothing known"};
        r = groupedJobAgeReport(e.app().FieldCaptions, c);
        QCOMPARE(r.title, QString("Show jobs that have been in the system for at least 7 days  "
                                  "based on the Surveyed: where introduced by is O'Neill & Co and  "
                                  "order the report by Nothing known"));
        QCOMPARE(r.layout, QString("drIntroducedGroup"));
    }

    // Two workstations building the report at the same moment each read their own rows only;
    // the database keeps no shared working table.
    void eachWorkstationHasItsOwnAgeRows() {
        ReportEnv e;
        e.addJobs(kAgeColumns, {{1, "Open", "Direct", "A", "2026-03-04 00:00:00", QVariant()},
                                {2, "Closed", "Direct", "B", "2026-03-04 00:00:00", QVariant()}});
        AppState other(Services{e.env.prompter, e.env.launcher, e.env.clock, e.env.screen,
                                e.env.roots, e.env.locale, e.env.sharing});
        QVERIFY(other.DbConnection.open(e.env.connectionString()));
        captions::load(other.DbConnection, other.FieldCaptions);

        QVERIFY(UpdateAgeTable(e.app().DbConnection, e.app().FieldCaptions, e.app().clock.today(),
                               "Open", "All", e.caption(11)));
        QVERIFY(UpdateAgeTable(other.DbConnection, other.FieldCaptions, other.clock.today(),
                               "Closed", "All", e.caption(11)));
        QCOMPARE(e.db().scalar("SELECT count(*) FROM jobsreport WHERE JobNo = 1").toInt(), 1);
        QCOMPARE(e.db().scalar("SELECT count(*) FROM jobsreport").toInt(), 1);
        QCOMPARE(
            other.DbConnection.scalar("SELECT count(*) FROM jobsreport WHERE JobNo = 2").toInt(),
            1);
        QCOMPARE(other.DbConnection.scalar("SELECT count(*) FROM jobsreport").toInt(), 1);
        QVERIFY(!e.db().hasTable("jobsreport"));

        // Nor does the report wait for the other workstation's save to end.
        QVERIFY(other.DbConnection.begin());
        QVERIFY(other.DbConnection.exec("UPDATE Counters SET JobCounter = JobCounter + 1"));
        QVERIFY(UpdateAgeTable(e.app().DbConnection, e.app().FieldCaptions, e.app().clock.today(),
                               "All", "All", e.caption(11)));
        QCOMPARE(e.db().scalar("SELECT count(*) FROM jobsreport").toInt(), 2);
        other.DbConnection.rollback();
    }

    // Ages count days to today from the chosen date; no date is age 0; later dates are negative;
    // status and introducer filter, apostrophes and all.
    void ageTableAndReport() {
        ReportEnv e;
        e.env.clock.set(QDateTime(QDate(2026, 3, 14), QTime(9, 0)));
        e.addJobs(kAgeColumns,
                  {{1, "Open", "Agent's", "A", "2026-03-04 17:45:00", "2026-03-20 00:00:00"},
                   {2, "Open", "Agent's", "B", "1900-01-01 00:00:00", QVariant()},
                   {3, "Closed", "Agent's", "C", "2026-03-20 00:00:00", QVariant()},
                   {4, "Open", "Insurer", "D", QVariant(), QVariant()},
                   {5, "Open", "Insurer", "E", "not a date", QVariant()}});
        QVERIFY(UpdateAgeTable(e.app().DbConnection, e.app().FieldCaptions, e.app().clock.today(),
                               "All", "All", e.caption(11)));
        auto ages = e.db().query("SELECT JobNo, Age FROM jobsreport ORDER BY JobNo");
        QVERIFY(ages);
        QList<qint64> got;
        for (int i = 0; i < ages->count(); ++i) {
            got << ages->integer(i, "Age");
        }
        QCOMPARE(got, (QList<qint64>{10, 46093, -6, 0, 0}));

        QVERIFY(UpdateAgeTable(e.app().DbConnection, e.app().FieldCaptions, e.app().clock.today(),
                               "Open", "Agent's", e.caption(5)));
        QCOMPARE(e.db().scalar("SELECT count(*) FROM jobsreport").toInt(), 2);
        QCOMPARE(e.db().scalar("SELECT Age FROM jobsreport WHERE JobNo = 1").toInt(), -6);

        // Days 0 lists jobs of age 0 too but leaves out those dated in the future.
        QVERIFY(UpdateAgeTable(e.app().DbConnection, e.app().FieldCaptions, e.app().clock.today(),
                               "All", "All", e.caption(11)));
        ProducedReport p =
            produce(e, sortedJobAgeReport(e.app().FieldCaptions,
                                          {"0", e.caption(11), "All", "All", "Job Age"}));
        QVERIFY2(p.ok, qPrintable(p.error));
        QCOMPARE(allTextsOf(p.pages, "txtJobNo"), (QStringList{"4", "5", "1", "2"}));
        QCOMPARE(allTextsOf(p.pages, "txtAge"), (QStringList{"0", "0", "10", "46093"}));
        QCOMPARE(allTextsOf(p.pages, "Label7"), QStringList{e.caption(11)});

        p = produce(
            e, groupedJobAgeReport(e.app().FieldCaptions, {"5", e.caption(11), "All", "All", ""}));
        QCOMPARE(allTextsOf(p.pages, "txtIntroducedBy"), (QStringList{"Agent's"}));
        QCOMPARE(allTextsOf(p.pages, "Function1"), QStringList{"2"});
        QCOMPARE(allTextsOf(p.pages, "Function2"), QStringList{"2"});
    }

    void marketingProblems_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("toBox");
        QTest::newRow("from first") << "31/02/2026" << "rubbish"
            << "The 'From' date you provided is not a valid date" << "Invalid Date 31/02/2026" << false;
        QTest::newRow("to") << "01/03/2026" << "soon"
            << "The 'To' date you provided is not a valid date" << "Invalid Date soon" << true;
        QTest::newRow("same day") << "01/03/2026" << "01/03/2026"
            << "The 'To' date you supplied is earlier than the 'From' date" << "Invalid Date" << true;
        QTest::newRow("backwards") << "05/03/2026" << "01/03/2026"
            << "The 'To' date you supplied is earlier than the 'From' date" << "Invalid Date" << true;
    }
    void marketingProblems() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        ReportEnv e;
        MarketingChoice c = defaultMarketingChoice(e.app());
        c.from = from;
        c.to = to;
        const MarketingReport r = marketingReport(e.app().FieldCaptions, dateStyle(e.app()), c);
        QVERIFY(r.problem);
        QTEST(r.problem->message, "message");
        QTEST(r.problem->title, "title");
        QTEST(r.problem->box == DateRangeProblem::Box::To, "toBox");
    }

    void marketingStatements_data() {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("introducer");
        QTest::addColumn<bool>("grouped");
        QTest::addColumn<QString>("titleEnd");
        QTest::addColumn<QStringList>("jobs");
        QTest::newRow("no filter, flat") << "All" << "All" << false
            << " showing all jobs with no filtering" << QStringList{"2", "1", "4", "3"};
        QTest::newRow("status, grouped") << "Won't fix" << "All" << true
            << " showing jobs with a status of Won't fix" << QStringList{"4"};
        QTest::newRow("introducer") << "All" << "Agent" << false
            << " showing all jobs Introduced By Agent" << QStringList{"2", "1"};
        QTest::newRow("both") << "Open" << "Agent" << true
            << " showing jobs with a status of Open and Introduced By Agent" << QStringList{"1", "2"};
        QTest::newRow("status in another case") << "OPEN" << "agent" << false
            << " showing jobs with a status of OPEN and Introduced By agent" << QStringList{"2", "1"};
    }
    // Statements, titles and the rows they bring: the To day counts whole.
    void marketingStatements() {
        QFETCH(QString, status);
        QFETCH(QString, introducer);
        QFETCH(bool, grouped);
        ReportEnv e;
        e.addJobs(kAgeColumns, {{1, "Open", "Agent", "A", "2026-03-10 16:30:00", QVariant()},
                                {2, "Open", "Agent", "B", "2026-03-01 00:00:00", QVariant()},
                                {3, "Open", "Insurer", "C", "2026-03-14 23:59:00", QVariant()},
                                {4, "Won't fix", "Insurer", "D", "2026-03-11 08:00:00", QVariant()},
                                {5, "Open", "Agent", "E", "2026-02-28 23:59:00", QVariant()},
                                {6, "Open", "Agent", "F", "2026-03-15 00:00:00", QVariant()}});
        MarketingChoice c = defaultMarketingChoice(e.app());
        c.status = status;
        c.introducer = introducer;
        c.grouped = grouped;
        const MarketingReport r = marketingReport(e.app().FieldCaptions, dateStyle(e.app()), c);
        QVERIFY(!r.problem);
        QFETCH(QString, titleEnd);
        QCOMPARE(r.request.title, "Job Status Report From 01/03/2026 to 14/03/2026" + titleEnd);
        QCOMPARE(r.request.layout, QString(grouped ? "drjobGroup" : "drJobStatus"));
        QCOMPARE(r.request.label(grouped ? "label6" : "label5"), e.caption(grouped ? 4 : 0));
        const ProducedReport p = produce(e, r.request);
        QVERIFY2(p.ok, qPrintable(p.error));
        QTEST(allTextsOf(p.pages, "txtJobNo"), "jobs");
    }

    void jobReport_data() {
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("jobs");
        QTest::newRow("current") << "All Current Jobs" << int(JobReportOrder::JobNumber)
            << QStringList{"1", "3"};
        QTest::newRow("closed") << "All Closed Jobs" << int(JobReportOrder::JobStatus)
            << QStringList{"2"};
        QTest::newRow("all") << "All Jobs" << int(JobReportOrder::JobStatus)
            << QStringList{"2", "1", "3"};
        QTest::newRow("typed") << "Sent `quote`" << int(JobReportOrder::JobDate)
            << QStringList{"3"};
        QTest::newRow("typed in another case") << "SENT `QUOTE`" << int(JobReportOrder::JobDate)
            << QStringList{"3"};
    }
    void jobReport() {
        QFETCH(QString, status);
        QFETCH(int, order);
        ReportEnv e;
        e.addJobs({"JobNo", "JobStatus", "\"Date\""}, {{1, "Open", "2026-01-02 00:00:00"},
                                                     {2, "closed", "2026-01-01 00:00:00"},
                                                     {3, "Sent `quote`", "2026-01-03 00:00:00"}});
        const ReportRequest r =
            jobStatusReport(e.app().FieldCaptions, status, JobReportOrder(order));
        QCOMPARE(r.title, QString("Advanced Report"));
        QCOMPARE(r.layout, QString("drJobStatus"));
        const ProducedReport p = produce(e, r);
        QVERIFY2(p.ok, qPrintable(p.error));
        QTEST(allTextsOf(p.pages, "txtJobNo"), "jobs");
        QCOMPARE(allTextsOf(p.pages, "labReportTitle"), QStringList{"Advanced Report"});
    }

    // The invoicing reports: exactly that invoice status, oldest first, total and count; with
    // no such job, totals of nothing.
    void invoicingReports() {
        ReportEnv e;
        ProducedReport p = produce(e, awaitingInvoicingReport());
        QCOMPARE(allTextsOf(p.pages, "labRptTitle"), QStringList{"Jobs Awaiting Invoicing"});
        QCOMPARE(allTextsOf(p.pages, "Function1"), QStringList{"0.00"});
        QCOMPARE(allTextsOf(p.pages, "Function2"), QStringList{"0"});
        e.addJobs({"JobNo", "WorkName", "InvoiceStatus", "\"Date\"", "Price"},
                  {{1, "Ann", "Awaiting Payment", "2026-01-05 00:00:00", 100},
                   {2, "Bob", "awaiting invoicing", "2026-01-09 00:00:00", 1234.5},
                   {3, "Cy", "Awaiting Invoicing", "2026-01-02 00:00:00", QVariant()},
                   {4, "Di", "Awaiting Invoicing later", "2026-01-01 00:00:00", 7}});
        p = produce(e, awaitingInvoicingReport());
        QCOMPARE(allTextsOf(p.pages, "txtJobNo"), (QStringList{"3", "2"}));
        QCOMPARE(allTextsOf(p.pages, "txtDate"), (QStringList{"02/Jan/26", "09/Jan/26"}));
        QCOMPARE(allTextsOf(p.pages, "Function1"), QStringList{"1,234.50"});
        QCOMPARE(allTextsOf(p.pages, "Function2"), QStringList{"2"});
        p = produce(e, awaitingPaymentReport());
        QCOMPARE(allTextsOf(p.pages, "labRptTitle"), QStringList{"Jobs Awaiting Payment"});
        QCOMPARE(allTextsOf(p.pages, "txtJobNo"), QStringList{"1"});
    }

    // A PDF reader finds the title, the totals and the page numbers; a file that cannot be
    // written is reported and the one already there is kept.
    void pdfOutput() {
        ReportEnv e;
        QList<QVariantList> jobs;
        for (int i = 1; i <= 120; ++i) {
            jobs.append({i, QString("Customer %1").arg(i), "Awaiting Payment", "2026-01-05 00:00:00", 10.25});
        }
        e.addJobs({"JobNo", "WorkName", "InvoiceStatus", "\"Date\"", "Price"}, jobs);
        const ProducedReport p = produce(e, awaitingPaymentReport());
        QVERIFY(p.pages.pageCount() >= 3);
        QTemporaryDir dir;
        const QString file = dir.filePath("payment.pdf");
        QString error;
        QVERIFY2(reportoutput::writePdf(p.pages, file, "Jobs Awaiting Payment", &error), qPrintable(error));
        const int n = p.pages.pageCount();
        QVERIFY(pdfText(file, 1).contains("Jobs Awaiting Payment"));
        QVERIFY(pdfText(file, 2).contains(QString("Page 2 of %1").arg(n)));
        const QString last = pdfText(file, n);
        QVERIFY(last.contains("Total Job Value \u00A3"));
        QVERIFY(last.contains("1,230.00"));
        QVERIFY(last.contains("120"));

        // Told after each page; stopped part way, the file already there is kept.
        QList<int> done;
        QVERIFY(reportoutput::writePdf(p.pages, file, "x", &error, [&done, n](int page, int total) {
            done << page;
            return total == n;
        }));
        QCOMPARE(done.size(), n);
        QCOMPARE(done.last(), n);
        const QByteArray whole = TestEnv::readFile(file);
        QVERIFY(!whole.isEmpty());
        QVERIFY(!reportoutput::writePdf(p.pages, file, "x", &error, [](int page, int) { return page < 2; }));
        QVERIFY(error.isEmpty());
        QCOMPARE(TestEnv::readFile(file), whole);

        TestEnv::writeFile(dir.filePath("keep.pdf"), "what was there");
        QVERIFY(!reportoutput::writePdf(p.pages, dir.filePath("keep.pdf/inside.pdf"), "x", &error));
        QVERIFY2(error.startsWith("The report could not be saved as"), qPrintable(error));
        QVERIFY(!reportoutput::writePdf(p.pages, dir.path(), "x", &error));
        QCOMPARE(TestEnv::readFile(dir.filePath("keep.pdf")), QByteArray("what was there"));
    }

    // verdell-admin makes the same reports without a screen.
    void adminReport() {
        ReportEnv e;
        e.addJobs({"JobNo", "WorkName", "InvoiceStatus", "Price", "DateCreated", "IntroducedBy"},
                  {{7, "Ann Lee", "Awaiting Invoicing", 99.5, "2026-03-02 00:00:00", "Agent"}});
        QTemporaryDir dir;
        const QString file = dir.filePath("inv.pdf");
        QCOMPARE(runAdmin({"report", "awaiting-invoicing", "--pdf", file}).status, 0);
        QVERIFY(pdfText(file, 1).contains("Ann Lee"));
        const QString grouped = dir.filePath("group.pdf");
        QCOMPARE(runAdmin({"report", "marketing", "--from", "01/03/2026", "--to", "05/03/2026",
                           "--pdf", grouped}).status, 0);
        QVERIFY(pdfText(grouped, 1).contains("Total jobs for"));
        AdminRun run = runAdmin({"report", "marketing", "--from", "someday", "--pdf", grouped});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("The 'From' date you provided is not a valid date"),
                 qPrintable(run.err));
        run = runAdmin({"report", "sales", "--pdf", grouped});
        QCOMPARE(run.status, 1);
        QVERIFY(run.err.contains("there is no report 'sales'"));
    }
};

QTEST_MAIN(tst_reports)
#include "tst_reports.moc"
