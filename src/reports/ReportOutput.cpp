#include "reports/ReportOutput.h"

#include "reports/ReportPages.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace reportoutput {

QPageSize::PageSizeId defaultPaper(const QLocale& locale) {
    return locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                     : QPageSize::A4;
}

QPageLayout pageLayout(QPageSize::PageSizeId paper, QPageLayout::Orientation orientation) {
    return QPageLayout(QPageSize(paper), orientation, QMarginsF(12, 12, 12, 12),
                       QPageLayout::Millimeter);
}

bool print(const ReportPages& pages, QPagedPaintDevice& device, QString* error, int first, int last,
           const PageProgress& progress) {
    if (last < 0 || last >= pages.pageCount()) {
        last = pages.pageCount() - 1;
    }
    first = qMax(0, first);
    QPainter painter;
    if (!painter.begin(&device)) {
        *error = QStringLiteral("The report cannot be drawn on this device.");
        return false;
    }
    // One unit of the painter is one point, whatever the device's resolution.
    const qreal scale = device.logicalDpiX() / 72.0;
    for (int page = first; page <= last; ++page) {
        if (page > first && !device.newPage()) {
            *error = QStringLiteral("A new page cannot be started.");
            painter.end();
            return false;
        }
        painter.save();
        painter.scale(scale, device.logicalDpiY() / 72.0);
        pages.paint(painter, page);
        painter.restore();
        if (progress && !progress(page - first + 1, last - first + 1)) {
            error->clear();
            painter.end();
            return false;
        }
    }
    return painter.end();
}

bool writePdf(const ReportPages& pages, const QString& file, const QString& title, QString* error,
              const PageProgress& progress) {
    const auto failed = [&](const QString& reason) {
        *error = QStringLiteral("The report could not be saved as \"%1\": %2").arg(file, reason);
        return false;
    };
    if (QFileInfo(file).isDir()) {
        return failed(QStringLiteral("that is a folder."));
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        return failed(out.errorString());
    }
    {
        QPdfWriter writer(&out);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Verdell"));
        writer.setResolution(600);
        writer.setPageLayout(pages.pageLayout());
        QString reason;
        if (!print(pages, writer, &reason, 0, -1, progress)) {
            out.cancelWriting();
            if (reason.isEmpty()) {
                error->clear();
                return false;
            }
            return failed(reason);
        }
    }
    if (!out.commit()) {
        return failed(out.errorString());
    }
    return true;
}

}  // namespace reportoutput
