#include "documents/WordDocument.h"

#include "documents/FileWriting.h"
#include "documents/OfficePackage.h"
#include "documents/Xml.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace office;
using namespace office_errors;
using pugi::xml_node;

namespace {

const char* const WordMain = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
const char* const WordStrict = "http://purl.oclc.org/ooxml/wordprocessingml/main";
const char* const MarkupCompatibility =
    "http://schemas.openxmlformats.org/markup-compatibility/2006";
const char* const Word2010 = "http://schemas.microsoft.com/office/word/2010/wordml";

const QString Kind = QStringLiteral("Word document");

const QString TemplateType = QStringLiteral(
    "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml");
const QString DocumentType = QStringLiteral(
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml");
const QString MacroTemplateType =
    QStringLiteral("application/vnd.ms-word.template.macroEnabledTemplate.main+xml");
const QString MacroDocumentType =
    QStringLiteral("application/vnd.ms-word.document.macroEnabled.main+xml");

// Word never makes tables longer than this; it also bounds what one call can add.
constexpr int MaxRows = 32767;

// The element and attribute names of one part, with the prefixes that part declares.
struct Names {
    std::string p, r, t, tab, ptab, br, cr, noBreakHyphen, pPr, rPr, sectPr, del, moveFrom, delText,
        instrText, txbxContent, drawing, pict, object, tbl, tr, tc, tcPr, trPr, shd, tblHeader, ins,
        tblPrEx, bookmarkStart, footnote, endnote;
    std::string nameAttr, typeAttr, paraId, textId;
    std::string fallback;

    explicit Names(xml_node root) {
        const std::string w = xml::prefixFor(root, {WordMain, WordStrict}, "w");
        const std::string mc = xml::prefixFor(root, {MarkupCompatibility}, "mc");
        const std::string w14 = xml::prefixFor(root, {Word2010}, "w14");
        auto W = [&](const char* local) { return xml::qualified(w, local); };
        p = W("p");
        r = W("r");
        t = W("t");
        tab = W("tab");
        ptab = W("ptab");
        br = W("br");
        cr = W("cr");
        noBreakHyphen = W("noBreakHyphen");
        pPr = W("pPr");
        rPr = W("rPr");
        sectPr = W("sectPr");
        del = W("del");
        moveFrom = W("moveFrom");
        delText = W("delText");
        instrText = W("instrText");
        txbxContent = W("txbxContent");
        drawing = W("drawing");
        pict = W("pict");
        object = W("object");
        tbl = W("tbl");
        tr = W("tr");
        tc = W("tc");
        tcPr = W("tcPr");
        trPr = W("trPr");
        shd = W("shd");
        tblHeader = W("tblHeader");
        ins = W("ins");
        tblPrEx = W("tblPrEx");
        bookmarkStart = W("bookmarkStart");
        footnote = W("footnote");
        endnote = W("endnote");
        nameAttr = W("name");
        typeAttr = W("type");
        paraId = xml::qualified(w14, "paraId");
        textId = xml::qualified(w14, "textId");
        fallback = xml::qualified(mc, "Fallback");
    }
};

struct Part {
    QString name;
    pugi::xml_document doc;
    std::unique_ptr<Names> names;
    bool changed = false;
};

// One paragraph of a story, with its text as matching sees it: the text of its w:t elements in
// order, a tab, break or non-breaking hyphen as one character whose position is in `breaks`.
struct Para {
    xml_node node;
    int part = 0;
    bool fallback = false;  // in the copy of a text box kept for older readers
    QString text;
    QString folded;  // the text with every letter folded, to pass over paragraphs quickly
    std::vector<int> breaks;
};

struct Piece {
    xml_node t;
    int start = 0;
    int length = 0;
};

struct Story {
    WordDocument::StoryType type = WordDocument::StoryType::MainText;
    int part = -1;  // -1: the text boxes, from every part
    std::vector<Para> paras;
    QString folded;  // every paragraph's folded text, joined: a text not in it is nowhere
    bool foldedValid = false;
};

// Elements of a paragraph whose content is not the paragraph's text.
bool skipsText(const Names& n, xml_node e) {
    return xml::is(e, n.pPr) || xml::is(e, n.rPr) || xml::is(e, n.del) || xml::is(e, n.moveFrom) ||
           xml::is(e, n.delText) || xml::is(e, n.instrText) || xml::is(e, n.txbxContent) ||
           xml::is(e, n.fallback) || xml::is(e, n.drawing) || xml::is(e, n.pict) ||
           xml::is(e, n.object) || xml::is(e, n.p);
}

void buildText(const Names& n, xml_node p, QString& text, std::vector<int>& breaks,
               std::vector<Piece>* pieces) {
    text.clear();
    breaks.clear();
    for (xml_node e = p.first_child(); e;) {
        bool descend = false;
        if (e.type() == pugi::node_element) {
            if (xml::is(e, n.t)) {
                const QString s = xml::text(e);
                if (pieces) {
                    pieces->push_back({e, int(text.size()), int(s.size())});
                }
                text += s;
            } else if (xml::is(e, n.tab) || xml::is(e, n.ptab)) {
                breaks.push_back(int(text.size()));
                text += u'\t';
            } else if (xml::is(e, n.br)) {
                const char* type = e.attribute(n.typeAttr.c_str()).value();
                breaks.push_back(int(text.size()));
                text += (std::strcmp(type, "page") == 0 || std::strcmp(type, "column") == 0)
                            ? u'\f'
                            : u'\v';
            } else if (xml::is(e, n.cr)) {
                breaks.push_back(int(text.size()));
                text += u'\v';
            } else if (xml::is(e, n.noBreakHyphen)) {
                breaks.push_back(int(text.size()));
                text += u'-';
            } else {
                descend = !skipsText(n, e);
            }
        }
        e = xml::next(e, p, descend);
    }
}

// Where `find` occurs in a paragraph's text without running over a break, left to right and
// not overlapping.
std::vector<int> findMatches(const QString& text, const std::vector<int>& breaks,
                             const QString& find, bool all) {
    std::vector<int> found;
    qsizetype from = 0;
    while (from <= text.size()) {
        const qsizetype at = text.indexOf(find, from, Qt::CaseInsensitive);
        if (at < 0) {
            break;
        }
        const qsizetype end = at + find.size();
        const auto brk = std::lower_bound(breaks.begin(), breaks.end(), int(at));
        if (brk != breaks.end() && *brk < end) {
            // Any match starting at or before the break would hold it.
            from = *brk + 1;
            continue;
        }
        found.push_back(int(at));
        if (!all) {
            break;
        }
        from = end;
    }
    return found;
}

// Folds each UTF-16 unit's case on its own: a text matches another without regard to case
// only if its folded form holds the other's, so a plain search on the folded forms finds the
// paragraphs worth matching properly. The units of surrogate pairs stay as they are.
QString foldedUnits(const QString& text) {
    QString out(text.size(), Qt::Uninitialized);
    const QChar* from = text.constData();
    QChar* to = out.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = from[i].unicode();
        if (c < 0x80) {
            to[i] = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
        } else {
            to[i] = QChar::isSurrogate(c) ? from[i] : from[i].toCaseFolded();
        }
    }
    return out;
}

// The key to look for in the folded texts; null when the text has letters beyond the basic
// plane, which fold as pairs: then only the proper match can tell.
QString searchKey(const QString& find) {
    for (const QChar c : find) {
        if (c.isSurrogate()) {
            return {};
        }
    }
    return foldedUnits(find);
}

bool mayHold(const Para& para, const QString& find, const QString& key) {
    return key.isNull() ? para.text.contains(find, Qt::CaseInsensitive)
                        : para.folded.contains(key, Qt::CaseSensitive);
}

QString lineFeedsOnly(const QString& text) {
    if (!text.contains(u'\r')) {
        return text;
    }
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

void setRunText(xml_node t, const QString& value) {
    xml::setText(t, value);
    pugi::xml_attribute space = t.attribute("xml:space");
    if (!space) {
        space = t.append_attribute("xml:space");
    }
    space.set_value("preserve");
}

// Removes a w:t, and its run too when nothing but the run's properties is left in it.
void removeRunText(const Names& n, xml_node t) {
    xml_node run = t.parent();
    run.remove_child(t);
    if (!xml::is(run, n.r)) {
        return;
    }
    for (xml_node c = run.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_element && !xml::is(c, n.rPr)) {
            return;
        }
    }
    run.parent().remove_child(run);
}

void copyAttributes(const Names& n, xml_node from, xml_node to) {
    for (pugi::xml_attribute a = from.first_attribute(); a; a = a.next_attribute()) {
        // Paragraph ids must stay unique.
        if (n.paraId == a.name() || n.textId == a.name()) {
            continue;
        }
        to.append_copy(a);
    }
}

bool isPropertiesElement(xml_node e) {
    if (e.type() != pugi::node_element) {
        return false;
    }
    const char* local = xml::localName(e);
    const size_t length = std::strlen(local);
    return length > 2 && std::strcmp(local + length - 2, "Pr") == 0;
}

// Splits paragraph `p` at each line feed of its text. The part of an element after the line
// feed goes into a copy of that element (attributes and properties such as the run's w:rPr
// kept), level by level up to the paragraph, whose copy takes a copy of w:pPr and goes right
// after it. Working from the last line feed to the first, each split moves only what lies
// between two line feeds. A section break held in the paragraph's properties stays with the
// last of the paragraphs.
bool splitAtLineFeeds(const Names& n, xml_node p) {
    QString text;
    std::vector<int> breaks;
    std::vector<Piece> pieces;
    buildText(n, p, text, breaks, &pieces);
    bool split = false;
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
        QString own = text.mid(piece->start, piece->length);
        if (!own.contains(u'\n')) {
            continue;
        }
        split = true;
        const xml_node t = piece->t;
        // The text before the line feeds is set once, at the end: setting what is left after
        // each split would copy the text once per line.
        for (qsizetype at = own.lastIndexOf(u'\n'); at >= 0; at = own.lastIndexOf(u'\n', at - 1)) {
            const QString after = own.mid(at + 1);
            own.truncate(at);
            const xml_node tail = t.parent().insert_child_after(t.name(), t);
            setRunText(tail, after);

            xml_node right = tail;
            xml_node level = t.parent();
            while (level != p) {
                xml_node parent = level.parent();
                xml_node copy = parent.insert_child_after(level.name(), level);
                copyAttributes(n, level, copy);
                for (xml_node c = level.first_child(); c && c != right; c = c.next_sibling()) {
                    if (isPropertiesElement(c)) {
                        copy.append_copy(c);
                    }
                }
                for (xml_node c = right; c;) {
                    xml_node following = c.next_sibling();
                    copy.append_move(c);
                    c = following;
                }
                right = copy;
                level = parent;
            }
            xml_node second = p.parent().insert_child_after(p.name(), p);
            copyAttributes(n, p, second);
            if (xml_node pPr = xml::child(p, n.pPr)) {
                second.append_copy(pPr);
                if (xml_node sectPr = xml::child(pPr, n.sectPr)) {
                    pPr.remove_child(sectPr);
                }
            }
            for (xml_node c = right; c;) {
                xml_node following = c.next_sibling();
                second.append_move(c);
                c = following;
            }
            if (after.isEmpty()) {
                removeRunText(n, tail);
            }
        }
        if (own.isEmpty()) {
            removeRunText(n, t);
        } else {
            setRunText(t, own);
        }
    }
    return split;
}

