#include "documents/Thumbnails.h"

#include "documents/ExifThumbnail.h"

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

// The small picture a camera keeps in its photo's EXIF data; a null image when there is none.
QImage embeddedThumbnail(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray jpeg = exif::embeddedJpeg(file.read(exif::kHeadBytes));
    return jpeg.isEmpty() ? QImage() : QImage::fromData(jpeg, "JPEG");
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
