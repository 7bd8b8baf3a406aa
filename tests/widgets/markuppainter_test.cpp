#include "widgets/markuppainter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 40;

QImage render(const QString& source) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    paintItemMarkup(painter, parseItemMarkup(source), image.rect(), font, Qt::white);
    return image;
}

bool inkInColumn(const QImage& image, int x, int top = 0, int bottom = kHeight - 1) {
    for (int y = top; y <= bottom; ++y) {
        if (qRed(image.pixel(x, y)) > 100) {
            return true;
        }
    }
    return false;
}

int firstInk(const QImage& image, int fromX, int toX) {
    for (int x = fromX; x <= toX; ++x) {
        if (inkInColumn(image, x)) {
            return x;
        }
    }
    return -1;
}

TEST(MarkupPainter, IndentedTextStartsAtItsColumnWhateverComesBefore) {
    const QImage shortFirst = render(R"(<html>A<IND x="200">W</html>)");
    const QImage longFirst = render(R"(<html>AAAAAAAAA<IND x="200">W</html>)");
    const int column = firstInk(shortFirst, 150, kWidth - 1);
    EXPECT_GE(column, 200);
    EXPECT_LE(column, 204);
    EXPECT_EQ(firstInk(longFirst, 160, kWidth - 1), column);
}

int lastInk(const QImage& image) {
    for (int x = kWidth - 1; x >= 0; --x) {
        if (inkInColumn(image, x)) {
            return x;
        }
    }
    return -1;
}

TEST(MarkupPainter, TextReachingPastAColumnPushesTheNextRunOnWhole) {
    // A quantity wider than its narrow column must stay readable.
    const QImage alone = render("<html>1234 x</html>");
    const QImage withColumn = render(R"(<html>1234 x<IND x="20">W</html>)");
    const int quantityEnd = lastInk(alone);
    ASSERT_GT(quantityEnd, 20);
    EXPECT_EQ(alone.copy(0, 0, quantityEnd + 1, kHeight),
              withColumn.copy(0, 0, quantityEnd + 1, kHeight))
        << "the text before the column was cut";
    EXPECT_GT(firstInk(withColumn, quantityEnd + 1, kWidth - 1), quantityEnd + 3);
}

TEST(MarkupPainter, TextPastTheRightEdgeIsCut) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    paintItemMarkup(painter, parseItemMarkup(QString(80, u'W')), QRect(0, 0, 100, kHeight), QFont(),
                    Qt::white);
    painter.end();
    EXPECT_NE(firstInk(image, 0, 99), -1);
    EXPECT_EQ(firstInk(image, 101, kWidth - 1), -1);
}

TEST(MarkupPainter, LineBreakStacksLinesAroundTheMiddle) {
    const QImage image = render("<html>W<br>W</html>");
    const int x = firstInk(image, 0, kWidth - 1);
    ASSERT_NE(x, -1);
    EXPECT_TRUE(inkInColumn(image, x, 0, kHeight / 2 - 1));
    EXPECT_TRUE(inkInColumn(image, x, kHeight / 2, kHeight - 1));
}

}  // namespace
