#pragma once

#include <QRect>
#include <QSize>
#include <optional>

// The screen the program runs on: its size in pixels, the part of it the desktop leaves to
// windows (without its panels), and how many twips make one pixel (1440 / logical dots per inch;
// 15 at 96 dpi).
class ScreenMetrics {
public:
    virtual ~ScreenMetrics() = default;
    virtual QSize sizeInPixels() const = 0;
    virtual QRect availableArea() const { return {QPoint(0, 0), sizeInPixels()}; }
    virtual int twipsPerPixelX() const = 0;
    virtual int twipsPerPixelY() const = 0;

    int toPixelsX(int twips) const { return twips / twipsPerPixelX(); }
    int toPixelsY(int twips) const { return twips / twipsPerPixelY(); }
};

// Test double.
class FixedScreenMetrics : public ScreenMetrics {
public:
    explicit FixedScreenMetrics(QSize size = {1280, 1024}, int twipsPerPixel = 15)
        : size_(size), twips_(twipsPerPixel) {}
    QSize sizeInPixels() const override { return size_; }
    QRect availableArea() const override {
        return available_.value_or(ScreenMetrics::availableArea());
    }
    int twipsPerPixelX() const override { return twips_; }
    int twipsPerPixelY() const override { return twips_; }
    void set(QSize size, int twipsPerPixel = 15) {
        size_ = size;
        twips_ = twipsPerPixel;
    }
    // The desktop's panels take what is outside the area; by default, nothing.
    void setAvailable(const QRect& area) { available_ = area; }

private:
    QSize size_;
    int twips_;
    std::optional<QRect> available_;
};
