#include "setup/CountersTab.h"

#include "common/Numbers.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/SystemLocale.h"
#include "records/AppState.h"
#include "records/Counters.h"
#include "records/DateFormats.h"
#include "setup/SetupValues.h"
#include "widgets/Controls.h"
#include "widgets/ListCompletion.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <typename T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A counter box read as the number it begins with; a number beyond any counter's range reads
// as one past the highest, which is refused.
qint64 leadingWholeNumber(const QLineEdit* box) {
    const double value = numbers::leadingNumber(box->text());
    if (value > double(counters::kHighest)) {
        return counters::kHighest + 1;
    }
    return qint64(qMax(value, -double(counters::kHighest)));
}

// The two options the templates tab stores as soon as they are clicked.
constexpr qint64 kOptionsStoredHere = 0x1F;

}  // namespace

CountersTab::CountersTab(AppState& app, QWidget* parent) : SetupTab(parent), app_(app) {
    setObjectName(QStringLiteral("CountersTab"));
    chkForceDate = named(new QCheckBox(QStringLiteral("Force date validation on all date fields")),
                         "chkForceDate");
    comDateFormat = named(new QComboBox, "comDateFormat");
    comDateFormat->setEditable(true);
    completeByPopup(comDateFormat);
    comDateFormat->setMinimumWidth(180);
    labDateFormat = named(new QLabel, "labDateFormat");
    chkSystemDate = named(
        new QCheckBox(QStringLiteral("Use Windows Regional settings for date formatting")),
        "chkSystemDate");
    txtCurrency = named(new QLineEdit, "txtCurrency");
    txtDocNo = named(new QLineEdit, "txtDocNo");
    txtInvNo = named(new QLineEdit, "txtInvNo");
    txtJobNo = named(new QLineEdit, "txtJobNo");
    txtEstNo = named(new QLineEdit, "txtEstNo");
    chkManual = named(new QCheckBox(QStringLiteral("Manual Job Numbering")), "chkManual");
    chkManual->setToolTip(
        QStringLiteral("Tick this box if you want to assing your own job numbers"));
    ckPrintCount = named(new QCheckBox(QStringLiteral("Estimate issue numbers")), "ckPrintCount");
    ckVATRegistered = named(new QCheckBox(QStringLiteral("VAT Registered")), "ckVATRegistered");
    ckVATRegistered->setToolTip(QStringLiteral("Tick this box if your company is VAT registered."));
    txtTaxDesc = named(new QLineEdit(QStringLiteral("VAT")), "txtTaxDesc");
    cmdApplyCounters = makeButton(this, "cmdApplyCounters", QStringLiteral("&Apply"));
    SSCommand3 = makeButton(this, "SSCommand3", QStringLiteral("OK"));
    SSCommand2 = makeButton(this, "SSCommand2", QStringLiteral("&Cancel"));
    for (QLineEdit* box : {txtCurrency, txtTaxDesc}) {
        box->setMaxLength(10);
        box->setMaximumWidth(120);
    }
    for (QLineEdit* box : {txtDocNo, txtInvNo, txtJobNo, txtEstNo}) {
        box->setMaximumWidth(120);
    }

    auto* system = new QGroupBox(QStringLiteral("System Wide Settings"), this);
    auto* systemForm = new QFormLayout(system);
    systemForm->addRow(chkForceDate);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(comDateFormat);
    dateRow->addWidget(labDateFormat, 1);
    systemForm->addRow(QStringLiteral("Date Format:"), dateRow);
    systemForm->addRow(chkSystemDate);
    systemForm->addRow(QStringLiteral("Currency Symbol:"), txtCurrency);

    auto* counters = new QGroupBox(QStringLiteral("Document and Job Counters"), this);
    auto* countersForm = new QFormLayout(counters);
    countersForm->addRow(QStringLiteral("Set Next Document Number:"), txtDocNo);
    countersForm->addRow(QStringLiteral("Set Next Invoice Number:"), txtInvNo);
    countersForm->addRow(QStringLiteral("Set Next Job Number:"), txtJobNo);
    countersForm->addRow(QStringLiteral("Set Next Estimate Number:"), txtEstNo);
    countersForm->addRow(chkManual);
    countersForm->addRow(ckPrintCount);

    auto* vat = new QGroupBox(QStringLiteral("VAT"), this);
    auto* vatForm = new QFormLayout(vat);
    vatForm->addRow(ckVATRegistered);
    vatForm->addRow(QStringLiteral("Tax Description:"), txtTaxDesc);

    auto* lower = new QHBoxLayout;
    lower->addWidget(counters, 3);
    lower->addWidget(vat, 2, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdApplyCounters);
    buttons->addWidget(SSCommand3);
    buttons->addWidget(SSCommand2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(system);
    layout->addLayout(lower);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(comDateFormat, &QComboBox::currentTextChanged, this, &CountersTab::comDateFormat_Click);
    connect(chkSystemDate, &QCheckBox::clicked, this, &CountersTab::chkSystemDate_Click);
    loaded_ = shown();
    connect(cmdApplyCounters, &QPushButton::clicked, this, &CountersTab::applyClicked);
    connect(SSCommand3, &QPushButton::clicked, this, &CountersTab::okClicked);
    connect(SSCommand2, &QPushButton::clicked, this, &CountersTab::cancelClicked);
}

QList<QCheckBox*> CountersTab::optionBoxes() const {
    return {chkForceDate, chkSystemDate, chkManual, ckVATRegistered, ckPrintCount};
}

void CountersTab::LoadCounters() {
    const auto values = setupvalues::readCounters(app_.DbConnection);
    if (!values) {
        return;
    }
    txtJobNo->setText(QString::number(values->jobCounter));
    txtInvNo->setText(QString::number(values->invoice));
    txtDocNo->setText(QString::number(values->fileCounter));
    txtEstNo->setText(QString::number(values->estimate));
    txtCurrency->setText(values->currencySign);
    txtTaxDesc->setText(values->taxDesc);
    bool* flags[] = {&app_.ForceDateValidation, &app_.UseSystemDateFormat, &app_.ManualNumbering,
                     &app_.VatRegistered,       &app_.PrintCount,          &app_.JustPrint,
                     &app_.BackgroundPrinting};
    const auto boxes = optionBoxes();
    for (int bit = 0; bit < int(std::size(flags)); ++bit) {
        const bool on = (values->options & (qint64(1) << bit)) != 0;
        *flags[bit] = on;
        if (bit < boxes.size()) {
            boxes[bit]->setChecked(on);
        }
    }
    loaded_ = shown();
    Q_EMIT optionsLoaded();
}

void CountersTab::LoadDateFormats() {
    const auto formats = setupvalues::LoadDateFormats(app_.DbConnection);
    const QSignalBlocker quiet(comDateFormat);
    comDateFormat->clear();
    comDateFormat->addItems(formats.formats);
    comDateFormat->setCurrentText(formats.defaultFormat);
    loadedFormat_ = formats.defaultFormat;
    comDateFormat_Click();
}

void CountersTab::comDateFormat_Click() {
    labDateFormat->setText(datetext::format(app_.clock.today(), comDateFormat->currentText(),
                                            app_.locale.locale()));
}

void CountersTab::chkSystemDate_Click() {
    app_.UseSystemDateFormat = chkSystemDate->isChecked();
    comDateFormat->setCurrentText(app_.UseSystemDateFormat ? GetDateFormat(app_)
                                                           : app_.DefaultDateFormat);
    comDateFormat_Click();
}

setupvalues::Counters CountersTab::shown() const {
    setupvalues::Counters values;
    const auto boxes = optionBoxes();
    for (int bit = 0; bit < boxes.size(); ++bit) {
        if (boxes[bit]->isChecked()) {
            values.options |= qint64(1) << bit;
        }
    }
    values.fileCounter = leadingWholeNumber(txtDocNo);
    values.jobCounter = leadingWholeNumber(txtJobNo);
    values.invoice = leadingWholeNumber(txtInvNo);
    values.estimate = leadingWholeNumber(txtEstNo);
    values.currencySign = txtCurrency->text();
    values.taxDesc = txtTaxDesc->text();
    return values;
}

QString CountersTab::formatToStore() const {
    // With the system's format in force the box shows that format, which is not one to store.
    const QString format = comDateFormat->currentText();
    if (chkSystemDate->isChecked() || format.isEmpty() || format == loadedFormat_) {
        return {};
    }
    return format;
}

bool CountersTab::hasChanges() const {
    setupvalues::Counters now = shown();
    now.options &= kOptionsStoredHere;
    setupvalues::Counters before = loaded_;
    before.options &= kOptionsStoredHere;
    return now != before || !formatToStore().isEmpty();
}

bool CountersTab::cmdApplyCounters_Click() {
    setupvalues::Counters values = shown();
    const std::pair<QLineEdit*, counters::Kind> numbered[] = {
        {txtJobNo, counters::Kind::Job},
        {txtDocNo, counters::Kind::Document},
        {txtInvNo, counters::Kind::Invoice},
        {txtEstNo, counters::Kind::Estimate}};
    const qint64 typed[] = {values.jobCounter, values.fileCounter, values.invoice,
                            values.estimate};
    const qint64 before[] = {loaded_.jobCounter, loaded_.fileCounter, loaded_.invoice,
                             loaded_.estimate};
    for (size_t i = 0; i < std::size(numbered); ++i) {
        const QString refused =
            typed[i] == before[i]
                ? QString()
                : counters::checkNext(numbered[i].second, typed[i], numbered[i].first->text());
        if (!refused.isEmpty()) {
            app_.prompter.message(refused, QStringLiteral("Settings Not Saved"),
                                  Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
            numbered[i].first->setFocus();
            numbered[i].first->selectAll();
            return false;
        }
    }
    // A next number changed to one in use (another workstation may have saved since Setup
    // opened) would give numbers twice: it is stored only after a question, as the number after
    // the highest in use.
    qint64* const stored[] = {&values.jobCounter, &values.fileCounter, &values.invoice,
                              &values.estimate};
    for (size_t i = 0; i < std::size(numbered); ++i) {
        const counters::Kind kind = numbered[i].second;
        const std::optional<qint64> highest =
            typed[i] == before[i] ? std::nullopt
                                  : counters::highestInUse(app_.DbConnection, kind);
        if (!highest || typed[i] > *highest) {
            continue;
        }
        const QString what = counters::caption(kind);
        const auto answer = app_.prompter.message(
            QStringLiteral("The next %1 typed, %2, is not above the highest %1 in use, %3 "
                           "(another workstation may have saved since Setup opened), so numbers "
                           "would be given twice.\r\n\r\nStore %4 as the next %1 instead?")
                .arg(what)
                .arg(typed[i])
                .arg(*highest)
                .arg(*highest + 1),
            QStringLiteral("Next Number In Use"), Prompter::Buttons::YesNo,
            Prompter::Icon::Question);
        if (answer != Prompter::Answer::Yes) {
            numbered[i].first->setFocus();
            numbered[i].first->selectAll();
            return false;
        }
        *stored[i] = *highest + 1;
        numbered[i].first->setText(QString::number(*highest + 1));
    }
    const QString format = formatToStore();
    if (!setupvalues::writeCounters(app_.DbConnection, values, loaded_, kOptionsStoredHere) ||
        (!format.isEmpty() && !setupvalues::SaveDateFormat(app_.DbConnection, format))) {
        app_.prompter.message(QStringLiteral("The settings could not be saved:\r\n") +
                                  app_.DbConnection.lastError().message,
                              QStringLiteral("Settings Not Saved"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
        return false;
    }
    // What is stored now is what a later Apply compares with.
    loaded_ = values;
    if (!format.isEmpty()) {
        loadedFormat_ = format;
    }
    return true;
}