xml_node ancestor(xml_node node, const std::string& name) {
    for (xml_node a = node.parent(); a; a = a.parent()) {
        if (xml::is(a, name)) {
            return a;
        }
    }
    return {};
}

// The cell after `cell` in its table, row by row; null at the end of the table. Cells are
// never entered, so the cells of tables nested in them are passed over.
xml_node nextCell(const Names& n, xml_node cell, xml_node table) {
    for (xml_node e = xml::next(cell, table, false); e;) {
        if (xml::is(e, n.tc)) {
            return e;
        }
        e = xml::next(e, table, e.type() == pugi::node_element);
    }
    return {};
}

xml_node firstParagraph(const Names& n, xml_node within) {
    for (xml_node e = within.first_child(); e; e = xml::next(e, within, true)) {
        if (xml::is(e, n.p)) {
            return e;
        }
    }
    return {};
}

void removeChildren(xml_node parent, const std::string& name) {
    for (xml_node c = parent.first_child(); c;) {
        xml_node following = c.next_sibling();
        if (xml::is(c, name)) {
            parent.remove_child(c);
        }
        c = following;
    }
}

// A copied row made empty: each cell keeps its properties, without shading, and one empty
// paragraph with the properties of its first paragraph, without the paragraph mark's run
// formatting. Whatever else stood in the row (bookmarks, marks) goes; a heading row's copy is
// no heading row.
void emptyRow(const Names& n, xml_node row) {
    if (xml_node trPr = xml::child(row, n.trPr)) {
        removeChildren(trPr, n.tblHeader);
        removeChildren(trPr, n.ins);
        removeChildren(trPr, n.del);
    }
    std::vector<xml_node> cells;
    std::vector<xml_node> strays;
    for (xml_node e = row.first_child(); e;) {
        bool descend = e.type() == pugi::node_element;
        if (xml::is(e, n.tc)) {
            cells.push_back(e);
            descend = false;
        } else if (xml::is(e, n.trPr) || xml::is(e, n.tblPrEx)) {
            descend = false;
        } else if (descend && e.parent() == row && std::strcmp(xml::localName(e), "sdt") != 0 &&
                   std::strcmp(xml::localName(e), "customXml") != 0) {
            strays.push_back(e);
            descend = false;
        }
        e = xml::next(e, row, descend);
    }
    for (xml_node stray : strays) {
        row.remove_child(stray);
    }
    for (xml_node cell : cells) {
        xml_node paragraph = cell.append_child(n.p.c_str());
        if (xml_node first = firstParagraph(n, cell); first && first != paragraph) {
            if (xml_node pPr = xml::child(first, n.pPr)) {
                xml_node copy = paragraph.append_copy(pPr);
                removeChildren(copy, n.rPr);
                removeChildren(copy, n.sectPr);
            }
        }
        for (xml_node c = cell.first_child(); c;) {
            xml_node following = c.next_sibling();
            if (c != paragraph && !xml::is(c, n.tcPr)) {
                cell.remove_child(c);
            }
            c = following;
        }
        if (xml_node tcPr = xml::child(cell, n.tcPr)) {
            removeChildren(tcPr, n.shd);
        }
    }
}

