// The job screen's job: opening, loading, clearing, numbering, saving, cancelling, status and
// deletion.

#include "jobs/CaptionLabels.h"
#include "jobs/ClientPage.h"
#include "jobs/DocumentsPage.h"
#include "jobs/JobLists.h"
#include "jobs/JobPage.h"
#include "jobs/JobPanels.h"
#include "jobs/JobStore.h"
#include "jobs/frmJobs.h"

#include "common/Numbers.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/Captions.h"
#include "records/DateFormats.h"
#include "records/Options.h"
#include "records/SaveConflict.h"
#include "widgets/CentreForm.h"
#include "widgets/DateBox.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

void frmJobs::Form_Load() {
    CentreForm(this, app_.screen);
    LoadOptions(app_);
    jobPage_->fitDateBoxes();
    LoadCaptions();
    jobPage_->setIntroducers(jobs::introducers(app_.DbConnection));
    PopulateJobStatus();
    setWindowTitle(QStringLiteral("Verdell Standard [Jobs]"));
    documentPanel_->setAddresses({QStringLiteral("Customer Address"),
                                  QStringLiteral("Clients Address"), QStringLiteral("Other")});
    PopulateLetterTypes();
    ClearJobScreen();
    LoadJob(qint32(numbers::leadingNumber(app_.AppSettings.GetValue(QStringLiteral("LastJob")))));
}

void frmJobs::LoadCaptions() {
    app_.FieldCaptions.load(app_.DbConnection);  // the labels follow the shared captions
}

void frmJobs::showCaptions() {
    for (int i = 0; i < kLabelCount; ++i) {
        labels_->setText(i, app_.FieldCaptions.shown(i));
    }
}

std::array<QString, frmJobs::kLabelCount> frmJobs::captions() const {
    return labels_->texts();
}

int frmJobs::LoadJob(qint32 JobNumber) {
    const jobs::LoadedJob job = jobs::readJob(app_.DbConnection, jobs::jobFormat(app_), JobNumber);
    if (app_.DbConnection.serverAway()) {
        app_.server.tellUser();  // the screen stays as it is
        return 1;
    }
    if (job.outcome == jobs::LoadedJob::Outcome::Unreadable) {
        app_.prompter.message(
            QStringLiteral("Verdell cannot read the database: ") + job.error +
                QStringLiteral("\r\nPlease make sure it is not in use by another program, then "
                               "restart Verdell."),
            QStringLiteral("Please Restart Verdell"), Prompter::Buttons::Ok,
            Prompter::Icon::Information);
        return 1;
    }
    const bool found = job.outcome == jobs::LoadedJob::Outcome::Found;
    showNotice({});
    row_ = job.row;
    if (found) {
        setStatusCaption(job.fields.JobStatus);
        setJobNumberCaption(QString::number(JobNumber));
        showFields(job.fields);
    }
    LoadDocs(JobNumber);
    setJobLoaded(found);
    ChangesPending = false;
    app_.AppSettings.SetValue(QStringLiteral("LastJob"), QString::number(JobNumber));
    return found ? 0 : 1;
}

void frmJobs::showFields(const JobFields& f) {
    jobPage_->setFields(f);
    clientPage_->setFields(f);
}

JobFields frmJobs::snapshot() const {
    JobFields f;
    f.JobNo = shownNumber_;
    f.JobStatus = shownStatus_;
    jobPage_->readFields(f);
    clientPage_->readFields(f);
    return f;
}

qint32 frmJobs::jobNumber() const {
    return qint32(numbers::leadingNumber(shownNumber_));
}

void frmJobs::setStatusCaption(const QString& status) {
    shownStatus_ = status;
    jobPage_->setJobStatus(status);
    documentsPage_->setJobStatus(status);
    clientPage_->setJobStatus(status);
}

void frmJobs::setJobNumberCaption(const QString& number) {
    shownNumber_ = number;
    jobPage_->setJobNumber(number);
    documentsPage_->setJobNumber(number);
    clientPage_->setJobNumber(number);
}

void frmJobs::ClearJobScreen() {
    row_ = {};
    showFields(JobFields{});
    setStatusCaption({});
    setJobNumberCaption({});
    ConstructDocGrid();
}

void frmJobs::ButtonsToSave() {
    cmdNewJob->hide();
    cmdSave->show();
    cmdDelete->hide();
    cmdCancel->show();
    cmdSearch->setEnabled(false);
}

void frmJobs::ButtonsToNew() {
    cmdNewJob->show();
    cmdSave->hide();
    cmdDelete->show();
    cmdCancel->hide();
    cmdSearch->setEnabled(true);
}

