#pragma once

#include "reports/ReportPages.h"

#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <memory>

class AppState;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTimer;
class ReportPageView;

// A report on screen, page by page, in a window of its own: page through it, zoom, change the
// paper, print it through the system's print dialog or save it as a PDF file. A long report is
// laid out while the window is open: its first page shows at once, the page count once every
// page is laid out; until then a progress bar with Cancel tells how far it has got (Cancel
// closes the window).
class frmReportPreview : public QWidget {
    Q_OBJECT
public:
    frmReportPreview(AppState& app, const QString& title, std::unique_ptr<ReportLayout> layout,
                     QWidget* parent = nullptr);
    ~frmReportPreview() override;

    // The pages laid out so far; all of them once laidOut().
    const ReportPages& pages() const;
    bool laidOut() const;
    int currentPage() const;

    void showPage(int page);
    void cmdFirst_Click();
    void cmdPrevious_Click();
    void cmdNext_Click();
    void cmdLast_Click();
    void cbZoom_Click();
    void cbPaper_Click();
    void cmdPrint_Click();
    void cmdExportPdf_Click();
    // Asks for a file and writes the report's rows to it.
    void cmdExportCsv_Click();
    // Writes every row of the report, as it lays them out, to a CSV file in the columns of its
    // rows' band; false, after telling the user why, when it could not.
    bool exportCsv(const QString& file);
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Lays the report out from the start: the first page at once, the rest a few rows at a
    // time while the window takes the user's clicks.
    void startLayout(std::unique_ptr<ReportLayout> layout);
    void layOutMore();
    // The page count, the page box's range and which buttons work.
    void showState();
    // Runs work that reports its pages done, with a progress dialog that shows when the work
    // takes more than a second; false when the user cancelled it.
    bool withProgress(const QString& label,
                      const std::function<bool(const std::function<bool(int, int)>&)>& work);

    AppState& app_;
    QString title_;
    std::unique_ptr<ReportLayout> layout_;
    QTimer* layoutTimer_;
    QElapsedTimer layoutClock_;
    int wantedPage_ = 0;

    QPushButton* cmdFirst;
    QPushButton* cmdPrevious;
    QSpinBox* txtPage;
    QLabel* labPages;
    QPushButton* cmdNext;
    QPushButton* cmdLast;
    QComboBox* cbZoom;
    QComboBox* cbPaper;
    QPushButton* cmdPrint;
    QPushButton* cmdExportPdf;
    QPushButton* cmdExportCsv;
    QPushButton* cmdClose;
    QLabel* labProgress;
    QProgressBar* barProgress;
    QPushButton* cmdCancel;
    ReportPageView* view;
    QScrollArea* scroll_;
};
