// The job screen's documents: creating one from a template, opening, removing, and printing the
// job sheet from the default template.

#include "jobs/DocumentsPage.h"
#include "jobs/JobPanels.h"
#include "jobs/frmJobs.h"

#include "documents/JobDocuments.h"
#include "documents/MailRecipients.h"
#include "documents/MergeEngine.h"
#include "documents/SendByEmail.h"
#include "documents/TemplateTools.h"
#include "platform/Launcher.h"
#include "platform/Prompter.h"
#include "records/AppState.h"

#include <QApplication>
#include <QGroupBox>

void frmJobs::PopulateLetterTypes() {
    if (app_.TemplateFolder.isEmpty()) {
        return;
    }
    documentPanel_->setTemplates(availableTemplates(templatesFolder(app_)));
}

bool frmJobs::refuseDocumentWithoutJob() {
    if (JobLoaded && jobNumber() > 0) {
        return false;
    }
    app_.prompter.message(
        QStringLiteral("You have to load or create a job before assigning a document to it!"),
        QStringLiteral("No Job Loaded!"), Prompter::Buttons::Ok, Prompter::Icon::Information);
    return true;
}

void frmJobs::setDocumentPanelOpen(bool open) {
    documentPanel_->setVisible(open);
    if (open) {
        documentPanel_->showOver();
    }
    fraJobControlPanel->setEnabled(!open);
    fraClientDetails->setEnabled(!open);
}

void frmJobs::cmdNewDoc_Click() {
    if (refuseDocumentWithoutJob()) {
        return;
    }
    setDocumentPanelOpen(true);
    documentPanel_->open();
}

void frmJobs::cmdCancelDocs_Click() {
    setDocumentPanelOpen(false);
}

void frmJobs::comDocType_Click() {
    documentPanel_->showTemplateKind();
}

void frmJobs::cmdSaveDoc_Click() {
    if (documentPanel_->templateName().isEmpty()) {
        app_.prompter.message(
            QStringLiteral("You must select a document type before pressing Create"),
            QStringLiteral("No Document Type Selected!"), Prompter::Buttons::Ok,
            Prompter::Icon::Information);
        documentPanel_->focusTemplate();
        return;
    }
    if (refuseDocumentWithoutJob()) {
        return;
    }
    const QString templateName = documentPanel_->templateName();
    if (documentPanel_->title().isEmpty()) {
        documentPanel_->setTitle(templateName);
    }
    const QString title = documentPanel_->title();
    const QString typed = title == templateName ? QString() : title;
    setDocumentPanelOpen(false);
    QApplication::processEvents();
    if (!app_.BackgroundPrinting) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    const MadeDocument doc = makeJobDocument(app_, jobNumber(), templateName, typed, snapshot());
    if (!app_.BackgroundPrinting) {
        QApplication::restoreOverrideCursor();
    }
    const int errorNumber = app_.DbConnection.lastError().number();
    LoadDocs(jobNumber());
    if (!doc.error.isEmpty()) {
        app_.prompter.message(QStringLiteral("cmdSaveDoc Error ") + QString::number(errorNumber) +
                              QStringLiteral("\r\n") + doc.error);
    }
}

void frmJobs::cmdEditDoc_Click() {
    const QString name = documentsPage_->currentFileName();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    openSavedDocument(app_, name);
    QApplication::restoreOverrideCursor();
}

void frmJobs::cmdDeleteDoc_Click() {
    const qint64 id = documentsPage_->currentDocumentId();
    const QString fileName = documentsPage_->currentFileName();
    if (id == 0) {
        return;
    }
    if (app_.prompter.message(QStringLiteral("Are you sure you want to remove this document?"),
                              QStringLiteral("Remove ") + QString::number(id),
                              Prompter::Buttons::YesNoCancel,
                              Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return;
    }
    const std::optional<bool> removeCopy = removeCopyToo(fileName);
    if (!removeCopy) {
        return;
    }
    if (!deleteDocument(app_.DbConnection, id)) {
        app_.prompter.message(QStringLiteral("The document could not be removed.\r\n") +
                                  app_.DbConnection.lastError().message,
                              QStringLiteral("Document Not Removed"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
    } else if (*removeCopy) {
        removeAttachmentCopies({fileName});
    }
    LoadDocs(jobNumber());
}

void frmJobs::cmdEmailDoc_Click() {
    const QString name = documentsPage_->currentFileName();
    const QString job = QStringLiteral("Job ") + QString::number(jobNumber());
    const QString title = documentsPage_->currentTitle().trimmed();
    const JobFields fields = snapshot();
    sendByEmail(app_, this,
                {name.isEmpty() ? QString() : documentsFolder(app_) + u'/' + name,
                 title.isEmpty() ? job : job + QStringLiteral(" - ") + title,
                 title.isEmpty() ? job : job + QStringLiteral(": ") + title},
                mail::jobRecipients(app_.DbConnection, fields.WorkName, fields.CliName));
}

void frmJobs::cmdPrintJobSheet_Click() {
    const auto name = defaultTemplate(app_.DbConnection);
    if (!name) {
        app_.prompter.message(QStringLiteral("You need to set a default template before you can "
                                             "print using this option\r\nSee Setup / Documents - "
                                             "Templates"),
                              QStringLiteral("No Default Template Specified"),
                              Prompter::Buttons::Ok, Prompter::Icon::Information);
        return;
    }
    documentPanel_->chooseTemplate(*name);
    cmdSaveDoc_Click();
}
