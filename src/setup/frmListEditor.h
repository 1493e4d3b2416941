#pragma once

#include "setup/PickList.h"

#include <QDialog>

class AppState;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// A window that keeps one of the job screen's pick lists: entries are added and deleted at
// once, with no separate save. The three lists differ only in table, field and captions.
class frmListEditor : public QDialog {
    Q_OBJECT
public:
    struct Kind {
        const char* formName;
        QString table;
        QString field;
        QString caption;
        QString heading;
    };

    frmListEditor(AppState& app, const Kind& kind, QWidget* parent = nullptr);

    void Form_Load();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdExit_Click();

private:
    bool adding() const;
    void setAdding(bool on);
    void saveEntry();

    AppState& app_;
    setupvalues::PickList list_;

    QFrame* panBase;
    QLabel* labHelp;
    QListWidget* lstStatus;
    QLineEdit* txtStatus;
    QPushButton* cmdAdd;
    QPushButton* cmdDelete;
    QPushButton* cmdExit;
};

// The job statuses.
class frmJobStatus : public frmListEditor {
    Q_OBJECT
public:
    explicit frmJobStatus(AppState& app, QWidget* parent = nullptr);
};

// The introducers, under the user's own name for the field.
class frmIntroducedBy : public frmListEditor {
    Q_OBJECT
public:
    explicit frmIntroducedBy(AppState& app, QWidget* parent = nullptr);
};

// The document types.
class frmDocType : public frmListEditor {
    Q_OBJECT
public:
    explicit frmDocType(AppState& app, QWidget* parent = nullptr);
};
