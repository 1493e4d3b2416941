// The estimates screen's controls, its two states, and the editing of lines and totals.

#include "estimates/frmEstimate.h"

#include "common/Numbers.h"
#include "estimates/EstimateStore.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/ScreenMetrics.h"
#include "records/AppState.h"
#include "records/DateFormats.h"
#include "records/SaveConflict.h"
#include "records/SharedRoutines.h"
#include "search/frmSearch.h"
#include "widgets/CentreForm.h"
#include "widgets/Controls.h"
#include "widgets/CsvExport.h"
#include "widgets/GridColumns.h"
#include "widgets/KeyActions.h"
#include "widgets/ListCompletion.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace estimates;

namespace {

const QString kNewEstimate = QStringLiteral("&New Estimate");
const QString kSaveEstimate = QStringLiteral("&Save Estimate");
const QString kAddTip = QStringLiteral("Click here to add a new item to the estimate");

QLabel* buddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QLabel* caption(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel* valueLabel(const char* name, QWidget* parent, Qt::Alignment align = Qt::AlignLeft) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameShape(QFrame::StyledPanel);
    label->setAlignment(align | Qt::AlignVCenter);
    label->setMinimumWidth(90);
    return label;
}

// A grid of text cells the user reads and picks whole rows from, never edits in place.
QTableWidget* grid(const char* name, QWidget* parent) {
    auto* table = new QTableWidget(parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    return table;
}

QLineEdit* box(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    highlightOnFocus(edit);
    return edit;
}

}  // namespace

frmEstimate::frmEstimate(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("frmEstimate"));
    setWindowFlag(Qt::Window);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    auto* details = new QWidget;
    details->setObjectName(QStringLiteral("tabDetails"));
    buildButtons(details);
    QGroupBox* customer = buildCustomer(details);
    QGroupBox* estimate = buildEstimate(details);

    auto* buttons = new QGroupBox(QStringLiteral("Estimate"), details);
    auto* buttonRow = new QHBoxLayout(buttons);
    for (QPushButton* b :
         {cmdNewEstimate, cmdCancel, cmdFind, cmdPrint, cmdEmailEstimate, cmdConvert}) {
        buttonRow->addWidget(b);
    }
    buttonRow->addStretch(1);
    buttonRow->addWidget(cmdExit);

    labChangedElsewhere = new QLabel(details);
    labChangedElsewhere->setObjectName(QStringLiteral("labChangedElsewhere"));
    labChangedElsewhere->setWordWrap(true);
    labChangedElsewhere->setStyleSheet(QStringLiteral("color: #7a4b00;"));
    labChangedElsewhere->hide();

    auto* page = new QVBoxLayout(details);
    page->addWidget(buttons);
    page->addWidget(labChangedElsewhere);
    auto* middle = new QHBoxLayout;
    middle->addWidget(customer, 2);
    middle->addWidget(estimate, 5);
    page->addLayout(middle, 1);
    SSTab1->addTab(details, QStringLiteral("Estimate Details"));
    SSTab1->addTab(buildHistory(), QStringLiteral("Estimate Documents"));
    buildAddPanel(details);
    buildSearchPanel(details);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    connectControls();
    resize(qMin(1000, app_.screen.sizeInPixels().width() - 24), 600);
}

void frmEstimate::buildButtons(QWidget* page) {
    cmdNewEstimate = makeButton(page, "cmdNewEstimate", kNewEstimate);
    cmdCancel = makeButton(page, "cmdCancel", QStringLiteral("&Cancel"));
    cmdFind = makeButton(page, "cmdFind", QStringLiteral("&Search"));
    cmdExit = makeButton(page, "cmdExit", QStringLiteral("E&xit"));
    cmdPrint = makeButton(page, "cmdPrint", QStringLiteral("&Print"));
    cmdEmailEstimate =
        makeButton(page, "cmdEmailEstimate", QStringLiteral("Send by E-&mail..."),
                   QStringLiteral("Send the estimate's document, made by Print, by e-mail"));
    cmdEmailEstimate->setEnabled(false);
    cmdConvert = makeButton(page, "cmdConvert", QStringLiteral("Convert To &Job"));
}

