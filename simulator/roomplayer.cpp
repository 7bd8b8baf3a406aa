#include "simulator/roomplayer.h"

namespace {

bool ShapesARoomAnswer(TReplyAction action) {
    return action == TReplyAction::Reply || action == TReplyAction::CloseAfter ||
           action == TReplyAction::Trickle || action == TReplyAction::Delay;
}

}  // namespace

std::string TReplyPlan::Describe() const {
    std::string shown = text ? (text->empty() ? "(no String)" : *text) : "failure marker";
    if (action == TReplyAction::Reply) {
        return shown;
    }
    if (action == TReplyAction::Failure) {
        return "failure marker";
    }
    std::string description(ActionName(action));
    if (ActionTakesNumber(action)) {
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
