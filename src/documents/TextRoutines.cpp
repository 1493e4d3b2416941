#include "documents/TextRoutines.h"

QString GetFileExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString StripLineFeeds(QString text) {
    return text.remove(u'\n');
}

QString StripCarriageReturns(QString text) {
    return text.remove(u'\r');
}

QString FirstLine(const QString& text) {
    const qsizetype end = text.indexOf(u'\r');
    return end < 0 ? text : text.left(end);
}

QString ReplaceChar(QString text, QChar character, const QString& replacement) {
    return text.replace(character, replacement);
}

int MinOf(int a, int b) {
    return a < b ? a : b;
}

QStringList SplitIntoChunks(const QString& text, int size) {
    if (size <= 0) {
        return {};
    }
    const QString stripped = StripCarriageReturns(text);
    QStringList pieces;
    qsizetype pos = 0;
    while (pos < stripped.size()) {
        qsizetype take = MinOf(size, int(stripped.size() - pos));
        // A character beyond the basic plane takes two units: it goes whole into one piece.
        const qsizetype end = pos + take;
        if (end < stripped.size() && stripped.at(end).isLowSurrogate() &&
            stripped.at(end - 1).isHighSurrogate()) {
            take += take > 1 ? -1 : 1;
        }
        pieces << stripped.mid(pos, take);
        pos += take;
    }
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        pieces[i] += ChunkMarker;
    }
    return pieces;
}

QString withCrLf(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    return out.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

QString asLines(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}
