// The job screen's tabs, panels and control column, and what their signals start.

#include "jobs/frmJobs.h"

#include "jobs/CaptionLabels.h"
#include "jobs/ClientPage.h"
#include "jobs/DocumentsPage.h"
#include "jobs/JobFieldGroup.h"
#include "jobs/JobPage.h"
#include "jobs/JobPanels.h"

#include "platform/Prompter.h"
#include "records/AppState.h"
#include "widgets/CentreForm.h"
#include "widgets/Controls.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

frmJobs::frmJobs(AppState& app, QWidget* parent)
    : QWidget(parent, Qt::Window), app_(app), labels_(new CaptionLabels(this)) {
    setObjectName(QStringLiteral("frmJobs"));
    setWindowTitle(QStringLiteral("Verdell Standard [Jobs]"));

    jobPage_ = new JobPage(app_, *labels_);
    clientPage_ = new ClientPage(app_, *labels_);
    documentsPage_ = new DocumentsPage(app_, *labels_);
    tabJobs = new QTabWidget(this);
    tabJobs->setObjectName(QStringLiteral("tabJobs"));
    // On a small screen the pages scroll rather than push the window off the screen.
    tabJobs->addTab(scrollingPage(jobPage_), QStringLiteral("Customer / &Job Details"));
    tabJobs->addTab(scrollingPage(clientPage_), QStringLiteral("Client &Details"));
    tabJobs->addTab(scrollingPage(documentsPage_), QStringLiteral("Doc&uments"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(tabJobs, 1);
    layout->addWidget(buildControlColumn());

    statusPanel_ = new StatusPanel(this);
    lookupPanel_ = new LookupPanel(this);
    engineersPanel_ = new EngineersPanel(this);
    captionsPanel_ = new CaptionsPanel(this);
    documentPanel_ = new NewDocumentPanel(this, *labels_);

    wireBehaviour();
    ButtonsToNew();
    setJobLoaded(false);
    resize(1000, 690);
}

frmJobs::~frmJobs() = default;

QWidget* frmJobs::buildControlColumn() {
    auto* column = new QWidget(this);
    column->setFixedWidth(180);
    fraJobControlPanel = new QGroupBox(QStringLiteral("Job Control Panel"), column);
    fraJobControlPanel->setObjectName(QStringLiteral("fraJobControlPanel"));
    cmdNewJob = makeButton(fraJobControlPanel, "cmdNewJob", QStringLiteral("&New Job"),
                           QStringLiteral("Create a new job / estimate"));
    cmdSave = makeButton(fraJobControlPanel, "cmdSave", QStringLiteral("Save"),
                         QStringLiteral("Save changes"));
    cmdCancel = makeButton(fraJobControlPanel, "cmdCancel", QStringLiteral("&Cancel"),
                           QStringLiteral("Cancel the current changes"));
    cmdDelete = makeButton(fraJobControlPanel, "cmdDelete", QStringLiteral("Delete"),
                           QStringLiteral("Delete the current job."));
    cmdPrintJobSheet =
        makeButton(fraJobControlPanel, "cmdPrintJobSheet", QStringLiteral("Print Job Sheet"),
                   QStringLiteral("Print the current job sheet."));
    cmdExit = makeButton(fraJobControlPanel, "cmdExit", QStringLiteral("E&xit"),
                         QStringLiteral("Exit the jobs screen."));
    cmdSave->setShortcut(QKeySequence::Save);
    auto* controls = new QVBoxLayout(fraJobControlPanel);
    for (QPushButton* b : {cmdNewJob, cmdSave, cmdCancel, cmdDelete, cmdPrintJobSheet, cmdExit}) {
        b->setMinimumHeight(32);
        controls->addWidget(b);
    }

    fraClientDetails = new QGroupBox(QStringLiteral("Search Details"), column);
    fraClientDetails->setObjectName(QStringLiteral("fraClientDetails"));
    txtSearch = new QLineEdit(fraClientDetails);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    JobFieldGroup::highlight(txtSearch);
    cmdSearch = makeButton(fraClientDetails, "cmdSearch", QStringLiteral("S&earch"),
                           QStringLiteral("Search for a specific job."));
    auto* search = new QVBoxLayout(fraClientDetails);
    search->addWidget(labels_->make(fraClientDetails, Caption::SearchFor, txtSearch));
    search->addWidget(txtSearch);
    search->addWidget(cmdSearch);

    labChangedElsewhere = new QLabel(column);
    labChangedElsewhere->setObjectName(QStringLiteral("labChangedElsewhere"));
    labChangedElsewhere->setWordWrap(true);
    labChangedElsewhere->setStyleSheet(QStringLiteral("color: #7a4b00;"));
    labChangedElsewhere->hide();

    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 22, 0, 0);
    layout->addWidget(fraJobControlPanel);
    layout->addWidget(fraClientDetails);
    layout->addWidget(labChangedElsewhere);
    layout->addStretch();
    return column;
}

void frmJobs::wireBehaviour() {
    connect(cmdNewJob, &QPushButton::clicked, this, &frmJobs::cmdNewJob_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmJobs::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmJobs::cmdCancel_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmJobs::cmdDelete_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmJobs::cmdExit_Click);
    connect(cmdSearch, &QPushButton::clicked, this, &frmJobs::cmdSearch_Click);
    connect(cmdPrintJobSheet, &QPushButton::clicked, this, &frmJobs::cmdPrintJobSheet_Click);
    // Enter in the search box searches while no job is loaded.
    connect(txtSearch, &QLineEdit::returnPressed, this, [this] {
        if (!txtSearch->text().isEmpty() && !JobLoaded) {
            cmdSearch_Click();
        }
    });

    connect(jobPage_, &JobPage::changeStatusClicked, this, [this] { cmdChangeStatus_Click(0); });
    connect(documentsPage_, &DocumentsPage::changeStatusClicked, this,
            [this] { cmdChangeStatus_Click(1); });
    connect(clientPage_, &ClientPage::changeStatusClicked, this,
            [this] { cmdChangeStatus_Click(2); });
    connect(jobPage_, &JobPage::edited, this, &frmJobs::ButtonsToSave);
    connect(clientPage_, &ClientPage::edited, this, &frmJobs::ButtonsToSave);
    connect(jobPage_, &JobPage::refused, this, &frmJobs::refuseTyping);
    connect(clientPage_, &ClientPage::refused, this, &frmJobs::refuseTyping);
    connect(jobPage_, &JobPage::findCustomerClicked, this, [this] { cmdFindClient_Click(0); });
    connect(clientPage_, &ClientPage::findClientClicked, this, [this] { cmdFindClient_Click(1); });
    connect(jobPage_, &JobPage::findEngineerClicked, this, &frmJobs::cmdFindEngineer_Click);
    connect(documentsPage_, &DocumentsPage::newDocumentClicked, this, &frmJobs::cmdNewDoc_Click);
    connect(documentsPage_, &DocumentsPage::editDocumentClicked, this, &frmJobs::cmdEditDoc_Click);
    connect(documentsPage_, &DocumentsPage::emailDocumentClicked, this,
            &frmJobs::cmdEmailDoc_Click);
    connect(documentsPage_, &DocumentsPage::deleteDocumentClicked, this,
            &frmJobs::cmdDeleteDoc_Click);
    connect(documentsPage_, &DocumentsPage::attachFilesClicked, this,
            &frmJobs::cmdAttachFiles_Click);
    connect(documentsPage_, &DocumentsPage::filesDropped, this, &frmJobs::attachFiles);

    connect(statusPanel_, &StatusPanel::changeClicked, this, &frmJobs::cmdChange_Click);
    connect(statusPanel_, &StatusPanel::closeClicked, this, &frmJobs::SSCommand1_Click);
    connect(lookupPanel_, &LookupPanel::searchClicked, this, &frmJobs::cmdSearchClient_Click);
    connect(lookupPanel_, &LookupPanel::searchEdited, this, &frmJobs::txtFindClient_Change);
    connect(lookupPanel_, &LookupPanel::contactChosen, this, &frmJobs::fgFindClient_DblClick);
    connect(lookupPanel_, &LookupPanel::closeClicked, this, &frmJobs::cmdCloseClient_Click);
    connect(lookupPanel_, &LookupPanel::exportClicked, this, &frmJobs::cmdExportLookup_Click);
    connect(engineersPanel_, &EngineersPanel::nameChosen, this, &frmJobs::lstEngineers_DblClick);
    connect(engineersPanel_, &EngineersPanel::removeClicked, this,
            &frmJobs::lstEngineers_RightClick);
    connect(engineersPanel_, &EngineersPanel::closeClicked, this,
            &frmJobs::cmdCloseEngineers_Click);
    connect(captionsPanel_, &CaptionsPanel::saveClicked, this, &frmJobs::cmdSaveLabels_Click);
    connect(captionsPanel_, &CaptionsPanel::closeClicked, this, &frmJobs::cmdCloseLabels_Click);
    connect(labels_, &CaptionLabels::doubleClicked, this, &frmJobs::Label1_DblClick);
    connect(documentPanel_, &NewDocumentPanel::createClicked, this, &frmJobs::cmdSaveDoc_Click);
    connect(documentPanel_, &NewDocumentPanel::cancelClicked, this, &frmJobs::cmdCancelDocs_Click);
    connect(documentPanel_, &NewDocumentPanel::templateChosen, this, &frmJobs::comDocType_Click);
    connect(&app_.changes, &ChangeWatcher::changed, this, &frmJobs::followChanges);
    connect(&app_.FieldCaptions, &CaptionSet::changed, this, &frmJobs::showCaptions);
}

void frmJobs::refuseTyping() {
    app_.prompter.message(
        QStringLiteral("If you are trying to create a new job you need to press 'New Job' first"),
        QStringLiteral("No Job Loaded"), Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
}

void frmJobs::setJobLoaded(bool loaded) {
    JobLoaded = loaded;
    jobPage_->setJobLoaded(loaded);
    clientPage_->setJobLoaded(loaded);
}

frmJobs* showJobScreen(AppState& app) {
    return static_cast<frmJobs*>(showScreen(app, QStringLiteral("frmJobs"), [&app]() -> QWidget* {
        auto* jobs = new frmJobs(app);
        jobs->Form_Load();
        return jobs;
    }));
}
