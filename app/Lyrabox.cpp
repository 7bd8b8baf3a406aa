// The program block: settings holder, start-up window, message loop.
#include <QApplication>

#include "app/buildconfig.h"
#include "app/linuxplatform.h"
#include "app/uloading.h"
#include "app/umodule.h"
#include "console/uplayer.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lyrabox"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3.%4")
                                            .arg(buildconfig::kVersion[0])
                                            .arg(buildconfig::kVersion[1])
                                            .arg(buildconfig::kVersion[2])
                                            .arg(buildconfig::kVersion[3]));
    // The console window ends the program through its own close; the start-up
    // window stays the main window until then.
    QApplication::setQuitOnLastWindowClosed(false);

    LinuxPlatform platform;
    Tfmodule module;
    fmodule = &module;
    Tfloading loading(module, platform, [&]() -> QWidget* {
        fplayer = new Tfplayer(module, platform, &loading);
        return fplayer;
    });
    floading = &loading;
    loading.show();

    const int exitCode = QApplication::exec();
    delete fplayer;  // saves the log
    fplayer = nullptr;
    return exitCode;
}
