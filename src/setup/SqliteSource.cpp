#include "setup/SqliteSource.h"

namespace {

// A table name from the file's own catalogue, written as an identifier.
QString identifier(const QString& name) {
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

TableSource::Kind kindOf(const QString& declared) {
    const QString type = declared.toUpper();
    if (type.contains(QLatin1String("INT"))) {
        return TableSource::Kind::Integer;
    }
    if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA")) ||
        type.contains(QLatin1String("DOUB"))) {
        return TableSource::Kind::Real;
    }
    if (type.contains(QLatin1String("BLOB"))) {
        return TableSource::Kind::Binary;
    }
    return TableSource::Kind::Text;
}

}  // namespace

SqliteSource::SqliteSource(const QString& file) {
    if (!db_.open(connection::forFile(file))) {
        error_ = db_.lastError().message;
    }
}

QStringList SqliteSource::tables() { return db_.tables(); }

std::optional<QList<TableSource::Column>> SqliteSource::columns(const QString& table) {
    const auto rows = db_.query(QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?)"),
                                {table});
    if (!rows || rows->isEmpty()) {
        error_ = rows ? QStringLiteral("There is no table %1.").arg(table) : db_.lastError().message;
        return std::nullopt;
    }
    QList<Column> out;
    for (int i = 0; i < rows->count(); ++i) {
        const QString type = rows->text(i, QStringLiteral("type"));
        out << Column{rows->text(i, QStringLiteral("name")), kindOf(type),
                      rows->integer(i, QStringLiteral("pk")) > 0 &&
                          type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0};
    }
    return out;
}

qint64 SqliteSource::rowCount(const QString& table) {
    const QVariant n = db_.scalar(QStringLiteral("SELECT count(*) FROM ") + identifier(table));
    return n.isValid() ? n.toLongLong() : -1;
}

bool SqliteSource::readRows(const QString& table, const RowVisitor& visit) {
    const auto rows = db_.query(QStringLiteral("SELECT * FROM ") + identifier(table));
    if (!rows) {
        error_ = db_.lastError().message;
        return false;
    }
    const int width = int(rows->columns().size());
    QVariantList values;
    for (int i = 0; i < rows->count(); ++i) {
        values.clear();
        for (int c = 0; c < width; ++c) {
            values << rows->at(i, c);
        }
        if (!visit(values)) {
            break;
        }
    }
    return true;
}
