#include "jobs/JobPanels.h"

#include "jobs/CaptionLabels.h"
#include "jobs/JobFieldGroup.h"
#include "jobs/JobGrid.h"

#include "db/RowsModel.h"
#include "documents/TextRoutines.h"
#include "widgets/Controls.h"
#include "widgets/CsvExport.h"
#include "widgets/KeyActions.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kHeading = QStringLiteral("font-weight: bold; color: #1f3a5f; font-size: 11pt;");

bool isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

JobPanel::JobPanel(QWidget* screen, const char* name, const QString& title, QSize size)
    : QFrame(screen) {
    setObjectName(QString::fromLatin1(name));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("#%1 { background: #f7f9fc; border: 2px solid #1f3a5f; "
                                 "border-radius: 6px; }")
                      .arg(QLatin1String(name)));
    resize(size);
    body_ = new QVBoxLayout(this);
    if (!title.isEmpty()) {
        title_ = new QLabel(title, this);
        title_->setObjectName(QString::fromLatin1(name) + QStringLiteral("Title"));
        title_->setStyleSheet(kHeading);
        body_->addWidget(title_);
    }
    hide();
}

void JobPanel::showOver() {
    const QWidget* screen = parentWidget();
    move((screen->width() - width()) / 2, (screen->height() - height()) / 2);
    raise();
    show();
}

void JobPanel::setTitle(const QString& title) {
    title_->setText(title);
}

