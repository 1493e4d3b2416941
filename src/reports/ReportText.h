#pragma once

#include "reports/ReportDefinition.h"

#include <QFont>
#include <QList>
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

// One line of a text laid out as height() lays it out: where it stands below the text's top.
struct Line {
    qreal top = 0;
    qreal bottom = 0;
};
QList<Line> lines(const QString& text, const ReportFont& face, qreal width, bool wrap);

// Draws the lines of the text that stand wholly between from and from + the box's height below
// the text's top, the line at from at the box's top: a text that goes on over several pages
// shows a part on each, and no line is ever drawn in part.
void draw(QPainter& painter, const QRectF& box, const QString& text, const ReportFont& face,
          Qt::Alignment align, bool wrap, qreal from = 0);

// The characters of the lines draw() shows, line breaks as "\n".
QString shown(const QString& text, const ReportFont& face, qreal width, bool wrap, qreal from,
              qreal height);

}  // namespace reporttext
