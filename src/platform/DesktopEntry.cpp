#include "platform/DesktopEntry.h"

#include <QFile>
#include <QStandardPaths>
#include <QTextStream>

namespace {

// A value of the string types with its escapes (\s \n \t \r \\) undone; any other backslash is
// left to the Exec line's own quoting.
QString unescapedValue(const QString& value) {
    static const QString escapes = QStringLiteral("sntr\\");
    static const QString meanings = QStringLiteral(" \n\t\r\\");
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const qsizetype escape =
            value.at(i) == u'\\' && i + 1 < value.size() ? escapes.indexOf(value.at(i + 1)) : -1;
        if (escape >= 0) {
            out += meanings.at(escape);
            ++i;
        } else {
            out += value.at(i);
        }
    }
    return out;
}

}  // namespace

std::optional<DesktopEntry> DesktopEntry::read(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return std::nullopt;
    }
    DesktopEntry entry;
    entry.file_ = file;
    QTextStream text(&in);
    bool inEntry = false;
    while (!text.atEnd()) {
        const QString line = text.readLine().trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inEntry || line.startsWith(u'#') || equals < 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        const QString value = unescapedValue(line.mid(equals + 1).trimmed());
        if (key == QLatin1String("Exec")) {
            entry.exec_ = value;
        } else if (key == QLatin1String("Name")) {
            entry.name_ = value;
        } else if (key == QLatin1String("Icon")) {
            entry.icon_ = value;
        }
    }
    if (entry.exec_.isEmpty()) {
        return std::nullopt;
    }
    return entry;
}

QString DesktopEntry::locate(const QString& desktopId) {
    // "kde-okular.desktop" may also stand as kde/okular.desktop.
    QString relative = desktopId;
    for (;;) {
        const QString found =
            QStandardPaths::locate(QStandardPaths::ApplicationsLocation, relative);
        if (!found.isEmpty()) {
            return found;
        }
        const qsizetype dash = relative.indexOf(u'-');
        if (dash < 0) {
            return {};
        }
        relative[dash] = u'/';
    }
}

std::optional<QStringList> DesktopEntry::words() const {
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec_.size(); ++i) {
        const QChar c = exec_.at(i);
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < exec_.size() &&
                       QStringLiteral("\"`$\\").contains(exec_.at(i + 1))) {
                word += exec_.at(++i);
            } else {
                word += c;
            }
        } else if (c == u' ' || c == u'\t') {
            if (inWord) {
                words << word;
                word.clear();
                inWord = false;
            }
        } else if (c == u'"') {
            quoted = true;
            inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    if (inWord) {
        words << word;
    }
    return words;
}

QStringList DesktopEntry::command(const QUrl& target) const {
    const auto parts = words();
    if (!parts || parts->isEmpty()) {
        return {};
    }
    const QString path = target.isLocalFile() ? target.toLocalFile() : target.toString();
    const QString url = target.toString();
    QStringList out;
    bool placed = false;
    for (const QString& word : *parts) {
        if (word == QLatin1String("%i")) {
            if (!icon_.isEmpty()) {
                out << QStringLiteral("--icon") << icon_;
            }
            continue;
        }
        QString expanded;
        bool dropped = false;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word.at(i) != u'%' || i + 1 == word.size()) {
                expanded += word.at(i);
                continue;
            }
            switch (word.at(++i).unicode()) {
                case u'f':
                case u'F':
                    expanded += path;
                    placed = true;
                    break;
                case u'u':
                case u'U':
                    expanded += url;
                    placed = true;
                    break;
                case u'c':
                    expanded += name_;
                    break;
                case u'k':
                    expanded += file_;
                    break;
                case u'%':
                    expanded += u'%';
                    break;
                default:  // deprecated codes (%d %D %n %N %v %m) and unknown ones
                    dropped = true;
                    break;
            }
        }
        if (!expanded.isEmpty() || !dropped) {
            out << expanded;
        }
    }
    if (!placed) {
        out << path;
    }
    return out;
}

QString DesktopEntry::program() const {
    const auto parts = words();
    return parts && !parts->isEmpty() ? parts->first() : QString();
}
