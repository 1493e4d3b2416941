#include "OfficeTestFiles.h"
#include "documents/WordDocument.h"

#include <QTemporaryDir>
#include <QTest>
#include <pugixml.hpp>
#include <sstream>

using namespace testfiles;
using Type = WordDocument::StoryType;

Q_DECLARE_METATYPE(WordDocument::StoryType)

namespace {

// The parts of jobsheet.dotx, as LibreOffice wrote them.
enum Story { Main, Header, FirstHeader, Footer, FirstFooter, Footnotes, Endnotes, TextBoxes };

// The main text of jobsheet.dotx.
const QString JobSheetText = QStringLiteral(
    "Job sheet [JOBNO]\nDate: [DATE]\tRef: [CUST\tNAME]\n[ADDRESS]\n"
    "Dear [CONTACT], these are the details of job [jobno].\n"
    "Work to be done: [WORK]\nQty\nDescription\nPrice\nTotal\n\n[TOTAL]\nEngineer: [ENGINEER]");

const QByteArray AddressRun = "<w:r><w:rPr></w:rPr><w:t>[ADDRESS]</w:t></w:r>";

// jobsheet.dotx with the runs of the address paragraph replaced.
QByteArray withAddressRuns(const QByteArray& runs) {
    const QByteArray zip = read(fixture(QStringLiteral("jobsheet.dotx")));
    const QString main = QStringLiteral("word/document.xml");
    return withParts(zip, {{main, edited(part(zip, main), AddressRun, runs)}});
}

WordDocument opened(const QByteArray& zip) {
    WordDocument doc;
    if (!doc.openData(zip)) {
        qFatal("cannot open: %s", qPrintable(doc.error().description));
    }
    return doc;
}

WordDocument jobSheet() {
    return opened(read(fixture(QStringLiteral("jobsheet.dotx"))));
}

// The main part as saved, parsed.
void savedMain(WordDocument& doc, pugi::xml_document& xml) {
    const QByteArray bytes = part(doc.saveData(), QStringLiteral("word/document.xml"));
    QVERIFY(xml.load_buffer(bytes.constData(), size_t(bytes.size())));
}

// The run properties of the run whose text is `text`, as XML ("" for none; "missing" when no
// run holds that text).
std::string formatOfRun(const pugi::xml_document& xml, const char* text) {
    for (pugi::xpath_node t : xml.select_nodes("//w:t")) {
        if (std::string(t.node().text().get()) == text) {
            std::ostringstream out;
            t.node().parent().child("w:rPr").print(out, "", pugi::format_raw);
            return out.str();
        }
    }
    return "missing";
}

}  // namespace

