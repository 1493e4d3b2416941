#include "startup/CentreForm.h"

#include "platform/ScreenMetrics.h"

#include <QWidget>

void CentreForm(QWidget* window, const ScreenMetrics& screen) {
    const QSize size = screen.sizeInPixels();
    const QSize frame = window->frameGeometry().size();
    window->move(size.width() / 2 - frame.width() / 2, size.height() / 2 - frame.height() / 2);
}
