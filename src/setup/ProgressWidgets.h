#pragma once

#include "setup/Progress.h"

#include <QElapsedTimer>
#include <QPointer>

class QLabel;
class QProgressBar;
class QProgressDialog;

// Progress shown in a status label and a progress bar of a screen. The screen is repainted a few
// times a second while the work runs on.
class BarProgress : public Progress {
public:
    BarProgress(QLabel* label, QProgressBar* bar);
    void status(const QString& caption) override;
    void progress(qint64 value, qint64 maximum) override;
    void beep() override;

private:
    void yield(bool now);

    QLabel* label_;
    QProgressBar* bar_;
    QElapsedTimer sinceYield_;
};

// Progress in a window of its own, shown while a stage runs and closed by an empty caption.
class DialogProgress : public Progress {
public:
    explicit DialogProgress(const QString& title);
    ~DialogProgress() override;
    void status(const QString& caption) override;
    void progress(qint64 value, qint64 maximum) override;
    void beep() override;

private:
    QString title_;
    QPointer<QProgressDialog> dialog_;
    QElapsedTimer sinceYield_;
};
