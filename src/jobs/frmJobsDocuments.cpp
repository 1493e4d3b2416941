// The job screen's documents: creating one from a template, opening, removing, and printing the
// job sheet from the default template.

#include "jobs/frmJobs.h"

#include "common/Numbers.h"
#include "db/RowsModel.h"
#include "documents/JobDocuments.h"
#include "documents/MergeEngine.h"
#include "documents/TemplateTools.h"
#include "documents/TextRoutines.h"
#include "platform/Launcher.h"
#include "platform/Prompter.h"
#include "platform/ScreenMetrics.h"
#include "records/AppState.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

void frmJobs::PopulateLetterTypes() {
    if (app_.TemplateFolder.isEmpty()) {
        return;
    }
    comDocType->clear();
    comDocType->addItems(availableTemplates(templatesFolder(app_)));
    comDocType->setCurrentIndex(-1);
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
    panDocs->setVisible(open);
    if (open) {
        showPanel(panDocs);
    }
    fraJobControlPanel->setEnabled(!open);
    fraClientDetails->setEnabled(!open);
}

void frmJobs::cmdNewDoc_Click() {
    if (refuseDocumentWithoutJob()) {
        return;
    }
    setDocumentPanelOpen(true);
    txtDocTitle->clear();
    // No template is chosen for the user: Create asks for one until one is picked.
    comDocType->setCurrentIndex(-1);
    labDocType->clear();
    comDocType->setFocus();
}

void frmJobs::cmdCancelDocs_Click() {
    setDocumentPanelOpen(false);
}

void frmJobs::comDocType_Click() {
    const QString ext = GetFileExtension(comDocType->currentText()).toUpper();
    if (ext == QLatin1String("XLT") || ext == QLatin1String("XLTX")) {
        labDocType->setText(QStringLiteral("Excel"));
    } else if (ext == QLatin1String("DOT") || ext == QLatin1String("DOTX")) {
        labDocType->setText(QStringLiteral("Word"));
    } else {
        labDocType->clear();
    }
}

void frmJobs::cmdSaveDoc_Click() {
    if (comDocType->currentText().isEmpty()) {
        app_.prompter.message(
            QStringLiteral("You must select a document type before pressing Create"),
            QStringLiteral("No Document Type Selected!"), Prompter::Buttons::Ok,
            Prompter::Icon::Information);
        comDocType->setFocus();
        return;
    }
    if (refuseDocumentWithoutJob()) {
        return;
    }
    const QString templateName = comDocType->currentText();
    if (txtDocTitle->text().isEmpty()) {
        txtDocTitle->setText(templateName);
    }
    const QString typed = txtDocTitle->text() == templateName ? QString() : txtDocTitle->text();
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

void frmJobs::showDocuments() {
    if (docsModel_->rowCount() > 0) {
        fgDocs->selectRow(0);
    }
    const int designed = app_.screen.toPixelsX(docsModel_->columns()[0].widthTwips);
    fgDocs->resizeColumnToContents(0);
    fgDocs->setColumnWidth(0, qMax(designed, fgDocs->columnWidth(0)));
}

void frmJobs::cmdEditDoc_Click() {
    const int row = fgDocs->currentIndex().row();
    const QString name =
        row < 0 ? QString()
                : docsModel_->value(row, QStringLiteral("FileName")).toString().trimmed();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    openSavedDocument(app_, name);
    QApplication::restoreOverrideCursor();
}

void frmJobs::cmdDeleteDoc_Click() {
    const int row = fgDocs->currentIndex().row();
    if (row < 0 || numbers::leadingNumber(
                       docsModel_->value(row, QStringLiteral("FileName")).toString()) == 0) {
        return;
    }
    const qint64 id = docsModel_->value(row, QStringLiteral("DummyId")).toLongLong();
    if (app_.prompter.message(QStringLiteral("Are you sure you want to remove this document?"),
                              QStringLiteral("Remove ") + QString::number(id),
                              Prompter::Buttons::YesNoCancel,
                              Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return;
    }
    if (!deleteDocument(app_.DbConnection, id)) {
        app_.prompter.message(QStringLiteral("The document could not be removed.\r\n") +
                                  app_.DbConnection.lastError().message,
                              QStringLiteral("Document Not Removed"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
    }
    LoadDocs(jobNumber());
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
    if (comDocType->findText(*name) < 0) {
        comDocType->addItem(*name);
    }
    comDocType->setCurrentIndex(comDocType->findText(*name));
    cmdSaveDoc_Click();
}
