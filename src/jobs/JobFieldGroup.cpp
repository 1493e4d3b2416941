#include "jobs/JobFieldGroup.h"

#include "jobs/JobStore.h"

#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/DateFormats.h"
#include "widgets/Controls.h"
#include "widgets/DateBox.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

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

// Leaving for another window or a pop-up list is not leaving the box.
bool leftForGood(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// A line box left for good shows its text from the start.
class ReadFromStart : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut && leftForGood(event)) {
            static_cast<QLineEdit*>(watched)->setCursorPosition(0);
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

JobFieldGroup::JobFieldGroup(AppState& app, QObject* parent) : QObject(parent), app_(app) {}

void JobFieldGroup::highlight(QLineEdit* box) {
    highlightOnFocus(box, true);
    box->installEventFilter(new ReadFromStart(box));
}

void JobFieldGroup::addBox(QWidget* box) {
    boxes_ << box;
    highlightOnFocus(box, true);
    box->installEventFilter(this);
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        connect(line, &QLineEdit::textEdited, this, &JobFieldGroup::markEdited);
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(box)) {
        text->setTabChangesFocus(true);  // Tab moves on; a tab character belongs in no field
        connect(text, &QPlainTextEdit::textChanged, this, &JobFieldGroup::markEdited);
    } else if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit()) {
        combo->lineEdit()->installEventFilter(this);
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, &JobFieldGroup::markEdited);
    }
}

QLineEdit* JobFieldGroup::addDate(QLineEdit* box, const QString& name) {
    dates_ << add(box, name);
    return box;
}

QLineEdit* JobFieldGroup::addPrice(QLineEdit* box, const QString& name) {
    price_ = add(box, name);
    return box;
}

void JobFieldGroup::stampOnF2(QPlainTextEdit* box, bool evenWithoutJob) {
    (evenWithoutJob ? stampedAlways_ : stamped_) << box;
}

void JobFieldGroup::setLoaded(bool loaded) {
    loaded_ = loaded;
    // Nothing but typing changes a box: pasting with the mouse or dropping text is held back
    // too while no job is on the screen.
    for (QWidget* box : boxes_) {
        if (auto* line = qobject_cast<QLineEdit*>(box)) {
            line->setReadOnly(!loaded);
        } else if (auto* text = qobject_cast<QPlainTextEdit*>(box)) {
            text->setReadOnly(!loaded);
        } else if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit()) {
            combo->lineEdit()->setReadOnly(!loaded);
        }
    }
}

void JobFieldGroup::markEdited() {
    if (loaded_ && !filling_) {
        Q_EMIT edited();
    }
}

bool JobFieldGroup::handleKey(QObject* watched, const QKeyEvent* key) {
    if (!isEditingKey(key)) {
        return false;
    }
    if (!loaded_) {
        Q_EMIT refused();
        return true;
    }
    // An editable list's typing shows as a change of its text (or its choice).
    auto* combo = qobject_cast<QComboBox*>(watched);
    if (!combo && qobject_cast<QLineEdit*>(watched)) {
        combo = qobject_cast<QComboBox*>(watched->parent());
    }
    if (!combo || !combo->lineEdit()) {
        Q_EMIT edited();
    }
    return false;
}

void JobFieldGroup::leave(QObject* watched) {
    auto* line = qobject_cast<QLineEdit*>(watched);
    if (line && dates_.contains(line)) {
        ValidateDateBox(app_, line);
    } else if (line && line == price_) {
        checkPrice();
    }
    if (line) {
        line->setCursorPosition(0);  // left, the box reads from its start
    }
}

void JobFieldGroup::checkPrice() {
    bool valid = true;
    const auto amount = jobs::readPrice(price_->text(), app_.CurrencySymbol, &valid);
    if (!valid) {
        app_.prompter.message(
            QStringLiteral("The price you have entered is not an amount\r\nplease try again"),
            QStringLiteral("Invalid Price: ") + price_->text(), Prompter::Buttons::Ok,
            Prompter::Icon::Information);
        price_->setFocus();
        return;
    }
    price_->setText(amount ? jobs::formatPrice(*amount, app_.CurrencySymbol) : QString());
}

bool JobFieldGroup::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            return handleKey(watched, static_cast<QKeyEvent*>(event));
        case QEvent::KeyRelease:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2) {
                auto* box = qobject_cast<QPlainTextEdit*>(watched);
                if (stampedAlways_.contains(box) || (loaded_ && stamped_.contains(box))) {
                    box->insertPlainText(dateTimeStamp(app_));  // a change of text like any other
                }
            }
            break;
        case QEvent::FocusOut:
            if (leftForGood(event)) {
                leave(watched);
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}
