#include "widgets/marqueebar.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

QImage frame(MarqueeBar& bar) {
    return bar.grab().toImage();
}

TEST(MarqueeBar, SweepsARedBlockOverAWhiteTrackWhileRunning) {
    MarqueeBar bar;
    bar.resize(400, 20);
    bar.show();
    EXPECT_TRUE(bar.isRunning());
    const QImage before = frame(bar);
    QTest::qWait(200);
    const QImage after = frame(bar);
    EXPECT_NE(before, after) << "the block did not move";

    int white = 0;
    int red = 0;
    for (int x = 0; x < after.width(); ++x) {
        const QColor pixel(after.pixel(x, 10));
        white += pixel == QColor(Qt::white);
        red += pixel.red() > 180 && pixel.green() < 90 && pixel.blue() < 90;
    }
    EXPECT_GT(white, 100);
    EXPECT_GT(red, 20);
}

TEST(MarqueeBar, StandsStillWhenStoppedAndMovesAgainWhenStarted) {
    MarqueeBar bar;
    bar.resize(400, 20);
    bar.show();
    QTest::qWait(60);
    bar.stop();
    const QImage stopped = frame(bar);
    QTest::qWait(200);
    EXPECT_EQ(frame(bar), stopped);
    bar.start();
    QTest::qWait(200);
    EXPECT_NE(frame(bar), stopped);
}

}  // namespace
