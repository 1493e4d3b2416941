#include "addressbook/frmAddressBook.h"

#include "platform/Prompter.h"
#include "records/AppState.h"
#include "search/frmSearch.h"
#include "widgets/CentreForm.h"
#include "widgets/Controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kNewContact = QStringLiteral("&New Contact");
const QString kSaveContact = QStringLiteral("&Save Contact");
const QString kDeleteContact = QStringLiteral("&Delete Contact");
const QString kCancelChanges = QStringLiteral("&Cancel Changes");

}  // namespace

frmAddressBook::frmAddressBook(AppState& app, QWidget* parent)
    : QDialog(parent), app_(app), customer_(app.DbConnection), client_(app.DbConnection) {
    setObjectName(QStringLiteral("frmAddressBook"));

    optType[0] = new QRadioButton(QStringLiteral("C&ustomer"), this);
    optType[1] = new QRadioButton(QStringLiteral("C&lient"), this);
    for (int i = 0; i < 2; ++i) {
        optType[i]->setObjectName(QStringLiteral("optType_%1").arg(i));
        connect(optType[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on) {
                optType_Click();
            }
        });
    }
    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtAddress = new QPlainTextEdit(this);
    txtAddress->setObjectName(QStringLiteral("txtAddress"));
    txtAddress->setTabChangesFocus(true);
    txtContacts = new QLineEdit(this);
    txtContacts->setObjectName(QStringLiteral("txtContacts"));
    txtTelephone = new QLineEdit(this);
    txtTelephone->setObjectName(QStringLiteral("txtTelephone"));
    txtEmail = new QLineEdit(this);
    txtEmail->setObjectName(QStringLiteral("txtEmail"));
    for (QLineEdit* box : {txtName, txtContacts, txtTelephone, txtEmail}) {
        highlightOnFocus(box);
        connect(box, &QLineEdit::textChanged, this, &frmAddressBook::MarkEditingContact);
    }
    highlightOnFocus(txtAddress);
    connect(txtAddress, &QPlainTextEdit::textChanged, this, &frmAddressBook::MarkEditingContact);

    cmdNew = makeButton(this, "cmdNew", kNewContact);
    cmdDelete = makeButton(this, "cmdDelete", kDeleteContact);
    cmdSearch = makeButton(this, "cmdSearch", QStringLiteral("&Search Contacts"));
    cmdExit = makeButton(this, "cmdExit", QStringLiteral("E&xit"));
    connect(cmdNew, &QPushButton::clicked, this, &frmAddressBook::cmdNew_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmAddressBook::cmdDelete_Click);
    connect(cmdSearch, &QPushButton::clicked, this, &frmAddressBook::cmdSearch_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmAddressBook::cmdExit_Click);

    auto* type = new QHBoxLayout;
    type->addWidget(new QLabel(QStringLiteral("Contact Type:"), this));
    type->addWidget(optType[0]);
    type->addWidget(optType[1]);
    type->addStretch(1);

    auto* details = new QGroupBox(QStringLiteral("Contact Details"), this);
    auto* grid = new QGridLayout(details);
    const struct {
        int index;
        const char* caption;
        QWidget* box;
    } rows[] = {{0, "Na&me:", txtName},
                {1, "&Address:", txtAddress},
                {2, "C&ontacts:", txtContacts},
                {3, "&Telephone:", txtTelephone},
                {7, "&Email:", txtEmail}};
    int row = 0;
    for (const auto& r : rows) {
        auto* label = new QLabel(QString::fromLatin1(r.caption), details);
        label->setObjectName(QStringLiteral("Label1_%1").arg(r.index));
        label->setBuddy(r.box);
        Label1.insert(r.index, label);
        grid->addWidget(label, row, 0, r.box == txtAddress ? Qt::AlignTop : Qt::Alignment());
        grid->addWidget(r.box, row, 1);
        ++row;
    }
    txtAddress->setFixedHeight(fontMetrics().lineSpacing() * 5 + 12);
    grid->setColumnStretch(1, 1);
    // A taller window leaves its room below the boxes rather than between them.
    grid->setRowStretch(row, 1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdNew, cmdDelete, cmdSearch}) {
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    buttons->addWidget(cmdExit);

    labChangedElsewhere = new QLabel(this);
    labChangedElsewhere->setObjectName(QStringLiteral("labChangedElsewhere"));
    labChangedElsewhere->setWordWrap(true);
    labChangedElsewhere->setStyleSheet(QStringLiteral("color: #7a4b00;"));
    labChangedElsewhere->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(type);
    layout->addWidget(details, 1);
    layout->addWidget(labChangedElsewhere);
    layout->addLayout(buttons);
    setTabOrder(optType[0], optType[1]);
    setTabOrder(optType[1], txtName);
    setTabOrder(txtName, txtAddress);
    setTabOrder(txtAddress, txtContacts);
    setTabOrder(txtContacts, txtTelephone);
    setTabOrder(txtTelephone, txtEmail);
    setTabOrder(txtEmail, cmdNew);

    connect(&app_.changes, &ChangeWatcher::changed, this, &frmAddressBook::followChanges);
    resize(560, sizeHint().height());
    Form_Load();
}

