#include "widgets/rangeslider.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "tap.h"

namespace {

struct PositionCase {
    const char* name;
    int left;
    int start;
    int value;
    int expected;
    bool raisesChange;
};

void PrintTo(const PositionCase& c, std::ostream* os) {
    *os << c.name;
}

// Right thumb on a track of 0..240, the way the progress bar uses it.
class RightThumbRule : public testing::TestWithParam<PositionCase> {};

TEST_P(RightThumbRule, AppliesTheValue) {
    const PositionCase& c = GetParam();
    RangeSlider slider;
    slider.setMaximum(240);
    slider.setPositionRight(c.start);
    slider.setPositionLeft(c.left);
    QSignalSpy changed(&slider, &RangeSlider::positionRightChanged);

    slider.setPositionRight(c.value);

    EXPECT_EQ(slider.positionRight(), c.expected);
    EXPECT_EQ(changed.count(), c.raisesChange ? 1 : 0);
    if (c.raisesChange) {
        EXPECT_EQ(changed.at(0).at(0).toInt(), c.expected);
    }
    EXPECT_EQ(slider.positionLeft(), c.left);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RightThumbRule,
    testing::Values(PositionCase{"InsideTheRange", 0, 10, 100, 100, true},
                    PositionCase{"ToZero", 0, 5, 0, 0, true},
                    PositionCase{"ExactlyTheMaximum", 0, 10, 240, 240, true},
                    PositionCase{"AboveTheMaximumIsCut", 0, 10, 300, 240, true},
                    PositionCase{"AboveTheMaximumWhileAtItStillRaises", 0, 240, 241, 240, true},
                    PositionCase{"SameValueRaisesNothing", 0, 100, 100, 100, false},
                    PositionCase{"NegativeIsIgnored", 0, 100, -1, 100, false},
                    PositionCase{"BelowTheLeftThumbIsIgnored", 20, 100, 19, 100, false},
                    PositionCase{"OnTheLeftThumb", 20, 100, 20, 20, true}),
    [](const testing::TestParamInfo<PositionCase>& info) { return info.param.name; });

// Left thumb mirrored: on a track of 10..240 with the right thumb at 200.
class LeftThumbRule : public testing::TestWithParam<PositionCase> {};

TEST_P(LeftThumbRule, AppliesTheValue) {
    const PositionCase& c = GetParam();
    RangeSlider slider;
    slider.setMaximum(240);
    slider.setPositionRight(200);
    slider.setPositionLeft(c.start);
    slider.setMinimum(10);
    QSignalSpy changed(&slider, &RangeSlider::positionLeftChanged);

    slider.setPositionLeft(c.value);

    EXPECT_EQ(slider.positionLeft(), c.expected);
    EXPECT_EQ(changed.count(), c.raisesChange ? 1 : 0);
    EXPECT_EQ(slider.positionRight(), 200);
}

INSTANTIATE_TEST_SUITE_P(
    Values, LeftThumbRule,
    testing::Values(PositionCase{"InsideTheRange", 0, 50, 120, 120, true},
                    PositionCase{"BelowTheMinimumIsCut", 0, 50, 3, 10, true},
                    PositionCase{"OnTheRightThumb", 0, 50, 200, 200, true},
                    PositionCase{"AboveTheRightThumbIsIgnored", 0, 50, 201, 50, false},
                    PositionCase{"SameValueRaisesNothing", 0, 50, 50, 50, false}),
    [](const testing::TestParamInfo<PositionCase>& info) { return info.param.name; });

TEST(RangeSlider, ChangingTheBoundsNeverMovesAThumb) {
    RangeSlider slider;
    slider.setMaximum(1000);
    slider.setPositionRight(600);
    QSignalSpy changed(&slider, &RangeSlider::positionRightChanged);
    slider.setMaximum(240);
    slider.setMinimum(100);
    EXPECT_EQ(slider.positionRight(), 600);
    EXPECT_EQ(slider.positionLeft(), 0);
    EXPECT_EQ(changed.count(), 0);

    slider.setPositionRight(601);
    EXPECT_EQ(slider.positionRight(), 240);
}

TEST(RangeSlider, ChangeHandlerMaySetThePositionBack) {
    // A handler that keeps the thumb at 0 undoes every step at once.
    RangeSlider slider;
    slider.setMaximum(240);
    int changes = 0;
    QObject::connect(&slider, &RangeSlider::positionRightChanged, [&](int) {
        ++changes;
        slider.setPositionRight(0);
    });
    slider.setPositionRight(slider.positionRight() + 1);
    EXPECT_EQ(slider.positionRight(), 0);
    slider.setPositionRight(slider.positionRight() + 1);
    EXPECT_EQ(slider.positionRight(), 0);
    EXPECT_EQ(changes, 4);
}

class RangeSliderFinger : public testing::Test {
protected:
    void SetUp() override {
        slider.resize(722, 34);
        slider.setMaximum(240);
        slider.setLeftThumbVisible(false);
        slider.show();
    }

    RangeSlider slider;
    QSignalSpy changed{&slider, &RangeSlider::positionRightChanged};
    QSignalSpy released{&slider, &RangeSlider::released};
};

TEST_F(RangeSliderFinger, DraggingTheThumbPastTheEndStopsAtTheMaximum) {
    slider.setPositionRight(100);
    changed.clear();
    tap::drag(&slider, slider.rightThumbCenter(), QPoint(slider.width() + 50, 17));
    EXPECT_EQ(slider.positionRight(), 240);
    EXPECT_GE(changed.count(), 1);
    EXPECT_EQ(released.count(), 1);
}

TEST_F(RangeSliderFinger, TapOnTheTrackMovesTheRightThumbThere) {
    slider.setPositionRight(200);
    tap::at(&slider, QPoint(slider.width() / 2, 17));
    EXPECT_NEAR(slider.positionRight(), 120, 1);
    EXPECT_EQ(released.count(), 1);
}

TEST_F(RangeSliderFinger, HiddenLeftThumbIsNeverTaken) {
    slider.setPositionRight(200);
    tap::drag(&slider, QPoint(2, 17), QPoint(-40, 17));
    EXPECT_EQ(slider.positionRight(), 0);
    EXPECT_EQ(slider.positionLeft(), 0);
}

TEST(RangeSliderTwoThumbs, FingerTakesTheNearerThumb) {
    RangeSlider slider;
    slider.resize(400, 34);
    slider.setMaximum(100);
    slider.setPositionRight(80);
    slider.setPositionLeft(20);
    slider.show();
    tap::drag(&slider, slider.leftThumbCenter(), slider.leftThumbCenter() + QPoint(40, 0));
    EXPECT_GT(slider.positionLeft(), 20);
    EXPECT_EQ(slider.positionRight(), 80);
    // Dragged past the right thumb, the left thumb stays short of it.
    tap::drag(&slider, slider.leftThumbCenter(), QPoint(390, 17));
    EXPECT_LE(slider.positionLeft(), 80);
    EXPECT_EQ(slider.positionRight(), 80);
}

}  // namespace
