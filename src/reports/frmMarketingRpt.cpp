#include "reports/frmMarketingRpt.h"

#include "jobs/JobLists.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "reports/ReportControls.h"
#include "reports/ShowReport.h"
#include "widgets/CentreForm.h"
#include "widgets/KeyActions.h"
#include "widgets/Controls.h"
#include "widgets/DateBox.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A frame holding one control.
QGroupBox* framed(QWidget* parent, const char* name, const QString& caption, QWidget* control) {
    QGroupBox* box = reportcontrols::frame(parent, name, caption);
    (new QVBoxLayout(box))->addWidget(control);
    return box;
}

}  // namespace

frmMarketingRpt::frmMarketingRpt(AppState& app, QWidget* parent)
    : QWidget(parent, Qt::Window), app_(app) {
    setObjectName(QStringLiteral("frmMarketingRpt"));
    setWindowTitle(QStringLiteral("Verdell Standard [Job Status Report with Specified Date Range]"));
    using reportcontrols::list;
    txtFrom = new QLineEdit(this);
    txtFrom->setObjectName(QStringLiteral("txtFrom"));
    txtTo = new QLineEdit(this);
    txtTo->setObjectName(QStringLiteral("txtTo"));
    cbDate = list(this, "cbDate");
    cbStatus = list(this, "cbStatus");
    cbIntroducedBy = list(this, "cbIntroducedBy");
    cbGroup = list(this, "cbGroup");
    cbOrder = list(this, "cbOrder");
    cmdGenerateReport = makeButton(this, "cmdGenerateReport", QStringLiteral("Generate Report"));
    SSCommand1 = makeButton(this, "SSCommand1", QStringLiteral("Close"));

    QGroupBox* range = reportcontrols::frame(this, "fraRange", QStringLiteral("Report Date Range"));
    auto* dates = new QFormLayout(range);
    dates->addRow(QStringLiteral("From"), txtFrom);
    dates->addRow(QStringLiteral("To"), txtTo);
    dates->addRow(QStringLiteral("Using Date:"), cbDate);
    SSFrame3 = framed(this, "SSFrame3", {}, cbStatus);
    SSFrame4 = framed(this, "SSFrame4", {}, cbIntroducedBy);
    SSFrame5 = framed(this, "SSFrame5", {}, cbGroup);
    QGroupBox* order = framed(this, "fraOrder", QStringLiteral("Order Report By"), cbOrder);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdGenerateReport);
    buttons->addWidget(SSCommand1);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* w : std::initializer_list<QWidget*>{range, SSFrame3, SSFrame4, SSFrame5, order}) {
        layout->addWidget(w);
    }
    layout->addLayout(buttons);

    connect(cbGroup, &QComboBox::currentIndexChanged, this, &frmMarketingRpt::cbGroup_Click);
    connect(cmdGenerateReport, &QPushButton::clicked, this,
            &frmMarketingRpt::cmdGenerateReport_Click);
    connect(SSCommand1, &QPushButton::clicked, this, &QWidget::close);
    txtFrom->installEventFilter(this);
    txtTo->installEventFilter(this);
    closeOnEscape(this);
}

void frmMarketingRpt::Form_Load() {
    const MarketingChoice start = defaultMarketingChoice(app_);
    txtFrom->setText(start.from);
    txtTo->setText(start.to);
    const auto& c = app_.FieldCaptions;
    cbDate->clear();
    cbDate->addItems({c[Caption::DateCreated], c[Caption::DateReceived], c[Caption::DateDue],
                      c[Caption::DateQuoted], c[Caption::DateCompleted]});
    cbDate->setCurrentIndex(0);
    SSFrame3->setTitle(QStringLiteral("Report On ") + c[Caption::JobStatus]);
    SSFrame4->setTitle(QStringLiteral("Report on ") + c[Caption::IntroducedBy]);
    // In a frame's title "&&" shows as one ampersand.
    SSFrame5->setTitle(QStringLiteral("Count && Group ") + c[Caption::IntroducedBy]);
    reportcontrols::fillWithAll(cbStatus, jobs::jobStatuses(app_.DbConnection));
    reportcontrols::fillWithAll(cbIntroducedBy, jobs::introducers(app_.DbConnection));
    cbOrder->clear();
    cbOrder->addItems({c[Caption::DateCreated], c[Caption::DateQuoted], c[Caption::DateDue],
                       c[Caption::DateReceived], c[Caption::ClientJobNo], c[Caption::JobStatus],
                       c[Caption::IntroducedBy], c[Caption::DateCompleted]});
    cbOrder->setCurrentIndex(0);
    cbGroup->clear();
    cbGroup->addItems({QStringLiteral("Yes"), QStringLiteral("No")});
    cbGroup->setCurrentIndex(0);
    cbGroup_Click();
    adjustSize();
    CentreForm(this, app_.screen);
}

void frmMarketingRpt::cbGroup_Click() {
    cbOrder->setEnabled(cbGroup->currentText() != QLatin1String("Yes"));
}

MarketingChoice frmMarketingRpt::choice() const {
    MarketingChoice out;
    out.from = txtFrom->text();
    out.to = txtTo->text();
    out.dateCaption = cbDate->currentText();
    out.status = cbStatus->currentText();
    out.introducer = cbIntroducedBy->currentText();
    out.grouped = cbGroup->currentText() == QLatin1String("Yes");
    out.orderCaption = cbOrder->isEnabled() ? cbOrder->currentText() : QString();
    return out;
}

void frmMarketingRpt::cmdGenerateReport_Click() {
    const MarketingReport report = marketingReport(app_.FieldCaptions, dateStyle(app_), choice());
    if (report.problem) {
        app_.prompter.message(report.problem->message, report.problem->title,
                              Prompter::Buttons::Ok, Prompter::Icon::Information);
        (report.problem->box == DateRangeProblem::Box::From ? txtFrom : txtTo)->setFocus();
        return;
    }
    ShowReport(app_, report.request);
}

bool frmMarketingRpt::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == txtFrom || watched == txtTo) && event->type() == QEvent::FocusOut) {
        ValidateDateBox(app_, static_cast<QLineEdit*>(watched));
    }
    return QWidget::eventFilter(watched, event);
}
