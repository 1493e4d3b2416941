#include "reports/JobAgeReport.h"

#include "common/Numbers.h"
#include "db/Schema.h"
#include "db/TextKeys.h"
#include "platform/Clock.h"
#include "records/AppState.h"
#include "records/SharedRoutines.h"

#include <cmath>

namespace {

const QString kAll = QStringLiteral("All");
const QString kJobNo = QStringLiteral("JobNo");

// The status and introducer conditions, each joined to what comes before by " AND ".
void addFilter(const QString& status, const QString& introducer, QString* sql,
               QVariantList* params, QString* title = nullptr) {
    if (status != kAll) {
        const textkeys::Condition same = textkeys::equals(QStringLiteral("JobStatus"), status);
        *sql += QStringLiteral(" AND ") + same.sql;
        *params << same.value;
        if (title) {
            *title += QStringLiteral(" where the job status is ") + status + QStringLiteral(" and ");
        }
    }
    if (introducer != kAll) {
        const textkeys::Condition same = textkeys::equals(QStringLiteral("IntroducedBy"), introducer);
        *sql += QStringLiteral(" AND ") + same.sql;
        *params << same.value;
        if (title) {
            *title +=
                QStringLiteral(" where introduced by is ") + introducer + QStringLiteral(" and ");
        }
    }
}

ReportRequest ageReport(const AppState& app, const JobAgeChoice& choice, bool grouped) {
    const qint64 days = jobAgeDays(choice.days);
    ReportRequest r;
    r.sql = QStringLiteral("SELECT * FROM jobsreport WHERE Age >= ?");
    r.params << days;
    r.title = QStringLiteral("Show jobs that have been in the system for at least ") +
              QString::number(days) + QStringLiteral(" days ") + QStringLiteral(" based on the ") +
              choice.dateCaption;
    if (!grouped) {
        r.title += QStringLiteral(" date, ");
    }
    addFilter(choice.status, choice.introducer, &r.sql, &r.params, &r.title);
    QString order = CaptionToField(app, choice.sortCaption);
    if (order.isEmpty()) {
        order = kJobNo;
    }
    r.sql += QStringLiteral(" ORDER BY ") + textkeys::orderBy(QStringLiteral("jobsreport"), order);
    if (order != kJobNo) {
        r.sql += QStringLiteral(", JobNo");
    }
    r.title += QStringLiteral(" order the report by ") + choice.sortCaption;
    return r;
}

}  // namespace

qint64 jobAgeDays(const QString& text) {
    const double days = std::fabs(numbers::roundHalfEven(numbers::leadingNumber(text)));
    // More days than the calendar has are as good as any larger number.
    constexpr double kMost = 1e12;
    return std::isfinite(days) ? qint64(qMin(days, kMost)) : qint64(kMost);
}

bool UpdateAgeTable(AppState& app, const QString& sJobStatus, const QString& sIntroducedBy,
                    const QString& sDateType) {
    static const QStringList kDates = {
        QStringLiteral("DateReceived"), QStringLiteral("DateDue"), QStringLiteral("DateCreated"),
        QStringLiteral("DateCompleted"), QStringLiteral("DateQuoted")};
    Database& db = app.DbConnection;
    const QString dateField = CaptionToField(app, sDateType);
    // The report's rows carry the folded copies and sort keys of the jobs they come from.
    QStringList copied{QStringLiteral("JobNo"),         QStringLiteral("JobStatus"),
                       QStringLiteral("IntroducedBy"),  QStringLiteral("WorkName"),
                       QStringLiteral("DateReceived"),  QStringLiteral("DateDue"),
                       QStringLiteral("DateCreated"),   QStringLiteral("DateCompleted"),
                       QStringLiteral("DateQuoted")};
    for (const textkeys::Keyed& k : textkeys::of(QStringLiteral("jobsreport"))) {
        copied << textkeys::derivedColumns(k);
    }
    const QString columns = copied.join(QStringLiteral(", "));
    QString sql = QStringLiteral("INSERT INTO jobsreport (") + columns +
                  QStringLiteral(", Age) SELECT ") + columns + QStringLiteral(", ");
    QVariantList params;
    if (kDates.contains(dateField)) {
        sql += QStringLiteral("COALESCE(") + db.dialect().daysUntil(dateField) +
               QStringLiteral(", 0)");
        params << app.clock.today().toString(Qt::ISODate);
    } else {
        sql += u'0';
    }
    sql += QStringLiteral(" FROM Jobs WHERE 1 = 1");
    addFilter(sJobStatus, sIntroducedBy, &sql, &params);

    // The working rows are in a temporary table of this connection: other workstations save
    // while the report is made.
    Transaction tx(db, Transaction::Writes::TemporaryTables);
    return tx.active() && schema::createJobAgeTable(db) &&
           db.exec(QStringLiteral("DELETE FROM jobsreport")) && db.exec(sql, params) && tx.commit();
}

ReportRequest sortedJobAgeReport(const AppState& app, const JobAgeChoice& choice) {
    ReportRequest r = ageReport(app, choice, false);
    r.layout = QStringLiteral("drQuoteStatus");
    r.command = QStringLiteral("jobage");
    r.labels = captionLabels(app, {{"label1", 12}, {"label2", 10}, {"label3", 1}, {"label4", 2},
                                   {"label5", 0}, {"label6", 5}, {"label7", 11}, {"label8", 6},
                                   {"label9", 20}});
    return r;
}

ReportRequest groupedJobAgeReport(const AppState& app, const JobAgeChoice& choice) {
    ReportRequest r = ageReport(app, choice, true);
    r.layout = QStringLiteral("drIntroducedGroup");
    r.command = QStringLiteral("groupit_Grouping");
    r.labels = captionLabels(app, {{"label1", 1}, {"label2", 0}, {"label3", 3}, {"label4", 2},
                                   {"label5", 11}, {"label6", 20}, {"label7", 5}, {"label8", 6},
                                   {"label9", 12}});
    return r;
}

ReportRequest jobAgeReport(const AppState& app, const JobAgeChoice& choice) {
    return choice.grouped ? groupedJobAgeReport(app, choice) : sortedJobAgeReport(app, choice);
}

JobAgeChoice defaultJobAgeChoice(AppState& app) {
    JobAgeChoice choice;
    choice.days = app.AppSettings.GetValue(QStringLiteral("JobAge"));
    choice.dateCaption = app.FieldCaptions[Caption::DateCreated];
    choice.sortCaption = app.FieldCaptions[Caption::DateCompleted];
    return choice;
}
