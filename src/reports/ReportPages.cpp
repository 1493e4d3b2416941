#include "reports/ReportPages.h"

#include "common/Money.h"
#include "common/Numbers.h"
#include "db/TextKeys.h"
#include "reports/ReportText.h"

#include <QPainter>
#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>

struct ReportPages::Data {
    ReportDefinition definition;
    Rows rows;
    ReportContext context;
    QPageLayout page;
    // Row numbers in the order the report shows them.
    std::vector<int> order;
    // Each group's first and one-past-last position in order.
    std::vector<std::pair<int, int>> groups;
    qreal scale = 1;
    QSizeF printable;
    // Each bound item's column in the rows, and the bands in which an item stands below
    // another (and so moves when text above it wraps).
    std::unordered_map<const ReportItem*, int> columns;
    std::unordered_set<const ReportBand*> stacked;

    void index() {
        for (const ReportBand* band :
             {&definition.reportHeader, &definition.pageHeader, &definition.groupHeader,
              &definition.detail, &definition.groupFooter, &definition.pageFooter,
              &definition.reportFooter}) {
            for (qsizetype i = 0; i < band->items.size(); ++i) {
                const ReportItem& item = band->items[i];
                columns[&item] = rows.column(item.field);
                for (qsizetype j = 0; j < i; ++j) {
                    if (band->items[j].box.bottom() <= item.box.top() + 0.5) {
                        stacked.insert(band);
                    }
                }
            }
        }
    }
    int columnOf(const ReportItem& item) const {
        const auto found = columns.find(&item);
        return found == columns.end() ? -1 : found->second;
    }

    bool grouped() const { return !definition.groupField.isEmpty(); }

    // How a band stands for one row: its height, and how far down each item moves because
    // wrapped text above it grew.
    struct BandFit {
        qreal height = 0;
        std::vector<qreal> shift;
    };
    BandFit fit(const ReportBand& band, int row, int group, bool measure = true) const {
        BandFit out;
        out.shift.assign(size_t(band.items.size()), 0);
        if (!band.present() || (!measure && !stacked.count(&band))) {
            return out;
        }
        std::vector<qreal> growth(size_t(band.items.size()), 0);
        qreal most = 0;
        for (qsizetype i = 0; i < band.items.size(); ++i) {
            const ReportItem& item = band.items[i];
            const QRectF& box = item.box;
            qreal& shift = out.shift[size_t(i)];
            // Items are listed top to bottom where they stand one above another.
            for (qsizetype j = 0; j < i; ++j) {
                const QRectF& above = band.items[j].box;
                if (above.bottom() <= box.top() + 0.5 && above.left() < box.right() &&
                    box.left() < above.right()) {
                    shift = qMax(shift, out.shift[size_t(j)] + growth[size_t(j)]);
                }
            }
            if (item.kind != ReportItem::Kind::Line && item.wrap) {
                const qreal lines = reporttext::height(text(item, band, row, group, 0, 0),
                                                       item.font, box.width() * scale, true);
                growth[size_t(i)] = qMax<qreal>(0, lines - box.height());
            }
            most = qMax(most, shift + growth[size_t(i)]);
        }
        out.height = band.height + most;
        return out;
    }

    // Where a band taller than the room below from (limit) is best broken: the lowest point
    // above limit that no line of its texts stands across. From or less when not even the
    // first line below from fits.
    qreal breakAt(const ReportBand& band, int row, int group, qreal from, qreal limit) const {
        const BandFit f = fit(band, row, group);
        std::vector<std::pair<qreal, QList<reporttext::Line>>> texts;
        for (qsizetype i = 0; i < band.items.size(); ++i) {
            const ReportItem& item = band.items[i];
            if (item.kind == ReportItem::Kind::Line) {
                continue;
            }
            const QString shown = text(item, band, row, group, 0, 0);
            if (!shown.isEmpty()) {
                texts.emplace_back(
                    item.box.y() + f.shift[size_t(i)],
                    reporttext::lines(shown, item.font, item.box.width() * scale, item.wrap));
            }
        }
        qreal at = limit;
        for (bool moved = true; moved;) {
            moved = false;
            for (const auto& [top, lines] : texts) {
                for (const reporttext::Line& line : lines) {
                    if (top + line.top < at - 0.01 && top + line.bottom > at + 0.01) {
                        at = top + line.top;
                        moved = true;
                    }
                }
            }
        }
        return at;
    }

    // The rows a function in the band adds up: its group's, or all of them.
    std::pair<int, int> scope(const ReportBand& band, int group) const {
        const bool inGroup = band.kind == ReportBand::Kind::GroupHeader ||
                             band.kind == ReportBand::Kind::GroupFooter;
        if (inGroup && group >= 0) {
            return groups[size_t(group)];
        }
        return {0, int(order.size())};
    }

