#include "widgets/marqueebar.h"

#include <QPainter>

#include "widgets/theme.h"

namespace {

constexpr int kFrameMilliseconds = 30;
constexpr int kStepsPerSweep = 60;

}  // namespace

MarqueeBar::MarqueeBar(QWidget* parent) : QWidget(parent), bar_(Theme::accent()) {
    timer_.setInterval(kFrameMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] {
        step_ = (step_ + 1) % kStepsPerSweep;
        update();
    });
}

void MarqueeBar::start() {
    running_ = true;
    followVisibility();
}

void MarqueeBar::stop() {
    running_ = false;
    followVisibility();
}

void MarqueeBar::setTrackColor(const QColor& color) {
    track_ = color;
    update();
}

void MarqueeBar::setBarColor(const QColor& color) {
    bar_ = color;
    update();
}

void MarqueeBar::showEvent(QShowEvent*) {
    followVisibility();
}

void MarqueeBar::hideEvent(QHideEvent*) {
    followVisibility();
}

void MarqueeBar::followVisibility() {
    if (running_ && isVisible()) {
        timer_.start();
    } else {
        timer_.stop();
    }
}

void MarqueeBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), track_);
    // The block enters at the left edge and leaves at the right one.
    const int block = qMax(8, width() / 4);
    const int x = -block + (width() + block) * step_ / kStepsPerSweep;
    const QRect bar(x, 0, block, height());
    painter.fillRect(bar.intersected(rect()), bar_);
}
