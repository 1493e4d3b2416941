#include "widgets/KeyActions.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPointer>
#include <QShortcut>
#include <QTableView>

namespace {

bool isEnter(const QKeyEvent* key) {
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Runs the action on the keys it is given, pressed (not held) on the watched control.
class KeyAction : public QObject {
public:
    KeyAction(QWidget* control, bool space, std::function<void()> action)
        : QObject(control), space_(space), action_(std::move(action)) {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return QObject::eventFilter(watched, event);
        }
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool space =
            space_ && key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier;
        if (!isEnter(key) && !space) {
            return QObject::eventFilter(watched, event);
        }
        if (!key->isAutoRepeat()) {
            action_();
        }
        return true;
    }

private:
    bool space_;
    std::function<void()> action_;
};

// Down on the watched box moves the focus into the list.
class DownIntoList : public QObject {
public:
    DownIntoList(QWidget* box, QAbstractItemView* list) : QObject(box), list_(list) {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !list_ || !list_->isVisible() ||
            !list_->model() || list_->model()->rowCount() == 0) {
            return QObject::eventFilter(watched, event);
        }
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->key() != Qt::Key_Down ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
            return QObject::eventFilter(watched, event);
        }
        if (!list_->currentIndex().isValid()) {
            int column = 0;
            if (const auto* table = qobject_cast<QTableView*>(list_.data())) {
                while (column + 1 < list_->model()->columnCount() &&
                       table->isColumnHidden(column)) {
                    ++column;
                }
            }
            list_->setCurrentIndex(list_->model()->index(0, column));
        }
        list_->setFocus(Qt::TabFocusReason);
        return true;
    }

private:
    QPointer<QAbstractItemView> list_;
};

}  // namespace

void pressOnEnter(QAbstractButton* button) {
    new KeyAction(button, false, [button] {
        if (button->isEnabled()) {
            button->click();
        }
    });
}

void chooseOnEnter(QWidget* view, const std::function<void()>& choose) {
    new KeyAction(view, true, choose);
}

void downIntoList(QWidget* box, QAbstractItemView* list) {
    new DownIntoList(box, list);
}

void pressOnEscape(QWidget* panel, QAbstractButton* button) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), panel);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(escape, &QShortcut::activated, button, &QAbstractButton::click);
}

void closeOnEscape(QWidget* window) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}
