#include <gtest/gtest.h>

#include <QApplication>

// One QApplication for the whole test program, on Qt's offscreen platform so
// that the real widgets run without a display.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    qputenv("LYRABOX_LOOPBACK_ONLY", "1");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
