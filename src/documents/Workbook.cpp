#include "documents/Workbook.h"

#include "documents/OfficePackage.h"
#include "documents/Xml.h"

#include <cmath>
#include <cstring>
#include <vector>

using namespace office;
using namespace office_errors;
using pugi::xml_node;

namespace {

const char* const SpreadsheetMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const SpreadsheetStrict = "http://purl.oclc.org/ooxml/spreadsheetml/main";
const char* const RelationshipsNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* const RelationshipsStrict = "http://purl.oclc.org/ooxml/officeDocument/relationships";
const char* const PackageRelationships =
    "http://schemas.openxmlformats.org/package/2006/relationships";

const QString Kind = QStringLiteral("Excel workbook");

const QString TemplateType =
    QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml");
const QString SheetType =
    QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml");
const QString MacroTemplateType =
    QStringLiteral("application/vnd.ms-excel.template.macroEnabled.main+xml");
const QString MacroSheetType =
    QStringLiteral("application/vnd.ms-excel.sheet.macroEnabled.main+xml");
const QString StylesType =
    QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml");
const char* const StylesRelationship =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";

constexpr int MaxRow = 1048576;
constexpr int MaxColumn = 16384;
constexpr int MaxCellText = 32767;  // what a cell can hold

// Built-in number formats that show dates or times.
bool isBuiltInDateFormat(int id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

// Whether a format code shows a date or time: a d, m, y, h or s outside quoted text, escaped
// characters and bracketed sections (colours, conditions).
bool isDateFormatCode(const QString& code) {
    bool quoted = false;
    bool bracket = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (quoted) {
            quoted = c != u'"';
        } else if (bracket) {
            bracket = c != u']';
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u'[') {
            bracket = true;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else {
            const char16_t lower = c.toLower().unicode();
            if (lower == u'd' || lower == u'm' || lower == u'y' || lower == u'h' || lower == u's') {
                return true;
            }
        }
    }
    return false;
}

struct CellRef {
    int row = 0;
    int column = 0;
    bool operator<(const CellRef& o) const {
        return row != o.row ? row < o.row : column < o.column;
    }
    bool operator==(const CellRef& o) const { return row == o.row && column == o.column; }
};

// "B5", "$B$5" (with `dollars`), any case; false for anything else or past the sheet's edges.
bool parseRef(QStringView text, bool dollars, CellRef& ref) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (dollars && i < n && text[i] == u'$') {
        ++i;
    }
    int column = 0;
    const qsizetype lettersFrom = i;
    while (i < n && i - lettersFrom < 3 && text[i].isLetter() && text[i].unicode() < 128) {
        column = column * 26 + (text[i].toUpper().unicode() - u'A' + 1);
        ++i;
    }
    if (i == lettersFrom) {
        return false;
    }
    if (dollars && i < n && text[i] == u'$') {
        ++i;
    }
    int row = 0;
    const qsizetype digitsFrom = i;
    while (i < n && i - digitsFrom < 7 && text[i] >= u'0' && text[i] <= u'9') {
        row = row * 10 + (text[i].unicode() - u'0');
        ++i;
    }
    if (i == digitsFrom || i != n || row < 1 || row > MaxRow || column > MaxColumn) {
        return false;
    }
    ref = {row, column};
    return true;
}

QString columnName(int column) {
    QString name;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        name.prepend(QChar(u'A' + digit));
        column = (column - 1) / 26;
    }
    return name;
}

QString relativeAddress(CellRef ref) {
    return columnName(ref.column) + QString::number(ref.row);
}

QString absoluteAddress(CellRef ref) {
    return u'$' + columnName(ref.column) + u'$' + QString::number(ref.row);
}

// Element names in one part's spreadsheet namespace.
struct Names {
    std::string prefix;
    std::string row, c, v, f, is, t, r, extLst;
    explicit Names(xml_node root)
        : prefix(xml::prefixFor(root, {SpreadsheetMain, SpreadsheetStrict}, "")) {
        row = (*this)("row");
        c = (*this)("c");
        v = (*this)("v");
        f = (*this)("f");
        is = (*this)("is");
        t = (*this)("t");
        r = (*this)("r");
        extLst = (*this)("extLst");
    }
    Names() = default;
    std::string operator()(const char* local) const { return xml::qualified(prefix, local); }
};

