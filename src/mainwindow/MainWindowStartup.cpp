#include "mainwindow/MainWindowStartup.h"

#include "mainwindow/frmMain.h"

#include <QApplication>

MainWindowStartup::MainWindowStartup(AppState& app) : app_(app) {}

MainWindowStartup::~MainWindowStartup() = default;

void MainWindowStartup::showMainWindow() {
    main_ = std::make_unique<frmMain>(app_);
    connect(this, &StartupUi::finished, main_.get(), &frmMain::startupFinished);
    main_->Form_Load();
    main_->show();
}

void MainWindowStartup::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}
