#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Every message box, input box and file-open dialog of the program goes through a Prompter, so
// that tests can answer them from a script and check their exact texts.
class Prompter {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    // The values are the icon bits of the classic message-box style word; 80 (critical and
    // information together) is a combination some messages use.
    enum class Icon {
        None = 0,
        Critical = 16,
        Question = 32,
        Exclamation = 48,
        Information = 64,
        CriticalInformation = 80
    };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompter() = default;

    // An empty title means the application's title, "Verdell".
    virtual Answer message(const QString& prompt, const QString& title = {},
                           Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;
    // One of several answers, each a button with its own caption (with an "&" before its access
    // key); Escape and the window's close button give the last one. The index of the answer.
    virtual int choose(const QString& prompt, const QString& title, const QStringList& choices,
                       Icon icon = Icon::Question) = 0;
    // The text typed, or no value when the user cancels (an empty answer is an empty text).
    virtual std::optional<QString> input(const QString& prompt, const QString& title = {},
                          const QString& defaultText = {}) = 0;
    // The chosen file's full name, or an empty text when the dialog was cancelled.
    virtual QString openFile(const QString& title = {}, const QString& folder = {},
                             const QString& filter = {}) = 0;
    // The full names of the files chosen (one or several), or none when the dialog was cancelled.
    virtual QStringList openFiles(const QString& title = {}, const QString& folder = {},
                                  const QString& filter = {}) = 0;
    // The full name of a file to write, or an empty text when the dialog was cancelled. The
    // suggestion is a folder or a file name to start from.
    virtual QString saveFile(const QString& title = {}, const QString& suggested = {},
                             const QString& filter = {}) = 0;

    static QString applicationTitle() { return QStringLiteral("Verdell"); }
};
