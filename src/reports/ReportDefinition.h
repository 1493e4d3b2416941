#pragma once

#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>

// A banded report: what each section of a printed report holds and where. Positions and sizes
// are in points (1/72 inch) on a page whose printable width is the definition's designWidth;
// on a wider or narrower page every horizontal position and width scales to fit.

struct ReportFont {
    int points = 9;
    bool bold = false;
    bool italic = false;
};

struct ReportItem {
    enum class Kind { Label, Field, Function, Line };
    enum class Aggregate { Count, Sum };

    Kind kind = Kind::Label;
    QString name;
    QRectF box;
    // A label's text, which may hold %D (date printed), %T (time printed), %p (this page's
    // number) and %P (the number of pages).
    QString text;
    // The field a bound item shows, or a function adds up.
    QString field;
    // A display format: a date pattern ("dd/MMM/yy") for dates, a number pattern ("#,##0.00")
    // for numbers. A date without one shows in the report's date format.
    QString format;
    bool isDate = false;
    // An amount of money: shown and added up in whole pennies, so a total is the sum of the
    // amounts shown above it.
    bool money = false;
    Aggregate aggregate = Aggregate::Count;
    ReportFont font;
    Qt::Alignment align = Qt::AlignLeft;
    // Long text breaks into lines and the band grows to hold them; otherwise the text stays
    // on one line.
    bool wrap = true;
};

struct ReportBand {
    enum class Kind { ReportHeader, PageHeader, GroupHeader, Detail, GroupFooter, PageFooter,
                      ReportFooter };

    explicit ReportBand(Kind bandKind = Kind::Detail) : kind(bandKind) {}

    Kind kind;
    // The least height; wrapped text makes it taller.
    qreal height = 0;
    QList<ReportItem> items;
    // A group header shown again at the top of a page on which its group goes on.
    bool repeatOnNewPage = false;

    bool present() const { return height > 0 || !items.isEmpty(); }
};

struct ReportDefinition {
    QString name;
    // The label that carries the report's title.
    QString titleLabel;
    // Rows are grouped on this field when it is set, and the group bands are shown.
    QString groupField;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    qreal designWidth = 538;

    ReportBand reportHeader{ReportBand::Kind::ReportHeader};
    ReportBand pageHeader{ReportBand::Kind::PageHeader};
    ReportBand groupHeader{ReportBand::Kind::GroupHeader};
    ReportBand detail{ReportBand::Kind::Detail};
    ReportBand groupFooter{ReportBand::Kind::GroupFooter};
    ReportBand pageFooter{ReportBand::Kind::PageFooter};
    ReportBand reportFooter{ReportBand::Kind::ReportFooter};

    // The item of that name in any band (names compare without regard to case), or null.
    ReportItem* item(const QString& itemName);
    const ReportItem* item(const QString& itemName) const;
    // Sets a label's text; false when there is no such item.
    bool setText(const QString& itemName, const QString& text);
    // Every field a bound item or function uses.
    QStringList fields() const;
};
