#include "LoadCheck.h"

#include "LoadWorkstation.h"
#include "db/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTextStream>
#include <algorithm>
#include <cmath>

namespace load {

namespace {

const QSet<QString> kSaves = {QStringLiteral("new-job"), QStringLiteral("save-job"),
                              QStringLiteral("save-contact"), QStringLiteral("save-estimate")};

bool applied(const Operation& op) {
    return op.outcome == QLatin1String("done") || op.outcome == QLatin1String("kept");
}

// A record that several workstations saved: the version it holds now and the marker of its
// last save, against the saves the logs say went through (each moved it on by one).
void checkVersions(const QString& what, qint64 key, qint64 stored, const QString& marker,
                   const QList<Operation>& saves, Findings* findings) {
    QList<qint64> versions;
    QString last;
    qint64 highest = 0;
    for (const Operation& op : saves) {
        versions << op.version;
        if (op.version > highest) {
            highest = op.version;
            last = op.marker;
        }
    }
    std::sort(versions.begin(), versions.end());
    QList<qint64> expected;
    for (qint64 v = 2; v <= stored; ++v) {
        expected << v;
    }
    if (versions != expected) {
        findings->problems << QStringLiteral("%1 %2: version %3 stored, but the saves that went "
                                             "through wrote versions %4")
                                  .arg(what)
                                  .arg(key)
                                  .arg(stored)
                                  .arg([&] {
                                      QStringList texts;
                                      for (qint64 v : versions) {
                                          texts << QString::number(v);
                                      }
                                      return texts.join(u',');
                                  }());
    } else if (!saves.isEmpty() && marker != last) {
        findings->problems << QStringLiteral("%1 %2 holds \"%3\", not its last save \"%4\"")
                                  .arg(what)
                                  .arg(key)
                                  .arg(marker, last);
    }
}

void checkShared(Database& db, const QList<Operation>& ops, const QString& operation,
                 const QString& what, const QString& sql, const QVariantList& params,
                 Findings* findings) {
    QHash<qint64, QList<Operation>> saves;
    for (const Operation& op : ops) {
        if (op.name == operation && applied(op)) {
            saves[op.key.toLongLong()] << op;
        }
    }
    const auto rows = db.query(sql, params);
    if (!rows) {
        findings->problems << what + QStringLiteral(": ") + db.lastError().message;
        return;
    }
    for (int r = 0; r < rows->count(); ++r) {
        const qint64 key = rows->at(r, 0).toLongLong();
        checkVersions(what, key, rows->at(r, 1).toLongLong(), rows->at(r, 2).toString(),
                      saves.value(key), findings);
    }
}

// The cause of a number taken but not held: the operations of that kind that did not go
// through, one of which took it (a refused save must take none, so any gap is a problem).
QString gapCause(const QList<Operation>& ops, const QString& operation) {
    QStringList failed;
    for (const Operation& op : ops) {
        if (op.name == operation && !applied(op)) {
            failed << QStringLiteral("workstation %1 %2 (%3)").arg(op.workstation).arg(op.outcome,
                                                                                     op.marker);
        }
    }
    return failed.isEmpty() ? QStringLiteral("no operation explains it")
                            : QStringLiteral("taken by one of these, which did not go through: ") +
                                  failed.join(QStringLiteral("; "));
}

void checkJobNumbers(Database& db, const QList<Operation>& ops, Findings* findings) {
    const auto rows = db.query(QStringLiteral("SELECT JobNo, WorkDetails FROM Jobs"));
    const qint64 next = db.scalar(QStringLiteral("SELECT JobCounter FROM Counters")).toLongLong();
    if (!rows) {
        findings->problems << QStringLiteral("jobs: ") + db.lastError().message;
        return;
    }
    QHash<qint64, int> held;
    QHash<QString, qint64> byMarker;
    for (int r = 0; r < rows->count(); ++r) {
        const qint64 number = rows->at(r, 0).toLongLong();
        ++held[number];
        byMarker.insert(rows->at(r, 1).toString(), number);
    }
    for (auto it = held.constBegin(); it != held.constEnd(); ++it) {
        if (it.value() > 1) {
            findings->problems << QStringLiteral("job number %1 is held by %2 jobs")
                                      .arg(it.key())
                                      .arg(it.value());
        }
    }
    for (qint64 n = 1; n < next; ++n) {
        if (!held.contains(n)) {
            findings->problems
                << QStringLiteral("job number %1 was taken from the counter, but no job holds "
                                  "it: %2")
                       .arg(n)
                       .arg(gapCause(ops, QStringLiteral("new-job")));
        }
    }
    for (const Operation& op : ops) {
        if (op.name != QLatin1String("new-job")) {
            continue;
        }
        const bool stored = byMarker.contains(op.marker);
        if (applied(op) && byMarker.value(op.marker) != op.key.toLongLong()) {
            findings->problems << QStringLiteral("new job %1 (%2) is not stored under its number")
                                      .arg(op.key, op.marker);
        } else if (!applied(op) && stored) {
            findings->problems << QStringLiteral("new job %1 was refused, yet it is stored as "
                                                 "job %2")
                                      .arg(op.marker)
                                      .arg(byMarker.value(op.marker));
        }
    }
}

void checkDocuments(Database& db, const QList<Operation>& ops, const QString& folder,
                    Findings* findings) {
    const auto rows = db.query(QStringLiteral("SELECT FileName, Title FROM Docs"));
    const qint64 next = db.scalar(QStringLiteral("SELECT FileCounter FROM Counters")).toLongLong();
    if (!rows) {
        findings->problems << QStringLiteral("documents: ") + db.lastError().message;
        return;
    }
    QHash<QString, int> names;
    QStringList titles;
    for (int r = 0; r < rows->count(); ++r) {
        const QString name = rows->at(r, 0).toString().trimmed();
        ++names[name];
        titles << rows->at(r, 1).toString();
        if (!QFileInfo::exists(folder + u'/' + name)) {
            findings->problems << QStringLiteral("document %1 is recorded but not on disk")
                                      .arg(name);
        }
    }
    for (qint64 n = 1; n < next; ++n) {
        const QString name = QStringLiteral("%1.doc").arg(n);
        if (names.value(name) > 1) {
            findings->problems << QStringLiteral("document number %1 is recorded %2 times")
                                      .arg(n)
                                      .arg(names.value(name));
        } else if (!names.contains(name)) {
            findings->problems
                << QStringLiteral("document number %1 was taken from the counter, but no "
                                  "document records it: %2")
                       .arg(n)
                       .arg(gapCause(ops, QStringLiteral("document")));
        }
    }
    // A document refused part way leaves no temporary file behind.
    for (const QString& left : QDir(folder).entryList({QStringLiteral("*.part")}, QDir::Files)) {
        findings->problems << QStringLiteral("the unfinished file %1 was left in the documents "
                                             "folder")
                                  .arg(left);
    }
    const QString allTitles = titles.join(u'\n') + u'\n';
    for (const Operation& op : ops) {
        if (op.name == QLatin1String("document") && op.outcome == QLatin1String("refused") &&
            allTitles.contains(op.marker + u',')) {
            findings->problems << QStringLiteral("document %1 was refused, yet it is recorded")
                                      .arg(op.marker);
        }
    }
}

void checkEngine(Database& db, Findings* findings) {
    if (!db.onServer()) {
        const QString verdict = db.integrityCheck();
        if (verdict != QLatin1String("ok")) {
            findings->problems << QStringLiteral("integrity_check: ") + verdict;
        }
        return;
    }
    // amcheck: every B-tree index of the schema, its entries against the table's rows, and
    // every table's own pages.
    if (!db.exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS amcheck")) ||
        !db.query(QStringLiteral(
            "SELECT bt_index_check(c.oid, true) FROM pg_index i "
            "JOIN pg_class c ON c.oid = i.indexrelid JOIN pg_am a ON a.oid = c.relam "
            "JOIN pg_namespace n ON n.oid = c.relnamespace "
            "WHERE a.amname = 'btree' AND n.nspname = current_schema()"))) {
        findings->problems << QStringLiteral("amcheck: ") + db.lastError().message;
        return;
    }
    const auto damaged = db.query(QStringLiteral(
        "SELECT c.relname, v.msg FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
        "CROSS JOIN LATERAL verify_heapam(c.oid) v "
        "WHERE c.relkind = 'r' AND n.nspname = current_schema()"));
    if (!damaged) {
        findings->problems << QStringLiteral("amcheck: ") + db.lastError().message;
        return;
    }
    for (int r = 0; r < damaged->count(); ++r) {
        findings->problems << QStringLiteral("amcheck: %1: %2")
                                  .arg(damaged->at(r, 0).toString(), damaged->at(r, 1).toString());
    }
}

}  // namespace

QList<Operation> readLog(const QString& file, int workstation, int* told) {
    QList<Operation> out;
    *told = -1;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return out;
    }
    QTextStream lines(&in);
    while (!lines.atEnd()) {
        const QString line = lines.readLine();
        if (line.startsWith(QLatin1String("told "))) {
            *told = line.mid(5).toInt();
            continue;
        }
        const QStringList f = line.split(u'\t');
        if (f.size() < 6) {
            continue;
        }
        out << Operation{workstation, f[0], f[1], f[2].toLongLong(), f[3], f[4].toLongLong(),
                         f[5]};
    }
    return out;
}

