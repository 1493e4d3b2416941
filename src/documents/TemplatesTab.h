#pragma once

#include <QWidget>

class AppState;
class QCheckBox;
class QComboBox;
class QPushButton;

// The templates tab of the setup screen: the templates in the templates folder, editing one,
// checking the word processor with one, the default (job sheet) and estimate templates,
// pre-processing, and the two document options.
class TemplatesTab : public QWidget {
    Q_OBJECT
public:
    explicit TemplatesTab(AppState& app, QWidget* parent = nullptr);

    // Shows the document options as the shared flags hold them.
    void showOptions();

    void cmdPopLetters_Click();
    void cmdEditJobSheet_Click();
    void cmdValidateMSWord_Click();
    void cmdSetDefault_Click();
    void cmdPreProcess_Click();
    void cmdSetEstimateTemplate_Click();
    void chkBackgroundPrinting_Click();
    void chkJustPrint_Click();

private:
    // The chosen template, or empty after telling the user to choose one.
    QString chosenTemplate(const QString& missingPrompt);
    void storeOptions();

    AppState& app_;

    QComboBox* comDocType;
    QPushButton* cmdPopLetters;
    QPushButton* cmdEditJobSheet;
    QPushButton* cmdValidateMSWord;
    QPushButton* cmdSetDefault;
    QPushButton* cmdPreProcess;
    QPushButton* cmdSetEstimateTemplate;
    QCheckBox* chkBackgroundPrinting;
    QCheckBox* chkJustPrint;
};
