// The simulator's script: settings, playlist and per-command rules.
#include <gtest/gtest.h>

#include <stdexcept>

#include "manualclock.h"
#include "simulator/roomplayer.h"
#include "simulator/simscript.h"
#include "simulator/songqueue.h"

namespace {

TEST(SimScript, ReadsSettingsPlaylistAndRules) {
    TSimScript script = TSimScript::Parse(
        "# a room that needs a reset\r\n"
        "set volume 40\n"
        "set microphone 3\n"
        "set condition 1\n"
        "set vocal off\n"
        "set late-length on\n"
        "song 812 240\n"
        "\n"
        "on 38# x2 empty\n"
        "on 27#* trickle 20\n"
        "on 33# reply 7#12#240\n"
        "on 21# close-after 10 6#\n"
        "on * failure\n");
    EXPECT_EQ(script.settings.volume, 40);
    EXPECT_EQ(script.settings.microphone, 3);
    EXPECT_EQ(script.settings.condition, "1");
    EXPECT_FALSE(script.settings.vocalGuide);
    EXPECT_TRUE(script.settings.lengthLate);
    ASSERT_EQ(script.playlist.size(), 1u);
    EXPECT_EQ(script.playlist[0].id, 812);
    EXPECT_EQ(script.playlist[0].lengthSeconds, 240);

    ASSERT_EQ(script.rules.size(), 5u);
    EXPECT_EQ(script.rules[0].remainingUses, 2);
    EXPECT_EQ(script.rules[0].action, TReplyAction::Empty);
    EXPECT_EQ(script.rules[1].action, TReplyAction::Trickle);
    EXPECT_EQ(script.rules[1].number, 20);
    EXPECT_FALSE(script.rules[1].text.has_value());
    EXPECT_EQ(script.rules[2].text, "7#12#240");
    EXPECT_EQ(script.rules[3].action, TReplyAction::CloseAfter);
    EXPECT_EQ(script.rules[3].text, "6#");
    EXPECT_EQ(script.rules[4].pattern, "*");
}

TEST(SimScript, NamesTheLineThatIsWrong) {
    for (const char* text : {"set volume loud", "on 33# dance", "play 812", "set colour red",
                             "song 812", "on 33# garbage many"}) {
        try {
            TSimScript::Parse(std::string("# fine\n") + text + "\n");
            ADD_FAILURE() << "accepted: " << text;
        } catch (const std::invalid_argument& failure) {
            EXPECT_NE(std::string(failure.what()).find("line 2"), std::string::npos)
                << failure.what();
        }
    }
}

TScriptRule RuleFor(const char* pattern) {
    TScriptRule rule;
    rule.pattern = pattern;
    return rule;
}

TEST(SimScript, PatternsMatchTheWholeCommandACodeOrEverything) {
    TScriptRule exact = RuleFor("27#80");
    TScriptRule anyArgument = RuleFor("27#*");
    TScriptRule everything = RuleFor("*");
    EXPECT_TRUE(exact.Matches("27#80"));
    EXPECT_FALSE(exact.Matches("27#8"));
    EXPECT_TRUE(anyArgument.Matches("27#"));
    EXPECT_TRUE(anyArgument.Matches("27#5"));
    EXPECT_FALSE(anyArgument.Matches("2#a"));
    EXPECT_FALSE(anyArgument.Matches("270#1"));
    EXPECT_TRUE(everything.Matches("GO#"));
}

class ScriptedRoom : public ::testing::Test {
protected:
    TRoomPlayer Player(const char* scriptText) {
        return TRoomPlayer(room, TSimScript::Parse(scriptText).rules);
    }

    TSongQueue songs;
    TManualClock clock;
    TRoomState room{songs, clock};
};

TEST_F(ScriptedRoom, AFixedTextAnswersInsteadOfTheRoom) {
    TRoomPlayer player = Player("on 27#* reply 9#1\n");
    TReplyPlan plan = player.Answer("27#80");
    EXPECT_EQ(plan.action, TReplyAction::Reply);
    EXPECT_EQ(plan.text, "9#1");
    EXPECT_EQ(room.Settings().volume, 60) << "the room never saw the command";
}

TEST_F(ScriptedRoom, ARuleWithoutTextShapesTheRoomsOwnAnswer) {
    TRoomPlayer player = Player("on 27#* delay 50\non 1#* trickle 5\n");
    TReplyPlan plan = player.Answer("27#80");
    EXPECT_EQ(plan.action, TReplyAction::Delay);
    EXPECT_EQ(plan.text, "9#80");
    EXPECT_EQ(room.Settings().volume, 80);
    EXPECT_EQ(player.Answer("1#0").text, std::nullopt) << "the room cannot play song 0";
}

TEST_F(ScriptedRoom, ACountedRuleGivesWayToTheRoomWhenUsedUp) {
    TRoomPlayer player = Player("on 38# x2 empty\n");
    EXPECT_EQ(player.Answer("38#").action, TReplyAction::Empty);
    EXPECT_EQ(player.Answer("38#").action, TReplyAction::Empty);
    TReplyPlan third = player.Answer("38#");
    EXPECT_EQ(third.action, TReplyAction::Reply);
    EXPECT_EQ(third.text, "1#60;5;0");
}

TEST_F(ScriptedRoom, TheFirstMatchingRuleDecides) {
    TRoomPlayer player = Player("on 33# failure\non * silent\n");
    EXPECT_EQ(player.Answer("33#").action, TReplyAction::Failure);
    EXPECT_EQ(player.Answer("38#").action, TReplyAction::Silent);
}

}  // namespace
