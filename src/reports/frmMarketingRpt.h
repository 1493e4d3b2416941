#pragma once

#include "reports/MarketingReport.h"

#include <QWidget>

class AppState;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

// The job status report within a date range: the jobs whose chosen date lies between From and
// To, of one status and introducer or all, listed in a chosen order or grouped and counted by
// introducer.
class frmMarketingRpt : public QWidget {
    Q_OBJECT
public:
    explicit frmMarketingRpt(AppState& app, QWidget* parent = nullptr);

    void Form_Load();
    // Grouping disables the order list.
    void cbGroup_Click();
    void cmdGenerateReport_Click();
    // What the controls ask for.
    MarketingChoice choice() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* txtFrom;
    QLineEdit* txtTo;
    QComboBox* cbDate;
    QComboBox* cbStatus;
    QComboBox* cbIntroducedBy;
    QComboBox* cbGroup;
    QComboBox* cbOrder;
    QGroupBox* SSFrame3;
    QGroupBox* SSFrame4;
    QGroupBox* SSFrame5;
    QPushButton* cmdGenerateReport;
    QPushButton* SSCommand1;

    AppState& app_;
};
