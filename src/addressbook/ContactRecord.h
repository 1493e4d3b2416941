#pragma once

#include "db/RowVersion.h"
#include "records/SaveConflict.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class Database;
class Rows;

// One row of a contact table (customers or clients) by its identity DummyID: plain values with a
// Load and a Save that never report anything. A field that cannot be read (a missing column, a
// null where a number belongs) is passed over and the property keeps its value; after ten such
// failures the routine gives up. DummyID below 1 marks a record not stored yet.
class ContactRecord {
public:
    virtual ~ContactRecord() = default;

    qint32 DummyID = -1;
    qint32 ClientID = 0;
    QString Name;
    QString Address;
    QString Contact;
    QString Telephone;
    QString Email;
    std::array<QString, 6> Unused;  // Unused2 .. Unused7
    qint32 TypeID = 0;
    // The version loaded or saved; none for a record not stored (or to be written again).
    RowVersion Version;
    // After a save refused because another workstation saved the record: its version now.
    RowVersion Theirs;

    // Sets every property to its cleared value.
    virtual void ClearLocals();
    // Reads the row with that identity; when there is none, nothing changes.
    void Load(qint32 RecordId);
    // Writes the record's fields over the version loaded, stamped as saved now. When another
    // workstation saved the row since (Theirs then holds its version) or deleted it, nothing is
    // written. A record without a version is added: under its identity when it has one (written
    // again after a deletion elsewhere), otherwise as a new row whose identity it takes.
    SaveOutcome Save(const SaveStamp& stamp = {});
    // Deletes the row with the record's identity (none there is no failure). False when the
    // database refused, the row then as it was and the reason the connection's last error.
    bool Delete();
    // The fields this record writes, where the stored record differs from it.
    QList<conflicts::Difference> differencesFrom(const ContactRecord& stored) const;

protected:
    ContactRecord(Database& db, QString table);

    // The fields Load reads and Save writes, by column name.
    virtual QStringList readFields() const = 0;
    virtual QStringList writtenFields() const = 0;

private:
    struct Field;
    // The property a column name stands for.
    Field field(const QString& name);
    bool readInto(const Rows& rows, const QString& name);

    Database& db_;
    QString table_;
};

// A customer: the person the work is for, to whom estimates belong.
class clsCustomers : public ContactRecord {
public:
    explicit clsCustomers(Database& db);

protected:
    QStringList readFields() const override;
    QStringList writtenFields() const override;
};

// A client: a company that sends work. Only its name, address and contact are stored through
// this record; the other properties are carried but never loaded or saved.
class clsClients : public ContactRecord {
public:
    explicit clsClients(Database& db);

    QString Notes;

    void ClearLocals() override;

protected:
    QStringList readFields() const override;
    QStringList writtenFields() const override;
};

namespace addressbook {

// The estimate number of each estimate line that names the customer, in number order; nothing
// when they cannot be read (see db.lastError()).
std::optional<QList<qint64>> estimatesOfCustomer(Database& db, qint32 customerId);

}  // namespace addressbook