void frmAddressBook::Form_Load() {
    setWindowTitle(QStringLiteral("Verdell Standard [Address Book]"));
    CentreForm(this, app_.screen);
    // The search lists customers unless told otherwise, so the customer is the choice to start on.
    optType[0]->setChecked(true);
    optType_Click();
    ClearScreen();
    ButtonsToNew();
}

bool frmAddressBook::customerSelected() const {
    return optType[0]->isChecked();
}

ContactRecord& frmAddressBook::selected() {
    return customerSelected() ? static_cast<ContactRecord&>(customer_) : client_;
}

void frmAddressBook::optType_Click() {
    const bool phone = customerSelected();
    for (QWidget* w :
         {static_cast<QWidget*>(txtTelephone), static_cast<QWidget*>(txtEmail),
          static_cast<QWidget*>(Label1.value(3)), static_cast<QWidget*>(Label1.value(7))}) {
        w->setVisible(phone);
    }
}

void frmAddressBook::ClearScreen() {
    filling_ = true;
    for (QLineEdit* box : {txtName, txtContacts, txtTelephone, txtEmail}) {
        box->clear();
    }
    txtAddress->clear();
    filling_ = false;
    ContactEditing = false;
    customer_.ClearLocals();
    client_.ClearLocals();
    showNotice({});
}

void frmAddressBook::ButtonsToNew() {
    cmdNew->setText(kNewContact);
    cmdDelete->setText(kDeleteContact);
    cmdSearch->setEnabled(true);
}

void frmAddressBook::ButtonsToSave() {
    cmdNew->setText(kSaveContact);
    cmdDelete->setText(kCancelChanges);
    cmdSearch->setEnabled(false);
}

void frmAddressBook::setBoxTexts(const ContactRecord& record, bool withPhone) {
    filling_ = true;
    txtName->setText(record.Name);
    txtAddress->setPlainText(record.Address);
    txtContacts->setText(record.Contact);
    if (withPhone) {
        txtTelephone->setText(record.Telephone);
        txtEmail->setText(record.Email);
    }
    filling_ = false;
}

void frmAddressBook::PopulateScreenWithCustomer() {
    optType[0]->setChecked(true);
    setBoxTexts(customer_, true);
}

void frmAddressBook::PopulateScreenWithClient() {
    optType[1]->setChecked(true);
    setBoxTexts(client_, false);
}

void frmAddressBook::PopulateContactClassFromScreen() {
    ContactRecord& record = selected();
    record.Name = txtName->text();
    record.Address = txtAddress->toPlainText();
    record.Contact = txtContacts->text();
    if (customerSelected()) {
        record.Telephone = txtTelephone->text();
        record.Email = txtEmail->text();
        record.TypeID = 0;
    }
}

void frmAddressBook::MarkEditingContact() {
    if (filling_) {
        return;
    }
    // Typing into a new contact is work too: from now on nothing clears it without a question
    // ("New Contact" turns into "Save Contact", the search is off, Exit asks).
    ButtonsToSave();
    ContactEditing = true;
}

void frmAddressBook::showStored(qint32 RecordId) {
    if (customerSelected()) {
        customer_.Load(RecordId);
        PopulateScreenWithCustomer();
    } else {
        client_.Load(RecordId);
        PopulateScreenWithClient();
    }
}

