#pragma once

class AppState;

// The File menu's Backup and Restore: the file is chosen, the work is done by the backup
// logic, and the outcome is told.
void BackupWithDialog(AppState& app);
// Refused while another program uses the database. Before the database is replaced, every open
// screen is asked about its unsaved changes and closed, so none shows or saves rows of the
// replaced file. True when the database was replaced.
bool RestoreWithDialog(AppState& app);
