#pragma once

#include "reports/ReportDefinition.h"

#include <QFont>
#include <QString>

class QPainter;

// The text of report items, measured and drawn the same way on every device (screen, printer,
// PDF), so that what the layout found to fit also fits when printed. Units are points: a
// painter that draws a report is scaled so that one unit is one point.
namespace reporttext {

// Arial (or the system's stand-in for it) at the item's size in points.
QFont font(const ReportFont& face);

// The height of the text in a box of the given width: the lines it breaks into when it wraps
// (at line breaks, then between words, then anywhere), one line otherwise.
qreal height(const QString& text, const ReportFont& face, qreal width, bool wrap);

// Draws the text in the box, as height() measured it; lines below the box are left out.
void draw(QPainter& painter, const QRectF& box, const QString& text, const ReportFont& face,
          Qt::Alignment align, bool wrap);

}  // namespace reporttext
