#include "addressbook/ContactRecord.h"

#include "startup/Database.h"
#include "startup/RowValues.h"

#include <QVariantList>
#include <limits>

namespace {

constexpr int kErrorsPassedOver = 9;

const QStringList& unusedFields() {
    static const QStringList names = {QStringLiteral("Unused2"), QStringLiteral("Unused3"),
                                      QStringLiteral("Unused4"), QStringLiteral("Unused5"),
                                      QStringLiteral("Unused6"), QStringLiteral("Unused7")};
    return names;
}

}  // namespace

// A property seen through its column: a whole number or a text.
struct ContactRecord::Field {
    qint32* number = nullptr;
    QString* text = nullptr;

    QVariant value() const {
        return number ? QVariant(*number) : QVariant(text ? *text : QString());
    }
};

ContactRecord::ContactRecord(Database& db, QString table) : db_(db), table_(std::move(table)) {}

void ContactRecord::ClearLocals() {
    DummyID = -1;
    ClientID = 0;
    Name.clear();
    Address.clear();
    Contact.clear();
    Telephone.clear();
    Email.clear();
    for (QString& unused : Unused) {
        unused.clear();
    }
    TypeID = 0;
}

ContactRecord::Field ContactRecord::field(const QString& name) {
    const auto is = [&name](const char* column) {
        return name.compare(QLatin1String(column), Qt::CaseInsensitive) == 0;
    };
    if (is("DummyID"))
        return {&DummyID, nullptr};
    if (is("ClientID"))
        return {&ClientID, nullptr};
    if (is("TypeID"))
        return {&TypeID, nullptr};
    if (is("Name"))
        return {nullptr, &Name};
    if (is("Address"))
        return {nullptr, &Address};
    if (is("Contact"))
        return {nullptr, &Contact};
    if (is("Telephone"))
        return {nullptr, &Telephone};
    if (is("Email"))
        return {nullptr, &Email};
    const int unused = unusedFields().indexOf(name, 0);
    if (unused >= 0)
        return {nullptr, &Unused[size_t(unused)]};
    return {};
}

bool ContactRecord::readInto(const Rows& rows, const QString& name) {
    const int column = rows.column(name);
    const Field target = field(name);
    if (column < 0 || (!target.number && !target.text)) {
        return false;
    }
    const QVariant& value = rows.at(0, column);
    if (target.text) {
        *target.text = value.isNull() ? QString() : value.toString();
        return true;
    }
    bool whole = false;
    const qlonglong number = value.isNull() ? 0 : value.toLongLong(&whole);
    if (!whole || number < std::numeric_limits<qint32>::min() ||
        number > std::numeric_limits<qint32>::max()) {
        return false;
    }
    *target.number = qint32(number);
    return true;
}

void ContactRecord::Load(qint32 RecordId) {
    const std::optional<Rows> rows =
        db_.query(QStringLiteral("SELECT * FROM ") + table_ + QStringLiteral(" WHERE DummyID = ?"),
                  {RecordId});
    if (!rows || rows->isEmpty()) {
        return;
    }
    int errors = 0;
    for (const QString& name : readFields()) {
        if (!readInto(*rows, name) && ++errors > kErrorsPassedOver) {
            return;
        }
    }
}

bool ContactRecord::Save() {
    // Names are kept without the blanks around them, as the job's save looks them up.
    Name = Name.trimmed();
    RowValues row(db_.dialect(), table_);
    for (const QString& name : writtenFields()) {
        row.set(name, field(name).value());
    }
    // A record whose row has gone (or never was) is added again as a new row.
    const QVariant stored = DummyID >= 1
                                ? db_.scalar(QStringLiteral("SELECT DummyID FROM ") + table_ +
                                                 QStringLiteral(" WHERE DummyID = ?"),
                                             {DummyID})
                                : QVariant();
    if (stored.isValid()) {
        return db_.exec(row.update() + QStringLiteral(" WHERE DummyID = ?"),
                        row.values() + QVariantList{DummyID});
    }
    const std::optional<qint64> id = db_.insert(row.insert(), row.values());
    if (!id || *id > std::numeric_limits<qint32>::max()) {
        return false;
    }
    DummyID = qint32(*id);
    return true;
}

clsCustomers::clsCustomers(Database& db) : ContactRecord(db, QStringLiteral("customers")) {}

QStringList clsCustomers::readFields() const {
    return QStringList{QStringLiteral("DummyID"), QStringLiteral("ClientID"),
                       QStringLiteral("Name"),    QStringLiteral("Address"),
                       QStringLiteral("Contact"), QStringLiteral("Telephone"),
                       QStringLiteral("Email")} +
           unusedFields() + QStringList{QStringLiteral("TypeID")};
}

QStringList clsCustomers::writtenFields() const {
    return {QStringLiteral("ClientID"), QStringLiteral("Name"),      QStringLiteral("Address"),
            QStringLiteral("Contact"),  QStringLiteral("Telephone"), QStringLiteral("Email"),
            QStringLiteral("TypeID")};
}

clsClients::clsClients(Database& db) : ContactRecord(db, QStringLiteral("clients")) {
    clsClients::ClearLocals();
}

void clsClients::ClearLocals() {
    ContactRecord::ClearLocals();
    ClientID = -1;
    TypeID = -1;
    Notes.clear();
}

QStringList clsClients::readFields() const {
    return {QStringLiteral("DummyID"), QStringLiteral("Name"), QStringLiteral("Address"),
            QStringLiteral("Contact")};
}

QStringList clsClients::writtenFields() const {
    return {QStringLiteral("Name"), QStringLiteral("Address"), QStringLiteral("Contact")};
}
