#include "reports/frmJobReport.h"

#include "jobs/JobLists.h"
#include "records/AppState.h"
#include "reports/ReportControls.h"
#include "reports/ShowReport.h"
#include "widgets/CentreForm.h"
#include "widgets/Controls.h"
#include "widgets/KeyActions.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmJobReport::frmJobReport(AppState& app, QWidget* parent)
    : QWidget(parent, Qt::Window), app_(app) {
    setObjectName(QStringLiteral("frmJobReport"));
    setWindowTitle(QStringLiteral("Verdell Standard [Job Report]"));
    cbStatus = reportcontrols::list(this, "cbStatus", false);
    // A typed apostrophe becomes a backquote, as the statuses have always been typed here.
    connect(cbStatus->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!text.contains(u'\'')) {
            return;
        }
        QLineEdit* edit = cbStatus->lineEdit();
        const int at = edit->cursorPosition();
        edit->setText(QString(text).replace(u'\'', u'`'));
        edit->setCursorPosition(at);
    });
    optJobNo = new QRadioButton(QStringLiteral("Job Number"), this);
    optJobNo->setObjectName(QStringLiteral("optJobNo"));
    optJobDate = new QRadioButton(QStringLiteral("Job Date"), this);
    optJobDate->setObjectName(QStringLiteral("optJobDate"));
    optStatus = new QRadioButton(QStringLiteral("Job Status"), this);
    optStatus->setObjectName(QStringLiteral("optStatus"));
    cmdGenerateReport = makeButton(this, "cmdGenerateReport", QStringLiteral("Generate Report"));
    SSCommand1 = makeButton(this, "SSCommand1", QStringLiteral("Close"));

    QGroupBox* properties = reportcontrols::frame(this, "fraProperties",
                                                  QStringLiteral("Report Properties"));
    QGroupBox* statusFrame =
        reportcontrols::frame(properties, "fraStatus", QStringLiteral("Report On Job Status"));
    (new QVBoxLayout(statusFrame))->addWidget(cbStatus);
    QGroupBox* orderFrame =
        reportcontrols::frame(properties, "fraOrder", QStringLiteral("Order Report By"));
    auto* orders = new QVBoxLayout(orderFrame);
    for (QRadioButton* option : {optJobNo, optJobDate, optStatus}) {
        orders->addWidget(option);
    }
    auto* inside = new QVBoxLayout(properties);
    inside->addWidget(statusFrame);
    inside->addWidget(orderFrame);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdGenerateReport);
    buttons->addWidget(SSCommand1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(properties);
    layout->addLayout(buttons);

    connect(cmdGenerateReport, &QPushButton::clicked, this, &frmJobReport::cmdGenerateReport_Click);
    connect(SSCommand1, &QPushButton::clicked, this, &QWidget::close);
    closeOnEscape(this);
}

void frmJobReport::Form_Load() {
    cbStatus->clear();
    cbStatus->addItems(jobs::jobStatuses(app_.DbConnection));
    cbStatus->addItems({kAllCurrentJobs, kAllClosedJobs, kAllJobs});
    cbStatus->setCurrentText(kAllCurrentJobs);
    optJobNo->setChecked(true);
    CentreForm(this, app_.screen);
}

JobReportOrder frmJobReport::order() const {
    if (optJobDate->isChecked()) {
        return JobReportOrder::JobDate;
    }
    return optStatus->isChecked() ? JobReportOrder::JobStatus : JobReportOrder::JobNumber;
}

void frmJobReport::cmdGenerateReport_Click() {
    ShowReport(app_, jobStatusReport(app_.FieldCaptions, cbStatus->currentText(), order()));
}
