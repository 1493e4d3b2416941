#pragma once

#include "reports/ReportRequest.h"

class AppState;
class frmReportPreview;

// Produces the report and shows it in a window of its own, beside the main window and any
// other report, until the user closes it. Null, after telling the user why, when the report
// cannot be produced.
frmReportPreview* ShowReport(AppState& app, const ReportRequest& request);
