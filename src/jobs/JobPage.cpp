#include "jobs/JobPage.h"

#include "jobs/CaptionLabels.h"
#include "jobs/JobFieldGroup.h"
#include "jobs/JobLayout.h"
#include "jobs/JobStatusStrip.h"

#include "records/AppState.h"
#include "records/DateFormats.h"
#include "widgets/Controls.h"
#include "widgets/DateBox.h"
#include "widgets/ListCompletion.h"
#include "widgets/TextBox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>

JobPage::JobPage(AppState& app, CaptionLabels& captions, QWidget* parent)
    : QWidget(parent), app_(app), captions_(captions), fields_(new JobFieldGroup(app, this)) {
    strip_ = new JobStatusStrip(0, captions, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(strip_);
    layout->addWidget(buildDetails(), 1);
    setTabOrderOfBoxes();

    connect(strip_, &JobStatusStrip::changeStatusClicked, this, &JobPage::changeStatusClicked);
    connect(fields_, &JobFieldGroup::edited, this, &JobPage::edited);
    connect(fields_, &JobFieldGroup::refused, this, &JobPage::refused);
    connect(cmdFindEngineer, &QPushButton::clicked, this, &JobPage::findEngineerClicked);
    connect(cmdFindClient_0, &QPushButton::clicked, this, &JobPage::findCustomerClicked);
    connect(comIntroduced, &QComboBox::activated, this, [this] {
        if (!fields_->loaded()) {
            Q_EMIT refused();
            return;
        }
        Q_EMIT edited();
        txtCustName->setFocus();
    });
    connect(comInvoiceStatus, &QComboBox::activated, this, [this] {
        if (!fields_->loaded()) {
            Q_EMIT refused();
            return;
        }
        Q_EMIT edited();
    });
}

QWidget* JobPage::buildDetails() {
    comIntroduced = new QComboBox(this);
    comIntroduced->setEditable(true);
    comIntroduced->setInsertPolicy(QComboBox::NoInsert);
    completeByPopup(comIntroduced);
    fields_->add(comIntroduced, QStringLiteral("comIntroduced"));
    txtClientRef = fields_->add(new QLineEdit(this), QStringLiteral("txtClientRef"));
    cmdFindEngineer =
        makeButton(this, "cmdFindEngineer", QStringLiteral("..."),
                   QStringLiteral("Click here to find an existing entry and assign it to "
                                  "this job."));
    cmdFindEngineer->setFixedWidth(32);

    txtCustName = fields_->add(new QLineEdit(this), QStringLiteral("txtCustName"));
    txtHomeAddress = fields_->add(new QPlainTextEdit(this), QStringLiteral("txtHomeAddress"));
    txtCustContactNos = fields_->add(new QPlainTextEdit(this), QStringLiteral("txtCustContactNos"));
    cmdFindClient_0 =
        makeButton(this, "cmdFindClient_0", QStringLiteral("Find Customer..."),
                   QStringLiteral("Click here to find an existing customer and assign "
                                  "them to this job."));
    txtWorkDetails = fields_->add(new TextBox(this), QStringLiteral("txtWorkDetails"));
    txtNotes = fields_->add(new TextBox(this), QStringLiteral("txtNotes"));
    fields_->stampOnF2(txtNotes, false);
    txtDateCreated = fields_->addDate(new QLineEdit(this), QStringLiteral("txtDateCreated"));
    txtDateReceived = fields_->addDate(new QLineEdit(this), QStringLiteral("txtDateReceived"));
    txtDateDue = fields_->addDate(new QLineEdit(this), QStringLiteral("txtDateDue"));
    txtQuoteDate = fields_->addDate(new QLineEdit(this), QStringLiteral("txtQuoteDate"));
    txtDateCompleted = fields_->addDate(new QLineEdit(this), QStringLiteral("txtDateCompleted"));
    txtCustRef = fields_->add(new QLineEdit(this), QStringLiteral("txtCustRef"));
    for (size_t i = 0; i < txtUnused1.size(); ++i) {
        txtUnused1[i] = fields_->add(new QLineEdit(this), QStringLiteral("txtUnused1_%1").arg(i));
    }
    comInvoiceStatus = fields_->add(new QComboBox(this), QStringLiteral("comInvoiceStatus"));
    for (const QString& state : invoiceStatuses()) {
        comInvoiceStatus->addItem(state);
    }
    txtPrice = fields_->addPrice(new QLineEdit(this), QStringLiteral("txtPrice"));
    txtPrice->setAlignment(Qt::AlignRight);
    txtInvoiceDate = fields_->addDate(new QLineEdit(this), QStringLiteral("txtInvoiceDate"));
    txtHomeAddress->setMinimumHeight(70);
    txtCustContactNos->setMaximumHeight(60);
    txtNotes->setMinimumHeight(90);

    auto caption = [this](Caption which, QWidget* buddy) {
        return captions_.make(this, which, buddy);
    };

    auto* top = new QHBoxLayout;
    top->addWidget(caption(Caption::IntroducedBy, comIntroduced));
    top->addWidget(comIntroduced, 1);
    top->addSpacing(12);
    top->addWidget(caption(Caption::ClientRef, txtClientRef));
    top->addWidget(txtClientRef, 1);
    top->addWidget(cmdFindEngineer);

    auto* customer = new QVBoxLayout;
    customer->addLayout(stacked(caption(Caption::WorkName, txtCustName), txtCustName));
    customer->addLayout(stacked(caption(Caption::HomeAddress, txtHomeAddress), txtHomeAddress), 2);
    customer->addLayout(
        stacked(caption(Caption::HomeNumbers, txtCustContactNos), txtCustContactNos), 1);
    customer->addWidget(cmdFindClient_0, 0, Qt::AlignLeft);

    auto* work = stacked(caption(Caption::WorkDetails, txtWorkDetails), txtWorkDetails);

    auto* dates = new QVBoxLayout;
    const std::pair<Caption, QLineEdit*> dateFields[] = {
        {Caption::DateCreated, txtDateCreated},
        {Caption::DateReceived, txtDateReceived},
        {Caption::DateDue, txtDateDue},
        {Caption::DateQuoted, txtQuoteDate},
        {Caption::DateCompleted, txtDateCompleted}};
    for (const auto& [which, box] : dateFields) {
        dates->addLayout(stacked(caption(which, box), box));
    }
    auto* invoicing = new QGroupBox(QStringLiteral("Invoicing"), this);
    invoicing->setObjectName(QStringLiteral("fraInvoicing"));
    auto* invoiceForm = new QVBoxLayout(invoicing);
    invoiceForm->setSpacing(2);
    auto named = [this](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setBuddy(buddy);
        return l;
    };
    invoiceForm->addLayout(stacked(named("In&voice Status:", comInvoiceStatus), comInvoiceStatus));
    invoiceForm->addLayout(stacked(named("&Price:", txtPrice), txtPrice));
    invoiceForm->addLayout(stacked(named("&Invoice Date:", txtInvoiceDate), txtInvoiceDate));
    dates->addWidget(invoicing);
    dates->addStretch();

    auto* references = new QVBoxLayout;
    references->addLayout(stacked(caption(Caption::CustRef, txtCustRef), txtCustRef));
    for (size_t i = 0; i < txtUnused1.size(); ++i) {
        references->addLayout(stacked(caption(kUnusedCaptions[i], txtUnused1[i]), txtUnused1[i]));
    }
    references->addStretch();

    auto* columns = new QHBoxLayout;
    columns->setSpacing(10);
    columns->addLayout(customer, 5);
    columns->addLayout(work, 5);
    columns->addLayout(dates, 3);
    columns->addLayout(references, 3);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("fraJobDetails"));
    auto* inner = new QVBoxLayout(frame);
    inner->addLayout(top);
    inner->addLayout(columns, 1);
    inner->addLayout(stacked(caption(Caption::WorkNotes, txtNotes), txtNotes));
    return frame;
}