bool isSeparatorNote(const Names& n, xml_node e) {
    if (!xml::is(e, n.footnote) && !xml::is(e, n.endnote)) {
        return false;
    }
    const char* type = e.attribute(n.typeAttr.c_str()).value();
    return *type != '\0' && std::strcmp(type, "normal") != 0;
}

}  // namespace

struct WordDocument::Impl {
    Package package;
    OfficeError error;
    std::vector<std::unique_ptr<Part>> parts;  // the main part first
    mutable std::vector<Story> stories;
    mutable bool storiesStale = false;
    int selectionPart = -1;
    xml_node selection;  // a w:tc

    bool fail(int number, const QString& description) {
        error = {number, description};
        return false;
    }

    bool load();
    bool loadPart(const QString& name, const char* rootName, OfficeError& failure);
    void collect(int partIndex, std::vector<Para>* body, std::vector<Para>* boxes) const;
    void rebuild() const;
    std::vector<Para>& paragraphs(int story) const {
        if (storiesStale) {
            rebuild();
        }
        return stories[size_t(story)].paras;
    }
    // Whether the story may hold `key` somewhere (see searchKey).
    bool storyMayHold(int story, const QString& key) const {
        if (key.isNull()) {
            return true;
        }
        paragraphs(story);
        Story& s = stories[size_t(story)];
        if (!s.foldedValid) {
            qsizetype length = 0;
            for (const Para& para : s.paras) {
                length += para.folded.size() + 1;
            }
            s.folded.clear();
            s.folded.reserve(length);
            for (const Para& para : s.paras) {
                s.folded += para.folded;
                s.folded += u'\n';
            }
            s.foldedValid = true;
        }
        return s.folded.contains(key, Qt::CaseSensitive);
    }
    void refresh(Para& para) const {
        buildText(*parts[size_t(para.part)]->names, para.node, para.text, para.breaks, nullptr);
        para.folded = foldedUnits(para.text);
    }
    bool replaceIn(Para& para, const QString& find, const QString& replacement);
    bool build(QByteArray& out);
};

