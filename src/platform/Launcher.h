#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// A message for the user's mail program to open ready to send: who it goes to (nobody, when
// no address is known), its subject and the one file attached.
struct MailMessage {
    QStringList to;
    QString subject;
    QString attachment;
};

// The arguments of `xdg-email` for the message: the options, then each address as an argument
// of its own. xdg-email takes the texts as UTF-8 and encodes the subject and the attachment's
// path itself; the addresses go into its mailto: link as they are, so the caller hands over
// only texts that read as addresses.
QStringList xdgEmailArguments(const MailMessage& mail);

// LibreOffice's program (soffice or libreoffice on PATH), or an empty text when it is not
// installed.
QString officeProgram();

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
    // Whether a mail program can be handed a message at all.
    virtual bool canEmail() = 0;
    // Opens a new message in the user's mail program; false when none could be started.
    [[nodiscard]] virtual bool email(const MailMessage& mail) = 0;
};

// Uses the desktop's file associations (xdg-mime and the programs' desktop entries),
// LibreOffice, and xdg-email for mail (inside a Flatpak sandbox the xdg-email there hands the
// message to the desktop's mail portal). Where the system cannot be asked which program opens a
// type (no xdg-mime), a document or page goes to the desktop's own opener, by default Qt's.
class DesktopLauncher : public Launcher {
public:
    explicit DesktopLauncher(std::function<bool(const QUrl&)> desktopOpener = {});

    bool open(const QString& path) override;
    bool openUrl(const QUrl& url) override;
    bool print(const QString& path) override;
    bool editTemplate(const QString& path) override;
    QString programFor(const QString& filePath) override;
    bool canEmail() override;
    bool email(const MailMessage& mail) override;

private:
    bool openWithDefault(const QUrl& url);

    std::function<bool(const QUrl&)> desktopOpener_;
};

// Test double: records every request and reports success unless told otherwise.
class RecordingLauncher : public Launcher {
public:
    struct Request {
        QString action;  // "open", "openUrl", "print", "editTemplate", "email"
        QString target;  // for "email", the attachment
    };
    // A program started as DesktopLauncher would start it.
    struct Command {
        QString program;
        QStringList arguments;
    };

    bool open(const QString& path) override { return record({"open", path}); }
    bool openUrl(const QUrl& url) override { return record({"openUrl", url.toString()}); }
    bool print(const QString& path) override { return record({"print", path}); }
    bool editTemplate(const QString& path) override { return record({"editTemplate", path}); }
    QString programFor(const QString& filePath) override {
        lookedUp << filePath;
        return registeredProgram;
    }
    bool canEmail() override { return mailProgramInstalled; }
    bool email(const MailMessage& mail) override {
        if (!mailProgramInstalled) {
            return false;
        }
        mails << Command{QStringLiteral("xdg-email"), xdgEmailArguments(mail)};
        return record({"email", mail.attachment});
    }

    QList<Request> requests;
    QStringList lookedUp;
    QString registeredProgram;
    QList<Command> mails;
    bool succeed = true;  // false: no program takes anything
    bool mailProgramInstalled = true;

private:
    bool record(Request r) {
        requests << std::move(r);
        return succeed;
    }
};
