#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QPoint>
#include <QTest>
#include <QWidget>

// Finger gestures as the touch screen delivers them: a left-button press and release.
namespace tap {

inline void at(QWidget* widget, QPoint pos) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, pos);
}

inline void drag(QWidget* widget, QPoint from, QPoint to, int steps = 8) {
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, from);
    for (int step = 1; step <= steps; ++step) {
        QTest::mouseMove(widget, from + (to - from) * step / steps, 5);
    }
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, to);
}

// A finger or pointer over the widget without pressing. Sent directly, since
// the offscreen platform has no cursor to move.
inline void hover(QWidget* widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

}  // namespace tap
