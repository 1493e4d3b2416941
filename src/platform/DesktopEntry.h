#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

// An application's desktop entry (the freedesktop.org Desktop Entry format): how the desktop
// starts the program that opens a type of file.
class DesktopEntry {
public:
    // Reads the [Desktop Entry] group of the file; nothing when it has no Exec line.
    static std::optional<DesktopEntry> read(const QString& file);
    // The entry of a desktop file ID ("firefox.desktop", "kde-okular.desktop") in the
    // applications folders of the XDG data folders; empty when there is none.
    static QString locate(const QString& desktopId);

    // The program and its arguments that open the target, from the Exec line by the
    // format's rules: quoting and escapes undone, field codes given their values (%f,
    // %F the target's path, %u, %U its URL, %i the icon, %c the name, %k this file, %% a
    // percent sign, deprecated codes dropped). A target the line leaves no room for is added
    // at its end. Empty when the line cannot be read.
    QStringList command(const QUrl& target) const;
    // The program the Exec line starts, as its first word names it.
    QString program() const;

private:
    // The words of the Exec line, quotes and escapes undone; nothing for a malformed line.
    std::optional<QStringList> words() const;

    QString file_;
    QString exec_;
    QString name_;
    QString icon_;
};
