// The job screen's job: opening, loading, clearing, numbering, saving, cancelling, status and
// deletion.

#include "jobs/JobLists.h"
#include "jobs/JobStore.h"
#include "jobs/frmJobs.h"

#include "common/Numbers.h"
#include "db/RowsModel.h"
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
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

void frmJobs::Form_Load() {
    CentreForm(this, app_.screen);
    LoadOptions(app_);
    fitDateBoxes();
    LoadCaptions();
    comIntroduced->clear();
    comIntroduced->addItems(introducers(app_.DbConnection));
    PopulateJobStatus(lstJobStatus);
    setWindowTitle(QStringLiteral("Verdell Standard [Jobs]"));
    comDocAddress->clear();
    comDocAddress->addItems({QStringLiteral("Customer Address"), QStringLiteral("Clients Address"),
                             QStringLiteral("Other")});
    PopulateLetterTypes();
    ClearJobScreen();
    LoadJob(qint32(numbers::leadingNumber(app_.AppSettings.GetValue(QStringLiteral("LastJob")))));
}

void frmJobs::LoadCaptions() {
    for (const auto& [index, text] : captions::read(app_.DbConnection)) {
        if (index < 0 || index >= kLabelCount) {
            continue;
        }
        Label1[size_t(index)]->setText(text);
        app_.FieldCaptions[size_t(index)] = text;
    }
}

std::array<QString, frmJobs::kLabelCount> frmJobs::captions() const {
    std::array<QString, kLabelCount> out;
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = Label1[i]->text();
    }
    return out;
}

int frmJobs::LoadJob(qint32 JobNumber) {
    const LoadedJob job = readJob(app_, JobNumber);
    if (app_.DbConnection.serverAway()) {
        app_.server.tellUser();  // the screen stays as it is
        return 1;
    }
    if (job.outcome == LoadedJob::Outcome::Unreadable) {
        app_.prompter.message(
            QStringLiteral("Verdell cannot read the database: ") + job.error +
                QStringLiteral("\r\nPlease make sure it is not in use by another program, then "
                               "restart Verdell."),
            QStringLiteral("Please Restart Verdell"), Prompter::Buttons::Ok,
            Prompter::Icon::Information);
        return 1;
    }
    const bool found = job.outcome == LoadedJob::Outcome::Found;
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
    const QScopedValueRollback<bool> filling(filling_, true);
    comIntroduced->setEditText(f.IntroducedBy);
    txtClientRef->setText(f.ClientRef);
    txtWorkDetails->setText(f.WorkDetails);
    txtCustContactNos->setPlainText(f.HomeNumbers);
    txtCustName->setText(f.WorkName);
    txtHomeAddress->setPlainText(f.HomeAddress);
    txtNotes->setText(f.WorkNotes);
    for (const auto& [column, box, text] : dateBoxes(f)) {
        const datetext::Shown behind = f.shownDates.value(column);
        showBoxDate(box, {text, behind.text == text ? behind.date : QDateTime()});
    }
    txtCustRef->setText(f.CustRef);
    for (size_t i = 0; i < txtUnused1.size(); ++i) {
        txtUnused1[i]->setText(f.Unused[i]);
    }
    txtCliName->setText(f.CliName);
    txtCliAddress->setPlainText(f.CliAddress);
    txtCliNumbers->setPlainText(f.CliNumbers);
    txtCliNotes->setPlainText(f.CliNotes);
    const int state = comInvoiceStatus->findText(f.InvoiceStatus);
    if (state < 0 && !f.InvoiceStatus.isEmpty()) {
        comInvoiceStatus->addItem(f.InvoiceStatus);  // a state written by an older release
    }
    comInvoiceStatus->setCurrentIndex(comInvoiceStatus->findText(f.InvoiceStatus));
    txtPrice->setText(f.Price);
    // A text wider than its box reads from its start.
    for (QWidget* box : jobFields_) {
        if (auto* line = qobject_cast<QLineEdit*>(box)) {
            line->setCursorPosition(0);
        }
    }
}

std::array<frmJobs::DateBoxField, 6> frmJobs::dateBoxes(const JobFields& f) const {
    return {{{QStringLiteral("DateCreated"), txtDateCreated, f.DateCreated},
             {QStringLiteral("DateReceived"), txtDateReceived, f.DateReceived},
             {QStringLiteral("DateDue"), txtDateDue, f.DateDue},
             {QStringLiteral("DateQuoted"), txtQuoteDate, f.DateQuoted},
             {QStringLiteral("DateCompleted"), txtDateCompleted, f.DateCompleted},
             {QStringLiteral("Date"), txtInvoiceDate, f.InvoiceDate}}};
}

