#pragma once

#include "reports/ReportDefinition.h"
#include "reports/ReportFormat.h"
#include "startup/Rows.h"

#include <QList>
#include <QPageLayout>
#include <memory>
#include <vector>

class QPainter;

// A report laid out on pages: which band stands where on which page. Texts are worked out when
// a page is drawn or read, so a report of thousands of pages holds little more than its rows.
//
// The rules: the report header opens the first page, the page header and page footer stand on
// every page, a band never splits across pages, a group header always has the first row of its
// group below it on the same page, and the report footer follows the last row. A band taller
// than a whole page is cut at the page's foot.
class ReportPages {
public:
    // One text a page shows, with the name of the item it comes from.
    struct Text {
        QString item;
        ReportBand::Kind band;
        QRectF box;  // points from the top left of the printable area
        QString text;
    };

    ReportPages() = default;
    // Groups the rows when the definition asks for it (groups in the order of their value,
    // without regard to case; rows keep their order within a group) and lays them out.
    static ReportPages layOut(ReportDefinition definition, Rows rows, ReportContext context,
                              const QPageLayout& page);

    // The same report laid out again on other paper.
    ReportPages onPage(const QPageLayout& page) const;

    int pageCount() const { return int(pageStarts_.size()); }
    int rowCount() const;
    int groupCount() const;
    const ReportDefinition& definition() const;
    const QPageLayout& pageLayout() const;
    // The printable area's size, in points.
    QSizeF printableSize() const;

    // What page (0 for the first) shows, top to bottom.
    QList<Text> texts(int page) const;
    // Draws the page on a painter whose unit is the point, with its origin at the top left of
    // the printable area.
    void paint(QPainter& painter, int page) const;

private:
    struct Data;
    struct Placed {
        const ReportBand* band;
        int row;    // position in the ordered rows, or -1
        int group;  // group index, or -1
        qreal y;
        qreal height;
        bool cut;
    };
    class Builder;

    template <typename Visit>
    void forEachItem(int page, Visit visit) const;

    std::shared_ptr<const Data> data_;
    std::vector<Placed> placed_;
    std::vector<size_t> pageStarts_;
};