bool frmAddressBook::saveSelected() {
    PopulateContactClassFromScreen();
    ContactRecord& record = selected();
    const QString name =
        (customerSelected() ? QStringLiteral("Customer ") : QStringLiteral("Client ")) +
        record.Name.trimmed();
    for (;;) {
        switch (record.Save(app_.saveStamp())) {
            case SaveOutcome::Saved:
                showStored(record.DummyID);
                ButtonsToNew();
                ContactEditing = false;
                showNotice({});
                return true;
            case SaveOutcome::ChangedElsewhere:
                if (!conflicts::keepMine(app_, name, record.Theirs,
                                         [this] { return differencesFromStored(); })) {
                    showNotice(conflicts::changedWhileEditing(app_, record.Theirs));
                    return false;
                }
                record.Version = record.Theirs;  // saved over the version just seen
                continue;
            case SaveOutcome::DeletedElsewhere:
                if (!conflicts::saveAgain(app_, name, QString::number(record.DummyID))) {
                    showNotice(conflicts::deletedWhileEditing());
                    return false;
                }
                record.Version = {};  // written again under its own identity
                continue;
            case SaveOutcome::Failed:
                break;
        }
        break;
    }
    tellFailure(QStringLiteral("The contact could not be saved.\r\n"),
                QStringLiteral("Contact Not Saved"),
                QStringLiteral("\r\nYour changes are still on the screen."));
    return false;
}

QList<conflicts::Difference> frmAddressBook::differencesFromStored() {
    const ContactRecord& mine = selected();
    if (customerSelected()) {
        clsCustomers stored(app_.DbConnection);
        stored.Load(mine.DummyID);
        return mine.differencesFrom(stored);
    }
    clsClients stored(app_.DbConnection);
    stored.Load(mine.DummyID);
    return mine.differencesFrom(stored);
}

bool frmAddressBook::editing() const {
    return cmdNew->text() == kSaveContact;
}

void frmAddressBook::showNotice(const QString& text) {
    labChangedElsewhere->setText(text);
    labChangedElsewhere->setVisible(!text.isEmpty());
}

void frmAddressBook::followChanges(const QStringList& tables) {
    const ContactRecord& record = selected();
    const QString table =
        customerSelected() ? QStringLiteral("customers") : QStringLiteral("clients");
    if (record.DummyID < 1 || !record.Version.stored() || !changes::concerns(tables, table)) {
        return;
    }
    bool unreadable = false;
    const std::optional<RowVersion> now = rowversion::stored(
        app_.DbConnection, table, QStringLiteral("DummyID"), record.DummyID, &unreadable);
    const conflicts::Following step =
        conflicts::follow(app_, now, unreadable, record.Version, editing());
    if (step.action == conflicts::Following::Action::Reload) {
        showStored(record.DummyID);
    } else if (step.action == conflicts::Following::Action::Clear) {
        ClearScreen();
    }
    if (step.action != conflicts::Following::Action::None) {
        showNotice(step.notice);
    }
}

void frmAddressBook::cmdNew_Click() {
    if (cmdNew->text() == kNewContact) {
        ClearScreen();
        ButtonsToSave();
        txtName->setFocus();
        return;
    }
    saveSelected();
}

void frmAddressBook::cmdSearch_Click() {
    const std::optional<qint32> id = frmSearch::pick(app_, !customerSelected(), this);
    if (!id) {
        return;
    }
    ClearScreen();
    showStored(*id);
}

