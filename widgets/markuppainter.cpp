#include "widgets/markuppainter.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

QFont runFont(const QFont& base, const MarkupRun& run) {
    QFont font = base;
    font.setItalic(run.italic || base.italic());
    font.setBold(run.bold || base.bold());
    font.setUnderline(run.underline || base.underline());
    return font;
}

}  // namespace

void paintItemMarkup(QPainter& painter, const ItemMarkup& markup, const QRect& area,
                     const QFont& font, const QColor& color) {
    const int lineHeight = QFontMetrics(font).height();
    const int blockHeight = lineHeight * static_cast<int>(markup.lines.size());
    int lineTop = area.top() + (area.height() - blockHeight) / 2;

    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.setPen(color);
    for (const MarkupLine& line : markup.lines) {
        int x = area.left();
        int textEnd = area.left();  // where the text drawn so far on this line ends
        for (const MarkupRun& run : line.runs) {
            const QFont styled = runFont(font, run);
            const QFontMetrics metrics(styled);
            if (run.indent >= 0) {
                const int afterText =
                    textEnd > area.left() ? textEnd + metrics.horizontalAdvance(u' ') : x;
                x = qMax(area.left() + run.indent, afterText);
            }
            const int limit = area.right() + 1;
            if (run.text.isEmpty() || x >= limit) {
                continue;
            }
            const QString shown = metrics.elidedText(run.text, Qt::ElideRight, limit - x);
            painter.setFont(styled);
            painter.drawText(QRect(x, lineTop, limit - x, lineHeight),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
            x += metrics.horizontalAdvance(shown);
            textEnd = x;
        }
        lineTop += lineHeight;
    }
    painter.restore();
}
