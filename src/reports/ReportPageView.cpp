#include "reports/ReportPageView.h"

#include "reports/ReportPages.h"

#include <QPainter>

ReportPageView::ReportPageView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ReportPageView"));
    setAutoFillBackground(false);
}

void ReportPageView::setPages(const ReportPages* pages) {
    pages_ = pages;
    page_ = 0;
    updateGeometry();
    adjustSize();
    update();
}

void ReportPageView::setPage(int page) {
    page_ = page;
    update();
}

void ReportPageView::setZoom(qreal zoom) {
    zoom_ = qBound<qreal>(0.1, zoom, 8);
    updateGeometry();
    adjustSize();
    update();
}

qreal ReportPageView::scale() const { return zoom_ * logicalDpiX() / 72.0; }

QSizeF ReportPageView::paperPoints() const {
    if (!pages_ || pages_->pageCount() == 0) {
        return QSizeF(595, 842);
    }
    return pages_->pageLayout().fullRect(QPageLayout::Point).size();
}

qreal ReportPageView::zoomToFit(const QSize& area, bool wholePage) const {
    const QSizeF paper = paperPoints() * (logicalDpiX() / 72.0);
    const qreal byWidth = (area.width() - 2 * kDesk) / paper.width();
    const qreal byHeight = (area.height() - 2 * kDesk) / paper.height();
    return qMax<qreal>(0.1, wholePage ? qMin(byWidth, byHeight) : byWidth);
}

QSize ReportPageView::sizeHint() const {
    const QSizeF paper = paperPoints() * scale();
    return QSize(int(paper.width()) + 2 * kDesk, int(paper.height()) + 2 * kDesk);
}

void ReportPageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x8a, 0x8f, 0x96));
    const QSizeF paper = paperPoints() * scale();
    const QRectF sheet(qMax<qreal>(kDesk, (width() - paper.width()) / 2), kDesk, paper.width(),
                       paper.height());
    painter.fillRect(sheet.translated(3, 3), QColor(0x50, 0x50, 0x50));
    painter.fillRect(sheet, Qt::white);
    if (!pages_ || page_ < 0 || page_ >= pages_->pageCount()) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF printable = pages_->pageLayout().paintRect(QPageLayout::Point);
    painter.translate(sheet.topLeft() + printable.topLeft() * scale());
    painter.scale(scale(), scale());
    painter.setClipRect(QRectF(QPointF(0, 0), printable.size()));
    pages_->paint(painter, page_);
}
