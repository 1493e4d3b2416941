#include "addressbook/ContactRecord.h"

#include "db/Database.h"
#include "db/RowValues.h"

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
    Version = {};
    Theirs = {};
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
    Version = rowversion::read(*rows, 0);
    int errors = 0;
    for (const QString& name : readFields()) {
        if (!readInto(*rows, name) && ++errors > kErrorsPassedOver) {
            return;
        }
    }
}

SaveOutcome ContactRecord::Save(const SaveStamp& stamp) {
    // Names are kept without the blanks around them, as the job's save looks them up.
    Name = Name.trimmed();
    RowValues row(db_.dialect(), table_);
    for (const QString& name : writtenFields()) {
        row.set(name, field(name).value());
    }
    if (DummyID >= 1 && Version.stored()) {
        if (!db_.exec(row.update() + QStringLiteral(", ") + rowversion::nextAssignments() +
                          QStringLiteral(" WHERE DummyID = ? AND ") + rowversion::kNumber +
                          QStringLiteral(" = ?"),
                      row.values() + rowversion::nextValues(stamp) +
                          QVariantList{DummyID, Version.number})) {
            return SaveOutcome::Failed;
        }
        if (db_.rowsAffected() == 0) {
            bool failed = false;
            const std::optional<RowVersion> now =
                rowversion::stored(db_, table_, QStringLiteral("DummyID"), DummyID, &failed);
            if (failed) {
                return SaveOutcome::Failed;
            }
            Theirs = now.value_or(RowVersion{});
            return now ? SaveOutcome::ChangedElsewhere : SaveOutcome::DeletedElsewhere;
        }
        Version = {Version.number + 1, stamp.by, stamp.at};
        return SaveOutcome::Saved;
    }
    if (DummyID >= 1) {
        // Written again under its own identity, which must still be free.
        bool failed = false;
        const std::optional<RowVersion> now =
            rowversion::stored(db_, table_, QStringLiteral("DummyID"), DummyID, &failed);
        if (failed) {
            return SaveOutcome::Failed;
        }
        if (now) {
            Theirs = *now;
            return SaveOutcome::ChangedElsewhere;
        }
        row.set(QStringLiteral("DummyID"), DummyID);
    }
    rowversion::setFirst(row, stamp);
    const std::optional<qint64> id = db_.insert(row.insert(), row.values());
    if (!id || *id > std::numeric_limits<qint32>::max()) {
        return SaveOutcome::Failed;
    }
    DummyID = qint32(*id);
    Version = {1, stamp.by, stamp.at};
    return SaveOutcome::Saved;
}

QList<conflicts::Difference> ContactRecord::differencesFrom(const ContactRecord& stored) const {
    const QStringList written = writtenFields();
    const struct {
        const char* column;
        const char* caption;
        const QString& theirs;
        const QString& mine;
    } fields[] = {{"Name", "Name:", stored.Name, Name},
                  {"Address", "Address:", stored.Address, Address},
                  {"Contact", "Contacts:", stored.Contact, Contact},
                  {"Telephone", "Telephone:", stored.Telephone, Telephone},
                  {"Email", "Email:", stored.Email, Email}};
    QList<conflicts::Difference> out;
    for (const auto& f : fields) {
        if (written.contains(QLatin1String(f.column), Qt::CaseInsensitive) && f.theirs != f.mine) {
            out.append({QString::fromLatin1(f.caption), f.theirs, f.mine});
        }
    }
    return out;
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

bool ContactRecord::Delete() {
    return db_.exec(QStringLiteral("DELETE FROM %1 WHERE DummyID = ?").arg(table_), {DummyID});
}

namespace addressbook {

std::optional<QList<qint64>> estimatesOfCustomer(Database& db, qint32 customerId) {
    const std::optional<Rows> rows = db.query(
        QStringLiteral("SELECT EstNo FROM Estimate WHERE ClientID = ? AND EstNo IS NOT NULL "
                       "ORDER BY EstNo"),
        {customerId});
    if (!rows) {
        return std::nullopt;
    }
    QList<qint64> numbers;
    numbers.reserve(rows->count());
    for (int i = 0; i < rows->count(); ++i) {
        numbers << rows->integer(i, QStringLiteral("EstNo"));
    }
    return numbers;
}

}  // namespace addressbook
