#include "db/TextKeys.h"

#include "db/SqlDialect.h"

#include <unicode/ucol.h>

#include <QtGlobal>

namespace textkeys {

namespace {

// ICU's collator, one for each thread that sorts (a collator is not shared between threads).
// It is the collator behind QCollator, asked directly because QCollatorSortKey only compares
// and never gives the key's bytes, which are what the database stores and orders by.
class Collator {
public:
    Collator() {
        UErrorCode status = U_ZERO_ERROR;
        collator_ = ucol_open("", &status);
        if (U_FAILURE(status) || !collator_) {
            qFatal("ICU's root collation cannot be opened: %s", u_errorName(status));
        }
        ucol_setStrength(collator_, UCOL_SECONDARY);
    }
    ~Collator() { ucol_close(collator_); }
    Collator(const Collator&) = delete;
    Collator& operator=(const Collator&) = delete;

    UCollator* get() const { return collator_; }

private:
    UCollator* collator_ = nullptr;
};

UCollator* collator() {
    thread_local const Collator one;
    return one.get();
}

QList<Keyed> registry() {
    QList<Keyed> out;
    auto add = [&out](const char* table, std::initializer_list<const char*> sorted,
                      std::initializer_list<const char*> searched) {
        for (const char* column : sorted) {
            out.append({QString::fromLatin1(table), QString::fromLatin1(column), true});
        }
        for (const char* column : searched) {
            out.append({QString::fromLatin1(table), QString::fromLatin1(column), false});
        }
    };
    add("Jobs", {"WorkName", "CustRef", "JobStatus", "IntroducedBy"},
        {"WorkDetails", "HomeAddress", "HomeNumbers", "CliName", "CliAddress", "CliNumbers",
         "ClientRef", "InvoiceStatus"});
    add("jobsreport", {"JobStatus", "IntroducedBy"}, {});
    add("customers", {"Name"}, {"Address"});
    add("clients", {"Name"}, {"Address"});
    add("engineers", {}, {"Engineer"});
    add("Stock", {}, {"Description"});
    add("DateFormat", {"DateFormat"}, {});
    add("jobStatus", {}, {"Status"});
    add("IntroducedBy", {}, {"IntroducedBy"});
    add("DocType", {}, {"DocType"});
    add("Templates", {}, {"FileName"});
    add("TemplateFields", {}, {"Id"});
    return out;
}

}  // namespace

QString folded(const QString& text) { return text.toCaseFolded(); }

QByteArray sortKey(const QString& text) {
    UCollator* c = collator();
    const auto* chars = reinterpret_cast<const UChar*>(text.utf16());
    const auto length = int32_t(text.size());
    QByteArray key(text.size() * 3 + 16, Qt::Uninitialized);
    auto fill = [&] {
        return ucol_getSortKey(c, chars, length, reinterpret_cast<uint8_t*>(key.data()),
                               int32_t(key.size()));
    };
    int32_t made = fill();
    if (made > key.size()) {
        key.resize(made);
        made = fill();
    }
    // Without the closing zero byte: a key that is the beginning of another still sorts first.
    key.resize(made > 0 ? made - 1 : 0);
    return key;
}

QString collatorVersion() {
    UVersionInfo version;
    ucol_getVersion(collator(), version);
    return QStringLiteral("%1.%2.%3.%4")
        .arg(version[0])
        .arg(version[1])
        .arg(version[2])
        .arg(version[3]);
}

QString foldedColumn(const QString& column) { return column + QStringLiteral("Folded"); }

QString sortKeyColumn(const QString& column) { return column + QStringLiteral("SortKey"); }

QStringList derivedColumns(const Keyed& keyed) {
    QStringList out{foldedColumn(keyed.column)};
    if (keyed.sorted) {
        out << sortKeyColumn(keyed.column);
    }
    return out;
}

QList<std::pair<QString, QString>> derivedColumnTypes(const Keyed& keyed, const SqlDialect& d) {
    QList<std::pair<QString, QString>> out{{foldedColumn(keyed.column), d.exactText()}};
    if (keyed.sorted) {
        out.append({sortKeyColumn(keyed.column), d.bytes()});
    }
    return out;
}

const QList<Keyed>& all() {
    static const QList<Keyed> list = registry();
    return list;
}

QList<Keyed> of(const QString& table) {
    QList<Keyed> out;
    for (const Keyed& k : all()) {
        if (k.table.compare(table, Qt::CaseInsensitive) == 0) {
            out << k;
        }
    }
    return out;
}

const Keyed* find(const QString& table, const QString& column) {
    for (const Keyed& k : all()) {
        if (k.table.compare(table, Qt::CaseInsensitive) == 0 &&
            k.column.compare(column, Qt::CaseInsensitive) == 0) {
            return &k;
        }
    }
    return nullptr;
}

QVariant foldedValue(const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        return {};
    }
    return folded(value.toString());
}

QVariant sortKeyValue(const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        return {};
    }
    return sortKey(value.toString());
}

Condition equals(const QString& column, const QString& text) {
    return {foldedColumn(column) + QStringLiteral(" = ?"), folded(text)};
}

Condition differs(const QString& column, const QString& text) {
    return {foldedColumn(column) + QStringLiteral(" <> ?"), folded(text)};
}

Condition like(const QString& column, const QString& pattern) {
    return {foldedColumn(column) + QStringLiteral(" LIKE ? ESCAPE '\\'"), folded(pattern)};
}

QString orderBy(const QString& table, const QString& column) {
    const Keyed* k = find(table, column);
    return (k && k->sorted ? sortKeyColumn(column) : column) + QStringLiteral(" NULLS FIRST");
}

}  // namespace textkeys
