#include "mainwindow/HoverButton.h"

#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

namespace {
const QColor kAmber(0xf2, 0xa5, 0x41);
}  // namespace

HoverButton::HoverButton(const QString& iconResource, const QString& caption, QWidget* parent)
    : QAbstractButton(parent), icon_(new QSvgRenderer(iconResource, this)) {
    setText(caption);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(caption);
}

void HoverButton::enterEvent(QEnterEvent* event) {
    lit_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void HoverButton::leaveEvent(QEvent* event) {
    lit_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void HoverButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    QPainterPath panel;
    panel.addRoundedRect(box, 12, 12);

    const bool lit = lit_ || hasFocus();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    if (isDown()) {
        fill.setColorAt(0, QColor(242, 165, 65, 120));
        fill.setColorAt(1, QColor(242, 165, 65, 70));
    } else if (lit) {
        fill.setColorAt(0, QColor(255, 255, 255, 64));
        fill.setColorAt(1, QColor(255, 255, 255, 30));
    } else {
        fill.setColorAt(0, QColor(255, 255, 255, 22));
        fill.setColorAt(1, QColor(255, 255, 255, 8));
    }
    p.fillPath(panel, fill);
    p.setPen(QPen(lit ? kAmber : QColor(255, 255, 255, 60), lit ? 2.0 : 1.0));
    p.drawPath(panel);

    const qreal iconSide = box.height() - 18;
    const QRectF iconBox(box.left() + 14, box.top() + 9, iconSide, iconSide);
    if (lit) {
        QRadialGradient glow(iconBox.center(), iconSide * 0.75);
        glow.setColorAt(0, QColor(242, 165, 65, 110));
        glow.setColorAt(1, QColor(242, 165, 65, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(iconBox.center(), iconSide * 0.75, iconSide * 0.75);
    }
    icon_->render(&p, iconBox);

    QFont font = p.font();
    font.setPixelSize(qMax(8, qRound(box.height() * 0.32)));  // grows and shrinks with the button
    font.setBold(true);
    p.setFont(font);
    p.setPen(lit ? kAmber : QColor(0xf4, 0xf6, 0xfa));
    const QRectF textBox(iconBox.right() + 16, box.top(), box.right() - iconBox.right() - 24,
                         box.height());
    p.drawText(textBox, Qt::AlignVCenter | Qt::AlignLeft, text());
}
