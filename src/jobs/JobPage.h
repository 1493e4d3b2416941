#pragma once

#include "jobs/JobContact.h"
#include "records/JobFields.h"

#include <QWidget>
#include <array>

class AppState;
class CaptionLabels;
class JobFieldGroup;
class JobStatusStrip;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TextBox;

// The job screen's "Customer / Job Details" tab: the customer, the work, the dates, the
// invoicing and the references of the job.
class JobPage : public QWidget {
    Q_OBJECT
public:
    JobPage(AppState& app, CaptionLabels& captions, QWidget* parent = nullptr);

    // Shows the job's values on the page (the user's editing state is not touched).
    void setFields(const JobFields& fields);
    // Adds the page's values, as its boxes hold them now, to fields.
    void readFields(JobFields& fields) const;
    void setJobNumber(const QString& number);
    void setJobStatus(const QString& status);
    // While no job is loaded the boxes take no typing.
    void setJobLoaded(bool loaded);

    void setIntroducers(const QStringList& names);
    // The customer chosen from the lookup panel.
    void setCustomer(const JobContact& customer);
    // The focus to the customer's first empty box (the numbers when none is).
    void focusCustomer();
    QString engineer() const;
    // The engineer chosen from the engineers panel, with the focus on its box.
    void takeEngineer(const QString& name);
    // The first box of a new job.
    void focusFirst();
    // Date boxes wide enough for every date of the display format.
    void fitDateBoxes();

Q_SIGNALS:
    void edited();
    void refused();
    void changeStatusClicked();
    void findEngineerClicked();
    void findCustomerClicked();

private:
    QWidget* buildDetails();
    void setTabOrderOfBoxes();
    // Each date box with the column that stores it and its text in the fields.
    struct DateBoxField {
        QString column;
        QLineEdit* box;
        QString text;
    };
    std::array<DateBoxField, 6> dateBoxes(const JobFields& fields) const;

    AppState& app_;
    CaptionLabels& captions_;
    JobFieldGroup* fields_;
    JobStatusStrip* strip_;

    QComboBox* comIntroduced;
    QLineEdit* txtClientRef;
    QPushButton* cmdFindEngineer;
    QLineEdit* txtCustName;
    QPlainTextEdit* txtHomeAddress;
    QPlainTextEdit* txtCustContactNos;
    QPushButton* cmdFindClient_0;
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
};
