#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <array>

class Database;

// The captions of the job screen's labels, which the user may rename. Index 0 to 35 name a
// label; the table "labels" holds the user's own texts.
namespace captions {

constexpr int kLabelCount = 36;

// The caption each label carries before the user renames it.
const std::array<QString, kLabelCount>& defaults();

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
