// The job screen's pop-up panels: client and customer lookup, engineers, renaming captions, and
// the job search.

#include "jobs/JobLists.h"
#include "jobs/JobStore.h"
#include "jobs/frmJobs.h"

#include "db/RowsModel.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "search/frmSearchJobs.h"

#include <QComboBox>
#include <QFrame>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QTableView>

void frmJobs::showPanel(QFrame* panel) {
    panel->move((width() - panel->width()) / 2, (height() - panel->height()) / 2);
    panel->raise();
    panel->show();
}

void frmJobs::cmdSearch_Click() {
    frmSearchJobs search(app_, captions(), this);
    search.Form_Load();
    search.txtSearch->setText(txtSearch->text());
    PopulateJobStatus(search.cbJobStatus);
    search.cbJobStatus->setCurrentIndex(-1);
    search.exec();
    if (app_.SearchJobNo != -1) {
        LoadJob(app_.SearchJobNo);
    }
}

void frmJobs::cmdFindClient_Click(int index) {
    lookupKind_ = index;
    panFindClient->findChild<QLabel*>(QStringLiteral("panFindClientTitle"))
        ->setText(index == 1 ? QStringLiteral("Find a Client") : QStringLiteral("Find a Customer"));
    contactsModel_->clear();
    labClientCount->setText(QStringLiteral("Client Count"));
    showPanel(panFindClient);
    txtFindClient->clear();
    txtFindClient->setFocus();
}

void frmJobs::cmdSearchClient_Click() {
    const bool clients = lookupKind_ == 1;
    contactsModel_->setRows(findContacts(app_.DbConnection, clients, txtFindClient->text()));
    labClientCount->setText(QStringLiteral("Found ") +
                            QString::number(contactsModel_->rowCount()) +
                            (clients ? QStringLiteral(" matching clients")
                                     : QStringLiteral(" matching customers")));
    if (contactsModel_->rowCount() > 0) {
        fgFindClient->selectRow(0);
    }
}

void frmJobs::fgFindClient_DblClick() {
    const int row = fgFindClient->currentIndex().row();
    if (row < 0 || contactsModel_->value(row, QStringLiteral("DummyId")).toLongLong() <= 0) {
        return;
    }
    const QString name = contactsModel_->value(row, QStringLiteral("Name")).toString();
    const QString address = contactsModel_->value(row, QStringLiteral("Address")).toString();
    const QString numbers = contactsModel_->value(row, QStringLiteral("Contact")).toString();
    const bool customer = lookupKind_ == 0;
    QLineEdit* nameBox = customer ? txtCustName : txtCliName;
    QPlainTextEdit* addressBox = customer ? txtHomeAddress : txtCliAddress;
    QPlainTextEdit* numbersBox = customer ? txtCustContactNos : txtCliNumbers;
    {
        const QScopedValueRollback<bool> filling(filling_, true);
        nameBox->setText(name);
        addressBox->setPlainText(address);
        numbersBox->setPlainText(numbers);
    }
    panFindClient->hide();
    if (!JobLoaded) {
        refuseTyping();
        return;
    }
    ButtonsToSave();
    // The user goes on with the contact just chosen, on its own tab, where it lacks something.
    tabJobs->setCurrentIndex(customer ? 0 : 1);
    if (name.isEmpty()) {
        nameBox->setFocus();
    } else if (address.isEmpty()) {
        addressBox->setFocus();
    } else {
        numbersBox->setFocus();
    }
}

void frmJobs::cmdCloseClient_Click() { panFindClient->hide(); }

void frmJobs::cmdFindEngineer_Click() {
    labEngineers->setText(app_.FieldCaptions[8]);
    showPanel(panEngineers);
    lstEngineers->clear();
    lstEngineers->addItems(engineerNames(app_.DbConnection));
}

void frmJobs::lstEngineers_DblClick() {
    const QListWidgetItem* chosen = lstEngineers->currentItem();
    const QString name = chosen ? chosen->text() : QString();
    if (!name.isEmpty() && name != txtClientRef->text()) {
        txtClientRef->setText(name.trimmed());
        ButtonsToSave();
        txtClientRef->setFocus();
    }
    panEngineers->hide();
}

void frmJobs::lstEngineers_RightClick() {
    const QListWidgetItem* chosen = lstEngineers->currentItem();
    const QString name = chosen ? chosen->text() : QString();
    if (app_.prompter.message(QStringLiteral("Do you really want to remove this entry?"),
                              QStringLiteral("Remove ") + name, Prompter::Buttons::YesNo,
                              Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return;
    }
    DeleteEngineer(app_.DbConnection, name);
    panEngineers->hide();
}

void frmJobs::cmdCloseEngineers_Click() { panEngineers->hide(); }

void frmJobs::Label1_DblClick(int index) {
    showPanel(panLabels);
    txtLabel->setFocus();
    editedLabel_ = index;
    txtLabel->setText(Label1[size_t(index)]->text());
    txtLabel->selectAll();
}

void frmJobs::cmdSaveLabels_Click() {
    if (editedLabel_ >= 0 && editedLabel_ < kLabelCount) {
        Label1[size_t(editedLabel_)]->setText(txtLabel->text().trimmed());
    }
    if (!saveCaptions(app_.DbConnection, captions())) {
        app_.prompter.message(QStringLiteral("The captions could not be saved.\r\n") +
                                  app_.DbConnection.lastError().message,
                              QStringLiteral("Captions Not Saved"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
    }
    panLabels->hide();
}

void frmJobs::cmdCloseLabels_Click() { panLabels->hide(); }
