#include "widgets/TextBox.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace {

constexpr qsizetype kLongLine = 2000;
constexpr qsizetype kPiece = 1000;
constexpr QChar kJoiner = QChar(0x2060);

// Cuts after the last blank of the piece's last fifth, or at its length, never inside a
// character beyond the basic plane.
qsizetype pieceLength(QStringView rest) {
    if (rest.size() <= kPiece) {
        return rest.size();
    }
    for (qsizetype at = kPiece; at > kPiece - kPiece / 5; --at) {
        if (rest.at(at - 1) == u' ') {
            return at;
        }
    }
    return rest.at(kPiece).isLowSurrogate() ? kPiece - 1 : kPiece;
}

}  // namespace

void TextBox::setText(const QString& text) {
    inPieces_ = false;
    if (text.contains(kJoiner)) {
        setPlainText(text);
        return;
    }
    QString shown;
    qsizetype lineStart = 0;
    while (lineStart <= text.size()) {
        qsizetype lineEnd = text.indexOf(u'\n', lineStart);
        if (lineEnd < 0) {
            lineEnd = text.size();
        }
        QStringView line = QStringView(text).mid(lineStart, lineEnd - lineStart);
        if (line.size() > kLongLine) {
            if (!inPieces_) {
                inPieces_ = true;
                shown.reserve(text.size() + text.size() / kPiece * 2 + 2);
                shown += QStringView(text).left(lineStart);
            }
            while (!line.isEmpty()) {
                const qsizetype length = pieceLength(line);
                shown += line.left(length);
                line = line.mid(length);
                if (!line.isEmpty()) {
                    shown += kJoiner;
                    shown += u'\n';
                }
            }
        } else if (inPieces_) {
            shown += line;
        }
        if (inPieces_ && lineEnd < text.size()) {
            shown += u'\n';
        }
        lineStart = lineEnd + 1;
    }
    setPlainText(inPieces_ ? shown : text);
}

QString TextBox::joined(QString shown) const {
    if (!inPieces_) {
        return shown;
    }
    // A joiner left alone when the user removed the break after it goes too.
    return shown.remove(QStringLiteral("\u2060\n")).remove(kJoiner);
}

QString TextBox::text() const {
    return joined(toPlainText());
}

QMimeData* TextBox::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(joined(textCursor().selection().toPlainText()));
    return data;
}
