#include "db/ChangeWatcher.h"

#include "db/Database.h"
#include "db/RowVersion.h"

namespace changes {

QStringList followedTables() {
    return {QStringLiteral("Jobs"), QStringLiteral("Docs"), QStringLiteral("customers"),
            QStringLiteral("clients"), rowversion::kEstimateTable};
}

bool concerns(const QStringList& tables, const QString& table) {
    return tables.isEmpty() || tables.contains(table, Qt::CaseInsensitive);
}

}  // namespace changes

namespace {
constexpr int kIntervalMs = 500;
}  // namespace

ChangeWatcher::ChangeWatcher(Database& db, QObject* parent) : QObject(parent), db_(db) {
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &ChangeWatcher::poll);
}

void ChangeWatcher::start() {
    dataVersion_ = -1;
    poll();
    timer_.start();
}

void ChangeWatcher::stop() {
    timer_.stop();
    if (driver_) {
        disconnect(driver_, nullptr, this, nullptr);
        driver_->unsubscribeFromNotification(changes::kChannel);
    }
    driver_ = nullptr;
    heard_.clear();
}

void ChangeWatcher::listen() {
    QSqlDriver* driver = db_.handle().driver();
    if (!driver || driver == driver_) {
        return;
    }
    driver_ = driver;
    schema_ = db_.scalar(QStringLiteral("SELECT current_schema()")).toString();
    connect(driver, &QSqlDriver::notification, this, &ChangeWatcher::heard);
    driver->subscribeToNotification(changes::kChannel);
}

void ChangeWatcher::heard(const QString& name, QSqlDriver::NotificationSource source,
                          const QVariant& payload) {
    if (name != changes::kChannel || source == QSqlDriver::SelfSource) {
        return;
    }
    // "schema.table": several Verdell databases may share one server database.
    const QString text = payload.toString();
    const qsizetype dot = text.indexOf(u'.');
    if (dot < 0 || text.left(dot) != schema_) {
        return;
    }
    const QString table = text.mid(dot + 1);
    for (const QString& followed : changes::followedTables()) {
        if (followed.compare(table, Qt::CaseInsensitive) == 0 && !heard_.contains(followed)) {
            heard_ << followed;
        }
    }
}

void ChangeWatcher::poll() {
    if (!db_.isOpen() || db_.serverAway()) {
        return;
    }
    if (resync_) {
        resync_ = false;
        heard_.clear();
        dataVersion_ = -1;
        listen();
        Q_EMIT changed({});
        return;
    }
    if (db_.onServer()) {
        listen();
        if (!heard_.isEmpty()) {
            const QStringList tables = heard_;
            heard_.clear();
            Q_EMIT changed(tables);
        }
        return;
    }
    const QVariant version = db_.scalar(QStringLiteral("PRAGMA data_version"));
    if (!version.isValid()) {
        return;
    }
    const qint64 now = version.toLongLong();
    const bool moved = dataVersion_ >= 0 && now != dataVersion_;
    dataVersion_ = now;
    if (moved) {
        Q_EMIT changed({});
    }
}
