#include "widgets/KeyActions.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QShortcut>

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
