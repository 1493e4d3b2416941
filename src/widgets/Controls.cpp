#include "widgets/Controls.h"

#include "widgets/KeyActions.h"

#include "records/AppState.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text,
                        const QString& tip) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    // Not auto-default: a dialog's default button stays the one it names. Enter presses the
    // button the focus is on.
    b->setAutoDefault(false);
    pressOnEnter(b);
    return b;
}

namespace {

void paintBase(QWidget* box, const QColor& colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
    if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit()) {
        combo->lineEdit()->setPalette(palette);
    }
}

class FocusHighlight : public QObject {
public:
    FocusHighlight(QWidget* box, bool keepWhileAway)
        : QObject(box), keepWhileAway_(keepWhileAway) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            paintBase(static_cast<QWidget*>(watched), QColor(0xC0, 0xC0, 0xFF));
        } else if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (!keepWhileAway_ ||
                (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)) {
                paintBase(static_cast<QWidget*>(watched), Qt::white);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool keepWhileAway_;
};

}  // namespace

void highlightOnFocus(QWidget* box, bool keepWhileAway) {
    box->installEventFilter(new FocusHighlight(box, keepWhileAway));
}

QTableView* makeResultsGrid(QWidget* parent, const char* name) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setTabKeyNavigation(false);  // Tab moves on to the next control, not the next cell
    grid->setAlternatingRowColors(true);
    grid->setWordWrap(false);
    grid->setTextElideMode(Qt::ElideRight);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QWidget* showScreen(AppState& app, const QString& name, const std::function<QWidget*()>& make) {
    if (auto* open = qobject_cast<QWidget*>(app.openScreen(name))) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return open;
    }
    QWidget* screen = make();
    screen->setAttribute(Qt::WA_DeleteOnClose);
    app.registerScreen(name, screen);
    screen->show();
    return screen;
}
