#pragma once

#include <QDialog>

class AppState;
class QTabWidget;
class TemplatesTab;

// The setup screen: the system-wide settings, templates and maintenance, in tabs.
class frmSetup : public QDialog {
    Q_OBJECT
public:
    explicit frmSetup(AppState& app, QWidget* parent = nullptr);

    void Form_Load();

    QTabWidget* SSTab1;
    TemplatesTab* templates;

protected:
    void done(int result) override;

private:
    AppState& app_;
};
