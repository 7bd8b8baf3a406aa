#include "widgets/smoothbutton.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>

#include "tap.h"
#include "widgets/smoothpanel.h"

namespace {

TEST(SmoothButton, TapClicksOnceAndLeavesTheFocusInTheField) {
    QWidget window;
    auto* field = new QLineEdit(&window);
    auto* start = new SmoothButton("START", &window);
    start->setGeometry(0, 40, 356, 121);
    window.show();
    field->setFocus();
    QSignalSpy clicked(start, &SmoothButton::clicked);

    tap::at(start, start->rect().center());
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(window.focusWidget(), field);
    EXPECT_EQ(start->text(), "START");

    start->setEnabled(false);
    tap::at(start, start->rect().center());
    EXPECT_EQ(clicked.count(), 1);
}

TEST(SmoothButton, FingerSlidingOffDoesNotClick) {
    SmoothButton button("Add Order");
    button.resize(160, 60);
    button.show();
    QSignalSpy clicked(&button, &SmoothButton::clicked);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(300, 10));
    EXPECT_EQ(clicked.count(), 0);
}

TEST(SmoothPanel, OpaqueOverlayHidesWhatLiesBehindIt) {
    QWidget skin;
    skin.resize(200, 120);
    skin.setStyleSheet("background: red;");
    auto* overlay = new SmoothPanel(&skin);
    overlay->setFillColor(Qt::black);
    overlay->setCornerRadius(0);
    overlay->setGeometry(skin.rect());
    auto* child = new SmoothButton("Cancel", overlay);
    child->setGeometry(10, 10, 100, 40);
    skin.show();

    const QImage image = skin.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(199, 119)), QColor(Qt::black));
    EXPECT_TRUE(child->isVisible());
    overlay->hide();
    EXPECT_FALSE(child->isVisible());
}

TEST(SmoothPanel, ContentStartsBelowTheCaption) {
    SmoothPanel panel;
    panel.resize(300, 200);
    EXPECT_EQ(panel.contentRect(), panel.rect());
    panel.setCaption("List Order Menu");
    EXPECT_GT(panel.contentRect().top(), panel.fontMetrics().height());
    EXPECT_EQ(panel.contentRect().bottom(), panel.rect().bottom());
}

}  // namespace