    QString aggregate(const ReportItem& item, const ReportBand& band, int group) const {
        const auto [begin, end] = scope(band, group);
        double result = 0;
        if (item.aggregate == ReportItem::Aggregate::Count) {
            result = end - begin;
        } else if (item.money) {
            Money sum;
            const int column = columnOf(item);
            for (int i = begin; i < end && column >= 0; ++i) {
                const QVariant value = rows.at(order[size_t(i)], column);
                sum += value.isNull() ? Money() : Money::fromStored(value.toDouble());
            }
            return sum.withThousands();
        } else {
            const int column = columnOf(item);
            for (int i = begin; i < end && column >= 0; ++i) {
                result += rows.at(order[size_t(i)], column).toDouble();
            }
        }
        return item.format.isEmpty() ? QString::number(result, 'f', 0)
                                     : numbers::format(result, item.format);
    }

    QString text(const ReportItem& item, const ReportBand& band, int row, int group, int page,
                 int pages) const {
        switch (item.kind) {
            case ReportItem::Kind::Label:
                return reportformat::placeholders(item.text, context, page + 1, pages);
            case ReportItem::Kind::Field: {
                // Group bands show the values of their group's first row.
                int position = row;
                if (position < 0 && group >= 0) {
                    position = groups[size_t(group)].first;
                }
                const int column = columnOf(item);
                if (position < 0 || position >= int(order.size()) || column < 0) {
                    return {};
                }
                return reportformat::value(rows.at(order[size_t(position)], column), item,
                                           context);
            }
            case ReportItem::Kind::Function:
                return aggregate(item, band, group);
            case ReportItem::Kind::Line:
                break;
        }
        return {};
    }
};

class ReportPages::Builder {
public:
    Builder(ReportPages& out, const Data& d) : out_(out), d_(d) {
        footerHeight_ = heightOf(d.definition.pageFooter, -1, -1);
        footerTop_ = d.printable.height() - footerHeight_;
    }

    int rowsDone() const { return rowsDone_; }

    // Places the next band, or a group header with the first row of its group; false once the
    // report is complete.
    bool step() {
        const ReportDefinition& def = d_.definition;
        const int rows = int(d_.order.size());
        switch (next_) {
            case Next::Start:
                startPage();
                next_ = d_.grouped() ? (d_.groups.empty() ? Next::ReportFooter : Next::Group)
                                     : (rows > 0 ? Next::Detail : Next::ReportFooter);
                return true;
            case Next::Group: {
                const auto [begin, end] = d_.groups[size_t(group_)];
                row_ = begin;
                place(def.detail, row_, group_, &def.groupHeader);
                ++row_;
                ++rowsDone_;
                next_ = row_ < end ? Next::Detail : Next::GroupFooter;
                return true;
            }
            case Next::Detail:
                place(def.detail, row_, d_.grouped() ? group_ : -1);
                ++row_;
                ++rowsDone_;
                if (d_.grouped()) {
                    next_ =
                        row_ < d_.groups[size_t(group_)].second ? Next::Detail : Next::GroupFooter;
                } else {
                    next_ = row_ < rows ? Next::Detail : Next::ReportFooter;
                }
                return true;
            case Next::GroupFooter:
                place(def.groupFooter, -1, group_);
                ++group_;
                next_ = group_ < int(d_.groups.size()) ? Next::Group : Next::ReportFooter;
                return true;
            case Next::ReportFooter:
                place(def.reportFooter, -1, -1);
                endPage();
                out_.complete_ = true;
                next_ = Next::Done;
                return false;
            case Next::Done:
                break;
        }
        return false;
    }

private:
    enum class Next { Start, Group, Detail, GroupFooter, ReportFooter, Done };

    qreal heightOf(const ReportBand& band, int row, int group) const {
        return d_.fit(band, row, group).height;
    }

    qreal room() const { return footerTop_ - y_; }

    // The room on a new page below its page header (and the group's header shown again).
    qreal roomOnNewPage(int group) const {
        const ReportBand& header = d_.definition.groupHeader;
        return footerTop_ - heightOf(d_.definition.pageHeader, -1, -1) -
               (group >= 0 && header.repeatOnNewPage ? heightOf(header, -1, group) : 0);
    }

