// One office's day, worked on the embedded file and again on the server: every list, search and
// report must give the same rows in the same order on both, so that an office moving to the
// server does not see its program change.

#include "db/TextKeys.h"
#include "estimates/EstimateStore.h"
#include "jobs/JobLists.h"
#include "platform/Clock.h"
#include "records/Captions.h"
#include "records/DateFormats.h"
#include "reports/InvoicingReports.h"
#include "reports/JobAgeReport.h"
#include "reports/JobStatusReport.h"
#include "reports/MarketingReport.h"
#include "search/ContactSearch.h"
#include "search/JobSearch.h"
#include "setup/PickList.h"
#include "support/JobRecords.h"
#include "support/TestEnv.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// Names that sort differently by code point, by case and by accent, and characters that mean
// something to LIKE or to SQL.
const QStringList kNames = {"Zebra Lettings",
                            "éclair Homes",
                            "Żaneta Nowak",
                            "Ægir Ltd",
                            "José Ångström",
                            "apple Estates",
                            "O'Brien & Sons",
                            "100% Insure",
                            "under_score Ltd",
                            "Eagle Property",
                            "adams",
                            "Adams",
                            "",
                            "ÉCLAIR BAKERY",
                            "Ørsted Court",
                            "Eclair"};
const QStringList kAddresses = {"123 High St", "Flat 2, 5 Ömer Road", "12 Rue d'Été", "",
                                "7 Ash Grove"};
const QStringList kPhones = {"07700900123", "01632 960001", "", "+44 20 7946 0000"};
// Dates that tie, dates missing, dates that differ only in the year.
const QStringList kDates = {"01/03/2026", "",           "01/03/2026",
                            "15/02/2025", "01/03/2025", "28/02/2026"};
const QStringList kStatuses = {"OPEN", "", "CLOSED", "Waiting", "waiting"};
const QStringList kIntroducers = {"Agent A", "", "Ägent B", "agent a", "Zed Insurance"};
const QStringList kInvoicing = {"Awaiting Invoicing", "", "Awaiting Payment", "Payment Received"};

const QStringList kSearches = {"",         "e",   "ecl", "ÉCLAIR",       "ångström",    "%",
                               "_",        "'",   "o'b", "ae",           "07700900123", "20004.5",
                               "123 High", "123", "zz",  "Lettings Flat"};
const QStringList kOrders = {"JobNo",   "WorkName", "DateCreated", "DateReceived",
                             "DateDue", "CustRef",  "JobStatus"};

// What one step gave, row by row, each row's values joined.
class Answers {
public:
    void add(const QString& step, const QStringList& row) {
        lines_ << step + QStringLiteral(" | ") + row.join(QStringLiteral(" | "));
    }
    void add(const QString& step, const Rows& rows, const QStringList& columns) {
        add(step, {QStringLiteral("%1 rows").arg(rows.count())});
        for (int i = 0; i < rows.count(); ++i) {
            QStringList row;
            for (const QString& c : columns) {
                row << rows.value(i, c).toString();
            }
            add(step, row);
        }
    }
    void add(const QString& step, const std::optional<Rows>& rows, const QStringList& columns) {
        if (!rows) {
            add(step, {QStringLiteral("failed")});
            return;
        }
        add(step, *rows, columns);
    }
    // Every text of every page, in the order the pages show them.
    void add(const QString& step, const ProducedReport& report) {
        if (!report.ok) {
            add(step, {QStringLiteral("failed: ") + report.error});
            return;
        }
        add(step, {QStringLiteral("%1 pages").arg(report.pages.pageCount())});
        for (int p = 0; p < report.pages.pageCount(); ++p) {
            for (const ReportPages::Text& t : report.pages.texts(p)) {
                add(step, {QString::number(p), t.item, t.text});
            }
        }
    }
    const QStringList& lines() const { return lines_; }

private:
    QStringList lines_;
};

void addContacts(Database& db, const QString& table) {
    for (int i = 0; i < kNames.size(); ++i) {
        QVERIFY(TestEnv::addRow(
            db, table,
            {{"Name", kNames[i]},
             {"Address", kAddresses[i % kAddresses.size()]},
             {table == "clients" ? "Contact" : "Telephone", kPhones[i % kPhones.size()]}}));
    }
}

JobFields jobFields(int i) {
    JobFields f;
    f.WorkName = kNames[i % kNames.size()];
    f.HomeAddress = kAddresses[i % kAddresses.size()];
    f.HomeNumbers = kPhones[i % kPhones.size()];
    f.WorkDetails = i % 3 == 0 ? QStringLiteral("Replace 50% of the tiles") : QString();
    f.JobStatus = kStatuses[i % kStatuses.size()];
    f.IntroducedBy = kIntroducers[i % kIntroducers.size()];
    f.DateCreated = kDates[i % kDates.size()];
    f.DateReceived = kDates[(i + 1) % kDates.size()];
    f.DateDue = kDates[(i + 2) % kDates.size()];
    f.CustRef = i % 4 == 0 ? QString() : QStringLiteral("REF-%1").arg(i % 3);
    f.CliName = kNames[(i + 5) % kNames.size()];
    f.InvoiceStatus = kInvoicing[i % kInvoicing.size()];
    f.InvoiceDate = kDates[(i + 3) % kDates.size()];
    f.Price = QString::number(i * 12.5);
    return f;
}

