#pragma once

#include "reports/ReportPages.h"

#include <QWidget>

class AppState;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class ReportPageView;

// A report on screen, page by page, beside the main window: page through it, zoom, change the
// paper, print it through the system's print dialog or save it as a PDF file.
class frmReportPreview : public QWidget {
    Q_OBJECT
public:
    frmReportPreview(AppState& app, const QString& title, ReportPages pages,
                     QWidget* parent = nullptr);

    // Shows another production of the same report.
    void setReport(const QString& title, ReportPages pages);
    const ReportPages& pages() const { return pages_; }
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
    QPushButton* cmdClose;
    ReportPageView* view;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();

    AppState& app_;
    QString title_;
    ReportPages pages_;
    QScrollArea* scroll_;
};