class TestWordDocument : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The document's parts in order, each of its type; each replaces its own tokens and no other
    // part's.
    void replaceInOnePart_data() {
        QTest::addColumn<int>("story");
        QTest::addColumn<Type>("type");
        QTest::addColumn<QString>("find");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("text");  // the part's, afterwards
        QTest::newRow("header") << int(Header) << Type::Header << "[JOBNO]" << true
                                << QStringLiteral("Job sheet 1042 for [CUSTNAME]");
        QTest::newRow("first-page header") << int(FirstHeader) << Type::Header << "[COMPANY]"
                                           << true << QStringLiteral("First page: 1042");
        QTest::newRow("footer, lower case") << int(Footer) << Type::Footer << "[company]" << true
                                            << "1042, registered in England, job [JOBNO]";
        QTest::newRow("first-page footer, empty")
            << int(FirstFooter) << Type::Footer << "[JOBNO]" << false << QString();
        QTest::newRow("footnote, without separators") << int(Footnotes) << Type::Footnotes
                                                      << "[JOBNO]" << true
                                                      << QStringLiteral("Footnote for job 1042.");
        QTest::newRow("endnote") << int(Endnotes) << Type::Endnotes << "[custname]" << true
                                 << QStringLiteral("Endnote for 1042.");
        QTest::newRow("text box, once") << int(TextBoxes) << Type::TextFrame << "[JOBNO]" << true
                                        << QStringLiteral("Site: [SITE]\nJob 1042");
        QTest::newRow("main text: token in three runs, and in lower case")
            << int(Main) << Type::MainText << "[JobNo]" << true
            << QString(JobSheetText).replace("[JOBNO]", "1042").replace("[jobno]", "1042");
        QTest::newRow("not across a tab")
            << int(Main) << Type::MainText << "[CUSTNAME]" << false << JobSheetText;
        QTest::newRow("not across a tab, even with one")
            << int(Main) << Type::MainText << "[CUST\tNAME]" << false << JobSheetText;
        QTest::newRow("text box is not the paragraph's text")
            << int(Main) << Type::MainText << "[SITE]" << false << JobSheetText;
    }
    void replaceInOnePart() {
        QFETCH(int, story);
        QFETCH(Type, type);
        QFETCH(QString, find);
        QFETCH(bool, found);
        QFETCH(QString, text);
        WordDocument doc = jobSheet();
        QCOMPARE(doc.storyCount(), 8);
        QCOMPARE(doc.storyType(story), type);
        QStringList before;
        for (int s = 0; s < doc.storyCount(); ++s) {
            before.append(doc.storyText(s));
        }
        QCOMPARE(doc.contains(story, find), found);
        QCOMPARE(doc.replaceAll(story, find, QStringLiteral("1042")), found);
        QVERIFY(!doc.contains(story, find));
        for (int s = 0; s < doc.storyCount(); ++s) {
            QCOMPARE(doc.storyText(s), s == story ? text : before[s]);
        }
    }

    // The replacement lands in the run where the match starts, with that run's formatting; the
    // rest of the match leaves the runs after it, whatever stands between them.
    void replaceAcrossRuns_data() {
        QTest::addColumn<QByteArray>("runs");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("text");     // the paragraph's, afterwards
        QTest::addColumn<QString>("runText");  // the run that took the replacement
        QTest::addColumn<QString>("format");   // and its formatting
        QTest::newRow("spelling marks, bookmark, revision ids")
            << QByteArray(
                   "<w:proofErr w:type=\"spellStart\"/><w:r w:rsidR=\"00A1\"><w:rPr><w:u "
                   "w:val=\"single\"/></w:rPr><w:t>To [ADD</w:t></w:r><w:bookmarkStart "
                   "w:id=\"9\" w:name=\"addr\"/><w:r w:rsidR=\"00B2\"><w:rPr><w:b/></w:rPr>"
                   "<w:t>RE</w:t></w:r><w:proofErr w:type=\"spellEnd\"/><w:bookmarkEnd "
                   "w:id=\"9\"/><w:r><w:t xml:space=\"preserve\">SS] now</w:t></w:r>")
            << "[address]"
            << "14 Larkspur Close"
            << "To 14 Larkspur Close now"
            << "To 14 Larkspur Close"
            << "<w:rPr><w:u w:val=\"single\"/></w:rPr>";
        QTest::newRow("inserted revision, deleted text left out")
            << QByteArray(
                   "<w:ins w:id=\"1\" w:author=\"a\"><w:r><w:rPr><w:i/></w:rPr><w:t>[ADD"
                   "</w:t></w:r></w:ins><w:del w:id=\"2\" w:author=\"a\"><w:r><w:delText>"
                   "XX</w:delText></w:r></w:del><w:r><w:t>RESS]</w:t></w:r>")
            << "[ADDRESS]"
            << "14 Larkspur Close"
            << "14 Larkspur Close"
            << "14 Larkspur Close"
            << "<w:rPr><w:i/></w:rPr>";
        QTest::newRow("hyperlink, smart tag, content control, field")
            << QByteArray(
                   "<w:hyperlink w:anchor=\"x\"><w:r><w:rPr><w:color w:val=\"0000FF\"/>"
                   "</w:rPr><w:t>[A</w:t></w:r></w:hyperlink><w:smartTag w:uri=\"u\" "
                   "w:element=\"e\"><w:r><w:t>DD</w:t></w:r></w:smartTag><w:sdt><w:sdtPr/>"
                   "<w:sdtContent><w:r><w:t>RE</w:t></w:r></w:sdtContent></w:sdt>"
                   "<w:fldSimple w:instr=\" REF x \"><w:r><w:t>SS]</w:t></w:r></w:fldSimple>")
            << "[ADDRESS]"
            << "Leeds"
            << "Leeds"
            << "Leeds"
            << "<w:rPr><w:color w:val=\"0000FF\"/></w:rPr>";
        QTest::newRow("two matches in one run, empty replacement")
            << QByteArray("<w:r><w:t>[ADDRESS] and [ADDRESS]</w:t></w:r>") << "[ADDRESS]"
            << QString() << " and "
            << " and " << QString();
    }
    void replaceAcrossRuns() {
        QFETCH(QByteArray, runs);
        QFETCH(QString, find);
        QFETCH(QString, value);
        QFETCH(QString, text);
        QFETCH(QString, runText);
        QFETCH(QString, format);
        WordDocument doc = opened(withAddressRuns(runs));
        QVERIFY(doc.replaceAll(Main, find, value));
        QCOMPARE(doc.storyText(Main).split(u'\n').value(2), text);
        pugi::xml_document xml;
        savedMain(doc, xml);
        QCOMPARE(QString::fromStdString(formatOfRun(xml, runText.toUtf8().constData())), format);
        // What stood between the runs stays.
        for (const char* kept : {"proofErr", "bookmarkStart", "delText", "hyperlink", "sdt"}) {
            if (runs.contains(kept)) {
                QVERIFY2(!xml.select_nodes((std::string("//w:") + kept).c_str()).empty(), kept);
            }
        }
    }

    void lineFeedsToParagraphs_data() {
        QTest::addColumn<int>("story");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("address of three lines")
            << int(Main) << "[ADDRESS]"
            << "14 Larkspur Close\nHeadingley\nLeeds LS6 2QT"
            << QStringList{"14 Larkspur Close", "Headingley", "Leeds LS6 2QT"};
        QTest::newRow("carriage returns, empty line, line feed at the end")
            << int(Main) << "[ADDRESS]"
            << "2 The Quay\r\n\r\nLeeds\n"
            << QStringList{"2 The Quay", "", "Leeds", ""};
        QTest::newRow("in a text box, both copies")
            << int(TextBoxes) << "[SITE]"
            << "Unit 4\nLeeds" << QStringList{"Site: Unit 4", "Leeds"};
    }
    void lineFeedsToParagraphs() {
        QFETCH(int, story);
        QFETCH(QString, find);
        QFETCH(QString, value);
        QFETCH(QStringList, lines);
        // The address run is bold here, to see the formatting go to every line.
        WordDocument doc = opened(withAddressRuns(
            "<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">[ADDRESS]</w:t></w:r>"));
        QVERIFY(doc.replaceAll(story, find, value));
        doc.lineFeedsToParagraphs(story);
        pugi::xml_document xml;
        savedMain(doc, xml);
        if (story == Main) {
            QCOMPARE(doc.storyText(Main).split(u'\n').mid(2, lines.size()), lines);
            const auto paragraphs = xml.select_nodes("//w:p[w:pPr/w:pStyle/@w:val='Address']");
            QCOMPARE(int(paragraphs.size()), int(lines.size()));
            std::ostringstream first;
            paragraphs.first().node().child("w:pPr").print(first, "", pugi::format_raw);
            for (const pugi::xpath_node& p : paragraphs) {
                std::ostringstream properties;
                p.node().child("w:pPr").print(properties, "", pugi::format_raw);
                QCOMPARE(properties.str(), first.str());
                for (const pugi::xpath_node& r : p.node().select_nodes("w:r")) {
                    QVERIFY(r.node().child("w:rPr").child("w:b"));
                }
            }
        } else {
            QCOMPARE(doc.storyText(story).split(u'\n').mid(0, lines.size()), lines);
            // The drawing and the older shape beside it both have the new paragraphs.
            for (const pugi::xpath_node& box : xml.select_nodes("//w:txbxContent")) {
                QCOMPARE(int(box.node().select_nodes("w:p").size()), int(lines.size()) + 1);
            }
        }
    }

    void fillTableAndBookmarkErrors() {
        WordDocument doc = jobSheet();
        QVERIFY(doc.selectBookmark(QStringLiteral("StartTable")));
        QVERIFY(doc.insertRowsBelow(3));
        const QStringList cells = {"1",    "Valve", "12.50",  "2",    "Washer",
                                   "0.40", "1",     "Labour", "45.00"};
        for (const QString& text : cells) {
            QVERIFY(doc.moveRightCell());
            doc.typeText(text);
        }
        QVERIFY(doc.moveRightCell());  // the total row
        QVERIFY(doc.moveRightCell());
        QVERIFY(doc.moveRightCell());
        QVERIFY(!doc.moveRightCell());
        doc.typeText(QStringLiteral(" due"));
        QCOMPARE(doc.storyText(Main).section(u'\n', 5, 20),
                 QStringLiteral("Qty\nDescription\nPrice\n1\nValve\n12.50\n2\nWasher\n0.40\n1\n"
                                "Labour\n45.00\nTotal\n\n[TOTAL] due\nEngineer: [ENGINEER]"));

        pugi::xml_document xml;
        savedMain(doc, xml);
        const auto rows = xml.select_nodes("//w:tbl/w:tr");
        QCOMPARE(int(rows.size()), 5);
        for (int r = 1; r <= 3; ++r) {
            const pugi::xml_node row = rows[size_t(r)].node();
            for (const pugi::xpath_node& cell : row.select_nodes("w:tc")) {
                // Cell properties without the heading's shading, the paragraph's style kept,
                // no bookmark copied.
                QVERIFY(cell.node().child("w:tcPr").child("w:tcBorders"));
                QVERIFY(!cell.node().child("w:tcPr").child("w:shd"));
                QCOMPARE(std::string(cell.node()
                                         .child("w:p")
                                         .child("w:pPr")
                                         .child("w:pStyle")
                                         .attribute("w:val")
                                         .value()),
                         std::string("TableHeading"));
            }
            QVERIFY(row.select_nodes(".//w:bookmarkStart").empty());
        }
        QCOMPARE(int(xml.select_nodes("//w:bookmarkStart[@w:name='starttable']").size()), 1);

        // A bookmark missing or not in a table is an error, and leaves nothing selected.
        for (const QString& name : {QStringLiteral("nosuch"), QStringLiteral("signature")}) {
            QVERIFY(doc.selectBookmark(QStringLiteral("starttable")));
            QVERIFY(!doc.selectBookmark(name));
            QCOMPARE(doc.error().number, 5941);
            QVERIFY2(doc.error().description.contains(name), qPrintable(name));
            QVERIFY(!doc.insertRowsBelow(1));
            QVERIFY(!doc.moveRightCell());
            QCOMPARE(doc.error().number, 5941);
        }
    }

    // Saved whole as a document, whatever the name; the parts not touched are the template's own.
    void saveAndReopen_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QByteArray>("savedType");
        const QByteArray word = "application/vnd.openxmlformats-officedocument.wordprocessingml.";
        QTest::newRow("template") << "jobsheet.dotx" << word + "template.main+xml"
                                  << word + "document.main+xml";
        QTest::newRow("document") << "jobsheet.docx" << word + "document.main+xml"
                                  << word + "document.main+xml";
        QTest::newRow("macro-enabled template")
            << "jobsheet.dotx"
            << QByteArray("application/vnd.ms-word.template.macroEnabledTemplate.main+xml")
            << QByteArray("application/vnd.ms-word.document.macroEnabled.main+xml");
    }
    void saveAndReopen() {
        QFETCH(QString, source);
        QFETCH(QByteArray, type);
        QFETCH(QByteArray, savedType);
        QByteArray zip = read(fixture(source));
        const QString types = QStringLiteral("[Content_Types].xml");
        const QByteArray ownType =
            "application/vnd.openxmlformats-officedocument.wordprocessingml." +
            QByteArray(source.endsWith("dotx") ? "template" : "document") + ".main+xml";
        if (ownType != type) {
            zip = withParts(zip, {{types, edited(part(zip, types), ownType, type)}});
        }
        WordDocument doc = opened(zip);
        QVERIFY(doc.replaceAll(Main, QStringLiteral("[JOBNO]"), QStringLiteral("1042 & <2>")));
        QVERIFY(
            doc.replaceAll(Header, QStringLiteral("[CUSTNAME]"), QStringLiteral("  Mrs O'Brien ")));
        const QString mainText = doc.storyText(Main);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("507.doc"));
        QVERIFY(doc.saveAs(path));
        QVERIFY(!doc.error());
        const QByteArray saved = read(path);
        QVERIFY(part(saved, types).contains(QByteArray("ContentType=\"" + savedType + "\"")));
        QVERIFY(!part(saved, types).contains(type) || type == savedType);
        QCOMPARE(part(saved, QStringLiteral("word/styles.xml")),
                 part(zip, QStringLiteral("word/styles.xml")));
        QCOMPARE(partNames(saved), partNames(zip));

        WordDocument again;
        QVERIFY(again.open(path));
        QCOMPARE(again.storyText(Main), mainText);
        QVERIFY(mainText.startsWith(QStringLiteral("Job sheet 1042 & <2>\n")));
        QCOMPARE(again.storyText(Header), QStringLiteral("Job sheet [JOBNO] for   Mrs O'Brien "));
    }
};

QTEST_GUILESS_MAIN(TestWordDocument)
#include "tst_worddocument.moc"
