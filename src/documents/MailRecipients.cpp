#include "documents/MailRecipients.h"

#include "db/Database.h"
#include "db/TextKeys.h"
#include "platform/Prompter.h"

namespace mail {

namespace {

// xdg-email reads an argument that starts with "-" as an option and one that starts with
// "mailto:" as a whole link, and puts an address into its link as it is, where "?" would start
// the link's headers (an attachment of the sender's choosing among them) and "%" an escape.
bool readsAsAddress(const QString& text) {
    if (!text.contains(u'@') || text.startsWith(u'-') ||
        text.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) {
        return false;
    }
    for (const QChar c : text) {
        if (c == u'?' || c == u'%' || c.category() == QChar::Other_Control) {
            return false;
        }
    }
    return true;
}

QString quoted(const QString& name) {
    return u'"' + name + u'"';
}

// The addressee of that name in the table, or the clause that says why there is none.
void lookUp(Database& db, const QString& table, const QString& role, const QString& typedName,
            Recipients& out) {
    const QString name = typedName.trimmed();
    if (name.isEmpty()) {
        return;
    }
    const textkeys::Condition named = textkeys::equals(QStringLiteral("Name"), name);
    const std::optional<Rows> rows =
        db.query(QStringLiteral("SELECT Email FROM ") + table + QStringLiteral(" WHERE ") +
                     named.sql + QStringLiteral(" ORDER BY DummyId"),
                 {named.value});
    if (!rows) {
        out.missing << QStringLiteral("the address book could not be read (%1)")
                           .arg(db.lastError().message);
    } else if (rows->isEmpty()) {
        out.missing
            << QStringLiteral("no %1 named %2 is in the address book").arg(role, quoted(name));
    } else if (rows->count() > 1) {
        out.missing << QStringLiteral(
                           "%1 %2s are named %3, so it cannot be told whose address "
                           "to use")
                           .arg(QString::number(rows->count()), role, quoted(name));
    } else {
        const QStringList addresses = addressesIn(rows->text(0, QStringLiteral("Email")));
        if (addresses.isEmpty()) {
            out.missing << QStringLiteral("no e-mail address is on record for the %1 %2")
                               .arg(role, quoted(name));
        } else {
            out.found << Addressee{role, name, addresses};
        }
    }
}

}  // namespace

QStringList addressesIn(const QString& stored) {
    QStringList parts;
    QString part;
    bool inQuotes = false;
    const QString all = stored + u',';
    for (const QChar c : all) {
        if (c == u'"') {
            inQuotes = !inQuotes;
        }
        if (!inQuotes && (c == u',' || c == u';' || c == u'\n' || c == u'\r')) {
            part = part.trimmed();
            if (readsAsAddress(part)) {
                parts << part;
            }
            part.clear();
        } else {
            part += c;
        }
    }
    return parts;
}

Recipients jobRecipients(Database& db, const QString& customerName, const QString& clientName) {
    Recipients out;
    lookUp(db, QStringLiteral("customers"), QStringLiteral("customer"), customerName, out);
    lookUp(db, QStringLiteral("clients"), QStringLiteral("client"), clientName, out);
    if (customerName.trimmed().isEmpty() && clientName.trimmed().isEmpty()) {
        out.missing << QStringLiteral("the job names no customer or client");
    }
    return out;
}

Recipients estimateRecipients(Database& db, qint64 estNo) {
    Recipients out;
    const std::optional<Rows> rows = db.query(
        QStringLiteral("SELECT Name, Email FROM customers WHERE DummyId = (SELECT min(ClientId) "
                       "FROM Estimate WHERE EstNo = ?)"),
        {estNo});
    if (!rows) {
        out.missing << QStringLiteral("the address book could not be read (%1)")
                           .arg(db.lastError().message);
        return out;
    }
    if (rows->isEmpty()) {
        out.missing << QStringLiteral("the estimate's customer is not in the address book");
        return out;
    }
    const QString name = rows->text(0, QStringLiteral("Name")).trimmed();
    const QStringList addresses = addressesIn(rows->text(0, QStringLiteral("Email")));
    if (addresses.isEmpty()) {
        out.missing << QStringLiteral("no e-mail address is on record for the customer %1")
                           .arg(quoted(name));
    } else {
        out.found << Addressee{QStringLiteral("customer"), name, addresses};
    }
    return out;
}

std::optional<QStringList> chooseRecipients(Prompter& prompter, const Recipients& recipients) {
    const QList<Addressee>& found = recipients.found;
    if (found.isEmpty()) {
        prompter.message(QStringLiteral("The message opens without a recipient: ") +
                             recipients.missing.join(QStringLiteral("; ")) +
                             QStringLiteral(".\r\nType the address in the mail program."),
                         QStringLiteral("No E-mail Address"), Prompter::Buttons::Ok,
                         Prompter::Icon::Information);
        return QStringList();
    }
    if (found.size() == 1) {
        return found.first().addresses;
    }
    QString prompt = QStringLiteral("Who should the message go to?\r\n");
    for (const Addressee& a : found) {
        prompt += QStringLiteral("\r\nThe %1 %2: %3")
                      .arg(a.role, a.name, a.addresses.join(QStringLiteral(", ")));
    }
    switch (prompter.choose(prompt, QStringLiteral("Send by E-mail"),
                            {QStringLiteral("The &Customer"), QStringLiteral("The C&lient"),
                             QStringLiteral("&Both"), QStringLiteral("Cancel")})) {
        case 0:
            return found[0].addresses;
        case 1:
            return found[1].addresses;
        case 2:
            return found[0].addresses + found[1].addresses;
        default:
            return std::nullopt;
    }
}

}  // namespace mail
