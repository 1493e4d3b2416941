#include "records/CaptionSet.h"

#include "records/Captions.h"

CaptionSet::CaptionSet(QObject* parent) : QObject(parent) {}

QString CaptionSet::shown(int index) const {
    if (index < captions::kLabelCount && !stored_[size_t(index)]) {
        return captions::defaults()[size_t(index)];
    }
    return texts_[size_t(index)];
}

std::array<QString, captions::kLabelCount> CaptionSet::shownLabels() const {
    std::array<QString, captions::kLabelCount> out;
    for (int i = 0; i < captions::kLabelCount; ++i) {
        out[size_t(i)] = shown(i);
    }
    return out;
}

void CaptionSet::set(int index, const QString& text) {
    if (index < 0 || index >= kCount) {
        return;
    }
    texts_[size_t(index)] = text;
    stored_.set(size_t(index));
    Q_EMIT changed();
}

void CaptionSet::load(Database& db) {
    for (const auto& [index, text] : captions::read(db)) {
        if (index >= 0 && index < captions::kLabelCount) {
            texts_[size_t(index)] = text;
            stored_.set(size_t(index));
        }
    }
    Q_EMIT changed();
}
