// libFuzzer target for the office document component: whatever bytes come in are opened as a
// Word document and as a workbook, and when they open, every operation the merge uses is run on
// them and the result is saved and opened again.
//
// Bytes that are not a zip package are also wrapped, as the main part, in a small package of
// their own, so that the XML handling is reached by more than the few mutations of a zip that
// still unpack.

#include "documents/WordDocument.h"
#include "documents/Workbook.h"

#include <zip.h>
#include <QByteArray>
#include <QDate>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

QByteArray makePackage(const std::initializer_list<std::pair<const char*, QByteArray>>& parts) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (!archive) {
        if (source) {
            zip_source_free(source);
        }
        return {};
    }
    zip_source_keep(source);
    for (const auto& [name, bytes] : parts) {
        zip_source_t* data =
            zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        if (!data || zip_file_add(archive, name, data, 0) < 0) {
            zip_source_free(data);
        }
    }
    QByteArray out;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_close(archive) == 0 && zip_source_open(source) == 0) {
        if (zip_source_stat(source, &st) == 0) {
            out.resize(qsizetype(st.size));
            if (zip_source_read(source, out.data(), st.size) != zip_int64_t(st.size)) {
                out.clear();
            }
        }
        zip_source_close(source);
    } else {
        zip_discard(archive);
    }
    zip_source_free(source);
    return out;
}

const QByteArray WordTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types xmlns=\"http://schemas.openxmlformats.org/"
    "package/2006/content-types\"><Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package."
    "relationships+xml\"/><Override PartName=\"/word/document.xml\" ContentType=\"application/"
    "vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml\"/><Override "
    "PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument."
    "spreadsheetml.template.main+xml\"/></Types>";
const QByteArray WordRels =
    "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
    "2006/relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/"
    "officeDocument/2006/relationships/officeDocument\" Target=\"word/document.xml\"/>"
    "</Relationships>";
const QByteArray DocumentRels =
    "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
    "2006/relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/"
    "officeDocument/2006/relationships/header\" Target=\"document.xml\"/></Relationships>";
const QByteArray ExcelRels =
    "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
    "2006/relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/"
    "officeDocument/2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/>"
    "</Relationships>";
const QByteArray WorkbookPart =
    "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/"
    "2006/main\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
const QByteArray WorkbookRels =
    "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
    "2006/relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/"
    "officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
    "relationships/sharedStrings\" Target=\"worksheets/sheet1.xml\"/></Relationships>";

void exerciseWord(const QByteArray& bytes, bool again) {
    WordDocument doc;
    if (!doc.openData(bytes)) {
        return;
    }
    for (int story = 0; story < doc.storyCount(); ++story) {
        doc.contains(story, QStringLiteral("[JOBNO]"));
        doc.replaceAll(story, QStringLiteral("[JOBNO]"), QStringLiteral("1042"));
        doc.replaceAll(story, QStringLiteral("e"), QStringLiteral("a\nb"));
        doc.replaceAll(story, QStringLiteral("[address]"), QStringLiteral("1 Road\r\nTown\n"));
        doc.lineFeedsToParagraphs(story);
        doc.storyText(story);
    }
    if (doc.selectBookmark(QStringLiteral("starttable"))) {
        doc.insertRowsBelow(2);
        for (int i = 0; i < 4; ++i) {
            doc.moveRightCell();
            doc.typeText(QStringLiteral("x\ny"));
        }
    }
    const QByteArray saved = doc.saveData();
    if (again && !saved.isEmpty()) {
        WordDocument reopened;
        if (!reopened.openData(saved)) {
            std::abort();  // what was saved must open again
        }
        for (int story = 0; story < reopened.storyCount(); ++story) {
            reopened.storyText(story);
        }
    }
}

void exerciseExcel(const QByteArray& bytes, bool again) {
    Workbook book;
    if (!book.openData(bytes)) {
        return;
    }
    if (std::optional<QString> at = book.find(QStringLiteral("[DATE]"), false)) {
        book.setCellDate(*at, QDate(2010, 2, 1));
        book.cellText(*at);
    }
    book.find(QStringLiteral("e"), true);
    book.replaceAll(QStringLiteral("[JOBNO]"), QStringLiteral("1042"));
    book.replaceAll(QStringLiteral("a"), QStringLiteral(" b "));
    book.setCellText(QStringLiteral("B3"), QStringLiteral("text"));
    book.setCellText(QStringLiteral("$XFD$1048576"), QStringLiteral("corner"));
    book.setCellDate(QStringLiteral("A2"), QDate(1900, 1, 1));
    book.cellText(QStringLiteral("A1"));
    const QByteArray saved = book.saveData();
    if (again && !saved.isEmpty()) {
        Workbook reopened;
        if (!reopened.openData(saved)) {
            std::abort();
        }
        reopened.cellText(QStringLiteral("B3"));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    exerciseWord(bytes, true);
    exerciseExcel(bytes, true);
    if (size < 4 || std::memcmp(data, "PK\x03\x04", 4) != 0) {
        // The bytes as the main part: the document (whose relationships name it once more, as
        // a header), the worksheet (which is its own shared strings too).
        exerciseWord(makePackage({{"[Content_Types].xml", WordTypes},
                                  {"_rels/.rels", WordRels},
                                  {"word/_rels/document.xml.rels", DocumentRels},
                                  {"word/document.xml", bytes}}),
                     true);
        exerciseExcel(makePackage({{"[Content_Types].xml", WordTypes},
                                   {"_rels/.rels", ExcelRels},
                                   {"xl/workbook.xml", WorkbookPart},
                                   {"xl/_rels/workbook.xml.rels", WorkbookRels},
                                   {"xl/worksheets/sheet1.xml", bytes}}),
                      true);
    }
    return 0;
}
