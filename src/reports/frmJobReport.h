#pragma once

#include "reports/JobStatusReport.h"

#include <QWidget>

class AppState;
class QComboBox;
class QPushButton;
class QRadioButton;

// The job report: the jobs of one status, or the current, closed or all jobs, in a chosen
// order, shown as the "Advanced Report".
class frmJobReport : public QWidget {
    Q_OBJECT
public:
    explicit frmJobReport(AppState& app, QWidget* parent = nullptr);

    void Form_Load();
    void cmdGenerateReport_Click();
    // What the controls ask for.
    JobReportOrder order() const;

private:
    QComboBox* cbStatus;
    QRadioButton* optJobNo;
    QRadioButton* optJobDate;
    QRadioButton* optStatus;
    QPushButton* cmdGenerateReport;
    QPushButton* SSCommand1;

    AppState& app_;
};
