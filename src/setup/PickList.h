#pragma once

#include <QString>
#include <QStringList>

class Database;

namespace setupvalues {

// One of the one-column lists the job screen offers (job statuses, introducers, document
// types), kept in its own table.
class PickList {
public:
    PickList(Database& db, QString table, QString field);

    const QString& table() const { return table_; }
    // The entries in table order; a null reads as an empty text.
    QStringList entries();
    // Adds a row holding the text. False when it could not be written.
    bool add(const QString& entry);
    // Deletes the first row holding the text (compared as the database compares texts).
    bool remove(const QString& entry);

private:
    Database& db_;
    QString table_;
    QString field_;
};

}  // namespace setupvalues
