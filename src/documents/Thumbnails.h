#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <memory>

// Small pictures of the photos attached to jobs.
namespace thumbnails {

// Whether the file is of a kind of picture the program reads (by its extension).
bool isPicture(const QString& fileName);
// The picture the right way up (as its EXIF orientation says), scaled to fit the box and never
// enlarged; read at about that size where the format allows, which is far quicker for a JPEG
// than reading it whole. A null image when it cannot be read.
QImage read(const QString& path, QSize box);
// The folder the thumbnails are kept in between runs: the user's cache folder.
QString defaultCacheFolder();

}  // namespace thumbnails

// Makes thumbnails on threads of its own and hands them over on the thread it lives on. Each
// one made is kept in the cache folder under a key of the file's path, size, time modified and
// the box, so that a picture is read whole only once; the next time the small copy is read.
class Thumbnailer : public QObject {
    Q_OBJECT
public:
    explicit Thumbnailer(QSize box, QString cacheFolder = thumbnails::defaultCacheFolder(),
                         QObject* parent = nullptr);
    ~Thumbnailer() override;

    // Makes the thumbnails of these files, in this order, in place of any asked for before:
    // those not started yet are dropped and those still being made are not reported.
    void request(const QStringList& paths);
    void cancel() { request({}); }
    QSize box() const { return box_; }

Q_SIGNALS:
    // A thumbnail of the current request; a null image when the file could not be read.
    void ready(const QString& path, const QImage& image);

private:
    QSize box_;
    QString cacheFolder_;
    QThreadPool pool_;
    std::shared_ptr<std::atomic<quint64>> batch_ = std::make_shared<std::atomic<quint64>>(0);
};