QGroupBox* frmEstimate::buildCustomer(QWidget* page) {
    fraDetails = new QGroupBox(QStringLiteral("Customer Details"), page);
    fraDetails->setObjectName(QStringLiteral("fraDetails"));
    txtName = box("txtName", fraDetails);
    txtContact = box("txtContact", fraDetails);
    txtAddress = new QPlainTextEdit(fraDetails);
    txtAddress->setObjectName(QStringLiteral("txtAddress"));
    txtAddress->setTabChangesFocus(true);
    highlightOnFocus(txtAddress);
    txtTel = box("txtTel", fraDetails);
    txtEmail = box("txtEmail", fraDetails);
    cmdSearch = makeButton(fraDetails, "cmdSearch", QStringLiteral("&Find Customer..."),
                           QStringLiteral("Click here to find an existing customer"));

    auto* grid = new QGridLayout(fraDetails);
    int row = 0;
    const std::pair<const char*, QWidget*> rows[] = {{"Na&me:", txtName},
                                                     {"Con&tact:", txtContact},
                                                     {"A&ddress:", txtAddress},
                                                     {"Telep&hone:", txtTel},
                                                     {"&E-mail:", txtEmail}};
    for (const auto& [caption, widget] : rows) {
        grid->addWidget(buddyLabel(QString::fromUtf8(caption), widget, fraDetails), row, 0,
                        widget == txtAddress ? Qt::AlignTop : Qt::Alignment());
        grid->addWidget(widget, row, 1);
        ++row;
    }
    grid->addWidget(cmdSearch, row, 1, Qt::AlignRight);
    grid->setRowStretch(2, 1);
    return fraDetails;
}

QGroupBox* frmEstimate::buildEstimate(QWidget* page) {
    auto* frame = new QGroupBox(QStringLiteral("Estimate Details"), page);
    labEstNo = valueLabel("labEstNo", frame);
    labDateCreated = valueLabel("labDateCreated", frame);
    fgEstimate = grid("fgEstimate", frame);
    fgEstimate->horizontalHeader()->setStretchLastSection(false);
    cmdAddItem = makeButton(frame, "cmdAddItem", QStringLiteral("Add &Item"), kAddTip);
    txtDelivery = box("txtDelivery", frame);
    txtDelivery->setAlignment(Qt::AlignRight);
    txtDelivery->setMaximumWidth(110);
    const Qt::Alignment right = Qt::AlignRight;
    labTotalTrade = valueLabel("labTotalTrade", frame, right);
    labDeliveryCosts = valueLabel("labDeliveryCosts", frame, right);
    labTotalRetail = valueLabel("labTotalRetail", frame, right);
    labTotalProfit = valueLabel("labTotalProfit", frame, right);
    labTradeCaption = caption("labTradeCaption", frame);
    labDeliveryCaption = caption("labDeliveryCaption", frame);
    labRetailCaption = caption("labRetailCaption", frame);
    labProfitCaption = caption("labProfitCaption", frame);
    labDeliveryBoxCaption = buddyLabel({}, txtDelivery, frame);

    auto* header = new QHBoxLayout;
    header->addWidget(new QLabel(QStringLiteral("Estimate Number:"), frame));
    header->addWidget(labEstNo);
    header->addSpacing(16);
    header->addWidget(new QLabel(QStringLiteral("Created:"), frame));
    header->addWidget(labDateCreated);
    header->addStretch(1);

    auto* hint = new QLabel(QStringLiteral("To remove an item just double click on it."), frame);
    auto* belowGrid = new QHBoxLayout;
    belowGrid->addWidget(hint, 1);
    belowGrid->addWidget(cmdAddItem);

    auto* totals = new QGridLayout;
    totals->addWidget(labDeliveryBoxCaption, 0, 0);
    totals->addWidget(txtDelivery, 0, 1, Qt::AlignLeft);  // beside its label as the window grows
    totals->addWidget(labTradeCaption, 0, 2);
    totals->addWidget(labTotalTrade, 0, 3);
    totals->addWidget(labDeliveryCaption, 1, 2);
    totals->addWidget(labDeliveryCosts, 1, 3);
    totals->addWidget(labRetailCaption, 2, 2);
    totals->addWidget(labTotalRetail, 2, 3);
    totals->addWidget(labProfitCaption, 3, 2);
    totals->addWidget(labTotalProfit, 3, 3);
    totals->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(frame);
    layout->addLayout(header);
    layout->addWidget(fgEstimate, 1);
    layout->addLayout(belowGrid);
    layout->addLayout(totals);
    return frame;
}

