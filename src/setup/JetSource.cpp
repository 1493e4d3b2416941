#include "setup/JetSource.h"

#include "common/DateText.h"

// libmdb's header declares C linkage around glib, whose headers must come first in C++.
#include <glib.h>
#include <mdbtools.h>

#include <QDateTime>
#include <QFile>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// The largest text or memo value read in one piece. A longer one fails the read rather than
// arrive cut short.
constexpr size_t kBindSize = 256 * 1024;
const char* const kDateFormat = "%Y-%m-%d %H:%M:%S";

TableSource::Kind kindOf(int mdbType) {
    switch (mdbType) {
        case MDB_BOOL: return TableSource::Kind::Boolean;
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
        case MDB_COMPLEX: return TableSource::Kind::Integer;
        case MDB_MONEY:
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_NUMERIC: return TableSource::Kind::Real;
        case MDB_DATETIME: return TableSource::Kind::DateTime;
        case MDB_BINARY:
        case MDB_OLE: return TableSource::Kind::Binary;
        default: return TableSource::Kind::Text;
    }
}

struct TableDefFree {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};
using TablePtr = std::unique_ptr<MdbTableDef, TableDefFree>;

MdbColumn* columnAt(MdbTableDef* t, unsigned i) {
    return static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
}

QVariant valueOf(MdbHandle* mdb, MdbColumn* col, const char* text, int length, bool isNull) {
    if (col->col_type == MDB_BOOL) {
        // A yes/no value lives in the row's null mask: it is never null.
        return QVariant(std::strcmp(text, "0") != 0);
    }
    if (isNull) {
        return {};
    }
    const QString s = QString::fromUtf8(text);
    switch (kindOf(col->col_type)) {
        case TableSource::Kind::Integer: return QVariant(s.toLongLong());
        case TableSource::Kind::Real: return QVariant(s.toDouble());
        case TableSource::Kind::DateTime: {
            const QDateTime moment = datetext::fromStored(s);
            return moment.isValid() ? QVariant(moment) : QVariant();
        }
        case TableSource::Kind::Binary: {
            if (col->col_type == MDB_OLE) {
                size_t size = 0;
                void* data = mdb_ole_read_full(mdb, col, &size);
                QByteArray bytes(static_cast<const char*>(data), qsizetype(size));
                g_free(data);
                return bytes;
            }
            return QByteArray(text, length);
        }
        default: return s;
    }
}

MdbHandle* mdb(void* handle) { return static_cast<MdbHandle*>(handle); }

}  // namespace

JetSource::JetSource(const QString& file) : file_(file) {
    if (!QFile::exists(file)) {
        fail(QStringLiteral("The file '%1' does not exist.").arg(file));
        return;
    }
    handle_ = mdb_open(QFile::encodeName(file).constData(), MDB_NOFLAGS);
    if (!mdb(handle_)) {
        fail(QStringLiteral("'%1' cannot be read as a database of the earlier Windows release.")
                 .arg(file));
        return;
    }
    mdb_set_date_fmt(mdb(handle_), kDateFormat);
    mdb_set_shortdate_fmt(mdb(handle_), kDateFormat);
    mdb_set_boolean_fmt_numbers(mdb(handle_));
    mdb_set_bind_size(mdb(handle_), kBindSize);
    if (!mdb_read_catalog(mdb(handle_), MDB_TABLE)) {
        mdb_close(mdb(handle_));
        handle_ = nullptr;
        fail(QStringLiteral("The list of tables in '%1' cannot be read: the file is damaged or "
                            "incomplete.")
                 .arg(file));
    }
}

JetSource::~JetSource() {
    if (handle_) {
        mdb_close(mdb(handle_));
    }
}

bool JetSource::fail(const QString& reason) {
    error_ = reason;
    return false;
}

QStringList JetSource::tables() {
    QStringList out;
    if (!handle_) {
        return out;
    }
    for (unsigned i = 0; i < mdb(handle_)->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb(handle_)->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry)) {
            out << QString::fromUtf8(entry->object_name);
        }
    }
    return out;
}

namespace {

TablePtr openTable(MdbHandle* mdb, const QString& name) {
    if (!mdb) {
        return nullptr;
    }
    QByteArray utf8 = name.toUtf8();
    TablePtr table(mdb_read_table_by_name(mdb, utf8.data(), MDB_TABLE));
    if (table && !mdb_read_columns(table.get())) {
        return nullptr;
    }
    return table;
}

}  // namespace

std::optional<QList<TableSource::Column>> JetSource::columns(const QString& name) {
    const TablePtr table = openTable(mdb(handle_), name);
    if (!table) {
        fail(QStringLiteral("The table %1 in '%2' cannot be read.").arg(name, file_));
        return std::nullopt;
    }
    QList<Column> out;
    for (unsigned i = 0; i < table->num_cols; ++i) {
        MdbColumn* col = columnAt(table.get(), i);
        out << Column{QString::fromUtf8(col->name), kindOf(col->col_type), col->is_long_auto != 0};
    }
    return out;
}

qint64 JetSource::rowCount(const QString& name) {
    const TablePtr table = openTable(mdb(handle_), name);
    return table ? qint64(table->num_rows) : -1;
}

bool JetSource::readRows(const QString& name, const RowVisitor& visit) {
    const TablePtr table = openTable(mdb(handle_), name);
    if (!table) {
        return fail(QStringLiteral("The table %1 in '%2' cannot be read.").arg(name, file_));
    }
    const unsigned width = table->num_cols;
    if (width > MDB_MAX_COLS) {
        return fail(QStringLiteral("The table %1 has more columns than can be read.").arg(name));
    }
    std::vector<std::vector<char>> buffers(width, std::vector<char>(kBindSize + 1, '\0'));
    std::vector<int> lengths(width, 0);
    for (unsigned c = 0; c < width; ++c) {
        mdb_bind_column(table.get(), int(c + 1), buffers[c].data(), &lengths[c]);
    }
    mdb_rewind_table(table.get());
    std::vector<MdbField> fields(MDB_MAX_COLS);
    QVariantList values;
    while (mdb_fetch_row(table.get())) {
        // The null mask of the row just fetched tells a null from an empty text.
        int start = 0;
        size_t size = 0;
        int cracked = 0;
        if (mdb_find_row(mdb(handle_), int(table->cur_row) - 1, &start, &size) == 0) {
            cracked = mdb_crack_row(table.get(), start, size, fields.data());
        }
        values.clear();
        for (unsigned c = 0; c < width; ++c) {
            const char* text = buffers[c].data();
            if (std::strlen(text) >= kBindSize - 1) {
                return fail(QStringLiteral("A value in the table %1 is too long to be read.")
                                .arg(name));
            }
            const bool isNull = int(c) < cracked ? fields[c].is_null != 0 : lengths[c] == 0;
            values << valueOf(mdb(handle_), columnAt(table.get(), c), text, lengths[c], isNull);
        }
        if (!visit(values)) {
            break;
        }
    }
    return true;
}
