#include "estimates/EstimateStore.h"

#include "startup/AppState.h"
#include "startup/Counters.h"
#include "startup/Database.h"
#include "startup/DateText.h"
#include "startup/Numbers.h"
#include "startup/RowValues.h"
#include "startup/SharedRoutines.h"
#include "startup/TextKeys.h"

#include <QVariantList>
#include <limits>

std::optional<QStringList> LoadStock(Database& db) {
    // In the order they were added, whichever way the engine would read the table.
    const std::optional<Rows> rows = db.query(
        QStringLiteral("SELECT Description FROM Stock ORDER BY ") + db.dialect().rowKey());
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

std::optional<qint32> SaveClientDetails(Database& db, const EstimateCustomer& customer) {
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
        if (!db.exec(row.update() + QStringLiteral(" WHERE DummyID = ?"),
                     row.values() + QVariantList{id})) {
            return std::nullopt;
        }
    } else {
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

std::optional<qint32> SaveEstimate(Database& db, const EstimateSave& save,
                                   const QList<EstimateLine>& lines) {
    Transaction tx(db);
    if (!tx.active() ||
        !db.exec(QStringLiteral("DELETE FROM Estimate WHERE EstNo = ?"), {save.EstNo})) {
        return std::nullopt;
    }
    qint32 customer = save.CustomerID;
    // A customer deleted at another workstation meanwhile is written again from the screen.
    if (customer != -1) {
        const QVariant stored = db.scalar(
            QStringLiteral("SELECT DummyID FROM customers WHERE DummyID = ?"), {customer});
        if (!db.lastError().ok()) {
            return std::nullopt;
        }
        if (!stored.isValid()) {
            customer = -1;
        }
    }
    if (customer == -1) {
        const std::optional<qint32> saved = SaveClientDetails(db, save.customer);
        if (!saved) {
            return std::nullopt;
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
            return std::nullopt;
        }
    }
    if (!tx.commit()) {
        return std::nullopt;
    }
    return customer;
}

std::optional<SavedEstimate> saveNumberedEstimate(AppState& app, EstimateSave save,
                                                  const QList<EstimateLine>& lines,
                                                  QString* error) {
    Database& db = app.DbConnection;
    auto failed = [&](const QString& reason) {
        if (error) {
            *error = reason;
        }
        return std::nullopt;
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
    const std::optional<qint32> customer = SaveEstimate(db, save, lines);
    if (!customer || !tx.commit()) {
        return failed(db.lastError().message);
    }
    return SavedEstimate{save.EstNo, *customer};
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
    if (const auto customer = LoadClient(db, estimate.ClientId)) {
        estimate.customerFound = true;
        estimate.customer = *customer;
    } else if (!db.lastError().ok()) {
        return std::nullopt;
    }
    return estimate;
}

std::optional<QList<FoundEstimate>> searchEstimates(Database& db, const QString& text) {
    const QString find = text.trimmed();
    QString sql = QStringLiteral(
        "SELECT Estimate.EstNo, Estimate.DateCreated, customers.Name, customers.Address "
        "FROM Estimate JOIN customers ON Estimate.ClientId = customers.DummyId WHERE ");
    QVariantList params;
    double number = 0;
    if (numbers::isNumber(find, &number) && number >= 1 && number < 9.2e18 &&
        number == double(qint64(number))) {
        sql += QStringLiteral("Estimate.EstNo = ?");
        params << qint64(number);
    } else {
        const textkeys::Condition named =
            textkeys::like(QStringLiteral("customers.Name"), SqlDialect::containsPattern(find));
        sql += named.sql;
        params << named.value;
    }
    sql += QStringLiteral(" ORDER BY Estimate.EstNo, Estimate.DummyId");
    const std::optional<Rows> rows = db.query(sql, params);
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
    return db.query(QStringLiteral("SELECT DummyId, DateCreated, EstNo, PrintNo, TotalQty, "
                                   "TotalPrice FROM EstimateDocs WHERE EstNo = ? "
                                   "ORDER BY DateCreated DESC, PrintNo DESC"),
                    {estNo});
}
