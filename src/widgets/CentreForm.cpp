#include "widgets/CentreForm.h"

#include "platform/ScreenMetrics.h"

#include <QScrollArea>
#include <QWidget>

namespace {

// What the desktop's frame and title bar add to a window before it is shown (when the window
// system has not told yet).
constexpr QSize kFrameAllowance(16, 40);

}  // namespace

void CentreForm(QWidget* window, const ScreenMetrics& screen) {
    const QRect area = screen.availableArea();
    QSize frame = window->frameGeometry().size() - window->size();
    if (frame.width() <= 0 && frame.height() <= 0) {
        frame = kFrameAllowance;
    }
    const QSize wanted =
        window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint();
    window->resize(wanted.boundedTo(area.size() - frame));
    const QSize outer = window->size() + frame;
    window->move(area.left() + qMax(0, (area.width() - outer.width()) / 2),
                 area.top() + qMax(0, (area.height() - outer.height()) / 2));
}

QScrollArea* scrollingPage(QWidget* page) {
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);  // Tab goes from the tabs straight to the page's boxes
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    return scroll;
}