bool WordDocument::Impl::loadPart(const QString& name, const char* rootName, OfficeError& failure) {
    for (const auto& part : parts) {
        if (part->name.compare(name, Qt::CaseInsensitive) == 0) {
            return true;  // listed twice
        }
    }
    auto part = std::make_unique<Part>();
    part->name = name;
    if (!package.loadXml(name, part->doc, failure)) {
        return false;
    }
    const xml_node root = part->doc.document_element();
    if (std::strcmp(xml::localName(root), rootName) != 0) {
        failure = {InvalidFileFormat,
                   QStringLiteral("%1 is not a Word document: its part %2 holds no %3.")
                       .arg(package.displayName(), name, QString::fromLatin1(rootName))};
        failure.description[0] = failure.description[0].toUpper();
        return false;
    }
    part->names = std::make_unique<Names>(root);
    parts.push_back(std::move(part));
    return true;
}

bool WordDocument::Impl::load() {
    const QString subject = package.displayName();
    auto notWord = [&](const QString& why) {
        QString text =
            QStringLiteral("%1 is not a Word document or template: %2.").arg(subject, why);
        text[0] = text[0].toUpper();
        return fail(InvalidFileFormat, text);
    };
    const QString main = package.mainPart();
    if (main.isEmpty() || !package.hasPart(main)) {
        return notWord(QStringLiteral("it has no document part"));
    }
    const QString type = package.contentType(main);
    if (!type.isEmpty() && type != TemplateType && type != DocumentType &&
        type != MacroTemplateType && type != MacroDocumentType) {
        return notWord(QStringLiteral("its main part is of the type %1").arg(type));
    }
    OfficeError failure;
    if (!loadPart(main, "document", failure)) {
        error = failure;
        return false;
    }
    const QList<Relationship> rels = package.relationships(main, failure);
    if (failure) {
        error = failure;
        return false;
    }
    struct Wanted {
        const char* type;
        const char* root;
        StoryType story;
    };
    const Wanted wanted[] = {{"header", "hdr", StoryType::Header},
                             {"footer", "ftr", StoryType::Footer},
                             {"footnotes", "footnotes", StoryType::Footnotes},
                             {"endnotes", "endnotes", StoryType::Endnotes}};
    stories.push_back(Story{StoryType::MainText, 0, {}, {}, false});
    for (const Wanted& w : wanted) {
        for (const Relationship& rel : rels) {
            if (!isRelationshipType(rel.type, QLatin1String(w.type)) || rel.target.isEmpty()) {
                continue;
            }
            const size_t before = parts.size();
            if (!loadPart(rel.target, w.root, failure)) {
                error = failure;
                return false;
            }
            if (parts.size() > before) {
                stories.push_back(Story{w.story, int(parts.size() - 1), {}, {}, false});
            }
            if (w.story == StoryType::Footnotes || w.story == StoryType::Endnotes) {
                break;  // one of each
            }
        }
    }
    std::vector<Para> boxes;
    for (Story& story : stories) {
        collect(story.part, &story.paras, &boxes);
    }
    if (!boxes.empty()) {
        stories.push_back(Story{StoryType::TextFrame, -1, std::move(boxes), {}, false});
    }
    return true;
}

