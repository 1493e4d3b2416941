#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <unordered_map>

// The statements of a server connection, each prepared once and run again with new values, so
// that a statement the program repeats costs the server one round trip instead of three.
class PreparedStatements {
public:
    explicit PreparedStatements(QSqlDatabase db) : db_(std::move(db)) {}

    // The statement prepared on the connection; when preparing fails, the query holds the
    // reason and is not kept.
    QSqlQuery& get(const QString& sql, bool* prepared) {
        auto it = statements_.find(sql);
        if (it != statements_.end()) {
            *prepared = true;
            return it->second;
        }
        if (statements_.size() >= kLimit) {
            statements_.clear();  // a program uses a few dozen; past that, start again
        }
        QSqlQuery query(db_);
        query.setForwardOnly(true);
        *prepared = query.prepare(sql);
        if (!*prepared) {
            failed_ = std::move(query);
            return failed_;
        }
        return statements_.emplace(sql, std::move(query)).first->second;
    }

private:
    static constexpr size_t kLimit = 200;
    QSqlDatabase db_;
    std::unordered_map<QString, QSqlQuery> statements_;
    QSqlQuery failed_;
};
