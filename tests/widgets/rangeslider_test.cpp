#include "widgets/rangeslider.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "tap.h"

namespace {

enum class Thumb { Left, Right };

// A slider over minimum..240 with its thumbs at `left` and `right`; one thumb is set to `value`.
struct PositionCase {
    const char* name;
    Thumb thumb;
    int minimum;
    int left;
    int right;
    int value;
    int expected;
    bool raisesChange;
};

void PrintTo(const PositionCase& c, std::ostream* os) {
    *os << c.name;
}

class ThumbRule : public testing::TestWithParam<PositionCase> {};

TEST_P(ThumbRule, AppliesTheValue) {
    const PositionCase& c = GetParam();
    RangeSlider slider;
    slider.setMaximum(240);
    slider.setPositionRight(c.right);
    slider.setPositionLeft(c.left);
    slider.setMinimum(c.minimum);
    QSignalSpy leftChanged(&slider, &RangeSlider::positionLeftChanged);
    QSignalSpy rightChanged(&slider, &RangeSlider::positionRightChanged);
    const bool right = c.thumb == Thumb::Right;

    if (right) {
        slider.setPositionRight(c.value);
    } else {
        slider.setPositionLeft(c.value);
    }

    QSignalSpy& changed = right ? rightChanged : leftChanged;
    EXPECT_EQ(right ? slider.positionRight() : slider.positionLeft(), c.expected);
    ASSERT_EQ(changed.count(), c.raisesChange ? 1 : 0);
    if (c.raisesChange) {
        EXPECT_EQ(changed.at(0).at(0).toInt(), c.expected);
    }
    EXPECT_EQ(right ? slider.positionLeft() : slider.positionRight(), right ? c.left : c.right);
    EXPECT_EQ((right ? leftChanged : rightChanged).count(), 0);
}

// The right thumb as the progress bar uses it (left thumb at 0), and the left thumb mirrored.
INSTANTIATE_TEST_SUITE_P(
    Values, ThumbRule,
    testing::Values(
        PositionCase{"RightInsideTheRange", Thumb::Right, 0, 0, 10, 100, 100, true},
        PositionCase{"RightToZero", Thumb::Right, 0, 0, 5, 0, 0, true},
        PositionCase{"RightExactlyTheMaximum", Thumb::Right, 0, 0, 10, 240, 240, true},
        PositionCase{"RightAboveTheMaximumIsCut", Thumb::Right, 0, 0, 10, 300, 240, true},
        PositionCase{"RightAboveTheMaximumWhileAtItStillRaises", Thumb::Right, 0, 0, 240, 241, 240,
                     true},
        PositionCase{"RightSameValueRaisesNothing", Thumb::Right, 0, 0, 100, 100, 100, false},
        PositionCase{"RightNegativeIsIgnored", Thumb::Right, 0, 0, 100, -1, 100, false},
        PositionCase{"RightBelowTheLeftThumbIsIgnored", Thumb::Right, 0, 20, 100, 19, 100, false},
        PositionCase{"RightOnTheLeftThumb", Thumb::Right, 0, 20, 100, 20, 20, true},
        PositionCase{"LeftInsideTheRange", Thumb::Left, 10, 50, 200, 120, 120, true},
        PositionCase{"LeftBelowTheMinimumIsCut", Thumb::Left, 10, 50, 200, 3, 10, true},
        PositionCase{"LeftOnTheRightThumb", Thumb::Left, 10, 50, 200, 200, 200, true},
        PositionCase{"LeftAboveTheRightThumbIsIgnored", Thumb::Left, 10, 50, 200, 201, 50, false},
        PositionCase{"LeftSameValueRaisesNothing", Thumb::Left, 10, 50, 200, 50, 50, false}),
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