void frmEstimate::buildAddPanel(QWidget* page) {
    panEst = new QFrame(page);
    panEst->setObjectName(QStringLiteral("panEst"));
    panEst->setFrameShape(QFrame::StyledPanel);
    panEst->setFrameShadow(QFrame::Raised);
    panEst->setAutoFillBackground(true);
    txtEstQty = box("txtEstQty", panEst);
    txtEstQty->setMaximumWidth(70);
    comEstDesc = new QComboBox(panEst);
    comEstDesc->setObjectName(QStringLiteral("comEstDesc"));
    comEstDesc->setEditable(true);
    comEstDesc->setInsertPolicy(QComboBox::NoInsert);
    completeByPopup(comEstDesc);
    comEstDesc->setMinimumContentsLength(36);
    highlightOnFocus(comEstDesc->lineEdit());
    txtEstTrade = box("txtEstTrade", panEst);
    txtEstRetail = box("txtEstRetail", panEst);
    for (QLineEdit* money : {txtEstTrade, txtEstRetail}) {
        money->setAlignment(Qt::AlignRight);
        money->setMaximumWidth(100);
    }
    cmdOKAdd = makeButton(panEst, "cmdOKAdd", QStringLiteral("Sa&ve"), kAddTip);
    cmdCloseAdd = makeButton(panEst, "cmdCloseAdd", QStringLiteral("C&lose"), kAddTip);
    labEstTradeCaption = buddyLabel({}, txtEstTrade, panEst);
    labEstRetailCaption = buddyLabel({}, txtEstRetail, panEst);

    auto* grid = new QGridLayout(panEst);
    grid->addWidget(buddyLabel(QStringLiteral("&Qty"), txtEstQty, panEst), 0, 0);
    grid->addWidget(buddyLabel(QStringLiteral("Descripti&on"), comEstDesc, panEst), 0, 1);
    grid->addWidget(labEstTradeCaption, 0, 2);
    grid->addWidget(labEstRetailCaption, 0, 3);
    grid->addWidget(txtEstQty, 1, 0);
    grid->addWidget(comEstDesc, 1, 1);
    grid->addWidget(txtEstTrade, 1, 2);
    grid->addWidget(txtEstRetail, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOKAdd);
    buttons->addWidget(cmdCloseAdd);
    grid->addLayout(buttons, 2, 0, 1, 4);
    pressOnEscape(panEst, cmdCloseAdd);
    panEst->hide();
}

void frmEstimate::buildSearchPanel(QWidget* page) {
    panSearch = new QFrame(page);
    panSearch->setObjectName(QStringLiteral("panSearch"));
    panSearch->setFrameShape(QFrame::StyledPanel);
    panSearch->setFrameShadow(QFrame::Raised);
    panSearch->setAutoFillBackground(true);
    txtSearch = box("txtSearch", panSearch);
    cmdGoSearch = makeButton(panSearch, "cmdGoSearch", QStringLiteral("Sea&rch"));
    cmdCloseSearch = makeButton(panSearch, "cmdCloseSearch", QStringLiteral("Cl&ose"));
    fgExisting = grid("fgExisting", panSearch);
    fgExisting->setMinimumHeight(220);
    cmdLoadEst = makeButton(panSearch, "cmdLoadEst", QStringLiteral("&Load Estimate"),
                            QStringLiteral("You can also double click on the list to load the "
                                           "estimate."));
    cmdExportCsv = csvexport::makeButton(panSearch, QStringLiteral("Export to CS&V..."));
    labFoundStatus = new QLabel(panSearch);
    labFoundStatus->setObjectName(QStringLiteral("labFoundStatus"));

    auto* criteria = new QHBoxLayout;
    criteria->addWidget(buddyLabel(QStringLiteral("Se&arch For:"), txtSearch, panSearch));
    criteria->addWidget(txtSearch, 1);
    criteria->addWidget(cmdGoSearch);
    criteria->addWidget(cmdCloseSearch);
    auto* footer = new QHBoxLayout;
    footer->addWidget(labFoundStatus, 1);
    footer->addWidget(cmdExportCsv);
    footer->addWidget(cmdLoadEst);
    auto* layout = new QVBoxLayout(panSearch);
    layout->addLayout(criteria);
    layout->addWidget(new QLabel(QStringLiteral("Existing Estimates"), panSearch));
    layout->addWidget(fgExisting, 1);
    layout->addLayout(footer);
    pressOnEscape(panSearch, cmdCloseSearch);
    panSearch->hide();
}

