#pragma once

#include "jobs/JobStore.h"
#include "records/JobFields.h"
#include "widgets/OpenScreens.h"
#include "widgets/TextBox.h"

#include <QWidget>
#include <array>

class AppState;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class RowsModel;

// The job screen: one job at a time with its customer, client, dates, references, free fields,
// status, invoicing and documents. Opened from the main window, one instance at a time.
class frmJobs : public QWidget, public UnsavedChanges {
    Q_OBJECT
public:
    static constexpr int kLabelCount = 36;

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
    void PopulateJobStatus(QListWidget* list);
    void PopulateJobStatus(QComboBox* list);

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
    void fgFindClient_DblClick();
    void cmdCloseClient_Click();
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
    void cmdPrintJobSheet_Click();
    void cmdSaveLabels_Click();
    void cmdCloseLabels_Click();

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

    std::array<QLabel*, kLabelCount> Label1{};
    QTabWidget* tabJobs;
    std::array<QFrame*, 3> panStatus{};
    std::array<QLabel*, 3> labJobNumber{};
    std::array<QLabel*, 3> labJobStatus{};
    std::array<QPushButton*, 3> cmdChangeStatus{};

    QComboBox* comIntroduced;
    QLineEdit* txtClientRef;
    QPushButton* cmdFindEngineer;
    QLineEdit* txtCustName;
    QPlainTextEdit* txtHomeAddress;
    QPlainTextEdit* txtCustContactNos;
    std::array<QPushButton*, 2> cmdFindClient{};
    TextBox* txtWorkDetails;
    TextBox* txtNotes;
    QLineEdit* txtDateCreated;
    QLineEdit* txtDateReceived;
    QLineEdit* txtDateDue;
    QLineEdit* txtQuoteDate;
    QLineEdit* txtDateCompleted;
    QLineEdit* txtCustRef;
    std::array<QLineEdit*, 7> txtUnused1{};
    QComboBox* comInvoiceStatus;
    QLineEdit* txtPrice;
    QLineEdit* txtInvoiceDate;
    QLineEdit* txtCliName;
    QPlainTextEdit* txtCliAddress;
    QPlainTextEdit* txtCliNumbers;
    QPlainTextEdit* txtCliNotes;

    QTableView* fgDocs;
    QPushButton* cmdNewDoc;
    QPushButton* cmdDeleteDoc;
    QPushButton* cmdEditDoc;

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

    QFrame* panNewStatus;
    QListWidget* lstJobStatus;
    QPushButton* cmdChange;
    QPushButton* SSCommand1;

    QFrame* panFindClient;
    QLineEdit* txtFindClient;
    QPushButton* cmdSearchClient;
    QTableView* fgFindClient;
    QLabel* labClientCount;
    QPushButton* cmdCloseClient;

    QFrame* panEngineers;
    QLabel* labEngineers;
    QListWidget* lstEngineers;
    QPushButton* cmdCloseEngineers;

    QFrame* panLabels;
    QLineEdit* txtLabel;
    QPushButton* cmdSaveLabels;
    QPushButton* cmdCloseLabels;

    QFrame* panDocs;
    QComboBox* comDocType;
    QLabel* labDocType;
    QComboBox* comDocAddress;
    QLineEdit* txtDocTitle;
    QPushButton* cmdSaveDoc;
    QPushButton* cmdCancelDocs;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Building the screen.
    QWidget* buildJobTab();
    QWidget* buildClientTab();
    QWidget* buildDocumentsTab();
    QWidget* buildControlColumn();
    QFrame* buildStatusPanel(int index);
    void buildPopups();
    QLabel* caption(int index, QWidget* buddy = nullptr);
    template <class Box>
    Box* field(Box* box, const char* name);
    void wireBehaviour();

    // The fields every job shares: highlight, typing refused while no job is on screen.
    bool isJobField(QObject* watched) const;
    bool isDateBox(QObject* watched) const;
    bool handleTyping(QObject* watched, class QKeyEvent* key);
    void refuseTyping();
    void setJobLoaded(bool loaded);
    void showFields(const JobFields& fields);
    // Each date box with the column that stores it and its text in the fields.
    struct DateBoxField {
        QString column;
        QLineEdit* box;
        QString text;
    };
    std::array<DateBoxField, 6> dateBoxes(const JobFields& fields) const;
    void setStatusCaption(const QString& status);
    void setJobNumberCaption(const QString& number);
    void stampDateTime(QPlainTextEdit* box);
    void checkPriceBox();
    void showPanel(QFrame* panel);
    // Shows what another workstation did to the job on the screen: a job not being edited is
    // shown again as stored; one being edited keeps its typing and gets a notice.
    void followChanges(const QStringList& tables);
    void showNotice(const QString& text);
    bool editingJob() const;
    // Tells why a save was refused: the server away, or the database's reason.
    void refuseSave(const QString& error);
    bool refuseDocumentWithoutJob();
    void setDocumentPanelOpen(bool open);
    // The documents just listed: the first one current, the date column as wide as its dates.
    void showDocuments();
    // Any change of a box's text by the user, however made, starts editing a loaded job.
    void markEdited();
    // Tab and Shift+Tab go through each tab's boxes in reading order.
    void setFocusOrder();
    // Date boxes wide enough for every date of the display format.
    void fitDateBoxes();

    AppState& app_;
    JobRow row_;  // the stored row the screen shows, at the version it was read
    bool JobLoaded = false;
    bool ChangesPending = false;
    int lookupKind_ = 0;    // 0 customers, 1 clients
    int editedLabel_ = -1;  // the caption being renamed
    bool filling_ = false;  // the screen is filling the boxes, not the user typing
    RowsModel* docsModel_;
    RowsModel* contactsModel_;
    QList<QWidget*> jobFields_;
    QList<QLineEdit*> dateBoxes_;
};

// Shows the one job screen, opening it on the last job when it is not open yet, and brings it
// to the front.
frmJobs* showJobScreen(AppState& app);
