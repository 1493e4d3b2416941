#include "platform/QtScreenMetrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

int twipsPerPixel(qreal dotsPerInch) {
    return dotsPerInch > 0 ? qMax(1, qRound(1440.0 / dotsPerInch)) : 15;
}

}  // namespace

QSize QtScreenMetrics::sizeInPixels() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

QRect QtScreenMetrics::availableArea() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : ScreenMetrics::availableArea();
}

int QtScreenMetrics::twipsPerPixelX() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? twipsPerPixel(screen->logicalDotsPerInchX()) : 15;
}

int QtScreenMetrics::twipsPerPixelY() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? twipsPerPixel(screen->logicalDotsPerInchY()) : 15;
}
