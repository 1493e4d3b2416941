#pragma once

#include "documents/OfficeError.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <map>
#include <memory>
#include <pugixml.hpp>

// The zip package behind an office file, for WordDocument and Workbook. It holds the file's bytes,
// unpacks and parses the parts asked for, and on saving writes a new package in which the parts
// given are replaced and every other entry is copied as it was.
//
// Part names are zip entry names: "word/document.xml", without a leading slash. Looking a part up
// ignores case, as part names in these packages do.
namespace office {

// Refused before anything is unpacked: a package whose parts add up to more than this, or one
// part larger than the second figure, once inflated.
constexpr qint64 MaxUnpackedTotal = qint64(256) * 1024 * 1024;
constexpr qint64 MaxUnpackedPart = qint64(64) * 1024 * 1024;

struct Relationship {
    QString id;
    QString type;    // the full type URI
    QString target;  // the part it points to, resolved to a part name; empty when external
};

// True when the relationship type ends with the given last segment ("header", "worksheet"), so
// that both the transitional and the strict URIs are recognised.
bool isRelationshipType(const QString& type, QLatin1String lastSegment);

class Package {
public:
    Package();
    ~Package();
    Package(Package&&) noexcept;
    Package& operator=(Package&&) noexcept;

    // `kind` names the sort of file in messages: "Word document", "Excel workbook".
    bool openFile(const QString& path, const QString& kind, OfficeError& error);
    bool openData(const QByteArray& bytes, const QString& kind, OfficeError& error);
    bool isOpen() const;
    void close();

    // How messages name the package: the file "…", or "the data" for one opened from memory.
    QString displayName() const;

    bool hasPart(const QString& name) const;
    // Unpacks and parses a part. A part that is missing, damaged or not well-formed XML gives
    // error 321.
    bool loadXml(const QString& name, pugi::xml_document& doc, OfficeError& error) const;

    // The part the package's own relationships name as its main document.
    QString mainPart() const { return mainPart_; }
    // The relationships of a part, in the order they are listed. A part without relationships
    // gives none.
    QList<Relationship> relationships(const QString& partName, OfficeError& error) const;
    static QString relationshipsPartOf(const QString& partName);

    // The content type of a part, from [Content_Types].xml (override, then default by extension).
    QString contentType(const QString& partName) const;
    // Changes or adds the override for a part; removes it when `type` is empty.
    void setContentType(const QString& partName, const QString& type);

    // Builds the new package: `replaced` parts get the bytes given (parts not yet in the package
    // are added), `removed` parts are left out, the content types go with any change made above,
    // everything else is copied unchanged.
    bool build(const std::map<QString, QByteArray>& replaced, const QStringList& removed,
               QByteArray& out, OfficeError& error) const;
    // The same, written to a file whole or not at all.
    bool save(const QString& path, const std::map<QString, QByteArray>& replaced,
              const QStringList& removed, OfficeError& error) const;

private:
    bool open(const QByteArray& bytes, const QString& kind, const QString& subject,
              OfficeError& error);

    struct Impl;
    std::unique_ptr<Impl> d;
    QString mainPart_;
};

// Ends the opening of a document: when it failed, the half-read state is thrown away and only the
// error is kept, so that a failed open leaves nothing of the file behind.
template <class Impl>
bool keepWhenOpened(std::unique_ptr<Impl>& d, bool opened) {
    if (!opened) {
        const OfficeError failure = d->error;
        d = std::make_unique<Impl>();
        d->error = failure;
    }
    return opened;
}

}  // namespace office
