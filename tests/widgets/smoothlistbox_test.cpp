#include "widgets/smoothlistbox.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

#include "tap.h"

namespace {

QString songNotes(int n) {
    return QStringLiteral(R"(<html>TITLE %1<IND x="350">ARTIST %1</html>)").arg(n);
}

// A song list the size of the console's: 778 by 266 with rows 35 high, so
// seven and a bit rows show at once.
class SmoothListBoxTest : public testing::Test {
protected:
    void SetUp() override {
        list.resize(778, 266);
        list.setRowHeight(35);
        list.setGraphic(SmoothListBox::Graphic::Add);
        list.show();
    }

    void fill(int rows) {
        SmoothListBox::UpdateScope update(list);
        for (int n = 0; n < rows; ++n) {
            list.addItem(
                {.notes = songNotes(n), .tag = 1000 + n, .hint = QString::number(1000 + n)});
        }
    }

    QPoint textPoint(int index) const { return list.itemRect(index).center() - QPoint(200, 0); }
    QPoint graphicPoint(int index) const { return list.graphicRect(index).center(); }

    SmoothListBox list;
    QSignalSpy clicked{&list, &SmoothListBox::itemClicked};
    QSignalSpy selected{&list, &SmoothListBox::itemSelected};
    QSignalSpy graphic{&list, &SmoothListBox::graphicClicked};
};

// The console fills and selects in lists that are not on screen yet (the
// playlist at check-in, behind the standby screen): when shown, the selected
// row stands at the bottom edge, as if it had been selected on screen.
TEST(SmoothListBoxBeforeShow, ASelectionMadeBeforeTheFirstShowIsInViewOnceShown) {
    SmoothListBox list;
    list.resize(778, 266);
    list.setRowHeight(35);
    {
        SmoothListBox::UpdateScope update(list);
        for (int n = 0; n < 30; ++n) {
            list.addItem({.notes = songNotes(n), .tag = n});
        }
    }
    list.setSelectedIndex(17);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));

    const QRect row = list.itemRect(17);
    EXPECT_TRUE(list.viewport()->rect().contains(row)) << "row 17 at " << row.top();
    EXPECT_EQ(row.bottom(), list.viewport()->rect().bottom()) << "scrolled further than needed";
}

TEST_F(SmoothListBoxTest, KeepsItemDataAndRawNotesUnchanged) {
    const QString notes = R"(<html>2 x<IND x="30"> NASI<br><IND x="30"><i> PEDAS</i></html>)";
    list.addItem({.notes = notes, .tag = 7, .hint = "M-01", .caption = "A1B2C3", .enabled = false});
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.item(0).notes, notes);
    EXPECT_EQ(list.item(0).tag, 7);
    EXPECT_EQ(list.item(0).hint, "M-01");
    EXPECT_EQ(list.item(0).caption, "A1B2C3");
    EXPECT_FALSE(list.item(0).enabled);
    EXPECT_THROW(list.item(1), std::out_of_range);
    EXPECT_THROW(list.item(-1), std::out_of_range);
}

TEST_F(SmoothListBoxTest, TapOnRowSelectsItAndReportsItsIndex) {
    fill(5);
    tap::at(list.viewport(), textPoint(3));
    EXPECT_EQ(list.selectedIndex(), 3);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.at(0).at(0).toInt(), 3);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 3);
    EXPECT_EQ(graphic.count(), 0);
}

TEST_F(SmoothListBoxTest, TapOnScrolledListReportsTheRowUnderTheFinger) {
    fill(40);
    list.verticalScrollBar()->setValue(list.verticalScrollBar()->maximum());
    const int lastVisible = 39;
    tap::at(list.viewport(), textPoint(lastVisible));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), lastVisible);
    EXPECT_EQ(list.item(list.selectedIndex()).tag, 1039);
}

TEST_F(SmoothListBoxTest, TapOnPictureButtonReportsOnlyTheButton) {
    fill(5);
    list.setSelectedIndex(0);
    selected.clear();
    tap::at(list.viewport(), graphicPoint(2));
    ASSERT_EQ(graphic.count(), 1);
    EXPECT_EQ(graphic.at(0).at(0).toInt(), 2);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(selected.count(), 0);
    EXPECT_EQ(list.selectedIndex(), 0);
}

TEST_F(SmoothListBoxTest, WithoutPictureButtonTheRightEndIsPartOfTheRow) {
    fill(3);
    const QPoint rightEnd = graphicPoint(1);
    list.setGraphic(SmoothListBox::Graphic::None);
    tap::at(list.viewport(), rightEnd);
    EXPECT_EQ(graphic.count(), 0);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 1);
}

