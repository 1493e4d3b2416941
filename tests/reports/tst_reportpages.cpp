// The report component: how rows are laid out on pages, read back from the laid-out pages.

#include "ReportTestData.h"
#include "reports/ReportLayouts.h"
#include "reports/ReportOutput.h"
#include "reports/ReportPages.h"
#include "reports/ReportText.h"

#include <QRegularExpression>
#include <QTemporaryDir>
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

    // A band taller than the room left starts on the next page, one taller than a whole page
    // goes on over the pages: every word of a long text stands once, in order, no page is
    // without a row, and every page but the last is full.
    void noTextIsEverCut_data() {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("column");  // of the long text in the rows
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("text");
        QStringList words;
        for (int i = 1; i <= 400; ++i) {
            words << QString("w%1").arg(i, 4, 10, QChar('0'));
        }
        // The grouped report's work details of about 2,350 characters: a paragraph.
        QTest::newRow("drjobGroup, a long paragraph")
            << "drjobGroup" << 5 << "txtWorkDetails" << words.mid(0, 235).join(" sample ");
        for (const QString& layout : reportlayouts::names()) {
            // One word a line: longer than one page, and than two, in any column.
            QTest::addRow("%s, over one page", qPrintable(layout))
                << layout << 3 << "txtWorkName" << words.mid(0, 110).join("\n");
            QTest::addRow("%s, over two pages", qPrintable(layout))
                << layout << 3 << "txtWorkName" << words.join("\n");
        }
    }
    void noTextIsEverCut() {
        QFETCH(QString, layout);
        QFETCH(int, column);
        QFETCH(QString, item);
        QFETCH(QString, text);
        Rows rows = jobs(3, {"A"});
        const_cast<QVariant&>(rows.at(1, column)) = text;
        const ReportPages pages = layOut(layout, std::move(rows));
        QVERIFY2(pages.pageCount() >= 2, qPrintable(QString::number(pages.pageCount())));
        QCOMPARE(allTextsOf(pages, "txtJobNo"), (QStringList{"1", "2", "3"}));

        QStringList shown;
        const qreal footer = pages.printableSize().height();
        for (int p = 0; p < pages.pageCount(); ++p) {
            qreal lowest = 0;
            qreal footerTop = footer;
            bool row = false;
            for (const auto& t : pages.texts(p)) {
                if (t.band == Kind::PageFooter) {
                    footerTop = qMin(footerTop, t.box.top());
                    continue;
                }
                row = row || t.band == Kind::Detail;
                lowest = qMax(lowest, t.box.bottom());
                if (t.item == item && t.text.contains("w0")) {
                    shown << t.text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
                }
            }
            QVERIFY2(row, qPrintable(QString("page %1 shows no row").arg(p + 1)));
            if (p + 1 < pages.pageCount()) {
                QVERIFY2(lowest > footerTop - 30,
                         qPrintable(QString("page %1 ends at %2 of %3").arg(p + 1).arg(lowest).arg(footerTop)));
            }
        }
        QCOMPARE(shown.join(' '), text.split(QRegularExpression("\\s+")).join(' '));
    }

    // The PDF holds every word of a text that goes on over three pages.
    void everyWordReachesThePdf() {
        QStringList words;
        for (int i = 1; i <= 700; ++i) {
            words << QString("w%1").arg(i, 4, 10, QChar('0'));
        }
        Rows rows = jobs(2, {"A"});
        const_cast<QVariant&>(rows.at(0, 5)) = words.join(' ');
        const ReportPages pages = layOut("drjobGroup", std::move(rows));
        QVERIFY(pages.pageCount() >= 3);
        QTemporaryDir dir;
        QString error;
        QVERIFY2(reportoutput::writePdf(pages, dir.filePath("r.pdf"), "r", &error), qPrintable(error));
        const QString text = pdfText(dir.filePath("r.pdf"));
        QCOMPARE(text.count("\f"), pages.pageCount());
        QStringList found;
        QRegularExpressionMatchIterator it = QRegularExpression("w\\d{4}").globalMatch(text);
        while (it.hasNext()) {
            found << it.next().captured();
        }
        QCOMPARE(found, words);
    }

    // A long report can be looked at before it is all laid out: its first pages are complete,
    // with the page count shown once every page is.
    void theFirstPageComesFirst() {
        ReportDefinition d = *reportlayouts::byName("drAwaitInvoice");
        ReportLayout layout(d, jobs(2000), ReportContext(),
                            reportoutput::pageLayout(QPageSize::A4, d.orientation));
        layout.layOutRows(100);
        QVERIFY(!layout.finished());
        QVERIFY(layout.rowsDone() >= 100 && layout.rowsDone() < 2000);
        QVERIFY(layout.pages().pageCount() >= 1);
        QCOMPARE(textsOf(layout.pages(), 0, "Label5"), QStringList{"Page 1 of \u2026"});
        while (!layout.layOutRows(300)) {
        }
        const int n = layout.pages().pageCount();
        QCOMPARE(n, layOut("drAwaitInvoice", jobs(2000)).pageCount());
        QCOMPARE(textsOf(layout.pages(), 0, "Label5"), QStringList{QString("Page 1 of %1").arg(n)});
        QCOMPARE(allTextsOf(layout.pages(), "txtJobNo").size(), 2000);
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
        QCOMPARE(textsOf(invoice, 0, "txtPrice"), (QStringList{"1,000.50", "1,001.50"}));
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
