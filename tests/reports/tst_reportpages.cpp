// The report component: how rows are laid out on pages, read back from the laid-out pages.

#include "reports/ReportLayouts.h"
#include "reports/ReportOutput.h"
#include "reports/ReportPages.h"

#include <QTest>

namespace {

using Kind = ReportBand::Kind;

const QStringList kColumns = {"JobNo", "JobStatus", "IntroducedBy", "WorkName", "HomeAddress",
                              "WorkDetails", "DateCreated", "DateCompleted", "Date", "Price"};

// Rows of jobs: number i, introducer from the list in turn, the given work details.
Rows jobs(int count, const QStringList& introducers = {"Agent"}, const QString& details = {}) {
    Rows rows(kColumns);
    for (int i = 0; i < count; ++i) {
        QVariant* r = rows.appendRow();
        r[0] = i + 1;
        r[1] = "Open";
        r[2] = introducers[i % introducers.size()];
        r[3] = QString("Customer %1").arg(i + 1);
        r[4] = "1 High Street\nLeeds";
        r[5] = details;
        r[6] = "2026-01-05 10:30:00";
        r[7] = QVariant();
        r[8] = "2026-02-01 00:00:00";
        r[9] = 1000.5 + i;
    }
    return rows;
}

ReportPages layOut(const QString& layout, Rows rows, QPageSize::PageSizeId paper = QPageSize::A4) {
    ReportDefinition d = *reportlayouts::byName(layout);
    d.setText(d.titleLabel, "Title of the report");
    ReportContext context;
    context.printedAt = QDateTime(QDate(2026, 3, 14), QTime(9, 5));
    return ReportPages::layOut(d, std::move(rows), context,
                               reportoutput::pageLayout(paper, d.orientation));
}

QStringList textsOf(const ReportPages& pages, int page, const QString& item) {
    QStringList out;
    for (const auto& t : pages.texts(page)) {
        if (t.item.compare(item, Qt::CaseInsensitive) == 0) {
            out << t.text;
        }
    }
    return out;
}

QStringList allTextsOf(const ReportPages& pages, const QString& item) {
    QStringList out;
    for (int p = 0; p < pages.pageCount(); ++p) {
        out << textsOf(pages, p, item);
    }
    return out;
}

}  // namespace

