#include "reports/frmReports.h"

#include "records/AppState.h"
#include "reports/ShowReport.h"
#include "reports/frmJobAge.h"
#include "reports/frmMarketingRpt.h"
#include "widgets/CentreForm.h"
#include "widgets/Controls.h"
#include "widgets/KeyActions.h"

#include <QPushButton>
#include <QVBoxLayout>

void showJobAgeScreen(AppState& app) {
    showScreen(app, QStringLiteral("frmJobAge"), [&app]() -> QWidget* {
        auto* screen = new frmJobAge(app);
        screen->Form_Load();
        return screen;
    });
}

void showMarketingScreen(AppState& app) {
    showScreen(app, QStringLiteral("frmMarketingRpt"), [&app]() -> QWidget* {
        auto* screen = new frmMarketingRpt(app);
        screen->Form_Load();
        return screen;
    });
}

frmReports::frmReports(AppState& app, QWidget* parent) : QWidget(parent, Qt::Window), app_(app) {
    setObjectName(QStringLiteral("frmReports"));
    setWindowTitle(QStringLiteral("Verdell Standard [Report]"));
    cmdJobAge = makeButton(this, "cmdJobAge",
                           QStringLiteral("Produce report showing all jobs over a specified age"));
    cmdJobStatus = makeButton(this, "cmdJobStatus", QString());
    for (QPushButton* b : {cmdJobAge, cmdJobStatus}) {
        b->setMinimumHeight(48);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cmdJobAge);
    layout->addWidget(cmdJobStatus);
    connect(cmdJobAge, &QPushButton::clicked, this, &frmReports::cmdJobAge_Click);
    connect(cmdJobStatus, &QPushButton::clicked, this, &frmReports::cmdJobStatus_Click);
    closeOnEscape(this);
}

void frmReports::Form_Load() {
    cmdJobStatus->setText(QStringLiteral("Produce Job Status / ") +
                          app_.AppSettings.GetValue(QStringLiteral("label1")) +
                          QStringLiteral(" report within a specified date range"));
    adjustSize();
    resize(qMax(width(), 520), height());
    CentreForm(this, app_.screen);
}

void frmReports::cmdJobAge_Click() { showJobAgeScreen(app_); }
void frmReports::cmdJobStatus_Click() { showMarketingScreen(app_); }