// The text of a shared string or inline string: its t, or the t of each of its runs; phonetic
// readings left out.
QString stringItemText(const Names& n, xml_node item) {
    QString text;
    for (xml_node c = item.first_child(); c; c = c.next_sibling()) {
        if (xml::is(c, n.t)) {
            text += xml::text(c);
        } else if (xml::is(c, n.r)) {
            for (xml_node t = c.first_child(); t; t = t.next_sibling()) {
                if (xml::is(t, n.t)) {
                    text += xml::text(t);
                }
            }
        }
    }
    return text;
}

bool removeChildren(xml_node parent, const std::string& name) {
    bool removed = false;
    for (xml_node c = parent.first_child(); c;) {
        xml_node following = c.next_sibling();
        if (xml::is(c, name)) {
            parent.remove_child(c);
            removed = true;
        }
        c = following;
    }
    return removed;
}

// Adds a child in its place: before the first child named in `before`, else at the end.
xml_node insertChild(xml_node parent, const std::string& name,
                     std::initializer_list<std::string> before) {
    for (xml_node c = parent.first_child(); c; c = c.next_sibling()) {
        for (const std::string& b : before) {
            if (xml::is(c, b)) {
                return parent.insert_child_before(name.c_str(), c);
            }
        }
    }
    return parent.append_child(name.c_str());
}

void setAttribute(xml_node node, const char* name, const char* value) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a) {
        a = node.append_attribute(name);
    }
    a.set_value(value);
}

// Rows in sheet data, and cells in a row, stand in ascending order of their number. Finds the
// child named `name` numbered `target`, or makes one where the order puts it (before `end` when
// it goes last); `created` says which. `numberOf(node, previous)` gives a child's number from
// its own attribute, or numbers it after the previous one when the attribute is missing.
template <class NumberOf>
xml_node findOrInsertOrdered(xml_node parent, const std::string& name, const std::string& end,
                             int target, NumberOf numberOf, bool& created) {
    int previous = 0;
    xml_node following;
    for (xml_node c = parent.first_child(); c; c = c.next_sibling()) {
        if (!xml::is(c, name)) {
            continue;
        }
        previous = numberOf(c, previous);
        if (previous == target) {
            created = false;
            return c;
        }
        if (previous > target) {
            following = c;
            break;
        }
    }
    created = true;
    return following ? parent.insert_child_before(name.c_str(), following)
                     : insertChild(parent, name, {end});
}

const char* const MinimalStyles =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
    "</cellStyleXfs>"
    "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "</cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

}  // namespace

struct Workbook::Impl {
    Package package;
    OfficeError error;
    QString workbookPart;
    pugi::xml_document workbook;
    bool date1904 = false;

    QString sheetPart;
    pugi::xml_document sheet;
    Names sn;
    bool sheetChanged = false;

    std::vector<QString> shared;

    QString stylesPart;
    pugi::xml_document styles;
    Names yn;
    bool stylesChanged = false;
    std::vector<bool> dateXfs;  // per cell format: shows a date

    pugi::xml_document rels;  // the workbook's relationships, once they need changing
    bool relsLoaded = false;
    bool relsChanged = false;
    QString calcChainPart;
    bool formulaRemoved = false;

    CellRef active{1, 1};
    QString openedPath;
    bool openedTemplate = false;
    QString savedPath;

    void fail(int number, const QString& description) { error = {number, description}; }
    bool notWorkbook(const QString& why) {
        QString text = QStringLiteral("%1 is not an Excel workbook or template: %2.")
                           .arg(package.displayName(), why);
        text[0] = text[0].toUpper();
        fail(InvalidFileFormat, text);
        return false;
    }
    bool load();
    void readDateFormats();
    QString display(xml_node c) const;
    QString dateText(double serial) const;
    QDate epoch() const { return date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30); }

    template <class Visit>
    void forEachCell(Visit visit) const;
    xml_node findCell(CellRef ref) const;
    xml_node makeCell(CellRef ref);
    void extendDimension(CellRef ref);
    // The cell an address names, for writing; false (the error set) when nothing can be
    // written there.
    bool cellToWrite(const QString& address, CellRef& ref);
    void writeText(xml_node c, const QString& text);
    void clearValue(xml_node c);
    bool ensureStyles();
    bool loadRels();
    int dateFormatFor(int xf);
    bool build(QByteArray& out);
};

