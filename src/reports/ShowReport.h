#pragma once

#include "platform/Controls.h"
#include "reports/ReportRequest.h"

class AppState;
class frmReportPreview;

// Produces the report and shows it in its own window beside the main window; a window that
// shows the same report definition shows the new production. Null, after telling the user
// why, when the report cannot be produced.
frmReportPreview* ShowReport(AppState& app, const ReportRequest& request);