TEST_F(SmoothListBoxTest, TapsThatAreNotOnAnEnabledRowReportNothing) {
    fill(2);
    list.addItem({.notes = "OFF", .enabled = false});
    tap::at(list.viewport(), textPoint(2));                  // disabled row
    tap::at(list.viewport(), textPoint(2) + QPoint(0, 60));  // below the last row
    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, textPoint(0));
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, textPoint(1));  // slid to another row
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(selected.count(), 0);
    EXPECT_EQ(graphic.count(), 0);
    EXPECT_EQ(list.selectedIndex(), -1);
}

TEST_F(SmoothListBoxTest, DragScrollsWithoutTapping) {
    fill(40);
    tap::drag(list.viewport(), textPoint(6), textPoint(1));
    EXPECT_GE(list.verticalScrollBar()->value(), 5 * 35 - 10);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(list.selectedIndex(), -1);
}

TEST_F(SmoothListBoxTest, TapsAreIgnoredWhileUpdatesAreSuspended) {
    fill(5);
    list.beginUpdate();
    list.clear();
    list.addItem({.notes = songNotes(50), .tag = 50});
    tap::at(list.viewport(), textPoint(0));
    EXPECT_EQ(clicked.count(), 0);
    list.addItem({.notes = songNotes(51), .tag = 51});
    list.endUpdate();

    tap::at(list.viewport(), textPoint(1));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 1);
    EXPECT_EQ(list.item(1).tag, 51);
}

TEST_F(SmoothListBoxTest, UpdatesNestAndToleratesAnExtraEnd) {
    fill(3);
    list.beginUpdate();
    list.beginUpdate();
    list.endUpdate();
    EXPECT_TRUE(list.isUpdating());
    list.endUpdate();
    list.endUpdate();  // unmatched: harmless
    EXPECT_FALSE(list.isUpdating());
    list.beginUpdate();
    EXPECT_TRUE(list.isUpdating()) << "an extra end must not leave the count below zero";
    list.endUpdate();
    tap::at(list.viewport(), textPoint(2));
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(SmoothListBoxTest, UpdateScopeEndsTheUpdateWhenAnExceptionLeaves) {
    try {
        SmoothListBox::UpdateScope update(list);
        list.addItem({.notes = "A"});
        throw std::runtime_error("database went away");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(list.isUpdating());
    EXPECT_EQ(list.count(), 1);
}

TEST_F(SmoothListBoxTest, SelectionFromCodeFollowsTheRowRules) {
    fill(20);
    list.setSelectedIndex(0);
    list.setSelectedIndex(0);   // already selected: no new report
    list.setSelectedIndex(20);  // no such row: changes nothing
    list.setSelectedIndex(-5);
    EXPECT_EQ(list.selectedIndex(), 0);
    ASSERT_EQ(selected.count(), 1);

    list.setSelectedIndex(17);
    EXPECT_EQ(list.selectedIndex(), 17);
    EXPECT_TRUE(list.viewport()->rect().contains(list.itemRect(17))) << "not scrolled into view";
    EXPECT_EQ(clicked.count(), 0) << "selecting from code is not a tap";

    list.setSelectedIndex(-1);
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_EQ(selected.count(), 2);
}

TEST_F(SmoothListBoxTest, SelectionMadeWhileSuspendedIsShownAfterTheUpdate) {
    list.beginUpdate();
    fill(30);
    list.setSelectedIndex(25);
    EXPECT_EQ(list.selectedIndex(), 25);
    list.endUpdate();
    EXPECT_EQ(list.selectedIndex(), 25);
    EXPECT_TRUE(list.viewport()->rect().contains(list.itemRect(25)));
}

TEST_F(SmoothListBoxTest, RemovingAndClearingKeepTheSelectionOnItsRow) {
    fill(5);
    list.setSelectedIndex(3);
    list.removeItem(1);
    EXPECT_EQ(list.selectedIndex(), 2);
    EXPECT_EQ(list.item(2).tag, 1003);
    list.removeItem(2);
    EXPECT_EQ(list.selectedIndex(), -1);
    list.setSelectedIndex(0);
    list.clear();
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_TRUE(list.isEmpty());
}

TEST_F(SmoothListBoxTest, SelectedRowIsDrawnLightOnTheDarkList) {
    fill(3);
    list.setSelectedIndex(1);
    const QImage image = list.viewport()->grab().toImage();
    const auto lightness = [&](int index) {
        const QRect row = list.itemRect(index);
        return QColor(image.pixel(row.center().x(), row.top() + 4)).lightness();
    };
    EXPECT_GT(lightness(1), 180);
    EXPECT_LT(lightness(0), 90);
    EXPECT_LT(lightness(2), 90);
}

}  // namespace
