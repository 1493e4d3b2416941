#pragma once

#include "reports/ReportRequest.h"

#include <functional>

class AppState;
class QWidget;
class frmReportPreview;

// The one open instance of a modeless screen: brought forward when it is open, otherwise made
// (and loaded) by make, and shown. It is discarded when closed.
QWidget* showScreen(AppState& app, const QString& name, const std::function<QWidget*()>& make);

// Produces the report and shows it in its own window beside the main window; a window that
// shows the same report definition shows the new production. Null, after telling the user
// why, when the report cannot be produced.
frmReportPreview* ShowReport(AppState& app, const ReportRequest& request);