QWidget* frmEstimate::buildHistory() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabDocuments"));
    fgEstimates = grid("fgEstimates", page);
    cmdEditEstimate =
        makeButton(page, "cmdEditEstimate", QStringLiteral("&Edit"),
                   QStringLiteral("Click here to edit or view the selected estimate"));
    cmdEmailIssue = makeButton(page, "cmdEmailIssue", QStringLiteral("Send by E-&mail..."),
                               QStringLiteral("Send the selected estimate's document by e-mail"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdEmailIssue);
    buttons->addWidget(cmdEditEstimate);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fgEstimates, 1);
    layout->addLayout(buttons);
    return page;
}

void frmEstimate::connectControls() {
    connect(cmdNewEstimate, &QPushButton::clicked, this, &frmEstimate::cmdNewEstimate_Click);
    connect(&app_.changes, &ChangeWatcher::changed, this, &frmEstimate::followChanges);
    connect(cmdCancel, &QPushButton::clicked, this, &frmEstimate::cmdCancel_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmEstimate::cmdExit_Click);
    connect(cmdSearch, &QPushButton::clicked, this, &frmEstimate::cmdSearch_Click);
    connect(cmdAddItem, &QPushButton::clicked, this, &frmEstimate::cmdAddItem_Click);
    connect(cmdOKAdd, &QPushButton::clicked, this, &frmEstimate::cmdOKAdd_Click);
    connect(cmdCloseAdd, &QPushButton::clicked, this, &frmEstimate::cmdCloseAdd_Click);
    connect(fgEstimate, &QTableWidget::cellDoubleClicked, this, &frmEstimate::fgEstimate_DblClick);
    connect(cmdPrint, &QPushButton::clicked, this, &frmEstimate::cmdPrint_Click);
    connect(cmdEmailEstimate, &QPushButton::clicked, this, &frmEstimate::cmdEmailEstimate_Click);
    connect(cmdEmailIssue, &QPushButton::clicked, this, &frmEstimate::cmdEmailIssue_Click);
    connect(SSTab1, &QTabWidget::currentChanged, this, &frmEstimate::SSTab1_Click);
    connect(cmdEditEstimate, &QPushButton::clicked, this, &frmEstimate::cmdEditEstimate_Click);
    connect(fgEstimates, &QTableWidget::cellDoubleClicked, this,
            &frmEstimate::cmdEditEstimate_Click);
    connect(cmdFind, &QPushButton::clicked, this, &frmEstimate::cmdFind_Click);
    connect(cmdGoSearch, &QPushButton::clicked, this, &frmEstimate::cmdGoSearch_Click);
    connect(txtSearch, &QLineEdit::returnPressed, this, &frmEstimate::cmdGoSearch_Click);
    connect(txtSearch, &QLineEdit::textEdited, this, &frmEstimate::txtSearch_Change);
    downIntoList(txtSearch, fgExisting);
    connect(cmdLoadEst, &QPushButton::clicked, this, &frmEstimate::cmdLoadEst_Click);
    connect(fgExisting, &QTableWidget::cellDoubleClicked, this, &frmEstimate::cmdLoadEst_Click);
    connect(cmdCloseSearch, &QPushButton::clicked, this, &frmEstimate::cmdCloseSearch_Click);
    connect(cmdExportCsv, &QPushButton::clicked, this, &frmEstimate::cmdExportCsv_Click);
    connect(cmdConvert, &QPushButton::clicked, this, &frmEstimate::cmdConvert_Click);
    // Typing in the customer boxes or the delivery cost makes a shown estimate editable.
    for (QLineEdit* edit : {txtName, txtContact, txtTel, txtEmail, txtDelivery}) {
        connect(edit, &QLineEdit::textEdited, this, &frmEstimate::CheckEdit);
    }
    connect(txtAddress, &QPlainTextEdit::textChanged, this, [this] {
        if (!filling_) {
            CheckEdit();
        }
    });
    connect(txtDelivery, &QLineEdit::textChanged, this, &frmEstimate::CalculateTotals);
    // Enter in the add-item boxes adds the line.
    for (QLineEdit* edit : {txtEstQty, txtEstTrade, txtEstRetail, comEstDesc->lineEdit()}) {
        connect(edit, &QLineEdit::returnPressed, this, &frmEstimate::cmdOKAdd_Click);
    }
}

