#pragma once

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

}  // namespace tap
