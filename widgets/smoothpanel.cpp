#include "widgets/smoothpanel.h"

#include <QPainter>

#include "widgets/theme.h"

SmoothPanel::SmoothPanel(QWidget* parent) : QWidget(parent), fill_(Theme::panelFill()) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void SmoothPanel::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void SmoothPanel::setFillColor(const QColor& color) {
    fill_ = color;
    update();
}

void SmoothPanel::setCornerRadius(int pixels) {
    radius_ = qMax(0, pixels);
    update();
}

int SmoothPanel::captionHeight() const {
    return caption_.isEmpty() ? 0 : fontMetrics().height() + 16;
}

QRect SmoothPanel::contentRect() const {
    return rect().adjusted(0, captionHeight(), 0, 0);
}

void SmoothPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (radius_ == 0) {
        painter.fillRect(rect(), fill_);
    } else {
        Theme::paintRoundedFace(painter, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), fill_,
                                Theme::panelBorder(), radius_);
    }
    if (caption_.isEmpty()) {
        return;
    }
    const QRect band(0, 0, width(), captionHeight());
    painter.setPen(Theme::text());
    QFont captionFont = font();
    captionFont.setBold(true);
    painter.setFont(captionFont);
    painter.drawText(band.adjusted(radius_ + 4, 0, -radius_ - 4, 0),
                     Qt::AlignLeft | Qt::AlignVCenter, caption_);
    painter.fillRect(QRect(band.left() + radius_, band.bottom(), band.width() - 2 * radius_, 2),
                     Theme::accent());
}
