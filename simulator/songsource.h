#pragma once

#include <optional>

struct TSong {
    int id = 0;
    int lengthSeconds = 0;
};

// Where the room player's songs come from: the room playlist for what plays
// next, the catalogue for a song picked by its id. The simulator keeps a queue
// in memory; reading the room playlist from the songs database plugs in here.
class ISongSource {
public:
    virtual ~ISongSource() = default;
    // Takes the song that plays next off the playlist; nothing when it is empty.
    virtual std::optional<TSong> TakeNext() = 0;
    // The catalogue song with this id, as the room player would load it.
    virtual TSong Describe(int songId) = 0;
};