    // Places a band, below the group header that must stand with it when there is one. A band
    // taller than the room left goes to the next page when it fits there; one taller than a
    // whole page starts here, unless not even its first line fits here.
    void place(const ReportBand& band, int row, int group, const ReportBand* header = nullptr) {
        if (header && !header->present()) {
            header = nullptr;
        }
        if (!band.present() && !header) {
            return;
        }
        const qreal above = header ? heightOf(*header, -1, group) : 0;
        const qreal height = heightOf(band, row, group);
        if (bodyPlaced_ && y_ + above + height > footerTop_ + 0.01) {
            const int repeated = header ? -1 : group;
            if (above + height <= roomOnNewPage(repeated) + 0.01 ||
                d_.breakAt(band, row, group, 0, room() - above) <= 0.01) {
                newPage(repeated);
            }
        }
        if (header) {
            put(*header, -1, group, 0, above, true);
        }
        if (band.present()) {
            putInParts(band, row, group, height);
        }
    }

    // Puts the band down, going on over the next pages where it is taller than the room left,
    // broken between lines of its texts.
    void putInParts(const ReportBand& band, int row, int group, qreal height) {
        qreal from = 0;
        for (;;) {
            if (height - from <= room() + 0.01 || (!bodyPlaced_ && room() < 1)) {
                put(band, row, group, from, height - from, from == 0);
                return;
            }
            qreal at = d_.breakAt(band, row, group, from, from + room());
            if (at <= from + 0.01) {
                if (bodyPlaced_) {
                    newPage(group);
                    continue;
                }
                at = from + room();  // a single line taller than a page
            }
            put(band, row, group, from, at - from, false);
            from = at;
            newPage(group);
        }
    }

    void newPage(int group) {
        endPage();
        startPage();
        const ReportBand& header = d_.definition.groupHeader;
        if (group >= 0 && header.repeatOnNewPage && header.present()) {
            put(header, -1, group, 0, heightOf(header, -1, group), true);
            bodyPlaced_ = false;
        }
    }

    void startPage() {
        const bool first = out_.pageStarts_.empty();
        out_.pageStarts_.push_back(out_.placed_.size());
        y_ = 0;
        if (first) {
            const ReportBand& header = d_.definition.reportHeader;
            put(header, -1, -1, 0, heightOf(header, -1, -1), true);
        }
        const ReportBand& pageHeader = d_.definition.pageHeader;
        put(pageHeader, -1, -1, 0, heightOf(pageHeader, -1, -1), true);
        bodyPlaced_ = false;
    }

    void endPage() {
        const ReportBand& footer = d_.definition.pageFooter;
        if (footer.present()) {
            out_.placed_.push_back({&footer, -1, -1, footerTop_, footerHeight_, 0, true});
        }
        ++out_.pagesDone_;
    }

    void put(const ReportBand& band, int row, int group, qreal from, qreal height, bool whole) {
        if (!band.present()) {
            return;
        }
        out_.placed_.push_back({&band, row, group, y_, height, from, whole});
        y_ += height;
        bodyPlaced_ = true;
    }

    ReportPages& out_;
    const Data& d_;
    qreal footerHeight_ = 0;
    qreal footerTop_ = 0;
    qreal y_ = 0;
    bool bodyPlaced_ = false;
    Next next_ = Next::Start;
    int group_ = 0;
    int row_ = 0;
    int rowsDone_ = 0;
};

ReportPages ReportPages::layOut(ReportDefinition definition, Rows rows, ReportContext context,
                                const QPageLayout& page) {
    ReportLayout layout(std::move(definition), std::move(rows), std::move(context), page);
    layout.layOutRows(std::numeric_limits<int>::max());
    return layout.pages();
}

ReportPages ReportPages::onPage(const QPageLayout& page) const {
    if (!data_) {
        return {};
    }
    return layOut(data_->definition, data_->rows, data_->context, page);
}

