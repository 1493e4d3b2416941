#include "reports/frmJobAge.h"

#include "jobs/JobLists.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "reports/ReportControls.h"
#include "reports/ShowReport.h"
#include "widgets/CentreForm.h"
#include "widgets/Controls.h"
#include "widgets/KeyActions.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmJobAge::frmJobAge(AppState& app, QWidget* parent) : QWidget(parent, Qt::Window), app_(app) {
    setObjectName(QStringLiteral("frmJobAge"));
    setWindowTitle(QStringLiteral("Verdell Standard [Job Age Report]"));
    using reportcontrols::list;
    txtDays = new QLineEdit(this);
    txtDays->setObjectName(QStringLiteral("txtDays"));
    txtDays->setMaximumWidth(80);
    cbDateTypes = list(this, "cbDateTypes");
    cbJobStatus = list(this, "cbJobStatus");
    cbIntroducedBy = list(this, "cbIntroducedBy");
    cbSortBy = list(this, "cbSortBy", false);
    cbGroup = list(this, "cbGroup");
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label7 = new QLabel(this);
    Label7->setObjectName(QStringLiteral("Label7"));
    // With a buddy, a label shows "&&" as one ampersand.
    Label4->setBuddy(cbIntroducedBy);
    Label7->setBuddy(cbGroup);
    SSCommand2 = makeButton(this, "SSCommand2", QStringLiteral("&Create Report"));
    cmdExit = makeButton(this, "cmdExit", QStringLiteral("E&xit"));
    cmdDoIt = makeButton(this, "cmdDoIt", QStringLiteral("&Create Report Using Sort"));
    SSCommand1 = makeButton(this, "SSCommand1",
                            QStringLiteral("Create Report and Group / Count Introducers"));
    cmdDoIt->hide();
    SSCommand1->hide();

    auto* days = new QHBoxLayout;
    days->addWidget(txtDays);
    days->addWidget(new QLabel(QStringLiteral("days."), this));
    days->addStretch(1);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Show Jobs which have been in the system for over"), days);
    form->addRow(QStringLiteral("Based on the"), cbDateTypes);
    form->addRow(QStringLiteral("with a Job Status of"), cbJobStatus);
    form->addRow(Label4, cbIntroducedBy);
    form->addRow(QStringLiteral("Sort report by"), cbSortBy);
    form->addRow(Label7, cbGroup);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SSCommand2);
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(cbGroup, &QComboBox::currentIndexChanged, this, &frmJobAge::cbGroup_Click);
    connect(SSCommand2, &QPushButton::clicked, this, &frmJobAge::SSCommand2_Click);
    connect(cmdDoIt, &QPushButton::clicked, this, &frmJobAge::cmdDoIt_Click);
    connect(SSCommand1, &QPushButton::clicked, this, &frmJobAge::SSCommand1_Click);
    connect(cmdExit, &QPushButton::clicked, this, &QWidget::close);
    txtDays->installEventFilter(this);
    closeOnEscape(this);
}

void frmJobAge::Form_Load() {
    const auto& c = app_.FieldCaptions;
    cbDateTypes->clear();
    cbDateTypes->addItems({c[Caption::DateCompleted], c[Caption::DateReceived], c[Caption::DateDue],
                           c[Caption::DateCreated], c[Caption::DateQuoted]});
    cbDateTypes->setCurrentIndex(3);
    reportcontrols::fillWithAll(cbJobStatus, jobs::jobStatuses(app_.DbConnection));
    reportcontrols::fillWithAll(cbIntroducedBy, jobs::introducers(app_.DbConnection));
    cbSortBy->clear();
    cbSortBy->addItems({c[Caption::DateCompleted], c[Caption::DateQuoted], c[Caption::DateDue],
                        c[Caption::DateReceived], c[Caption::ClientJobNo],
                        c[Caption::ClientJobStatus], c[Caption::IntroducedBy],
                        QStringLiteral("Job Age")});
    cbSortBy->setCurrentIndex(0);
    txtDays->setText(app_.AppSettings.GetValue(QStringLiteral("JobAge")));
    Label4->setText(c[Caption::IntroducedBy]);
    // In a label's text "&&" shows as one ampersand.
    Label7->setText(QStringLiteral("Group && Count ") + c[Caption::IntroducedBy]);
    const QSignalBlocker block(cbGroup);
    cbGroup->clear();
    cbGroup->addItems({QStringLiteral("Yes"), QStringLiteral("No")});
    cbGroup->setCurrentIndex(0);
    cbGroup_Click();
    CentreForm(this, app_.screen);
}

void frmJobAge::cbGroup_Click() {
    cbSortBy->setEnabled(cbGroup->currentText() != QLatin1String("Yes"));
}

JobAgeChoice frmJobAge::choice() const {
    JobAgeChoice out;
    out.days = txtDays->text();
    out.dateCaption = cbDateTypes->currentText();
    out.status = cbJobStatus->currentText();
    out.introducer = cbIntroducedBy->currentText();
    out.sortCaption = cbSortBy->currentText();
    out.grouped = !cbSortBy->isEnabled();
    return out;
}

void frmJobAge::SSCommand2_Click() { produce(!cbSortBy->isEnabled()); }
void frmJobAge::cmdDoIt_Click() { produce(false); }
void frmJobAge::SSCommand1_Click() { produce(true); }

void frmJobAge::produce(bool grouped) {
    JobAgeChoice asked = choice();
    asked.grouped = grouped;
    if (!UpdateAgeTable(app_.DbConnection, app_.FieldCaptions, app_.clock.today(), asked.status,
                        asked.introducer, asked.dateCaption)) {
        app_.prompter.message(QStringLiteral("The ages of the jobs could not be worked out.\r\n") +
                                  app_.DbConnection.lastError().message,
                              QStringLiteral("Job Age Report"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
        return;
    }
    ShowReport(app_, jobAgeReport(app_.FieldCaptions, asked));
}

void frmJobAge::txtDays_LostFocus() {
    app_.AppSettings.SetValue(QStringLiteral("JobAge"), txtDays->text());
}

bool frmJobAge::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtDays && event->type() == QEvent::FocusOut) {
        txtDays_LostFocus();
    }
    return QWidget::eventFilter(watched, event);
}
