#pragma once

// A CSV file as another program reads it: Python's csv module, which follows what spreadsheet
// programs accept, reading the file as UTF-8 after its byte-order mark.

#include <QJsonArray>
#include <QJsonDocument>
#include <QList>
#include <QProcess>
#include <QStringList>

using Records = QList<QStringList>;

// The records of the file, or one record holding Python's complaint when it cannot be read.
inline Records readCsvBack(const QString& file) {
    static const char* kScript =
        "import csv, json, sys\n"
        "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
        "    raw = open(sys.argv[1], 'rb').read()\n"
        "    if not raw.startswith(b'\\xef\\xbb\\xbf'):\n"
        "        sys.exit('no byte-order mark')\n"
        "    json.dump(list(csv.reader(f, strict=True)), sys.stdout)\n";
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"), QString::fromLatin1(kScript), file});
    python.waitForFinished(30000);
    if (python.exitCode() != 0) {
        return {{QString::fromUtf8(python.readAllStandardError())}};
    }
    Records records;
    for (const QJsonValue& record :
         QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList fields;
        for (const QJsonValue& field : record.toArray()) {
            fields << field.toString();
        }
        records << fields;
    }
    return records;
}
