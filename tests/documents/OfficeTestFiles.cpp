#include "OfficeTestFiles.h"

#include <zip.h>
#include <QFile>
#include <QTest>
#include <cstdlib>
#include <cstring>

namespace testfiles {

QString fixture(const QString& name) {
    return QStringLiteral(VERDELL_TEST_DATA "/documents/") + name;
}

QByteArray read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("cannot read %s", qPrintable(path));
    }
    return file.readAll();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

namespace {

// libzip gets a copy of its own: when it writes a new package into the same source, it takes
// over and frees the memory of the old one.
zip_t* openZip(const QByteArray& bytes, int flags, zip_source_t** source) {
    zip_error_t error;
    zip_error_init(&error);
    void* copy = std::malloc(size_t(bytes.size()) + 1);
    std::memcpy(copy, bytes.constData(), size_t(bytes.size()));
    *source = zip_source_buffer_create(copy, zip_uint64_t(bytes.size()), 1, &error);
    zip_t* archive = zip_open_from_source(*source, flags, &error);
    zip_error_fini(&error);
    if (!archive) {
        zip_source_free(*source);
    }
    return archive;
}

QByteArray readSource(zip_source_t* source) {
    QByteArray out;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_open(source) != 0 || zip_source_stat(source, &st) != 0) {
        qFatal("cannot read the package made");
    }
    out.resize(qsizetype(st.size));
    zip_uint64_t done = 0;
    while (done < st.size) {
        const zip_int64_t n = zip_source_read(source, out.data() + done, st.size - done);
        if (n <= 0) {
            qFatal("cannot read the package made");
        }
        done += zip_uint64_t(n);
    }
    zip_source_close(source);
    return out;
}

}  // namespace

QByteArray part(const QByteArray& package, const QString& name) {
    zip_source_t* source = nullptr;
    zip_t* archive = openZip(package, ZIP_RDONLY, &source);
    if (!archive) {
        return {};
    }
    QByteArray out;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(archive, name.toUtf8().constData(), 0, &st) == 0) {
        zip_file_t* file = zip_fopen(archive, name.toUtf8().constData(), 0);
        out.resize(qsizetype(st.size));
        if (!file || zip_fread(file, out.data(), st.size) != zip_int64_t(st.size)) {
            out.clear();
        }
        if (file) {
            zip_fclose(file);
        }
    }
    zip_discard(archive);
    return out;
}

QStringList partNames(const QByteArray& package) {
    zip_source_t* source = nullptr;
    zip_t* archive = openZip(package, ZIP_RDONLY, &source);
    QStringList names;
    if (!archive) {
        return names;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        names.append(QString::fromUtf8(zip_get_name(archive, zip_uint64_t(i), 0)));
    }
    zip_discard(archive);
    return names;
}

QByteArray withParts(const QByteArray& package, const QMap<QString, QByteArray>& parts,
                     const QStringList& removed, int level) {
    zip_source_t* source = nullptr;
    zip_t* archive = openZip(package, 0, &source);
    if (!archive) {
        qFatal("the package cannot be opened");
    }
    zip_source_keep(source);
    for (const QString& name : removed) {
        const zip_int64_t index = zip_name_locate(archive, name.toUtf8().constData(), 0);
        if (index >= 0) {
            zip_delete(archive, zip_uint64_t(index));
        }
    }
    for (auto it = parts.begin(); it != parts.end(); ++it) {
        zip_source_t* data =
            zip_source_buffer(archive, it.value().constData(), zip_uint64_t(it.value().size()), 0);
        const zip_int64_t index = zip_file_add(archive, it.key().toUtf8().constData(), data,
                                               ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            qFatal("cannot add %s", qPrintable(it.key()));
        }
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, zip_uint32_t(level));
    }
    if (zip_close(archive) != 0) {
        qFatal("cannot make the package: %s", zip_strerror(archive));
    }
    const QByteArray out = readSource(source);
    zip_source_free(source);
    return out;
}

QByteArray edited(const QByteArray& xml, const QByteArray& from, const QByteArray& to) {
    if (!xml.contains(from)) {
        qFatal("the part does not hold %s", from.constData());
    }
    QByteArray out = xml;
    out.replace(from, to);
    return out;
}

}  // namespace testfiles
