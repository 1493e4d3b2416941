#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// Hands files and pages to the user's own programs.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Opens a document with the program registered for its type.
    virtual bool open(const QString& path) = 0;
    virtual bool openUrl(const QUrl& url) = 0;
    // Prints a document without showing it (LibreOffice, when installed).
    virtual bool print(const QString& path) = 0;
    // Opens a template itself for editing rather than a new document made from it.
    virtual bool editTemplate(const QString& path) = 0;
    // Starts a program and does not wait for it.
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
    // The program registered to open the given file, or an empty text when there is none.
    virtual QString programFor(const QString& filePath) = 0;
};

// Uses the desktop's file associations (xdg) and LibreOffice.
class DesktopLauncher : public Launcher {
public:
    bool open(const QString& path) override;
    bool openUrl(const QUrl& url) override;
    bool print(const QString& path) override;
    bool editTemplate(const QString& path) override;
    bool start(const QString& program, const QStringList& arguments) override;
    QString programFor(const QString& filePath) override;
};

// Test double: records every request and reports success unless told otherwise.
class RecordingLauncher : public Launcher {
public:
    struct Request {
        QString action;  // "open", "openUrl", "print", "editTemplate", "start"
        QString target;
        QStringList arguments;
    };

    bool open(const QString& path) override { return record({"open", path, {}}); }
    bool openUrl(const QUrl& url) override { return record({"openUrl", url.toString(), {}}); }
    bool print(const QString& path) override { return record({"print", path, {}}); }
    bool editTemplate(const QString& path) override { return record({"editTemplate", path, {}}); }
    bool start(const QString& program, const QStringList& arguments) override {
        return record({"start", program, arguments});
    }
    QString programFor(const QString& filePath) override {
        lookedUp << filePath;
        return registeredProgram;
    }

    QList<Request> requests;
    QStringList lookedUp;
    QString registeredProgram;
    bool succeed = true;

private:
    bool record(Request r) {
        requests << std::move(r);
        return succeed;
    }
};
