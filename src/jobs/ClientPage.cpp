#include "jobs/ClientPage.h"

#include "jobs/CaptionLabels.h"
#include "jobs/JobFieldGroup.h"
#include "jobs/JobLayout.h"
#include "jobs/JobStatusStrip.h"

#include "widgets/Controls.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

ClientPage::ClientPage(AppState& app, CaptionLabels& captions, QWidget* parent)
    : QWidget(parent), fields_(new JobFieldGroup(app, this)) {
    strip_ = new JobStatusStrip(2, captions, this);
    txtCliName = fields_->add(new QLineEdit(this), QStringLiteral("txtCliName"));
    txtCliAddress = fields_->add(new QPlainTextEdit(this), QStringLiteral("txtCliAddress"));
    txtCliNumbers = fields_->add(new QPlainTextEdit(this), QStringLiteral("txtCliNumbers"));
    txtCliNotes = fields_->add(new QPlainTextEdit(this), QStringLiteral("txtCliNotes"));
    fields_->stampOnF2(txtCliNotes, true);
    cmdFindClient_1 = makeButton(this, "cmdFindClient_1", QStringLiteral("Find Client..."),
                                 QStringLiteral("Click here to find an existing client and assign "
                                                "them to this job."));

    auto* left = new QVBoxLayout;
    left->addLayout(stacked(captions.make(this, Caption::CliName, txtCliName), txtCliName));
    left->addLayout(stacked(captions.make(this, Caption::CliAddress, txtCliAddress), txtCliAddress),
                    2);
    left->addLayout(stacked(captions.make(this, Caption::CliNumbers, txtCliNumbers), txtCliNumbers),
                    1);
    left->addWidget(cmdFindClient_1, 0, Qt::AlignLeft);
    auto* columns = new QHBoxLayout;
    columns->setSpacing(12);
    columns->addLayout(left, 1);
    columns->addLayout(stacked(captions.make(this, Caption::CliNotes, txtCliNotes), txtCliNotes),
                       1);

    auto* frame = new QGroupBox(this);
    frame->setLayout(columns);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(strip_);
    layout->addWidget(frame, 1);

    const QList<QWidget*> chain = {strip_,        txtCliName,      txtCliAddress,
                                   txtCliNumbers, cmdFindClient_1, txtCliNotes};
    for (qsizetype i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }

    connect(strip_, &JobStatusStrip::changeStatusClicked, this, &ClientPage::changeStatusClicked);
    connect(fields_, &JobFieldGroup::edited, this, &ClientPage::edited);
    connect(fields_, &JobFieldGroup::refused, this, &ClientPage::refused);
    connect(cmdFindClient_1, &QPushButton::clicked, this, &ClientPage::findClientClicked);
}

void ClientPage::setFields(const JobFields& f) {
    fields_->setFilling(true);
    txtCliName->setText(f.CliName);
    txtCliAddress->setPlainText(f.CliAddress);
    txtCliNumbers->setPlainText(f.CliNumbers);
    txtCliNotes->setPlainText(f.CliNotes);
    txtCliName->setCursorPosition(0);  // a name wider than its box reads from its start
    fields_->setFilling(false);
}

void ClientPage::readFields(JobFields& f) const {
    f.CliName = txtCliName->text();
    f.CliAddress = txtCliAddress->toPlainText();
    f.CliNumbers = txtCliNumbers->toPlainText();
    f.CliNotes = txtCliNotes->toPlainText();
}

void ClientPage::setJobNumber(const QString& number) {
    strip_->setJobNumber(number);
}

void ClientPage::setJobStatus(const QString& status) {
    strip_->setJobStatus(status);
}

void ClientPage::setJobLoaded(bool loaded) {
    fields_->setLoaded(loaded);
}

void ClientPage::setClient(const JobContact& client) {
    fields_->setFilling(true);
    txtCliName->setText(client.name);
    txtCliAddress->setPlainText(client.address);
    txtCliNumbers->setPlainText(client.numbers);
    fields_->setFilling(false);
}

void ClientPage::focusClient() {
    if (txtCliName->text().isEmpty()) {
        txtCliName->setFocus();
    } else if (txtCliAddress->toPlainText().isEmpty()) {
        txtCliAddress->setFocus();
    } else {
        txtCliNumbers->setFocus();
    }
}
