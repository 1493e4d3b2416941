#include "documents/Xml.h"

#include <cstring>
#include <sstream>

namespace office::xml {

namespace {

struct ByteWriter : pugi::xml_writer {
    QByteArray bytes;
    void write(const void* data, size_t size) override {
        bytes.append(static_cast<const char*>(data), qsizetype(size));
    }
};

// Deepest element nesting in the document, counted without recursion; stops counting past
// MaxDepth.
bool tooDeep(const pugi::xml_document& doc) {
    int depth = 0;
    pugi::xml_node node = doc.first_child();
    while (node) {
        if (node.first_child()) {
            node = node.first_child();
            if (++depth > MaxDepth) {
                return true;
            }
            continue;
        }
        while (node && !node.next_sibling()) {
            node = node.parent();
            --depth;
            if (node == doc) {
                return false;
            }
        }
        if (node) {
            node = node.next_sibling();
        }
    }
    return false;
}

}  // namespace

bool parse(const QByteArray& bytes, pugi::xml_document& doc, QString& why) {
    const pugi::xml_parse_result result =
        doc.load_buffer(bytes.constData(), size_t(bytes.size()), ParseOptions, pugi::encoding_auto);
    if (!result) {
        why = QStringLiteral("%1 at byte %2")
                  .arg(QString::fromUtf8(result.description()))
                  .arg(result.offset);
        doc.reset();
        return false;
    }
    if (!doc.document_element()) {
        why = QStringLiteral("it has no root element");
        doc.reset();
        return false;
    }
    if (tooDeep(doc)) {
        why = QStringLiteral("its elements are nested more than %1 deep").arg(MaxDepth);
        doc.reset();
        return false;
    }
    return true;
}

QByteArray serialize(const pugi::xml_document& doc) {
    // Whatever the part was read in, it is written in UTF-8, and its declaration must say so.
    pugi::xml_node declaration = doc.first_child();
    if (declaration.type() == pugi::node_declaration) {
        pugi::xml_attribute encoding = declaration.attribute("encoding");
        if (encoding && std::strcmp(encoding.value(), "UTF-8") != 0 &&
            std::strcmp(encoding.value(), "utf-8") != 0) {
            encoding.set_value("UTF-8");
        }
    }
    ByteWriter writer;
    doc.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return writer.bytes;
}

std::string serialize(pugi::xml_node node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
}

std::string prefixFor(pugi::xml_node root, std::initializer_list<const char*> uris,
                      const char* fallback) {
    for (pugi::xml_attribute a = root.first_attribute(); a; a = a.next_attribute()) {
        const char* name = a.name();
        bool declares = false;
        for (const char* uri : uris) {
            if (std::strcmp(a.value(), uri) == 0) {
                declares = true;
            }
        }
        if (!declares) {
            continue;
        }
        if (std::strcmp(name, "xmlns") == 0) {
            return {};
        }
        if (std::strncmp(name, "xmlns:", 6) == 0 && name[6] != '\0') {
            return std::string(name + 6);
        }
    }
    return std::string(fallback);
}

const char* localName(pugi::xml_node node) {
    const char* name = node.name();
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

QString text(pugi::xml_node node) {
    pugi::xml_node first = node.first_child();
    // The usual case, one text child, without building anything.
    if (first && !first.next_sibling() &&
        (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata)) {
        return QString::fromUtf8(first.value());
    }
    QByteArray joined;
    for (pugi::xml_node c = first; c; c = c.next_sibling()) {
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
            joined.append(c.value());
        }
    }
    return QString::fromUtf8(joined);
}

void setText(pugi::xml_node node, const QString& value) {
    while (pugi::xml_node c = node.first_child()) {
        node.remove_child(c);
    }
    const QByteArray utf8 = allowedText(value).toUtf8();
    node.append_child(pugi::node_pcdata).set_value(utf8.constData());
}

bool needsPreserve(const QString& value) {
    return !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
}

QString allowedText(const QString& value) {
    qsizetype i = 0;
    const qsizetype n = value.size();
    auto allowed = [&](qsizetype at, bool& pair) {
        const char16_t c = value.at(at).unicode();
        pair = false;
        if (c < 0x20) {
            return c == u'\t' || c == u'\n' || c == u'\r';
        }
        if (c == 0xFFFE || c == 0xFFFF) {
            return false;
        }
        if (QChar::isHighSurrogate(c)) {
            pair = at + 1 < n && QChar::isLowSurrogate(value.at(at + 1).unicode());
            return pair;
        }
        return !QChar::isLowSurrogate(c);
    };
    bool pair = false;
    while (i < n && allowed(i, pair)) {
        i += pair ? 2 : 1;
    }
    if (i == n) {
        return value;
    }
    QString out = value.left(i);
    while (i < n) {
        if (allowed(i, pair)) {
            out.append(value.mid(i, pair ? 2 : 1));
            i += pair ? 2 : 1;
        } else {
            ++i;
        }
    }
    return out;
}

pugi::xml_node child(pugi::xml_node parent, const std::string& name) {
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
        if (is(c, name)) {
            return c;
        }
    }
    return {};
}

}  // namespace office::xml
