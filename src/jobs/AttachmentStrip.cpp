#include "jobs/AttachmentStrip.h"

#include "documents/Thumbnails.h"

#include <QPainter>
#include <QStandardItemModel>

namespace {

constexpr int kSide = 128;
constexpr int kFileNameRole = Qt::UserRole + 1;

QPixmap placeholder() {
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0xb0, 0xb0, 0xb0));
    painter.setBrush(QColor(0xee, 0xee, 0xee));
    painter.drawRect(pixmap.rect().adjusted(8, 20, -9, -21));
    return pixmap;
}

}  // namespace

AttachmentStrip::AttachmentStrip(QWidget* parent)
    : QListView(parent),
      model_(new QStandardItemModel(this)),
      thumbnailer_(new Thumbnailer(QSize(kSide, kSide), thumbnails::defaultCacheFolder(), this)),
      waiting_(placeholder()) {
    setObjectName(QStringLiteral("lstAttachments"));
    setModel(model_);
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setUniformItemSizes(true);
    setIconSize(QSize(kSide, kSide));
    setGridSize(QSize(kSide + 24, kSide + 40));
    setTextElideMode(Qt::ElideMiddle);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setToolTip(QStringLiteral("Double-click a photo to open it."));
    setMinimumHeight(kSide + 48);
    setVisible(false);
    connect(thumbnailer_, &Thumbnailer::ready, this, &AttachmentStrip::showThumbnail);
    connect(this, &QListView::activated, this, [this](const QModelIndex& index) {
        Q_EMIT openClicked(index.data(kFileNameRole).toString());
    });
}

void AttachmentStrip::setPhotos(const QString& documentsFolder, const QList<Photo>& photos) {
    model_->clear();
    rowOfPath_.clear();
    shown_ = 0;
    QStringList paths;
    for (const Photo& photo : photos) {
        auto* item = new QStandardItem(waiting_, photo.title);
        item->setData(photo.fileName, kFileNameRole);
        item->setToolTip(photo.title);
        model_->appendRow(item);
        const QString path = documentsFolder + u'/' + photo.fileName;
        rowOfPath_.insert(path, model_->rowCount() - 1);
        paths << path;
    }
    setVisible(!photos.isEmpty());
    thumbnailer_->request(paths);
}

void AttachmentStrip::showThumbnail(const QString& path, const QImage& image) {
    const auto row = rowOfPath_.constFind(path);
    if (row == rowOfPath_.cend() || image.isNull()) {
        return;
    }
    model_->item(*row)->setIcon(QIcon(QPixmap::fromImage(image)));
    Q_EMIT thumbnailShown(++shown_);
}
