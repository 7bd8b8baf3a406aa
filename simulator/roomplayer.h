#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/roomstate.h"
#include "simulator/simscript.h"

// What goes back on the wire for one request.
struct TReplyPlan {
    TReplyAction action = TReplyAction::Reply;
    int64_t number = 0;
    // The reply's "String"; nothing stands for the failure marker.
    std::optional<std::string> text;

    // For the simulator's line per request.
    std::string Describe() const;
};

// The room player as a script shapes it: the first rule that matches a command
// decides; without one, the room answers. A rule with a fixed text leaves the
// room untouched; one without a text shapes the room's own answer.
class TRoomPlayer {
public:
    TRoomPlayer(TRoomState& room, std::vector<TScriptRule> rules)
        : FRoom(room), FRules(std::move(rules)) {}

    TReplyPlan Answer(std::string_view command);

private:
    TRoomState& FRoom;
    std::vector<TScriptRule> FRules;
};
