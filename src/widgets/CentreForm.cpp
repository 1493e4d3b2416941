#include "widgets/CentreForm.h"

#include "platform/ScreenMetrics.h"

#include <QWidget>

void CentreForm(QWidget* window, const ScreenMetrics& screen) {
    const QRect area = screen.availableArea();
    const QSize frame = window->frameGeometry().size();
    // A window larger than the area starts at its top left corner, so its title bar and its top
    // left stay on the screen.
    window->move(area.left() + qMax(0, area.width() / 2 - frame.width() / 2),
                 area.top() + qMax(0, area.height() / 2 - frame.height() / 2));
}
