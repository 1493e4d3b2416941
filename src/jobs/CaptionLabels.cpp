#include "jobs/CaptionLabels.h"

#include "db/LabelTexts.h"

#include <QEvent>
#include <QLabel>

CaptionLabels::CaptionLabels(QObject* parent) : QObject(parent) {}

QLabel* CaptionLabels::make(QWidget* parent, Caption caption, QWidget* buddy) {
    const int index = captionIndex(caption);
    auto* label = new QLabel(captions::defaults()[size_t(index)], parent);
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    label->setToolTip(QStringLiteral("Double-click to rename this caption."));
    if (buddy) {
        label->setBuddy(buddy);
    }
    label->installEventFilter(this);
    labels_[size_t(index)] = label;
    return label;
}

QString CaptionLabels::text(int index) const {
    return labels_[size_t(index)]->text();
}

void CaptionLabels::setText(int index, const QString& text) {
    labels_[size_t(index)]->setText(text);
}

std::array<QString, CaptionLabels::kCount> CaptionLabels::texts() const {
    std::array<QString, kCount> out;
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = labels_[i]->text();
    }
    return out;
}

bool CaptionLabels::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < kCount; ++i) {
            if (watched == labels_[size_t(i)]) {
                Q_EMIT doubleClicked(i);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
