#pragma once

#include "setup/SetupTab.h"
#include "setup/SetupValues.h"

#include <optional>

class AppState;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The "Counters / Data Entry" tab: the next numbers, the currency and tax names, the option
// bits and the date format. Nothing is stored until Apply or OK.
class CountersTab : public SetupTab {
    Q_OBJECT
public:
    explicit CountersTab(AppState& app, QWidget* parent = nullptr);

    void LoadCounters();
    void LoadDateFormats();
    void comDateFormat_Click();
    void chkSystemDate_Click();
    // Stores what the user changed on the tab; false (after telling the user) when a value is
    // refused or could not be stored.
    bool cmdApplyCounters_Click();
    bool hasChanges() const override;
    bool applyChanges() override { return cmdApplyCounters_Click(); }

Q_SIGNALS:
    // The option flags were read with the counters, the two document options among them (which
    // the templates tab shows and stores).
    void optionsLoaded();

private:
    // The option boxes in the order of their bits (the two document options follow them).
    QList<QCheckBox*> optionBoxes() const;
    // The values the boxes hold now; the counters as their leading numbers.
    setupvalues::Counters shown() const;
    // The date format Apply would store, or an empty text.
    QString formatToStore() const;

    // What the tab showed when it was filled, to store only what the user changed.
    setupvalues::Counters loaded_;
    QString loadedFormat_;

    AppState& app_;

    QCheckBox* chkForceDate;
    QComboBox* comDateFormat;
    QLabel* labDateFormat;
    QCheckBox* chkSystemDate;
    QLineEdit* txtCurrency;
    QLineEdit* txtDocNo;
    QLineEdit* txtInvNo;
    QLineEdit* txtJobNo;
    QLineEdit* txtEstNo;
    QCheckBox* chkManual;
    QCheckBox* ckPrintCount;
    QCheckBox* ckVATRegistered;
    QLineEdit* txtTaxDesc;
    QPushButton* cmdApplyCounters;
    QPushButton* SSCommand3;  // OK
    QPushButton* SSCommand2;  // Cancel
};
