#include "widgets/rangeslider.h"

#include <QMouseEvent>
#include <QPainter>

#include "widgets/theme.h"

RangeSlider::RangeSlider(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TranslucentBackground);
}

void RangeSlider::setMinimum(int value) {
    minimum_ = value;
    update();
}

void RangeSlider::setMaximum(int value) {
    maximum_ = value;
    update();
}

void RangeSlider::setPositionLeft(int value) {
    if (value > positionRight_ || value == positionLeft_) {
        return;
    }
    positionLeft_ = qMax(value, minimum_);
    update();
    emit positionLeftChanged(positionLeft_);
}

void RangeSlider::setPositionRight(int value) {
    if (value < positionLeft_ || value == positionRight_) {
        return;
    }
    positionRight_ = qMin(value, maximum_);
    update();
    emit positionRightChanged(positionRight_);
}

void RangeSlider::setLeftThumbVisible(bool visible) {
    leftThumbVisible_ = visible;
    update();
}

QSize RangeSlider::sizeHint() const {
    return QSize(300, 34);
}

int RangeSlider::thumbRadius() const {
    return qMax(6, height() / 2 - 3);
}

QRect RangeSlider::trackRect() const {
    const int radius = thumbRadius();
    const int thickness = qMax(4, height() / 5);
    return QRect(radius, (height() - thickness) / 2, qMax(1, width() - 2 * radius), thickness);
}

int RangeSlider::xForValue(int value) const {
    const QRect track = trackRect();
    if (maximum_ <= minimum_) {
        return track.left();
    }
    const qreal ratio = qBound(0.0, qreal(value - minimum_) / (maximum_ - minimum_), 1.0);
    return track.left() + qRound(ratio * track.width());
}

int RangeSlider::valueForX(int x) const {
    const QRect track = trackRect();
    const qreal ratio = qBound(0.0, qreal(x - track.left()) / track.width(), 1.0);
    return minimum_ + qRound(ratio * qMax(0, maximum_ - minimum_));
}

QPoint RangeSlider::leftThumbCenter() const {
    return QPoint(xForValue(positionLeft_), height() / 2);
}

QPoint RangeSlider::rightThumbCenter() const {
    return QPoint(xForValue(positionRight_), height() / 2);
}

void RangeSlider::moveThumbTo(Thumb thumb, int x) {
    if (thumb == Thumb::Left) {
        setPositionLeft(valueForX(x));
    } else if (thumb == Thumb::Right) {
        setPositionRight(valueForX(x));
    }
}

void RangeSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect track = trackRect();
    const qreal rounding = track.height() / 2.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 50));
    painter.drawRoundedRect(track, rounding, rounding);

    const int left = xForValue(positionLeft_);
    const int right = xForValue(positionRight_);
    painter.setBrush(Theme::accent());
    painter.drawRoundedRect(QRect(QPoint(left, track.top()), QPoint(right, track.bottom())),
                            rounding, rounding);

    const int radius = thumbRadius();
    auto paintThumb = [&](int x, bool active) {
        const QRectF face(x - radius, height() / 2.0 - radius, 2 * radius, 2 * radius);
        painter.setBrush(QColor(0, 0, 0, 70));
        painter.drawEllipse(face.translated(0, 1.5));
        painter.setBrush(active ? Theme::accent().lighter(140) : Theme::text());
        painter.drawEllipse(face);
        painter.setBrush(Theme::accent());
        painter.drawEllipse(face.center(), radius * 0.35, radius * 0.35);
    };
    if (leftThumbVisible_) {
        paintThumb(left, dragged_ == Thumb::Left);
    }
    paintThumb(right, dragged_ == Thumb::Right);
}

void RangeSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const int x = event->position().toPoint().x();
    // The finger takes the nearer thumb; a tap beside both moves the nearer one there.
    dragged_ = Thumb::Right;
    if (leftThumbVisible_ &&
        qAbs(x - xForValue(positionLeft_)) < qAbs(x - xForValue(positionRight_))) {
        dragged_ = Thumb::Left;
    } else if (leftThumbVisible_ && positionLeft_ == positionRight_ &&
               x < xForValue(positionLeft_)) {
        dragged_ = Thumb::Left;
    }
    emit pressed();
    moveThumbTo(dragged_, x);
    update();
}

void RangeSlider::mouseMoveEvent(QMouseEvent* event) {
    moveThumbTo(dragged_, event->position().toPoint().x());
}

void RangeSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (dragged_ == Thumb::None) {
        return;
    }
    moveThumbTo(dragged_, event->position().toPoint().x());
    dragged_ = Thumb::None;
    update();
    emit released();
}