bool Workbook::Impl::load() {
    workbookPart = package.mainPart();
    if (workbookPart.isEmpty() || !package.hasPart(workbookPart)) {
        return notWorkbook(QStringLiteral("it has no workbook part"));
    }
    const QString type = package.contentType(workbookPart);
    if (!type.isEmpty() && type != TemplateType && type != SheetType && type != MacroTemplateType &&
        type != MacroSheetType) {
        return notWorkbook(QStringLiteral("its main part is of the type %1").arg(type));
    }
    openedTemplate = type == TemplateType || type == MacroTemplateType;
    if (!package.loadXml(workbookPart, workbook, error)) {
        return false;
    }
    const xml_node root = workbook.document_element();
    if (std::strcmp(xml::localName(root), "workbook") != 0) {
        return notWorkbook(QStringLiteral("its main part holds no workbook"));
    }
    const Names wn(root);
    const std::string idAttr = xml::qualified(
        xml::prefixFor(root, {RelationshipsNamespace, RelationshipsStrict}, "r"), "id");
    const char* base1904 = xml::child(root, wn("workbookPr")).attribute("date1904").value();
    date1904 = std::strcmp(base1904, "1") == 0 || std::strcmp(base1904, "true") == 0;
    const int activeTab = xml::child(xml::child(root, wn("bookViews")), wn("workbookView"))
                              .attribute("activeTab")
                              .as_int(0);

    const QList<Relationship> rels = package.relationships(workbookPart, error);
    if (error) {
        return false;
    }
    auto worksheetOf = [&](xml_node sheetEntry) -> QString {
        const QString id = QString::fromUtf8(sheetEntry.attribute(idAttr.c_str()).value());
        for (const Relationship& rel : rels) {
            if (rel.id == id && isRelationshipType(rel.type, QLatin1String("worksheet")) &&
                !rel.target.isEmpty()) {
                return rel.target;
            }
        }
        return {};
    };
    std::vector<xml_node> entries;
    for (xml_node s = xml::child(root, wn("sheets")).first_child(); s; s = s.next_sibling()) {
        if (xml::is(s, wn("sheet"))) {
            entries.push_back(s);
        }
    }
    if (activeTab >= 0 && size_t(activeTab) < entries.size()) {
        sheetPart = worksheetOf(entries[size_t(activeTab)]);
    }
    for (size_t i = 0; i < entries.size() && sheetPart.isEmpty(); ++i) {
        sheetPart = worksheetOf(entries[i]);
    }
    if (sheetPart.isEmpty()) {
        return notWorkbook(QStringLiteral("it has no worksheet"));
    }
    if (!package.loadXml(sheetPart, sheet, error)) {
        return false;
    }
    if (std::strcmp(xml::localName(sheet.document_element()), "worksheet") != 0) {
        return notWorkbook(QStringLiteral("its part %1 holds no worksheet").arg(sheetPart));
    }
    sn = Names(sheet.document_element());

    for (const Relationship& rel : rels) {
        if (rel.target.isEmpty()) {
            continue;  // outside the package
        }
        if (!package.hasPart(rel.target)) {
            return notWorkbook(
                QStringLiteral("it names the part %1, which it does not hold").arg(rel.target));
        }
        if (isRelationshipType(rel.type, QLatin1String("sharedStrings")) && shared.empty()) {
            pugi::xml_document strings;
            if (!package.loadXml(rel.target, strings, error)) {
                return false;
            }
            const Names n(strings.document_element());
            const std::string si = n("si");
            for (xml_node item = strings.document_element().first_child(); item;
                 item = item.next_sibling()) {
                if (xml::is(item, si)) {
                    shared.push_back(stringItemText(n, item));
                }
            }
        } else if (isRelationshipType(rel.type, QLatin1String("styles")) && stylesPart.isEmpty()) {
            if (!package.loadXml(rel.target, styles, error)) {
                return false;
            }
            stylesPart = rel.target;
            yn = Names(styles.document_element());
        } else if (isRelationshipType(rel.type, QLatin1String("calcChain"))) {
            calcChainPart = rel.target;
        }
    }
    readDateFormats();
    return true;
}

