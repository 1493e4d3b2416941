#pragma once

#include <QMainWindow>
#include <array>

class AppState;
class HoverButton;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;

// The hub the user returns to: four large buttons (jobs, estimates, reports, exit) on the
// artwork, and a menu bar that reaches every other screen.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(AppState& app, QWidget* parent = nullptr);

    void Form_Load();

    void HoverTool1_Click();  // jobs
    void Jobs_Click();        // the job screen, whatever the connection
    void htEstimates_Click();
    void HoverTool3_Click();  // reports
    void HoverTool2_Click();  // exit
    void FileExit_Click();
    void Setup_Click();
    void ProgramClientCompanies_Click();  // the address book
    void FileRestore_Click();
    void HelpAbout_Click();
    void MailMerge_Click();
    void UnderDevelopment_Click();  // job report
    void ReportMorketing_Click();
    void DoAwaitingInvoicingReport();
    void DoAwaitPaymentReport();
    void Picture1_Click();

    // Start-up has finished: the notice asking the user to wait goes.
    void startupFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildPicture();
    // The caption, which names a database opened for this run only.
    void showTitle();
    // Places a control at a position given in twips, in the picture as scaled.
    void place(QWidget* control, int left, int top, int width = -1, int height = -1);
    // Puts the picture's parts in their places at the picture's scale.
    void layoutPicture();
    int scaled(qreal pixels) const;
    bool connectionOpen();
    void editAction(const char* slot);
    template <typename Editor>
    void showListEditor();

    AppState& app_;
    HoverButton* HoverTool1;
    HoverButton* htEstimates;
    HoverButton* HoverTool3;
    HoverButton* HoverTool2;
    QLabel* labPleaseWait;
    QLabel* labVersion;
    QLabel* Label1;
    std::array<QLineEdit*, 4> tuning;  // Text1 .. Text4
    QLabel* Picture1;
    QWidget* Image1;
    QLabel* Image2;

    QMenu* mnuFile;
    QMenu* mnuEdit;
    QMenu* mnuOptions;
    QMenu* mnuReports;
    QMenu* mnuHelp;
    QAction* FileBackup;
    QAction* FileRestore;
    QAction* FileExit;
    QAction* EditCut;
    QAction* EditCopy;
    QAction* EditPaste;
    QAction* OptionsJobStatus;
    QAction* OptionsDocType;
    QAction* OptionsIntroducedBy;
    QAction* ProgramClientCompanies;
    QAction* Jobs;
    QAction* UnderDevelopment;
    QAction* ReportMorketing;
    QAction* ReportAwaitingInvoicing;
    QAction* ReportAwaitingPayment;
    QAction* Setup;
    QAction* HelpAbout;
    QAction* MailMerge;
    qreal scale_ = 1.0;  // the picture's size against its full 800 x 600
};