// The paragraphs of one part: those of its own text, and those of its text boxes.
void WordDocument::Impl::collect(int partIndex, std::vector<Para>* body,
                                 std::vector<Para>* boxes) const {
    const Part& part = *parts[size_t(partIndex)];
    const Names& n = *part.names;
    const xml_node root = part.doc.document_element();
    for (xml_node e = root.first_child(); e;) {
        bool descend = e.type() == pugi::node_element;
        if (!descend) {
        } else if (xml::is(e, n.pPr) || xml::is(e, n.rPr) || xml::is(e, n.sectPr) ||
                   xml::is(e, n.tcPr) || xml::is(e, n.trPr) || isSeparatorNote(n, e)) {
            descend = false;
        } else if (xml::is(e, n.p)) {
            bool inBox = false;
            bool inFallback = false;
            for (xml_node a = e.parent(); a && a != root; a = a.parent()) {
                inBox = inBox || xml::is(a, n.txbxContent);
                inFallback = inFallback || xml::is(a, n.fallback);
            }
            std::vector<Para>* list = inBox ? boxes : body;
            if (list) {
                Para para;
                para.node = e;
                para.part = partIndex;
                para.fallback = inFallback;
                buildText(n, e, para.text, para.breaks, nullptr);
                para.folded = foldedUnits(para.text);
                list->push_back(std::move(para));
            }
        }
        e = xml::next(e, root, descend);
    }
}