void Workbook::Impl::readDateFormats() {
    dateXfs.clear();
    const xml_node root = styles.document_element();
    if (!root) {
        return;
    }
    std::vector<std::pair<int, QString>> codes;
    for (xml_node f = xml::child(root, yn("numFmts")).first_child(); f; f = f.next_sibling()) {
        if (xml::is(f, yn("numFmt"))) {
            codes.emplace_back(f.attribute("numFmtId").as_int(-1),
                               QString::fromUtf8(f.attribute("formatCode").value()));
        }
    }
    for (xml_node xf = xml::child(root, yn("cellXfs")).first_child(); xf; xf = xf.next_sibling()) {
        if (!xml::is(xf, yn("xf"))) {
            continue;
        }
        const int id = xf.attribute("numFmtId").as_int(0);
        bool date = isBuiltInDateFormat(id);
        for (const auto& [customId, code] : codes) {
            if (customId == id) {
                date = isDateFormatCode(code);
            }
        }
        dateXfs.push_back(date);
    }
}

QString Workbook::Impl::dateText(double serial) const {
    if (!std::isfinite(serial) || serial < 0 || serial > 3e6) {
        return QString::number(serial, 'g', 15);
    }
    const qint64 days = qint64(std::floor(serial));
    // Serial numbers below 61 count the 29th of February 1900 that never was.
    if (!date1904 && days < 61) {
        return QDate(1899, 12, 31).addDays(days).toString(QStringLiteral("dd/MM/yyyy"));
    }
    return epoch().addDays(days).toString(QStringLiteral("dd/MM/yyyy"));
}

QString Workbook::Impl::display(xml_node c) const {
    const char* type = c.attribute("t").value();
    const xml_node v = xml::child(c, sn.v);
    if (std::strcmp(type, "s") == 0) {
        const QString index = xml::text(v).trimmed();
        bool ok = false;
        const qulonglong i = index.toULongLong(&ok);
        return ok && i < shared.size() ? shared[size_t(i)] : QString();
    }
    if (std::strcmp(type, "inlineStr") == 0) {
        return stringItemText(sn, xml::child(c, sn.is));
    }
    if (std::strcmp(type, "str") == 0 || std::strcmp(type, "e") == 0) {
        return xml::text(v);
    }
    if (std::strcmp(type, "b") == 0) {
        return xml::text(v).trimmed() == QLatin1String("1") ? QStringLiteral("TRUE")
                                                            : QStringLiteral("FALSE");
    }
    const QString value = xml::text(v).trimmed();
    if (std::strcmp(type, "d") == 0) {
        const QDate date = QDate::fromString(value.left(10), Qt::ISODate);
        return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : value;
    }
    if (value.isEmpty()) {
        return {};
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok) {
        return value;
    }
    const int xf = c.attribute("s").as_int(0);
    if (xf >= 0 && size_t(xf) < dateXfs.size() && dateXfs[size_t(xf)]) {
        return dateText(number);
    }
    return QString::number(number, 'g', 15);
}

// Calls visit(cell, position) for each cell of the sheet in order, until it returns false. Rows
// and cells without a position take the one after the previous.
template <class Visit>
void Workbook::Impl::forEachCell(Visit visit) const {
    const xml_node data = xml::child(sheet.document_element(), sn("sheetData"));
    int rowNumber = 0;
    for (xml_node row = data.first_child(); row; row = row.next_sibling()) {
        if (!xml::is(row, sn.row)) {
            continue;
        }
        const int given = row.attribute("r").as_int(0);
        rowNumber = given > 0 ? given : rowNumber + 1;
        int column = 0;
        for (xml_node c = row.first_child(); c; c = c.next_sibling()) {
            if (!xml::is(c, sn.c)) {
                continue;
            }
            CellRef ref;
            column = parseRef(QString::fromUtf8(c.attribute("r").value()), false, ref) ? ref.column
                                                                                       : column + 1;
            if (!visit(c, CellRef{rowNumber, column})) {
                return;
            }
        }
    }
}

xml_node Workbook::Impl::findCell(CellRef wanted) const {
    xml_node found;
    forEachCell([&](xml_node c, CellRef ref) {
        if (ref == wanted) {
            found = c;
        }
        return !found && ref.row <= wanted.row;
    });
    return found;
}

