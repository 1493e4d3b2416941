// What every job field shares: the highlight while it has the focus, typing refused while no
// job is on the screen, the editing state on the first key, date and price checks on leaving,
// and the F2 date-and-time stamp in the notes.

#include "jobs/JobStore.h"
#include "jobs/frmJobs.h"

#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/DateFormats.h"
#include "widgets/DateBox.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTableView>

namespace {

const QColor kFocused(0xC0, 0xC0, 0xFF);
const QColor kUnfocused(0xFF, 0xFF, 0xFF);

void paintBackground(QWidget* box, const QColor& colour) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, colour);
    box->setPalette(p);
}

// Keys that change a box's text, as opposed to moving about or copying.
bool isEditingKey(const QKeyEvent* key) {
    switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
            return false;
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            return true;
        default:
            break;
    }
    if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll)) {
        return false;
    }
    return !key->text().isEmpty();
}

}  // namespace

void frmJobs::wireBehaviour() {
    for (QWidget* box : jobFields_) {
        box->installEventFilter(this);
        paintBackground(box, kUnfocused);
        if (auto* line = qobject_cast<QLineEdit*>(box)) {
            connect(line, &QLineEdit::textEdited, this, &frmJobs::markEdited);
        } else if (auto* text = qobject_cast<QPlainTextEdit*>(box)) {
            connect(text, &QPlainTextEdit::textChanged, this, &frmJobs::markEdited);
        }
    }
    comIntroduced->lineEdit()->installEventFilter(this);
    connect(comIntroduced->lineEdit(), &QLineEdit::textEdited, this, &frmJobs::markEdited);
    for (QLabel* label : Label1) {
        label->installEventFilter(this);
    }
    txtSearch->installEventFilter(this);
    txtLabel->installEventFilter(this);
    txtFindClient->installEventFilter(this);
    comDocAddress->installEventFilter(this);
    lstEngineers->viewport()->installEventFilter(this);

    connect(cmdNewJob, &QPushButton::clicked, this, &frmJobs::cmdNewJob_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmJobs::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmJobs::cmdCancel_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmJobs::cmdDelete_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmJobs::cmdExit_Click);
    connect(cmdSearch, &QPushButton::clicked, this, &frmJobs::cmdSearch_Click);
    for (int i = 0; i < 3; ++i) {
        connect(cmdChangeStatus[size_t(i)], &QPushButton::clicked, this,
                [this, i] { cmdChangeStatus_Click(i); });
    }
    connect(cmdChange, &QPushButton::clicked, this, &frmJobs::cmdChange_Click);
    connect(lstJobStatus, &QListWidget::itemDoubleClicked, this, &frmJobs::cmdChange_Click);
    connect(SSCommand1, &QPushButton::clicked, this, &frmJobs::SSCommand1_Click);
    for (int i = 0; i < 2; ++i) {
        connect(cmdFindClient[size_t(i)], &QPushButton::clicked, this,
                [this, i] { cmdFindClient_Click(i); });
    }
    connect(cmdSearchClient, &QPushButton::clicked, this, &frmJobs::cmdSearchClient_Click);
    connect(txtFindClient, &QLineEdit::returnPressed, this, &frmJobs::cmdSearchClient_Click);
    connect(fgFindClient, &QTableView::doubleClicked, this, &frmJobs::fgFindClient_DblClick);
    connect(cmdCloseClient, &QPushButton::clicked, this, &frmJobs::cmdCloseClient_Click);
    connect(cmdFindEngineer, &QPushButton::clicked, this, &frmJobs::cmdFindEngineer_Click);
    connect(lstEngineers, &QListWidget::itemDoubleClicked, this, &frmJobs::lstEngineers_DblClick);
    connect(cmdCloseEngineers, &QPushButton::clicked, this, &frmJobs::cmdCloseEngineers_Click);
    connect(cmdSaveLabels, &QPushButton::clicked, this, &frmJobs::cmdSaveLabels_Click);
    connect(cmdCloseLabels, &QPushButton::clicked, this, &frmJobs::cmdCloseLabels_Click);
    connect(comIntroduced, &QComboBox::activated, this, [this] {
        if (!JobLoaded) {
            refuseTyping();
            return;
        }
        ButtonsToSave();
        txtCustName->setFocus();
    });
    connect(comInvoiceStatus, &QComboBox::activated, this, [this] {
        if (!JobLoaded) {
            refuseTyping();
            return;
        }
        ButtonsToSave();
    });
    connect(cmdNewDoc, &QPushButton::clicked, this, &frmJobs::cmdNewDoc_Click);
    connect(cmdCancelDocs, &QPushButton::clicked, this, &frmJobs::cmdCancelDocs_Click);
    connect(cmdSaveDoc, &QPushButton::clicked, this, &frmJobs::cmdSaveDoc_Click);
    connect(comDocType, &QComboBox::activated, this, &frmJobs::comDocType_Click);
    connect(cmdEditDoc, &QPushButton::clicked, this, &frmJobs::cmdEditDoc_Click);
    connect(fgDocs, &QTableView::doubleClicked, this, &frmJobs::cmdEditDoc_Click);
    connect(cmdDeleteDoc, &QPushButton::clicked, this, &frmJobs::cmdDeleteDoc_Click);
    connect(cmdPrintJobSheet, &QPushButton::clicked, this, &frmJobs::cmdPrintJobSheet_Click);
    connect(&app_.changes, &ChangeWatcher::changed, this, &frmJobs::followChanges);
}

