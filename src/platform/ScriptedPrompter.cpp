#include "platform/ScriptedPrompter.h"

#include <cstdio>
#include <cstdlib>

namespace {
// A routine that asks again and again until it gets a good answer would spin for ever on an
// empty script; stop the test instead.
constexpr int kRunawayLimit = 10000;
}  // namespace

void ScriptedPrompter::record(Call call) {
    calls_.append(std::move(call));
    if (calls_.size() > kRunawayLimit) {
        std::fprintf(stderr, "ScriptedPrompter: more than %d prompts, last: %s\n", kRunawayLimit,
                     qPrintable(calls_.last().prompt));
        std::abort();
    }
    if (onCall) {
        onCall(calls_.last());
    }
}

Prompter::Answer ScriptedPrompter::message(const QString& prompt, const QString& title,
                                           Buttons buttons, Icon icon) {
    record({Call::Kind::Message, prompt, title, buttons, icon});
    if (!answers_.isEmpty()) {
        return answers_.dequeue();
    }
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::OkCancel:
        case Buttons::YesNoCancel:
            return Answer::Cancel;
        case Buttons::YesNo:
            return Answer::No;
    }
    return Answer::Cancel;
}

int ScriptedPrompter::choose(const QString& prompt, const QString& title,
                             const QStringList& choices, Icon icon) {
    record({Call::Kind::Choice, prompt, title, Buttons::Ok, icon, choices});
    return picks_.isEmpty() ? int(choices.size()) - 1 : picks_.dequeue();
}

std::optional<QString> ScriptedPrompter::input(const QString& prompt, const QString& title,
                                              const QString&) {
    record({Call::Kind::Input, prompt, title});
    return inputs_.isEmpty() ? std::nullopt : inputs_.dequeue();
}

QString ScriptedPrompter::openFile(const QString& title, const QString&, const QString&) {
    record({Call::Kind::OpenFile, {}, title});
    return files_.isEmpty() ? QString() : files_.dequeue();
}

QStringList ScriptedPrompter::openFiles(const QString& title, const QString&, const QString&) {
    record({Call::Kind::OpenFile, {}, title});
    return fileLists_.isEmpty() ? QStringList() : fileLists_.dequeue();
}

QString ScriptedPrompter::saveFile(const QString& title, const QString& suggested, const QString&) {
    record({Call::Kind::SaveFile, suggested, title});
    return files_.isEmpty() ? QString() : files_.dequeue();
}

QStringList ScriptedPrompter::prompts() const {
    QStringList out;
    for (const auto& c : calls_) {
        out << c.prompt;
    }
    return out;
}

QStringList ScriptedPrompter::titles() const {
    QStringList out;
    for (const auto& c : calls_) {
        out << c.title;
    }
    return out;
}
