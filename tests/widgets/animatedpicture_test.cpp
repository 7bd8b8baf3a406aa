#include "widgets/animatedpicture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A 1x1 GIF of two frames, red then blue, 100 ms each, looping for ever.
const unsigned char kTwoFrameGif[] = {
    'G',  'I',  'F',  '8',  '9',  'a',  0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00,       // screen
    0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF,                                                 // palette
    0x21, 0xFF, 0x0B, 'N',  'E',  'T',  'S',  'C',  'A',  'P',  'E',  '2',  '.',  '0',  // loop
    0x03, 0x01, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04, 0x00, 0x0A, 0x00, 0x00, 0x00,       // delay
    0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00,                         // frame 1
    0x02, 0x02, 0x44, 0x01, 0x00,                                                       // pixel 0
    0x21, 0xF9, 0x04, 0x00, 0x0A, 0x00, 0x00, 0x00,                                     // delay
    0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00,                         // frame 2
    0x02, 0x02, 0x4C, 0x01, 0x00,                                                       // pixel 1
    0x3B};

class AnimatedPictureTest : public testing::Test {
protected:
    QString write(const QString& name, const QByteArray& content) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    QTemporaryDir dir;
    AnimatedPicture picture;
};

TEST_F(AnimatedPictureTest, MissingFileIsAFailureThatNamesTheFile) {
    const QString path = dir.filePath("tools/gambar/loading.gif");
    EXPECT_FALSE(picture.load(path));
    EXPECT_TRUE(picture.errorString().contains(path));
    EXPECT_TRUE(picture.errorString().contains("not found"));
    picture.start();
    EXPECT_FALSE(picture.isRunning());
    EXPECT_EQ(picture.movie(), nullptr);
}

TEST_F(AnimatedPictureTest, FileThatIsNoPictureIsAFailure) {
    const QString path = write("loading.gif", "this is not a picture");
    EXPECT_FALSE(picture.load(path));
    EXPECT_TRUE(picture.errorString().startsWith("Cannot read " + path));
    EXPECT_EQ(picture.movie(), nullptr);
}

TEST_F(AnimatedPictureTest, AnimatesAGifUntilStopped) {
    const QString path =
        write("loading.gif",
              QByteArray(reinterpret_cast<const char*>(kTwoFrameGif), sizeof kTwoFrameGif));
    ASSERT_TRUE(picture.load(path)) << picture.errorString().toStdString();
    EXPECT_TRUE(picture.errorString().isEmpty());
    EXPECT_EQ(picture.frameCount(), 2);
    picture.resize(40, 40);
    picture.show();
    picture.start();
    EXPECT_TRUE(picture.isRunning());
    QSet<int> framesSeen;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            framesSeen.insert(picture.currentFrame());
            return framesSeen.contains(0) && framesSeen.contains(1);
        },
        3000));
    picture.stop();
    EXPECT_FALSE(picture.isRunning());

    // A failed load afterwards leaves nothing running from the earlier picture.
    EXPECT_FALSE(picture.load(dir.filePath("other.gif")));
    EXPECT_EQ(picture.movie(), nullptr);
}

}  // namespace