void WordDocument::Impl::rebuild() const {
    std::vector<Para> boxes;
    for (Story& story : stories) {
        story.paras.clear();
        story.foldedValid = false;
        if (story.part >= 0) {
            collect(story.part, &story.paras, &boxes);
        }
    }
    for (Story& story : stories) {
        if (story.part < 0) {
            story.paras = std::move(boxes);
        }
    }
    storiesStale = false;
}

bool WordDocument::Impl::replaceIn(Para& para, const QString& find, const QString& replacement) {
    Part& part = *parts[size_t(para.part)];
    const Names& n = *part.names;
    QString text;
    std::vector<int> breaks;
    std::vector<Piece> pieces;
    buildText(n, para.node, text, breaks, &pieces);
    const std::vector<int> found = findMatches(text, breaks, find, true);
    if (found.empty()) {
        return false;
    }
    const int length = int(find.size());
    size_t m = 0;
    for (const Piece& piece : pieces) {
        const int end = piece.start + piece.length;
        QString out;
        bool changed = false;
        int i = piece.start;
        while (i < end) {
            while (m < found.size() && found[m] + length <= i) {
                ++m;
            }
            if (m < found.size() && found[m] <= i) {
                // Inside a match: its first character takes the replacement, the rest goes.
                if (found[m] == i) {
                    out += replacement;
                }
                i = std::min(found[m] + length, end);
                changed = true;
            } else {
                const int stop = m < found.size() ? std::min(found[m], end) : end;
                out += QStringView(text).mid(i, stop - i);
                i = stop;
            }
        }
        if (!changed) {
            continue;
        }
        if (out.isEmpty()) {
            removeRunText(n, piece.t);
        } else {
            setRunText(piece.t, out);
        }
    }
    part.changed = true;
    refresh(para);
    return true;
}

bool WordDocument::Impl::build(QByteArray& out) {
    std::map<QString, QByteArray> replaced;
    for (const auto& part : parts) {
        if (part->changed) {
            replaced[part->name] = xml::serialize(part->doc);
        }
    }
    const QString main = package.mainPart();
    const QString type = package.contentType(main);
    if (type == TemplateType) {
        package.setContentType(main, DocumentType);
    } else if (type == MacroTemplateType) {
        package.setContentType(main, MacroDocumentType);
    }
    OfficeError failure;
    if (!package.build(replaced, {}, out, failure)) {
        error = failure;
        return false;
    }
    return true;
}

WordDocument::WordDocument() : d(std::make_unique<Impl>()) {}

