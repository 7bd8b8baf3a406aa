#pragma once

#include <optional>
#include <string>

#include "simulator/songsource.h"

// What the room's TV shows over the song's picture, as the room decides it;
// a screen draws it.
struct TTvPicture {
    // What the guest is typing on the console; empty: no search line.
    std::string searchText;
    // The song playing; nothing: the idle screen.
    std::optional<TSong> playing;
    // The playing song's title and artist, shown large in its first seconds.
    bool announce = false;
    // The song the playlist plays next, if any.
    std::optional<TSong> next;

    bool operator==(const TTvPicture&) const = default;
};

// The TV of a room player that plays; the simulator has none.
class ITvScreen {
public:
    virtual ~ITvScreen() = default;
    // Told only when the picture changes.
    virtual void Show(const TTvPicture& picture) = 0;
};