// The cell at `ref`, made (with its row) where it belongs when missing. Rows and cells of the
// sheet without a position are given theirs on the way, so that the new one does not shift
// them.
xml_node Workbook::Impl::makeCell(CellRef ref) {
    xml_node root = sheet.document_element();
    xml_node data = xml::child(root, sn("sheetData"));
    if (!data) {
        data = insertChild(root, sn("sheetData"), {sn("sheetCalcPr"),
                                                   sn("sheetProtection"),
                                                   sn("protectedRanges"),
                                                   sn("scenarios"),
                                                   sn("autoFilter"),
                                                   sn("sortState"),
                                                   sn("dataConsolidate"),
                                                   sn("customSheetViews"),
                                                   sn("mergeCells"),
                                                   sn("phoneticPr"),
                                                   sn("conditionalFormatting"),
                                                   sn("dataValidations"),
                                                   sn("hyperlinks"),
                                                   sn("printOptions"),
                                                   sn("pageMargins"),
                                                   sn("pageSetup"),
                                                   sn("headerFooter"),
                                                   sn("drawing"),
                                                   sn("legacyDrawing"),
                                                   sn("tableParts"),
                                                   sn("extLst")});
    }
    bool created = false;
    xml_node row = findOrInsertOrdered(
        data, sn.row, sn.extLst, ref.row,
        [&](xml_node r, int previous) {
            int number = r.attribute("r").as_int(0);
            if (number <= 0) {
                number = previous + 1;
                setAttribute(r, "r", QByteArray::number(number).constData());
            }
            return number;
        },
        created);
    if (created) {
        row.append_attribute("r").set_value(ref.row);
    }
    xml_node cell = findOrInsertOrdered(
        row, sn.c, sn.extLst, ref.column,
        [&](xml_node c, int previous) {
            CellRef at;
            if (parseRef(QString::fromUtf8(c.attribute("r").value()), false, at)) {
                return at.column;
            }
            setAttribute(c, "r", relativeAddress({ref.row, previous + 1}).toUtf8().constData());
            return previous + 1;
        },
        created);
    if (created) {
        cell.append_attribute("r").set_value(relativeAddress(ref).toUtf8().constData());
        // The row's hint of the columns it uses must take the new one in.
        if (pugi::xml_attribute spans = row.attribute("spans")) {
            const QStringList bounds = QString::fromUtf8(spans.value()).split(u':');
            bool first = false;
            bool last = false;
            const int from = bounds.value(0).toInt(&first);
            const int to = bounds.value(1).toInt(&last);
            if (bounds.size() == 2 && first && last) {
                spans.set_value(QStringLiteral("%1:%2")
                                    .arg(std::min(from, ref.column))
                                    .arg(std::max(to, ref.column))
                                    .toUtf8()
                                    .constData());
            } else {
                row.remove_attribute(spans);
            }
        }
        extendDimension(ref);
    }
    sheetChanged = true;
    return cell;
}

bool Workbook::Impl::cellToWrite(const QString& address, CellRef& ref) {
    if (!package.isOpen()) {
        return false;
    }
    if (!parseRef(address.trimmed(), true, ref)) {
        fail(BadCellAddress, QStringLiteral("\"%1\" is not a cell address.").arg(address));
        return false;
    }
    return true;
}

void Workbook::Impl::extendDimension(CellRef ref) {
    xml_node dimension = xml::child(sheet.document_element(), sn("dimension"));
    pugi::xml_attribute range = dimension.attribute("ref");
    if (!range) {
        return;
    }
    const QStringList corners = QString::fromUtf8(range.value()).split(u':');
    CellRef first;
    CellRef last;
    if (corners.isEmpty() || corners.size() > 2 || !parseRef(corners.front(), true, first) ||
        !parseRef(corners.back(), true, last)) {
        return;
    }
    // A sheet with nothing in it says "A1"; its first cell replaces that.
    const bool empty = corners.size() == 1 && first == CellRef{1, 1} && !findCell({1, 1});
    const CellRef from = empty ? ref
                               : CellRef{std::min({first.row, last.row, ref.row}),
                                         std::min({first.column, last.column, ref.column})};
    const CellRef to = empty ? ref
                             : CellRef{std::max({first.row, last.row, ref.row}),
                                       std::max({first.column, last.column, ref.column})};
    const QString text =
        from == to ? relativeAddress(from) : relativeAddress(from) + u':' + relativeAddress(to);
    range.set_value(text.toUtf8().constData());
}

// Takes away the cell's value and formula; a removed formula no longer belongs in the
// workbook's calculation chain.
void Workbook::Impl::clearValue(xml_node c) {
    if (removeChildren(c, sn.f)) {
        formulaRemoved = true;
    }
    removeChildren(c, sn.v);
    removeChildren(c, sn.is);
    c.remove_attribute("t");
    c.remove_attribute("vm");
    c.remove_attribute("cm");
}

