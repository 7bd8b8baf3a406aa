#include "widgets/hotspotpicture.h"

#include <QMouseEvent>
#include <QPainter>

#include "widgets/theme.h"

HotSpotPicture::HotSpotPicture(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
}

void HotSpotPicture::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void HotSpotPicture::addHotSpot(const QString& name, const QRect& rect, const QPixmap& hoverPicture,
                                const QPixmap& pressedPicture) {
    removeHotSpot(name);
    spots_.append(HotSpot{name, rect, hoverPicture, pressedPicture});
    update();
}

void HotSpotPicture::removeHotSpot(const QString& name) {
    spots_.removeIf([&](const HotSpot& spot) { return spot.name == name; });
    if (hovered_ == name) {
        hovered_.clear();
    }
    if (pressed_ == name) {
        pressed_.clear();
    }
    update();
}

QStringList HotSpotPicture::hotSpotNames() const {
    QStringList names;
    for (const HotSpot& spot : spots_) {
        names.append(spot.name);
    }
    return names;
}

const HotSpotPicture::HotSpot* HotSpotPicture::find(const QString& name) const {
    for (const HotSpot& spot : spots_) {
        if (spot.name == name) {
            return &spot;
        }
    }
    return nullptr;
}

QRect HotSpotPicture::hotSpotRect(const QString& name) const {
    const HotSpot* spot = find(name);
    return spot ? spot->rect : QRect();
}

QString HotSpotPicture::hotSpotAt(const QPoint& pos) const {
    for (auto spot = spots_.crbegin(); spot != spots_.crend(); ++spot) {
        if (spot->rect.contains(pos)) {
            return spot->name;
        }
    }
    return QString();
}

QString HotSpotPicture::hoveredHotSpot() const {
    return hovered_;
}

void HotSpotPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.fillRect(rect(), Qt::black);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), picture_);
    }
    for (const HotSpot& spot : spots_) {
        if (spot.name == pressed_) {
            paintSpot(painter, spot, true);
        } else if (spot.name == hovered_ && pressed_.isEmpty()) {
            paintSpot(painter, spot, false);
        }
    }
}

void HotSpotPicture::paintSpot(QPainter& painter, const HotSpot& spot, bool pressed) const {
    const QPixmap& own = pressed ? spot.pressed : spot.hover;
    if (!own.isNull()) {
        painter.drawPixmap(spot.rect, own);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QColor veil = pressed ? Theme::accent() : QColor(Qt::white);
    veil.setAlpha(pressed ? 90 : 45);
    painter.setBrush(veil);
    painter.setPen(QPen(QColor(255, 255, 255, 120), 2));
    painter.drawRoundedRect(QRectF(spot.rect).adjusted(1, 1, -1, -1), 10, 10);
    painter.restore();
}

void HotSpotPicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = hotSpotAt(event->position().toPoint());
        update();
    }
}

void HotSpotPicture::mouseMoveEvent(QMouseEvent* event) {
    const QString under = hotSpotAt(event->position().toPoint());
    if (under != hovered_) {
        hovered_ = under;
        update();
    }
}

void HotSpotPicture::mouseReleaseEvent(QMouseEvent* event) {
    const QString pressed = pressed_;
    pressed_.clear();
    update();
    if (!pressed.isEmpty() && hotSpotAt(event->position().toPoint()) == pressed) {
        emit hotSpotClicked(pressed);
    }
}

void HotSpotPicture::leaveEvent(QEvent*) {
    hovered_.clear();
    update();
}
