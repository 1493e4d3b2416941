#pragma once

#include <QString>
#include <array>

// The captions of the job screen's labels, which the user may rename. Index 0 to 35 name a
// label; a new database's table "labels" holds these texts.
namespace captions {

constexpr int kLabelCount = 36;

// The caption each label carries before the user renames it.
const std::array<QString, kLabelCount>& defaults();

}  // namespace captions
