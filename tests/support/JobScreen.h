#pragma once

#include "jobs/frmJobs.h"
#include "support/TestEnv.h"

#include <memory>

// Job 5 saved on a new database (Mrs O'Brien for Harbour Estates, "Quoted", due 01/02/2010),
// dates shown as dd/mm/yyyy, and remembered as the last job shown.
TestEnv& withJobFive(TestEnv& env);

// The job screen, loaded and shown as the active window, so that focus moves raise focus events.
// It stands for its window wherever a control is looked for.
struct JobScreen : std::unique_ptr<frmJobs> {
    operator frmJobs*() const { return get(); }
};
JobScreen openJobScreen(TestEnv& env);
