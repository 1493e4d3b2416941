#pragma once

#include <QWidget>

class AppState;
class QPushButton;

// The reports menu: the job age report and the date-range job status report.
class frmReports : public QWidget {
    Q_OBJECT
public:
    explicit frmReports(AppState& app, QWidget* parent = nullptr);

    void Form_Load();
    void cmdJobAge_Click();
    void cmdJobStatus_Click();

private:
    QPushButton* cmdJobAge;
    QPushButton* cmdJobStatus;

    AppState& app_;
};

// The two report screens, one instance each, modeless.
void showJobAgeScreen(AppState& app);
void showMarketingScreen(AppState& app);