StatusPanel::StatusPanel(QWidget* screen)
    : JobPanel(screen, "panNewStatus", QStringLiteral("Change Job Status"), {300, 320}) {
    lstJobStatus = new QListWidget(this);
    lstJobStatus->setObjectName(QStringLiteral("lstJobStatus"));
    cmdChange = makeButton(this, "cmdChange", QStringLiteral("C&hange Status"),
                           QStringLiteral("Change the status of the job."));
    SSCommand1 = makeButton(this, "SSCommand1", QStringLiteral("Exi&t"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdChange);
    buttons->addWidget(SSCommand1);
    body()->addWidget(lstJobStatus, 1);
    body()->addLayout(buttons);

    connect(cmdChange, &QPushButton::clicked, this, &StatusPanel::changeClicked);
    connect(lstJobStatus, &QListWidget::itemDoubleClicked, this, &StatusPanel::changeClicked);
    connect(SSCommand1, &QPushButton::clicked, this, &StatusPanel::closeClicked);
    pressOnEscape(this, SSCommand1);
}

void StatusPanel::setStatuses(const QStringList& statuses) {
    lstJobStatus->clear();
    lstJobStatus->addItems(statuses);
}

QString StatusPanel::chosenStatus() const {
    const QListWidgetItem* chosen = lstJobStatus->currentItem();
    return chosen && chosen->isSelected() ? chosen->text() : QString();
}

void StatusPanel::selectStatus(const QString& status) {
    const QList<QListWidgetItem*> found = lstJobStatus->findItems(status, Qt::MatchExactly);
    if (found.isEmpty()) {
        lstJobStatus->setCurrentRow(-1);
    } else {
        lstJobStatus->setCurrentItem(found.first());
    }
}

void StatusPanel::focusList() {
    lstJobStatus->setFocus();
}

LookupPanel::LookupPanel(QWidget* screen)
    : JobPanel(screen, "panFindClient", QStringLiteral("Find"), {600, 380}) {
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
    txtFindClient = new QLineEdit(this);
    txtFindClient->setObjectName(QStringLiteral("txtFindClient"));
    JobFieldGroup::highlight(txtFindClient);
    cmdSearchClient = makeButton(this, "cmdSearchClient", QStringLiteral("Sea&rch"));
    fgFindClient = jobGrid(this, "fgFindClient", contactsModel_, {0, 1});
    labClientCount = new QLabel(QStringLiteral("Client Count"), this);
    labClientCount->setObjectName(QStringLiteral("labClientCount"));
    cmdCloseClient = makeButton(this, "cmdCloseClient", QStringLiteral("Cl&ose"));
    // Every letter of its caption is another control's Alt key on the job screen.
    cmdExportCsv = csvexport::makeButton(this, QStringLiteral("Export to CSV..."));
    auto* searchRow = new QHBoxLayout;
    auto* searching = new QLabel(QStringLiteral("Searching For:"), this);
    searching->setBuddy(txtFindClient);
    searchRow->addWidget(searching);
    searchRow->addWidget(txtFindClient, 1);
    searchRow->addWidget(cmdSearchClient);
    auto* foot = new QHBoxLayout;
    foot->addWidget(labClientCount, 1);
    foot->addWidget(cmdExportCsv);
    foot->addWidget(cmdCloseClient);
    body()->addLayout(searchRow);
    body()->addWidget(fgFindClient, 1);
    body()->addLayout(foot);

    connect(cmdSearchClient, &QPushButton::clicked, this, &LookupPanel::searchClicked);
    connect(txtFindClient, &QLineEdit::returnPressed, this, &LookupPanel::searchClicked);
    downIntoList(txtFindClient, fgFindClient);
    connect(txtFindClient, &QLineEdit::textEdited, this, &LookupPanel::searchEdited);
    connect(fgFindClient, &QTableView::doubleClicked, this, &LookupPanel::contactChosen);
    connect(cmdCloseClient, &QPushButton::clicked, this, &LookupPanel::closeClicked);
    connect(cmdExportCsv, &QPushButton::clicked, this, &LookupPanel::exportClicked);
    chooseOnEnter(fgFindClient, [this] { Q_EMIT contactChosen(); });
    pressOnEscape(this, cmdCloseClient);
}

void LookupPanel::open(bool clients) {
    clients_ = clients;
    setTitle(clients ? QStringLiteral("Find a Client") : QStringLiteral("Find a Customer"));
    contactsModel_->clear();
    labClientCount->setText(QStringLiteral("Client Count"));
    // Wide enough for names and addresses whole, as far as the screen allows.
    const int screenWidth = parentWidget()->width();
    resize(qMin(screenWidth - 16, qMax(600, screenWidth * 4 / 5)), height());
    showOver();
    txtFindClient->clear();
    txtFindClient->setFocus();
}

QString LookupPanel::searchText() const {
    return txtFindClient->text();
}

void LookupPanel::showContacts(Rows rows, bool clients) {
    clients_ = clients;
    contactsModel_->setRows(std::move(rows));
    labClientCount->setText(
        QStringLiteral("Found ") + QString::number(contactsModel_->rowCount()) +
        (clients ? QStringLiteral(" matching clients") : QStringLiteral(" matching customers")));
    if (contactsModel_->rowCount() > 0) {
        fgFindClient->selectRow(0);
    }
}

std::optional<JobContact> LookupPanel::chosenContact() const {
    const int row = fgFindClient->currentIndex().row();
    if (row < 0 || contactsModel_->value(row, QStringLiteral("DummyId")).toLongLong() <= 0) {
        return std::nullopt;
    }
    return JobContact{contactsModel_->value(row, QStringLiteral("Name")).toString(),
                      contactsModel_->value(row, QStringLiteral("Address")).toString(),
                      contactsModel_->value(row, QStringLiteral("Contact")).toString()};
}

resultexport::Outcome LookupPanel::exportCsv(const QString& file) const {
    // The list holds every contact found.
    return resultexport::exportRows(file, csvexport::shownColumns(*fgFindClient, *contactsModel_),
                                    contactsModel_->rows());
}

EngineersPanel::EngineersPanel(QWidget* screen)
    : JobPanel(screen, "panEngineers", QString(), {300, 340}) {
    labEngineers = new QLabel(QStringLiteral("Available Engineers"), this);
    labEngineers->setObjectName(QStringLiteral("labEngineers"));
    labEngineers->setStyleSheet(kHeading);  // the panel's heading: the user's name for the field
    lstEngineers = new QListWidget(this);
    lstEngineers->setObjectName(QStringLiteral("lstEngineers"));
    lstEngineers->setToolTip(
        QStringLiteral("Double click to assign to job. To Delete select "
                       "first (single click) then right click."));
    lstEngineers->viewport()->installEventFilter(this);
    cmdCloseEngineers = makeButton(this, "cmdCloseEngineers", QStringLiteral("Cl&ose"));
    body()->addWidget(labEngineers);
    body()->addWidget(lstEngineers, 1);
    body()->addWidget(cmdCloseEngineers, 0, Qt::AlignRight);

    connect(lstEngineers, &QListWidget::itemDoubleClicked, this, &EngineersPanel::nameChosen);
    connect(cmdCloseEngineers, &QPushButton::clicked, this, &EngineersPanel::closeClicked);
    chooseOnEnter(lstEngineers, [this] {
        if (lstEngineers->currentItem()) {  // as a double-click, which needs a name to land on
            Q_EMIT nameChosen();
        }
    });
    pressOnEscape(this, cmdCloseEngineers);
}

void EngineersPanel::open(const QString& heading, const QStringList& names,
                          const QString& current) {
    labEngineers->setText(heading);
    showOver();
    lstEngineers->clear();
    lstEngineers->addItems(names);
    // The job's engineer, or the first one, ready for Enter.
    const QList<QListWidgetItem*> same = lstEngineers->findItems(current, Qt::MatchExactly);
    lstEngineers->setCurrentRow(same.isEmpty() ? 0 : lstEngineers->row(same.first()));
    lstEngineers->setFocus();
}

QString EngineersPanel::chosenName() const {
    const QListWidgetItem* chosen = lstEngineers->currentItem();
    return chosen ? chosen->text() : QString();
}

bool EngineersPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstEngineers->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        Q_EMIT removeClicked();
        return true;
    }
    return JobPanel::eventFilter(watched, event);
}

