// The program block: settings holder, start-up window, message loop.
#include <QApplication>

#include "app/buildconfig.h"
#include "app/linuxplatform.h"
#include "app/terminationsignals.h"
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
    // systemctl stop/restart, a shutdown or the end of the X session end the
    // run the way the exit code does: the message loop ends and the console
    // window is destroyed below, telling the room player and closing the log.
    const TerminationSignals terminationSignals([&platform](int signalNumber) {
        qWarning("lyrabox: ending on signal %d", signalNumber);
        platform.SetEnding();
        // exit, not quit: quit would first close the windows, which tells the
        // room player again; the destruction below does it once.
        QApplication::exit(0);
    });
    Tfmodule module;
    fmodule = &module;
    Tfloading loading(module, platform, [&]() -> QWidget* {
        fplayer = new Tfplayer(module, platform, &loading);
        platform.SetDialogOwner(fplayer);
        return fplayer;
    });
    floading = &loading;
    loading.show();

    const int exitCode = QApplication::exec();
    delete fplayer;  // closes the log
    fplayer = nullptr;
    return exitCode;
}
