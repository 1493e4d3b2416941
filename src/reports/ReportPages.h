#pragma once

#include "db/Rows.h"
#include "reports/ReportDefinition.h"
#include "reports/ReportFormat.h"

#include <QList>
#include <QPageLayout>
#include <memory>
#include <vector>

class QPainter;

// A report laid out on pages: which band stands where on which page. Texts are worked out when
// a page is drawn or read, so a report of thousands of pages holds little more than its rows.
//
// The rules: the report header opens the first page, the page header and page footer stand on
// every page, a group header always has the first row of its group below it on the same page,
// and the report footer follows the last row. No text is ever cut and no page is left without
// a band: a band taller than the room left on a page starts on the next page, and one taller
// than a whole page starts where it is and goes on over as many pages as it needs, broken
// between two lines of its text.
class ReportPages {
public:
    // One text a page shows, with the name of the item it comes from.
    struct Text {
        QString item;
        ReportBand::Kind band;
        QRectF box;  // points from the top left of the printable area
        QString text;  // the lines on this page of a text that goes on over several pages
    };

    ReportPages() = default;
    // Groups the rows when the definition asks for it (groups in the order of their value,
    // without regard to case; rows keep their order within a group) and lays them out.
    static ReportPages layOut(ReportDefinition definition, Rows rows, ReportContext context,
                              const QPageLayout& page);

    // The same report laid out again on other paper.
    ReportPages onPage(const QPageLayout& page) const;

    // The pages laid out; while a ReportLayout is still at work, those complete so far.
    int pageCount() const { return pagesDone_; }
    // True once every row is laid out; until then "%P" shows as "…".
    bool complete() const { return complete_; }
    int rowCount() const;
    int groupCount() const;
    const ReportDefinition& definition() const;
    // The rows, and their positions in rows() in the order the report shows them (grouped
    // when it groups).
    const Rows& rows() const;
    const std::vector<int>& rowOrder() const;
    const QPageLayout& pageLayout() const;
    // The printable area's size, in points.
    QSizeF printableSize() const;

    // What page (0 for the first) shows, top to bottom.
    QList<Text> texts(int page) const;
    // Draws the page on a painter whose unit is the point, with its origin at the top left of
    // the printable area.
    void paint(QPainter& painter, int page) const;

private:
    friend class ReportLayout;
    struct Data;
    // A band, or the part of it that stands on one page.
    struct Placed {
        const ReportBand* band;
        int row;    // position in the ordered rows, or -1
        int group;  // group index, or -1
        qreal y;    // where it stands on the page
        qreal height;
        qreal from;  // where in the band this part begins
        bool whole;  // the whole band
    };
    class Builder;

    static std::shared_ptr<Data> prepare(ReportDefinition definition, Rows rows,
                                         ReportContext context, const QPageLayout& page);
    template <typename Visit>
    void forEachItem(int page, Visit visit) const;

    std::shared_ptr<const Data> data_;
    std::vector<Placed> placed_;
    std::vector<size_t> pageStarts_;
    int pagesDone_ = 0;
    bool complete_ = false;
};

// Lays a report out a few rows at a time, so that a screen can show the first page, how far it
// has got and a Cancel while a long report is laid out.
class ReportLayout {
public:
    ReportLayout(ReportDefinition definition, Rows rows, ReportContext context,
                 const QPageLayout& page);
    // The same report as laid out there, on other paper.
    ReportLayout(const ReportPages& report, const QPageLayout& page);
    ~ReportLayout();
    ReportLayout(const ReportLayout&) = delete;
    ReportLayout& operator=(const ReportLayout&) = delete;

    // Lays out at least that many more rows (and the bands that go with them), or the rest of
    // the report; true once the whole report is laid out.
    bool layOutRows(int rows);
    bool finished() const { return pages_.complete(); }
    int rowsDone() const;
    int rowCount() const { return pages_.rowCount(); }
    // The pages complete so far; every page once finished.
    const ReportPages& pages() const { return pages_; }

private:
    void start(std::shared_ptr<ReportPages::Data> data);

    ReportPages pages_;
    std::unique_ptr<ReportPages::Builder> builder_;
};
