#include "documents/OfficePackage.h"

#include "documents/Xml.h"

#include <cstdlib>
#include <cstring>

#include <zip.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <QUrl>

namespace office {

using namespace office_errors;

namespace {

const QString ContentTypesPart = QStringLiteral("[Content_Types].xml");
const char* const ContentTypesNamespace =
    "http://schemas.openxmlformats.org/package/2006/content-types";

QString megabytes(qint64 bytes) {
    return QString::number((bytes + 1024 * 1024 - 1) / (1024 * 1024));
}

QString capitalised(QString text) {
    if (!text.isEmpty()) {
        text[0] = text[0].toUpper();
    }
    return text;
}

// "a Word document", "an Excel workbook".
QString withArticle(const QString& kind) {
    const bool vowel = !kind.isEmpty() && QStringLiteral("AEIOUaeiou").contains(kind.at(0));
    return (vowel ? QStringLiteral("an ") : QStringLiteral("a ")) + kind;
}

QString zipMessage(zip_error_t* error) {
    return QString::fromUtf8(zip_error_strerror(error));
}

QString zipMessage(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    QString message = zipMessage(&error);
    zip_error_fini(&error);
    return message;
}

// The part a relationship's target names, seen from the folder of the part that holds it;
// empty for targets outside the package.
QString resolveTarget(const QString& sourcePart, const QString& target) {
    QString path = QUrl::fromPercentEncoding(target.toUtf8());
    const qsizetype hash = path.indexOf(u'#');
    if (hash >= 0) {
        path.truncate(hash);
    }
    if (path.isEmpty()) {
        return {};
    }
    if (path.startsWith(u'/')) {
        path = path.mid(1);
    } else {
        const qsizetype slash = sourcePart.lastIndexOf(u'/');
        path = (slash >= 0 ? sourcePart.left(slash + 1) : QString()) + path;
    }
    path = QDir::cleanPath(path);
    if (path.startsWith(QLatin1String("../")) || path == QLatin1String("..") ||
        path.startsWith(u'/') || path == QLatin1String(".")) {
        return {};
    }
    return path;
}

}  // namespace

bool isRelationshipType(const QString& type, QLatin1String lastSegment) {
    return type.endsWith(lastSegment) && type.size() > lastSegment.size() &&
           type.at(type.size() - lastSegment.size() - 1) == u'/';
}

struct Package::Impl {
    QByteArray data;
    zip_t* zip = nullptr;
    QString subject;  // how messages name it: the file "…", or the data
    QString kind;
    pugi::xml_document contentTypes;
    bool contentTypesChanged = false;

    ~Impl() {
        if (zip) {
            zip_discard(zip);
        }
    }

    zip_int64_t locate(const QString& part) const {
        return zip_name_locate(zip, part.toUtf8().constData(), ZIP_FL_NOCASE);
    }

    OfficeError damaged(const QString& part, const QString& why) const {
        return {
            InvalidFileFormat,
            capitalised(QStringLiteral("%1 is damaged: its part %2 %3.").arg(subject, part, why))};
    }

    bool read(const QString& part, QByteArray& out, OfficeError& error) const {
        const zip_int64_t index = locate(part);
        if (index < 0) {
            error = {InvalidFileFormat,
                     capitalised(
                         QStringLiteral("%1 is damaged: it has no part %2.").arg(subject, part))};
            return false;
        }
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(zip, zip_uint64_t(index), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE) ||
            st.size > zip_uint64_t(MaxUnpackedPart)) {
            error = damaged(part, QStringLiteral("has no size"));
            return false;
        }
        zip_file_t* file = zip_fopen_index(zip, zip_uint64_t(index), 0);
        if (!file) {
            error = damaged(
                part, QStringLiteral("cannot be read (%1)").arg(zipMessage(zip_get_error(zip))));
            return false;
        }
        out.resize(qsizetype(st.size));
        zip_uint64_t done = 0;
        bool ok = true;
        while (ok && done < st.size) {
            const zip_int64_t n = zip_fread(file, out.data() + done, st.size - done);
            if (n <= 0) {
                ok = false;
            } else {
                done += zip_uint64_t(n);
            }
        }
        // Reading on to the end makes libzip check the length and checksum, and shows an entry
        // holding more than its stated size.
        char extra = 0;
        if (ok && zip_fread(file, &extra, 1) != 0) {
            ok = false;
        }
        QString why;
        if (!ok) {
            why = zipMessage(zip_file_get_error(file));
        }
        zip_fclose(file);
        if (!ok) {
            out.clear();
            error = damaged(part, QStringLiteral("cannot be read (%1)").arg(why));
            return false;
        }
        return true;
    }
};

