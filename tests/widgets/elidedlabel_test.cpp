#include "widgets/elidedlabel.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

namespace {

// The now-playing label's place and look on the console: 317 by 20, a black
// slot with a little room before the text.
class ElidedLabelTest : public testing::Test {
protected:
    void SetUp() override {
        label.resize(317, 20);
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(14);
        label.setFont(font);
        label.setTextFormat(Qt::PlainText);
        label.setStyleSheet(
            QStringLiteral("color: #f0f0fa; background: black; padding-left: 4px;"));
        label.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    }

    // The rightmost column with a light pixel: where the painted text ends.
    int lastInkColumn() {
        const QImage image = label.grab().toImage();
        for (int x = image.width() - 1; x >= 0; --x) {
            for (int y = 0; y < image.height(); ++y) {
                if (qGray(image.pixel(x, y)) > 128) {
                    return x;
                }
            }
        }
        return -1;
    }

    ElidedLabel label;
};

TEST_F(ElidedLabelTest, ATextThatFitsIsShownWhole) {
    label.setText(QStringLiteral("MY LOVE - BRUNO MARS"));
    EXPECT_EQ(label.shownText(), label.text());
}

TEST_F(ElidedLabelTest, ALongerTextEndsInAnEllipsisInsideItsPlaceAndStaysWholeInText) {
    const QString whole = QStringLiteral(
        "A VERY LONG SONG TITLE THAT GOES ON AND ON - AN ARTIST WITH AN EQUALLY LONG NAME");
    label.setText(whole);

    EXPECT_EQ(label.text(), whole);
    const QString shown = label.shownText();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(whole.startsWith(shown.chopped(1))) << shown.toStdString();

    const int inkEnd = lastInkColumn();
    EXPECT_GT(inkEnd, 200) << "the shortened text fills the label";
    EXPECT_LT(inkEnd, label.width() - 1) << "the text runs to the edge, cut off";
}

TEST_F(ElidedLabelTest, PaddingFromTheStyleSheetIsKeptBeforeAShortenedText) {
    label.setText(QStringLiteral("W").repeated(60));
    ASSERT_NE(label.shownText(), label.text());
    const QImage image = label.grab().toImage();
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < image.height(); ++y) {
            EXPECT_LT(qGray(image.pixel(x, y)), 128) << "ink at column " << x;
        }
    }
}

}  // namespace
