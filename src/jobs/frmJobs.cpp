// The job screen's controls and their arrangement.

#include "jobs/frmJobs.h"

#include "db/RowsModel.h"
#include "platform/ScreenMetrics.h"
#include "records/AppState.h"
#include "records/Captions.h"
#include "records/DateFormats.h"
#include "widgets/Controls.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <type_traits>

namespace {

QTableView* grid(QWidget* parent, const char* name, RowsModel* model) {
    auto* view = new QTableView(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(22);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

void sizeColumns(QTableView* view, const RowsModel* model, const ScreenMetrics& screen) {
    for (int c = 0; c < model->columns().size(); ++c) {
        const int twips = model->columns()[c].widthTwips;
        view->setColumnHidden(c, twips == 0);
        if (twips > 0) {
            view->setColumnWidth(c, screen.toPixelsX(twips));
        }
    }
}

const QString kHeading = QStringLiteral("font-weight: bold; color: #1f3a5f; font-size: 11pt;");

// A label above its box.
QVBoxLayout* stacked(QLabel* label, QWidget* box) {
    auto* pair = new QVBoxLayout;
    pair->setSpacing(1);
    pair->addWidget(label);
    pair->addWidget(box, 1);
    return pair;
}

}  // namespace

frmJobs::frmJobs(AppState& app, QWidget* parent) : QWidget(parent, Qt::Window), app_(app) {
    setObjectName(QStringLiteral("frmJobs"));
    setWindowTitle(QStringLiteral("Verdell Standard [Jobs]"));

    docsModel_ = new RowsModel({{QStringLiteral("Date"), QStringLiteral("Date"),
                                 [this](const QVariant& v) {
                                     const QDateTime at = datetext::fromStored(v);
                                     return at.isValid()
                                                ? formatDisplayDate(app_, at) +
                                                      QStringLiteral(", ") +
                                                      at.time().toString(QStringLiteral("hh:mm:ss"))
                                                : QString();
                                 },
                                 1700},
                                {QStringLiteral("Description"), QStringLiteral("Title"), {}, 6800},
                                {QStringLiteral("DummyId"), QStringLiteral("DummyId"), {}, 0},
                                {QStringLiteral("FileName"), QStringLiteral("FileName"),
                                 [](const QVariant& v) { return v.toString().trimmed(); }, 0}},
                               this);
    contactsModel_ = new RowsModel({{QStringLiteral("Name"), QStringLiteral("Name"), {}, 1600},
                                    {QStringLiteral("Address"), QStringLiteral("Address"),
                                     [](const QVariant& v) {
                                         return v.toString()
                                             .split(QStringLiteral("\n"))
                                             .join(QStringLiteral(" "))
                                             .simplified();
                                     },
                                     2500},
                                    {QStringLiteral("Numbers"), QStringLiteral("Contact"), {}, 0},
                                    {QStringLiteral("DummyId"), QStringLiteral("DummyId"), {}, 0}},
                                   this);

    tabJobs = new QTabWidget(this);
    tabJobs->setObjectName(QStringLiteral("tabJobs"));
    tabJobs->addTab(buildJobTab(), QStringLiteral("Customer / &Job Details"));
    tabJobs->addTab(buildClientTab(), QStringLiteral("Client &Details"));
    tabJobs->addTab(buildDocumentsTab(), QStringLiteral("Doc&uments"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(tabJobs, 1);
    layout->addWidget(buildControlColumn());

    buildPopups();
    setFocusOrder();
    wireBehaviour();
    ButtonsToNew();
    setJobLoaded(false);
    resize(1000, 690);
}

frmJobs::~frmJobs() = default;

QLabel* frmJobs::caption(int index, QWidget* buddy) {
    auto* label = new QLabel(captions::defaults()[size_t(index)], this);
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    label->setToolTip(QStringLiteral("Double-click to rename this caption."));
    if (buddy) {
        label->setBuddy(buddy);
    }
    Label1[size_t(index)] = label;
    return label;
}

template <class Box>
Box* frmJobs::field(Box* box, const char* name) {
    box->setObjectName(QString::fromLatin1(name));
    if constexpr (std::is_base_of_v<QPlainTextEdit, Box>) {
        box->setTabChangesFocus(true);  // Tab moves on; a tab character belongs in no field
    }
    jobFields_ << box;
    return box;
}

QFrame* frmJobs::buildStatusPanel(int index) {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("panStatus_%1").arg(index));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setStyleSheet(QStringLiteral("#panStatus_%1 { background: #eef2f7; }").arg(index));
    panStatus[size_t(index)] = panel;

    static constexpr int kNumberCaption[] = {9, 32, 12};
    static constexpr int kStatusCaption[] = {3, 33, 10};
    labJobNumber[size_t(index)] = new QLabel(panel);
    labJobNumber[size_t(index)]->setObjectName(QStringLiteral("labJobNumber_%1").arg(index));
    labJobStatus[size_t(index)] = new QLabel(panel);
    labJobStatus[size_t(index)]->setObjectName(QStringLiteral("labJobStatus_%1").arg(index));
    for (QLabel* value : {labJobNumber[size_t(index)], labJobStatus[size_t(index)]}) {
        value->setStyleSheet(QStringLiteral("font-weight: bold; color: #1f3a5f;"));
        value->setMinimumWidth(90);
    }
    cmdChangeStatus[size_t(index)] = makeButton(panel, "", QStringLiteral("Change Status"),
                                                QStringLiteral("Change the status of the job."));
    cmdChangeStatus[size_t(index)]->setObjectName(QStringLiteral("cmdChangeStatus_%1").arg(index));

    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(8, 4, 8, 4);
    row->addWidget(caption(kNumberCaption[index]));
    row->addWidget(labJobNumber[size_t(index)]);
    row->addSpacing(16);
    row->addWidget(caption(kStatusCaption[index]));
    row->addWidget(labJobStatus[size_t(index)], 1);
    row->addWidget(cmdChangeStatus[size_t(index)]);
    return panel;
}

QWidget* frmJobs::buildJobTab() {
    auto* page = new QWidget;
    comIntroduced = field(new QComboBox(page), "comIntroduced");
    comIntroduced->setEditable(true);
    comIntroduced->setInsertPolicy(QComboBox::NoInsert);
    txtClientRef = field(new QLineEdit(page), "txtClientRef");
    cmdFindEngineer =
        makeButton(page, "cmdFindEngineer", QStringLiteral("..."),
                   QStringLiteral("Click here to find an existing entry and assign it to "
                                  "this job."));
    cmdFindEngineer->setFixedWidth(32);

    txtCustName = field(new QLineEdit(page), "txtCustName");
    txtHomeAddress = field(new QPlainTextEdit(page), "txtHomeAddress");
    txtCustContactNos = field(new QPlainTextEdit(page), "txtCustContactNos");
    cmdFindClient[0] =
        makeButton(page, "cmdFindClient_0", QStringLiteral("Find Customer..."),
                   QStringLiteral("Click here to find an existing customer and assign "
                                  "them to this job."));
    txtWorkDetails = field(new TextBox(page), "txtWorkDetails");
    txtNotes = field(new TextBox(page), "txtNotes");
    txtDateCreated = field(new QLineEdit(page), "txtDateCreated");
    txtDateReceived = field(new QLineEdit(page), "txtDateReceived");
    txtDateDue = field(new QLineEdit(page), "txtDateDue");
    txtQuoteDate = field(new QLineEdit(page), "txtQuoteDate");
    txtDateCompleted = field(new QLineEdit(page), "txtDateCompleted");
    txtCustRef = field(new QLineEdit(page), "txtCustRef");
    for (size_t i = 0; i < txtUnused1.size(); ++i) {
        txtUnused1[i] = field(new QLineEdit(page), "");
        txtUnused1[i]->setObjectName(QStringLiteral("txtUnused1_%1").arg(i));
    }
    comInvoiceStatus = field(new QComboBox(page), "comInvoiceStatus");
    for (const QString& state : invoiceStatuses()) {
        comInvoiceStatus->addItem(state);
    }
    txtPrice = field(new QLineEdit(page), "txtPrice");
    txtPrice->setAlignment(Qt::AlignRight);
    txtInvoiceDate = field(new QLineEdit(page), "txtInvoiceDate");
    dateBoxes_ = {txtDateCreated, txtDateReceived,  txtDateDue,
                  txtQuoteDate,   txtDateCompleted, txtInvoiceDate};
    txtHomeAddress->setMinimumHeight(70);
    txtCustContactNos->setMaximumHeight(60);
    txtNotes->setMinimumHeight(90);

    auto* top = new QHBoxLayout;
    top->addWidget(caption(1, comIntroduced));
    top->addWidget(comIntroduced, 1);
    top->addSpacing(12);
    top->addWidget(caption(8, txtClientRef));
    top->addWidget(txtClientRef, 1);
    top->addWidget(cmdFindEngineer);

    auto* customer = new QVBoxLayout;
    customer->addLayout(stacked(caption(2, txtCustName), txtCustName));
    customer->addLayout(stacked(caption(4, txtHomeAddress), txtHomeAddress), 2);
    customer->addLayout(stacked(caption(7, txtCustContactNos), txtCustContactNos), 1);
    customer->addWidget(cmdFindClient[0], 0, Qt::AlignLeft);

    auto* work = stacked(caption(21, txtWorkDetails), txtWorkDetails);

    auto* dates = new QVBoxLayout;
    const std::pair<int, QLineEdit*> dateFields[] = {{11, txtDateCreated},
                                                     {0, txtDateReceived},
                                                     {5, txtDateDue},
                                                     {20, txtQuoteDate},
                                                     {6, txtDateCompleted}};
    for (const auto& [index, box] : dateFields) {
        dates->addLayout(stacked(caption(index, box), box));
    }
    auto* invoicing = new QGroupBox(QStringLiteral("Invoicing"), page);
    invoicing->setObjectName(QStringLiteral("fraInvoicing"));
    auto* invoiceForm = new QVBoxLayout(invoicing);
    invoiceForm->setSpacing(2);
    auto named = [page](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString::fromUtf8(text), page);
        l->setBuddy(buddy);
        return l;
    };
    invoiceForm->addLayout(stacked(named("In&voice Status:", comInvoiceStatus), comInvoiceStatus));
    invoiceForm->addLayout(stacked(named("&Price:", txtPrice), txtPrice));
    invoiceForm->addLayout(stacked(named("&Invoice Date:", txtInvoiceDate), txtInvoiceDate));
    dates->addWidget(invoicing);
    dates->addStretch();

    auto* references = new QVBoxLayout;
    references->addLayout(stacked(caption(15, txtCustRef), txtCustRef));
    static constexpr int kUnusedCaption[] = {22, 24, 25, 26, 27, 34, 35};
    for (size_t i = 0; i < txtUnused1.size(); ++i) {
        references->addLayout(stacked(caption(kUnusedCaption[i], txtUnused1[i]), txtUnused1[i]));
    }
    references->addStretch();

    auto* columns = new QHBoxLayout;
    columns->setSpacing(10);
    columns->addLayout(customer, 5);
    columns->addLayout(work, 5);
    columns->addLayout(dates, 3);
    columns->addLayout(references, 3);

    auto* frame = new QGroupBox(page);
    frame->setObjectName(QStringLiteral("fraJobDetails"));
    auto* inner = new QVBoxLayout(frame);
    inner->addLayout(top);
    inner->addLayout(columns, 1);
    inner->addLayout(stacked(caption(23, txtNotes), txtNotes));

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(buildStatusPanel(0));
    layout->addWidget(frame, 1);
    return page;
}

void frmJobs::setFocusOrder() {
    QList<QWidget*> job = {
        cmdChangeStatus[0], comIntroduced,     txtClientRef,     cmdFindEngineer,  txtCustName,
        txtHomeAddress,     txtCustContactNos, cmdFindClient[0], txtWorkDetails,   txtDateCreated,
        txtDateReceived,    txtDateDue,        txtQuoteDate,     txtDateCompleted, comInvoiceStatus,
        txtPrice,           txtInvoiceDate,    txtCustRef};
    for (QLineEdit* box : txtUnused1) {
        job << box;
    }
    job << txtNotes;
    const QList<QWidget*> client = {cmdChangeStatus[2], txtCliName,       txtCliAddress,
                                    txtCliNumbers,      cmdFindClient[1], txtCliNotes};
    for (const QList<QWidget*>& chain : {job, client}) {
        for (qsizetype i = 1; i < chain.size(); ++i) {
            setTabOrder(chain[i - 1], chain[i]);
        }
    }
}

QWidget* frmJobs::buildClientTab() {
    auto* page = new QWidget;
    txtCliName = field(new QLineEdit(page), "txtCliName");
    txtCliAddress = field(new QPlainTextEdit(page), "txtCliAddress");
    txtCliNumbers = field(new QPlainTextEdit(page), "txtCliNumbers");
    txtCliNotes = field(new QPlainTextEdit(page), "txtCliNotes");
    cmdFindClient[1] = makeButton(page, "cmdFindClient_1", QStringLiteral("Find Client..."),
                                  QStringLiteral("Click here to find an existing client and assign "
                                                 "them to this job."));

    auto* left = new QVBoxLayout;
    left->addLayout(stacked(caption(31, txtCliName), txtCliName));
    left->addLayout(stacked(caption(28, txtCliAddress), txtCliAddress), 2);
    left->addLayout(stacked(caption(29, txtCliNumbers), txtCliNumbers), 1);
    left->addWidget(cmdFindClient[1], 0, Qt::AlignLeft);
    auto* columns = new QHBoxLayout;
    columns->setSpacing(12);
    columns->addLayout(left, 1);
    columns->addLayout(stacked(caption(30, txtCliNotes), txtCliNotes), 1);

    auto* frame = new QGroupBox(page);
    frame->setLayout(columns);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(buildStatusPanel(2));
    layout->addWidget(frame, 1);
    return page;
}

QWidget* frmJobs::buildDocumentsTab() {
    auto* page = new QWidget;
    fgDocs = grid(page, "fgDocs", docsModel_);
    sizeColumns(fgDocs, docsModel_, app_.screen);
    cmdNewDoc = makeButton(page, "cmdNewDoc", QStringLiteral("New Document"),
                           QStringLiteral("Create a new document for this job."));
    cmdEditDoc = makeButton(page, "cmdEditDoc", QStringLiteral("Edit Document"),
                            QStringLiteral("Edit the currently selected document."));
    cmdDeleteDoc = makeButton(page, "cmdDeleteDoc", QStringLiteral("Delete Document"),
                              QStringLiteral("Delete the currently selected document."));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdNewDoc);
    buttons->addWidget(cmdEditDoc);
    buttons->addWidget(cmdDeleteDoc);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(buildStatusPanel(1));
    layout->addWidget(caption(14));
    layout->addWidget(fgDocs, 1);
    layout->addLayout(buttons);
    layout->addWidget(caption(16));
    return page;
}

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
    cmdSearch = makeButton(fraClientDetails, "cmdSearch", QStringLiteral("S&earch"),
                           QStringLiteral("Search for a specific job."));
    auto* search = new QVBoxLayout(fraClientDetails);
    search->addWidget(caption(13, txtSearch));
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

void frmJobs::buildPopups() {
    auto panel = [this](const char* name, const QString& title, QSize size) {
        auto* frame = new QFrame(this);
        frame->setObjectName(QString::fromLatin1(name));
        frame->setFrameShape(QFrame::Box);
        frame->setAutoFillBackground(true);
        frame->setStyleSheet(QStringLiteral("#%1 { background: #f7f9fc; border: 2px solid #1f3a5f; "
                                            "border-radius: 6px; }")
                                 .arg(QLatin1String(name)));
        frame->resize(size);
        auto* layout = new QVBoxLayout(frame);
        if (!title.isEmpty()) {
            auto* heading = new QLabel(title, frame);
            heading->setObjectName(QString::fromLatin1(name) + QStringLiteral("Title"));
            heading->setStyleSheet(kHeading);
            layout->addWidget(heading);
        }
        frame->hide();
        return std::pair{frame, layout};
    };

    auto [status, statusLayout] =
        panel("panNewStatus", QStringLiteral("Change Job Status"), {300, 320});
    panNewStatus = status;
    lstJobStatus = new QListWidget(status);
    lstJobStatus->setObjectName(QStringLiteral("lstJobStatus"));
    cmdChange = makeButton(status, "cmdChange", QStringLiteral("C&hange Status"),
                           QStringLiteral("Change the status of the job."));
    SSCommand1 = makeButton(status, "SSCommand1", QStringLiteral("Exi&t"));
    auto* statusButtons = new QHBoxLayout;
    statusButtons->addWidget(cmdChange);
    statusButtons->addWidget(SSCommand1);
    statusLayout->addWidget(lstJobStatus, 1);
    statusLayout->addLayout(statusButtons);

    auto [find, findLayout] = panel("panFindClient", QStringLiteral("Find"), {600, 380});
    panFindClient = find;
    txtFindClient = new QLineEdit(find);
    txtFindClient->setObjectName(QStringLiteral("txtFindClient"));
    cmdSearchClient = makeButton(find, "cmdSearchClient", QStringLiteral("Sea&rch"));
    fgFindClient = grid(find, "fgFindClient", contactsModel_);
    sizeColumns(fgFindClient, contactsModel_, app_.screen);
    labClientCount = new QLabel(QStringLiteral("Client Count"), find);
    labClientCount->setObjectName(QStringLiteral("labClientCount"));
    cmdCloseClient = makeButton(find, "cmdCloseClient", QStringLiteral("Cl&ose"));
    auto* searchRow = new QHBoxLayout;
    auto* searching = new QLabel(QStringLiteral("Searching For:"), find);
    searching->setBuddy(txtFindClient);
    searchRow->addWidget(searching);
    searchRow->addWidget(txtFindClient, 1);
    searchRow->addWidget(cmdSearchClient);
    auto* findFoot = new QHBoxLayout;
    findFoot->addWidget(labClientCount, 1);
    findFoot->addWidget(cmdCloseClient);
    findLayout->addLayout(searchRow);
    findLayout->addWidget(fgFindClient, 1);
    findLayout->addLayout(findFoot);

    auto [engineers, engineersLayout] = panel("panEngineers", QString(), {300, 340});
    panEngineers = engineers;
    labEngineers = new QLabel(QStringLiteral("Available Engineers"), engineers);
    labEngineers->setObjectName(QStringLiteral("labEngineers"));
    labEngineers->setStyleSheet(kHeading);  // the panel's heading: the user's name for the field
    lstEngineers = new QListWidget(engineers);
    lstEngineers->setObjectName(QStringLiteral("lstEngineers"));
    lstEngineers->setToolTip(
        QStringLiteral("Double click to assign to job. To Delete select "
                       "first (single click) then right click."));
    cmdCloseEngineers = makeButton(engineers, "cmdCloseEngineers", QStringLiteral("Cl&ose"));
    engineersLayout->addWidget(labEngineers);
    engineersLayout->addWidget(lstEngineers, 1);
    engineersLayout->addWidget(cmdCloseEngineers, 0, Qt::AlignRight);

    auto [labels, labelsLayout] = panel("panLabels", QStringLiteral("Rename Caption"), {380, 170});
    panLabels = labels;
    auto* label8 =
        new QLabel(QStringLiteral("Type in the new description for the caption"), labels);
    label8->setObjectName(QStringLiteral("Label8"));
    txtLabel = new QLineEdit(labels);
    txtLabel->setObjectName(QStringLiteral("txtLabel"));
    auto* label5 = new QLabel(QStringLiteral("Description:"), labels);
    label5->setObjectName(QStringLiteral("Label5"));
    label5->setBuddy(txtLabel);
    cmdSaveLabels = makeButton(labels, "cmdSaveLabels", QStringLiteral("S&ave"));
    cmdCloseLabels = makeButton(labels, "cmdCloseLabels", QStringLiteral("Cl&ose"));
    auto* labelRow = new QHBoxLayout;
    labelRow->addWidget(label5);
    labelRow->addWidget(txtLabel, 1);
    auto* labelButtons = new QHBoxLayout;
    labelButtons->addStretch();
    labelButtons->addWidget(cmdSaveLabels);
    labelButtons->addWidget(cmdCloseLabels);
    labelsLayout->addWidget(label8);
    labelsLayout->addLayout(labelRow);
    labelsLayout->addLayout(labelButtons);

    auto [docs, docsLayout] = panel("panDocs", QStringLiteral("New Document"), {440, 230});
    panDocs = docs;
    docsLayout->addWidget(new QLabel(
        QStringLiteral("Type in the details of the document you want to create."), docs));
    comDocType = new QComboBox(docs);
    comDocType->setObjectName(QStringLiteral("comDocType"));
    labDocType = new QLabel(docs);
    labDocType->setObjectName(QStringLiteral("labDocType"));
    comDocAddress = new QComboBox(docs);
    comDocAddress->setObjectName(QStringLiteral("comDocAddress"));
    txtDocTitle = new QLineEdit(docs);
    txtDocTitle->setObjectName(QStringLiteral("txtDocTitle"));
    cmdSaveDoc = makeButton(docs, "cmdSaveDoc", QStringLiteral("C&reate"));
    cmdCancelDocs = makeButton(docs, "cmdCancelDocs", QStringLiteral("&Cancel"),
                               QStringLiteral("Cancel the document."));
    auto* docForm = new QGridLayout;
    docForm->addWidget(caption(19, comDocType), 0, 0);
    docForm->addWidget(comDocType, 0, 1);
    docForm->addWidget(labDocType, 0, 2);
    docForm->addWidget(caption(18, comDocAddress), 1, 0);
    docForm->addWidget(comDocAddress, 1, 1);
    docForm->addWidget(caption(17, txtDocTitle), 2, 0);
    docForm->addWidget(txtDocTitle, 2, 1, 1, 2);
    docForm->setColumnStretch(1, 1);
    auto* docButtons = new QHBoxLayout;
    docButtons->addStretch();
    docButtons->addWidget(cmdSaveDoc);
    docButtons->addWidget(cmdCancelDocs);
    docsLayout->addLayout(docForm);
    docsLayout->addLayout(docButtons);
}

frmJobs* showJobScreen(AppState& app) {
    return static_cast<frmJobs*>(showScreen(app, QStringLiteral("frmJobs"), [&app]() -> QWidget* {
        auto* jobs = new frmJobs(app);
        jobs->Form_Load();
        return jobs;
    }));
}