Package::Package() = default;
Package::~Package() = default;
Package::Package(Package&&) noexcept = default;
Package& Package::operator=(Package&&) noexcept = default;

bool Package::isOpen() const {
    return d && d->zip;
}

void Package::close() {
    d.reset();
    mainPart_.clear();
}

QString Package::displayName() const {
    return d ? d->subject : QString();
}

bool Package::openFile(const QString& path, const QString& kind, OfficeError& error) {
    close();
    const QFileInfo info(path);
    const QString name = QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
    if (!info.exists()) {
        error = {FileNotFound, QStringLiteral("The file %1 was not found.").arg(name)};
        return false;
    }
    if (info.isDir()) {
        error = {PathFileAccess, QStringLiteral("%1 is a folder, not a file.").arg(name)};
        return false;
    }
    if (info.size() > MaxUnpackedTotal) {
        error = {OutOfMemory, QStringLiteral("The file %1 is too large to open (%2 MB).")
                                  .arg(name, megabytes(info.size()))};
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!file.exists()) {
            error = {FileNotFound, QStringLiteral("The file %1 was not found.").arg(name)};
        } else if (file.error() == QFileDevice::PermissionsError || !info.isReadable()) {
            error = {PermissionDenied,
                     QStringLiteral("Permission to read the file %1 was denied.").arg(name)};
        } else {
            error = {
                PathFileAccess,
                QStringLiteral("The file %1 cannot be read: %2.").arg(name, file.errorString())};
        }
        return false;
    }
    QByteArray bytes = file.read(MaxUnpackedTotal + 1);
    if (file.error() != QFileDevice::NoError) {
        error = {PathFileAccess,
                 QStringLiteral("The file %1 cannot be read: %2.").arg(name, file.errorString())};
        return false;
    }
    return open(bytes, kind, QStringLiteral("the file ") + name, error);
}

bool Package::openData(const QByteArray& bytes, const QString& kind, OfficeError& error) {
    return open(bytes, kind, QStringLiteral("the data"), error);
}

bool Package::open(const QByteArray& bytes, const QString& kind, const QString& subject,
                   OfficeError& error) {
    close();
    auto impl = std::make_unique<Impl>();
    impl->data = bytes;
    impl->kind = kind;
    impl->subject = subject;
    const QString& the = subject;

    zip_error_t zipError;
    zip_error_init(&zipError);
    zip_source_t* source = zip_source_buffer_create(impl->data.constData(),
                                                    zip_uint64_t(impl->data.size()), 0, &zipError);
    if (source) {
        impl->zip = zip_open_from_source(source, ZIP_RDONLY, &zipError);
        if (!impl->zip) {
            zip_source_free(source);
        }
    }
    if (!impl->zip) {
        const int code = zip_error_code_zip(&zipError);
        zip_error_fini(&zipError);
        if (code == ZIP_ER_MEMORY) {
            error = {OutOfMemory,
                     QStringLiteral("There is not enough memory to open %1.").arg(the)};
        } else {
            error = {InvalidFileFormat,
                     capitalised(QStringLiteral("%1 is not %2: it is not a zip package (%3).")
                                     .arg(the, withArticle(kind), zipMessage(code)))};
        }
        return false;
    }
    zip_error_fini(&zipError);

    // Everything the package would take once unpacked, from its directory, before any of it is.
    const zip_int64_t count = zip_get_num_entries(impl->zip, 0);
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(impl->zip, zip_uint64_t(i), 0, &st) != 0 ||
            !(st.valid & ZIP_STAT_SIZE)) {
            continue;
        }
        const QString part = (st.valid & ZIP_STAT_NAME) ? QString::fromUtf8(st.name) : QString();
        if (st.size > zip_uint64_t(MaxUnpackedPart)) {
            error = {
                OutOfMemory,
                capitalised(QStringLiteral("%1 is too large to open: its part %2 would take "
                                           "%3 MB once unpacked, more than the %4 MB allowed "
                                           "for one part.")
                                .arg(the, part,
                                     megabytes(qint64(qMin<zip_uint64_t>(st.size, 1ull << 50))),
                                     megabytes(MaxUnpackedPart)))};
            return false;
        }
        total += qint64(st.size);
        if (total > MaxUnpackedTotal) {
            error = {OutOfMemory,
                     capitalised(QStringLiteral("%1 is too large to open: it would take more than "
                                                "%2 MB once unpacked.")
                                     .arg(the, megabytes(MaxUnpackedTotal)))};
            return false;
        }
    }

    if (impl->locate(ContentTypesPart) < 0) {
        error = {InvalidFileFormat,
                 capitalised(QStringLiteral("%1 is not %2: the zip package has no list of "
                                            "content types.")
                                 .arg(the, withArticle(kind)))};
        return false;
    }
    d = std::move(impl);
    if (!loadXml(ContentTypesPart, d->contentTypes, error)) {
        close();
        return false;
    }
    const QList<Relationship> rels = relationships(QString(), error);
    if (error) {
        close();
        return false;
    }
    for (const Relationship& r : rels) {
        if (isRelationshipType(r.type, QLatin1String("officeDocument")) && !r.target.isEmpty()) {
            mainPart_ = r.target;
            break;
        }
    }
    return true;
}

