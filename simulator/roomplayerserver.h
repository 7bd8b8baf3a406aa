#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "link/timclistener.h"
#include "simulator/roomplayer.h"

// Serves consoles one connection at a time until the listener stops, writing
// one line per request: the command text and what the room player did.
class TRoomPlayerServer {
public:
    TRoomPlayerServer(TIMCListener& listener, TRoomPlayer& player, std::ostream& log)
        : FListener(listener), FPlayer(player), FLog(log) {}

    // between, when given, runs on the serving thread every kIdleMs that pass
    // without a request.
    static constexpr int kIdleMs = 100;
    void Run(const std::function<void()>& between = {});

private:
    TIMCListener& FListener;
    TRoomPlayer& FPlayer;
    std::ostream& FLog;
};

// Listens on address ("HOST:PORT", port 0 picks one), writes "listening on
// HOST:PORT" to log when ready and serves until SIGINT or SIGTERM. Throws
// ELinkError when the address cannot be listened on.
void ServeUntilSignalled(const std::string& address, TRoomPlayer& player, std::ostream& log,
                         const std::function<void()>& between = {});