void frmJobs::ConstructDocGrid() {
    documentsPage_->clear();
}

void frmJobs::LoadDocs(qint32 JobNumber) {
    ConstructDocGrid();
    documentsPage_->setDocuments(jobs::jobDocuments(app_.DbConnection, JobNumber));
}

void frmJobs::PopulateJobStatus() {
    statusPanel_->setStatuses(jobs::jobStatuses(app_.DbConnection));
}

void frmJobs::cmdNewJob_Click() {
    ChangesPending = true;
    ButtonsToSave();
    ClearJobScreen();
    showNotice({});
    setStatusCaption(QStringLiteral("New"));
    const QDateTime now = app_.clock.now();
    JobFields started;
    started.DateCreated = formatDisplayDate(app_, now);
    started.shownDates.insert(QStringLiteral("DateCreated"), {started.DateCreated, now});
    jobPage_->setFields(started);
    setJobLoaded(true);
    jobPage_->focusFirst();
}

bool frmJobs::startJob(const JobFields& fields) {
    cmdNewJob_Click();
    JobFields start = fields;
    start.JobNo.clear();
    if (start.DateCreated.isEmpty()) {
        const JobFields fresh = snapshot();
        start.DateCreated = fresh.DateCreated;
        start.shownDates.insert(QStringLiteral("DateCreated"),
                                fresh.shownDates.value(QStringLiteral("DateCreated")));
    }
    showFields(start);
    return cmdSave_Click();
}

bool frmJobs::cmdSave_Click() {
    const qint32 current = jobNumber();
    const QString record = QStringLiteral("Job %1").arg(current);
    jobs::JobRow base = row_;
    jobs::SavedJob saved;
    for (;;) {
        std::optional<qint32> manual;
        if (current == 0 && app_.ManualNumbering) {
            // Cancel gives up this save; everything typed stays on the screen.
            manual = jobs::GetNewJobNumber(app_.DbConnection, app_.prompter, app_.ManualNumbering);
            if (!manual) {
                return false;
            }
        }
        const JobFields mine = snapshot();
        saved = jobs::writeJob(app_.DbConnection, jobs::jobFormat(app_), app_.saveStamp(), mine,
                               current, manual, base);
        if (saved.outcome == SaveOutcome::ChangedElsewhere) {
            const auto theirs = [&] {
                return jobs::jobDifferences(
                    app_.FieldCaptions,
                    jobs::readJob(app_.DbConnection, jobs::jobFormat(app_), current).fields, mine);
            };
            if (!conflicts::keepMine(app_, record, saved.row.version, theirs)) {
                showNotice(conflicts::changedWhileEditing(app_, saved.row.version));
                return false;
            }
            base = saved.row;  // saved over the version just seen
            continue;
        }
        if (saved.outcome == SaveOutcome::DeletedElsewhere) {
            if (!conflicts::saveAgain(app_, record, QString::number(current))) {
                showNotice(conflicts::deletedWhileEditing());
                return false;
            }
            base = {};  // written again under its number
            continue;
        }
        if (saved.numberHeldBy.isEmpty()) {
            break;
        }
        if (current != 0) {
            app_.prompter.message(QStringLiteral("The job cannot be saved again under number %1: "
                                                 "%2 holds it now.\r\nYour changes are still on "
                                                 "the screen.")
                                      .arg(current)
                                      .arg(saved.numberHeldBy),
                                  QStringLiteral("Job Number In Use"), Prompter::Buttons::Ok,
                                  Prompter::Icon::Exclamation);
            return false;
        }
        app_.prompter.message(QStringLiteral("The number %1 is already used by %2.\r\nPlease "
                                             "enter another number.")
                                  .arg(*manual)
                                  .arg(saved.numberHeldBy),
                              QStringLiteral("Job Number In Use"), Prompter::Buttons::Ok,
                              Prompter::Icon::Exclamation);
    }
    if (!saved.ok) {
        refuseSave(saved.error);
        return false;
    }
    row_ = saved.row;
    showNotice({});
    setJobNumberCaption(QString::number(saved.jobNo));
    app_.AppSettings.SetValue(QStringLiteral("LastJob"), QString::number(saved.jobNo));
    ButtonsToNew();
    ChangesPending = false;
    return true;
}

void frmJobs::refuseSave(const QString& error) {
    if (app_.DbConnection.serverAway()) {
        app_.server.tellUser();
        return;
    }
    app_.prompter.message(QStringLiteral("The job could not be saved.\r\n") + error +
                              QStringLiteral("\r\nYour changes are still on the screen."),
                          QStringLiteral("Job Not Saved"), Prompter::Buttons::Ok,
                          Prompter::Icon::Critical);
}

