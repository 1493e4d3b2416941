#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <array>

#include "db/LabelTexts.h"

class Database;

// The user's captions of the job screen's labels, read from the table "labels".
namespace captions {

// The rows of "labels" in table order, each as (index, trimmed text). Reading stops quietly at
// the first error; what was read so far is kept.
QList<QPair<int, QString>> read(Database& db);

// Fills the shared captions from the labels table: rows whose index names no label are passed
// over.
template <size_t N>
void load(Database& db, std::array<QString, N>& fieldCaptions) {
    for (const auto& [index, text] : read(db)) {
        if (index >= 0 && index < kLabelCount && size_t(index) < N) {
            fieldCaptions[size_t(index)] = text;
        }
    }
}

}  // namespace captions
