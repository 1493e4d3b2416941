#pragma once

#include <QHash>
#include <QIcon>
#include <QListView>

class QStandardItemModel;
class Thumbnailer;

// The photos attached to a job, as a row of thumbnails under its documents. Each shows a
// placeholder at once; its thumbnail follows when it is made (off the screen's thread). The
// strip is hidden while the job has no photos.
class AttachmentStrip : public QListView {
    Q_OBJECT
public:
    struct Photo {
        QString fileName;  // within the documents folder
        QString title;
    };

    explicit AttachmentStrip(QWidget* parent = nullptr);

    // Shows these photos of the documents folder in place of those before.
    void setPhotos(const QString& documentsFolder, const QList<Photo>& photos);
    // How many thumbnails have been shown since the photos were set.
    int thumbnailsShown() const { return shown_; }

Q_SIGNALS:
    // A double-click, or Enter, on a photo.
    void openClicked(const QString& fileName);
    // Another thumbnail came in (there are now `count`).
    void thumbnailShown(int count);

private:
    void showThumbnail(const QString& path, const QImage& image);

    QStandardItemModel* model_;
    Thumbnailer* thumbnailer_;
    QIcon waiting_;  // shown until the thumbnail comes
    QHash<QString, int> rowOfPath_;
    int shown_ = 0;
};
