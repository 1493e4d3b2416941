#include "reports/JobStatusReport.h"

#include "reports/MarketingReport.h"

const QString kAllCurrentJobs = QStringLiteral("All Current Jobs");
const QString kAllClosedJobs = QStringLiteral("All Closed Jobs");
const QString kAllJobs = QStringLiteral("All Jobs");

ReportRequest jobStatusReport(const AppState& app, const QString& status, JobReportOrder order) {
    static const QString kClosed = QStringLiteral("CLOSED");
    ReportRequest r;
    r.layout = QStringLiteral("drJobStatus");
    r.command = QStringLiteral("Jobs");
    r.title = QStringLiteral("Advanced Report");
    r.sql = QStringLiteral("SELECT * FROM Jobs");
    if (status == kAllCurrentJobs) {
        r.sql += QStringLiteral(" WHERE JobStatus <> ?");
        r.params << kClosed;
    } else if (status == kAllClosedJobs) {
        r.sql += QStringLiteral(" WHERE JobStatus = ?");
        r.params << kClosed;
    } else if (status != kAllJobs) {
        r.sql += QStringLiteral(" WHERE JobStatus = ?");
        r.params << status;
    }
    switch (order) {
        case JobReportOrder::JobNumber:
            r.sql += QStringLiteral(" ORDER BY JobNo");
            break;
        case JobReportOrder::JobDate:
            r.sql += QStringLiteral(" ORDER BY \"Date\", JobNo");
            break;
        case JobReportOrder::JobStatus:
            r.sql += QStringLiteral(" ORDER BY JobStatus, JobNo");
            break;
    }
    // The same headings as the date-range report that shares the layout: the user's captions.
    r.labels = jobStatusLabels(app);
    return r;
}