void Workbook::Impl::writeText(xml_node c, const QString& text) {
    clearValue(c);
    const QString value = xml::allowedText(text).left(MaxCellText);
    c.append_attribute("t").set_value("inlineStr");
    xml_node is = insertChild(c, sn.is, {sn.extLst});
    xml_node t = is.append_child(sn.t.c_str());
    xml::setText(t, value);
    if (xml::needsPreserve(value) || value.contains(u'\n')) {
        t.append_attribute("xml:space").set_value("preserve");
    }
    sheetChanged = true;
}

bool Workbook::Impl::loadRels() {
    if (relsLoaded) {
        return true;
    }
    const QString part = Package::relationshipsPartOf(workbookPart);
    if (package.hasPart(part)) {
        if (!package.loadXml(part, rels, error)) {
            return false;
        }
    } else {
        const char* empty =
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
            "<Relationships "
            "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"/>";
        rels.load_string(empty, xml::ParseOptions);
    }
    relsLoaded = true;
    return true;
}

// Styles for a workbook that has none: the part, its relationship and its content type.
bool Workbook::Impl::ensureStyles() {
    if (!stylesPart.isEmpty()) {
        return true;
    }
    if (!loadRels()) {
        return false;
    }
    const qsizetype slash = workbookPart.lastIndexOf(u'/');
    const QString folder = workbookPart.left(slash + 1);
    QString name = QStringLiteral("styles.xml");
    for (int i = 1; package.hasPart(folder + name); ++i) {
        name = QStringLiteral("styles%1.xml").arg(i);
    }
    xml_node root = rels.document_element();
    const std::string prefix = xml::prefixFor(root, {PackageRelationships}, "");
    QString id;
    for (int i = 1; id.isEmpty(); ++i) {
        const QString candidate = QStringLiteral("rId%1").arg(i);
        bool used = false;
        for (xml_node r = root.first_child(); r; r = r.next_sibling()) {
            used = used || QString::fromUtf8(r.attribute("Id").value()) == candidate;
        }
        if (!used) {
            id = candidate;
        }
    }
    xml_node rel = root.append_child(xml::qualified(prefix, "Relationship").c_str());
    rel.append_attribute("Id").set_value(id.toUtf8().constData());
    rel.append_attribute("Type").set_value(StylesRelationship);
    rel.append_attribute("Target").set_value(name.toUtf8().constData());
    relsChanged = true;
    stylesPart = folder + name;
    package.setContentType(stylesPart, StylesType);
    styles.load_string(MinimalStyles, xml::ParseOptions);
    yn = Names(styles.document_element());
    stylesChanged = true;
    readDateFormats();
    return true;
}

// A cell format showing a date: the cell's own when it already does, else one like it with the
// short date format (built-in format 14), taken from the list when there, added when not.
int Workbook::Impl::dateFormatFor(int xf) {
    if (xf >= 0 && size_t(xf) < dateXfs.size() && dateXfs[size_t(xf)]) {
        return xf;
    }
    if (!ensureStyles()) {
        return xf;
    }
    xml_node root = styles.document_element();
    xml_node list = xml::child(root, yn("cellXfs"));
    if (!list) {
        list = insertChild(
            root, yn("cellXfs"),
            {yn("cellStyles"), yn("dxfs"), yn("tableStyles"), yn("colors"), yn("extLst")});
    }
    std::vector<xml_node> formats;
    for (xml_node c = list.first_child(); c; c = c.next_sibling()) {
        if (xml::is(c, yn("xf"))) {
            formats.push_back(c);
        }
    }
    if (formats.empty()) {
        // The first format is every unformatted cell's: it must stay a plain one.
        xml_node plain = list.append_child(yn("xf").c_str());
        for (const char* a : {"numFmtId", "fontId", "fillId", "borderId", "xfId"}) {
            plain.append_attribute(a).set_value("0");
        }
        formats.push_back(plain);
    }
    pugi::xml_document scratch;
    xml_node wanted;
    if (xf >= 0 && size_t(xf) < formats.size()) {
        wanted = scratch.append_copy(formats[size_t(xf)]);
    } else {
        wanted = scratch.append_child(yn("xf").c_str());
        for (const char* a : {"numFmtId", "fontId", "fillId", "borderId", "xfId"}) {
            wanted.append_attribute(a).set_value("0");
        }
    }
    setAttribute(wanted, "numFmtId", "14");
    setAttribute(wanted, "applyNumberFormat", "1");
    const std::string text = xml::serialize(wanted);
    for (size_t i = 0; i < formats.size(); ++i) {
        if (xml::serialize(formats[i]) == text) {
            readDateFormats();
            return int(i);
        }
    }
    xml_node added = list.insert_copy_after(wanted, formats.back());
    (void)added;
    setAttribute(list, "count", QByteArray::number(qsizetype(formats.size() + 1)).constData());
    stylesChanged = true;
    readDateFormats();
    return int(formats.size());
}

