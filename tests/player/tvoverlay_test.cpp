// The TV's texts as ASS events: what the guest types or the catalogue names is
// drawn literally and clipped between characters; each screen has its lines.
#include "player/tvoverlay.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TLiteralCase {
    const char* text;
    size_t maxCharacters;
    TKeep keep;
    const char* ass;
};

class AssLiteralText : public ::testing::TestWithParam<TLiteralCase> {};

TEST_P(AssLiteralText, IsDrawnAsTypedAndClippedBetweenCharacters) {
    const TLiteralCase& row = GetParam();
    EXPECT_EQ(AssLiteral(row.text, row.maxCharacters, row.keep), row.ass) << row.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AssLiteralText,
    ::testing::Values(TLiteralCase{"lagu cinta", 40, TKeep::Start, "lagu cinta"},
                      // Override blocks and escapes stay text: braces escaped, a backslash
                      // kept from the letter after it by an invisible word joiner.
                      TLiteralCase{"{\\b1}x", 40, TKeep::Start, "\\{\\\u2060b1\\}x"},
                      TLiteralCase{"a\\Nb\\hc", 40, TKeep::Start, "a\\\u2060Nb\\\u2060hc"},
                      TLiteralCase{"one\ntwo\rthree\tfour", 40, TKeep::Start, "one two three four"},
                      TLiteralCase{"CAF\u00c9 NI\u00d1A", 40, TKeep::Start, "CAF\u00c9 NI\u00d1A"},
                      TLiteralCase{"\u00c9T\u00c9 \u00c9TOILE", 3, TKeep::Start,
                                   "\u00c9T\u00c9\u2026"},
                      TLiteralCase{"abc", 3, TKeep::Start, "abc"},
                      TLiteralCase{"abcdef", 3, TKeep::End, "\u2026def"},
                      TLiteralCase{"\u65e5\u672c\u8a9e\u30c6\u30ad\u30b9\u30c8", 2, TKeep::End,
                                   "\u2026\u30b9\u30c8"},
                      TLiteralCase{"abc", 3, TKeep::End, "abc"},
                      // A brace cut off is not half an escape.
                      TLiteralCase{"ab{c", 3, TKeep::Start, "ab\\{\u2026"}));

int Lines(const std::string& events) {
    int lines = 0;
    for (char c : events) {
        lines += c == '\n';
    }
    return lines;
}

bool Has(const std::string& events, const std::string& text) {
    return events.find(text) != std::string::npos;
}

const TSong kPlaying{7, 200, "Bintang {Kecil}", "Ani"};
const TSong kNext{8, 180, "Lagu Kedua", "Budi"};

TEST(TvOverlayEvents, DrawEachScreensLines) {
    const std::string idle = TvOverlayEvents({}, "ROOM 01");
    EXPECT_EQ(Lines(idle), 1);
    EXPECT_TRUE(Has(idle, "}ROOM 01\n"));

    const std::string idleWithNext = TvOverlayEvents({"", std::nullopt, false, kNext}, "ROOM 01");
    EXPECT_EQ(Lines(idleWithNext), 2);
    EXPECT_TRUE(Has(idleWithNext, "}Next: Lagu Kedua \u2013 Budi\n"));

    const std::string starting = TvOverlayEvents({"", kPlaying, true, kNext}, "ROOM 01");
    EXPECT_EQ(Lines(starting), 3) << "title, artist, next";
    EXPECT_TRUE(Has(starting, "}Bintang \\{Kecil\\}\n"));
    EXPECT_TRUE(Has(starting, "}Ani\n"));
    EXPECT_FALSE(Has(starting, "ROOM 01")) << "the caption is for the idle screen only";

    const std::string searching = TvOverlayEvents({"abc", kPlaying, false, kNext}, "ROOM 01");
    EXPECT_EQ(Lines(searching), 2) << "next and search";
    EXPECT_TRUE(Has(searching, "}Search: abc\n"));

    EXPECT_EQ(TvOverlayEvents({"", kPlaying, false, std::nullopt}, "ROOM 01"), "")
        << "a song alone: nothing over it";
    const std::string unnamed =
        TvOverlayEvents({"", TSong{9, 100}, true, TSong{10, 100}}, "ROOM 01");
    EXPECT_TRUE(Has(unnamed, "}Song 9\n")) << "a song without names by its id";
    EXPECT_TRUE(Has(unnamed, "}Next: Song 10\n"));
}

}  // namespace
