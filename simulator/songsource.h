#pragma once

#include <optional>
#include <string>

struct TSong {
    int id = 0;
    int lengthSeconds = 0;
    // As the catalogue names them; empty where the source knows no names.
    std::string title = {};
    std::string artist = {};

    bool operator==(const TSong&) const = default;
};

// Where the room player's songs come from: the room playlist for what plays
// next, the catalogue for a song picked by its id. The simulator keeps a queue
// in memory; reading the room playlist from the songs database plugs in here.
class ISongSource {
public:
    virtual ~ISongSource() = default;
    // Takes the song that plays next off the playlist; nothing when it is empty.
    virtual std::optional<TSong> TakeNext() = 0;
    // The song that would play next, left on the playlist; nothing when it is
    // empty. A source may answer from the database: ask when it may have
    // changed, not on every poll.
    virtual std::optional<TSong> PeekNext() = 0;
    // The catalogue song with this id, as the room player would load it.
    virtual TSong Describe(int songId) = 0;
};