std::shared_ptr<ReportPages::Data> ReportPages::prepare(ReportDefinition definition, Rows rows,
                                                        ReportContext context,
                                                        const QPageLayout& page) {
    auto data = std::make_shared<Data>();
    data->definition = std::move(definition);
    data->rows = std::move(rows);
    data->context = std::move(context);
    data->page = page;
    data->definition.orientation = page.orientation();
    data->printable = page.paintRect(QPageLayout::Point).size();
    data->scale = data->printable.width() / data->definition.designWidth;

    const int count = data->rows.count();
    data->order.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        data->order[size_t(i)] = i;
    }
    if (data->grouped()) {
        const int column = data->rows.column(data->definition.groupField);
        // Groups follow each other in the order the database sorts the same texts in.
        std::vector<QByteArray> keys(static_cast<size_t>(count));
        for (int i = 0; i < count && column >= 0; ++i) {
            keys[size_t(i)] = textkeys::sortKey(data->rows.at(i, column).toString());
        }
        std::stable_sort(data->order.begin(), data->order.end(),
                         [&keys](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
        for (int i = 0; i < count;) {
            int end = i + 1;
            while (end < count &&
                   keys[size_t(data->order[size_t(end)])] == keys[size_t(data->order[size_t(i)])]) {
                ++end;
            }
            data->groups.emplace_back(i, end);
            i = end;
        }
    }

    data->index();
    return data;
}

ReportLayout::ReportLayout(ReportDefinition definition, Rows rows, ReportContext context,
                           const QPageLayout& page) {
    start(ReportPages::prepare(std::move(definition), std::move(rows), std::move(context), page));
}

ReportLayout::ReportLayout(const ReportPages& report, const QPageLayout& page) {
    start(ReportPages::prepare(report.data_->definition, report.data_->rows, report.data_->context,
                               page));
}

ReportLayout::~ReportLayout() = default;

void ReportLayout::start(std::shared_ptr<ReportPages::Data> data) {
    pages_.data_ = data;
    builder_ = std::make_unique<ReportPages::Builder>(pages_, *data);
}

bool ReportLayout::layOutRows(int rows) {
    const int until = rows > std::numeric_limits<int>::max() - builder_->rowsDone()
                          ? std::numeric_limits<int>::max()
                          : builder_->rowsDone() + rows;
    while (builder_->rowsDone() < until && builder_->step()) {
    }
    return finished();
}

int ReportLayout::rowsDone() const {
    return builder_->rowsDone();
}

int ReportPages::rowCount() const { return data_ ? int(data_->order.size()) : 0; }
int ReportPages::groupCount() const { return data_ ? int(data_->groups.size()) : 0; }
const ReportDefinition& ReportPages::definition() const { return data_->definition; }
const Rows& ReportPages::rows() const { return data_->rows; }
const std::vector<int>& ReportPages::rowOrder() const { return data_->order; }
const QPageLayout& ReportPages::pageLayout() const { return data_->page; }
QSizeF ReportPages::printableSize() const { return data_ ? data_->printable : QSizeF(); }

template <typename Visit>
void ReportPages::forEachItem(int page, Visit visit) const {
    if (page < 0 || page >= pageCount()) {
        return;
    }
    const size_t begin = pageStarts_[size_t(page)];
    const size_t end =
        size_t(page) + 1 < pageStarts_.size() ? pageStarts_[size_t(page) + 1] : placed_.size();
    // The number of pages is known once the whole report is laid out.
    const int pages = complete_ ? pageCount() : -1;
    for (size_t i = begin; i < end; ++i) {
        const Placed& p = placed_[i];
        // Only a band with items below others needs measuring again to place them.
        const Data::BandFit fit = data_->fit(*p.band, p.row, p.group, !p.whole);
        const qreal bottom = p.from + p.height;  // in the band
        for (qsizetype k = 0; k < p.band->items.size(); ++k) {
            const ReportItem& item = p.band->items[k];
            const qreal top = item.box.y() + fit.shift[size_t(k)];  // in the band
            const bool rule = item.kind == ReportItem::Kind::Line;
            // An item that begins below this part of its band stands on a later page; a rule
            // above it stood on an earlier one.
            const bool below = top >= bottom - 0.01;
            if (rule ? !p.whole && (below || top < p.from - 0.01) : below) {
                continue;
            }
            const qreal shown = qMax(top, p.from);
            const qreal height = p.whole ? qMax(item.box.height(), bottom - top) : bottom - shown;
            const QRectF box(item.box.x() * data_->scale, p.y + shown - p.from,
                             item.box.width() * data_->scale, height);
            if (rule) {
                visit(item, *p.band, box, QString(), 0, true);
                continue;
            }
            visit(item, *p.band, box, data_->text(item, *p.band, p.row, p.group, page, pages),
                  shown - top, p.whole);
        }
    }
}

QList<ReportPages::Text> ReportPages::texts(int page) const {
    QList<Text> out;
    forEachItem(page, [&out](const ReportItem& item, const ReportBand& band, const QRectF& box,
                             const QString& text, qreal from, bool whole) {
        if (item.kind == ReportItem::Kind::Line) {
            return;
        }
        if (whole) {
            out.append({item.name, band.kind, box, text});
            return;
        }
        // Of a band that goes on over pages, the lines on this page.
        const QString part =
            reporttext::shown(text, item.font, box.width(), item.wrap, from, box.height());
        if (!part.isEmpty()) {
            out.append({item.name, band.kind, box, part});
        }
    });
    return out;
}

void ReportPages::paint(QPainter& painter, int page) const {
    painter.save();
    painter.setPen(QPen(Qt::black, 0.6));
    forEachItem(page, [&painter](const ReportItem& item, const ReportBand&, const QRectF& box,
                                 const QString& text, qreal from, bool) {
        if (item.kind == ReportItem::Kind::Line) {
            painter.drawLine(QPointF(box.left(), box.top()), QPointF(box.right(), box.top()));
            return;
        }
        reporttext::draw(painter, box, text, item.font, item.align, item.wrap, from);
    });
    painter.restore();
}
