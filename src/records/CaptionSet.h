#pragma once

#include "db/LabelTexts.h"

#include <QObject>
#include <QString>
#include <array>
#include <bitset>

class Database;

// The user's captions of the job screen's labels, shared by every screen that shows them. A
// screen that shows a caption listens to changed(); one that renames a caption sets it here.
class CaptionSet : public QObject {
    Q_OBJECT
public:
    static constexpr int kCount = 201;

    explicit CaptionSet(QObject* parent = nullptr);

    // The user's text of the caption, empty when the labels table holds none.
    const QString& operator[](size_t index) const { return texts_[index]; }
    const QString& operator[](Caption caption) const { return texts_[size_t(caption)]; }
    // The caption as the job screen shows it: the user's text, or the design text when the
    // labels table holds none.
    QString shown(int index) const;
    std::array<QString, captions::kLabelCount> shownLabels() const;

    // Renames a caption.
    void set(int index, const QString& text);
    // Takes the captions the labels table holds; rows whose index names no caption are passed
    // over, captions it does not hold keep their text.
    void load(Database& db);

Q_SIGNALS:
    void changed();

private:
    std::array<QString, kCount> texts_;
    std::bitset<kCount> stored_;
};

namespace captions {
// Fills the shared captions from the labels table (CaptionSet::load).
inline void load(Database& db, CaptionSet& set) {
    set.load(db);
}
}  // namespace captions