bool Workbook::Impl::build(QByteArray& out) {
    std::map<QString, QByteArray> replaced;
    QStringList removed;
    if (sheetChanged) {
        replaced[sheetPart] = xml::serialize(sheet);
    }
    if (stylesChanged) {
        replaced[stylesPart] = xml::serialize(styles);
    }
    if (formulaRemoved && !calcChainPart.isEmpty()) {
        // The chain lists the cells that had formulas; the spreadsheet program makes it again.
        if (!loadRels()) {
            return false;
        }
        xml_node root = rels.document_element();
        for (xml_node r = root.first_child(); r;) {
            xml_node following = r.next_sibling();
            if (isRelationshipType(QString::fromUtf8(r.attribute("Type").value()),
                                   QLatin1String("calcChain"))) {
                root.remove_child(r);
                relsChanged = true;
            }
            r = following;
        }
        removed.append(calcChainPart);
        package.setContentType(calcChainPart, QString());
    }
    if (relsChanged) {
        replaced[Package::relationshipsPartOf(workbookPart)] = xml::serialize(rels);
    }
    if (sheetChanged) {
        // Formulas that read the cells written show what they make of them when the workbook
        // is next opened, not the values cached from before.
        xml_node root = workbook.document_element();
        const Names wn(root);
        xml_node calc = xml::child(root, wn("calcPr"));
        if (!calc) {
            calc = insertChild(root, wn("calcPr"),
                               {wn("oleSize"), wn("customWorkbookViews"), wn("pivotCaches"),
                                wn("smartTagPr"), wn("smartTagTypes"), wn("webPublishing"),
                                wn("fileRecoveryPr"), wn("webPublishObjects"), wn("extLst")});
        }
        setAttribute(calc, "fullCalcOnLoad", "1");
        replaced[workbookPart] = xml::serialize(workbook);
    }
    const QString type = package.contentType(workbookPart);
    if (type == TemplateType) {
        package.setContentType(workbookPart, SheetType);
    } else if (type == MacroTemplateType) {
        package.setContentType(workbookPart, MacroSheetType);
    }
    return package.build(replaced, removed, out, error);
}

Workbook::Workbook() : d(std::make_unique<Impl>()) {}
Workbook::~Workbook() = default;
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;

void Workbook::ensure() {
    if (!d) {
        d = std::make_unique<Impl>();
    }
}

bool Workbook::open(const QString& path) {
    d = std::make_unique<Impl>();
    if (!keepWhenOpened(d, d->package.openFile(path, Kind, d->error) && d->load())) {
        return false;
    }
    d->openedPath = path;
    return true;
}

bool Workbook::openData(const QByteArray& zipBytes) {
    d = std::make_unique<Impl>();
    return keepWhenOpened(d, d->package.openData(zipBytes, Kind, d->error) && d->load());
}

const OfficeError& Workbook::error() const {
    static const OfficeError none;
    return d ? d->error : none;
}

std::optional<QString> Workbook::find(const QString& what, bool matchCase) {
    ensure();
    if (what.isEmpty() || !d->package.isOpen()) {
        return std::nullopt;
    }
    const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const CellRef active = d->active;
    std::optional<CellRef> first;
    std::optional<CellRef> next;
    d->forEachCell([&](xml_node c, CellRef ref) {
        if (!d->display(c).contains(what, cs)) {
            return true;
        }
        if (!first) {
            first = ref;
        }
        if (active < ref) {
            next = ref;
            return false;
        }
        return true;
    });
    const std::optional<CellRef> found = next ? next : first;
    if (!found) {
        return std::nullopt;
    }
    d->active = *found;
    return absoluteAddress(*found);
}

QString Workbook::activeCellAddress() const {
    return absoluteAddress(d ? d->active : CellRef{1, 1});
}

void Workbook::setCellText(const QString& address, const QString& text) {
    ensure();
    CellRef ref;
    if (d->cellToWrite(address, ref)) {
        d->writeText(d->makeCell(ref), text);
    }
}

