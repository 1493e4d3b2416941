#include "reports/ReportText.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QTextLayout>
#include <array>
#include <memory>

namespace reporttext {

namespace {

// What one font needs to tell quickly that a plain text fits on one line: the widest advance
// of each ASCII character, and the height of a line.
struct FontMeasure {
    QFont font;
    std::array<qreal, 128> advance{};
    qreal lineHeight = 0;
};

int key(const ReportFont& face) {
    return face.points * 4 + (face.bold ? 2 : 0) + (face.italic ? 1 : 0);
}

QTextOption option(Qt::Alignment align, bool wrap) {
    QTextOption o(align & Qt::AlignHorizontal_Mask);
    o.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    o.setUseDesignMetrics(true);
    return o;
}

// Line breaks of every kind become the separator the text layout breaks lines at.
QString withLineBreaks(const QString& text) {
    if (!text.contains(u'\n') && !text.contains(u'\r')) {
        return text;
    }
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    out.replace(u'\r', QChar::LineSeparator);
    out.replace(u'\n', QChar::LineSeparator);
    return out;
}

// Lays the text out in lines of the width; gives the height used.
qreal layOut(QTextLayout& layout, qreal width, qreal maxHeight) {
    qreal y = 0;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            break;
        }
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
        if (y > maxHeight) {
            break;
        }
    }
    layout.endLayout();
    return y;
}

const FontMeasure& measureFor(const ReportFont& face) {
    static QHash<int, std::shared_ptr<FontMeasure>> cache;
    auto& slot = cache[key(face)];
    if (!slot) {
        slot = std::make_shared<FontMeasure>();
        slot->font = font(face);
        QTextLayout probe(QStringLiteral("Xg"), slot->font);
        probe.setTextOption(option(Qt::AlignLeft, false));
        slot->lineHeight = layOut(probe, 1e6, 1e9);
        for (int c = 32; c < 127; ++c) {
            QTextLayout one(QString(QChar(c)), slot->font);
            one.setTextOption(option(Qt::AlignLeft, false));
            layOut(one, 1e6, 1e9);
            slot->advance[size_t(c)] = one.lineAt(0).naturalTextWidth();
        }
    }
    return *slot;
}

// True when the text surely fits on one line of the width: plain ASCII on one line whose
// characters, side by side without kerning, take less than the width.
bool fitsOnOneLine(const FontMeasure& m, const QString& text, qreal width) {
    qreal total = 0;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 32 || u >= 127) {
            return false;
        }
        total += m.advance[u];
    }
    return total * 1.02 + 1 < width;
}

}  // namespace

QFont font(const ReportFont& face) {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    // A pixel size, so that on a painter scaled to points it is that many points on any device.
    f.setPixelSize(face.points);
    f.setBold(face.bold);
    f.setItalic(face.italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

qreal height(const QString& text, const ReportFont& face, qreal width, bool wrap) {
    const FontMeasure& m = measureFor(face);
    if (!wrap || text.isEmpty() || fitsOnOneLine(m, text, width)) {
        return m.lineHeight;
    }
    QTextLayout layout(withLineBreaks(text), m.font);
    layout.setTextOption(option(Qt::AlignLeft, true));
    return qMax(m.lineHeight, layOut(layout, width, 1e9));
}

namespace {

// Lines that stand wholly between from and to.
bool inside(const QTextLine& line, qreal from, qreal to) {
    return line.y() >= from - 0.5 && line.y() + line.height() <= to + 0.5;
}

}  // namespace

QList<Line> lines(const QString& text, const ReportFont& face, qreal width, bool wrap) {
    const FontMeasure& m = measureFor(face);
    if (!wrap || text.isEmpty() || fitsOnOneLine(m, text, width)) {
        return {Line{0, m.lineHeight}};
    }
    QTextLayout layout(withLineBreaks(text), m.font);
    layout.setTextOption(option(Qt::AlignLeft, true));
    layOut(layout, width, 1e9);
    QList<Line> out;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        out.append({line.y(), line.y() + line.height()});
    }
    return out;
}

void draw(QPainter& painter, const QRectF& box, const QString& text, const ReportFont& face,
          Qt::Alignment align, bool wrap, qreal from) {
    if (text.isEmpty()) {
        return;
    }
    const FontMeasure& m = measureFor(face);
    painter.setFont(m.font);
    const qreal to = from + box.height();
    if (!wrap || fitsOnOneLine(m, text, box.width())) {
        if (from <= 0.5 && m.lineHeight <= to + 0.5) {
            painter.drawText(
                QRectF(box.topLeft(), QSizeF(box.width(), m.lineHeight)),
                int(Qt::TextSingleLine | Qt::AlignTop | (align & Qt::AlignHorizontal_Mask)), text);
        }
        return;
    }
    QTextLayout layout(withLineBreaks(text), m.font, painter.device());
    layout.setTextOption(option(align, wrap));
    layOut(layout, box.width(), to + 0.5);
    const QPointF origin = box.topLeft() - QPointF(0, from);
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        if (inside(line, from, to)) {
            line.draw(&painter, origin);
        }
    }
}

QString shown(const QString& text, const ReportFont& face, qreal width, bool wrap, qreal from,
              qreal height) {
    const FontMeasure& m = measureFor(face);
    const qreal to = from + height;
    if (text.isEmpty() || !wrap || fitsOnOneLine(m, text, width)) {
        return from <= 0.5 && m.lineHeight <= to + 0.5 ? text : QString();
    }
    const QString broken = withLineBreaks(text);
    QTextLayout layout(broken, m.font);
    layout.setTextOption(option(Qt::AlignLeft, true));
    layOut(layout, width, to + 0.5);
    qsizetype begin = -1;
    qsizetype end = 0;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        if (inside(line, from, to)) {
            begin = begin < 0 ? line.textStart() : begin;
            end = line.textStart() + line.textLength();
        }
    }
    if (begin < 0) {
        return {};
    }
    return broken.mid(begin, end - begin).replace(QChar::LineSeparator, u'\n');
}

}  // namespace reporttext
