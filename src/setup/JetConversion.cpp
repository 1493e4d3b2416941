#include "setup/JetConversion.h"

#include "db/Database.h"
#include "db/Revisions.h"
#include "db/Schema.h"
#include "db/Upgrade.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/Connection.h"
#include "setup/JetSource.h"
#include "setup/Progress.h"

#include <QFile>
#include <QFileInfo>

namespace conversion {

namespace {

QString quoted(const QString& name) {
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString typeFor(const SqlDialect& d, TableSource::Kind kind) {
    switch (kind) {
        case TableSource::Kind::Integer:
        case TableSource::Kind::Boolean: return d.integer();
        case TableSource::Kind::Real: return d.real();
        case TableSource::Kind::DateTime: return d.dateTime();
        case TableSource::Kind::Binary: return QStringLiteral("BLOB");
        case TableSource::Kind::Text: break;
    }
    return d.text();
}

// Makes the target table ready for the source's rows.
bool prepareTable(Database& db, const QString& table, const QList<TableSource::Column>& columns) {
    const SqlDialect& d = db.dialect();
    if (db.hasTable(table)) {
        const QStringList existing = db.columns(table);
        for (const auto& c : columns) {
            if (!existing.contains(c.name, Qt::CaseInsensitive) &&
                !db.exec(QStringLiteral("ALTER TABLE ") + quoted(table) +
                         QStringLiteral(" ADD COLUMN ") + quoted(c.name) + u' ' +
                         typeFor(d, c.kind))) {
                return false;
            }
        }
        return db.exec(QStringLiteral("DELETE FROM ") + quoted(table));
    }
    QStringList definitions;
    bool haveIdentity = false;
    for (const auto& c : columns) {
        const bool identity = c.autoNumber && !haveIdentity;
        haveIdentity = haveIdentity || identity;
        definitions << quoted(c.name) + u' ' + (identity ? d.identity() : typeFor(d, c.kind));
    }
    return db.exec(QStringLiteral("CREATE TABLE ") + quoted(table) + QStringLiteral(" (") +
                   definitions.join(QStringLiteral(", ")) + u')');
}

}  // namespace

bool copyTables(TableSource& source, Database& db, Progress& progress, QString* error) {
    for (const QString& table : source.tables()) {
        const auto columns = source.columns(table);
        if (!columns) {
            *error = source.error();
            return false;
        }
        if (columns->isEmpty()) {
            continue;
        }
        progress.status(QStringLiteral("Converting ") + table);
        if (!prepareTable(db, table, *columns)) {
            *error = QStringLiteral("The table %1 cannot be made: %2")
                         .arg(table, db.lastError().message);
            return false;
        }
        QStringList names, marks;
        for (const auto& c : *columns) {
            names << quoted(c.name);
            marks << QStringLiteral("?");
        }
        const QString sql = QStringLiteral("INSERT INTO ") + quoted(table) + QStringLiteral(" (") +
                            names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                            marks.join(QStringLiteral(", ")) + u')';
        const qint64 total = qMax<qint64>(source.rowCount(table), 1);
        qint64 copied = 0;
        QString rowError;
        const bool read = source.readRows(table, [&](const QVariantList& values) {
            if (!db.exec(sql, values)) {
                rowError = QStringLiteral("Row %1 of the table %2 cannot be copied: %3")
                               .arg(copied + 1)
                               .arg(table, db.lastError().message);
                return false;
            }
            ++copied;
            progress.progress(copied, qMax(total, copied));
            return true;
        });
        if (!rowError.isEmpty() || !read) {
            *error = rowError.isEmpty() ? source.error() : rowError;
            return false;
        }
    }
    return true;
}

QString keptOriginalName(const QString& file) {
    const QFileInfo info(file);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QString stem = info.absolutePath() + u'/' + info.completeBaseName();
    for (int n = 1;; ++n) {
        const QString candidate = stem + QStringLiteral(" (earlier Windows release") +
                                  (n > 1 ? u' ' + QString::number(n) : QString()) + u')' + suffix;
        if (!QFileInfo::exists(candidate)) {
            return candidate;
        }
    }
}

namespace {

// Builds the converted database in a file of its own; empty text on success.
QString buildConverted(TableSource& source, const QString& target, Progress& progress) {
    QString failure = schema::createDatabaseFile(target);
    if (!failure.isEmpty()) {
        return failure;
    }
    Database db;
    if (!db.open(connection::forFile(target))) {
        return db.lastError().message;
    }
    {
        Transaction tx(db);
        if (!tx.active() || !copyTables(source, db, progress, &failure)) {
            return failure.isEmpty() ? db.lastError().message : failure;
        }
        // A file of a release before the version stamp gets the whole upgrade, as it would
        // have had it been opened by the earlier release's successor.
        if (source.findTable(QStringLiteral("Version")).isEmpty() &&
            !db.exec(QStringLiteral("DELETE FROM Version"))) {
            return db.lastError().message;
        }
        if (!tx.commit()) {
            return db.lastError().message;
        }
    }
    return revisions::bringUpToDate(db);
}

}  // namespace

Result ConvertJetDatabase(const QString& file, Progress& progress) {
    JetSource source(file);
    if (!source.isOpen()) {
        return {source.error(), {}};
    }
    return convertInPlace(source, file, progress);
}

Result convertInPlace(TableSource& source, const QString& file, Progress& progress) {
    if (source.findTable(QStringLiteral("Jobs")).isEmpty() ||
        source.findTable(QStringLiteral("Counters")).isEmpty()) {
        return {QStringLiteral("'%1' is not a database of Verdell: it has no Jobs and Counters "
                               "tables.")
                    .arg(file),
                {}};
    }
    const QString building = file + QStringLiteral(".converting");
    QFile::remove(building);
    QString failure = buildConverted(source, building, progress);
    if (failure.isEmpty()) {
        // The converted file takes the original's name only when the engine finds it whole.
        Database built;
        const QString integrity = built.open(connection::forFile(building))
                                      ? built.integrityCheck()
                                      : built.lastError().message;
        if (integrity != QLatin1String("ok")) {
            failure = QStringLiteral("The converted database failed the integrity check: %1")
                          .arg(integrity);
        }
    }
    if (!failure.isEmpty()) {
        QFile::remove(building);
        return {failure, {}};
    }
    const QString kept = keptOriginalName(file);
    if (!QFile::rename(file, kept)) {
        QFile::remove(building);
        return {QStringLiteral("'%1' cannot be renamed: it may be in use or its folder may be "
                               "read-only.")
                    .arg(file),
                {}};
    }
    if (!QFile::rename(building, file)) {
        QFile::rename(kept, file);
        QFile::remove(building);
        return {QStringLiteral("The converted database cannot be put in place of '%1'.").arg(file),
                {}};
    }
    return {{}, kept};
}

bool OfferJetConversion(AppState& app, const QString& file) {
    const QString kept = QFileInfo(keptOriginalName(file)).fileName();
    const auto answer = app.prompter.message(
        QStringLiteral("'%1' is a database of the earlier Windows release of Verdell.\r\n\r\n"
                       "Verdell can convert it: every table and row is copied into a database "
                       "of this version, and the original file is kept beside it as '%2'.\r\n\r\n"
                       "Do you want to convert it now?")
            .arg(file, kept),
        QStringLiteral("Convert Database"), Prompter::Buttons::YesNo, Prompter::Icon::Question);
    if (answer != Prompter::Answer::Yes) {
        return false;
    }
    SilentProgress silent;
    Progress& progress = app.conversionProgress ? *app.conversionProgress : silent;
    const Result result = ConvertJetDatabase(file, progress);
    progress.status({});
    if (!result.error.isEmpty()) {
        app.prompter.message(QStringLiteral("The database could not be converted:\r\n") +
                                 result.error +
                                 QStringLiteral("\r\n\r\nThe original file has not been changed."),
                             QStringLiteral("Database Not Converted"), Prompter::Buttons::Ok,
                             Prompter::Icon::Critical);
        return false;
    }
    const QFileInfo info(file);
    SetDBReg(app, info.absolutePath(), info.fileName());
    app.prompter.message(QStringLiteral("The database has been converted. The original file is "
                                        "kept as '%1'.")
                             .arg(result.keptOriginal),
                         QStringLiteral("Database Converted"), Prompter::Buttons::Ok,
                         Prompter::Icon::Information);
    return true;
}

}  // namespace conversion
