#include "widgets/hotspotpicture.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "tap.h"

namespace {

// The standby artwork with its two spots: START and the area beside the code field.
class HotSpotPictureTest : public testing::Test {
protected:
    void SetUp() override {
        QPixmap artwork(1280, 768);
        artwork.fill(QColor(10, 10, 40));
        standby.setPicture(artwork);
        standby.addHotSpot("start", QRect(856, 590, 356, 121));
        standby.addHotSpot("scan", QRect(900, 523, 70, 36));
        standby.resize(1280, 768);
        standby.show();
    }

    QColor pixelAt(const QPoint& pos) { return QColor(standby.grab().toImage().pixel(pos)); }

    HotSpotPicture standby;
    QSignalSpy clicked{&standby, &HotSpotPicture::hotSpotClicked};
};

TEST_F(HotSpotPictureTest, TapReportsTheSpotUnderTheFinger) {
    tap::at(&standby, QPoint(1000, 650));
    tap::at(&standby, QPoint(930, 540));
    tap::at(&standby, QPoint(100, 100));  // on the artwork only
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked.at(0).at(0).toString(), "start");
    EXPECT_EQ(clicked.at(1).at(0).toString(), "scan");
}

TEST_F(HotSpotPictureTest, PressAndReleaseMustBeInTheSameSpot) {
    QTest::mousePress(&standby, Qt::LeftButton, {}, QPoint(1000, 650));
    QTest::mouseRelease(&standby, Qt::LeftButton, {}, QPoint(930, 540));
    QTest::mousePress(&standby, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseRelease(&standby, Qt::LeftButton, {}, QPoint(1000, 650));
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(HotSpotPictureTest, LaterSpotWinsWhereSpotsOverlap) {
    standby.addHotSpot("inner", QRect(950, 620, 40, 40));
    tap::at(&standby, QPoint(960, 630));
    tap::at(&standby, QPoint(870, 600));
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked.at(0).at(0).toString(), "inner");
    EXPECT_EQ(clicked.at(1).at(0).toString(), "start");
}

TEST_F(HotSpotPictureTest, SpotChangesItsLookWhenHoveredAndPressed) {
    const QPoint inside(1000, 650);
    const QColor plain = pixelAt(inside);
    tap::hover(&standby, inside);
    EXPECT_EQ(standby.hoveredHotSpot(), "start");
    const QColor hovered = pixelAt(inside);
    EXPECT_NE(hovered, plain);

    QPixmap pressedPicture(356, 121);
    pressedPicture.fill(Qt::blue);
    standby.addHotSpot("start", QRect(856, 590, 356, 121), QPixmap(), pressedPicture);
    QTest::mousePress(&standby, Qt::LeftButton, {}, inside);
    EXPECT_EQ(pixelAt(inside), QColor(Qt::blue));
    QTest::mouseRelease(&standby, Qt::LeftButton, {}, inside);
    EXPECT_NE(pixelAt(inside), QColor(Qt::blue));
    EXPECT_EQ(pixelAt(QPoint(100, 100)), plain);
}

TEST_F(HotSpotPictureTest, SpotsAreReplacedAndRemovedByName) {
    standby.addHotSpot("start", QRect(0, 0, 10, 10));
    EXPECT_EQ(standby.hotSpotNames(), QStringList({"scan", "start"}));
    EXPECT_EQ(standby.hotSpotRect("start"), QRect(0, 0, 10, 10));
    standby.removeHotSpot("scan");
    tap::at(&standby, QPoint(930, 540));
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_TRUE(standby.hotSpotRect("scan").isNull());
}

}  // namespace
