#include "db/ResultExport.h"

#include "db/Database.h"

namespace resultexport {

namespace {

void writeHeader(csv::Writer& writer, const QList<Column>& columns) {
    for (const Column& column : columns) {
        writer.field(column.heading);
    }
    writer.endRecord();
}

// Each column's position among the fields named, or -1.
std::vector<int> positions(const QList<Column>& columns, const QStringList& fields) {
    std::vector<int> at;
    at.reserve(size_t(columns.size()));
    for (const Column& column : columns) {
        int found = -1;
        for (qsizetype i = 0; i < fields.size() && found < 0; ++i) {
            if (fields[i].compare(column.field, Qt::CaseInsensitive) == 0) {
                found = int(i);
            }
        }
        at.push_back(found);
    }
    return at;
}

// One record of the cells of a row; false once writing has failed.
bool writeRecord(csv::Writer& writer, const QList<Column>& columns, const std::vector<int>& at,
                 const QVariant* cells) {
    for (qsizetype c = 0; c < columns.size(); ++c) {
        const int source = at[size_t(c)];
        writer.field(source < 0 ? QString() : csv::valueText(cells[source], columns[c].kind));
    }
    return writer.endRecord();
}

// A query's rows written as they come.
class RecordsWritten : public Database::RowReader {
public:
    RecordsWritten(csv::Writer& writer, const QList<Column>& columns)
        : writer_(writer), columns_(columns) {}

    void columns(const QStringList& names) override {
        at_ = positions(columns_, names);
        cells_.assign(size_t(names.size()), QVariant());
    }
    QVariant* nextRow() override { return cells_.data(); }
    bool rowRead() override {
        ++written_;
        return writeRecord(writer_, columns_, at_, cells_.data());
    }
    qint64 written() const { return written_; }

private:
    csv::Writer& writer_;
    const QList<Column>& columns_;
    std::vector<int> at_;
    std::vector<QVariant> cells_;
    qint64 written_ = 0;
};

Outcome committed(csv::Writer& writer, qint64 rows) {
    if (!writer.commit()) {
        return {false, 0, writer.error()};
    }
    return {true, rows, {}};
}

}  // namespace

Outcome exportQuery(Database& db, const QString& file, const QList<Column>& columns,
                    const std::function<Statement(textindex::Through)>& statement) {
    csv::Writer writer;
    qint64 written = 0;
    const std::optional<Rows> answered =
        textindex::answer(db, [&](textindex::Through via) -> std::optional<Rows> {
            // Each try writes the file from its start.
            writer.cancel();
            if (!writer.open(file)) {
                return Rows();  // nothing to read it into: no second try
            }
            writeHeader(writer, columns);
            const Statement s = statement(via);
            RecordsWritten records(writer, columns);
            if (!db.read(s.sql, s.params, records)) {
                return std::nullopt;
            }
            written = records.written();
            return Rows();
        });
    if (!answered) {
        writer.cancel();
        return {false, 0,
                QStringLiteral("The rows could not be read: %1").arg(db.lastError().message)};
    }
    return committed(writer, written);
}

Outcome exportRows(const QString& file, const QList<Column>& columns, const Rows& rows,
                   const std::vector<int>& order) {
    csv::Writer writer;
    if (!writer.open(file)) {
        return {false, 0, writer.error()};
    }
    writeHeader(writer, columns);
    const std::vector<int> at = positions(columns, rows.columns());
    std::vector<QVariant> cells(size_t(rows.columns().size()));
    const int count = order.empty() ? rows.count() : int(order.size());
    for (int i = 0; i < count; ++i) {
        const int row = order.empty() ? i : order[size_t(i)];
        for (size_t c = 0; c < cells.size(); ++c) {
            cells[c] = rows.at(row, int(c));
        }
        if (!writeRecord(writer, columns, at, cells.data())) {
            break;
        }
    }
    return committed(writer, count);
}

}  // namespace resultexport