void addJobs(AppState& app) {
    Database& db = app.DbConnection;
    QVERIFY(db.exec("UPDATE Counters SET JobCounter = 120"));
    QList<jobs::SavedJob> saved;
    for (int i = 0; i < 40; ++i) {
        saved << testjobs::save(app, jobFields(i), 0);
        QVERIFY2(saved.last().ok, qPrintable(saved.last().error));
    }
    QVERIFY(testjobs::save(app, jobFields(3), 0, 20005).ok);
    // Work moves on: statuses change, which moves the rows on the server.
    for (int i = 0; i < saved.size(); i += 3) {
        JobFields later = jobFields(i);
        later.JobStatus = kStatuses[(i + 1) % kStatuses.size()];
        QVERIFY(testjobs::save(app, later, saved[i].jobNo, std::nullopt, saved[i].row).ok);
    }
}

void addEstimates(Database& db) {
    const std::optional<Rows> customers =
        db.query("SELECT DummyId, Name FROM customers ORDER BY DummyId");
    QVERIFY(customers);
    for (int i = 0; i < customers->count(); ++i) {
        const int estNo = 1000 + (i * 7) % customers->count();
        for (int line = 0; line < 2; ++line) {
            QVERIFY(
                db.exec("INSERT INTO Estimate (EstNo, ClientId, DateCreated, Description) "
                        "VALUES (?, ?, ?, ?)",
                        QVariantList{estNo, customers->value(i, "DummyId"),
                                     QString("2026-03-0" + QString::number(1 + i % 5)),
                                     QStringLiteral("Line %1").arg(line)}));
        }
    }
}

// The printings of one estimate, one of them without its date.
void estimateIssues(Answers& out, Database& db) {
    for (const auto& [date, issue] : {std::pair{QVariant("2026-03-01 10:00:00"), 1},
                                      {QVariant(), 2},
                                      {QVariant("2026-03-02 09:00:00"), 3}}) {
        QVERIFY(
            db.exec("INSERT INTO EstimateDocs (DateCreated, EstNo, PrintNo) VALUES (?, 1000, ?)",
                    {date, issue}));
    }
    out.add("issues", estimates::estimateIssues(db, 1000), {"PrintNo", "DateCreated"});
}

void pickLists(Answers& out, Database& db) {
    for (const auto& [table, field] : {std::pair{"jobStatus", "Status"},
                                       {"IntroducedBy", "IntroducedBy"},
                                       {"engineers", "Engineer"}}) {
        setupvalues::PickList list(db, table, field);
        for (const char* entry : {"Échelon", "alpha", "Zulu", "Alpha"}) {
            QVERIFY(list.add(entry));
        }
        QVERIFY(list.remove("Zulu"));
        out.add(QStringLiteral("list %1").arg(table), list.entries());
    }
    out.add("job statuses", jobs::jobStatuses(db));
    out.add("introducers", jobs::introducers(db));
    out.add("engineers", jobs::engineerNames(db));
}

void searches(Answers& out, Database& db) {
    const QStringList jobColumns = {"JobNo", "WorkName", "DateCreated"};
    for (const QString& text : kSearches) {
        for (const QString& order : kOrders) {
            out.add(QStringLiteral("jobs '%1' by %2").arg(text, order),
                    searchJobs(db, text, QString(), order), jobColumns);
        }
        out.add(QStringLiteral("jobs '%1' closed").arg(text),
                searchJobs(db, text, "CLOSED", "WorkName"), jobColumns);
        const std::optional<qint64> count = countJobs(db, text, QString());
        out.add(QStringLiteral("count '%1'").arg(text),
                {count ? QString::number(*count) : QStringLiteral("failed")});
        out.add(QStringLiteral("jobs '%1' by name down").arg(text),
                jobsBlock(db, text, QString(), "WorkName", Qt::DescendingOrder, 3, 20), jobColumns);
        for (bool clients : {false, true}) {
            out.add(QStringLiteral("contacts '%1' %2").arg(text).arg(clients),
                    search::searchContacts(db, text, clients), {"Name", "Address"});
        }
        const auto estimates = estimates::searchEstimates(db, text);
        QStringList found{estimates ? QString() : QStringLiteral("failed")};
        for (const estimates::FoundEstimate& e :
             estimates.value_or(QList<estimates::FoundEstimate>{})) {
            found << QString::number(e.EstNo) + ' ' + e.Name;
        }
        out.add(QStringLiteral("estimates '%1'").arg(text), found);
    }
    for (const QString& start : {QString(), QStringLiteral("e"), QStringLiteral("É")}) {
        for (bool clients : {false, true}) {
            out.add(QStringLiteral("lookup '%1' %2").arg(start).arg(clients),
                    jobs::findContacts(db, clients, start), {"Name", "Address"});
        }
    }
}