void frmAddressBook::cmdDelete_Click() {
    if (cmdDelete->text() == kCancelChanges) {
        if (app_.prompter.message(
                QStringLiteral("Do you really want to cancel the changes you have made?"),
                QStringLiteral("Cancel Changes"), Prompter::Buttons::YesNoCancel,
                Prompter::Icon::Question) != Prompter::Answer::Yes) {
            return;
        }
        const qint32 id = selected().DummyID;
        ClearScreen();
        ButtonsToNew();
        if (id >= 1) {
            showStored(id);
        }
        return;
    }
    if (customerSelected()) {
        const qint32 id = customer_.DummyID;
        const QString name = customer_.Name;
        if (id < 1 || app_.prompter.message(
                          QStringLiteral("Do you really want to delete this customer?"),
                          QStringLiteral("Delete Customer ") + name, Prompter::Buttons::YesNoCancel,
                          Prompter::Icon::Question) != Prompter::Answer::Yes) {
            return;
        }
        const std::optional<int> count = IsCustomerUsedInEstimate(id);
        if (!count) {
            return;
        }
        if (*count != 0) {
            if (app_.prompter.message(
                    QStringLiteral("This customer is used in ") + QString::number(*count) +
                        QStringLiteral(" estimates and cannot be deleted.\r\n\r\nWould you like "
                                       "to see the estimates using this customer?"),
                    QStringLiteral("Unable To Delete Customer ") + name, Prompter::Buttons::YesNo,
                    Prompter::Icon::Question) == Prompter::Answer::Yes) {
                DisplayUsedEstimates(id);
            }
            return;
        }
        if (DeleteCustomer(id)) {
            ClearScreen();
        }
        return;
    }
    const qint32 id = client_.DummyID;
    if (id < 1 || app_.prompter.message(QStringLiteral("Do you really want to delete this Client?"),
                                        QStringLiteral("Delete Client ") + client_.Name,
                                        Prompter::Buttons::YesNoCancel,
                                        Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return;
    }
    if (DeleteClient(id)) {
        ClearScreen();
    }
}

std::optional<int> frmAddressBook::IsCustomerUsedInEstimate(qint32 RecordId) {
    const std::optional<QList<qint64>> estimates =
        addressbook::estimatesOfCustomer(app_.DbConnection, RecordId);
    if (!estimates) {
        tellFailure(QStringLiteral("The contact could not be deleted.\r\n"),
                    QStringLiteral("Contact Not Deleted"));
        return std::nullopt;
    }
    return int(estimates->size());
}

bool frmAddressBook::DeleteCustomer(qint32 RecordId) {
    customer_.DummyID = RecordId;
    return deleted(customer_);
}

bool frmAddressBook::DeleteClient(qint32 RecordId) {
    client_.DummyID = RecordId;
    return deleted(client_);
}

bool frmAddressBook::deleted(ContactRecord& record) {
    if (record.Delete()) {
        return true;
    }
    tellFailure(QStringLiteral("The contact could not be deleted.\r\n"),
                QStringLiteral("Contact Not Deleted"));
    return false;
}

void frmAddressBook::tellFailure(const QString& what, const QString& title, const QString& after) {
    if (app_.DbConnection.serverAway()) {
        app_.server.tellUser();
        return;
    }
    app_.prompter.message(what + app_.DbConnection.lastError().message + after, title,
                          Prompter::Buttons::Ok, Prompter::Icon::Critical);
}

void frmAddressBook::DisplayUsedEstimates(qint32 RecordId) {
    const std::optional<QList<qint64>> estimates =
        addressbook::estimatesOfCustomer(app_.DbConnection, RecordId);
    if (!estimates) {
        tellFailure(QStringLiteral("The estimates could not be read.\r\n"),
                    QStringLiteral("Customer: ") + customer_.Name);
        return;
    }
    QStringList numbers;
    for (qint64 estNo : *estimates) {
        numbers << QString::number(estNo);
    }
    const QString name = customer_.Name;
    app_.prompter.message(QStringLiteral("The following estimates reference customer ") + name +
                              QStringLiteral("\r\n\r\n") + numbers.join(QStringLiteral(", ")),
                          QStringLiteral("Customer: ") + name, Prompter::Buttons::Ok,
                          Prompter::Icon::Information);
}

void frmAddressBook::cmdExit_Click() {
    if (!ContactEditing) {
        closeAsked_ = true;
        accept();
        return;
    }
    const Prompter::Answer answer = app_.prompter.message(
        QStringLiteral("Would you like to save the changes before exiting this screen?"),
        QStringLiteral("Save Changes?"), Prompter::Buttons::YesNoCancel, Prompter::Icon::Question);
    if (answer == Prompter::Answer::Cancel) {
        return;
    }
    if (answer == Prompter::Answer::Yes && !saveSelected()) {
        return;
    }
    closeAsked_ = true;
    accept();
}

void frmAddressBook::reject() {
    // Escape and the window's close button ask the same question as Exit.
    if (!closeAsked_) {
        cmdExit_Click();
        return;
    }
    QDialog::reject();
}