void Workbook::setCellDate(const QString& address, const QDate& date) {
    ensure();
    CellRef ref;
    if (!d->cellToWrite(address, ref)) {
        return;
    }
    qint64 serial = date.isValid() ? d->epoch().daysTo(date) : -1;
    if (date.isValid() && !d->date1904 && date < QDate(1900, 3, 1)) {
        serial = QDate(1899, 12, 31).daysTo(date);
    }
    xml_node c = d->makeCell(ref);
    if (!date.isValid()) {
        d->clearValue(c);
        d->sheetChanged = true;
        return;
    }
    if (serial < 0) {
        // Before the workbook's first day: a date it cannot hold, kept as text.
        d->writeText(c, date.toString(QStringLiteral("dd/MM/yyyy")));
        return;
    }
    d->clearValue(c);
    xml::setText(insertChild(c, d->sn.v, {d->sn.extLst}), QString::number(serial));
    const int xf = d->dateFormatFor(c.attribute("s").as_int(0));
    if (xf != 0 || c.attribute("s")) {
        setAttribute(c, "s", QByteArray::number(xf).constData());
    }
    d->sheetChanged = true;
}

void Workbook::setCellNumber(const QString& address, double value) {
    ensure();
    CellRef ref;
    if (!d->cellToWrite(address, ref)) {
        return;
    }
    xml_node c = d->makeCell(ref);
    d->clearValue(c);
    xml::setText(insertChild(c, d->sn.v, {d->sn.extLst}), QString::number(value, 'g', 15));
    d->sheetChanged = true;
}

QStringList Workbook::cellsHolding(const QString& what) const {
    QStringList found;
    if (!d || what.isEmpty() || !d->package.isOpen()) {
        return found;
    }
    d->forEachCell([&](xml_node c, CellRef ref) {
        const char* type = c.attribute("t").value();
        if ((std::strcmp(type, "s") == 0 || std::strcmp(type, "inlineStr") == 0) &&
            !xml::child(c, d->sn.f) &&
            d->display(c).trimmed().compare(what, Qt::CaseInsensitive) == 0) {
            found << absoluteAddress(ref);
        }
        return true;
    });
    return found;
}

QString Workbook::cellText(const QString& address) const {
    CellRef ref;
    if (!d || !d->package.isOpen() || !parseRef(address.trimmed(), true, ref)) {
        return {};
    }
    const xml_node c = d->findCell(ref);
    return c ? d->display(c) : QString();
}

bool Workbook::replaceAll(const QString& what, const QString& replacement) {
    ensure();
    if (what.isEmpty() || !d->package.isOpen()) {
        return false;
    }
    bool changed = false;
    d->forEachCell([&](xml_node c, CellRef) {
        const char* type = c.attribute("t").value();
        if ((std::strcmp(type, "s") != 0 && std::strcmp(type, "inlineStr") != 0) ||
            xml::child(c, d->sn.f)) {
            return true;
        }
        const QString text = d->display(c);
        if (!text.contains(what, Qt::CaseInsensitive)) {
            return true;
        }
        QString updated = text;
        updated.replace(what, replacement, Qt::CaseInsensitive);
        if (updated != text) {
            d->writeText(c, updated);
            changed = true;
        }
        return true;
    });
    return changed;
}

bool Workbook::saveAs(const QString& path) {
    ensure();
    if (!d->package.isOpen()) {
        d->fail(InvalidFileFormat, QStringLiteral("There is no workbook to save."));
        return false;
    }
    QByteArray bytes;
    if (!d->build(bytes) || !writeFileAtomically(path, bytes, d->error)) {
        return false;
    }
    d->savedPath = path;
    d->error = {};
    return true;
}

bool Workbook::save() {
    ensure();
    QString path = d->savedPath;
    if (path.isEmpty() && !d->openedTemplate) {
        path = d->openedPath;
    }
    if (path.isEmpty() && d->package.isOpen()) {
        d->fail(PathFileAccess,
                QStringLiteral("The workbook has not been saved yet: save it under a name first."));
        return false;
    }
    return saveAs(path);
}

QByteArray Workbook::saveData() {
    ensure();
    QByteArray bytes;
    if (!d->package.isOpen()) {
        d->fail(InvalidFileFormat, QStringLiteral("There is no workbook to save."));
        return {};
    }
    if (!d->build(bytes)) {
        return {};
    }
    d->error = {};
    return bytes;
}