qint64 percentile(QList<qint64> values, double share) {
    if (values.isEmpty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto rank = qsizetype(std::ceil(share * double(values.size())));
    return values[qBound<qsizetype>(0, rank - 1, values.size() - 1)];
}

Findings check(Database& db, const QList<Operation>& operations, const QString& docsFolder,
               bool serverStopped) {
    Findings findings;
    for (const Operation& op : operations) {
        ++findings.outcomes[op.outcome];
        if (op.outcome == QLatin1String("error") ||
            (op.outcome == QLatin1String("refused") && !serverStopped)) {
            findings.problems << QStringLiteral("workstation %1, %2: %3 (%4)")
                                     .arg(op.workstation)
                                     .arg(op.name, op.outcome, op.marker);
        }
        if (kSaves.contains(op.name) && applied(op)) {
            findings.saveMs << op.ms;
        }
    }
    checkJobNumbers(db, operations, &findings);
    checkShared(db, operations, QStringLiteral("save-job"), QStringLiteral("job"),
                QStringLiteral("SELECT JobNo, RowVersion, WorkNotes FROM Jobs WHERE JobNo <= ?"),
                {kSharedJobs}, &findings);
    checkShared(db, operations, QStringLiteral("save-contact"), QStringLiteral("customer"),
                QStringLiteral("SELECT DummyId, RowVersion, Address FROM customers WHERE "
                               "DummyId <= ?"),
                {kSharedContacts}, &findings);
    checkShared(db, operations, QStringLiteral("save-estimate"), QStringLiteral("estimate"),
                QStringLiteral("SELECT v.EstNo, v.RowVersion, (SELECT e.Description FROM "
                               "Estimate e WHERE e.EstNo = v.EstNo ORDER BY e.DummyId LIMIT 1) "
                               "FROM EstimateVersion v"),
                {}, &findings);
    checkDocuments(db, operations, docsFolder, &findings);
    checkEngine(db, &findings);
    return findings;
}

}  // namespace load
