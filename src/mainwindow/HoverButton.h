#pragma once

#include <QAbstractButton>

class QSvgRenderer;

// A large picture button that lights up under the mouse: an icon and a caption on a panel.
class HoverButton : public QAbstractButton {
    Q_OBJECT
public:
    HoverButton(const QString& iconResource, const QString& caption, QWidget* parent = nullptr);

    bool isLit() const { return lit_; }
    QSize sizeHint() const override { return {260, 67}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QSvgRenderer* icon_;
    bool lit_ = false;
};