void frmEstimate::Form_Load() {
    CentreForm(this, app_.screen);
    setWindowTitle(QStringLiteral("Verdell [Estimates]"));
    ConstructEstGrid();
    SetLabelCurrency();
    LoadStock();
    ClearFields();
    ButtonsToNew();
    CalculateTotals();
}

void frmEstimate::placePanel(QFrame* panel) {
    // A pop-up panel stands out from the screen behind it.
    panel->setStyleSheet(QStringLiteral("QFrame#%1 { background: #eef2f8; border: 1px solid "
                                        "#7f93ad; border-radius: 3px; }")
                             .arg(panel->objectName()));
    QWidget* page = panel->parentWidget();
    const QSize size = panel->sizeHint().expandedTo(
        QSize(qMin(page->width() - 40, panel == panSearch ? 760 : 620), 0));
    panel->setGeometry((page->width() - size.width()) / 2,
                       qMax(8, (page->height() - size.height()) / 3), size.width(), size.height());
    panel->raise();
    panel->show();
}

void frmEstimate::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (QFrame* panel : {panEst, panSearch}) {
        if (panel->isVisible()) {
            placePanel(panel);
        }
    }
}

void frmEstimate::SetLabelCurrency() {
    const QString symbol = app_.CurrencySymbol;
    labTradeCaption->setText(QStringLiteral("Total Trade Purchases ") + symbol);
    labDeliveryCaption->setText(QStringLiteral("Delivery Costs ") + symbol);
    labRetailCaption->setText(QStringLiteral("Total Retail Price ") + symbol);
    labProfitCaption->setText(QStringLiteral("Total Profit ") + symbol);
    labEstTradeCaption->setText(QStringLiteral("Tr&ade Price ") + symbol);
    labEstRetailCaption->setText(QStringLiteral("&Retail Price ") + symbol);
    labDeliveryBoxCaption->setText(QStringLiteral("Deliver&y Cost ") + symbol);
}

