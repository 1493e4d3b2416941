#include "reports/ShowReport.h"

#include "platform/Prompter.h"
#include "platform/SystemLocale.h"
#include "reports/ReportOutput.h"
#include "reports/frmReportPreview.h"
#include "startup/AppState.h"

#include <QApplication>
#include <QWidget>

frmReportPreview* ShowReport(AppState& app, const ReportRequest& request) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ProducedReport produced = produceReport(app.DbConnection, request, reportContext(app),
                                            reportoutput::defaultPaper(app.locale.locale()));
    QApplication::restoreOverrideCursor();
    if (!produced.ok) {
        app.prompter.message(produced.error, request.title, Prompter::Buttons::Ok,
                             Prompter::Icon::Critical);
        return nullptr;
    }
    if (auto* open = qobject_cast<frmReportPreview*>(app.openScreen(request.layout))) {
        open->setReport(request.title, std::move(produced.pages));
    }
    auto* window =
        static_cast<frmReportPreview*>(showScreen(app, request.layout, [&]() -> QWidget* {
            auto* preview = new frmReportPreview(app, request.title, std::move(produced.pages));
            preview->setObjectName(request.layout);
            return preview;
        }));
    return window;
}