// A moved-from document is an empty one.
void WordDocument::ensure() {
    if (!d) {
        d = std::make_unique<Impl>();
    }
}
WordDocument::~WordDocument() = default;
WordDocument::WordDocument(WordDocument&&) noexcept = default;
WordDocument& WordDocument::operator=(WordDocument&&) noexcept = default;

bool WordDocument::open(const QString& path) {
    d = std::make_unique<Impl>();
    return keepWhenOpened(d, d->package.openFile(path, Kind, d->error) && d->load());
}

bool WordDocument::openData(const QByteArray& zipBytes) {
    d = std::make_unique<Impl>();
    return keepWhenOpened(d, d->package.openData(zipBytes, Kind, d->error) && d->load());
}

const OfficeError& WordDocument::error() const {
    static const OfficeError none;
    return d ? d->error : none;
}

int WordDocument::storyCount() const {
    return d ? int(d->stories.size()) : 0;
}

WordDocument::StoryType WordDocument::storyType(int story) const {
    if (story < 0 || story >= storyCount()) {
        return StoryType::MainText;
    }
    return d->stories[size_t(story)].type;
}

bool WordDocument::replaceAll(int story, const QString& find, const QString& replacement) {
    if (story < 0 || story >= storyCount() || find.isEmpty()) {
        return false;
    }
    const QString value = lineFeedsOnly(xml::allowedText(replacement));
    const QString key = searchKey(find);
    if (!d->storyMayHold(story, key)) {
        return false;
    }
    bool any = false;
    for (Para& para : d->paragraphs(story)) {
        if (mayHold(para, find, key) && d->replaceIn(para, find, value)) {
            any = true;
        }
    }
    if (any) {
        d->stories[size_t(story)].foldedValid = false;
    }
    return any;
}

bool WordDocument::contains(int story, const QString& text) const {
    if (story < 0 || story >= storyCount() || text.isEmpty()) {
        return false;
    }
    const QString key = searchKey(text);
    if (!d->storyMayHold(story, key)) {
        return false;
    }
    for (const Para& para : d->paragraphs(story)) {
        if (!para.fallback && mayHold(para, text, key) &&
            !findMatches(para.text, para.breaks, text, false).empty()) {
            return true;
        }
    }
    return false;
}

void WordDocument::lineFeedsToParagraphs(int story) {
    if (story < 0 || story >= storyCount()) {
        return;
    }
    // The list changes as paragraphs are split: work from a copy of the nodes.
    std::vector<std::pair<xml_node, int>> candidates;
    for (const Para& para : d->paragraphs(story)) {
        if (para.text.contains(u'\n')) {
            candidates.emplace_back(para.node, para.part);
        }
    }
    bool split = false;
    for (const auto& [node, part] : candidates) {
        if (splitAtLineFeeds(*d->parts[size_t(part)]->names, node)) {
            d->parts[size_t(part)]->changed = true;
            split = true;
        }
    }
    if (split) {
        d->storiesStale = true;
    }
}

QString WordDocument::storyText(int story) const {
    if (story < 0 || story >= storyCount()) {
        return {};
    }
    QStringList lines;
    for (const Para& para : d->paragraphs(story)) {
        if (!para.fallback) {
            lines.append(para.text);
        }
    }
    return lines.join(u'\n');
}

bool WordDocument::selectBookmark(const QString& name) {
    ensure();
    d->selection = {};
    d->selectionPart = -1;
    for (size_t i = 0; i < d->parts.size(); ++i) {
        const Part& part = *d->parts[i];
        const Names& n = *part.names;
        const xml_node root = part.doc.document_element();
        for (xml_node e = root.first_child(); e;) {
            bool descend = e.type() == pugi::node_element;
            if (descend && xml::is(e, n.bookmarkStart) &&
                QString::fromUtf8(e.attribute(n.nameAttr.c_str()).value())
                        .compare(name, Qt::CaseInsensitive) == 0) {
                xml_node cell = ancestor(e, n.tc);
                // A bookmark written between the cells of a row belongs to the cell after it.
                if (!cell && xml::is(e.parent(), n.tr)) {
                    for (xml_node s = e.next_sibling(); s && !cell; s = s.next_sibling()) {
                        if (xml::is(s, n.tc)) {
                            cell = s;
                        }
                    }
                }
                if (!cell) {
                    return d->fail(
                        NoSuchMember,
                        QStringLiteral("The bookmark \"%1\" is not in a table cell.").arg(name));
                }
                d->selection = cell;
                d->selectionPart = int(i);
                return true;
            }
            if (descend && (xml::is(e, n.pPr) || xml::is(e, n.rPr) || xml::is(e, n.t))) {
                descend = false;
            }
            e = xml::next(e, root, descend);
        }
    }
    return d->fail(NoSuchMember,
                   QStringLiteral("The document has no bookmark named \"%1\".").arg(name));
}

