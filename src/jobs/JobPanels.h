#pragma once

#include "db/ResultExport.h"
#include "db/Rows.h"
#include "jobs/JobContact.h"

#include <QFrame>
#include <optional>

class CaptionLabels;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class QVBoxLayout;
class RowsModel;

// The job screen's pop-up panels: frames raised in the middle of the screen over its tabs.
class JobPanel : public QFrame {
    Q_OBJECT
public:
    // A hidden panel on the screen, with its title (none for an empty text) above what it holds.
    JobPanel(QWidget* screen, const char* name, const QString& title, QSize size);

    // Shows the panel in the middle of the screen, above everything on it.
    void showOver();

protected:
    QVBoxLayout* body() const { return body_; }
    void setTitle(const QString& title);

private:
    QVBoxLayout* body_;
    QLabel* title_ = nullptr;
};

// "Change Job Status": the statuses to choose from.
class StatusPanel : public JobPanel {
    Q_OBJECT
public:
    explicit StatusPanel(QWidget* screen);
    void setStatuses(const QStringList& statuses);
    // The status chosen in the list; empty when none is.
    QString chosenStatus() const;
    // Makes the status of that text the current entry of the list (none when it is not listed).
    void selectStatus(const QString& status);
    void focusList();

Q_SIGNALS:
    // Change Status, or a double-click on a status.
    void changeClicked();
    void closeClicked();

private:
    QListWidget* lstJobStatus;
    QPushButton* cmdChange;
    QPushButton* SSCommand1;
};

// "Find a Customer" / "Find a Client": contacts by the start of their name.
class LookupPanel : public JobPanel {
    Q_OBJECT
public:
    explicit LookupPanel(QWidget* screen);
    // Opens the panel empty, for customers or clients.
    void open(bool clients);
    QString searchText() const;
    // Lists the contacts found (Name, Address, Contact, DummyId), the first one chosen.
    void showContacts(Rows rows, bool clients);
    // The contact chosen in the list; nothing without one.
    std::optional<JobContact> chosenContact() const;
    // Writes the contacts listed (every one found) to a CSV file, in the list's columns.
    resultexport::Outcome exportCsv(const QString& file) const;
    bool listsClients() const { return clients_; }

Q_SIGNALS:
    // Search, or Enter in the search box.
    void searchClicked();
    // The user changed the search text.
    void searchEdited();
    // A double-click on a contact, or Enter or Space on it.
    void contactChosen();
    void closeClicked();
    // "Export to CSV...".
    void exportClicked();

private:
    RowsModel* contactsModel_;
    bool clients_ = false;
    QLineEdit* txtFindClient;
    QPushButton* cmdSearchClient;
    QTableView* fgFindClient;
    QLabel* labClientCount;
    QPushButton* cmdCloseClient;
    QPushButton* cmdExportCsv;
};

// The engineers (by the user's caption for them) to assign to the job, or to remove.
class EngineersPanel : public JobPanel {
    Q_OBJECT
public:
    explicit EngineersPanel(QWidget* screen);
    // Opens the panel under the caption, listing the names, with the focus on the current one
    // (or the first).
    void open(const QString& heading, const QStringList& names, const QString& current);
    // The name chosen in the list; empty when none is.
    QString chosenName() const;

Q_SIGNALS:
    // A double-click on a name, or Enter or Space on it.
    void nameChosen();
    // A right-click on the list.
    void removeClicked();
    void closeClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* labEngineers;
    QListWidget* lstEngineers;
    QPushButton* cmdCloseEngineers;
};

// "Rename Caption": the new text of a caption.
class CaptionsPanel : public JobPanel {
    Q_OBJECT
public:
    explicit CaptionsPanel(QWidget* screen);
    // Opens the panel with the caption's text, selected.
    void open(const QString& text);
    QString text() const;

Q_SIGNALS:
    // Save, or Enter in the box.
    void saveClicked();
    void closeClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* txtLabel;
    QPushButton* cmdSaveLabels;
    QPushButton* cmdCloseLabels;
};

// "New Document": the template, the address and the title of a document to make.
class NewDocumentPanel : public JobPanel {
    Q_OBJECT
public:
    NewDocumentPanel(QWidget* screen, CaptionLabels& captions);
    void setTemplates(const QStringList& names);
    void setAddresses(const QStringList& choices);
    // Opens the panel with no template chosen and no title.
    void open();
    // Chooses the template, adding it to the list when it is not there.
    void chooseTemplate(const QString& name);
    QString templateName() const;
    QString title() const;
    void setTitle(const QString& title);
    void focusTemplate();
    // Shows which program the chosen template is for.
    void showTemplateKind();

Q_SIGNALS:
    void createClicked();
    void cancelClicked();
    // A template chosen from the list.
    void templateChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* comDocType;
    QLabel* labDocType;
    QComboBox* comDocAddress;
    QLineEdit* txtDocTitle;
    QPushButton* cmdSaveDoc;
    QPushButton* cmdCancelDocs;
};
