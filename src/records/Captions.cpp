#include "records/Captions.h"

#include "db/Database.h"

namespace captions {

QList<QPair<int, QString>> read(Database& db) {
    QList<QPair<int, QString>> out;
    const auto rows = db.query(QStringLiteral("SELECT \"Index\", \"Text\" FROM labels"));
    if (!rows) {
        return out;
    }
    for (int i = 0; i < rows->count(); ++i) {
        const QVariant index = rows->at(i, 0);
        bool ok = false;
        const int n = index.toInt(&ok);
        if (!ok || index.isNull()) {
            continue;
        }
        out.append({n, rows->at(i, 1).toString().trimmed()});
    }
    return out;
}

}  // namespace captions
