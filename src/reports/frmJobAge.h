#pragma once

#include "reports/JobAgeReport.h"

#include <QWidget>

class AppState;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The job age report: the jobs in the system for at least a number of days, counted from a
// date the user chooses, sorted by a column or grouped and counted by introducer.
class frmJobAge : public QWidget {
    Q_OBJECT
public:
    explicit frmJobAge(AppState& app, QWidget* parent = nullptr);

    void Form_Load();
    // Grouping disables the sort list.
    void cbGroup_Click();
    // Create Report: sorted when the sort list is enabled, grouped otherwise.
    void SSCommand2_Click();
    void cmdDoIt_Click();
    void SSCommand1_Click();
    void txtDays_LostFocus();
    // What the controls ask for.
    JobAgeChoice choice() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* txtDays;
    QComboBox* cbDateTypes;
    QComboBox* cbJobStatus;
    QComboBox* cbIntroducedBy;
    QComboBox* cbSortBy;
    QComboBox* cbGroup;
    QLabel* Label4;
    QLabel* Label7;
    QPushButton* SSCommand2;
    QPushButton* cmdExit;
    QPushButton* cmdDoIt;
    QPushButton* SSCommand1;

    // Rebuilds the ages and shows the report.
    void produce(bool grouped);

    AppState& app_;
};
