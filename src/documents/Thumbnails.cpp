#include "documents/Thumbnails.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTransform>

#include <cmath>
#include <cstdio>

namespace {

// The small JPEG a camera keeps in its photo's EXIF data (the thumbnail of IFD1), when the file
// starts with such data; a null image otherwise. Only the first 64 KB are read, where EXIF data
// must be.
QImage embeddedThumbnail(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray head = file.read(65536 + 16);
    const auto byteAt = [&](qsizetype at) { return at < head.size() ? uchar(head[at]) : 0u; };
    if (byteAt(0) != 0xff || byteAt(1) != 0xd8) {
        return {};
    }
    QByteArray tiff;
    for (qsizetype at = 2; byteAt(at) == 0xff && at + 4 <= head.size();) {
        const uint marker = byteAt(at + 1);
        const qsizetype length = qsizetype(byteAt(at + 2) << 8 | byteAt(at + 3));
        if (marker == 0xda || marker == 0xd9 || length < 2) {
            break;  // the picture itself begins: no EXIF data before it
        }
        if (marker == 0xe1 && head.mid(at + 4, 6) == QByteArray("Exif\0\0", 6)) {
            tiff = head.mid(at + 10, length - 8);
            break;
        }
        at += 2 + length;
    }
    const bool little = tiff.startsWith(QByteArray("II*\0", 4));
    if (!little && !tiff.startsWith(QByteArray("MM\0*", 4))) {
        return {};
    }
    const auto number = [&](qsizetype at, int bytes) -> quint32 {
        if (at < 0 || at + bytes > tiff.size()) {
            return 0;
        }
        quint32 value = 0;
        for (int i = 0; i < bytes; ++i) {
            const quint32 byte = uchar(tiff[at + (little ? bytes - 1 - i : i)]);
            value = value << 8 | byte;
        }
        return value;
    };
    const quint32 first = number(4, 4);
    const quint32 second = number(first + 2 + 12 * number(first, 2), 4);
    if (second == 0) {
        return {};
    }
    quint32 offset = 0, length = 0;
    for (quint32 i = 0, count = number(second, 2); i < count && i < 64; ++i) {
        const qsizetype entry = second + 2 + 12 * i;
        const quint32 tag = number(entry, 2);
        const quint32 value =
            number(entry + 2, 2) == 3 ? number(entry + 8, 2) : number(entry + 8, 4);
        if (tag == 0x0201) {
            offset = value;
        } else if (tag == 0x0202) {
            length = value;
        }
    }
    if (offset == 0 || length == 0 || qint64(offset) + length > tiff.size()) {
        return {};
    }
    return QImage::fromData(tiff.mid(offset, length), "JPEG");
}

// The image turned and mirrored as an EXIF orientation says.
QImage transformed(const QImage& image, QImageIOHandler::Transformations how) {
    QImage out = image;
    if (how & (QImageIOHandler::TransformationMirror | QImageIOHandler::TransformationFlip)) {
        out = out.mirrored(how & QImageIOHandler::TransformationMirror,
                           how & QImageIOHandler::TransformationFlip);
    }
    if (how & QImageIOHandler::TransformationRotate90) {
        out = out.transformed(QTransform().rotate(90));
    }
    return out;
}

// The image made small enough for the box, never larger.
QImage fitted(const QImage& image, QSize box) {
    if (image.width() > box.width() || image.height() > box.height()) {
        return image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return image;
}

}  // namespace

namespace thumbnails {

bool isPicture(const QString& fileName) {
    static const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    const QByteArray suffix = QFileInfo(fileName).suffix().toLower().toLatin1();
    return !suffix.isEmpty() && formats.contains(suffix) && suffix != "pdf" && suffix != "svg" &&
           suffix != "svgz";
}

QImage read(const QString& path, QSize box) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    // A photo's own small picture, when it is as big as the box needs and of the photo's
    // proportions (not one padded with bars), saves reading the whole photo.
    if (stored.isValid() && reader.format() == "jpeg") {
        const QImage small = embeddedThumbnail(path);
        const QSize fit = reader.transformation() & QImageIOHandler::TransformationRotate90
                              ? box.transposed()
                              : box;
        const QSize needed = stored.scaled(fit, Qt::KeepAspectRatio).boundedTo(stored);
        const double proportion = double(stored.width()) / stored.height();
        if (!small.isNull() && small.width() >= needed.width() &&
            small.height() >= needed.height() &&
            std::abs(double(small.width()) / small.height() - proportion) < proportion * 0.03) {
            return fitted(transformed(small, reader.transformation()), box);
        }
    }
    if (stored.isValid()) {
        // The scaled size is of the picture as stored, before it is turned.
        const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
        const QSize fit = turned ? box.transposed() : box;
        if (stored.width() > fit.width() || stored.height() > fit.height()) {
            reader.setScaledSize(stored.scaled(fit, Qt::KeepAspectRatio).expandedTo({1, 1}));
        }
    }
    return fitted(reader.read(), box);
}

QString defaultCacheFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/thumbnails");
}

}  // namespace thumbnails

namespace {

QString cacheKey(const QFileInfo& info, QSize box) {
    const QByteArray key = QFile::encodeName(info.absoluteFilePath()) + '\n' +
                           QByteArray::number(info.size()) + '\n' +
                           QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + '\n' +
                           QByteArray::number(box.width()) + 'x' + QByteArray::number(box.height());
    return QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex());
}

// The thumbnail from the cache, or made and kept there.
QImage thumbnailOf(const QString& path, QSize box, const QString& cacheFolder) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        return {};
    }
    const QString cached = cacheFolder.isEmpty()
                               ? QString()
                               : cacheFolder + u'/' + cacheKey(info, box) + QStringLiteral(".png");
    QImage image;
    if (!cached.isEmpty() && image.load(cached, "PNG")) {
        return image;
    }
    image = thumbnails::read(path, box);
    if (!image.isNull() && !cached.isEmpty() && QDir().mkpath(cacheFolder)) {
        // Written whole under a temporary name, so a reader never meets half a thumbnail. It
        // is not synced to the disk: one lost or cut short by a crash fails to load and is
        // made again, and a sync for each would hold back the next.
        QTemporaryFile file(cached + QStringLiteral(".XXXXXX"));
        // (rename() takes the place of a thumbnail that failed to load.)
        if (file.open() && image.save(&file, "PNG") && file.flush() &&
            ::rename(QFile::encodeName(file.fileName()).constData(),
                     QFile::encodeName(cached).constData()) == 0) {
            file.setAutoRemove(false);
        }
    }
    return image;
}

}  // namespace

Thumbnailer::Thumbnailer(QSize box, QString cacheFolder, QObject* parent)
    : QObject(parent), box_(box), cacheFolder_(std::move(cacheFolder)) {}

Thumbnailer::~Thumbnailer() {
    ++*batch_;
    pool_.clear();
    pool_.waitForDone();
}

void Thumbnailer::request(const QStringList& paths) {
    const quint64 batch = ++*batch_;
    pool_.clear();
    for (const QString& path : paths) {
        pool_.start([this, path, batch, current = batch_, box = box_, folder = cacheFolder_] {
            if (*current != batch) {
                return;
            }
            const QImage image = thumbnailOf(path, box, folder);
            // Handed over on this object's thread, where the batch is looked at again: a newer
            // request meanwhile means the screen has moved on.
            QMetaObject::invokeMethod(
                this,
                [this, path, image, batch, current] {
                    if (*current == batch) {
                        Q_EMIT ready(path, image);
                    }
                },
                Qt::QueuedConnection);
        });
    }
}
