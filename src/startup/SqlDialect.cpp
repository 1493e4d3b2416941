#include "startup/SqlDialect.h"

QString SqlDialect::identity() const {
    return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
}

QString SqlDialect::text() const { return QStringLiteral("TEXT COLLATE NOCASE"); }

QString SqlDialect::quote(const QString& name) const { return u'"' + name + u'"'; }

QString SqlDialect::beginWrite() const { return QStringLiteral("BEGIN IMMEDIATE"); }
