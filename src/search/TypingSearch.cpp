#include "search/TypingSearch.h"

#include "platform/Prompter.h"
#include "records/AppState.h"

TypingSearch::TypingSearch(AppState& app, QObject* parent) : QObject(parent), app_(app) {
    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMs);
    connect(&pause_, &QTimer::timeout, this, &TypingSearch::runTyped);
}

TypingSearch::~TypingSearch() = default;

void TypingSearch::typed(SearchRunner::Search search) {
    search_ = std::move(search);
    if (runner_) {
        runner_->cancel();  // what it is still searching for is no longer wanted
    }
    pause_.start();
}

void TypingSearch::count(Count count) {
    // Each count has its own total, so an answer dropped never tells the total of another.
    total_ = std::make_shared<qint64>(0);
    counting_ = true;
    runner().run([count = std::move(count), total = total_](Database& db) -> std::optional<Rows> {
        const std::optional<qint64> all = count(db);
        if (!all) {
            return std::nullopt;
        }
        *total = *all;
        return Rows();
    });
}

void TypingSearch::cancel() {
    pause_.stop();
    search_ = {};
    if (runner_) {
        runner_->cancel();
    }
}

SearchRunner& TypingSearch::runner() {
    if (!runner_ || runnerConnection_ != app_.ConnectionString) {
        runnerConnection_ = app_.ConnectionString;
        runner_ = std::make_unique<SearchRunner>(runnerConnection_);
        connect(runner_.get(), &SearchRunner::answered, this, [this](const Rows& rows) {
            if (counting_) {
                Q_EMIT counted(*total_);
            } else {
                Q_EMIT found(rows);
            }
        });
        connect(runner_.get(), &SearchRunner::failed, this, &TypingSearch::failed);
    }
    return *runner_;
}

void TypingSearch::runTyped() {
    if (!search_) {
        return;
    }
    counting_ = false;
    runner().run(std::move(search_));
    search_ = {};
}

void showSearchFailure(Prompter& prompter, const QString& reason) {
    prompter.message(QStringLiteral("The search could not be made.\r\n") + reason,
                     QStringLiteral("Search Failed"), Prompter::Buttons::Ok,
                     Prompter::Icon::Exclamation);
}
