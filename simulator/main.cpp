// roomplayer-sim: a room player on the message link, for tests and for a
// venue's bring-up. Usage in simulator/README.md.
#include <csignal>
#include <iostream>
#include <string>

#include "link/linkerror.h"
#include "link/timclistener.h"
#include "simulator/roomplayer.h"
#include "simulator/roomplayerserver.h"
#include "simulator/simscript.h"
#include "simulator/songqueue.h"

namespace {

TIMCListener* gListener = nullptr;

void StopOnSignal(int) {
    // Stop only writes to an eventfd: safe inside a signal handler.
    if (gListener != nullptr) {
        gListener->Stop();
    }
}

int Usage(std::ostream& out, int status) {
    out << "usage: roomplayer-sim [--listen HOST:PORT] [--script FILE]\n"
           "  --listen   address to listen on (default 127.0.0.1:5000; port 0 picks one)\n"
           "  --script   settings, playlist and per-command replies (see simulator/README.md)\n";
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    std::string address = "127.0.0.1:5000";
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            return Usage(std::cout, 0);
        }
        if ((option != "--listen" && option != "--script") || i + 1 >= argc) {
            return Usage(std::cerr, 2);
        }
        (option == "--listen" ? address : scriptPath) = argv[++i];
    }
    try {
        TSimScript script = scriptPath.empty() ? TSimScript{} : TSimScript::Load(scriptPath);
        TSongQueue songs;
        for (const TSong& song : script.playlist) {
            songs.Add(song);
        }
        TSteadyRoomClock clock;
        TRoomState room(songs, clock, script.settings);
        TRoomPlayer player(room, script.rules);

        TIMCListener listener;
        listener.Listen(address);
        gListener = &listener;
        std::signal(SIGINT, StopOnSignal);
        std::signal(SIGTERM, StopOnSignal);
        std::cout << "listening on " << listener.Address() << std::endl;
        TRoomPlayerServer(listener, player, std::cout).Run();
        gListener = nullptr;
    } catch (const std::exception& failure) {
        std::cerr << "roomplayer-sim: " << failure.what() << std::endl;
        return 1;
    }
    return 0;
}
