#include "reports/ReportLayouts.h"

#include <functional>

namespace reportlayouts {

namespace {

constexpr qreal kPortraitWidth = 527;   // A4 upright, 12 mm margins
constexpr qreal kLandscapeWidth = 774;  // A4 on its side
constexpr qreal kGap = 6;
constexpr int kTitlePoints = 13;
constexpr int kTextPoints = 8;

ReportItem label(const char* name, const QString& text, QRectF box, ReportFont font = {kTextPoints},
                 Qt::Alignment align = Qt::AlignLeft) {
    ReportItem item;
    item.kind = ReportItem::Kind::Label;
    item.name = QString::fromLatin1(name);
    item.text = text;
    item.box = box;
    item.font = font;
    item.align = align;
    return item;
}

ReportItem field(const char* name, const char* source, QRectF box, bool isDate = false,
                 const QString& format = {}, Qt::Alignment align = Qt::AlignLeft) {
    ReportItem item;
    item.kind = ReportItem::Kind::Field;
    item.name = QString::fromLatin1(name);
    item.field = QString::fromLatin1(source);
    item.box = box;
    item.isDate = isDate;
    item.format = format;
    item.font = {kTextPoints};
    item.align = align;
    // Dates and amounts fit their columns as they are.
    item.wrap = !isDate && format.isEmpty() && align != Qt::AlignRight;
    return item;
}

ReportItem function(const char* name, ReportItem::Aggregate aggregate, const char* source,
                    QRectF box, const QString& format = {}) {
    ReportItem item = field(name, source, box, false, format, Qt::AlignRight);
    item.kind = ReportItem::Kind::Function;
    item.aggregate = aggregate;
    item.font = {9, true};
    return item;
}

ReportItem line(const char* name, qreal y, qreal width) {
    ReportItem item;
    item.kind = ReportItem::Kind::Line;
    item.name = QString::fromLatin1(name);
    item.box = QRectF(0, y, width, 0);
    return item;
}

// One column: its heading label and the bound item under it.
struct Column {
    const char* label;
    QString heading;
    const char* item;  // nullptr for a heading with nothing under it
    const char* field;
    qreal width;
    bool isDate = false;
    QString format = {};
    Qt::Alignment align = Qt::AlignLeft;
};

// Lays the columns out from the left, headings in the heading band and fields in the row band.
void addColumns(ReportBand& headings, qreal headingTop, ReportBand& rows,
                const QList<Column>& columns) {
    qreal x = 0;
    for (const Column& c : columns) {
        headings.items << label(c.label, c.heading, QRectF(x, headingTop, c.width, 11),
                                {kTextPoints, true}, c.align);
        if (c.item) {
            rows.items << field(c.item, c.field, QRectF(x, 2, c.width, 11), c.isDate, c.format,
                                c.align);
        }
        x += c.width + kGap;
    }
}

void titleBand(ReportDefinition& d, const char* titleLabel, const char* printedLabel,
               const QString& printed) {
    d.titleLabel = QString::fromLatin1(titleLabel);
    d.reportHeader.items << label(titleLabel, QStringLiteral("Report Title"),
                                  QRectF(0, 0, d.designWidth, 17), {kTitlePoints, true});
    d.reportHeader.height = 26;
    if (printedLabel) {
        d.reportHeader.items << label(printedLabel, printed, QRectF(0, 20, d.designWidth, 11),
                                      {kTextPoints, false, true});
        d.reportHeader.height = 40;
    }
}

void pageFooter(ReportDefinition& d, const char* pageLabel, bool rule) {
    if (rule) {
        d.pageFooter.items << line("Line3", 3, d.designWidth);
    }
    d.pageFooter.items << label(pageLabel, QStringLiteral("Page %p of %P"),
                                QRectF(0, 7, d.designWidth, 11), {kTextPoints},
                                Qt::AlignRight);
    d.pageFooter.height = 20;
}

// A total: its caption and the function beside it.
void total(ReportBand& band, const char* captionLabel, const QString& caption, ReportItem value,
           qreal y, qreal captionWidth = 130) {
    band.items << label(captionLabel, caption, QRectF(0, y, captionWidth, 12), {9, true});
    value.box = QRectF(captionWidth, y, value.box.width(), 12);
    band.items << value;
}

ReportDefinition invoicing(const char* name) {
    ReportDefinition d;
    d.name = QString::fromLatin1(name);
    d.designWidth = kPortraitWidth;
    titleBand(d, "labRptTitle", "Label6", QStringLiteral("Printed %D"));
    addColumns(d.pageHeader, 4, d.detail,
               {{"Label2", QStringLiteral("Date Created:"), "txtDate", "Date", 70, true,
                 QStringLiteral("dd/MMM/yy")},
                {"Label1", QStringLiteral("JobNo:"), "txtJobNo", "JobNo", 50},
                {"Label3", QStringLiteral("Price:"), "txtPrice", "Price", 75, false,
                 QStringLiteral("#,##0.00"), Qt::AlignRight},
                {"Label4", QStringLiteral("WorkName:"), "txtWorkName", "WorkName",
                 kPortraitWidth - 70 - 50 - 75 - 3 * kGap - 10}});
    // The work name stands a little apart from the amounts.
    for (const char* moved : {"Label4", "txtWorkName"}) {
        d.item(QString::fromLatin1(moved))->box.translate(10, 0);
    }
    d.pageHeader.items << line("Line4", 19, d.designWidth);
    d.pageHeader.height = 22;
    d.detail.height = 14;
    pageFooter(d, "Label5", true);
    d.reportFooter.items << line("Line1", 4, d.designWidth);
    total(d.reportFooter, "Label7", QStringLiteral("Total Job Value \u00A3"),
          function("Function1", ReportItem::Aggregate::Sum, "Price", QRectF(0, 0, 75, 12),
                   QStringLiteral("#,##0.00")),
          10, 132);
    total(d.reportFooter, "Label8", QStringLiteral("Number of Jobs"),
          function("Function2", ReportItem::Aggregate::Count, "WorkName", QRectF(0, 0, 75, 12)),
          26, 132);
    d.reportFooter.height = 44;
    for (const char* amount : {"txtPrice", "Function1"}) {
        d.item(QString::fromLatin1(amount))->money = true;
    }
    return d;
}

ReportDefinition landscape(const char* name) {
    ReportDefinition d;
    d.name = QString::fromLatin1(name);
    d.orientation = QPageLayout::Landscape;
    d.designWidth = kLandscapeWidth;
    return d;
}

void endLabel(ReportBand& band, const char* name, const QString& text, qreal width, qreal y = 8) {
    band.items << label(name, text, QRectF(0, y, width, 12), {9, true}, Qt::AlignHCenter);
    band.height = qMax(band.height, y + 18);
}

// A caption label, and where it stands.
struct Caption {
    const char* name;
    QString text;
    qreal left = 0;
    qreal width = 0;
};

// Under each group "Total jobs for", the group's introducer and its number of jobs; at the end
// the number of all jobs and "End Of Report".
void groupTotals(ReportDefinition& d, const Caption& group, const Caption& all) {
    const qreal x = group.left + group.width;
    d.groupFooter.items << label(group.name, group.text, QRectF(group.left, 4, group.width, 12),
                                 {kTextPoints, true})
                        << field("Text1", "IntroducedBy", QRectF(x, 4, 300, 12))
                        << function("Function1", ReportItem::Aggregate::Count, "JobNo",
                                    QRectF(x + 305, 4, 45, 12))
                        << line("Line1", 20, d.designWidth);
    d.groupFooter.items[1].font = {kTextPoints, true};
    d.groupFooter.height = 26;
    total(d.reportFooter, all.name, all.text,
          function("Function2", ReportItem::Aggregate::Count, "JobNo", QRectF(0, 0, 60, 12)), 8);
    endLabel(d.reportFooter, "Label13", QStringLiteral("End Of Report"), d.designWidth, 28);
}

ReportDefinition quoteStatus() {
    ReportDefinition d = landscape("drQuoteStatus");
    titleBand(d, "labReportTitle", nullptr, {});
    addColumns(d.pageHeader, 2, d.detail,
               {{"Label1", QStringLiteral("Job No"), "txtJobNo", "JobNo", 45},
                {"Label2", QStringLiteral("Job Status"), "txtJobStatus", "JobStatus", 80},
                {"Label3", QStringLiteral("Introduced By"), "txtIntroducedBy", "IntroducedBy", 85},
                {"Label4", QStringLiteral("Work Name"), "txtWorkName", "WorkName", 142},
                {"Label5", QStringLiteral("Surveyed"), "txtDateReceived", "DateReceived", 64, true},
                {"Label6", QStringLiteral("Due"), "txtDateDue", "DateDue", 64, true},
                {"Label7", QStringLiteral("Created"), "txtDateCreated", "DateCreated", 64, true},
                {"Label8", QStringLiteral("Completed"), "txtDateCompleted", "DateCompleted", 64,
                 true},
                {"Label9", QStringLiteral("Quoted"), "txtDateQuoted", "DateQuoted", 64, true},
                {"Label10", QStringLiteral("Age (Days)"), "txtAge", "Age", 45, false, {},
                 Qt::AlignRight}});
    d.pageHeader.items << line("lineHeadings", 17, d.designWidth);
    d.pageHeader.height = 20;
    d.detail.height = 14;
    pageFooter(d, "Label11", false);
    endLabel(d.reportFooter, "Label12", QStringLiteral("----- End Of Report -----"),
             d.designWidth);
    return d;
}

ReportDefinition introducedGroup() {
    ReportDefinition d = landscape("drIntroducedGroup");
    d.groupField = QStringLiteral("IntroducedBy");
    titleBand(d, "labReportTitle", "Label14", QStringLiteral("Report printed on %D at %T"));
    addColumns(d.pageHeader, 2, d.detail,
               {{"Label1", QStringLiteral("IntroducedBy:"), nullptr, nullptr, 95},
                {"Label3", QStringLiteral("JobStatus:"), "txtJobStatus", "JobStatus", 80},
                {"Label4", QStringLiteral("WorkName:"), "txtWorkName", "WorkName", 140},
                {"Label5", QStringLiteral("Created"), "txtDateCreated", "DateCreated", 64, true},
                {"Label2", QStringLiteral("Surveyed"), "txtDateReceived", "DateReceived", 64,
                 true},
                {"Label6", QStringLiteral("Quoted"), "txtDateQuoted", "DateQuoted", 64, true},
                {"Label7", QStringLiteral("Due"), "txtDateDue", "DateDue", 64, true},
                {"Label8", QStringLiteral("Completed"), "txtDateCompleted", "DateCompleted", 64,
                 true},
                {"Label9", QStringLiteral("JobNo:"), "txtJobNo", "JobNo", 45, false, {},
                 Qt::AlignRight},
                {"Label10", QStringLiteral("Age:"), "txtAge", "Age", 40, false, {},
                 Qt::AlignRight}});
    d.pageHeader.items << line("lineHeadings", 17, d.designWidth);
    d.pageHeader.height = 20;
    d.groupHeader.items << field("txtIntroducedBy", "IntroducedBy", QRectF(0, 5, 400, 12));
    d.groupHeader.items.last().font = {9, true};
    d.groupHeader.height = 19;
    d.detail.height = 14;
    groupTotals(d, {"Label11", QStringLiteral("Total jobs for:- "), 95, 80},
                {"Label15", QStringLiteral("Total number of jobs")});
    pageFooter(d, "Label12", false);
    return d;
}

ReportDefinition jobStatus() {
    ReportDefinition d = landscape("drJobStatus");
    titleBand(d, "labReportTitle", nullptr, {});
    addColumns(d.pageHeader, 2, d.detail,
               {{"Label1", QStringLiteral("Date Created"), "txtDate", "DateCreated", 64, true},
                {"Label2", QStringLiteral("Job No"), "txtJobNo", "JobNo", 45},
                {"Label3", QStringLiteral("Status"), "txtJobStatus", "JobStatus", 85},
                {"Label4", QStringLiteral("Work Name"), "txtWorkName", "WorkName", 170},
                {"Label5", QStringLiteral("Date Surveyed"), "txtDateReceived", "DateReceived", 64,
                 true},
                {"Label6", QStringLiteral("Date Due"), "txtDateDue", "DateDue", 64, true},
                {"Label7", QStringLiteral("Date Quoted"), "txtDateQuoted", "DateQuoted", 64, true},
                {"Label10", QStringLiteral("Introduced By"), "txtIntroducedBy", "IntroducedBy",
                 100},
                {"Label11", QStringLiteral("Date Completed"), "Text1", "DateCompleted", 64,
                 true}});
    d.pageHeader.items << line("lineHeadings", 17, d.designWidth);
    d.pageHeader.height = 20;
    d.detail.height = 14;
    pageFooter(d, "Label8", false);
    endLabel(d.reportFooter, "Label9", QStringLiteral("--- End Of Report ---"), d.designWidth);
    return d;
}

ReportDefinition jobGroup() {
    ReportDefinition d = landscape("drjobGroup");
    d.groupField = QStringLiteral("IntroducedBy");
    titleBand(d, "labReportTitle", "Label14", QStringLiteral("Report printed on %D at %T"));
    const QString dayMonthYear = QStringLiteral("dd MMM yy");
    addColumns(d.groupHeader, 8, d.detail,
               {{"Label2", QStringLiteral("Job No"), "txtJobNo", "JobNo", 40},
                {"Label3", QStringLiteral("Job Status"), "txtJobStatus", "JobStatus", 70},
                {"Label4", QStringLiteral("Work Name"), "txtWorkName", "WorkName", 110},
                {"Label5", QStringLiteral("Created"), "txtDateCreated", "DateCreated", 64, true,
                 dayMonthYear},
                {"Label9", QStringLiteral("Completed"), "txtDateCompleted", "DateCompleted", 64,
                 true, dayMonthYear},
                {"Label1", QStringLiteral("Introduced By"), "txtIntroducedBy", "IntroducedBy", 80},
                {"Label6", QStringLiteral("Address"), "txtHomeAddress", "HomeAddress", 140},
                {"Label7", QStringLiteral("Work Details:"), "txtWorkDetails", "WorkDetails",
                 164}});
    d.groupHeader.items << line("lineHeadings", 23, d.designWidth);
    d.groupHeader.height = 26;
    // The captions come again at the top of a page on which a group goes on.
    d.groupHeader.repeatOnNewPage = true;
    d.detail.height = 16;
    groupTotals(d, {"Label10", QStringLiteral("Total jobs for"), 0, 70},
                {"Label12", QStringLiteral("Total number of Jobs")});
    pageFooter(d, "Label11", false);
    return d;
}

using Maker = std::function<ReportDefinition()>;

const QList<QPair<QString, Maker>>& makers() {
    static const QList<QPair<QString, Maker>> all = {
        {QStringLiteral("drAwaitInvoice"), [] { return invoicing("drAwaitInvoice"); }},
        {QStringLiteral("drAwaitPayment"), [] { return invoicing("drAwaitPayment"); }},
        {QStringLiteral("drQuoteStatus"), quoteStatus},
        {QStringLiteral("drIntroducedGroup"), introducedGroup},
        {QStringLiteral("drJobStatus"), jobStatus},
        {QStringLiteral("drjobGroup"), jobGroup},
    };
    return all;
}

}  // namespace

std::optional<ReportDefinition> byName(const QString& name) {
    for (const auto& [known, make] : makers()) {
        if (known.compare(name, Qt::CaseInsensitive) == 0) {
            return make();
        }
    }
    return std::nullopt;
}

QStringList names() {
    QStringList out;
    for (const auto& entry : makers()) {
        out << entry.first;
    }
    return out;
}

}  // namespace reportlayouts
