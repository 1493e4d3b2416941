#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// The office fixtures of tests/data/documents, and packages changed from them part by part.
namespace testfiles {

QString fixture(const QString& name);
QByteArray read(const QString& path);
void write(const QString& path, const QByteArray& bytes);

// One part of a zip package, unpacked; empty when the package has no such part.
QByteArray part(const QByteArray& package, const QString& name);
QStringList partNames(const QByteArray& package);
// The package with the parts given replaced or added and those listed left out. `level` is the
// deflate level of the new parts (1 is fast, for the large ones).
QByteArray withParts(const QByteArray& package, const QMap<QString, QByteArray>& parts,
                     const QStringList& removed = {}, int level = 6);

// The XML text of a part with one piece of it replaced (the piece must be there).
QByteArray edited(const QByteArray& xml, const QByteArray& from, const QByteArray& to);

}  // namespace testfiles
