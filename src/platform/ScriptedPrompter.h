#pragma once

#include "platform/Prompter.h"

#include <QList>
#include <QQueue>
#include <functional>

// Test double: answers from a script and records every call.
class ScriptedPrompter : public Prompter {
public:
    struct Call {
        enum class Kind { Message, Choice, Input, OpenFile, SaveFile } kind;
        QString prompt;
        QString title;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        QStringList choices = {};
    };

    Answer message(const QString& prompt, const QString& title, Buttons buttons,
                   Icon icon) override;
    int choose(const QString& prompt, const QString& title, const QStringList& choices,
               Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString openFile(const QString& title, const QString& folder, const QString& filter) override;
    QStringList openFiles(const QString& title, const QString& folder,
                          const QString& filter) override;
    QString saveFile(const QString& title, const QString& suggested,
                     const QString& filter) override;

    // Queued answers, used in order. When the queue is empty a message gets the answer that
    // leaves things as they were (OK, Cancel or No), an input box is cancelled and a file
    // dialog gives an empty text. Open and save dialogs take their answers from the same queue
    // of files.
    void answer(Answer a) { answers_.enqueue(a); }
    // The answer (its index) of the next choice; with none queued the last answer is taken.
    void pick(int index) { picks_.enqueue(index); }
    void type(const QString& text) { inputs_.enqueue(text); }
    // The next input box is cancelled.
    void cancelInput() { inputs_.enqueue(std::nullopt); }
    // The answer of the next file dialog, to open or to save.
    void chooseFile(const QString& path) { files_.enqueue(path); }
    // The answer of the next dialog choosing several files to open.
    void chooseFiles(const QStringList& paths) { fileLists_.enqueue(paths); }
    // Called while a message is shown, before it is answered (to look at the screen then).
    std::function<void(const Call&)> onCall;

    const QList<Call>& calls() const { return calls_; }
    QStringList prompts() const;
    QStringList titles() const;
    int count() const { return int(calls_.size()); }
    const Call& last() const { return calls_.last(); }
    void clear() { calls_.clear(); }

private:
    void record(Call call);

    QList<Call> calls_;
    QQueue<Answer> answers_;
    QQueue<int> picks_;
    QQueue<std::optional<QString>> inputs_;
    QQueue<QString> files_;
    QQueue<QStringList> fileLists_;
};
