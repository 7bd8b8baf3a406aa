#include "widgets/theme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Theme {

QColor panelFill() {
    return QColor(18, 20, 28, 215);
}
QColor panelBorder() {
    return QColor(255, 255, 255, 40);
}
QColor text() {
    return QColor(245, 245, 250);
}
QColor mutedText() {
    return QColor(150, 152, 165);
}
QColor accent() {
    return QColor(225, 40, 55);
}
QColor selectedFill() {
    return QColor(236, 238, 245, 235);
}
QColor selectedText() {
    return QColor(20, 22, 30);
}
QColor keyFill() {
    return QColor(52, 56, 70, 230);
}
QColor keyPressedFill() {
    return accent();
}

void paintRoundedFace(QPainter& painter, const QRectF& rect, const QColor& fill,
                      const QColor& border, qreal radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    QLinearGradient sheen(rect.topLeft(), rect.bottomLeft());
    sheen.setColorAt(0.0, fill.lighter(125));
    sheen.setColorAt(0.5, fill);
    sheen.setColorAt(1.0, fill.darker(115));
    painter.fillPath(path, sheen);
    if (border.alpha() > 0) {
        painter.setPen(QPen(border, 1.0));
        painter.drawPath(path);
    }
    painter.restore();
}

}  // namespace Theme
