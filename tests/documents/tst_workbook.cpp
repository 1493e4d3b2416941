#include "OfficeTestFiles.h"
#include "documents/Workbook.h"

#include <QTemporaryDir>
#include <QTest>
#include <pugixml.hpp>

using namespace testfiles;

namespace {

// invoice.xltx: the sheet "Invoice" (its second tab, the active one) is xl/worksheets/sheet2.xml;
// "[DATE]" is one shared string, in B3 and B5 there and in B1 of the sheet "Notes".
const QString ActiveSheet = QStringLiteral("xl/worksheets/sheet2.xml");
const QString OtherSheet = QStringLiteral("xl/worksheets/sheet1.xml");
const QString SharedStrings = QStringLiteral("xl/sharedStrings.xml");
const QString Styles = QStringLiteral("xl/styles.xml");

QByteArray invoiceBytes() {
    return read(fixture(QStringLiteral("invoice.xltx")));
}

Workbook invoice() {
    Workbook book;
    if (!book.openData(invoiceBytes())) {
        qFatal("cannot open: %s", qPrintable(book.error().description));
    }
    return book;
}

Workbook reopened(Workbook& book) {
    Workbook again;
    if (!again.openData(book.saveData())) {
        qFatal("cannot reopen: %s", qPrintable(again.error().description));
    }
    return again;
}

void parsed(const QByteArray& bytes, pugi::xml_document& xml) {
    QVERIFY(xml.load_buffer(bytes.constData(), size_t(bytes.size())));
}

// "B3=text" pairs.
void checkCells(const Workbook& book, const QStringList& cells) {
    for (const QString& cell : cells) {
        const QString address = cell.section(u'=', 0, 0);
        QCOMPARE(book.cellText(address), cell.section(u'=', 1));
    }
}

}  // namespace

