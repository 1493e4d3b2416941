#pragma once

#include "db/Rows.h"
#include "estimates/Estimate.h"
#include "widgets/OpenScreens.h"

#include <QWidget>

class AppState;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class Rows;
class TypingSearch;

// The estimates screen: a priced estimate for a customer with its lines and totals, saved under
// a number, printed through the estimate template with a history of issues, found again by
// number or customer, and turned into a job. Not modal; one instance, opened from the main
// window.
class frmEstimate : public QWidget, public UnsavedChanges {
    Q_OBJECT
public:
    explicit frmEstimate(AppState& app, QWidget* parent = nullptr);

    void Form_Load();

    // Editing and totals.
    void cmdNewEstimate_Click();
    void cmdCancel_Click();
    void cmdExit_Click();
    void cmdSearch_Click();  // find the customer
    void cmdAddItem_Click();
    void cmdOKAdd_Click();
    void cmdCloseAdd_Click();
    void fgEstimate_DblClick();
    void CalculateTotals();
    void LoadClient(qint32 id);
    bool LoadFullEstimate(qint64 lEstNo);

    // Printing and the history of issues.
    void cmdPrint_Click();
    void SSTab1_Click(int tab);
    void cmdEditEstimate_Click();
    void OpenEstimateDocument(const QString& fileName);
    // Sending by e-mail the document Print made, or the chosen issue's.
    void cmdEmailEstimate_Click();
    void cmdEmailIssue_Click();

    // Search and conversion.
    void cmdFind_Click();
    void cmdGoSearch_Click();
    // The search text changed: searches when the typing pauses.
    void txtSearch_Change();
    void cmdLoadEst_Click();
    void cmdCloseSearch_Click();
    // Asks for a file and writes the estimates found to it.
    void cmdExportCsv_Click();
    // Writes the estimates the search panel lists to the file, in its columns and order;
    // false, after telling the user why, when it could not.
    bool exportCsv(const QString& file);
    void cmdConvert_Click();

    // The lines on the screen, without the empty last row.
    QList<estimates::EstimateLine> lines() const;
    bool editing() const;
    qint32 currentCustomerID() const { return CurrentCustomerID; }