class tst_reportpages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pagination_data() {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("introducers");
        QTest::addColumn<QString>("details");
        QTest::addColumn<int>("paper");
        const QString longText = QString("Replace the cracked wash hand basin and reseal. ").repeated(6);
        QTest::newRow("flat, one page") << "drAwaitInvoice" << 3 << QStringList{"A"} << "" << int(QPageSize::A4);
        QTest::newRow("flat, many pages") << "drJobStatus" << 500 << QStringList{"A"} << "" << int(QPageSize::A4);
        QTest::newRow("flat, letter") << "drQuoteStatus" << 300 << QStringList{"A"} << "" << int(QPageSize::Letter);
        QStringList many;
        for (int i = 0; i < 100; ++i) {
            many << QString("Introducer %1").arg(i, 3, 10, QChar('0'));
        }
        QTest::newRow("groups of one") << "drIntroducedGroup" << 200 << many << "" << int(QPageSize::A4);
        QTest::newRow("grouped, long text") << "drjobGroup" << 120 << QStringList{"A", "B", "C"} << longText << int(QPageSize::Letter);
    }

    // Every row stands on one page once, in order; every page says "Page i of N" at its foot;
    // no band runs into the page footer; no page ends with a group header.
    void pagination() {
        QFETCH(QString, layout);
        QFETCH(int, rows);
        QFETCH(QStringList, introducers);
        QFETCH(QString, details);
        QFETCH(int, paper);
        const ReportPages pages = layOut(layout, jobs(rows, introducers, details),
                                         QPageSize::PageSizeId(paper));
        const int n = pages.pageCount();
        QVERIFY(n >= 1);
        QCOMPARE(pages.pageLayout().orientation(), pages.definition().orientation);
        QCOMPARE(pages.pageLayout().pageSize().id(), QPageSize::PageSizeId(paper));

        const qreal foot = pages.printableSize().height();
        QList<int> seen;
        for (int p = 0; p < n; ++p) {
            const auto texts = pages.texts(p);
            QStringList footer;
            qreal footerTop = foot;
            const ReportPages::Text* lastBody = nullptr;
            for (const auto& t : texts) {
                if (t.band == Kind::PageFooter) {
                    footer << t.text;
                    footerTop = qMin(footerTop, t.box.top());
                } else {
                    lastBody = &t;
                }
            }
            QCOMPARE(footer, QStringList{QString("Page %1 of %2").arg(p + 1).arg(n)});
            for (const auto& t : texts) {
                if (t.band != Kind::PageFooter && !t.text.isEmpty()) {
                    QVERIFY2(t.box.top() + 9 <= footerTop,
                             qPrintable(QString("%1 on page %2 runs into the footer").arg(t.item).arg(p + 1)));
                }
                if (t.band == Kind::Detail && t.item == "txtJobNo") {
                    seen << t.text.toInt();
                }
            }
            QVERIFY(lastBody);
            QVERIFY2(lastBody->band != Kind::GroupHeader,
                     qPrintable(QString("page %1 ends with a group header").arg(p + 1)));
        }
        QCOMPARE(seen.size(), rows);
        QList<int> sorted = seen;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(sorted.first(), 1);
        QCOMPARE(sorted.last(), rows);
        QCOMPARE(QSet<int>(seen.begin(), seen.end()).size(), rows);
    }

    // Rows follow one another down the page; a wrapped text pushes the next row down.
    void longTextWrapsInsideItsBand() {
        Rows rows = jobs(2, {"A"}, "short");
        const_cast<QVariant&>(rows.at(0, 5)) = QString("Strip out the damaged plaster and make good. ").repeated(8);
        const ReportPages pages = layOut("drjobGroup", std::move(rows));
        QRectF first, second, details;
        for (const auto& t : pages.texts(0)) {
            if (t.item == "txtJobNo") {
                (t.text == "1" ? first : second) = t.box;
            }
            if (t.item == "txtWorkDetails" && t.text.startsWith("Strip")) {
                details = t.box;
            }
        }
        QVERIFY(details.isValid());
        QVERIFY(first.isValid() && second.isValid());
        // Eight sentences in a narrow column take several lines before the next row starts.
        QVERIFY2(second.top() - first.top() > 60, qPrintable(QString::number(second.top() - first.top())));
        QVERIFY(details.right() <= pages.printableSize().width() + 0.5);
    }

    // A text too long for a whole page is cut at the page's foot rather than going on forever.
    void bandTallerThanAPageIsCut() {
        const ReportPages pages = layOut("drjobGroup", jobs(3, {"A"}, QString("word ").repeated(20000)));
        QVERIFY(pages.pageCount() >= 3);
        QVERIFY(pages.pageCount() <= 5);
        QCOMPARE(allTextsOf(pages, "txtJobNo"), (QStringList{"1", "2", "3"}));
    }

    // Groups come in the order of their value without regard to case, each with its count;
    // the report footer counts every row.
    void groupsAndTotals() {
        const ReportPages pages = layOut("drIntroducedGroup", jobs(7, {"beta", "Alpha", "alpha", ""}));
        QCOMPARE(pages.groupCount(), 3);
        QCOMPARE(allTextsOf(pages, "txtIntroducedBy"), (QStringList{"", "Alpha", "beta"}));
        QCOMPARE(allTextsOf(pages, "Function1"), (QStringList{"1", "4", "2"}));
        QCOMPARE(allTextsOf(pages, "Function2"), QStringList{"7"});
        QCOMPARE(allTextsOf(pages, "Label11").first(), QString("Total jobs for:- "));
        // Rows keep their order within a group.
        const QStringList alpha = allTextsOf(pages, "txtJobNo").mid(1, 4);
        QCOMPARE(alpha, (QStringList{"2", "3", "6", "7"}));
    }

    // Headers, an empty detail and totals of nothing.
    void reportWithoutRows() {
        const ReportPages pages = layOut("drAwaitInvoice", jobs(0));
        QCOMPARE(pages.pageCount(), 1);
        QCOMPARE(textsOf(pages, 0, "labRptTitle"), QStringList{"Title of the report"});
        QCOMPARE(textsOf(pages, 0, "Label2"), QStringList{"Date Created:"});
        QCOMPARE(textsOf(pages, 0, "txtJobNo"), QStringList());
        QCOMPARE(textsOf(pages, 0, "Function1"), QStringList{"0.00"});
        QCOMPARE(textsOf(pages, 0, "Function2"), QStringList{"0"});
        QCOMPARE(textsOf(pages, 0, "Label5"), QStringList{"Page 1 of 1"});
    }

    // No column of any layout runs off the printable width or into the next column.
    void columnsStayApart() {
        for (const QString& name : reportlayouts::names()) {
            const ReportDefinition d = *reportlayouts::byName(name);
            for (const ReportBand* band : {&d.pageHeader, &d.groupHeader, &d.detail}) {
                for (const ReportItem& a : band->items) {
                    QVERIFY2(a.box.right() <= d.designWidth + 0.01, qPrintable(name + ": " + a.name));
                    for (const ReportItem& b : band->items) {
                        const bool apart = &a == &b || a.kind == ReportItem::Kind::Line ||
                                           b.kind == ReportItem::Kind::Line ||
                                           !a.box.intersects(b.box);
                        QVERIFY2(apart, qPrintable(name + ": " + a.name + " and " + b.name));
                    }
                }
            }
        }
    }

    // Amounts are shown to the penny, halves away from zero, and the total is the sum of the
    // amounts shown.
    void theTotalAddsUpTheAmountsShown() {
        Rows rows = jobs(3);
        const double prices[] = {0.125, 0.125, 10.005};
        for (int i = 0; i < 3; ++i) {
            const_cast<QVariant&>(rows.at(i, 9)) = prices[i];
        }
        const ReportPages pages = layOut("drAwaitInvoice", std::move(rows));
        QCOMPARE(allTextsOf(pages, "txtPrice"), (QStringList{"0.13", "0.13", "10.01"}));
        QCOMPARE(allTextsOf(pages, "Function1"), QStringList{"10.27"});
    }

    // Display formats, the date format of the report for dates without one, and placeholders.
    void formatsAndPlaceholders() {
        const ReportPages invoice = layOut("drAwaitInvoice", jobs(2));
        QCOMPARE(textsOf(invoice, 0, "txtDate"), (QStringList{"01/Feb/26", "01/Feb/26"}));
        QCOMPARE(textsOf(invoice, 0, "txtPrice"), (QStringList{"1,000.50", "1,001.50"}));
        QCOMPARE(textsOf(invoice, 0, "Function1"), QStringList{"2,002.00"});
        QCOMPARE(textsOf(invoice, 0, "Label6"), QStringList{"Printed 14/03/2026"});

        const ReportPages grouped = layOut("drjobGroup", jobs(1));
        QCOMPARE(textsOf(grouped, 0, "txtDateCreated"), QStringList{"05 Jan 26"});
        QCOMPARE(textsOf(grouped, 0, "txtDateCompleted"), QStringList{""});
        QCOMPARE(textsOf(grouped, 0, "Label14"), QStringList{"Report printed on 14/03/2026 at 09:05"});

        const ReportPages flat = layOut("drJobStatus", jobs(1));
        QCOMPARE(textsOf(flat, 0, "txtDate"), QStringList{"05/01/2026"});
    }
};

QTEST_MAIN(tst_reportpages)
#include "tst_reportpages.moc"