bool frmJobs::editingJob() const {
    return !cmdSave->isHidden();
}

void frmJobs::showNotice(const QString& text) {
    labChangedElsewhere->setText(text);
    labChangedElsewhere->setVisible(!text.isEmpty());
}

void frmJobs::followChanges(const QStringList& tables) {
    if (!JobLoaded || row_.rowId == 0) {
        return;  // nothing stored is shown
    }
    const qint32 number = jobNumber();
    if (changes::concerns(tables, QStringLiteral("Docs"))) {
        LoadDocs(number);
    }
    if (!changes::concerns(tables, QStringLiteral("Jobs"))) {
        return;
    }
    bool unreadable = false;
    const std::optional<RowVersion> now =
        jobs::storedJobVersion(app_.DbConnection, row_.rowId, &unreadable);
    const conflicts::Following step =
        conflicts::follow(app_, now, unreadable, row_.version, editingJob());
    if (step.action == conflicts::Following::Action::Reload) {
        LoadJob(number);
    } else if (step.action == conflicts::Following::Action::Clear) {
        ClearJobScreen();
        setJobLoaded(false);
    }
    if (step.action != conflicts::Following::Action::None) {
        showNotice(step.notice);
    }
}

void frmJobs::cmdCancel_Click() {
    if (ChangesPending &&
        app_.prompter.message(QStringLiteral("Are you sure you want to cancel this job"),
                              QStringLiteral("Cancel Job ") + shownNumber_,
                              Prompter::Buttons::YesNoCancel,
                              Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return;
    }
    ButtonsToNew();
    ClearJobScreen();
    LoadJob(qint32(numbers::leadingNumber(app_.AppSettings.GetValue(QStringLiteral("LastJob")))));
    ChangesPending = false;
}

void frmJobs::cmdDelete_Click() {
    const qint32 number = jobNumber();
    if (number < 1) {
        return;
    }
    if (app_.prompter.message(QStringLiteral("Do you really want to delete this job?"),
                              QStringLiteral("Delete Job ") + QString::number(number),
                              Prompter::Buttons::YesNoCancel,
                              Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return;
    }
    const std::optional<QStringList> copies = attachmentsGoingWithJob(number);
    if (!copies) {
        return;
    }
    if (!jobs::deleteJob(app_.DbConnection, number)) {
        if (app_.DbConnection.serverAway()) {
            app_.server.tellUser();
            return;
        }
        app_.prompter.message(QStringLiteral("The job could not be deleted.\r\n") +
                                  app_.DbConnection.lastError().message,
                              QStringLiteral("Job Not Deleted"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
        return;
    }
    removeAttachmentCopies(*copies);
    ClearJobScreen();
    setJobLoaded(false);
}

void frmJobs::cmdExit_Click() {
    close();
}

QString frmJobs::unsavedChangesName() const {
    const qint32 number = jobNumber();
    return number > 0 ? QStringLiteral("job %1 on the job screen").arg(number)
                      : QStringLiteral("the new job on the job screen");
}

void frmJobs::closeEvent(QCloseEvent* event) {
    if (ChangesPending) {
        switch (app_.prompter.message(QStringLiteral("Would you like to save your changes before "),
                                      QStringLiteral("Save Changes"),
                                      Prompter::Buttons::YesNoCancel, Prompter::Icon::Question)) {
            case Prompter::Answer::Yes:
                if (!cmdSave_Click()) {
                    event->ignore();  // nothing is lost: the job stays on the screen
                    return;
                }
                break;
            case Prompter::Answer::No:
                break;
            default:
                event->ignore();
                return;
        }
    }
    event->accept();
}

void frmJobs::cmdChangeStatus_Click(int) {
    if (!JobLoaded) {
        refuseTyping();
        return;
    }
    ChangesPending = true;
    ButtonsToSave();
    statusPanel_->showOver();
    statusPanel_->selectStatus(shownStatus_);
    statusPanel_->focusList();
}

void frmJobs::cmdChange_Click() {
    const QString status = statusPanel_->chosenStatus();
    if (status.isEmpty()) {
        app_.prompter.message(
            QStringLiteral("You have to select a new status before pressing 'Change Status'"),
            QStringLiteral("No Status Selected"), Prompter::Buttons::Ok,
            Prompter::Icon::Information);
        statusPanel_->focusList();
        return;
    }
    setStatusCaption(status);
    statusPanel_->hide();
}

void frmJobs::SSCommand1_Click() {
    statusPanel_->hide();
}
