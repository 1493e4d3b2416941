#include "startup/SqlDialect.h"

#include <algorithm>

QString SqlDialect::identity() const {
    return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
}

QString SqlDialect::text() const { return QStringLiteral("TEXT COLLATE NOCASE"); }

QString SqlDialect::quote(const QString& name) const { return u'"' + name + u'"'; }

QString SqlDialect::daysUntil(const QString& column) const {
    return QStringLiteral("CAST(julianday(?) - julianday(date(") + column +
           QStringLiteral(")) AS INTEGER)");
}

QString SqlDialect::beginWrite() const { return QStringLiteral("BEGIN IMMEDIATE"); }

namespace {

QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    for (const QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'\\') {
            out += u'\\';
        }
        out += c;
    }
    return out;
}

bool isAscii(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

}  // namespace

QString SqlDialect::like(const QString& column, const QString& pattern) const {
    // Only letters of the pattern need folding: with an ASCII pattern the engine's LIKE, which
    // folds A to Z, finds the same rows, and it is the faster.
    if (isAscii(pattern)) {
        return column + QStringLiteral(" LIKE ? ESCAPE '\\'");
    }
    return QStringLiteral("ulike(?, ") + column + QStringLiteral(", '\\')");
}

QString SqlDialect::containsPattern(const QString& text) {
    return u'%' + escaped(text) + u'%';
}

QString SqlDialect::startsWithPattern(const QString& text) { return escaped(text) + u'%'; }