void reports(Answers& out, AppState& app) {
    Database& db = app.DbConnection;
    const CaptionSet& captions = app.FieldCaptions;
    const ReportContext context = reportContext(app);
    const auto produce = [&](const QString& step, const ReportRequest& request) {
        out.add(step, produceReport(db, request, context, QPageSize::A4));
    };
    for (const QString& status : {kAllJobs, kAllCurrentJobs, kAllClosedJobs}) {
        for (JobReportOrder order :
             {JobReportOrder::JobNumber, JobReportOrder::JobDate, JobReportOrder::JobStatus}) {
            produce(QStringLiteral("job report %1 %2").arg(status).arg(int(order)),
                    jobStatusReport(captions, status, order));
        }
    }
    produce("awaiting invoicing", awaitingInvoicingReport());
    produce("awaiting payment", awaitingPaymentReport());
    const QString created = captions[Caption::DateCreated];
    // What the screens' order lists offer.
    for (const QString& sortBy :
         {captions[Caption::ClientJobStatus], captions[Caption::DateDue],
          captions[Caption::IntroducedBy], captions[Caption::ClientJobNo], QString()}) {
        for (bool grouped : {true, false}) {
            MarketingChoice m;
            m.from = "01/01/2025";
            m.to = "31/12/2026";
            m.dateCaption = created;
            m.grouped = grouped;
            m.orderCaption = grouped ? QString() : sortBy;
            const MarketingReport marketing = marketingReport(captions, dateStyle(app), m);
            produce(QStringLiteral("marketing %1 %2").arg(sortBy).arg(grouped), marketing.request);

            JobAgeChoice age;
            age.days = "10";
            age.dateCaption = created;
            age.sortCaption = sortBy;
            age.grouped = grouped;
            QVERIFY(UpdateAgeTable(db, captions, app.clock.now().date(), age.status, age.introducer,
                                   age.dateCaption));
            produce(QStringLiteral("job age %1 %2").arg(sortBy).arg(grouped),
                    jobAgeReport(captions, age));
        }
    }
}

// The day's work on a new database of the engine the environment names.
QStringList workDay() {
    TestEnv env;
    env.openNewDatabase();
    AppState& app = env.app();
    app.DefaultDateFormat = "dd/mm/yyyy";
    Database& db = app.DbConnection;
    captions::load(db, app.FieldCaptions);
    Answers out;
    pickLists(out, db);
    addContacts(db, "customers");
    addContacts(db, "clients");
    addJobs(app);
    addEstimates(db);
    estimateIssues(out, db);
    searches(out, db);
    reports(out, app);
    return out.lines();
}

}  // namespace

class tst_parity : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theFileAndTheServerGiveTheSameAnswers() {
        qunsetenv("VERDELL_TEST_ENGINE");
        const QStringList file = workDay();
        if (QTest::currentTestFailed()) {
            return;
        }
        // Names filed by their first letter, accents and case aside.
        QStringList names;
        for (const QString& line : file.filter(QRegularExpression("^contacts '' 0 \\| .* \\| "))) {
            names << line.section(" | ", 1, 1);
        }
        const QStringList filed = {"Ægir Ltd",     "apple Estates", "éclair Homes",
                                   "Ørsted Court", "Żaneta Nowak",  "Zebra Lettings"};
        for (qsizetype i = 1; i < filed.size(); ++i) {
            QVERIFY2(names.indexOf(filed[i - 1]) < names.indexOf(filed[i]),
                     qPrintable(names.join(", ")));
        }
        if (qEnvironmentVariableIsEmpty("VERDELL_TEST_PG")) {
            QSKIP("no PostgreSQL server named; set VERDELL_TEST_PG to compare with one");
        }
        qputenv("VERDELL_TEST_ENGINE", "postgresql");
        const QStringList server = workDay();
        qunsetenv("VERDELL_TEST_ENGINE");
        for (qsizetype i = 0; i < qMin(file.size(), server.size()); ++i) {
            if (file[i] != server[i]) {
                const auto around = [i](const QStringList& lines) {
                    return lines.mid(qMax<qsizetype>(0, i - 3), 6).join("\n    ");
                };
                QFAIL(qPrintable(
                    QStringLiteral("answer %1 differs\n  file:\n    %2\n  server:\n    %3")
                        .arg(i)
                        .arg(around(file), around(server))));
            }
        }
        QCOMPARE(server.size(), file.size());
    }
};

QTEST_MAIN(tst_parity)
#include "tst_parity.moc"
