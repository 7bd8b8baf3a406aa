// roomplayer-sim: a room player on the message link, for tests and for a
// venue's bring-up. Usage in simulator/README.md.
#include <QCoreApplication>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "simulator/databasesongsource.h"
#include "simulator/roomplayer.h"
#include "simulator/roomplayerserver.h"
#include "simulator/simscript.h"
#include "simulator/songqueue.h"

namespace {

int Usage(std::ostream& out, int status) {
    out << "usage: roomplayer-sim [--listen HOST:PORT] [--script FILE]\n"
           "                      [--room NAME --settings SETTING_INI]\n"
           "  --listen   address to listen on (default 127.0.0.1:5000; port 0 picks one)\n"
           "  --script   settings, playlist and per-command replies (see simulator/README.md)\n"
           "  --room     play the playlist of this room from the songs database that\n"
           "  --settings this settings file of the console names\n";
    return status;
}

struct TOptions {
    std::string address = "127.0.0.1:5000";
    std::string scriptPath;
    std::string room;
    std::string settingsPath;
};

// The playlist of the room in the songs database, or the script's song lines.
std::unique_ptr<ISongSource> MakeSongSource(const TOptions& options, const TSimScript& script) {
    if (options.room.empty()) {
        auto queue = std::make_unique<TSongQueue>();
        for (const TSong& song : script.playlist) {
            queue->Add(song);
        }
        return queue;
    }
    if (!script.playlist.empty()) {
        throw std::runtime_error("the script's song lines and --room exclude each other");
    }
    return OpenRoomPlaylist(options.room, options.settingsPath, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
    TOptions options;
    const std::map<std::string, std::string TOptions::*> valued = {
        {"--listen", &TOptions::address},
        {"--script", &TOptions::scriptPath},
        {"--room", &TOptions::room},
        {"--settings", &TOptions::settingsPath},
    };
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            return Usage(std::cout, 0);
        }
        auto field = valued.find(option);
        if (field == valued.end() || i + 1 >= argc) {
            return Usage(std::cerr, 2);
        }
        options.*(field->second) = argv[++i];
    }
    if (options.room.empty() != options.settingsPath.empty()) {
        return Usage(std::cerr, 2);
    }
    // The database driver is a plugin, which needs the application object.
    QCoreApplication application(argc, argv);
    try {
        TSimScript script =
            options.scriptPath.empty() ? TSimScript{} : TSimScript::Load(options.scriptPath);
        std::unique_ptr<ISongSource> songs = MakeSongSource(options, script);
        TSteadyRoomClock clock;
        TRoomState room(*songs, clock, script.settings);
        TRoomPlayer player(room, script.rules);
        ServeUntilSignalled(options.address, player, std::cout);
    } catch (const std::exception& failure) {
        std::cerr << "roomplayer-sim: " << failure.what() << std::endl;
        return 1;
    }
    return 0;
}