CaptionsPanel::CaptionsPanel(QWidget* screen)
    : JobPanel(screen, "panLabels", QStringLiteral("Rename Caption"), {380, 170}) {
    auto* label8 = new QLabel(QStringLiteral("Type in the new description for the caption"), this);
    label8->setObjectName(QStringLiteral("Label8"));
    txtLabel = new QLineEdit(this);
    txtLabel->setObjectName(QStringLiteral("txtLabel"));
    JobFieldGroup::highlight(txtLabel);
    txtLabel->installEventFilter(this);
    auto* label5 = new QLabel(QStringLiteral("Description:"), this);
    label5->setObjectName(QStringLiteral("Label5"));
    label5->setBuddy(txtLabel);
    cmdSaveLabels = makeButton(this, "cmdSaveLabels", QStringLiteral("S&ave"));
    cmdCloseLabels = makeButton(this, "cmdCloseLabels", QStringLiteral("Cl&ose"));
    auto* row = new QHBoxLayout;
    row->addWidget(label5);
    row->addWidget(txtLabel, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSaveLabels);
    buttons->addWidget(cmdCloseLabels);
    body()->addWidget(label8);
    body()->addLayout(row);
    body()->addLayout(buttons);

    connect(cmdSaveLabels, &QPushButton::clicked, this, &CaptionsPanel::saveClicked);
    connect(cmdCloseLabels, &QPushButton::clicked, this, &CaptionsPanel::closeClicked);
    pressOnEscape(this, cmdCloseLabels);
}

void CaptionsPanel::open(const QString& text) {
    showOver();
    txtLabel->setFocus();
    txtLabel->setText(text);
    txtLabel->selectAll();
}

QString CaptionsPanel::text() const {
    return txtLabel->text();
}

bool CaptionsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtLabel && isEnter(event)) {
        Q_EMIT saveClicked();
        return true;
    }
    if (watched == txtLabel && event->type() == QEvent::FocusIn) {
        txtLabel->selectAll();
    }
    return JobPanel::eventFilter(watched, event);
}

