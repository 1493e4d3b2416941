#include "reports/ShowReport.h"

#include "platform/Prompter.h"
#include "platform/SystemLocale.h"
#include "records/AppState.h"
#include "reports/ReportOutput.h"
#include "reports/frmReportPreview.h"

#include <QApplication>

frmReportPreview* ShowReport(AppState& app, const ReportRequest& request) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PreparedReport prepared =
        prepareReport(app.DbConnection, request, reportoutput::defaultPaper(app.locale.locale()));
    if (!prepared.ok) {
        QApplication::restoreOverrideCursor();
        app.prompter.message(prepared.error, request.title, Prompter::Buttons::Ok,
                             Prompter::Icon::Critical);
        return nullptr;
    }
    auto* preview = new frmReportPreview(
        app, request.title,
        std::make_unique<ReportLayout>(std::move(prepared.definition), std::move(prepared.rows),
                                       reportContext(app), prepared.page));
    QApplication::restoreOverrideCursor();
    preview->setObjectName(request.layout);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->show();
    return preview;
}
