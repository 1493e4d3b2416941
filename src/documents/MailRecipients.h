#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Database;
class Prompter;

// Who a document sent by e-mail goes to: the addresses the address book keeps for the people a
// job or an estimate names. Jobs keep no address of their own, so a job's customer and client
// are found by name, as the job's save finds their rows.
namespace mail {

// Someone named on the job or estimate, with the addresses on record.
struct Addressee {
    QString role;  // "customer" or "client"
    QString name;
    QStringList addresses;
};

struct Recipients {
    QList<Addressee> found;  // the customer first
    // Why someone named has no address that can be used, one clause each.
    QStringList missing;
};

// The addresses in a stored e-mail field: several may be kept apart by commas, semicolons or
// line breaks (not those inside double quotes). Those that do not read as an address (no "@",
// or what a mail link would take as an option, a link or its headers) are left out.
QStringList addressesIn(const QString& stored);

// The job's customer (the customers row of that name) and client (the clients row of that
// name). A name that no row or several rows have, or a row without an address, is missing.
Recipients jobRecipients(Database& db, const QString& customerName, const QString& clientName);
// The estimate's customer.
Recipients estimateRecipients(Database& db, qint64 estNo);

// The addresses the message goes to. With the customer and the client both found the user
// chooses (the customer, the client or both; nothing when they cancel); with nobody found the
// user is told why and the message goes to nobody.
std::optional<QStringList> chooseRecipients(Prompter& prompter, const Recipients& recipients);

}  // namespace mail