void JobPage::setTabOrderOfBoxes() {
    QList<QWidget*> chain = {strip_,         comIntroduced,    txtClientRef,      cmdFindEngineer,
                             txtCustName,    txtHomeAddress,   txtCustContactNos, cmdFindClient_0,
                             txtWorkDetails, txtDateCreated,   txtDateReceived,   txtDateDue,
                             txtQuoteDate,   txtDateCompleted, comInvoiceStatus,  txtPrice,
                             txtInvoiceDate, txtCustRef};
    for (QLineEdit* box : txtUnused1) {
        chain << box;
    }
    chain << txtNotes;
    for (qsizetype i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

std::array<JobPage::DateBoxField, 6> JobPage::dateBoxes(const JobFields& f) const {
    return {{{QStringLiteral("DateCreated"), txtDateCreated, f.DateCreated},
             {QStringLiteral("DateReceived"), txtDateReceived, f.DateReceived},
             {QStringLiteral("DateDue"), txtDateDue, f.DateDue},
             {QStringLiteral("DateQuoted"), txtQuoteDate, f.DateQuoted},
             {QStringLiteral("DateCompleted"), txtDateCompleted, f.DateCompleted},
             {QStringLiteral("Date"), txtInvoiceDate, f.InvoiceDate}}};
}

void JobPage::setFields(const JobFields& f) {
    fields_->setFilling(true);
    comIntroduced->setEditText(f.IntroducedBy);
    txtClientRef->setText(f.ClientRef);
    txtWorkDetails->setText(f.WorkDetails);
    txtCustContactNos->setPlainText(f.HomeNumbers);
    txtCustName->setText(f.WorkName);
    txtHomeAddress->setPlainText(f.HomeAddress);
    txtNotes->setText(f.WorkNotes);
    for (const auto& [column, box, text] : dateBoxes(f)) {
        const datetext::Shown behind = f.shownDates.value(column);
        showBoxDate(box, {text, behind.text == text ? behind.date : QDateTime()});
    }
    txtCustRef->setText(f.CustRef);
    for (size_t i = 0; i < txtUnused1.size(); ++i) {
        txtUnused1[i]->setText(f.Unused[i]);
    }
    const int state = comInvoiceStatus->findText(f.InvoiceStatus);
    if (state < 0 && !f.InvoiceStatus.isEmpty()) {
        comInvoiceStatus->addItem(f.InvoiceStatus);  // a state written by an older release
    }
    comInvoiceStatus->setCurrentIndex(comInvoiceStatus->findText(f.InvoiceStatus));
    txtPrice->setText(f.Price);
    // A text wider than its box reads from its start.
    for (QLineEdit* line : findChildren<QLineEdit*>()) {
        if (!qobject_cast<QComboBox*>(line->parent())) {
            line->setCursorPosition(0);
        }
    }
    fields_->setFilling(false);
}

void JobPage::readFields(JobFields& f) const {
    f.IntroducedBy = comIntroduced->currentText();
    f.ClientRef = txtClientRef->text();
    f.WorkName = txtCustName->text();
    f.HomeAddress = txtHomeAddress->toPlainText();
    f.HomeNumbers = txtCustContactNos->toPlainText();
    f.WorkDetails = txtWorkDetails->text();
    f.WorkNotes = txtNotes->text();
    f.DateCreated = txtDateCreated->text();
    f.DateReceived = txtDateReceived->text();
    f.DateDue = txtDateDue->text();
    f.DateQuoted = txtQuoteDate->text();
    f.DateCompleted = txtDateCompleted->text();
    f.CustRef = txtCustRef->text();
    for (size_t i = 0; i < txtUnused1.size(); ++i) {
        f.Unused[i] = txtUnused1[i]->text();
    }
    f.InvoiceStatus = comInvoiceStatus->currentText();
    f.InvoiceDate = txtInvoiceDate->text();
    f.Price = txtPrice->text();
    for (const auto& [column, box, text] : dateBoxes(f)) {
        const datetext::Shown behind = boxDate(box);
        if (behind.date.isValid()) {
            f.shownDates.insert(column, behind);
        }
    }
}

void JobPage::setJobNumber(const QString& number) {
    strip_->setJobNumber(number);
}

void JobPage::setJobStatus(const QString& status) {
    strip_->setJobStatus(status);
}

void JobPage::setJobLoaded(bool loaded) {
    fields_->setLoaded(loaded);
}

void JobPage::setIntroducers(const QStringList& names) {
    comIntroduced->clear();
    comIntroduced->addItems(names);
}

void JobPage::setCustomer(const JobContact& customer) {
    fields_->setFilling(true);
    txtCustName->setText(customer.name);
    txtHomeAddress->setPlainText(customer.address);
    txtCustContactNos->setPlainText(customer.numbers);
    fields_->setFilling(false);
}

void JobPage::focusCustomer() {
    if (txtCustName->text().isEmpty()) {
        txtCustName->setFocus();
    } else if (txtHomeAddress->toPlainText().isEmpty()) {
        txtHomeAddress->setFocus();
    } else {
        txtCustContactNos->setFocus();
    }
}

QString JobPage::engineer() const {
    return txtClientRef->text();
}

void JobPage::takeEngineer(const QString& name) {
    txtClientRef->setText(name);
    txtClientRef->setFocus();
}

void JobPage::focusFirst() {
    comIntroduced->setFocus();
}

void JobPage::fitDateBoxes() {
    // Every weekday of every month, with a two-digit day: the longest names the format can show.
    const QFontMetrics metrics = txtDateCreated->fontMetrics();
    int widest = 0;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 22; day <= 28; ++day) {
            const QDateTime date(QDate(2026, month, day), QTime(0, 0));
            widest = qMax(widest, metrics.horizontalAdvance(formatDisplayDate(app_, date)));
        }
    }
    QStyleOptionFrame option;
    option.initFrom(txtDateCreated);
    option.lineWidth =
        txtDateCreated->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, txtDateCreated);
    // The box's own margins (2 pixels each side) and the cursor's width beside the text.
    const QSize text(widest + 2 * 2 + 1, metrics.height());
    const int width = txtDateCreated->style()
                          ->sizeFromContents(QStyle::CT_LineEdit, &option, text, txtDateCreated)
                          .width();
    for (QLineEdit* box : {txtDateCreated, txtDateReceived, txtDateDue, txtQuoteDate,
                           txtDateCompleted, txtInvoiceDate}) {
        box->setMinimumWidth(width);
    }
}
