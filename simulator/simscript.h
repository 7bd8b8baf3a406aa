#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/roomstate.h"
#include "simulator/songsource.h"

// How the room player answers one command when a script says so.
enum class TReplyAction {
    Reply,       // a reply frame whose "String" is the text
    Empty,       // a reply frame with no "String" value
    Failure,     // the failure marker (ID length -1)
    Silent,      // no answer at all; the connection stays open until the console leaves
    Close,       // close without a byte
    CloseAfter,  // the first N bytes of the reply frame, then close
    Garbage,     // N bytes of noise, then close
    IDLength,    // an ID length of N and nothing more, connection held open
    DataLength,  // the reply's ID, a data length of N and nothing more, connection held open
    Trickle,     // the reply frame one byte at a time, N ms apart
    Delay,       // the reply frame after N ms
};

// The action's word in a script ("close-after"), and whether a number follows it.
std::string_view ActionName(TReplyAction action);
bool ActionTakesNumber(TReplyAction action);

struct TScriptRule {
    std::string pattern;     // a command text, "CODE#*" for any argument, or "*"
    int remainingUses = -1;  // -1: every time
    TReplyAction action = TReplyAction::Reply;
    int64_t number = 0;
    // The reply text; without one the room answers the command itself.
    std::optional<std::string> text;

    bool Matches(std::string_view command) const;
};

// A script for the simulator: the room's starting settings, its playlist, and
// fixed answers or misbehaviours per command. Format in simulator/README.md.
struct TSimScript {
    TRoomSettings settings;
    std::vector<TSong> playlist;
    std::vector<TScriptRule> rules;

    // Throws std::invalid_argument naming the line that is wrong.
    static TSimScript Parse(std::string_view text);
    static TSimScript Load(const std::string& path);
};
