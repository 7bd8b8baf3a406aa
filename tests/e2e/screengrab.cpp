// Saves what an X server's screen shows, as the eye would see it: the root
// window's pixels, whatever window drew them. Usage: screengrab FILE.png
// (DISPLAY names the server).
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    if (argc != 2 || QGuiApplication::primaryScreen() == nullptr) {
        return 2;
    }
    return QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(argv[1]))
               ? 0
               : 1;
}
