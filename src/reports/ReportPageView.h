#pragma once

#include <QWidget>

class ReportPages;

// One page of a report as it will be printed: a white sheet at a zoom, on a grey desk.
class ReportPageView : public QWidget {
    Q_OBJECT
public:
    explicit ReportPageView(QWidget* parent = nullptr);

    void setPages(const ReportPages* pages);
    void setPage(int page);
    int page() const { return page_; }
    // 1 shows the page at its printed size.
    void setZoom(qreal zoom);
    qreal zoom() const { return zoom_; }
    // The zoom at which the page's width, or the whole page, fits the size.
    qreal zoomToFit(const QSize& area, bool wholePage) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Screen pixels per point at the zoom.
    qreal scale() const;
    QSizeF paperPoints() const;

    const ReportPages* pages_ = nullptr;
    int page_ = 0;
    qreal zoom_ = 1;
    static constexpr int kDesk = 16;
};