bool Package::hasPart(const QString& name) const {
    return d && d->locate(name) >= 0;
}

bool Package::loadXml(const QString& name, pugi::xml_document& doc, OfficeError& error) const {
    if (!d) {
        return false;
    }
    QByteArray bytes;
    if (!d->read(name, bytes, error)) {
        return false;
    }
    QString why;
    if (!xml::parse(bytes, doc, why)) {
        error = d->damaged(name, QStringLiteral("is not well-formed XML (%1)").arg(why));
        return false;
    }
    return true;
}

QString Package::relationshipsPartOf(const QString& partName) {
    const qsizetype slash = partName.lastIndexOf(u'/');
    return partName.left(slash + 1) + QStringLiteral("_rels/") + partName.mid(slash + 1) +
           QStringLiteral(".rels");
}

QList<Relationship> Package::relationships(const QString& partName, OfficeError& error) const {
    QList<Relationship> out;
    const QString relsPart = relationshipsPartOf(partName);
    if (!hasPart(relsPart)) {
        return out;
    }
    pugi::xml_document doc;
    if (!loadXml(relsPart, doc, error)) {
        return out;
    }
    for (pugi::xml_node r = doc.document_element().first_child(); r; r = r.next_sibling()) {
        if (r.type() != pugi::node_element || std::strcmp(xml::localName(r), "Relationship") != 0) {
            continue;
        }
        Relationship rel;
        rel.id = QString::fromUtf8(r.attribute("Id").value());
        rel.type = QString::fromUtf8(r.attribute("Type").value());
        if (std::strcmp(r.attribute("TargetMode").value(), "External") != 0) {
            rel.target = resolveTarget(partName, QString::fromUtf8(r.attribute("Target").value()));
        }
        out.append(rel);
    }
    return out;
}

QString Package::contentType(const QString& partName) const {
    if (!d) {
        return {};
    }
    const QString wanted = u'/' + partName;
    const pugi::xml_node types = d->contentTypes.document_element();
    for (pugi::xml_node o = types.first_child(); o; o = o.next_sibling()) {
        if (o.type() == pugi::node_element && std::strcmp(xml::localName(o), "Override") == 0 &&
            QString::fromUtf8(o.attribute("PartName").value())
                    .compare(wanted, Qt::CaseInsensitive) == 0) {
            return QString::fromUtf8(o.attribute("ContentType").value());
        }
    }
    const qsizetype dot = partName.lastIndexOf(u'.');
    const QString extension = dot >= 0 ? partName.mid(dot + 1) : QString();
    for (pugi::xml_node o = types.first_child(); o; o = o.next_sibling()) {
        if (o.type() == pugi::node_element && std::strcmp(xml::localName(o), "Default") == 0 &&
            QString::fromUtf8(o.attribute("Extension").value())
                    .compare(extension, Qt::CaseInsensitive) == 0) {
            return QString::fromUtf8(o.attribute("ContentType").value());
        }
    }
    return {};
}

