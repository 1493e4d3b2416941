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

// The job screen's renamable captions by what they name; the value is the caption's index in
// the table "labels". Job number and status are shown on each of the three tabs.
enum class Caption : int {
    DateReceived = 0,
    IntroducedBy = 1,
    WorkName = 2,
    JobStatus = 3,
    HomeAddress = 4,
    DateDue = 5,
    DateCompleted = 6,
    HomeNumbers = 7,
    ClientRef = 8,
    JobNo = 9,
    ClientJobStatus = 10,
    DateCreated = 11,
    ClientJobNo = 12,
    SearchFor = 13,
    DocumentsHeading = 14,
    CustRef = 15,
    JobSheetHint = 16,
    DocumentTitle = 17,
    DocumentAddress = 18,
    DocumentType = 19,
    DateQuoted = 20,
    WorkDetails = 21,
    Unused1 = 22,
    WorkNotes = 23,
    Unused2 = 24,
    Unused3 = 25,
    Unused4 = 26,
    Unused5 = 27,
    CliAddress = 28,
    CliNumbers = 29,
    CliNotes = 30,
    CliName = 31,
    DocumentsJobNo = 32,
    DocumentsJobStatus = 33,
    Unused6 = 34,
    Unused7 = 35,
};

// The caption's index among the labels.
constexpr int captionIndex(Caption caption) {
    return static_cast<int>(caption);
}

// The captions of the job's free fields Unused1 to Unused7, in field order.
inline constexpr std::array<Caption, 7> kUnusedCaptions = {
    Caption::Unused1, Caption::Unused2, Caption::Unused3, Caption::Unused4,
    Caption::Unused5, Caption::Unused6, Caption::Unused7};
