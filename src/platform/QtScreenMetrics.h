#pragma once

#include "platform/ScreenMetrics.h"

// The primary screen as Qt sees it.
class QtScreenMetrics : public ScreenMetrics {
public:
    QSize sizeInPixels() const override;
    QRect availableArea() const override;
    int twipsPerPixelX() const override;
    int twipsPerPixelY() const override;
};
