#pragma once

class AppState;

// The File menu's Backup and Restore: the file is chosen, the work is done by the backup
// logic, and the outcome is told.
void BackupWithDialog(AppState& app);
// True when the database was replaced (the screens that show its data must then reload).
bool RestoreWithDialog(AppState& app);
