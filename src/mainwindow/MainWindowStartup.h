#pragma once

#include "startup/Startup.h"

#include <memory>

class AppState;
class frmMain;

// Start-up's screens: the main window, and the busy pointer.
class MainWindowStartup : public StartupUi {
public:
    explicit MainWindowStartup(AppState& app);
    ~MainWindowStartup() override;

    void showMainWindow() override;
    void setBusy(bool busy) override;

    frmMain* mainWindow() const { return main_.get(); }

private:
    AppState& app_;
    std::unique_ptr<frmMain> main_;
};
