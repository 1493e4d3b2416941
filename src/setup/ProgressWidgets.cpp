#include "setup/ProgressWidgets.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>

namespace {

// Often enough that the bar visibly moves, rarely enough that painting costs nothing.
constexpr qint64 kYieldEveryMs = 100;

int scaled(qint64 value, qint64 maximum) {
    return maximum <= 0 ? 0 : int(qMin<qint64>(value, maximum) * 1000 / maximum);
}

}  // namespace

BarProgress::BarProgress(QLabel* label, QProgressBar* bar) : label_(label), bar_(bar) {
    bar_->setRange(0, 1000);
    sinceYield_.start();
}

void BarProgress::status(const QString& caption) {
    label_->setText(caption);
    yield(true);
}

void BarProgress::progress(qint64 value, qint64 maximum) {
    if (sinceYield_.elapsed() >= kYieldEveryMs || value >= maximum) {
        bar_->setValue(scaled(value, maximum));
        bar_->setFormat(QString::number(value));
        yield(false);
    }
}

void BarProgress::beep() { QApplication::beep(); }

void BarProgress::yield(bool now) {
    if (now || sinceYield_.elapsed() >= kYieldEveryMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sinceYield_.restart();
    }
}

DialogProgress::DialogProgress(const QString& title) : title_(title) { sinceYield_.start(); }

DialogProgress::~DialogProgress() { delete dialog_.data(); }

void DialogProgress::status(const QString& caption) {
    if (caption.isEmpty()) {
        delete dialog_.data();
        return;
    }
    if (!dialog_) {
        dialog_ = new QProgressDialog(QApplication::activeWindow());
        dialog_->setWindowTitle(title_);
        dialog_->setCancelButton(nullptr);
        dialog_->setRange(0, 1000);
        dialog_->setMinimumDuration(0);
        dialog_->setWindowModality(Qt::ApplicationModal);
    }
    dialog_->setLabelText(caption);
    dialog_->setValue(0);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceYield_.restart();
}

void DialogProgress::progress(qint64 value, qint64 maximum) {
    if (dialog_ && sinceYield_.elapsed() >= kYieldEveryMs) {
        dialog_->setValue(scaled(value, maximum));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sinceYield_.restart();
    }
}

void DialogProgress::beep() { QApplication::beep(); }
