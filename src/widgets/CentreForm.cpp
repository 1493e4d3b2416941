#include "widgets/CentreForm.h"

#include "platform/ScreenMetrics.h"

#include <QScrollArea>
#include <QStyle>
#include <QWidget>

void CentreForm(QWidget* window, const ScreenMetrics& screen) {
    const QRect area = screen.availableArea();
    // The frame is known once the window is shown; until then its title bar is allowed for.
    QSize frame = window->frameGeometry().size() - window->size();
    if (frame.isEmpty()) {
        frame = QSize(0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window));
    }
    const QSize room = area.size() - frame;
    const QSize wanted =
        window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint();
    window->resize(wanted.boundedTo(room));
    // In the middle by the window's own size, but never so low or so far right that its frame
    // would leave the area.
    const QSize spare = area.size() - window->size();
    window->move(area.left() + qMax(0, qMin(spare.width() / 2, room.width() - window->width())),
                 area.top() + qMax(0, qMin(spare.height() / 2, room.height() - window->height())));
}

QScrollArea* scrollingPage(QWidget* page) {
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);  // Tab goes from the tabs straight to the page's boxes
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    return scroll;
}