void frmEstimate::constructGrid(QTableWidget* grid, const QStringList& headers,
                                const QList<int>& shares, const QList<int>& rightAligned,
                                const QList<int>& longText) {
    grid->clear();
    grid->setColumnCount(int(headers.size()));
    grid->setRowCount(1);
    grid->setHorizontalHeaderLabels(headers);
    GridColumns::fit(grid, shares, longText);
    for (int c = 0; c < headers.size(); ++c) {
        grid->horizontalHeaderItem(c)->setTextAlignment(
            (rightAligned.contains(c) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
}

void frmEstimate::ConstructEstGrid() {
    const QString symbol = app_.CurrencySymbol;
    constructGrid(fgEstimate,
                  {QStringLiteral("Qty"), QStringLiteral("Description"),
                   QStringLiteral("Trade Price ") + symbol,
                   QStringLiteral("Retail Price ") + symbol, QStringLiteral("DummyId")},
                  {600, 5700, 1300, 1300, 0}, {2, 3}, {1});
}

void frmEstimate::placeCells(QTableWidget* grid, int row, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        // A cell lines up as its column's heading does.
        item->setTextAlignment(Qt::Alignment(grid->horizontalHeaderItem(c)->textAlignment()));
        grid->setItem(row, c, item);
    }
}

void frmEstimate::appendRow(QTableWidget* grid, const QStringList& cells) {
    const int row = grid->rowCount() - 1;
    placeCells(grid, row, cells);
    grid->setRowCount(row + 2);
}

QList<EstimateLine> frmEstimate::lines() const {
    QList<EstimateLine> all;
    const auto cell = [this](int row, int column) {
        const QTableWidgetItem* item = fgEstimate->item(row, column);
        return item ? item->text() : QString();
    };
    for (int r = 0; r + 1 < fgEstimate->rowCount(); ++r) {
        all << EstimateLine{cell(r, 0), cell(r, 1), cell(r, 2), cell(r, 3)};
    }
    return all;
}

void frmEstimate::LoadStock() {
    comEstDesc->clear();
    if (const auto stock = estimates::LoadStock(app_.DbConnection)) {
        comEstDesc->addItems(*stock);
    }
    comEstDesc->setCurrentIndex(-1);
}

void frmEstimate::ClearFields() {
    filling_ = true;
    for (QLineEdit* edit : {txtName, txtContact, txtTel, txtEmail}) {
        edit->clear();
    }
    txtAddress->clear();
    filling_ = false;
}

void frmEstimate::ClearEstBoxes() {
    txtEstQty->clear();
    comEstDesc->setCurrentIndex(-1);
    comEstDesc->setEditText({});
    txtEstTrade->clear();
    txtEstRetail->clear();
}

bool frmEstimate::editing() const {
    return cmdNewEstimate->text() == kSaveEstimate;
}

void frmEstimate::ButtonsToSave() {
    cmdNewEstimate->setText(kSaveEstimate);
    cmdCancel->setText(QStringLiteral("&Cancel"));
    for (QPushButton* b : {cmdFind, cmdPrint, cmdExit}) {
        b->setEnabled(false);
    }
    printedDocument_.clear();
    updateEmailButton();
    panSearch->hide();
    enableDetails();
}

void frmEstimate::ButtonsToNew() {
    cmdNewEstimate->setText(kNewEstimate);
    cmdCancel->setText(QStringLiteral("&Cancel"));
    for (QPushButton* b : {cmdFind, cmdPrint, cmdExit}) {
        b->setEnabled(true);
    }
    updateEmailButton();
    panSearch->hide();
    enableDetails();
}

void frmEstimate::enableDetails() {
    // Typing before "New Estimate" would be wiped by it.
    const bool open = editing() || !labEstNo->text().isEmpty();
    for (QWidget* w : {static_cast<QWidget*>(fraDetails), static_cast<QWidget*>(cmdAddItem),
                       static_cast<QWidget*>(txtDelivery)}) {
        w->setEnabled(open);
    }
    if (!open) {
        panEst->hide();
    }
}

void frmEstimate::CheckEdit() {
    if (!editing() && !labEstNo->text().isEmpty()) {
        ButtonsToSave();
    }
}

void frmEstimate::CalculateTotals() {
    const QString delivery = txtDelivery->text();
    const EstimateTotals totals = estimates::CalculateTotals(
        lines(), typedNumber(delivery, app_.CurrencySymbol).value_or(delivery));
    labDeliveryCosts->setText(totals.delivery.toString());
    labTotalTrade->setText(totals.trade.toString());
    labTotalRetail->setText(totals.retail.toString());
    labTotalProfit->setText(totals.profit.toString());
}

EstimateCustomer frmEstimate::customerOnScreen() const {
    return {txtName->text(), txtContact->text(), txtAddress->toPlainText(), txtTel->text(),
            txtEmail->text()};
}

void frmEstimate::showCustomer(const EstimateCustomer& customer) {
    filling_ = true;
    txtName->setText(customer.Name);
    txtContact->setText(customer.Contact);
    txtAddress->setPlainText(customer.Address);
    txtTel->setText(customer.Telephone);
    txtEmail->setText(customer.Email);
    // A value longer than its box shows its start.
    for (QLineEdit* edit : {txtName, txtContact, txtTel, txtEmail}) {
        edit->setCursorPosition(0);
    }
    filling_ = false;
}

qint64 frmEstimate::shownEstimateNumber() const {
    return qint64(numbers::leadingNumber(labEstNo->text()));
}

void frmEstimate::cmdNewEstimate_Click() {
    if (editing()) {
        saveEstimate();
        return;
    }
    ClearFields();
    labEstNo->clear();
    labDateCreated->clear();
    ButtonsToSave();
    ConstructEstGrid();
    CurrentCustomerID = -1;
    version_ = {};
    showNotice({});
    // A new estimate starts from nothing: no delivery cost, totals of 0.
    txtDelivery->clear();
    CalculateTotals();
    txtName->setFocus();
}

bool frmEstimate::saveEstimate() {
    const std::optional<QString> delivery =
        checkedNumber(txtDelivery, QStringLiteral("delivery cost"));
    if (!delivery) {
        return false;
    }
    panEst->hide();
    // A creation date is given the first time the estimate is saved.
    if (!readDateText(app_, labDateCreated->text())) {
        labDateCreated->setText(formatDisplayDate(app_, app_.clock.now()));
    }
    EstimateSave save;
    save.EstNo = labEstNo->text().trimmed().isEmpty() ? 0 : shownEstimateNumber();
    if (save.EstNo == 0 && app_.ManualNumbering) {
        // Cancel gives up this save; everything typed stays on the screen.
        const std::optional<qint64> typed =
            GetNewEstimateNumber(app_.DbConnection, app_.prompter, true);
        if (!typed) {
            return false;
        }
        save.EstNo = *typed;
    }
    save.CustomerID = CurrentCustomerID;
    save.customer = customerOnScreen();
    save.Delivery = *delivery;
    save.DateCreated = labDateCreated->text();
    save.version = version_;
    const QString record = QStringLiteral("Estimate %1").arg(save.EstNo);
    QString error;
    SavedEstimate saved;
    for (;;) {
        saved = saveNumberedEstimate(app_.DbConnection, save, lines(), app_.saveStamp(), &error);
        if (saved.outcome == SaveOutcome::ChangedElsewhere) {
            const auto differences = [&] {
                return estimateDifferences(
                    estimates::LoadFullEstimate(app_.DbConnection, save.EstNo), customerOnScreen(),
                    save.Delivery, lines());
            };
            if (!conflicts::keepMine(app_, record, saved.version, differences)) {
                showNotice(conflicts::changedWhileEditing(app_, saved.version));
                return false;
            }
            save.version = saved.version;  // saved over the version just seen
            continue;
        }
        if (saved.outcome == SaveOutcome::DeletedElsewhere) {
            if (!conflicts::saveAgain(app_, record, QString::number(save.EstNo))) {
                showNotice(conflicts::deletedWhileEditing());
                return false;
            }
            save.version = {};  // written again under its number
            continue;
        }
        break;
    }
    if (!saved) {
        if (app_.DbConnection.serverAway()) {
            app_.server.tellUser();
            return false;
        }
        app_.prompter.message(QStringLiteral("The estimate could not be saved.\r\n") + error +
                                  QStringLiteral("\r\nYour changes are still on the screen."),
                              QStringLiteral("Estimate Not Saved"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
        return false;
    }
    version_ = saved.version;
    showNotice({});
    CurrentCustomerID = saved->CustomerID;
    labEstNo->setText(QString::number(saved->EstNo));
    ButtonsToNew();
    app_.prompter.message(QStringLiteral("Estiamte Number ") + QString::number(saved->EstNo),
                          QStringLiteral("Estimate Saved"), Prompter::Buttons::Ok,
                          Prompter::Icon::Information);
    return true;
}

void frmEstimate::cmdCancel_Click() {
    if (!editing()) {
        return;
    }
    if (app_.prompter.message(QStringLiteral("Do you want to cancel the changes?"),
                              QStringLiteral("Cancel Changes"), Prompter::Buttons::YesNo,
                              Prompter::Icon::Question) == Prompter::Answer::Yes) {
        ButtonsToNew();
    }
}

void frmEstimate::cmdExit_Click() {
    close();
}

QString frmEstimate::unsavedChangesName() const {
    return labEstNo->text().trimmed().isEmpty()
               ? QStringLiteral("the new estimate on the estimates screen")
               : QStringLiteral("estimate %1 on the estimates screen").arg(shownEstimateNumber());
}

void frmEstimate::closeEvent(QCloseEvent* event) {
    // Closing the window while editing would lose the typing: ask first.
    if (editing() &&
        app_.prompter.message(QStringLiteral("Do you want to cancel the changes?"),
                              QStringLiteral("Cancel Changes"), Prompter::Buttons::YesNo,
                              Prompter::Icon::Question) != Prompter::Answer::Yes) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void frmEstimate::cmdSearch_Click() {
    if (const std::optional<qint32> id = frmSearch::pick(app_, false, this)) {
        LoadClient(*id);
    }
}

void frmEstimate::LoadClient(qint32 id) {
    const std::optional<EstimateCustomer> customer = estimates::LoadClient(app_.DbConnection, id);
    if (!customer) {
        return;
    }
    showCustomer(*customer);
    CurrentCustomerID = id;
    CheckEdit();
}

void frmEstimate::cmdAddItem_Click() {
    CheckEdit();
    placePanel(panEst);
    txtEstQty->setFocus();
}

void frmEstimate::cmdCloseAdd_Click() {
    panEst->hide();
}

std::optional<QString> frmEstimate::checkedNumber(QLineEdit* box, const QString& what,
                                                  bool required) {
    std::optional<QString> number = typedNumber(box->text(), app_.CurrencySymbol);
    if (required && number && number->isEmpty()) {
        number.reset();
    }
    if (!number) {
        app_.prompter.message(QStringLiteral("The ") + what + QStringLiteral(" \"") + box->text() +
                                  QStringLiteral("\" is not a number.\r\nType it with a decimal "
                                                 "point, for example 12.50."),
                              QStringLiteral("Not A Number"), Prompter::Buttons::Ok,
                              Prompter::Icon::Exclamation);
        box->setFocus();
        box->selectAll();
    }
    return number;
}

void frmEstimate::cmdOKAdd_Click() {
    const QString description = comEstDesc->currentText();
    if (txtEstQty->text().isEmpty() || description.trimmed().isEmpty()) {
        return;
    }
    // Each value is checked before any is taken, so a wrong one loses nothing. A quantity of
    // blanks is no number: a line without one would show but never be saved.
    const auto qty = checkedNumber(txtEstQty, QStringLiteral("quantity"), true);
    const auto trade =
        qty ? checkedNumber(txtEstTrade, QStringLiteral("trade price")) : std::nullopt;
    const auto retail =
        trade ? checkedNumber(txtEstRetail, QStringLiteral("retail price")) : std::nullopt;
    if (!retail) {
        return;
    }
    appendRow(fgEstimate, {*qty, description, *trade, *retail});
    if (AddToTable(app_.DbConnection, description)) {
        comEstDesc->addItem(description.trimmed());
    }
    ClearEstBoxes();
    CalculateTotals();
    panEst->hide();
    // The next line is one key away.
    cmdAddItem->setFocus();
}

void frmEstimate::fgEstimate_DblClick() {
    CheckEdit();
    const int row = fgEstimate->currentRow();
    const QTableWidgetItem* qty = fgEstimate->item(row, 0);
    if (row < 0 || !qty || qty->text().isEmpty()) {
        return;
    }
    const QTableWidgetItem* description = fgEstimate->item(row, 1);
    if (app_.prompter.message(
            QStringLiteral("Do you really want to remove this item?"),
            QStringLiteral("Remove Item ") + (description ? description->text() : QString()),
            Prompter::Buttons::YesNo, Prompter::Icon::Question) == Prompter::Answer::Yes) {
        fgEstimate->removeRow(row);
        CalculateTotals();
    }
}

bool frmEstimate::LoadFullEstimate(qint64 lEstNo) {
    const std::optional<StoredEstimate> estimate =
        estimates::LoadFullEstimate(app_.DbConnection, lEstNo);
    if (!estimate) {
        return false;
    }
    ConstructEstGrid();
    for (const EstimateLine& line : estimate->lines) {
        appendRow(fgEstimate, {line.Qty, line.Description, line.Trade, line.Retail});
    }
    labEstNo->setText(QString::number(estimate->EstNo));
    version_ = estimate->version;
    showNotice({});
    txtDelivery->setText(estimate->DeliveryCost.toString());
    labDateCreated->setText(estimate->DateCreated);
    CurrentCustomerID = estimate->ClientId;
    ClearFields();
    if (estimate->customerFound) {
        showCustomer(estimate->customer);
    }
    CalculateTotals();
    enableDetails();
    updateEmailButton();
    return true;
}

void frmEstimate::showNotice(const QString& text) {
    labChangedElsewhere->setText(text);
    labChangedElsewhere->setVisible(!text.isEmpty());
}

void frmEstimate::followChanges(const QStringList& tables) {
    const qint64 estNo = shownEstimateNumber();
    if (estNo <= 0 || !version_.stored() ||
        !changes::concerns(tables, rowversion::kEstimateTable)) {
        return;
    }
    bool unreadable = false;
    const std::optional<RowVersion> now =
        storedEstimateVersion(app_.DbConnection, estNo, &unreadable);
    conflicts::Following step = conflicts::follow(app_, now, unreadable, version_, editing());
    if (step.action == conflicts::Following::Action::Reload && !LoadFullEstimate(estNo)) {
        step = conflicts::follow(app_, std::nullopt, false, version_, false);
    }
    // A deleted estimate stays on the screen, where it can be saved again.
    if (step.action != conflicts::Following::Action::None) {
        showNotice(step.notice);
    }
}
