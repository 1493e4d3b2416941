#pragma once

#include "addressbook/ContactRecord.h"

#include <QDialog>
#include <QHash>
#include <array>
#include <optional>

class AppState;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The address book: look up, add, change and delete customers and clients, one at a time,
// opened modally from the main window. A customer that an estimate uses is never deleted.
class frmAddressBook : public QDialog {
    Q_OBJECT
public:
    explicit frmAddressBook(AppState& app, QWidget* parent = nullptr);

    void Form_Load();
    void optType_Click();
    void cmdNew_Click();
    void cmdDelete_Click();
    void cmdSearch_Click();
    void cmdExit_Click();

    bool contactEditing() const { return ContactEditing; }
    const clsCustomers& customer() const { return customer_; }
    const clsClients& client() const { return client_; }

    void reject() override;

private:
    // The number of estimate lines that name the customer; nothing, with the user told, when
    // they cannot be read.
    std::optional<int> IsCustomerUsedInEstimate(qint32 RecordId);

    std::array<QRadioButton*, 2> optType;  // "Customer", "Client"
    QLineEdit* txtName;
    QPlainTextEdit* txtAddress;
    QLineEdit* txtContacts;
    QLineEdit* txtTelephone;
    QLineEdit* txtEmail;
    QPushButton* cmdNew;
    QPushButton* cmdDelete;
    QPushButton* cmdSearch;
    QPushButton* cmdExit;
    // The boxes' labels by their place: 0 name, 1 address, 2 contacts, 3 telephone, 7 e-mail.
    QHash<int, QLabel*> Label1;
    // A quiet notice that another workstation changed or deleted the contact on the screen.
    QLabel* labChangedElsewhere;

    bool customerSelected() const;
    // The record of the selected type.
    ContactRecord& selected();

    void ClearScreen();
    void ButtonsToNew();
    void ButtonsToSave();
    void PopulateContactClassFromScreen();
    void PopulateScreenWithCustomer();
    void PopulateScreenWithClient();
    void MarkEditingContact();
    // Delete the contact; false, with the user told why, when the database refused (the row
    // and the screen then stay as they were).
    bool DeleteCustomer(qint32 RecordId);
    bool DeleteClient(qint32 RecordId);
    bool deleted(ContactRecord& record);
    // Tells the user what failed and the database's reason (or that the server is away).
    void tellFailure(const QString& what, const QString& title, const QString& after = {});
    void DisplayUsedEstimates(qint32 RecordId);
    // Saves the selected record from the screen and shows what was stored. False, with the user
    // told why, when the database refused it; the typing stays on the screen.
    bool saveSelected();
    // Shows the selected record as it now stands in the database.
    void showStored(qint32 RecordId);
    void setBoxTexts(const ContactRecord& record, bool withPhone);
    bool editing() const;
    // Shows what another workstation did to the contact on the screen: one not being edited is
    // shown again as stored; one being edited keeps its typing and gets a notice.
    void followChanges(const QStringList& tables);
    void showNotice(const QString& text);
    // The stored contact of the selected type and identity, against the one on the screen.
    QList<conflicts::Difference> differencesFromStored();

    AppState& app_;
    clsCustomers customer_;
    clsClients client_;
    bool ContactEditing = false;
    bool filling_ = false;     // the screen is filling the boxes, not the user typing
    bool closeAsked_ = false;  // the exit question has been answered
};