JobFields frmJobs::snapshot() const {
    JobFields f;
    f.JobNo = labJobNumber[0]->text();
    f.JobStatus = labJobStatus[0]->text();
    f.IntroducedBy = comIntroduced->currentText();
    f.ClientRef = txtClientRef->text();
    f.WorkName = txtCustName->text();
    f.HomeAddress = txtHomeAddress->toPlainText();
    f.HomeNumbers = txtCustContactNos->toPlainText();
    f.WorkDetails = txtWorkDetails->text();
    f.WorkNotes = txtNotes->text();
    f.DateCreated = txtDateCreated->text();
    f.DateReceived = txtDateReceived->text();
    f.DateDue = txtDateDue->text();
    f.DateQuoted = txtQuoteDate->text();
    f.DateCompleted = txtDateCompleted->text();
    f.CustRef = txtCustRef->text();
    for (size_t i = 0; i < txtUnused1.size(); ++i) {
        f.Unused[i] = txtUnused1[i]->text();
    }
    f.CliName = txtCliName->text();
    f.CliAddress = txtCliAddress->toPlainText();
    f.CliNumbers = txtCliNumbers->toPlainText();
    f.CliNotes = txtCliNotes->toPlainText();
    f.InvoiceStatus = comInvoiceStatus->currentText();
    f.InvoiceDate = txtInvoiceDate->text();
    f.Price = txtPrice->text();
    for (const auto& [column, box, text] : dateBoxes(f)) {
        const datetext::Shown behind = boxDate(box);
        if (behind.date.isValid()) {
            f.shownDates.insert(column, behind);
        }
    }
    return f;
}

qint32 frmJobs::jobNumber() const {
    return qint32(numbers::leadingNumber(labJobNumber[0]->text()));
}

void frmJobs::setStatusCaption(const QString& status) {
    for (QLabel* label : labJobStatus) {
        label->setText(status);
    }
}

void frmJobs::setJobNumberCaption(const QString& number) {
    for (QLabel* label : labJobNumber) {
        label->setText(number);
    }
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

void frmJobs::ConstructDocGrid() { docsModel_->clear(); }

void frmJobs::LoadDocs(qint32 JobNumber) {
    ConstructDocGrid();
    docsModel_->setRows(jobDocuments(app_.DbConnection, JobNumber));
    showDocuments();
}

void frmJobs::PopulateJobStatus(QListWidget* list) {
    list->clear();
    list->addItems(jobStatuses(app_.DbConnection));
}

void frmJobs::PopulateJobStatus(QComboBox* list) {
    list->clear();
    list->addItems(jobStatuses(app_.DbConnection));
}

void frmJobs::cmdNewJob_Click() {
    ChangesPending = true;
    ButtonsToSave();
    ClearJobScreen();
    showNotice({});
    setStatusCaption(QStringLiteral("New"));
    const QDateTime now = app_.clock.now();
    showBoxDate(txtDateCreated, {formatDisplayDate(app_, now), now});
    setJobLoaded(true);
    comIntroduced->setFocus();
}

bool frmJobs::cmdSave_Click() {
    const qint32 current = jobNumber();
    const QString record = QStringLiteral("Job %1").arg(current);
    JobRow base = row_;
    SavedJob saved;
    for (;;) {
        std::optional<qint32> manual;
        if (current == 0 && app_.ManualNumbering) {
            // Cancel gives up this save; everything typed stays on the screen.
            manual = GetNewJobNumber(app_);
            if (!manual) {
                return false;
            }
        }
        const JobFields mine = snapshot();
        saved = writeJob(app_, mine, current, manual, base);
        if (saved.outcome == SaveOutcome::ChangedElsewhere) {
            const auto theirs = [&] {
                return jobDifferences(app_, readJob(app_, current).fields, mine);
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
        storedJobVersion(app_.DbConnection, row_.rowId, &unreadable);
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
                              QStringLiteral("Cancel Job ") + labJobNumber[0]->text(),
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
    if (!deleteJob(app_.DbConnection, number)) {
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
    ClearJobScreen();
    setJobLoaded(false);
}

void frmJobs::cmdExit_Click() { close(); }

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
    showPanel(panNewStatus);
    lstJobStatus->setFocus();
}

void frmJobs::cmdChange_Click() {
    const QListWidgetItem* chosen = lstJobStatus->currentItem();
    const QString status = chosen && chosen->isSelected() ? chosen->text() : QString();
    if (status.isEmpty()) {
        app_.prompter.message(
            QStringLiteral("You have to select a new status before pressing 'Change Status'"),
            QStringLiteral("No Status Selected"), Prompter::Buttons::Ok,
            Prompter::Icon::Information);
        lstJobStatus->setFocus();
        return;
    }
    setStatusCaption(status);
    panNewStatus->hide();
}

void frmJobs::SSCommand1_Click() { panNewStatus->hide(); }
