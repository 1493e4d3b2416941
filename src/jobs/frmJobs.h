#pragma once

#include "db/LabelTexts.h"
#include "jobs/JobStore.h"
#include "records/JobFields.h"
#include "widgets/OpenScreens.h"

#include <QWidget>
#include <array>
#include <optional>

class AppState;
class CaptionLabels;
class CaptionsPanel;
class ClientPage;
class DocumentsPage;
class EngineersPanel;
class JobPage;
class LookupPanel;
class NewDocumentPanel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class StatusPanel;
class TypingSearch;

// The job screen: one job at a time with its customer, client, dates, references, free fields,
// status, invoicing and documents. Opened from the main window, one instance at a time. The
// screen keeps the job's state and answers its buttons; its tabs (JobPage, ClientPage,
// DocumentsPage) and pop-up panels (JobPanels.h) own their controls.
class frmJobs : public QWidget, public UnsavedChanges {
    Q_OBJECT
public:
    static constexpr int kLabelCount = captions::kLabelCount;

    explicit frmJobs(AppState& app, QWidget* parent = nullptr);
    ~frmJobs() override;

    // Opening: options, captions, lists, then the job last shown.
    void Form_Load();
    // Shows a job: 0 when it was found, 1 when not (the fields then stay as they were).
    int LoadJob(qint32 JobNumber);
    void ClearJobScreen();
    void LoadCaptions();
    void ButtonsToSave();
    void ButtonsToNew();
    void LoadDocs(qint32 JobNumber);
    void ConstructDocGrid();
    void PopulateLetterTypes();
    void PopulateJobStatus();

    void cmdNewJob_Click();
    // True when the job was saved.
    bool cmdSave_Click();
    void cmdCancel_Click();
    void cmdDelete_Click();
    void cmdExit_Click();
    void cmdSearch_Click();
    void cmdChangeStatus_Click(int index);
    void cmdChange_Click();
    void SSCommand1_Click();
    void cmdFindClient_Click(int index);
    void cmdSearchClient_Click();
    // The lookup's search text changed: searches when the typing pauses.
    void txtFindClient_Change();
    void fgFindClient_DblClick();
    void cmdCloseClient_Click();
    // The lookup list's "Export to CSV...": asks for a file and writes the contacts listed.
    void cmdExportLookup_Click();
    void cmdFindEngineer_Click();
    void lstEngineers_DblClick();
    void lstEngineers_RightClick();
    void cmdCloseEngineers_Click();
    void Label1_DblClick(int index);
    void cmdNewDoc_Click();
    void cmdCancelDocs_Click();
    void comDocType_Click();
    void cmdSaveDoc_Click();
    void cmdEditDoc_Click();
    void cmdDeleteDoc_Click();
    void cmdEmailDoc_Click();
    void cmdPrintJobSheet_Click();
    void cmdAttachFiles_Click();
    void cmdSaveLabels_Click();
    void cmdCloseLabels_Click();

    // Starts a new job holding the values given (the job number and status aside; the date
    // created is today's unless given) and saves it: true when it was saved. What could not be
    // saved stays on the screen with the reason told.
    bool startJob(const JobFields& fields);

    // Copies the files into the job's documents and lists them; tells what could not be.
    void attachFiles(const QStringList& paths);

    // The job as the screen shows it now, unsaved edits included.
    JobFields snapshot() const;
    // The job number on the screen; 0 for none or a new job.
    qint32 jobNumber() const;
    bool jobLoaded() const { return JobLoaded; }
    bool changesPending() const { return ChangesPending; }
    // The captions of the screen's labels, by index.
    std::array<QString, kLabelCount> captions() const;

    // The job's unsaved changes, settled from outside the screen.
    bool hasUnsavedChanges() const override { return ChangesPending; }
    QString unsavedChangesName() const override;
    bool saveChanges() override { return cmdSave_Click(); }
    void discardChanges() override { ChangesPending = false; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildControlColumn();
    void wireBehaviour();
    void refuseTyping();
    // The captions of the labels as the shared captions hold them.
    void showCaptions();
    void setJobLoaded(bool loaded);
    void showFields(const JobFields& fields);
    void setStatusCaption(const QString& status);
    void setJobNumberCaption(const QString& number);
    // Shows what another workstation did to the job on the screen: a job not being edited is
    // shown again as stored; one being edited keeps its typing and gets a notice.
    void followChanges(const QStringList& tables);
    void showNotice(const QString& text);
    bool editingJob() const;
    // Tells why a save was refused: the server away, or the database's reason.
    void refuseSave(const QString& error);
    bool refuseDocumentWithoutJob();
    void setDocumentPanelOpen(bool open);
    void stopLookupTyping();
    // Asks whether the attachment's copy goes with its row: no value on Cancel.
    std::optional<bool> removeCopyToo(const QString& fileName);
    // Asks whether the job's attachments go with it: the copies to remove, or no value on
    // Cancel.
    std::optional<QStringList> attachmentsGoingWithJob(qint32 jobNo);
    // Removes attachments' copies, telling which could not be.
    void removeAttachmentCopies(const QStringList& fileNames);

    AppState& app_;
    jobs::JobRow row_;  // the stored row the screen shows, at the version it was read
    bool JobLoaded = false;
    bool ChangesPending = false;
    QString shownNumber_;   // the job number as the tabs show it
    QString shownStatus_;   // the status as the tabs show it
    int lookupKind_ = 0;    // 0 customers, 1 clients
    int editedLabel_ = -1;  // the caption being renamed

    CaptionLabels* labels_;
    QTabWidget* tabJobs;
    JobPage* jobPage_;
    ClientPage* clientPage_;
    DocumentsPage* documentsPage_;
    StatusPanel* statusPanel_;
    LookupPanel* lookupPanel_;
    TypingSearch* lookupTyping_ = nullptr;  // made on the first keystroke in the lookup
    EngineersPanel* engineersPanel_;
    CaptionsPanel* captionsPanel_;
    NewDocumentPanel* documentPanel_;

    QGroupBox* fraJobControlPanel;
    QPushButton* cmdNewJob;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    QPushButton* cmdDelete;
    QPushButton* cmdPrintJobSheet;
    QPushButton* cmdExit;
    QGroupBox* fraClientDetails;
    QLineEdit* txtSearch;
    QPushButton* cmdSearch;
    // A quiet notice that another workstation changed or deleted the job on the screen.
    QLabel* labChangedElsewhere;
};

// Shows the one job screen, opening it on the last job when it is not open yet, and brings it
// to the front.
frmJobs* showJobScreen(AppState& app);
