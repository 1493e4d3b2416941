#include "reports/JobStatusReport.h"

#include "db/TextKeys.h"
#include "reports/MarketingReport.h"

const QString kAllCurrentJobs = QStringLiteral("All Current Jobs");
const QString kAllClosedJobs = QStringLiteral("All Closed Jobs");
const QString kAllJobs = QStringLiteral("All Jobs");

ReportRequest jobStatusReport(const CaptionSet& captions, const QString& status,
                              JobReportOrder order) {
    static const QString kClosed = QStringLiteral("CLOSED");
    ReportRequest r;
    r.layout = QStringLiteral("drJobStatus");
    r.command = QStringLiteral("Jobs");
    r.title = QStringLiteral("Advanced Report");
    r.sql = QStringLiteral("SELECT * FROM Jobs");
    const QString jobStatus = QStringLiteral("JobStatus");
    std::optional<textkeys::Condition> only;
    if (status == kAllCurrentJobs) {
        only = textkeys::differs(jobStatus, kClosed);
    } else if (status == kAllClosedJobs) {
        only = textkeys::equals(jobStatus, kClosed);
    } else if (status != kAllJobs) {
        only = textkeys::equals(jobStatus, status);
    }
    if (only) {
        r.sql += QStringLiteral(" WHERE ") + only->sql;
        r.params << only->value;
    }
    const QString jobs = QStringLiteral("Jobs");
    switch (order) {
        case JobReportOrder::JobNumber:
            r.sql += orderThenJobNumber(jobs);
            break;
        case JobReportOrder::JobDate:
            r.sql += orderThenJobNumber(jobs, QStringLiteral("\"Date\""));
            break;
        case JobReportOrder::JobStatus:
            r.sql += orderThenJobNumber(jobs, jobStatus);
            break;
    }
    // The same headings as the date-range report that shares the layout: the user's captions.
    r.labels = jobStatusLabels(captions);
    return r;
}