void Package::setContentType(const QString& partName, const QString& type) {
    if (!d) {
        return;
    }
    const QString wanted = u'/' + partName;
    pugi::xml_node types = d->contentTypes.document_element();
    pugi::xml_node found;
    for (pugi::xml_node o = types.first_child(); o && !found; o = o.next_sibling()) {
        if (o.type() == pugi::node_element && std::strcmp(xml::localName(o), "Override") == 0 &&
            QString::fromUtf8(o.attribute("PartName").value())
                    .compare(wanted, Qt::CaseInsensitive) == 0) {
            found = o;
        }
    }
    if (type.isEmpty()) {
        if (found) {
            types.remove_child(found);
            d->contentTypesChanged = true;
        }
        return;
    }
    if (!found) {
        const std::string prefix = xml::prefixFor(types, {ContentTypesNamespace}, "");
        found = types.append_child(xml::qualified(prefix, "Override").c_str());
        found.append_attribute("PartName").set_value(wanted.toUtf8().constData());
        found.append_attribute("ContentType");
    }
    pugi::xml_attribute attribute = found.attribute("ContentType");
    if (!attribute) {
        attribute = found.append_attribute("ContentType");
    }
    attribute.set_value(type.toUtf8().constData());
    d->contentTypesChanged = true;
}

bool Package::build(const std::map<QString, QByteArray>& replaced, const QStringList& removed,
                    QByteArray& out, OfficeError& error) const {
    if (!d) {
        error = {InvalidFileFormat, QStringLiteral("There is no document to save.")};
        return false;
    }
    std::map<QString, QByteArray> parts = replaced;
    if (d->contentTypesChanged) {
        parts[ContentTypesPart] = xml::serialize(d->contentTypes);
    }

    // libzip fails for want of memory, or because an entry copied from the original cannot be
    // read after all.
    auto failed = [&](zip_error_t* reason) {
        const bool memory = reason && zip_error_code_zip(reason) == ZIP_ER_MEMORY;
        const QString why = reason ? zipMessage(reason) : QStringLiteral("not enough memory");
        if (memory || !reason) {
            error = {OutOfMemory,
                     QStringLiteral("There is not enough memory to save the %1.").arg(d->kind)};
        } else {
            error = {InvalidFileFormat,
                     capitalised(QStringLiteral("%1 cannot be saved again: it is damaged (%2).")
                                     .arg(d->subject, why))};
        }
        return false;
    };
    zip_error_t zipError;
    zip_error_init(&zipError);
    // The package's own bytes again, opened for writing: libzip copies the entries that are not
    // replaced as they are, compressed data included. It is given a copy that it owns: writing
    // the new package into the same buffer source shares the unchanged beginning with the old
    // one, and libzip then frees that memory itself.
    void* copy = std::malloc(size_t(d->data.size()));
    if (!copy) {
        zip_error_fini(&zipError);
        return failed(nullptr);
    }
    std::memcpy(copy, d->data.constData(), size_t(d->data.size()));
    zip_source_t* source =
        zip_source_buffer_create(copy, zip_uint64_t(d->data.size()), 1, &zipError);
    if (!source) {
        std::free(copy);
    }
    zip_t* archive = source ? zip_open_from_source(source, 0, &zipError) : nullptr;
    if (!archive) {
        failed(&zipError);
        zip_error_fini(&zipError);
        if (source) {
            zip_source_free(source);
        }
        return false;
    }
    zip_error_fini(&zipError);
    zip_source_keep(source);

    auto abandon = [&]() {
        failed(zip_get_error(archive));
        zip_discard(archive);
        zip_source_free(source);
        return false;
    };
    for (const QString& part : removed) {
        const zip_int64_t index =
            zip_name_locate(archive, part.toUtf8().constData(), ZIP_FL_NOCASE);
        if (index >= 0 && zip_delete(archive, zip_uint64_t(index)) != 0) {
            return abandon();
        }
    }
    for (const auto& [part, bytes] : parts) {
        zip_source_t* data =
            zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        if (!data) {
            return abandon();
        }
        zip_int64_t index = zip_name_locate(archive, part.toUtf8().constData(), ZIP_FL_NOCASE);
        if (index >= 0) {
            if (zip_file_replace(archive, zip_uint64_t(index), data, 0) != 0) {
                zip_source_free(data);
                return abandon();
            }
        } else {
            index = zip_file_add(archive, part.toUtf8().constData(), data, ZIP_FL_ENC_UTF_8);
            if (index < 0) {
                zip_source_free(data);
                return abandon();
            }
        }
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 6);
    }
    if (zip_close(archive) != 0) {
        return abandon();
    }

    // The new package is now what the source holds.
    bool ok = zip_source_open(source) == 0;
    zip_stat_t st;
    zip_stat_init(&st);
    ok = ok && zip_source_stat(source, &st) == 0 && (st.valid & ZIP_STAT_SIZE);
    if (ok) {
        out.resize(qsizetype(st.size));
        zip_uint64_t done = 0;
        while (ok && done < st.size) {
            const zip_int64_t n = zip_source_read(source, out.data() + done, st.size - done);
            ok = n > 0;
            done += ok ? zip_uint64_t(n) : 0;
        }
        zip_source_close(source);
    }
    if (!ok) {
        failed(zip_source_error(source));
        out.clear();
    }
    zip_source_free(source);
    return ok;
}

