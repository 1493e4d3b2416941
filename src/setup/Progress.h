#pragma once

#include <QString>

// What a long copy tells the person waiting for it. The screens show it in a status label and a
// progress bar; headless callers print it or ignore it.
class Progress {
public:
    virtual ~Progress() = default;
    // A new stage has begun.
    virtual void status(const QString& caption) = 0;
    // value of maximum done in the current stage.
    virtual void progress(qint64 value, qint64 maximum) = 0;
    // Something went wrong but the copy goes on.
    virtual void beep() = 0;
};

// Tells nobody.
class SilentProgress : public Progress {
public:
    void status(const QString&) override {}
    void progress(qint64, qint64) override {}
    void beep() override {}
};