bool WordDocument::insertRowsBelow(int count) {
    ensure();
    if (!d->selection) {
        return d->fail(NoSuchMember, QStringLiteral("No table cell is selected."));
    }
    if (count < 1) {
        return true;
    }
    Part& part = *d->parts[size_t(d->selectionPart)];
    const Names& n = *part.names;
    const xml_node row = ancestor(d->selection, n.tr);
    if (!row) {
        return d->fail(NoSuchMember, QStringLiteral("The selected cell is not in a table row."));
    }
    xml_node after = row;
    for (int i = 0; i < std::min(count, MaxRows); ++i) {
        after = row.parent().insert_copy_after(row, after);
        emptyRow(n, after);
    }
    part.changed = true;
    d->storiesStale = true;
    return true;
}

bool WordDocument::moveRightCell() {
    ensure();
    if (!d->selection) {
        return d->fail(NoSuchMember, QStringLiteral("No table cell is selected."));
    }
    const Names& n = *d->parts[size_t(d->selectionPart)]->names;
    const xml_node table = ancestor(d->selection, n.tbl);
    if (!table) {
        return false;
    }
    const xml_node next = nextCell(n, d->selection, table);
    if (!next) {
        return false;
    }
    d->selection = next;
    return true;
}

void WordDocument::typeText(const QString& text) {
    ensure();
    if (!d->selection) {
        d->fail(NoSuchMember, QStringLiteral("No table cell is selected."));
        return;
    }
    const QString value = lineFeedsOnly(xml::allowedText(text));
    if (value.isEmpty()) {
        return;
    }
    Part& part = *d->parts[size_t(d->selectionPart)];
    const Names& n = *part.names;
    xml_node paragraph = firstParagraph(n, d->selection);
    if (!paragraph) {
        paragraph = d->selection.append_child(n.p.c_str());
    }
    // Typed text takes the formatting of the text before it, or of the paragraph mark.
    xml_node format;
    for (xml_node c = paragraph.first_child(); c; c = c.next_sibling()) {
        if (xml::is(c, n.r) && xml::child(c, n.t)) {
            format = xml::child(c, n.rPr);
        }
    }
    if (!format) {
        format = xml::child(xml::child(paragraph, n.pPr), n.rPr);
    }
    xml_node run = paragraph.append_child(n.r.c_str());
    if (format) {
        xml_node rPr = run.append_copy(format);
        removeChildren(rPr, n.ins);
        removeChildren(rPr, n.del);
    }
    setRunText(run.append_child(n.t.c_str()), value);
    part.changed = true;
    d->storiesStale = true;
}

bool WordDocument::saveAs(const QString& path) {
    ensure();
    QByteArray bytes;
    if (!d->package.isOpen()) {
        return d->fail(InvalidFileFormat, QStringLiteral("There is no document to save."));
    }
    if (!d->build(bytes) || !writeFileAtomically(path, bytes, d->error)) {
        return false;
    }
    d->error = {};
    return true;
}

QByteArray WordDocument::saveData() {
    ensure();
    QByteArray bytes;
    if (!d->package.isOpen()) {
        d->fail(InvalidFileFormat, QStringLiteral("There is no document to save."));
        return {};
    }
    if (!d->build(bytes)) {
        return {};
    }
    d->error = {};
    return bytes;
}
