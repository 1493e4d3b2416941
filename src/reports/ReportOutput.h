#pragma once

#include <QLocale>
#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;
class ReportPages;

// Putting a laid-out report on paper: any paged device (a printer, a PDF file).
namespace reportoutput {

// The paper the user's country uses: Letter where the measurement system is the US one, A4
// elsewhere.
QPageSize::PageSizeId defaultPaper(const QLocale& locale);
// A page of that paper with the report's margins.
QPageLayout pageLayout(QPageSize::PageSizeId paper, QPageLayout::Orientation orientation);

// Draws pages first to last (0-based, -1 for the last page) onto the device, whose page layout
// must be the report's. False with the reason in *error when the device cannot be drawn on.
bool print(const ReportPages& pages, QPagedPaintDevice& device, QString* error, int first = 0,
           int last = -1);

// Writes the report as a PDF file. The file is replaced only once the whole report is written;
// on failure it is left as it was and *error says why.
bool writePdf(const ReportPages& pages, const QString& file, const QString& title,
              QString* error);

}  // namespace reportoutput