bool Package::save(const QString& path, const std::map<QString, QByteArray>& replaced,
                   const QStringList& removed, OfficeError& error) const {
    QByteArray bytes;
    return build(replaced, removed, bytes, error) && writeFileAtomically(path, bytes, error);
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, OfficeError& error) {
    const QFileInfo info(path);
    const QString name = QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
    const QFileInfo folder(info.absolutePath());
    const QString folderName =
        QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(info.absolutePath()));
    if (path.isEmpty()) {
        error = {PathFileAccess, QStringLiteral("No file name was given to save to.")};
        return false;
    }
    if (info.isDir()) {
        error = {PathFileAccess, QStringLiteral("%1 cannot be saved: it is a folder.").arg(name)};
        return false;
    }
    if (!folder.exists()) {
        error = {PathFileAccess, QStringLiteral("%1 cannot be saved: the folder %2 does not exist.")
                                     .arg(name, folderName)};
        return false;
    }
    if (!folder.isDir()) {
        error = {PathFileAccess,
                 QStringLiteral("%1 cannot be saved: %2 is not a folder.").arg(name, folderName)};
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        const QStorageInfo storage(info.absolutePath());
        if (storage.isValid() && storage.isReadOnly()) {
            error = {PathFileAccess,
                     QStringLiteral("%1 cannot be saved: the disk holding %2 is read-only.")
                         .arg(name, folderName)};
        } else if (info.exists() && !info.isWritable()) {
            error = {PermissionDenied,
                     QStringLiteral("%1 cannot be saved: the file is read-only.").arg(name)};
        } else if (!folder.isWritable()) {
            error = {PermissionDenied,
                     QStringLiteral("%1 cannot be saved: permission to write in the folder %2 "
                                    "was denied.")
                         .arg(name, folderName)};
        } else {
            error = {PathFileAccess,
                     QStringLiteral("%1 cannot be saved: %2.").arg(name, file.errorString())};
        }
        return false;
    }
    const bool written = file.write(bytes) == bytes.size();
    if (written && file.commit()) {
        return true;
    }
    const QFileDevice::FileError reason = file.error();
    const QString why = file.errorString();
    file.cancelWriting();
    const QStorageInfo storage(info.absolutePath());
    if (reason == QFileDevice::ResourceError ||
        (storage.isValid() && storage.bytesAvailable() < bytes.size())) {
        error = {DiskFull, QStringLiteral("%1 cannot be saved: the disk is full.").arg(name)};
    } else {
        error = {PathFileAccess, QStringLiteral("%1 cannot be saved: %2.").arg(name, why)};
    }
    return false;
}

}  // namespace office
