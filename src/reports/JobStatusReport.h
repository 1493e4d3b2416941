#pragma once

#include "reports/ReportRequest.h"

class CaptionSet;

// The jobs of one status, or the current (not closed), closed or all jobs, in the chosen order.

enum class JobReportOrder { JobNumber, JobDate, JobStatus };

// The status list's own entries after the statuses of the jobStatus table.
extern const QString kAllCurrentJobs;  // "All Current Jobs"
extern const QString kAllClosedJobs;   // "All Closed Jobs"
extern const QString kAllJobs;         // "All Jobs"

ReportRequest jobStatusReport(const CaptionSet& captions, const QString& status,
                              JobReportOrder order);
