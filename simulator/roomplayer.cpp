#include "simulator/roomplayer.h"

namespace {

bool ShapesARoomAnswer(TReplyAction action) {
    return action == TReplyAction::Reply || action == TReplyAction::CloseAfter ||
           action == TReplyAction::Trickle || action == TReplyAction::Delay;
}

std::string ActionName(TReplyAction action) {
    switch (action) {
        case TReplyAction::Reply:
            return "reply";
        case TReplyAction::Empty:
            return "empty";
        case TReplyAction::Failure:
            return "failure marker";
        case TReplyAction::Silent:
            return "silent";
        case TReplyAction::Close:
            return "close";
        case TReplyAction::CloseAfter:
            return "close-after";
        case TReplyAction::Garbage:
            return "garbage";
        case TReplyAction::IDLength:
            return "id-length";
        case TReplyAction::DataLength:
            return "data-length";
        case TReplyAction::Trickle:
            return "trickle";
        case TReplyAction::Delay:
            return "delay";
    }
    return "?";
}

}  // namespace

std::string TReplyPlan::Describe() const {
    std::string shown = text ? (text->empty() ? "(no String)" : *text) : "failure marker";
    if (action == TReplyAction::Reply) {
        return shown;
    }
    std::string description = ActionName(action);
    if (action == TReplyAction::CloseAfter || action == TReplyAction::Garbage ||
        action == TReplyAction::IDLength || action == TReplyAction::DataLength ||
        action == TReplyAction::Trickle || action == TReplyAction::Delay) {
        description += " " + std::to_string(number);
    }
    if (ShapesARoomAnswer(action)) {
        description += ": " + shown;
    }
    return description;
}

TReplyPlan TRoomPlayer::Answer(std::string_view command) {
    for (TScriptRule& rule : FRules) {
        if (!rule.Matches(command)) {
            continue;
        }
        if (rule.remainingUses > 0) {
            --rule.remainingUses;
        }
        TReplyPlan plan{rule.action, rule.number, rule.text};
        if (!rule.text && ShapesARoomAnswer(rule.action)) {
            plan.text = FRoom.Execute(command);
        }
        return plan;
    }
    return TReplyPlan{TReplyAction::Reply, 0, FRoom.Execute(command)};
}
