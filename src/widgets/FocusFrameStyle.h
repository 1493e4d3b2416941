#pragma once

#include <QProxyStyle>

// The program's style: the desktop's own, with a frame in the highlight colour around the push
// button that has the keyboard's focus, so that people who work by keyboard see at a glance what
// Enter or Space will press.
class FocusFrameStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};
