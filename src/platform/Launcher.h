#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// Hands files and pages to the user's own programs. Each request says whether a program took
// it: false when none is set up for the type, or the one set up could not be started.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Opens a document with the program registered for its type.
    [[nodiscard]] virtual bool open(const QString& path) = 0;
    [[nodiscard]] virtual bool openUrl(const QUrl& url) = 0;
    // Prints a document without showing it (LibreOffice, when installed).
    [[nodiscard]] virtual bool print(const QString& path) = 0;
    // Opens a template itself for editing rather than a new document made from it.
    [[nodiscard]] virtual bool editTemplate(const QString& path) = 0;
    // The program registered to open the given file, or an empty text when there is none.
    virtual QString programFor(const QString& filePath) = 0;
};

// Uses the desktop's file associations (xdg-mime and the programs' desktop entries) and
// LibreOffice. Where the system cannot be asked which program opens a type (no xdg-mime), a
// document or page goes to the desktop's own opener, by default Qt's.
class DesktopLauncher : public Launcher {
public:
    explicit DesktopLauncher(std::function<bool(const QUrl&)> desktopOpener = {});

    bool open(const QString& path) override;
    bool openUrl(const QUrl& url) override;
    bool print(const QString& path) override;
    bool editTemplate(const QString& path) override;
    QString programFor(const QString& filePath) override;

private:
    bool openWithDefault(const QUrl& url);

    std::function<bool(const QUrl&)> desktopOpener_;
};

// Test double: records every request and reports success unless told otherwise.
class RecordingLauncher : public Launcher {
public:
    struct Request {
        QString action;  // "open", "openUrl", "print", "editTemplate"
        QString target;
    };

    bool open(const QString& path) override { return record({"open", path}); }
    bool openUrl(const QUrl& url) override { return record({"openUrl", url.toString()}); }
    bool print(const QString& path) override { return record({"print", path}); }
    bool editTemplate(const QString& path) override { return record({"editTemplate", path}); }
    QString programFor(const QString& filePath) override {
        lookedUp << filePath;
        return registeredProgram;
    }

    QList<Request> requests;
    QStringList lookedUp;
    QString registeredProgram;
    bool succeed = true;  // false: no program takes anything

private:
    bool record(Request r) {
        requests << std::move(r);
        return succeed;
    }
};
