// The job screen's pop-up panels: client and customer lookup, engineers, renaming captions, and
// the job search.

#include "jobs/CaptionLabels.h"
#include "jobs/ClientPage.h"
#include "jobs/JobLists.h"
#include "jobs/JobPage.h"
#include "jobs/JobPanels.h"
#include "jobs/JobStore.h"
#include "jobs/frmJobs.h"

#include "platform/Prompter.h"
#include "records/AppState.h"
#include "search/TypingSearch.h"
#include "search/frmSearchJobs.h"
#include "widgets/CsvExport.h"

#include <QLineEdit>
#include <QTabWidget>

void frmJobs::cmdSearch_Click() {
    const std::optional<qint32> chosen = frmSearchJobs::pick(
        app_, captions(), txtSearch->text(), jobs::jobStatuses(app_.DbConnection), this);
    if (chosen) {
        LoadJob(*chosen);
    }
}

void frmJobs::cmdFindClient_Click(int index) {
    stopLookupTyping();
    lookupKind_ = index;
    lookupPanel_->open(index == 1);
}

void frmJobs::cmdSearchClient_Click() {
    stopLookupTyping();
    const bool clients = lookupKind_ == 1;
    lookupPanel_->showContacts(
        jobs::findContacts(app_.DbConnection, clients, lookupPanel_->searchText()), clients);
}

void frmJobs::stopLookupTyping() {
    if (lookupTyping_) {
        lookupTyping_->cancel();
    }
}

void frmJobs::txtFindClient_Change() {
    if (!lookupTyping_) {
        lookupTyping_ = new TypingSearch(app_, this);
        connect(lookupTyping_, &TypingSearch::found, this,
                [this](const Rows& rows) { lookupPanel_->showContacts(rows, lookupKind_ == 1); });
        connect(lookupTyping_, &TypingSearch::failed, this,
                [this](const QString& reason) { showSearchFailure(app_.prompter, reason); });
    }
    lookupTyping_->typed(
        [clients = lookupKind_ == 1, text = lookupPanel_->searchText()](Database& db) {
            return std::optional<Rows>(jobs::findContacts(db, clients, text));
        });
}

void frmJobs::fgFindClient_DblClick() {
    const std::optional<JobContact> contact = lookupPanel_->chosenContact();
    if (!contact) {
        return;
    }
    const bool customer = lookupKind_ == 0;
    if (customer) {
        jobPage_->setCustomer(*contact);
    } else {
        clientPage_->setClient(*contact);
    }
    stopLookupTyping();
    lookupPanel_->hide();
    if (!JobLoaded) {
        refuseTyping();
        return;
    }
    ButtonsToSave();
    // The user goes on with the contact just chosen, on its own tab, where it lacks something.
    tabJobs->setCurrentIndex(customer ? 0 : 1);
    if (customer) {
        jobPage_->focusCustomer();
    } else {
        clientPage_->focusClient();
    }
}

void frmJobs::cmdCloseClient_Click() {
    // A search still running for the closed list is no longer wanted.
    stopLookupTyping();
    lookupPanel_->hide();
}

void frmJobs::cmdExportLookup_Click() {
    csvexport::askAndExport(app_,
                            lookupPanel_->listsClients() ? QStringLiteral("Clients.csv")
                                                         : QStringLiteral("Customers.csv"),
                            [this](const QString& file) {
                                csvexport::run(app_, QStringLiteral("Export to CSV"),
                                               [&] { return lookupPanel_->exportCsv(file); });
                            });
}

void frmJobs::cmdFindEngineer_Click() {
    engineersPanel_->open(app_.FieldCaptions[Caption::ClientRef],
                          jobs::engineerNames(app_.DbConnection), jobPage_->engineer());
}

void frmJobs::lstEngineers_DblClick() {
    const QString name = engineersPanel_->chosenName();
    if (!name.isEmpty() && name != jobPage_->engineer()) {
        jobPage_->takeEngineer(name.trimmed());
        ButtonsToSave();
    }
    engineersPanel_->hide();
}

void frmJobs::lstEngineers_RightClick() {
    const QString name = engineersPanel_->chosenName();
    if (app_.prompter.message(QStringLiteral("Do you really want to remove this entry?"),
                              QStringLiteral("Remove ") + name, Prompter::Buttons::YesNo,
                              Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return;
    }
    jobs::DeleteEngineer(app_.DbConnection, name);
    engineersPanel_->hide();
}

void frmJobs::cmdCloseEngineers_Click() {
    engineersPanel_->hide();
}

void frmJobs::Label1_DblClick(int index) {
    editedLabel_ = index;
    captionsPanel_->open(labels_->text(index));
}

void frmJobs::cmdSaveLabels_Click() {
    if (editedLabel_ >= 0 && editedLabel_ < kLabelCount) {
        app_.FieldCaptions.set(editedLabel_, captionsPanel_->text().trimmed());
    }
    if (!jobs::saveCaptions(app_.DbConnection, captions())) {
        app_.prompter.message(QStringLiteral("The captions could not be saved.\r\n") +
                                  app_.DbConnection.lastError().message,
                              QStringLiteral("Captions Not Saved"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
    }
    captionsPanel_->hide();
}

void frmJobs::cmdCloseLabels_Click() {
    captionsPanel_->hide();
}