    // The estimate's unsaved changes, settled from outside the screen.
    bool hasUnsavedChanges() const override { return editing(); }
    QString unsavedChangesName() const override;
    bool saveChanges() override { return saveEstimate(); }
    void discardChanges() override { ButtonsToNew(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabWidget* SSTab1;
    // The estimate's buttons.
    QPushButton* cmdNewEstimate;
    QPushButton* cmdCancel;
    QPushButton* cmdFind;
    QPushButton* cmdExit;
    QPushButton* cmdPrint;
    QPushButton* cmdEmailEstimate;
    QPushButton* cmdConvert;
    // The customer.
    QGroupBox* fraDetails;
    QLineEdit* txtName;
    QLineEdit* txtContact;
    QPlainTextEdit* txtAddress;
    QLineEdit* txtTel;
    QLineEdit* txtEmail;
    QPushButton* cmdSearch;
    // The estimate.
    QLabel* labEstNo;
    QLabel* labDateCreated;
    QTableWidget* fgEstimate;
    QPushButton* cmdAddItem;
    QLineEdit* txtDelivery;
    QLabel* labTotalTrade;
    QLabel* labDeliveryCosts;
    QLabel* labTotalRetail;
    QLabel* labTotalProfit;
    // The captions that carry the currency symbol.
    QLabel* labTradeCaption;
    QLabel* labDeliveryCaption;
    QLabel* labRetailCaption;
    QLabel* labProfitCaption;
    QLabel* labDeliveryBoxCaption;
    QLabel* labEstTradeCaption;
    QLabel* labEstRetailCaption;
    // The add-item panel.
    QFrame* panEst;
    QLineEdit* txtEstQty;
    QComboBox* comEstDesc;
    QLineEdit* txtEstTrade;
    QLineEdit* txtEstRetail;
    QPushButton* cmdOKAdd;
    QPushButton* cmdCloseAdd;
    // The search panel.
    QFrame* panSearch;
    QLineEdit* txtSearch;
    QPushButton* cmdGoSearch;
    QPushButton* cmdCloseSearch;
    QPushButton* cmdExportCsv;
    QTableWidget* fgExisting;
    QPushButton* cmdLoadEst;
    QLabel* labFoundStatus;
    TypingSearch* typing_ = nullptr;  // made on the first keystroke in the search box
    // The history of issues.
    QTableWidget* fgEstimates;
    QPushButton* cmdEditEstimate;
    QPushButton* cmdEmailIssue;
    // A quiet notice that another workstation changed or deleted the estimate on the screen.
    QLabel* labChangedElsewhere;

    void buildButtons(QWidget* page);
    QGroupBox* buildCustomer(QWidget* page);
    QGroupBox* buildEstimate(QWidget* page);
    void buildAddPanel(QWidget* page);
    void buildSearchPanel(QWidget* page);
    QWidget* buildHistory();
    void connectControls();
    // Places a pop-up panel in the middle of the details tab, in front.
    void placePanel(QFrame* panel);

    void ConstructEstGrid();
    void ConstructExistingGrid();
    void ConstructEstimateGrid();
    void SetLabelCurrency();
    void LoadStock();
    void ClearFields();
    void ClearEstBoxes();
    void ButtonsToSave();
    void ButtonsToNew();
    // The customer, the lines and the delivery cost take typing while an estimate is being
    // edited or is shown; with none on the screen there is nothing to type into.
    void enableDetails();
    void CheckEdit();
    bool saveEstimate();
    void LoadEstimates(qint64 lEstNo);
    // The document file of the issue chosen in the history; empty when none is chosen.
    QString chosenIssueFile() const;
    void emailEstimateDocument(const QString& path);
    // Send by E-mail is offered for the estimate shown once Print has made its document, until
    // the estimate is edited.
    void updateEmailButton();
    // Gives a grid its headings and widths (in twips; 0 hides a column), the right-aligned
    // columns, and two rows: the heading and one empty row.
    // shares: each column's part of the grid (0 hides it); longText: the columns that take the
    // room the others leave.
    void constructGrid(QTableWidget* grid, const QStringList& headers, const QList<int>& shares,
                       const QList<int>& rightAligned, const QList<int>& longText);
    // Writes cells into a row, each aligned as its column's heading.
    static void placeCells(QTableWidget* grid, int row, const QStringList& cells);
    // Writes a row into the grid's empty last row and adds a new empty row after it.
    static void appendRow(QTableWidget* grid, const QStringList& cells);
    qint64 shownEstimateNumber() const;
    estimates::EstimateCustomer customerOnScreen() const;
    // The number typed in a box, or nothing, with the user told, when it is not one. An empty
    // box counts as 0 unless a number is required.
    std::optional<QString> checkedNumber(QLineEdit* box, const QString& what,
                                         bool required = false);
    void showCustomer(const estimates::EstimateCustomer& customer);
    // Shows what another workstation did to the estimate on the screen: one not being edited is
    // shown again as stored; one being edited keeps its typing and gets a notice.
    void followChanges(const QStringList& tables);
    void showNotice(const QString& text);

    AppState& app_;
    qint32 CurrentCustomerID = -1;
    RowVersion version_;    // the version of the estimate on the screen, as loaded or saved
    QString printedDocument_;  // made by the last Print, for printedEstimate_
    qint64 printedEstimate_ = 0;
    // Lists the estimates found (EstNo, DateCreated, Name, Address) and their count.
    void showFoundEstimates(const Rows& found);
    Rows found_;            // the estimates the search panel lists
    bool filling_ = false;  // the screen is filling boxes, not the user typing
};
