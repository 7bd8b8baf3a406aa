// lyrabox-player: the room player that plays the room's songs. It answers the
// console on the message link exactly as roomplayer-sim does (same room, same
// replies) and plays through libmpv.
#include <QCoreApplication>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "player/mediafolder.h"
#include "player/microphonemixer.h"
#include "player/mpvplayback.h"
#include "player/playersettings.h"
#include "player/tvoverlay.h"
#include "simulator/databasesongsource.h"
#include "simulator/roomplayer.h"
#include "simulator/roomplayerserver.h"
#include "simulator/songqueue.h"
#include "simulator/songsdatabase.h"

namespace {

int Usage(std::ostream& out, int status) {
    out << "usage: lyrabox-player [--listen HOST:PORT] [--room NAME --settings SETTING_INI]\n"
           "                      --media DIR [--mpv NAME=VALUE]...\n"
           "  --listen   address to listen on (default 127.0.0.1:5000; port 0 picks one)\n"
           "  --room     play the playlist of this room from the songs database that\n"
           "  --settings this settings file of the console names; alone, it brings\n"
           "             only the [RoomPlayer] keys\n"
           "  --media    the song files, <idlagu>.<extension>, also one sub-folder down\n"
           "  --mpv      an mpv option, for example audio-device=alsa/hdmi or vo=null\n";
    return status;
}

struct TOptions {
    std::string address = "127.0.0.1:5000";
    std::string room;
    std::string settingsPath;
    std::string media;
    TMpvOptions mpv;
};

// Parses the command line; false when it is wrong.
bool Parse(int argc, char** argv, TOptions& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        if (option == "--listen") {
            options.address = value;
        } else if (option == "--room") {
            options.room = value;
        } else if (option == "--settings") {
            options.settingsPath = value;
        } else if (option == "--media") {
            options.media = value;
        } else if (option == "--mpv" && value.find('=') != std::string::npos) {
            const size_t equals = value.find('=');
            options.mpv.options.emplace_back(value.substr(0, equals), value.substr(equals + 1));
        } else {
            return false;
        }
    }
    // A room's playlist is read from the database the settings name; the
    // settings alone still bring the playback PC's own keys.
    return argc % 2 == 1 && !options.media.empty() &&
           (options.room.empty() || !options.settingsPath.empty());
}

// The settings file's [RoomPlayer] keys; without a settings file, none.
TPlayerSettings ReadSettings(const TOptions& options) {
    if (options.settingsPath.empty()) {
        return {};
    }
    return ReadPlayerSettings(options.settingsPath, std::cerr);
}

std::unique_ptr<ISongSource> MakeSongSource(const TOptions& options) {
    if (options.room.empty()) {
        return std::make_unique<TSongQueue>();
    }
    return OpenRoomPlaylist(options.room, options.settingsPath, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
            return Usage(std::cout, 0);
        }
    }
    TOptions options;
    if (!Parse(argc, argv, options)) {
        return Usage(std::cerr, 2);
    }
    // The database driver is a plugin, which needs the application object.
    QCoreApplication application(argc, argv);
    // mpv reads numbers with the C locale only.
    std::setlocale(LC_NUMERIC, "C");
    try {
        const TPlayerSettings settings = ReadSettings(options);
        options.mpv.vocalChannel = settings.vocalChannel;
        options.mpv.settingsOptions = settings.mpvOptions;
        const TMediaFolder media = TMediaFolder::ScanAndWatch(options.media, std::cerr);
        std::cerr << "lyrabox-player: " << media.Size() << " song files in " << options.media
                  << std::endl;
        std::unique_ptr<ISongSource> songs = MakeSongSource(options);
        TMicrophoneMixer microphone(settings.microphoneCard, settings.microphoneControl, std::cerr);
        TMpvPlayback playback(media, options.mpv, std::cerr, &microphone);
        TTvOverlay tv(options.room.empty() ? TTvOverlay::kNoRoomCaption : options.room,
                      [&playback](const std::string& events) { playback.DrawOverlay(events); });
        TRoomState room(*songs, playback);
        room.ShowOn(tv);
        TRoomPlayer player(room, {});
        // A song that ends is followed at once, whether the console asks or not.
        ServeUntilSignalled(options.address, player, std::cout, [&room] { room.CatchUp(); });
    } catch (const std::exception& failure) {
        std::cerr << "lyrabox-player: " << failure.what() << std::endl;
        return 1;
    }
    return 0;
}
