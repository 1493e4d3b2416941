#include "search/SearchRunner.h"

#include "db/Database.h"

#include <QThread>
#include <atomic>

// Owns the runner's connection, on the runner's thread.
class SearchRunner::Worker : public QObject {
public:
    Worker(QString connectionString, std::shared_ptr<std::atomic<quint64>> latest)
        : connectionString_(std::move(connectionString)), latest_(std::move(latest)) {}

    // Runs one search unless newer input has come since, and hands the answer to the runner.
    void run(quint64 serial, const Search& search, SearchRunner* runner) {
        if (serial != latest_->load()) {
            return;
        }
        std::optional<Rows> rows;
        QString error;
        // The connection is made on this thread, which alone uses it.
        if (!db_) {
            db_ = std::make_unique<Database>();
        }
        if (!db_->isOpen() && !db_->open(connectionString_)) {
            error = db_->lastError().message;
        } else {
            rows = search(*db_);
            if (!rows) {
                error = db_->lastError().message;
            }
        }
        // Dropped by Qt if the runner is gone by then.
        QMetaObject::invokeMethod(
            runner, [runner, serial, rows = std::move(rows), error] { runner->arrived(serial, rows, error); },
            Qt::QueuedConnection);
    }

private:
    QString connectionString_;
    std::shared_ptr<std::atomic<quint64>> latest_;
    std::unique_ptr<Database> db_;
};

SearchRunner::SearchRunner(QString connectionString, QObject* parent)
    : QObject(parent),
      thread_(std::make_unique<QThread>()),
      latest_(std::make_shared<std::atomic<quint64>>(0)) {
    worker_ = new Worker(std::move(connectionString), latest_);
    worker_->moveToThread(thread_.get());
    connect(thread_.get(), &QThread::finished, worker_, &QObject::deleteLater);
    thread_->start();
}

SearchRunner::~SearchRunner() {
    cancel();
    thread_->quit();
    thread_->wait();
}

void SearchRunner::run(Search search) {
    const quint64 serial = ++*latest_;
    Worker* worker = worker_;
    QMetaObject::invokeMethod(
        worker_, [worker, serial, search = std::move(search), this] { worker->run(serial, search, this); },
        Qt::QueuedConnection);
}

void SearchRunner::cancel() { ++*latest_; }

void SearchRunner::arrived(quint64 serial, const std::optional<Rows>& rows, const QString& error) {
    if (serial != latest_->load()) {
        return;  // newer input came while this search ran
    }
    if (rows) {
        Q_EMIT answered(*rows);
    } else {
        Q_EMIT failed(error);
    }
}
