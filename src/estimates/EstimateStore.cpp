#include "estimates/EstimateStore.h"

#include "common/DateText.h"
#include "common/Numbers.h"
#include "db/Database.h"
#include "db/RowValues.h"
#include "db/TextKeys.h"
#include "records/Counters.h"
#include "records/SharedRoutines.h"

#include <QVariantList>
#include <limits>

namespace estimates {

std::optional<QStringList> LoadStock(Database& db) {
    // In the order they were added, whichever way the engine would read the table.
    const std::optional<Rows> rows = db.query(
        QStringLiteral("SELECT Description FROM Stock ORDER BY ") + db.dialect().entryOrder());
    if (!rows) {
        return std::nullopt;
    }
    QStringList descriptions;
    for (int i = 0; i < rows->count(); ++i) {
        const QString description = rows->text(i, QStringLiteral("Description"));
        if (!description.isEmpty()) {
            descriptions << description;
        }
    }
    return descriptions;
}

bool AddToTable(Database& db, const QString& entry) {
    const textkeys::Condition same = textkeys::equals(QStringLiteral("Description"), entry);
    const QVariant known = db.scalar(
        QStringLiteral("SELECT Description FROM Stock WHERE ") + same.sql, {same.value});
    if (known.isValid() || !db.lastError().ok()) {
        return false;
    }
    RowValues row(db.dialect(), QStringLiteral("Stock"));
    row.set(QStringLiteral("Description"), entry.trimmed());
    return db.exec(row.insert(), row.values());
}

std::optional<EstimateCustomer> LoadClient(Database& db, qint32 id) {
    const std::optional<Rows> rows =
        db.query(QStringLiteral("SELECT Name, Contact, Address, Telephone, Email FROM customers "
                                "WHERE DummyID = ?"),
                 {id});
    if (!rows || rows->isEmpty()) {
        return std::nullopt;
    }
    return EstimateCustomer{
        rows->text(0, QStringLiteral("Name")), rows->text(0, QStringLiteral("Contact")),
        rows->text(0, QStringLiteral("Address")), rows->text(0, QStringLiteral("Telephone")),
        rows->text(0, QStringLiteral("Email"))};
}

std::optional<qint32> SaveClientDetails(Database& db, const EstimateCustomer& customer,
                                        const SaveStamp& stamp) {
    const QString name = customer.Name.trimmed();
    RowValues row(db.dialect(), QStringLiteral("customers"));
    row.set(QStringLiteral("Name"), name)
        .set(QStringLiteral("Address"), customer.Address.trimmed())
        .set(QStringLiteral("Contact"), customer.Contact.trimmed())
        .set(QStringLiteral("Telephone"), customer.Telephone.trimmed())
        .set(QStringLiteral("Email"), customer.Email.trimmed())
        .set(QStringLiteral("TypeID"), 0);
    Transaction tx(db);
    if (!tx.active()) {
        return std::nullopt;
    }
    const textkeys::Condition named = textkeys::equals(QStringLiteral("Name"), name);
    const QVariant existing = db.scalar(
        QStringLiteral("SELECT MIN(DummyID) FROM customers WHERE ") + named.sql, {named.value});
    if (!db.lastError().ok()) {
        return std::nullopt;
    }
    qint64 id = 0;
    if (!existing.isNull() && existing.isValid()) {
        id = existing.toLongLong();
        if (!db.exec(row.update() + QStringLiteral(", ") + rowversion::nextAssignments() +
                         QStringLiteral(" WHERE DummyID = ?"),
                     row.values() + rowversion::nextValues(stamp) + QVariantList{id})) {
            return std::nullopt;
        }
    } else {
        rowversion::setFirst(row, stamp);
        const std::optional<qint64> added = db.insert(row.insert(), row.values());
        if (!added) {
            return std::nullopt;
        }
        id = *added;
    }
    if (id > std::numeric_limits<qint32>::max() || !tx.commit()) {
        return std::nullopt;
    }
    return qint32(id);
}

namespace {

// The estimate's version as stored: its row in EstimateVersion, or, for an estimate saved before
// versions were kept (lines but no row), the first version.
struct StoredVersion {
    std::optional<RowVersion> version;
    bool hasRow = false;
    bool failed = false;
};

StoredVersion storedVersion(Database& db, qint64 estNo) {
    StoredVersion out;
    out.version = rowversion::stored(db, rowversion::kEstimateTable, QStringLiteral("EstNo"), estNo,
                                     &out.failed);
    out.hasRow = out.version.has_value();
    if (out.hasRow || out.failed) {
        return out;
    }
    const QVariant lines =
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM Estimate WHERE EstNo = ?"), {estNo});
    out.failed = !lines.isValid();
    if (lines.toInt() > 0) {
        out.version = RowVersion{1, {}, {}};
    }
    return out;
}

// Moves the estimate on to its next version, in the save's transaction and before its lines are
// touched, so a second workstation saving it at the same moment waits and then finds it changed.
// Fills the result's outcome when the save cannot go on.
bool takeNextVersion(Database& db, const EstimateSave& save, const SaveStamp& stamp,
                     SavedEstimate* result) {
    if (save.version.stored()) {
        if (!db.exec(
                QStringLiteral("UPDATE ") + rowversion::kEstimateTable + QStringLiteral(" SET ") +
                    rowversion::nextAssignments() + QStringLiteral(" WHERE EstNo = ? AND ") +
                    rowversion::kNumber + QStringLiteral(" = ?"),
                rowversion::nextValues(stamp) + QVariantList{save.EstNo, save.version.number})) {
            return false;
        }
        result->version = {save.version.number + 1, stamp.by, stamp.at};
        if (db.rowsAffected() > 0) {
            return true;
        }
        const StoredVersion now = storedVersion(db, save.EstNo);
        if (now.failed) {
            return false;
        }
        if (now.hasRow || !now.version || now.version->number != save.version.number) {
            result->outcome =
                now.version ? SaveOutcome::ChangedElsewhere : SaveOutcome::DeletedElsewhere;
            result->version = now.version.value_or(RowVersion{});
            return false;
        }
        // Saved before versions were kept: this is its second version.
    } else {
        // A new number, typed or taken, or the number of an estimate written again: it must be
        // free.
        const StoredVersion now = storedVersion(db, save.EstNo);
        if (now.failed) {
            return false;
        }
        if (now.version) {
            result->numberHeld = true;
            return false;
        }
        result->version = {1, stamp.by, stamp.at};
    }
    return db.exec(
        QStringLiteral("INSERT INTO ") + rowversion::kEstimateTable + QStringLiteral(" (EstNo, ") +
            rowversion::columns() + QStringLiteral(") VALUES (?, ?, ?, ?)"),
        QVariantList{save.EstNo, result->version.number} + rowversion::nextValues(stamp));
}

}  // namespace

std::optional<RowVersion> storedEstimateVersion(Database& db, qint64 estNo, bool* failed) {
    const StoredVersion now = storedVersion(db, estNo);
    *failed = now.failed;
    return now.version;
}

QList<conflicts::Difference> estimateDifferences(const std::optional<StoredEstimate>& theirs,
                                                 const EstimateCustomer& customer,
                                                 const QString& delivery,
                                                 const QList<EstimateLine>& lines) {
    QList<conflicts::Difference> out;
    auto compare = [&](const QString& caption, const QString& a, const QString& b) {
        if (a != b) {
            out.append({caption, a, b});
        }
    };
    const StoredEstimate stored = theirs.value_or(StoredEstimate{});
    const EstimateCustomer& them = stored.customer;
    compare(QStringLiteral("Name:"), them.Name, customer.Name);
    compare(QStringLiteral("Contact:"), them.Contact, customer.Contact);
    compare(QStringLiteral("Address:"), them.Address, customer.Address);
    compare(QStringLiteral("Telephone:"), them.Telephone, customer.Telephone);
    compare(QStringLiteral("E-mail:"), them.Email, customer.Email);
    compare(QStringLiteral("Delivery Cost:"), stored.DeliveryCost.toString(),
            Money::fromText(delivery).toString());
    auto lineText = [](const QList<EstimateLine>& all, qsizetype i) {
        if (i >= all.size()) {
            return QString();
        }
        const EstimateLine& l = all[i];
        return QStringLiteral("%1 x %2 at %3 / %4")
            .arg(l.Qty, l.Description, Money::fromText(l.Trade).toString(),
                 Money::fromText(l.Retail).toString());
    };
    for (qsizetype i = 0; i < qMax(stored.lines.size(), lines.size()); ++i) {
        compare(QStringLiteral("Line %1:").arg(i + 1), lineText(stored.lines, i),
                lineText(lines, i));
    }
    return out;
}

SavedEstimate SaveEstimate(Database& db, const EstimateSave& save, const QList<EstimateLine>& lines,
                           const SaveStamp& stamp) {
    SavedEstimate result;
    result.EstNo = save.EstNo;
    Transaction tx(db);
    if (!tx.active() || !takeNextVersion(db, save, stamp, &result) ||
        !db.exec(QStringLiteral("DELETE FROM Estimate WHERE EstNo = ?"), {save.EstNo})) {
        return result;
    }
    qint32 customer = save.CustomerID;
    // A customer deleted at another workstation meanwhile is written again from the screen.
    if (customer != -1) {
        const QVariant stored = db.scalar(
            QStringLiteral("SELECT DummyID FROM customers WHERE DummyID = ?"), {customer});
        if (!db.lastError().ok()) {
            return result;
        }
        if (!stored.isValid()) {
            customer = -1;
        }
    }
    if (customer == -1) {
        const std::optional<qint32> saved = SaveClientDetails(db, save.customer, stamp);
        if (!saved) {
            return result;
        }
        customer = *saved;
    }
    const double delivery = numbers::leadingNumber(save.Delivery);
    for (const EstimateLine& line : lines) {
        if (line.Qty.isEmpty()) {
            continue;
        }
        if (!db.exec(QStringLiteral("INSERT INTO Estimate (EstNo, ClientId, DeliveryCost, Qty, "
                                    "Description, TradePrice, RetailPrice, DateCreated) "
                                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                     {save.EstNo, customer, delivery, numbers::leadingNumber(line.Qty),
                      line.Description, numbers::leadingNumber(line.Trade),
                      numbers::leadingNumber(line.Retail), save.DateCreated})) {
            return result;
        }
    }
    if (!tx.commit()) {
        return result;
    }
    result.outcome = SaveOutcome::Saved;
    result.CustomerID = customer;
    return result;
}

SavedEstimate saveNumberedEstimate(Database& db, EstimateSave save,
                                   const QList<EstimateLine>& lines, const SaveStamp& stamp,
                                   QString* error) {
    SavedEstimate result;
    auto failed = [&](const QString& reason) {
        if (error) {
            *error = reason;
        }
        return result;
    };
    Transaction tx(db);
    if (!tx.active()) {
        return failed(db.lastError().message);
    }
    if (save.EstNo == 0) {
        const counters::Taken next = counters::take(db, counters::Kind::Estimate);
        if (!next) {
            return failed(next.error);
        }
        save.EstNo = *next;
    }
    result = SaveEstimate(db, save, lines, stamp);
    if (result.numberHeld) {
        return failed(
            QStringLiteral("The number %1 is already used by another estimate.").arg(save.EstNo));
    }
    if (result.outcome != SaveOutcome::Saved) {
        return failed(db.lastError().message);
    }
    if (!tx.commit()) {
        result.outcome = SaveOutcome::Failed;
        return failed(db.lastError().message);
    }
    return result;
}

std::optional<qint64> GetNewEstimateNumber(Database& db, Prompter& prompter, bool manualNumbering) {
    if (!manualNumbering) {
        return counters::take(db, counters::Kind::Estimate).number;
    }
    return counters::askNumber(prompter, counters::Kind::Estimate,
                               QStringLiteral("Please enter the new Estimate Reference number"),
                               QStringLiteral("New Estimate Number"));
}

namespace {

// A stored quantity as the grid shows it, as it was typed: "2", "2.5".
QString quantityText(const QVariant& value) {
    return numbers::storedText(value.isNull() ? 0 : value.toDouble());
}

QString priceText(const Rows& rows, int row, const QString& field) {
    return Money::fromStored(rows.number(row, field)).toString();
}

}  // namespace

std::optional<StoredEstimate> LoadFullEstimate(Database& db, qint64 estNo) {
    const std::optional<Rows> rows = db.query(
        QStringLiteral("SELECT EstNo, ClientId, DeliveryCost, Qty, Description, TradePrice, "
                       "RetailPrice, DateCreated FROM Estimate WHERE EstNo = ? ORDER BY DummyId"),
        {estNo});
    if (!rows || rows->isEmpty()) {
        return std::nullopt;
    }
    StoredEstimate estimate;
    for (int i = 0; i < rows->count(); ++i) {
        estimate.lines << EstimateLine{quantityText(rows->value(i, QStringLiteral("Qty"))),
                                       rows->text(i, QStringLiteral("Description")),
                                       priceText(*rows, i, QStringLiteral("TradePrice")),
                                       priceText(*rows, i, QStringLiteral("RetailPrice"))};
        // The estimate's own values are those of its last line.
        estimate.EstNo = rows->integer(i, QStringLiteral("EstNo"));
        estimate.DeliveryCost = Money::fromStored(rows->number(i, QStringLiteral("DeliveryCost")));
        estimate.DateCreated = rows->text(i, QStringLiteral("DateCreated"));
        estimate.ClientId = qint32(rows->integer(i, QStringLiteral("ClientId")));
    }
    bool failed = false;
    estimate.version = storedEstimateVersion(db, estNo, &failed).value_or(RowVersion{});
    if (failed) {
        return std::nullopt;
    }
    if (const auto customer = LoadClient(db, estimate.ClientId)) {
        estimate.customerFound = true;
        estimate.customer = *customer;
    } else if (!db.lastError().ok()) {
        return std::nullopt;
    }
    return estimate;
}

std::optional<QList<FoundEstimate>> searchEstimates(Database& db, const QString& text,
                                                    textindex::Through through) {
    const QString find = text.trimmed();
    const std::optional<Rows> rows = textindex::answer(db, [&](textindex::Through via) {
        QString sql = QStringLiteral(
            "SELECT Estimate.EstNo, Estimate.DateCreated, customers.Name, customers.Address "
            "FROM Estimate JOIN customers ON Estimate.ClientId = customers.DummyId WHERE ");
        QVariantList params;
        // A whole number the EstNo column can hold is an estimate's number; a fraction or a
        // number beyond the column (a telephone number) is searched for in the names.
        double number = 0;
        if (numbers::isNumber(find, &number) && number >= 1 &&
            number <= std::numeric_limits<qint32>::max() && number == double(qint32(number))) {
            sql += QStringLiteral("Estimate.EstNo = ?");
            params << qint32(number);
        } else {
            const textindex::Condition named = textindex::contains(
                db, QStringLiteral("customers"), find, {QStringLiteral("Name")},
                through == textindex::Through::Scan ? through : via);
            sql += named.sql;
            params << named.params;
        }
        sql += QStringLiteral(" ORDER BY Estimate.EstNo, Estimate.DummyId");
        return db.query(sql, params);
    });
    if (!rows) {
        return std::nullopt;
    }
    QList<FoundEstimate> found;
    for (int i = 0; i < rows->count(); ++i) {
        const qint64 estNo = rows->integer(i, QStringLiteral("EstNo"));
        if (!found.isEmpty() && found.last().EstNo == estNo) {
            continue;
        }
        found << FoundEstimate{estNo, rows->text(i, QStringLiteral("DateCreated")),
                               rows->text(i, QStringLiteral("Name")),
                               rows->text(i, QStringLiteral("Address"))};
    }
    return found;
}

std::optional<int> AddToEstimateList(Database& db, qint64 estNo, int totalItems, Money totalCost,
                                     const QDateTime& now) {
    Transaction tx(db);
    if (!tx.active()) {
        return std::nullopt;
    }
    const QVariant before =
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM EstimateDocs WHERE EstNo = ?"), {estNo});
    if (!before.isValid()) {
        return std::nullopt;
    }
    const int issue = before.toInt() + 1;
    if (!db.exec(QStringLiteral("INSERT INTO EstimateDocs (DateCreated, EstNo, PrintNo, "
                                "TotalQty, TotalPrice) VALUES (?, ?, ?, ?, ?)"),
                 {datetext::toStored(now), estNo, issue, totalItems, totalCost.toDouble()}) ||
        !tx.commit()) {
        return std::nullopt;
    }
    return issue;
}

std::optional<Rows> estimateIssues(Database& db, qint64 estNo) {
    return db.query(
        QStringLiteral("SELECT DummyId, DateCreated, EstNo, PrintNo, TotalQty, "
                       "TotalPrice FROM EstimateDocs WHERE EstNo = ? "
                       "ORDER BY DateCreated DESC NULLS LAST, PrintNo DESC, DummyId DESC"),
        {estNo});
}

}  // namespace estimates