NewDocumentPanel::NewDocumentPanel(QWidget* screen, CaptionLabels& captions)
    : JobPanel(screen, "panDocs", QStringLiteral("New Document"), {440, 230}) {
    body()->addWidget(new QLabel(
        QStringLiteral("Type in the details of the document you want to create."), this));
    comDocType = new QComboBox(this);
    comDocType->setObjectName(QStringLiteral("comDocType"));
    labDocType = new QLabel(this);
    labDocType->setObjectName(QStringLiteral("labDocType"));
    comDocAddress = new QComboBox(this);
    comDocAddress->setObjectName(QStringLiteral("comDocAddress"));
    comDocAddress->installEventFilter(this);
    txtDocTitle = new QLineEdit(this);
    txtDocTitle->setObjectName(QStringLiteral("txtDocTitle"));
    cmdSaveDoc = makeButton(this, "cmdSaveDoc", QStringLiteral("C&reate"));
    cmdCancelDocs = makeButton(this, "cmdCancelDocs", QStringLiteral("&Cancel"),
                               QStringLiteral("Cancel the document."));
    auto* form = new QGridLayout;
    form->addWidget(captions.make(this, Caption::DocumentType, comDocType), 0, 0);
    form->addWidget(comDocType, 0, 1);
    form->addWidget(labDocType, 0, 2);
    form->addWidget(captions.make(this, Caption::DocumentAddress, comDocAddress), 1, 0);
    form->addWidget(comDocAddress, 1, 1);
    form->addWidget(captions.make(this, Caption::DocumentTitle, txtDocTitle), 2, 0);
    form->addWidget(txtDocTitle, 2, 1, 1, 2);
    form->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSaveDoc);
    buttons->addWidget(cmdCancelDocs);
    body()->addLayout(form);
    body()->addLayout(buttons);

    connect(cmdSaveDoc, &QPushButton::clicked, this, &NewDocumentPanel::createClicked);
    connect(cmdCancelDocs, &QPushButton::clicked, this, &NewDocumentPanel::cancelClicked);
    connect(comDocType, &QComboBox::activated, this, &NewDocumentPanel::templateChosen);
    pressOnEscape(this, cmdCancelDocs);
}

void NewDocumentPanel::setTemplates(const QStringList& names) {
    comDocType->clear();
    comDocType->addItems(names);
    comDocType->setCurrentIndex(-1);
}

void NewDocumentPanel::setAddresses(const QStringList& choices) {
    comDocAddress->clear();
    comDocAddress->addItems(choices);
}

void NewDocumentPanel::open() {
    txtDocTitle->clear();
    // No template is chosen for the user: Create asks for one until one is picked.
    comDocType->setCurrentIndex(-1);
    labDocType->clear();
    comDocType->setFocus();
}

void NewDocumentPanel::chooseTemplate(const QString& name) {
    if (comDocType->findText(name) < 0) {
        comDocType->addItem(name);
    }
    comDocType->setCurrentIndex(comDocType->findText(name));
}

QString NewDocumentPanel::templateName() const {
    return comDocType->currentText();
}

QString NewDocumentPanel::title() const {
    return txtDocTitle->text();
}

void NewDocumentPanel::setTitle(const QString& title) {
    txtDocTitle->setText(title);
}

void NewDocumentPanel::focusTemplate() {
    comDocType->setFocus();
}

void NewDocumentPanel::showTemplateKind() {
    const QString ext = GetFileExtension(comDocType->currentText()).toUpper();
    if (ext == QLatin1String("XLT") || ext == QLatin1String("XLTX")) {
        labDocType->setText(QStringLiteral("Excel"));
    } else if (ext == QLatin1String("DOT") || ext == QLatin1String("DOTX")) {
        labDocType->setText(QStringLiteral("Word"));
    } else {
        labDocType->clear();
    }
}

bool NewDocumentPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == comDocAddress && isEnter(event)) {
        txtDocTitle->setFocus();
        return true;
    }
    return JobPanel::eventFilter(watched, event);
}
