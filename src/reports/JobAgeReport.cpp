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

// The status and introducer conditions, each joined to what comes before by " AND ".
void addFilter(const QString& status, const QString& introducer, QString* sql, QVariantList* params,
               QString* title = nullptr) {
    if (status != kAll) {
        const textkeys::Condition same = textkeys::equals(QStringLiteral("JobStatus"), status);
        *sql += QStringLiteral(" AND ") + same.sql;
        *params << same.value;
        if (title) {
            *title +=
                QStringLiteral(" where the job status is ") + status + QStringLiteral(" and ");
        }
    }
    if (introducer != kAll) {
        const textkeys::Condition same =
            textkeys::equals(QStringLiteral("IntroducedBy"), introducer);
        *sql += QStringLiteral(" AND ") + same.sql;
        *params << same.value;
        if (title) {
            *title +=
                QStringLiteral(" where introduced by is ") + introducer + QStringLiteral(" and ");
        }
    }
}

ReportRequest ageReport(const CaptionSet& captions, const JobAgeChoice& choice, bool grouped) {
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
    r.sql += orderThenJobNumber(QStringLiteral("jobsreport"),
                                CaptionToField(captions, choice.sortCaption));
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

bool UpdateAgeTable(Database& db, const CaptionSet& captions, const QDate& today,
                    const QString& sJobStatus, const QString& sIntroducedBy,
                    const QString& sDateType) {
    static const QStringList kDates = {
        QStringLiteral("DateReceived"), QStringLiteral("DateDue"), QStringLiteral("DateCreated"),
        QStringLiteral("DateCompleted"), QStringLiteral("DateQuoted")};
    const QString dateField = CaptionToField(captions, sDateType);
    // The report's rows carry the folded copies and sort keys of the jobs they come from.
    QStringList copied{QStringLiteral("JobNo"),        QStringLiteral("JobStatus"),
                       QStringLiteral("IntroducedBy"), QStringLiteral("WorkName"),
                       QStringLiteral("DateReceived"), QStringLiteral("DateDue"),
                       QStringLiteral("DateCreated"),  QStringLiteral("DateCompleted"),
                       QStringLiteral("DateQuoted"),   QStringLiteral("DummyId")};
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
        params << today.toString(Qt::ISODate);
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

ReportRequest sortedJobAgeReport(const CaptionSet& captions, const JobAgeChoice& choice) {
    ReportRequest r = ageReport(captions, choice, false);
    r.layout = QStringLiteral("drQuoteStatus");
    r.command = QStringLiteral("jobage");
    r.labels = captionLabels(captions, {{"label1", Caption::ClientJobNo},
                                        {"label2", Caption::ClientJobStatus},
                                        {"label3", Caption::IntroducedBy},
                                        {"label4", Caption::WorkName},
                                        {"label5", Caption::DateReceived},
                                        {"label6", Caption::DateDue},
                                        {"label7", Caption::DateCreated},
                                        {"label8", Caption::DateCompleted},
                                        {"label9", Caption::DateQuoted}});
    return r;
}

ReportRequest groupedJobAgeReport(const CaptionSet& captions, const JobAgeChoice& choice) {
    ReportRequest r = ageReport(captions, choice, true);
    r.layout = QStringLiteral("drIntroducedGroup");
    r.command = QStringLiteral("groupit_Grouping");
    r.labels = captionLabels(captions, {{"label1", Caption::IntroducedBy},
                                        {"label2", Caption::DateReceived},
                                        {"label3", Caption::JobStatus},
                                        {"label4", Caption::WorkName},
                                        {"label5", Caption::DateCreated},
                                        {"label6", Caption::DateQuoted},
                                        {"label7", Caption::DateDue},
                                        {"label8", Caption::DateCompleted},
                                        {"label9", Caption::ClientJobNo}});
    return r;
}

ReportRequest jobAgeReport(const CaptionSet& captions, const JobAgeChoice& choice) {
    return choice.grouped ? groupedJobAgeReport(captions, choice)
                          : sortedJobAgeReport(captions, choice);
}

JobAgeChoice defaultJobAgeChoice(AppState& app) {
    JobAgeChoice choice;
    choice.days = app.AppSettings.GetValue(QStringLiteral("JobAge"));
    choice.dateCaption = app.FieldCaptions[Caption::DateCreated];
    choice.sortCaption = app.FieldCaptions[Caption::DateCompleted];
    return choice;
}