bool frmJobs::isJobField(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    return (widget != nullptr && jobFields_.contains(widget)) ||
           watched == comIntroduced->lineEdit();
}

bool frmJobs::isDateBox(QObject* watched) const {
    auto* box = qobject_cast<QLineEdit*>(watched);
    return box != nullptr && dateBoxes_.contains(box);
}

void frmJobs::refuseTyping() {
    app_.prompter.message(
        QStringLiteral("If you are trying to create a new job you need to press 'New Job' first"),
        QStringLiteral("No Job Loaded"), Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
}

void frmJobs::setJobLoaded(bool loaded) {
    JobLoaded = loaded;
    // Nothing but typing changes a box: pasting with the mouse or dropping text is held back
    // too while no job is on the screen.
    for (QWidget* box : jobFields_) {
        if (auto* line = qobject_cast<QLineEdit*>(box)) {
            line->setReadOnly(!loaded);
        } else if (auto* text = qobject_cast<QPlainTextEdit*>(box)) {
            text->setReadOnly(!loaded);
        }
    }
    comIntroduced->lineEdit()->setReadOnly(!loaded);
}

bool frmJobs::handleTyping(QObject* watched, QKeyEvent* key) {
    if (!isEditingKey(key)) {
        return false;
    }
    if (!JobLoaded) {
        refuseTyping();
        return true;
    }
    if (watched != comIntroduced->lineEdit() && watched != comIntroduced) {
        ButtonsToSave();
    }
    return false;
}

void frmJobs::markEdited() {
    if (JobLoaded && !filling_) {
        ButtonsToSave();
    }
}

void frmJobs::stampDateTime(QPlainTextEdit* box) {
    box->insertPlainText(dateTimeStamp(app_));  // a change of text like any other
}

void frmJobs::fitDateBoxes() {
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
    for (QLineEdit* box : dateBoxes_) {
        box->setMinimumWidth(width);
    }
}

void frmJobs::checkPriceBox() {
    bool valid = true;
    const auto amount = readPrice(txtPrice->text(), app_.CurrencySymbol, &valid);
    if (!valid) {
        app_.prompter.message(
            QStringLiteral("The price you have entered is not an amount\r\nplease try again"),
            QStringLiteral("Invalid Price: ") + txtPrice->text(), Prompter::Buttons::Ok,
            Prompter::Icon::Information);
        txtPrice->setFocus();
        return;
    }
    txtPrice->setText(amount ? formatPrice(*amount, app_.CurrencySymbol) : QString());
}

bool frmJobs::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < kLabelCount; ++i) {
            if (watched == Label1[size_t(i)]) {
                Label1_DblClick(i);
                return true;
            }
        }
    }
    if (watched == lstEngineers->viewport() && type == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        lstEngineers_RightClick();
        return true;
    }
    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (watched == comDocAddress && enter) {
            txtDocTitle->setFocus();
            return true;
        }
        if (watched == txtLabel && enter) {
            cmdSaveLabels_Click();
            return true;
        }
        if (watched == txtSearch && enter) {
            if (!txtSearch->text().isEmpty() && !JobLoaded) {
                cmdSearch_Click();
            }
            return true;
        }
        if (isJobField(watched)) {
            return handleTyping(watched, key);
        }
    }
    if (type == QEvent::KeyRelease && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2) {
        if (watched == txtNotes && JobLoaded) {
            stampDateTime(txtNotes);
        } else if (watched == txtCliNotes) {
            stampDateTime(txtCliNotes);
        }
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool highlighted = widget && (isJobField(watched) || watched == txtSearch ||
                                        watched == txtLabel || watched == txtFindClient);
    if (type == QEvent::FocusIn && highlighted) {
        paintBackground(widget, kFocused);
        if (watched == txtLabel) {
            txtLabel->selectAll();
        }
    } else if (type == QEvent::FocusOut && highlighted) {
        // Switching to another window is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) {
            return QWidget::eventFilter(watched, event);
        }
        if (isDateBox(watched)) {
            ValidateDateBox(app_, static_cast<QLineEdit*>(watched));
        } else if (watched == txtPrice) {
            checkPriceBox();
        }
        if (auto* line = qobject_cast<QLineEdit*>(watched)) {
            line->setCursorPosition(0);  // left, the box reads from its start
        }
        paintBackground(widget, kUnfocused);
    }
    return QWidget::eventFilter(watched, event);
}
