#include "widgets/smoothbutton.h"

#include <QPainter>

#include "widgets/theme.h"

SmoothButton::SmoothButton(const QString& caption, QWidget* parent)
    : QAbstractButton(parent), color_(Theme::keyFill()) {
    setText(caption);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TranslucentBackground);
}

void SmoothButton::setColor(const QColor& color) {
    color_ = color;
    update();
}

QSize SmoothButton::sizeHint() const {
    const QSize textSize = fontMetrics().size(Qt::TextSingleLine, text());
    return QSize(qMax(120, textSize.width() + 40), qMax(48, textSize.height() + 20));
}

void SmoothButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QColor face = isDown() ? Theme::accent() : color_;
    if (!isEnabled()) {
        face = face.darker(160);
    }
    const qreal radius = qMin(12.0, height() / 4.0);
    Theme::paintRoundedFace(painter, QRectF(rect()).adjusted(1, 1, -1, -1), face,
                            Theme::panelBorder(), radius);

    QFont captionFont = font();
    if (!testAttribute(Qt::WA_SetFont)) {
        captionFont.setPixelSize(qBound(14, height() * 2 / 5, 44));
        captionFont.setBold(true);
    }
    painter.setFont(captionFont);
    painter.setPen(isEnabled() ? Theme::text() : Theme::mutedText());
    painter.drawText(rect().adjusted(8, 0, -8, 0), Qt::AlignCenter | Qt::TextSingleLine, text());
}