class TestWorkbook : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void activeSheetAndCells() {
        const Workbook book = invoice();
        QCOMPARE(book.activeCellAddress(), QStringLiteral("$A$1"));
        checkCells(book,
                   {"A1=INVOICE", "$B$4=Dear [CUSTNAME], thank you", "b3=[DATE]", "A6=Ref [JOBNO]",
                    "A7=12.5", "B7=25", "C7=Job [JOBNO]", "D3=31/12/2009", "Z99=", "nonsense="});
    }

    void find_data() {
        QTest::addColumn<QStringList>("whats");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<QStringList>("found");  // "" for none
        QTest::newRow("shared string twice, then round again")
            << QStringList{"[DATE]", "[DATE]", "[DATE]"} << false
            << QStringList{"$B$3", "$B$5", "$B$3"};
        QTest::newRow("rich text and a formula's result, any case")
            << QStringList{"[jobno]", "[jobno]", "[jobno]", "[jobno]"} << false
            << QStringList{"$B$2", "$A$6", "$C$7", "$B$2"};
        QTest::newRow("from the active cell on, wrapping to before it")
            << QStringList{"[DATE]", "[DATE]", "date"} << false
            << QStringList{"$B$3", "$B$5", "$A$3"};
        QTest::newRow("the active cell itself last")
            << QStringList{"INVOICE", "INVOICE"} << false << QStringList{"$A$1", "$A$1"};
        QTest::newRow("match case")
            << QStringList{"[jobno]", "[JOBNO]"} << true << QStringList{"", "$B$2"};
        QTest::newRow("a number and a date as shown") << QStringList{"12.5", "31/12/2009", "Notes"}
                                                      << false << QStringList{"$A$7", "$D$3", ""};
    }
    void find() {
        QFETCH(QStringList, whats);
        QFETCH(bool, matchCase);
        QFETCH(QStringList, found);
        Workbook book = invoice();
        for (qsizetype i = 0; i < whats.size(); ++i) {
            const QString before = book.activeCellAddress();
            const std::optional<QString> address = book.find(whats[i], matchCase);
            QCOMPARE(address.value_or(QString()), found[i]);
            QCOMPARE(book.activeCellAddress(), found[i].isEmpty() ? before : found[i]);
        }
    }

    // Cells and rows made where they belong, the sheet's dimension grown, all kept on saving.
    void setCellText() {
        Workbook book = invoice();
        const QStringList written = {"A11=Line 1",       "A12=Line 2",    "$A$13=Line 3",
                                     "B8=Between",       "D4=After B4",   "B2=1042",
                                     "E1=  two\nlines ", "B7=No formula", "C2=Hello [X], [x]"};
        for (const QString& cell : written) {
            book.setCellText(cell.section(u'=', 0, 0), cell.section(u'=', 1));
        }
        QVERIFY(!book.error());
        checkCells(book, written);
        Workbook again = reopened(book);
        checkCells(again, written);
        checkCells(again, {"B3=[DATE]", "A10=Qty", "Z1="});

        pugi::xml_document xml;
        parsed(part(book.saveData(), ActiveSheet), xml);
        QCOMPARE(std::string(xml.select_node("//dimension").node().attribute("ref").value()),
                 std::string("A1:E13"));
        int lastRow = 0;
        for (const pugi::xpath_node& row : xml.select_nodes("//sheetData/row")) {
            QVERIFY(row.node().attribute("r").as_int() > lastRow);
            lastRow = row.node().attribute("r").as_int();
            QString lastCell;
            for (const pugi::xpath_node& c : row.node().select_nodes("c")) {
                const QString ref = QString::fromUtf8(c.node().attribute("r").value());
                QVERIFY2(lastCell.isEmpty() || lastCell < ref, qPrintable(ref));
                lastCell = ref;
            }
        }
        QCOMPARE(lastRow, 13);
        // Written as inline strings; the formula is gone.
        const pugi::xml_node b2 = xml.select_node("//c[@r='B2']").node();
        QCOMPARE(std::string(b2.attribute("t").value()), std::string("inlineStr"));
        QVERIFY(!xml.select_node("//c[@r='B7']/f"));
        // A bad address changes nothing.
        book.setCellText(QStringLiteral("B0"), QStringLiteral("x"));
        QCOMPARE(book.error().number, 1004);
        // The text written is found and replaced like any other.
        QVERIFY(again.replaceAll(QStringLiteral("[x]"), QStringLiteral("you")));
        QCOMPARE(again.cellText(QStringLiteral("C2")), QStringLiteral("Hello you, you"));
        QCOMPARE(again.find(QStringLiteral("you"), true), std::optional<QString>("$C$2"));
    }

    void setCellDate_data() {
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<int>("formatsAdded");
        QTest::newRow("plain cell: a date format added") << QStringList{"D5"} << 1;
        QTest::newRow("already shown as a date: kept") << QStringList{"D3"} << 0;
        QTest::newRow("the added format used again") << QStringList{"D5", "$D$6", "A2"} << 1;
        QTest::newRow("a heading's format, as a date") << QStringList{"A10"} << 1;
    }
    void setCellDate() {
        QFETCH(QStringList, addresses);
        QFETCH(int, formatsAdded);
        Workbook book = invoice();
        for (const QString& address : addresses) {
            book.setCellDate(address, QDate(2010, 2, 1));
        }
        Workbook again = reopened(book);
        pugi::xml_document sheet;
        pugi::xml_document styles;
        pugi::xml_document original;
        const QByteArray saved = book.saveData();
        parsed(part(saved, ActiveSheet), sheet);
        parsed(part(saved, Styles), styles);
        parsed(part(invoiceBytes(), Styles), original);
        const int before = original.select_node("//cellXfs").node().attribute("count").as_int();
        const pugi::xml_node formats = styles.select_node("//cellXfs").node();
        QCOMPARE(formats.attribute("count").as_int(), before + formatsAdded);
        QCOMPARE(int(formats.select_nodes("xf").size()), before + formatsAdded);
        for (const QString& address : addresses) {
            QCOMPARE(again.cellText(address), QStringLiteral("01/02/2010"));
            const QString r = QString(address).remove(u'$');
            const pugi::xml_node c =
                sheet.select_node(("//c[@r='" + r.toStdString() + "']").c_str()).node();
            QCOMPARE(std::string(c.child_value("v")), std::string("40210"));
            QVERIFY(!c.attribute("t"));
            const int xf = c.attribute("s").as_int();
            const pugi::xml_node format = formats.select_nodes("xf")[size_t(xf)].node();
            if (r == QLatin1String("D3")) {
                QCOMPARE(xf, 2);  // LibreOffice's own date format
            } else {
                QCOMPARE(format.attribute("numFmtId").as_int(), 14);
            }
        }
        // A heading keeps its font and fill as a date.
        if (addresses.contains(QStringLiteral("A10"))) {
            const pugi::xml_node format = formats.select_nodes("xf")[size_t(before)].node();
            QCOMPARE(std::string(format.attribute("fillId").value()), std::string("2"));
        }
    }

    // Replaced in the active sheet's text cells only; a shared string changes for the cell, not
    // for the others that share it.
    void replaceAll_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("shared string in two cells")
            << "[date]"
            << "01/02/2010" << true << QStringList{"B3=01/02/2010", "B5=01/02/2010", "A3=Date:"};
        QTest::newRow("part of a cell")
            << "[CUSTNAME]"
            << "Mrs O'Brien & Son" << true << QStringList{"B4=Dear Mrs O'Brien & Son, thank you"};
        QTest::newRow("rich text; not a formula's result")
            << "[JobNo]"
            << "1042" << true << QStringList{"B2=1042", "A6=Ref 1042", "C7=Job [JOBNO]"};
        QTest::newRow("nothing to replace") << "[NOTHING]"
                                            << "x" << false << QStringList{"B3=[DATE]"};
    }
    void replaceAll() {
        QFETCH(QString, what);
        QFETCH(QString, replacement);
        QFETCH(bool, changed);
        QFETCH(QStringList, cells);
        Workbook book = invoice();
        QCOMPARE(book.replaceAll(what, replacement), changed);
        checkCells(book, cells);
        Workbook again = reopened(book);
        checkCells(again, cells);
        const QByteArray saved = book.saveData();
        const QByteArray original = invoiceBytes();
        QCOMPARE(part(saved, OtherSheet), part(original, OtherSheet));
        QCOMPARE(part(saved, SharedStrings), part(original, SharedStrings));
        QCOMPARE(part(saved, ActiveSheet) == part(original, ActiveSheet), !changed);
        // Formulas are worked out again on opening once cells have changed.
        QCOMPARE(part(saved, QStringLiteral("xl/workbook.xml")).contains("fullCalcOnLoad=\"1\""),
                 changed);
    }

    void saveAndSaveAgain() {
        QTemporaryDir dir;
        Workbook book = invoice();
        QVERIFY(!book.save());  // a template has no name of its own yet
        QCOMPARE(book.error().number, 75);
        const QString path = dir.filePath(QStringLiteral("1042.XLSX"));
        book.setCellText(QStringLiteral("B2"), QStringLiteral("1042"));
        QVERIFY(book.saveAs(path));
        QVERIFY(!book.error());
        QVERIFY(part(read(path), QStringLiteral("[Content_Types].xml"))
                    .contains("spreadsheetml.sheet.main+xml"));
        QVERIFY(!part(read(path), QStringLiteral("[Content_Types].xml")).contains("template"));
        book.setCellText(QStringLiteral("B3"), QStringLiteral("later"));
        QVERIFY(book.save());

        Workbook opened;
        QVERIFY(opened.open(path));
        QCOMPARE(opened.cellText(QStringLiteral("B2")), QStringLiteral("1042"));
        QCOMPARE(opened.cellText(QStringLiteral("B3")), QStringLiteral("later"));
        // A workbook opened from a file saves back to it.
        opened.setCellText(QStringLiteral("B4"), QStringLiteral("again"));
        QVERIFY(opened.save());
        Workbook last;
        QVERIFY(last.open(path));
        QCOMPARE(last.cellText(QStringLiteral("B4")), QStringLiteral("again"));
    }
};

QTEST_GUILESS_MAIN(TestWorkbook)
#include "tst_workbook.moc"
