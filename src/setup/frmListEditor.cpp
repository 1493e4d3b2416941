#include "setup/frmListEditor.h"

#include "platform/Prompter.h"
#include "records/AppState.h"
#include "widgets/CentreForm.h"
#include "widgets/Controls.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kAdd = QStringLiteral("&Add");
const QString kSave = QStringLiteral("&Save");
const QString kDelete = QStringLiteral("&Delete");
const QString kCancel = QStringLiteral("&Cancel");
}  // namespace

frmListEditor::frmListEditor(AppState& app, const Kind& kind, QWidget* parent)
    : QDialog(parent), app_(app), list_(app.DbConnection, kind.table, kind.field) {
    setObjectName(QString::fromLatin1(kind.formName));
    setWindowTitle(kind.caption);
    panBase = new QFrame(this);
    panBase->setObjectName(QStringLiteral("panBase"));
    panBase->setFrameShape(QFrame::StyledPanel);
    labHelp = new QLabel(kind.heading, panBase);
    labHelp->setObjectName(QStringLiteral("labHelp"));
    labHelp->setStyleSheet(QStringLiteral("font-weight: bold;"));
    lstStatus = new QListWidget(panBase);
    lstStatus->setObjectName(QStringLiteral("lstStatus"));
    txtStatus = new QLineEdit(panBase);
    txtStatus->setObjectName(QStringLiteral("txtStatus"));
    txtStatus->hide();
    cmdAdd = makeButton(panBase, "cmdAdd", kAdd, QStringLiteral("Add a new job status."));
    cmdDelete =
        makeButton(panBase, "cmdDelete", kDelete, QStringLiteral("Delete the current job status."));
    cmdExit = makeButton(panBase, "cmdExit", QStringLiteral("E&xit"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdDelete);
    buttons->addStretch();
    buttons->addWidget(cmdExit);
    auto* inner = new QVBoxLayout(panBase);
    inner->addWidget(labHelp);
    inner->addWidget(lstStatus);
    inner->addWidget(txtStatus);
    inner->addLayout(buttons);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(panBase);
    resize(340, 380);

    connect(cmdAdd, &QPushButton::clicked, this, &frmListEditor::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmListEditor::cmdDelete_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmListEditor::cmdExit_Click);
    connect(txtStatus, &QLineEdit::returnPressed, this, &frmListEditor::cmdAdd_Click);
    // No entry made here holds an apostrophe: a typed one becomes a backquote.
    connect(txtStatus, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text.contains(u'\'')) {
            const int at = txtStatus->cursorPosition();
            txtStatus->setText(QString(text).replace(u'\'', u'`'));
            txtStatus->setCursorPosition(at);
        }
    });
}

void frmListEditor::Form_Load() {
    CentreForm(this, app_.screen);
    lstStatus->clear();
    lstStatus->addItems(list_.entries());
}

bool frmListEditor::adding() const { return cmdAdd->text() == kSave; }

void frmListEditor::setAdding(bool on) {
    cmdAdd->setText(on ? kSave : kAdd);
    cmdDelete->setText(on ? kCancel : kDelete);
    cmdExit->setEnabled(!on);
    txtStatus->setVisible(on);
    if (on) {
        txtStatus->setFocus();
    } else {
        txtStatus->clear();
        cmdAdd->setFocus();
    }
}

void frmListEditor::cmdAdd_Click() {
    if (adding()) {
        saveEntry();
    } else {
        setAdding(true);
    }
}

void frmListEditor::saveEntry() {
    const QString entry = txtStatus->text();
    if (entry.isEmpty()) {
        app_.prompter.message(QStringLiteral("You cannot add a blank status option."),
                              QStringLiteral("Invalid Entry"), Prompter::Buttons::Ok,
                              Prompter::Icon::Information);
        txtStatus->setFocus();
        return;
    }
    // The list finds the entry without regard to case; only the very same text is refused.
    const auto matches = lstStatus->findItems(entry, Qt::MatchFixedString);
    if (!matches.isEmpty()) {
        lstStatus->setCurrentItem(matches.first());
        if (matches.first()->text() == entry) {
            app_.prompter.message(QStringLiteral("The entry already exists"),
                                  QStringLiteral("No Duplicate Entries"), Prompter::Buttons::Ok,
                                  Prompter::Icon::Information);
            return;
        }
    }
    if (!list_.add(entry)) {
        app_.prompter.message(QStringLiteral("The entry could not be saved:\r\n") +
                                  app_.DbConnection.lastError().message,
                              QStringLiteral("Entry Not Saved"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
        return;
    }
    lstStatus->addItem(entry);
    setAdding(false);
}

void frmListEditor::cmdDelete_Click() {
    if (adding()) {
        setAdding(false);
        return;
    }
    QListWidgetItem* item = lstStatus->currentItem();
    if (!item || !item->isSelected() || item->text().isEmpty()) {
        app_.prompter.message(QStringLiteral("You have to select an entry before pressing Delete"),
                              QStringLiteral("Nothing Selected"), Prompter::Buttons::Ok,
                              Prompter::Icon::Information);
    } else if (list_.remove(item->text())) {
        delete lstStatus->takeItem(lstStatus->row(item));
    } else {
        app_.prompter.message(QStringLiteral("The entry could not be deleted:\r\n") +
                                  app_.DbConnection.lastError().message,
                              QStringLiteral("Entry Not Deleted"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
    }
    cmdExit->setEnabled(true);
}

void frmListEditor::cmdExit_Click() { accept(); }

frmJobStatus::frmJobStatus(AppState& app, QWidget* parent)
    : frmListEditor(app,
                    {"frmJobStatus", QStringLiteral("jobStatus"), QStringLiteral("Status"),
                     QStringLiteral("Verdell [Job Status Settings]"),
                     QStringLiteral("Job Status Options")},
                    parent) {}

frmIntroducedBy::frmIntroducedBy(AppState& app, QWidget* parent)
    : frmListEditor(
          app,
          {"frmIntroducedBy", QStringLiteral("IntroducedBy"), QStringLiteral("IntroducedBy"),
           QStringLiteral("Verdell [") + app.FieldCaptions[Caption::IntroducedBy] + u']',
           app.FieldCaptions[Caption::IntroducedBy]},
          parent) {}

frmDocType::frmDocType(AppState& app, QWidget* parent)
    : frmListEditor(app,
                    {"frmDocType", QStringLiteral("DocType"), QStringLiteral("DocType"),
                     QStringLiteral("Verdell [Document Types]"),
                     QStringLiteral("Document Types")},
                    parent) {}
