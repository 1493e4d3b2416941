#pragma once

#include <QByteArray>
#include <QString>
#include <initializer_list>
#include <pugixml.hpp>
#include <string>

// Small helpers over pugixml shared by the document classes.
namespace office::xml {

// Parts are parsed keeping the XML declaration and text made only of blanks (a run's " " is
// text), so that writing them back changes nothing but what was edited.
constexpr unsigned ParseOptions =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata;

// Deeper nesting than any real document has; refusing it keeps every walk over the tree, and
// pugixml's own removal of nodes, far from the end of the stack.
constexpr int MaxDepth = 400;

// Parses a part; on failure `why` says where and what is wrong.
bool parse(const QByteArray& bytes, pugi::xml_document& doc, QString& why);
// The part as UTF-8 bytes, unindented, with its declaration.
QByteArray serialize(const pugi::xml_document& doc);
// One element (with its contents) as text, to compare two elements.
std::string serialize(pugi::xml_node node);

// The prefix the root element binds to one of the namespace URIs ("w" for
// xmlns:w="…/wordprocessingml/2006/main", "" for a default namespace); `fallback` when none is
// declared there.
std::string prefixFor(pugi::xml_node root, std::initializer_list<const char*> uris,
                      const char* fallback);
inline std::string qualified(const std::string& prefix, const char* local) {
    return prefix.empty() ? std::string(local) : prefix + ':' + local;
}
inline bool is(pugi::xml_node node, const std::string& name) {
    return node.type() == pugi::node_element && name == node.name();
}
// The part of an element's name after the prefix.
const char* localName(pugi::xml_node node);

// The text of an element: its text and CDATA children joined.
QString text(pugi::xml_node node);
// Replaces an element's children with one text node.
void setText(pugi::xml_node node, const QString& value);
// Whether the value needs xml:space="preserve" to keep its blanks.
bool needsPreserve(const QString& value);
// The text without the characters an XML document cannot hold (control characters other than
// tab, line feed and carriage return, unpaired surrogates, U+FFFE and U+FFFF).
QString allowedText(const QString& value);

// The next node after `node` in document order within `root`, entering children only when
// `descend` is true; a null node at the end. Lets every walk over a part run without recursion.
inline pugi::xml_node next(pugi::xml_node node, pugi::xml_node root, bool descend) {
    if (descend) {
        if (pugi::xml_node child = node.first_child()) {
            return child;
        }
    }
    while (node && node != root) {
        if (pugi::xml_node sibling = node.next_sibling()) {
            return sibling;
        }
        node = node.parent();
    }
    return {};
}

// The first element child whose name is one of `names`.
pugi::xml_node child(pugi::xml_node parent, const std::string& name);

}  // namespace office::xml
