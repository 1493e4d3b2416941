#pragma once

#include "jobs/JobStore.h"
#include "records/AppState.h"

// Jobs read and saved as the job screen does: in the workstation's formats, stamped with its
// name and the time now.
namespace testjobs {

inline jobs::LoadedJob read(AppState& app, qint32 jobNo) {
    return jobs::readJob(app.DbConnection, jobs::jobFormat(app), jobNo);
}

inline jobs::SavedJob save(AppState& app, const JobFields& fields, qint32 jobNo,
                           std::optional<qint32> manualNumber = std::nullopt,
                           const jobs::JobRow& base = {}) {
    return jobs::writeJob(app.DbConnection, jobs::jobFormat(app), app.saveStamp(), fields, jobNo,
                          manualNumber, base);
}

}  // namespace testjobs
