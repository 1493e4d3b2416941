#pragma once

#include <QLocale>
#include <QPageLayout>
#include <QString>
#include <functional>

class QPagedPaintDevice;
class ReportPages;

// Putting a laid-out report on paper: any paged device (a printer, a PDF file).
namespace reportoutput {

// The paper the user's country uses: Letter where the measurement system is the US one, A4
// elsewhere.
QPageSize::PageSizeId defaultPaper(const QLocale& locale);
// A page of that paper with the report's margins.
QPageLayout pageLayout(QPageSize::PageSizeId paper, QPageLayout::Orientation orientation);

// Told after each page how many of how many are done; answers false to stop.
using PageProgress = std::function<bool(int done, int total)>;

// Draws pages first to last (0-based, -1 for the last page) onto the device, whose page layout
// must be the report's. False with the reason in *error when the device cannot be drawn on, and
// with an empty *error when the progress asked to stop.
bool print(const ReportPages& pages, QPagedPaintDevice& device, QString* error, int first = 0,
           int last = -1, const PageProgress& progress = {});

// Writes the report as a PDF file. The file is replaced only once the whole report is written;
// on failure, or when the progress asks to stop, it is left as it was and *error says why
// (empty when stopped).
bool writePdf(const ReportPages& pages, const QString& file, const QString& title, QString* error,
              const PageProgress& progress = {});

}  // namespace reportoutput
