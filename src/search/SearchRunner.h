#pragma once

#include "db/Rows.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class Database;
class QThread;

// Runs searches away from the screen's thread, on a connection of its own to the database the
// connection string names, so typing never waits for a search. Each search handed in replaces
// the one before: an answer that arrives after newer input is dropped, and a search still
// waiting its turn is never run.
class SearchRunner : public QObject {
    Q_OBJECT
public:
    // A search: reads its rows from the runner's connection; nothing on failure (the reason in
    // the connection's last error).
    using Search = std::function<std::optional<Rows>(Database&)>;

    explicit SearchRunner(QString connectionString, QObject* parent = nullptr);
    ~SearchRunner() override;
    SearchRunner(const SearchRunner&) = delete;
    SearchRunner& operator=(const SearchRunner&) = delete;

    // Starts a search; the answer comes as answered() or failed(), unless newer input came.
    void run(Search search);
    // Drops whatever answer is still to come.
    void cancel();

Q_SIGNALS:
    void answered(const Rows& rows);
    void failed(const QString& message);

private:
    class Worker;
    void arrived(quint64 serial, const std::optional<Rows>& rows, const QString& error);

    std::unique_ptr<QThread> thread_;
    Worker* worker_ = nullptr;  // lives on thread_
    std::shared_ptr<std::atomic<quint64>> latest_;
};
