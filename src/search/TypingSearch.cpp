#include "search/TypingSearch.h"

#include "platform/Prompter.h"
#include "records/AppState.h"

TypingSearch::TypingSearch(AppState& app, QObject* parent) : QObject(parent), app_(app) {
    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMs);
    connect(&pause_, &QTimer::timeout, this, &TypingSearch::runTyped);
}

TypingSearch::~TypingSearch() = default;

void TypingSearch::typed(SearchRunner::Search search, Count count) {
    search_ = std::move(search);
    count_ = std::move(count);
    if (runner_) {
        runner_->cancel();  // what it is still searching for is no longer wanted
    }
    pause_.start();
}

void TypingSearch::cancel() {
    pause_.stop();
    search_ = {};
    count_ = {};
    if (runner_) {
        runner_->cancel();
    }
}

void TypingSearch::runTyped() {
    if (!search_) {
        return;
    }
    if (!runner_ || runnerConnection_ != app_.ConnectionString) {
        runnerConnection_ = app_.ConnectionString;
        runner_ = std::make_unique<SearchRunner>(runnerConnection_);
        connect(runner_.get(), &SearchRunner::answered, this,
                [this](const Rows& rows) { Q_EMIT found(rows, *total_); });
        connect(runner_.get(), &SearchRunner::failed, this, &TypingSearch::failed);
    }
    // Each search has its own count, so an answer dropped never tells the count of another.
    total_ = std::make_shared<qint64>(0);
    runner_->run([search = std::move(search_), count = std::move(count_),
                  total = total_](Database& db) -> std::optional<Rows> {
        if (count) {
            const std::optional<qint64> all = count(db);
            if (!all) {
                return std::nullopt;
            }
            *total = *all;
        }
        std::optional<Rows> rows = search(db);
        if (rows && !count) {
            *total = rows->count();
        }
        return rows;
    });
    search_ = {};
    count_ = {};
}

void showSearchFailure(Prompter& prompter, const QString& reason) {
    prompter.message(QStringLiteral("The search could not be made.\r\n") + reason,
                     QStringLiteral("Search Failed"), Prompter::Buttons::Ok,
                     Prompter::Icon::Exclamation);
}
