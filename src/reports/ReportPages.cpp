#include "reports/ReportPages.h"

#include "reports/ReportText.h"
#include "startup/Money.h"
#include "startup/Numbers.h"

#include <QPainter>
#include <algorithm>
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

    QRectF boxOf(const ReportItem& item, qreal y, qreal shift, qreal bandHeight) const {
        const qreal top = item.box.y() + shift;
        return QRectF(item.box.x() * scale, y + top, item.box.width() * scale,
                      qMax(item.box.height(), bandHeight - top));
    }

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

    void run() {
        const ReportDefinition& def = d_.definition;
        startPage();
        if (d_.grouped()) {
            for (int g = 0; g < int(d_.groups.size()); ++g) {
                const auto [begin, end] = d_.groups[size_t(g)];
                const qreal header = heightOf(def.groupHeader, -1, g);
                // A group header never stands alone at the foot of a page.
                ensureRoom(header + heightOf(def.detail, begin, g), -1);
                put(def.groupHeader, -1, g, header);
                for (int row = begin; row < end; ++row) {
                    addBand(def.detail, row, g);
                }
                addBand(def.groupFooter, -1, g);
            }
        } else {
            for (int row = 0; row < int(d_.order.size()); ++row) {
                addBand(def.detail, row, -1);
            }
        }
        addBand(def.reportFooter, -1, -1);
        endPage();
    }

private:
    qreal heightOf(const ReportBand& band, int row, int group) const {
        return d_.fit(band, row, group).height;
    }

    void addBand(const ReportBand& band, int row, int group) {
        if (!band.present()) {
            return;
        }
        const qreal height = heightOf(band, row, group);
        ensureRoom(height, group);
        put(band, row, group, height);
    }

    void ensureRoom(qreal height, int group) {
        if (y_ + height <= footerTop_ + 0.01 || !bodyPlaced_) {
            return;
        }
        endPage();
        startPage();
        const ReportBand& header = d_.definition.groupHeader;
        if (group >= 0 && header.repeatOnNewPage) {
            put(header, -1, group, heightOf(header, -1, group));
            bodyPlaced_ = false;
        }
    }

    void startPage() {
        const bool first = out_.pageStarts_.empty();
        out_.pageStarts_.push_back(out_.placed_.size());
        y_ = 0;
        if (first) {
            const ReportBand& header = d_.definition.reportHeader;
            put(header, -1, -1, heightOf(header, -1, -1));
        }
        const ReportBand& pageHeader = d_.definition.pageHeader;
        put(pageHeader, -1, -1, heightOf(pageHeader, -1, -1));
        bodyPlaced_ = false;
    }

    void endPage() {
        const ReportBand& footer = d_.definition.pageFooter;
        if (footer.present()) {
            out_.placed_.push_back({&footer, -1, -1, footerTop_, footerHeight_, false});
        }
    }

    void put(const ReportBand& band, int row, int group, qreal height) {
        if (!band.present()) {
            return;
        }
        const bool cut = y_ + height > footerTop_ + 0.01;
        if (cut) {
            height = qMax<qreal>(0, footerTop_ - y_);
        }
        out_.placed_.push_back({&band, row, group, y_, height, cut});
        y_ += height;
        bodyPlaced_ = true;
    }

    ReportPages& out_;
    const Data& d_;
    qreal footerHeight_ = 0;
    qreal footerTop_ = 0;
    qreal y_ = 0;
    bool bodyPlaced_ = false;
};

ReportPages ReportPages::layOut(ReportDefinition definition, Rows rows, ReportContext context,
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
        std::vector<QString> keys(static_cast<size_t>(count));
        for (int i = 0; i < count && column >= 0; ++i) {
            keys[size_t(i)] = data->rows.at(i, column).toString().toCaseFolded();
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
    ReportPages out;
    out.data_ = data;
    Builder(out, *data).run();
    return out;
}

ReportPages ReportPages::onPage(const QPageLayout& page) const {
    if (!data_) {
        return {};
    }
    return layOut(data_->definition, data_->rows, data_->context, page);
}

int ReportPages::rowCount() const { return data_ ? int(data_->order.size()) : 0; }
int ReportPages::groupCount() const { return data_ ? int(data_->groups.size()) : 0; }
const ReportDefinition& ReportPages::definition() const { return data_->definition; }
const QPageLayout& ReportPages::pageLayout() const { return data_->page; }
QSizeF ReportPages::printableSize() const { return data_ ? data_->printable : QSizeF(); }

template <typename Visit>
void ReportPages::forEachItem(int page, Visit visit) const {
    if (page < 0 || page >= pageCount()) {
        return;
    }
    const size_t begin = pageStarts_[size_t(page)];
    const size_t end = page + 1 < pageCount() ? pageStarts_[size_t(page) + 1] : placed_.size();
    for (size_t i = begin; i < end; ++i) {
        const Placed& p = placed_[i];
        // Only a band with items below others needs measuring again to place them.
        const Data::BandFit fit = data_->fit(*p.band, p.row, p.group, false);
        for (qsizetype k = 0; k < p.band->items.size(); ++k) {
            const ReportItem& item = p.band->items[k];
            const qreal shift = fit.shift[size_t(k)];
            const QRectF box = data_->boxOf(item, p.y, shift, p.height);
            if (item.kind == ReportItem::Kind::Line) {
                visit(item, *p.band, box, QString());
                continue;
            }
            if (item.box.y() + shift >= p.height) {
                continue;  // below the foot of a band that was cut
            }
            visit(item, *p.band, box, data_->text(item, *p.band, p.row, p.group, page, pageCount()));
        }
    }
}

QList<ReportPages::Text> ReportPages::texts(int page) const {
    QList<Text> out;
    forEachItem(page, [&out](const ReportItem& item, const ReportBand& band, const QRectF& box,
                             const QString& text) {
        if (item.kind != ReportItem::Kind::Line) {
            out.append({item.name, band.kind, box, text});
        }
    });
    return out;
}

void ReportPages::paint(QPainter& painter, int page) const {
    painter.save();
    painter.setPen(QPen(Qt::black, 0.6));
    forEachItem(page, [&painter](const ReportItem& item, const ReportBand&, const QRectF& box,
                                 const QString& text) {
        if (item.kind == ReportItem::Kind::Line) {
            painter.drawLine(QPointF(box.left(), box.top()), QPointF(box.right(), box.top()));
            return;
        }
        reporttext::draw(painter, box, text, item.font, item.align, item.wrap);
    });
    painter.restore();
}
